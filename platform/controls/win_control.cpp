// TWinControl: its window, children and their alignment, mouse routing to
// children without window, focus and tab order, keys and dialog keys, and
// painting of itself and its children.
#include "platform/controls/win_control.h"

#include "platform/canvas/pixel_surface.h"
#include "platform/canvas/surface_dc.h"
#include "platform/controls/application.h"
#include "platform/controls/form.h"
#include "platform/controls/screen.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_paint.h"
#include "platform/object_list.h"

#include <algorithm>
#include <unordered_map>

namespace plat {

PLAT_DEFINE_CLASS(TWinControl, TControl,
    Published("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder),
    Published("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false))

PLAT_BEGIN_MESSAGES(TWinControl, TControl)
    PLAT_MESSAGE(WM_PAINT, WMPaint)
    PLAT_MESSAGE(WM_ERASEBKGND, WMEraseBkgnd)
    PLAT_MESSAGE(WM_SIZE, WMSize)
    PLAT_MESSAGE(WM_MOVE, WMMove)
    PLAT_MESSAGE(WM_WINDOWPOSCHANGED, WMWindowPosChanged)
    PLAT_MESSAGE(WM_GETMINMAXINFO, WMGetMinMaxInfo)
    PLAT_MESSAGE(WM_SETFOCUS, WMSetFocus)
    PLAT_MESSAGE(WM_KILLFOCUS, WMKillFocus)
    PLAT_MESSAGE(WM_SETCURSOR, WMSetCursor)
    PLAT_MESSAGE(WM_KEYDOWN, WMKeyDown)
    PLAT_MESSAGE(WM_SYSKEYDOWN, WMSysKeyDown)
    PLAT_MESSAGE(WM_KEYUP, WMKeyUp)
    PLAT_MESSAGE(WM_SYSKEYUP, WMSysKeyUp)
    PLAT_MESSAGE(WM_CHAR, WMChar)
    PLAT_MESSAGE(WM_NCDESTROY, WMNCDestroy)
    PLAT_MESSAGE(WM_CONTEXTMENU, WMContextMenu)
    PLAT_MESSAGE(CN_KEYDOWN, CNKeyDown)
    PLAT_MESSAGE(CN_KEYUP, CNKeyUp)
    PLAT_MESSAGE(CN_CHAR, CNChar)
    PLAT_MESSAGE(CN_SYSKEYDOWN, CNSysKeyDown)
    PLAT_MESSAGE(CN_SYSCHAR, CNSysChar)
    PLAT_MESSAGE(CM_CHILDKEY, CMChildKey)
    PLAT_MESSAGE(CM_DIALOGKEY, CMDialogKey)
    PLAT_MESSAGE(CM_DIALOGCHAR, CMDialogChar)
    PLAT_MESSAGE(CM_ENTER, CMEnter)
    PLAT_MESSAGE(CM_EXIT, CMExit)
    PLAT_MESSAGE(CM_SHOWINGCHANGED, CMShowingChanged)
    PLAT_MESSAGE(CM_VISIBLECHANGED, CMVisibleChanged)
    PLAT_MESSAGE(CM_ENABLEDCHANGED, CMEnabledChanged)
    PLAT_MESSAGE(CM_COLORCHANGED, CMColorChanged)
    PLAT_MESSAGE(CM_FONTCHANGED, CMFontChanged)
    PLAT_MESSAGE(CM_SHOWHINTCHANGED, CMShowHintChanged)
    PLAT_MESSAGE(CM_TEXTCHANGED, CMTextChanged)
    PLAT_MESSAGE(CM_INVALIDATE, CMInvalidate)
PLAT_END_MESSAGES

namespace {

std::unordered_map<HWND, TWinControl*>& WindowControls()
{
    static std::unordered_map<HWND, TWinControl*> controls;
    return controls;
}

TControl* CaptureControlValue = nullptr;

bool IsMouseClientMessage(UINT msg)
{
    return msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK;
}

} // namespace

TControl* GetCaptureControl()
{
    TWinControl* owner = TWinControl::FindControl(GetCapture());
    if (owner == nullptr) {
        return nullptr;
    }
    if (CaptureControlValue != nullptr && CaptureControlValue->Parent() == owner) {
        return CaptureControlValue;
    }
    return owner;
}

void SetCaptureControl(TControl* control)
{
    ReleaseCapture();
    CaptureControlValue = nullptr;
    if (control == nullptr) {
        return;
    }
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        SetCapture(windowed->Handle());
        return;
    }
    if (control->Parent() == nullptr) {
        return;
    }
    CaptureControlValue = control;
    SetCapture(control->Parent()->Handle());
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), FBrush(std::make_unique<TBrush>())
{
    FBrush->SetColor(FColor);
}

TWinControl::~TWinControl()
{
    Destroying();
    if (FParent != nullptr) {
        RemoveFocus(true);
    }
    if (Screen != nullptr) {
        Screen->ControlDestroyed(this);
    }
    if (CaptureControlValue != nullptr && CaptureControlValue->Parent() == this) {
        CaptureControlValue = nullptr;
    }
    // Children go first, the topmost first.
    while (!FControls.empty()) {
        TControl* child = FControls.back();
        Remove(child);
        delete child;
    }
    // Then it leaves its parent while it is still a windowed control (out of
    // the tab order, its window destroyed).
    if (FParent != nullptr) {
        FParent->RemoveControl(this);
    }
    DestroyHandle();
}

TWinControl* TWinControl::FindControl(HWND hwnd)
{
    if (hwnd == 0) {
        return nullptr;
    }
    const auto at = WindowControls().find(hwnd);
    return at == WindowControls().end() ? nullptr : at->second;
}

HWND TWinControl::Handle()
{
    if (FHandle == 0) {
        if (FParent != nullptr) {
            FParent->HandleNeeded();
        }
        CreateHandle();
    }
    return FHandle;
}

void TWinControl::CreateHandle()
{
    if (FHandle != 0) {
        return;
    }
    CreateWnd();
    if (FHandle == 0) {
        return;
    }
    UpdateBounds();
    Realign();
}

void TWinControl::TopLevelParams(TCreateParams& params) const
{
    params.Caption = FText;
    params.Style = 0;
    params.ExStyle = 0;
    params.ClassStyle = CS_DBLCLKS;
    params.X = FLeft;
    params.Y = FTop;
    params.Width = FWidth;
    params.Height = FHeight;
    params.WndParent = 0;
}

void TWinControl::CreateParams(TCreateParams& params)
{
    TopLevelParams(params);
    params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (!FEnabled) {
        params.Style |= WS_DISABLED;
    }
    if (FTabStop) {
        params.Style |= WS_TABSTOP;
    }
    if (FParent == nullptr) {
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    }
    params.WndParent = FParent->Handle();
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    FControlState.Include(csCreating);
    try {
        CreateWindowHandle(params);
    } catch (...) {
        FControlState.Exclude(csCreating);
        throw;
    }
    FControlState.Exclude(csCreating);
}

void TWinControl::CreateWindowHandle(const TCreateParams& params)
{
    const std::shared_ptr<const TControlLife> life = Life();
    const HWND hwnd = CreateWindowEx(params, [this, life](HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (!life->Alive()) {
            return DefWindowProc(window, msg, wParam, lParam);
        }
        return MainWndProc(window, msg, wParam, lParam);
    });
    if (life->Alive() && FHandle == 0 && IsWindow(hwnd)) {
        FHandle = hwnd;
        WindowControls()[hwnd] = this;
    }
}

LRESULT TWinControl::MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (FHandle == 0 && msg != WM_NCDESTROY) {
        FHandle = hwnd;
        WindowControls()[hwnd] = this;
    }
    TMessage message{msg, wParam, lParam, 0};
    try {
        WndProc(message);
    } catch (...) {
        if (Application != nullptr) {
            Application->HandleException(this);
        } else {
            throw;
        }
    }
    return message.Result;
}

void TWinControl::DestroyWnd()
{
    DestroyWindow(FHandle);
}

void TWinControl::DestroyHandle()
{
    if (FHandle == 0) {
        return;
    }
    FControlState.Include(csDestroyingHandle);
    for (TControl* child : FControls) {
        if (auto* windowed = dynamic_cast<TWinControl*>(child)) {
            windowed->DestroyHandle();
        }
    }
    const HWND handle = FHandle;
    DestroyWnd();
    if (FHandle == handle) {
        WindowControls().erase(handle);
        FHandle = 0;
        FShowing = false;
    }
    FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::RecreateWnd()
{
    if (FHandle == 0) {
        return;
    }
    DestroyHandle();
    UpdateControlState();
}

TControl* TWinControl::Controls(int index) const
{
    if (index < 0 || index >= ControlCount()) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    return FControls[static_cast<std::size_t>(index)];
}

bool TWinControl::ContainsControl(const TControl* control) const
{
    for (const TControl* each = control; each != nullptr; each = each->Parent()) {
        if (each == this) {
            return true;
        }
    }
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint point, bool allowDisabled, bool allowWinControls) const
{
    for (auto at = FControls.rbegin(); at != FControls.rend(); ++at) {
        TControl* control = *at;
        const bool windowed = dynamic_cast<TWinControl*>(control) != nullptr;
        if ((windowed && !allowWinControls) || !control->Visible() || (!control->Enabled() && !allowDisabled)) {
            continue;
        }
        if (!control->BoundsRect().Contains(point.X, point.Y)) {
            continue;
        }
        const TPoint local = Point(Minus(point.X, control->Left()), Minus(point.Y, control->Top()));
        if (control->Perform(CM_HITTEST, 0, PointToLParam(local.X, local.Y)) != 0) {
            return control;
        }
    }
    return nullptr;
}

void TWinControl::Insert(TControl* control)
{
    FControls.push_back(control);
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        FTabList.push_back(windowed);
    }
    control->FParent = this;
}

void TWinControl::Remove(TControl* control)
{
    std::erase(FControls, control);
    // By address: a control being freed may no longer be a TWinControl.
    std::erase_if(FTabList, [control](TWinControl* each) { return static_cast<TControl*>(each) == control; });
    control->FParent = nullptr;
}

void TWinControl::InsertControl(TControl* control)
{
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
    Insert(control);
    if (!control->ComponentState().Contains(csReading)) {
        control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
        control->Perform(CM_PARENTFONTCHANGED, 0, 0);
        control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
            windowed->UpdateControlState();
        } else if (HandleAllocated()) {
            control->Invalidate();
        }
        AlignControl(control);
    }
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 1);
}

