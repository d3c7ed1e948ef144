// The desktop program's own settings, kept apart from vq3.ini (whose ten lines other installations read): a small
// file of "name=value" lines in the user's configuration folder.
#pragma once

#include "storage/FileSystem.h"

#include <optional>
#include <string>
#include <vector>

namespace qm::shell
{

class ProgramOptions
{
public:
    /// The file's name in the user's configuration folder.
    static constexpr const char* kFileName = "quellmark.conf";

    /// path: the settings file ("" when there is no configuration folder: nothing is read or kept).
    ProgramOptions(storage::FileSystem& files, std::string path);

    const std::string& path() const { return m_path; }

    /// Reads the file; a missing file, a line it does not know or a value it cannot read leaves the default.
    void load();

    /// Returns whether a write is read back and compared (on unless turned off).
    bool verifyAfterWrite() const { return m_verifyAfterWrite; }
    /// Sets the setting and keeps it in the file (lines of other settings kept as they were); returns the failure
    /// of the save.
    std::optional<storage::FileError> setVerifyAfterWrite(bool on);

    /// How many recent files are kept.
    static constexpr std::size_t kRecentFileCount = 5;
    /// Returns the configuration files last opened or saved, the latest first.
    const std::vector<std::string>& recentFiles() const { return m_recentFiles; }
    /// Puts the path first in the recent files (each path once, at most kRecentFileCount) and keeps them in the
    /// file; a path with a line break cannot be kept in a line and is left out. Returns the failure of the save.
    std::optional<storage::FileError> addRecentFile(const std::string& path);

private:
    std::optional<storage::FileError> save();

    storage::FileSystem& m_files;
    std::string m_path;
    std::vector<std::string> m_lines;
    bool m_verifyAfterWrite = true;
    std::vector<std::string> m_recentFiles;
};

} // namespace qm::shell
