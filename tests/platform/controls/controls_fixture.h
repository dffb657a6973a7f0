// The test bench of the control tests: a headless host, an application on
// it, scripted dialogs, and a spy control that records what reaches it.
#pragma once

#include "platform/controls/application.h"
#include "platform/controls/custom_control.h"
#include "platform/controls/form.h"
#include "platform/dialogs.h"
#include "platform/hosts/headless/headless_host.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace plat::test {

// One message as a spy saw it arrive.
struct TSeen {
    std::string Who;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
};

// A log shared by the spies of a test, in arrival order.
using TSeenLog = std::vector<TSeen>;

// A control that notes every message (before handling it) and every event
// in a shared log; answers for WM_GETDLGCODE and WM_MOUSEACTIVATE can be set.
class TSpyControl : public TCustomControl {
public:
    TSpyControl(TComponent* owner, TSeenLog& log, const std::string& name);
    ~TSpyControl() override;

    void WndProc(TMessage& message) override;
    int Count(UINT msg) const;
    const TSeen* Last(UINT msg) const;

    LRESULT DialogCode = 0;          // answer to WM_GETDLGCODE
    LRESULT MouseActivate = 0;       // non-zero: answer to WM_MOUSEACTIVATE
    LRESULT HitTest = 0;             // non-zero: answer to WM_NCHITTEST
    std::vector<std::string>* Destroyed = nullptr;  // notes the name when freed
    std::function<void()> WhenFreed;                // runs as it is freed

protected:
    void Paint() override;
    void DoEnter() override;
    void DoExit() override;

private:
    TSeenLog& FLog;
};

// A push button as far as dialog keys go: Default takes Enter, Cancel
// Escape, and Alt with its "&" letter clicks it.
class TTestButton : public TCustomControl {
public:
    explicit TTestButton(TComponent* owner);
    bool Default = false;
    bool Cancel = false;
    int Clicks = 0;
    void Click() override;

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;
};

// Gives control its bounds and parent; answers it.
template <typename TAny>
TAny* Place(TAny* control, TWinControl* parent, const TRect& bounds)
{
    control->SetBoundsRect(bounds);
    control->SetParent(parent);
    return control;
}

class TControlsTest : public ::testing::Test {
protected:
    TControlsTest();
    ~TControlsTest() override;

    // A shown form at the screen point with the client size.
    TForm* NewForm(const std::string& name, int left = 100, int top = 100, int width = 400, int height = 300);
    // A spy owned by and placed on parent.
    TSpyControl* NewSpy(TWinControl* parent, const std::string& name, const TRect& bounds);
    void Pump() { Host.PumpUntilIdle(); }
    // The user drags the form's frame to a new size (the host reports it).
    void UserResizes(TCustomForm* form, int width, int height);
    // How often the named spy saw msg since the log was cleared.
    int Seen(const std::string& who, UINT msg) const;
    // The messages of interest in the order they arrived: "who:message".
    std::vector<std::string> Sequence(const std::vector<UINT>& interesting) const;

    THeadlessHost Host;
    TApplication App{Host};
    TScriptedDialogs Dialogs;
    TScopedDialogs DialogScope{Dialogs};
    TSeenLog Log;
};

// The name the message tables know a message by, for readable failures.
std::string MessageName(UINT msg);

} // namespace plat::test
