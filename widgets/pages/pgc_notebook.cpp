// The notebook's pages: the collection, the page-change protocol, loading,
// window creation, inserting and deleting, and lookup.
#include "widgets/pages/pgc_notebook.h"

#include "widgets/pages/pgc_collection.h"
#include "widgets/pages/pgc_exceptions.h"
#include "widgets/pages/pgc_messages.h"

#include "platform/ascii_case.h"
#include "platform/controls/form.h"
#include "platform/objects/class_registry.h"
#include "platform/text_encoding.h"

#include <algorithm>

namespace qel {

PLAT_DEFINE_CLASS(
    TPgcNotebook, TPgcCustomControlEx,
    plat::Published("ActiveTabFont", &TPgcNotebook::ActiveTabFont, nullptr),
    plat::Published("ConserveResources", &TPgcNotebook::ConserveResources, &TPgcNotebook::SetConserveResources)
        .Default(false),
    plat::Published("DefaultPageIndex", &TPgcNotebook::DefaultPageIndex, &TPgcNotebook::SetDefaultPageIndex)
        .Default(0),
    plat::Published("HighlightColor", &TPgcNotebook::HighlightColor, &TPgcNotebook::SetHighlightColor)
        .Default(plat::clBtnHighlight),
    plat::Published("LabelInfo", &TPgcCustomControl::LabelInfo, nullptr),
    plat::Published("OldStyle", &TPgcNotebook::OldStyle, &TPgcNotebook::SetOldStyle).Default(false),
    plat::Published("PageIndex", &TPgcNotebook::PageIndex, &TPgcNotebook::SetPageIndex).Default(0),
    plat::Published("PageUsesTabColor", &TPgcNotebook::PageUsesTabColor, &TPgcNotebook::SetPageUsesTabColor)
        .Default(true),
    plat::Published("ShadowColor", &TPgcNotebook::ShadowColor, &TPgcNotebook::SetShadowColor)
        .Default(plat::clBtnShadow),
    plat::Published("ShadowedText", &TPgcNotebook::ShadowedText, &TPgcNotebook::SetShadowedText).Default(false),
    plat::Published("TabAutoHeight", &TPgcNotebook::TabAutoHeight, &TPgcNotebook::SetTabAutoHeight).Default(true),
    plat::Published("TabHeight", &TPgcNotebook::TabHeight, &TPgcNotebook::SetTabHeight)
        .StoredIf([](const plat::TObject& Self) { return !static_cast<const TPgcNotebook&>(Self).TabAutoHeight(); }),
    plat::Published("TabOrientation", &TPgcNotebook::TabOrientation, &TPgcNotebook::SetTabOrientation,
                    {"toTop", "toRight", "toBottom", "toLeft"})
        .Default(toTop),
    plat::Published("TabRowCount", &TPgcNotebook::TabRowCount, &TPgcNotebook::SetTabRowCount).Default(0),
    plat::Published("TabTextOrientation", &TPgcNotebook::TabTextOrientation, &TPgcNotebook::SetTabTextOrientation,
                    {"ttoHorizontal", "ttoVerticalRight", "ttoVerticalLeft"})
        .Default(ttoHorizontal),
    plat::Published("TabUseDefaultColor", &TPgcNotebook::TabUseDefaultColor, &TPgcNotebook::SetTabUseDefaultColor)
        .Default(true),
    plat::Published("TextShadowColor", &TPgcNotebook::TextShadowColor, &TPgcNotebook::SetTextShadowColor)
        .Default(plat::clBtnShadow),
    plat::Published("UseActiveTabFont", &TPgcNotebook::UseActiveTabFont, &TPgcNotebook::SetUseActiveTabFont)
        .Default(true))

PLAT_BEGIN_MESSAGES(TPgcNotebook, TPgcCustomControlEx)
    PLAT_MESSAGE(plat::WM_ERASEBKGND, WMEraseBkgnd)
    PLAT_MESSAGE(plat::WM_SIZE, WMSize)
    PLAT_MESSAGE(plat::WM_SETFOCUS, WMSetFocus)
    PLAT_MESSAGE(plat::WM_KILLFOCUS, WMKillFocus)
    PLAT_MESSAGE(plat::WM_LBUTTONDOWN, WMLButtonDown)
    PLAT_MESSAGE(plat::WM_MOUSEACTIVATE, WMMouseActivate)
    PLAT_MESSAGE(plat::WM_KEYDOWN, WMKeyDown)
    PLAT_MESSAGE(plat::WM_GETDLGCODE, WMGetDlgCode)
    PLAT_MESSAGE(plat::CM_DIALOGCHAR, CMDialogChar)
    PLAT_MESSAGE(plat::CM_FONTCHANGED, CMFontChanged)
    PLAT_MESSAGE(plat::CM_COLORCHANGED, CMColorChanged)
    PLAT_MESSAGE(plat::CM_PARENTCOLORCHANGED, CMParentColorChanged)
PLAT_END_MESSAGES

namespace {

constexpr std::uint16_t kMsgTabPagesEditor = 30323;

} // namespace

TPgcNotebook::TPgcNotebook(plat::TComponent* AOwner)
    : TPgcCustomControlEx(AOwner), FActiveTabFont(std::make_unique<plat::TFont>()), FTrueTypeTest(IsTrueTypeFont)
{
    FActiveTabFont->SetName(Font()->Name());
    if (plat::GetClass(TPgcTabPage::StaticClass()->ClassName()) == nullptr) {
        plat::RegisterClass(TPgcTabPage::StaticClass());
    }
    FPages = std::make_unique<TPgcCollection>(this, TPgcTabPage::StaticClass());
    FPages->OnChanged = plat::TNotifyEvent(this, &TPgcNotebook::CollectionChanged);
    FPages->OnItemSelected = TPgcItemSelectedEvent(this, &TPgcNotebook::CollectionItemSelected);
    FPages->OnGetEditorCaption = TPgcGetEditorCaption(this, &TPgcNotebook::CollectionEditorCaption);
    FActiveTabFont->OnChange = plat::TNotifyEvent(this, &TPgcNotebook::ActiveTabFontChanged);

    tabPainting = true;
    SetColor(plat::clBtnFace);
    tabPainting = false;
    FControlStyle.Include(plat::csOpaque);
    FControlStyle.Include(plat::csAcceptsControls);
    FWidth = 220;
    FHeight = 185;
    FParentColor = false;
    FTabStop = true;
}

TPgcNotebook::~TPgcNotebook()
{
    FActiveTabFont->OnChange = nullptr;
    FPages.reset();
}

// ---- collection ----

void TPgcNotebook::CollectionChanged(plat::TObject*)
{
    Invalidate();
}

void TPgcNotebook::CollectionItemSelected(plat::TObject*, int Index)
{
    if (Designing() && Index >= 0 && Index < PageCount()) {
        SetPageIndex(Index);
    }
}

void TPgcNotebook::CollectionEditorCaption(std::string& Caption)
{
    Caption = plat::Utf16ToUtf8(MessageTextByNumber(kMsgTabPagesEditor));
}

int TPgcNotebook::PageCount() const
{
    return FPages->Count();
}

TPgcTabPage* TPgcNotebook::GetPage(int Index) const
{
    if (Index < 0 || Index >= PageCount()) {
        return nullptr;
    }
    return static_cast<TPgcTabPage*>(FPages->GetItem(Index));
}

bool TPgcNotebook::HasTab(const TPgcTabPage* Page) const
{
    return Page->PageVisible() || Designing();
}

bool TPgcNotebook::IsValid(int Index) const
{
    const TPgcTabPage* page = GetPage(Index);
    if (page == nullptr) {
        return false;
    }
    return Designing() || (page->Enabled() && page->PageVisible());
}

// Both walks visit every other page once at most, so an empty notebook or
// one without another valid page answers -1 instead of walking for ever.
int TPgcNotebook::NextValidIndex(int Index) const
{
    const int count = PageCount();
    if (count == 0) {
        return -1;
    }
    int at = Index < 0 || Index >= count ? count - 1 : Index;
    for (int step = 1; step < count; ++step) {
        at = (at + 1) % count;
        if (IsValid(at)) {
            return at;
        }
    }
    return -1;
}

int TPgcNotebook::PrevValidIndex(int Index) const
{
    const int count = PageCount();
    if (count == 0) {
        return -1;
    }
    int at = Index < 0 || Index >= count ? 0 : Index;
    for (int step = 1; step < count; ++step) {
        at = (at + count - 1) % count;
        if (IsValid(at)) {
            return at;
        }
    }
    return -1;
}

void TPgcNotebook::NextPage()
{
    const int next = NextValidIndex(FPageIndex);
    if (next >= 0) {
        SetPageIndex(next);
    }
}

void TPgcNotebook::PrevPage()
{
    const int previous = PrevValidIndex(FPageIndex);
    if (previous >= 0) {
        SetPageIndex(previous);
    }
}

int TPgcNotebook::IndexOf(std::string_view Name, bool ByCaption) const
{
    for (int index = 0; index < PageCount(); ++index) {
        const TPgcTabPage* page = GetPage(index);
        if (plat::SameText(ByCaption ? page->Caption() : page->Name(), Name)) {
            return index;
        }
    }
    return -1;
}

void TPgcNotebook::InsertPage(const std::string& Name, int Index)
{
    if (Index < 0 || Index > PageCount()) {
        throw EInvalidPageIndex();
    }
    auto* page = static_cast<TPgcTabPage*>(FPages->Insert(Index));
    page->SetCaption(Name);
    if (Align() != plat::alNone) {
        CalculateTabs();
        SetBounds(Left(), Top(), Width(), Height());
    }
    if (PageCount() == 1) {
        // The first page: shown as the active page without events (there
        // was no page to change from).
        FPageIndex = -1;
    } else if (Index <= FPageIndex) {
        // The active page moved up by one: it stays active, silently.
        const int kept = std::min(FPageIndex + 1, PageCount() - 1);
        FPageIndex = -1;
        SetPageIndex(kept);
    }
    SetPageIndex(PageCount() == 1 ? 0 : Index);
    Invalidate();
}

// The active page is hidden and the page that then stands at its number
// shows, without events: deleting a page before the active one shows the
// page after it. A number left without a page (after the last one went)
// is never touched.
void TPgcNotebook::DeletePage(int Index)
{
    if (Index < 0 || Index >= PageCount()) {
        return;
    }
    const int current = FPageIndex;
    if (TPgcTabPage* active = GetPage(current)) {
        active->SetVisible(false);
    }
    FPages->Delete(Index);
    if (IsValid(current)) {
        ShowActivePage();
    } else if (IsValid(0)) {
        SetPageIndex(0);
    }
    if (Align() != plat::alNone) {
        CalculateTabs();
        SetBounds(Left(), Top(), Width(), Height());
    }
    Invalidate();
}

void TPgcNotebook::ShowActivePage()
{
    if (TPgcTabPage* page = GetPage(FPageIndex)) {
        page->SetVisible(true);
        page->BringToFront();
    }
}

void TPgcNotebook::ForcePageHandles()
{
    for (int index = 0; index < PageCount(); ++index) {
        TPgcTabPage* page = GetPage(index);
        page->DisableAlign();
        page->HandleNeeded();
        page->SetControlState(page->ControlState() - plat::TControlState{plat::csAlignmentNeeded});
        page->EnableAlign();
    }
}

void TPgcNotebook::ShowControl(plat::TControl* Control)
{
    for (int index = 0; index < PageCount(); ++index) {
        if (GetPage(index) == Control) {
            SetPageIndex(index);
            return;
        }
    }
}

int TPgcNotebook::ClientWidth() const
{
    const TPgcTabPage* page = IsValid(FPageIndex) ? GetPage(FPageIndex) : nullptr;
    return page != nullptr ? page->Width() : 0;
}

int TPgcNotebook::ClientHeight() const
{
    const TPgcTabPage* page = IsValid(FPageIndex) ? GetPage(FPageIndex) : nullptr;
    return page != nullptr ? page->Height() : 0;
}

// ---- the page-change protocol ----

void TPgcNotebook::SetPageIndex(int Value)
{
    if (Loading()) {
        FPageIndex = Value;
        return;
    }
    const int old = FPageIndex;
    if (Value != old && IsValid(Value)) {
        if (tabTabChanging) {
            return;   // a write from inside a running change
        }
        if (!ChangePage(old, Value)) {
            return;   // refused: silent
        }
    } else if (!IsValid(Value)) {
        throw EInvalidPageIndex();
    }
    if (!IsValid(FPageIndex)) {
        throw EInvalidPageIndex();
    }
}

bool TPgcNotebook::ChangePage(int Old, int Value)
{
    const auto life = Life();
    // The exit step runs however the change ends.
    const auto finish = [&] {
        if (!life->Alive()) {
            return;
        }
        tabTabChanging = false;
        if (!Designing() && Value == FPageIndex && Old != -1) {
            DoOnPageChanged(FPageIndex);
        }
    };
    tabTabChanging = true;
    bool changed = false;
    try {
        changed = SwitchPages(Old, Value);
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return changed && life->Alive();
}

bool TPgcNotebook::SwitchPages(int Old, int Value)
{
    const auto life = Life();
    if (!Designing()) {
        bool allow = true;
        if (Old != -1) {
            DoOnPageChange(Value, allow);
        }
        if (!allow || !life->Alive()) {
            return false;
        }
    }
    // The focus leaves the page being hidden first; a control that keeps it
    // keeps its page too.
    if (plat::TCustomForm* form = plat::GetParentForm(this)) {
        if (ContainsControl(form->ActiveControl())) {
            form->SetActiveControl(nullptr);
            if (!life->Alive() || form->ActiveControl() != nullptr) {
                return false;
            }
        }
    }
    TPgcTabPage* page = GetPage(Value);
    page->BringToFront();
    page->SetVisible(true);
    if (IsValid(FPageIndex)) {
        TPgcTabPage* hidden = GetPage(FPageIndex);
        hidden->SetVisible(false);
        if (FConserveResources && !Designing()) {
            hidden->DestroyHandle();
        }
    }
    FPageIndex = Value;
    tabFocusedRow = page->Row();
    SetHint(page->Hint());
    Invalidate();
    return true;
}

void TPgcNotebook::DoOnPageChange(int Index, bool& AllowChange)
{
    OnPageChange(this, Index, AllowChange);
}

void TPgcNotebook::DoOnPageChanged(int Index)
{
    OnPageChanged(this, Index);
}

void TPgcNotebook::DoOnTabClick(int Index)
{
    OnTabClick(this, Index);
}

void TPgcNotebook::DoOnMouseOverTab(int Index)
{
    OnMouseOverTab(this, Index);
}

void TPgcNotebook::DoOnUserCommand(std::uint16_t Command)
{
    OnUserCommand(this, Command);
}

bool TPgcNotebook::DoOnDrawTab(int Index, const std::string& Title, bool Enabled, bool Active)
{
    if (!OnDrawTab.Assigned() || GetPage(Index) == nullptr) {
        return false;
    }
    plat::TRect rect = GetTabTextRect(Index);
    OnDrawTab(this, Index, Title, rect, Enabled, Active);
    return true;
}

// ---- life cycle ----

void TPgcNotebook::Loaded()
{
    TPgcCustomControlEx::Loaded();
    if (PageCount() > 0) {
        FPageIndex = FDefaultPageIndex;
        for (int index = 0; index < PageCount(); ++index) {
            if (index == FDefaultPageIndex) {
                continue;
            }
            TPgcTabPage* page = GetPage(index);
            page->SetVisible(false);
            if (FConserveResources && !Designing()) {
                page->DestroyHandle();
            }
        }
        // From no page, so that no event fires; an invalid default raises.
        FPageIndex = -1;
        SetPageIndex(FDefaultPageIndex);
    }
    CalculateTabs();
    ArrangePages();
}

void TPgcNotebook::CreateParams(plat::TCreateParams& Params)
{
    TPgcCustomControlEx::CreateParams(Params);
    Params.Style |= plat::WS_CLIPCHILDREN;
    if (!Designing()) {
        Params.ClassStyle &= ~plat::CS_DBLCLKS;
    }
}

void TPgcNotebook::CreateWnd()
{
    TPgcCustomControlEx::CreateWnd();
    if (IsValid(FPageIndex)) {
        ShowActivePage();
    }
}

void TPgcNotebook::BeginUpdate()
{
    if (HandleAllocated()) {
        plat::SendMessage(Handle(), plat::WM_SETREDRAW, 0, 0);
    }
}

void TPgcNotebook::EndUpdate()
{
    if (HandleAllocated()) {
        plat::SendMessage(Handle(), plat::WM_SETREDRAW, 1, 0);
    }
    Invalidate();
}

void TPgcNotebook::SetConserveResources(bool Value)
{
    if (Value == FConserveResources) {
        return;
    }
    FConserveResources = Value;
    if (!Value || Designing()) {
        return;
    }
    for (int index = 0; index < PageCount(); ++index) {
        if (index != FPageIndex) {
            GetPage(index)->DestroyHandle();
        }
    }
}

} // namespace qel
