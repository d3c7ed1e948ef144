// Tests of the upload decoding into the field store and of the Telemetry, Beacon and Alarm window fills.
#include "image/Decode.h"

#include "image/Encoding.h"

#include "ReadyWindows.h"

#include <gtest/gtest.h>

#include <array>
#include <locale>
#include <optional>
#include <string>
#include <utility>

namespace qm::image
{
namespace
{

std::string numberedImage(int modeByte)
{
    std::string image;
    for (int position = 1; position <= 128; ++position)
        image.push_back(static_cast<char>(position));
    image[0] = static_cast<char>(modeByte);
    return image;
}

std::string numbered(std::size_t position, std::size_t length)
{
    return numberedImage(0).substr(position - 1, length);
}

ImageFields untouchedFields()
{
    ImageFields fields;
    for (auto& profile : fields.profile)
        profile.fill(0xEE);
    fields.beaconText = "old text";
    fields.alarmMessage = {"old", "old", "old", "old"};
    fields.dataHeader = {"old", "old", "old"};
    fields.nmeaTail = "old";
    fields.comment = "old";
    fields.prefixByte = 0xEE;
    fields.armDelayByte = 0xEE;
    return fields;
}

TEST(ModeByteTest, DecodesModeInputBaudOutputBaudAndDelta)
{
    struct Case
    {
        int modeByte, mode, inputBaud;
        bool baud300, delta;
    };
    const Case cases[] = {{0x00, 0, 0, false, false}, {0x7B, 3, 3, true, true},  {0x12, 2, 2, false, false},
                          {0xFF, 7, 3, true, true},   {0x21, 1, 0, true, false}, {0x0C, 4, 1, false, false},
                          {0x42, 2, 0, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.modeByte);
        const auto byte = static_cast<std::uint8_t>(c.modeByte);
        const ModeByte bits = decodeModeByte(byte);
        EXPECT_EQ(modeCode(byte), c.mode);
        EXPECT_EQ(bits.modeCode, c.mode);
        EXPECT_EQ(bits.inputBaudCode, c.inputBaud);
        EXPECT_EQ(bits.output300, c.baud300);
        EXPECT_EQ(bits.delta, c.delta);
        // The top bit is never written.
        EXPECT_EQ(encodeModeByte(bits), byte & 0x7F);
    }
}

TEST(DecodeFieldsTest, KeepsOnlyTheProfilesTheModeCarries)
{
    struct Case
    {
        int modeByte;
        int profilesCarried;
    };
    const Case cases[] = {{0x00, 1}, {0x01, 1}, {0x02, 10}, {0x03, 10}, {0x04, 1}, {0x05, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.modeByte);
        const ImageFields fields = decodeFields(numberedImage(c.modeByte));
        EXPECT_EQ(fields.modeByte, c.modeByte);
        EXPECT_EQ(fields.stationCallsign, numbered(5, 6));
        for (int profile = 1; profile <= forms::kProfileCount; ++profile) {
            const bool carried = profile <= c.profilesCarried;
            EXPECT_EQ(fields.profileByte(profile, 1) != 0, carried) << profile;
        }
    }
}

TEST(OptionByteTest, EachSettingHasItsOwnBit)
{
    struct Case
    {
        int optionByte;
        bool ledDisable, micEncode, modeLock;
    };
    const Case cases[] = {{0x00, false, false, false}, {0x01, true, false, false}, {0x02, false, true, false},
                          {0x04, false, false, true},  {0x07, true, true, true},   {0x05, true, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.optionByte);
        const OptionByte options = decodeOptionByte(static_cast<std::uint8_t>(c.optionByte));
        EXPECT_EQ(options.ledDisable, c.ledDisable);
        EXPECT_EQ(options.micEncode, c.micEncode);
        EXPECT_EQ(options.modeLock, c.modeLock);
        EXPECT_EQ(encodeOptionByte(options), c.optionByte);
    }
    // Bits no setting uses are not read.
    EXPECT_EQ(encodeOptionByte(decodeOptionByte(0xF8)), 0x00);
}

TEST(AutoModeByteTest, OnlyTheTwoWrittenValuesDecode)
{
    EXPECT_EQ(encodeAutoModeByte(false), 0x00);
    EXPECT_EQ(encodeAutoModeByte(true), 0xFF);
    const std::pair<int, std::optional<bool>> cases[] = {
        {0x00, false}, {0xFF, true}, {0x01, std::nullopt}, {0x80, std::nullopt}, {0xFE, std::nullopt}};
    for (const auto& [byte, expected] : cases)
        EXPECT_EQ(decodeAutoModeByte(static_cast<std::uint8_t>(byte)), expected) << byte;
}

TEST(SplitUploadTest, HeaderBytesAndCallsignsAreTakenFromTheirPositions)
{
    std::string image = numberedImage(0x01);
    image.replace(4, 6, " TEST ");
    image.replace(10, 7, std::string("APRS  \x30", 7));
    ImageFields fields;
    splitUpload(image, fields);
    EXPECT_EQ(fields.modeByte, 0x01);
    EXPECT_EQ(fields.optionByte, 2);
    EXPECT_EQ(fields.autoModeByte, 3);
    EXPECT_EQ(fields.profileIndexByte, 4);
    EXPECT_EQ(fields.stationCallsign, "TEST");
    EXPECT_EQ(fields.toCall, "APRS");
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(fields.specialPath[i], numbered(18 + 7 * i, 7));
}

TEST(SplitUploadTest, ToCallShowsItsSsidByteUnlessItIs0x30)
{
    const std::pair<std::string, std::string> cases[] = {
        {std::string("APRS  \x30", 7), "APRS"},   {std::string("APRS  \x0A", 7), "APRS-10"},
        {std::string("APRS  \x00", 7), "APRS-0"}, {std::string("APRS  \x03", 7), "APRS-3"},
        {std::string("  AB  \x30", 7), "AB"},     {std::string("ABCDEF\xFF", 7), "ABCDEF-255"},
        {std::string("      \x31", 7), "-49"},
    };
    for (const auto& [field, text] : cases) {
        SCOPED_TRACE(text);
        std::string image(128, '\0');
        image.replace(10, 7, field);
        ImageFields fields;
        splitUpload(image, fields);
        EXPECT_EQ(fields.toCall, text);
    }
}

TEST(SplitUploadTest, ProfilesAndModeFieldsAreTakenOnlyForTheImagesMode)
{
    for (int mode = 0; mode < 8; ++mode) {
        SCOPED_TRACE(mode);
        ImageFields fields = untouchedFields();
        splitUpload(numberedImage(mode), fields);
        const bool oneProfile = mode == 0 || mode == 1 || mode == 4;
        const bool tenProfiles = mode == 2 || mode == 3;
        for (int k = 1; k <= forms::kProfileCount; ++k) {
            const bool taken = tenProfiles || (oneProfile && k == 1);
            for (int b = 1; b <= 6; ++b) {
                const int expected = taken ? 46 + 6 * (k - 1) + (b - 1) : 0xEE;
                EXPECT_EQ(fields.profileByte(k, b), expected) << "profile " << k << " byte " << b;
            }
        }
        EXPECT_EQ(fields.beaconText, mode == 1 ? numbered(52, 76) : "old text");
        EXPECT_EQ(fields.dataHeader[2], mode == 2 ? numbered(120, 7) : "old");
        EXPECT_EQ(fields.nmeaTail, mode == 2 ? numbered(127, 2) : "old");
        EXPECT_EQ(fields.prefixByte, mode == 3 ? 106 : 0xEE);
        EXPECT_EQ(fields.comment, mode == 3 ? numbered(108, 21) : "old");
        EXPECT_EQ(fields.alarmMessage[1], mode == 4 ? numbered(78, 16) : "old");
        EXPECT_EQ(fields.armDelayByte, mode == 4 ? 127 : 0xEE);
    }
}

ImageFields profileOneFields(std::array<int, 6> profileBytes)
{
    ImageFields fields;
    for (std::size_t b = 0; b < 6; ++b)
        fields.profile[0][b] = static_cast<std::uint8_t>(profileBytes[b]);
    for (auto& path : fields.specialPath)
        path = encodeAddress("", std::nullopt);
    return fields;
}

TEST(StationFillTest, PathCodesSelectTheirEntriesAndUnknownCodesSelectNone)
{
    const std::pair<std::array<int, 2>, std::array<int, 4>> cases[] = {
        {{0x03, 0x00}, {3, 0, 0, 0}}, {{0x21, 0x43}, {1, 2, 3, 4}},     {{0xDC, 0xFE}, {5, 6, 7, 8}},
        {{0x0E, 0x00}, {7, 0, 0, 0}}, {{0xB5, 0x7A}, {-1, -1, -1, -1}}, {{0xC6, 0x00}, {-1, 5, 0, 0}},
    };
    for (forms::Mode mode : {forms::Mode::Telemetry, forms::Mode::Beacon, forms::Mode::Alarm}) {
        for (const auto& [codes, indexes] : cases) {
            SCOPED_TRACE(std::to_string(forms::codeOfMode(mode)) + " " + std::to_string(codes[0]));
            forms::Windows windows = readyWindows();
            fillMode(mode, windows, profileOneFields({codes[0], codes[1], 0, 0, 0, 0}));
            for (std::size_t i = 0; i < 4; ++i)
                EXPECT_EQ(windows.station(mode).Path[i].listIndex(), indexes[i]) << "path " << i + 1;
        }
    }
}

TEST(StationFillTest, SsidTimerAndTxListsComeFromTheProfileBytes)
{
    struct Case
    {
        bool baud300;
        int byte3, byte4, byte6;
        std::string ssid, minutes, seconds;
        int delay, tail;
    };
    const Case cases[] = {
        {false, 0x92, 0x58, 0x62, "9", "10", "0", 6, 2},     {false, 0x00, 0x00, 0x00, "", "0", "0", 0, 0},
        {false, 0xFF, 0xFF, 0xFF, "15", "68", "15", 15, 15}, {false, 0x01, 0x00, 0x0F, "", "4", "16", 0, 15},
        {true, 0x10, 0x3B, 0x62, "1", "0", "59", 5, 1},      {true, 0x00, 0x00, 0x00, "", "0", "0", -1, -1},
        {true, 0x00, 0x00, 0xFF, "", "0", "0", 14, 14},      {true, 0x00, 0x00, 0x10, "", "0", "0", 0, -1},
    };
    for (forms::Mode mode : {forms::Mode::Telemetry, forms::Mode::Beacon, forms::Mode::Alarm}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(forms::codeOfMode(mode)) + " " + std::to_string(c.byte6));
            forms::Windows windows = readyWindows();
            setOutputBaud(windows, c.baud300);
            windows.station(mode).SSID.setText("7");
            fillMode(mode, windows, profileOneFields({0, 0, c.byte3, c.byte4, 0, c.byte6}));
            const forms::StationControls& station = windows.station(mode);
            EXPECT_EQ(station.SSID.text(), c.ssid);
            EXPECT_EQ(station.TmrMin.text(), c.minutes);
            EXPECT_EQ(station.TmrSec.text(), c.seconds);
            EXPECT_EQ(station.TxDelay.listIndex(), c.delay);
            EXPECT_EQ(station.TxTail.listIndex(), c.tail);
        }
    }
}

