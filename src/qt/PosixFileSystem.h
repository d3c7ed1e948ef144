// The files port on the real disk, through the POSIX calls: whole-file reads and atomic replacing writes.
#pragma once

#include "storage/FileSystem.h"

namespace qm::qt
{

class PosixFileSystem : public storage::FileSystem
{
public:
    /// Returns the whole file, or the file error the operating system's failure maps to.
    std::variant<std::string, storage::FileError> readFile(const std::string& path) override;
    /// Writes a temporary file beside the target (the real file behind a symbolic link), flushes it to the
    /// disk and renames it over the target, keeping the old file's permission bits. A device or pipe is
    /// written directly, as it cannot be replaced.
    std::optional<storage::FileError> writeFileAtomically(const std::string& path, const std::string& bytes) override;
    /// Returns true when the path names a file (not a folder) that can be opened for reading.
    bool fileExists(const std::string& path) override;
};

/// Returns the file error for an operating-system error number met at a path (ENOENT gives 53 when the
/// path's folder exists, 76 when it does not).
storage::FileError fileErrorFor(int errorNumber, const std::string& path);

} // namespace qm::qt
