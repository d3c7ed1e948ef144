// vq3 sim: the simulated unit on a pseudo-terminal, answering until SIGINT or SIGTERM.
#pragma once

#include "cli/Commands.h"
#include "sim/Unit.h"
#include "storage/FileSystem.h"

#include <string>

namespace qm::cli
{

struct SimOptions
{
    /// A symbolic link made to point at the terminal while the unit runs ("" for none).
    std::string link;
    int model = 1;
    int firmware = 2;
    /// The configuration the unit starts with: 128 bytes, or 129 beginning with "D" ("" for 128 zero bytes).
    std::string image;
    /// Where the configuration goes after every completed download ("" for nowhere).
    std::string save;
    /// Paces both directions at 4800 baud, 8N1.
    bool lineRate = false;
    /// The ways the unit misbehaves when asked to.
    sim::Faults faults;
    /// Holds every answer back this many milliseconds after the byte it answers (0: none).
    int echoDelayMs = 0;
    /// Where every byte the unit receives is written with the time it arrived ("" for nowhere).
    std::string log;
    /// Sends bytes without pause in place of its answers (a faulty device flooding the port).
    bool flood = false;
};

/// Adds the command line of vq3 sim to app; its values land in options, which must outlive app.
CLI::App* addSimCommand(CLI::App& app, SimOptions& options);

/// Returns one line of the unit's log: milliseconds since the start, the byte in hex and, when it is printable,
/// its character ("269.375 45 'E'").
std::string unitLogLine(double milliseconds, char byte);

/// vq3 sim: prints the terminal's path as the first line, then answers as a unit until SIGINT or SIGTERM.
int runSim(const SimOptions& options, storage::FileSystem& files, Streams streams);

} // namespace qm::cli
