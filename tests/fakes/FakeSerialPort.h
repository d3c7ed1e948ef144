// A serial-port double: records every byte sent, hands out the bytes a test pushes, and can fail on open or
// while open.
#pragma once

#include "link/SerialPort.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace qm::fakes
{

class FakeSerialPort : public link::SerialPort
{
public:
    /// Every byte sent since the last takeSent(), in order.
    std::string sent;
    /// The port chosen for the next open.
    int commPort = 0;
    /// The device chosen by path for the next open ("" for the COM port's).
    std::string chosenDevice;
    /// When set, open() fails with this error.
    std::optional<link::PortError> openError;
    int opens = 0;
    int closes = 0;
    int inputFlushes = 0;
    int outputFlushes = 0;
    /// Notifications asked for by notifyWhenSent() and not yet given.
    int sentNotificationsAsked = 0;
    /// The device a real port would name.
    std::string device = "/dev/ttyUSB0";
    link::SerialPortListener* listener = nullptr;

    /// Puts bytes into the receive buffer without a notification.
    void receive(std::string_view bytes) { m_received.insert(m_received.end(), bytes.begin(), bytes.end()); }

    /// Puts bytes into the receive buffer and notifies the listener once.
    void deliver(std::string_view bytes)
    {
        receive(bytes);
        if (listener != nullptr) {
            listener->dataArrived();
        }
    }

    /// The open port fails: it closes and tells the listener.
    void fail(const link::PortError& error)
    {
        m_open = false;
        m_received.clear();
        if (listener != nullptr) {
            listener->portFailed(error);
        }
    }

    /// Everything sent has left the port: gives the notifications asked for.
    void allSent()
    {
        const bool asked = sentNotificationsAsked > 0;
        sentNotificationsAsked = 0;
        if (asked && listener != nullptr) {
            listener->allSent();
        }
    }

    /// Returns the bytes sent since the last call and starts a new record.
    std::string takeSent()
    {
        std::string bytes;
        bytes.swap(sent);
        return bytes;
    }

    void setListener(link::SerialPortListener* newListener) override { listener = newListener; }
    void setCommPort(int number) override { commPort = number; }
    void setDevice(const std::string& path) override { chosenDevice = path; }

    std::optional<link::PortError> open() override
    {
        if (openError) {
            return openError;
        }
        ++opens;
        m_open = true;
        return std::nullopt;
    }

    void close() override
    {
        ++closes;
        m_open = false;
        m_received.clear();
    }

    bool isOpen() const override { return m_open; }

    void flushInput() override
    {
        ++inputFlushes;
        m_received.clear();
    }

    void flushOutput() override { ++outputFlushes; }

    std::size_t bytesWaiting() const override { return m_received.size(); }

    std::optional<char> takeByte() override
    {
        if (m_received.empty()) {
            return std::nullopt;
        }
        const char byte = m_received.front();
        m_received.pop_front();
        return byte;
    }

    void send(std::string_view bytes) override { sent.append(bytes); }
    void notifyWhenSent() override { ++sentNotificationsAsked; }
    std::string deviceName() const override { return device; }

private:
    bool m_open = false;
    std::deque<char> m_received;
};

} // namespace qm::fakes