void TWinControl::RemoveControl(TControl* control)
{
    const bool destroying = ComponentState().Contains(csDestroying);
    if (!destroying) {
        Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 0);
    }
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        windowed->RemoveFocus(true);
        windowed->DestroyHandle();
    } else if (HandleAllocated()) {
        control->Invalidate();
    }
    Remove(control);
    if (!destroying) {
        Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
        Realign();
    }
}

void TWinControl::Broadcast(TMessage& message)
{
    const auto life = Life();
    const std::vector<TControl*> children = FControls;
    for (TControl* child : children) {
        if (!life->Alive() || std::find(FControls.begin(), FControls.end(), child) == FControls.end()) {
            continue;
        }
        child->WndProc(message);
        if (message.Result != 0) {
            return;
        }
    }
}

void TWinControl::NotifyControls(UINT msg)
{
    TMessage message{msg, 0, 0, 0};
    Broadcast(message);
}

void TWinControl::DisableAlign()
{
    ++FAlignLevel;
}

void TWinControl::EnableAlign()
{
    if (FAlignLevel > 0 && --FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) {
        Realign();
    }
}

void TWinControl::Realign()
{
    AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* control)
{
    if (FHandle == 0 || ComponentState().Contains(csDestroying) || ComponentState().Contains(csLoading)) {
        return;
    }
    if (FAlignLevel > 0) {
        FControlState.Include(csAlignmentNeeded);
        return;
    }
    const auto life = Life();
    DisableAlign();
    try {
        TRect rect = ClientRect();
        AlignControls(control, rect);
    } catch (...) {
        if (life->Alive()) {
            FControlState.Exclude(csAlignmentNeeded);
            EnableAlign();
        }
        throw;
    }
    if (!life->Alive()) {
        return;
    }
    FControlState.Exclude(csAlignmentNeeded);
    EnableAlign();
    AdjustSize();
}

