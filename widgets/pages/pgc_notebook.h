// TPgcNotebook: the page container the wizard's window is made of. It owns
// an ordered collection of TPgcTabPage children, shows exactly one of them
// (the active page, PageIndex) over its body and, when it has tabs
// (TabHeight > 0), draws one or more rows of tabs along one of its edges,
// switching pages by mouse, keys and accelerators. A page change asks
// OnPageChange first, takes the focus off the page being hidden and then
// tells OnPageChanged. The program's notebook has its tabs off and is only
// ever told which page to show.
//
// Tabs are drawn in the classic look only: this platform has no visual
// styles, so the hot tab and the styled tab elements are not built.
#pragma once

#include "widgets/pages/pgc_base_controls.h"
#include "widgets/pages/pgc_tab_geometry.h"
#include "widgets/pages/pgc_tab_page.h"

#include "platform/canvas/graphics_objects.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

class TPgcCollection;

using TPageChangeEvent = plat::TEvent<void(plat::TObject* Sender, int Index, bool& AllowChange)>;
using TPageChangedEvent = plat::TEvent<void(plat::TObject* Sender, int Index)>;
using TTabClickEvent = plat::TEvent<void(plat::TObject* Sender, int Index)>;
using TMouseOverTabEvent = plat::TEvent<void(plat::TObject* Sender, int Index)>;
using TUserCommandEvent = plat::TEvent<void(plat::TObject* Sender, std::uint16_t Command)>;
using TDrawTabEvent = plat::TEvent<void(plat::TObject* Sender, int Index, const std::string& Title, plat::TRect& R,
                                        bool Enabled, bool Active)>;

// Whether a font is drawn from outlines, as captions turned sideways need.
using TTrueTypeTest = std::function<bool(const plat::TFont& Font)>;
// The canvas's answer: the TrueType bit of the font's text metrics.
bool IsTrueTypeFont(const plat::TFont& Font);

class TPgcNotebook : public TPgcCustomControlEx {
    PLAT_CLASS(TPgcNotebook, TPgcCustomControlEx)
    PLAT_MESSAGES(TPgcNotebook, TPgcCustomControlEx)
public:
    // 220 x 185, button face, a tab stop; registers TPgcTabPage for streams.
    explicit TPgcNotebook(plat::TComponent* AOwner);
    // Frees the pages, then the active tab font.
    ~TPgcNotebook() override;

    // ---- pages ----
    TPgcCollection* PageCollection() const { return FPages.get(); }
    int PageCount() const;
    // The page at Index; nullptr outside 0 .. PageCount() - 1.
    TPgcTabPage* GetPage(int Index) const;
    // Index may be PageCount(): a new page with the caption Name, made the
    // active page (OnPageChange and OnPageChanged fire when another page
    // was active). EInvalidPageIndex outside 0 .. PageCount().
    void InsertPage(const std::string& Name, int Index);
    // Frees the page; nothing outside 0 .. PageCount() - 1. The active page
    // stays active when another page goes; when it goes itself, the page
    // that moves into its place becomes active without events, or, when it
    // was the last, page 0 with events.
    void DeletePage(int Index);
    // The first page whose caption (ByCaption) or name equals Name, case
    // ignored; -1 when none does.
    int IndexOf(std::string_view Name, bool ByCaption) const;
    int PageNameToIndex(std::string_view Name) const { return IndexOf(Name, true); }
    // A page that can be selected: in range, enabled and PageVisible (the
    // last two are waived in design mode).
    bool IsValid(int Index) const;
    // The next (previous) valid page after (before) Index, wrapping round;
    // -1 when there is none but Index itself, and for a notebook without
    // pages. An Index out of range starts from the last (first) page.
    int NextValidIndex(int Index) const;
    int PrevValidIndex(int Index) const;
    void NextPage();
    void PrevPage();
    // Each page's window made now, without aligning its children on the way.
    void ForcePageHandles();
    // A child asks to be shown: a page becomes the active page.
    void ShowControl(plat::TControl* Control);

