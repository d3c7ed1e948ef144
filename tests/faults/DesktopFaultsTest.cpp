#include "app/Desktop.h"
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
#include <QFile>
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

std::string readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void writeAll(const QString& path, const std::string& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::vector<std::string> windowsSnapshot(const forms::Windows& windows)
{
    std::vector<std::string> lines;
    for (int mode = 0; mode < forms::kModeCount; ++mode)
        for (const auto& line : storage::configurationLines(windows, static_cast<forms::Mode>(mode)))
            lines.push_back(line);
    return lines;
}

const std::string kIni =
    storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"});

forms::MessageBox fileBox(const char* title, const char* text)
{
    return forms::messageBox(title, text, forms::Icon::Warning);
}

class DesktopFaultsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                                 QFile::ExeOther);
        files.writeFileAtomically(path("vq3.ini"), kIni);
    }

    std::string path(const QString& name) const { return folder.filePath(name).toStdString(); }

    QAction* action(const char* name) { return desktop->window().findChild<QAction*>(name); }
    forms::Windows& windows() { return desktop->program().form().windows(); }

    void openExample(const char* name)
    {
        const auto shown = ui.boxes.size();
        ui.paths.push_back(QM_EXAMPLES_DIR "/" + std::string(name));
        action("openconfiguration")->trigger();
        ASSERT_EQ(ui.boxes.size(), shown) << ui.boxes.back().title;
    }

    shell::Environment environment() const
    {
        const std::string programFolder = folder.path().toStdString();
        return shell::Environment{{programFolder, programFolder}, programFolder, {}};
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
        for (const char* name : {"beacon", "tracking"}) {
            const QString stream = folder.filePath(QString(name) + ".stream");
            ASSERT_EQ(
                QProcess::execute(QM_VQ3, {"compile", QString(QM_EXAMPLES_DIR "/") + name + ".vq3", "-o", stream}), 0);
            writeAll(folder.filePath(QString(name) + ".bin"), readAll(stream).substr(1));
        }
        qputenv("QUELLMARK_COM1", folder.filePath("port").toLocal8Bit());
    }

    void TearDown() override
    {
        desktop.reset();
        stopSimulator();
    }

    void startSimulator(QStringList faults, const char* image)
    {
        stopSimulator();
        QFile::remove(folder.filePath("saved.bin"));
        simulator = std::make_unique<QProcess>();
        simulator->start(QM_VQ3,
                         QStringList{"sim", "--link", folder.filePath("port"), "--image",
                                     folder.filePath(QString(image) + ".bin"), "--save", folder.filePath("saved.bin")} +
                             faults);
        ASSERT_TRUE(simulator->waitForStarted(5000));
        ASSERT_TRUE(simulator->waitForReadyRead(5000));
    }

    void stopSimulator()
    {
        if (!simulator)
            return;
        ::kill(static_cast<pid_t>(simulator->processId()), SIGCONT);
        simulator->terminate();
        if (!simulator->waitForFinished(5000))
            simulator->kill();
        simulator->waitForFinished(5000);
        simulator.reset();
    }

    void startDesktop()
    {
        desktop.reset();
        QDir(folder.filePath("backups")).removeRecursively();
        ui = fakes::ScriptedUi();
        port = std::make_unique<qt::QtSerialPort>();
        backups = std::make_unique<shell::Backups>(files, clock, path("backups"));
        desktop = std::make_unique<Desktop>(
            DesktopPorts{files, *port, echoTimer, readTimer, writeTimer, environment(), backups.get()}, &ui);
        ASSERT_TRUE(desktop->start());
    }

    void waitForConnection()
    {
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return windows().MDIForm1.Window.caption() == "Quellmark VQ-3+ (v2.0) on COM1"; }, 10000));
    }

    void breakUnit(const std::string& fault)
    {
        const auto pid = static_cast<pid_t>(simulator->processId());
        ASSERT_EQ(::kill(pid, fault == "kill" ? SIGKILL : SIGSTOP), 0);
    }

    bool backupOf(const char* transaction)
    {
        const QStringList names = QDir(folder.filePath("backups")).entryList({QString("*-") + transaction + ".*"});
        return !names.isEmpty();
    }

    std::unique_ptr<QProcess> simulator;
    std::unique_ptr<qt::QtSerialPort> port;
    qt::QtTimer echoTimer{500};
    qt::QtTimer readTimer{5000};
    qt::QtTimer writeTimer{5000};
    qt::SystemClock clock;
    std::unique_ptr<shell::Backups> backups;
};

