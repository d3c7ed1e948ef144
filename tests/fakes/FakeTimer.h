// A timer double: the test drives time by ticking it; a tick runs the handler only while the timer is active.
#pragma once

#include "link/Timer.h"

#include <functional>
#include <utility>

namespace qm::fakes
{

class FakeTimer : public link::Timer
{
public:
    explicit FakeTimer(int intervalMs) : m_interval(intervalMs) {}

    int starts = 0;

    /// One interval passes: runs the handler when the timer is active; returns whether it ran.
    bool tick()
    {
        if (!m_active || !m_handler) {
            return false;
        }
        m_handler();
        return true;
    }

    void setHandler(std::function<void()> handler) override { m_handler = std::move(handler); }
    void start() override
    {
        ++starts;
        m_active = true;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }
    int interval() const override { return m_interval; }

private:
    int m_interval;
    bool m_active = false;
    std::function<void()> m_handler;
};

} // namespace qm::fakes
