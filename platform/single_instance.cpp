// Single-instance guard: the first process of a user to claim a name holds it
// while it runs; a later one learns it is second and asks the first to come
// to the front.
#include "platform/single_instance.h"

#include "platform/known_folders.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace plat {

namespace {

constexpr int AnswerWaitSeconds = 5;

// An abstract address (leading NUL byte) per user, login session and name;
// the length passed to bind/connect marks its end. The session is the
// user's runtime folder, so that, like a session's named mutex, the name is
// one per login and not shared with separate sessions of the same user.
struct TInstanceAddress {
    sockaddr_un Address{};
    socklen_t Length = 0;
};

// FNV-1a of the runtime folder's path, as 16 hex digits.
std::string SessionKey()
{
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (const char c : RuntimeFolder()) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
    }
    char key[17];
    std::snprintf(key, sizeof key, "%016llx", static_cast<unsigned long long>(hash));
    return key;
}

TInstanceAddress MakeAddress(const std::string& name)
{
    const std::string path =
        std::string(1, '\0') + "qel-instance/" + std::to_string(getuid()) + "/" + SessionKey() + "/" + name;
    TInstanceAddress result;
    if (path.size() > sizeof result.Address.sun_path) {
        throw std::invalid_argument("single-instance name too long: " + name);
    }
    result.Address.sun_family = AF_UNIX;
    std::memcpy(result.Address.sun_path, path.data(), path.size());
    result.Length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size());
    return result;
}

bool PeerIsThisUser(int connected)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    return getsockopt(connected, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 && credentials.uid == getuid();
}

// Connecting is the request; the holder answers one byte once it has acted
// on it, so the caller may end right away. False when no process of this user
// holds the name after all.
bool AskHolderToActivate(const TInstanceAddress& address)
{
    const int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connection < 0) {
        return false;
    }
    const bool asked = connect(connection, reinterpret_cast<const sockaddr*>(&address.Address), address.Length) == 0 &&
                       PeerIsThisUser(connection);
    if (asked) {
        const timeval limit{AnswerWaitSeconds, 0}; // a stopped holder must not hold us up for ever
        setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        char answer = 0;
        [[maybe_unused]] const auto got = recv(connection, &answer, 1, 0);
    }
    close(connection);
    return asked;
}

} // namespace

TSingleInstance::TSingleInstance(const std::string& name, UINT activateMessage)
    : FName(name), FActivateMessage(activateMessage)
{
    const TInstanceAddress address = MakeAddress(name);
    // Non-blocking, so that a request withdrawn before it is accepted never holds up the watch.
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener < 0) {
        return; // no guard: better to run twice than not at all
    }
    if (bind(listener, reinterpret_cast<const sockaddr*>(&address.Address), address.Length) != 0) {
        const bool held = errno == EADDRINUSE;
        close(listener);
        // A name held by another user's process does not count: this one runs unguarded.
        FFirst = !(held && AskHolderToActivate(address));
        return;
    }
    FListener = listener;
    if (listen(listener, 8) == 0) {
        FWatch = TInputWatch::Start(listener, [this] { AnswerRequest(); });
    }
    if (!FWatch) {
        close(listener);
        FListener = -1;
    }
}

TSingleInstance::~TSingleInstance()
{
    FWatch.reset();
    if (FListener >= 0) {
        close(FListener);
    }
}

void TSingleInstance::AnswerRequest() const
{
    const int connection = accept4(FListener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
        return;
    }
    if (PeerIsThisUser(connection)) {
        if (const HWND window = FindTopLevelWindow(FName); window != 0) {
            PostMessage(window, FActivateMessage, 0, 0);
        }
        const char done = 'A';
        [[maybe_unused]] const auto sent = send(connection, &done, 1, MSG_NOSIGNAL);
    }
    close(connection);
}

} // namespace plat
