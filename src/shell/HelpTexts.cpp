// The texts the program shows about itself.
#include "shell/HelpTexts.h"

#include <array>

namespace qm::shell
{

namespace
{

const std::array<std::string, forms::kModeCount> kHelpTexts{
    // Telemetry
    "In Telemetry Mode the VQ-3 will store and transmit any data that is"
    " received on its serial port.  Transmission is triggered by reception"
    " of a \"Termination Character\" or by buffer overflow.  If the Transmit"
    " Timer is active (>0 sec), then transmissions are suspended until the"
    " timer interval has elapsed, at which time the next available data is"
    " transmitted.  The timer interval can be set to any value between one"
    " second and sixty eight minutes.  Any character (0-FF hex) can be"
    " processed in this mode.  The receive buffer length is 105 characters.",
    // Beacon
    "In Beacon Mode the VQ-3 transmits a user defined message"
    " (\"Beacon Text\") at an interval determined by the Transmit Timer."
    " The timer interval can be set to any value between one second and"
    " sixty eight minutes.  The Beacon Text length can be up to 76 characters long.",
    // NMEA
    "This mode was designed primarily for GPS tracking applications"
    " requiring complete NMEA sentences.  However, this mode is also"
    " suitable for any application where data must be searched for a"
    " known string (Data Header).  When the Data Header is recognized by"
    " the VQ-3, it begins to store data until either it detects a"
    " Termination Character or the receive buffer overflows.  The Data"
    " Header can be up to 6 characters in length.  The receive buffer"
    " length is 105 characters.  A transmit timer can be set so that"
    " data is sent at a user defined interval between one second and"
    " sixty eight minutes.  This mode supports 10 programmable Profiles."
    " See the Profiles Help topic for details.",
    // Tracking ("\xE2\x80\x99" is the typographic apostrophe in UTF-8)
    "This mode was designed for GPS tracking applications where shorter"
    " packets are required.  In this mode the critical data is extracted"
    " from a $GPRMC NMEA string.  This data is then combined with"
    " user-defined information to form the packet.  Transmission of the"
    " packet can be triggered by release of a microphone PTT button (Mic"
    " Encode) or by a transmit timer (Auto mode).  This mode can be"
    " configured by the user to transmit APRS(r) compatible packets.  This"
    " mode allows the user to configure up to ten different \"Profiles\","
    " each with it\xE2\x80\x99s own SSID, Path, Symbol, Transmit Timer Interval,"
    " TX Delay and Tail Delay.  See Profiles Help topic for further information.",
    // Alarm
    "This mode was designed for remote monitoring of alarm circuitry.  In"
    " this mode the VQ-3 continuously monitors four alarm inputs.  If the"
    " state (High/Low) of any input changes, then the alarm is activated."
    " Alarm activation causes a user-defined packet to be sent identifying"
    " the alarm condition.  If multiple inputs have triggered, then"
    " multiple messages will be sent.  Alarm packets are sent a specified"
    " number of times and at a programmed interval.   After transmission"
    " is complete, the VQ-3 will reset the alarm status based on the"
    " current state of the alarm inputs.  If the condition that initiated"
    " the alarm still persists, then the alarm will still be reset using"
    " the current set of conditions ( i.e.:  the alarm will not be"
    " triggered again unless the door that was opened later closes!)",
};

struct OptionTips
{
    std::string_view name;
    const char* unticked;
    const char* ticked;
};

constexpr OptionTips kOptionTips[] = {
    {"ModeLock", "Click to lock out use of the Mode button.", "Click to enable use of the Mode button."},
    {"LEDDisable", "Click to turn Off the VQ-3's status lights.", "Click to turn On the VQ-3's status lights."},
    {"AutoMode", "Click to turn Auto Mode On.", "Click to turn Auto Mode Off."},
    {"MicEncode", "Click to turn On Mic Encoding.", "Click to turn Off Mic Encoding."},
};

} // namespace

const std::string& modeHelpText(forms::Mode mode)
{
    return kHelpTexts[forms::modeIndex(mode)];
}

std::string optionToolTip(std::string_view checkBox, bool ticked)
{
    for (const auto& tips : kOptionTips)
        if (tips.name == checkBox)
            return ticked ? tips.ticked : tips.unticked;
    return {};
}

std::string statusToolTip(std::string_view caption)
{
    if (caption == "Connected")
        return "VQ-3 Connected.";
    if (caption == "Disconnected")
        return "VQ-3 Disconnected.";
    return {};
}

} // namespace qm::shell
