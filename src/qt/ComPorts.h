// Which operating-system serial device each of COM1 to COM4 names, and the serial devices of this machine.
#pragma once

#include "shell/SerialDevices.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::qt
{

/// A serial device found on this machine.
struct SerialDevice
{
    std::string path;
    std::string description;
    std::string manufacturer;
    /// USB vendor and product ids, when the device is a USB adapter that reports them.
    std::optional<int> vendorId;
    std::optional<int> productId;
};

/// Returns true when a sorts before b, runs of digits compared by their value (ttyUSB2 before ttyUSB10).
bool naturalLess(std::string_view a, std::string_view b);

/// Returns true for the device names of USB serial adapters (ttyUSB and ttyACM followed by a number).
bool isUsbAdapter(std::string_view path);

/// Returns the devices in the order COM1, COM2, ... take them: USB adapters first, then the others, each group
/// in natural order of the paths; a path found twice is kept once, with its fuller description.
std::vector<SerialDevice> inComOrder(std::vector<SerialDevice> devices);

class ComPorts
{
public:
    static constexpr int kCount = 4;
    /// Looks up an environment variable; nothing when it is not set.
    using Environment = std::function<std::optional<std::string>(const std::string& name)>;

    /// Names the ports from the devices given (in any order) and the environment.
    ComPorts(std::vector<SerialDevice> devices, Environment environment);

    /// Names the ports from the serial devices of this machine and the process environment.
    static ComPorts scan();

    /// Returns the device COMn opens: the path in QUELLMARK_COMn when it is set and not empty, else the n-th
    /// device found; empty when there is none (or n is not 1 to 4). On Windows the port named "COMn".
    std::string devicePath(int number) const;
    /// Returns true when COMn is named by its environment variable.
    bool namedByEnvironment(int number) const;
    /// Returns the serial devices found, in COM order.
    const std::vector<SerialDevice>& devices() const { return m_devices; }

private:
    std::vector<SerialDevice> m_devices;
    Environment m_environment;
};

/// Returns the device each of COM1 to COM4 opens with what it says it is (its description, else its
/// manufacturer); an empty path where a COM port has none.
std::array<shell::SerialDevice, ComPorts::kCount> comDevices(const ComPorts& ports);

/// This machine's serial devices, looked for afresh at each question.
class SystemSerialDevices : public shell::SerialDevices
{
public:
    std::array<shell::SerialDevice, 4> comPorts() override;
    std::vector<shell::SerialDevice> present() override;
};

/// Returns the name of the environment variable that names COMn ("QUELLMARK_COM1").
std::string comPortVariable(int number);

/// Returns the device COMn opens on this machine now, as ComPorts::scan() names it; the devices are looked for
/// only when the environment does not name it.
std::string currentDevicePath(int number);

/// Looks up the process environment.
ComPorts::Environment processEnvironment();

/// Returns the serial devices of this machine: the USB adapters in the device folder and the ports the
/// system's serial-port list reports, unordered.
std::vector<SerialDevice> findSerialDevices(const std::string& deviceFolder = "/dev");

} // namespace qm::qt
