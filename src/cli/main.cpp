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
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
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

    qm::cli::CompileOptions compile;
    auto* compileCommand = app.add_subcommand("compile", "Print the 129-byte download stream of a configuration file");
    compileCommand->add_option("CONFIG", compile.config, "Configuration file (*.vq3)")->required();
    compileCommand->add_option("-o,--output", compile.output, "Write the stream to this file instead of stdout");
    compileCommand->add_flag("--hex", compile.hex, "Print the stream as hex text");
    compileCommand->add_flag("--json", compile.json, "Print one JSON object");
    const char* setHelp =
        "Change a field after opening the file: NAME=VALUE, or NAME@N=VALUE for profile N (repeatable)";
    compileCommand->add_option("--set", compile.settings, setHelp)->allow_extra_args(false);

    qm::cli::DecodeOptions decode;
    auto* decodeCommand =
        app.add_subcommand("decode", "Decode a 128-byte image as a read does and print its configuration file");
    decodeCommand->add_option("IMAGE", decode.image, "Image file (128 bytes, or 129 beginning with D); - for stdin")
        ->required();
    decodeCommand->add_option("-o,--output", decode.output, "Write the configuration file here instead of stdout");
    decodeCommand->add_flag("--hex", decode.hex, "The image is hex text");
    decodeCommand->add_flag("--json", decode.json, "Print one JSON object");

    qm::cli::ShowOptions show;
    auto* showCommand = app.add_subcommand("show", "Print a configuration file as a person reads it");
    showCommand->add_option("CONFIG", show.config, "Configuration file (*.vq3)")->required();
    showCommand->add_flag("--json", show.json, "Print one JSON object, every field by its control name");
    showCommand->add_option("--set", show.settings, setHelp)->allow_extra_args(false);

    qm::cli::DiffOptions diff;
    auto* diffCommand = app.add_subcommand("diff", "Print what differs between two configurations (exit 1 if any)");
    diffCommand->add_option("A", diff.a, "First configuration file (*.vq3), or unit:PORT for the unit on PORT")
        ->required();
    diffCommand->add_option("B", diff.b, "Second configuration file (*.vq3), or unit:PORT for the unit on PORT")
        ->required();
    diffCommand->add_flag("--json", diff.json, "Print one JSON object");

    qm::cli::SimOptions sim;
    auto* simCommand = app.add_subcommand("sim", "Run a simulated unit on a pseudo-terminal until SIGINT or SIGTERM");
    simCommand->add_option("--link", sim.link, "Make this path a symbolic link to the terminal");
    simCommand->add_option("--model", sim.model, "Model byte: 0 VQ-3, 1 VQ-3+, other Custom")
        ->check(CLI::Range(0, 255));
    simCommand->add_option("--firmware", sim.firmware, "Firmware version byte")->check(CLI::Range(0, 255));
    simCommand->add_option("--image", sim.image, "Configuration to start with (128 bytes, or 129 beginning with D)");
    simCommand->add_option("--save", sim.save, "Write the configuration here after every completed download");
    simCommand->add_flag("--line-rate", sim.lineRate, "Pace both directions like the 4800-baud line");
    simCommand->add_flag("--silent", sim.silent, "Answer nothing at all");
    simCommand->add_option("--stop-echo-after", sim.stopEchoAfter, "Stop echoing a download after N echoes")
        ->check(CLI::NonNegativeNumber);
    simCommand->add_option("--bad-echo-at", sim.badEchoAt, "Echo byte N of a download wrongly (D is 1)")
        ->check(CLI::PositiveNumber);
    simCommand->add_option("--short-reply", sim.shortReply, "Send only N bytes of the 131-byte reply")
        ->check(CLI::NonNegativeNumber);
    simCommand->add_option("--reply-extra", sim.replyExtra, "Send N more bytes after the reply")
        ->check(CLI::NonNegativeNumber);
    simCommand->add_flag("--garbage", sim.garbage, "Answer every byte with noise, as a device that is not a unit");
    simCommand->add_flag("--garbage-reply", sim.garbageReply, "Answer U with 131 bytes of noise");
    simCommand->add_option("--echo-delay", sim.echoDelayMs, "Answer every byte MS milliseconds late")
        ->check(CLI::Range(0, 60000));
    simCommand
        ->add_option("--store-wrong-at", sim.storeWrongAt,
                     "Store byte N of a download wrongly while echoing it rightly (D is 1)")
        ->check(CLI::PositiveNumber);
    simCommand->add_option("--log", sim.log, "Write every byte the unit receives, with its time, to this file");

    qm::cli::IdentifyOptions identify;
    auto* identifyCommand = app.add_subcommand("identify", "Print the model and firmware of the unit on a port");
    identifyCommand->add_option("--port", identify.port, "Device path, or COM1 to COM4")->required();
    identifyCommand->add_flag("--json", identify.json, "Print one JSON object");

    qm::cli::ReadOptions read;
    auto* readCommand =
        app.add_subcommand("read", "Read the unit's configuration and print it as a configuration file");
    readCommand->add_option("--port", read.port, "Device path, or COM1 to COM4")->required();
    readCommand->add_option("-o,--output", read.output, "Write the configuration file here instead of stdout");
    readCommand->add_flag("--json", read.json, "Print one JSON object");

    qm::cli::WriteOptions write;
    auto* writeCommand = app.add_subcommand("write", "Write a configuration file into the unit");
    writeCommand->add_option("CONFIG", write.config, "Configuration file (*.vq3)")->required();
    writeCommand->add_option("--port", write.port, "Device path, or COM1 to COM4")->required();
    writeCommand->add_flag("--json", write.json, "Print one JSON object");
    writeCommand->add_flag("--no-verify", write.noVerify,
                           "Do not read the unit back after the write to see that it stored what it echoed");
    writeCommand->add_option("--set", write.settings, setHelp)->allow_extra_args(false);

    qm::cli::PortsOptions ports;
    auto* portsCommand = app.add_subcommand("ports", "List the serial devices and the devices COM1 to COM4 open");
    portsCommand->add_flag("--json", ports.json, "Print one JSON object");

    qm::cli::BackupsOptions backups;
    auto* backupsCommand = app.add_subcommand(
        "backups", "List the backups of what units held, newest first (1 is the newest); show or restore one");
    backupsCommand->add_flag("--json", backups.json, "Print one JSON object");
    auto* backupShowCommand = backupsCommand->add_subcommand("show", "Print a backup as vq3 show prints a file");
    backupShowCommand->add_option("N", backups.backup, "The backup's number in the list, or its name")->required();
    backupShowCommand->add_flag("--json", backups.json, "Print one JSON object");
    auto* backupRestoreCommand =
        backupsCommand->add_subcommand("restore", "Write a backup as a configuration file, ready for vq3 write");
    backupRestoreCommand->add_option("N", backups.backup, "The backup's number in the list, or its name")->required();
    backupRestoreCommand->add_option("-o,--output", backups.output, "The configuration file to write (default stdout)");
    backupRestoreCommand->add_flag("--json", backups.json, "Print one JSON object");

    qm::cli::ReportOptions report;
    auto* reportCommand =
        app.add_subcommand("report", "Write the profile table of an NMEA or Tracking configuration as a PDF file");
    reportCommand->add_option("CONFIG", report.config, "Configuration file (*.vq3)")->required();
    reportCommand->add_option("-o,--output", report.output, "The PDF file to write")->required();
    reportCommand->add_option("--date", report.date, "The date in the title, YYYY-MM-DD (default: today)");
    reportCommand->add_option("--font", report.font, "The font's name (default: the system's standard font)");
    reportCommand->add_option("--size", report.size, "The font's size in whole points")->check(CLI::Range(1, 200));

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

    // The commands that open a serial port run in the link module, the only part of vq3 with Qt besides the report.
    using LinkModule = qm::cli::LinkModuleCommands;
    const int status = [&] {
        if (*identifyCommand)
            return qm::cli::runInLinkModule("identify", identify.json, streams, [&](const LinkModule& module) {
                return module.identify(identify, files, link, streams);
            });
        if (*readCommand)
            return qm::cli::runInLinkModule("read", read.json, streams, [&](const LinkModule& module) {
                return module.read(read, files, link, streams);
            });
        if (*writeCommand)
            return qm::cli::runInLinkModule("write", write.json, streams, [&](const LinkModule& module) {
                return module.write(write, files, link, streams);
            });
        if (*compileCommand)
            return qm::cli::runCompile(compile, files, streams);
        if (*showCommand)
            return qm::cli::runShow(show, files, streams);
        if (*diffCommand)
            return qm::cli::runDiff(diff, files, streams, qm::cli::linkModuleUnitReader(files, link, std::cerr));
        if (*simCommand)
            return qm::cli::runSim(sim, files, streams);
        if (*reportCommand) {
            qm::qt::SystemClock clock;
            return qm::cli::runReportModule(report, files, clock, streams);
        }
        if (*backupsCommand) {
            if (*backupShowCommand)
                backups.action = qm::cli::BackupsOptions::Action::Show;
            else if (*backupRestoreCommand)
                backups.action = qm::cli::BackupsOptions::Action::Restore;
            return qm::cli::runBackups(backups, files, link.backupFolder, streams);
        }
        if (*portsCommand)
            return qm::cli::runInLinkModule("ports", ports.json, streams,
                                            [&](const LinkModule& module) { return module.ports(ports, streams); });
        return qm::cli::runDecode(decode, files, streams);
    }();

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
