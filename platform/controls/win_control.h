// TWinControl: a control with a window of its own (created on demand with
// CreateWindowEx, its procedure the control's WndProc). It holds child
// controls, arranges them (alignment, margins, anchors, sizing to them),
// routes mouse messages to its children without window, takes the keyboard
// focus, moves it with Tab in TabOrder, turns keys into key events and
// dialog keys (Enter, Escape, Tab, arrows, Alt with a letter), and paints
// its children without window after itself.
#pragma once

#include "platform/canvas/device_context.h"
#include "platform/canvas/region.h"
#include "platform/controls/control.h"
#include "platform/controls/window.h"

#include <vector>

namespace plat {

// How the input method serves a control.
enum TImeMode {
    imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese, imSHanguel,
    imHanguel
};

class TWinControl : public TControl {
    PLAT_CLASS(TWinControl, TControl)
    PLAT_MESSAGES(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    // Frees the child controls first, then the window.
    ~TWinControl() override;

    // The window, made (with its parents') when it does not exist yet.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != 0; }
    void HandleNeeded() { Handle(); }
    void DestroyHandle();
    // Makes the window anew (after a change of its styles).
    void RecreateWnd();

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    // Children in z-order, the lowest first.
    TControl* Controls(int index) const;
    bool ContainsControl(const TControl* control) const;
    // The topmost visible child (enabled unless allowDisabled; windowed ones
    // only with allowWinControls) that takes the client point.
    TControl* ControlAtPos(TPoint point, bool allowDisabled, bool allowWinControls = false) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // Sends the message to every child until one answers non-zero.
    void Broadcast(TMessage& message);
    // Broadcasts msg with wParam and lParam 0.
    void NotifyControls(UINT msg);

    // Alignment of the children: held while DisableAlign is open.
    void DisableAlign();
    void EnableAlign();
    void Realign();
    bool AlignDisabled() const { return FAlignLevel > 0; }

    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    TImeMode ImeMode() const { return FImeMode; }
    void SetImeMode(TImeMode value) { FImeMode = value; }
    // The children that take part in Tab, in TabOrder, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // The next (or previous) control after current in tab order; with
    // checkTabStop only tab stops, with checkParent only direct children.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    void SelectFirst();

    virtual bool CanFocus() const;
    bool Focused() const;
    // Makes the control the focus; raises EInvalidOperation when it is
    // hidden, disabled or on no form that can show it.
    virtual void SetFocus();

    bool Showing() const override { return FShowing; }
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    void SetZOrder(bool topMost) override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // Streams the children that root owns, in z-order.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;

    TBrush* Brush() const { return FBrush.get(); }

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    // Runs the key events; KeyPreview forms see them first. True when a
    // handler took the key (set it to 0).
    bool DoKeyDown(TMessage& message);
    bool DoKeyPress(TMessage& message);
    bool DoKeyUp(TMessage& message);

    // Paints the control into dc (not its window): itself and its children.
    void PaintTo(HDC dc, int x, int y);

    // The control whose window this is; nullptr for others.
    static TWinControl* FindControl(HWND hwnd);

protected:
    virtual void CreateParams(TCreateParams& params);
    // The caption and bounds, double clicks, no styles and no parent: what
    // a top-level window starts from.
    void TopLevelParams(TCreateParams& params) const;
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void DestroyWnd();
    virtual void CreateHandle();
    // Lays out the children inside rect (the client area): by alignment
    // with margins, then by anchors (ArrangeControls).
    virtual void AlignControls(TControl* control, TRect& rect);
    // The area children are aligned in.
    virtual void AdjustClientRect(TRect& rect);
    // The size that holds the visible children where they are (anchored
    // ones) or stacked along their edges (aligned ones).
    bool CanAutoSize(int& newWidth, int& newHeight) override;
    // A top-level window tells the host its new size limits.
    void ConstraintsChanged() override;
    // Paints the control itself; the base leaves it to the default handling.
    virtual void PaintWindow(HDC dc);
    // Paints the control and then its children without window.
    void PaintHandler(TMessage& message);
    void PaintControls(const TRegion& update);
    virtual void KeyDown(std::uint16_t& key, TShiftState shift);
    virtual void KeyPress(char16_t& key);
    virtual void KeyUp(std::uint16_t& key, TShiftState shift);
    virtual void DoEnter();
    virtual void DoExit();
    // Makes the window (and its children's) when the control shows, and
    // shows or hides it as Visible says.
    void UpdateShowing();
    void UpdateControlState();
    // Reads the bounds back from the window.
    void UpdateBounds();
    // Takes the focus away from the control (and its children) on the form.
    void RemoveFocus(bool removing);

    void WMPaint(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void WMSize(TMessage& message);
    void WMMove(TMessage& message);
    void WMWindowPosChanged(TMessage& message);
    void WMGetMinMaxInfo(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);
    void WMSetCursor(TMessage& message);
    void WMKeyDown(TMessage& message);
    void WMSysKeyDown(TMessage& message);
    void WMKeyUp(TMessage& message);
    void WMSysKeyUp(TMessage& message);
    void WMChar(TMessage& message);
    void WMNCDestroy(TMessage& message);
    void WMContextMenu(TMessage& message);
    void CNKeyDown(TMessage& message);
    void CNKeyUp(TMessage& message);
    void CNChar(TMessage& message);
    void CNSysKeyDown(TMessage& message);
    void CNSysChar(TMessage& message);
    void CMChildKey(TMessage& message);
    void CMDialogKey(TMessage& message);
    void CMDialogChar(TMessage& message);
    void CMEnter(TMessage& message);
    void CMExit(TMessage& message);
    void CMShowingChanged(TMessage& message);
    void CMVisibleChanged(TMessage& message);
    void CMEnabledChanged(TMessage& message);
    void CMColorChanged(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMShowHintChanged(TMessage& message);
    void CMTextChanged(TMessage& message);
    void CMInvalidate(TMessage& message);

    HWND FHandle = 0;
    bool FShowing = false;
    bool FTabStop = false;
    TImeMode FImeMode = imDontCare;
    std::unique_ptr<TBrush> FBrush;

private:
    friend class TControl;
    friend class TCustomForm;
    bool IsControlMouseMsg(TMessage& message);
    void Insert(TControl* control);
    void Remove(TControl* control);
    void AlignControl(TControl* control);
    LRESULT MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void PaintChildInto(TControl& child, HDC dc, int x, int y);

    std::vector<TControl*> FControls;      // all children, z-order (lowest first)
    std::vector<TWinControl*> FTabList;    // windowed children in tab order
    int FAlignLevel = 0;
};

// The control that holds the mouse capture (with or without a window of
// its own); nullptr when none does.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);

} // namespace plat
