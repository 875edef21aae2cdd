#include "hosts/linux/tick_schedule.h"

namespace linux_host {

void TickSchedule::Start(Clock::time_point now, std::chrono::milliseconds period) {
    period_ = period.count() > 0 ? period : std::chrono::milliseconds(0);
    next_ = now + period_;
}

TickSchedule::Clock::duration TickSchedule::Remaining(Clock::time_point now) const {
    return now >= next_ ? Clock::duration::zero() : next_ - now;
}

bool TickSchedule::TakeDue(Clock::time_point now) {
    if (!running() || now < next_) return false;
    // Stay on the grid of the timer's own start, as the platform's timer does, rather
    // than drifting by however late this call came.
    const auto missed = (now - next_) / period_;
    next_ += period_ * (missed + 1);
    return true;
}

}  // namespace linux_host
