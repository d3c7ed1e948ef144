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

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <iostream>
#include <string>
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
    CLI::App* reportCommand = nullptr;
};

/// Adds every command's command line, in the order vq3 --help lists them.
void addCommands(CLI::App& app, Commands& c)
{
    c.compileCommand = qm::cli::addCompileCommand(app, c.compile);
    c.decodeCommand = qm::cli::addDecodeCommand(app, c.decode);
    c.showCommand = qm::cli::addShowCommand(app, c.show);
    c.diffCommand = qm::cli::addDiffCommand(app, c.diff);
    c.simCommand = qm::cli::addSimCommand(app, c.sim);
    c.identifyCommand = qm::cli::addIdentifyCommand(app, c.identify);
    c.readCommand = qm::cli::addReadCommand(app, c.read);
    c.writeCommand = qm::cli::addWriteCommand(app, c.write);
    c.portsCommand = qm::cli::addPortsCommand(app, c.ports);
    c.backupsCommand = qm::cli::addBackupsCommand(app, c.backups);
    c.reportCommand = qm::cli::addReportCommand(app, c.report);
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
    if (*c.backupsCommand)
        return qm::cli::runBackups(c.backups, files, link.backupFolder, streams);
    if (*c.portsCommand)
        return qm::cli::runInLinkModule("ports", c.ports.json, streams,
                                        [&](const LinkModule& module) { return module.ports(c.ports, streams); });
    return qm::cli::runDecode(c.decode, files, streams);
}

/// Opens the trace file without waiting, so a FIFO that nobody reads is refused at once instead of holding vq3 for
/// ever; returns -1 once the box that says why is printed.
int openTraceFile(const std::string& traceFile)
{
    const int fd = ::open(traceFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
    const int flags = fd >= 0 ? ::fcntl(fd, F_GETFL) : -1;
    if (fd >= 0 && flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0)
        return fd;
    const std::string reason =
        errno == ENXIO ? std::string("it is a FIFO that nobody reads") : qm::cli::systemReason(errno);
    if (fd >= 0)
        ::close(fd);
    qm::cli::printBox(std::cerr,
                      qm::forms::messageBox("Error", "Cannot write the trace file " + traceFile + ": " + reason + ".",
                                            qm::forms::Icon::Warning));
    return -1;
}

/// Returns the command's status, or an input error when its output or the trace (closed here) never arrived whole:
/// output that did not arrive makes the command a failure, whatever it did.
int checkedOutput(int status, qm::cli::DescriptorBuffer& out, qm::cli::DescriptorBuffer& trace, int traceFd,
                  const std::string& traceFile)
{
    int outputFailure = out.failure();
    if (outputFailure != 0)
        std::cerr << "vq3: cannot write standard output: " << qm::cli::systemReason(outputFailure) << '\n';
    if (traceFd >= 0) {
        int traceFailure = trace.failure();
        if (::close(traceFd) != 0 && traceFailure == 0)
            traceFailure = errno;
        if (traceFailure != 0)
            std::cerr << "vq3: cannot write the trace file " << traceFile << ": " << qm::cli::systemReason(traceFailure)
                      << '\n';
        outputFailure = outputFailure != 0 ? outputFailure : traceFailure;
    }
    return outputFailure != 0 ? qm::cli::kInputError : status;
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
    addCommands(app, commands);

    std::ios::sync_with_stdio(false);
    qm::cli::DescriptorBuffer outBuffer(STDOUT_FILENO);
    std::ostream out(&outBuffer);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help and --version end here too; their answer is output like any other and must arrive.
        app.exit(error, out, std::cerr);
        if (error.get_exit_code() != 0)
            return qm::cli::kInputError;
        out.flush();
        if (const int failure = outBuffer.failure(); failure != 0) {
            std::cerr << "vq3: cannot write standard output: " << qm::cli::systemReason(failure) << '\n';
            return qm::cli::kInputError;
        }
        return 0;
    }

    qm::qt::PosixFileSystem files;
    qm::cli::Streams streams{std::cin, out, std::cerr};

    qm::cli::LinkContext link;
    link.start = start;
    link.showProgress = ::isatty(STDERR_FILENO) == 1;
    // Folders of another user (HOME kept by sudo -E) are left alone: no backup is kept there.
    const auto own = qm::qt::userFolders("vq3");
    const bool keepsBackups = *commands.identifyCommand || *commands.readCommand || *commands.writeCommand ||
                              *commands.diffCommand || *commands.backupsCommand;
    if (!own.notice.empty() && keepsBackups)
        std::cerr << own.notice << '\n';
    link.backupFolder = qm::shell::backupFolder(own.folders.xdgDataHome.c_str(), own.folders.home.c_str());
    int traceFd = -1;
    if (!traceFile.empty() && (traceFd = openTraceFile(traceFile)) < 0)
        return qm::cli::kInputError;
    qm::cli::DescriptorBuffer traceBuffer(traceFd);
    std::ostream trace(&traceBuffer);
    if (traceFd >= 0)
        link.trace = &trace;

    const int status = runCommand(commands, files, link, streams);

    out.flush();
    trace.flush();
    return checkedOutput(status, outBuffer, traceBuffer, traceFd, traceFile);
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
