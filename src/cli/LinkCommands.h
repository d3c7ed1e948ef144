// The vq3 commands that talk to a unit: identify, read and write, and the read of a unit that diff compares.
#pragma once

#include "cli/Commands.h"
#include "cli/Show.h"
#include "storage/FileSystem.h"

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

namespace qm::cli
{

/// What every link command shares: where the trace goes and what it counts time from, and how vq3 reports.
struct LinkContext
{
    /// The trace of --trace (none when not asked for).
    std::ostream* trace = nullptr;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    /// Draw progress on standard error (it is a terminal).
    bool showProgress = false;
    /// Where backups go ("" when there is no such folder).
    std::string backupFolder;
};

struct IdentifyOptions
{
    std::string port;
    bool json = false;
};

struct ReadOptions
{
    std::string port;
    std::string output;
    bool json = false;
};

struct WriteOptions
{
    std::string config;
    std::string port;
    bool json = false;
    /// Skip reading the unit back after the write.
    bool noVerify = false;
    /// Fields changed after the file is opened: "NAME=VALUE", "NAME@N=VALUE" for profile N.
    std::vector<std::string> settings = {};
};

// The command lines of the link commands live in vq3 itself (LinkCommandLine.cpp), not in the link module: vq3
// parses its arguments before it loads the module. Their values land in options, which must outlive app.

/// Adds the command line of vq3 identify to app.
CLI::App* addIdentifyCommand(CLI::App& app, IdentifyOptions& options);

/// Adds the command line of vq3 read to app.
CLI::App* addReadCommand(CLI::App& app, ReadOptions& options);

/// Adds the command line of vq3 write to app.
CLI::App* addWriteCommand(CLI::App& app, WriteOptions& options);

/// vq3 identify: waits for the unit's answer to the probe and its identification; prints model and firmware.
int runIdentify(const IdentifyOptions& options, storage::FileSystem& files, const LinkContext& context,
                Streams streams);

/// vq3 read: the user's Read; prints the configuration file of the unit's mode.
int runRead(const ReadOptions& options, storage::FileSystem& files, const LinkContext& context, Streams streams);

/// vq3 write: opens a configuration file and does what the Write command does with it, then reads the unit back
/// and compares (unless noVerify).
int runWrite(const WriteOptions& options, storage::FileSystem& files, const LinkContext& context, Streams streams);

/// Returns the reader diff uses for a unit:PORT side: a read as vq3 read does it.
UnitReader unitReader(storage::FileSystem& files, const LinkContext& context, std::ostream& err);

} // namespace qm::cli