TEST(StationFillTest, SpecialPathsAreDecodedAndRenameTheirEntriesInAllFourSelectors)
{
    forms::Windows windows = readyWindows();
    forms::StationControls& station = windows.telemetry.station;
    station.SpecPath[1].setText("OLD");
    forms::relabelSpecialPath(station, 2);
    station.Path[2].setListIndex(5);
    ImageFields fields = profileOneFields({0x0C, 0x00, 0, 0, 0, 0});
    fields.specialPath[0] = encodeAddress("WIDE2", 2);
    fields.specialPath[3] = encodeAddress("RELAY", std::nullopt);
    fillTelemetryWindow(windows, fields);
    const std::array<std::string, 4> texts{"WIDE2-2", "", "", "RELAY"};
    const std::array<std::string, 4> labels{"WIDE2-2", "Special Path 2", "Special Path 3", "RELAY"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(station.SpecPath[i].text(), texts[i]);
        for (const forms::PickList& path : station.Path)
            EXPECT_EQ(path.entries()[5 + i], labels[i]) << path.name();
    }
    EXPECT_EQ(station.Path[0].text(), "WIDE2-2");
}

TEST(TelemetryFillTest, TerminationCodeChoosesItsOption)
{
    struct Case
    {
        int code, option;
        std::string userText;
    };
    const Case cases[] = {{13, forms::kCarriageReturn, "77"},
                          {10, forms::kLineFeed, "77"},
                          {3, forms::kUserDefined, "3"},
                          {0, forms::kUserDefined, "0"},
                          {255, forms::kUserDefined, "255"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        forms::Windows windows = readyWindows();
        windows.telemetry.TelUserTrigChar.setText("77");
        fillTelemetryWindow(windows, profileOneFields({0, 0, 0, 0, c.code, 0}));
        EXPECT_EQ(windows.telemetry.TelTxOn.selected(), c.option);
        EXPECT_EQ(windows.telemetry.TelUserTrigChar.text(), c.userText);
    }
}

TEST(BeaconFillTest, TextIsTrimmedThenCutAtItsFirstZeroByte)
{
    const std::string trailing = std::string(70, 'X') + std::string(6, ' ');
    const std::pair<std::string, std::string> cases[] = {
        {"HELLO", "HELLO"}, {"HELLO   ", "HELLO   "},   {trailing, std::string(70, 'X')}, {"   HI", "HI"},
        {"", ""},           {std::string(76, ' '), ""}, {std::string("A\0B", 3), "A"},    {"A\r\nB", "A\r\nB"},
    };
    for (const auto& [text, shown] : cases) {
        SCOPED_TRACE(text);
        forms::Windows windows = readyWindows();
        ImageFields fields = profileOneFields({0, 0, 0, 0, 0, 0});
        fields.beaconText = padNul(text, 76);
        fillBeaconWindow(windows, fields);
        EXPECT_EQ(windows.beacon.BcnMsgText.text(), shown);
    }
}

TEST(AlarmFillTest, StatesArmDelayCountAndMessagesComeBack)
{
    struct Case
    {
        int normalState;
        std::array<int, 4> states;
        int armDelay;
        std::string armDelayText;
        int count;
        std::string countText;
    };
    const Case cases[] = {
        {0x80, {1, 0, 0, 0}, 0xFE, "127", 0, "0"}, {0xF0, {1, 1, 1, 1}, 0x7F, "63.5", 255, "255"},
        {0x0F, {0, 0, 0, 0}, 0x00, "0", 3, "3"},   {0x10, {0, 0, 0, 1}, 0xFF, "127.5", 10, "10"},
        {0x60, {0, 1, 1, 0}, 0x01, "0.5", 1, "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.armDelayText);
        forms::Windows windows = readyWindows();
        ImageFields fields = profileOneFields({0, 0, 0, 0, 0, 0});
        fields.normalStateByte = static_cast<std::uint8_t>(c.normalState);
        fields.armDelayByte = static_cast<std::uint8_t>(c.armDelay);
        fields.txCountByte = static_cast<std::uint8_t>(c.count);
        fields.alarmMessage = {padNul("HELLO", 26), padNul(" AB ", 16), std::string(16, '\0'),
                               std::string("X\0Y", 3) + std::string(13, '\0')};
        fillAlarmWindow(windows, fields);
        const forms::AlarmForm& form = windows.alarm;
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(form.AlmCondition[i].listIndex(), c.states[i]) << "input " << i + 1;
        EXPECT_EQ(form.AlmArmDelay.text(), c.armDelayText);
        EXPECT_EQ(form.AlmTxCntrLimit.text(), c.countText);
        EXPECT_EQ(form.AlarmMsgText[0].text(), "HELLO");
        EXPECT_EQ(form.AlarmMsgText[1].text(), " AB ");
        EXPECT_EQ(form.AlarmMsgText[2].text(), "");
        EXPECT_EQ(form.AlarmMsgText[3].text(), "X");
    }
}

struct CommaDecimal : std::numpunct<char>
{
    char do_decimal_point() const override { return ','; }
};

TEST(AlarmFillTest, ArmDelayIsWrittenWithAPointWhateverTheLocale)
{
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    forms::Windows windows = readyWindows();
    ImageFields fields = profileOneFields({0, 0, 0, 0, 0, 0});
    fields.armDelayByte = 0x7F;
    fillAlarmWindow(windows, fields);
    std::locale::global(previous);
    EXPECT_EQ(windows.alarm.AlmArmDelay.text(), "63.5");
}

} // namespace
} // namespace qm::image
