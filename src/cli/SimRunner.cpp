// vq3 sim: puts the simulated unit on a pseudo-terminal and paces its bytes like the serial line when asked.
#include "cli/SimRunner.h"

#include "cli/Output.h"
#include "sim/Unit.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <variant>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace qm::cli
{

namespace
{

/// One character on the wire at 4800 baud, 8N1: a start bit, 8 data bits and a stop bit.
constexpr std::int64_t kCharacterNs = 10 * 1'000'000'000LL / 4800;
constexpr std::int64_t kNsPerMs = 1'000'000;
/// How long before a deadline of the paced wire the simulator stops sleeping and watches the clock.
constexpr std::int64_t kFinalApproachNs = 150'000;

int g_signalPipe = -1;

extern "C" void onStopSignal(int)
{
    const int savedErrno = errno;
    const char byte = 0;
    [[maybe_unused]] const auto written = ::write(g_signalPipe, &byte, 1);
    errno = savedErrno;
}

std::string systemReason(int number)
{
    return std::strerror(number);
}

int fail(Streams streams, int status, const std::string& text)
{
    printBox(streams.err, errorBox(text));
    return status;
}

std::int64_t monotonicNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

timespec durationUntil(std::int64_t deadline, std::int64_t now)
{
    const std::int64_t left = std::max<std::int64_t>(deadline - now, 0);
    timespec duration{};
    duration.tv_sec = static_cast<time_t>(left / 1'000'000'000LL);
    duration.tv_nsec = static_cast<long>(left % 1'000'000'000LL);
    return duration;
}

void closeQuietly(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

/// The pseudo-terminal: the master the unit talks through, and one slave descriptor held open so the master
/// does not report hang-up whenever no program has the port open.
struct Terminal
{
    int master = -1;
    int slave = -1;
    std::string path;

    Terminal() = default;
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;
    ~Terminal()
    {
        closeQuietly(slave);
        closeQuietly(master);
    }
};

/// Opens the terminal; returns the operating system's reason on failure.
std::optional<std::string> openTerminal(Terminal& terminal)
{
    terminal.master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal.master < 0)
        return "posix_openpt: " + systemReason(errno);
    if (::grantpt(terminal.master) != 0 || ::unlockpt(terminal.master) != 0)
        return "grantpt/unlockpt: " + systemReason(errno);
    char name[256] = {};
    if (const int failure = ::ptsname_r(terminal.master, name, sizeof name); failure != 0)
        return "ptsname_r: " + systemReason(failure);
    terminal.path = name;

    // The master's settings are the slave's: raw bytes, no echo, no line editing, no translation.
    termios settings{};
    if (::tcgetattr(terminal.master, &settings) != 0)
        return "tcgetattr: " + systemReason(errno);
    ::cfmakeraw(&settings);
    ::cfsetspeed(&settings, B4800);
    if (::tcsetattr(terminal.master, TCSANOW, &settings) != 0)
        return "tcsetattr: " + systemReason(errno);

    terminal.slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal.slave < 0)
        return std::string(name) + ": " + systemReason(errno);
    const int flags = ::fcntl(terminal.master, F_GETFL);
    if (flags < 0 || ::fcntl(terminal.master, F_SETFL, flags | O_NONBLOCK) != 0)
        return "fcntl: " + systemReason(errno);
    return std::nullopt;
}

/// Points the link at the target through a temporary link renamed over it, so the link never dangles half-made.
/// Only a symbolic link (or nothing) is replaced.
std::optional<std::string> makeLink(const std::string& link, const std::string& target)
{
    struct stat info = {};
    if (::lstat(link.c_str(), &info) == 0 && !S_ISLNK(info.st_mode))
        return link + " exists and is not a symbolic link";
    const std::string temporary = link + ".tmp" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0)
        return link + ": " + systemReason(errno);
    if (::rename(temporary.c_str(), link.c_str()) != 0) {
        const int failure = errno;
        ::unlink(temporary.c_str());
        return link + ": " + systemReason(failure);
    }
    return std::nullopt;
}

/// Removes the link unless another simulator has pointed it elsewhere meanwhile.
void removeLink(const std::string& link, const std::string& target)
{
    char pointsTo[512] = {};
    const auto length = ::readlink(link.c_str(), pointsTo, sizeof pointsTo - 1);
    if (length >= 0 && std::string(pointsTo, static_cast<std::size_t>(length)) == target)
        ::unlink(link.c_str());
}

class StopSignals
{
public:
    StopSignals()
    {
        int fds[2] = {-1, -1};
        if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        m_read = fds[0];
        m_write = fds[1];
        g_signalPipe = m_write;
        struct sigaction action = {};
        action.sa_handler = onStopSignal;
        ::sigemptyset(&action.sa_mask);
        for (int signal : {SIGINT, SIGTERM, SIGHUP})
            ::sigaction(signal, &action, nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;
    ~StopSignals()
    {
        struct sigaction action = {};
        action.sa_handler = SIG_DFL;
        for (int signal : {SIGINT, SIGTERM, SIGHUP})
            ::sigaction(signal, &action, nullptr);
        g_signalPipe = -1;
        closeQuietly(m_read);
        closeQuietly(m_write);
    }
    bool ready() const { return m_read >= 0; }
    int fd() const { return m_read; }

private:
    int m_read = -1;
    int m_write = -1;
};

/// Carries bytes between the master and the unit. With the line rate a byte the program wrote arrives one
/// character time after it was read (and after the byte before it), and every byte the unit sends goes out one
/// character time after the one before it; without it everything passes at once.
class Wire
{
public:
    /// log: where each byte the unit takes is written with its time (nullptr for nowhere).
    Wire(sim::Unit& unit, int master, bool lineRate, int answerDelayMs, std::ostream* log)
        : m_unit(unit), m_master(master), m_lineRate(lineRate), m_answerDelay(answerDelayMs * kNsPerMs), m_log(log),
          m_start(monotonicNs())
    {}

    /// Runs until a stop signal, after which the bytes already on their way still reach the unit (as on a line);
    /// returns the exit status.
    int run(int stopFd, Streams streams)
    {
        // The default timer slack lets every wake-up come up to 50 us late; the wire's deadlines are meant exactly.
        if (m_lineRate)
            ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
        bool stopping = false;
        for (;;) {
            deliverDue(monotonicNs());
            if (stopping && m_inbound.empty())
                return kDone;
            if (!sendDue(monotonicNs()))
                return fail(streams, kLinkFailure, "Writing to the terminal failed: " + systemReason(errno));

            // Waits for the next deadline while still watching the terminal, so a byte from the program is taken
            // (and its arrival timed) the moment it is written, never after a sleep. A timer wake-up can come a few
            // hundred microseconds late on a busy or virtual machine, so the last stretch before a deadline is
            // waited out by looking at the terminal without blocking: the wire, not the host, sets the pace.
            const auto next = nextDeadline();
            const std::int64_t now = monotonicNs();
            timespec timeout{};
            if (next && *next - now > kFinalApproachNs)
                timeout = durationUntil(*next - kFinalApproachNs, now);
            // Once stopping, nothing more is taken from the program.
            const short listen = stopping ? 0 : POLLIN;
            pollfd fds[2] = {{m_master, static_cast<short>(listen | (m_blocked ? POLLOUT : 0)), 0},
                             {stopFd, POLLIN, 0}};
            const int ready = ::ppoll(fds, stopping ? 1 : 2, next ? &timeout : nullptr, nullptr);
            if (ready < 0) {
                if (errno == EINTR)
                    continue;
                return fail(streams, kLinkFailure, "poll: " + systemReason(errno));
            }
            if (!stopping && fds[1].revents != 0) {
                stopping = true;
                continue;
            }
            if (fds[0].revents & POLLOUT)
                m_blocked = false;
            if (fds[0].revents & POLLIN) {
                if (!readAvailable(monotonicNs()))
                    return fail(streams, kLinkFailure, "Reading the terminal failed: " + systemReason(errno));
            } else if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
                return fail(streams, kLinkFailure, "The terminal reports hang-up or an error.");
            }
        }
    }

private:
    struct Timed
    {
        std::int64_t due;
        char byte;
    };

    bool readAvailable(std::int64_t now)
    {
        char buffer[4096];
        for (;;) {
            const auto count = ::read(m_master, buffer, sizeof buffer);
            if (count < 0)
                return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
            if (count == 0)
                return true;
            for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
                std::int64_t due = now;
                if (m_lineRate) {
                    due = std::max(now, m_lastArrival) + kCharacterNs;
                    m_lastArrival = due;
                }
                m_inbound.push_back({due, buffer[i]});
            }
        }
    }

    void deliverDue(std::int64_t now)
    {
        while (!m_inbound.empty() && m_inbound.front().due <= now) {
            const Timed arrived = m_inbound.front();
            m_inbound.pop_front();
            logArrival(arrived);
            for (char byte : m_unit.receive(arrived.byte)) {
                std::int64_t due = 0;
                if (m_lineRate) {
                    due = std::max(arrived.due + m_answerDelay, m_lastSent) + kCharacterNs;
                    m_lastSent = due;
                } else if (m_answerDelay > 0) {
                    due = std::max(arrived.due + m_answerDelay, m_lastSent);
                    m_lastSent = due;
                }
                m_outbound.push_back({due, byte});
            }
        }
    }

    /// Each line is flushed at once, so the log is whole up to the last byte even when the unit is killed.
    void logArrival(const Timed& arrived)
    {
        if (m_log == nullptr)
            return;
        *m_log << unitLogLine(static_cast<double>(arrived.due - m_start) / kNsPerMs, arrived.byte) << std::endl;
    }

    /// Writes every byte that is due in one go; returns false on a write failure other than a full buffer.
    bool sendDue(std::int64_t now)
    {
        if (m_blocked)
            return true;
        std::string due;
        for (const auto& pending : m_outbound) {
            if (pending.due > now)
                break;
            due.push_back(pending.byte);
        }
        if (due.empty())
            return true;
        const auto written = ::write(m_master, due.data(), due.size());
        if (written < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
                m_blocked = errno != EINTR;
                return true;
            }
            return false;
        }
        m_outbound.erase(m_outbound.begin(), m_outbound.begin() + written);
        if (static_cast<std::size_t>(written) < due.size())
            m_blocked = true;
        return true;
    }

    std::optional<std::int64_t> nextDeadline() const
    {
        std::optional<std::int64_t> next;
        if (!m_inbound.empty())
            next = m_inbound.front().due;
        if (!m_outbound.empty() && !m_blocked)
            next = next ? std::min(*next, m_outbound.front().due) : m_outbound.front().due;
        return next;
    }

    sim::Unit& m_unit;
    int m_master;
    bool m_lineRate;
    /// How long the unit takes before it answers a byte (a slow unit).
    std::int64_t m_answerDelay;
    std::ostream* m_log;
    std::int64_t m_start;
    bool m_blocked = false;
    std::deque<Timed> m_inbound;
    std::deque<Timed> m_outbound;
    std::int64_t m_lastArrival = 0;
    std::int64_t m_lastSent = 0;
};

} // namespace

