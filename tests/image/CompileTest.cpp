// Tests of the compile of every mode: the worked Beacon image, the header bytes and the shared fields.
#include "image/Compile.h"

#include "ReadyWindows.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace qm::image
{
namespace
{

constexpr forms::Mode kAllModes[] = {forms::Mode::Telemetry, forms::Mode::Beacon, forms::Mode::Nmea,
                                     forms::Mode::Tracking, forms::Mode::Alarm};

std::string compiled(forms::Mode mode, forms::Windows& windows)
{
    ImageFields fields;
    const CompileResult result = compileMode(mode, windows, fields);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.downloadImage.size(), kDownloadSize);
    return result.downloadImage;
}

std::string modeName(forms::Mode mode)
{
    return std::to_string(forms::codeOfMode(mode));
}

TEST(BeaconCompileTest, WorkedImageByteForByte)
{
    forms::Windows windows = readyWindows();
    forms::StationControls& station = windows.beacon.station;
    station.MyCall.setText("TEST");
    station.SSID.setText("9");
    station.ToCall.setListIndex(0);
    station.Path[0].setListIndex(3);
    station.TmrMin.setText("10");
    station.TmrSec.setText("0");
    station.TxDelay.setListIndex(6);
    station.TxTail.setListIndex(2);
    windows.beacon.BcnMsgText.setText("HELLO");

    std::string expected = bytes(
        {0x44, 0x01, 0x04, 0x00, 0x00, 0x54, 0x45, 0x53, 0x54, 0x20, 0x20, 0x41, 0x50, 0x52, 0x53, 0x20, 0x20, 0x30});
    for (int path = 0; path < 4; ++path)
        expected += bytes({0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x60});
    expected += bytes({0x03, 0x00, 0x92, 0x58, 0x00, 0x62, 0x48, 0x45, 0x4C, 0x4C, 0x4F});
    expected.append(72, '\0');

    ImageFields fields;
    const CompileResult result = compileBeacon(windows, fields);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.downloadImage, expected);
    EXPECT_EQ(fields.profileByte(1, 3), 0x92);
    EXPECT_EQ(fields.stationCallsign, "TEST  ");
}

struct HeaderCase
{
    forms::Mode mode;
    std::array<bool, 4> inputBaud;
    bool out300;
    bool out1200;
    bool led, mic, lock, autoMode, delta;
    int modeByte, optionByte, autoModeByte;
};

TEST(HeaderCompileTest, ModeOptionAndAutoModeBytesFollowTheMenusAndBoxes)
{
    using M = forms::Mode;
    const HeaderCase cases[] = {
        {M::Telemetry, {1, 0, 0, 0}, 0, 1, 0, 0, 0, 0, 0, 0x00, 0x04, 0x00},
        {M::Telemetry, {0, 0, 1, 0}, 1, 0, 0, 0, 0, 0, 0, 0x30, 0x04, 0x00},
        {M::Telemetry, {0, 1, 0, 1}, 0, 1, 1, 1, 0, 1, 0, 0x18, 0x05, 0x00},
        {M::Telemetry, {0, 0, 0, 0}, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x04, 0x00},
        {M::Telemetry, {1, 0, 0, 0}, 1, 1, 0, 0, 0, 0, 0, 0x00, 0x04, 0x00},
        {M::Beacon, {0, 0, 0, 1}, 0, 1, 0, 0, 0, 0, 0, 0x01, 0x04, 0x00},
        {M::Beacon, {0, 0, 0, 1}, 1, 0, 1, 1, 0, 1, 0, 0x21, 0x05, 0x00},
        {M::Nmea, {0, 0, 1, 0}, 0, 1, 1, 1, 1, 1, 1, 0x52, 0x05, 0x00},
        {M::Nmea, {0, 1, 0, 0}, 1, 0, 0, 1, 0, 0, 0, 0x2A, 0x00, 0x00},
        {M::Tracking, {0, 0, 0, 1}, 1, 0, 1, 1, 1, 1, 1, 0x7B, 0x07, 0xFF},
        {M::Tracking, {1, 0, 0, 0}, 0, 1, 0, 1, 0, 1, 0, 0x03, 0x02, 0xFF},
        {M::Tracking, {1, 0, 0, 0}, 0, 1, 0, 0, 0, 0, 0, 0x03, 0x00, 0x00},
        {M::Alarm, {0, 1, 0, 0}, 1, 0, 0, 1, 0, 1, 1, 0x2C, 0x04, 0x00},
        {M::Alarm, {1, 0, 0, 0}, 0, 1, 1, 0, 1, 0, 0, 0x04, 0x05, 0x00},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("mode " + modeName(c.mode) + " expecting " + std::to_string(c.modeByte));
        forms::Windows windows = readyWindows();
        forms::Menus& menus = windows.main.menus;
        const auto items = menus.inputBaudItems();
        for (std::size_t i = 0; i < 4; ++i)
            items[i]->setChecked(c.inputBaud[i]);
        menus.out300.setChecked(c.out300);
        menus.out1200.setChecked(c.out1200);
        windows.main.LEDDisable.setValue(c.led);
        windows.main.MicEncode.setValue(c.mic);
        windows.main.ModeLock.setValue(c.lock);
        windows.main.AutoMode.setValue(c.autoMode);
        windows.nmea.NMEADeltaEnable.setValue(c.delta);
        windows.tracking.TrkDeltaEnable.setValue(c.delta);
        const std::string stream = compiled(c.mode, windows);
        ASSERT_EQ(stream.size(), kDownloadSize);
        EXPECT_EQ(stream[0], 'D');
        EXPECT_EQ(at(stream, 1), c.modeByte);
        EXPECT_EQ(at(stream, 2), c.optionByte);
        EXPECT_EQ(at(stream, 3), c.autoModeByte);
        EXPECT_EQ(at(stream, 4), 0x00);
    }
}

