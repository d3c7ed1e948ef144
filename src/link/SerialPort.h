// The serial-port port: what the link needs of the line to the unit. The desktop program and vq3 implement it
// with QSerialPort; tests use a fake port that records every byte sent.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace qm::link
{

/// A failed port operation under the serial control's error numbers (8002 invalid port number, 8005 port
/// already open, 8010 hardware not available, ...) or the system's own number, with the system's reason.
struct PortError
{
    PortError() = default;
    PortError(int errorNumber, std::string systemReason) : number(errorNumber), reason(std::move(systemReason)) {}

    /// The system refused this user the device (error 8010).
    static PortError permissionRefused(std::string reason, std::string device, std::string deviceGroup)
    {
        PortError error(8010, std::move(reason));
        error.device = std::move(device);
        error.permissionDenied = true;
        error.deviceGroup = std::move(deviceGroup);
        return error;
    }

    int number = 0;
    std::string reason;
    /// The device the open was refused for (set with permissionDenied).
    std::string device;
    /// The system refused this user access to the device: the box names the device and the remedy.
    bool permissionDenied = false;
    /// The group that owns the device ("" when unknown).
    std::string deviceGroup;

    bool operator==(const PortError&) const = default;
};

/// Serial-port error numbers.
namespace port_error
{
inline constexpr int kInvalidPortNumber = 8002;
inline constexpr int kPortAlreadyOpen = 8005;
inline constexpr int kInvalidOrUnsupported = 8006;
inline constexpr int kHardwareNotAvailable = 8010;
inline constexpr int kDeviceNotOpen = 8012;
inline constexpr int kDeviceBusy = 8019;
inline constexpr int kErrorReading = 8020;
} // namespace port_error

/// Receives the port's notifications, on the event thread.
class SerialPortListener
{
public:
    virtual ~SerialPortListener() = default;

    /// Received bytes are waiting (one notification may stand for several bytes).
    virtual void dataArrived() = 0;
    /// The open port failed (the device went away, a read or write error): the port is closed already.
    virtual void portFailed(const PortError& error) = 0;
    /// Everything sent before the last notifyWhenSent() has left the port.
    virtual void allSent() = 0;
};

class SerialPort
{
public:
    virtual ~SerialPort() = default;

    virtual void setListener(SerialPortListener* listener) = 0;
    /// Chooses COM1 to COM4 for the next open.
    virtual void setCommPort(int number) = 0;
    /// Chooses a device by its path for the next open, in place of the COM port's ("" for the COM port's).
    virtual void setDevice(const std::string& path) = 0;
    /// Opens the chosen port at 4800 baud, 8 data bits, no parity, 1 stop bit, RTS off.
    virtual std::optional<PortError> open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    /// Discards received bytes not yet taken.
    virtual void flushInput() = 0;
    /// Discards bytes not yet sent.
    virtual void flushOutput() = 0;
    /// Returns the number of received bytes waiting.
    virtual std::size_t bytesWaiting() const = 0;
    /// Takes one received byte; nothing when none is waiting.
    virtual std::optional<char> takeByte() = 0;
    /// Sends bytes (codes 0 to 255).
    virtual void send(std::string_view bytes) = 0;
    /// Asks for one allSent() notification once every byte sent so far has left the port: out of the program's
    /// queue and out of the driver's, onto the line. It comes from the event loop, never inside this call.
    virtual void notifyWhenSent() = 0;
    /// Returns the device the port opens or last opened, as the user named it ("" before the first open).
    virtual std::string deviceName() const = 0;
};

} // namespace qm::link
