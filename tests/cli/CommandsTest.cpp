#include "cli/Commands.h"
#include "cli/Output.h"
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

std::string example(const std::string& name)
{
    std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class CommandsTest : public ::testing::Test
{
protected:
    int compile(CompileOptions options) { return runCompile(options, files, {in, out, err}); }
    int decode(DecodeOptions options) { return runDecode(options, files, {in, out, err}); }

    fakes::MemoryFileSystem files;
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(CommandsTest, CompilesTheBeaconExampleToTheWorkedImage)
{
    files.files["beacon.vq3"] = example("beacon.vq3");
    ASSERT_EQ(compile({"beacon.vq3", "", false, false}), kDone);
    std::string expected = std::string("D\x01\x04\x00\x00", 5) + "TEST  APRS  0";
    for (int i = 0; i < 4; ++i)
        expected += std::string(6, '\x40') + '\x60';
    expected += std::string("\x03\x00\x92\x58\x00\x62", 6) + "HELLO";
    expected.resize(129, '\0');
    EXPECT_EQ(out.str(), expected);
}

TEST_F(CommandsTest, JsonCarriesTheHexImage)
{
    files.files["beacon.vq3"] = example("beacon.vq3");
    ASSERT_EQ(compile({"beacon.vq3", "", false, true}), kDone);
    const auto json = nlohmann::json::parse(out.str());
    EXPECT_EQ(json["image"].get<std::string>().substr(0, 14), "44 01 04 00 00");
    EXPECT_EQ(json["image"].get<std::string>().size(), 129u * 3 - 1);
}

TEST_F(CommandsTest, ARefusedCompileExitsOneWithTheBox)
{
    auto lines = storage::splitLines(example("beacon.vq3"));
    lines[8] = "16";
    files.files["bad.vq3"] = storage::joinLines(lines);
    ASSERT_EQ(compile({"bad.vq3", "", false, true}), kRefused);
    const auto json = nlohmann::json::parse(out.str());
    EXPECT_EQ(json["error"]["title"], "Invalid SSID");
    EXPECT_EQ(json["error"]["icon"], "none");
    EXPECT_EQ(json["error"]["focus"], "BcnMySSID");
    EXPECT_TRUE(json["error"]["profile"].is_null());
}

TEST_F(CommandsTest, AFileThatFailsToLoadExitsTwo)
{
    files.files["short.vq3"] = "3\r\n0\r\n";
    ASSERT_EQ(compile({"short.vq3", "", false, false}), kInputError);
    EXPECT_EQ(err.str(), "Error# 62: Input Past End Of File: An error occured while opening the configuration file.\n");
    EXPECT_EQ(compile({"missing.vq3", "", false, true}), kInputError);
    EXPECT_EQ(nlohmann::json::parse(out.str())["error"]["title"], "Error# 53: File Not Found");
}

TEST_F(CommandsTest, DecodesAnImageToTheLinesASaveWrites)
{
    files.files["beacon.vq3"] = example("beacon.vq3");
    ASSERT_EQ(compile({"beacon.vq3", "image.bin", false, false}), kDone);
    ASSERT_EQ(decode({"image.bin", "", false, true}), kDone);
    const auto json = nlohmann::json::parse(out.str());
    EXPECT_EQ(json["mode"], 1);
    std::vector<std::string> lines;
    for (const auto& line : json["lines"])
        lines.push_back(line.get<std::string>());
    EXPECT_EQ(lines, storage::splitLines(example("beacon.vq3")));
}

TEST_F(CommandsTest, DecodeTakesHexFromStandardInputWithOrWithoutTheD)
{
    files.files["beacon.vq3"] = example("beacon.vq3");
    ASSERT_EQ(compile({"beacon.vq3", "", true, false}), kDone);
    const std::string hex = out.str();
    for (const std::string& input : {hex, hex.substr(3)}) {
        in.str(input);
        in.clear();
        out.str("");
        ASSERT_EQ(decode({"-", "", true, false}), kDone);
        EXPECT_EQ(out.str(), example("beacon.vq3"));
    }
}

TEST_F(CommandsTest, RefusesImagesOfTheWrongSizeOrNoKnownMode)
{
    files.files["short.bin"] = std::string(127, '\0');
    EXPECT_EQ(decode({"short.bin", "", false, false}), kInputError);
    files.files["mode5.bin"] = std::string(1, '\x05') + std::string(127, '\0');
    EXPECT_EQ(decode({"mode5.bin", "", false, true}), kRefused);
    in.str("4G");
    EXPECT_EQ(decode({"-", "", true, false}), kInputError);
}

TEST_F(CommandsTest, StandardInputHoldsNoMoreThanAFileMay)
{
    files.files["beacon.vq3"] = example("beacon.vq3");
    ASSERT_EQ(compile({"beacon.vq3", "", false, false}), kDone);
    const std::string stream = out.str();
    struct Case
    {
        std::string input;
        int status;
        std::string error;
    };
    const Case cases[] = {
        {stream, kDone, ""},
        {std::string(storage::kMaxReadBytes, '\0'), kInputError,
         "Error: An image is 128 bytes, or 129 bytes beginning with \"D\"; this one has 16777216.\n"},
        {std::string(storage::kMaxReadBytes + 1, '\0'), kInputError,
         "Error: Cannot read standard input: it does not end within 16 MiB.\n"},
    };
    for (const auto& c : cases) {
        in.str(c.input);
        in.clear();
        out.str("");
        err.str("");
        EXPECT_EQ(decode({"-", "", false, false}), c.status) << c.input.size();
        EXPECT_EQ(err.str(), c.error) << c.input.size();
    }
}

TEST_F(CommandsTest, TrackingSymbolWithTheTopBitSetIsUtf8InJson)
{
    files.files["tracking.vq3"] = example("tracking.vq3");
    ASSERT_EQ(compile({"tracking.vq3", "image.bin", false, false}), kDone);
    ASSERT_EQ(decode({"image.bin", "", false, true}), kDone);
    const auto json = nlohmann::json::parse(out.str());
    EXPECT_EQ(json["lines"][18], "\xc2\xaf");
}

TEST(OutputTest, HexRoundTrip)
{
    EXPECT_EQ(toHex(std::string("\x00\x0A\xFF", 3)), "00 0A FF");
    EXPECT_EQ(fromHex("00 0a\r\nFF"), std::string("\x00\x0A\xFF", 3));
    EXPECT_FALSE(fromHex("0"));
    EXPECT_FALSE(fromHex("0x"));
}

TEST(OutputTest, BoxTextKeepsItsLineBreaksInJson)
{
    forms::MessageBox box{"Invalid SSID", "A.\r\n\r\nB.", forms::Icon::None, forms::Buttons::Ok, "TrkSSID", 7, ""};
    const auto json = boxToJson(box);
    EXPECT_EQ(json.dump(),
              R"({"focus":"TrkSSID","icon":"none","profile":7,"text":"A.\r\n\r\nB.","title":"Invalid SSID"})");
}

} // namespace
} // namespace qm::cli
