// Child processes for the benchmarks: start with extra environment, read their output, wait with resource use.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace qm::bench
{

using Clock = std::chrono::steady_clock;

/// Milliseconds between two points of the steady clock.
double millisecondsBetween(Clock::time_point from, Clock::time_point to);

/// Nanoseconds on CLOCK_MONOTONIC (the clock steady_clock reads on Linux).
std::int64_t monotonicNs();

struct Finished
{
    int status = -1;
    /// Peak resident memory in kilobytes.
    long maxRssKb = 0;
    Clock::time_point end;
};

class Process
{
public:
    /// Starts the program with the environment plus the given variables; standard output goes to a pipe when
    /// captureOutput, else into outputFile (created or emptied by the new process) when one is named, else to
    /// /dev/null; standard error is kept.
    Process(const std::vector<std::string>& argv, const std::map<std::string, std::string>& environment = {},
            bool captureOutput = false, const std::string& outputFile = {});
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return m_pid; }
    Clock::time_point started() const { return m_started; }
    /// Reads one line of standard output, waiting at most timeoutMs; nothing at the end or on time-out.
    std::optional<std::string> readLine(int timeoutMs);
    /// Everything the program writes to standard output until it ends.
    std::string readAll();
    /// Waits for the end (SIGKILL after timeoutMs).
    Finished wait(int timeoutMs = 30'000);
    /// Sends SIGTERM and waits.
    Finished stop();
    /// The peak resident memory so far in kilobytes (VmHWM), 0 when unknown.
    long peakRssKb() const;

private:
    pid_t m_pid = -1;
    int m_output = -1;
    std::string m_buffered;
    Clock::time_point m_started;
    bool m_waited = false;
};

/// The median of the values (0 for none).
double median(std::vector<double> values);

} // namespace qm::bench
