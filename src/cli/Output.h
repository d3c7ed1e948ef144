// What vq3 prints: message boxes as JSON or as "title: text", hex text, Latin-1 to UTF-8 for JSON.
#pragma once

#include "forms/MessageBox.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace qm::cli
{

/// Exit statuses of every vq3 command.
enum ExitStatus : int
{
    kDone = 0,
    kRefused = 1,
    kInputError = 2,
    kLinkFailure = 3,
};

/// Returns single-byte (Latin-1) text as UTF-8, for JSON.
std::string latin1ToUtf8(std::string_view text);

/// Returns a message box as {"title", "text", "icon", "focus", "profile"}.
nlohmann::json boxToJson(const forms::MessageBox& box);

/// Returns the box vq3 gives for its own refusals (input it cannot use): title "Error", a warning.
forms::MessageBox errorBox(const std::string& text);

/// Prints a box for a person: title, ": ", text.
void printBox(std::ostream& out, const forms::MessageBox& box);

/// Prints rows of single-byte cells as columns two spaces apart, each line as UTF-8 without trailing spaces.
void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

/// Returns the bytes as two-digit upper-case hex numbers separated by single spaces.
std::string toHex(std::string_view bytes);

/// Returns the bytes of hex text (white space ignored), or nothing when it is not hex.
std::optional<std::string> fromHex(std::string_view text);

} // namespace qm::cli
