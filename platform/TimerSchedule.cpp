#include "platform/TimerSchedule.h"

#include <algorithm>
#include <limits>

void TimerSchedule::Start(Clock::time_point now, Clock::duration period) {
    m_Period = period;
    m_Due = now + period;
}

int TimerSchedule::TicksDue(Clock::time_point now) {
    if (m_Period <= Clock::duration::zero()) return 1;
    long long ticks = 1;
    if (now > m_Due) ticks += (now - m_Due) / m_Period;
    m_Due += m_Period * ticks;
    return static_cast<int>(std::min<long long>(ticks, std::numeric_limits<int>::max()));
}
