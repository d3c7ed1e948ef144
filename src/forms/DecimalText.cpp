// Decimal text to double and back, with "." as the decimal separator whatever the locale.
#include "forms/DecimalText.h"

#include <array>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#if QM_HAVE_FLOATING_CHARCONV
#include <charconv>
#endif

namespace qm::forms::decimal
{

namespace
{

/// The current C locale's decimal separator, which strtod and printf use in place of ".".
std::string localeDecimalPoint()
{
    const std::lconv* conventions = std::localeconv();
    if (conventions == nullptr || conventions->decimal_point == nullptr || *conventions->decimal_point == '\0')
        return ".";
    return conventions->decimal_point;
}

/// The significant digits and the power of ten of the first one, as "%.*e" writes them: 1.25e-3 gives
/// ("125", -3).
struct Scientific
{
    std::string digits;
    int exponent = 0;
};

Scientific scientific(double magnitude, int fractionDigits)
{
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.*e", fractionDigits, magnitude);
    Scientific result;
    const char* c = buffer.data();
    for (; *c != '\0' && *c != 'e'; ++c)
        if (*c >= '0' && *c <= '9')
            result.digits.push_back(*c);
    if (*c == 'e')
        result.exponent = std::atoi(c + 1);
    return result;
}

/// Returns the digits as "d.ddd" + "e" + exponent, which readPortable takes.
std::string scientificText(const Scientific& number)
{
    std::string text(1, number.digits.front());
    if (number.digits.size() > 1)
        text += "." + number.digits.substr(1);
    return text + "e" + std::to_string(number.exponent);
}

/// Lays the digits out in fixed notation: ("125", -3) gives "0.00125", ("1", 23) a 1 and 23 zeros.
std::string fixedText(Scientific number)
{
    while (number.digits.size() > 1 && number.digits.back() == '0')
        number.digits.pop_back();
    const int length = static_cast<int>(number.digits.size());
    const auto zeros = [](int count) { return std::string(static_cast<std::size_t>(count), '0'); };
    if (number.exponent < 0)
        return "0." + zeros(-number.exponent - 1) + number.digits;
    const int wholeDigits = number.exponent + 1;
    if (wholeDigits >= length)
        return number.digits + zeros(wholeDigits - length);
    const auto pointAt = static_cast<std::size_t>(wholeDigits);
    return number.digits.substr(0, pointAt) + "." + number.digits.substr(pointAt);
}

} // namespace

Reading readPortable(std::string_view number)
{
    // strtod reads the locale's separator, so the "." is swapped for it first.
    std::string text;
    const std::string point = localeDecimalPoint();
    for (char c : number)
        text += c == '.' ? point : std::string(1, c);
    errno = 0;
    const double value = std::strtod(text.c_str(), nullptr);
    // strtod also reports ERANGE for a result that is merely subnormal; only 0 or infinity lie beyond the range.
    if (errno == ERANGE && (value == 0.0 || std::isinf(value)))
        return {0.0, true};
    return {value, false};
}

std::string writeFixedPortable(double value)
{
    if (std::isnan(value))
        return std::signbit(value) ? "-nan" : "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    const std::string sign = std::signbit(value) ? "-" : "";
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0)
        return sign + "0";
    // From 2^53 on every double is a whole number, and its exact digits are the shortest fixed form: any other
    // text with as many digits lies farther from it.
    constexpr double kFirstWithoutFraction = 9007199254740992.0;
    if (magnitude >= kFirstWithoutFraction) {
        std::array<char, 400> buffer{};
        std::snprintf(buffer.data(), buffer.size(), "%.0f", magnitude);
        return sign + buffer.data();
    }
    // Below it, the fewest significant digits that read back as the same double, laid out in fixed notation;
    // 17 always do.
    constexpr int kMostFractionDigits = 16;
    for (int fractionDigits = 0; fractionDigits < kMostFractionDigits; ++fractionDigits) {
        const Scientific candidate = scientific(magnitude, fractionDigits);
        if (readPortable(scientificText(candidate)).value == magnitude)
            return sign + fixedText(candidate);
    }
    return sign + fixedText(scientific(magnitude, kMostFractionDigits));
}

#if QM_HAVE_FLOATING_CHARCONV

Reading read(std::string_view number)
{
    double value = 0.0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range)
        return {0.0, true};
    return {value, false};
}

std::string writeFixed(double value)
{
    std::array<char, 400> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    (void)ec;
    return std::string(buffer.data(), end);
}

#else

Reading read(std::string_view number)
{
    return readPortable(number);
}

std::string writeFixed(double value)
{
    return writeFixedPortable(value);
}

#endif

} // namespace qm::forms::decimal
