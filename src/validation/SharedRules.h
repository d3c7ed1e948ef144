// The rules that several mode checks share: My Call, the SSIDs, To Call, the path order, the special paths
// and the transmit timer, for a window's own fields and for the ten stored profiles.
#pragma once

#include "forms/MessageBox.h"
#include "forms/Windows.h"

#include <optional>
#include <string_view>

namespace qm::validation
{

/// The message of a broken rule, or nothing when the rule holds.
using RuleResult = std::optional<forms::MessageBox>;

/// One of the two windows that keep ten profiles, with the way its check reads them.
struct ProfileWindow
{
    forms::StationControls& station;
    forms::ProfileStore& store;
    /// Selects a tab (0 to 9), running the tab change when it differs from the selected one.
    void (*selectTab)(forms::Windows&, int);
    /// Whether a profile SSID is trimmed before its presence is tested (Tracking) or taken as typed (NMEA).
    bool trimSsid;
};

/// Returns the NMEA window as its check reads it.
ProfileWindow nmeaProfiles(forms::Windows& windows);
/// Returns the Tracking window as its check reads it.
ProfileWindow trackingProfiles(forms::Windows& windows);

/// Whether a callsign with an optional "-" and SSID can be encoded.
enum class CallsignFault
{
    None,
    /// The SSID part does not read 1 to 15.
    Ssid,
    /// The callsign part has more than 6 characters.
    TooLong,
};

/// Reads a text as a callsign with SSID (trimmed and upper-cased, split at its first "-").
CallsignFault callsignFault(std::string_view text);

/// Returns true when a text reads as an SSID from 1 to 15.
bool validSsid(std::string_view text);

/// My Call must hold a callsign.
RuleResult checkMyCall(const forms::StationControls& station);
/// My SSID empty or 1 to 15; clearSpaces first empties a My SSID of one or two spaces.
RuleResult checkMySsid(forms::StationControls& station, bool clearSpaces);
/// The SSID of every stored profile empty or 1 to 15.
RuleResult checkProfileSsids(forms::Windows& windows, const ProfileWindow& window);
/// To Call present, with a valid SSID part and a callsign part of at most 6 characters.
RuleResult checkToCall(const forms::StationControls& station);
/// The window's paths used in order from Path 1; the refusal is the message given.
RuleResult checkPathOrder(const forms::StationControls& station, const forms::MessageBox& refusal);
/// The path order of every stored profile, as checkPathOrder.
RuleResult checkProfilePathOrder(forms::Windows& windows, const ProfileWindow& window,
                                 const forms::MessageBox& refusal);
/// Every special path empty or a callsign with a valid SSID part and at most 6 characters.
RuleResult checkSpecialPaths(const forms::StationControls& station);
/// The window's transmit timer at most 68 minutes.
RuleResult checkTimer(const forms::StationControls& station);
/// The transmit timer of every stored profile, as checkTimer.
RuleResult checkProfileTimers(forms::Windows& windows, const ProfileWindow& window);

} // namespace qm::validation
