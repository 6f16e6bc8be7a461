#include <gtest/gtest.h>

#include "platform/TimerSchedule.h"

namespace {

using namespace std::chrono_literals;

TEST(TimerSchedule, LateTicksCountEveryPeriodThatPassed) {
    const TimerSchedule::Clock::time_point t0{};
    TimerSchedule s;
    s.Start(t0, 1000ms);
    const struct {
        std::chrono::milliseconds llegada;
        int ticks;
    } pasos[] = {
        {1000ms, 1},               // on time
        {1990ms, 1},               // a little early
        {3001ms, 1},               // a little late: the remainder carries over
        {6500ms, 3},               // due at 4000: 4000, 5000 and 6000 have passed
        {7000ms, 1}, {7100ms, 1},  // merged with the one before: an extra tick on time
        {7200ms, 1},
    };
    for (const auto& p : pasos) EXPECT_EQ(s.TicksDue(t0 + p.llegada), p.ticks) << p.llegada.count();
}

TEST(TimerSchedule, TotalTicksFollowTheClock) {
    const TimerSchedule::Clock::time_point t0{};
    TimerSchedule s;
    s.Start(t0, 1000ms);
    int total = 0;
    // Arrivals scattered late and early; the total is the whole periods since start.
    for (const int ms : {1200, 1900, 5300, 5400, 9050, 9999, 10000, 13700}) {
        total += s.TicksDue(t0 + std::chrono::milliseconds(ms));
    }
    EXPECT_EQ(total, 13);
}

}  // namespace
