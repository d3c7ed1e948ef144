// 128 image bytes decoded as a read decodes them: into the windows the program shows, or as a value of their own,
// windows fresh from start-up holding the image's configuration.
#pragma once

#include "forms/WindowDefaults.h"
#include "forms/Windows.h"
#include "image/ImageFields.h"

#include <cstddef>
#include <optional>
#include <string>
#include <variant>

namespace qm::image
{

/// Takes 128 image bytes into the windows as a read does: the header bytes into the main window (the input baud
/// rate only for a mode that has one; the delay and tail lists rebuilt for the output baud rate at the remembered
/// positions), the bytes into the field store and, when the mode code names a window, the callsign, the to-call
/// and that mode's window fill. Returns the mode; nothing for a code no window edits (5 to 7).
std::optional<forms::Mode> decodeIntoWindows(const std::string& image, forms::Windows& windows, ImageFields& fields,
                                             const forms::WindowDefaults& defaults);

/// A configuration decoded from image bytes: its mode and the windows holding it.
struct DecodedImage
{
    forms::Mode mode = forms::Mode::Telemetry;
    forms::Windows windows;
};

/// Why bytes decode to no configuration.
struct DecodeRefusal
{
    /// How many bytes there were; an image has 128.
    std::size_t size = 0;
    /// The mode code of 128 bytes whose code (5 to 7) names no window; nothing when the size is wrong.
    std::optional<int> modeCode;
};

/// Decodes image bytes into windows as start-up leaves them, with the shown profiles stored, as a read followed by
/// a save sees them; the refusal when they are not 128 bytes or their mode code names no window.
std::variant<DecodedImage, DecodeRefusal> decodeImage(const std::string& image);

} // namespace qm::image
