// Signals handed to the Qt event loop: a notifier watches the signal pipe.
#include "qt/SignalCatcher.h"

#include <QSocketNotifier>

namespace qm::qt
{

SignalCatcher::SignalCatcher(std::vector<int> caught, std::function<void(int)> handler)
    : m_pipe(std::move(caught)), m_handler(std::move(handler))
{
    if (!m_pipe.ready())
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_pipe.fd(), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
        while (const int signal = m_pipe.take())
            if (m_handler)
                m_handler(signal);
    });
}

SignalCatcher::~SignalCatcher()
{
    // The notifier goes before the pipe it watches.
    m_notifier.reset();
}

} // namespace qm::qt
