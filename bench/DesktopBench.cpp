// The desktop program built as quellmark builds it, instrumented: how long after the process started the main
// window is shown (painted) and idle, the longest stretch the event thread is busy during start-up, a read and a write
// (from one wait for events to the next), and the peak resident memory during the write.
// Prints "name value" lines.
#include "app/Desktop.h"
#include "app/SystemPorts.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <string>

#include <dlfcn.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

namespace
{

std::int64_t monotonicNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

std::int64_t threadCpuNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

double msBetween(std::int64_t from, std::int64_t to)
{
    return static_cast<double>(to - from) / 1e6;
}

long peakRssKb()
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmHWM:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
    return 0;
}

/// Measures each stretch the event thread is busy: from the return of one wait for events to the start of the
/// next. Every event dispatcher waits in poll() or ppoll(), so both are wrapped below; a nested event loop (a modal
/// box) splits its handler into the stretches around its waits.
class HoldMeter
{
public:
    std::string phase = "startup";
    std::map<std::string, double> longest;
    /// The most processor time the event thread used in one stretch of each phase: what the handlers cost, apart
    /// from the time other processes had the processor.
    std::map<std::string, double> mostCpu;
    /// When the longest stretch of each phase ended.
    std::map<std::string, std::int64_t> longestEnded;
    /// Set once the main window is shown and the start-up has run: waits before (a printer look-up) do not count.
    bool shown = false;
    /// Tells whether the main window has been painted; the first wait after that is the program shown and idle.
    std::function<bool()> painted;
    /// When the event thread first waited after that (the window shown and idle); 0 before.
    std::int64_t firstBlock = 0;

    void waitBegins()
    {
        const auto now = monotonicNs();
        if (!shown)
            return;
        if (firstBlock == 0) {
            if (painted && painted())
                firstBlock = now;
        } else {
            const double held = msBetween(m_busySince, now);
            mostCpu[phase] = std::max(mostCpu[phase], msBetween(m_busySinceCpu, threadCpuNs()));
            if (held > longest[phase]) {
                longest[phase] = held;
                longestEnded[phase] = now;
            }
        }
    }
    void waitEnds()
    {
        m_busySince = monotonicNs();
        m_busySinceCpu = threadCpuNs();
    }

private:
    std::int64_t m_busySince = 0;
    std::int64_t m_busySinceCpu = 0;
};

HoldMeter g_meter;

/// Marks the main window's first paint: the window is shown once it has been drawn.
class FirstPaint : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

bool onEventThread()
{
    return ::gettid() == ::getpid();
}

} // namespace

extern "C" int poll(pollfd* fds, nfds_t count, int timeout)
{
    static const auto real = reinterpret_cast<int (*)(pollfd*, nfds_t, int)>(::dlsym(RTLD_NEXT, "poll"));
    if (timeout == 0 || !onEventThread())
        return real(fds, count, timeout);
    g_meter.waitBegins();
    const int ready = real(fds, count, timeout);
    g_meter.waitEnds();
    return ready;
}

extern "C" int ppoll(pollfd* fds, nfds_t count, const timespec* timeout, const sigset_t* mask)
{
    static const auto real =
        reinterpret_cast<int (*)(pollfd*, nfds_t, const timespec*, const sigset_t*)>(::dlsym(RTLD_NEXT, "ppoll"));
    if ((timeout != nullptr && timeout->tv_sec == 0 && timeout->tv_nsec == 0) || !onEventThread())
        return real(fds, count, timeout, mask);
    g_meter.waitBegins();
    const int ready = real(fds, count, timeout, mask);
    g_meter.waitEnds();
    return ready;
}

namespace
{
} // namespace

