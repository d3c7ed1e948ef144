// The link's message boxes.
#include "link/LinkMessages.h"

#include "link/SerialPort.h"

#include <string>

namespace qm::link
{

namespace
{

constexpr const char* kCommunicationsError = "Communications Error";
constexpr const char* kCloseProgramsTryAgain = " Please close all communications programs and try again.";

struct PortErrorText
{
    int number;
    const char* title;
    const char* sentence;
    const char* advice;
};

constexpr PortErrorText kPortErrorTexts[] = {
    {port_error::kInvalidPortNumber, "Error# 8002: Invalid Port Number", " is invalid - The port does not exist.",
     " Please select a different port."},
    {port_error::kPortAlreadyOpen, "Error# 8005: Port Already Open", " is in use by another program or device.",
     " Make sure all communications programs are closed and try again."},
    {port_error::kInvalidOrUnsupported, "Error# 8006: Invalid or Unsupported Port", " is invalid or unsupported.",
     " Please select a different port."},
    {port_error::kHardwareNotAvailable, "Error# 8010: Hardware Not Available",
     " is invalid or is in use by another device.", kCloseProgramsTryAgain},
    {port_error::kDeviceNotOpen, "Error# 8012: Device Not Open", " is invalid or is in use by another device.",
     kCloseProgramsTryAgain},
    {port_error::kDeviceBusy, "Error# 8019: Device Busy", " is in use by another device.", kCloseProgramsTryAgain},
    {port_error::kErrorReading, "Error# 8020: Error Reading Com Device",
     " is invalid or may be in use by another device.", kCloseProgramsTryAgain},
};

} // namespace

std::string chosenPortName(int comPortNumber, const std::string& device)
{
    return device.empty() ? "COM" + std::to_string(comPortNumber) : device;
}

forms::MessageBox portErrorBox(int errorNumber, const std::string& port)
{
    for (const auto& entry : kPortErrorTexts) {
        if (entry.number == errorNumber) {
            return forms::messageBox(entry.title, "Serial port " + port + entry.sentence + entry.advice,
                                     forms::Icon::Warning);
        }
    }
    return forms::messageBox("Unexpected Error",
                             "Unexpected error # " + std::to_string(errorNumber) +
                                 " occured while accessing serial port " + port + ".",
                             forms::Icon::Warning);
}

forms::MessageBox permissionDeniedBox(const std::string& device, const std::string& deviceGroup)
{
    std::string text = "Permission to open the serial device " + device + " was denied.\r\n\r\n";
    if (deviceGroup.empty() || deviceGroup == "root") {
        text += "Ask the administrator of this computer for read and write access to " + device + ".";
    } else {
        text += "Members of the group \"" + deviceGroup +
                "\" may use it. Add your user to that group, for example "
                "with the command\r\n\r\n    sudo adduser $USER " +
                deviceGroup +
                "\r\n\r\nthen log out and log in again (or restart the computer) so that the membership takes "
                "effect.";
    }
    return forms::messageBox("Permission Denied", text, forms::Icon::Warning);
}

forms::MessageBox portFailureBox(const PortError& error, const std::string& port)
{
    auto box = error.permissionDenied ? permissionDeniedBox(error.device, error.deviceGroup)
                                      : portErrorBox(error.number, port);
    box.details = error.reason;
    return box;
}

forms::MessageBox serialPortSelectionBox()
{
    return forms::messageBox("Serial Port Selection",
                             "Please select the serial port that the VQ-3 is attached to.\r\n\r"
                             "To do this, click on the 'Setup' menu at the top of the screen."
                             " Then, click on 'Serial Port' and select the serial port that you are"
                             " using.\r\n\r",
                             forms::Icon::Warning);
}

forms::MessageBox readTimeOutBox()
{
    return forms::messageBox(kCommunicationsError,
                             "A communications error occured while reading from the VQ-3.\r\n\r"
                             "Check your power and serial cable connections, and then cycle power to"
                             " VQ-3 and try again.\r\n\r"
                             "If this error occurs without the VQ-3 connected to the serial port, then"
                             " you have selected a serial port that is connected to a"
                             " telephone modem or other device. Check the serial port and then try again.",
                             forms::Icon::Critical);
}

forms::MessageBox badReplyBox()
{
    return forms::messageBox(kCommunicationsError,
                             "A communications error occured while reading from the VQ-3.\r\n"
                             "Please cycle power to the VQ-3 and then restart this program.",
                             forms::Icon::None);
}

forms::MessageBox oldFirmwareBox(int minFirmwareVersion, int firmwareVersion)
{
    // The line breaks of this text are LF CR, in that order.
    return forms::messageBox("Warning",
                             "This version of the Quellmark Configuration program is designed"
                             " to work with VQ-3 / VQ-3+ units containing firmware version " +
                                 std::to_string(minFirmwareVersion) +
                                 ".0 or newer. Your VQ-3 contains firmware version " + std::to_string(firmwareVersion) +
                                 ".0 .\n\r\n\r"
                                 "You may get unexpected results if you use this software.  We recommend"
                                 " that you use the software that was supplied with your VQ-3, or upgrade"
                                 " your VQ-3's firmware.\n\r\n\r",
                             forms::Icon::Warning);
}

forms::MessageBox echoMismatchBox()
{
    return forms::messageBox(kCommunicationsError,
                             "A communications error occured while writing to the VQ-3.\r\n"
                             "Check the power and serial cable connections, and then cycle"
                             " power to the VQ-3 and try again.",
                             forms::Icon::Critical);
}

forms::MessageBox writeTimeOutBox()
{
    return forms::messageBox(kCommunicationsError,
                             "A communications error occured while writing to the VQ-3.\r\n\r"
                             "Check your power and serial cable connections, and then cycle power to"
                             " VQ-3 and try again.\r\n\r",
                             forms::Icon::Critical);
}

forms::MessageBox downloadCompleteBox()
{
    return forms::messageBox("Download Complete",
                             std::string(11, ' ') + "- Download Complete -" + std::string(10, ' ') +
                                 "\r\n\n Click 'Disconnect' before unplugging the VQ-3.",
                             forms::Icon::Information);
}

forms::MessageBox readBackFailedBox()
{
    return forms::messageBox("Write Not Verified",
                             "The configuration was written to the VQ-3, but reading it back to check it failed, so "
                             "it is not known what the unit stored.\r\n\r\nCheck the power and serial cable "
                             "connections, and then read the VQ-3 to see what it holds.",
                             forms::Icon::Critical);
}

forms::MessageBox writeNotVerifiedBox(const std::string& field, const std::string& backup)
{
    const std::string kept = backup.empty() ? "No copy of the configuration it held before this write was kept."
                                            : "The configuration it held before this write is kept in " + backup + ".";
    return forms::messageBox("Write Not Verified",
                             "The VQ-3 did not store the configuration as it was written. Read back, it differs "
                             "first in " +
                                 field + ".\r\n\r\n" + kept +
                                 "\r\n\r\nCheck the power and serial cable connections, and then write again.",
                             forms::Icon::Critical);
}

} // namespace qm::link