void TWinControl::AdjustClientRect(TRect&) {}

bool TWinControl::CanAutoSize(int& newWidth, int& newHeight)
{
    TRect inner = ClientRect();
    AdjustClientRect(inner);
    // Anchored children need their far edges; aligned ones stack along
    // their edge (a client-aligned one keeps its size on both axes).
    std::int64_t right = 0;
    std::int64_t bottom = 0;
    std::int64_t stackedWidth = 0;
    std::int64_t stackedHeight = 0;
    bool horizontal = false;
    bool vertical = false;
    for (TControl* child : FControls) {
        if (!child->Visible()) {
            continue;
        }
        const TMargins m = child->EffectiveMargins();
        const std::int64_t width = std::int64_t{m.Left} + child->Width() + m.Right;
        const std::int64_t height = std::int64_t{m.Top} + child->Height() + m.Bottom;
        const TAlign align = child->Align();
        if (align == alNone || align == alCustom) {
            right = std::max(right, std::int64_t{child->Left()} + child->Width() - inner.Left);
            bottom = std::max(bottom, std::int64_t{child->Top()} + child->Height() - inner.Top);
            horizontal = vertical = true;
        }
        if (align == alLeft || align == alRight || align == alClient) {
            stackedWidth += width;
            horizontal = true;
        }
        if (align == alTop || align == alBottom || align == alClient) {
            stackedHeight += height;
            vertical = true;
        }
    }
    // The border around the children and the frame around the client area stay.
    const std::int64_t extraWidth = std::int64_t{FWidth} - inner.Width();
    const std::int64_t extraHeight = std::int64_t{FHeight} - inner.Height();
    if (horizontal) {
        newWidth = SaturateInt(std::max<std::int64_t>(std::max(right, stackedWidth) + extraWidth, 0));
    }
    if (vertical) {
        newHeight = SaturateInt(std::max<std::int64_t>(std::max(bottom, stackedHeight) + extraHeight, 0));
    }
    return horizontal || vertical;
}

