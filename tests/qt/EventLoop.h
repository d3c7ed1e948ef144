// The Qt application of the adapter tests and bounded waits on its event loop.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <chrono>
#include <functional>

namespace qm::qttest
{

inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "qt_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

inline bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(2))
{
    const QDeadlineTimer deadline(limit);
    QTimer wake;
    wake.start(5);
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

inline void runEventsFor(std::chrono::milliseconds time)
{
    waitUntil([] { return false; }, time);
}

} // namespace qm::qttest
