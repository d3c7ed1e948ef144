// Catches the signals that end a program (SIGINT, SIGTERM, SIGHUP) while a conversation with a unit is under
// way, and hands each to a handler on the Qt event loop, where the link can end its transfer properly.
#pragma once

#include <csignal>
#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace qm::cli
{

class SignalCatcher
{
public:
    /// Catches the signals from now on; handler runs on the event loop, once per signal caught.
    SignalCatcher(std::vector<int> caught, std::function<void(int signal)> handler);
    /// Gives the signals back their earlier handling.
    ~SignalCatcher();

    SignalCatcher(const SignalCatcher&) = delete;
    SignalCatcher& operator=(const SignalCatcher&) = delete;

    /// Returns a signal caught whose handler has not run yet (0 when none): caught while no event loop ran.
    int pending();

private:
    void readPipe();

    std::vector<int> m_signals;
    std::vector<struct sigaction> m_previous;
    std::function<void(int)> m_handler;
    int m_read = -1;
    int m_write = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

/// Returns the signal's name: "SIGINT", "SIGTERM", "SIGHUP", or "signal N".
const char* signalName(int signal);

} // namespace qm::cli
