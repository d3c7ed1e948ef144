// The serial devices behind COM1 to COM4 as the user sees them: in the Setup menu, in the first-run port prompt
// and in vq3 ports. The toolkit finds the devices; the wording is decided here.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace qm::shell
{

/// A serial device: its path and what it says it is (UTF-8; either may be empty).
struct SerialDevice
{
    std::string path;
    std::string description;

    bool operator==(const SerialDevice&) const = default;
};

/// The port to this machine's serial devices.
class SerialDevices
{
public:
    virtual ~SerialDevices() = default;
    /// Returns the devices COM1 to COM4 open now (an empty path where a COM port has none).
    virtual std::array<SerialDevice, 4> comPorts() = 0;
    /// Returns the serial devices present now, in the order COM ports take them.
    virtual std::vector<SerialDevice> present() = 0;
};

/// Returns the line for COMn: "COM1  /dev/ttyUSB0 — FT232R USB UART", "COM1  /dev/ttyS0" without a description,
/// "COM1  (no device)" without a device.
std::string comPortLine(int n, const SerialDevice& device);

/// Returns a device's line without a COM port: "/dev/ttyUSB0 — FT232R USB UART", or the path alone.
std::string deviceLine(const SerialDevice& device);

/// Returns the Setup menu's caption for COMn: its line, the digit marked as the item's access key.
std::string comMenuCaption(int n, const SerialDevice& device);

/// Returns the lines of COM1 to COM4 for a message box, in its single-byte characters: the dash as "-", a
/// character it cannot show as "?"; each line ends with CR LF.
std::string comPortListing(const std::array<SerialDevice, 4>& ports);

/// Returns the UTF-8 text in single-byte characters (Latin-1): what Latin-1 lacks becomes "?".
std::string utf8ToLatin1(const std::string& text);

} // namespace qm::shell
