// The desktop program on real files, a real serial port and real timers, with a scripted Ui recording every box:
// a unit that goes away and comes back or is left during a write (vq3 sim on a pseudo-terminal), and file faults.
#include "app/Desktop.h"
#include "app/SystemPorts.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "fakes/ScriptedUi.h"
#include "link/LinkMessages.h"
#include "qt/PosixFileSystem.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTimer.h"
#include "qt/SystemClock.h"
#include "shell/Backups.h"
#include "storage/ConfigFile.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm::app
{
namespace
{

using Boxes = std::vector<forms::MessageBox>;
const std::string kOld = "the old file\r\n";

std::string readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

void writeAll(const QString& path, const std::string& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::vector<std::string> snapshot(const forms::Windows& windows)
{
    std::vector<std::string> lines;
    for (const forms::Mode mode : forms::kModes)
        for (const auto& line : storage::configurationLines(windows, mode))
            lines.push_back(line);
    return lines;
}

/// The desktop program on a temporary program folder, with the ports each kind of test gives it.
class DesktopFaultsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                                 QFile::ExeOther);
        files.writeFileAtomically(path("vq3.ini"), storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE",
                                                                       "Reserved", "Reserved", "Reserved"}));
    }
    void TearDown() override { desktop.reset(); }

    void startDesktop(link::SerialPort& port, link::Timer& echo, link::Timer& read, link::Timer& write,
                      shell::Backups* backups)
    {
        desktop.reset();
        ui = fakes::ScriptedUi();
        const std::string programFolder = folder.path().toStdString();
        desktop = std::make_unique<Desktop>(
            DesktopPorts{files, port, echo, read, write,
                         shell::Environment{{programFolder, programFolder}, programFolder, {}}, backups},
            &ui);
        ASSERT_TRUE(desktop->start());
    }

    std::string path(const QString& name) const { return folder.filePath(name).toStdString(); }
    QAction* action(const char* name) { return desktop->window().findChild<QAction*>(name); }
    forms::Windows& windows() { return desktop->program().session().windows(); }

    /// Opens a file through the desktop's Open and returns the boxes it showed.
    Boxes open(const std::string& source)
    {
        ui.boxes.clear();
        ui.paths.push_back(source);
        action("openconfiguration")->trigger();
        return ui.boxes;
    }

    QTemporaryDir folder;
    qt::PosixFileSystem files;
    fakes::ScriptedUi ui;
    std::unique_ptr<Desktop> desktop;
};

class DesktopLinkFaultsTest : public DesktopFaultsTest
{
protected:
    void SetUp() override
    {
        DesktopFaultsTest::SetUp();
        for (const QString name : {"beacon", "tracking"}) {
            const QString stream = folder.filePath(name + ".stream");
            ASSERT_EQ(QProcess::execute(QM_VQ3, {"compile", QM_EXAMPLES_DIR "/" + name + ".vq3", "-o", stream}), 0);
            writeAll(folder.filePath(name + ".bin"), readAll(stream).substr(1));
        }
        qputenv("QUELLMARK_COM1", folder.filePath("port").toLocal8Bit());
    }
    void TearDown() override
    {
        desktop.reset();
        stopSimulator();
    }

    void startSimulator(const QStringList& faults, const QString& image)
    {
        stopSimulator();
        QFile::remove(folder.filePath("saved.bin"));
        simulator = std::make_unique<QProcess>();
        simulator->start(QM_VQ3, QStringList{"sim", "--link", folder.filePath("port"), "--image",
                                             folder.filePath(image + ".bin"), "--save", folder.filePath("saved.bin")} +
                                     faults);
        ASSERT_TRUE(simulator->waitForStarted(5000) && simulator->waitForReadyRead(5000));
    }
    void stopSimulator()
    {
        if (!simulator)
            return;
        // An ended simulator has no process id: kill(0) would wake every process of the test's group.
        if (const auto pid = static_cast<pid_t>(simulator->processId()); pid > 0)
            ::kill(pid, SIGCONT);
        simulator->terminate();
        if (!simulator->waitForFinished(5000))
            simulator->kill();
        simulator->waitForFinished(5000);
        simulator.reset();
    }

