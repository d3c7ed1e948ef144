// quellmark: the Quellmark Configuration Program's desktop window.
#include "app/Desktop.h"
#include "qt/PosixFileSystem.h"
#include "qt/QtPrinter.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTimer.h"
#include "qt/SystemClock.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QMessageBox>
#include <QStandardPaths>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <optional>

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

    qm::shell::Environment environment;
    environment.folders = qm::qt::currentProgramFolders();
    environment.currentFolder = QDir::currentPath().toStdString();
    // The default printer, when at least one printer with a name is installed.
    const std::string printerName = qm::qt::QtPrinter::defaultPrinterName();
    std::optional<qm::qt::QtPrinter> printer;
    if (!printerName.empty()) {
        printer.emplace(qm::qt::QtPrinter::systemPrinter(printerName));
        const QFont font = QApplication::font();
        environment.printerFont =
            qm::shell::FontSettings{font.family().toStdString(), font.pointSize(), false, false, false, false};
    }

    qm::qt::PosixFileSystem files;
    qm::qt::QtSerialPort serialPort;
    qm::qt::QtTimer echoTimer(500);
    qm::qt::QtTimer readTimeOutTimer(5000);
    qm::qt::QtTimer writeTimeOutTimer(5000);
    qm::qt::SystemClock clock;
    qm::shell::Backups backups(files, clock,
                               qm::shell::backupFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
    qm::app::Desktop desktop({files, serialPort, echoTimer, readTimeOutTimer, writeTimeOutTimer, environment, &backups,
                              printer ? &*printer : nullptr, &clock});
    if (!desktop.start())
        return 0;
    return QApplication::exec();
}
