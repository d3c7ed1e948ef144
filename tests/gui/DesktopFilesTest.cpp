// The assembled desktop program on real files with its real boxes and file dialogs: the first run, the
// unsaved-changes question before every command that drops the edits, the keys, Save As, the recent files, drops,
// a second start and the lock that tells it, the Serial Port menu on pseudo-terminals and backups restored.
#include "Desktops.h"

#include "app/HelpViewer.h"
#include "app/RunningCopy.h"
#include "app/SingleCopyLock.h"
#include "app/SystemPorts.h"
#include "qt/ComPorts.h"
#include "qt/PseudoTerminal.h"
#include "qt/QtSerialPort.h"
#include "shell/Document.h"
#include "shell/ShellRig.h"

#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QUrl>

#include <algorithm>
#include <future>
#include <memory>

namespace qm::app::guitest
{
namespace
{

class DesktopFilesTest : public DesktopOnTempFolder
{
protected:
    /// Opens t.vq3 and types into its comment field, as a person does.
    void openAndEdit()
    {
        desktop->openFile(folder.filePath("t.vq3"));
        QTest::mouseClick(find("TrkComments"), Qt::LeftButton);
        QTest::keyClick(find("TrkComments"), Qt::Key_End);
        QTest::keyClicks(find("TrkComments"), "EDITED");
        ASSERT_EQ(title(), "t.vq3* - Quellmark Configuration Program");
    }

    /// Chooses an item with the mouse: its menu's title in the menu bar, then the item, then the item of the submenu
    /// it opens if one is named (a command on the bar itself takes the one click).
    void choose(const char* menuName, const char* itemName, const char* subItem = nullptr)
    {
        QMenuBar* bar = desktop->window().menuBar();
        if (!menuName)
            return QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(action(itemName)).center());
        auto* menu = find<QMenu>(menuName);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        QTRY_VERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action(itemName)).center());
        auto* submenu = desktop->window().findChild<QMenu*>(itemName);
        QTRY_VERIFY(!submenu || submenu->isVisible());
        if (subItem)
            QTest::mouseClick(submenu, Qt::LeftButton, {}, submenu->actionGeometry(action(subItem)).center());
    }

    /// Chooses File > Restore from Backup and returns the list it opens.
    QTreeWidget* restoreList()
    {
        choose("file", "restorebackup");
        restore = desktop->window().findChildren<QDialog*>("RestoreBackup").last();
        return restore->findChild<QTreeWidget*>("BackupList");
    }
    QString shownDifferences() { return restore->findChild<QPlainTextEdit*>("BackupDifferences")->toPlainText(); }

    QDialog* restore = nullptr;
};

/// Runs the action in the application's event loop, as the program runs its commands: 0 when it ended the
/// program, 2 when the program went on.
int inEventLoop(const std::function<void()>& act)
{
    QObject context;
    QTimer::singleShot(0, &context, [&] {
        act();
        QTimer::singleShot(0, &context, [] { QCoreApplication::exit(2); });
    });
    return QApplication::exec();
}

TEST_F(DesktopFilesTest, TheFirstRunAsksForPortAndCallsignAndKeepsTheAnswersInTheUsersFolder)
{
    ASSERT_TRUE(QFile::remove(folder.filePath("vq3.ini")));
    QStringList prompts;
    QStringList answers{"1", "k1abc"};
    Answerer answerer([&](QDialog& dialog) {
        prompts << dialog.windowTitle();
        auto* input = qobject_cast<QInputDialog*>(&dialog);
        input ? input->setTextValue(answers.takeFirst()) : void();
        dialog.accept();
    });
    const std::string home = folder.path().toStdString();
    desktop = std::make_unique<Desktop>(DesktopPorts{files, port, probeTimer, readTimer, writeTimer,
                                                     shell::Environment{{home + "/program", home + "/cfg"}, home, {}}});
    ASSERT_TRUE(desktop->start());
    EXPECT_EQ(prompts, QStringList({"Serial Port Selection", "CallSign Selection"}));
    EXPECT_EQ(contents("cfg/vq3.ini"),
              storage::joinLines({"1", "K1ABC", "0", "0", "6", "2", "TRUE", "Reserved", "Reserved", "Reserved"}));
    EXPECT_TRUE(action("com1")->isChecked());
    EXPECT_EQ(find<QLineEdit>("TrkMyCall")->text(), "K1ABC");
    EXPECT_EQ(find<QComboBox>("TrkTxDelay")->currentText(), "293 ms *");
    EXPECT_TRUE(desktop->welcome().isVisible());
    EXPECT_FALSE(desktop->window().isEnabled());
    emit desktop->welcome().okClicked();
    EXPECT_FALSE(desktop->welcome().isVisible());
    EXPECT_TRUE(desktop->window().isEnabled());
}

