// quellmark: the Quellmark Configuration Program's desktop window.
#include "app/Desktop.h"
#include "app/SystemPorts.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QMessageBox>
#include <QStandardPaths>

#include <csignal>
#include <memory>

namespace
{

/// Returns the lock that keeps a second copy of the program from starting, or nothing when another copy has it.
std::unique_ptr<QLockFile> takeSingleCopyLock()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    auto lock = std::make_unique<QLockFile>(folder + "/quellmark.lock");
    // A lock left by a copy that was killed is taken over at once.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(100))
        return nullptr;
    return lock;
}

} // namespace

int main(int argc, char** argv)
{
    // A save past the file-size limit must fail with EFBIG and show the disk-full box, instead of the signal
    // ending the program and losing the user's unsaved work.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    QApplication::setApplicationName("Quellmark");

    const auto lock = takeSingleCopyLock();
    if (!lock) {
        const auto box = qm::shell::Program::alreadyRunningBox();
        QMessageBox(QMessageBox::Warning, QString::fromLatin1(box.title.c_str()), QString::fromLatin1(box.text.c_str()))
            .exec();
        return 0;
    }

    qm::app::SystemPorts system;
    qm::app::Desktop desktop(system.desktopPorts());
    if (!desktop.start())
        return 0;
    return QApplication::exec();
}
