// The timer port over QTimer: ticks arrive on the Qt event loop of the thread that made the timer.
#pragma once

#include "link/Timer.h"

#include <QTimer>

#include <functional>

namespace qm::qt
{

class QtTimer : public link::Timer
{
public:
    /// Makes a stopped timer that ticks every interval milliseconds once started.
    explicit QtTimer(int interval);

    void setHandler(std::function<void()> handler) override;
    void start() override;
    void stop() override;
    bool isActive() const override;
    int interval() const override;

private:
    QTimer m_timer;
    std::function<void()> m_handler;
};

} // namespace qm::qt
