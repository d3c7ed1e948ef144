// Backups of everything a unit held: the 128 bytes of every identification, read and completed write, kept as
// the raw bytes and as the configuration file they decode to, each configuration once, the newest 100 kept.
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

    /// Keeps the bytes of a completed transaction as STEM.bin and, when they decode, STEM.vq3, both for the
    /// user's eyes only in a folder only the user can enter. Bytes kept before are one backup: it is kept again
    /// under this sighting's name and its earlier copies are removed, so seeing one configuration again and again
    /// never pushes an older one out. Then removes the oldest backups beyond the number kept. Returns the failure
    /// that stopped it.
    std::optional<storage::FileError> record(link::Transaction transaction, const std::string& modelName,
                                             const std::string& imageBytes);

    /// Returns the newest backup that holds these bytes: its configuration file when it has one, else its raw
    /// bytes; "" when none does.
    std::string find(const std::string& imageBytes);

private:
    /// Returns the stems of the backups in the folder, oldest first.
    std::vector<std::string> stems();
    /// Returns the stems of the backups whose raw bytes are these.
    std::vector<std::string> stemsHolding(const std::vector<std::string>& stems, const std::string& imageBytes);
    std::string unusedStem(const std::string& stem);
    /// Removes the backup's raw bytes and, when it has one, its configuration file.
    std::optional<storage::FileError> remove(const std::string& stem);
    /// Removes the oldest backups beyond the number kept.
    std::optional<storage::FileError> prune();

    storage::FileSystem& m_files;
    Clock& m_clock;
    std::string m_folder;
    int m_keep;
};

} // namespace qm::shell
