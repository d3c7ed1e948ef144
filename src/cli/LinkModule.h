// The link module: the vq3 commands that open a serial port (identify, read, write, ports and the unit side of
// diff) run on QSerialPort and Qt's event loop. They live in a module that vq3 loads only for them, so the
// commands that work on files alone start without any Qt library.
#pragma once

#include "cli/Commands.h"
#include "cli/LinkCommands.h"
#include "cli/Ports.h"
#include "cli/Show.h"

#include <functional>
#include <ostream>
#include <string>
#include <variant>

namespace qm::cli
{

/// The commands of the link module, as vq3 calls them.
struct LinkModuleCommands
{
    int (*identify)(const IdentifyOptions& options, storage::FileSystem& files, const LinkContext& context,
                    Streams streams);
    int (*read)(const ReadOptions& options, storage::FileSystem& files, const LinkContext& context, Streams streams);
    int (*write)(const WriteOptions& options, storage::FileSystem& files, const LinkContext& context, Streams streams);
    /// vq3 ports on the serial devices of this machine.
    int (*ports)(const PortsOptions& options, Streams streams);
    /// Reads the unit on a port as vq3 read does, for diff.
    std::variant<std::string, LoadFailure> (*readUnit)(const std::string& port, storage::FileSystem& files,
                                                       const LinkContext& context, std::ostream& err);
};

/// The module's file name, and its entry point, which returns its commands.
inline constexpr const char* kLinkModuleFile = "libquellmark-link.so";
inline constexpr const char* kLinkModuleEntry = "qmLinkCommands";
using LinkModuleEntry = const LinkModuleCommands* (*)();

/// Loads the link module from vq3's folder (or the installed library folder) and returns its commands; nothing,
/// with the reason set, when it cannot be loaded.
const LinkModuleCommands* loadLinkModule(std::string& reason);

/// Returns the box of a command that cannot run because the link module cannot be loaded.
forms::MessageBox linkModuleMissingBox(const std::string& command, const std::string& reason);

/// Runs a command of the link module. When the module cannot be loaded, says so (with json as {"error": box} on
/// standard output, else on standard error) and returns kInputError.
int runInLinkModule(const std::string& command, bool json, Streams streams,
                    const std::function<int(const LinkModuleCommands& module)>& run);

/// Returns the reader diff uses for a unit:PORT side: the link module, loaded when a side names a unit.
UnitReader linkModuleUnitReader(storage::FileSystem& files, const LinkContext& context, std::ostream& err);

} // namespace qm::cli
