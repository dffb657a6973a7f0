// Two-process tests: this test program started again as a peer process that
// plays a named role instead of running tests.
#include "tests/platform/peer_process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace qeltest {

namespace {

constexpr const char* RoleVariable = "QEL_TEST_PEER_ROLE";
constexpr const char* PipeVariable = "QEL_TEST_PEER_FD";
constexpr int GuardMs = 20000;

std::map<std::string, TPeerRole>& Roles()
{
    static std::map<std::string, TPeerRole> roles;
    return roles;
}

// Runs before the first test, once every test file has registered its roles:
// a peer plays its role and ends without running tests.
class TPeerRoleEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        const char* name = std::getenv(RoleVariable);
        if (!name) {
            return;
        }
        const auto role = Roles().find(name);
        if (role == Roles().end()) {
            std::fprintf(stderr, "unknown peer role %s\n", name);
            std::exit(100);
        }
        std::exit(role->second());
    }
};

[[maybe_unused]] const auto* const PeerEnvironment = ::testing::AddGlobalTestEnvironment(new TPeerRoleEnvironment);

// Waits for the pipe to be readable or to end; false after the guard time.
bool WaitPipe(int fd)
{
    pollfd ready{fd, POLLIN, 0};
    return poll(&ready, 1, GuardMs) == 1;
}

} // namespace

bool RegisterPeerRole(const std::string& name, TPeerRole role)
{
    return Roles().emplace(name, role).second;
}

void SignalPeerReady()
{
    const char* fd = std::getenv(PipeVariable);
    if (fd) {
        [[maybe_unused]] const auto written = write(std::atoi(fd), "ready\n", 6);
    }
}

TPeerProcess::TPeerProcess(const std::string& role, const std::vector<std::pair<std::string, std::string>>& environment)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create the peer pipe");
    }
    FPipe = ends[0];
    std::vector<std::string> variables;
    for (char** variable = environ; *variable; ++variable) {
        variables.emplace_back(*variable);
    }
    variables.push_back(std::string(RoleVariable) + "=" + role);
    variables.push_back(std::string(PipeVariable) + "=" + std::to_string(ends[1]));
    for (const auto& [name, value] : environment) {
        variables.push_back(name + "=" + value);
    }
    std::vector<char*> envp;
    for (auto& variable : variables) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
    char* argv[] = {program.data(), nullptr};

    fcntl(ends[1], F_SETFD, 0); // the peer keeps the write end
    const int failed = posix_spawn(&FPid, program.c_str(), nullptr, nullptr, argv, envp.data());
    close(ends[1]);
    if (failed != 0) {
        close(FPipe);
        throw std::runtime_error("cannot start the peer process");
    }
}

TPeerProcess::~TPeerProcess()
{
    if (FPid > 0) {
        kill(FPid, SIGKILL);
        waitpid(FPid, nullptr, 0);
    }
    close(FPipe);
}

bool TPeerProcess::WaitReady()
{
    char line[6];
    return WaitPipe(FPipe) && read(FPipe, line, sizeof line) == static_cast<ssize_t>(sizeof line);
}

int TPeerProcess::WaitExit()
{
    char rest[64];
    while (WaitPipe(FPipe)) {
        if (read(FPipe, rest, sizeof rest) <= 0) { // end of file: the peer has gone
            int status = 0;
            const pid_t pid = std::exchange(FPid, -1);
            waitpid(pid, &status, 0);
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
    }
    return -1;
}

} // namespace qeltest
