// A configuration as a person reads it: the current mode's header options, fields and profiles as ordered
// items (control, label, value), and the differences between two such summaries.
#pragma once

#include "forms/Windows.h"

#include <optional>
#include <string>
#include <vector>

namespace qm::reports
{

/// One value of a configuration as the summary shows it.
struct SummaryItem
{
    /// The control the value comes from ("BcnMyCall", "TrkSSID"); a value made of several controls carries
    /// their common stem ("BcnTmr" for BcnTmrMin and BcnTmrSec, "TelTxOn" for the termination option group).
    std::string control;
    std::string label;
    std::string value;

    bool operator==(const SummaryItem&) const = default;
};

/// The summary of one mode's configuration.
struct ConfigurationSummary
{
    forms::Mode mode = forms::Mode::Telemetry;
    /// The header (mode, baud rates, the options the mode's image uses), then the window's fields.
    std::vector<SummaryItem> items;
    /// NMEA and Tracking: profiles 1 to 10, each with the same items in the same order; empty otherwise.
    std::vector<std::vector<SummaryItem>> profiles;
};

/// One difference between two summaries.
struct SummaryDifference
{
    std::string control;
    std::string label;
    /// The profile (1 to 10) the value belongs to, when it is a profile value.
    std::optional<int> profile;
    std::string a;
    std::string b;

    bool operator==(const SummaryDifference&) const = default;
};

/// The text that shows an empty value, an empty path and a list without a selection.
inline constexpr const char* kNone = "(none)";

/// Summarizes the windows' configuration of a mode; the profiles come from the profile stores, so the shown
/// profiles must have been stored first.
ConfigurationSummary summarizeConfiguration(const forms::Windows& windows, forms::Mode mode);

/// Returns the controls an item of a mode's summary shows: the item's own control, or those of a value made of
/// several (BcnTmr: BcnTmrMin and BcnTmrSec; TelTxOn: its three options and TelUserTrigChar).
std::vector<std::string> itemControls(const forms::Windows& windows, forms::Mode mode, const std::string& item);

/// Returns what differs from a to b, item by item and profile by profile; a different mode is the one
/// difference.
std::vector<SummaryDifference> compareSummaries(const ConfigurationSummary& a, const ConfigurationSummary& b);

/// Returns where two 128-byte images first differ, as a person reads it: the first of the differences between
/// their summaries with both values ("Profile 3 Transmit Timer (written "1 min 0 s", read back "1 min 2 s")"),
/// or, when there is none (the fields agree or a mode cannot be decoded), the first byte that differs.
std::string describeFirstDifference(const std::vector<SummaryDifference>& fieldDifferences, const std::string& written,
                                    const std::string& readBack);

} // namespace qm::reports
