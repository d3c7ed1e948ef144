// Number reading of field texts and the decimal forms the program writes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm::forms
{

/// Returns the value of the longest leading decimal number in the text (sign, digits, point, fraction,
/// exponent), with spaces anywhere skipped; 0 when the text holds no number.
double numberValue(std::string_view text);

/// Returns the value rounded to the nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);

/// Returns the number value of the text rounded half to even, when it lies within [low, high].
std::optional<int> wholeNumberIn(std::string_view text, int low, int high);

/// Returns the rounded value when it lies within [low, high].
std::optional<int> wholeNumberIn(double value, int low, int high);

/// Returns the decimal form of a number: "5", "-1", "2.5"; "." is always the decimal separator.
std::string formatNumber(double value);

} // namespace qm::forms
