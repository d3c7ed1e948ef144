// The serial-port port over QSerialPort: 4800 baud, 8 data bits, no parity, 1 stop bit, RTS off; notifications
// on the Qt event loop of the thread that made the port.
#pragma once

#include "link/SerialPort.h"

#include <QSerialPort>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace qm::qt
{

/// What is known about a failed open, gathered from QSerialPort and the system.
struct OpenFailure
{
    QSerialPort::SerialPortError error = QSerialPort::UnknownError;
    /// The system's error number of the failing call; 0 when the failure came from no system call.
    int systemError = 0;
    /// QSerialPort's description of the failure.
    std::string text;
    /// This user may not read and write the device.
    bool accessDenied = false;
    /// The group that owns the device; empty when unknown.
    std::string deviceGroup;
    /// The lock file another program holds on the device, and that program's process number (0 unknown).
    std::string lockFile;
    long lockOwner = 0;
};

/// Returns the port error a failed open of the device maps to: a missing device 8002, a device in use or locked
/// 8005, a device that is no serial port 8006, permission denied 8010 (marked so, with the device and the group
/// that owns it), ...; an unmapped failure carries the system's own error number. The reason is the system's text.
link::PortError portErrorFor(const OpenFailure& failure, const std::string& device = {});

class QtSerialPort : public link::SerialPort
{
public:
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
    bool isOpen() const override;
    void flushInput() override;
    void flushOutput() override;
    std::size_t bytesWaiting() const override;
    std::optional<char> takeByte() override;
    void send(std::string_view bytes) override;
    void notifyWhenSent() override;
    std::string deviceName() const override { return m_devicePath; }

    /// Returns the device the last open tried; empty before the first.
    const std::string& devicePath() const { return m_devicePath; }
    /// Returns the number of bytes sent that have not left yet: QSerialPort's queue and the driver's.
    std::size_t bytesToSend() const;

private:
    void onError(QSerialPort::SerialPortError error);
    void reportFailure(const link::PortError& failure);
    /// Takes the device for this program alone, whatever path names it; refuses it when another program has it.
    std::optional<link::PortError> lockDevice();
    void checkSent();
    OpenFailure describeOpenFailure() const;

    DeviceResolver m_resolver;
    std::unique_ptr<QSerialPort> m_port;
    /// Looks at the output queue while a notification that everything was sent is awaited.
    QTimer m_sentCheck;
    link::SerialPortListener* m_listener = nullptr;
    int m_commPort = 0;
    /// The device chosen by its path; "" opens the COM port's.
    std::string m_chosenDevice;
    std::string m_devicePath;
    bool m_opening = false;
    int m_openErrno = 0;
    bool m_closing = false;
    // Counts the opens and closes on purpose, so a failure reported late never reaches a later opening.
    unsigned m_generation = 0;
};

} // namespace qm::qt
