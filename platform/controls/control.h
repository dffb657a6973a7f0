// TControl: the base of every control, windowed or not. It has a parent,
// bounds in the parent's client area, alignment, visibility, enabling, text,
// colour, font (shared with the parent while ParentFont), hint and cursor;
// its messages go through its class's message table (message_table.h); it
// turns mouse messages into mouse events, clicks and double clicks.
// Property setters ignore unchanged values and announce real changes with
// the class library's notifications (CM_VISIBLECHANGED, CM_ENABLEDCHANGED,
// CM_FONTCHANGED, CM_TEXTCHANGED, ...). Its layout settings (margins,
// anchors, constraints, AutoSize: control_layout.h) are kept by every
// parent's arrangement; its size stays within its constraints.
#pragma once

#include "platform/canvas/graphics_objects.h"
#include "platform/controls/control_layout.h"
#include "platform/controls/control_messages.h"
#include "platform/controls/control_types.h"
#include "platform/controls/message_table.h"
#include "platform/objects/component.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace plat {

class TWinControl;
class TCustomForm;

// Raised for an operation the control's state does not allow (focusing a
// hidden control, a parent that is no container).
class EInvalidOperation : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a pop-up menu offers its control; the menus implement it.
class IPopupMenu {
public:
    virtual ~IPopupMenu() = default;
    // False when the menu does not open by itself on a right click.
    virtual bool AutoPopup() const = 0;
    virtual void PopupFor(TComponent* popupComponent, TPoint screenPoint) = 0;
};

// Tells whether a control still exists: made by the control, it outlives
// it, so code that calls out to handlers can check before it goes on.
class TControlLife {
public:
    bool Alive() const { return FAlive; }

private:
    friend class TControl;
    bool FAlive = true;
};

class TControl : public TComponent {
    PLAT_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Message tables: the base class's own.
    static const TMessageTable& StaticMessages();
    virtual const TMessageTable& Messages() const { return StaticMessages(); }

    // Every message of the control passes here (mouse messages are turned
    // into events first); then Dispatch.
    virtual void WndProc(TMessage& message);
    // The handler of the control's class (or an ancestor's) runs, else
    // DefaultHandler.
    void Dispatch(TMessage& message);
    // The handling for messages no table lists.
    virtual void DefaultHandler(TMessage& message);
    // Sends a message to the control itself, now, and answers its result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    TWinControl* Parent() const { return FParent; }
    // Moves the control under a new parent (nullptr takes it off). Raises
    // EInvalidOperation for itself or one of its children as parent.
    virtual void SetParent(TWinControl* parent);
    // The life token; Alive turns false when the control is freed.
    std::shared_ptr<const TControlLife> Life() const { return FLife; }

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    // Moves and sizes the control; a change re-aligns it within its parent
    // and (for windowed controls) sends WM_SIZE and re-aligns its children.
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const;
    void SetBoundsRect(const TRect& rect);
    // The client area at (0, 0).
    virtual TRect ClientRect() const;
    int ClientWidth() const { return static_cast<int>(ClientRect().Width()); }
    int ClientHeight() const { return static_cast<int>(ClientRect().Height()); }
    void SetClientWidth(int value);
    void SetClientHeight(int value);
    // The screen point of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint point) const;
    TPoint ScreenToClient(TPoint point) const;
    // A point of the client area in the parent's client area.
    TPoint ClientToParent(TPoint point, TWinControl* parent = nullptr) const;

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);

    const TMargins& Margins() const { return FLayoutSettings.Margins; }
    void SetMargins(const TMargins& value);
    bool AlignWithMargins() const { return FLayoutSettings.AlignWithMargins; }
    void SetAlignWithMargins(bool value);
    // The margins in force: all 0 without AlignWithMargins.
    TMargins EffectiveMargins() const;
    TAnchors Anchors() const { return FLayoutSettings.Anchors; }
    // The control's place now becomes the one its anchors keep.
    void SetAnchors(TAnchors value);
    const TSizeConstraints& Constraints() const { return FLayoutSettings.Constraints; }
    // Applies the limits to the control's size at once.
    void SetConstraints(const TSizeConstraints& value);
    bool AutoSize() const { return FLayoutSettings.AutoSize; }
    // Switched on, the control sizes itself to its content (AdjustSize).
    virtual void SetAutoSize(bool value);

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);

    // The control's text (its caption).
    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);
    const std::string& Caption() const { return FText; }
    void SetCaption(const std::string& value) { SetText(value); }

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    TFont* Font() const { return FFont.get(); }
    // Copies the font in (a change clears ParentFont).
    void SetFont(const TFont* value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);

    // The help topic of the control; 0: none (its parent's counts).
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int value) { FHelpContext = value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    TComponent* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TComponent* value);

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState value) { FControlState = value; }

    // Mouse capture for this control (a control without window captures
    // through its parent's window).
    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    // Marks the control's area for painting (Repaint paints at once).
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront() { SetZOrder(true); }
    void SendToBack() { SetZOrder(false); }
    virtual void SetZOrder(bool topMost);

    // Where the control's pixels show (not hidden by itself or a parent).
    virtual bool Showing() const;
    bool IsVisibleAt(int x, int y) const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TContextPopupEvent OnContextPopup;

    bool HasParent() const override { return true; }   // a control takes its parent from the stream
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

    // Runs OnClick.
    virtual void Click();

