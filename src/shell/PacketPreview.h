// What a configuration makes the unit send, before any unit is connected: the packet header of each profile,
// the Tracking symbol, and the APRS advice, all read from the image the configuration compiles to.
#pragma once

#include "forms/MessageBox.h"
#include "forms/Windows.h"
#include "shell/AprsSymbols.h"

#include <optional>
#include <string>
#include <vector>

namespace qm::shell
{

/// What one profile sends.
struct SentPacket
{
    int profile = 1;
    /// The packet header in monitor notation ("N0CALL-9>APRS,WIDE2-1").
    std::string header;
    /// Tracking only: the symbol table (the Separator) and symbol; a name when the tables have one, code 0 for
    /// a profile without a symbol.
    std::optional<AprsSymbol> symbol;
};

struct PacketPreview
{
    /// One packet for Telemetry, Beacon and Alarm, ten for NMEA and Tracking.
    std::vector<SentPacket> packets;
    /// The APRS advice lines; never a refusal.
    std::vector<std::string> advice;
    /// Why there is no image to read them from: the compile's refusal of a value that has no place in it.
    std::optional<forms::MessageBox> refusal;
};

/// Describes what an image (128 bytes) sends.
PacketPreview previewImage(const std::string& image);

/// Compiles a copy of the windows for a mode (the shown profiles stored first) and describes what its image
/// sends; the windows are left as they are.
PacketPreview previewConfiguration(const forms::Windows& windows, forms::Mode mode);

/// Returns a symbol as a person reads it: its table and symbol characters and its name ("/> Car", "\\! Emergency",
/// "/| (no name)"), or "(none)" for a profile without a symbol.
std::string symbolText(const AprsSymbol& symbol);

} // namespace qm::shell
