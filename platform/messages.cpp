// Window handles and message queues: integer handles bound to a handler and to
// the queue of the thread that runs them; posted messages, sent messages,
// calls queued from workers, registered message names and broadcasts.
#include "platform/messages.h"

#include "platform/ascii_case.h"
#include "platform/clock.h"
#include "platform/timers.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <deque>
#include <future>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace plat {

namespace {

using TCall = std::function<void()>;

// One posted item: a message, or a call to run for Msg.hwnd when Call is set.
struct TEntry {
    TMsg Msg;
    TCall Call;
};

} // namespace

struct TMessageQueue::TState {
    std::mutex Lock;          // guards everything below but the fixed fields
    std::deque<TCall> Sent;   // sent messages from other threads, run before posted ones
    std::deque<TEntry> Posted;
    TTimerList Timers;
    bool Closed = false;      // the queue object is gone: refuse new items
    IMessageSource* Source = nullptr; // owner thread only
    bool Signalled = false;   // WakeFd holds a count (readable)
    const int WakeFd;         // eventfd, readable while Signalled
    const std::thread::id Owner = std::this_thread::get_id();

    TState() : WakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
    {
        if (WakeFd < 0) {
            throw std::system_error(errno, std::system_category(), "cannot create the message queue's wake-up fd");
        }
    }
    ~TState() { close(WakeFd); }
    TState(const TState&) = delete;
    TState& operator=(const TState&) = delete;

    bool HasWorkLocked() const { return !Sent.empty() || !Posted.empty(); }

    void SignalLocked()
    {
        if (!Signalled) {
            const std::uint64_t one = 1;
            [[maybe_unused]] const auto written = write(WakeFd, &one, sizeof one);
            Signalled = true;
        }
    }

    // Keeps the fd readable exactly while work waits (plus clock wake-ups until the next look).
    void ClearSignalIfIdleLocked()
    {
        if (Signalled && !HasWorkLocked()) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto got = read(WakeFd, &count, sizeof count);
            Signalled = false;
        }
    }

    void Wake()
    {
        std::lock_guard lock(Lock);
        SignalLocked();
    }

    bool Post(TEntry entry)
    {
        std::lock_guard lock(Lock);
        if (Closed) {
            return false;
        }
        Posted.push_back(std::move(entry));
        SignalLocked();
        return true;
    }

    bool Send(TCall call)
    {
        std::lock_guard lock(Lock);
        if (Closed) {
            return false;
        }
        Sent.push_back(std::move(call));
        SignalLocked();
        return true;
    }
};

