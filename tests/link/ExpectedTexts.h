// The texts of the link's failure boxes and the abort burst, as the user and the unit see them.
#pragma once

#include <string>

namespace qm::link
{

inline const std::string kReadTimeOutText =
    "A communications error occured while reading from the VQ-3.\r\n\r"
    "Check your power and serial cable connections, and then cycle power to VQ-3 and try again.\r\n\r"
    "If this error occurs without the VQ-3 connected to the serial port, then you have selected a serial port that "
    "is connected to a telephone modem or other device. Check the serial port and then try again.";

inline const std::string kBadReplyText = "A communications error occured while reading from the VQ-3.\r\n"
                                         "Please cycle power to the VQ-3 and then restart this program.";

inline const std::string kOldFirmwareText =
    "This version of the Quellmark Configuration program is designed to work with VQ-3 / VQ-3+ units containing "
    "firmware version 1.0 or newer. Your VQ-3 contains firmware version 0.0 .\n\r\n\r"
    "You may get unexpected results if you use this software.  We recommend that you use the software that was "
    "supplied with your VQ-3, or upgrade your VQ-3's firmware.\n\r\n\r";

inline const std::string kAbortBurst = std::string(128, '\0') + "E";

inline const std::string kMismatchText =
    "A communications error occured while writing to the VQ-3.\r\n"
    "Check the power and serial cable connections, and then cycle power to the VQ-3 "
    "and try again.";

inline const std::string kWriteTimeOutText =
    "A communications error occured while writing to the VQ-3.\r\n\r"
    "Check your power and serial cable connections, and then cycle power to VQ-3 and try again.\r\n\r";

inline const std::string kCompleteText =
    "           - Download Complete -          \r\n\n Click 'Disconnect' before unplugging the VQ-3.";

} // namespace qm::link
