// Ending signals handed to a thread: each arriving signal reaches the
// handler once instead of ending the process, and the mask comes back.
// Runs in a child process of its own, where no thread of other tests could
// take the signals with their default action.
#include "platform/signal_watch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// The child's outcome: 0 when both signals reached the handler and the
// mask is as before, else the number of the check that failed.
int WatchInChild()
{
    std::mutex lock;
    std::condition_variable arrived;
    bool usr1 = false;
    bool usr2 = false;
    {
        plat::TSignalWatch watch({SIGUSR1, SIGUSR2}, [&](int signal) {
            std::lock_guard guard(lock);
            (signal == SIGUSR1 ? usr1 : usr2) = true;
            arrived.notify_all();
        });
        kill(getpid(), SIGUSR2);   // their default action would end the child
        kill(getpid(), SIGUSR1);
        std::unique_lock wait(lock);
        if (!arrived.wait_for(wait, std::chrono::seconds(10), [&] { return usr1 && usr2; })) {
            return 1;
        }
    }
    sigset_t after;
    pthread_sigmask(SIG_SETMASK, nullptr, &after);
    return sigismember(&after, SIGUSR1) == 0 && sigismember(&after, SIGUSR2) == 0 ? 0 : 2;
}

TEST(SignalWatch, SignalsReachTheHandlerInsteadOfEndingTheProcess)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        _exit(WatchInChild());
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: a signal did not reach the handler, 2: the mask stayed changed";
}

} // namespace