TEST_F(DesktopLinkFaultsTest, ReadBrokenByTheUnitGoingAwayOrFreezingKeepsTheWindows)
{
    for (const std::string fault : {"kill", "stop"}) {
        SCOPED_TRACE(fault);
        ASSERT_NO_FATAL_FAILURE(startSimulator({"--line-rate"}, "tracking"));
        ASSERT_NO_FATAL_FAILURE(startDesktop());
        ASSERT_NO_FATAL_FAILURE(waitForConnection());
        ASSERT_NO_FATAL_FAILURE(openExample("beacon.vq3"));
        const auto before = windowsSnapshot(windows());

        ui.progress = {0, 0};
        action("read")->trigger();
        ASSERT_TRUE(QTest::qWaitFor([&] { return ui.progress.first >= 20; }, 5000));
        ASSERT_LT(ui.progress.first, 131);
        ASSERT_NO_FATAL_FAILURE(breakUnit(fault));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !ui.boxes.empty(); }, 10000));

        EXPECT_EQ(ui.boxes, std::vector<forms::MessageBox>{link::readTimeOutBox()});
        EXPECT_EQ(windowsSnapshot(windows()), before);
        EXPECT_EQ(windows().MDIForm1.VQ3Status.caption(), "Disconnected");
        EXPECT_FALSE(backupOf("read"));
    }
}

TEST_F(DesktopLinkFaultsTest, WriteBrokenByTheUnitGoingAwayOrFreezingKeepsTheWindows)
{
    for (const std::string fault : {"kill", "stop"}) {
        SCOPED_TRACE(fault);
        ASSERT_NO_FATAL_FAILURE(startSimulator({"--line-rate"}, "beacon"));
        ASSERT_NO_FATAL_FAILURE(startDesktop());
        ASSERT_NO_FATAL_FAILURE(waitForConnection());
        ASSERT_NO_FATAL_FAILURE(openExample("tracking.vq3"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return action("write")->isEnabled(); }, 5000));
        const auto before = windowsSnapshot(windows());

        ui.progress = {0, 0};
        action("write")->trigger();
        ASSERT_TRUE(QTest::qWaitFor([&] { return ui.progress.first >= 40; }, 5000));
        ASSERT_LT(ui.progress.first, 129);
        ASSERT_NO_FATAL_FAILURE(breakUnit(fault));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !ui.boxes.empty(); }, 10000));

        EXPECT_EQ(ui.boxes, std::vector<forms::MessageBox>{link::writeTimeOutBox()});
        EXPECT_EQ(windowsSnapshot(windows()), before);
        EXPECT_EQ(windows().MDIForm1.VQ3Status.caption(), "Disconnected");
        EXPECT_FALSE(QFile::exists(folder.filePath("saved.bin")));
        EXPECT_FALSE(backupOf("write"));
    }
}

TEST_F(DesktopLinkFaultsTest, ReplyOfNoiseIsRefusedAndKeepsTheWindows)
{
    ASSERT_NO_FATAL_FAILURE(startSimulator({"--garbage-reply"}, "tracking"));
    ASSERT_NO_FATAL_FAILURE(startDesktop());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.boxes.size() == 1; }, 10000));
    EXPECT_EQ(ui.boxes[0], link::badReplyBox());
    ASSERT_TRUE(QTest::qWaitFor([&] { return action("read")->isEnabled(); }, 5000));
    ASSERT_NO_FATAL_FAILURE(openExample("beacon.vq3"));
    const auto before = windowsSnapshot(windows());

    ui.boxes.clear();
    action("read")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.boxes.size() == 1; }, 10000));
    EXPECT_EQ(ui.boxes[0], link::badReplyBox());
    EXPECT_EQ(windowsSnapshot(windows()), before);
    EXPECT_FALSE(backupOf("read"));
    EXPECT_FALSE(backupOf("identify"));
}

TEST_F(DesktopLinkFaultsTest, SlowEchoesCompleteWithinTheWriteLimitAndTimeOutBeyondIt)
{
    struct Case
    {
        const char* delayMs;
        forms::MessageBox box;
    };
    for (const auto& c : {Case{"15", link::downloadCompleteBox()}, Case{"50", link::writeTimeOutBox()}}) {
        SCOPED_TRACE(c.delayMs);
        ASSERT_NO_FATAL_FAILURE(startSimulator({"--line-rate", "--echo-delay", c.delayMs}, "beacon"));
        ASSERT_NO_FATAL_FAILURE(startDesktop());
        ASSERT_NO_FATAL_FAILURE(waitForConnection());
        ASSERT_NO_FATAL_FAILURE(openExample("tracking.vq3"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return action("write")->isEnabled(); }, 5000));
        const auto before = windowsSnapshot(windows());

        action("write")->trigger();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !ui.boxes.empty(); }, 15000));

        EXPECT_EQ(ui.boxes, std::vector<forms::MessageBox>{c.box});
        EXPECT_EQ(windowsSnapshot(windows()), before);
        const bool written = c.box == link::downloadCompleteBox();
        EXPECT_EQ(backupOf("write"), written);
        if (written) {
            EXPECT_EQ(readAll(folder.filePath("saved.bin")), readAll(folder.filePath("tracking.bin")));
        }
    }
}

