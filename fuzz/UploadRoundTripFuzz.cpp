// Fuzz target: any 128 bytes read from a unit, decoded as each of the five modes, then saved as configuration
// lines, loaded, compiled and decoded again. Every saved file must load, and after the first round
// the cycle must be stable: the next round saves the same lines and compiles the same image.
#include "forms/Windows.h"
#include "fuzz/FuzzCheck.h"
#include "image/Compile.h"
#include "image/DecodedImage.h"
#include "image/HeaderBytes.h"
#include "image/ImageFields.h"
#include "storage/ConfigFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace
{

using qm::fuzz::require;

struct Round
{
    std::string file;
    std::string image;
};

/// Decodes the bytes as a read does, saves the lines, loads them and compiles; nothing when the compile refuses a
/// value.
std::optional<Round> cycle(const std::string& upload, qm::forms::Mode mode)
{
    auto decoded = qm::image::decodeImage(upload);
    auto* configuration = std::get_if<qm::image::DecodedImage>(&decoded);
    require(configuration != nullptr && configuration->mode == mode, "an image was not decoded as its mode");
    qm::forms::Windows& windows = configuration->windows;
    Round round{qm::storage::joinLines(qm::storage::configurationLines(windows, mode)), {}};
    const auto lines = qm::storage::splitLines(round.file);
    require(qm::storage::fileMode(lines) == mode, "a saved configuration names another mode");
    require(!qm::storage::loadConfiguration(mode, windows, lines, {}).has_value(),
            "a saved configuration did not load");
    qm::image::ImageFields fields;
    const auto compiled = qm::image::compileMode(mode, windows, fields);
    if (!compiled.ok())
        return std::nullopt;
    require(compiled.downloadImage.size() == qm::image::kDownloadSize, "a compile gave a stream of the wrong size");
    round.image = compiled.downloadImage.substr(1);
    return round;
}

void roundTrip(std::string upload, qm::forms::Mode mode)
{
    // The mode byte keeps its other bits and takes the mode's code.
    upload[0] = static_cast<char>((static_cast<unsigned char>(upload[0]) & ~qm::image::kModeCodeMask) |
                                  qm::forms::codeOfMode(mode));
    const auto first = cycle(upload, mode);
    if (!first)
        return;
    // Decoding normalises once what the compile keeps as typed (a special path's inner space is dropped), so the
    // cycle is compared from its second round on.
    const auto second = cycle(first->image, mode);
    require(second.has_value(), "a compiled image, decoded again, was refused");
    const auto third = cycle(second->image, mode);
    require(third.has_value(), "a compiled image, decoded a second time, was refused");
    require(third->file == second->file, "the saved lines changed between two rounds");
    require(third->image == second->image, "the compiled image changed between two rounds");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string upload(reinterpret_cast<const char*>(data), std::min(size, qm::image::kImageSize));
    upload.resize(qm::image::kImageSize, '\0');
    for (const qm::forms::Mode mode : qm::forms::kModes)
        roundTrip(upload, mode);
    return 0;
}
