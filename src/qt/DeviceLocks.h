// What says a serial device is in use: an exclusive flock on the device held by a running program, and the
// lock files of the shared lock folders (LCK..ttyUSB0), of which only those of the device's own user count.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace qm::qt
{

/// The shared lock folders other serial programs write their lock files into.
std::vector<std::string> sharedLockFolders();

/// Returns the name of a device's lock file: "LCK.." and the path without "/dev/", each "/" turned into "_"
/// ("/dev/ttyUSB0" gives "LCK..ttyUSB0", "/dev/pts/3" gives "LCK..pts_3").
std::string lockFileName(std::string devicePath);

/// A lock file that says the device is in use, and the process it names.
struct LockFileHolder
{
    std::string file;
    long process = 0;
};

/// Returns the lock file in the folders, named after the device's path or the path it resolves to, that names
/// a running process and belongs to the user who owns the device. A lock file of anyone else is ignored: the
/// folders are open to every user, so such a file could deny the device to its owner, who cannot remove it.
std::optional<LockFileHolder> lockFileDenying(const std::string& devicePath, const std::vector<std::string>& folders);

/// Returns whether some process holds a flock on the file with this file-system device and inode, as the system
/// lists its locks (/proc/locks); nothing when the list cannot be read.
std::optional<bool> flockHeldOn(dev_t fileSystem, ino_t inode);

} // namespace qm::qt
