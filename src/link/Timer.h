// The timer port: an interval timer whose ticks arrive on the event thread. QTimer in the programs, a fake
// clock in tests.
#pragma once

#include <functional>

namespace qm::link
{

class Timer
{
public:
    virtual ~Timer() = default;

    /// Sets what a tick runs.
    virtual void setHandler(std::function<void()> handler) = 0;
    /// Starts (or restarts) the timer: the first tick comes one interval from now, then every interval.
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int interval() const = 0;
};

} // namespace qm::link
