// vq3 sim: puts the simulated unit on a pseudo-terminal and paces its bytes like the serial line when asked.
#include "cli/SimRunner.h"

#include "cli/Output.h"
#include "cli/SimTerminal.h"
#include "qt/SignalPipe.h"
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
#include <optional>
#include <ostream>
#include <string>
#include <variant>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
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

/// How often the terminal is looked at for an exclusive mode left behind, and how soon after a program closed it.
constexpr std::int64_t kLookNs = 100 * kNsPerMs;
constexpr std::int64_t kSoonLookNs = 5 * kNsPerMs;
/// What a flooding device writes at a time.
constexpr std::size_t kFloodChunk = 4096;

/// The unit's log: a line for every byte received, written at once with every write checked, so the log is whole
/// up to the last byte even when the unit is killed, and a log that cannot be written stops the unit.
class UnitLog
{
public:
    UnitLog() = default;
    UnitLog(const UnitLog&) = delete;
    UnitLog& operator=(const UnitLog&) = delete;
    ~UnitLog()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    /// Opens the file without waiting (a FIFO nobody reads is refused at once) and tries an empty write, which
    /// a device that takes nothing (/dev/full) already refuses; returns the system's reason on failure.
    std::optional<std::string> open(const std::string& path)
    {
        m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
        if (m_fd < 0)
            return errno == ENXIO ? "it is a FIFO that nobody reads" : systemReason(errno);
        const int flags = ::fcntl(m_fd, F_GETFL);
        if (flags < 0 || ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK) != 0 || ::write(m_fd, "", 0) != 0)
            return systemReason(errno);
        return std::nullopt;
    }
    bool isOpen() const { return m_fd >= 0; }
    /// Writes the line and its end; false when the write failed or fell short (errno then says why).
    bool write(std::string line)
    {
        line.push_back('\n');
        std::string_view rest = line;
        while (!rest.empty()) {
            const auto written = ::write(m_fd, rest.data(), rest.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                if (written == 0)
                    errno = ENOSPC;
                return false;
            }
            rest.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }

private:
    int m_fd = -1;
};

/// How the wire behaves.
struct WireOptions
{
    /// Paces both directions at 4800 baud.
    bool lineRate = false;
    /// How long the unit takes before it answers a byte (a slow unit).
    int answerDelayMs = 0;
    /// In place of the unit's answers, bytes without pause, as fast as the terminal takes them.
    bool flood = false;
};

/// Carries bytes between the master and the unit. With the line rate a byte the program wrote arrives one
/// character time after it was read (and after the byte before it), and every byte the unit sends goes out one
/// character time after the one before it; without it everything passes at once.
class Wire
{
public:
    /// log: where each byte the unit takes is written with its time (nullptr for nowhere).
    Wire(sim::Unit& unit, SimTerminal& terminal, WireOptions options, UnitLog* log)
        : m_unit(unit), m_terminal(terminal), m_master(terminal.master()), m_lineRate(options.lineRate),
          m_answerDelay(options.answerDelayMs * kNsPerMs), m_flood(options.flood), m_log(log), m_start(monotonicNs())
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
            if (!deliverDue(monotonicNs()))
                return fail(streams, kInputError, "Writing the log failed: " + systemReason(errno));
            if (stopping && m_inbound.empty())
                return kDone;
            if (!sendDue(monotonicNs()))
                return fail(streams, kLinkFailure, "Writing to the terminal failed: " + systemReason(errno));
            lookAtTerminal(monotonicNs());

            // Waits for the next deadline while still watching the terminal, so a byte from the program is taken
            // (and its arrival timed) the moment it is written, never after a sleep. A timer wake-up can come a few
            // hundred microseconds late on a busy or virtual machine, so the last stretch before a deadline is
            // waited out by looking at the terminal without blocking: the wire, not the host, sets the pace.
            const std::int64_t now = monotonicNs();
            const std::int64_t look = m_lastLook + (m_terminal.lookSoon() ? kSoonLookNs : kLookNs);
            const std::int64_t next = std::min(nextDeadline().value_or(look), look);
            const timespec timeout =
                next - now > kFinalApproachNs ? durationUntil(next - kFinalApproachNs, now) : timespec{};
            // Once stopping, nothing more is taken from the program.
            const short listen = stopping ? 0 : POLLIN;
            pollfd fds[3] = {{m_master, static_cast<short>(listen | (m_blocked ? POLLOUT : 0)), 0},
                             {stopFd, POLLIN, 0},
                             {m_terminal.closings(), POLLIN, 0}};
            const int ready = ::ppoll(fds, stopping ? 1 : 3, &timeout, nullptr);
            if (ready < 0) {
                if (errno == EINTR)
                    continue;
                return fail(streams, kLinkFailure, "poll: " + systemReason(errno));
            }
            if (!stopping && fds[1].revents != 0) {
                stopping = true;
                continue;
            }
            if (fds[2].revents != 0)
                m_terminal.clearLeftOverExclusiveMode();
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