enum class Command
{
    Exit,
    New,
    Open,
    Read,
    Close
};

class UnsavedChangesAnswerTest : public DesktopFilesTest,
                                 public ::testing::WithParamInterface<std::tuple<Command, const char*>>
{};

TEST_P(UnsavedChangesAnswerTest, EachCommandAsksAndTheAnswerDecides)
{
    const auto [command, answer] = GetParam();
    start();
    openAndEdit();
    windows().main.menus.read.setEnabled(true);
    desktop->binder().draw();
    port.takeSent();
    const std::string original = contents("t.vq3");
    write("t2.vq3", example("tracking.vq3"));
    // Open reads the file it was given before it asks about what the file would replace.
    Answerer answerer(command == Command::Open ? QStringList{"t2.vq3", answer} : QStringList{answer, "t2.vq3"});
    const int loop = inEventLoop([&] {
        switch (command) {
        case Command::Exit:
            return choose("file", "exit");
        case Command::New:
            return choose("file", "newconfiguration");
        case Command::Open:
            return choose("file", "openconfiguration");
        case Command::Read:
            return choose(nullptr, "read");
        case Command::Close:
            desktop->window().close();
        }
    });
    ASSERT_EQ(answerer.boxes.size(), 1u);
    const QString text = QString::fromStdString(shell::unsavedChangesBox("t.vq3", forms::Mode::Tracking).text);
    EXPECT_EQ(answerer.boxes[0],
              QStringList({"Unsaved Changes", QString(text).replace("\r\n", "\n"),
                           QString::number(QMessageBox::Warning), "&Save", "&Save", "&Discard", "Cancel"}));
    const bool goesOn = answer != std::string("Cancel");
    const bool ends = command == Command::Exit || command == Command::Close;
    EXPECT_EQ(contents("t.vq3") != original, answer == std::string("&Save"));
    EXPECT_EQ(loop, ends && goesOn ? 0 : 2);
    EXPECT_EQ(port.isOpen(), !(ends && goesOn));
    const std::string& comments = windows().tracking.TrkComments.text();
    if (!goesOn) {
        EXPECT_TRUE(comments.ends_with("EDITED"));
        EXPECT_EQ(title(), "t.vq3* - Quellmark Configuration Program");
    }
    EXPECT_TRUE(command != Command::New || comments.empty() == goesOn);
    EXPECT_TRUE(command != Command::Open || (title() == "t2.vq3 - Quellmark Configuration Program") == goesOn);
    EXPECT_TRUE(command != Command::Read || (port.takeSent() == "U") == goesOn);
}

INSTANTIATE_TEST_SUITE_P(EveryCommandEveryAnswer, UnsavedChangesAnswerTest,
                         ::testing::Combine(::testing::Values(Command::Exit, Command::New, Command::Open, Command::Read,
                                                              Command::Close),
                                            ::testing::Values("&Save", "&Discard", "Cancel")));

