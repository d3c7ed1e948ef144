// The lock that keeps a second copy of the desktop program from starting.
#include "app/SingleCopyLock.h"

#include "qt/PosixFileSystem.h"

namespace qm::app
{

namespace
{

constexpr int kWaitMs = 100;

bool absolute(const char* path)
{
    return path != nullptr && path[0] == '/';
}

} // namespace

std::string singleCopyLockPath(const char* xdgRuntimeDir, const char* xdgCacheHome, const char* home,
                               const std::string& hostName)
{
    if (absolute(xdgRuntimeDir) && qt::isPrivateFolder(xdgRuntimeDir))
        return std::string(xdgRuntimeDir) + "/quellmark.lock";
    std::string folder;
    if (absolute(xdgCacheHome))
        folder = std::string(xdgCacheHome) + "/quellmark";
    else if (home != nullptr && home[0] != '\0')
        folder = std::string(home) + "/.cache/quellmark";
    else
        return {};
    qt::PosixFileSystem files;
    if (files.makePrivateFolder(folder))
        return {};
    // A cache folder may be shared by several machines (a home folder on the network): one lock for each.
    return folder + "/quellmark-" + (hostName.empty() ? std::string("localhost") : hostName) + ".lock";
}

SingleCopyLock takeSingleCopyLock(const std::string& path)
{
    SingleCopyLock taken;
    if (path.empty())
        return taken;
    taken.lock = std::make_unique<QLockFile>(QString::fromLocal8Bit(path.c_str()));
    taken.lock->setStaleLockTime(0);
    if (taken.lock->tryLock(kWaitMs)) {
        taken.state = SingleCopyLock::State::Taken;
        return taken;
    }
    taken.state = taken.lock->error() == QLockFile::LockFailedError ? SingleCopyLock::State::HeldByAnotherCopy
                                                                    : SingleCopyLock::State::NotTaken;
    taken.lock.reset();
    return taken;
}

} // namespace qm::app