int main(int argc, char** argv)
{
    const auto mainEntered = monotonicNs();
    const char* spawnedText = std::getenv("QM_BENCH_SPAWNED_NS");
    const std::int64_t spawned = spawnedText != nullptr ? std::atoll(spawnedText) : mainEntered;

    QApplication application(argc, argv);
    const auto applicationMade = monotonicNs();
    QApplication::setApplicationName("Quellmark");
    HoldMeter& meter = g_meter;

    qm::app::SystemPorts system;
    const auto portsMade = monotonicNs();
    qm::app::Desktop desktop(system.desktopPorts());
    // Drives the session as a user would: Read once the unit is identified, Write once the read is in, and
    // answers the Download Complete box.
    enum class Step
    {
        Identifying,
        Reading,
        Writing,
    };
    Step step = Step::Identifying;
    /// How many ticks in a row the program has been ready for the next command.
    int readySince = 0;
    bool readStarted = false;
    long rssDuringWrite = 0;
    std::int64_t writeStarted = 0;
    std::int64_t boxSeen = 0;
    int status = 0;
    const auto& link = desktop.program().session().state().link;
    const qm::link::Link& engine = desktop.link().engine();
    auto* read = desktop.window().findChild<QAction*>("read");
    auto* write = desktop.window().findChild<QAction*>("write");
    QTimer driver;
    driver.setInterval(20);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            const QString title = box->windowTitle();
            if (step != Step::Writing || title != "Download Complete") {
                std::cerr << "unexpected box: " << title.toStdString() << '\n';
                status = 1;
            }
            rssDuringWrite = peakRssKb();
            boxSeen = monotonicNs();
            if (auto* dialog = qobject_cast<QDialog*>(box))
                dialog->accept();
            QTimer::singleShot(0, &application, &QApplication::quit);
            driver.stop();
            return;
        }
        // A person gives the next command a while after the last one ended: the driver waits one tick more, so
        // the last redraw of a command counts for that command, not for the next.
        const auto settled = [&readySince](bool ready) {
            readySince = ready ? readySince + 1 : 0;
            return readySince > 1;
        };
        switch (step) {
        case Step::Identifying:
            if (settled(link.firmwareVersion != 0 && engine.activity() == qm::link::Command::Probe &&
                        read->isEnabled())) {
                readySince = 0;
                meter.phase = "read";
                step = Step::Reading;
                read->trigger();
            }
            break;
        case Step::Reading:
            readStarted = readStarted || engine.activity() == qm::link::Command::Upload;
            if (settled(readStarted && engine.activity() == qm::link::Command::Probe && write->isEnabled())) {
                meter.phase = "write";
                step = Step::Writing;
                writeStarted = monotonicNs();
                write->trigger();
            }
            break;
        case Step::Writing:
            break;
        }
    });
    driver.start();
    QTimer::singleShot(20'000, &application, [&] {
        std::cerr << "the session did not finish\n";
        std::exit(1);
    });
    FirstPaint firstPaint;
    desktop.window().installEventFilter(&firstPaint);
    meter.painted = [&firstPaint] { return firstPaint.painted; };
    const auto built = monotonicNs();
    if (!desktop.start())
        return 1;
    const auto constructed = monotonicNs();
    meter.shown = true;
    QApplication::exec();

    // One redraw of every control, as after each event.
    constexpr int kDraws = 50;
    const auto drawsStart = monotonicNs();
    for (int i = 0; i < kDraws; ++i)
        desktop.binder().draw();
    const double drawMs = msBetween(drawsStart, monotonicNs()) / kDraws;

    std::cout << "shown_idle_ms " << msBetween(spawned, meter.firstBlock) << '\n'
              << "construction_ms " << msBetween(spawned, constructed) << '\n'
              << "until_main_ms " << msBetween(spawned, mainEntered) << '\n'
              << "application_ms " << msBetween(mainEntered, applicationMade) << '\n'
              << "ports_ms " << msBetween(applicationMade, portsMade) << '\n'
              << "desktop_built_ms " << msBetween(portsMade, built) << '\n'
              << "start_ms " << msBetween(built, constructed) << '\n'
              << "hold_startup_ms " << meter.longest["startup"] << '\n'
              << "hold_read_ms " << meter.longest["read"] << '\n'
              << "hold_write_ms " << meter.longest["write"] << '\n'
              << "cpu_startup_ms " << meter.mostCpu["startup"] << '\n'
              << "cpu_read_ms " << meter.mostCpu["read"] << '\n'
              << "cpu_write_ms " << meter.mostCpu["write"] << '\n'
              << "rss_write_kb " << rssDuringWrite << '\n'
              << "draw_ms " << drawMs << '\n'
              << "write_longest_ended_ms " << msBetween(writeStarted, meter.longestEnded["write"]) << '\n'
              << "write_box_seen_ms " << msBetween(writeStarted, boxSeen) << '\n';
    return status;
}
