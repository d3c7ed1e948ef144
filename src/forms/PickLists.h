// The entries of the program's pick lists: the fixed lists, the transmit delay and tail lists computed
// for the output baud rate, and the special-path entries of the path selectors.
#pragma once

#include "forms/Windows.h"

#include <array>
#include <string>
#include <vector>

namespace qm::forms
{

/// Entries of the data-header lists GpsString1..3.
inline const std::vector<std::string> kDataHeaderEntries{"$GPRMC", "$GPGGA", "$GPGSA", "$GPALM", "$GPGSV", "$GPVTG"};
/// Entries of the To Call lists of the Telemetry, Beacon, NMEA and Alarm windows.
inline const std::vector<std::string> kToCallEntries{"APRS", "ALARM", "CLUB", "FOX", "GPS", "QST", "THUNT"};
/// Entries of the Tracking window's To Call list.
inline const std::vector<std::string> kTrackingToCallEntries{"APRS", "ALARM", "CLUB", "FOX",
                                                             "GPS",  "NMEA",  "QST",  "THUNT"};
/// Entries of every path selector; 5 to 8 stand for special paths 1 to 4 and follow their texts.
inline const std::vector<std::string> kPathEntries{
    "", "GATE", "RELAY", "WIDE", "ECHO", "Special Path 1", "Special Path 2", "Special Path 3", "Special Path 4"};
/// Entries of the Alarm condition lists.
inline const std::vector<std::string> kConditionEntries{"Low", "High"};

/// The index of special path n (1 to 4) in a path selector.
constexpr int specialPathEntry(int n)
{
    return n + 4;
}

/// Returns the fixed label of special path n: "Special Path 1" to "Special Path 4".
std::string specialPathLabel(int n);

/// Returns the entries of the transmit delay list (delay true) or tail list for the output baud rate.
std::vector<std::string> txListEntries(bool baud300, bool delay);

/// Returns the position of the recommended entry (the one marked " ms *") of the delay or tail list.
int recommendedTxEntry(bool baud300, bool delay);

/// Rebuilds the ten delay and tail lists for the baud rate and selects the remembered positions in each; a
/// position the list lacks selects its last entry.
void rebuildTxLists(Windows& windows, bool baud300, int delayIndex, int tailIndex);

/// Puts special path n's label (its text, or the fixed label while empty) at its entry of the window's four
/// path selectors, when the entry does not read so already. Selections are kept.
void relabelSpecialPath(StationControls& station, int n);

} // namespace qm::forms
