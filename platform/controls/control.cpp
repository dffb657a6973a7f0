// TControl: bounds, alignment requests, the property setters with their
// notifications, mouse messages turned into events, and the dispatch of
// messages through the class tables.
#include "platform/controls/control.h"

#include "platform/controls/application.h"
#include "platform/controls/form.h"
#include "platform/controls/win_control.h"
#include "platform/controls/window_input.h"
#include "platform/controls/window_paint.h"

#include <algorithm>
#include <cstring>

namespace plat {

PLAT_DEFINE_CLASS(TControl, TComponent,
    Published("Left", &TControl::Left, &TControl::SetLeft),
    Published("Top", &TControl::Top, &TControl::SetTop),
    Published("Width", &TControl::Width, &TControl::SetWidth),
    Published("Height", &TControl::Height, &TControl::SetHeight),
    Published("Align", &TControl::Align, &TControl::SetAlign,
              {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"})
        .Default(alNone),
    Published("AlignWithMargins", &TControl::AlignWithMargins, &TControl::SetAlignWithMargins).Default(false),
    Published("Anchors", &TControl::Anchors, &TControl::SetAnchors, {"akLeft", "akTop", "akRight", "akBottom"})
        .Default(TAnchors{akLeft, akTop}),
    Published("Caption", &TControl::Caption, &TControl::SetCaption).Default(""),
    Published("Color", &TControl::Color, &TControl::SetColor),
    Published("Cursor", &TControl::Cursor, &TControl::SetCursor).Default(crDefault),
    Published("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true),
    Published("Font", &TControl::Font, nullptr),
    Published("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext).Default(0),
    Published("Hint", &TControl::Hint, &TControl::SetHint).Default(""),
    Published("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false),
    Published("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true),
    Published("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true),
    Published("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Default(false),
    Published("Visible", &TControl::Visible, &TControl::SetVisible).Default(true))

namespace {

// A point of a mouse message in the control's client coordinates.
TPoint MessagePoint(const TMessage& message)
{
    return Point(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
}

} // namespace

const TMessageTable& TControl::StaticMessages()
{
    using TSelf = TControl;
    static const TMessageTable table(nullptr, {
        PLAT_MESSAGE(WM_LBUTTONDOWN, WMLButtonDown)
        PLAT_MESSAGE(WM_LBUTTONDBLCLK, WMLButtonDblClk)
        PLAT_MESSAGE(WM_LBUTTONUP, WMLButtonUp)
        PLAT_MESSAGE(WM_RBUTTONDOWN, WMRButtonDown)
        PLAT_MESSAGE(WM_RBUTTONDBLCLK, WMRButtonDblClk)
        PLAT_MESSAGE(WM_RBUTTONUP, WMRButtonUp)
        PLAT_MESSAGE(WM_MBUTTONDOWN, WMMButtonDown)
        PLAT_MESSAGE(WM_MBUTTONDBLCLK, WMMButtonDblClk)
        PLAT_MESSAGE(WM_MBUTTONUP, WMMButtonUp)
        PLAT_MESSAGE(WM_MOUSEMOVE, WMMouseMove)
        PLAT_MESSAGE(WM_MOUSEWHEEL, WMMouseWheel)
        PLAT_MESSAGE(WM_CONTEXTMENU, WMContextMenu)
        PLAT_MESSAGE(WM_CANCELMODE, WMCancelMode)
        PLAT_MESSAGE(WM_GETTEXT, WMGetText)
        PLAT_MESSAGE(WM_GETTEXTLENGTH, WMGetTextLength)
        PLAT_MESSAGE(WM_SETTEXT, WMSetText)
        PLAT_MESSAGE(CM_VISIBLECHANGED, CMVisibleChanged)
        PLAT_MESSAGE(CM_ENABLEDCHANGED, CMEnabledChanged)
        PLAT_MESSAGE(CM_FONTCHANGED, CMFontChanged)
        PLAT_MESSAGE(CM_COLORCHANGED, CMColorChanged)
        PLAT_MESSAGE(CM_PARENTCOLORCHANGED, CMParentColorChanged)
        PLAT_MESSAGE(CM_PARENTFONTCHANGED, CMParentFontChanged)
        PLAT_MESSAGE(CM_PARENTSHOWHINTCHANGED, CMParentShowHintChanged)
        PLAT_MESSAGE(CM_HITTEST, CMHitTest)
        PLAT_MESSAGE(CM_MOUSEENTER, CMMouseEnter)
        PLAT_MESSAGE(CM_MOUSELEAVE, CMMouseLeave)
        PLAT_MESSAGE(CM_MOUSEWHEEL, CMMouseWheel)
    });
    return table;
}

TControl::TControl(TComponent* owner)
    : TComponent(owner), FFont(std::make_unique<TFont>()), FLife(std::make_shared<TControlLife>())
{
    FFont->OnChange = TNotifyEvent(this, &TControl::FontChanged);
    FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
}

TControl::~TControl()
{
    FLife->FAlive = false;
    Destroying();
    if (GetCaptureControl() == this) {
        SetCaptureControl(nullptr);
    }
    if (Application != nullptr) {
        Application->ControlDestroyed(this);
    }
    if (FParent != nullptr) {
        FParent->RemoveControl(this);
    }
    FFont->OnChange = nullptr;
}

void TControl::WndProc(TMessage& message)
{
    if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST) {
        // Controls that take no double clicks see a second press.
        if (!FControlStyle.Contains(csDoubleClicks) &&
            (message.Msg == WM_LBUTTONDBLCLK || message.Msg == WM_RBUTTONDBLCLK || message.Msg == WM_MBUTTONDBLCLK)) {
            message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
        }
        if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) {
            FControlState.Include(csLButtonDown);
        } else if (message.Msg == WM_LBUTTONUP) {
            FControlState.Exclude(csLButtonDown);
        }
    }
    Dispatch(message);
}

void TControl::Dispatch(TMessage& message)
{
    DispatchFrom(Messages(), message);
}

void TControl::DispatchFrom(const TMessageTable& table, TMessage& message)
{
    if (const TMessageHandler handler = table.Find(message.Msg)) {
        handler(*this, message);
    } else {
        DefaultHandler(message);
    }
}

void TControl::DefaultHandler(TMessage&) {}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    WndProc(message);
    return message.Result;
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == FParent) {
        return;
    }
    if (parent == this) {
        throw EInvalidOperation("A control cannot have itself as its parent");
    }
    if (parent != nullptr) {
        for (const TWinControl* above = parent; above != nullptr; above = above->Parent()) {
            if (above == this) {
                throw EInvalidOperation("A control cannot have one of its children as its parent");
            }
        }
    }
    if (FParent != nullptr) {
        FParent->RemoveControl(this);
    }
    // Anchors remember the place anew in the new parent.
    FAnchorPlace.Known = false;
    if (parent != nullptr) {
        parent->InsertControl(this);
    }
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    BoundsRequested(left, top, width, height);
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) {
        return;
    }
    Invalidate();
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    Invalidate();
    Perform(WM_WINDOWPOSCHANGED, 0, 0);
    RequestAlign();
    if (!ComponentState().Contains(csLoading)) {
        Resize();
    }
}

TRect TControl::BoundsRect() const
{
    return Bounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::SetBoundsRect(const TRect& rect)
{
    SetBounds(rect.Left, rect.Top, SaturateInt(rect.Width()), SaturateInt(rect.Height()));
}

TRect TControl::ClientRect() const
{
    return Rect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(int value)
{
    SetWidth(SaturateInt(std::int64_t{FWidth} - ClientWidth() + value));
}

void TControl::SetClientHeight(int value)
{
    SetHeight(SaturateInt(std::int64_t{FHeight} - ClientHeight() + value));
}

TPoint TControl::ClientOrigin() const
{
    if (FParent == nullptr) {
        return Point(FLeft, FTop);
    }
    const TPoint origin = FParent->ClientOrigin();
    return Point(SaturateInt(std::int64_t{origin.X} + FLeft), SaturateInt(std::int64_t{origin.Y} + FTop));
}

TPoint TControl::ClientToScreen(TPoint point) const
{
    const TPoint origin = ClientOrigin();
    return Point(SaturateInt(std::int64_t{point.X} + origin.X), SaturateInt(std::int64_t{point.Y} + origin.Y));
}

TPoint TControl::ScreenToClient(TPoint point) const
{
    const TPoint origin = ClientOrigin();
    return Point(SaturateInt(std::int64_t{point.X} - origin.X), SaturateInt(std::int64_t{point.Y} - origin.Y));
}

TPoint TControl::ClientToParent(TPoint point, TWinControl* parent) const
{
    if (parent == nullptr) {
        parent = FParent;
    }
    if (parent == nullptr) {
        throw EInvalidOperation("Control has no parent window");
    }
    return parent->ScreenToClient(ClientToScreen(point));
}

void TControl::SetAlign(TAlign value)
{
    if (value == FAlign) {
        return;
    }
    const TAlign old = FAlign;
    FAlign = value;
    if (old == alNone || value == alNone || !ComponentState().Contains(csLoading)) {
        RequestAlign();
    }
}

void TControl::RequestAlign()
{
    if (FParent != nullptr) {
        FParent->AlignControl(this);
    }
}

void TControl::SetVisible(bool value)
{
    if (value == FVisible) {
        return;
    }
    VisibleChanging();
    FVisible = value;
    Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0);
    RequestAlign();
}

void TControl::SetEnabled(bool value)
{
    if (value == FEnabled) {
        return;
    }
    FEnabled = value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetText(const std::string& value)
{
    if (value == FText) {
        return;
    }
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetColor(TColor value)
{
    if (value == FColor) {
        return;
    }
    FColor = value;
    FParentColor = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool value)
{
    if (value == FParentColor) {
        return;
    }
    FParentColor = value;
    if (FParent != nullptr && !ComponentState().Contains(csReading)) {
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
    }
}

void TControl::SetFont(const TFont* value)
{
    if (value != nullptr) {
        FFont->Assign(value);
    }
}

void TControl::SetParentFont(bool value)
{
    if (value == FParentFont) {
        return;
    }
    FParentFont = value;
    if (FParent != nullptr && !ComponentState().Contains(csReading)) {
        Perform(CM_PARENTFONTCHANGED, 0, 0);
    }
}

void TControl::FontChanged(TObject*)
{
    FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool value)
{
    if (value == FShowHint) {
        return;
    }
    FShowHint = value;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool value)
{
    if (value == FParentShowHint) {
        return;
    }
    FParentShowHint = value;
    if (FParent != nullptr && !ComponentState().Contains(csReading)) {
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    }
}

void TControl::SetCursor(TCursor value)
{
    if (value == FCursor) {
        return;
    }
    FCursor = value;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TComponent* value)
{
    if (value == FPopupMenu) {
        return;
    }
    if (FPopupMenu != nullptr) {
        FPopupMenu->RemoveFreeNotification(this);
    }
    FPopupMenu = value;
    if (value != nullptr) {
        value->FreeNotification(this);
    }
}

void TControl::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FPopupMenu) {
        FPopupMenu = nullptr;
    }
}

void TControl::Loaded()
{
    TComponent::Loaded();
    if (FParent != nullptr) {
        if (FParentColor) {
            Perform(CM_PARENTCOLORCHANGED, 0, 0);
        }
        if (FParentFont) {
            Perform(CM_PARENTFONTCHANGED, 0, 0);
        }
    }
    // The place read is the one the anchors keep.
    FAnchorPlace.Known = false;
    RequestAlign();
    AdjustSize();
}

bool TControl::MouseCapture() const
{
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool value)
{
    if (value == MouseCapture()) {
        return;
    }
    SetCaptureControl(value ? this : nullptr);
}

void TControl::Invalidate()
{
    if (FParent == nullptr || !FVisible || !FParent->HandleAllocated()) {
        return;
    }
    const TRect rect = BoundsRect();
    InvalidateRect(FParent->FHandle, &rect, !FControlStyle.Contains(csOpaque));
}

void TControl::Update()
{
    if (FParent != nullptr) {
        FParent->Update();
    }
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::MoveAmongSiblings(bool topMost)
{
    if (FParent == nullptr) {
        return;
    }
    auto& siblings = FParent->FControls;
    std::erase(siblings, this);
    if (topMost) {
        siblings.push_back(this);
    } else {
        siblings.insert(siblings.begin(), this);
    }
}

void TControl::SetZOrder(bool topMost)
{
    MoveAmongSiblings(topMost);
    Invalidate();
}

bool TControl::Showing() const
{
    return FVisible && FParent != nullptr && FParent->Showing();
}

bool TControl::IsVisibleAt(int x, int y) const
{
    return Showing() && ClientRect().Contains(x, y);
}

TComponent* TControl::GetParentComponent() const
{
    return FParent;
}

void TControl::SetParentComponent(TComponent* parent)
{
    if (auto* windowed = dynamic_cast<TWinControl*>(parent)) {
        SetParent(windowed);
    }
}

void TControl::Click()
{
    OnClick(this);
}

void TControl::DblClick()
{
    OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    OnMouseUp(this, button, shift, x, y);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    bool handled = false;
    const auto life = FLife;
    OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    if (!handled && life->Alive()) {
        handled = wheelDelta < 0 ? DoMouseWheelDown(shift, mousePos) : DoMouseWheelUp(shift, mousePos);
    }
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState shift, TPoint mousePos)
{
    bool handled = false;
    OnMouseWheelDown(this, shift, mousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState shift, TPoint mousePos)
{
    bool handled = false;
    OnMouseWheelUp(this, shift, mousePos, handled);
    return handled;
}

void TControl::DoMouseEnter()
{
    OnMouseEnter(this);
}

void TControl::DoMouseLeave()
{
    OnMouseLeave(this);
}

void TControl::DoContextPopup(TPoint mousePos, bool& handled)
{
    OnContextPopup(this, mousePos, handled);
}

void TControl::Resize()
{
    OnResize(this);
}

void TControl::SendCancelMode(TControl* sender)
{
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr) {
        form->SendCancelMode(sender);
    }
}

void TControl::MouseDownMessage(TMouseButton button, bool doubleClick, TMessage& message)
{
    const auto life = FLife;
    SendCancelMode(this);
    if (!life->Alive()) {
        return;
    }
    if (button == mbLeft && FControlStyle.Contains(csCaptureMouse)) {
        SetMouseCapture(true);
    }
    if (button == mbLeft) {
        if (doubleClick) {
            if (FControlStyle.Contains(csClickEvents)) {
                DblClick();
            }
        } else if (FControlStyle.Contains(csClickEvents)) {
            FControlState.Include(csClicked);
        }
    }
    if (!life->Alive() || FControlStyle.Contains(csNoStdEvents)) {
        return;
    }
    TShiftState shift = KeysToShiftState(static_cast<std::uint32_t>(message.WParam));
    if (doubleClick) {
        shift.Include(ssDouble);
    }
    const TPoint point = MessagePoint(message);
    MouseDown(button, shift, point.X, point.Y);
}

void TControl::MouseUpMessage(TMouseButton button, TMessage& message)
{
    const auto life = FLife;
    const TPoint point = MessagePoint(message);
    if (button == mbLeft) {
        if (FControlStyle.Contains(csCaptureMouse)) {
            SetMouseCapture(false);
        }
        if (FControlState.Contains(csClicked)) {
            FControlState.Exclude(csClicked);
            if (ClientRect().Contains(point.X, point.Y)) {
                Click();
            }
        }
    }
    if (!life->Alive() || FControlStyle.Contains(csNoStdEvents)) {
        return;
    }
    MouseUp(button, KeysToShiftState(static_cast<std::uint32_t>(message.WParam)), point.X, point.Y);
}

void TControl::WMLButtonDown(TMessage& message)
{
    MouseDownMessage(mbLeft, false, message);
}

void TControl::WMLButtonDblClk(TMessage& message)
{
    MouseDownMessage(mbLeft, true, message);
}

void TControl::WMLButtonUp(TMessage& message)
{
    MouseUpMessage(mbLeft, message);
}

void TControl::WMRButtonDown(TMessage& message)
{
    MouseDownMessage(mbRight, false, message);
}

void TControl::WMRButtonDblClk(TMessage& message)
{
    MouseDownMessage(mbRight, true, message);
}

void TControl::WMRButtonUp(TMessage& message)
{
    // A windowed control's default handling asks for its context menu
    // first; a control without window gets it through its parent's.
    const auto life = FLife;
    DefaultHandler(message);
    if (life->Alive()) {
        MouseUpMessage(mbRight, message);
    }
}

void TControl::WMMButtonDown(TMessage& message)
{
    MouseDownMessage(mbMiddle, false, message);
}

void TControl::WMMButtonDblClk(TMessage& message)
{
    MouseDownMessage(mbMiddle, true, message);
}

void TControl::WMMButtonUp(TMessage& message)
{
    MouseUpMessage(mbMiddle, message);
}

void TControl::WMMouseMove(TMessage& message)
{
    if (FControlStyle.Contains(csNoStdEvents)) {
        return;
    }
    const TPoint point = MessagePoint(message);
    MouseMove(KeysToShiftState(static_cast<std::uint32_t>(message.WParam)), point.X, point.Y);
}

void TControl::WMMouseWheel(TMessage& message)
{
    // The form hands the wheel to its focused control, which passes it up.
    TCustomForm* form = GetParentForm(this);
    TControl* target = (form != nullptr && form->FocusedControl() != nullptr) ? form->FocusedControl() : this;
    message.Result = target->Perform(CM_MOUSEWHEEL, message.WParam, message.LParam);
}

void TControl::CMMouseWheel(TMessage& message)
{
    const auto life = FLife;
    const int delta = GET_WHEEL_DELTA_WPARAM(message.WParam);
    const TShiftState shift = KeysToShiftState(LOWORD(message.WParam));
    const TPoint point = MessagePoint(message);
    message.Result = 0;
    if (DoMouseWheel(shift, delta, point)) {
        message.Result = 1;
    } else if (life->Alive() && FParent != nullptr) {
        message.Result = FParent->Perform(CM_MOUSEWHEEL, message.WParam, message.LParam);
    }
}

void TControl::WMContextMenu(TMessage& message)
{
    if (message.Result != 0) {
        return;
    }
    TPoint point = MessagePoint(message);
    const bool fromKeyboard = point.X == -1 && point.Y == -1;
    TPoint client = fromKeyboard ? Point(-1, -1) : ScreenToClient(point);
    bool handled = false;
    const auto life = FLife;
    DoContextPopup(client, handled);
    if (handled || !life->Alive()) {
        message.Result = 1;
        return;
    }
    auto* menu = dynamic_cast<IPopupMenu*>(FPopupMenu);
    if (menu == nullptr || !menu->AutoPopup()) {
        // The default handling asks the parent window.
        DefaultHandler(message);
        return;
    }
    SendCancelMode(nullptr);
    if (!life->Alive()) {
        return;
    }
    if (fromKeyboard) {
        point = ClientToScreen(Point(0, 0));
    }
    menu->PopupFor(this, point);
    message.Result = 1;
}

void TControl::WMCancelMode(TMessage& message)
{
    if (MouseCapture()) {
        SetMouseCapture(false);
    }
    FControlState.Exclude(csClicked);
    DefaultHandler(message);
}

void TControl::WMGetText(TMessage& message)
{
    char* buffer = reinterpret_cast<char*>(message.LParam);
    if (buffer == nullptr || message.WParam == 0) {
        message.Result = 0;
        return;
    }
    const std::size_t copied = std::min<std::size_t>(FText.size(), message.WParam - 1);
    std::memcpy(buffer, FText.data(), copied);
    buffer[copied] = '\0';
    message.Result = static_cast<LRESULT>(copied);
}

void TControl::WMGetTextLength(TMessage& message)
{
    message.Result = static_cast<LRESULT>(FText.size());
}

void TControl::WMSetText(TMessage& message)
{
    const char* text = reinterpret_cast<const char*>(message.LParam);
    FText = text ? text : "";
    DefaultHandler(message);
    message.Result = 1;
}

void TControl::CMVisibleChanged(TMessage&)
{
    if (FParent != nullptr && FParent->HandleAllocated()) {
        const TRect rect = BoundsRect();
        InvalidateRect(FParent->FHandle, &rect, true);
    }
}

void TControl::CMEnabledChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMFontChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMColorChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMParentColorChanged(TMessage& message)
{
    if (!FParentColor || FParent == nullptr) {
        return;
    }
    const TColor color = message.WParam != 0 ? static_cast<TColor>(message.LParam) : FParent->Color();
    if (color != FColor) {
        SetColor(color);
    }
    FParentColor = true;
}

void TControl::CMParentFontChanged(TMessage& message)
{
    if (!FParentFont || FParent == nullptr) {
        return;
    }
    const TFont* source = message.WParam != 0 ? reinterpret_cast<const TFont*>(message.LParam) : FParent->Font();
    SetFont(source);
    FParentFont = true;
}

void TControl::CMParentShowHintChanged(TMessage&)
{
    if (FParentShowHint && FParent != nullptr && FParent->ShowHint() != FShowHint) {
        SetShowHint(FParent->ShowHint());
        FParentShowHint = true;
    }
}

void TControl::CMHitTest(TMessage& message)
{
    message.Result = HTCLIENT;
}

void TControl::NotifyParentMouse(UINT msg, TControl* child)
{
    if (FParent != nullptr) {
        FParent->Perform(msg, 0, reinterpret_cast<LPARAM>(child));
    }
}

void TControl::CMMouseEnter(TMessage& message)
{
    const auto life = FLife;
    NotifyParentMouse(CM_MOUSEENTER, message.LParam != 0 ? reinterpret_cast<TControl*>(message.LParam) : this);
    if (message.LParam == 0 && life->Alive()) {
        DoMouseEnter();
    }
}

void TControl::CMMouseLeave(TMessage& message)
{
    const auto life = FLife;
    NotifyParentMouse(CM_MOUSELEAVE, message.LParam != 0 ? reinterpret_cast<TControl*>(message.LParam) : this);
    if (message.LParam == 0 && life->Alive()) {
        DoMouseLeave();
    }
}

TCustomForm* GetParentForm(const TControl* control, bool topForm)
{
    TCustomForm* found = nullptr;
    for (const TControl* each = control; each != nullptr; each = each->Parent()) {
        if (auto* form = dynamic_cast<TCustomForm*>(const_cast<TControl*>(each))) {
            found = form;
            if (!topForm) {
                break;
            }
        }
    }
    return found;
}

TCustomForm* ValidParentForm(const TControl* control)
{
    TCustomForm* form = GetParentForm(control);
    if (form == nullptr) {
        throw EInvalidOperation("Control '" + (control ? control->Name() : std::string()) + "' has no parent window");
    }
    return form;
}

TShiftState KeysToShiftState(std::uint32_t keys)
{
    TShiftState shift;
    if (keys & MK_SHIFT) {
        shift.Include(ssShift);
    }
    if (keys & MK_CONTROL) {
        shift.Include(ssCtrl);
    }
    if (keys & MK_LBUTTON) {
        shift.Include(ssLeft);
    }
    if (keys & MK_RBUTTON) {
        shift.Include(ssRight);
    }
    if (keys & MK_MBUTTON) {
        shift.Include(ssMiddle);
    }
    if (GetKeyState(VK_MENU) < 0) {
        shift.Include(ssAlt);
    }
    return shift;
}

TShiftState KeyDataToShiftState(LPARAM keyData)
{
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0) {
        shift.Include(ssShift);
    }
    if (GetKeyState(VK_CONTROL) < 0) {
        shift.Include(ssCtrl);
    }
    if ((static_cast<std::uint32_t>(keyData) & KEYDATA_ALTDOWN) != 0) {
        shift.Include(ssAlt);
    }
    return shift;
}

TShiftState GetShiftState()
{
    TShiftState shift = KeysToShiftState(CurrentKeyFlags());
    return shift;
}

} // namespace plat
