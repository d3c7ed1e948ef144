#include "cli/Commands.h"
#include "cli/Output.h"
#include "cli/Show.h"
#include "fakes/MemoryFileSystem.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

namespace qm::cli
{
namespace
{

std::vector<std::string> exampleLines(const std::string& name)
{
    std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    return storage::splitLines({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
}

class SetTest : public ::testing::Test
{
protected:
    void put(const std::string& path, const std::vector<std::string>& lines)
    {
        files.files[path] = storage::joinLines(lines);
    }
    int compile(const std::string& config, std::vector<std::string> settings, bool json = false)
    {
        CompileOptions options{config, "", true, json};
        options.settings = std::move(settings);
        return runCompile(options, files, {in, out, err});
    }
    int show(const std::string& config, std::vector<std::string> settings, bool json = false)
    {
        ShowOptions options{config, json};
        options.settings = std::move(settings);
        return runShow(options, files, {in, out, err});
    }
    std::string take()
    {
        std::string text = out.str();
        out.str("");
        return text;
    }

    fakes::MemoryFileSystem files;
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
};

struct EditCase
{
    const char* example;
    std::vector<std::string> settings;
    std::vector<std::pair<std::size_t, std::string>> edits;
};

class SetEditTest : public SetTest, public ::testing::WithParamInterface<EditCase>
{};

void PrintTo(const EditCase& editCase, std::ostream* out)
{
    *out << editCase.example << " " << editCase.settings.size() << " settings";
}

TEST_P(SetEditTest, CompilesAsTheFileEditedByHand)
{
    put("config.vq3", exampleLines(GetParam().example));
    auto edited = exampleLines(GetParam().example);
    for (const auto& [index, value] : GetParam().edits)
        edited.at(index) = value;
    put("edited.vq3", edited);
    ASSERT_EQ(compile("edited.vq3", {}), kDone) << err.str();
    const std::string expected = take();
    ASSERT_EQ(compile("config.vq3", GetParam().settings), kDone) << err.str();
    EXPECT_EQ(take(), expected);
    EXPECT_NE(expected, (compile("config.vq3", {}), take()));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SetEditTest,
    ::testing::Values(
        EditCase{"tracking.vq3",
                 {"TrkMyCall=N1ABC", "TrkSSID@3=7", "TrkSpecPath2=WIDE1-1", "TrkPath1@3=WIDE1-1"},
                 {{7, "N1ABC"}, {13 + 20, "7"}, {10, "WIDE1-1"}, {13 + 21, "6"}}},
        EditCase{"beacon.vq3", {"BcnMyCall=w1aw", "BcnMsgText=QRV 145.500"}, {{7, "W1AW"}, {22, "QRV 145.500"}}},
        EditCase{"nmea.vq3", {"NMEASSID@1=9", "GpsString2="}, {{13, "9"}, {108, ""}}},
        EditCase{"alarm.vq3", {"AlmTxCntrLimit=9", "AlmCondition4=Low"}, {{22, "9"}, {27, "0"}}},
        EditCase{"telemetry.vq3", {"TelTmrMin=0", "TelTmrSec=45"}, {{22, "0"}, {23, "45"}}}));

struct ErrorCase
{
    std::vector<std::string> settings;
    int status;
    std::string title;
};

void PrintTo(const ErrorCase& errorCase, std::ostream* out)
{
    *out << errorCase.settings.back();
}

class SetErrorTest : public SetTest, public ::testing::WithParamInterface<ErrorCase>
{};

TEST_P(SetErrorTest, ExitsWithTheBoxAndNoOutput)
{
    put("tracking.vq3", exampleLines("tracking.vq3"));
    EXPECT_EQ(compile("tracking.vq3", GetParam().settings), GetParam().status);
    EXPECT_EQ(out.str(), "");
    EXPECT_TRUE(err.str().starts_with(GetParam().title + ": ")) << err.str();
    err.str("");
    EXPECT_EQ(show("tracking.vq3", GetParam().settings), GetParam().status == kRefused ? kDone : kInputError);
}

INSTANTIATE_TEST_SUITE_P(Settings, SetErrorTest,
                         ::testing::Values(ErrorCase{{"TrkColour=red"}, kInputError, "Error"},
                                           ErrorCase{{"TrkMyCall=N1ABC", "TrkSSID@3=x"}, kInputError, "Error"},
                                           ErrorCase{{"TrkSSID@11=7"}, kInputError, "Error"},
                                           ErrorCase{{"TrkSSID@0=7"}, kInputError, "Error"},
                                           ErrorCase{{"TrkSSID@3=16"}, kRefused, "Invalid SSID"}));

TEST_F(SetTest, JsonReportsARefusedSettingAsTheErrorObject)
{
    put("tracking.vq3", exampleLines("tracking.vq3"));
    EXPECT_EQ(compile("tracking.vq3", {"TrkMyCall=TOOLONGCALL"}, true), kInputError);
    const auto json = nlohmann::json::parse(take());
    EXPECT_EQ(json["error"]["title"], "Error");
    EXPECT_EQ(json["error"]["focus"], "TrkMyCall");
    EXPECT_EQ(show("tracking.vq3", {"TrkPath2@1=ECHO"}, true), kDone);
    EXPECT_EQ(nlohmann::json::parse(take())["error"], nullptr);
}

TEST_F(SetTest, ShowPrintsTheChangedConfigurationWithItsHeaderAndAdvice)
{
    put("tracking.vq3", exampleLines("tracking.vq3"));
    ASSERT_EQ(show("tracking.vq3", {"TrkMyCall=N1ABC", "TrkSSID@2=7", "TrkPath2@1=(none)", "TrkPath1@2=WIDE2-1"}, true),
              kDone);
    const auto json = nlohmann::json::parse(take());
    EXPECT_EQ(json["TrkMyCall"], "N1ABC");
    EXPECT_EQ(json["profiles"][1]["TrkSSID"], "7");
    EXPECT_EQ(json["packets"][0]["header"], "N1ABC-9>APRS,WIDE2-1");
    EXPECT_EQ(json["packets"][1]["header"], "N1ABC-7>APRS,WIDE2-1");
    ASSERT_EQ(json["advice"].size(), 2u);
    EXPECT_TRUE(json["advice"][0].get<std::string>().starts_with("Profile 2: Sends every 30 s through digipeaters"));
    EXPECT_TRUE(json["advice"][1].get<std::string>().starts_with("Profiles 3 to 10: No SSID"));
}

} // namespace
} // namespace qm::cli
