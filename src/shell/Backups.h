// Backups of everything a unit held: the 128 bytes of every identification, read and completed write, kept as
// the raw bytes and as the configuration file they decode to, each configuration once, the newest 100 kept.
#pragma once

#include "forms/MessageBox.h"
#include "link/Link.h"
#include "reports/ConfigurationSummary.h"
#include "shell/BackupNames.h"
#include "shell/Clock.h"
#include "storage/FileSystem.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qm::shell
{

/// Returns the folder backups go to: $XDG_DATA_HOME/quellmark/backups (an absolute XDG_DATA_HOME only), else
/// $HOME/.local/share/quellmark/backups; empty when neither is set.
std::string backupFolder(const char* xdgDataHome, const char* home);

/// Returns the configuration file the 128 bytes decode to (CR LF lines), as a read followed by a save would
/// write it; nothing when the bytes hold a mode the program cannot save (5 to 7) or are not 128 bytes.
std::optional<std::string> decodedConfiguration(const std::string& imageBytes);

/// One backup as a listing shows it.
struct BackupEntry
{
    /// The name without extension, such as "20261206-084512-123-VQ-3+-fw2-read".
    std::string stem;
    BackupName name;
    /// The 128 bytes kept; empty when the raw file cannot be read or is not 128 bytes long.
    std::string imageBytes;
    /// The mode code the bytes hold (0 to 7), when they are 128 bytes.
    std::optional<int> mode;
    /// The station callsign the bytes hold.
    std::string callsign;
    /// Paths of the raw bytes and, when there is one, of the configuration file.
    std::string rawPath;
    std::optional<std::string> configurationPath;
};

/// Lists the backups in a folder, newest first (so backup 1 is the newest); a folder not made yet holds none.
std::variant<std::vector<BackupEntry>, storage::FileError> listBackups(storage::FileSystem& files,
                                                                       const std::string& folder);

/// A backup that could not be kept: the folder it was to go to and what stopped it.
struct UnkeptBackup
{
    std::string folder;
    std::string reason;

    bool operator==(const UnkeptBackup&) const = default;
};

/// The question before a write when the configuration the unit holds could not be kept as a backup: it names the
/// folder and the reason, and No is the default.
forms::MessageBox unkeptBackupBox(const UnkeptBackup& unkept);

/// Returns the sentence that ends the box of a write that failed or was interrupted: where the configuration the
/// unit held before it is kept.
std::string earlierConfigurationSentence(const std::string& path);

/// For a write that failed or was interrupted: marks the backup of the 128 bytes the unit held before it (read
/// when the unit was identified) as read before a write, and returns the sentence naming where it is kept;
/// nothing when no backup holds them.
std::optional<std::string> keptBeforeWriteSentence(storage::FileSystem& files, const std::string& folder,
                                                   const std::string& unitBytes);

/// Marks the newest backup in the folder holding these bytes as what the unit held before a write, as
/// Backups::markReadBeforeWrite does.
std::variant<std::string, storage::FileError> markReadBeforeWrite(storage::FileSystem& files, const std::string& folder,
                                                                  const std::string& imageBytes);

class Backups
{
public:
    static constexpr int kKeep = 100;

    Backups(storage::FileSystem& files, Clock& clock, std::string folder, int keep = kKeep);

    const std::string& folder() const { return m_folder; }

    /// Keeps the bytes of a completed transaction as STEM.bin and, when they decode, STEM.vq3, both for the
    /// user's eyes only in a folder only the user can enter. STEM begins with a number one higher than any in the
    /// folder, so the order of the backups is the order they were taken whatever the clock says. Bytes kept before
    /// are one backup: it is kept again under this sighting's name and its earlier copies are removed, so seeing
    /// one configuration again and again never pushes an older one out. A write marks the backup of what the unit
    /// held before it (see markReadBeforeWrite). Then removes the oldest backups beyond the number kept, never the
    /// one just taken nor the one a write marked. Returns the failure that stopped it.
    std::optional<storage::FileError> record(link::Transaction transaction, const std::string& modelName, int firmware,
                                             const std::string& imageBytes);

    /// Marks the newest backup holding these bytes as what the unit held before a write and returns its path
    /// (see markReadBeforeWrite); "" when no backup holds them or it cannot be marked.
    std::string markHeldBeforeWrite(const std::string& imageBytes);

    /// Marks the newest backup holding these bytes as what the unit held before a write (its name says so from
    /// then on, its date and time stay) and returns the path of its configuration file, or of its raw bytes when
    /// they hold no mode the program can open. Fails with "file not found" when no backup holds them.
    std::variant<std::string, storage::FileError> markReadBeforeWrite(const std::string& imageBytes);

private:
    storage::FileSystem& m_files;
    Clock& m_clock;
    std::string m_folder;
    int m_keep;
    /// What the unit held at the last transaction this object recorded.
    std::optional<std::string> m_unitHolds;
};

} // namespace qm::shell