namespace {

using TQueueState = TMessageQueue::TState;

struct TWindow {
    HWND Handle;
    std::shared_ptr<TQueueState> Queue;
    TWindowHandler Handler;
    bool TopLevel;
    std::string Caption; // guarded by the registry lock
};

struct TWindowRegistry {
    std::mutex Lock;
    std::map<HWND, std::shared_ptr<TWindow>> Windows; // in order of creation
    HWND NextHandle = 0x10000; // handles are never reused; all lie above HWND_BROADCAST
};

TWindowRegistry& Registry()
{
    static TWindowRegistry registry;
    return registry;
}

std::shared_ptr<TWindow> FindWindow(HWND hwnd)
{
    auto& registry = Registry();
    std::lock_guard lock(registry.Lock);
    const auto at = registry.Windows.find(hwnd);
    return at == registry.Windows.end() ? nullptr : at->second;
}

std::vector<std::shared_ptr<TWindow>> TopLevelWindows()
{
    auto& registry = Registry();
    std::lock_guard lock(registry.Lock);
    std::vector<std::shared_ptr<TWindow>> windows;
    for (const auto& [handle, window] : registry.Windows) {
        if (window->TopLevel) {
            windows.push_back(window);
        }
    }
    return windows;
}

struct TMessageNames {
    std::mutex Lock;
    std::vector<std::string> Names;            // index = message - FIRST_REGISTERED_MESSAGE
    std::map<std::string, UINT> ByFoldedName;  // ASCII lower case name -> message
};

TMessageNames& MessageNames()
{
    static TMessageNames names;
    return names;
}

struct TRelaySlot {
    std::mutex Lock; // held while the relay runs, so removal waits for it
    IBroadcastRelay* Relay = nullptr;
};

TRelaySlot& RelaySlot()
{
    static TRelaySlot slot;
    return slot;
}

void RelayBroadcast(UINT message, WPARAM wParam, LPARAM lParam)
{
    const std::string name = RegisteredMessageName(message);
    if (name.empty()) {
        return;
    }
    auto& slot = RelaySlot();
    std::lock_guard lock(slot.Lock);
    if (slot.Relay) {
        slot.Relay->Relay(name, wParam, lParam);
    }
}

// Runs sent messages and queued calls that come first; true with msg set when
// a posted message or a due timer is next, false when nothing is left.
bool TakeMessage(TQueueState& state, TMsg& msg)
{
    for (;;) {
        std::unique_lock lock(state.Lock);
        if (!state.Sent.empty()) {
            TCall call = std::move(state.Sent.front());
            state.Sent.pop_front();
            state.ClearSignalIfIdleLocked();
            lock.unlock();
            call();
            continue;
        }
        if (!state.Posted.empty()) {
            TEntry entry = std::move(state.Posted.front());
            state.Posted.pop_front();
            state.ClearSignalIfIdleLocked();
            if (entry.Call) {
                lock.unlock();
                entry.Call();
                continue;
            }
            msg = entry.Msg;
            return true;
        }
        if (IMessageSource* source = state.Source) {
            lock.unlock();
            if (source->TakeMessage(msg)) {
                return true;
            }
            lock.lock();
        }
        // Nothing waits: this look ends a wake-up left by a new timer or a
        // moved clock.
        state.ClearSignalIfIdleLocked();
        return state.Timers.TakeDue(Clock().NowMs(), msg);
    }
}

// Blocks until work waits or a timer is due (true) or the clock reaches
// deadlineMs (false).
bool WaitForWork(TQueueState& state, std::optional<std::int64_t> deadlineMs)
{
    for (;;) {
        int waitMs = -1;
        {
            std::lock_guard lock(state.Lock);
            if (state.HasWorkLocked() || (state.Source && state.Source->HasMessage())) {
                return true;
            }
            IClock& clock = Clock();
            const std::int64_t now = clock.NowMs();
            const auto nextTimer = state.Timers.NextDueMs();
            if (nextTimer && *nextTimer <= now) {
                return true;
            }
            if (deadlineMs && *deadlineMs <= now) {
                return false;
            }
            std::optional<std::int64_t> until = nextTimer;
            if (deadlineMs && (!until || *deadlineMs < *until)) {
                until = deadlineMs;
            }
            if (until) {
                waitMs = clock.RealWaitMs(*until - now);
            }
            state.ClearSignalIfIdleLocked();
        }
        pollfd wake{state.WakeFd, POLLIN, 0};
        poll(&wake, 1, waitMs); // EINTR and time-outs alike lead to another look
    }
}

} // namespace

TMessageQueue::TMessageQueue()
    : FState(std::make_shared<TState>()),
      FClockWatch(std::make_unique<TClockWatch>([state = FState.get()] { state->Wake(); }))
{
}

TMessageQueue::~TMessageQueue()
{
    FClockWatch.reset();
    std::vector<std::shared_ptr<TWindow>> windows;
    {
        auto& registry = Registry();
        std::lock_guard lock(registry.Lock);
        std::erase_if(registry.Windows, [&](const auto& item) {
            if (item.second->Queue != FState) {
                return false;
            }
            windows.push_back(item.second);
            return true;
        });
    }
    std::deque<TCall> sent;
    std::deque<TEntry> posted;
    {
        std::lock_guard lock(FState->Lock);
        FState->Closed = true;
        sent.swap(FState->Sent);
        posted.swap(FState->Posted);
        FState->Timers = TTimerList();
    }
    // Dropping the sent calls outside the lock breaks their promises: the senders get 0.
}

