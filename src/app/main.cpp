// quellmark: the Quellmark Configuration Program's desktop window.
#include "app/Desktop.h"
#include "app/SingleCopyLock.h"
#include "app/SystemPorts.h"

#include <QApplication>
#include <QMessageBox>
#include <QSysInfo>

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

    const auto lock = qm::app::takeSingleCopyLock(
        qm::app::singleCopyLockPath(std::getenv("XDG_RUNTIME_DIR"), std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"),
                                    QSysInfo::machineHostName().toStdString()));
    if (lock.state == qm::app::SingleCopyLock::State::NotTaken)
        std::fprintf(stderr, "quellmark: no single-copy lock could be made; a second copy will not be stopped.\n");
    if (lock.state == qm::app::SingleCopyLock::State::HeldByAnotherCopy) {
        const auto box = qm::shell::Program::alreadyRunningBox();
        QMessageBox(QMessageBox::Warning, QString::fromLatin1(box.title.c_str()), QString::fromLatin1(box.text.c_str()))
            .exec();
        return 0;
    }

    qm::app::SystemPorts system;
    qm::app::Desktop desktop(system.desktopPorts());
    if (!desktop.start())
        return 0;
    QObject::connect(&application, &QCoreApplication::aboutToQuit, [&desktop] { desktop.keepWindowPlace(); });
    return QApplication::exec();
}
