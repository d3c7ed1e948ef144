// The field rules that act while the user types and clicks: the typing filters, the termination-character
// option switch, and the choice of a still-empty special path in a path selector.
#pragma once

#include "forms/Windows.h"

#include <optional>
#include <string>
#include <string_view>

namespace qm::validation
{

/// What a field does with a typed character.
enum class TypingFilter
{
    /// Any single-byte (Latin-1) character.
    Text,
    /// Backspace, space and 0-9 only.
    Digits,
    /// Printable ASCII, letters turned to upper case (callsign fields: My Call, To Call, Special Path).
    Callsign,
    /// Digits; a digit also selects the window's user-defined termination option.
    TerminationValue,
};

/// Returns the typing filter of the control with this name, by where it stands in the windows: the callsign, SSID
/// and timer fields every mode window shares, and a few fields of a mode's own.
TypingFilter typingFilter(forms::Windows& windows, std::string_view control);

/// Returns the character a typed key enters under a filter, or nothing when the key is discarded. Keys are
/// Unicode code points; anything outside Latin-1 is discarded everywhere. The editing keys Backspace (8) and
/// Delete (0x7F) always pass.
std::optional<char> filterKey(TypingFilter filter, char32_t key);

/// Handles a key typed into a named control: returns the character to enter (or nothing) and applies the
/// side effect of the termination-character value (a digit selects the user-defined option).
std::optional<char> keyTyped(forms::Windows& windows, std::string_view control, char32_t key);

/// Handles the user's choice of an entry in path selector n (1 to 4) of a window: when the entry is a special
/// path that is still empty ("Special Path 1" to "Special Path 4"), the selector goes back to the empty entry
/// and the name of that Special Path field is returned, to receive the focus.
std::optional<std::string> pathChosen(forms::StationControls& station, int n);

} // namespace qm::validation
