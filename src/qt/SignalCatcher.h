// The signals that end a program handed to a handler on the Qt event loop, where the link can end its transfer
// properly: vq3's conversations with a unit and the desktop program.
#pragma once

#include "qt/SignalPipe.h"

#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace qm::qt
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
    int pending() { return m_pipe.take(); }

private:
    SignalPipe m_pipe;
    std::function<void(int)> m_handler;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace qm::qt
