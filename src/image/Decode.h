// The upload decoding of 128 image bytes into the field store, and the window fill of each mode.
#pragma once

#include "forms/Windows.h"
#include "image/HeaderBytes.h"
#include "image/ImageFields.h"

#include <string>

namespace qm::image
{

/// Splits 128 uploaded bytes into the field store as the upload decoding does for the image's mode: the
/// header bytes, station callsign and to-call text (trimmed, with the SSID suffix), the special paths (kept
/// encoded), the profile bytes (profile 1 for modes 0, 1, 4; all ten for 2, 3) and the mode's own fields.
/// Fields the image does not carry keep what they held.
void splitUpload(const std::string& uploadData, ImageFields& fields);
/// Returns the fields of 128 image bytes on their own: what the image does not carry is empty.
ImageFields decodeFields(const std::string& image);

// The window fills: each puts a decoded image from the field store into its window (and profile store).
// The upload decoding has set the station callsign, to-call, options and baud rate menus, and rebuilt the
// delay and tail lists for the output baud rate, before it calls them.
void fillTelemetryWindow(forms::Windows& windows, const ImageFields& fields);
void fillBeaconWindow(forms::Windows& windows, const ImageFields& fields);
void fillNmeaWindow(forms::Windows& windows, const ImageFields& fields);
void fillTrackingWindow(forms::Windows& windows, const ImageFields& fields);
void fillAlarmWindow(forms::Windows& windows, const ImageFields& fields);

/// Runs the window fill of a mode.
void fillMode(forms::Mode mode, forms::Windows& windows, const ImageFields& fields);

} // namespace qm::image
