// A serial port that writes every byte sent and received on the port it wraps to a trace, one line a byte, for
// diagnosing a cable: milliseconds since the start, the direction, the byte in hex and its character.
#pragma once

#include "link/ForwardingSerialPort.h"

#include <chrono>
#include <deque>
#include <ostream>

namespace qm::cli
{

class TracingSerialPort : public link::ForwardingSerialPort
{
public:
    using Clock = std::chrono::steady_clock;

    /// Traces the port's bytes to the trace; times count from start.
    TracingSerialPort(link::SerialPort& port, std::ostream& trace, Clock::time_point start = Clock::now());
    ~TracingSerialPort() override;

    std::optional<link::PortError> open() override;
    void close() override;
    void flushInput() override;
    std::size_t bytesWaiting() const override;
    std::optional<char> takeByte() override;
    void send(std::string_view bytes) override;

    /// Returns one trace line: "12.345 -> 55 'U'" (the character only when it is printable).
    static std::string traceLine(double milliseconds, bool sent, char byte);

private:
    // The wrapped port's notifications.
    void dataArrived() override;
    void portFailed(const link::PortError& error) override;

    /// Takes every byte waiting in the wrapped port, so each is traced when it arrives (a flush would
    /// otherwise discard bytes nobody saw).
    void drain();
    void write(bool sent, char byte);

    std::ostream& m_trace;
    Clock::time_point m_start;
    std::deque<char> m_received;
};

} // namespace qm::cli
