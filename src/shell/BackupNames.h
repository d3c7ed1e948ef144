// The names of the backups: date, time, model, firmware and what happened, read back in the forms of this and
// of earlier versions.
#pragma once

#include "link/Link.h"
#include "shell/Clock.h"

#include <optional>
#include <string>
#include <string_view>

namespace qm::shell
{

/// Returns the name of a backup without its extension: its number in the order backups are taken, date, time to
/// the millisecond, model, firmware and what happened, such as "000042-20261206-084512-123-VQ-3+-fw2-read".
std::string backupStem(long long sequence, const LocalTime& time, const std::string& modelName, int firmware,
                       link::Transaction transaction);

/// What the name of a backup tells.
struct BackupName
{
    /// "20261206-084512-123": date, time and milliseconds.
    std::string stamp;
    LocalTime time;
    /// "VQ-3", "VQ-3+", "Custom".
    std::string model;
    /// Nothing for a backup named before the firmware was kept in the name.
    std::optional<int> firmware;
    /// Nothing for a name that does not say.
    std::optional<link::Transaction> transaction;
    /// The unit held this configuration when a write replaced it.
    bool beforeWrite = false;
    /// The backup's number in the order backups are taken; nothing for a name of an earlier version, which has none.
    std::optional<long long> sequence = std::nullopt;

    bool operator==(const BackupName&) const = default;
};

/// Reads the name of a backup (without its extension), in the forms of this and of earlier versions; nothing
/// when it is not a backup's name.
std::optional<BackupName> parseBackupStem(std::string_view stem);

/// Returns true when the first backup was taken before the second: by their numbers, a backup named by an earlier
/// version (without a number) before every numbered one and by its time among its kind; then by name, so that a
/// second backup of one number sorts after the first. The clock plays no part between numbered backups.
bool takenBefore(const std::string& stemA, const BackupName& a, const std::string& stemB, const BackupName& b);

/// Returns how a listing names what happened: "identification", "read", "write", followed by ", before a write"
/// for a configuration a write replaced.
std::string backupEventText(const BackupName& name);

/// Returns the name a backup takes when it is marked as what the unit held before a write: the same number, date,
/// time, model, firmware and transaction, followed by "-before-write".
std::string beforeWriteStem(const std::string& stem, const BackupName& name);

} // namespace qm::shell
