// vq3 report: the NMEA or Tracking profile table of a configuration file as a PDF file.
#pragma once

#include "cli/Commands.h"
#include "shell/Clock.h"

#include <string>

namespace qm::cli
{

struct ReportOptions
{
    std::string config;
    std::string output;
    /// YYYY-MM-DD; today when empty.
    std::string date;
    /// The font's name; the system's standard font when empty.
    std::string font;
    /// Whole points; the standard font's size when 0.
    int size = 0;
};

/// Adds the command line of vq3 report to app; its values land in options, which must outlive app. Lives in vq3
/// itself (ReportModule.cpp), which parses it before it loads the report module.
CLI::App* addReportCommand(CLI::App& app, ReportOptions& options);

/// vq3 report: opens a configuration file and writes its mode's profile table into a PDF file, laid out as the
/// desktop program prints it. NMEA and Tracking configurations only. Lives in the report module, which vq3 loads
/// only for this command: drawing a PDF needs Qt's whole graphics stack, which the other commands do without.
int runReport(const ReportOptions& options, storage::FileSystem& files, shell::Clock& clock, Streams streams);

/// The report module's entry point, as vq3 looks it up.
inline constexpr const char* kReportEntry = "qmRunReport";
using ReportEntry = int (*)(const ReportOptions* options, storage::FileSystem* files, shell::Clock* clock,
                            Streams* streams);

/// Loads the report module from the program's folder (or the installed library folder) and runs vq3 report.
int runReportModule(const ReportOptions& options, storage::FileSystem& files, shell::Clock& clock, Streams streams);

} // namespace qm::cli
