// Backups of everything a unit held: the 128 bytes of every identification, read and completed write, kept as
// the raw bytes and as the configuration file they decode to, newest 100 kept.
#pragma once

#include "link/Link.h"
#include "shell/Clock.h"
#include "storage/FileSystem.h"

#include <optional>
#include <string>
#include <vector>

namespace qm::shell
{

/// Returns the folder backups go to: $XDG_DATA_HOME/quellmark/backups (an absolute XDG_DATA_HOME only), else
/// $HOME/.local/share/quellmark/backups; empty when neither is set.
std::string backupFolder(const char* xdgDataHome, const char* home);

/// Returns the name of a backup without its extension: date, time to the millisecond, model and what happened,
/// such as "20261206-084512-123-VQ-3+-read".
std::string backupStem(const LocalTime& time, const std::string& modelName, link::Transaction transaction);

/// Returns the configuration file the 128 bytes decode to (CR LF lines), as a read followed by a save would
/// write it; nothing when the bytes hold a mode the program cannot save (5 to 7) or are not 128 bytes.
std::optional<std::string> decodedConfiguration(storage::FileSystem& files, const std::string& imageBytes);

class Backups
{
public:
    static constexpr int kKeep = 100;

    Backups(storage::FileSystem& files, Clock& clock, std::string folder, int keep = kKeep);

    const std::string& folder() const { return m_folder; }

    /// Keeps the bytes of a completed transaction as STEM.bin and, when they decode, STEM.vq3; then removes the
    /// oldest backups beyond the number kept. An identification that brings the same bytes as the newest backup
    /// is not kept again. Returns the failure that stopped it.
    std::optional<storage::FileError> record(link::Transaction transaction, const std::string& modelName,
                                             const std::string& imageBytes);

    /// Returns the newest backup that holds these bytes: its configuration file when it has one, else its raw
    /// bytes; "" when none does.
    std::string find(const std::string& imageBytes);

private:
    /// Returns the stems of the backups in the folder, oldest first.
    std::vector<std::string> stems();
    std::string unusedStem(const std::string& stem);
    /// Removes the oldest backups beyond the number kept.
    std::optional<storage::FileError> prune();

    storage::FileSystem& m_files;
    Clock& m_clock;
    std::string m_folder;
    int m_keep;
};

} // namespace qm::shell