class DesktopFileFaultsTest : public DesktopFaultsTest
{
protected:
    void SetUp() override
    {
        DesktopFaultsTest::SetUp();
        desktop = std::make_unique<Desktop>(
            DesktopPorts{files, port, echoTimer, readTimer, writeTimer, environment(), nullptr}, &ui);
        ASSERT_TRUE(desktop->start());
        ui.boxes.clear();
        ASSERT_NO_FATAL_FAILURE(openExample("tracking.vq3"));
        ui = fakes::ScriptedUi();
    }

    void TearDown() override { desktop.reset(); }

    /// Saves under the name (answering Yes to overwriting); returns the boxes shown.
    std::vector<forms::MessageBox> save(const std::string& target)
    {
        ui.paths.push_back(target);
        action("saveconfiguration")->trigger();
        std::vector<forms::MessageBox> shown;
        for (const auto& box : ui.boxes)
            if (box.title != "Confirm")
                shown.push_back(box);
        ui = fakes::ScriptedUi();
        return shown;
    }

    /// Opens the file; returns the boxes shown.
    std::vector<forms::MessageBox> open(const std::string& source)
    {
        ui.paths.push_back(source);
        action("openconfiguration")->trigger();
        auto shown = ui.boxes;
        ui = fakes::ScriptedUi();
        return shown;
    }

    QString makeFolder(const char* name, QFile::Permissions permissions)
    {
        const QString made = folder.filePath(name);
        QDir().mkdir(made);
        QFile::setPermissions(made, permissions);
        return made;
    }

    fakes::FakeSerialPort port;
    fakes::FakeTimer echoTimer{500};
    fakes::FakeTimer readTimer{5000};
    fakes::FakeTimer writeTimer{5000};
};

const std::string kOld = "the old file\r\n";
const auto kAll =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
const auto kReadOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;

