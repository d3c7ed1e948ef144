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

private:
    storage::FileSystem& m_files;
    std::string m_path;
    std::vector<std::string> m_lines;
    bool m_verifyAfterWrite = true;
};

} // namespace qm::shell
