// Every message of the mode checks, per mode: text bytes, title, icon, focus control and profile.
#include "validation/ModeChecks.h"

#include "validation/CheckWindows.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qm::validation
{
namespace
{

using forms::Icon;
using forms::Mode;
using forms::Windows;

const std::string kMyCallMissing = "Please enter a callsign in the 'My Call' field.";
const std::string kInvalidMySsid =
    "The SSID specified for 'My Call' is invalid.\r\n\r\nPlease enter an SSID between 1 and 15.";
const std::string kInvalidProfile4Ssid =
    "The SSID specified in Profile # 4 is invalid.\r\nPlease enter an SSID between 1 and 15.";
const std::string kInvalidProfile10Ssid =
    "The SSID specified in Profile # 10 is invalid.\r\nPlease enter an SSID between 1 and 15.";
const std::string kToCallMissing = "Please enter a callsign in the 'To Call' field.";
const std::string kInvalidToCallSsid =
    "The SSID specified in 'To Call' is invalid.\r\n\r\nPlease enter an SSID between 1 and 15.";
const std::string kToCallTooLong =
    "The callsign specified in 'To Call' is too long.\r\n\r\nCallsigns can contain a maximum of 6 "
    "characters (Not including the SSID).";
const std::string kPathsOutOfOrder =
    "The paths must be used in order, starting with Path 1.\r\n\r\nPlease re-select the paths.";
const std::string kNmeaPathsOutOfOrder =
    "The paths must be used in order, starting with Path 1.\r\n\r\nPlease re-select your paths.";
const std::string kInvalidSpecialPath3Ssid =
    "The SSID specified in 'Special Path 3' is invalid.\r\n\r\nPlease enter an SSID between 1 and 15.";
const std::string kSpecialPath2TooLong = "The callsign specified in 'Special Path 2' is too long.\r\n\r\nCallsigns can "
                                         "contain a maximum of 6 characters (Not including the SSID).";
const std::string kDataHeaderMissing = "You must specify at least one Data Header.\r\n";
const std::string kDataHeadersOutOfOrder =
    "The Data Headers must be used in order, starting with Data Header 1.\r\n\r\nPlease re-select "
    "the Data Headers.";
const std::string kDataHeader1TooLong =
    "Data Header 1 is too long.\r\n\r\nData Headers can contain no more than 6 characters.";
const std::string kDataHeader3TooLong =
    "Data Header 3 is too long.\r\n\r\nData Headers can contain no more than 6 characters.";
const std::string kTimerTooLong = "The Transmit Timer can be set to a maximum of 68 minutes.";
const std::string kTerminationOutOfRange = "The Termination Character must be in the range of 0 to 255.";
const std::string kTriggerMissing = "You must specify a value for the Trigger Character.";
const std::string kSendCountOutOfRange = "The 'Number of times to send' must be in the range of 0 to 255.";
const std::string kArmDelayOutOfRange = "The 'Arm Delay' must be in the range of 0 to 127 Seconds.";
const std::string kModeLockAlone =
    "You must have either 'Mic Encode' or 'Auto Mode' enabled when 'Mode Lock' is selected.";

struct MessageCase
{
    std::string name;
    Mode mode;
    std::function<void(Windows&)> breakRule;
    forms::MessageBox expected;
};

void PrintTo(const MessageCase& messageCase, std::ostream* out)
{
    *out << messageCase.name;
}

forms::MessageBox box(std::string title, std::string text, Icon icon, std::string focus,
                      std::optional<int> profile = std::nullopt)
{
    forms::MessageBox expected;
    expected.title = std::move(title);
    expected.text = std::move(text);
    expected.icon = icon;
    expected.buttons = forms::Buttons::Ok;
    expected.focus = std::move(focus);
    expected.profile = profile;
    return expected;
}

std::vector<MessageCase> sharedCases(Mode mode)
{
    const std::string p = prefixOf(mode);
    auto station = [mode](Windows& w) -> forms::StationControls& { return w.station(mode); };
    std::vector<MessageCase> cases{
        {p + "_M1", mode, [](Windows& w) { forms::setMyCall(w, "   "); },
         box("Invalid My Call", kMyCallMissing, Icon::None, p + "MyCall")},
        {p + "_M4", mode, [=](Windows& w) { station(w).ToCall.setText(""); },
         box("Invalid My Call", kToCallMissing, Icon::None, p + "ToCall")},
        {p + "_M5", mode, [=](Windows& w) { station(w).ToCall.setText("APRS-16"); },
         box("Invalid SSID", kInvalidToCallSsid, Icon::None, p + "ToCall")},
        {p + "_M6", mode, [=](Windows& w) { station(w).ToCall.setText("ABCDEFG"); },
         box("Invalid Callsign", kToCallTooLong, Icon::None, p + "ToCall")},
        {p + "_M8", mode, [=](Windows& w) { station(w).SpecPath[2].setText("WIDE3-20"); },
         box("Invalid SSID", kInvalidSpecialPath3Ssid, Icon::None, p + "SpecPath3")},
        {p + "_M9", mode, [=](Windows& w) { station(w).SpecPath[1].setText("ABCDEFG-1"); },
         box("Invalid Callsign", kSpecialPath2TooLong, Icon::None, p + "SpecPath2")},
    };
    if (hasProfiles(mode)) {
        const std::string ssid = p + "SSID";
        cases.push_back({p + "_M3", mode, [=](Windows& w) { storeOf(w, mode).entry(4).SSID = "16"; },
                         box("Invalid SSID", kInvalidProfile4Ssid, Icon::None, ssid, 4)});
        cases.push_back({p + "_M3_Profile10", mode, [=](Windows& w) { storeOf(w, mode).entry(10).SSID = "0"; },
                         box("Invalid SSID", kInvalidProfile10Ssid, Icon::None, ssid, 10)});
        cases.push_back({p + "_M13", mode, [=](Windows& w) { storeOf(w, mode).entry(10).TmrMin = "99"; },
                         box("Invalid Transmit Timer Setting", kTimerTooLong, Icon::Warning, p + "TmrMin", 10)});
        cases.push_back({p + (mode == Mode::Nmea ? "_M7n" : "_M7"), mode,
                         [=](Windows& w) {
                             storeOf(w, mode).entry(2).Path = {"0", "3", "0", "0"};
                         },
                         box("Invalid Paths", mode == Mode::Nmea ? kNmeaPathsOutOfOrder : kPathsOutOfOrder, Icon::None,
                             p + "Path1", 2)});
    } else {
        cases.push_back({p + "_M2", mode, [=](Windows& w) { station(w).SSID.setText("0"); },
                         box("Invalid SSID", kInvalidMySsid, Icon::None, p + "MySSID")});
        cases.push_back({p + "_M7", mode, [=](Windows& w) { station(w).Path[1].setListIndex(3); },
                         box("Invalid Paths", kPathsOutOfOrder, Icon::None, p + "Path1")});
        cases.push_back({p + "_M13", mode, [=](Windows& w) { station(w).TmrMin.setText("69"); },
                         box("Invalid Transmit Timer Setting", kTimerTooLong, Icon::Warning, p + "TmrMin")});
    }
    return cases;
}

std::vector<MessageCase> allCases()
{
    std::vector<MessageCase> cases;
    for (Mode mode : kModes)
        for (auto& messageCase : sharedCases(mode))
            cases.push_back(std::move(messageCase));
    const std::vector<MessageCase> own{
        {"Tel_M14", Mode::Telemetry,
         [](Windows& w) {
             w.telemetry.TelTxOn.setValue(forms::kUserDefined, true);
             w.telemetry.TelUserTrigChar.setText("256");
         },
         box("Invalid Termination Character", kTerminationOutOfRange, Icon::Warning, "TelUserTrigChar")},
        {"NMEA_M10", Mode::Nmea, [](Windows& w) { w.main.GpsString[0].setText(""); },
         box("Invalid Data Header", kDataHeaderMissing, Icon::None, "GpsString1")},
        {"NMEA_M11", Mode::Nmea, [](Windows& w) { w.main.GpsString[2].setText("$GPGGA"); },
         box("Invalid Data Header", kDataHeadersOutOfOrder, Icon::None, "GpsString1")},
        {"NMEA_M12", Mode::Nmea, [](Windows& w) { w.main.GpsString[0].setText("$GPRMCX"); },
         box("Invalid Data Header", kDataHeader1TooLong, Icon::None, "GpsString1")},
        {"NMEA_M12_Header3", Mode::Nmea,
         [](Windows& w) {
             w.main.GpsString[1].setText("$GPGGA");
             w.main.GpsString[2].setText("$GPGSA,");
         },
         box("Invalid Data Header", kDataHeader3TooLong, Icon::None, "GpsString3")},
        {"NMEA_M15", Mode::Nmea,
         [](Windows& w) {
             w.nmea.NMEATxOn.setValue(forms::kUserDefined, true);
             w.nmea.NMEAUserTrigChar.setText("");
         },
         box("Invalid Trigger Character", kTriggerMissing, Icon::Warning, "NMEAUserTrigChar")},
        {"NMEA_M14", Mode::Nmea,
         [](Windows& w) {
             w.nmea.NMEATxOn.setValue(forms::kUserDefined, true);
             w.nmea.NMEAUserTrigChar.setText("256");
         },
         box("Invalid Termination Character", kTerminationOutOfRange, Icon::Warning, "NMEAUserTrigChar")},
        {"Trk_M18", Mode::Tracking,
         [](Windows& w) {
             w.main.ModeLock.setValue(1);
             w.main.MicEncode.setValue(0);
         },
         box("Error", kModeLockAlone, Icon::Warning, "ModeLock")},
        {"Alm_M16", Mode::Alarm, [](Windows& w) { w.alarm.AlmTxCntrLimit.setText("256"); },
         box("Invalid Number of Times To Send Setting", kSendCountOutOfRange, Icon::Warning, "AlmTxCntrLimit")},
        {"Alm_M17", Mode::Alarm, [](Windows& w) { w.alarm.AlmArmDelay.setText("128"); },
         box("Invalid Arm Delay Setting", kArmDelayOutOfRange, Icon::Warning, "AlmArmDelay")},
    };
    cases.insert(cases.end(), own.begin(), own.end());
    return cases;
}

class ModeCheckMessageTest : public testing::TestWithParam<MessageCase>
{};

TEST_P(ModeCheckMessageTest, ShowsTheMessageOfTheBrokenRule)
{
    Windows windows = validWindows();
    GetParam().breakRule(windows);
    EXPECT_EQ(checkMode(GetParam().mode, windows), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(AllMessages, ModeCheckMessageTest, testing::ValuesIn(allCases()),
                         [](const testing::TestParamInfo<MessageCase>& param) { return param.param.name; });

TEST(ModeCheckTest, ValidWindowsPassEveryMode)
{
    for (Mode mode : kModes) {
        Windows windows = validWindows();
        EXPECT_EQ(checkMode(mode, windows), std::nullopt) << prefixOf(mode);
    }
}

} // namespace
} // namespace qm::validation
