// vq3: the Quellmark Configuration Program on the command line.
#include "cli/BackupCommands.h"
#include "cli/Commands.h"
#include "cli/DescriptorBuffer.h"
#include "cli/LinkModule.h"
#include "cli/Output.h"
#include "cli/Report.h"
#include "cli/Show.h"
#include "cli/SimRunner.h"
#include "qt/PosixFileSystem.h"
#include "qt/SystemClock.h"
#include "shell/Backups.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

namespace
{

/// The options of every command and the subcommand that stands for it once parsed.
struct Commands
{
    qm::cli::CompileOptions compile;
    qm::cli::DecodeOptions decode;
    qm::cli::ShowOptions show;
    qm::cli::DiffOptions diff;
    qm::cli::SimOptions sim;
    qm::cli::IdentifyOptions identify;
    qm::cli::ReadOptions read;
    qm::cli::WriteOptions write;
    qm::cli::PortsOptions ports;
    qm::cli::BackupsOptions backups;
    qm::cli::ReportOptions report;
    CLI::App* compileCommand = nullptr;
    CLI::App* decodeCommand = nullptr;
    CLI::App* showCommand = nullptr;
    CLI::App* diffCommand = nullptr;
    CLI::App* simCommand = nullptr;
    CLI::App* identifyCommand = nullptr;
    CLI::App* readCommand = nullptr;
    CLI::App* writeCommand = nullptr;
    CLI::App* portsCommand = nullptr;
    CLI::App* backupsCommand = nullptr;
    CLI::App* backupShowCommand = nullptr;
    CLI::App* backupRestoreCommand = nullptr;
    CLI::App* reportCommand = nullptr;
};

const char* const kSetHelp =
    "Change a field after opening the file: NAME=VALUE, or NAME@N=VALUE for profile N (repeatable)";

/// The commands on configuration files and images: compile, decode, show, diff.
void addFileCommands(CLI::App& app, Commands& c)
{
    c.compileCommand = app.add_subcommand("compile", "Print the 129-byte download stream of a configuration file");
    c.compileCommand->add_option("CONFIG", c.compile.config, "Configuration file (*.vq3)")->required();
    c.compileCommand->add_option("-o,--output", c.compile.output, "Write the stream to this file instead of stdout");
    c.compileCommand->add_flag("--hex", c.compile.hex, "Print the stream as hex text");
    c.compileCommand->add_flag("--json", c.compile.json, "Print one JSON object");
    c.compileCommand->add_option("--set", c.compile.settings, kSetHelp)->allow_extra_args(false);

    c.decodeCommand =
        app.add_subcommand("decode", "Decode a 128-byte image as a read does and print its configuration file");
    c.decodeCommand->add_option("IMAGE", c.decode.image, "Image file (128 bytes, or 129 beginning with D); - for stdin")
        ->required();
    c.decodeCommand->add_option("-o,--output", c.decode.output, "Write the configuration file here instead of stdout");
    c.decodeCommand->add_flag("--hex", c.decode.hex, "The image is hex text");
    c.decodeCommand->add_flag("--json", c.decode.json, "Print one JSON object");

    c.showCommand = app.add_subcommand("show", "Print a configuration file as a person reads it");
    c.showCommand->add_option("CONFIG", c.show.config, "Configuration file (*.vq3)")->required();
    c.showCommand->add_flag("--json", c.show.json, "Print one JSON object, every field by its control name");
    c.showCommand->add_option("--set", c.show.settings, kSetHelp)->allow_extra_args(false);

    c.diffCommand = app.add_subcommand("diff", "Print what differs between two configurations (exit 1 if any)");
    c.diffCommand->add_option("A", c.diff.a, "First configuration file (*.vq3), or unit:PORT for the unit on PORT")
        ->required();
    c.diffCommand->add_option("B", c.diff.b, "Second configuration file (*.vq3), or unit:PORT for the unit on PORT")
        ->required();
    c.diffCommand->add_flag("--json", c.diff.json, "Print one JSON object");
}

/// The simulated unit.
void addSimCommand(CLI::App& app, Commands& c)
{
    c.simCommand = app.add_subcommand("sim", "Run a simulated unit on a pseudo-terminal until SIGINT or SIGTERM");
    c.simCommand->add_option("--link", c.sim.link, "Make this path a symbolic link to the terminal");
    c.simCommand->add_option("--model", c.sim.model, "Model byte: 0 VQ-3, 1 VQ-3+, other Custom")
        ->check(CLI::Range(0, 255));
    c.simCommand->add_option("--firmware", c.sim.firmware, "Firmware version byte")->check(CLI::Range(0, 255));
    c.simCommand->add_option("--image", c.sim.image,
                             "Configuration to start with (128 bytes, or 129 beginning with D)");
    c.simCommand->add_option("--save", c.sim.save, "Write the configuration here after every completed download");
    c.simCommand->add_flag("--line-rate", c.sim.lineRate, "Pace both directions like the 4800-baud line");
    c.simCommand->add_flag("--silent", c.sim.silent, "Answer nothing at all");
    c.simCommand->add_option("--stop-echo-after", c.sim.stopEchoAfter, "Stop echoing a download after N echoes")
        ->check(CLI::NonNegativeNumber);
    c.simCommand->add_option("--bad-echo-at", c.sim.badEchoAt, "Echo byte N of a download wrongly (D is 1)")
        ->check(CLI::PositiveNumber);
    c.simCommand->add_option("--short-reply", c.sim.shortReply, "Send only N bytes of the 131-byte reply")
        ->check(CLI::NonNegativeNumber);
    c.simCommand->add_option("--reply-extra", c.sim.replyExtra, "Send N more bytes after the reply")
        ->check(CLI::NonNegativeNumber);
    c.simCommand->add_flag("--garbage", c.sim.garbage, "Answer every byte with noise, as a device that is not a unit");
    c.simCommand->add_flag("--garbage-reply", c.sim.garbageReply, "Answer U with 131 bytes of noise");
    c.simCommand->add_option("--echo-delay", c.sim.echoDelayMs, "Answer every byte MS milliseconds late")
        ->check(CLI::Range(0, 60000));
    c.simCommand
        ->add_option("--store-wrong-at", c.sim.storeWrongAt,
                     "Store byte N of a download wrongly while echoing it rightly (D is 1)")
        ->check(CLI::PositiveNumber);
    c.simCommand->add_option("--log", c.sim.log, "Write every byte the unit receives, with its time, to this file");
}

/// The commands that talk to a unit over a serial port.
void addLinkCommands(CLI::App& app, Commands& c)
{
    c.identifyCommand = app.add_subcommand("identify", "Print the model and firmware of the unit on a port");
    c.identifyCommand->add_option("--port", c.identify.port, "Device path, or COM1 to COM4")->required();
    c.identifyCommand->add_flag("--json", c.identify.json, "Print one JSON object");

    c.readCommand = app.add_subcommand("read", "Read the unit's configuration and print it as a configuration file");
    c.readCommand->add_option("--port", c.read.port, "Device path, or COM1 to COM4")->required();
    c.readCommand->add_option("-o,--output", c.read.output, "Write the configuration file here instead of stdout");
    c.readCommand->add_flag("--json", c.read.json, "Print one JSON object");

    c.writeCommand = app.add_subcommand("write", "Write a configuration file into the unit");
    c.writeCommand->add_option("CONFIG", c.write.config, "Configuration file (*.vq3)")->required();
    c.writeCommand->add_option("--port", c.write.port, "Device path, or COM1 to COM4")->required();
    c.writeCommand->add_flag("--json", c.write.json, "Print one JSON object");
    c.writeCommand->add_flag("--no-verify", c.write.noVerify,
                             "Do not read the unit back after the write to see that it stored what it echoed");
    c.writeCommand->add_option("--set", c.write.settings, kSetHelp)->allow_extra_args(false);

    c.portsCommand = app.add_subcommand("ports", "List the serial devices and the devices COM1 to COM4 open");
    c.portsCommand->add_flag("--json", c.ports.json, "Print one JSON object");
}

/// The backups of what units held and the profile report.
void addBackupAndReportCommands(CLI::App& app, Commands& c)
{
    c.backupsCommand = app.add_subcommand(
        "backups", "List the backups of what units held, newest first (1 is the newest); show or restore one");
    c.backupsCommand->add_flag("--json", c.backups.json, "Print one JSON object");
    c.backupShowCommand = c.backupsCommand->add_subcommand("show", "Print a backup as vq3 show prints a file");
    c.backupShowCommand->add_option("N", c.backups.backup, "The backup's number in the list, or its name")->required();
    c.backupShowCommand->add_flag("--json", c.backups.json, "Print one JSON object");
    c.backupRestoreCommand =
        c.backupsCommand->add_subcommand("restore", "Write a backup as a configuration file, ready for vq3 write");
    c.backupRestoreCommand->add_option("N", c.backups.backup, "The backup's number in the list, or its name")
        ->required();
    c.backupRestoreCommand->add_option("-o,--output", c.backups.output,
                                       "The configuration file to write (default stdout)");
    c.backupRestoreCommand->add_flag("--json", c.backups.json, "Print one JSON object");

    c.reportCommand =
        app.add_subcommand("report", "Write the profile table of an NMEA or Tracking configuration as a PDF file");
    c.reportCommand->add_option("CONFIG", c.report.config, "Configuration file (*.vq3)")->required();
    c.reportCommand->add_option("-o,--output", c.report.output, "The PDF file to write")->required();
    c.reportCommand->add_option("--date", c.report.date, "The date in the title, YYYY-MM-DD (default: today)");
    c.reportCommand->add_option("--font", c.report.font, "The font's name (default: the system's standard font)");
    c.reportCommand->add_option("--size", c.report.size, "The font's size in whole points")->check(CLI::Range(1, 200));
}

/// Runs the command given; the commands that open a serial port run in the link module, the only part of vq3
/// with Qt besides the report.
int runCommand(Commands& c, qm::qt::PosixFileSystem& files, const qm::cli::LinkContext& link, qm::cli::Streams& streams)
{
    using LinkModule = qm::cli::LinkModuleCommands;
    if (*c.identifyCommand)
        return qm::cli::runInLinkModule("identify", c.identify.json, streams, [&](const LinkModule& module) {
            return module.identify(c.identify, files, link, streams);
        });
    if (*c.readCommand)
        return qm::cli::runInLinkModule("read", c.read.json, streams, [&](const LinkModule& module) {
            return module.read(c.read, files, link, streams);
        });
    if (*c.writeCommand)
        return qm::cli::runInLinkModule("write", c.write.json, streams, [&](const LinkModule& module) {
            return module.write(c.write, files, link, streams);
        });
    if (*c.compileCommand)
        return qm::cli::runCompile(c.compile, files, streams);
    if (*c.showCommand)
        return qm::cli::runShow(c.show, files, streams);
    if (*c.diffCommand)
        return qm::cli::runDiff(c.diff, files, streams, qm::cli::linkModuleUnitReader(files, link, std::cerr));
    if (*c.simCommand)
        return qm::cli::runSim(c.sim, files, streams);
    if (*c.reportCommand) {
        qm::qt::SystemClock clock;
        return qm::cli::runReportModule(c.report, files, clock, streams);
    }
    if (*c.backupsCommand) {
        if (*c.backupShowCommand)
            c.backups.action = qm::cli::BackupsOptions::Action::Show;
        else if (*c.backupRestoreCommand)
            c.backups.action = qm::cli::BackupsOptions::Action::Restore;
        return qm::cli::runBackups(c.backups, files, link.backupFolder, streams);
    }
    if (*c.portsCommand)
        return qm::cli::runInLinkModule("ports", c.ports.json, streams,
                                        [&](const LinkModule& module) { return module.ports(c.ports, streams); });
    return qm::cli::runDecode(c.decode, files, streams);
}

int run(int argc, char** argv)
{
    const auto start = std::chrono::steady_clock::now();
    // A write past the file-size limit must fail with EFBIG and reach the user as a disk-full box, instead of
    // the signal ending the program with a half-written temporary file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    // Output to a pipe whose reader has gone is a write error that vq3 reports once the unit is left in order,
    // not a signal that ends it in the middle of a transfer.
    std::signal(SIGPIPE, SIG_IGN);
    CLI::App app{"vq3 - configure VQ-3 and VQ-3+ packet-radio units"};
    app.set_version_flag("--version", std::string("vq3 ") + QM_VERSION);
    app.require_subcommand(1);
    std::string traceFile;
    app.add_option("--trace", traceFile, "Write every byte sent to and received from the unit to this file");

    Commands commands;
    addFileCommands(app, commands);
    addSimCommand(app, commands);
    addLinkCommands(app, commands);
    addBackupAndReportCommands(app, commands);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return qm::cli::kInputError;
    }