void TWinControl::AlignControls(TControl* control, TRect& rect)
{
    AdjustClientRect(rect);
    ArrangeControls(*this, control, rect);
}

int TWinControl::TabOrder() const
{
    if (FParent == nullptr) {
        return -1;
    }
    const auto& list = FParent->FTabList;
    const auto at = std::find(list.begin(), list.end(), this);
    return at == list.end() ? -1 : static_cast<int>(at - list.begin());
}

void TWinControl::SetTabOrder(int value)
{
    if (FParent == nullptr) {
        return;
    }
    auto& list = FParent->FTabList;
    const int current = TabOrder();
    if (current < 0) {
        return;
    }
    const int target = std::clamp(value, 0, static_cast<int>(list.size()) - 1);
    if (target == current) {
        return;
    }
    list.erase(list.begin() + current);
    list.insert(list.begin() + target, this);
}

void TWinControl::SetTabStop(bool value)
{
    if (value == FTabStop) {
        return;
    }
    FTabStop = value;
    if (FHandle != 0) {
        const DWORD style = GetWindowStyle(FHandle);
        SetWindowStyle(FHandle, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const
{
    for (TWinControl* child : FTabList) {
        list.push_back(child);
        child->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) {
        return nullptr;
    }
    const auto count = static_cast<int>(list.size());
    const auto found = std::find(list.begin(), list.end(), current);
    int start = found == list.end() ? (goForward ? count - 1 : 0) : static_cast<int>(found - list.begin());
    int index = start;
    do {
        if (goForward) {
            index = (index + 1) % count;
        } else {
            index = (index + count - 1) % count;
        }
        TWinControl* candidate = list[static_cast<std::size_t>(index)];
        if (candidate != current && candidate->CanFocus() && (!checkTabStop || candidate->TabStop()) &&
            (!checkParent || candidate->Parent() == this)) {
            return candidate;
        }
    } while (index != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop)
{
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) {
        next->SetFocus();
    }
}

void TWinControl::SelectFirst()
{
    TCustomForm* form = GetParentForm(this);
    if (form == nullptr) {
        return;
    }
    TWinControl* control = FindNextControl(nullptr, true, true, false);
    if (control == nullptr) {
        control = FindNextControl(nullptr, true, false, false);
    }
    if (control != nullptr) {
        form->SetActiveControl(control);
    }
}

bool TWinControl::CanFocus() const
{
    const TCustomForm* form = GetParentForm(this);
    if (form == nullptr) {
        return false;
    }
    for (const TControl* control = this; control != nullptr && control != form; control = control->Parent()) {
        if (!control->Visible() || !control->Enabled()) {
            return false;
        }
    }
    return form->Visible() && form->Enabled();
}

bool TWinControl::Focused() const
{
    return FHandle != 0 && GetFocus() == FHandle;
}

void TWinControl::SetFocus()
{
    TCustomForm* form = GetParentForm(this);
    if (form == nullptr) {
        ValidParentForm(this);
        return;
    }
    form->FocusControl(this);
}

void TWinControl::RemoveFocus(bool removing)
{
    if (TCustomForm* form = GetParentForm(this)) {
        form->DefocusControl(this, removing);
    }
}

TRect TWinControl::ClientRect() const
{
    if (FHandle != 0) {
        TRect rect;
        GetClientRect(FHandle, rect);
        return rect;
    }
    return TControl::ClientRect();
}

TPoint TWinControl::ClientOrigin() const
{
    if (FHandle != 0) {
        TPoint origin{0, 0};
        plat::ClientToScreen(FHandle, origin);
        return origin;
    }
    return TControl::ClientOrigin();
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    BoundsRequested(left, top, width, height);
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) {
        return;
    }
    if (FHandle != 0) {
        SetWindowPos(FHandle, 0, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        FLeft = left;
        FTop = top;
        FWidth = width;
        FHeight = height;
    }
    RequestAlign();
}

void TWinControl::UpdateBounds()
{
    if (FHandle == 0) {
        return;
    }
    TRect rect;
    GetWindowRect(FHandle, rect);
    if (const HWND parent = GetParent(FHandle)) {
        TPoint topLeft{rect.Left, rect.Top};
        plat::ScreenToClient(parent, topLeft);
        rect = OffsetRect(rect, Minus(topLeft.X, rect.Left), Minus(topLeft.Y, rect.Top));
    }
    FLeft = rect.Left;
    FTop = rect.Top;
    FWidth = static_cast<int>(rect.Width());
    FHeight = static_cast<int>(rect.Height());
}

void TWinControl::SetParent(TWinControl* parent)
{
    if (parent == FParent) {
        return;
    }
    TControl::SetParent(parent);
}

void TWinControl::SetZOrder(bool topMost)
{
    MoveAmongSiblings(topMost);
    if (FHandle != 0) {
        SetWindowPos(FHandle, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void TWinControl::Invalidate()
{
    if (FHandle != 0) {
        InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
    }
}

void TWinControl::Update()
{
    if (FHandle != 0) {
        UpdateWindow(FHandle);
    }
}

void TWinControl::Repaint()
{
    if (FVisible && FHandle != 0) {
        Invalidate();
        Update();
    }
}

void TWinControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this); form != nullptr && !form->SetFocusedControl(this)) {
            return;
        }
        break;
    case WM_KILLFOCUS:
        if (FControlState.Contains(csFocusing)) {
            return;
        }
        break;
    case WM_CANCELMODE:
        if (FHandle != 0 && GetCapture() == FHandle && CaptureControlValue != nullptr &&
            CaptureControlValue->Parent() == this) {
            CaptureControlValue->Perform(WM_CANCELMODE, 0, 0);
        }
        break;
    default:
        if (IsMouseClientMessage(message.Msg) && IsControlMouseMsg(message)) {
            if (message.Result == 0 && FHandle != 0) {
                DefWindowProc(FHandle, message.Msg, message.WParam, message.LParam);
            }
            return;
        }
        break;
    }
    TControl::WndProc(message);
}

bool TWinControl::IsControlMouseMsg(TMessage& message)
{
    TControl* control = nullptr;
    if (FHandle != 0 && GetCapture() == FHandle) {
        if (CaptureControlValue != nullptr && CaptureControlValue->Parent() == this) {
            control = CaptureControlValue;
        }
    } else {
        control = ControlAtPos(Point(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)), false);
    }
    if (control == nullptr) {
        return false;
    }
    const int x = Minus(GET_X_LPARAM(message.LParam), control->Left());
    const int y = Minus(GET_Y_LPARAM(message.LParam), control->Top());
    message.Result = control->Perform(message.Msg, message.WParam, PointToLParam(x, y));
    return true;
}

void TWinControl::DefaultHandler(TMessage& message)
{
    if (FHandle != 0) {
        message.Result = DefWindowProc(FHandle, message.Msg, message.WParam, message.LParam);
        return;
    }
    TControl::DefaultHandler(message);
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    for (TControl* control : std::vector<TControl*>(FControls)) {
        if (control->Owner() == root) {
            proc(control);
        }
    }
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintHandler(TMessage& message)
{
    const auto life = Life();
    if (HDC given = reinterpret_cast<HDC>(message.WParam)) {
        PaintWindow(given);
        for (TControl* child : std::vector<TControl*>(FControls)) {
            if (life->Alive() && child->Visible() && dynamic_cast<TWinControl*>(child) == nullptr) {
                PaintChildInto(*child, given, child->Left(), child->Top());
            }
        }
        return;
    }
    if (FHandle == 0) {
        return;
    }
    TRegion update;
    GetUpdateRgn(FHandle, update, false);
    TPaintStruct paint;
    HDC dc = BeginPaint(FHandle, paint);
    if (dc == nullptr) {
        return;
    }
    for (TControl* child : FControls) {
        if (child->Visible() && child->ControlStyle().Contains(csOpaque) && dynamic_cast<TWinControl*>(child) == nullptr) {
            dc->ExcludeClipRect(child->Left(), child->Top(), SaturateInt(std::int64_t{child->Left()} + child->Width()),
                                SaturateInt(std::int64_t{child->Top()} + child->Height()));
        }
    }
    try {
        PaintWindow(dc);
    } catch (...) {
        EndPaint(FHandle, paint);
        throw;
    }
    if (!life->Alive()) {
        return;
    }
    EndPaint(FHandle, paint);
    PaintControls(update);
}

void TWinControl::PaintControls(const TRegion& update)
{
    const auto life = Life();
    for (TControl* child : std::vector<TControl*>(FControls)) {
        if (!life->Alive() || FHandle == 0) {
            return;
        }
        if (std::find(FControls.begin(), FControls.end(), child) == FControls.end() || !child->Visible() ||
            dynamic_cast<TWinControl*>(child) != nullptr || !update.Intersects(child->BoundsRect())) {
            continue;
        }
        HDC dc = GetDCAt(FHandle, child->BoundsRect(), &update);
        if (dc == nullptr) {
            continue;
        }
        try {
            child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        } catch (...) {
            ReleaseDC(FHandle, dc);
            throw;
        }
        ReleaseDC(FHandle, dc);
    }
}

void TWinControl::PaintChildInto(TControl& child, HDC dc, int x, int y)
{
    if (child.Width() <= 0 || child.Height() <= 0) {
        return;
    }
    const int scale = dc->DeviceScale();
    TPixelSurface pixels(std::min(child.Width(), TPixelSurface::MaxSide / scale) * scale,
                         std::min(child.Height(), TPixelSurface::MaxSide / scale) * scale, 32);
    TSurfaceDC childDC(pixels, scale);
    childDC.BitBlt(0, 0, child.Width(), child.Height(), dc, x, y, SRCCOPY);
    if (auto* windowed = dynamic_cast<TWinControl*>(&child)) {
        windowed->PaintTo(&childDC, 0, 0);
    } else {
        child.Perform(WM_PAINT, reinterpret_cast<WPARAM>(&childDC), 0);
    }
    dc->BitBlt(x, y, child.Width(), child.Height(), &childDC, 0, 0, SRCCOPY);
}

void TWinControl::PaintTo(HDC dc, int x, int y)
{
    if (dc == nullptr || FWidth <= 0 || FHeight <= 0) {
        return;
    }
    const int scale = dc->DeviceScale();
    TPixelSurface pixels(std::min(FWidth, TPixelSurface::MaxSide / scale) * scale,
                         std::min(FHeight, TPixelSurface::MaxSide / scale) * scale, 32);
    TSurfaceDC own(pixels, scale);
    own.BitBlt(0, 0, FWidth, FHeight, dc, x, y, SRCCOPY);
    TMessage erase{WM_ERASEBKGND, reinterpret_cast<WPARAM>(&own), reinterpret_cast<LPARAM>(&own), 0};
    WndProc(erase);
    TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(&own), 0, 0};
    WndProc(paint);
    for (TControl* child : std::vector<TControl*>(FControls)) {
        if (auto* windowed = dynamic_cast<TWinControl*>(child); windowed != nullptr && child->Visible()) {
            PaintChildInto(*child, &own, child->Left(), child->Top());
        }
    }
    dc->BitBlt(x, y, FWidth, FHeight, &own, 0, 0, SRCCOPY);
}

void TWinControl::WMPaint(TMessage& message)
{
    PaintHandler(message);
}

void TWinControl::WMEraseBkgnd(TMessage& message)
{
    if (HDC dc = reinterpret_cast<HDC>(message.WParam)) {
        dc->FillRect(ClientRect(), FBrush->Handle());
    }
    message.Result = 1;
}

void TWinControl::WMSize(TMessage& message)
{
    const auto life = Life();
    UpdateBounds();
    DefaultHandler(message);
    if (!life->Alive()) {
        return;
    }
    Realign();
    if (life->Alive() && !ComponentState().Contains(csLoading)) {
        Resize();
    }
}

void TWinControl::WMMove(TMessage& message)
{
    UpdateBounds();
    DefaultHandler(message);
}

void TWinControl::WMWindowPosChanged(TMessage& message)
{
    UpdateBounds();
    DefaultHandler(message);
}

void TWinControl::WMGetMinMaxInfo(TMessage& message)
{
    DefaultHandler(message);
    auto* info = reinterpret_cast<TMinMaxInfo*>(message.LParam);
    if (info == nullptr) {
        return;
    }
    const TSizeConstraints& limits = Constraints();
    if (limits.MinWidth > 0) {
        info->ptMinTrackSize.X = limits.MinWidth;
    }
    if (limits.MinHeight > 0) {
        info->ptMinTrackSize.Y = limits.MinHeight;
    }
    if (limits.MaxWidth > 0) {
        info->ptMaxTrackSize.X = limits.MaxWidth;
    }
    if (limits.MaxHeight > 0) {
        info->ptMaxTrackSize.Y = limits.MaxHeight;
    }
}

void TWinControl::ConstraintsChanged()
{
    const auto life = Life();
    TControl::ConstraintsChanged();
    if (life->Alive() && FHandle != 0) {
        UpdateWindowSizeLimits(FHandle);
    }
}

void TWinControl::WMSetFocus(TMessage& message)
{
    DefaultHandler(message);
}

void TWinControl::WMKillFocus(TMessage& message)
{
    DefaultHandler(message);
}

void TWinControl::WMSetCursor(TMessage& message)
{
    if (static_cast<HWND>(message.WParam) == FHandle &&
        static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(message.LParam))) == HTCLIENT && Screen != nullptr) {
        TCursor cursor = Screen->Cursor();
        if (cursor == crDefault) {
            TPoint point;
            GetCursorPos(point);
            const TControl* control = ControlAtPos(ScreenToClient(point), false);
            if (control != nullptr) {
                cursor = control->Cursor();
            }
            if (cursor == crDefault) {
                cursor = FCursor;
            }
        }
        if (cursor != crDefault) {
            plat::SetCursor(Screen->Cursors(cursor));
            message.Result = 1;
            return;
        }
    }
    DefaultHandler(message);
}

