// The files port: the core reads and writes whole files through it and never touches the disk itself.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace qm::storage
{

/// The most bytes the program reads from one file or from standard input: far beyond any file it reads, so that
/// a source that never ends (such as /dev/zero) is refused instead of read until memory runs out.
inline constexpr std::size_t kMaxReadBytes = 16 * 1024 * 1024;

/// A failed file operation under the program's file-error number (53 not found, 61 disk full, 70 permission
/// denied, 76 path not found, ...) with the operating system's own reason for details.
struct FileError
{
    int number = 0;
    std::string reason;

    bool operator==(const FileError&) const = default;
};

/// Program file-error numbers.
namespace error
{
inline constexpr int kBadFileName = 52;
inline constexpr int kFileNotFound = 53;
inline constexpr int kFileAlreadyOpen = 55;
inline constexpr int kDeviceIo = 57;
inline constexpr int kFileAlreadyExists = 58;
inline constexpr int kDiskFull = 61;
inline constexpr int kInputPastEnd = 62;
inline constexpr int kDeviceUnavailable = 68;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kDiskNotReady = 71;
inline constexpr int kRenameAcrossDrives = 74;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
/// A value that cannot be converted (an option line that is neither True nor False).
inline constexpr int kTypeMismatch = 13;
/// A list position the pick list does not have, or a check-box state it cannot take.
inline constexpr int kInvalidPropertyValue = 380;
/// A number too large for the 16-bit variable it is stored in.
inline constexpr int kOverflow = 6;
} // namespace error

class FileSystem
{
public:
    virtual ~FileSystem() = default;

    /// Returns the whole file's bytes.
    virtual std::variant<std::string, FileError> readFile(const std::string& path) = 0;
    /// Replaces the file with the bytes as one step: a temporary file in the same folder renamed over the
    /// target. On failure the old file is intact and no temporary file is left.
    virtual std::optional<FileError> writeFileAtomically(const std::string& path, const std::string& bytes) = 0;
    /// Replaces the file as writeFileAtomically does, readable and writable by its owner only. A port without
    /// permissions writes it as any file.
    virtual std::optional<FileError> writePrivateFileAtomically(const std::string& path, const std::string& bytes)
    {
        return writeFileAtomically(path, bytes);
    }
    /// Returns true when a file can be opened for reading at the path.
    virtual bool fileExists(const std::string& path) = 0;
    /// Returns true when the path names a file this process may rewrite: the file itself, and its folder for the
    /// temporary file of an atomic write. A port without permissions answers false.
    virtual bool fileWritable(const std::string& path)
    {
        (void)path;
        return false;
    }
    /// Returns true when new files can be created in the folder (false when it is missing). A port without
    /// folders answers false.
    virtual bool folderWritable(const std::string& folder)
    {
        (void)folder;
        return false;
    }
    /// Creates the folder and any missing folders above it; an existing folder is no failure. A port without
    /// folders has nothing to create.
    virtual std::optional<FileError> makeFolders(const std::string& folder)
    {
        (void)folder;
        return std::nullopt;
    }
    /// Creates the folder as makeFolders does and keeps it to its owner: a folder this user does not own is
    /// refused, one open to others is closed to them. A port without permissions makes it as any folder.
    virtual std::optional<FileError> makePrivateFolder(const std::string& folder) { return makeFolders(folder); }
    /// Returns the names of the entries of the folder (without "." and ".."), in no particular order. A port
    /// without folders reports that it cannot list one.
    virtual std::variant<std::vector<std::string>, FileError> listFolder(const std::string& folder)
    {
        (void)folder;
        return FileError{error::kDeviceUnavailable, "Listing a folder is not supported."};
    }
    /// Removes the file. A port without removal reports that it cannot.
    virtual std::optional<FileError> removeFile(const std::string& path)
    {
        (void)path;
        return FileError{error::kDeviceUnavailable, "Removing a file is not supported."};
    }
};

} // namespace qm::storage
