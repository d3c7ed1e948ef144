// The files port on the real disk, through the POSIX calls.
#include "qt/PosixFileSystem.h"

#include "storage/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm::qt
{

namespace
{

namespace error = storage::error;
using storage::FileError;
using storage::fileNameOf;
using storage::folderOf;
using StatInfo = struct stat;
using LockInfo = struct flock;

/// An open file descriptor, closed when it goes out of scope unless closed before.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    /// Closes the descriptor; returns false (errno set) when the close reports a failure.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

constexpr int kMaxLinkHops = 40;
// Keeps the temporary file's name within the folder-entry limit whatever the target is called.
constexpr std::size_t kTempNameKeep = 200;
constexpr const char* kLockedReason = "Another program has locked the file to write it.";
constexpr mode_t kPrivateFolderMode = 0700;

bool isFolder(const std::string& path)
{
    StatInfo info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

FileError errorFromErrno(int errorNumber, int number)
{
    return FileError{number, std::strerror(errorNumber)};
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Locks are advisory: they bind only programs that ask. A program that holds an exclusive lock (flock or fcntl)
// is writing the file, so it is neither read half-written nor replaced under that program.
bool lockedByAnotherProgram(int fd)
{
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0)
        return errno == EWOULDBLOCK;
    ::flock(fd, LOCK_UN);
    LockInfo probe = {};
    probe.l_type = F_RDLCK;
    probe.l_whence = SEEK_SET;
    return ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

// Opening a FIFO that nobody writes (or reads), or a terminal without carrier, would wait forever: the open does
// not wait, and the descriptor then reads and writes as usual (a FIFO without a writer reads as empty).
int openWithoutWaiting(const std::string& path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::optional<FileError> refuseUnlessRegular(const StatInfo& info)
{
    if (S_ISREG(info.st_mode))
        return std::nullopt;
    if (S_ISDIR(info.st_mode))
        return errorFromErrno(EISDIR, error::kPathFileAccess);
    const char* kind = S_ISFIFO(info.st_mode)   ? "a FIFO"
                       : S_ISCHR(info.st_mode)  ? "a character device"
                       : S_ISBLK(info.st_mode)  ? "a block device"
                       : S_ISSOCK(info.st_mode) ? "a socket"
                                                : "something else";
    return FileError{error::kPathFileAccess, std::string("It is ") + kind + ", not a regular file."};
}

bool writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

/// Follows the symbolic links of a path that names no existing file yet (a dangling link names the file a
/// save creates); returns the final path, or nothing with errno set.
std::optional<std::string> followLinks(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        StatInfo info{};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 256) + 1, '\0');
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length < 0)
            return std::nullopt;
        target.resize(static_cast<std::size_t>(length));
        current = target.front() == '/' ? target : folderOf(current) + "/" + target;
    }
    errno = ELOOP;
    return std::nullopt;
}

// A device or a pipe (such as /dev/stdout) cannot be renamed over; it is written in place.
std::optional<FileError> writeInPlace(const std::string& path, const std::string& bytes)
{
    Descriptor file(openWithoutWaiting(path, O_WRONLY | O_TRUNC));
    if (!file.valid() || !writeAll(file.get(), bytes) || !file.close())
        return fileErrorFor(errno, path);
    return std::nullopt;
}

void syncFolder(const std::string& folder)
{
    // The rename is already done; flushing the folder entry only makes it last through a power loss.
    Descriptor entry(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (entry.valid())
        ::fsync(entry.get());
}

std::optional<FileError> replaceFile(const std::string& target, const std::string& bytes, std::optional<mode_t> oldMode)
{
    std::string temp = folderOf(target) + "/." + std::string(fileNameOf(target).substr(0, kTempNameKeep)) + ".XXXXXX";
    Descriptor file(::mkstemp(temp.data()));
    if (!file.valid())
        return fileErrorFor(errno, target);

    const mode_t mode = oldMode ? *oldMode : (0666 & ~currentUmask());
    const bool written = writeAll(file.get(), bytes) && ::fchmod(file.get(), mode) == 0 && ::fsync(file.get()) == 0 &&
                         file.close() && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!written) {
        const int failure = errno;
        if (file.valid())
            file.close();
        ::unlink(temp.c_str());
        return fileErrorFor(failure, target);
    }
    syncFolder(folderOf(target));
    return std::nullopt;
}

} // namespace

