// Number reading of field texts and the decimal forms the program writes.
#include "forms/Numbers.h"

#include "forms/DecimalText.h"

#include <cmath>
#include <limits>

namespace qm::forms
{

namespace
{

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

/// Returns the power of ten of the number's first significant digit (about: 123 gives 2, 0.01 gives -2).
long decimalMagnitude(const std::string& number)
{
    const auto exponentAt = number.find_first_of("eE");
    const std::string mantissa = number.substr(0, exponentAt);
    long exponent = 0;
    if (exponentAt != std::string::npos) {
        // Saturate: only the sign of a huge exponent matters here.
        const std::string digits = number.substr(exponentAt + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        for (char c : digits)
            if (isDigit(c) && exponent < 1'000'000'000L)
                exponent = exponent * 10 + (c - '0');
        if (negative)
            exponent = -exponent;
    }
    const auto point = mantissa.find('.');
    const auto first = mantissa.find_first_of("123456789");
    if (first == std::string::npos)
        return -1;
    const auto pointAt = point == std::string::npos ? mantissa.size() : point;
    const long position =
        first < pointAt ? static_cast<long>(pointAt - first) - 1 : -static_cast<long>(first - pointAt);
    return position + exponent;
}

} // namespace

double numberValue(std::string_view text)
{
    // Spaces may stand anywhere in the number ("1 5" reads 15), so they are dropped before scanning.
    std::string compact;
    compact.reserve(text.size());
    for (char c : text)
        if (c != ' ')
            compact.push_back(c);

    std::string_view rest = compact;
    std::string number;
    // Moves the next character over to the number when it is one of these.
    const auto take = [&rest, &number](std::string_view these) {
        if (rest.empty() || these.find(rest.front()) == std::string_view::npos)
            return false;
        number.push_back(rest.front());
        rest.remove_prefix(1);
        return true;
    };
    // Moves every next character that is one of these; tells whether there was one.
    const auto takeAll = [&take](std::string_view these) {
        bool any = false;
        while (take(these))
            any = true;
        return any;
    };
    constexpr std::string_view kDigits = "0123456789";
    take("+-");
    bool anyDigit = takeAll(kDigits);
    if (take(".") && takeAll(kDigits))
        anyDigit = true;
    if (!anyDigit)
        return 0.0;
    // An exponent counts only with a digit after its sign; without one the number ends before the "e".
    const std::size_t mantissaLength = number.size();
    if (take("eE")) {
        take("+-");
        if (!takeAll(kDigits))
            number.resize(mantissaLength);
    }
    if (number.front() == '+')
        number.erase(0, 1);
    const decimal::Reading reading = decimal::read(number);
    if (reading.outOfRange) {
        // Too small for a double reads as 0; too large reads as the largest double of its sign, which every
        // range check refuses.
        if (decimalMagnitude(number) < 0)
            return 0.0;
        return number.front() == '-' ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
    }
    return reading.value;
}

double roundHalfEven(double value)
{
    return std::nearbyint(value);
}

std::optional<int> wholeNumberIn(double value, int low, int high)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = roundHalfEven(value);
    if (rounded < low || rounded > high)
        return std::nullopt;
    return static_cast<int>(rounded);
}

std::optional<int> wholeNumberIn(std::string_view text, int low, int high)
{
    return wholeNumberIn(numberValue(text), low, high);
}

std::string formatNumber(double value)
{
    if (value == 0.0)
        return "0";
    // Fixed notation: the decimal form a person writes, never an exponent ("100000", "0.0001").
    return decimal::writeFixed(value);
}

} // namespace qm::forms