TEST_F(DesktopFileFaultsTest, SaveFaultsShowTheirBoxAndKeepTheOldFileWhole)
{
    const forms::MessageBox diskFull =
        fileBox("Error# 61: Disk Full",
                "The disk that you are trying to use is full.  Please free up some disk space or select another disk.");
    const forms::MessageBox denied =
        fileBox("Error# 70: Permission Denied",
                "The disk you are using is write protected or the filename that you specified is in use by another "
                "program.  Please check the disk or file and then try again.");
    const forms::MessageBox readOnly =
        fileBox("Error# 75: Path/File Access Error",
                "The path you have specified is invalid, or the file already exists and is read only.  Please check "
                "the path and file and try again.");
    const forms::MessageBox pathNotFound = fileBox(
        "Error# 76: Path Not Found", "The path you have specified is invalid. Please check the path and try again.");

    EXPECT_EQ(save("/dev/full"), std::vector<forms::MessageBox>{diskFull});

    const QString readOnlyFolder = makeFolder("ro", kAll);
    writeAll(readOnlyFolder + "/a.vq3", kOld);
    QFile::setPermissions(readOnlyFolder, kReadOnly);
    EXPECT_EQ(save((readOnlyFolder + "/a.vq3").toStdString()), std::vector<forms::MessageBox>{denied});
    EXPECT_EQ(readAll(readOnlyFolder + "/a.vq3"), kOld);
    EXPECT_EQ(QDir(readOnlyFolder).entryList(QDir::Files | QDir::Hidden), QStringList{"a.vq3"});

    const QString writable = makeFolder("rw", kAll);
    writeAll(writable + "/a.vq3", kOld);
    QFile::setPermissions(writable + "/a.vq3", QFile::ReadOwner | QFile::ReadOther);
    EXPECT_EQ(save((writable + "/a.vq3").toStdString()), std::vector<forms::MessageBox>{readOnly});
    EXPECT_EQ(readAll(writable + "/a.vq3"), kOld);

    ASSERT_EQ(::mkfifo(path("unread.fifo").c_str(), 0600), 0);
    EXPECT_EQ(save(path("unread.fifo")),
              std::vector<forms::MessageBox>{
                  fileBox("Error# 57: Device I/O Error",
                          "An error occured while trying to write to the disk. Please check the disk and try again.")});

    EXPECT_EQ(save(path("no-such-folder/a.vq3")), std::vector<forms::MessageBox>{pathNotFound});
    EXPECT_FALSE(QFile::exists(folder.filePath("no-such-folder")));

    writeAll(folder.filePath("locked.vq3"), kOld);
    const int holder = ::open(path("locked.vq3").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    EXPECT_EQ(save(path("locked.vq3")), std::vector<forms::MessageBox>{denied});
    EXPECT_EQ(readAll(folder.filePath("locked.vq3")), kOld);
    ::close(holder);
    EXPECT_EQ(save(path("locked.vq3")), std::vector<forms::MessageBox>{});
    EXPECT_NE(readAll(folder.filePath("locked.vq3")), kOld);
}

TEST_F(DesktopFileFaultsTest, LoadFaultsShowTheirBoxAndKeepTheWindows)
{
    const auto before = windowsSnapshot(windows());
    const auto saved = storage::joinLines(desktop->program().form().configurationLines());
    const QString writable = makeFolder("rw", kAll);
    writeAll(writable + "/unreadable.vq3", saved);
    QFile::setPermissions(writable + "/unreadable.vq3", {});
    ASSERT_EQ(::mkfifo(path("unwritten.fifo").c_str(), 0600), 0);
    auto cutLines = storage::splitLines(readAll(QM_EXAMPLES_DIR "/beacon.vq3"));
    cutLines.resize(12);
    writeAll(folder.filePath("cut.vq3"), storage::joinLines(cutLines));
    writeAll(folder.filePath("locked.vq3"), readAll(QM_EXAMPLES_DIR "/beacon.vq3"));
    const int holder = ::open(path("locked.vq3").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    struct Case
    {
        std::string source;
        forms::MessageBox box;
    };
    const std::vector<Case> cases = {
        {path("missing.vq3"),
         fileBox("Error# 53: File Not Found",
                 "The file you have specified can not be found. Please check the name and try again.")},
        {path("no-such-folder/a.vq3"),
         fileBox("Error# 76: Path Not Found",
                 "The path you have specified is invalid. Please check the path and try again.")},
        {(writable + "/unreadable.vq3").toStdString(),
         fileBox("Error# 70: Permission Denied",
                 "The filename that you specified is in use by another program. Please check the file and then try "
                 "again.")},
        {path("locked.vq3"),
         fileBox("Error# 70: Permission Denied",
                 "The filename that you specified is in use by another program. Please check the file and then try "
                 "again.")},
        {path("cut.vq3"),
         fileBox("Error# 62: Input Past End Of File", "An error occured while opening the configuration file.")},
        {path("unwritten.fifo"),
         fileBox("Error# 62: Input Past End Of File", "An error occured while opening the configuration file.")},
        {"/dev/zero",
         fileBox("Error# 57: Device I/O Error",
                 "An error occured while trying to read from the disk. Please check the disk and try again.")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(open(c.source), std::vector<forms::MessageBox>{c.box}) << c.source;
        EXPECT_EQ(windowsSnapshot(windows()), before) << c.source;
    }
    ::close(holder);
    EXPECT_EQ(open(path("locked.vq3")), std::vector<forms::MessageBox>{});
    EXPECT_NE(windowsSnapshot(windows()), before);
}

TEST_F(DesktopFileFaultsTest, SettingsThatCannotBeSavedShowTheirBoxAndKeepTheOldFile)
{
    const QString ini = folder.filePath("vq3.ini");
    const std::string old = readAll(ini);
    const forms::MessageBox denied = forms::messageBox(
        "Error# 70: Permission Denied", "An error occured while saving the initialization file.", forms::Icon::Warning);

    QFile::setPermissions(folder.path(), kReadOnly);
    action("memorizedefaults")->trigger();
    QFile::setPermissions(folder.path(), kAll);
    EXPECT_EQ(ui.boxes, std::vector<forms::MessageBox>{denied});
    EXPECT_EQ(readAll(ini), old);
    EXPECT_EQ(QDir(folder.path()).entryList({"*vq3.ini*"}, QDir::Files | QDir::Hidden), QStringList{"vq3.ini"});

    ui = fakes::ScriptedUi();
    const int holder = ::open(ini.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    action("memorizedefaults")->trigger();
    ::close(holder);
    EXPECT_EQ(ui.boxes, std::vector<forms::MessageBox>{denied});
    EXPECT_EQ(readAll(ini), old);
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
