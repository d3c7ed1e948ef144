// The messages of the whole-mode checks.
#include "validation/Messages.h"

namespace qm::validation
{

namespace
{

using forms::Icon;
using forms::messageBox;

constexpr const char* kLineBreak = "\r\n";
constexpr const char* kTwoLineBreaks = "\r\n\r\n";
constexpr const char* kSsidRange = "Please enter an SSID between 1 and 15.";
constexpr const char* kCallsignLimit = "Callsigns can contain a maximum of 6 characters (Not including the SSID).";
constexpr const char* kPathOrder = "The paths must be used in order, starting with Path 1.";

std::string join(const std::string& first, const char* breaks, const std::string& second)
{
    return first + breaks + second;
}

} // namespace

forms::MessageBox myCallMissing()
{
    return messageBox("Invalid My Call", "Please enter a callsign in the 'My Call' field.", Icon::None);
}

forms::MessageBox mySsidInvalid()
{
    return messageBox("Invalid SSID", join("The SSID specified for 'My Call' is invalid.", kTwoLineBreaks, kSsidRange),
                      Icon::None);
}

forms::MessageBox profileSsidInvalid(int profile)
{
    return messageBox(
        "Invalid SSID",
        join("The SSID specified in Profile # " + std::to_string(profile) + " is invalid.", kLineBreak, kSsidRange),
        Icon::None);
}

// The title repeats that of the My Call message.
forms::MessageBox toCallMissing()
{
    return messageBox("Invalid My Call", "Please enter a callsign in the 'To Call' field.", Icon::None);
}

forms::MessageBox toCallSsidInvalid()
{
    return messageBox("Invalid SSID", join("The SSID specified in 'To Call' is invalid.", kTwoLineBreaks, kSsidRange),
                      Icon::None);
}

forms::MessageBox toCallTooLong()
{
    return messageBox("Invalid Callsign",
                      join("The callsign specified in 'To Call' is too long.", kTwoLineBreaks, kCallsignLimit),
                      Icon::None);
}

forms::MessageBox pathsOutOfOrder()
{
    return messageBox("Invalid Paths", join(kPathOrder, kTwoLineBreaks, "Please re-select the paths."), Icon::None);
}

forms::MessageBox nmeaPathsOutOfOrder()
{
    return messageBox("Invalid Paths", join(kPathOrder, kTwoLineBreaks, "Please re-select your paths."), Icon::None);
}

forms::MessageBox specialPathSsidInvalid(int n)
{
    return messageBox(
        "Invalid SSID",
        join("The SSID specified in 'Special Path " + std::to_string(n) + "' is invalid.", kTwoLineBreaks, kSsidRange),
        Icon::None);
}

forms::MessageBox specialPathTooLong(int n)
{
    return messageBox("Invalid Callsign",
                      join("The callsign specified in 'Special Path " + std::to_string(n) + "' is too long.",
                           kTwoLineBreaks, kCallsignLimit),
                      Icon::None);
}

forms::MessageBox dataHeaderMissing()
{
    return messageBox("Invalid Data Header", std::string("You must specify at least one Data Header.") + kLineBreak,
                      Icon::None);
}

forms::MessageBox dataHeadersOutOfOrder()
{
    return messageBox("Invalid Data Header",
                      join("The Data Headers must be used in order, starting with Data Header 1.", kTwoLineBreaks,
                           "Please re-select the Data Headers."),
                      Icon::None);
}

forms::MessageBox dataHeaderTooLong(int n)
{
    return messageBox("Invalid Data Header",
                      join("Data Header " + std::to_string(n) + " is too long.", kTwoLineBreaks,
                           "Data Headers can contain no more than 6 characters."),
                      Icon::None);
}

forms::MessageBox timerTooLong()
{
    return messageBox("Invalid Transmit Timer Setting", "The Transmit Timer can be set to a maximum of 68 minutes.",
                      Icon::Warning);
}

forms::MessageBox terminationOutOfRange()
{
    return messageBox("Invalid Termination Character", "The Termination Character must be in the range of 0 to 255.",
                      Icon::Warning);
}

forms::MessageBox triggerMissing()
{
    return messageBox("Invalid Trigger Character", "You must specify a value for the Trigger Character.",
                      Icon::Warning);
}

forms::MessageBox sendCountOutOfRange()
{
    return messageBox("Invalid Number of Times To Send Setting",
                      "The 'Number of times to send' must be in the range of 0 to 255.", Icon::Warning);
}

forms::MessageBox armDelayOutOfRange()
{
    return messageBox("Invalid Arm Delay Setting", "The 'Arm Delay' must be in the range of 0 to 127 Seconds.",
                      Icon::Warning);
}

forms::MessageBox modeLockAlone()
{
    return messageBox("Error",
                      std::string("You must have either 'Mic Encode' or 'Auto Mode' enabled when 'Mode Lock'") +
                          " is selected.",
                      Icon::Warning);
}

forms::MessageBox focusedOn(forms::MessageBox box, const std::string& control, std::optional<int> profile)
{
    box.focus = control;
    box.profile = profile;
    return box;
}

} // namespace qm::validation
