// The folders the program keeps the user's files under (settings, backups, the single-copy lock), as the
// environment names them, less every folder that is not the running user's own: a program run as root with another
// user's HOME (sudo -E) must leave nothing there that its owner could not change.
#pragma once

#include <functional>
#include <string>

namespace qm::shell
{

/// Where the environment says the user's files go ("" for a variable that is not set).
struct BaseFolders
{
    std::string xdgConfigHome;
    std::string xdgDataHome;
    std::string xdgCacheHome;
    std::string home;
    /// The home folder of the running user's account, which stands in for HOME when HOME is not set.
    std::string accountHome;

    bool operator==(const BaseFolders&) const = default;
};

/// The folders to use, and what to say once at start-up about those left out.
struct ChosenFolders
{
    /// The given folders, each left empty when it is not to be used.
    BaseFolders folders;
    /// "" when every folder given is used; else one line naming the folders left out and what is not kept.
    std::string notice;

    bool operator==(const ChosenFolders&) const = default;
};

/// Returns true when the running user may keep files at the path: the nearest folder that exists at or above it
/// is the user's own.
using OwnFolderTest = std::function<bool(const std::string& path)>;

/// Leaves out each folder that is not the user's own (userName is the running user's, for the notice; program is
/// "quellmark" or "vq3"). A relative XDG value is not a folder and is left out without a word, as before; a HOME
/// left out is not replaced by the account's home folder either, so nothing is kept at all rather than somewhere
/// the user did not choose.
ChosenFolders chooseUserFolders(const BaseFolders& given, const std::string& program, const std::string& userName,
                                const OwnFolderTest& isOwnFolder);

} // namespace qm::shell
