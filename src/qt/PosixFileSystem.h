// The files port on the real disk, through the POSIX calls: whole-file reads and atomic replacing writes.
#pragma once

#include "shell/UserFolders.h"
#include "storage/FileSystem.h"
#include "storage/IniFile.h"

namespace qm::qt
{

class PosixFileSystem : public storage::FileSystem
{
public:
    /// Returns the whole file, or the file error the operating system's failure maps to. Anything but a regular
    /// file (a folder, a FIFO, a device, a socket) is a path/file access error and is never read; a file another
    /// program has locked exclusively is permission denied, one that does not end within 16 MiB a device I/O
    /// error.
    std::variant<std::string, storage::FileError> readFile(const std::string& path) override;
    /// Writes a temporary file beside the target (the real file behind a symbolic link), flushes it to the
    /// disk and renames it over the target, keeping the old file's permission bits. A device or pipe is
    /// written directly, as it cannot be replaced. A target another program has locked exclusively is left
    /// alone (permission denied).
    std::optional<storage::FileError> writeFileAtomically(const std::string& path, const std::string& bytes) override;
    /// Writes as writeFileAtomically does, the file readable and writable by its owner only (0600), a file it
    /// replaces included.
    std::optional<storage::FileError> writePrivateFileAtomically(const std::string& path,
                                                                 const std::string& bytes) override;
    /// Returns true when the path names a file (not a folder) that can be opened for reading.
    bool fileExists(const std::string& path) override;
    /// Returns true when the path names a regular file (behind any symbolic links) that this process may write
    /// and whose folder takes the temporary file of an atomic write.
    bool fileWritable(const std::string& path) override;
    /// Returns true when the path names a folder in which this process can create a file (tried with a probe
    /// file that is removed at once).
    bool folderWritable(const std::string& folder) override;
    /// Creates the folder and the missing folders above it (mode 0777 less the umask).
    std::optional<storage::FileError> makeFolders(const std::string& folder) override;
    /// Creates the folder 0700 (the missing folders above it as makeFolders does); an existing folder of this
    /// user is set to 0700, one of another user refused (permission denied). A symbolic link is followed to a
    /// folder of this user, whose mode is left alone.
    std::optional<storage::FileError> makePrivateFolder(const std::string& folder) override;
    /// Returns the names in the folder (without "." and "..").
    std::variant<std::vector<std::string>, storage::FileError> listFolder(const std::string& folder) override;
    /// Removes the file (a symbolic link itself, not its target).
    std::optional<storage::FileError> removeFile(const std::string& path) override;

    /// The permission bits of a private file.
    static constexpr unsigned kPrivateFileMode = 0600;

private:
    std::optional<storage::FileError> writeAtomically(const std::string& path, const std::string& bytes,
                                                      std::optional<unsigned> mode);
};

/// Returns where the program looks for vq3.ini: the folder of its executable, and the configuration folder
/// $XDG_CONFIG_HOME/quellmark (an absolute XDG_CONFIG_HOME only), else $HOME/.config/quellmark.
storage::ProgramFolders programFolders(const std::string& executable, const char* xdgConfigHome, const char* home);

/// Returns programFolders for this process: its executable and its environment, less the folders that are not
/// this user's own (see userFolders); with no folder of its own left, no configuration folder.
storage::ProgramFolders currentProgramFolders();

/// Returns true when this process may keep files at the path: the nearest file or folder that exists at or above
/// it belongs to the effective user.
bool isOwnFolder(const std::string& path);

/// Returns the folders the environment names for the user's files, less those that are not this user's own, and
/// the notice for program ("quellmark", "vq3") to give once about those left out.
shell::ChosenFolders userFolders(const std::string& program);

/// Returns true when the path names a folder of this user that no one else may write.
bool isPrivateFolder(const std::string& folder);

/// Returns the file error for an operating-system error number met at a path (ENOENT gives 53 when the
/// path's folder exists, 76 when it does not).
storage::FileError fileErrorFor(int errorNumber, const std::string& path);

} // namespace qm::qt
