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

/// Prints every serial device found (path, description, manufacturer, USB ids) and the COM1..COM4 mapping.
int runPorts(const PortsOptions& options, const qt::ComPorts& ports, Streams streams);

} // namespace qm::cli
