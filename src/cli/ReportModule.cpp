// Loads the report module for vq3 report.
#include "cli/Modules.h"
#include "cli/Output.h"
#include "cli/Report.h"

#include <CLI/CLI.hpp>

#include <string>

namespace qm::cli
{

int runReportModule(const ReportOptions& options, storage::FileSystem& files, shell::Clock& clock, Streams streams)
{
    std::string reason;
    // The address comes from the module's symbol table; its type is the one the module defines.
    if (const auto entry =
            reinterpret_cast<ReportEntry>(findModuleEntry("libquellmark-report.so", kReportEntry, reason)))
        return entry(&options, &files, &clock, &streams);
    printBox(streams.err,
             forms::messageBox("Error", "vq3 report cannot load its PDF module: " + reason, forms::Icon::Warning));
    return kInputError;
}

CLI::App* addReportCommand(CLI::App& app, ReportOptions& options)
{
    CLI::App* command =
        app.add_subcommand("report", "Write the profile table of an NMEA or Tracking configuration as a PDF file");
    command->add_option("CONFIG", options.config, "Configuration file (*.vq3)")->required();
    command->add_option("-o,--output", options.output, "The PDF file to write")->required();
    command->add_option("--date", options.date, "The date in the title, YYYY-MM-DD (default: today)");
    command->add_option("--font", options.font, "The font's name (default: the system's standard font)");
    command->add_option("--size", options.size, "The font's size in whole points")->check(CLI::Range(1, 200));
    return command;
}

} // namespace qm::cli
