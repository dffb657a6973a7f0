// In-place editing: the link between the tree and an editor over a cell.
// The tree decides when an edit starts and ends; a link prepares, shows,
// ends or cancels its editor. TStringEditLink, the string tree's own link,
// edits a cell's text in a TDTEdit and writes it back through SetText.
#pragma once

#include "platform/controls/standard/custom_edit.h"
#include "platform/controls/standard/standard_drawing.h"
#include "widgets/tree/data_tree_events.h"

#include <functional>
#include <memory>

namespace qel {

class TBaseDataTree;
class TCustomDataStringTree;

// What the tree asks of an editor. Links are shared: the tree holds the
// current one while editing, and an editor may keep its own link alive.
class IDTEditLink {
public:
    virtual ~IDTEditLink() = default;
    // Shows the editor; false refuses the edit.
    virtual bool BeginEdit() = 0;
    // Ends the edit dropping (Cancel) or keeping (End) the change; false
    // keeps the edit running.
    virtual bool CancelEdit() = 0;
    virtual bool EndEdit() = 0;
    // Makes the editor for a cell; false refuses the edit.
    virtual bool PrepareEdit(TBaseDataTree* tree, PDataNode node, TColumnIndex column) = 0;
    // Hands a message to the editor.
    virtual void ProcessMessage(plat::TMessage& message) = 0;
    // Places the editor over r (tree client coordinates).
    virtual void SetBounds(plat::TRect r) = 0;
};

class TBaseEditLink;
using TEditLinkEditEvent = plat::TEvent<void(TBaseEditLink* sender, bool& result)>;
using TEditLinkPrepareEditEvent = plat::TEvent<void(TBaseEditLink* sender, plat::TControl*& edit, bool& result)>;

// The stop flag and the events of a link; owns its editor control.
class TBaseEditLink : public IDTEditLink, public std::enable_shared_from_this<TBaseEditLink> {
public:
    TBaseEditLink() = default;
    ~TBaseEditLink() override;
    TBaseEditLink(const TBaseEditLink&) = delete;
    TBaseEditLink& operator=(const TBaseEditLink&) = delete;

    bool BeginEdit() override;
    bool CancelEdit() override;
    bool EndEdit() override;
    bool PrepareEdit(TBaseDataTree* tree, PDataNode node, TColumnIndex column) override;
    virtual plat::TRect GetBounds() const = 0;

    TCustomDataStringTree* Tree() const { return FTree; }
    PDataNode Node() const { return FNode; }
    TColumnIndex Column() const { return FColumn; }
    // Set once the edit ended or was cancelled: every later begin, end or
    // cancel answers false.
    bool Stopping() const { return FStopping; }
    TAlignment Alignment() const { return FAlignment; }
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    plat::TControl* EditControl() const { return FEdit; }

    TEditLinkPrepareEditEvent OnPrepareEdit;
    TEditLinkEditEvent OnBeginEdit;
    TEditLinkEditEvent OnEndEdit;
    TEditLinkEditEvent OnCancelEdit;

protected:
    virtual void DoBeginEdit(bool& result);
    virtual void DoCancelEdit(bool& result);
    virtual void DoEndEdit(bool& result);
    virtual void DoPrepareEdit(bool& result);
    // Replaces the editor, freeing the previous one.
    void SetEdit(plat::TControl* edit);
    // Frees an editor the link no longer wants (at once, or after the
    // message now running when it has a window).
    virtual void ReleaseEdit(plat::TControl* edit);

    plat::TControl* FEdit = nullptr;    // the editor, owned by the link
    TCustomDataStringTree* FTree = nullptr;
    PDataNode FNode = nullptr;
    TColumnIndex FColumn = NoColumn;
    bool FStopping = false;
    TAlignment FAlignment = taLeftJustify;
    TBiDiMode FBiDiMode = bdLeftToRight;

    friend class TDTEdit;
};

// A link around any windowed control: shows and focuses it on begin,
// hides it on end and cancel.
class TWinControlEditLink : public TBaseEditLink {
public:
    bool BeginEdit() override;
    bool CancelEdit() override;
    bool EndEdit() override;
    plat::TRect GetBounds() const override;
    void ProcessMessage(plat::TMessage& message) override;
    plat::TWinControl* Edit() const;
    void SetEdit(plat::TWinControl* edit) { TBaseEditLink::SetEdit(edit); }
};

class TDTEdit;

// The string tree's link: a one-line edit (line breaks kept for a
// multi-line node) holding the cell's text, stored back on end.
class TStringEditLink : public TWinControlEditLink {
public:
    bool BeginEdit() override;
    bool CancelEdit() override;
    bool EndEdit() override;
    bool PrepareEdit(TBaseDataTree* tree, PDataNode node, TColumnIndex column) override;
    void SetBounds(plat::TRect r) override;
    TDTEdit* Edit() const;
    // The text rectangle the tree gave for the cell.
    const plat::TRect& TextBounds() const { return FTextBounds; }

protected:
    virtual void SelectAll();

private:
    // The editor's formatting rectangle: the text where the cell had it
    // (grid extensions, the text's top), a little inside the frame.
    void SetFormattingRect(TDTEdit& edit);

    plat::TRect FTextBounds;
};

// The editor of TStringEditLink. It keeps its link alive until the edit
// ends; Tab, Return, Escape, Ctrl+A and the vertical arrows act on the
// tree (the characters of typed keys still reach the text).
class TDTEdit : public plat::TCustomEdit {
    PLAT_CLASS(TDTEdit, plat::TCustomEdit)
public:
    // A nil link raises std::invalid_argument.
    explicit TDTEdit(TStringEditLink* link);
    ~TDTEdit() override;

    // Frees the editor after the message now running.
    void Release();
    // The text's size with a "yG" tail, in the editor's font.
    plat::TSize GetTextSize();
    // The least height that shows a line of text.
    int CalcMinHeight();
    // Fits the width to the text (one-line nodes without grid extensions).
    void AutoAdjustSize();
    TStringEditLink* Link() const { return FLink; }

protected:
    void WndProc(plat::TMessage& message) override;
    void CreateParams(plat::TCreateParams& params) override;
    void KeyPress(char16_t& key) override;
    void Change() override;
    bool MultiLine() const override { return NodeIsMultiline(); }
    bool WantsReturns() const override { return NodeIsMultiline(); }

private:
    bool NodeIsMultiline() const;
    // The key table; true when the key is consumed.
    bool TreeKey(std::uint16_t& key, plat::TShiftState shift);
    void ForgetLink();
    // With toAutoAcceptEditChange a modified text goes to the tree.
    void AcceptChange();

    friend class TBaseEditLink;
    friend class TStringEditLink;

    TStringEditLink* FLink;                  // uncounted
    std::shared_ptr<TBaseEditLink> FRefLink; // keeps the link alive while editing
};

} // namespace qel
