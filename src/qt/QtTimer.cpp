// The timer port over QTimer.
#include "qt/QtTimer.h"

namespace qm::qt
{

QtTimer::QtTimer(int interval)
{
    // A coarse timer may fire up to 5 % early or late; the probe period and the time-outs are meant exactly.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(interval);
    // A copy runs, so a handler may replace itself.
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
        if (const std::function<void()> handler = m_handler)
            handler();
    });
}

void QtTimer::setHandler(std::function<void()> handler)
{
    m_handler = std::move(handler);
}

void QtTimer::start()
{
    m_timer.start();
}

void QtTimer::stop()
{
    m_timer.stop();
}

bool QtTimer::isActive() const
{
    return m_timer.isActive();
}

int QtTimer::interval() const
{
    return m_timer.interval();
}

} // namespace qm::qt
