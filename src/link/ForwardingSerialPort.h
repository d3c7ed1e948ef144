// A serial port that stands in front of another: every call goes through to the wrapped port and every
// notification back to the listener. Wrappers (a trace of the bytes, a redraw after each event) override only
// what they add.
#pragma once

#include "link/SerialPort.h"

namespace qm::link
{

class ForwardingSerialPort : public SerialPort, protected SerialPortListener
{
public:
    explicit ForwardingSerialPort(SerialPort& port) : m_port(port) {}
    ~ForwardingSerialPort() override { m_port.setListener(nullptr); }
    ForwardingSerialPort(const ForwardingSerialPort&) = delete;
    ForwardingSerialPort& operator=(const ForwardingSerialPort&) = delete;

    /// Listens to the wrapped port only while someone listens here.
    void setListener(SerialPortListener* listener) override
    {
        m_listener = listener;
        m_port.setListener(listener ? this : nullptr);
    }
    void setCommPort(int number) override { m_port.setCommPort(number); }
    void setDevice(const std::string& path) override { m_port.setDevice(path); }
    std::optional<PortError> open() override { return m_port.open(); }
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    void flushInput() override { m_port.flushInput(); }
    void flushOutput() override { m_port.flushOutput(); }
    std::size_t bytesWaiting() const override { return m_port.bytesWaiting(); }
    std::optional<char> takeByte() override { return m_port.takeByte(); }
    void send(std::string_view bytes) override { m_port.send(bytes); }
    void notifyWhenSent() override { m_port.notifyWhenSent(); }
    std::string deviceName() const override { return m_port.deviceName(); }

protected:
    void dataArrived() override
    {
        if (m_listener)
            m_listener->dataArrived();
    }
    void portFailed(const PortError& error) override
    {
        if (m_listener)
            m_listener->portFailed(error);
    }
    void allSent() override
    {
        if (m_listener)
            m_listener->allSent();
    }

    SerialPort& wrapped() { return m_port; }
    const SerialPort& wrapped() const { return m_port; }

private:
    SerialPort& m_port;
    SerialPortListener* m_listener = nullptr;
};

} // namespace qm::link
