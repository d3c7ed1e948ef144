// Image bytes as a person reads them: decoded, then summarized, for the backups' differences and the first field a
// write's read-back names.
#pragma once

#include "reports/ConfigurationSummary.h"

#include <optional>
#include <string>

namespace qm::shell
{

/// Returns the summary of the configuration 128 image bytes decode to, as a read shows it; nothing when they
/// decode to none (not 128 bytes, or a mode code no window edits).
std::optional<reports::ConfigurationSummary> summarizeImage(const std::string& imageBytes);

/// Returns where a written image and the one read back first differ, as a person reads it: the first field of
/// the summary that differs ("Profile 3 Transmit Timer (written "1 min 0 s", read back "1 min 2 s")"), or the
/// first byte that differs when the fields agree or a mode cannot be decoded.
std::string describeReadBackDifference(const std::string& written, const std::string& readBack);

} // namespace qm::shell
