// Image bytes decoded as a value: what a read of each example's image saves, and the bytes that hold none.
#include "image/DecodedImage.h"
#include "ShellRig.h"

namespace qm::shell
{
namespace
{

TEST(DecodedImageTest, EachExampleCompiledDecodesToItsOwnLines)
{
    for (const char* name : {"telemetry.vq3", "beacon.vq3", "nmea.vq3", "tracking.vq3", "alarm.vq3"}) {
        SCOPED_TRACE(name);
        const rig::Lines lines = rig::exampleLines(name);
        const auto decoded = image::decodeImage(rig::compiledImage(lines));
        const auto* configuration = std::get_if<image::DecodedImage>(&decoded);
        ASSERT_NE(configuration, nullptr);
        EXPECT_EQ(std::to_string(forms::codeOfMode(configuration->mode)), lines.front());
        EXPECT_EQ(storage::configurationLines(configuration->windows, configuration->mode), lines);
    }
}

TEST(DecodedImageTest, BytesOfAnotherSizeOrOfAModeNoWindowEditsAreRefused)
{
    const std::string beacon = rig::compiledImage("beacon.vq3");
    auto withCode = [&beacon](int code) {
        std::string bytes = beacon;
        bytes[0] = static_cast<char>(0xF8 | code);
        return bytes;
    };
    const std::pair<std::string, std::optional<int>> cases[] = {
        {"", std::nullopt},
        {beacon.substr(1), std::nullopt},
        {"D" + beacon, std::nullopt},
        {withCode(5), 5},
        {withCode(6), 6},
        {withCode(7), 7},
    };
    for (const auto& [bytes, modeCode] : cases) {
        SCOPED_TRACE(bytes.size());
        const auto decoded = image::decodeImage(bytes);
        const auto* refusal = std::get_if<image::DecodeRefusal>(&decoded);
        ASSERT_NE(refusal, nullptr);
        EXPECT_EQ(refusal->size, bytes.size());
        EXPECT_EQ(refusal->modeCode, modeCode);
    }
}

} // namespace
} // namespace qm::shell