    // ---- the active page ----
    int PageIndex() const { return FPageIndex; }
    // Selects the page (see the file comment). While loading only stored.
    // EInvalidPageIndex for a page that is not valid; a refused change is
    // silent, and so is a write from inside a running change.
    void SetPageIndex(int Value);
    int DefaultPageIndex() const { return FDefaultPageIndex; }
    void SetDefaultPageIndex(int Value) { FDefaultPageIndex = Value; }
    // The active page's size; 0 without an active page.
    int ClientWidth() const;
    int ClientHeight() const;

    // ---- tabs ----
    int TabHeight() const { return FTabHeight; }
    // Ignored when unchanged or negative; when not loading it switches
    // TabAutoHeight off.
    void SetTabHeight(int Value);
    bool TabAutoHeight() const { return FTabAutoHeight; }
    void SetTabAutoHeight(bool Value);
    TPgcTabOrientation TabOrientation() const { return FTabOrientation; }
    // Sideways tabs need TrueType fonts: EInvalidTabFont (orientation kept)
    // when the notebook's, the active tab's or a page's font is none.
    void SetTabOrientation(TPgcTabOrientation Value);
    TTabTextOrientation TabTextOrientation() const { return FTabTextOrientation; }
    void SetTabTextOrientation(TTabTextOrientation Value);
    // 0: as many rows as the captions need; else that many rows (at most
    // the page count).
    int TabRowCount() const { return FTabRowCount; }
    void SetTabRowCount(int Value);
    bool OldStyle() const { return FOldStyle; }
    void SetOldStyle(bool Value);
    plat::TFont* ActiveTabFont() const { return FActiveTabFont.get(); }
    void SetActiveTabFont(const plat::TFont* Value);
    bool UseActiveTabFont() const { return FUseActiveTabFont; }
    void SetUseActiveTabFont(bool Value);
    plat::TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(plat::TColor Value);
    plat::TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(plat::TColor Value);
    bool ShadowedText() const { return FShadowedText; }
    void SetShadowedText(bool Value);
    plat::TColor TextShadowColor() const { return FTextShadowColor; }
    void SetTextShadowColor(plat::TColor Value);
    bool PageUsesTabColor() const { return FPageUsesTabColor; }
    void SetPageUsesTabColor(bool Value);
    bool TabUseDefaultColor() const { return FTabUseDefaultColor; }
    void SetTabUseDefaultColor(bool Value);
    bool ConserveResources() const { return FConserveResources; }
    // Switched on outside design mode, the hidden pages lose their windows.
    void SetConserveResources(bool Value);

    // Rows after the last layout, the active tab's row, and whether the
    // notebook had the focus when the last tab click or tab key came.
    int TabTotalRows() const { return tabTotalRows; }
    int FocusedRow() const { return tabFocusedRow; }
    int LastRow() const { return tabLastRow; }
    bool TabSelecting() const { return tabTabSelecting; }
    int TabsInRow(int Row) const;
    // The page's tab rectangle; empty out of range.
    plat::TRect GetTabRect(int Index) const;
    // The rectangle OnDrawTab gets for a tab's caption; empty without tabs.
    plat::TRect GetTabTextRect(int Index) const;
    // The dotted focus frame around the caption, drawn by exclusive or on
    // the notebook's canvas (a second call takes it away).
    void DrawTabFocusRect(int Index);
    // Repaints the tab and the edge of the body beside it.
    void InvalidateTab(int Index);

    // Tab height, lengths and rows from the fonts and captions (nothing
    // while the notebook is hidden), and the pages placed over the body.
    void CalculateTabs();
    void ArrangePages();

    // Painting off and on; EndUpdate repaints.
    void BeginUpdate();
    void EndUpdate();
    // Keeps the tabs at least 20 pixels long along their edge (not while
    // loading) and lays tabs and pages out anew.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Scales the tab height and the active tab font by M / D.
    void ChangeScale(int M, int D);

    // The TrueType test of the font rules; the canvas's answer by default.
    void SetTrueTypeTest(TTrueTypeTest Test) { FTrueTypeTest = std::move(Test); }

    TDrawTabEvent OnDrawTab;
    TMouseOverTabEvent OnMouseOverTab;
    TPageChangeEvent OnPageChange;
    TPageChangedEvent OnPageChanged;
    TTabClickEvent OnTabClick;
    TUserCommandEvent OnUserCommand;

protected:
    void DoOnPageChange(int Index, bool& AllowChange);
    void DoOnPageChanged(int Index);
    void DoOnTabClick(int Index);
    void DoOnMouseOverTab(int Index);
    void DoOnUserCommand(std::uint16_t Command);
    // True when OnDrawTab drew the caption itself (handler assigned, Index in range).
    bool DoOnDrawTab(int Index, const std::string& Title, bool Enabled, bool Active);

