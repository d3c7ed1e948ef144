// Port wrappers that let the window redraw after every event of the link: data from the unit and timer ticks
// change the models outside any user event.
#pragma once

#include "link/SerialPort.h"
#include "link/Timer.h"

#include <functional>
#include <utility>

namespace qm::app
{

class ObservedSerialPort : public link::SerialPort, private link::SerialPortListener
{
public:
    ObservedSerialPort(link::SerialPort& port, std::function<void()> afterEvent)
        : m_port(port), m_afterEvent(std::move(afterEvent))
    {}

    void setListener(link::SerialPortListener* listener) override
    {
        m_listener = listener;
        m_port.setListener(listener ? this : nullptr);
    }
    void setCommPort(int number) override { m_port.setCommPort(number); }
    void setDevice(const std::string& path) override { m_port.setDevice(path); }
    std::optional<link::PortError> open() override { return m_port.open(); }
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    void flushInput() override { m_port.flushInput(); }
    void flushOutput() override { m_port.flushOutput(); }
    std::size_t bytesWaiting() const override { return m_port.bytesWaiting(); }
    std::optional<char> takeByte() override { return m_port.takeByte(); }
    void send(std::string_view bytes) override { m_port.send(bytes); }
    void notifyWhenSent() override { m_port.notifyWhenSent(); }
    std::string deviceName() const override { return m_port.deviceName(); }

private:
    void dataArrived() override
    {
        if (m_listener)
            m_listener->dataArrived();
        m_afterEvent();
    }
    void portFailed(const link::PortError& error) override
    {
        if (m_listener)
            m_listener->portFailed(error);
        m_afterEvent();
    }
    void allSent() override
    {
        if (m_listener)
            m_listener->allSent();
        m_afterEvent();
    }

    link::SerialPort& m_port;
    std::function<void()> m_afterEvent;
    link::SerialPortListener* m_listener = nullptr;
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
