// The vq3 commands show and diff: a configuration as a person reads it, and what differs between two.
#pragma once

#include "cli/Commands.h"
#include "forms/MessageBox.h"
#include "shell/ConfigurationSummary.h"
#include "storage/FileSystem.h"

#include <string>
#include <variant>

namespace qm::cli
{

struct ShowOptions
{
    std::string config;
    bool json = false;
};

struct DiffOptions
{
    std::string a;
    std::string b;
    bool json = false;
};

/// Loads one configuration into a fresh program model, as compile opens it, and summarizes it; returns the
/// box that tells why when it does not load.
std::variant<shell::ConfigurationSummary, forms::MessageBox> loadSummary(const std::string& source,
                                                                         storage::FileSystem& files);

/// vq3 show: prints the summary of a configuration file.
int runShow(const ShowOptions& options, storage::FileSystem& files, Streams streams);

/// vq3 diff: prints what differs between two configurations; 0 when they are the same, 1 when they differ.
int runDiff(const DiffOptions& options, storage::FileSystem& files, Streams streams);

} // namespace qm::cli
