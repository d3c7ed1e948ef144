// The command lines of the commands that run in the link module. vq3 parses them before it loads the module, so
// they live here, in a file of vq3's own that needs no Qt.
#include "cli/LinkCommands.h"
#include "cli/Ports.h"

#include <CLI/CLI.hpp>

namespace qm::cli
{

CLI::App* addIdentifyCommand(CLI::App& app, IdentifyOptions& options)
{
    CLI::App* command = app.add_subcommand("identify", "Print the model and firmware of the unit on a port");
    command->add_option("--port", options.port, "Device path, or COM1 to COM4")->required();
    command->add_flag("--json", options.json, "Print one JSON object");
    return command;
}

CLI::App* addReadCommand(CLI::App& app, ReadOptions& options)
{
    CLI::App* command =
        app.add_subcommand("read", "Read the unit's configuration and print it as a configuration file");
    command->add_option("--port", options.port, "Device path, or COM1 to COM4")->required();
    command->add_option("-o,--output", options.output, "Write the configuration file here instead of stdout");
    command->add_flag("--json", options.json, "Print one JSON object");
    return command;
}

CLI::App* addWriteCommand(CLI::App& app, WriteOptions& options)
{
    CLI::App* command = app.add_subcommand("write", "Write a configuration file into the unit");
    command->add_option("CONFIG", options.config, "Configuration file (*.vq3)")->required();
    command->add_option("--port", options.port, "Device path, or COM1 to COM4")->required();
    command->add_flag("--json", options.json, "Print one JSON object");
    command->add_flag("--no-verify", options.noVerify,
                      "Do not read the unit back after the write to see that it stored what it echoed");
    addSetOption(*command, options.settings);
    return command;
}

CLI::App* addPortsCommand(CLI::App& app, PortsOptions& options)
{
    CLI::App* command = app.add_subcommand("ports", "List the serial devices and the devices COM1 to COM4 open");
    command->add_flag("--json", options.json, "Print one JSON object");
    return command;
}

} // namespace qm::cli