    void Loaded() override;
    void CreateParams(plat::TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;
    void MouseMove(plat::TShiftState Shift, int X, int Y) override;

    void WMEraseBkgnd(plat::TMessage& Msg);
    void WMSize(plat::TMessage& Msg);
    void WMSetFocus(plat::TMessage& Msg);
    void WMKillFocus(plat::TMessage& Msg);
    void WMLButtonDown(plat::TMessage& Msg);
    void WMMouseActivate(plat::TMessage& Msg);
    void WMKeyDown(plat::TMessage& Msg);
    void WMGetDlgCode(plat::TMessage& Msg);
    void CMDialogChar(plat::TMessage& Msg);
    void CMFontChanged(plat::TMessage& Msg);
    void CMColorChanged(plat::TMessage& Msg);
    void CMParentColorChanged(plat::TMessage& Msg);

private:
    friend class TPgcTabPage;
    friend class TPgcTabPainter;

    bool Designing() const { return ComponentState().Contains(plat::csDesigning); }
    // PageVisible, or any page in design mode.
    bool HasTab(const TPgcTabPage* Page) const;
    std::vector<TTabSlot> TabSlots() const;
    int TabEdgeLength() const;

    // The page-change protocol; false when the change was refused.
    bool ChangePage(int Old, int Value);
    bool SwitchPages(int Old, int Value);
    // The active page shown again after its window came or its number moved.
    void ShowActivePage();

    // Tab clicks: false when an unfocused notebook cancelled the press.
    bool SelectTabAt(plat::TPoint Point);
    // Focus to the first tab-stop control inside Container, else the
    // first focusable one, unless that is Skip or there is none: then the
    // notebook takes it.
    void FocusFirstControlIn(plat::TWinControl* Container, plat::TWinControl* Skip, bool AnyFocusable);
    int KeyTarget(std::uint16_t Command);
    bool SelectByAccelerator(char16_t Key);

    // Font rules (pgc_notebook_fonts.cpp).
    bool IsTrueType(const plat::TFont& Font) const;
    void CheckTabFonts();
    // Renames a non-TrueType font to the fallback family and raises.
    void RequireTrueType(plat::TFont& Font);
    void PageFontChanged(TPgcTabPage* Page);
    void ActiveTabFontChanged(plat::TObject* Sender);
    // The notebook's colour set by its own painting, which keeps
    // PageUsesTabColor.
    void SetColorWhilePainting(plat::TColor Value);
    void CollectionChanged(plat::TObject* Sender);
    void CollectionItemSelected(plat::TObject* Sender, int Index);
    void CollectionEditorCaption(std::string& Caption);

    std::unique_ptr<plat::TFont> FActiveTabFont;
    bool FConserveResources = false;
    int FDefaultPageIndex = 0;
    plat::TColor FHighlightColor = plat::clBtnHighlight;
    bool FOldStyle = false;
    std::unique_ptr<TPgcCollection> FPages;
    int FPageIndex = 0;
    bool FPageUsesTabColor = true;
    plat::TColor FShadowColor = plat::clBtnShadow;
    bool FShadowedText = false;
    bool FTabAutoHeight = true;
    int FTabHeight = 20;
    TPgcTabOrientation FTabOrientation = toTop;
    TTabTextOrientation FTabTextOrientation = ttoHorizontal;
    int FTabRowCount = 0;
    bool FTabUseDefaultColor = true;
    plat::TColor FTextShadowColor = plat::clBtnShadow;
    bool FUseActiveTabFont = true;
    int tabFocusedRow = 0;          // row of the active page's tab
    int tabLastRow = 0;             // tabTotalRows - 1 after layout
    bool tabPainting = false;       // the notebook changes its own colour
    bool tabTabChanging = false;    // a page change is in progress
    bool tabTabSelecting = false;   // focused when the last tab click or tab key came
    int tabTotalRows = 0;           // tab rows after layout
    TTrueTypeTest FTrueTypeTest;
};

} // namespace qel