    /// Starts the desktop on the simulated unit with `example` open, ready to read or write.
    void connectWith(const char* example)
    {
        // The running program's backup thread and port go before the ones they use are replaced.
        desktop.reset();
        QDir(folder.filePath("backups")).removeRecursively();
        port = std::make_unique<qt::QtSerialPort>();
        backups = std::make_unique<shell::Backups>(files, clock, path("backups"));
        ASSERT_NO_FATAL_FAILURE(startDesktop(*port, probeTimer, readTimer, writeTimer, backups.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return windows().main.window.caption() == "Quellmark VQ-3+ (v2.0) on COM1"; },
                                    10000));
        ASSERT_EQ(open(QM_EXAMPLES_DIR "/" + std::string(example)), Boxes{});
        ASSERT_TRUE(QTest::qWaitFor([&] { return action("write")->isEnabled(); }, 5000));
        ui.progress = {0, 0};
    }

    std::unique_ptr<QProcess> simulator;
    std::unique_ptr<qt::QtSerialPort> port;
    qt::QtTimer probeTimer{500};
    qt::QtTimer readTimer{5000};
    qt::QtTimer writeTimer{5000};
    qt::SystemClock clock;
    std::unique_ptr<shell::Backups> backups;
};

TEST_F(DesktopLinkFaultsTest, TheUnitIsFoundAgainWhenItsDeviceGoesAwayAndComesBack)
{
    ASSERT_NO_FATAL_FAILURE(startSimulator({}, "beacon"));
    ASSERT_NO_FATAL_FAILURE(connectWith("tracking.vq3"));
    stopSimulator();
    const std::string waiting = "VQ-3 Disconnected. Waiting for the serial port " + path("port") + " to come back.";
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows().main.VQ3Status.toolTip() == waiting; }, 5000));
    EXPECT_EQ(windows().main.VQ3Status.caption(), "Disconnected");
    EXPECT_FALSE(port->isOpen());
    ASSERT_NO_FATAL_FAILURE(startSimulator({"--model", "0", "--firmware", "3"}, "tracking"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return windows().main.window.caption() == "Quellmark VQ-3 (v3.0) on COM1"; }, 10000));
    EXPECT_EQ(windows().main.VQ3Status.caption(), "Connected");
    EXPECT_EQ(windows().main.VQ3Status.toolTip(), "");
    EXPECT_EQ(ui.boxes, Boxes{});
}

TEST_F(DesktopLinkFaultsTest, EndingDuringAWriteSendsTheBurstAndEndsOnceItHasLeft)
{
    const QString log = folder.filePath("unit.log");
    ASSERT_NO_FATAL_FAILURE(startSimulator({"--line-rate", "--log", log}, "beacon"));
    ASSERT_NO_FATAL_FAILURE(connectWith("tracking.vq3"));
    action("write")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.progress.first >= 50; }, 5000));
    ASSERT_LT(ui.progress.first, 129);
    desktop->window().close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.ended; }, 5000));
    EXPECT_EQ(ui.boxes, Boxes{shell::exitDuringTransferBox()});
    EXPECT_FALSE(port->isOpen());
    stopSimulator();
    std::string received;
    for (const auto& line : QString::fromStdString(readAll(log)).split('\n', Qt::SkipEmptyParts))
        received.push_back(static_cast<char>(line.section(' ', 1, 1).toInt(nullptr, 16)));
    ASSERT_NE(received.find('D'), std::string::npos);
    EXPECT_TRUE(received.ends_with(std::string(128, '\0') + "EE")) << received.size();
    EXPECT_NE(readAll(folder.filePath("saved.bin")), readAll(folder.filePath("tracking.bin")));
    desktop.reset();
    EXPECT_EQ(QDir(folder.filePath("backups")).entryList({"*-fw2-write.*"}), QStringList{});
}

