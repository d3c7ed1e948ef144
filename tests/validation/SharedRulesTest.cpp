// The shared rules at their edges: My SSID, To Call, path order, special paths and the transmit timer.
#include "validation/ModeChecks.h"

#include "validation/CheckWindows.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

namespace qm::validation
{
namespace
{

using forms::Mode;
using forms::Windows;

std::string focusOf(const CheckResult& result)
{
    return result ? result->focus : std::string();
}

struct MySsidCase
{
    Mode mode;
    const char* text;
    const char* focus;
    const char* textAfter;
};

TEST(MySsidRuleTest, ReadsTheSsidAndClearsSpacesInTelemetryAndBeaconOnly)
{
    const MySsidCase cases[] = {
        {Mode::Beacon, "0", "BcnMySSID", "0"},
        {Mode::Beacon, "", "", ""},
        {Mode::Beacon, " ", "", ""},
        {Mode::Beacon, "  ", "", ""},
        {Mode::Beacon, "15", "", "15"},
        {Mode::Beacon, "16", "BcnMySSID", "16"},
        {Mode::Beacon, " 5", "", " 5"},
        {Mode::Beacon, " 0", "BcnMySSID", " 0"},
        {Mode::Telemetry, " ", "", ""},
        {Mode::Telemetry, "  ", "", ""},
        {Mode::Telemetry, "0", "TelMySSID", "0"},
        {Mode::Alarm, " ", "AlmMySSID", " "},
        {Mode::Alarm, "  ", "AlmMySSID", "  "},
        {Mode::Alarm, "", "", ""},
        {Mode::Alarm, "1", "", "1"},
    };
    for (const MySsidCase& c : cases) {
        Windows windows = validWindows();
        windows.station(c.mode).SSID.setText(c.text);
        EXPECT_EQ(focusOf(checkMode(c.mode, windows)), c.focus) << prefixOf(c.mode) << " '" << c.text << "'";
        EXPECT_EQ(windows.station(c.mode).SSID.text(), c.textAfter) << prefixOf(c.mode) << " '" << c.text << "'";
    }
}

TEST(MySsidRuleTest, ClearsSpacesEvenWhenALaterRuleFails)
{
    Windows windows = validWindows();
    windows.beacon.station.SSID.setText("  ");
    windows.beacon.station.ToCall.setText("");
    EXPECT_EQ(focusOf(checkBeacon(windows)), "BcnToCall");
    EXPECT_EQ(windows.beacon.station.SSID.text(), "");
}

TEST(ProfileSsidRuleTest, ASpaceIsPresentInNmeaAndAbsentInTracking)
{
    Windows nmea = validWindows();
    nmea.nmea.store.entry(5).SSID = " ";
    const auto refused = checkNmea(nmea);
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->focus, "NMEASSID");
    EXPECT_EQ(refused->profile, 5);

    Windows tracking = validWindows();
    tracking.tracking.store.entry(5).SSID = " ";
    EXPECT_EQ(checkTracking(tracking), std::nullopt);
    tracking.tracking.store.entry(5).SSID = " 16 ";
    EXPECT_EQ(focusOf(checkTracking(tracking)), "TrkSSID");
}

struct CallsignCase
{
    const char* text;
    const char* focus;
};

TEST(ToCallRuleTest, ReadsCallsignAndSsid)
{
    const CallsignCase cases[] = {
        {"APRS", ""},
        {"APRS-15", ""},
        {" aprs-1 ", ""},
        {"ABCDEF-9", ""},
        {"APRS-16", "BcnToCall"},
        {"APRS-0", "BcnToCall"},
        {"APRS-", "BcnToCall"},
        {"APRS-X", "BcnToCall"},
        {"ABCDEFG", "BcnToCall"},
        {"ABCDEFG-1", "BcnToCall"},
        {"", "BcnToCall"},
        {"   ", "BcnToCall"},
        {"WIDE-1-1", ""},
    };
    for (const CallsignCase& c : cases) {
        Windows windows = validWindows();
        windows.beacon.station.ToCall.setText(c.text);
        EXPECT_EQ(focusOf(checkBeacon(windows)), c.focus) << "'" << c.text << "'";
    }
}

TEST(ToCallRuleTest, TestsTheSsidBeforeTheLength)
{
    const std::pair<const char*, const char*> cases[] = {
        {"ABCDEFG-16", "The SSID specified in 'To Call' is invalid.\r\n\r\nPlease enter an SSID between 1 and 15."},
        {"ABCDEFG-15", "The callsign specified in 'To Call' is too long.\r\n\r\nCallsigns can contain a maximum of 6 "
                       "characters (Not including the SSID)."},
        {"", "Please enter a callsign in the 'To Call' field."},
    };
    for (const auto& [text, message] : cases) {
        Windows windows = validWindows();
        windows.alarm.station.ToCall.setText(text);
        const auto result = checkAlarm(windows);
        ASSERT_TRUE(result.has_value()) << text;
        EXPECT_EQ(result->text, message) << text;
    }
}

TEST(SpecialPathRuleTest, EmptyOrValidPathsPassAndEachFieldIsNamed)
{
    const CallsignCase cases[] = {
        {"", ""}, {"   ", ""}, {"wide2-2", ""}, {"RELAY", ""}, {"WIDE-0", "TelSpecPath2"}, {"ABCDEFGH", "TelSpecPath2"},
    };
    for (const CallsignCase& c : cases) {
        Windows windows = validWindows();
        windows.telemetry.station.SpecPath[1].setText(c.text);
        EXPECT_EQ(focusOf(checkTelemetry(windows)), c.focus) << "'" << c.text << "'";
    }
    for (std::size_t n = 0; n < 4; ++n) {
        Windows windows = validWindows();
        windows.telemetry.station.SpecPath[n].setText("WIDE-16");
        const auto result = checkTelemetry(windows);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->focus, "TelSpecPath" + std::to_string(n + 1));
        EXPECT_NE(result->text.find("'Special Path " + std::to_string(n + 1) + "'"), std::string::npos);
    }
}

