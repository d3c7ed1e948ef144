// The clock port on the system clock, in the local time zone.
#pragma once

#include "shell/Clock.h"

namespace qm::cli
{

class SystemClock : public shell::Clock
{
public:
    shell::LocalTime now() override;
};

} // namespace qm::cli