TEST(StationCompileTest, CallsignsAndSpecialPathsTakeTheirPlacesInEveryMode)
{
    for (forms::Mode mode : kAllModes) {
        SCOPED_TRACE("mode " + modeName(mode));
        forms::Windows windows = readyWindows();
        forms::StationControls& station = windows.station(mode);
        station.MyCall.setText(" n0ca ");
        station.ToCall.setText(" aprs-10 ");
        station.SpecPath[1].setText("wide2-2");
        station.SpecPath[3].setText("RELAY");
        const std::string stream = compiled(mode, windows);
        EXPECT_EQ(stream.substr(5, 6), "N0CA  ");
        EXPECT_EQ(stream.substr(11, 7), std::string("APRS  \x0A", 7));
        EXPECT_EQ(stream.substr(18, 7), bytes({0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x60}));
        EXPECT_EQ(stream.substr(25, 7), bytes({0xAE, 0x92, 0x88, 0x8A, 0x64, 0x40, 0x64}));
        EXPECT_EQ(stream.substr(32, 7), bytes({0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x60}));
        EXPECT_EQ(stream.substr(39, 7), bytes({0xA4, 0x8A, 0x98, 0x82, 0xB2, 0x40, 0x60}));
    }
}

TEST(StationCompileTest, ToCallSsidByteIsTheNumberItselfOr0x30WithoutDash)
{
    const std::pair<std::string, std::string> cases[] = {
        {"APRS", std::string("APRS  \x30", 7)},      {"APRS-0", std::string("APRS  \0", 7)},
        {"APRS-", std::string("APRS  \0", 7)},       {"APRS-3", std::string("APRS  \x03", 7)},
        {"ABCDEF-15", std::string("ABCDEF\x0F", 7)}, {"", std::string("      \x30", 7)},
        {"APRS-2.5", std::string("APRS  \x02", 7)},  {"APRS-3.5", std::string("APRS  \x04", 7)},
        {"APRS-1 5", std::string("APRS  \x0F", 7)},  {"APRS-255", std::string("APRS  \xFF", 7)},
        {"APRS-X", std::string("APRS  \0", 7)},
    };
    for (const auto& [text, field] : cases) {
        SCOPED_TRACE(text);
        forms::Windows windows = readyWindows();
        windows.telemetry.station.ToCall.setText(text);
        EXPECT_EQ(compiled(forms::Mode::Telemetry, windows).substr(11, 7), field);
    }
}

TEST(StationCompileTest, SpecialPathSsidByteCarriesTheSsidShiftedLeft)
{
    const std::pair<std::string, int> cases[] = {
        {"WIDE", 0x60}, {"WIDE-", 0x60}, {"WIDE-0", 0x60}, {"WIDE-1", 0x62}, {"WIDE-15", 0x7E}, {"WIDE-2.5", 0x64},
    };
    for (const auto& [text, ssidByte] : cases) {
        SCOPED_TRACE(text);
        forms::Windows windows = readyWindows();
        windows.beacon.station.SpecPath[0].setText(text);
        EXPECT_EQ(at(compiled(forms::Mode::Beacon, windows), 24), ssidByte);
    }
}