    /// Hands the unit every byte that has arrived; false when the log could not be written.
    bool deliverDue(std::int64_t now)
    {
        while (!m_inbound.empty() && m_inbound.front().due <= now) {
            const Timed arrived = m_inbound.front();
            m_inbound.pop_front();
            if (m_log != nullptr &&
                !m_log->write(unitLogLine(static_cast<double>(arrived.due - m_start) / kNsPerMs, arrived.byte)))
                return false;
            for (char byte : m_unit.receive(arrived.byte)) {
                if (m_flood)
                    continue;
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
        return true;
    }

    /// Writes every byte that is due in one go; returns false on a write failure other than a full buffer.
    bool sendDue(std::int64_t now)
    {
        if (m_blocked)
            return true;
        std::string due;
        if (m_flood) {
            due.resize(kFloodChunk);
            for (char& byte : due)
                byte = static_cast<char>(m_floodByte++);
        }
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
        if (!m_flood)
            m_outbound.erase(m_outbound.begin(), m_outbound.begin() + written);
        if (static_cast<std::size_t>(written) < due.size())
            m_blocked = true;
        return true;
    }

    void lookAtTerminal(std::int64_t now)
    {
        if (now - m_lastLook < (m_terminal.lookSoon() ? kSoonLookNs : kLookNs))
            return;
        m_lastLook = now;
        m_terminal.clearLeftOverExclusiveMode();
    }

    std::optional<std::int64_t> nextDeadline() const
    {
        if (m_flood && !m_blocked)
            return monotonicNs();
        std::optional<std::int64_t> next;
        if (!m_inbound.empty())
            next = m_inbound.front().due;
        if (!m_outbound.empty() && !m_blocked)
            next = next ? std::min(*next, m_outbound.front().due) : m_outbound.front().due;
        return next;
    }

    sim::Unit& m_unit;
    SimTerminal& m_terminal;
    int m_master;
    bool m_lineRate;
    /// How long the unit takes before it answers a byte (a slow unit).
    std::int64_t m_answerDelay;
    bool m_flood;
    UnitLog* m_log;
    std::int64_t m_start;
    std::int64_t m_lastLook = 0;
    bool m_blocked = false;
    std::deque<Timed> m_inbound;
    std::deque<Timed> m_outbound;
    std::int64_t m_lastArrival = 0;
    std::int64_t m_lastSent = 0;
    unsigned char m_floodByte = 0;
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
    settings.faults = options.faults;
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

    UnitLog log;
    if (!options.log.empty())
        if (auto error = log.open(options.log))
            return fail(streams, kInputError, "Cannot write the log " + options.log + ": " + *error + ".");

    qt::SignalPipe stopSignals;
    if (!stopSignals.ready())
        return fail(streams, kLinkFailure, "pipe: " + systemReason(errno));
    SimTerminal terminal;
    if (auto error = terminal.open())
        return fail(streams, kLinkFailure, "Cannot open a pseudo-terminal: " + *error);
    if (!options.link.empty())
        if (auto error = makeLink(options.link, terminal.path()))
            return fail(streams, kInputError, "Cannot make the link: " + *error);

    streams.out << terminal.path() << std::endl;
    const WireOptions wire{options.lineRate, options.echoDelayMs, options.flood};
    const int status = Wire(unit, terminal, wire, log.isOpen() ? &log : nullptr).run(stopSignals.fd(), streams);
    if (!options.link.empty())
        removeLink(options.link, terminal.path());
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
    command->add_flag("--silent", options.faults.silent, "Answer nothing at all");
    command->add_option("--stop-echo-after", options.faults.stopEchoAfter, "Stop echoing a download after N echoes")
        ->check(CLI::NonNegativeNumber);
    command->add_option("--bad-echo-at", options.faults.badEchoAt, "Echo byte N of a download wrongly (D is 1)")
        ->check(CLI::PositiveNumber);
    command->add_option("--short-reply", options.faults.shortReply, "Send only N bytes of the 131-byte reply")
        ->check(CLI::NonNegativeNumber);
    command->add_option("--reply-extra", options.faults.replyExtra, "Send N more bytes after the reply")
        ->check(CLI::NonNegativeNumber);
    command->add_flag("--garbage", options.faults.garbage,
                      "Answer every byte with noise, as a device that is not a unit");
    command->add_flag("--garbage-reply", options.faults.garbageReply, "Answer U with 131 bytes of noise");
    command->add_option("--echo-delay", options.echoDelayMs, "Answer every byte MS milliseconds late")
        ->check(CLI::Range(0, 60000));
    command
        ->add_option("--store-wrong-at", options.faults.storeWrongAt,
                     "Store byte N of a download wrongly while echoing it rightly (D is 1)")
        ->check(CLI::PositiveNumber);
    command->add_option("--log", options.log, "Write every byte the unit receives, with its time, to this file");
    command->add_flag("--flood", options.flood,
                      "Send bytes without pause in place of every answer, far faster than the line, as a faulty "
                      "device that floods the port");
    return command;
}

} // namespace qm::cli
