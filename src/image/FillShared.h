// The decodings every window fill shares: special paths, path selectors, SSID, timer and TX lists.
#pragma once

#include "forms/Windows.h"
#include "image/ImageFields.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>

namespace qm::image
{

/// Returns true when the TX delay and tail lists are those of 300 baud (out1200 not checked).
bool fillsAt300Baud(const forms::Windows& windows);

/// Puts the four decoded special paths into the window and relabels entries 5 to 8 of its path selectors.
void fillSpecialPaths(forms::StationControls& station, const ImageFields& fields);

/// Selects the termination option a code stands for: 13 CR, 10 LF, any other the user's own in decimal.
void fillTermination(forms::OptionGroup& choice, forms::TextField& userValue, std::uint8_t code);

/// Returns the four path codes held by a profile (Path 1 to Path 4).
std::array<std::uint8_t, 4> pathCodesOf(const ImageFields& fields, int profile);

/// Returns the four path selector indexes held by a profile (-1 for a code no compile writes).
std::array<int, 4> pathIndexesOf(const ImageFields& fields, int profile);

/// Returns the SSID text of a profile: empty for 0, else its decimal text.
std::string ssidTextOf(const ImageFields& fields, int profile);

/// Returns the transmit timer of a profile as minutes and seconds texts.
std::pair<std::string, std::string> timerTextsOf(const ImageFields& fields, int profile);

/// Returns the TX delay and tail list positions held by a profile's byte 6.
std::pair<int, int> txIndexesOf(const ImageFields& fields, int profile, bool baud300);

} // namespace qm::image
