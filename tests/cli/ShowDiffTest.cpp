#include "cli/Output.h"
#include "cli/Show.h"
#include "fakes/MemoryFileSystem.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <iterator>
#include <sstream>

namespace qm::cli
{
namespace
{

std::vector<std::string> exampleLines(const std::string& name)
{
    std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    return storage::splitLines({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
}

std::vector<std::string> keysOf(const nlohmann::ordered_json& object)
{
    std::vector<std::string> keys;
    for (const auto& [key, value] : object.items())
        keys.push_back(key);
    return keys;
}

std::vector<std::string> numbered(const std::string& stem, int count)
{
    std::vector<std::string> names;
    for (int n = 1; n <= count; ++n)
        names.push_back(stem + std::to_string(n));
    return names;
}

std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class ShowDiffTest : public ::testing::Test
{
protected:
    void put(const std::string& path, const std::vector<std::string>& lines)
    {
        files.files[path] = storage::joinLines(lines);
    }
    int show(const std::string& config, bool json = false) { return runShow({config, json}, files, {in, out, err}); }
    int diff(const std::string& a, const std::string& b, bool json = false)
    {
        return runDiff({a, b, json}, files, {in, out, err});
    }

    fakes::MemoryFileSystem files;
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(ShowDiffTest, ShowsTheBeaconExampleLineByLine)
{
    put("beacon.vq3", exampleLines("beacon.vq3"));
    ASSERT_EQ(show("beacon.vq3"), kDone);
    EXPECT_EQ(out.str(), "Mode:             Beacon\n"
                         "Output Baud Rate: 1200\n"
                         "Lights Off:       No\n"
                         "My Call:          TEST\n"
                         "My SSID:          9\n"
                         "To Call:          APRS\n"
                         "Special Path 1:   (none)\n"
                         "Special Path 2:   (none)\n"
                         "Special Path 3:   (none)\n"
                         "Special Path 4:   (none)\n"
                         "Path 1:           WIDE\n"
                         "Path 2:           (none)\n"
                         "Path 3:           (none)\n"
                         "Path 4:           (none)\n"
                         "Transmit Timer:   10 min 0 s\n"
                         "Transmit Delay:   293 ms\n"
                         "Tail Delay:       53 ms\n"
                         "Beacon Text:      HELLO\n"
                         "\n"
                         "Packet Header: TEST-9>APRS,WIDE\n"
                         "\n"
                         "Advice: Path 1 (WIDE): today's APRS digipeaters no longer serve RELAY, WIDE, TRACE, GATE or "
                         "ECHO; use WIDEn-N paths instead, such as WIDE1-1,WIDE2-1 for a mobile or WIDE2-2 at most for "
                         "a fixed station.\n"
                         "Advice: SSID -9 usually stands for a car; a station that stays put commonly sends no SSID or "
                         "one of -1 to -4 (-13 for a weather station).\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(ShowDiffTest, ShowsTheTrackingProfilesAsOneTable)
{
    put("tracking.vq3", exampleLines("tracking.vq3"));
    ASSERT_EQ(show("tracking.vq3"), kDone);
    const std::string text = out.str();
    const std::string table =
        "Course Delta:     No\n"
        "\n"
        "Profile  SSID    Path 1   Path 2  Path 3  Path 4  Transmit Timer  Transmit Delay  Tail Delay  Symbol  "
        "Send Comments\n"
        "1        9       WIDE2-1  WIDE    (none)  (none)  1 min 0 s       293 ms          53 ms       /       Yes\n"
        "2        (none)  (none)   (none)  (none)  (none)  0 min 30 s      293 ms          53 ms       >       No\n";
    EXPECT_NE(text.find("Mic Encode:       Yes\n"), std::string::npos);
    EXPECT_NE(text.find(table), std::string::npos) << text;
    EXPECT_NE(
        text.find(
            "10       (none)  (none)   (none)  (none)  (none)  0 min 0 s       133 ms          27 ms       >       No\n"
            "\n"
            "Profile  Packet Header               Symbol\n"
            "1        N0CALL-9>APRS,WIDE2-1,WIDE  // Red dot\n"
            "2        N0CALL>APRS                 /> Car\n"),
        std::string::npos)
        << text;
    EXPECT_TRUE(
        text.ends_with("10       N0CALL>APRS                 /> Car\n"
                       "\n"
                       "Advice: Profile 1: Path 2 (WIDE): today's APRS digipeaters no longer serve RELAY, WIDE, "
                       "TRACE, GATE or ECHO; use WIDEn-N paths instead, such as WIDE1-1,WIDE2-1 for a mobile or "
                       "WIDE2-2 at most for a fixed station.\n"
                       "Advice: Profiles 2 to 10: No SSID: a bare callsign usually stands for the home station; "
                       "a tracker commonly sends -9 (car), -7 (handheld) or -8 (boat).\n"))
        << text;
}

TEST_F(ShowDiffTest, ShowsControlBytesEscapedAndLatin1AsUtf8)
{
    auto lines = exampleLines("beacon.vq3");
    lines[22] = "Caf\xE9 \x01";
    put("beacon.vq3", lines);
    ASSERT_EQ(show("beacon.vq3"), kDone);
    EXPECT_NE(out.str().find("Beacon Text:      Caf\xC3\xA9 \\x01\n"), std::string::npos) << out.str();
    out.str("");
    ASSERT_EQ(show("beacon.vq3", true), kDone);
    EXPECT_EQ(nlohmann::json::parse(out.str())["BcnMsgText"], "Caf\xC3\xA9 \x01");
}

struct JsonKeysCase
{
    const char* example;
    int mode;
    const char* modeName;
    std::vector<std::string> keys;
    std::vector<std::string> profileKeys;
};

class ShowJsonTest : public ShowDiffTest, public ::testing::WithParamInterface<JsonKeysCase>
{};

TEST_P(ShowJsonTest, NamesEveryControlOfTheMode)
{
    put("config.vq3", exampleLines(GetParam().example));
    ASSERT_EQ(show("config.vq3", true), kDone);
    const auto json = nlohmann::ordered_json::parse(out.str());
    EXPECT_EQ(keysOf(json), GetParam().keys);
    EXPECT_EQ(json["mode"], GetParam().mode);
    EXPECT_EQ(json["modeName"], GetParam().modeName);
    const auto& profiles = json["profiles"];
    ASSERT_EQ(profiles.size(), GetParam().profileKeys.empty() ? 0u : 10u);
    for (const auto& profile : profiles)
        EXPECT_EQ(keysOf(profile), GetParam().profileKeys);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ShowJsonTest,
    ::testing::Values(
        JsonKeysCase{"telemetry.vq3",
                     0,
                     "Telemetry",
                     joined({{"mode", "modeName", "inputbaudrate", "outputbaudrate", "LEDDisable", "TelMyCall",
                              "TelMySSID", "TelToCall"},
                             numbered("TelSpecPath", 4),
                             numbered("TelPath", 4),
                             {"TelTmr", "TelTxDelay", "TelTxTail", "TelTxOn", "profiles", "packets", "advice"}}),
                     {}},
        JsonKeysCase{
            "beacon.vq3",
            1,
            "Beacon",
            joined({{"mode", "modeName", "outputbaudrate", "LEDDisable", "BcnMyCall", "BcnMySSID", "BcnToCall"},
                    numbered("BcnSpecPath", 4),
                    numbered("BcnPath", 4),
                    {"BcnTmr", "BcnTxDelay", "BcnTxTail", "BcnMsgText", "profiles", "packets", "advice"}}),
            {}},
        JsonKeysCase{"nmea.vq3", 2, "NMEA",
                     joined({{"mode", "modeName", "inputbaudrate", "outputbaudrate", "LEDDisable", "ModeLock",
                              "NMEAMyCall", "NMEAToCall"},
                             numbered("NMEASpecPath", 4),
                             {"NMEATxOn"},
                             numbered("GpsString", 3),
                             {"NMEADeltaEnable", "profiles", "packets", "advice"}}),
                     joined({{"NMEASSID"}, numbered("NMEAPath", 4), {"NMEATmr", "NMEATxDelay", "NMEATxTail"}})},
        JsonKeysCase{
            "tracking.vq3", 3, "Tracking",
            joined({{"mode", "modeName", "inputbaudrate", "outputbaudrate", "LEDDisable", "MicEncode", "ModeLock",
                     "AutoMode", "TrkMyCall", "TrkToCall"},
                    numbered("TrkSpecPath", 4),
                    {"TrkPrefix", "TrkSeparator", "TrkComments", "TrkDeltaEnable", "profiles", "packets", "advice"}}),
            joined({{"TrkSSID"},
                    numbered("TrkPath", 4),
                    {"TrkTmr", "TrkTxDelay", "TrkTxTail", "TrkSymbol", "TrkSendComments"}})},
        JsonKeysCase{"alarm.vq3",
                     4,
                     "Alarm",
                     joined({{"mode", "modeName", "inputbaudrate", "outputbaudrate", "LEDDisable", "AlmMyCall",
                              "AlmMySSID", "AlmToCall"},
                             numbered("AlmSpecPath", 4),
                             numbered("AlmPath", 4),
                             {"AlmTmr", "AlmTxDelay", "AlmTxTail"},
                             numbered("AlarmMsgText", 4),
                             numbered("AlmCondition", 4),
                             {"AlmArmDelay", "AlmTxCntrLimit", "profiles", "packets", "advice"}}),
                     {}}));

TEST_F(ShowDiffTest, ShowJsonGivesEveryPacketHeaderSymbolAndAdvice)
{
    auto lines = exampleLines("tracking.vq3");
    lines[13 + 10 + 5] = "";
    lines[114] = "\\";
    put("tracking.vq3", lines);
    ASSERT_EQ(show("tracking.vq3", true), kDone);
    const auto json = nlohmann::json::parse(out.str());
    ASSERT_EQ(json["packets"].size(), 10u);
    EXPECT_EQ(json["packets"][0], nlohmann::json::parse(R"({"profile": 1, "header": "N0CALL-9>APRS,WIDE2-1,WIDE",
        "symbol": {"table": "\\", "code": "/", "name": "Waypoint"}})"));
    EXPECT_EQ(json["packets"][1], nlohmann::json::parse(R"({"profile": 2, "header": "N0CALL>APRS",
        "symbol": {"table": "\\", "code": null, "name": null}})"));
    EXPECT_EQ(json["advice"].size(), 2u);
    EXPECT_FALSE(json.contains("compileRefusal"));

    out.str("");
    put("beacon.vq3", exampleLines("beacon.vq3"));
    ASSERT_EQ(show("beacon.vq3", true), kDone);
    const auto beacon = nlohmann::json::parse(out.str());
    EXPECT_EQ(beacon["packets"], nlohmann::json::parse(R"([{"profile": 1, "header": "TEST-9>APRS,WIDE"}])"));
}

TEST_F(ShowDiffTest, AConfigurationThatDoesNotCompileIsShownWithoutPacketHeaders)
{
    auto lines = exampleLines("beacon.vq3");
    lines[9] = "APRSXYZ";
    put("beacon.vq3", lines);
    ASSERT_EQ(show("beacon.vq3"), kDone);
    EXPECT_TRUE(out.str().ends_with(
        "Beacon Text:      HELLO\n"
        "\n"
        "No packet header: the configuration does not compile. Invalid Setting: The value in 'To Call' cannot be "
        "stored in the VQ-3's configuration.\n\nCallsigns can contain a maximum of 6 characters (Not including the "
        "SSID).\n"))
        << out.str();
    out.str("");
    ASSERT_EQ(show("beacon.vq3", true), kDone);
    const auto json = nlohmann::json::parse(out.str());
    EXPECT_EQ(json["packets"], nlohmann::json::array());
    EXPECT_EQ(json["advice"], nlohmann::json::array());
    EXPECT_EQ(json["compileRefusal"]["focus"], "BcnToCall");
}

TEST_F(ShowDiffTest, ShowOfAFileThatFailsToLoadExitsTwoWithTheBox)
{
    files.files["short.vq3"] = "1\r\n0\r\n";
    files.files["seven.vq3"] = "7\r\n";
    EXPECT_EQ(show("short.vq3"), kInputError);
    EXPECT_EQ(err.str(), "Error# 62: Input Past End Of File: An error occured while opening the configuration file.\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(show("seven.vq3", true), kInputError);
    EXPECT_EQ(nlohmann::json::parse(out.str())["error"]["title"], "Error");
}

TEST_F(ShowDiffTest, IdenticalConfigurationsPrintNothingAndExitZero)
{
    for (const char* example : {"telemetry.vq3", "beacon.vq3", "nmea.vq3", "tracking.vq3", "alarm.vq3"}) {
        put("a.vq3", exampleLines(example));
        put("b.vq3", exampleLines(example));
        EXPECT_EQ(diff("a.vq3", "b.vq3"), kDone) << example;
    }
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "");
}

struct DiffCase
{
    const char* example;
    std::vector<std::pair<std::size_t, std::string>> changes;
    std::string lines;
};

class DiffLinesTest : public ShowDiffTest, public ::testing::WithParamInterface<DiffCase>
{};

TEST_P(DiffLinesTest, PrintsOneLinePerDifference)
{
    const auto lines = exampleLines(GetParam().example);
    auto changed = lines;
    for (const auto& [index, value] : GetParam().changes)
        changed[index] = value;
    put("a.vq3", lines);
    put("b.vq3", changed);
    EXPECT_EQ(diff("a.vq3", "b.vq3"), kRefused);
    EXPECT_EQ(out.str(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, DiffLinesTest,
    ::testing::Values(DiffCase{"beacon.vq3", {{22, "GOODBYE"}}, "Beacon Text: HELLO -> GOODBYE\n"},
                      DiffCase{"beacon.vq3",
                               {{2, "1"}},
                               "Output Baud Rate: 1200 -> 300\nTransmit Delay: 293 ms -> 373 ms\n"
                               "Tail Delay: 53 ms -> 80 ms\n"},
                      DiffCase{"tracking.vq3", {{40, "45"}}, "Profile 3 Transmit Timer: 0 min 0 s -> 0 min 45 s\n"},
                      DiffCase{"tracking.vq3",
                               {{13 + 5, ">"}, {116, "Parked"}},
                               "Comments: Mobile station -> Parked\nProfile 1 Symbol: / -> >\n"
                               "Profile 1 Send Comments: Yes -> No\n"},
                      DiffCase{"nmea.vq3", {{13 + 9 + 1, "0"}}, "Profile 2 Path 1: WIDE1-1 -> (none)\n"},
                      DiffCase{"alarm.vq3", {{24, "0"}}, "Alarm 1 Normal State: High -> Low\n"}));

TEST_F(ShowDiffTest, DiffJsonListsEveryDifference)
{
    const auto lines = exampleLines("tracking.vq3");
    auto changed = lines;
    changed[3] = "1";
    changed[13 + 20] = "7";
    put("a.vq3", lines);
    put("b.vq3", changed);
    EXPECT_EQ(diff("a.vq3", "b.vq3", true), kRefused);
    const auto expected = nlohmann::json::parse(R"json({"same": false, "differences": [
        {"control": "LEDDisable", "label": "Lights Off", "profile": null, "a": "No", "b": "Yes"},
        {"control": "TrkSSID", "label": "SSID", "profile": 3, "a": "(none)", "b": "7"}]})json");
    EXPECT_EQ(nlohmann::json::parse(out.str()), expected);
    out.str("");
    EXPECT_EQ(diff("a.vq3", "a.vq3", true), kDone);
    EXPECT_EQ(nlohmann::json::parse(out.str()), nlohmann::json::parse(R"({"same": true, "differences": []})"));
}

TEST_F(ShowDiffTest, DiffOfAFileThatFailsToLoadExitsTwoAndNamesIt)
{
    put("a.vq3", exampleLines("beacon.vq3"));
    files.files["short.vq3"] = "3\r\n0\r\n";
    EXPECT_EQ(diff("a.vq3", "short.vq3"), kInputError);
    EXPECT_EQ(err.str(),
              "short.vq3: Error# 62: Input Past End Of File: An error occured while opening the configuration file.\n");
    EXPECT_EQ(diff("missing.vq3", "a.vq3", true), kInputError);
    const auto json = nlohmann::json::parse(out.str());
    EXPECT_EQ(json["file"], "missing.vq3");
    EXPECT_EQ(json["error"]["title"], "Error# 53: File Not Found");
}

} // namespace
} // namespace qm::cli