TEST_F(DesktopFilesTest, EachWindowKeepsItsOwnUnsavedChangesThroughNewSaveAsAndExit)
{
    start();
    const auto keys = [&](const QKeySequence& sequence) {
        desktop->window().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&desktop->window()));
        return inEventLoop([&] {
            QTest::keySequence(QApplication::focusWidget() ? QApplication::focusWidget() : &desktop->window(),
                               sequence);
        });
    };
    choose("mode", "telemetry");
    QTest::mouseClick(find("TelSpecPath1"), Qt::LeftButton);
    QTest::keyClicks(find("TelSpecPath1"), "wide3-3");
    QTest::keyClick(find("TelSpecPath1"), Qt::Key_Tab);
    EXPECT_EQ(title(), "Untitled* - Quellmark Configuration Program");
    choose("mode", "beacon");

    // New clears Beacon, which holds nothing to lose: nothing is asked, and Telemetry keeps its text and its mark.
    {
        Answerer none(QStringList{});
        EXPECT_EQ(keys(Qt::CTRL | Qt::Key_N), 2);
        EXPECT_EQ(none.seen, 0);
    }
    EXPECT_EQ(find<QLineEdit>("TelSpecPath1")->text(), "WIDE3-3");
    EXPECT_EQ(title(), "Untitled* - Quellmark Configuration Program");

    // Save As in Beacon mode saves Beacon; Telemetry's changes are still not in any file.
    {
        Answerer saveAs({"bcn.vq3"});
        choose("file", "saveconfiguration");
        EXPECT_EQ(saveAs.seen, 1);
    }
    EXPECT_EQ(storage::splitLines(contents("bcn.vq3")).front(), "1");
    EXPECT_EQ(title(), "bcn.vq3* - Quellmark Configuration Program");

    // Exit asks about Telemetry by its name, and Save saves Telemetry, under a name of its own.
    Answerer exit({"&Save", "tel.vq3"});
    EXPECT_EQ(keys(Qt::CTRL | Qt::Key_Q), 0);
    ASSERT_EQ(exit.boxes.size(), 1u);
    EXPECT_EQ(exit.boxes[0][1],
              QString::fromStdString(shell::unsavedChangesBox("", forms::Mode::Telemetry).text).replace("\r\n", "\n"));
    const auto saved = storage::splitLines(contents("tel.vq3"));
    ASSERT_GT(saved.size(), 10u);
    EXPECT_EQ(saved[0], "0");
    EXPECT_EQ(saved[10], "WIDE3-3");
}

TEST_F(DesktopFilesTest, TheEmptyModeAreaSaysWhatToDoAndItsButtonsDoIt)
{
    start();
    auto* hint = find("ModeAreaHint");
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(find<QLabel>("ModeAreaHintText")->text().toStdString(), windows().main.ModeAreaHintText.caption());
    EXPECT_TRUE(find<QMdiArea>("ModeWindowFrame")->viewport()->rect().contains(hint->geometry()));
    EXPECT_FALSE(find("ReadUnitButton")->isEnabled());

    // Open a File... opens the Open dialog; the file's window then fills the area.
    Answerer open({"b.vq3"});
    QTest::mouseClick(find("OpenFileButton"), Qt::LeftButton);
    QTRY_VERIFY(!hint->isVisible());
    EXPECT_EQ(desktop->program().session().state().currentMode, forms::Mode::Beacon);

    // With the window closed the hint is back; Choose a Mode opens the Mode menu there.
    auto* beacon = qobject_cast<QMdiSubWindow*>(find("Form2"));
    ASSERT_NE(beacon, nullptr);
    beacon->close();
    QTRY_VERIFY(hint->isVisible());
    QTest::mouseClick(find("ChooseModeButton"), Qt::LeftButton);
    auto* modes = find<QMenu>("mode");
    QTRY_VERIFY(modes->isVisible());
    QTest::mouseClick(modes, Qt::LeftButton, {}, modes->actionGeometry(action("nmea")).center());
    QTRY_VERIFY(!hint->isVisible());
    EXPECT_EQ(desktop->program().session().state().currentMode, forms::Mode::Nmea);

    // Read the VQ-3 reads once a unit answers.
    find<QMdiSubWindow>("Form3")->close();
    QTRY_VERIFY(hint->isVisible());
    connect(true);
    QTRY_VERIFY(find("ReadUnitButton")->isEnabled());
    port.takeSent();
    QTest::mouseClick(find("ReadUnitButton"), Qt::LeftButton);
    EXPECT_EQ(port.takeSent(), "U");
}

