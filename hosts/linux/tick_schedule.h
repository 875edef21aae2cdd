#pragma once
// When the saver's timer is due. Like the platform's timer it fires every period from
// the moment it was set, and a late host gets one WM_TIMER, not one for every period it
// missed: ticks that fall due while a frame is drawn merge into the next message.
#include <chrono>

namespace linux_host {

class TickSchedule {
public:
    using Clock = std::chrono::steady_clock;

    // Starts (or restarts) the timer; the first tick falls one period after `now`. A zero
    // period stops it.
    void Start(Clock::time_point now, std::chrono::milliseconds period);
    bool running() const { return period_.count() > 0; }
    std::chrono::milliseconds period() const { return period_; }

    // How long until the next tick is due: zero when due already.
    Clock::duration Remaining(Clock::time_point now) const;
    // True when a tick is due at `now`; it is then taken, along with every other that
    // fell due before `now`, and the next one is the first after `now`.
    bool TakeDue(Clock::time_point now);

private:
    std::chrono::milliseconds period_{0};
    Clock::time_point next_{};
};

}  // namespace linux_host
