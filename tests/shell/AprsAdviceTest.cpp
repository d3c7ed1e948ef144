#include "shell/AprsAdvice.h"
#include "fakes/MemoryFileSystem.h"
#include "shell/AprsSymbols.h"
#include "shell/PacketPreview.h"
#include "shell/Session.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <ostream>
#include <utility>

namespace qm::shell
{
namespace
{

std::vector<std::string> exampleLines(const std::string& name)
{
    std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    return storage::splitLines({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
}

using Changes = std::vector<std::pair<std::size_t, std::string>>;

PacketPreview previewOf(const std::string& example, const Changes& changes)
{
    auto lines = exampleLines(example);
    for (const auto& [index, value] : changes)
        lines.at(index) = value;
    fakes::MemoryFileSystem files;
    files.files["config.vq3"] = storage::joinLines(lines);
    Session program(files);
    program.startUp();
    EXPECT_EQ(program.openConfigurationFile("config.vq3").kind, Session::OpenOutcome::Kind::Loaded);
    return previewConfiguration(program.windows(), *program.state().currentMode);
}

const std::string kRetired = ": today's APRS digipeaters no longer serve RELAY, WIDE, TRACE, GATE or ECHO; use WIDEn-N "
                             "paths instead, such as WIDE1-1,WIDE2-1 for a mobile or WIDE2-2 at most for a fixed "
                             "station.";
const std::string kStaysPut =
    "; a station that stays put commonly sends no SSID or one of -1 to -4 (-13 for a weather station).";
const std::string kTracker = "; a tracker commonly sends -9 (car), -7 (handheld) or -8 (boat).";
const std::string kNoSsid = "No SSID: a bare callsign usually stands for the home station" + kTracker;
const std::string kOften =
    " s through digipeaters: each packet is repeated by every digipeater in reach, so APRS custom is once a minute "
    "at most for a moving station and every 10 to 30 minutes for a fixed one; send more often only without a path.";

struct AdviceCase
{
    const char* example;
    Changes changes;
    std::vector<std::string> advice;
};

void PrintTo(const AdviceCase& adviceCase, std::ostream* out)
{
    *out << adviceCase.example;
    for (const auto& change : adviceCase.changes)
        *out << " line " << change.first;
}

class AdviceTest : public ::testing::TestWithParam<AdviceCase>
{};

TEST_P(AdviceTest, PointsOutWhatTodaysNetworksDoNotServe)
{
    EXPECT_EQ(previewOf(GetParam().example, GetParam().changes).advice, GetParam().advice);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AdviceTest,
    ::testing::Values(
        AdviceCase{"beacon.vq3", {}, {"Path 1 (WIDE)" + kRetired, "SSID -9 usually stands for a car" + kStaysPut}},
        AdviceCase{"beacon.vq3", {{8, ""}, {10, "WIDE2-1"}, {14, "5"}}, {}},
        AdviceCase{
            "beacon.vq3", {{8, "13"}, {10, "WIDE3-3"}, {14, "5"}, {18, "0"}, {19, "59"}}, {"Sends every 59" + kOften}},
        AdviceCase{"beacon.vq3",
                   {{8, "7"}, {10, "relay"}, {11, "TRACE3-3"}, {14, "5"}, {15, "6"}},
                   {"Path 1 (RELAY)" + kRetired, "Path 2 (TRACE3-3)" + kRetired,
                    "SSID -7 usually stands for a handheld" + kStaysPut}},
        AdviceCase{"alarm.vq3",
                   {{8, "14"}, {14, "1"}, {15, "4"}, {18, "0"}, {19, "0"}},
                   {"Path 1 (GATE)" + kRetired, "Path 2 (ECHO)" + kRetired,
                    "SSID -14 usually stands for a truck" + kStaysPut}},
        AdviceCase{"telemetry.vq3",
                   {{8, ""}, {14, "5"}, {15, "6"}, {22, "0"}, {23, "1"}},
                   {"Path 2 names Special Path 2, which is empty: the unit sends six spaces there. Fill in Special "
                    "Path 2 or choose another path.",
                    "Sends every 1" + kOften}},
        AdviceCase{"tracking.vq3", {}, {"Profile 1: Path 2 (WIDE)" + kRetired, "Profiles 2 to 10: " + kNoSsid}},
        AdviceCase{"tracking.vq3",
                   {{13 + 1, "5"}, {13 + 2, "0"}, {13 + 20, "13"}, {13 + 21, "5"}, {13 + 27, "45"}, {114, "*"}},
                   {"The Separator chooses no APRS symbol table: / is the primary table, \\ the alternate one, and a "
                    "digit or capital letter lays that character over an alternate symbol.",
                    "Profiles 2 and 4 to 10: " + kNoSsid,
                    "Profile 3: SSID -13 usually stands for a weather station" + kTracker,
                    "Profile 3: Sends every 45" + kOften}},
        AdviceCase{"nmea.vq3",
                   {{13 + 9, "10"}},
                   {"Profile 1: Path 1 (WIDE)" + kRetired, "Profiles 1 and 3 to 10: " + kNoSsid,
                    "Profile 2: Path 2 (WIDE)" + kRetired,
                    "Profile 2: SSID -10 usually stands for an internet gateway (IGate, EchoLink)" + kTracker,
                    "Profile 2: Sends every 30" + kOften}},
        AdviceCase{"nmea.vq3",
                   {{107, "$WIXDR"}, {108, ""}},
                   {"Profile 1: Path 1 (WIDE)" + kRetired, "Profile 2: Path 2 (WIDE)" + kRetired,
                    "Profile 2: SSID -9 usually stands for a car" + kStaysPut, "Profile 2: Sends every 30" + kOften}}));

TEST(ProfileListTest, WritesRunsAndSingleProfiles)
{
    struct Case
    {
        std::vector<int> profiles;
        const char* text;
    };
    const Case cases[] = {{{3}, "3"},
                          {{1, 2}, "1 and 2"},
                          {{1, 2, 3}, "1 to 3"},
                          {{1, 2, 5}, "1, 2 and 5"},
                          {{1, 2, 3, 4, 7}, "1 to 4 and 7"},
                          {{2, 4, 5, 6, 7, 8, 9, 10}, "2 and 4 to 10"}};
    for (const auto& c : cases)
        EXPECT_EQ(profileList(c.profiles), c.text);
}

struct PacketCase
{
    const char* example;
    Changes changes;
    std::vector<std::string> packets;
};

void PrintTo(const PacketCase& packetCase, std::ostream* out)
{
    *out << packetCase.example;
    for (const auto& change : packetCase.changes)
        *out << " line " << change.first;
}

class PacketPreviewTest : public ::testing::TestWithParam<PacketCase>
{};

TEST_P(PacketPreviewTest, ShowsTheHeaderAndSymbolOfEveryProfile)
{
    const auto preview = previewOf(GetParam().example, GetParam().changes);
    std::vector<std::string> packets;
    for (const auto& packet : preview.packets)
        packets.push_back(std::to_string(packet.profile) + " " + packet.header +
                          (packet.symbol ? " " + symbolText(*packet.symbol) : ""));
    EXPECT_EQ(packets, GetParam().packets);
    EXPECT_FALSE(preview.refusal);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, PacketPreviewTest,
    ::testing::Values(
        PacketCase{"beacon.vq3", {}, {"1 TEST-9>APRS,WIDE"}},
        PacketCase{"telemetry.vq3", {}, {"1 N0CALL-5>APRS,WIDE2-2,WIDE"}},
        PacketCase{"alarm.vq3", {}, {"1 N0CALL-3>ALARM,WIDE"}},
        PacketCase{"nmea.vq3",
                   {{8, "apzqm-1"}},
                   {"1 N0CALL>APZQM-1,WIDE", "2 N0CALL-9>APZQM-1,WIDE1-1,WIDE", "3 N0CALL>APZQM-1", "4 N0CALL>APZQM-1",
                    "5 N0CALL>APZQM-1", "6 N0CALL>APZQM-1", "7 N0CALL>APZQM-1", "8 N0CALL>APZQM-1", "9 N0CALL>APZQM-1",
                    "10 N0CALL>APZQM-1"}},
        PacketCase{"tracking.vq3",
                   {{13 + 10 + 5, "k"}, {13 + 20 + 5, ""}, {13 + 30 + 5, "|"}},
                   {"1 N0CALL-9>APRS,WIDE2-1,WIDE // Red dot", "2 N0CALL>APRS /k Truck", "3 N0CALL>APRS (none)",
                    "4 N0CALL>APRS /| (no name)", "5 N0CALL>APRS /> Car", "6 N0CALL>APRS /> Car",
                    "7 N0CALL>APRS /> Car", "8 N0CALL>APRS /> Car", "9 N0CALL>APRS /> Car", "10 N0CALL>APRS /> Car"}},
        PacketCase{
            "tracking.vq3",
            {{114, "\\"}, {13 + 5, "k"}},
            {"1 N0CALL-9>APRS,WIDE2-1,WIDE \\k Special vehicle (SUV, ATV, 4x4)", "2 N0CALL>APRS \\> Car (overlaid)",
             "3 N0CALL>APRS \\> Car (overlaid)", "4 N0CALL>APRS \\> Car (overlaid)", "5 N0CALL>APRS \\> Car (overlaid)",
             "6 N0CALL>APRS \\> Car (overlaid)", "7 N0CALL>APRS \\> Car (overlaid)", "8 N0CALL>APRS \\> Car (overlaid)",
             "9 N0CALL>APRS \\> Car (overlaid)", "10 N0CALL>APRS \\> Car (overlaid)"}}));

TEST(PacketPreviewTest, AConfigurationThatDoesNotCompileHasNoPacketsAndSaysWhy)
{
    const auto preview = previewOf("beacon.vq3", {{9, "APRSXYZ"}});
    EXPECT_TRUE(preview.packets.empty());
    EXPECT_TRUE(preview.advice.empty());
    ASSERT_TRUE(preview.refusal);
    EXPECT_EQ(preview.refusal->focus, "BcnToCall");
}

TEST(PacketPreviewTest, LeavesTheWindowsAsTheyWere)
{
    fakes::MemoryFileSystem files;
    files.files["config.vq3"] = storage::joinLines(exampleLines("tracking.vq3"));
    Session program(files);
    program.startUp();
    ASSERT_EQ(program.openConfigurationFile("config.vq3").kind, Session::OpenOutcome::Kind::Loaded);
    program.windows().tracking.station.TmrMin.setText("");
    program.windows().tracking.store.entry(5).TmrSec = "";
    const forms::Windows before = program.windows();
    const auto preview = previewConfiguration(program.windows(), forms::Mode::Tracking);
    EXPECT_EQ(preview.packets.size(), 10u);
    EXPECT_EQ(program.windows().tracking.station.TmrMin.text(), "");
    EXPECT_EQ(program.windows().tracking.store.entry(5).TmrSec, "");
    EXPECT_EQ(program.windows().tracking.store.entry(1), before.tracking.store.entry(1));
}

TEST(AprsSymbolTest, NamesSymbolsOfBothTablesAndOverlays)
{
    struct Case
    {
        char table;
        char code;
        std::optional<std::string> name;
    };
    const Case cases[] = {
        {'/', '>', "Car"},
        {'/', 'k', "Truck"},
        {'/', '[', "Jogger"},
        {'/', '-', "House"},
        {'/', '_', "Weather station"},
        {'/', 'Y', "Sailboat"},
        {'/', '#', "Digipeater"},
        {'\\', '-', "House (HF)"},
        {'\\', '!', "Emergency"},
        {'\\', 'k', "Special vehicle (SUV, ATV, 4x4)"},
        {'E', '>', "Car (overlaid) with overlay E"},
        {'3', '#', "Digipeater (green star) with overlay 3"},
        {'/', '"', std::nullopt},
        {'/', '~', std::nullopt},
        {'\\', '1', std::nullopt},
        {'e', '>', std::nullopt},
        {'!', '>', std::nullopt},
        {'\0', '>', std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(symbolName(c.table, c.code), c.name) << c.table << c.code;
}

TEST(AprsSymbolTest, TheSeparatorIsTheSymbolTable)
{
    EXPECT_EQ(symbolTableName('/'), "primary symbol table");
    EXPECT_EQ(symbolTableName('\\'), "alternate symbol table");
    EXPECT_EQ(symbolTableName('9'), "alternate symbol table with overlay 9");
    EXPECT_EQ(symbolTableName('Z'), "alternate symbol table with overlay Z");
    EXPECT_EQ(symbolTableName('a'), std::nullopt);
    EXPECT_EQ(symbolTableName('|'), std::nullopt);
}

TEST(AprsSymbolTest, EveryCommonSymbolHasANameAndAppearsOnce)
{
    const auto symbols = commonSymbols();
    ASSERT_GE(symbols.size(), 10u);
    EXPECT_EQ(symbols.front(), (AprsSymbol{'/', '>', "Car"}));
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        EXPECT_FALSE(symbols[i].name.empty()) << symbols[i].table << symbols[i].code;
        for (std::size_t j = i + 1; j < symbols.size(); ++j)
            EXPECT_FALSE(symbols[i].table == symbols[j].table && symbols[i].code == symbols[j].code);
    }
}

} // namespace
} // namespace qm::shell
