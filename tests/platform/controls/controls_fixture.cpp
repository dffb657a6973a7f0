// The test bench of the control tests.
#include "tests/platform/controls/controls_fixture.h"

#include "platform/controls/control_messages.h"
#include "platform/controls/virtual_keys.h"
#include "platform/controls/window_input.h"

#include <map>

namespace plat::test {

namespace {

// Events of the spies, logged among the messages.
constexpr UINT EventEnter = 0xFFFF0001;
constexpr UINT EventExit = 0xFFFF0002;

} // namespace

TSpyControl::TSpyControl(TComponent* owner, TSeenLog& log, const std::string& name) : TCustomControl(owner), FLog(log)
{
    SetName(name);
    SetTabStop(true);
    FControlStyle.Include(csAcceptsControls);
}

TSpyControl::~TSpyControl()
{
    if (Destroyed != nullptr) {
        Destroyed->push_back(Name());
    }
    if (WhenFreed) {
        WhenFreed();
    }
}

void TSpyControl::WndProc(TMessage& message)
{
    FLog.push_back(TSeen{Name(), message.Msg, message.WParam, message.LParam});
    if (message.Msg == WM_GETDLGCODE && DialogCode != 0) {
        message.Result = DialogCode;
        return;
    }
    if (message.Msg == WM_MOUSEACTIVATE && MouseActivate != 0) {
        message.Result = MouseActivate;
        return;
    }
    if (message.Msg == WM_NCHITTEST && HitTest != 0) {
        message.Result = HitTest;
        return;
    }
    TCustomControl::WndProc(message);
}

int TSpyControl::Count(UINT msg) const
{
    int count = 0;
    for (const TSeen& seen : FLog) {
        count += seen.Who == Name() && seen.Msg == msg ? 1 : 0;
    }
    return count;
}

const TSeen* TSpyControl::Last(UINT msg) const
{
    for (auto at = FLog.rbegin(); at != FLog.rend(); ++at) {
        if (at->Who == Name() && at->Msg == msg) {
            return &*at;
        }
    }
    return nullptr;
}

void TSpyControl::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

void TSpyControl::DoEnter()
{
    FLog.push_back(TSeen{Name(), EventEnter, 0, 0});
    TCustomControl::DoEnter();
}

void TSpyControl::DoExit()
{
    FLog.push_back(TSeen{Name(), EventExit, 0, 0});
    TCustomControl::DoExit();
}

TTestButton::TTestButton(TComponent* owner) : TCustomControl(owner)
{
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void TTestButton::Click()
{
    ++Clicks;
    TCustomControl::Click();
}

namespace {

// The letter after "&" in a caption, lower case; 0 when there is none.
char AcceleratorOf(const std::string& caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == '&' && caption[i + 1] != '&') {
            const char c = caption[i + 1];
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    return 0;
}

} // namespace

void TTestButton::WndProc(TMessage& message)
{
    if (message.Msg == CM_DIALOGKEY) {
        const bool enter = message.WParam == VK_RETURN && Default;
        const bool escape = message.WParam == VK_ESCAPE && Cancel;
        if ((enter || escape) && CanFocus()) {
            Click();
            message.Result = 1;
            return;
        }
    } else if (message.Msg == CM_DIALOGCHAR) {
        const char accelerator = AcceleratorOf(Caption());
        const auto typed = static_cast<char16_t>(message.WParam);
        const char16_t lower = (typed >= 'A' && typed <= 'Z') ? static_cast<char16_t>(typed - 'A' + 'a') : typed;
        if (accelerator != 0 && lower == static_cast<char16_t>(accelerator) && CanFocus()) {
            Click();
            message.Result = 1;
            return;
        }
    }
    TCustomControl::WndProc(message);
}

void TTestButton::Paint()
{
    Canvas()->Brush()->SetColor(clBtnFace);
    Canvas()->FillRect(ClientRect());
}

TControlsTest::TControlsTest() = default;

TControlsTest::~TControlsTest() = default;

TForm* TControlsTest::NewForm(const std::string& name, int left, int top, int width, int height)
{
    auto* form = App.CreateForm<TForm>();
    form->SetName(name);
    form->SetBounds(left, top, width, height);
    form->Show();
    Pump();
    return form;
}

void TControlsTest::UserResizes(TCustomForm* form, int width, int height)
{
    TQueuedInput input;
    input.Kind = THostInputKind::Moved;
    input.X = form->Left();
    input.Y = form->Top();
    input.Value = width | (height << 16);
    PostHostInput(form->Handle(), input);
    Pump();
}

TSpyControl* TControlsTest::NewSpy(TWinControl* parent, const std::string& name, const TRect& bounds)
{
    return Place(new TSpyControl(parent, Log, name), parent, bounds);
}

int TControlsTest::Seen(const std::string& who, UINT msg) const
{
    int count = 0;
    for (const TSeen& seen : Log) {
        count += seen.Who == who && seen.Msg == msg ? 1 : 0;
    }
    return count;
}

std::vector<std::string> TControlsTest::Sequence(const std::vector<UINT>& interesting) const
{
    std::vector<std::string> sequence;
    for (const TSeen& seen : Log) {
        if (std::find(interesting.begin(), interesting.end(), seen.Msg) != interesting.end()) {
            sequence.push_back(seen.Who + ":" + MessageName(seen.Msg));
        }
    }
    return sequence;
}

std::string MessageName(UINT msg)
{
    static const std::map<UINT, std::string> names = {
        {WM_SETFOCUS, "WM_SETFOCUS"}, {WM_KILLFOCUS, "WM_KILLFOCUS"}, {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"}, {WM_CHAR, "WM_CHAR"}, {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"}, {WM_SYSKEYUP, "WM_SYSKEYUP"},
        {WM_SYSCHAR, "WM_SYSCHAR"}, {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"}, {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"}, {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"}, {WM_RBUTTONUP, "WM_RBUTTONUP"},
        {WM_CONTEXTMENU, "WM_CONTEXTMENU"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"}, {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"}, {WM_SETCURSOR, "WM_SETCURSOR"},
        {WM_PAINT, "WM_PAINT"}, {WM_SIZE, "WM_SIZE"}, {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"}, {WM_TIMER, "WM_TIMER"},
        {WM_VSCROLL, "WM_VSCROLL"}, {WM_HSCROLL, "WM_HSCROLL"}, {CM_MOUSEENTER, "CM_MOUSEENTER"},
        {CM_MOUSELEAVE, "CM_MOUSELEAVE"}, {CM_MOUSEWHEEL, "CM_MOUSEWHEEL"}, {CM_DIALOGCHAR, "CM_DIALOGCHAR"},
        {CM_DIALOGKEY, "CM_DIALOGKEY"}, {CM_VISIBLECHANGED, "CM_VISIBLECHANGED"},
        {CM_ENABLEDCHANGED, "CM_ENABLEDCHANGED"}, {CM_FONTCHANGED, "CM_FONTCHANGED"},
        {CM_PARENTFONTCHANGED, "CM_PARENTFONTCHANGED"}, {CM_TEXTCHANGED, "CM_TEXTCHANGED"},
        {CM_COLORCHANGED, "CM_COLORCHANGED"}, {CM_HINTSHOW, "CM_HINTSHOW"}, {CM_ENTER, "CM_ENTER"},
        {CM_EXIT, "CM_EXIT"}, {EventEnter, "OnEnter"}, {EventExit, "OnExit"},
        {WM_IME_STARTCOMPOSITION, "WM_IME_STARTCOMPOSITION"}, {WM_IME_COMPOSITION, "WM_IME_COMPOSITION"},
        {WM_IME_ENDCOMPOSITION, "WM_IME_ENDCOMPOSITION"}, {WM_IME_NOTIFY, "WM_IME_NOTIFY"},
        {WM_IME_CHAR, "WM_IME_CHAR"},
    };
    const auto at = names.find(msg);
    return at != names.end() ? at->second : "0x" + [msg] {
        char text[16];
        std::snprintf(text, sizeof text, "%X", msg);
        return std::string(text);
    }();
}

} // namespace plat::test
