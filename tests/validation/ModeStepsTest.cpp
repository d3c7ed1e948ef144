// Each mode's own steps (timers filled, termination and trigger characters, data headers, Mode Lock, the
// Alarm limits) and the switch to the profile at fault.
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

TEST(TelemetryStepsTest, FillsEmptyTimersAfterTheTimerRulePasses)
{
    const std::array<const char*, 4> cases[] = {
        {"", "", "0", "0"},   {" ", "  ", "0", "0"}, {"  ", "5", "0", "5"},
        {"3", " ", "3", "0"}, {"0", "", "0", "0"},   {" 3", "3 ", " 3", "3 "},
    };
    for (const auto& [minutes, seconds, minutesAfter, secondsAfter] : cases) {
        Windows windows = validWindows();
        windows.telemetry.station.TmrMin.setText(minutes);
        windows.telemetry.station.TmrSec.setText(seconds);
        EXPECT_EQ(checkTelemetry(windows), std::nullopt);
        EXPECT_EQ(windows.telemetry.station.TmrMin.text(), minutesAfter) << "'" << minutes << "'";
        EXPECT_EQ(windows.telemetry.station.TmrSec.text(), secondsAfter) << "'" << seconds << "'";
    }
}

TEST(TelemetryStepsTest, FillsTimersEvenWhenTheTerminationCharacterFails)
{
    Windows windows = validWindows();
    windows.telemetry.station.TmrSec.setText("");
    windows.telemetry.TelTxOn.setValue(forms::kUserDefined, true);
    windows.telemetry.TelUserTrigChar.setText("256");
    EXPECT_EQ(focusOf(checkTelemetry(windows)), "TelUserTrigChar");
    EXPECT_EQ(windows.telemetry.station.TmrSec.text(), "0");
}

TEST(TelemetryStepsTest, LeavesTimersAloneWhenTheTimerRuleFails)
{
    Windows windows = validWindows();
    windows.telemetry.station.TmrMin.setText("99");
    windows.telemetry.station.TmrSec.setText("");
    EXPECT_EQ(focusOf(checkTelemetry(windows)), "TelTmrMin");
    EXPECT_EQ(windows.telemetry.station.TmrSec.text(), "");
}

struct TerminationCase
{
    int option;
    const char* value;
    const char* focus;
};

TEST(TelemetryStepsTest, TestsTheRangeOfTheUserTerminationCharacterOnly)
{
    const TerminationCase cases[] = {
        {forms::kUserDefined, "255", ""},    {forms::kUserDefined, "256", "TelUserTrigChar"},
        {forms::kUserDefined, "", ""},       {forms::kUserDefined, "999", "TelUserTrigChar"},
        {forms::kCarriageReturn, "256", ""}, {forms::kLineFeed, "999", ""},
    };
    for (const TerminationCase& c : cases) {
        Windows windows = validWindows();
        windows.telemetry.TelTxOn.setValue(c.option, true);
        windows.telemetry.TelUserTrigChar.setText(c.value);
        EXPECT_EQ(focusOf(checkTelemetry(windows)), c.focus) << c.option << " '" << c.value << "'";
    }
}

TEST(NmeaStepsTest, RequiresAUserTriggerCharacterThatFitsAByte)
{
    const TerminationCase cases[] = {
        {forms::kUserDefined, "", "NMEAUserTrigChar"},
        {forms::kUserDefined, "0", ""},
        {forms::kUserDefined, "255", ""},
        {forms::kUserDefined, "256", "NMEAUserTrigChar"},
        {forms::kCarriageReturn, "", ""},
        {forms::kLineFeed, "256", ""},
    };
    for (const TerminationCase& c : cases) {
        Windows windows = validWindows();
        windows.nmea.NMEATxOn.setValue(c.option, true);
        windows.nmea.NMEAUserTrigChar.setText(c.value);
        EXPECT_EQ(focusOf(checkNmea(windows)), c.focus) << c.option << " '" << c.value << "'";
    }
}

struct HeaderCase
{
    const char* headers[3];
    const char* focus;
};

TEST(NmeaStepsTest, DataHeadersArePresentInOrderAndShort)
{
    const HeaderCase cases[] = {
        {{"$GPRMC", "", ""}, ""},
        {{"$GPRMC", "$GPGGA", "$GPGSA"}, ""},
        {{"$GP", " ", ""}, ""},
        {{"", "", ""}, "GpsString1"},
        {{"$GPRMC", "", "$GPGGA"}, "GpsString1"},
        {{"", "$GPGGA", ""}, "GpsString1"},
        {{"", "", "$GPGGA"}, "GpsString1"},
        {{"$GPRMCX", "", ""}, "GpsString1"},
        {{"$GPRMC", " $GPGGA", ""}, "GpsString2"},
        {{"$GPRMCX", "", "$GPGGA"}, "GpsString1"},
    };
    for (const HeaderCase& c : cases) {
        Windows windows = validWindows();
        for (std::size_t i = 0; i < 3; ++i)
            windows.main.GpsString[i].setText(c.headers[i]);
        const auto result = checkNmea(windows);
        EXPECT_EQ(focusOf(result), c.focus) << c.headers[0] << "|" << c.headers[1] << "|" << c.headers[2];
    }
}

TEST(NmeaStepsTest, AnEmptyHeaderIsReportedAsOutOfOrderBeforeALongOne)
{
    Windows windows = validWindows();
    windows.main.GpsString[0].setText("$GPRMCX");
    windows.main.GpsString[2].setText("$GPGGA");
    const auto result = checkNmea(windows);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->text, "The Data Headers must be used in order, starting with Data Header 1.\r\n\r\nPlease "
                            "re-select the Data Headers.");
}

