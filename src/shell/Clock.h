// The clock port: the local date and time, for naming what the program keeps (backups).
#pragma once

namespace qm::shell
{

/// A local date and time to the millisecond.
struct LocalTime
{
    int year = 1970;
    /// 1 to 12.
    int month = 1;
    /// 1 to 31.
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    bool operator==(const LocalTime&) const = default;
};

class Clock
{
public:
    virtual ~Clock() = default;

    /// Returns the local date and time now.
    virtual LocalTime now() = 0;
};

} // namespace qm::shell
