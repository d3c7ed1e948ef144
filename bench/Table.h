// The rows of the benchmark table: measurement | value | target | met.
#pragma once

#include <ostream>
#include <string>

namespace qm::bench
{

class Table
{
public:
    explicit Table(std::ostream& out) : m_out(out) {}

    /// A ratio of a measured time to its bound; met when at most the target.
    void ratio(const std::string& measurement, double value, double target, double measuredMs, double boundMs);
    /// A value that must stay at most the target.
    void atMost(const std::string& measurement, double value, double target);
    /// A value without a target.
    void plain(const std::string& measurement, double value);
    bool allMet() const { return m_allMet; }

private:
    void row(const std::string& measurement, const std::string& value, const std::string& target,
             const std::string& met);

    std::ostream& m_out;
    bool m_allMet = true;
};

} // namespace qm::bench
