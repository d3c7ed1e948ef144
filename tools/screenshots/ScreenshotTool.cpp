// Takes the README's screenshots on the screen scripts/screenshots provides: each mode with its example and a unit
// answering, Restore from Backup, Print Preview, Copy This Profile to, the Special Path completions.
#include "app/Desktop.h"
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
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <cstdio>
#include <functional>

int main(int argc, char** argv)
{
    using namespace qm;
    QApplication application(argc, argv);
    if (argc != 3)
        return std::fprintf(stderr, "usage: screenshot_tool EXAMPLES_FOLDER OUTPUT_FOLDER\n"), 2;
    const std::string examples = argv[1];
    const QString output = QString::fromLocal8Bit(argv[2]);
    QTemporaryDir program;
    const std::string folder = program.path().toStdString();
    qt::PosixFileSystem files;
    files.writeFileAtomically(folder + "/vq3.ini", storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE",
                                                                       "Reserved", "Reserved", "Reserved"}));
    fakes::ScriptedUi ui;
    fakes::FakeSerialPort port;
    fakes::FakeTimer probeTimer(500), readTimer(5000), writeTimer(5000);
    fakes::FakeClock clock;
    shell::Backups backups(files, clock, folder + "/backups");
    app::Desktop desktop({files, port, probeTimer, readTimer, writeTimer,
                          shell::Environment{{folder, folder}, examples, {}}, &backups, nullptr, &clock},
                         &ui);
    QMainWindow& window = desktop.window();
    if (!desktop.start() || !QTest::qWaitForWindowExposed(&window) ||
        !QTest::qWaitFor([&] { return window.frameGeometry() != window.geometry(); }, 5000))
        return std::fprintf(stderr, "the window manager did not frame the main window\n"), 1;
    probeTimer.tick();
    port.deliver("\xAA");
    port.deliver(std::string("U\x01\x02", 3) + std::string(128, '\0'));
    const auto shoot = [&](const QString& name, const std::function<void()>& arrange) {
        for (QDialog* dialog : window.findChildren<QDialog*>())
            dialog->reject();
        arrange();
        QTest::qWait(400);
        const QString file = output + "/" + name + ".png";
        const bool saved = window.screen()->grabWindow(0).save(file);
        std::fprintf(saved ? stdout : stderr, saved ? "%s\n" : "cannot write %s\n", qPrintable(file));
        return saved;
    };
    const auto open = [&](const std::string& name) {
        desktop.program().session().openConfigurationFile(examples + "/" + name + ".vq3");
    };
    bool shot = true;
    for (const char* name : {"telemetry", "beacon", "nmea", "tracking", "alarm"})
        shot =
            shot && shoot(name, [&] { open(name), probeTimer.tick(), port.deliver("\xAA"), desktop.binder().draw(); });

    for (const char* name : {"beacon", "tracking", "nmea"}) {
        shell::Session other(files);
        other.startUp();
        other.openConfigurationFile(examples + "/" + name + ".vq3");
        other.saveShownProfiles();
        backups.record(link::Transaction::Read, "VQ-3+", 2, other.checkAndCompile().downloadImage.substr(1));
        ++clock.time.hour;
    }
    open("tracking");
    desktop.program().textChanged("TrkMyCall", "K1ABC");
    desktop.binder().draw();
    const auto trigger = [&](const char* name) { window.findChild<QAction*>(name)->trigger(); };
    return shot &&
                   shoot("restore-backup",
                         [&] {
                             trigger("restorebackup");
                             auto* list = window.findChild<QTreeWidget*>("BackupList");
                             list->setCurrentItem(list->topLevelItem(1));
                         }) &&
                   shoot("print-preview", [&] { trigger("printpreview"); }) &&
                   shoot("copy-profile",
                         [&] {
                             window.findChild<QPushButton*>("TrkProfileCopy")->click();
                             for (const char* box : {"CopyTo2", "CopyTo3", "CopyTo4"})
                                 window.findChild<QCheckBox*>(box)->setChecked(true);
                         }) &&
                   shoot("path-completion",
                         [&] {
                             auto* special = window.findChild<QLineEdit*>("TrkSpecPath2");
                             special->setFocus();
                             QTest::keyClicks(special, "w");
                             special->completer()->complete();
                         })
               ? 0
               : 1;
}
