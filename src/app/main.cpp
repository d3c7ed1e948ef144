// quellmark: the Quellmark Configuration Program's desktop window.
#include "app/Desktop.h"
#include "app/RunningCopy.h"
#include "app/SingleCopyLock.h"
#include "app/SystemPorts.h"
#include "qt/SignalCatcher.h"

#include <QApplication>
#include <QMessageBox>
#include <QSysInfo>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

/// The longest the program waits, after a signal, for the port to close before it ends all the same.
constexpr int kSignalEndLimitMs = 5000;

/// Prints the version; false (with the reason on standard error) when it could not be written.
bool printVersion()
{
    if (std::printf("quellmark %s\n", QM_VERSION) >= 0 && std::fflush(stdout) == 0)
        return true;
    std::fprintf(stderr, "quellmark: cannot write standard output: %s\n", std::strerror(errno));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    // A save past the file-size limit must fail with EFBIG and show the disk-full box, instead of the signal
    // ending the program and losing the user's unsaved work.
    std::signal(SIGXFSZ, SIG_IGN);
    // Answered before any window system is needed: an installation is checked from a plain terminal.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--version") == 0)
            return printVersion() ? 0 : 2;
    QApplication application(argc, argv);
    QApplication::setApplicationName("Quellmark");

    // The toolkit has taken its own options out of argv; a file's name stays the system's bytes.
    const std::string file = qm::app::commandLineFile(argc, argv);
    // Folders of another user (HOME kept by sudo -E) are left alone: what would go there is not kept.
    const auto own = qm::qt::userFolders("quellmark");
    if (!own.notice.empty())
        std::fprintf(stderr, "%s\n", own.notice.c_str());
    const std::string lockPath =
        qm::app::singleCopyLockPath(std::getenv("XDG_RUNTIME_DIR"), own.folders.xdgCacheHome.c_str(),
                                    own.folders.home.c_str(), QSysInfo::machineHostName().toStdString());
    const QString socketPath = qm::app::runningCopySocketPath(lockPath);
    const auto lock = qm::app::takeSingleCopyLock(lockPath);
    if (lock.state == qm::app::SingleCopyLock::State::NotTaken)
        std::fprintf(stderr, "quellmark: no single-copy lock could be made; a second copy will not be stopped.\n");
    if (lock.state == qm::app::SingleCopyLock::State::HeldByAnotherCopy) {
        // The running copy comes to the front with the file; only when it cannot be reached is this copy's box shown.
        if (qm::app::handToRunningCopy(socketPath, file))
            return 0;
        const auto box = qm::shell::Program::alreadyRunningBox();
        QMessageBox(QMessageBox::Warning, QString::fromLatin1(box.title.c_str()), QString::fromLatin1(box.text.c_str()))
            .exec();
        return 0;
    }

    qm::app::SystemPorts system;
    qm::app::Desktop desktop(system.desktopPorts());
    // A signal that ends the program lets a transfer under way end properly and releases the port first.
    int endingSignal = 0;
    qm::qt::SignalCatcher endingSignals(qm::qt::SignalPipe::endingSignals(), [&desktop, &endingSignal](int signal) {
        if (endingSignal != 0)
            return;
        endingSignal = signal;
        QTimer::singleShot(kSignalEndLimitMs, [] { QCoreApplication::exit(0); });
        desktop.endOnSignal();
    });
    const bool started = desktop.start();
    if (!started || endingSignal != 0)
        return endingSignal != 0 ? 128 + endingSignal : 0;
    if (!file.empty())
        desktop.openFile(file);
    // A second start is answered once this copy has started (its first-run questions answered), so a file it hands
    // over is not replaced by the start-up.
    qm::app::RunningCopyServer runningCopy;
    if (lock.state == qm::app::SingleCopyLock::State::Taken) {
        QObject::connect(&runningCopy, &qm::app::RunningCopyServer::raiseRequested, [&desktop] { desktop.raise(); });
        QObject::connect(&runningCopy, &qm::app::RunningCopyServer::openRequested, [&desktop](const QByteArray& path) {
            desktop.raise();
            // The opening may ask a question: it runs from the event loop, after the second start
            // has its answer.
            QTimer::singleShot(0, &desktop.window(), [&desktop, path] {
                desktop.openFile(std::string(path.constData(), static_cast<std::size_t>(path.size())));
            });
        });
        if (!runningCopy.listen(socketPath))
            std::fprintf(stderr,
                         "quellmark: a second start cannot reach this copy; it will say it is already running.\n");
    }
    QObject::connect(&application, &QCoreApplication::aboutToQuit, [&desktop] { desktop.keepWindowPlace(); });
    const int status = QApplication::exec();
    return endingSignal != 0 ? 128 + endingSignal : status;
}
