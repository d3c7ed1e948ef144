// Takes the README's screenshots: the whole screen with the main window, as it opens, in each of the five modes, each
// showing a bundled example, with a simulated VQ-3+ answering on the port; then Restore from Backup, Print Preview,
// Copy This Profile to and the Special Path completions. scripts/screenshots runs it on a 1366x768 screen with a
// window manager. Usage: screenshot_tool EXAMPLES_FOLDER OUTPUT_FOLDER
#include "app/CopyProfileDialog.h"
#include "app/Desktop.h"
#include "app/RestoreBackupDialog.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "fakes/ScriptedUi.h"
#include "qt/PosixFileSystem.h"
#include "storage/ConfigFile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCompleter>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <cstdio>
#include <functional>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshot_tool EXAMPLES_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string examples = argv[1];
    const QString output = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(output);

    QTemporaryDir programFolder;
    qm::qt::PosixFileSystem files;
    files.writeFileAtomically(
        programFolder.path().toStdString() + "/vq3.ini",
        qm::storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"}));
    qm::fakes::ScriptedUi ui;
    qm::fakes::FakeSerialPort port;
    qm::fakes::FakeTimer echoTimer(500);
    qm::fakes::FakeTimer readTimer(5000);
    qm::fakes::FakeTimer writeTimer(5000);
    qm::shell::Environment environment{
        {programFolder.path().toStdString(), programFolder.path().toStdString()}, examples, std::nullopt};
    qm::fakes::FakeClock clock;
    qm::shell::Backups backups(files, clock, programFolder.path().toStdString() + "/backups");
    qm::app::Desktop desktop({files, port, echoTimer, readTimer, writeTimer, environment, &backups, nullptr, &clock},
                             &ui);
    if (!desktop.start())
        return 1;
    // The window manager frames the window and the program places it on the screen before the first picture.
    QMainWindow& window = desktop.window();
    if (!QTest::qWaitForWindowExposed(&window) ||
        !QTest::qWaitFor([&] { return window.frameGeometry() != window.geometry(); }, 5000)) {
        std::fprintf(stderr, "the main window did not appear framed on the screen\n");
        return 1;
    }
    if (!QTest::qWaitFor([&] { return window.screen()->availableGeometry().contains(window.frameGeometry()); }, 5000))
        std::fprintf(stderr, "the main window is not within the screen\n");

    echoTimer.tick();
    port.deliver(std::string(1, '\xAA'));
    port.deliver(std::string("U\x01\x02", 3) + std::string(128, '\0'));

    const char* names[] = {"telemetry", "beacon", "nmea", "tracking", "alarm"};
    for (const char* name : names) {
        desktop.program().session().openConfigurationFile(examples + "/" + name + ".vq3");
        echoTimer.tick();
        port.deliver(std::string(1, '\xAA'));
        desktop.binder().draw();
        QTest::qWait(200);
        const QString file = output + "/" + name + ".png";
        if (!window.screen()->grabWindow(0).save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(file));
    }

    const auto shoot = [&](const char* name, const std::function<void()>& arrange) {
        arrange();
        QTest::qWait(400);
        const QString file = output + "/" + name + ".png";
        if (!window.screen()->grabWindow(0).save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return false;
        }
        std::printf("%s\n", qPrintable(file));
        return true;
    };
    const auto closeDialogs = [&] {
        for (QDialog* dialog : window.findChildren<QDialog*>())
            if (dialog->isVisible())
                dialog->reject();
        QTest::qWait(100);
    };
    const auto imageOf = [&](const char* name) {
        qm::shell::Session other(files);
        other.startUp();
        other.openConfigurationFile(examples + "/" + name + ".vq3");
        other.saveShownProfiles();
        return other.checkAndCompile().downloadImage.substr(1);
    };
    backups.record(qm::link::Transaction::Identification, "VQ-3+", 2, imageOf("beacon"));
    clock.time.hour = 9;
    backups.record(qm::link::Transaction::Read, "VQ-3+", 2, imageOf("tracking"));
    clock.time.day = 7;
    backups.record(qm::link::Transaction::Read, "VQ-3+", 2, imageOf("nmea"));

    desktop.program().session().openConfigurationFile(examples + "/tracking.vq3");
    desktop.program().textChanged("TrkMyCall", "K1ABC");
    desktop.binder().draw();
    const bool shot =
        shoot("restore-backup",
              [&] {
                  window.findChild<QAction*>("restorebackup")->trigger();
                  auto* list = window.findChild<QTreeWidget*>("BackupList");
                  list->setCurrentItem(list->topLevelItem(1));
              }) &&
        (closeDialogs(), shoot("print-preview", [&] { window.findChild<QAction*>("printpreview")->trigger(); })) &&
        (closeDialogs(), shoot("copy-profile",
                               [&] {
                                   window.findChild<QPushButton*>("TrkProfileCopy")->click();
                                   for (const char* box : {"CopyTo2", "CopyTo3", "CopyTo4"})
                                       window.findChild<QCheckBox*>(box)->setChecked(true);
                               })) &&
        (closeDialogs(), shoot("path-completion", [&] {
             auto* special = window.findChild<QLineEdit*>("TrkSpecPath2");
             special->setFocus();
             QTest::keyClicks(special, "w");
             special->completer()->complete();
         }));
    return shot ? 0 : 1;
}
