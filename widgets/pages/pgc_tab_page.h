// TPgcTabPage: one page of a notebook (a wizard step in the program): a
// windowed control standing on the notebook, an item of its page
// collection, with the tab it shows when the notebook has tabs: caption,
// colours, whether it takes part at all, and where the last paint put it.
#pragma once

#include "widgets/pages/pgc_collectible.h"

#include "platform/canvas/colors.h"
#include "platform/canvas/graphics_types.h"

#include <string>

namespace qel {

class TPgcNotebook;

class TPgcTabPage : public TPgcCollectibleControl {
    PLAT_CLASS(TPgcTabPage, TPgcCollectibleControl)
    PLAT_MESSAGES(TPgcTabPage, TPgcCollectibleControl)
public:
    // Joins the page collection of AOwner (a notebook; any owner without
    // one raises as TPgcCollectibleControl says) and stands on it, hidden
    // until the notebook shows it.
    explicit TPgcTabPage(plat::TComponent* AOwner);

    // The notebook that owns the page; nullptr for any other owner.
    TPgcNotebook* NoteBook() const { return FNoteBook; }

    // The tab's rectangle in the notebook's client area, as the last paint
    // placed it; empty while the tab is not shown.
    const plat::TRect& Area() const { return FArea; }
    void SetArea(const plat::TRect& Value) { FArea = Value; }
    // Row and length of the tab, written by the notebook's tab layout.
    int Row() const { return FRow; }
    void SetRow(int Value) { FRow = Value; }
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int Value) { FTabWidth = Value; }

    // Colours of the tab and of its caption; a change repaints the tab.
    plat::TColor TabColor() const { return FTabColor; }
    void SetTabColor(plat::TColor Value);
    plat::TColor TextColor() const { return FTextColor; }
    void SetTextColor(plat::TColor Value);
    // False: the page has no tab and cannot be selected (outside design mode).
    bool PageVisible() const { return FPageVisible; }
    void SetPageVisible(bool Value);

    // Stream dummies: they read as 0 and take no value.
    int CursorDummy() const { return 0; }
    void SetCursorDummy(int) {}
    int TabOrderDummy() const { return 0; }
    void SetTabOrderDummy(int) {}
    // "Visible" in a stream is read and dropped: the notebook shows its pages.
    bool StreamedVisible() const { return Visible(); }
    void SetStreamedVisible(bool) {}

protected:
    // "<caption>: TPgcTabPage", or the component name without a caption.
    std::string GetDisplayText() const override;

    void WMNCHitTest(plat::TMessage& Msg);
    void CMTextChanged(plat::TMessage& Msg);
    void CMEnabledChanged(plat::TMessage& Msg);
    void CMFontChanged(plat::TMessage& Msg);

private:
    void InvalidateTab();
    void InvalidateNoteBook();

    plat::TRect FArea;
    int FRow = 0;
    plat::TColor FTabColor = plat::clBtnFace;
    int FTabWidth = 65;
    plat::TColor FTextColor = plat::clBtnText;
    bool FPageVisible = true;
    TPgcNotebook* FNoteBook;   // the owner, not owned
};

} // namespace qel