TEST_F(DesktopFilesTest, EachKeyRunsItsCommandWhileAFieldIsBeingTyped)
{
    const std::tuple<QKeySequence, QStringList, std::function<bool()>> commands[] = {
        {Qt::CTRL | Qt::Key_S,
         {},
         [&] { return contents("t.vq3").ends_with("EDITED\r\n") && title().startsWith("t.vq3 - "); }},
        {Qt::CTRL | Qt::Key_O, {"t2.vq3", "&Discard"}, [&] { return title().startsWith("t2.vq3 - "); }},
        {Qt::CTRL | Qt::Key_N, {"&Discard"}, [&] { return windows().tracking.TrkComments.text().empty(); }},
        {Qt::CTRL | Qt::Key_R, {"&Discard"}, [&] { return port.takeSent() == "U"; }},
        {Qt::CTRL | Qt::Key_D, {}, [&] { return port.takeSent().starts_with("D"); }},
        {Qt::Key_F1, {}, [] { return qobject_cast<HelpViewer*>(QApplication::activeWindow()) != nullptr; }},
        {Qt::CTRL | Qt::Key_Q, {"&Discard"}, [&] { return !port.isOpen(); }},
    };
    for (const auto& [keys, answers, done] : commands) {
        SCOPED_TRACE(keys.toString().toStdString());
        write("t.vq3", example("tracking.vq3"));
        write("t2.vq3", example("tracking.vq3"));
        start();
        openAndEdit();
        connect(true);
        port.takeSent();
        Answerer answerer(answers);
        const int loop = inEventLoop([&] { QTest::keySequence(QApplication::focusWidget(), keys); });
        EXPECT_TRUE(done());
        EXPECT_EQ(answerer.seen, answers.size());
        EXPECT_EQ(loop, keys == QKeySequence(Qt::CTRL | Qt::Key_Q) ? 0 : 2);
    }
}

TEST_F(DesktopFilesTest, SaveAsOffersCallsignAndModeInTheFolderLastUsedAndAddsTheExtensionUnderItsFilter)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("club"));
    write("club/t.vq3", example("tracking.vq3"));
    start();
    desktop->openFile(folder.filePath("club/t.vq3"));
    for (const bool allFiles : {false, true}) {
        QString offered;
        Answerer answerer([&](QDialog& dialog) {
            auto* fileDialog = qobject_cast<QFileDialog*>(&dialog);
            if (!fileDialog)
                return dialog.reject();
            auto* name = fileDialog->findChild<QLineEdit*>("fileNameEdit");
            offered = fileDialog->directory().filePath(name->text());
            if (allFiles)
                fileDialog->selectNameFilter(fileDialog->nameFilters().last());
            QTest::keyClicks(name, "plain");
            QTest::keyClick(name, Qt::Key_Return);
        });
        choose("file", "saveconfiguration");
        EXPECT_EQ(answerer.seen, 1);
        EXPECT_EQ(offered, folder.filePath("club/N0CALL-tracking.vq3"));
        EXPECT_EQ(contents(allFiles ? "club/plain" : "club/plain.vq3"), contents("club/t.vq3")) << allFiles;
    }
}

TEST_F(DesktopFilesTest, RecentFilesGreyAFileGoneWhenTheMenuOpensAndOpenTheOneChosen)
{
    start();
    desktop->openFile(folder.filePath("b.vq3"));
    desktop->openFile(folder.filePath("t.vq3"));
    EXPECT_EQ(action("recentfile2")->text(), "&2 " + folder.filePath("b.vq3"));
    EXPECT_FALSE(action("recentfile3")->isVisible());
    Answerer answerer(QStringList{});
    for (const bool gone : {true, false}) {
        gone ? void(QFile::remove(folder.filePath("b.vq3"))) : write("b.vq3", example("beacon.vq3"));
        choose("file", "recentfiles", "recentfile2");
        EXPECT_EQ(action("recentfile2")->isEnabled(), !gone);
        EXPECT_EQ(title(), QString(gone ? "t.vq3" : "b.vq3") + " - Quellmark Configuration Program");
        while (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
    }
    EXPECT_EQ(answerer.seen, 0);
}

TEST_F(DesktopFilesTest, ADroppedFileOpensAsFileOpenDoes)
{
    start();
    openAndEdit();
    const QString before = find<QLineEdit>("TrkComments")->text();
    const std::tuple<QString, const char*, bool> cases[] = {
        {"notes.txt", nullptr, false}, {"b.vq3", "Cancel", false}, {"b.vq3", "&Discard", true}};
    for (const auto& [name, answer, opens] : cases) {
        Answerer answerer(answer ? QStringList{answer} : QStringList{});
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(folder.filePath(name))});
        const QPoint at = find("TrkComments")->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(find("TrkComments"), &enter);
        EXPECT_EQ(enter.isAccepted(), name.endsWith(".vq3"));
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(find("TrkComments"), &drop);
        QTest::qWait(50);
        EXPECT_EQ(answerer.boxes.size(), answer ? 1u : 0u);
        EXPECT_EQ(desktop->program().session().state().currentMode == forms::Mode::Beacon, opens);
        EXPECT_EQ(find<QLineEdit>("TrkComments")->text(), before);
    }
}