TEST_F(DesktopLinkFaultsTest, AUnitThatStoresOtherBytesIsToldWithTheBackupTakenBeforeTheWrite)
{
    ASSERT_NO_FATAL_FAILURE(startSimulator({"--store-wrong-at", "30"}, "beacon"));
    ASSERT_NO_FATAL_FAILURE(connectWith("tracking.vq3"));
    ui.boxes.clear();
    action("write")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ui.boxes.empty(); }, 10000));
    const QStringList kept = QDir(folder.filePath("backups")).entryList({"*-write.vq3"});
    ASSERT_EQ(kept.size(), 1);
    const std::string backup = path("backups/" + kept.front());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, "Write Not Verified");
    EXPECT_NE(ui.boxes[0].text.find("The configuration it held before this write is kept in " + backup + "."),
              std::string::npos)
        << ui.boxes[0].text;
    EXPECT_EQ(readAll(QString::fromStdString(backup)), readAll(QM_EXAMPLES_DIR "/beacon.vq3"));
}

class DesktopFileFaultsTest : public DesktopFaultsTest
{
protected:
    void SetUp() override
    {
        DesktopFaultsTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(startDesktop(port, probeTimer, readTimer, writeTimer, nullptr));
        ASSERT_EQ(open(QM_EXAMPLES_DIR "/tracking.vq3"), Boxes{});
    }

    /// Saves through the desktop's Save As and returns the boxes it showed other than the confirmation.
    Boxes save(const std::string& target, int filterIndex = 1)
    {
        ui = fakes::ScriptedUi();
        ui.paths.push_back(target);
        ui.filterIndexes.push_back(filterIndex);
        action("saveconfiguration")->trigger();
        Boxes shown;
        std::copy_if(ui.boxes.begin(), ui.boxes.end(), std::back_inserter(shown),
                     [](const auto& box) { return box.title != "Confirm"; });
        return shown;
    }
    /// Makes a folder holding the old file, then gives the folder and the file their permissions.
    QString folderWithOldFile(const char* name, QFile::Permissions folderPermissions,
                              QFile::Permissions filePermissions)
    {
        const QString made = folder.filePath(name);
        QDir().mkdir(made);
        writeAll(made + "/a.vq3", kOld);
        QFile::setPermissions(made + "/a.vq3", filePermissions);
        QFile::setPermissions(made, folderPermissions);
        return made + "/a.vq3";
    }
    /// Locks the file as another program does while it writes it.
    int lock(const QString& file)
    {
        const int holder = ::open(file.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
        EXPECT_EQ(::flock(holder, LOCK_EX), 0);
        return holder;
    }

    fakes::FakeSerialPort port;
    fakes::FakeTimer probeTimer{500};
    fakes::FakeTimer readTimer{5000};
    fakes::FakeTimer writeTimer{5000};
};

const auto kAll = QFile::Permissions(0x7777);
const auto kReadOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
const auto kReadable = QFile::ReadOwner | QFile::ReadOther;
forms::MessageBox writeBox(int number)
{
    return storage::writeErrorBox({number, ""});
}
forms::MessageBox readBox(int number)
{
    return storage::readErrorBox({number, ""});
}

TEST_F(DesktopFileFaultsTest, SaveFaultsShowTheirBoxAndKeepTheOldFileWhole)
{
    using namespace storage::error;
    EXPECT_EQ(save("/dev/full", 2), Boxes{writeBox(kDiskFull)});
    const QString locked = folder.filePath("locked.vq3");
    writeAll(locked, kOld);
    ASSERT_EQ(::mkfifo(path("unread.fifo").c_str(), 0600), 0);
    const int holder = lock(locked);
    // target, the error, whether an old file there stays whole and alone in its folder
    const std::tuple<QString, int, bool> cases[] = {
        {folderWithOldFile("ro", kReadOnly, kAll), kPermissionDenied, true},
        {folderWithOldFile("rw", kAll, kReadable), kPathFileAccess, true},
        {locked, kPermissionDenied, false},
        {folder.filePath("unread.fifo"), kDeviceIo, false},
        {folder.filePath("no-such-folder/a.vq3"), kPathNotFound, false},
    };
    for (const auto& [target, error, alone] : cases) {
        EXPECT_EQ(save(target.toStdString()), Boxes{writeBox(error)}) << target.toStdString();
        EXPECT_TRUE(!alone ||
                    QDir(QFileInfo(target).path()).entryList(QDir::Files | QDir::Hidden) == QStringList{"a.vq3"});
        EXPECT_TRUE(!(alone || target == locked) || readAll(target) == kOld) << target.toStdString();
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("no-such-folder")));
    ::close(holder);
    EXPECT_EQ(save(locked.toStdString()), Boxes{});
    EXPECT_NE(readAll(locked), kOld);
}