protected:
    // Runs the handler the table (or its ancestors) lists, else DefaultHandler.
    void DispatchFrom(const TMessageTable& table, TMessage& message);
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // OnMouseWheel, then OnMouseWheelDown/Up; true when a handler took it.
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual bool DoMouseWheelDown(TShiftState shift, TPoint mousePos);
    virtual bool DoMouseWheelUp(TShiftState shift, TPoint mousePos);
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    virtual void DoContextPopup(TPoint mousePos, bool& handled);
    virtual void Resize();
    // While AutoSize: the size CanAutoSize gives, within the constraints.
    virtual void AdjustSize();
    // The size that fits the control's content; false when it has none to
    // fit (the base).
    virtual bool CanAutoSize(int& newWidth, int& newHeight);
    // The constraints changed; the base brings the size within them.
    virtual void ConstraintsChanged();
    // Every SetBounds starts here: the size within the constraints, and the
    // new place remembered for the anchors unless the arrangement itself is
    // placing the control.
    void BoundsRequested(int left, int top, int& width, int& height);
    // The control's own part of a visibility change (hiding its window).
    virtual void VisibleChanging() {}
    // Asks the parent to align its children again (the control moved,
    // appeared, or changed its alignment).
    void RequestAlign();
    virtual void FontChanged(TObject* sender);
    // Ends any mode (capture, tracking) of the form's focused control before
    // a click elsewhere.
    void SendCancelMode(TControl* sender);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // Message handlers of every control.
    void WMLButtonDown(TMessage& message);
    void WMLButtonDblClk(TMessage& message);
    void WMLButtonUp(TMessage& message);
    void WMRButtonDown(TMessage& message);
    void WMRButtonDblClk(TMessage& message);
    void WMRButtonUp(TMessage& message);
    void WMMButtonDown(TMessage& message);
    void WMMButtonDblClk(TMessage& message);
    void WMMButtonUp(TMessage& message);
    void WMMouseMove(TMessage& message);
    void WMMouseWheel(TMessage& message);
    void WMContextMenu(TMessage& message);
    void WMCancelMode(TMessage& message);
    void CMVisibleChanged(TMessage& message);
    void CMEnabledChanged(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMColorChanged(TMessage& message);
    void CMParentColorChanged(TMessage& message);
    void CMParentFontChanged(TMessage& message);
    void CMParentShowHintChanged(TMessage& message);
    void CMHitTest(TMessage& message);
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    void CMMouseWheel(TMessage& message);
    void WMGetText(TMessage& message);
    void WMGetTextLength(TMessage& message);
    void WMSetText(TMessage& message);

    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    TAlign FAlign = alNone;
    bool FVisible = true;
    bool FEnabled = true;
    std::string FText;
    TColor FColor = clWindow;
    bool FParentColor = false;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    std::string FHint;
    int FHelpContext = 0;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    TComponent* FPopupMenu = nullptr;
    TControlStyle FControlStyle;
    TControlState FControlState;

private:
    friend class TWinControl;
    friend class TLayoutPlacement;
    void MouseDownMessage(TMouseButton button, bool doubleClick, TMessage& message);
    void MouseUpMessage(TMouseButton button, TMessage& message);
    void NotifyParentMouse(UINT msg, TControl* child);
    // Moves it to the top (or bottom) of its parent's children.
    void MoveAmongSiblings(bool topMost);

    std::shared_ptr<TControlLife> FLife;
    TLayoutSettings FLayoutSettings;
    TAnchorPlace FAnchorPlace;
    bool FArranged = false;     // the parent's arrangement is placing it
    bool FAutoSizing = false;   // AdjustSize is sizing it
};

// The form or frame at the top of the control's parents; nullptr when there
// is none. ValidParentForm raises EInvalidOperation instead.
TCustomForm* GetParentForm(const TControl* control, bool topForm = true);
TCustomForm* ValidParentForm(const TControl* control);

} // namespace plat