/// The serial devices the test gives; which COM port opens which follows the environment and the program's rules.
struct FoundDevices : shell::SerialDevices
{
    std::vector<qt::SerialDevice> found;
    std::array<shell::SerialDevice, 4> comPorts() override
    {
        return qt::comDevices(qt::ComPorts(found, qt::processEnvironment()));
    }
    std::vector<shell::SerialDevice> present() override { return {}; }
};

TEST_F(DesktopFilesTest, ThePortMenuNamesTheDevicesAsItOpensAndOtherDeviceOpensTheTypedPath)
{
    qttest::PseudoTerminal unit, cable, other;
    ASSERT_TRUE(unit.valid() && cable.valid() && other.valid());
    qputenv("QUELLMARK_COM1", unit.slavePath().c_str());
    qputenv("QUELLMARK_COM2", cable.slavePath().c_str());
    FoundDevices devices;
    devices.found = {{cable.slavePath(), "USB serial cable", "", {}, {}}};
    qt::QtSerialPort serial;
    const auto closeFirst = qScopeGuard([&] { desktop.reset(); });
    start(&serial, &devices);
    const auto probed = [&](qttest::PseudoTerminal& terminal) {
        probeTimer.tick();
        return QTest::qWaitFor([&] { return !terminal.read(1, std::chrono::milliseconds(1)).empty(); }, 2000);
    };
    EXPECT_TRUE(probed(unit));
    // Between the two openings COM2's device goes and COM3 gets one.
    const std::array<shell::SerialDevice, 4> openings[] = {
        {{{unit.slavePath(), ""}, {cable.slavePath(), "USB serial cable"}, {}, {}}},
        {{{unit.slavePath(), ""}, {}, {cable.slavePath(), "USB serial cable"}, {}}},
    };
    for (const auto& shown : openings) {
        choose("setup", "serialport");
        for (int n = 1; n <= 4; ++n) {
            QAction* item = action(qPrintable(QString("com%1").arg(n)));
            const shell::SerialDevice& device = shown[static_cast<std::size_t>(n - 1)];
            EXPECT_EQ(item->text(), QString::fromStdString(shell::comMenuCaption(n, device))) << n;
            EXPECT_EQ(item->isEnabled(), !device.path.empty()) << n;
            EXPECT_EQ(item->isChecked(), n == 1) << n;
        }
        find<QMenu>("serialport")->hide();
        find<QMenu>("setup")->hide();
        qunsetenv("QUELLMARK_COM2");
        qputenv("QUELLMARK_COM3", cable.slavePath().c_str());
    }
    Answerer answerer([&](QDialog& dialog) {
        auto* list = dialog.findChild<QComboBox*>("DevicePath");
        if (!list)
            return dialog.reject();
        QTest::keyClicks(list->lineEdit(), QString::fromStdString(" " + other.slavePath() + " "));
        QTest::keyClick(list->lineEdit(), Qt::Key_Return);
    });
    choose("setup", "serialport", "otherdevice");
    EXPECT_TRUE(probed(other));
    EXPECT_TRUE(action("otherdevice")->isChecked());
    EXPECT_FALSE(action("com1")->isChecked());
    EXPECT_NE(contents("quellmark.conf").find("OtherDevice=" + other.slavePath() + "\r\n"), std::string::npos);
    EXPECT_EQ(storage::splitLines(contents("vq3.ini"))[0], "1");
}

