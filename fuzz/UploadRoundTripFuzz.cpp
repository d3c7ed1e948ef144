// Fuzz target: any 128 bytes read from a unit, decoded into the windows as each of the five modes, then saved as a
// configuration file, loaded, compiled and decoded again. Every saved file must load, and after the first round
// the cycle must be stable: the next round saves the same lines and compiles the same image.
#include "fakes/MemoryFileSystem.h"
#include "forms/Windows.h"
#include "fuzz/FuzzCheck.h"
#include "image/HeaderBytes.h"
#include "image/ImageFields.h"
#include "shell/Session.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace
{

using qm::fuzz::require;

const std::string kPath = "/fuzz/round-trip.vq3";

struct Round
{
    std::string file;
    std::string image;
};

/// Decodes the bytes as a read does, saves, loads and compiles; nothing when the compile refuses a value.
std::optional<Round> cycle(qm::shell::Session& form, qm::fakes::MemoryFileSystem& files, const std::string& upload)
{
    form.decodeUpload(upload);
    require(!form.saveConfigurationFile(kPath).has_value(), "a decoded image could not be saved");
    Round round{files.files.at(kPath), {}};
    const auto opened = form.openConfigurationFile(kPath);
    require(opened.kind == qm::shell::Session::OpenOutcome::Kind::Loaded, "a saved configuration did not load");
    const auto compiled = form.compileCurrentMode();
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
    // Starting up fills every pick list: done once, and each round starts from a copy.
    static qm::fakes::MemoryFileSystem files;
    static const qm::shell::Session started = [] {
        qm::shell::Session form(files);
        form.startUp();
        return form;
    }();
    files.files.clear();
    qm::shell::Session form = started;
    const auto first = cycle(form, files, upload);
    if (!first)
        return;
    // Decoding normalises once what the compile keeps as typed (a special path's inner space is dropped), so the
    // cycle is compared from its second round on.
    const auto second = cycle(form, files, first->image);
    require(second.has_value(), "a compiled image, decoded again, was refused");
    const auto third = cycle(form, files, second->image);
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
