// Choosing a backup to bring back into the windows: how a list shows each backup, and what differs between the
// windows and a backup, in the words vq3 diff uses.
#pragma once

#include "shell/Backups.h"
#include "shell/Session.h"

#include <string>
#include <vector>

namespace qm::shell
{

/// The columns of a backup list, in order.
inline constexpr const char* kBackupColumns[] = {"Date and time", "Unit", "Mode", "Callsign", "What happened"};

/// Returns the columns of one backup: "2026-12-06 08:45:12", "VQ-3+ firmware 2", "Tracking", "N0CALL",
/// "read, before a write".
std::vector<std::string> backupColumns(const BackupEntry& entry);

/// Returns what differs from the windows (the current mode's, or the backup's mode when none is chosen) to the
/// backup, one line each as vq3 diff prints it ("Profile 3 SSID: 9 -> 7"); a line saying they agree when nothing
/// differs, or why the backup cannot be opened.
std::vector<std::string> backupDifferences(const Session& session, const BackupEntry& entry);

/// Returns a value with its control characters written out ("\r", "\n", "\t", "\x1B"), as the listings show it.
std::string visibleValue(const std::string& value);

/// Returns one difference as vq3 diff prints it: "Profile 3 SSID: 9 -> 7", "My Call: N0CALL -> (none)".
std::string differenceText(const reports::SummaryDifference& difference);

} // namespace qm::shell
