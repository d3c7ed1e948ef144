// Signals handed to a program's loop through a pipe: the handler only writes the signal's number.
#include "qt/SignalPipe.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace qm::qt
{

namespace
{

int g_signalPipe = -1;

extern "C" void onCaughtSignal(int signal)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const auto written = ::write(g_signalPipe, &byte, 1);
    errno = savedErrno;
}

} // namespace

const char* signalName(int signal)
{
    switch (signal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    default:
        return "a signal";
    }
}

SignalPipe::SignalPipe(std::vector<int> caught) : m_signals(std::move(caught))
{
    int fds[2] = {-1, -1};
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_read = fds[0];
    m_write = fds[1];
    g_signalPipe = m_write;
    struct sigaction action = {};
    action.sa_handler = onCaughtSignal;
    action.sa_flags = SA_RESTART;
    ::sigemptyset(&action.sa_mask);
    m_previous.resize(m_signals.size());
    for (std::size_t i = 0; i < m_signals.size(); ++i)
        ::sigaction(m_signals[i], &action, &m_previous[i]);
}

SignalPipe::~SignalPipe()
{
    for (std::size_t i = 0; i < m_previous.size(); ++i)
        ::sigaction(m_signals[i], &m_previous[i], nullptr);
    g_signalPipe = -1;
    if (m_read >= 0)
        ::close(m_read);
    if (m_write >= 0)
        ::close(m_write);
}

int SignalPipe::take()
{
    unsigned char byte = 0;
    if (m_read < 0 || ::read(m_read, &byte, 1) != 1)
        return 0;
    return byte;
}

} // namespace qm::qt
