// TCustomListBox: a scrolling list of text lines with one selected line.
// The arrow, page, Home and End keys and a typed first letter move the
// selection (running OnClick), a click selects the line under the pointer,
// the wheel and the vertical scroll bar scroll. Only the rows that show are
// painted, so a list of a hundred thousand lines stays quick. A list may
// show the lines of another control (a combo box's drop-down list).
#pragma once

#include "platform/controls/custom_control.h"
#include "platform/objects/string_list.h"

#include <memory>

namespace plat {

class TCustomListBox : public TCustomControl {
    PLAT_CLASS(TCustomListBox, TCustomControl)
    PLAT_MESSAGES(TCustomListBox, TCustomControl)
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    // The lines; changing them updates the list.
    TStrings& Items() { return *FSource; }
    int Count() const { return FSource->Count(); }
    // Sorted: the lines keep themselves in order (only for the list's own lines).
    bool Sorted() const { return FItems != nullptr && FItems->Sorted(); }
    void SetSorted(bool value);
    // The selected line, -1 for none; setting it scrolls it into sight.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    // The first line shown.
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int value);
    // Height of a row; 0 takes it from the font.
    int ItemHeight();
    void SetItemHeight(int value);
    // The line at a client point, -1 when none is there (existing: only
    // lines that exist, else the nearest row past the end counts as Count).
    int ItemAtPos(TPoint point, bool existing);
    // The rows that fit the client area entirely (at least one).
    int VisibleRows();
    void Clear() { FSource->Clear(); }

protected:
    // Shows the lines of source (not owned) instead of its own.
    TCustomListBox(TComponent* owner, TStrings& source);

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    // The lines changed: selection, scrolling and picture follow.
    void ItemsChanged(TObject* sender);
    // Selects a line as the user asked: shows it and runs OnClick on a change.
    void SelectByUser(int index);
    // The line a key leads to from the selection; -1 when the key moves nothing.
    int IndexForKey(std::uint16_t key);
    // Whether a row is drawn highlighted, and whether the focus frame shows.
    virtual bool RowHighlighted(int index) const { return index == FItemIndex; }
    virtual bool ShowsFocusFrame() const { return Focused(); }
    void UpdateScrollBar();

    void WMGetDlgCode(TMessage& message);
    void WMKeyDown(TMessage& message);
    void WMChar(TMessage& message);
    void WMVScroll(TMessage& message);
    void WMSize(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    void CMFontChanged(TMessage& message);

private:
    void Init();

    std::unique_ptr<TStringList> FItems;   // the list's own lines (none when it shows another's)
    TStrings* FSource;                     // the lines shown
    int FItemIndex = -1;
    int FTopIndex = 0;
    int FItemHeight = 0;                   // 0: from the font
    bool FMouseSelecting = false;
};

// The next line after from, round to the start, whose text begins with the
// letter (case does not matter); -1 when none does.
int NextLineWithFirstLetter(const TStrings& lines, int from, char16_t letter);

class TListBox : public TCustomListBox {
    PLAT_CLASS(TListBox, TCustomListBox)
public:
    explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

} // namespace plat
