#include "shell/ConfigurationSummary.h"
#include "fakes/MemoryFileSystem.h"
#include "shell/Session.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace qm::shell
{
namespace
{

using forms::Mode;

std::vector<std::string> exampleLines(const std::string& name)
{
    std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    return storage::splitLines({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
}

ConfigurationSummary summaryOf(const std::vector<std::string>& lines)
{
    fakes::MemoryFileSystem files;
    files.files["config.vq3"] = storage::joinLines(lines);
    Session program(files);
    program.startUp();
    const auto opened = program.openConfigurationFile("config.vq3");
    EXPECT_EQ(opened.kind, Session::OpenOutcome::Kind::Loaded);
    program.saveShownProfiles();
    return summarizeConfiguration(program.windows(), *program.state().currentMode);
}

const SummaryItem* findItem(const std::vector<SummaryItem>& items, const std::string& control)
{
    for (const auto& item : items)
        if (item.control == control)
            return &item;
    return nullptr;
}

std::vector<std::string> controlsOf(const std::vector<SummaryItem>& items)
{
    std::vector<std::string> controls;
    for (const auto& item : items)
        controls.push_back(item.control);
    return controls;
}

struct ExampleItem
{
    const char* example;
    const char* control;
    const char* label;
    const char* value;
};

class ExampleSummaryTest : public ::testing::TestWithParam<ExampleItem>
{};

TEST_P(ExampleSummaryTest, ShowsTheItemAsAPersonReadsIt)
{
    const ExampleItem& expected = GetParam();
    const auto summary = summaryOf(exampleLines(expected.example));
    const SummaryItem* item = findItem(summary.items, expected.control);
    ASSERT_NE(item, nullptr) << expected.control;
    EXPECT_EQ(item->label, expected.label);
    EXPECT_EQ(item->value, expected.value);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ExampleSummaryTest,
    ::testing::Values(ExampleItem{"telemetry.vq3", "mode", "Mode", "Telemetry"},
                      ExampleItem{"telemetry.vq3", "inputbaudrate", "Input Baud Rate", "4800"},
                      ExampleItem{"telemetry.vq3", "outputbaudrate", "Output Baud Rate", "1200"},
                      ExampleItem{"telemetry.vq3", "TelMySSID", "My SSID", "5"},
                      ExampleItem{"telemetry.vq3", "TelPath1", "Path 1", "WIDE2-2"},
                      ExampleItem{"telemetry.vq3", "TelTmr", "Transmit Timer", "5 min 0 s"},
                      ExampleItem{"telemetry.vq3", "TelTxOn", "Termination Character", "Carriage Return"},
                      ExampleItem{"beacon.vq3", "BcnMyCall", "My Call", "TEST"},
                      ExampleItem{"beacon.vq3", "BcnTxDelay", "Transmit Delay", "293 ms"},
                      ExampleItem{"nmea.vq3", "ModeLock", "Mode Lock", "Yes"},
                      ExampleItem{"nmea.vq3", "NMEASpecPath1", "Special Path 1", "WIDE1-1"},
                      ExampleItem{"nmea.vq3", "GpsString2", "Data Header 2", "$GPGGA"},
                      ExampleItem{"nmea.vq3", "GpsString3", "Data Header 3", "(none)"},
                      ExampleItem{"nmea.vq3", "NMEADeltaEnable", "Course Delta", "No"},
                      ExampleItem{"tracking.vq3", "MicEncode", "Mic Encode", "Yes"},
                      ExampleItem{"tracking.vq3", "AutoMode", "Auto Mode On", "No"},
                      ExampleItem{"tracking.vq3", "TrkPrefix", "Prefix", "!"},
                      ExampleItem{"tracking.vq3", "TrkSeparator", "Separator", "/"},
                      ExampleItem{"tracking.vq3", "TrkComments", "Comments", "Mobile station"},
                      ExampleItem{"alarm.vq3", "AlmToCall", "To Call", "ALARM"},
                      ExampleItem{"alarm.vq3", "AlarmMsgText1", "Alarm 1 Message", "Front door open"},
                      ExampleItem{"alarm.vq3", "AlmCondition3", "Alarm 3 Normal State", "Low"},
                      ExampleItem{"alarm.vq3", "AlmCondition4", "Alarm 4 Normal State", "High"},
                      ExampleItem{"alarm.vq3", "AlmArmDelay", "Arm Delay (Secs)", "30"},
                      ExampleItem{"alarm.vq3", "AlmTxCntrLimit", "Number Times To Send", "3"},
                      ExampleItem{"alarm.vq3", "AlmTmr", "Transmit Timer", "2 min 0 s"}));

struct HeaderCase
{
    const char* example;
    std::vector<std::string> controls;
};

class SummaryHeaderTest : public ::testing::TestWithParam<HeaderCase>
{};

TEST_P(SummaryHeaderTest, ListsOnlyTheOptionsTheModeUses)
{
    const auto summary = summaryOf(exampleLines(GetParam().example));
    auto controls = controlsOf(summary.items);
    controls.resize(GetParam().controls.size());
    EXPECT_EQ(controls, GetParam().controls);
    EXPECT_EQ(summary.items[GetParam().controls.size()].label, "My Call");
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SummaryHeaderTest,
    ::testing::Values(HeaderCase{"telemetry.vq3", {"mode", "inputbaudrate", "outputbaudrate", "LEDDisable"}},
                      HeaderCase{"beacon.vq3", {"mode", "outputbaudrate", "LEDDisable"}},
                      HeaderCase{"nmea.vq3", {"mode", "inputbaudrate", "outputbaudrate", "LEDDisable", "ModeLock"}},
                      HeaderCase{"tracking.vq3",
                                 {"mode", "inputbaudrate", "outputbaudrate", "LEDDisable", "MicEncode", "ModeLock",
                                  "AutoMode"}},
                      HeaderCase{"alarm.vq3", {"mode", "inputbaudrate", "outputbaudrate", "LEDDisable"}}));

TEST(ConfigurationSummaryTest, ShowsTheTenTrackingProfiles)
{
    const auto summary = summaryOf(exampleLines("tracking.vq3"));
    ASSERT_EQ(summary.profiles.size(), 10u);
    const std::vector<SummaryItem> first{
        {"TrkSSID", "SSID", "9"},
        {"TrkPath1", "Path 1", "WIDE2-1"},
        {"TrkPath2", "Path 2", "WIDE"},
        {"TrkPath3", "Path 3", "(none)"},
        {"TrkPath4", "Path 4", "(none)"},
        {"TrkTmr", "Transmit Timer", "1 min 0 s"},
        {"TrkTxDelay", "Transmit Delay", "293 ms"},
        {"TrkTxTail", "Tail Delay", "53 ms"},
        {"TrkSymbol", "Symbol", "/"},
        {"TrkSendComments", "Send Comments", "Yes"},
    };
    EXPECT_EQ(summary.profiles[0], first);
    std::vector<std::string> second;
    for (const auto& item : summary.profiles[1])
        second.push_back(item.value);
    EXPECT_EQ(second, (std::vector<std::string>{"(none)", "(none)", "(none)", "(none)", "(none)", "0 min 30 s",
                                                "293 ms", "53 ms", ">", "No"}));
    for (std::size_t k = 2; k < 10; ++k) {
        EXPECT_EQ(findItem(summary.profiles[k], "TrkTxDelay")->value, "133 ms");
        EXPECT_EQ(findItem(summary.profiles[k], "TrkSymbol")->value, ">");
    }
    EXPECT_EQ(findItem(summary.items, "TrkSSID"), nullptr);
}

struct StoredPositionCase
{
    const char* outputBaud;
    const char* delay;
    const char* tail;
    const char* delayShown;
    const char* tailShown;
};

class StoredPositionTest : public ::testing::TestWithParam<StoredPositionCase>
{};

TEST_P(StoredPositionTest, ShowsTheListEntryOfTheStoredPosition)
{
    auto lines = exampleLines("tracking.vq3");
    lines[2] = GetParam().outputBaud;
    lines[13 + 20 + 8] = GetParam().delay;
    lines[13 + 20 + 9] = GetParam().tail;
    const auto summary = summaryOf(lines);
    EXPECT_EQ(findItem(summary.profiles[2], "TrkTxDelay")->value, GetParam().delayShown);
    EXPECT_EQ(findItem(summary.profiles[2], "TrkTxTail")->value, GetParam().tailShown);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, StoredPositionTest,
    ::testing::Values(StoredPositionCase{"0", "15", "0", "533 ms", "27 ms"},
                      StoredPositionCase{"0", "-1", "16", "(none)", "position 16 (not in the list)"},
                      StoredPositionCase{"1", "5", "2", "320 ms", "80 ms"},
                      StoredPositionCase{"1", "14", "15", "800 ms", "position 15 (not in the list)"},
                      StoredPositionCase{"1", "-1", "-1", "(none)", "(none)"}));

TEST(ConfigurationSummaryTest, ShowsSymbolAndSendCommentsFromTheStoredCharacter)
{
    auto lines = exampleLines("tracking.vq3");
    lines[13 + 10 + 5] = std::string(1, '\x80');
    lines[13 + 20 + 5] = "";
    lines[13 + 30 + 5] = std::string(1, '\xBE');
    lines[13 + 40 + 5] = "\xAF/";
    const auto summary = summaryOf(lines);
    EXPECT_EQ(findItem(summary.profiles[1], "TrkSymbol")->value, "(none)");
    EXPECT_EQ(findItem(summary.profiles[1], "TrkSendComments")->value, "Yes");
    EXPECT_EQ(findItem(summary.profiles[2], "TrkSymbol")->value, "(none)");
    EXPECT_EQ(findItem(summary.profiles[2], "TrkSendComments")->value, "No");
    EXPECT_EQ(findItem(summary.profiles[3], "TrkSymbol")->value, ">");
    EXPECT_EQ(findItem(summary.profiles[3], "TrkSendComments")->value, "Yes");
    EXPECT_EQ(findItem(summary.profiles[4], "TrkSymbol")->value, "//");
    EXPECT_EQ(findItem(summary.profiles[4], "TrkSendComments")->value, "Yes");
}

TEST(ConfigurationSummaryTest, ShowsPathsToSpecialPathsByTheirText)
{
    auto lines = exampleLines("telemetry.vq3");
    lines[11] = "";
    lines[12] = "RELAY3-3";
    lines[15] = "6";
    lines[16] = "7";
    lines[17] = "4";
    const auto summary = summaryOf(lines);
    EXPECT_EQ(findItem(summary.items, "TelPath2")->value, "Special Path 2");
    EXPECT_EQ(findItem(summary.items, "TelPath3")->value, "RELAY3-3");
    EXPECT_EQ(findItem(summary.items, "TelPath4")->value, "ECHO");
}

struct TerminationCase
{
    std::vector<const char*> options;
    const char* userValue;
    const char* shown;
};

class TerminationSummaryTest : public ::testing::TestWithParam<TerminationCase>
{};

TEST_P(TerminationSummaryTest, NamesTheChosenTerminationCharacter)
{
    auto lines = exampleLines("telemetry.vq3");
    for (std::size_t i = 0; i < 3; ++i)
        lines[18 + i] = GetParam().options[i];
    lines[21] = GetParam().userValue;
    EXPECT_EQ(findItem(summaryOf(lines).items, "TelTxOn")->value, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Options, TerminationSummaryTest,
                         ::testing::Values(TerminationCase{{"True", "False", "False"}, "36", "Carriage Return"},
                                           TerminationCase{{"False", "True", "False"}, "", "Line Feed"},
                                           TerminationCase{{"False", "False", "True"}, "36", "User Defined: 36"},
                                           TerminationCase{{"False", "False", "True"}, "", "User Defined: (none)"},
                                           TerminationCase{{"False", "False", "False"}, "36", "(none)"}));

TEST(ConfigurationSummaryTest, ComparesItemByItemAndProfileByProfile)
{
    const auto lines = exampleLines("tracking.vq3");
    auto changed = lines;
    changed[5] = "0";
    changed[13 + 20] = "7";
    changed[13 + 90 + 1] = "3";
    const auto differences = compareSummaries(summaryOf(lines), summaryOf(changed));
    const std::vector<SummaryDifference> expected{
        {"ModeLock", "Mode Lock", std::nullopt, "Yes", "No"},
        {"TrkSSID", "SSID", 3, "(none)", "7"},
        {"TrkPath1", "Path 1", 10, "(none)", "WIDE"},
    };
    EXPECT_EQ(differences, expected);
    EXPECT_TRUE(compareSummaries(summaryOf(lines), summaryOf(lines)).empty());
}

TEST(ConfigurationSummaryTest, ADifferentModeIsTheOnlyDifference)
{
    const auto differences =
        compareSummaries(summaryOf(exampleLines("nmea.vq3")), summaryOf(exampleLines("tracking.vq3")));
    EXPECT_EQ(differences, (std::vector<SummaryDifference>{{"mode", "Mode", std::nullopt, "NMEA", "Tracking"}}));
}

std::string compiledExample(fakes::MemoryFileSystem& files, const std::string& name)
{
    files.files["example.vq3"] = storage::joinLines(exampleLines(name));
    Session program(files);
    program.startUp();
    EXPECT_EQ(program.openConfigurationFile("example.vq3").kind, Session::OpenOutcome::Kind::Loaded);
    program.saveShownProfiles();
    const auto compiled = program.checkAndCompile();
    EXPECT_FALSE(compiled.refusal);
    return compiled.downloadImage.substr(1);
}

TEST(FirstDifferenceTest, NamesTheFirstFieldThatDiffersWithBothValuesOrElseTheByte)
{
    struct Case
    {
        const char* example;
        std::size_t index;
        char readBack;
        std::string described;
    };
    const Case cases[] = {
        {"beacon.vq3", 7, 'X', "My Call (written \"TEST\", read back \"TESX\")"},
        {"beacon.vq3", 4, '\r', "My Call (written \"TEST\", read back \"\\x0DEST\")"},
        {"beacon.vq3", 0, '\x04', "Mode (written \"Beacon\", read back \"Alarm\")"},
        {"tracking.vq3", 54, '\x20', "Profile 2 Transmit Timer (written \"0 min 30 s\", read back \"0 min 32 s\")"},
        {"beacon.vq3", 3, '\x05', "byte 4 (written hex 00, read back hex 05)"},
        {"beacon.vq3", 0, '\x07', "byte 1 (written hex 01, read back hex 07)"},
    };
    for (const auto& c : cases) {
        fakes::MemoryFileSystem files;
        const std::string written = compiledExample(files, c.example);
        std::string readBack = written;
        readBack[c.index] = c.readBack;
        EXPECT_EQ(describeFirstDifference(files, written, readBack), c.described) << c.example << " " << c.index;
    }
}

} // namespace
} // namespace qm::shell
