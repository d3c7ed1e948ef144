// Tests of the packet header read back from a compiled image.
#include "image/PacketHeader.h"

#include "image/Compile.h"

#include "ReadyWindows.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace qm::image
{
namespace
{

std::string compiledImage(forms::Mode mode, forms::Windows& windows)
{
    ImageFields fields;
    const CompileResult result = compileMode(mode, windows, fields);
    EXPECT_TRUE(result.ok()) << (result.refusal ? result.refusal->text : "");
    return result.downloadImage.empty() ? std::string(kImageSize, '\0') : result.downloadImage.substr(1);
}

std::vector<std::string> notations(const std::string& image)
{
    std::vector<std::string> texts;
    for (const auto& header : packetHeaders(image))
        texts.push_back(std::to_string(header.profile) + " " + monitorNotation(header));
    return texts;
}

struct StationCase
{
    forms::Mode mode;
    const char* myCall;
    const char* ssid;
    const char* toCall;
    std::array<const char*, 4> specialPaths;
    std::array<int, 4> paths;
    const char* header;
};

void PrintTo(const StationCase& stationCase, std::ostream* out)
{
    *out << stationCase.header;
}

class StationHeaderTest : public ::testing::TestWithParam<StationCase>
{};

TEST_P(StationHeaderTest, IsWhatTheImageHolds)
{
    const StationCase& c = GetParam();
    forms::Windows windows = readyWindows();
    forms::StationControls& station = windows.station(c.mode);
    station.MyCall.setText(c.myCall);
    station.SSID.setText(c.ssid);
    station.ToCall.setText(c.toCall);
    for (std::size_t i = 0; i < 4; ++i) {
        station.SpecPath[i].setText(c.specialPaths[i]);
        station.Path[i].setListIndex(c.paths[i]);
    }
    station.TmrMin.setText("10");
    windows.alarm.AlmTxCntrLimit.setText("1");
    EXPECT_EQ(notations(compiledImage(c.mode, windows)), std::vector<std::string>{std::string("1 ") + c.header});
}

INSTANTIATE_TEST_SUITE_P(
    Modes, StationHeaderTest,
    ::testing::Values(
        StationCase{forms::Mode::Beacon, "n0call", "5", "APRS", {"", "", "", ""}, {0, 0, 0, 0}, "N0CALL-5>APRS"},
        StationCase{
            forms::Mode::Beacon, "N0CALL", "", "APRS", {"WIDE2-1", "", "", ""}, {5, 0, 0, 0}, "N0CALL>APRS,WIDE2-1"},
        StationCase{forms::Mode::Telemetry,
                    " AB1CD ",
                    "15",
                    "apzqm-3",
                    {"", "WIDE1-1", "", "WIDE2-2"},
                    {6, 8, 0, 0},
                    "AB1CD-15>APZQM-3,WIDE1-1,WIDE2-2"},
        StationCase{forms::Mode::Telemetry,
                    "AB1CD",
                    "0",
                    "APRS-0",
                    {"", "", "", ""},
                    {2, 3, 1, 4},
                    "AB1CD>APRS,RELAY,WIDE,GATE,ECHO"},
        StationCase{forms::Mode::Alarm,
                    "K1ABC",
                    "13",
                    "ALARM",
                    {"WIDE2", "WIDE2-0", "", ""},
                    {5, 6, 0, 2},
                    "K1ABC-13>ALARM,WIDE2,WIDE2"},
        StationCase{forms::Mode::Alarm,
                    "K1ABC",
                    "",
                    "ALARM",
                    {"", "", "", ""},
                    {7, 0, 0, 0},
                    "K1ABC>ALARM,(empty Special Path 3)"}));

TEST(ProfileHeaderTest, EveryNmeaAndTrackingProfileHasItsOwnSsidAndPath)
{
    for (forms::Mode mode : {forms::Mode::Nmea, forms::Mode::Tracking}) {
        forms::Windows windows = readyWindows();
        forms::StationControls& station = windows.station(mode);
        forms::ProfileStore& store = mode == forms::Mode::Nmea ? windows.nmea.store : windows.tracking.store;
        station.MyCall.setText("N0CALL");
        station.ToCall.setText("APRS");
        station.SpecPath[0].setText("WIDE1-1");
        station.SpecPath[1].setText("WIDE2-1");
        windows.main.GpsString[0].setText("$GPRMC");
        windows.nmea.NMEATxOn.setValue(forms::kCarriageReturn, true);
        for (int k = 1; k <= forms::kProfileCount; ++k) {
            forms::ProfileEntry& entry = store.entry(k);
            entry.Path = {"0", "0", "0", "0"};
            entry.TmrMin = "1";
            entry.TmrSec = "0";
            entry.TxDelay = "0";
            entry.TxTail = "0";
            entry.Symbol = ">";
        }
        store.entry(1).SSID = "9";
        store.entry(1).Path = {"5", "6", "0", "0"};
        store.entry(2).SSID = "7";
        store.entry(2).Path = {"6", "0", "4", "0"};
        store.entry(10).Path = {"3", "0", "0", "0"};
        const auto texts = notations(compiledImage(mode, windows));
        ASSERT_EQ(texts.size(), 10u);
        EXPECT_EQ(texts[0], "1 N0CALL-9>APRS,WIDE1-1,WIDE2-1");
        EXPECT_EQ(texts[1], "2 N0CALL-7>APRS,WIDE2-1");
        EXPECT_EQ(texts[2], "3 N0CALL>APRS");
        EXPECT_EQ(texts[9], "10 N0CALL>APRS,WIDE");
    }
}

TEST(ProfileHeaderTest, ImagesOfOtherModesAndUnknownPathCodes)
{
    std::string image(kImageSize, '\0');
    image[0] = '\x05';
    EXPECT_TRUE(packetHeaders(image).empty());
    image[0] = '\x01';
    image.replace(4, 6, "W1AW  ");
    image.replace(10, 7, std::string("APRS  \x30", 7));
    image[45] = '\x76';
    image[47] = '\x30';
    const auto headers = packetHeaders(image);
    ASSERT_EQ(headers.size(), 1u);
    EXPECT_EQ(monitorNotation(headers[0]), "W1AW-3>APRS,(path code 6),(path code 7)");
    ASSERT_EQ(headers[0].path.size(), 2u);
    EXPECT_EQ(headers[0].path[1].entry, -1);
    EXPECT_EQ(headers[0].path[1].selector, 2);
}

} // namespace
} // namespace qm::image
