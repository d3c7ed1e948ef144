// The signals that end a program (SIGINT, SIGTERM, SIGHUP) turned into bytes on a pipe, so a program's own loop
// (vq3 sim's poll, the Qt event loop of vq3 and the desktop program) handles each one in order, outside the
// signal handler, and can end what it is doing properly.
#pragma once

#include <csignal>
#include <vector>

namespace qm::qt
{

class SignalPipe
{
public:
    /// The signals ending a program: SIGINT, SIGTERM and SIGHUP.
    static std::vector<int> endingSignals() { return {SIGINT, SIGTERM, SIGHUP}; }

    /// Catches the signals from now on. One pipe at a time in a process.
    explicit SignalPipe(std::vector<int> caught = endingSignals());
    /// Gives the signals back their earlier handling.
    ~SignalPipe();
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    /// The pipe could be made and the signals are caught.
    bool ready() const { return m_read >= 0; }
    /// Readable while a caught signal waits to be taken.
    int fd() const { return m_read; }
    /// Returns the next signal caught and not yet taken; 0 when none waits.
    int take();

private:
    std::vector<int> m_signals;
    std::vector<struct sigaction> m_previous;
    int m_read = -1;
    int m_write = -1;
};

/// Returns the signal's name: "SIGINT", "SIGTERM", "SIGHUP", or "a signal".
const char* signalName(int signal);

} // namespace qm::qt
