// The lock that keeps a second copy of the desktop program from starting, kept in a folder only this user can
// write, so that no other user can stop the program by leaving files in a shared folder.
#pragma once

#include <QLockFile>

#include <memory>
#include <string>

namespace qm::app
{

/// Returns the path of the single-copy lock: quellmark.lock in $XDG_RUNTIME_DIR when that is an absolute path to
/// a folder of this user that no one else may write; else quellmark-HOST.lock in $XDG_CACHE_HOME/quellmark (an
/// absolute XDG_CACHE_HOME only) or $HOME/.cache/quellmark, a folder made and kept private (0700); empty when
/// there is no such folder.
std::string singleCopyLockPath(const char* xdgRuntimeDir, const char* xdgCacheHome, const char* home,
                               const std::string& hostName);

struct SingleCopyLock
{
    enum class State
    {
        Taken,
        HeldByAnotherCopy,
        /// No lock could be made (no private folder, or the lock file cannot be written): the program runs
        /// without one.
        NotTaken,
    };

    State state = State::NotTaken;
    /// Held while the program runs; released when it ends.
    std::unique_ptr<QLockFile> lock;
};

/// Takes the lock at the path; a lock left by a copy that was killed is taken over at once.
SingleCopyLock takeSingleCopyLock(const std::string& path);

} // namespace qm::app