TEST_F(DesktopFilesTest, RestoreFromBackupListsComparesAsksAndOpensTheChosenOneUntitled)
{
    start();
    EXPECT_EQ(restoreList()->topLevelItemCount(), 0);
    EXPECT_EQ(restore->findChild<QLabel*>("BackupFolder")->text(),
              "No backups in " + folder.filePath("backups") + " yet.");
    QTest::mouseClick(restore->findChild<QWidget*>("CancelBackup"), Qt::LeftButton);

    ASSERT_FALSE(backups.record(link::Transaction::Read, "VQ-3+ ", 2, shell::rig::compiledImage("tracking.vq3")));
    ASSERT_FALSE(backups.record(link::Transaction::Identification, "VQ-3 ", 1, '\x07' + std::string(127, '\0')));
    openAndEdit();
    QTreeWidget* list = restoreList();
    QStringList rows;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        for (int column = 0; column < list->columnCount(); ++column)
            rows << list->topLevelItem(row)->text(column);
    EXPECT_EQ(rows.join('|'), "2026-12-06 08:45:12|VQ-3 firmware 1|mode 7|(none)|identification|"
                              "2026-12-06 08:45:12|VQ-3+ firmware 2|Tracking|N0CALL|read");
    EXPECT_EQ(shownDifferences(), "This backup holds no configuration the program can open.");
    const QPoint tracking = list->visualItemRect(list->topLevelItem(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, tracking);
    EXPECT_EQ(shownDifferences(), "Comments: Mobile stationEDITED -> Mobile station");
    // The edit is in no file: Open asks (within the clicks, the list closed); Cancel keeps it, Discard lets it go.
    Answerer answerer({"Cancel", "&Discard"});
    QTest::mouseClick(restore->findChild<QWidget*>("OpenBackup"), Qt::LeftButton);
    EXPECT_EQ(title(), "t.vq3* - Quellmark Configuration Program");
    QTest::mouseClick((list = restoreList())->viewport(), Qt::LeftButton, {}, tracking);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, tracking);
    EXPECT_EQ(title(), "Quellmark Configuration Program");
    QTest::mouseClick((list = restoreList())->viewport(), Qt::LeftButton, {}, tracking);
    EXPECT_EQ(shownDifferences(), "The backup holds what the windows hold.");
}

TEST(SystemPortsTest, TheFileDialogsStartInTheHomeFolderNotWhereTheProgramWasStarted)
{
    QTemporaryDir home;
    QTemporaryDir elsewhere;
    const QByteArray oldHome = qgetenv("HOME");
    const QString oldCurrent = QDir::currentPath();
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        QDir::setCurrent(oldCurrent);
    });
    qputenv("HOME", home.path().toLocal8Bit());
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    SystemPorts system;
    EXPECT_EQ(system.desktopPorts().environment.homeFolder, home.path().toStdString());
}

TEST_F(DesktopFilesTest, WriteAsksBeforeReplacingAConfigurationNoBackupHoldsNoTheDefault)
{
    write("backups", "a file where the folder would be");
    start();
    desktop->openFile(folder.filePath("t.vq3"));
    connect(true);
    const auto failure = qt::PosixFileSystem().makePrivateFolder(path("backups"));
    ASSERT_TRUE(failure);
    const forms::MessageBox box = shell::unkeptBackupBox({path("backups"), failure->reason});
    for (const char* answer : {"&No", "&Yes"}) {
        port.takeSent();
        Answerer answerer({answer});
        inEventLoop([&] { choose(nullptr, "write"); });
        ASSERT_EQ(answerer.boxes.size(), 1u) << answer;
        EXPECT_EQ(answerer.boxes[0], QStringList({QString::fromLatin1(box.title.c_str()),
                                                  QString::fromLatin1(box.text.c_str()).replace("\r\n", "\n"),
                                                  QString::number(QMessageBox::Warning), "&No", "&Yes", "&No"}));
        EXPECT_EQ(port.takeSent(), answer == std::string("&Yes") ? "D" : "") << answer;
    }
}

TEST(RunningCopyTest, ASecondStartHandsItsFileToTheRunningCopyWhenItAnswers)
{
    const std::string here = QFile::encodeName(QDir::currentPath()).toStdString();
    const std::tuple<std::vector<const char*>, std::string> commandLines[] = {
        {{"quellmark", "--", "-odd.vq3"}, here + "/-odd.vq3"},
        {{"quellmark", "-x", "caf\xe9.vq3"}, here + "/caf\xe9.vq3"},
        {{"quellmark", "/data/./a.vq3"}, "/data/a.vq3"},
        {{"quellmark", "-x"}, ""},
    };
    for (const auto& [arguments, file] : commandLines)
        EXPECT_EQ(commandLineFile(static_cast<int>(arguments.size()), arguments.data()), file) << arguments.back();
    EXPECT_EQ(runningCopySocketPath("/run/user/quellmark.lock"), "/run/user/quellmark.socket");
    EXPECT_EQ(runningCopySocketPath(""), "");
    QTemporaryDir folder;
    RunningCopyServer server;
    ASSERT_TRUE(server.listen(folder.filePath("quellmark.socket")));
    QSignalSpy raised(&server, &RunningCopyServer::raiseRequested);
    QSignalSpy opened(&server, &RunningCopyServer::openRequested);
    QLocalServer silent;
    ASSERT_TRUE(silent.listen(folder.filePath("silent.socket")));
    const std::tuple<QString, std::string, bool> starts[] = {
        {"quellmark.socket", "/data/club tracker.vq3", true},
        {"quellmark.socket", "/data/caf\xe9.vq3", true},
        {"quellmark.socket", "", true},
        {"silent.socket", "", false},
        {"nobody.socket", "/a.vq3", false},
    };
    for (const auto& [socket, file, reached] : starts) {
        auto handed =
            std::async(std::launch::async, [&] { return handToRunningCopy(folder.filePath(socket), file, 300); });
        QTRY_VERIFY_WITH_TIMEOUT(handed.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 3000);
        EXPECT_EQ(handed.get(), reached) << socket.toStdString();
    }
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0][0].toByteArray(), "/data/club tracker.vq3");
    EXPECT_EQ(opened[1][0].toByteArray(), "/data/caf\xe9.vq3");
    EXPECT_EQ(raised.size(), 1);
}

