// The pure byte layer of the configuration image: frame positions, callsign fields, AX.25 address
// fields, path codes, the transmit timer split and the TX delay and tail codes. No window appears here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace qm::image
{

/// A callsign with an optional "-" and SSID, split at its first "-".
struct CallsignParts
{
    std::string callsign;
    /// The text after the first "-", when there is a "-".
    std::optional<std::string> ssid;
};

/// Splits a text, trimmed and upper-cased, at its first "-".
CallsignParts splitCallsign(std::string_view text);

/// Returns the callsign padded on the right with spaces to 6 characters (the callsign must have at most 6).
std::string padCallsign(std::string_view callsign);

/// Returns the 7-byte AX.25 address field: each of the 6 padded characters shifted left by one bit, then
/// 0x60 + 2 x ssid (ssid 0 to 15), or 0x60 without an SSID.
std::string encodeAddress(std::string_view callsign, std::optional<int> ssid);

/// Returns the text of a 7-byte AX.25 address field: the callsign without padding, then "-" and the SSID
/// when the SSID byte is not 0x60.
std::string decodeAddress(std::string_view field);

/// Returns the path code of a path selector index (0-4 unchanged, 5-8 give 12-15, anything else 0).
std::uint8_t pathCode(int index);

/// Returns the path selector index of a path code (0-4 unchanged, 12-15 give 5-8); -1 for codes 5 to 11.
int pathIndex(std::uint8_t code);

/// Splits a transmit timer of 0 to 4095 seconds into (seconds DIV 256, seconds MOD 256).
std::pair<std::uint8_t, std::uint8_t> splitTimer(int seconds);

/// Returns the timer in seconds held by profile bytes 3 and 4.
int joinTimer(std::uint8_t profileByte3, std::uint8_t profileByte4);

/// Returns the TX delay or tail code of a list position: the index at 1200 baud, the index + 1 at 300 baud;
/// at 1200 baud a position of -1 (no entry, left by a 300-baud read) gives code 0. Nothing when the
/// position is not one the list has or the code would not fit its nibble.
std::optional<std::uint8_t> txCode(int index, bool baud300);

/// Returns the list position of a TX delay or tail code: the code at 1200 baud, the code - 1 at 300 baud.
int txIndex(std::uint8_t code, bool baud300);

/// Returns the text of a fixed-width field cut at its first 0x00 byte.
std::string untilNul(std::string_view field);

/// Returns the text padded with 0x00 bytes to the width (the text must have at most width bytes).
std::string padNul(std::string_view text, std::size_t width);

} // namespace qm::image