bool TMessageQueue::GetMessage(TMsg& msg)
{
    assert(FState->Owner == std::this_thread::get_id());
    while (!TakeMessage(*FState, msg)) {
        WaitForWork(*FState, std::nullopt);
    }
    return msg.message != WM_QUIT;
}

bool TMessageQueue::PeekMessage(TMsg& msg)
{
    assert(FState->Owner == std::this_thread::get_id());
    return TakeMessage(*FState, msg);
}

bool TMessageQueue::WaitMessage(int timeoutMs)
{
    assert(FState->Owner == std::this_thread::get_id());
    std::optional<std::int64_t> deadline;
    if (timeoutMs >= 0) {
        deadline = Clock().NowMs() + timeoutMs;
    }
    return WaitForWork(*FState, deadline);
}

LRESULT TMessageQueue::DispatchMessage(const TMsg& msg)
{
    const auto window = FindWindow(msg.hwnd);
    return window ? window->Handler(msg.message, msg.wParam, msg.lParam) : 0;
}

bool TMessageQueue::ProcessMessages()
{
    TMsg msg;
    while (PeekMessage(msg)) {
        if (msg.message == WM_QUIT) {
            return false;
        }
        DispatchMessage(msg);
    }
    return true;
}

int TMessageQueue::RunMessageLoop()
{
    TMsg msg;
    while (GetMessage(msg)) {
        DispatchMessage(msg);
    }
    return static_cast<int>(msg.wParam);
}

void TMessageQueue::PostQuitMessage(int exitCode)
{
    FState->Post(TEntry{TMsg{0, WM_QUIT, static_cast<WPARAM>(exitCode), 0}, nullptr});
}

void TMessageQueue::SetMessageSource(IMessageSource* source)
{
    assert(FState->Owner == std::this_thread::get_id());
    std::lock_guard lock(FState->Lock);
    FState->Source = source;
}

bool TMessageQueue::HasMessage() const
{
    std::lock_guard lock(FState->Lock);
    if (FState->HasWorkLocked() || (FState->Source && FState->Source->HasMessage())) {
        return true;
    }
    const auto nextTimer = FState->Timers.NextDueMs();
    return nextTimer && *nextTimer <= Clock().NowMs();
}

std::optional<std::int64_t> TMessageQueue::NextTimerDueMs() const
{
    std::lock_guard lock(FState->Lock);
    return FState->Timers.NextDueMs();
}

int TMessageQueue::WakeFd() const
{
    return FState->WakeFd;
}

std::thread::id TMessageQueue::OwnerThread() const
{
    return FState->Owner;
}

HWND CreateWindowHandle(TMessageQueue& queue, TWindowHandler handler, bool topLevel, std::string caption)
{
    auto& registry = Registry();
    std::lock_guard lock(registry.Lock);
    const HWND handle = registry.NextHandle++;
    registry.Windows.emplace(handle, std::make_shared<TWindow>(TWindow{handle, queue.FState, std::move(handler),
                                                                       topLevel, std::move(caption)}));
    return handle;
}

void DestroyWindowHandle(HWND hwnd)
{
    std::shared_ptr<TWindow> window;
    {
        auto& registry = Registry();
        std::lock_guard lock(registry.Lock);
        const auto at = registry.Windows.find(hwnd);
        if (at == registry.Windows.end()) {
            return;
        }
        window = at->second;
        registry.Windows.erase(at);
    }
    std::deque<TEntry> dropped; // freed outside the lock: calls may own anything
    {
        TQueueState& state = *window->Queue;
        std::lock_guard lock(state.Lock);
        auto keep = std::stable_partition(state.Posted.begin(), state.Posted.end(),
                                          [&](const TEntry& entry) { return entry.Msg.hwnd != hwnd; });
        std::move(keep, state.Posted.end(), std::back_inserter(dropped));
        state.Posted.erase(keep, state.Posted.end());
        state.Timers.KillWindow(hwnd);
    }
}

bool IsWindow(HWND hwnd)
{
    return FindWindow(hwnd) != nullptr;
}

void SetWindowCaption(HWND hwnd, std::string caption)
{
    auto& registry = Registry();
    std::lock_guard lock(registry.Lock);
    if (const auto at = registry.Windows.find(hwnd); at != registry.Windows.end()) {
        at->second->Caption = std::move(caption);
    }
}

