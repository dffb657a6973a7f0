// Hints: the window that shows a control's hint text in a small framed
// popup, and what the application asks a control with CM_HINTSHOW before it
// shows one (the control may change the text, the place and the area the
// hint stays valid for).
#pragma once

#include "platform/controls/custom_control.h"

#include <functional>
#include <string>

namespace plat {

class THintWindow;

using THintWindowClass = std::function<THintWindow*(TComponent* owner)>;

struct THintInfo {
    TControl* HintControl = nullptr;
    THintWindowClass HintWindowClass;  // empty: the application's class
    TPoint HintPos;                    // screen point of the hint's top-left corner
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;                  // client coordinates of HintControl: where the hint stays valid
    TPoint CursorPos;                  // client coordinates
    int ReshowTimeout = 0;
    int HideTimeout = 0;               // ms; 0 keeps the hint until the pointer leaves
    std::string HintStr;
    void* HintData = nullptr;
};

class THintWindow : public TCustomControl {
    PLAT_CLASS(THintWindow, TCustomControl)
public:
    explicit THintWindow(TComponent* owner);

    // The rectangle (at 0, 0) the text needs, wrapped at maxWidth.
    virtual TRect CalcHintRect(int maxWidth, const std::string& hint, void* data);
    // Shows the hint over rect (screen coordinates) without activating it.
    virtual void ActivateHint(const TRect& rect, const std::string& hint);
    virtual void ActivateHintData(const TRect& rect, const std::string& hint, void* data);
    // Whether a message of the queue closes the hint now shown: a press
    // or a key does.
    virtual bool IsHintMsg(const TMsg& msg);
    // A press of a key or mouse button, or a wheel turn.
    static bool IsButtonOrKeyMessage(UINT message);
    // Hides the window.
    void ReleaseHandle();
    bool Shown() const;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
};

// The part of a hint before "|" (the short hint).
std::string GetShortHint(const std::string& hint);

} // namespace plat
