// quellmark: the Quellmark Configuration Program's desktop window.
#include "app/Desktop.h"
#include "app/RunningCopy.h"
#include "app/SingleCopyLock.h"
#include "app/SystemPorts.h"

#include <QApplication>
#include <QMessageBox>
#include <QSysInfo>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    // A save past the file-size limit must fail with EFBIG and show the disk-full box, instead of the signal
    // ending the program and losing the user's unsaved work.
    std::signal(SIGXFSZ, SIG_IGN);
    // Answered before any window system is needed: an installation is checked from a plain terminal.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("quellmark %s\n", QM_VERSION);
            return 0;
        }
    QApplication application(argc, argv);
    QApplication::setApplicationName("Quellmark");

    const QString file = qm::app::commandLineFile(QApplication::arguments());
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
    if (!desktop.start())
        return 0;
    if (!file.isEmpty())
        desktop.openFile(file);
    // A second start is answered once this copy has started (its first-run questions answered), so a file it hands
    // over is not replaced by the start-up.
    qm::app::RunningCopyServer runningCopy;
    if (lock.state == qm::app::SingleCopyLock::State::Taken) {
        QObject::connect(&runningCopy, &qm::app::RunningCopyServer::raiseRequested, [&desktop] { desktop.raise(); });
        QObject::connect(&runningCopy, &qm::app::RunningCopyServer::openRequested, [&desktop](const QString& path) {
            desktop.raise();
            // The opening may ask a question: it runs from the event loop, after the second start has its answer.
            QTimer::singleShot(0, &desktop.window(), [&desktop, path] { desktop.openFile(path); });
        });
        if (!runningCopy.listen(socketPath))
            std::fprintf(stderr,
                         "quellmark: a second start cannot reach this copy; it will say it is already running.\n");
    }
    QObject::connect(&application, &QCoreApplication::aboutToQuit, [&desktop] { desktop.keepWindowPlace(); });
    return QApplication::exec();
}