TEST(RunningCopyTest, ConnectionsThatSayNothingAreServedAFewAtATimeAndClosed)
{
    QTemporaryDir folder;
    RunningCopyServer server(nullptr, 300);
    const QString path = folder.filePath("quellmark.socket");
    ASSERT_TRUE(server.listen(path));
    std::vector<std::unique_ptr<QLocalSocket>> silent;
    for (int i = 0; i < 12; ++i) {
        silent.push_back(std::make_unique<QLocalSocket>());
        silent.back()->connectToServer(path);
    }
    const auto served = [&] { return server.findChildren<QLocalSocket*>().size(); };
    QTRY_COMPARE(served(), RunningCopyServer::kConnectionsAtOnce);
    const auto closed = [&] {
        return std::count_if(silent.begin(), silent.end(),
                             [](const auto& socket) { return socket->state() == QLocalSocket::UnconnectedState; });
    };
    QTRY_COMPARE_WITH_TIMEOUT(closed(), 12, 10000);
    EXPECT_LE(served(), RunningCopyServer::kConnectionsAtOnce);
    auto handed = std::async(std::launch::async, [&] { return handToRunningCopy(path, "", 3000); });
    QTRY_VERIFY_WITH_TIMEOUT(handed.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 5000);
    EXPECT_TRUE(handed.get());
}

TEST(SingleCopyLockTest, TheFirstCopyHoldsALockInAPrivateFolderAndTheNextIsToldItIsHeld)
{
    QTemporaryDir folder;
    const std::string root = folder.path().toStdString();
    for (const auto& [name, others] : {std::pair{"run", false}, {"shared", true}}) {
        ASSERT_TRUE(QDir(folder.path()).mkdir(name));
        const auto owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        ASSERT_TRUE(QFile::setPermissions(folder.filePath(name), others ? owner | QFile::WriteOther : owner));
    }
    // $XDG_RUNTIME_DIR, $XDG_CACHE_HOME, $HOME and the host name; the lock's path.
    const std::tuple<std::string, std::string, std::string, std::string, std::string> places[] = {
        {root + "/run", root + "/cache", root, "pc", root + "/run/quellmark.lock"},
        {root + "/shared", root + "/cache", root, "pc", root + "/cache/quellmark/quellmark-pc.lock"},
        {"run", "cache", root, "", root + "/.cache/quellmark/quellmark-localhost.lock"},
        {"", "", "", "pc", ""},
    };
    for (const auto& [runtime, cache, home, host, lock] : places)
        EXPECT_EQ(singleCopyLockPath(runtime.c_str(), cache.c_str(), home.c_str(), host), lock) << runtime;
    using State = SingleCopyLock::State;
    const std::string path = root + "/run/quellmark.lock";
    SingleCopyLock first = takeSingleCopyLock(path);
    EXPECT_EQ(first.state, State::Taken);
    EXPECT_EQ(takeSingleCopyLock(path).state, State::HeldByAnotherCopy);
    first.lock.reset();
    EXPECT_EQ(takeSingleCopyLock(path).state, State::Taken);
    EXPECT_EQ(takeSingleCopyLock(root + "/none/quellmark.lock").state, State::NotTaken);
}

} // namespace
} // namespace qm::app::guitest