FileError fileErrorFor(int errorNumber, const std::string& path)
{
    switch (errorNumber) {
    case ENOENT:
        return errorFromErrno(errorNumber, isFolder(folderOf(path)) ? error::kFileNotFound : error::kPathNotFound);
    case ENOTDIR:
        return errorFromErrno(errorNumber, error::kPathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY:
        return errorFromErrno(errorNumber, error::kPermissionDenied);
    case EISDIR:
        return errorFromErrno(errorNumber, error::kPathFileAccess);
    case ENAMETOOLONG:
        return errorFromErrno(errorNumber, error::kBadFileName);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return errorFromErrno(errorNumber, error::kDiskFull);
    default:
        return errorFromErrno(errorNumber, error::kDeviceIo);
    }
}

std::variant<std::string, FileError> PosixFileSystem::readFile(const std::string& path)
{
    if (path.empty())
        return errorFromErrno(ENOENT, error::kBadFileName);
    // Only a regular file is loaded: a FIFO or a device may never end or never answer (a FIFO whose writer stays
    // open blocks every read), and merely opening a device can act on it (a serial port raises its lines).
    StatInfo info{};
    if (::stat(path.c_str(), &info) != 0)
        return fileErrorFor(errno, path);
    if (auto refused = refuseUnlessRegular(info))
        return *refused;
    Descriptor file(openWithoutWaiting(path, O_RDONLY));
    if (!file.valid())
        return fileErrorFor(errno, path);
    // The path may name something else by the time it is opened.
    if (::fstat(file.get(), &info) != 0)
        return fileErrorFor(errno, path);
    if (auto refused = refuseUnlessRegular(info))
        return *refused;
    if (lockedByAnotherProgram(file.get()))
        return FileError{error::kPermissionDenied, kLockedReason};

    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return fileErrorFor(errno, path);
        }
        if (count == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(count));
        if (bytes.size() > storage::kMaxReadBytes)
            return FileError{error::kDeviceIo, "The file does not end within " +
                                                   std::to_string(storage::kMaxReadBytes / (1024 * 1024)) + " MiB."};
    }
    return bytes;
}

std::optional<FileError> PosixFileSystem::writeFileAtomically(const std::string& path, const std::string& bytes)
{
    return writeAtomically(path, bytes, std::nullopt);
}

std::optional<FileError> PosixFileSystem::writePrivateFileAtomically(const std::string& path, const std::string& bytes)
{
    return writeAtomically(path, bytes, kPrivateFileMode);
}

std::optional<FileError> PosixFileSystem::writeAtomically(const std::string& path, const std::string& bytes,
                                                          std::optional<unsigned> mode)
{
    if (path.empty())
        return errorFromErrno(ENOENT, error::kBadFileName);

    StatInfo info{};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT)
            return fileErrorFor(errno, path);
        const auto target = followLinks(path);
        if (!target)
            return fileErrorFor(errno, path);
        return replaceFile(*target, bytes, mode);
    }
    if (S_ISDIR(info.st_mode))
        return errorFromErrno(EISDIR, error::kPathFileAccess);
    if (!S_ISREG(info.st_mode))
        return writeInPlace(path, bytes);

    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (!real)
        return fileErrorFor(errno, path);
    const std::string target(real.get());
    if (::access(target.c_str(), W_OK) != 0) {
        const int failure = errno;
        if (failure == EACCES)
            return errorFromErrno(failure, error::kPathFileAccess);
        return fileErrorFor(failure, target);
    }
    if (Descriptor old(::open(target.c_str(), O_RDONLY | O_CLOEXEC)); old.valid() && lockedByAnotherProgram(old.get()))
        return FileError{error::kPermissionDenied, kLockedReason};
    return replaceFile(target, bytes, mode ? *mode : static_cast<mode_t>(info.st_mode & 07777));
}

