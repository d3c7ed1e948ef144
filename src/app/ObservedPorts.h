// Port wrappers that let the window redraw after every event of the link: data from the unit and timer ticks
// change the models outside any user event.
#pragma once

#include "link/ForwardingSerialPort.h"
#include "link/Timer.h"

#include <functional>
#include <utility>

namespace qm::app
{

class ObservedSerialPort : public link::ForwardingSerialPort
{
public:
    ObservedSerialPort(link::SerialPort& port, std::function<void()> afterEvent)
        : ForwardingSerialPort(port), m_afterEvent(std::move(afterEvent))
    {}

private:
    void dataArrived() override
    {
        ForwardingSerialPort::dataArrived();
        m_afterEvent();
    }
    void portFailed(const link::PortError& error) override
    {
        ForwardingSerialPort::portFailed(error);
        m_afterEvent();
    }
    void allSent() override
    {
        ForwardingSerialPort::allSent();
        m_afterEvent();
    }

    std::function<void()> m_afterEvent;
};

class ObservedTimer : public link::Timer
{
public:
    ObservedTimer(link::Timer& timer, std::function<void()> afterEvent)
        : m_timer(timer), m_afterEvent(std::move(afterEvent))
    {}

    void setHandler(std::function<void()> handler) override
    {
        m_timer.setHandler([this, handler = std::move(handler)] {
            handler();
            m_afterEvent();
        });
    }
    void start() override { m_timer.start(); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }
    int interval() const override { return m_timer.interval(); }

private:
    link::Timer& m_timer;
    std::function<void()> m_afterEvent;
};

} // namespace qm::app
