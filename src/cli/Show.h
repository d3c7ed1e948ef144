// The vq3 commands show and diff: a configuration as a person reads it, and what differs between two.
#pragma once

#include "cli/Commands.h"
#include "forms/MessageBox.h"
#include "reports/ConfigurationSummary.h"
#include "shell/Session.h"
#include "storage/FileSystem.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qm::cli
{

struct ShowOptions
{
    std::string config;
    bool json = false;
    /// Fields changed after the file is opened: "NAME=VALUE", "NAME@N=VALUE" for profile N.
    std::vector<std::string> settings = {};
};

struct DiffOptions
{
    std::string a;
    std::string b;
    bool json = false;
};

/// Adds the command line of vq3 show to app; its values land in options, which must outlive app.
CLI::App* addShowCommand(CLI::App& app, ShowOptions& options);

/// Adds the command line of vq3 diff to app; its values land in options, which must outlive app.
CLI::App* addDiffCommand(CLI::App& app, DiffOptions& options);

/// Why a configuration could not be had: the box that tells why, the exit status, and the system's reason
/// when there is one.
struct LoadFailure
{
    forms::MessageBox box;
    int status = 0;
    std::string reason;
};

/// The prefix of a source that names the unit on a port rather than a file ("unit:/dev/ttyUSB0").
inline constexpr std::string_view kUnitPrefix = "unit:";

/// Reads the unit on a port as vq3 read does: returns the configuration file it holds (CR LF lines), or why not.
using UnitReader = std::function<std::variant<std::string, LoadFailure>(const std::string& port)>;

/// Loads one configuration into a fresh program model, as compile opens it, and summarizes it; returns why
/// when it does not load. With a reader, a source "unit:PORT" is what the unit on PORT holds.
std::variant<reports::ConfigurationSummary, LoadFailure>
loadSummary(const std::string& source, storage::FileSystem& files, const UnitReader& readUnit = {});

/// Opens a configuration file into a started program model, as every command that takes a file opens it (the shown
/// profiles stored), and changes the fields the settings name; returns why when it does not load (a file whose first
/// line is not a mode from 0 to 4 included) or a setting is refused.
std::optional<LoadFailure> openConfiguration(shell::Session& program, const std::string& source,
                                             const std::vector<std::string>& settings = {});

/// Prints the windows' configuration of a mode as vq3 show does (the shown profiles stored): its summary, the
/// packet header of each profile and the APRS advice, or all of it as one JSON object.
int printConfiguration(const forms::Windows& windows, forms::Mode mode, bool json, std::ostream& out);

/// vq3 show: prints the summary of a configuration file.
int runShow(const ShowOptions& options, storage::FileSystem& files, Streams streams);

/// vq3 diff: prints what differs between two configurations; 0 when they are the same, 1 when they differ.
/// With a reader either side may be "unit:PORT".
int runDiff(const DiffOptions& options, storage::FileSystem& files, Streams streams, const UnitReader& readUnit = {});

} // namespace qm::cli