std::string unitLogLine(double milliseconds, char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    char line[48];
    if (value >= 0x20 && value < 0x7F)
        std::snprintf(line, sizeof line, "%.3f %02X '%c'", milliseconds, value, value);
    else
        std::snprintf(line, sizeof line, "%.3f %02X", milliseconds, value);
    return line;
}

int runSim(const SimOptions& options, storage::FileSystem& files, Streams streams)
{
    sim::UnitSettings settings;
    settings.model = options.model;
    settings.firmware = options.firmware;
    settings.faults = {options.silent,     options.stopEchoAfter, options.badEchoAt,    options.shortReply,
                       options.replyExtra, options.garbage,       options.garbageReply, options.storeWrongAt};
    if (!options.image.empty()) {
        auto contents = files.readFile(options.image);
        if (auto* error = std::get_if<storage::FileError>(&contents))
            return fail(streams, kInputError, "Cannot read " + options.image + ": " + error->reason);
        std::string bytes = std::get<std::string>(contents);
        if (bytes.size() == sim::kImageSize + 1 && bytes.front() == 'D')
            bytes.erase(0, 1);
        if (bytes.size() != sim::kImageSize)
            return fail(streams, kInputError,
                        "An image is 128 bytes, or 129 bytes beginning with \"D\"; " + options.image + " has " +
                            std::to_string(bytes.size()) + ".");
        settings.image = bytes;
    }

    sim::Unit unit(settings);
    if (!options.save.empty())
        unit.onDownloadCompleted([&](const std::string& image) {
            if (auto error = files.writeFileAtomically(options.save, image))
                streams.err << "vq3 sim: cannot save " << options.save << ": " << error->reason << std::endl;
        });

    std::ofstream log;
    if (!options.log.empty()) {
        log.open(options.log, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!log)
            return fail(streams, kInputError, "Cannot write the log " + options.log + ": " + systemReason(errno));
    }

    StopSignals signals;
    if (!signals.ready())
        return fail(streams, kLinkFailure, "pipe: " + systemReason(errno));
    Terminal terminal;
    if (auto error = openTerminal(terminal))
        return fail(streams, kLinkFailure, "Cannot open a pseudo-terminal: " + *error);
    if (!options.link.empty())
        if (auto error = makeLink(options.link, terminal.path))
            return fail(streams, kInputError, "Cannot make the link: " + *error);

    streams.out << terminal.path << std::endl;
    const int status =
        Wire(unit, terminal.master, options.lineRate, options.echoDelayMs, log.is_open() ? &log : nullptr)
            .run(signals.fd(), streams);
    if (!options.link.empty())
        removeLink(options.link, terminal.path);
    return status;
}

