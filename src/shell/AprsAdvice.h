// Advice for APRS use of a configuration: paths today's networks no longer serve, an SSID unusual for what the
// mode sends, a short transmit timer through digipeaters. Advice never refuses anything.
#pragma once

#include <string>
#include <vector>

namespace qm::shell
{

/// Returns the advice lines for an image (128 bytes), read from what the unit would send: for NMEA and
/// Tracking each line begins with the profiles it concerns ("Profile 3: ", "Profiles 1 to 10: ").
std::vector<std::string> aprsAdvice(const std::string& image);

/// Returns a list of profile numbers as a person writes it: "3", "1 to 10", "1, 2 and 5", "1 to 4 and 7".
std::string profileList(const std::vector<int>& profiles);

} // namespace qm::shell
