// Child processes for the benchmarks.
#include "Processes.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace qm::bench
{

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

std::int64_t monotonicNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

Process::Process(const std::vector<std::string>& argv, const std::map<std::string, std::string>& environment,
                 bool captureOutput, const std::string& outputFile)
{
    std::map<std::string, std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const auto equals = text.find('=');
        if (equals != std::string::npos)
            merged[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : environment)
        merged[name] = value;
    std::vector<std::string> environmentTexts;
    for (const auto& [name, value] : merged)
        environmentTexts.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& text : environmentTexts)
        envp.push_back(text.data());
    envp.push_back(nullptr);
    std::vector<std::string> arguments = argv;
    std::vector<char*> args;
    for (auto& text : arguments)
        args.push_back(text.data());
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    int pipeFds[2] = {-1, -1};
    if (captureOutput) {
        if (::pipe2(pipeFds, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe2 failed");
        ::posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    } else if (!outputFile.empty()) {
        ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                           0644);
    } else {
        ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    m_started = Clock::now();
    const int failure = ::posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), envp.data());
    ::posix_spawn_file_actions_destroy(&actions);
    if (captureOutput) {
        ::close(pipeFds[1]);
        m_output = pipeFds[0];
    }
    if (failure != 0)
        throw std::runtime_error(argv[0] + ": " + std::strerror(failure));
}

Process::~Process()
{
    if (!m_waited)
        stop();
    if (m_output >= 0)
        ::close(m_output);
}

std::optional<std::string> Process::readLine(int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (const auto end = m_buffered.find('\n'); end != std::string::npos) {
            std::string line = m_buffered.substr(0, end);
            m_buffered.erase(0, end + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (m_output < 0 || left <= 0)
            return std::nullopt;
        pollfd fd{m_output, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left)) <= 0)
            continue;
        char buffer[4096];
        const auto count = ::read(m_output, buffer, sizeof buffer);
        if (count <= 0)
            return std::nullopt;
        m_buffered.append(buffer, static_cast<std::size_t>(count));
    }
}

std::string Process::readAll()
{
    std::string all = std::move(m_buffered);
    m_buffered.clear();
    char buffer[4096];
    while (m_output >= 0) {
        const auto count = ::read(m_output, buffer, sizeof buffer);
        if (count <= 0)
            break;
        all.append(buffer, static_cast<std::size_t>(count));
    }
    return all;
}

Finished Process::wait(int timeoutMs)
{
    Finished finished;
    if (m_waited)
        return finished;
    int status = 0;
    rusage usage{};
    // Waits on a process descriptor, so the end is seen at once without polling the child.
    const int handle = static_cast<int>(::syscall(SYS_pidfd_open, m_pid, 0));
    if (handle >= 0) {
        pollfd fd{handle, POLLIN, 0};
        ::poll(&fd, 1, timeoutMs);
        ::close(handle);
    }
    if (::wait4(m_pid, &status, WNOHANG, &usage) != m_pid) {
        ::kill(m_pid, SIGKILL);
        ::wait4(m_pid, &status, 0, &usage);
    }
    finished.end = Clock::now();
    m_waited = true;
    finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    finished.maxRssKb = usage.ru_maxrss;
    return finished;
}

Finished Process::stop()
{
    if (!m_waited)
        ::kill(m_pid, SIGTERM);
    return wait(5'000);
}

long Process::peakRssKb() const
{
    std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
    std::string word;
    while (status >> word) {
        if (word == "VmHWM:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
    }
    return 0;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace qm::bench
