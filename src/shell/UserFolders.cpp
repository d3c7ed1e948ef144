// The folders the program keeps the user's files under, less those of other users.
#include "shell/UserFolders.h"

#include <array>
#include <utility>

namespace qm::shell
{

ChosenFolders chooseUserFolders(const BaseFolders& given, const std::string& program, const std::string& userName,
                                const OwnFolderTest& isOwnFolder)
{
    ChosenFolders chosen{given, {}};
    BaseFolders& kept = chosen.folders;
    std::string refused;
    int refusedCount = 0;
    const auto leaveOut = [&](std::string& folder, const char* variable) {
        if (folder.empty() || folder[0] != '/') {
            // Not a folder: the program has always ignored a relative XDG value (and an empty one).
            folder.clear();
            return;
        }
        if (isOwnFolder(folder))
            return;
        refused += (refused.empty() ? "" : ", ") + folder + " (" + variable + ")";
        ++refusedCount;
        folder.clear();
    };
    const std::array<std::pair<std::string*, const char*>, 4> variables{{{&kept.home, "HOME"},
                                                                         {&kept.xdgConfigHome, "XDG_CONFIG_HOME"},
                                                                         {&kept.xdgDataHome, "XDG_DATA_HOME"},
                                                                         {&kept.xdgCacheHome, "XDG_CACHE_HOME"}}};
    for (const auto& [folder, variable] : variables)
        leaveOut(*folder, variable);
    // The account's home folder stands in only for a HOME that is not set, never for one left out.
    if (!given.home.empty() || kept.accountHome.empty() || kept.accountHome[0] != '/' || !isOwnFolder(kept.accountHome))
        kept.accountHome.clear();
    if (refusedCount > 0)
        chosen.notice = program + ": " + refused + (refusedCount == 1 ? " is not " : " are not ") + userName +
                        "'s own " + (refusedCount == 1 ? "folder" : "folders") +
                        ": nothing is written there, so the settings and backups that would be kept there are not "
                        "kept.";
    return chosen;
}

} // namespace qm::shell