HWND FindTopLevelWindow(const std::string& caption)
{
    auto& registry = Registry();
    std::lock_guard lock(registry.Lock);
    for (const auto& [handle, window] : registry.Windows) {
        if (window->TopLevel && window->Caption == caption) {
            return handle;
        }
    }
    return 0;
}

bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd == HWND_BROADCAST) {
        PostToTopLevelWindows(message, wParam, lParam);
        RelayBroadcast(message, wParam, lParam);
        return true;
    }
    const auto window = FindWindow(hwnd);
    return window && window->Queue->Post(TEntry{TMsg{hwnd, message, wParam, lParam}, nullptr});
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto window = FindWindow(hwnd);
    if (!window) {
        return 0;
    }
    if (window->Queue->Owner == std::this_thread::get_id()) {
        return window->Handler(message, wParam, lParam);
    }
    auto reply = std::make_shared<std::promise<LRESULT>>();
    auto result = reply->get_future();
    // The call holds the only reference to the promise, so dropping it unrun breaks the promise.
    const bool queued = window->Queue->Send([window, message, wParam, lParam, reply = std::move(reply)] {
        try {
            reply->set_value(IsWindow(window->Handle) ? window->Handler(message, wParam, lParam) : 0);
        } catch (...) {
            reply->set_exception(std::current_exception());
        }
    });
    if (!queued) {
        return 0;
    }
    try {
        return result.get();
    } catch (const std::future_error&) {
        return 0; // the queue went away before it handled the message
    }
}

bool QueueCall(HWND hwnd, std::function<void()> call)
{
    const auto window = FindWindow(hwnd);
    return window && window->Queue->Post(TEntry{TMsg{hwnd, WM_NULL, 0, 0}, std::move(call)});
}

UINT RegisterWindowMessage(const std::string& name)
{
    if (name.empty()) {
        return 0;
    }
    auto& names = MessageNames();
    std::lock_guard lock(names.Lock);
    const std::string folded = FoldCase(name);
    if (const auto at = names.ByFoldedName.find(folded); at != names.ByFoldedName.end()) {
        return at->second;
    }
    if (names.Names.size() > LAST_REGISTERED_MESSAGE - FIRST_REGISTERED_MESSAGE) {
        return 0;
    }
    const UINT message = FIRST_REGISTERED_MESSAGE + static_cast<UINT>(names.Names.size());
    names.Names.push_back(name);
    names.ByFoldedName.emplace(folded, message);
    return message;
}

std::string RegisteredMessageName(UINT message)
{
    auto& names = MessageNames();
    std::lock_guard lock(names.Lock);
    if (message < FIRST_REGISTERED_MESSAGE || message - FIRST_REGISTERED_MESSAGE >= names.Names.size()) {
        return {};
    }
    return names.Names[message - FIRST_REGISTERED_MESSAGE];
}

UINT FindRegisteredMessage(const std::string& name)
{
    auto& names = MessageNames();
    std::lock_guard lock(names.Lock);
    const auto at = names.ByFoldedName.find(FoldCase(name));
    return at == names.ByFoldedName.end() ? 0 : at->second;
}

void SetBroadcastRelay(IBroadcastRelay* relay)
{
    auto& slot = RelaySlot();
    std::lock_guard lock(slot.Lock);
    slot.Relay = relay;
}

void PostToTopLevelWindows(UINT message, WPARAM wParam, LPARAM lParam)
{
    for (const auto& window : TopLevelWindows()) {
        window->Queue->Post(TEntry{TMsg{window->Handle, message, wParam, lParam}, nullptr});
    }
}

bool EditWindowTimers(HWND hwnd, const std::function<void(TTimerList&)>& edit)
{
    const auto window = FindWindow(hwnd);
    if (!window) {
        return false;
    }
    TQueueState& state = *window->Queue;
    std::lock_guard lock(state.Lock);
    edit(state.Timers);
    state.SignalLocked();
    return true;
}

} // namespace plat
