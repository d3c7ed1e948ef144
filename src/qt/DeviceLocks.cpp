// What says a serial device is in use: flocks held on it and the lock files of its own user.
#include "qt/DeviceLocks.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace qm::qt
{

namespace
{

using StatInfo = struct stat;

bool processRunning(long process)
{
    // A process of another user cannot be signalled but runs all the same.
    return process > 0 && process <= INT_MAX && (::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM);
}

/// Returns the process a lock file names: its first word, in decimal (the form every serial program writes);
/// 0 when it names none.
long processNamedIn(const std::string& file)
{
    // Opened without following a link and without waiting: a lock folder is open to everyone.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char text[64] = {};
    const auto length = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (length <= 0)
        return 0;
    char* end = nullptr;
    const long process = std::strtol(text, &end, 10);
    return end != text ? process : 0;
}

std::string resolved(const std::string& path)
{
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return path;
    std::string result(real);
    std::free(real);
    return result;
}

} // namespace

std::vector<std::string> sharedLockFolders()
{
    return {"/var/lock", "/run/lock"};
}

std::string lockFileName(std::string devicePath)
{
    if (devicePath.starts_with("/dev/"))
        devicePath.erase(0, 5);
    for (char& c : devicePath) {
        if (c == '/')
            c = '_';
    }
    return "LCK.." + devicePath;
}

std::optional<LockFileHolder> lockFileDenying(const std::string& devicePath, const std::vector<std::string>& folders)
{
    StatInfo device{};
    if (::stat(devicePath.c_str(), &device) != 0)
        return std::nullopt;
    std::vector<std::string> names{lockFileName(devicePath)};
    if (const std::string real = lockFileName(resolved(devicePath)); real != names.front())
        names.push_back(real);
    for (const std::string& folder : folders) {
        for (const std::string& name : names) {
            const std::string file = folder + "/" + name;
            StatInfo lock{};
            if (::lstat(file.c_str(), &lock) != 0 || !S_ISREG(lock.st_mode) || lock.st_uid != device.st_uid)
                continue;
            if (const long process = processNamedIn(file); processRunning(process))
                return LockFileHolder{file, process};
        }
    }
    return std::nullopt;
}

std::optional<bool> flockHeldOn(dev_t fileSystem, ino_t inode)
{
    std::ifstream locks("/proc/locks");
    if (!locks)
        return std::nullopt;
    // "1: FLOCK  ADVISORY  WRITE 1234 00:17:5 0 EOF": the file as major:minor (hex) of its file system and its
    // inode; a waiting request carries "->" before its kind.
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream words(line);
        std::string number, kind, mode, access, process, file;
        words >> number >> kind;
        if (kind == "->")
            continue;
        words >> mode >> access >> process >> file;
        if (kind != "FLOCK")
            continue;
        // Major and minor come with two digits at least: compared as numbers.
        unsigned long majorNumber = 0, minorNumber = 0, inodeNumber = 0;
        char colon1 = 0, colon2 = 0;
        std::istringstream parts(file);
        parts >> std::hex >> majorNumber >> colon1 >> minorNumber >> colon2 >> std::dec >> inodeNumber;
        if (parts && majorNumber == major(fileSystem) && minorNumber == minor(fileSystem) && inodeNumber == inode)
            return true;
    }
    return false;
}

} // namespace qm::qt