TEST(SpecialPathRuleTest, TheFirstBrokenSpecialPathIsNamed)
{
    Windows windows = validWindows();
    windows.tracking.station.SpecPath[3].setText("WIDE-16");
    windows.tracking.station.SpecPath[1].setText("ABCDEFG");
    EXPECT_EQ(focusOf(checkTracking(windows)), "TrkSpecPath2");
}

struct PathCase
{
    std::array<int, 4> indexes;
    bool inOrder;
};

const PathCase kPathCases[] = {
    {{0, 0, 0, 0}, true},  {{3, 0, 0, 0}, true},  {{3, 2, 1, 5}, true},  {{8, 8, 0, 0}, true},   {{0, 3, 0, 0}, false},
    {{3, 0, 2, 0}, false}, {{3, 2, 0, 4}, false}, {{0, 0, 0, 1}, false}, {{-1, 3, 0, 0}, false}, {{3, -1, 0, 0}, true},
};

TEST(PathOrderRuleTest, PathsInUseMustFollowPathOne)
{
    for (const PathCase& c : kPathCases) {
        Windows windows = validWindows();
        for (std::size_t i = 0; i < 4; ++i)
            windows.alarm.station.Path[i].setListIndex(c.indexes[i]);
        EXPECT_EQ(focusOf(checkAlarm(windows)), c.inOrder ? "" : "AlmPath1")
            << c.indexes[0] << c.indexes[1] << c.indexes[2] << c.indexes[3];
    }
}

TEST(PathOrderRuleTest, StoredProfilePathsFollowTheSameRule)
{
    for (Mode mode : {Mode::Nmea, Mode::Tracking}) {
        for (const PathCase& c : kPathCases) {
            Windows windows = validWindows();
            for (std::size_t i = 0; i < 4; ++i)
                storeOf(windows, mode).entry(8).Path[i] = std::to_string(c.indexes[i]);
            const auto result = checkMode(mode, windows);
            EXPECT_EQ(focusOf(result), c.inOrder ? "" : prefixOf(mode) + "Path1") << prefixOf(mode);
            EXPECT_EQ(result ? result->profile : std::nullopt, c.inOrder ? std::nullopt : std::optional<int>(8));
        }
    }
}

struct TimerCase
{
    const char* minutes;
    const char* seconds;
    bool accepted;
};

const TimerCase kTimerCases[] = {
    {"68", "0", true},   {"67", "60", true}, {"0", "0", true},  {"", "", true},
    {"67", "61", false}, {"99", "0", false}, {"69", "", false}, {"68", " 1", false},
};

TEST(TimerRuleTest, AllowsAtMostSixtyEightMinutes)
{
    for (const TimerCase& c : kTimerCases) {
        Windows windows = validWindows();
        windows.beacon.station.TmrMin.setText(c.minutes);
        windows.beacon.station.TmrSec.setText(c.seconds);
        EXPECT_EQ(focusOf(checkBeacon(windows)), c.accepted ? "" : "BcnTmrMin") << c.minutes << ":" << c.seconds;
    }
}

TEST(TimerRuleTest, StoredProfileTimersFollowTheSameRule)
{
    for (Mode mode : {Mode::Nmea, Mode::Tracking}) {
        for (const TimerCase& c : kTimerCases) {
            Windows windows = validWindows();
            storeOf(windows, mode).entry(9).TmrMin = c.minutes;
            storeOf(windows, mode).entry(9).TmrSec = c.seconds;
            const auto result = checkMode(mode, windows);
            EXPECT_EQ(focusOf(result), c.accepted ? "" : prefixOf(mode) + "TmrMin") << c.minutes << ":" << c.seconds;
            EXPECT_EQ(result ? result->profile : std::nullopt, c.accepted ? std::nullopt : std::optional<int>(9));
        }
    }
}

} // namespace
} // namespace qm::validation
