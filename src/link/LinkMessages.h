// The link's message boxes: the port errors, the serial-port prompt, and the read and write failures.
#pragma once

#include "forms/MessageBox.h"
#include "link/SerialPort.h"

#include <string>

namespace qm::link
{

/// Returns the name the port's messages and the caption give the port tried: "COM3", or the device chosen by its
/// path in place of a COM port's.
std::string chosenPortName(int comPortNumber, const std::string& device);
/// The box for a port that failed to open, naming it as chosenPortName does: the error's own title and text for the
/// known numbers, the "Unexpected Error" box with the number otherwise.
forms::MessageBox portErrorBox(int errorNumber, const std::string& port);
/// The system refused this user the device: names the device and how to get access (membership of the group that
/// owns it, then a new login; the administrator when no such group is known).
forms::MessageBox permissionDeniedBox(const std::string& device, const std::string& deviceGroup);
/// The box for a port that failed to open with this error: the permission box for a refused permission, else the
/// error's own box; the system's reason below it.
forms::MessageBox portFailureBox(const PortError& error, const std::string& port);
/// Tells the user to choose the serial port from the Setup menu.
forms::MessageBox serialPortSelectionBox();
/// A read that did not get its 131 bytes in time.
forms::MessageBox readTimeOutBox();
/// A reply that does not begin with "U".
forms::MessageBox badReplyBox();
/// The unit's firmware is older than the program expects.
forms::MessageBox oldFirmwareBox(int minFirmwareVersion, int firmwareVersion);
/// An echo differed from the byte written.
forms::MessageBox echoMismatchBox();
/// A write that did not get its 129 echoes in time.
forms::MessageBox writeTimeOutBox();
/// The whole image was written and echoed, but reading it back to compare failed (no reply in time, a reply of
/// noise, the port gone): what the unit stored is not known.
forms::MessageBox readBackFailedBox();
/// The whole image was written and echoed (and read back alike when asked).
forms::MessageBox downloadCompleteBox();
/// The unit read back other bytes than it echoed: the first field that differs (with both values) and where
/// the configuration it held before is kept ("" when nowhere).
forms::MessageBox writeNotVerifiedBox(const std::string& field, const std::string& backup);

} // namespace qm::link
