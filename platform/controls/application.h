// The application object: it owns the user-interface thread's message
// queue and window manager on a host, runs the message loop (posted
// messages and input in arrival order, then painting, then timers), lets
// dialog keys reach forms before the focused control, tracks the control
// under the mouse (CM_MOUSEENTER, CM_MOUSELEAVE) and shows its hint after
// the pointer rests (CM_HINTSHOW), hands handler exceptions to OnException
// while the loop goes on, and keeps its title apart from every form caption.
#pragma once

#include "platform/controls/form.h"
#include "platform/controls/hint_window.h"
#include "platform/controls/host.h"
#include "platform/controls/system_metrics.h"
#include "platform/messages.h"
#include "platform/objects/component.h"

#include <exception>
#include <memory>
#include <string>

namespace plat {

class TWindowManager;
class TScreen;

using TExceptionEvent = TEvent<void(TObject* sender, const std::exception& error)>;
using TIdleEvent = TEvent<void(TObject* sender, bool& done)>;

class TApplication : public TComponent {
    PLAT_CLASS(TApplication, TComponent)
public:
    // Makes this the running application (Application, Screen) on the host.
    explicit TApplication(IHost& host);
    // Frees the forms and everything else it owns.
    ~TApplication() override;

    IHost& Host() { return FHost; }
    TMessageQueue& Queue() { return FQueue; }
    // The application's own window, whose caption is the title.
    HWND Handle() const { return FHandle; }

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value);

    TCustomForm* MainForm() const { return FMainForm; }
    // Creates a form owned by the application; the first one becomes the
    // main form. Its OnCreate runs.
    template <class T>
    T* CreateForm()
    {
        T* form = new T(this);
        if (FMainForm == nullptr) {
            FMainForm = form;
        }
        form->DoCreate();
        return form;
    }

    // Shows the main form and handles messages until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Handles the messages already waiting, then returns.
    void ProcessMessages();
    // Handles one message, or waits for one when none is there (idle).
    void HandleMessage();
    // Takes and handles the next message; false when there was none.
    bool ProcessMessage(TMsg& msg);

    // For a handler's exception (the current one): OnException, else a message box.
    void HandleException(TObject* sender);
    void ShowException(const std::exception& error);
    TExceptionEvent OnException;
    // Runs whenever the queue is empty, before the program waits for work; a
    // handler that clears done gets another turn before any wait.
    TIdleEvent OnIdle;

    bool Active() const;
    bool Minimized() const { return FMinimized; }
    void Minimize();
    void Restore();
    void BringToFront();

    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    int HintPause() const { return FHintPause; }
    void SetHintPause(int value) { FHintPause = value; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int value) { FHintHidePause = value; }
    int HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(int value) { FHintShortPause = value; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor value) { FHintColor = value; }
    THintWindowClass HintWindowClass;
    void CancelHint();
    // Shows the hint of the control under the pointer now.
    void ActivateHint(TPoint cursorPos);
    // The window showing a hint, nullptr while none shows.
    THintWindow* HintWindow() const;

    // The control under the pointer, as CM_MOUSEENTER last announced it.
    TControl* MouseControl() const { return FMouseControl; }
    // The deepest control (windowed or not) at a screen point.
    static TControl* FindControlAt(TPoint screenPoint, bool allowDisabled);

    int ModalLevel() const { return FModalLevel; }
    void ModalStarted() { ++FModalLevel; }
    void ModalFinished() { --FModalLevel; }

    // For controls and forms.
    void ControlDestroyed(TControl* control);
    void MainFormDestroyed();

private:
    bool IsKeyMsg(const TMsg& msg);
    void IsHintMsg(const TMsg& msg);
    void AfterMouseMessage(const TMsg& msg);
    void UpdateMouseControl(TControl* control);
    void HintMouseMove();
    void Idle();
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void HintTimerExpired();
    void HideTimerExpired();

    IHost& FHost;
    TMessageQueue FQueue;
    std::unique_ptr<TWindowManager> FWindows;
    std::unique_ptr<TScreen> FScreen;
    HWND FHandle = 0;
    std::string FTitle;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    bool FMinimized = false;
    int FModalLevel = 0;
    TApplication* FPrevious;

    bool FShowHint = true;
    int FHintPause = HintPauseMs;
    int FHintHidePause = HintHidePauseMs;
    int FHintShortPause = HintShortPauseMs;
    TColor FHintColor = clInfoBk;
    TControl* FMouseControl = nullptr;
    TControl* FHintControl = nullptr;   // the control whose hint waits or shows
    TRect FHintCursorRect;              // screen: where the shown hint stays valid
    bool FHintDone = false;             // shown and timed out: no new hint until the control changes
    std::unique_ptr<THintWindow> FHintWindow;
};

// The running application (nullptr when none runs).
extern TApplication* Application;

} // namespace plat
