// The vq3 command backups: the list of the backups of what units held, one of them shown as vq3 show shows a
// configuration, and one of them restored as a configuration file.
#pragma once

#include "cli/Commands.h"
#include "storage/FileSystem.h"

#include <string>

namespace qm::cli
{

struct BackupsOptions
{
    enum class Action
    {
        List,
        Show,
        Restore,
    };
    Action action = Action::List;
    /// The backup: its number in the list (1 is the newest) or its name.
    std::string backup;
    std::string output;
    bool json = false;
};

/// Adds the command line of vq3 backups, with its subcommands show and restore, to app; its values land in options,
/// which must outlive app. The subcommand given sets the action.
CLI::App* addBackupsCommand(CLI::App& app, BackupsOptions& options);

/// vq3 backups: lists the backups in the folder newest first, numbered from 1; show prints one as vq3 show does;
/// restore writes its configuration file. A backup that is not there is an input error (exit 2).
int runBackups(const BackupsOptions& options, storage::FileSystem& files, const std::string& folder, Streams streams);

} // namespace qm::cli
