// The serial-port port on the device's own descriptor, watched from the Qt event loop of the thread that made the
// port: 4800 baud, 8 data bits, no parity, 1 stop bit, RTS off. The device is taken for this program alone (an
// exclusive flock and the terminal's exclusive mode, which is cleared again before every close); what arrives is
// kept up to a bound and the rest discarded.
#pragma once

#include "link/SerialPort.h"

#include <QObject>
#include <QTimer>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QSocketNotifier;

namespace qm::qt
{

/// What is known about a failed open, gathered from the system.
struct OpenFailure
{
    /// The system's error number of the failing call; 0 when the failure came from no system call.
    int systemError = 0;
    /// The system's description of the failure.
    std::string text;
    /// This user may not read and write the device.
    bool accessDenied = false;
    /// The group that owns the device; empty when unknown.
    std::string deviceGroup;
    /// The lock file of the device's user that names a running program, and that program's process number.
    std::string lockFile;
    long lockOwner = 0;
    /// Another program holds the device's lock.
    bool heldLocked = false;
    /// The device is in exclusive mode while no program holds its lock: a program that ended left the mode set.
    bool exclusiveLeftOver = false;
};

/// Returns the port error a failed open of the device maps to: a missing device 8002, a device in use or locked
/// 8005, a device that is no serial port 8006, permission denied 8010 (marked so, with the device and the group
/// that owns it), ...; an unmapped failure carries the system's own error number. The reason is the system's text.
link::PortError portErrorFor(const OpenFailure& failure, const std::string& device = {});

class QtSerialPort : public link::SerialPort
{
public:
    /// Received bytes kept while nothing takes them: a reply (131 bytes) and room to spare. Beyond it a device
    /// that floods the line is read and discarded, so memory stays flat.
    static constexpr std::size_t kReceiveLimit = 256;

    /// Returns the device to open for COM1 to COM4 (empty when none).
    using DeviceResolver = std::function<std::string(int number)>;

    /// Opens the device ComPorts names for the chosen COM number, looked up afresh at each open.
    QtSerialPort();
    explicit QtSerialPort(DeviceResolver resolver);
    QtSerialPort(const QtSerialPort&) = delete;
    QtSerialPort& operator=(const QtSerialPort&) = delete;
    ~QtSerialPort() override;

    void setListener(link::SerialPortListener* listener) override;
    void setCommPort(int number) override;
    void setDevice(const std::string& path) override;
    std::optional<link::PortError> open() override;
    void close() override;
    bool isOpen() const override { return m_fd >= 0; }
    void flushInput() override;
    void flushOutput() override;
    std::size_t bytesWaiting() const override { return m_received.size() - m_taken; }
    std::optional<char> takeByte() override;
    void send(std::string_view bytes) override;
    void notifyWhenSent() override;
    std::string deviceName() const override { return m_devicePath; }

    /// Returns the device the last open tried; empty before the first.
    const std::string& devicePath() const { return m_devicePath; }
    /// Returns the number of bytes sent that have not left yet: the port's own queue and the driver's.
    std::size_t bytesToSend() const;

private:
    /// Opens the device at the path; on success the descriptor is the port's.
    std::optional<link::PortError> openDevice(const std::string& path);
    /// Takes the device for this program alone and sets the line; refuses it when another program has it.
    std::optional<link::PortError> takeDevice(int fd);
    /// Clears the exclusive mode this port set and closes the descriptor.
    void release();
    void readDevice();
    void writeQueued();
    /// Keeps what arrived, up to the limit.
    void keep(const char* bytes, std::size_t count);
    /// Closes the port after a failure of the open device and reports it from the event loop.
    void failed(const link::PortError& failure);
    void checkSent();

    DeviceResolver m_resolver;
    int m_fd = -1;
    /// The port set the terminal's exclusive mode, so it clears it again before closing.
    bool m_exclusive = false;
    /// Watch the open descriptor; children of m_reports.
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
    /// Received bytes from m_taken on are waiting.
    std::string m_received;
    std::size_t m_taken = 0;
    /// Bytes sent that the device has not taken yet.
    std::string m_queued;
    /// Looks at the output queue while a notification that everything was sent is awaited.
    QTimer m_sentCheck;
    /// The context of the failure reports delivered from the event loop.
    QObject m_reports;
    link::SerialPortListener* m_listener = nullptr;
    int m_commPort = 0;
    /// The device chosen by its path; "" opens the COM port's.
    std::string m_chosenDevice;
    std::string m_devicePath;
    // Counts the opens and closes, so a failure reported late never reaches a later opening.
    unsigned m_generation = 0;
};

} // namespace qm::qt