bool PosixFileSystem::fileExists(const std::string& path)
{
    if (path.empty())
        return false;
    Descriptor file(openWithoutWaiting(path, O_RDONLY));
    if (!file.valid())
        return false;
    StatInfo info{};
    return ::fstat(file.get(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool PosixFileSystem::fileWritable(const std::string& path)
{
    if (path.empty())
        return false;
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    if (!real)
        return false;
    const std::string target(real.get());
    StatInfo info{};
    return ::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(target.c_str(), W_OK) == 0 &&
           folderWritable(folderOf(target));
}

bool PosixFileSystem::folderWritable(const std::string& folder)
{
    if (folder.empty() || !isFolder(folder))
        return false;
    // A permission test alone says yes to root everywhere but on read-only mounts; creating a file is the real
    // answer (a folder such as /proc refuses it to anyone).
    std::string probe = folder + "/.vq3-probe-XXXXXX";
    Descriptor file(::mkstemp(probe.data()));
    if (!file.valid())
        return false;
    ::unlink(probe.c_str());
    return true;
}

std::optional<FileError> PosixFileSystem::makeFolders(const std::string& folder)
{
    if (folder.empty())
        return errorFromErrno(ENOENT, error::kBadFileName);
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        if (!isFolder(part)) {
            if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
                return fileErrorFor(errno, part);
            if (!isFolder(part))
                return fileErrorFor(ENOTDIR, part);
        }
        if (end == std::string::npos)
            return std::nullopt;
    }
}

std::optional<FileError> PosixFileSystem::makePrivateFolder(const std::string& folder)
{
    if (folder.empty())
        return errorFromErrno(ENOENT, error::kBadFileName);
    // The folder itself is made closed to others from the start; the folders above it are as usual.
    if (const std::string above = folderOf(folder); above != folder && !isFolder(above))
        if (auto failure = makeFolders(above))
            return failure;
    if (::mkdir(folder.c_str(), kPrivateFolderMode) != 0 && errno != EEXIST)
        return fileErrorFor(errno, folder);
    StatInfo entry{};
    if (::lstat(folder.c_str(), &entry) != 0)
        return fileErrorFor(errno, folder);
    StatInfo info{};
    if (::stat(folder.c_str(), &info) != 0)
        return fileErrorFor(errno, folder);
    if (!S_ISDIR(info.st_mode))
        return fileErrorFor(ENOTDIR, folder);
    // Even root keeps out of another user's folder: files it left there would be closed to their owner.
    if (info.st_uid != ::geteuid())
        return FileError{error::kPermissionDenied, "The folder belongs to another user."};
    // A link is the user's own choice of folder (on another disk, shared between accounts of theirs): it is
    // followed to a folder of this user, and that folder's mode is left as the user set it.
    if (S_ISLNK(entry.st_mode))
        return std::nullopt;
    if ((info.st_mode & 07777) != kPrivateFolderMode && ::chmod(folder.c_str(), kPrivateFolderMode) != 0)
        return fileErrorFor(errno, folder);
    return std::nullopt;
}

std::variant<std::vector<std::string>, FileError> PosixFileSystem::listFolder(const std::string& folder)
{
    if (folder.empty())
        return errorFromErrno(ENOENT, error::kBadFileName);
    struct CloseFolder
    {
        void operator()(DIR* folderStream) const { ::closedir(folderStream); }
    };
    const std::unique_ptr<DIR, CloseFolder> entries(::opendir(folder.c_str()));
    if (!entries) {
        // A folder that is not there is a path not found, whatever holds it.
        if (errno == ENOENT)
            return errorFromErrno(errno, error::kPathNotFound);
        return fileErrorFor(errno, folder);
    }
    std::vector<std::string> names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(entries.get());
        if (entry == nullptr) {
            if (errno != 0)
                return fileErrorFor(errno, folder);
            return names;
        }
        const std::string name(entry->d_name);
        if (name != "." && name != "..")
            names.push_back(name);
    }
}

std::optional<FileError> PosixFileSystem::removeFile(const std::string& path)
{
    if (path.empty())
        return errorFromErrno(ENOENT, error::kBadFileName);
    if (::unlink(path.c_str()) != 0)
        return fileErrorFor(errno, path);
    return std::nullopt;
}

bool isPrivateFolder(const std::string& folder)
{
    StatInfo info{};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

storage::ProgramFolders programFolders(const std::string& executable, const char* xdgConfigHome, const char* home)
{
    storage::ProgramFolders folders;
    folders.programFolder = folderOf(executable);
    // Relative XDG_CONFIG_HOME values are invalid and ignored.
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/')
        folders.configFolder = std::string(xdgConfigHome) + "/quellmark";
    else if (home != nullptr && home[0] != '\0')
        folders.configFolder = std::string(home) + "/.config/quellmark";
    else
        folders.configFolder = folders.programFolder;
    return folders;
}

storage::ProgramFolders currentProgramFolders()
{
    std::string executable(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", executable.data(), executable.size() - 1);
    executable.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    if (executable.empty())
        executable = "./vq3";
    const shell::ChosenFolders chosen = userFolders("");
    const shell::BaseFolders& own = chosen.folders;
    // Without HOME the account's own home folder still keeps the settings apart from the program's folder.
    const std::string& home = own.home.empty() ? own.accountHome : own.home;
    storage::ProgramFolders folders = programFolders(executable, own.xdgConfigHome.c_str(), home.c_str());
    // A folder of another user left out is not replaced by the program's own folder: no settings file is kept.
    if (!chosen.notice.empty() && own.xdgConfigHome.empty() && home.empty())
        folders.configFolder.clear();
    return folders;
}

bool isOwnFolder(const std::string& path)
{
    const uid_t user = ::geteuid();
    for (std::string at = path;;) {
        StatInfo info{};
        // What is there decides by its owner: a file of the user's own where a folder belongs is the user's to
        // mend, and the write into it fails with its reason.
        if (::stat(at.c_str(), &info) == 0)
            return info.st_uid == user;
        // A folder not made yet would be made in the nearest one that exists.
        const std::string above = folderOf(at);
        if (errno != ENOENT || above == at)
            return false;
        at = above;
    }
}

shell::ChosenFolders userFolders(const std::string& program)
{
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value != nullptr ? value : "");
    };
    shell::BaseFolders given{
        variable("XDG_CONFIG_HOME"), variable("XDG_DATA_HOME"), variable("XDG_CACHE_HOME"), variable("HOME"), {}};
    std::string userName = std::to_string(::geteuid());
    if (const passwd* account = ::getpwuid(::geteuid())) {
        given.accountHome = account->pw_dir;
        userName = account->pw_name;
    }
    return shell::chooseUserFolders(given, program, userName, isOwnFolder);
}

} // namespace qm::qt
