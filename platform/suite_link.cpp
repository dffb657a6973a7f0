// Registered broadcasts between the suite programs of one user: every
// program binds a datagram socket in a private folder of the user's runtime
// folder, and a broadcast goes to each of them by message name.
#include "platform/suite_link.h"

#include "platform/known_folders.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace plat {

namespace {

// Datagram: magic, wParam, lParam (host order: both ends run on this machine), name.
constexpr char LinkMagic[4] = {'Q', 'E', 'L', 'M'};
constexpr std::size_t HeaderSize = sizeof LinkMagic + sizeof(WPARAM) + sizeof(LPARAM);
constexpr std::size_t MaxNameSize = 255;
constexpr const char* SocketSuffix = ".sock";

std::atomic<bool>& LinkExists()
{
    static std::atomic<bool> exists{false};
    return exists;
}

bool MakeAddress(const std::string& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// The folder exists (made now if needed), is a real folder of this user and
// no one else's to read or write into.
bool IsPrivateFolder(const std::string& folder)
{
    mkdir(folder.c_str(), 0700);
    struct stat info {};
    return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
           (info.st_mode & 077) == 0;
}

std::string Encode(const std::string& name, WPARAM wParam, LPARAM lParam)
{
    std::string datagram(HeaderSize, '\0');
    std::memcpy(datagram.data(), LinkMagic, sizeof LinkMagic);
    std::memcpy(datagram.data() + sizeof LinkMagic, &wParam, sizeof wParam);
    std::memcpy(datagram.data() + sizeof LinkMagic + sizeof wParam, &lParam, sizeof lParam);
    return datagram + name;
}

struct TLinkMessage {
    std::string Name;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
};

bool Decode(const char* data, std::size_t size, TLinkMessage& message)
{
    if (size <= HeaderSize || size > HeaderSize + MaxNameSize ||
        std::memcmp(data, LinkMagic, sizeof LinkMagic) != 0) {
        return false;
    }
    std::memcpy(&message.WParam, data + sizeof LinkMagic, sizeof message.WParam);
    std::memcpy(&message.LParam, data + sizeof LinkMagic + sizeof message.WParam, sizeof message.LParam);
    message.Name.assign(data + HeaderSize, size - HeaderSize);
    return true;
}

bool IsSocketName(const std::string& name)
{
    const std::string suffix = SocketSuffix;
    return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

std::string TSuiteLink::SuiteLinkFolder()
{
    const std::string runtime = RuntimeFolder();
    return runtime.empty() ? std::string() : runtime + "/qel-suite";
}

TSuiteLink::TSuiteLink(std::string folder) : FFolder(std::move(folder))
{
    if (LinkExists().exchange(true)) {
        throw std::logic_error("a process has one suite link");
    }
    if (!Bind()) {
        return;
    }
    FReceiver = TInputWatch::Start(FSocket, [this] { Receive(); });
    if (!FReceiver) {
        close(FSocket);
        FSocket = -1;
        unlink((FFolder + "/" + FSocketName).c_str());
        return;
    }
    SetBroadcastRelay(this);
}

TSuiteLink::~TSuiteLink()
{
    if (Active()) {
        SetBroadcastRelay(nullptr);
        FReceiver.reset();
        close(FSocket);
        unlink((FFolder + "/" + FSocketName).c_str());
    }
    LinkExists() = false;
}

bool TSuiteLink::Bind()
{
    FSocketName = std::to_string(getpid()) + SocketSuffix;
    const std::string path = FFolder + "/" + FSocketName;
    sockaddr_un address;
    if (FFolder.empty() || !MakeAddress(path, address) || !IsPrivateFolder(FFolder)) {
        return false;
    }
    const int socketFd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (socketFd < 0) {
        return false;
    }
    unlink(path.c_str()); // left behind by an ended process of the same number
    if (bind(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(socketFd);
        return false;
    }
    FSocket = socketFd;
    return true;
}

void TSuiteLink::Relay(const std::string& name, WPARAM wParam, LPARAM lParam)
{
    if (name.size() > MaxNameSize) {
        return;
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(opendir(FFolder.c_str()), closedir);
    if (!folder) {
        return;
    }
    const std::string datagram = Encode(name, wParam, lParam);
    while (const dirent* entry = readdir(folder.get())) {
        const std::string entryName = entry->d_name;
        sockaddr_un peer;
        const std::string path = FFolder + "/" + entryName;
        if (!IsSocketName(entryName) || entryName == FSocketName || !MakeAddress(path, peer)) {
            continue;
        }
        const auto sent = sendto(FSocket, datagram.data(), datagram.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                                 reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
        if (sent < 0 && errno == ECONNREFUSED) {
            unlink(path.c_str()); // nobody listens: its program ended without removing it
        }
        // A peer whose queue is full misses this notice; the suite programs treat it as a hint.
    }
}

void TSuiteLink::Receive() const
{
    char buffer[HeaderSize + MaxNameSize + 1];
    const auto size = recv(FSocket, buffer, sizeof buffer, MSG_DONTWAIT | MSG_TRUNC);
    TLinkMessage message;
    if (size > 0 && Decode(buffer, static_cast<std::size_t>(size), message)) {
        if (const UINT number = FindRegisteredMessage(message.Name); number != 0) {
            PostToTopLevelWindows(number, message.WParam, message.LParam);
        }
    }
}

} // namespace plat
