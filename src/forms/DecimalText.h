// Decimal text to double and back, with "." as the decimal separator whatever the locale.
#pragma once

#include <string>
#include <string_view>
#include <version>

// The standard library's floating-point <charconv>, where it has one (libc++ 14 has only the integer ones).
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
#define QM_HAVE_FLOATING_CHARCONV 1
#else
#define QM_HAVE_FLOATING_CHARCONV 0
#endif

namespace qm::forms::decimal
{

/// A number read from decimal text: its value, or that it lies beyond a double's range (too large, or so small
/// that it would read as 0).
struct Reading
{
    double value = 0.0;
    bool outOfRange = false;
};

/// Returns the value of a number written as [-]digits[.digits][e[+-]digits], with at least one digit.
Reading read(std::string_view number);

/// Returns the shortest fixed-notation text that reads back as the value: "5", "-1", "2.5", "0.0001".
std::string writeFixed(double value);

/// The same conversions without <charconv>, over the C library in any locale; read and writeFixed use them
/// where the standard library lacks floating-point <charconv>.
Reading readPortable(std::string_view number);
std::string writeFixedPortable(double value);

} // namespace qm::forms::decimal
