// Tests of the pure byte layer: callsign split and padding, AX.25 addresses, path, timer and TX codes.
#include "image/Encoding.h"

#include "ReadyWindows.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

namespace qm::image
{
namespace
{

TEST(CallsignTest, SplitsTrimmedUpperCaseTextAtItsFirstDash)
{
    struct Case
    {
        std::string text;
        std::string callsign;
        std::optional<std::string> ssid;
    };
    const Case cases[] = {
        {" wide2-2 ", "WIDE2", "2"}, {"APRS", "APRS", std::nullopt}, {"APRS-", "APRS", ""},
        {"a-b-c", "A", "B-C"},       {"", "", std::nullopt},         {"-5", "", "5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const CallsignParts parts = splitCallsign(c.text);
        EXPECT_EQ(parts.callsign, c.callsign);
        EXPECT_EQ(parts.ssid, c.ssid);
    }
}

TEST(AddressFieldTest, DecodesHalvedBytesSkippingSpacesAndShowsSsidUnlessByteIs0x60)
{
    const std::pair<std::string, std::string> cases[] = {
        {bytes({0xAE, 0x92, 0x88, 0x8A, 0x64, 0x40, 0x64}), "WIDE2-2"},
        {bytes({0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x60}), ""},
        {bytes({0xA4, 0x8A, 0x98, 0x82, 0xB2, 0x40, 0x60}), "RELAY"},
        {bytes({0x40, 0x82, 0x40, 0x84, 0x41, 0x83, 0x60}), "ABA"},
        {bytes({0x82, 0x40, 0x40, 0x40, 0x40, 0x40, 0x61}), "A-0"},
        {bytes({0x82, 0x40, 0x40, 0x40, 0x40, 0x40, 0x00}), "A-0"},
        {bytes({0x82, 0x40, 0x40, 0x40, 0x40, 0x40, 0xFF}), "A-15"},
        {bytes({0x82, 0x40, 0x40, 0x40, 0x40, 0x40, 0x7E}), "A-15"},
    };
    for (const auto& [field, text] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(decodeAddress(field), text);
    }
}

TEST(PathCodeTest, MapsSelectorIndexesToCodesAndBack)
{
    const std::pair<int, int> codes[] = {{-1, 0}, {0, 0},  {1, 1},  {2, 2},  {3, 3}, {4, 4},
                                         {5, 12}, {6, 13}, {7, 14}, {8, 15}, {9, 0}, {100, 0}};
    for (const auto& [index, code] : codes) {
        SCOPED_TRACE(index);
        EXPECT_EQ(pathCode(index), code);
    }
    const int indexes[16] = {0, 1, 2, 3, 4, -1, -1, -1, -1, -1, -1, -1, 5, 6, 7, 8};
    for (int code = 0; code < 16; ++code) {
        SCOPED_TRACE(code);
        EXPECT_EQ(pathIndex(static_cast<std::uint8_t>(code)), indexes[code]);
    }
}

TEST(TimerCodeTest, SplitsSecondsIntoHighNibbleAndLowByte)
{
    const std::pair<int, std::pair<int, int>> cases[] = {
        {0, {0, 0}}, {255, {0, 255}}, {256, {1, 0}}, {600, {2, 0x58}}, {4080, {15, 0xF0}}, {4095, {15, 0xFF}},
    };
    for (const auto& [seconds, split] : cases) {
        SCOPED_TRACE(seconds);
        const auto [high, low] = splitTimer(seconds);
        EXPECT_EQ(high, split.first);
        EXPECT_EQ(low, split.second);
        EXPECT_EQ(joinTimer(high, low), seconds);
    }
}

TEST(TxCodeTest, CodesArePositionsAt1200AndPositionPlusOneAt300)
{
    struct Case
    {
        int index;
        bool baud300;
        std::optional<std::uint8_t> code;
    };
    const Case cases[] = {
        {-2, false, std::nullopt}, {-1, false, 0},           {0, false, 0}, {6, false, 6}, {15, false, 15},
        {16, false, std::nullopt}, {-2, true, std::nullopt}, {-1, true, 0}, {0, true, 1},  {14, true, 15},
        {15, true, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.index) + (c.baud300 ? " at 300" : " at 1200"));
        EXPECT_EQ(txCode(c.index, c.baud300), c.code);
    }
}

} // namespace
} // namespace qm::image
