// The simulated unit that `make run` and the end-to-end tests talk to: its answers byte for byte, with and without
// faults.
#include "sim/Unit.h"

#include <gtest/gtest.h>

// The fault tables name only the fault they switch on; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace
{

using qm::sim::Faults;
using qm::sim::Unit;
using qm::sim::UnitSettings;

const std::string kProbe = "\xAA";
const std::string kBurst = std::string(128, '\0') + "E";

std::string pattern(int seed)
{
    std::string image;
    for (int i = 0; i < 128; ++i)
        image.push_back(static_cast<char>((i * 37 + seed) % 256));
    return image;
}

const std::string kOld = pattern(11);
/// Begins with every byte that has a meaning of its own: "E", 0x00, the probe, "D" and "U".
const std::string kNew = std::string("E\0\xAA\x44U", 5) + pattern(5).substr(5);
const std::string kDownload = "D" + kNew;
const std::string kReply = "U\x01\x02" + kOld;

std::string inverted(char byte)
{
    return std::string(1, static_cast<char>(~static_cast<unsigned char>(byte)));
}

/// kNew as stored by a unit that inverts byte n of the download (the "D" is 1).
std::string lying(std::size_t n)
{
    return std::string(kNew).replace(n - 2, 1, inverted(kNew[n - 2]));
}

std::string feed(Unit& unit, const std::string& input)
{
    std::string output;
    for (char byte : input)
        output += unit.receive(byte);
    return output;
}

TEST(UnitTest, AnswersByteForByteAndCommitsOnlyWholeDownloads)
{
    // Faults, what goes to the unit, what it answers, the configuration it holds after.
    const auto head = [](std::size_t n) { return kDownload.substr(0, n); };
    const std::string kBP = kBurst + kProbe;
    const std::tuple<Faults, std::string, std::string, std::string> cases[] = {
        {{}, kProbe + std::string("E\0xu\xBB", 5) + kProbe, kProbe + kProbe, kOld},
        {{}, kProbe + kDownload + "U", kProbe + kDownload + "U\x01\x02" + kNew, kNew},
        {{}, "U" + kBP, kReply + kProbe, kOld},
        {{.silent = true}, kProbe + "U" + kDownload + kBurst, "", kOld},
        {{.stopEchoAfter = 5}, head(6) + kBP, head(5) + kProbe, kOld},
        {{.stopEchoAfter = 128}, kDownload + kBP, head(128) + kProbe, kOld},
        {{.stopEchoAfter = 129}, kDownload + kProbe, kDownload + kProbe, kNew},
        // A broken write waits for "E"; the next one starts afresh.
        {{.stopEchoAfter = 10}, head(20) + "\xAAUE\xAAU" + head(12), head(10) + kProbe + kReply + head(10), kOld},
        {{.badEchoAt = 1}, "D" + kBP, inverted('D') + kProbe, kOld},
        {{.badEchoAt = 5}, head(5) + kBP, head(4) + inverted(kDownload[4]) + kProbe, kOld},
        {{.badEchoAt = 129}, kDownload + kBP, head(128) + inverted(kDownload[128]) + kProbe, kOld},
        {{.shortReply = 100}, "U" + kProbe, kReply.substr(0, 100) + kProbe, kOld},
        {{.shortReply = 500}, "U", kReply, kOld},
        {{.replyExtra = 3}, "U", kReply + std::string(3, '\0'), kOld},
        {{.shortReply = 2, .replyExtra = 1}, "U", kReply.substr(0, 2) + '\0', kOld},
        {{.storeWrongAt = 5}, kDownload + "U", kDownload + "U\x01\x02" + lying(5), lying(5)},
        {{.storeWrongAt = 129}, kDownload, kDownload, lying(129)},
    };
    for (const auto& [faults, input, output, imageAfter] : cases) {
        Unit unit(UnitSettings{1, 2, kOld, faults});
        std::vector<std::string> completed;
        unit.onDownloadCompleted([&](const std::string& image) { completed.push_back(image); });
        EXPECT_EQ(feed(unit, input), output) << input.size();
        EXPECT_EQ(unit.image(), imageAfter);
        EXPECT_EQ(completed, imageAfter == kOld ? std::vector<std::string>{} : std::vector{imageAfter});
    }
}

TEST(UnitTest, GarbageFaultsAnswerNoiseInPlaceOfEveryRightByte)
{
    // Everything garbled, or only the reply to "U" (the bytes after the probe's echo, up to the download).
    const std::string right = kProbe + kReply + kDownload;
    for (const bool everything : {true, false}) {
        Unit unit(UnitSettings{1, 2, kOld, {.garbage = everything, .garbageReply = !everything}});
        const std::string output = feed(unit, kProbe + "U" + kDownload);
        ASSERT_EQ(output.size(), right.size());
        for (std::size_t i = 0; i < output.size(); ++i)
            EXPECT_EQ(output[i] != right[i], everything || (i >= 1 && i <= kReply.size())) << everything << i;
    }
}

} // namespace
