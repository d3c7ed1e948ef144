// The field rules: what a field takes while the user types, and what the check of a mode refuses, in which order,
// with the focus on which field and, for a stored profile, with that profile on show.
#include "validation/FieldRules.h"
#include "validation/Messages.h"
#include "validation/ModeChecks.h"

#include "validation/CheckWindows.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace qm::validation
{
namespace
{

using enum forms::Mode;
using forms::Windows;

TEST(FieldRulesTest, KeysAreFilteredAndEmptySpecialPathsSendTheUserToTheirField)
{
    // The control, the key, the character entered, and Telemetry's and NMEA's termination options (CR, LF, User).
    // clang-format off
    const std::tuple<const char*, char32_t, std::optional<char>, const char*> rows[] = {
        {"TrkMyCall", U'a', 'A', "CL"}, {"AlmToCall", U'z', 'Z', "CL"}, {"BcnSpecPath4", U'~', '~', "CL"},
        {"TelSpecPath1", U'\t', std::nullopt, "CL"}, {"TelSpecPath3", U' ', ' ', "CL"},
        {"AlmToCall", U'\u00E9', std::nullopt, "CL"}, {"BcnToCall", U'\b', '\b', "CL"},
        {"NMEAMyCall", U'\x7F', '\x7F', "CL"}, {"TelMySSID", U'x', std::nullopt, "CL"},
        {"NMEASSID", U'-', std::nullopt, "CL"}, {"TrkSSID", U'9', '9', "CL"}, {"BcnTmrMin", U' ', ' ', "CL"},
        {"NMEATmrSec", U'0', '0', "CL"}, {"AlmTxCntrLimit", U'\u0660', std::nullopt, "CL"},
        {"AlmArmDelay", U'a', std::nullopt, "CL"}, {"BcnMsgText", U'\u00FF', '\xFF', "CL"},
        {"TrkSymbol", U'\u0100', std::nullopt, "CL"}, {"GpsString1", U'a', 'a', "CL"},
        {"TelUserTrigChar", U'7', '7', "UL"}, {"NMEAUserTrigChar", U'0', '0', "CU"},
        {"TelUserTrigChar", U'\b', '\b', "CL"}, {"NMEAUserTrigChar", U'x', std::nullopt, "CL"},
        {"TelTmrMin", U'7', '7', "CL"}};
    // clang-format on
    for (const auto& [control, key, entered, options] : rows) {
        Windows w = validWindows();
        set(w, "NMEATxOnLFEnable=1");
        EXPECT_EQ(keyTyped(w, control, key), entered) << control << " " << static_cast<unsigned>(key);
        const auto selected = [](const forms::OptionGroup& group) { return "CLU"[group.selected()]; };
        EXPECT_EQ(std::string({selected(w.telemetry.TelTxOn), selected(w.nmea.NMEATxOn)}), options) << control;
    }
    // Choosing an empty special path in a path selector sends the user to its field.
    Windows w = validWindows();
    set(w, "TelSpecPath2=WIDE3;TelPath1=3;TelPath2=5;TelPath3=6;TelPath4=8");
    forms::StationControls& s = w.telemetry.station;
    EXPECT_EQ((std::vector{pathChosen(s, 1), pathChosen(s, 2), pathChosen(s, 3), pathChosen(s, 4)}),
              (std::vector<std::optional<std::string>>{std::nullopt, "TelSpecPath1", std::nullopt, "TelSpecPath4"}));
    EXPECT_EQ((std::vector{s.Path[0].listIndex(), s.Path[1].listIndex(), s.Path[2].listIndex(), s.Path[3].listIndex()}),
              (std::vector{3, 0, 6, 0}));
}

using Step = std::tuple<std::string, std::string, std::optional<int>>;

/// The rules of a mode in the order its check runs them: what breaks each, the focus and the profile at fault.
std::vector<Step> stepsOf(forms::Mode mode)
{
    const std::string p = prefixOf(mode);
    const bool stored = hasProfiles(mode);
    std::vector<Step> steps{{p + "MyCall=", p + "MyCall", {}},
                            stored ? Step{p + ".6.SSID=20", p + "SSID", 6} : Step{p + "MySSID=16", p + "MySSID", {}},
                            {p + "ToCall=APRS-0", p + "ToCall", {}},
                            stored ? Step{p + ".3.Path3=2", p + "Path1", 3} : Step{p + "Path4=1", p + "Path1", {}},
                            {p + "SpecPath4=WIDEWIDE", p + "SpecPath4", {}}};
    if (mode == Nmea)
        steps.push_back({"GpsString1=;GpsString3=$GPGGA", "GpsString1", {}});
    steps.push_back(stored ? Step{p + ".1.TmrSec=4081", p + "TmrMin", 1}
                           : Step{p + "TmrMin=68;" + p + "TmrSec=1", p + "TmrMin", {}});
    if (mode == Telemetry)
        steps.push_back({"TelTxOnUserEnable=1;TelUserTrigChar=300", "TelUserTrigChar", {}});
    if (mode == Nmea)
        steps.push_back({"NMEATxOnUserEnable=1;NMEAUserTrigChar=", "NMEAUserTrigChar", {}});
    if (mode == Tracking)
        steps.push_back({"ModeLock=1;MicEncode=0", "ModeLock", {}});
    if (mode == Alarm)
        steps.insert(steps.end(),
                     {{"AlmTxCntrLimit=999", "AlmTxCntrLimit", {}}, {"AlmArmDelay=200", "AlmArmDelay", {}}});
    return steps;
}

TEST(ModeChecksTest, TheFirstBrokenRuleInTheModesOrderIsReported)
{
    for (const forms::Mode mode : kModes) {
        const std::vector<Step> steps = stepsOf(mode);
        for (std::size_t first = 0; first < steps.size(); ++first) {
            Windows w = validWindows();
            for (std::size_t step = first; step < steps.size(); ++step)
                set(w, std::get<0>(steps[step]));
            const CheckResult result = checkMode(mode, w);
            ASSERT_TRUE(result) << prefixOf(mode) << " from step " << first;
            EXPECT_EQ(Step(std::get<0>(steps[first]), result->focus, result->profile), steps[first]);
        }
    }
}

/// The settings, the field the check sends the user to (none: it passes) and message, a field rewritten and its text.
struct Edge
{
    forms::Mode mode;
    std::string settings;
    std::string focus;
    forms::MessageBox (*message)() = nullptr;
    const char* field = nullptr;
    const char* text = nullptr;
};

TEST(ModeChecksTest, EachRuleAtItsEdges)
{
    // clang-format off
    const Edge edges[] = {
        {Beacon, "BcnMySSID=  ", "", nullptr, "BcnMySSID", ""},
        {Telemetry, "TelMySSID= ", "", nullptr, "TelMySSID", ""}, {Beacon, "BcnMySSID=15", ""},
        {Alarm, "AlmMySSID= ", "AlmMySSID", nullptr, "AlmMySSID", " "}, {Beacon, "BcnMySSID= 0", "BcnMySSID"},
        {Beacon, "BcnMySSID=  ;BcnToCall=", "BcnToCall", nullptr, "BcnMySSID", ""}, {Nmea, "NMEA.5.SSID= ", "NMEASSID"},
        {Tracking, "Trk.5.SSID= ", ""}, {Tracking, "Trk.5.SSID= 16 ", "TrkSSID"}, {Beacon, "BcnToCall= aprs-15 ", ""},
        {Beacon, "BcnToCall=ABCDEF-1", ""}, {Beacon, "BcnToCall=WIDE-1-1", ""},
        {Beacon, "BcnToCall=APRS-", "BcnToCall", toCallSsidInvalid},
        {Beacon, "BcnToCall=ABCDEFG", "BcnToCall", toCallTooLong}, {Alarm, "AlmToCall=   ", "AlmToCall", toCallMissing},
        {Alarm, "AlmToCall=ABCDEFG-16", "AlmToCall", toCallSsidInvalid},
        {Alarm, "AlmToCall=ABCDEFG-15", "AlmToCall", toCallTooLong}, {Telemetry, "TelSpecPath2=   ", ""},
        {Tracking, "TrkSpecPath4=WIDE-16;TrkSpecPath2=ABCDEFG", "TrkSpecPath2"},
        {Alarm, "AlmPath1=3;AlmPath2=2;AlmPath3=1;AlmPath4=5", ""}, {Alarm, "AlmPath1=3;AlmPath2=-1", ""},
        {Alarm, "AlmPath1=3;AlmPath2=2;AlmPath4=4", "AlmPath1"}, {Alarm, "AlmPath1=-1;AlmPath2=3", "AlmPath1"},
        {Tracking, "Trk.8.Path1=3;Trk.8.Path3=2", "TrkPath1"}, {Beacon, "BcnTmrMin=68;BcnTmrSec=0", ""},
        {Beacon, "BcnTmrMin=67;BcnTmrSec=60", ""}, {Beacon, "BcnTmrMin=67;BcnTmrSec=61", "BcnTmrMin"},
        {Nmea, "NMEA.9.TmrMin=67;NMEA.9.TmrSec=61", "NMEATmrMin"},
        {Telemetry, "TelTmrMin=;TelTmrSec=5", "", nullptr, "TelTmrMin", "0"},
        {Telemetry, "TelTmrMin=3;TelTmrSec=  ", "", nullptr, "TelTmrSec", "0"},
        {Telemetry, "TelTmrMin= 3", "", nullptr, "TelTmrMin", " 3"},
        {Telemetry, "TelTmrSec= ;TelTxOnUserEnable=1;TelUserTrigChar=256", "TelUserTrigChar", {}, "TelTmrSec", "0"},
        {Telemetry, "TelTmrMin=99;TelTmrSec=", "TelTmrMin", nullptr, "TelTmrSec", ""},
        {Telemetry, "TelTxOnUserEnable=1;TelUserTrigChar=255", ""}, {Nmea, "NMEATxOnLFEnable=1;NMEAUserTrigChar=", ""},
        {Telemetry, "TelTxOnLFEnable=1;TelUserTrigChar=999", ""},
        {Nmea, "NMEATxOnUserEnable=1;NMEAUserTrigChar=256", "NMEAUserTrigChar", terminationOutOfRange},
        {Nmea, "GpsString2=$GPGGA;GpsString3=$GPGSA", ""}, {Nmea, "GpsString1=$GP;GpsString2= ", ""},
        {Nmea, "GpsString1=", "GpsString1", dataHeaderMissing},
        {Nmea, "GpsString3=$GP", "GpsString1", dataHeadersOutOfOrder},
        {Nmea, "GpsString1=;GpsString2=$GPGGA", "GpsString1", dataHeadersOutOfOrder},
        {Nmea, "GpsString1=$GPRMCX;GpsString3=$GPGGA", "GpsString1", dataHeadersOutOfOrder},
        {Nmea, "GpsString2= $GPGGA", "GpsString2", [] { return dataHeaderTooLong(2); }},
        {Tracking, "ModeLock=1;MicEncode=0;AutoMode=1", ""}, {Tracking, "ModeLock=1", ""},
        {Alarm, "AlmTxCntrLimit=255;AlmArmDelay=127", ""}, {Alarm, "AlmTxCntrLimit=256", "AlmTxCntrLimit"},
        {Alarm, "AlmArmDelay=127.5", "AlmArmDelay"}};
    // clang-format on
    for (const Edge& edge : edges) {
        Windows w = validWindows();
        set(w, edge.settings);
        const CheckResult result = checkMode(edge.mode, w);
        EXPECT_EQ(result ? result->focus : "", edge.focus) << edge.settings;
        EXPECT_TRUE(!edge.message || result == focusedOn(edge.message(), edge.focus)) << edge.settings;
        if (edge.field) {
            EXPECT_EQ(std::get<forms::TextField*>(forms::findControl(w, edge.field).value())->text(), edge.text);
        }
    }
}

TEST(ModeChecksTest, AStoredProfileAtFaultIsShownWithItsValues)
{
    // The tab on show, the settings ('#' for the window's prefix), the profile at fault, the tab then on show, the
    // timer minutes the window then shows, and the stored SSID of the profile first on show.
    // clang-format off
    const std::tuple<int, std::string, std::optional<int>, int, const char*, const char*> rows[] = {
        {2, "#SSID=5;#.7.SSID=16;#.7.TmrMin=12", 7, 6, "12", "5"}, {0, "#.8.TmrMin=99;#.4.TmrMin=70", 4, 3, "70", ""},
        {0, "#TmrMin=7;#.1.SSID=20", 1, 0, "7", "20"}, {0, "#.10.SSID=16;#.10.TmrMin=3", 10, 9, "3", ""},
        {4, "#SSID=9;#TmrMin=9;#ToCall=APRS-16", std::nullopt, 4, "9", ""}};
    // clang-format on
    for (const forms::Mode mode : {Nmea, Tracking}) {
        for (const auto& [tab, settings, profile, shown, minutes, ssid] : rows) {
            Windows w = validWindows();
            (mode == Nmea ? forms::selectNmeaProfileTab : forms::selectTrackingProfileTab)(w, tab);
            std::string s = settings;
            for (auto at = s.find('#'); at != std::string::npos; at = s.find('#'))
                s.replace(at, 1, prefixOf(mode));
            set(w, s);
            const CheckResult result = checkMode(mode, w);
            ASSERT_TRUE(result) << s;
            EXPECT_EQ(result->profile, profile) << s;
            EXPECT_EQ((mode == Nmea ? w.nmea.NMEAProfile : w.tracking.TrkProfile).selectedIndex(), shown) << s;
            EXPECT_EQ(w.station(mode).TmrMin.text(), minutes) << s;
            EXPECT_EQ(storeOf(w, mode).entry(tab + 1).SSID, ssid) << s;
        }
    }
}

} // namespace
} // namespace qm::validation