TEST(StationCompileTest, SsidGoesIntoTheHighNibbleOfProfileByteThree)
{
    const std::pair<std::string, int> cases[] = {{"", 0x00},   {"0", 0x00},  {"9", 0x90},
                                                 {"15", 0xF0}, {".5", 0x00}, {" 3", 0x30}};
    for (const auto& [text, byte3] : cases) {
        SCOPED_TRACE(text);
        forms::Windows windows = readyWindows();
        windows.telemetry.station.SSID.setText(text);
        EXPECT_EQ(at(compiled(forms::Mode::Telemetry, windows), 48), byte3);
    }
}

TEST(StationCompileTest, TimerIsSplitAndZeroFieldsAreSetToZero)
{
    struct Case
    {
        std::string minutes, seconds;
        int byte3, byte4;
        std::string minutesAfter, secondsAfter;
    };
    const Case cases[] = {
        {"68", "0", 0x0F, 0xF0, "68", "0"}, {"", "", 0x00, 0x00, "0", "0"},       {"10", "0", 0x02, 0x58, "10", "0"},
        {"00", "0", 0x00, 0x00, "0", "0"},  {"ab", "5", 0x00, 0x05, "0", "5"},    {".5", "", 0x00, 0x1E, ".5", "0"},
        {"0", ".5", 0x00, 0x00, "0", ".5"}, {"68", "15", 0x0F, 0xFF, "68", "15"}, {"1", "-5", 0x00, 0x37, "1", "-5"},
        {"4", "16", 0x01, 0x00, "4", "16"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.minutes + ":" + c.seconds);
        forms::Windows windows = readyWindows();
        forms::StationControls& station = windows.telemetry.station;
        station.TmrMin.setText(c.minutes);
        station.TmrSec.setText(c.seconds);
        const std::string stream = compiled(forms::Mode::Telemetry, windows);
        EXPECT_EQ(at(stream, 48), c.byte3);
        EXPECT_EQ(at(stream, 49), c.byte4);
        EXPECT_EQ(station.TmrMin.text(), c.minutesAfter);
        EXPECT_EQ(station.TmrSec.text(), c.secondsAfter);
    }
}

TEST(StationCompileTest, TxDelayAndTailCodesFollowTheOutputBaudRate)
{
    struct Case
    {
        bool baud300;
        int delay, tail;
        int byte6;
    };
    const Case cases[] = {
        {false, 0, 0, 0x00}, {true, 0, 0, 0x11},   {false, 15, 15, 0xFF}, {true, 14, 14, 0xFF},
        {false, 6, 2, 0x62}, {false, -1, 2, 0x02}, {true, -1, -1, 0x00},  {true, 5, -1, 0x60},
    };
    for (forms::Mode mode : {forms::Mode::Telemetry, forms::Mode::Beacon, forms::Mode::Alarm}) {
        for (const auto& c : cases) {
            SCOPED_TRACE("mode " + modeName(mode) + " byte " + std::to_string(c.byte6));
            forms::Windows windows = readyWindows();
            setOutputBaud(windows, c.baud300);
            windows.station(mode).TxDelay.setListIndex(c.delay);
            windows.station(mode).TxTail.setListIndex(c.tail);
            EXPECT_EQ(at(compiled(mode, windows), 51), c.byte6);
        }
    }
}

TEST(TelemetryCompileTest, TerminationCharacterGoesIntoProfileByteFive)
{
    struct Case
    {
        int option;
        std::string userText;
        int byte5;
    };
    const Case cases[] = {
        {-1, "", 0x00},
        {forms::kCarriageReturn, "", 0x0D},
        {forms::kLineFeed, "", 0x0A},
        {forms::kUserDefined, "3", 0x03},
        {forms::kUserDefined, "255", 0xFF},
        {forms::kUserDefined, "", 0x00},
        {forms::kUserDefined, "2.5", 0x02},
        {forms::kCarriageReturn, "999", 0x0D},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.option) + " " + c.userText);
        forms::Windows windows = readyWindows();
        if (c.option >= 0)
            windows.telemetry.TelTxOn.setValue(c.option, true);
        windows.telemetry.TelUserTrigChar.setText(c.userText);
        const std::string stream = compiled(forms::Mode::Telemetry, windows);
        EXPECT_EQ(at(stream, 50), c.byte5);
    }
}