bool TWinControl::DoKeyDown(TMessage& message)
{
    const auto life = Life();
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyDown(message)) {
        return true;
    }
    if (!life->Alive()) {
        return true;
    }
    auto key = static_cast<std::uint16_t>(message.WParam);
    if (!FControlStyle.Contains(csNoStdEvents)) {
        KeyDown(key, KeyDataToShiftState(message.LParam));
        message.WParam = key;
        if (key == 0 || !life->Alive()) {
            return true;
        }
    }
    return false;
}

bool TWinControl::DoKeyPress(TMessage& message)
{
    const auto life = Life();
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyPress(message)) {
        return true;
    }
    if (!life->Alive()) {
        return true;
    }
    auto key = static_cast<char16_t>(message.WParam);
    if (!FControlStyle.Contains(csNoStdEvents)) {
        KeyPress(key);
        message.WParam = key;
        if (key == 0 || !life->Alive()) {
            return true;
        }
    }
    return false;
}

bool TWinControl::DoKeyUp(TMessage& message)
{
    const auto life = Life();
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyUp(message)) {
        return true;
    }
    if (!life->Alive()) {
        return true;
    }
    auto key = static_cast<std::uint16_t>(message.WParam);
    if (!FControlStyle.Contains(csNoStdEvents)) {
        KeyUp(key, KeyDataToShiftState(message.LParam));
        message.WParam = key;
        if (key == 0 || !life->Alive()) {
            return true;
        }
    }
    return false;
}

