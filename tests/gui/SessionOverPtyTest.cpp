#include "app/Desktop.h"
#include "fakes/ScriptedUi.h"
#include "qt/PosixFileSystem.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTimer.h"
#include "storage/ConfigFile.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

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

class SessionOverPtyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        const QString image = folder.filePath("unit.bin");
        ASSERT_EQ(QProcess::execute(QM_VQ3, {"compile", QM_EXAMPLES_DIR "/tracking.vq3", "-o", image}), 0);
        simulator.start(QM_VQ3, {"sim", "--link", folder.filePath("port"), "--model", "1", "--firmware", "2", "--image",
                                 image, "--save", folder.filePath("saved.bin")});
        ASSERT_TRUE(simulator.waitForStarted(5000));
        ASSERT_TRUE(simulator.waitForReadyRead(5000));
        qputenv("QUELLMARK_COM1", folder.filePath("port").toLocal8Bit());
        files.writeFileAtomically(
            folder.filePath("vq3.ini").toStdString(),
            storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"}));
    }

    void TearDown() override
    {
        simulator.terminate();
        simulator.waitForFinished(5000);
    }

    QAction* action(const char* name) { return desktop->window().findChild<QAction*>(name); }

    QTemporaryDir folder;
    QProcess simulator;
    qt::PosixFileSystem files;
    fakes::ScriptedUi ui;
    qt::QtSerialPort port;
    qt::QtTimer echoTimer{500};
    qt::QtTimer readTimer{5000};
    qt::QtTimer writeTimer{5000};
    std::unique_ptr<Desktop> desktop;
};

TEST_F(SessionOverPtyTest, ConnectReadEditWriteSaveOpenExit)
{
    const std::string programFolder = folder.path().toStdString();
    desktop =
        std::make_unique<Desktop>(DesktopPorts{files, port, echoTimer, readTimer, writeTimer,
                                               shell::Environment{{programFolder, programFolder}, programFolder, {}}},
                                  &ui);
    ASSERT_TRUE(desktop->start());
    auto& windows = desktop->program().session().windows();
    QTRY_VERIFY_WITH_TIMEOUT(windows.main.window.caption() == "Quellmark VQ-3+ (v2.0) on COM1", 5000);
    EXPECT_EQ(windows.main.VQ3Status.caption(), "Connected");
    EXPECT_TRUE(action("read")->isEnabled());

    action("read")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(windows.tracking.TrkComments.text() == "Mobile station", 5000);
    EXPECT_TRUE(action("tracking")->isChecked());
    EXPECT_TRUE(desktop->binder().widget("Form4")->isVisible());
    EXPECT_EQ(windows.tracking.station.SSID.text(), "9");

    desktop->program().profileTabClick(forms::Mode::Tracking, 1);
    desktop->program().textChanged("TrkSSID", "4");
    desktop->program().textChanged("TrkComments", "Portable");
    desktop->binder().draw();
    QTRY_VERIFY_WITH_TIMEOUT(action("write")->isEnabled(), 5000);
    action("write")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!ui.boxes.empty() && ui.boxes.back().title == "Download Complete", 5000);

    const QString saved = folder.filePath("tracking.vq3");
    ui.paths.push_back(saved.toStdString());
    action("saveconfiguration")->trigger();
    ASSERT_TRUE(QFile::exists(saved));
    QProcess compile;
    compile.start(QM_VQ3, {"compile", saved});
    ASSERT_TRUE(compile.waitForFinished(5000));
    const QByteArray stream = compile.readAllStandardOutput();
    ASSERT_EQ(stream.size(), 129);
    QTRY_COMPARE_WITH_TIMEOUT(QByteArray::fromStdString(readAll(folder.filePath("saved.bin"))), stream.mid(1), 5000);

    const auto before = desktop->program().session().configurationLines();
    action("newconfiguration")->trigger();
    EXPECT_EQ(windows.tracking.TrkComments.text(), "");
    ui.paths.push_back(saved.toStdString());
    action("openconfiguration")->trigger();
    EXPECT_EQ(desktop->program().session().configurationLines(), before);

    action("exit")->trigger();
    EXPECT_TRUE(ui.ended);
    EXPECT_FALSE(port.isOpen());
}

} // namespace
} // namespace qm::app

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
