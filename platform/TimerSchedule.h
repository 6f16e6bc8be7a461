#pragma once

#include <chrono>

// Due-time accounting for a periodic timer: how many whole periods a tick
// stands for, so that a tick that comes late, or ticks that merge, lose no
// time. The remainder carries over to the next tick.
class TimerSchedule {
  public:
    using Clock = std::chrono::steady_clock;

    void Start(Clock::time_point now, Clock::duration period);

    // Periods that the tick arriving at `now` stands for: 1 when it is on
    // time (or early), one more for every further whole period since it was
    // due.
    int TicksDue(Clock::time_point now);

  private:
    Clock::time_point m_Due{};
    Clock::duration m_Period{};
};
