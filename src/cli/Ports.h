// vq3 ports: the serial devices of this machine and the devices COM1 to COM4 name.
#pragma once

#include "cli/Commands.h"
#include "qt/ComPorts.h"

namespace qm::cli
{

struct PortsOptions
{
    bool json = false;
};

/// Adds the command line of vq3 ports to app; its values land in options, which must outlive app. Lives in vq3
/// itself (LinkCommandLine.cpp), as the other link commands' command lines do.
CLI::App* addPortsCommand(CLI::App& app, PortsOptions& options);

/// Prints every serial device found (path, description, manufacturer, USB ids) and the COM1..COM4 mapping.
int runPorts(const PortsOptions& options, const qt::ComPorts& ports, Streams streams);

} // namespace qm::cli
