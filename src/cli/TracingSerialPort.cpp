// A serial port that traces every byte of the port it wraps.
#include "cli/TracingSerialPort.h"

#include <cstdio>

namespace qm::cli
{

TracingSerialPort::TracingSerialPort(link::SerialPort& port, std::ostream& trace, Clock::time_point start)
    : ForwardingSerialPort(port), m_trace(trace), m_start(start)
{}

TracingSerialPort::~TracingSerialPort()
{
    m_trace.flush();
}

std::string TracingSerialPort::traceLine(double milliseconds, bool sent, char byte)
{
    const auto code = static_cast<unsigned char>(byte);
    char line[48];
    if (code >= 0x20 && code < 0x7F)
        std::snprintf(line, sizeof line, "%.3f %s %02X '%c'", milliseconds, sent ? "->" : "<-", code, byte);
    else
        std::snprintf(line, sizeof line, "%.3f %s %02X", milliseconds, sent ? "->" : "<-", code);
    return line;
}

void TracingSerialPort::write(bool sent, char byte)
{
    const std::chrono::duration<double, std::milli> elapsed = Clock::now() - m_start;
    m_trace << traceLine(elapsed.count(), sent, byte) << '\n';
}

void TracingSerialPort::drain()
{
    bool any = false;
    while (wrapped().bytesWaiting() > 0) {
        const auto byte = wrapped().takeByte();
        if (!byte)
            break;
        write(false, *byte);
        m_received.push_back(*byte);
        any = true;
    }
    if (any)
        m_trace.flush();
}

std::optional<link::PortError> TracingSerialPort::open()
{
    m_received.clear();
    return wrapped().open();
}

void TracingSerialPort::close()
{
    m_received.clear();
    wrapped().close();
}

void TracingSerialPort::flushInput()
{
    drain();
    m_received.clear();
    wrapped().flushInput();
}

std::size_t TracingSerialPort::bytesWaiting() const
{
    return m_received.size() + ForwardingSerialPort::bytesWaiting();
}

std::optional<char> TracingSerialPort::takeByte()
{
    if (m_received.empty())
        drain();
    if (m_received.empty())
        return std::nullopt;
    const char byte = m_received.front();
    m_received.pop_front();
    return byte;
}

void TracingSerialPort::send(std::string_view bytes)
{
    // A closed port sends nothing, so there is nothing to trace.
    if (!wrapped().isOpen())
        return;
    for (const char byte : bytes)
        write(true, byte);
    m_trace.flush();
    wrapped().send(bytes);
}

void TracingSerialPort::dataArrived()
{
    drain();
    ForwardingSerialPort::dataArrived();
}

void TracingSerialPort::portFailed(const link::PortError& error)
{
    m_received.clear();
    ForwardingSerialPort::portFailed(error);
}

} // namespace qm::cli
