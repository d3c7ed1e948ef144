// The rows of the benchmark table.
#include "Table.h"

#include <cmath>
#include <cstdio>

namespace qm::bench
{

namespace
{

std::string number(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

} // namespace

void Table::ratio(const std::string& measurement, double value, double target, double measuredMs, double boundMs)
{
    const bool met = value > 0 && value <= target;
    m_allMet = m_allMet && met;
    row(measurement, number(value, 3) + " (" + number(measuredMs, 1) + " / " + number(boundMs, 1) + " ms)",
        "<= " + number(target, 2), met ? "yes" : "NO");
}

void Table::atMost(const std::string& measurement, double value, double target)
{
    const bool met = value > 0 && value <= target;
    m_allMet = m_allMet && met;
    row(measurement, number(value, value < 10 ? 2 : 1), "<= " + number(target, 0), met ? "yes" : "NO");
}

void Table::plain(const std::string& measurement, double value)
{
    row(measurement, number(value, value < 10 ? 3 : 1), "-", "-");
}

void Table::row(const std::string& measurement, const std::string& value, const std::string& target,
                const std::string& met)
{
    m_out << measurement << " | " << value << " | " << target << " | " << met << std::endl;
}

} // namespace qm::bench
