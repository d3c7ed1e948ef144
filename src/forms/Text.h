// Single-byte text helpers shared by every layer: trimming, upper case, printable checks, characters of UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace qm::forms
{

/// Returns the text without leading and trailing spaces (0x20 only).
std::string trimSpaces(std::string_view text);

/// Returns the text with the ASCII letters a-z in upper case; every other byte unchanged.
std::string upperCase(std::string_view text);

/// Returns the text trimmed of spaces and in upper case, the way callsigns are read.
std::string trimUpper(std::string_view text);

/// Returns the characters of text from outside the program (a command line): UTF-8 as a terminal gives it, or,
/// when it is not UTF-8, single-byte text taken byte by byte.
std::u32string codePoints(std::string_view text);

/// Returns true when every byte is printable ASCII (0x20 to 0x7E).
bool isPrintableAscii(std::string_view text);

} // namespace qm::forms