void TWinControl::KeyDown(std::uint16_t& key, TShiftState shift)
{
    OnKeyDown(this, key, shift);
}

void TWinControl::KeyPress(char16_t& key)
{
    OnKeyPress(this, key);
}

void TWinControl::KeyUp(std::uint16_t& key, TShiftState shift)
{
    OnKeyUp(this, key, shift);
}

void TWinControl::DoEnter()
{
    OnEnter(this);
}

void TWinControl::DoExit()
{
    OnExit(this);
}

void TWinControl::WMKeyDown(TMessage& message)
{
    if (!DoKeyDown(message)) {
        DefaultHandler(message);
    }
}

void TWinControl::WMSysKeyDown(TMessage& message)
{
    if (!DoKeyDown(message)) {
        DefaultHandler(message);
    }
}

void TWinControl::WMKeyUp(TMessage& message)
{
    if (!DoKeyUp(message)) {
        DefaultHandler(message);
    }
}

void TWinControl::WMSysKeyUp(TMessage& message)
{
    if (!DoKeyUp(message)) {
        DefaultHandler(message);
    }
}

void TWinControl::WMChar(TMessage& message)
{
    if (!DoKeyPress(message)) {
        DefaultHandler(message);
    }
}

void TWinControl::WMNCDestroy(TMessage& message)
{
    DefaultHandler(message);
    if (FHandle != 0) {
        WindowControls().erase(FHandle);
    }
    FHandle = 0;
    FShowing = false;
}

