// The compile of each mode window into the 129-byte download stream "D" + image.
#pragma once

#include "forms/MessageBox.h"
#include "forms/Windows.h"
#include "image/ImageFields.h"

#include <optional>
#include <string>

namespace qm::image
{

/// The outcome of a compile: the download stream, or the refusal of a value that has no place in the image.
struct CompileResult
{
    /// "D" and the 128 image bytes; empty when the compile was refused.
    std::string downloadImage;
    /// Why the compile was refused: names the field and gives it the focus.
    std::optional<forms::MessageBox> refusal;

    bool ok() const { return !refusal.has_value(); }
};

// Each compile reads its mode window and the main window's options and baud rate menus, normalises the timer
// fields ("0" for an empty or zero field), overwrites the field store and returns the stream. A compile never
// produces a stream that is not 129 bytes and never cuts a value silently: it refuses instead.
CompileResult compileTelemetry(forms::Windows& windows, ImageFields& fields);
CompileResult compileBeacon(forms::Windows& windows, ImageFields& fields);
CompileResult compileNmea(forms::Windows& windows, ImageFields& fields);
CompileResult compileTracking(forms::Windows& windows, ImageFields& fields);
CompileResult compileAlarm(forms::Windows& windows, ImageFields& fields);

/// Runs the compile of a mode.
CompileResult compileMode(forms::Mode mode, forms::Windows& windows, ImageFields& fields);

} // namespace qm::image