    std::ios::sync_with_stdio(false);
    qm::qt::PosixFileSystem files;
    qm::cli::DescriptorBuffer outBuffer(STDOUT_FILENO);
    std::ostream out(&outBuffer);
    qm::cli::Streams streams{std::cin, out, std::cerr};

    qm::cli::LinkContext link;
    link.start = start;
    link.showProgress = ::isatty(STDERR_FILENO) == 1;
    link.backupFolder = qm::shell::backupFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    int traceFd = -1;
    if (!traceFile.empty()) {
        traceFd = ::open(traceFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (traceFd < 0) {
            qm::cli::printBox(std::cerr, qm::forms::messageBox("Error",
                                                               "Cannot write the trace file " + traceFile + ": " +
                                                                   qm::cli::systemReason(errno) + ".",
                                                               qm::forms::Icon::Warning));
            return qm::cli::kInputError;
        }
    }
    qm::cli::DescriptorBuffer traceBuffer(traceFd);
    std::ostream trace(&traceBuffer);
    if (traceFd >= 0)
        link.trace = &trace;

    const int status = runCommand(commands, files, link, streams);

    // Output that never arrived makes the command a failure, whatever it did.
    out.flush();
    trace.flush();
    int outputFailure = outBuffer.failure();
    if (outputFailure != 0)
        std::cerr << "vq3: cannot write standard output: " << qm::cli::systemReason(outputFailure) << '\n';
    if (traceFd >= 0) {
        int traceFailure = traceBuffer.failure();
        if (::close(traceFd) != 0 && traceFailure == 0)
            traceFailure = errno;
        if (traceFailure != 0)
            std::cerr << "vq3: cannot write the trace file " << traceFile << ": " << qm::cli::systemReason(traceFailure)
                      << '\n';
        outputFailure = outputFailure != 0 ? outputFailure : traceFailure;
    }
    return outputFailure != 0 ? qm::cli::kInputError : status;
}

} // namespace

int main(int argc, char** argv)
{
    // A failure nothing foresaw (memory exhausted, say) ends vq3 with a line that says so, not an abort.
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::fputs("vq3: ", stderr);
        std::fputs(error.what(), stderr);
        std::fputs("\n", stderr);
    } catch (...) {
        std::fputs("vq3: unexpected failure\n", stderr);
    }
    return qm::cli::kInputError;
}