TEST(TrackingStepsTest, ModeLockNeedsMicEncodeOrAutoMode)
{
    struct
    {
        int modeLock, micEncode, autoMode;
        const char* focus;
    } const cases[] = {
        {1, 0, 0, "ModeLock"}, {1, 0, 1, ""}, {1, 1, 0, ""}, {1, 1, 1, ""}, {0, 0, 0, ""},
    };
    for (const auto& c : cases) {
        Windows windows = validWindows();
        windows.main.ModeLock.setValue(c.modeLock);
        windows.main.MicEncode.setValue(c.micEncode);
        windows.main.AutoMode.setValue(c.autoMode);
        EXPECT_EQ(focusOf(checkTracking(windows)), c.focus) << c.modeLock << c.micEncode << c.autoMode;
    }
}

TEST(TrackingStepsTest, ModeLockMattersToTrackingOnly)
{
    for (Mode mode : {Mode::Telemetry, Mode::Beacon, Mode::Nmea, Mode::Alarm}) {
        Windows windows = validWindows();
        windows.main.ModeLock.setValue(1);
        windows.main.MicEncode.setValue(0);
        EXPECT_EQ(checkMode(mode, windows), std::nullopt) << prefixOf(mode);
    }
}

TEST(AlarmStepsTest, LimitsTheSendCountAndTheArmDelay)
{
    struct
    {
        const char* count;
        const char* armDelay;
        const char* focus;
    } const cases[] = {
        {"255", "127", ""}, {"256", "127", "AlmTxCntrLimit"}, {"255", "128", "AlmArmDelay"},
        {"", "", ""},       {"999", "999", "AlmTxCntrLimit"}, {"0", "127.5", "AlmArmDelay"},
    };
    for (const auto& c : cases) {
        Windows windows = validWindows();
        windows.alarm.AlmTxCntrLimit.setText(c.count);
        windows.alarm.AlmArmDelay.setText(c.armDelay);
        EXPECT_EQ(focusOf(checkAlarm(windows)), c.focus) << c.count << " " << c.armDelay;
    }
}

TEST(ProfileSwitchTest, ShowsTheProfileAtFaultWithItsStoredValues)
{
    for (Mode mode : {Mode::Nmea, Mode::Tracking}) {
        Windows windows = validWindows();
        mode == Mode::Nmea ? forms::selectNmeaProfileTab(windows, 2) : forms::selectTrackingProfileTab(windows, 2);
        forms::ProfileEntry& seventh = storeOf(windows, mode).entry(7);
        seventh.SSID = "16";
        seventh.Path = {"3", "1", "0", "0"};
        seventh.TmrMin = "12";
        seventh.TmrSec = "30";
        forms::StationControls& station = windows.station(mode);
        station.SSID.setText("5");

        const auto result = checkMode(mode, windows);
        ASSERT_TRUE(result.has_value()) << prefixOf(mode);
        EXPECT_EQ(result->profile, 7);
        EXPECT_EQ(result->focus, prefixOf(mode) + "SSID");
        EXPECT_EQ(shownTab(windows, mode), 6);
        EXPECT_EQ(station.SSID.text(), "16");
        EXPECT_EQ(station.Path[0].listIndex(), 3);
        EXPECT_EQ(station.Path[1].listIndex(), 1);
        EXPECT_EQ(station.TmrMin.text(), "12");
        EXPECT_EQ(station.TmrSec.text(), "30");
        EXPECT_EQ(storeOf(windows, mode).entry(3).SSID, "5");
        const forms::Panel& frame =
            mode == Mode::Nmea ? windows.nmea.NMEAProfileFrame : windows.tracking.TrkProfileFrame;
        EXPECT_EQ(frame.caption(), "Profile #7 Settings");
    }
}

TEST(ProfileSwitchTest, TheLowestProfileAtFaultIsShown)
{
    for (Mode mode : {Mode::Nmea, Mode::Tracking}) {
        Windows windows = validWindows();
        storeOf(windows, mode).entry(8).TmrMin = "99";
        storeOf(windows, mode).entry(4).TmrMin = "70";
        const auto result = checkMode(mode, windows);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->profile, 4);
        EXPECT_EQ(shownTab(windows, mode), 3);
    }
}

TEST(ProfileSwitchTest, AProfileAlreadyShownIsNotReloaded)
{
    for (Mode mode : {Mode::Nmea, Mode::Tracking}) {
        Windows windows = validWindows();
        storeOf(windows, mode).entry(1).SSID = "20";
        windows.station(mode).TmrMin.setText("7");
        const auto result = checkMode(mode, windows);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->profile, 1);
        EXPECT_EQ(shownTab(windows, mode), 0);
        EXPECT_EQ(windows.station(mode).TmrMin.text(), "7");
    }
}

TEST(ProfileSwitchTest, WindowRulesDoNotSwitchProfiles)
{
    for (Mode mode : {Mode::Nmea, Mode::Tracking}) {
        Windows windows = validWindows();
        mode == Mode::Nmea ? forms::selectNmeaProfileTab(windows, 4) : forms::selectTrackingProfileTab(windows, 4);
        windows.station(mode).ToCall.setText("APRS-16");
        const auto result = checkMode(mode, windows);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->profile, std::nullopt);
        EXPECT_EQ(shownTab(windows, mode), 4);
    }
}

} // namespace
} // namespace qm::validation
