// What a text field or an editable pick list takes when text enters it, however it comes: a typed key, a paste, a
// drop, a completion chosen, or a value set by name. The text offered passes the field's typing filter one
// character at a time and stops at the field's typing limit; it replaces the selection.
#pragma once

#include "forms/Windows.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace qm::validation
{

/// A change offered to a field: the selection it replaces (start == end for a cursor) in the text the field holds,
/// as stored (a line end is CR LF), and the text offered in its place, as Unicode code points.
struct TextChange
{
    std::size_t start = 0;
    std::size_t end = 0;
    std::u32string_view offered;
};

/// Why a character offered did not enter the field.
enum class Refusal
{
    None,
    /// A control character (C0, DEL, C1), or a line break offered to a single-line field.
    ControlCharacter,
    /// A character the field's typing filter discards (see refused).
    Character,
    /// What the filter took did not fit the typing limit.
    Limit,
};

/// What a change leaves in a field.
struct EnteredText
{
    /// The whole text, as stored.
    std::string text;
    /// Where the cursor goes: after what entered. When nothing entered, the start of the selection, which the
    /// field keeps: the cursor is past the start exactly when something entered.
    std::size_t cursor = 0;
    /// The completion an editable pick list offers after the cursor, selected: its length (set by the program).
    std::size_t completion = 0;
    /// The first refusal, in the order the characters were offered; a limit refusal only when nothing else was.
    Refusal refusal = Refusal::None;
    /// The character the typing filter refused, for Refusal::Character.
    char32_t refused = 0;
    /// The stored length the text would have had with everything the filter took, for Refusal::Limit.
    std::size_t wanted = 0;
};

/// Returns what a change leaves in a named field holding current. Line breaks (CR LF, LF CR, CR, LF, U+2028,
/// U+2029) become one line end, stored as CR LF, in a multi-line field, and are refused elsewhere; control
/// characters are refused; every other character goes through the field's typing filter (with its side effect:
/// a digit typed as a termination character selects the user-defined option). What the filter took enters as far
/// as it fits the limit, a line end counting two: room is the limit less what stays of the text outside the
/// selection, so a text loaded longer than the limit can be shortened but takes nothing more. An empty offer
/// deletes the selection; an offer of which nothing enters leaves the text as it was. A selection outside the
/// text is narrowed to it.
EnteredText enterText(forms::Windows& windows, std::string_view control, std::string_view current,
                      const TextChange& change);

} // namespace qm::validation