void TWinControl::WMContextMenu(TMessage& message)
{
    if (message.Result != 0) {
        return;
    }
    const TPoint point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    if (!(point.X == -1 && point.Y == -1)) {
        if (TControl* control = ControlAtPos(ScreenToClient(point), false)) {
            message.Result = control->Perform(WM_CONTEXTMENU, 0, message.LParam);
        }
    }
    if (message.Result == 0) {
        TControl::WMContextMenu(message);
    }
}

void TWinControl::CNKeyDown(TMessage& message)
{
    message.Result = 1;
    const auto key = static_cast<std::uint16_t>(message.WParam);
    if (Perform(CM_CHILDKEY, key, reinterpret_cast<LPARAM>(this)) != 0) {
        return;
    }
    LRESULT mask = 0;
    switch (key) {
    case VK_TAB:
        mask = DLGC_WANTTAB;
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        mask = DLGC_WANTARROWS;
        break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL:
        mask = DLGC_WANTALLKEYS;
        break;
    default:
        break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, key, 0) == 0 && (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0) {
        TCustomForm* form = GetParentForm(this);
        if (form != nullptr && form->Perform(CM_DIALOGKEY, key, message.LParam) != 0) {
            return;
        }
    }
    message.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& message)
{
    message.Result = 0;
}

