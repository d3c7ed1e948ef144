#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "faults/DesktopFaults.h"

#include <QDir>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm::app::faults
{
namespace
{

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

    std::vector<forms::MessageBox> save(const std::string& target, int filterIndex = 1)
    {
        ui.paths.push_back(target);
        ui.filterIndexes.push_back(filterIndex);
        action("saveconfiguration")->trigger();
        std::vector<forms::MessageBox> shown;
        for (const auto& box : ui.boxes)
            if (box.title != "Confirm")
                shown.push_back(box);
        ui = fakes::ScriptedUi();
        return shown;
    }

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
const int kAllFiles = 2;
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

    EXPECT_EQ(save("/dev/full", kAllFiles), std::vector<forms::MessageBox>{diskFull});

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
    const auto saved = storage::joinLines(desktop->program().session().configurationLines());
    const QString writable = makeFolder("rw", kAll);
    writeAll(writable + "/unreadable.vq3", saved);
    QFile::setPermissions(writable + "/unreadable.vq3", {});
    ASSERT_EQ(::mkfifo(path("unwritten.fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(path("held.fifo").c_str(), 0600), 0);
    const int writer = ::open(path("held.fifo").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::write(writer, "3\r\n", 3), 3);
    auto cutLines = storage::splitLines(readAll(QM_EXAMPLES_DIR "/beacon.vq3"));
    cutLines.resize(12);
    writeAll(folder.filePath("cut.vq3"), storage::joinLines(cutLines));
    writeAll(folder.filePath("locked.vq3"), readAll(QM_EXAMPLES_DIR "/beacon.vq3"));
    const int holder = ::open(path("locked.vq3").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    const forms::MessageBox notAFile = fileBox(
        "Error# 75: Path/File Access Error",
        "The path or filename that you have specified is invalid. Please check the path and file and try again.");
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
        {path("unwritten.fifo"), notAFile},
        {path("held.fifo"), notAFile},
        {"/dev/zero", notAFile},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(open(c.source), std::vector<forms::MessageBox>{c.box}) << c.source;
        EXPECT_EQ(windowsSnapshot(windows()), before) << c.source;
    }
    ::close(holder);
    ::close(writer);
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
} // namespace qm::app::faults