CLI::App* addSimCommand(CLI::App& app, SimOptions& options)
{
    CLI::App* command = app.add_subcommand("sim", "Run a simulated unit on a pseudo-terminal until SIGINT or SIGTERM");
    command->add_option("--link", options.link, "Make this path a symbolic link to the terminal");
    command->add_option("--model", options.model, "Model byte: 0 VQ-3, 1 VQ-3+, other Custom")
        ->check(CLI::Range(0, 255));
    command->add_option("--firmware", options.firmware, "Firmware version byte")->check(CLI::Range(0, 255));
    command->add_option("--image", options.image, "Configuration to start with (128 bytes, or 129 beginning with D)");
    command->add_option("--save", options.save, "Write the configuration here after every completed download");
    command->add_flag("--line-rate", options.lineRate, "Pace both directions like the 4800-baud line");
    command->add_flag("--silent", options.silent, "Answer nothing at all");
    command->add_option("--stop-echo-after", options.stopEchoAfter, "Stop echoing a download after N echoes")
        ->check(CLI::NonNegativeNumber);
    command->add_option("--bad-echo-at", options.badEchoAt, "Echo byte N of a download wrongly (D is 1)")
        ->check(CLI::PositiveNumber);
    command->add_option("--short-reply", options.shortReply, "Send only N bytes of the 131-byte reply")
        ->check(CLI::NonNegativeNumber);
    command->add_option("--reply-extra", options.replyExtra, "Send N more bytes after the reply")
        ->check(CLI::NonNegativeNumber);
    command->add_flag("--garbage", options.garbage, "Answer every byte with noise, as a device that is not a unit");
    command->add_flag("--garbage-reply", options.garbageReply, "Answer U with 131 bytes of noise");
    command->add_option("--echo-delay", options.echoDelayMs, "Answer every byte MS milliseconds late")
        ->check(CLI::Range(0, 60000));
    command
        ->add_option("--store-wrong-at", options.storeWrongAt,
                     "Store byte N of a download wrongly while echoing it rightly (D is 1)")
        ->check(CLI::PositiveNumber);
    command->add_option("--log", options.log, "Write every byte the unit receives, with its time, to this file");
    return command;
}

} // namespace qm::cli
