// Tests that a compile refuses a value with no place in the image, names the field and produces nothing.
#include "image/Compile.h"

#include "ReadyWindows.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

namespace qm::image
{
namespace
{

forms::MessageBox box(std::string focus, std::string text, std::optional<int> profile = std::nullopt)
{
    return {
        "Invalid Setting", std::move(text), forms::Icon::Warning, forms::Buttons::Ok, std::move(focus), profile, ""};
}

struct RefusalCase
{
    std::string name;
    forms::Mode mode;
    std::function<void(forms::Windows&)> setUp;
    forms::MessageBox expected;
};

const std::string kRange15 = "\r\n\r\nIt must be a whole number from 0 to 15.";
const std::string kRange255 = "\r\n\r\nIt must be a whole number from 0 to 255.";
const std::string kTooLong = "\r\n\r\nCallsigns can contain a maximum of 6 characters (Not including the SSID).";
const std::string kNotPrintable = "\r\n\r\nCallsigns can contain only printable ASCII characters.";
const std::string kFromList = "\r\n\r\nPlease select an entry from the list.";
const std::string kCannot = " cannot be stored in the VQ-3's configuration.";
const std::string kOneCharacter = "\r\n\r\nIt can contain at most one character.";

std::string atMost(int characters)
{
    return "\r\n\r\nIt can contain at most " + std::to_string(characters) + " characters.";
}

std::vector<RefusalCase> refusalCases()
{
    using M = forms::Mode;
    using W = forms::Windows;
    return {
        {"MySsidOver15", M::Telemetry, [](W& w) { w.telemetry.station.SSID.setText("16"); },
         box("TelMySSID", "The value in 'My SSID'" + kCannot + kRange15)},
        {"MySsidNegative", M::Beacon, [](W& w) { w.beacon.station.SSID.setText("-1"); },
         box("BcnMySSID", "The value in 'My SSID'" + kCannot + kRange15)},
        {"MySsidTwoDigitsOver15", M::Alarm, [](W& w) { w.alarm.station.SSID.setText("99"); },
         box("AlmMySSID", "The value in 'My SSID'" + kCannot + kRange15)},
        {"ProfileSsidRoundsOver15", M::Nmea, [](W& w) { w.nmea.store.entry(5).SSID = "15.5"; },
         box("NMEASSID", "The value in 'SSID' of Profile #5" + kCannot + kRange15, 5)},
        {"MyCallControlCharacter", M::Telemetry, [](W& w) { w.telemetry.station.MyCall.setText("N0\x01"); },
         box("TelMyCall", "The value in 'My Call'" + kCannot + kNotPrintable)},
        {"MyCallTopBitSet", M::Tracking, [](W& w) { w.tracking.station.MyCall.setText("\xC4\x42\x43"); },
         box("TrkMyCall", "The value in 'My Call'" + kCannot + kNotPrintable)},
        {"ToCallSevenCharacters", M::Telemetry, [](W& w) { w.telemetry.station.ToCall.setText("APRSXYZ-1"); },
         box("TelToCall", "The value in 'To Call'" + kCannot + kTooLong)},
        {"ToCallSsidOverAByte", M::Nmea, [](W& w) { w.nmea.station.ToCall.setText("APRS-256"); },
         box("NMEAToCall", "The value in 'To Call'" + kCannot + kRange255)},
        {"ToCallTab", M::Alarm, [](W& w) { w.alarm.station.ToCall.setText("AP\tRS"); },
         box("AlmToCall", "The value in 'To Call'" + kCannot + kNotPrintable)},
        {"SpecialPathSsidOver15", M::Beacon, [](W& w) { w.beacon.station.SpecPath[1].setText("WIDE2-16"); },
         box("BcnSpecPath2", "The value in 'Special Path 2'" + kCannot + kRange15)},
        {"SpecialPathSevenCharacters", M::Beacon, [](W& w) { w.beacon.station.SpecPath[3].setText("ABCDEFG-1"); },
         box("BcnSpecPath4", "The value in 'Special Path 4'" + kCannot + kTooLong)},
        {"SpecialPathDelete", M::Telemetry, [](W& w) { w.telemetry.station.SpecPath[0].setText("WIDE\x7F"); },
         box("TelSpecPath1", "The value in 'Special Path 1'" + kCannot + kNotPrintable)},
        {"SpecialPathBeforeToCallInNmea", M::Nmea,
         [](W& w) {
             w.nmea.station.ToCall.setText("APRS-999");
             w.nmea.station.SpecPath[2].setText("WIDE-99");
         },
         box("NMEASpecPath3", "The value in 'Special Path 3'" + kCannot + kRange15)},
        {"TimerSecondsPushOver4095", M::Telemetry,
         [](W& w) {
             w.telemetry.station.TmrMin.setText("68");
             w.telemetry.station.TmrSec.setText("16");
         },
         box("TelTmrSec",
             "The value in 'Transmit Timer'" + kCannot + "\r\n\r\nIt must be a whole number from 0 to 4095.")},
        {"TimerMinutesOver4095", M::Alarm, [](W& w) { w.alarm.station.TmrMin.setText("99"); },
         box("AlmTmrMin",
             "The value in 'Transmit Timer'" + kCannot + "\r\n\r\nIt must be a whole number from 0 to 4095.")},
        {"TimerNegative", M::Beacon, [](W& w) { w.beacon.station.TmrMin.setText("-1"); },
         box("BcnTmrMin",
             "The value in 'Transmit Timer'" + kCannot + "\r\n\r\nIt must be a whole number from 0 to 4095.")},
        {"UserTerminationOver255", M::Telemetry,
         [](W& w) {
             w.telemetry.TelTxOn.setValue(forms::kUserDefined, true);
             w.telemetry.TelUserTrigChar.setText("256");
         },
         box("TelUserTrigChar", "The value in 'Termination Character'" + kCannot + kRange255)},
        {"NmeaUserTerminationOver255", M::Nmea,
         [](W& w) {
             w.nmea.NMEATxOn.setValue(forms::kUserDefined, true);
             w.nmea.NMEAUserTrigChar.setText("300");
         },
         box("NMEAUserTrigChar", "The value in 'Termination Character'" + kCannot + kRange255)},
        {"CountOver255", M::Alarm, [](W& w) { w.alarm.AlmTxCntrLimit.setText("256"); },
         box("AlmTxCntrLimit", "The value in 'Number Times To Send'" + kCannot + kRange255)},
        {"CountNegative", M::Alarm, [](W& w) { w.alarm.AlmTxCntrLimit.setText("-1"); },
         box("AlmTxCntrLimit", "The value in 'Number Times To Send'" + kCannot + kRange255)},
        {"ArmDelayOver127AndAHalf", M::Alarm, [](W& w) { w.alarm.AlmArmDelay.setText("128"); },
         box("AlmArmDelay", "The value in 'Arm Delay'" + kCannot + "\r\n\r\nIt must be a whole number from 0 to 127.")},
        {"DelayPastThe300BaudList", M::Telemetry,
         [](W& w) {
             w.telemetry.station.TxDelay.setListIndex(15);
             w.main.menus.out1200.setChecked(false);
             w.main.menus.out300.setChecked(true);
         },
         box("TelTxDelay", "The value in 'Transmit Delay'" + kCannot + kFromList)},
        {"TailPastThe300BaudList", M::Beacon,
         [](W& w) {
             w.beacon.station.TxTail.setListIndex(15);
             w.main.menus.out1200.setChecked(false);
         },
         box("BcnTxTail", "The value in 'Tail Delay'" + kCannot + kFromList)},
        {"ProfileSsidOver15", M::Nmea, [](W& w) { w.nmea.store.entry(4).SSID = "16"; },
         box("NMEASSID", "The value in 'SSID' of Profile #4" + kCannot + kRange15, 4)},
        {"ProfileDelayPastThe1200BaudList", M::Nmea, [](W& w) { w.nmea.store.entry(10).TxDelay = "16"; },
         box("NMEATxDelay", "The value in 'Transmit Delay' of Profile #10" + kCannot + kFromList, 10)},
        {"ProfileDelayNotANumberPosition", M::Nmea, [](W& w) { w.nmea.store.entry(2).TxDelay = "1e9"; },
         box("NMEATxDelay", "The value in 'Transmit Delay' of Profile #2" + kCannot + kFromList, 2)},
        {"DataHeaderOverSixCharacters", M::Nmea, [](W& w) { w.main.GpsString[1].setText("$GPRMCX"); },
         box("GpsString2",
             "The value in 'Data Header 2'" + kCannot + "\r\n\r\nData Headers can contain no more than 6 characters.")},
        {"ProfileTimerOver4095", M::Tracking,
         [](W& w) {
             w.tracking.store.entry(7).TmrMin = "69";
             w.tracking.store.entry(7).TmrSec = "0";
         },
         box("TrkTmrMin",
             "The value in 'Transmit Timer' of Profile #7" + kCannot +
                 "\r\n\r\nIt must be a whole number from 0 to 4095.",
             7)},
        {"ProfileTailBeforeTheList", M::Tracking, [](W& w) { w.tracking.store.entry(2).TxTail = "-2"; },
         box("TrkTxTail", "The value in 'Tail Delay' of Profile #2" + kCannot + kFromList, 2)},
        {"ProfileDelayPastThe300BaudList", M::Tracking,
         [](W& w) {
             setOutputBaud(w, true);
             w.tracking.store.entry(3).TxDelay = "15";
         },
         box("TrkTxDelay", "The value in 'Transmit Delay' of Profile #3" + kCannot + kFromList, 3)},
        {"ProfileSsidOfTrackingNegative", M::Tracking, [](W& w) { w.tracking.store.entry(1).SSID = "-3"; },
         box("TrkSSID", "The value in 'SSID' of Profile #1" + kCannot + kRange15, 1)},
        {"MyCallSevenCharacters", M::Alarm, [](W& w) { forms::setMyCall(w, "ABCDEFG"); },
         box("AlmMyCall", "The value in 'My Call'" + kCannot + kTooLong)},
        {"BeaconTextOver76", M::Beacon, [](W& w) { w.beacon.BcnMsgText.setText(std::string(77, 'b')); },
         box("BcnMsgText", "The value in 'Beacon Text'" + kCannot + atMost(76))},
        {"BeaconLineBreakCountsTwo", M::Beacon,
         [](W& w) { w.beacon.BcnMsgText.setText(std::string(74, 'b') + "\r\nc"); },
         box("BcnMsgText", "The value in 'Beacon Text'" + kCannot + atMost(76))},
        {"CommentOver21", M::Tracking, [](W& w) { w.tracking.TrkComments.setText(std::string(22, 'c')); },
         box("TrkComments", "The value in 'Comments'" + kCannot + atMost(21))},
        {"PrefixOfTwo", M::Tracking, [](W& w) { w.tracking.TrkPrefix.setText("!!"); },
         box("TrkPrefix", "The value in 'Prefix'" + kCannot + kOneCharacter)},
        {"SeparatorOfTwo", M::Tracking, [](W& w) { w.tracking.TrkSeparator.setText("//"); },
         box("TrkSeparator", "The value in 'Separator'" + kCannot + kOneCharacter)},
        {"ProfileSymbolOfTwo", M::Tracking, [](W& w) { w.tracking.store.entry(6).Symbol = "\xBE>"; },
         box("TrkSymbol", "The value in 'Symbol' of Profile #6" + kCannot + kOneCharacter, 6)},
        {"FirstAlarmMessageOver25", M::Alarm, [](W& w) { w.alarm.AlarmMsgText[0].setText(std::string(26, 'm')); },
         box("AlarmMsgText1", "The value in 'Alarm 1 Message'" + kCannot + atMost(25))},
        {"FourthAlarmMessageOver15", M::Alarm, [](W& w) { w.alarm.AlarmMsgText[3].setText(std::string(16, 'm')); },
         box("AlarmMsgText4", "The value in 'Alarm 4 Message'" + kCannot + atMost(15))},
    };
}

TEST(CompileRefusalTest, ValueWithoutAPlaceInTheImageRefusesAndProducesNothing)
{
    for (const RefusalCase& c : refusalCases()) {
        SCOPED_TRACE(c.name);
        forms::Windows windows = readyWindows();
        c.setUp(windows);
        forms::StationControls& station = windows.station(c.mode);
        const std::string minutesBefore = station.TmrMin.text();
        const auto nmeaStoreBefore = windows.nmea.store;
        const auto trackingStoreBefore = windows.tracking.store;
        ImageFields fields;
        fields.modeByte = 0x77;
        fields.profileByte(1, 1) = 0x55;

        const CompileResult result = compileMode(c.mode, windows, fields);
        EXPECT_FALSE(result.ok());
        EXPECT_TRUE(result.downloadImage.empty());
        EXPECT_EQ(result.refusal, c.expected);
        EXPECT_EQ(fields.modeByte, 0x77);
        EXPECT_EQ(fields.profileByte(1, 1), 0x55);
        EXPECT_EQ(station.TmrMin.text(), minutesBefore);
        for (int k = 1; k <= forms::kProfileCount; ++k) {
            EXPECT_EQ(windows.nmea.store.entry(k), nmeaStoreBefore.entry(k));
            EXPECT_EQ(windows.tracking.store.entry(k), trackingStoreBefore.entry(k));
        }
    }
}

TEST(CompileRefusalTest, TextsThatFillTheirPlacesCompile)
{
    const struct
    {
        forms::Mode mode;
        std::function<void(forms::Windows&)> setUp;
    } edges[] = {
        {forms::Mode::Beacon, [](forms::Windows& w) { w.beacon.BcnMsgText.setText(std::string(74, 'b') + "\r\n"); }},
        {forms::Mode::Tracking, [](forms::Windows& w) { w.tracking.TrkComments.setText(std::string(21, 'c')); }},
        {forms::Mode::Tracking,
         [](forms::Windows& w) {
             w.tracking.TrkPrefix.setText("");
             w.tracking.TrkSeparator.setText("|");
             w.tracking.store.entry(10).Symbol = "\xBE";
         }},
        {forms::Mode::Alarm,
         [](forms::Windows& w) {
             w.alarm.AlarmMsgText[0].setText(std::string(25, 'm'));
             w.alarm.AlarmMsgText[2].setText(std::string(15, 'm'));
         }},
        {forms::Mode::Alarm, [](forms::Windows& w) { forms::setMyCall(w, " abcdef "); }},
    };
    for (std::size_t i = 0; i < std::size(edges); ++i) {
        SCOPED_TRACE(i);
        forms::Windows windows = readyWindows();
        edges[i].setUp(windows);
        ImageFields fields;
        const CompileResult result = compileMode(edges[i].mode, windows, fields);
        EXPECT_TRUE(result.ok());
        EXPECT_EQ(result.downloadImage.size(), kDownloadSize);
    }
}

TEST(CompileRefusalTest, ValuesAtTheEdgesOfTheirPlacesCompile)
{
    const std::function<void(forms::Windows&)> edges[] = {
        [](forms::Windows& w) { w.telemetry.station.SSID.setText("15"); },
        [](forms::Windows& w) { w.telemetry.station.ToCall.setText("ABCDEF-255"); },
        [](forms::Windows& w) { w.telemetry.station.SpecPath[0].setText("ABCDEF-15"); },
        [](forms::Windows& w) { w.telemetry.station.MyCall.setText("~ !"); },
        [](forms::Windows& w) {
            w.telemetry.station.TmrMin.setText("68");
            w.telemetry.station.TmrSec.setText("15");
        },
        [](forms::Windows& w) {
            w.telemetry.TelTxOn.setValue(forms::kUserDefined, true);
            w.telemetry.TelUserTrigChar.setText("255");
        },
        [](forms::Windows& w) {
            w.telemetry.TelTxOn.setValue(forms::kLineFeed, true);
            w.telemetry.TelUserTrigChar.setText("999");
        },
        [](forms::Windows& w) { w.telemetry.station.TxDelay.setListIndex(15); },
    };
    for (std::size_t i = 0; i < std::size(edges); ++i) {
        SCOPED_TRACE(i);
        forms::Windows windows = readyWindows();
        edges[i](windows);
        ImageFields fields;
        const CompileResult result = compileTelemetry(windows, fields);
        EXPECT_TRUE(result.ok());
        EXPECT_EQ(result.downloadImage.size(), kDownloadSize);
    }
}

} // namespace
} // namespace qm::image
