#include "faults/DesktopFaults.h"
#include "link/LinkMessages.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTimer.h"
#include "qt/SystemClock.h"
#include "shell/Backups.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTest>

#include <csignal>

namespace qm::app::faults
{
namespace
{

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
        // A simulator that has ended has no process id: kill(0) would wake every process of the test's group.
        if (const auto pid = static_cast<pid_t>(simulator->processId()); pid > 0)
            ::kill(pid, SIGCONT);
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
        ASSERT_TRUE(QTest::qWaitFor([&] { return windows().main.window.caption() == "Quellmark VQ-3+ (v2.0) on COM1"; },
                                    10000));
    }

    void breakUnit(const std::string& fault)
    {
        const auto pid = static_cast<pid_t>(simulator->processId());
        ASSERT_GT(pid, 0);
        ASSERT_EQ(::kill(pid, fault == "kill" ? SIGKILL : SIGSTOP), 0);
    }

    bool backupKeptAtExit(const char* transaction)
    {
        desktop.reset();
        QStringList names = QDir(folder.filePath("backups")).entryList({QString("*-") + transaction + ".*"});
        // "-before-write" marks what the unit held before a write, not a write.
        names.removeIf([](const QString& name) { return name.contains("-before-write."); });
        return !names.isEmpty();
    }

    /// The box of a write broken off, ending with where the configuration the unit held before it is kept.
    forms::MessageBox withEarlierConfiguration(forms::MessageBox box)
    {
        const QStringList kept = QDir(folder.filePath("backups")).entryList({"*-before-write.vq3"});
        EXPECT_EQ(kept.size(), 1);
        if (!kept.isEmpty())
            box.text += "\r\n\r\n" + shell::earlierConfigurationSentence(path("backups/" + kept[0]));
        return box;
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
        EXPECT_EQ(windows().main.VQ3Status.caption(), "Disconnected");
        EXPECT_FALSE(backupKeptAtExit("read"));
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

        EXPECT_EQ(ui.boxes, std::vector<forms::MessageBox>{withEarlierConfiguration(link::writeTimeOutBox())});
        EXPECT_EQ(windowsSnapshot(windows()), before);
        EXPECT_EQ(windows().main.VQ3Status.caption(), "Disconnected");
        EXPECT_FALSE(QFile::exists(folder.filePath("saved.bin")));
        EXPECT_FALSE(backupKeptAtExit("write"));
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
    EXPECT_FALSE(backupKeptAtExit("read"));
    EXPECT_FALSE(backupKeptAtExit("identify"));
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

        const bool written = c.box == link::downloadCompleteBox();
        EXPECT_EQ(ui.boxes, std::vector<forms::MessageBox>{written ? c.box : withEarlierConfiguration(c.box)});
        EXPECT_EQ(windowsSnapshot(windows()), before);
        EXPECT_EQ(backupKeptAtExit("write"), written);
        if (written) {
            EXPECT_EQ(readAll(folder.filePath("saved.bin")), readAll(folder.filePath("tracking.bin")));
        }
    }
}

TEST_F(DesktopLinkFaultsTest, TheUnitIsFoundAgainWhenItsDeviceGoesAwayAndComesBack)
{
    ASSERT_NO_FATAL_FAILURE(startSimulator({}, "beacon"));
    ASSERT_NO_FATAL_FAILURE(startDesktop());
    ASSERT_NO_FATAL_FAILURE(waitForConnection());
    const std::string waiting =
        "VQ-3 Disconnected. Waiting for the serial port " + folder.filePath("port").toStdString() + " to come back.";

    stopSimulator();
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows().main.VQ3Status.toolTip() == waiting; }, 5000));
    EXPECT_EQ(windows().main.VQ3Status.caption(), "Disconnected");
    EXPECT_FALSE(port->isOpen());

    ASSERT_NO_FATAL_FAILURE(startSimulator({"--model", "0", "--firmware", "3"}, "tracking"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return windows().main.window.caption() == "Quellmark VQ-3 (v3.0) on COM1"; }, 10000));
    EXPECT_EQ(windows().main.VQ3Status.caption(), "Connected");
    EXPECT_EQ(windows().main.VQ3Status.toolTip(), "");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DesktopLinkFaultsTest, EndingDuringAWriteSendsTheBurstAndEndsOnceItHasLeft)
{
    const QString log = folder.filePath("unit.log");
    ASSERT_NO_FATAL_FAILURE(startSimulator({"--line-rate", "--log", log}, "beacon"));
    ASSERT_NO_FATAL_FAILURE(startDesktop());
    ASSERT_NO_FATAL_FAILURE(waitForConnection());
    ASSERT_NO_FATAL_FAILURE(openExample("tracking.vq3"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return action("write")->isEnabled(); }, 5000));

    ui.progress = {0, 0};
    action("write")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.progress.first >= 50; }, 5000));
    ASSERT_LT(ui.progress.first, 129);
    desktop->window().close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.ended; }, 5000));

    EXPECT_EQ(ui.boxes, std::vector<forms::MessageBox>{shell::exitDuringTransferBox()});
    EXPECT_FALSE(port->isOpen());
    stopSimulator();
    std::string received;
    for (const auto& line : QString::fromStdString(readAll(log)).split('\n', Qt::SkipEmptyParts))
        received.push_back(static_cast<char>(line.section(' ', 1, 1).toInt(nullptr, 16)));
    ASSERT_NE(received.find('D'), std::string::npos);
    EXPECT_TRUE(received.ends_with(std::string(128, '\0') + "EE")) << received.size();
    EXPECT_FALSE(QFile::exists(folder.filePath("saved.bin")) &&
                 readAll(folder.filePath("saved.bin")) == readAll(folder.filePath("tracking.bin")));
    EXPECT_FALSE(backupKeptAtExit("write"));
}

} // namespace
} // namespace qm::app::faults

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