TEST(TelemetryCompileTest, EverythingAfterProfileOneIsZero)
{
    forms::Windows windows = readyWindows();
    forms::StationControls& station = windows.telemetry.station;
    station.SSID.setText("15");
    station.TmrMin.setText("68");
    station.Path[0].setListIndex(8);
    station.TxDelay.setListIndex(15);
    windows.telemetry.TelTxOn.setValue(forms::kLineFeed, true);
    const std::string stream = compiled(forms::Mode::Telemetry, windows);
    EXPECT_EQ(stream.substr(46, 6), bytes({0x0F, 0x00, 0xFF, 0xF0, 0x0A, 0xF0}));
    EXPECT_EQ(stream.substr(52), std::string(77, '\0'));
}

TEST(BeaconCompileTest, TextIsCopiedUnchangedAndPaddedWithZeroBytes)
{
    const std::string full(76, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"", std::string(77, '\0')},
        {full, full + std::string(1, '\0')},
        {"A\r\nB", "A\r\nB" + std::string(73, '\0')},
        {"  lower case  ", "  lower case  " + std::string(63, '\0')},
    };
    for (const auto& [text, area] : cases) {
        SCOPED_TRACE(text);
        forms::Windows windows = readyWindows();
        windows.beacon.BcnMsgText.setText(text);
        const std::string stream = compiled(forms::Mode::Beacon, windows);
        EXPECT_EQ(stream.substr(52), area);
        EXPECT_EQ(at(stream, 50), 0x00);
    }
}

TEST(AlarmCompileTest, ArmDelayIsHalfSecondsAndCountIsOneByte)
{
    const std::pair<std::string, int> armDelays[] = {{"127", 0xFE},  {"0", 0x00}, {"63.5", 0x7F}, {"0.25", 0x00},
                                                     {"0.75", 0x02}, {"", 0x00},  {"127.5", 0xFF}};
    for (const auto& [text, byte] : armDelays) {
        SCOPED_TRACE(text);
        forms::Windows windows = readyWindows();
        windows.alarm.AlmArmDelay.setText(text);
        EXPECT_EQ(at(compiled(forms::Mode::Alarm, windows), 127), byte);
    }
    const std::pair<std::string, int> counts[] = {{"0", 0x00}, {"255", 0xFF}, {"12.5", 0x0C}, {"", 0x00}};
    for (const auto& [text, byte] : counts) {
        SCOPED_TRACE(text);
        forms::Windows windows = readyWindows();
        windows.alarm.AlmTxCntrLimit.setText(text);
        EXPECT_EQ(at(compiled(forms::Mode::Alarm, windows), 128), byte);
    }
}

TEST(AlarmCompileTest, NormalStatesSetTheirBitUnlessLow)
{
    const std::pair<std::array<int, 4>, int> cases[] = {
        {{0, 0, 0, 0}, 0x00}, {{1, 1, 1, 1}, 0xF0}, {{1, 0, 0, 0}, 0x80},
        {{0, 0, 0, 1}, 0x10}, {{0, 1, 0, 0}, 0x40}, {{-1, 0, 0, 0}, 0x80},
    };
    for (const auto& [states, byte] : cases) {
        SCOPED_TRACE(byte);
        forms::Windows windows = readyWindows();
        for (std::size_t i = 0; i < 4; ++i)
            windows.alarm.AlmCondition[i].setListIndex(states[i]);
        EXPECT_EQ(at(compiled(forms::Mode::Alarm, windows), 126), byte);
    }
}

TEST(AlarmCompileTest, MessagesArePaddedToTheirWidthsPlusOneZeroByte)
{
    forms::Windows windows = readyWindows();
    forms::AlarmForm& form = windows.alarm;
    form.AlarmMsgText[0].setText(std::string(25, 'A'));
    form.AlarmMsgText[2].setText(" Door open ");
    form.AlarmMsgText[3].setText(std::string(15, 'D'));
    form.AlmArmDelay.setText("10");
    form.AlmTxCntrLimit.setText("3");
    form.station.TmrSec.setText("30");
    const std::string stream = compiled(forms::Mode::Alarm, windows);
    EXPECT_EQ(stream.substr(52, 26), std::string(25, 'A') + '\0');
    EXPECT_EQ(stream.substr(78, 16), std::string(16, '\0'));
    EXPECT_EQ(stream.substr(94, 16), " Door open " + std::string(5, '\0'));
    EXPECT_EQ(stream.substr(110, 16), std::string(15, 'D') + '\0');
    EXPECT_EQ(stream.substr(46, 6), bytes({0x00, 0x00, 0x00, 0x1E, 0x00, 0x00}));
    EXPECT_EQ(stream.substr(126), bytes({0x00, 0x14, 0x03}));
}

} // namespace
} // namespace qm::image