void TWinControl::CNChar(TMessage& message)
{
    message.Result = 1;
    if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0) {
        TCustomForm* form = GetParentForm(this);
        if (form != nullptr && form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0) {
            return;
        }
    }
    message.Result = 0;
}

void TWinControl::CNSysKeyDown(TMessage& message)
{
    message.Result = 1;
    if (Perform(CM_CHILDKEY, message.WParam, reinterpret_cast<LPARAM>(this)) != 0) {
        return;
    }
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form->Perform(CM_DIALOGKEY, message.WParam, message.LParam) != 0) {
        return;
    }
    message.Result = 0;
}

void TWinControl::CNSysChar(TMessage& message)
{
    message.Result = 0;
    if (message.WParam == VK_SPACE) {
        return;
    }
    if (TCustomForm* form = GetParentForm(this)) {
        message.Result = form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam);
    }
}

void TWinControl::CMChildKey(TMessage& message)
{
    if (FParent != nullptr) {
        message.Result = FParent->Perform(CM_CHILDKEY, message.WParam, message.LParam);
    }
}

void TWinControl::CMDialogKey(TMessage& message)
{
    Broadcast(message);
}

void TWinControl::CMDialogChar(TMessage& message)
{
    Broadcast(message);
}

void TWinControl::CMEnter(TMessage&)
{
    DoEnter();
}

void TWinControl::CMExit(TMessage&)
{
    DoExit();
}

void TWinControl::UpdateShowing()
{
    const bool show = FVisible;
    if (show) {
        if (FHandle == 0) {
            CreateHandle();
        }
        for (TWinControl* child : std::vector<TWinControl*>(FTabList)) {
            child->UpdateShowing();
        }
    }
    if (FHandle != 0 && FShowing != show) {
        FShowing = show;
        try {
            Perform(CM_SHOWINGCHANGED, 0, 0);
        } catch (...) {
            FShowing = !FShowing;
            throw;
        }
    }
}

void TWinControl::UpdateControlState()
{
    const TWinControl* top = this;
    while (top->Parent() != nullptr) {
        top = top->Parent();
        if (!top->Showing()) {
            return;
        }
    }
    if (dynamic_cast<const TCustomForm*>(top) != nullptr) {
        UpdateShowing();
    }
}

void TWinControl::CMShowingChanged(TMessage&)
{
    SetWindowPos(FHandle, 0, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage&)
{
    if (!FVisible && FParent != nullptr) {
        RemoveFocus(false);
    }
    UpdateControlState();
}

void TWinControl::CMEnabledChanged(TMessage&)
{
    if (!FEnabled && FParent != nullptr) {
        RemoveFocus(false);
    }
    if (FHandle != 0) {
        EnableWindow(FHandle, FEnabled);
    }
    Invalidate();
}

void TWinControl::CMColorChanged(TMessage&)
{
    FBrush->SetColor(FColor);
    NotifyControls(CM_PARENTCOLORCHANGED);
    Invalidate();
}

void TWinControl::CMFontChanged(TMessage&)
{
    Invalidate();
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMShowHintChanged(TMessage&)
{
    NotifyControls(CM_PARENTSHOWHINTCHANGED);
}

void TWinControl::CMTextChanged(TMessage&)
{
    Invalidate();
}

void TWinControl::CMInvalidate(TMessage&)
{
    Invalidate();
}

} // namespace plat
