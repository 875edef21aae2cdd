#include "hosts/linux/stop_signals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace linux_host {
namespace {

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    return set;
}

}  // namespace

StopSignals::StopSignals() {
    const sigset_t set = StopSet();
    if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0) return;
    fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd_ < 0) sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

StopSignals::~StopSignals() {
    // The signals stay blocked: the saver is on its way out, and a second SIGTERM during
    // the last steps must not turn a clean end into death by signal.
    if (fd_ >= 0) close(fd_);
}

bool StopSignals::Take() {
    bool came = false;
    signalfd_siginfo info;
    while (fd_ >= 0 && read(fd_, &info, sizeof info) == ssize_t(sizeof info)) came = true;
    return came;
}

}  // namespace linux_host
