// A clock double: shows the time the test sets and moves on by a step at each reading.
#pragma once

#include "shell/Clock.h"

namespace qm::fakes
{

class FakeClock : public shell::Clock
{
public:
    shell::LocalTime time{2026, 12, 6, 8, 45, 12, 123};
    /// Milliseconds added after each reading.
    int stepMs = 1;

    shell::LocalTime now() override
    {
        const shell::LocalTime shown = time;
        time.millisecond += stepMs;
        time.second += time.millisecond / 1000;
        time.millisecond %= 1000;
        time.minute += time.second / 60;
        time.second %= 60;
        time.hour += time.minute / 60;
        time.minute %= 60;
        return shown;
    }
};

} // namespace qm::fakes
