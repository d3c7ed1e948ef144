// The clock port on the system clock, in the local time zone.
#pragma once

#include "shell/Clock.h"

namespace qm::qt
{

class SystemClock : public shell::Clock
{
public:
    shell::LocalTime now() override;
};

} // namespace qm::qt
