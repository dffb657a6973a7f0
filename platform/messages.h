// Window handles and message queues: integer handles bound to a handler and to
// the queue of the thread that runs them; posted messages, sent messages,
// calls queued from workers, registered message names and broadcasts.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace plat {

using HWND = std::intptr_t;
using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct TMsg {
    HWND hwnd = 0;       // 0 for messages to the queue itself (WM_QUIT)
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;
// Registered message numbers, handed out by RegisterWindowMessage.
constexpr UINT FIRST_REGISTERED_MESSAGE = 0xC000;
constexpr UINT LAST_REGISTERED_MESSAGE = 0xFFFF;

// Posting to this handle reaches every top-level window (see PostMessage).
constexpr HWND HWND_BROADCAST = 0xFFFF;

using TWindowHandler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

class TTimerList;
class TClockWatch;

// Messages a queue makes up itself when nothing is posted (the window
// manager's WM_PAINT). Asked on the owner thread, after the posted messages
// and before the timers; it must not post to the queue while asked.
class IMessageSource {
public:
    virtual ~IMessageSource() = default;
    virtual bool HasMessage() const = 0;
    virtual bool TakeMessage(TMsg& msg) = 0;
};

// The message queue of one user-interface thread: the thread that creates it
// owns it and is the only one to take messages out of it; any thread may post.
// Order of delivery: sent messages first, then posted messages and queued calls
// in the order they were posted, then the messages of the message source,
// then due timers.
class TMessageQueue {
public:
    TMessageQueue();
    // Destroys the windows still bound to the queue; pending sends answer 0.
    ~TMessageQueue();
    TMessageQueue(const TMessageQueue&) = delete;
    TMessageQueue& operator=(const TMessageQueue&) = delete;

    // Waits for the next posted message or due timer; false when it is WM_QUIT
    // (msg then holds it, wParam = the exit code). Sent messages and queued
    // calls met on the way run inside, on this thread.
    bool GetMessage(TMsg& msg);
    // Takes the next message if there is one, without waiting; WM_QUIT
    // included. Runs sent messages and queued calls as GetMessage does.
    bool PeekMessage(TMsg& msg);
    // Waits until a message or a due timer is there (true) or timeoutMs on the
    // current clock have passed (false); -1 waits without limit.
    bool WaitMessage(int timeoutMs);
    // Hands a message to its window's handler; 0 when the window is gone.
    static LRESULT DispatchMessage(const TMsg& msg);
    // Dispatches everything already pending, due timers included; false when
    // it met WM_QUIT (which it leaves out of the queue).
    bool ProcessMessages();
    // GetMessage/DispatchMessage until WM_QUIT; answers its exit code.
    int RunMessageLoop();
    void PostQuitMessage(int exitCode);

    // Adds the source of made-up messages (one at a time); nullptr removes it.
    void SetMessageSource(IMessageSource* source);
    // True when PeekMessage would find something (a due timer included); on
    // the owner thread.
    bool HasMessage() const;
    // Due time of the earliest timer on the current clock; none without timers.
    std::optional<std::int64_t> NextTimerDueMs() const;

    // Readable whenever a message waits (and, until the next look, after a
    // timer was set or a test clock moved); for poll() loops that take
    // messages with PeekMessage. Due timers do not make it readable.
    int WakeFd() const;
    std::thread::id OwnerThread() const;

    struct TState; // shared with the windows bound to the queue; defined in messages.cpp

private:
    friend HWND CreateWindowHandle(TMessageQueue&, TWindowHandler, bool, std::string);

    std::shared_ptr<TState> FState;
    std::unique_ptr<TClockWatch> FClockWatch; // wakes waits when a test clock moves
};

// A new window handle bound to queue and handler. Top-level windows receive
// broadcasts; the caption is what FindTopLevelWindow searches.
HWND CreateWindowHandle(TMessageQueue& queue, TWindowHandler handler, bool topLevel, std::string caption = "");
// Unbinds the handle, stops its timers and drops its pending messages and calls.
void DestroyWindowHandle(HWND hwnd);
bool IsWindow(HWND hwnd);
void SetWindowCaption(HWND hwnd, std::string caption);
// The first top-level window of this process with exactly this caption; 0 if none.
HWND FindTopLevelWindow(const std::string& caption);

// Queues the message behind those already posted to the window's queue; safe
// from any thread. HWND_BROADCAST posts to every top-level window of the
// process and, for a registered message, to the other suite programs through
// the broadcast relay. False for an unknown window.
bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Runs the handler and answers its result. On the window's own thread the
// handler is called at once; from another thread the message is queued ahead
// of posted ones and the caller waits until the owner thread has handled it
// (0 when the window or its queue goes away first). A handler's exception
// reaches the sender.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Runs call on the window's thread, in order with the messages posted to the
// window (a worker's text lines then arrive before its final state). Dropped
// when the window is destroyed first. False for an unknown window.
bool QueueCall(HWND hwnd, std::function<void()> call);

// The same number (from 0xC000 up) for the same name, compared without ASCII
// case, for the life of the process; 0 for an empty name or a full table.
UINT RegisterWindowMessage(const std::string& name);
// The registered name of a message number; empty when it is not registered.
std::string RegisteredMessageName(UINT message);
// The number registered for name; 0 when it was never registered here.
UINT FindRegisteredMessage(const std::string& name);

// Carries registered broadcasts beyond this process (the suite link).
class IBroadcastRelay {
public:
    virtual ~IBroadcastRelay() = default;
    virtual void Relay(const std::string& name, WPARAM wParam, LPARAM lParam) = 0;
};
// nullptr removes the relay; once it returns, the old relay is no longer called.
void SetBroadcastRelay(IBroadcastRelay* relay);
// Posts to the top-level windows of this process only (how relayed messages arrive).
void PostToTopLevelWindows(UINT message, WPARAM wParam, LPARAM lParam);

// Runs edit on the timer list of the window's queue under the queue's lock and
// wakes the queue to look at its timers again; false for an unknown window.
bool EditWindowTimers(HWND hwnd, const std::function<void(TTimerList&)>& edit);

} // namespace plat
