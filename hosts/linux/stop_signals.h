#pragma once
// SIGTERM and SIGINT, which is how XScreenSaver (and a person at a terminal) stops a
// saver, as a descriptor the host's loop polls beside the X connection: the saver then
// ends between two messages, with WM_DESTROY, and never from inside a signal handler.
namespace linux_host {

class StopSignals {
public:
    // Blocks both signals for this (single-threaded) process, for the rest of its life,
    // and opens a signalfd; on failure fd() is -1 and the signals keep their default
    // action.
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    int fd() const { return fd_; }
    // True when a stop signal has come since the last call.
    bool Take();

private:
    int fd_ = -1;
};

}  // namespace linux_host
