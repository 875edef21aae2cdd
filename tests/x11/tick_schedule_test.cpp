// The saver's timer: when WM_TIMER is due, and that a late host gets one, not a burst.
#include "hosts/linux/tick_schedule.h"

#include <gtest/gtest.h>

namespace {

using linux_host::TickSchedule;
using std::chrono::milliseconds;

const TickSchedule::Clock::time_point kStart{std::chrono::seconds(1000)};

// How many ticks a host that checks at each of `checks` (ms after the start) receives,
// and when the next is due after the last check.
struct Checks {
    std::vector<int> at;
    int ticks;
    int nextDueIn;  // ms after the last check
};

TEST(TickSchedule, GivesOneTickPerCheckNeverABurstForMissedPeriods) {
    const Checks cases[] = {
        {{0, 5, 9}, 0, 1},              // the first tick is one period after the start
        {{10}, 1, 10},                  // exactly on time
        {{10, 10, 10}, 1, 10},          // a tick is taken once
        {{10, 20, 30, 40}, 4, 10},      // keeping up: one per period
        {{47}, 1, 3},                   // four periods late: one tick, and back on the grid
        {{47, 47}, 1, 3},               // no make-up tick for the missed ones
        {{12, 23, 31}, 3, 9},           // jitter does not drift the grid
        {{1000}, 1, 10},
    };
    for (const Checks& c : cases) {
        TickSchedule schedule;
        schedule.Start(kStart, milliseconds(10));
        int ticks = 0;
        for (const int at : c.at) ticks += schedule.TakeDue(kStart + milliseconds(at));
        const auto last = kStart + milliseconds(c.at.back());
        EXPECT_EQ(ticks, c.ticks) << "checks ending at " << c.at.back();
        EXPECT_EQ(schedule.Remaining(last), milliseconds(c.nextDueIn)) << "checks ending at " << c.at.back();
    }
}

TEST(TickSchedule, AZeroPeriodMeansNoTimer) {
    TickSchedule schedule;
    EXPECT_FALSE(schedule.running());
    EXPECT_FALSE(schedule.TakeDue(kStart + std::chrono::hours(1)));
    schedule.Start(kStart, milliseconds(10));
    EXPECT_TRUE(schedule.running());
    schedule.Start(kStart, milliseconds(0));  // KillTimer
    EXPECT_FALSE(schedule.running());
    EXPECT_FALSE(schedule.TakeDue(kStart + std::chrono::hours(1)));
}

TEST(TickSchedule, RestartingMovesTheGridToTheNewStart) {
    TickSchedule schedule;
    schedule.Start(kStart, milliseconds(10));
    schedule.Start(kStart + milliseconds(4), milliseconds(25));
    EXPECT_FALSE(schedule.TakeDue(kStart + milliseconds(28)));
    EXPECT_TRUE(schedule.TakeDue(kStart + milliseconds(29)));
    EXPECT_EQ(schedule.Remaining(kStart + milliseconds(29)), milliseconds(25));
}

}  // namespace
