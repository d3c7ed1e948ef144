// What the mode windows show beside the fields to help an APRS user: path completions, the name of the symbol
// typed, what the Separator chooses, the packet header each profile sends and the APRS advice. Advice only: none
// of it refuses a value.
#pragma once

#include "forms/Windows.h"

#include <string>
#include <vector>

namespace qm::shell
{

/// Returns the paths today's APRS networks serve, for the Special Path fields to offer as completions.
std::vector<std::string> commonPaths();

/// Returns how the Symbol field names the symbol typed, read in the table its Separator chooses: "Car", "Jogger",
/// "Emergency (alternate table)", "(no name in the primary table)"; "" for an empty symbol.
std::string symbolCaption(const std::string& separator, const std::string& symbol);

/// Returns the Symbol field's tool tip: what to enter, then the name of the symbol typed.
std::string symbolToolTip(const std::string& separator, const std::string& symbol);

/// Returns the Separator field's tool tip: what to enter, that it chooses the symbol table, and the table the
/// Separator typed chooses.
std::string separatorToolTip(const std::string& separator);

/// What a mode window shows of what its configuration sends.
struct WindowPreview
{
    /// The packet header of the profile on show (the one packet of a mode without profiles), or why there is none.
    std::string header;
    /// Every profile's packet header, one line each ("Profile 3: N0CALL-9>APRS,WIDE2-1"); empty without profiles.
    std::string allHeaders;
    /// The APRS advice, one line each; empty when there is none.
    std::string advice;
};

/// Describes what the windows of a mode send, the profile on show included as typed; the windows stay as they
/// are.
WindowPreview windowPreview(const forms::Windows& windows, forms::Mode mode);

} // namespace qm::shell
