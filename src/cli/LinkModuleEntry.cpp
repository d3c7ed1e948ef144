// The link module's entry point: its commands, as vq3 looks them up.
#include "cli/LinkModule.h"

#include "qt/ComPorts.h"

namespace qm::cli
{

namespace
{

int runPortsOfThisMachine(const PortsOptions& options, Streams streams)
{
    return runPorts(options, qt::ComPorts::scan(), streams);
}

std::variant<std::string, LoadFailure> readUnitOnPort(const std::string& port, storage::FileSystem& files,
                                                      const LinkContext& context, std::ostream& err)
{
    return unitReader(files, context, err)(port);
}

constexpr LinkModuleCommands kCommands{runIdentify, runRead, runWrite, runPortsOfThisMachine, readUnitOnPort};

} // namespace

} // namespace qm::cli

extern "C" __attribute__((visibility("default"))) const qm::cli::LinkModuleCommands* qmLinkCommands()
{
    return &qm::cli::kCommands;
}
