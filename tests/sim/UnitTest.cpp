#include "sim/Unit.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace
{

using qm::sim::Faults;
using qm::sim::Unit;
using qm::sim::UnitSettings;

const std::string kProbe = "\xAA";

std::string bytes(std::initializer_list<int> values)
{
    std::string result;
    for (int value : values)
        result.push_back(static_cast<char>(value));
    return result;
}

std::string pattern(int seed)
{
    std::string image;
    for (int i = 0; i < 128; ++i)
        image.push_back(static_cast<char>((i * 37 + seed) % 256));
    return image;
}

const std::string kOldImage = pattern(11);
const std::string kNewImage = "E" + std::string(1, '\0') + kProbe + "DU" + pattern(5).substr(5);
const std::string kAbortBurst = std::string(128, '\0') + "E";

Faults silent()
{
    Faults faults;
    faults.silent = true;
    return faults;
}

Faults stopEchoAfter(int count)
{
    Faults faults;
    faults.stopEchoAfter = count;
    return faults;
}

Faults badEchoAt(int position)
{
    Faults faults;
    faults.badEchoAt = position;
    return faults;
}

Faults storeWrongAt(int position)
{
    Faults faults;
    faults.storeWrongAt = position;
    return faults;
}

Faults replyFaults(std::optional<int> shortReply, std::optional<int> replyExtra)
{
    Faults faults;
    faults.shortReply = shortReply;
    faults.replyExtra = replyExtra;
    return faults;
}

std::string invert(char byte)
{
    return std::string(1, static_cast<char>(~static_cast<unsigned char>(byte)));
}

/// The new image with byte N of the download stream (the "D" is 1) inverted.
std::string lying(int position)
{
    std::string image = kNewImage;
    const auto at = static_cast<std::size_t>(position - 2);
    image[at] = invert(image[at])[0];
    return image;
}

std::string feed(Unit& unit, const std::string& input)
{
    std::string output;
    for (char byte : input)
        output += unit.receive(byte);
    return output;
}

Unit makeUnit(Faults faults = {}, int model = 1, int firmware = 2)
{
    return Unit(UnitSettings{model, firmware, kOldImage, faults});
}

TEST(UnitTest, AnswersEachSingleByteWhileWaiting)
{
    struct Case
    {
        std::string input;
        std::string output;
    };
    const std::vector<Case> cases = {
        {kProbe, kProbe}, {"E", ""}, {std::string(1, '\0'), ""}, {"x", ""}, {"u", ""}, {bytes({0xBB}), ""},
    };
    for (const auto& c : cases) {
        Unit unit = makeUnit();
        EXPECT_EQ(unit.receive(c.input[0]), c.output) << static_cast<int>(static_cast<unsigned char>(c.input[0]));
        EXPECT_EQ(unit.receive(kProbe[0]), kProbe);
    }
}

TEST(UnitTest, AnswersUWithModelFirmwareAndImage)
{
    struct Case
    {
        int model;
        int firmware;
    };
    for (const auto& c : std::vector<Case>{{0, 1}, {1, 2}, {7, 0}, {1, 255}}) {
        Unit unit = makeUnit({}, c.model, c.firmware);
        EXPECT_EQ(feed(unit, "U"), "U" + bytes({c.model, c.firmware}) + kOldImage);
    }
}

TEST(UnitTest, DownloadEchoesEveryByteAndCommitsAfterTheLast)
{
    Unit unit = makeUnit();
    std::vector<std::string> completed;
    unit.onDownloadCompleted([&](const std::string& image) { completed.push_back(image); });
    const std::string stream = "D" + kNewImage;
    for (std::size_t i = 0; i < stream.size(); ++i) {
        ASSERT_TRUE(completed.empty()) << i;
        ASSERT_EQ(unit.receive(stream[i]), std::string(1, stream[i])) << i;
    }
    ASSERT_EQ(completed, std::vector<std::string>{kNewImage});
    EXPECT_EQ(unit.image(), kNewImage);
    EXPECT_EQ(feed(unit, kProbe + "U"), kProbe + "U" + bytes({1, 2}) + kNewImage);
    EXPECT_EQ(feed(unit, "D" + kOldImage), "D" + kOldImage);
    EXPECT_EQ(unit.image(), kOldImage);
    EXPECT_EQ(completed.size(), 2u);
}

TEST(UnitTest, AbortBurstAfterAFinishedExchangeChangesNothing)
{
    Unit unit = makeUnit();
    EXPECT_EQ(feed(unit, "U" + kAbortBurst + kProbe), "U" + bytes({1, 2}) + kOldImage + kProbe);
    EXPECT_EQ(unit.image(), kOldImage);
}

TEST(UnitTest, FaultsChangeTheAnswersAndBrokenDownloadsNeverCommit)
{
    struct Case
    {
        const char* name;
        Faults faults;
        std::string input;
        std::string output;
        std::string imageAfter;
    };
    const std::string reply = "U" + bytes({1, 2}) + kOldImage;
    const std::string download = "D" + kNewImage;
    const std::vector<Case> cases = {
        {"silent probe and read", silent(), kProbe + "U", "", kOldImage},
        {"silent download", silent(), download + kAbortBurst, "", kOldImage},
        {"stop echo after 5", stopEchoAfter(5), download.substr(0, 6) + kAbortBurst + kProbe,
         download.substr(0, 5) + kProbe, kOldImage},
        {"stop echo after 0", stopEchoAfter(0), "D" + kAbortBurst + kProbe, kProbe, kOldImage},
        {"stop echo after 129 is whole", stopEchoAfter(129), download + kProbe, download + kProbe, kNewImage},
        {"stop echo after 128 loses the last", stopEchoAfter(128), download + kAbortBurst + kProbe,
         download.substr(0, 128) + kProbe, kOldImage},
        {"bad echo at 5", badEchoAt(5), download.substr(0, 5) + kAbortBurst + kProbe,
         download.substr(0, 4) + invert(download[4]) + kProbe, kOldImage},
        {"bad echo at 1", badEchoAt(1), "D" + kAbortBurst + kProbe, invert('D') + kProbe, kOldImage},
        {"bad echo at 129", badEchoAt(129), download + kAbortBurst + kProbe,
         download.substr(0, 128) + invert(download[128]) + kProbe, kOldImage},
        {"store wrong at 5", storeWrongAt(5), download + "U", download + "U" + bytes({1, 2}) + lying(5), lying(5)},
        {"store wrong at 129", storeWrongAt(129), download, download, lying(129)},
        {"store wrong at 1 stores the image rightly", storeWrongAt(1), download, download, kNewImage},
        {"short reply 100", replyFaults(100, {}), "U" + kProbe, reply.substr(0, 100) + kProbe, kOldImage},
        {"short reply 0", replyFaults(0, {}), "U" + kProbe, kProbe, kOldImage},
        {"short reply longer than the reply", replyFaults(500, {}), "U", reply, kOldImage},
        {"reply extra 3", replyFaults({}, 3), "U", reply + std::string(3, '\0'), kOldImage},
        {"short reply and extra", replyFaults(2, 1), "U", reply.substr(0, 2) + std::string(1, '\0'), kOldImage},
    };
    for (const auto& c : cases) {
        Unit unit = makeUnit(c.faults);
        int completed = 0;
        unit.onDownloadCompleted([&](const std::string&) { ++completed; });
        EXPECT_EQ(feed(unit, c.input), c.output) << c.name;
        EXPECT_EQ(unit.image(), c.imageAfter) << c.name;
        EXPECT_EQ(completed, c.imageAfter == kOldImage ? 0 : 1) << c.name;
    }
}

TEST(UnitTest, GarbageFaultsAnswerNoiseInPlaceOfEveryRightByte)
{
    struct Case
    {
        const char* name;
        bool everything;
        std::string input;
        std::string rightOutput;
        std::size_t noiseFrom;
        std::size_t noiseTo;
    };
    const std::string reply = "U" + bytes({1, 2}) + kOldImage;
    const std::string download = "D" + kNewImage;
    const std::vector<Case> cases = {
        {"everything: probe", true, kProbe + kProbe, kProbe + kProbe, 0, 2},
        {"everything: reply", true, "U", reply, 0, reply.size()},
        {"everything: download", true, download, download, 0, download.size()},
        {"reply only: reply", false, kProbe + "U" + kProbe, kProbe + reply + kProbe, 1, 1 + reply.size()},
        {"reply only: download", false, download + kProbe, download + kProbe, 0, 0},
    };
    for (const auto& c : cases) {
        Faults faults;
        faults.garbage = c.everything;
        faults.garbageReply = !c.everything;
        Unit unit = makeUnit(faults);
        const std::string output = feed(unit, c.input);
        ASSERT_EQ(output.size(), c.rightOutput.size()) << c.name;
        for (std::size_t i = 0; i < output.size(); ++i) {
            if (i >= c.noiseFrom && i < c.noiseTo)
                EXPECT_NE(output[i], c.rightOutput[i]) << c.name << " byte " << i;
            else
                EXPECT_EQ(output[i], c.rightOutput[i]) << c.name << " byte " << i;
        }
    }
}

TEST(UnitTest, EndOfABrokenDownloadDiscardsItAndTheNextDownloadStartsAfresh)
{
    Unit unit = makeUnit(stopEchoAfter(10));
    EXPECT_EQ(feed(unit, "D" + kNewImage.substr(0, 20)), "D" + kNewImage.substr(0, 9));
    EXPECT_EQ(feed(unit, kProbe + "U"), "");
    EXPECT_EQ(feed(unit, "E" + kProbe + "U"), kProbe + "U" + bytes({1, 2}) + kOldImage);
    EXPECT_EQ(feed(unit, "D" + kNewImage.substr(0, 12)), "D" + kNewImage.substr(0, 9));
    EXPECT_EQ(unit.image(), kOldImage);
}

} // namespace