TEST_F(DesktopFileFaultsTest, LoadFaultsShowTheirBoxAndKeepTheWindows)
{
    using namespace storage::error;
    const auto before = snapshot(windows());
    const std::string beacon = readAll(QM_EXAMPLES_DIR "/beacon.vq3");
    writeAll(folder.filePath("unreadable.vq3"), beacon);
    QFile::setPermissions(folder.filePath("unreadable.vq3"), {});
    ASSERT_EQ(::mkfifo(path("unwritten.fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(path("held.fifo").c_str(), 0600), 0);
    const int writer = ::open(path("held.fifo").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_EQ(::write(writer, "3\r\n", 3), 3);
    auto cut = storage::splitLines(beacon);
    cut.resize(12);
    writeAll(folder.filePath("cut.vq3"), storage::joinLines(cut));
    writeAll(folder.filePath("locked.vq3"), beacon);
    const int holder = lock(folder.filePath("locked.vq3"));
    const std::pair<std::string, forms::MessageBox> cases[] = {
        {path("missing.vq3"), readBox(kFileNotFound)},
        {path("no-such-folder/a.vq3"), readBox(kPathNotFound)},
        {path("unreadable.vq3"), readBox(kPermissionDenied)},
        {path("locked.vq3"), readBox(kPermissionDenied)},
        {path("cut.vq3"),
         storage::loadErrorBox({kInputPastEnd, "The file ends after 12 lines; a Beacon configuration has 23."})},
        {path("unwritten.fifo"), readBox(kPathFileAccess)},
        {path("held.fifo"), readBox(kPathFileAccess)},
        {"/dev/zero", readBox(kPathFileAccess)},
    };
    for (const auto& [source, box] : cases) {
        EXPECT_EQ(open(source), Boxes{box}) << source;
        EXPECT_EQ(snapshot(windows()), before) << source;
    }
    ::close(holder);
    ::close(writer);
    EXPECT_EQ(open(path("locked.vq3")), Boxes{});
    EXPECT_NE(snapshot(windows()), before);
}

TEST(DesktopForeignHomeTest, RootWithAnotherUsersHomeLeavesNothingThereAndSaysSoOnce)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "a home folder of another user needs root to run in it";
    QTemporaryDir home;
    ASSERT_EQ(::chown(home.path().toLocal8Bit().constData(), 65534, 65534), 0);
    const QByteArray saved = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qunsetenv(variable);
    EXPECT_EQ(qt::userFolders("quellmark").notice,
              "quellmark: " + home.path().toStdString() +
                  " (HOME) is not root's own folder: nothing is written there, so the settings and backups that "
                  "would be kept there are not kept.");
    {
        SystemPorts system;
        fakes::ScriptedUi ui;
        ui.inputs = {"1", "N0CALL"};
        Desktop desktop(system.desktopPorts(), &ui);
        ASSERT_TRUE(desktop.start());
        for (const char* command : {"verifyafterwrite", "in2400", "out300", "com2", "memorizedefaults"})
            desktop.window().findChild<QAction*>(command)->trigger();
        desktop.keepWindowPlace();
    }
    qputenv("HOME", saved);
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{});
}

} // namespace
} // namespace qm::app

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
