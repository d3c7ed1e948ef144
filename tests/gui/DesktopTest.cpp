// The assembled desktop program driven through its real widgets, on fake ports.
#include "DesktopOnFakePorts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace qm::app
{
namespace
{

using DesktopTest = guitest::DesktopOnFakePorts;

TEST_F(DesktopTest, CallsignFieldsTakeUpperCaseAndPropagate)
{
    action("telemetry")->trigger();
    auto* myCall = find<QLineEdit>("TelMyCall");
    myCall->clear();
    desktop->program().textChanged("TelMyCall", "");
    QTest::keyClicks(myCall, "k1ab-c7");
    EXPECT_EQ(myCall->text(), "K1AB-C");
    for (const char* other : {"BcnMyCall", "NMEAMyCall", "TrkMyCall", "AlmMyCall"})
        EXPECT_EQ(find<QLineEdit>(other)->text(), "K1AB-C") << other;
    EXPECT_EQ(desktop->program().session().windows().alarm.station.MyCall.text(), "K1AB-C");
}

TEST_F(DesktopTest, DigitFieldsDiscardEverythingButDigitsAndSpaces)
{
    action("beacon")->trigger();
    auto* seconds = find<QLineEdit>("BcnTmrSec");
    seconds->selectAll();
    QTest::keyClicks(seconds, "x5-y");
    EXPECT_EQ(seconds->text(), "5");
    EXPECT_EQ(desktop->program().session().windows().beacon.station.TmrSec.text(), "5");
}

TEST_F(DesktopTest, PastingIntoAnSsidFieldFiltersEveryCharacter)
{
    action("alarm")->trigger();
    auto* ssid = find<QLineEdit>("AlmMySSID");
    QApplication::clipboard()->setText("1a-2b3");
    ssid->setFocus();
    QTest::keyClick(ssid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ssid->text(), "12");
    EXPECT_EQ(desktop->program().session().windows().alarm.station.SSID.text(), "12");
}

TEST_F(DesktopTest, ChoosingAnEmptySpecialPathSendsTheUserToDefineItFirst)
{
    action("telemetry")->trigger();
    auto* path3 = find<QComboBox>("TelPath3");
    ASSERT_EQ(path3->count(), 9);
    path3->setCurrentIndex(6);
    emit path3->activated(6);
    EXPECT_EQ(path3->currentIndex(), 0);
    EXPECT_EQ(ui.calls.back(), "focus:TelSpecPath2");

    auto* special = find<QLineEdit>("TelSpecPath2");
    QTest::keyClicks(special, "wide3");
    QFocusEvent leave(QEvent::FocusOut);
    QApplication::sendEvent(special, &leave);
    for (const char* path : {"TelPath1", "TelPath2", "TelPath3", "TelPath4"})
        EXPECT_EQ(find<QComboBox>(path)->itemText(6), "WIDE3") << path;
    emit path3->activated(6);
    EXPECT_EQ(path3->currentIndex(), 6);
}

TEST_F(DesktopTest, ModeSelectionEnablesTheControlsTheModeUses)
{
    action("tracking")->trigger();
    EXPECT_TRUE(find<QCheckBox>("MicEncode")->isEnabled());
    EXPECT_TRUE(find<QCheckBox>("AutoMode")->isEnabled());
    EXPECT_TRUE(desktop->binder().widget("Form4")->isVisible());
    action("telemetry")->trigger();
    EXPECT_FALSE(find<QCheckBox>("MicEncode")->isEnabled());
    EXPECT_FALSE(find<QCheckBox>("ModeLock")->isEnabled());
    EXPECT_TRUE(find<QCheckBox>("LEDDisable")->isEnabled());
    EXPECT_FALSE(desktop->binder().widget("Form4")->isVisible());
    EXPECT_TRUE(desktop->binder().widget("Form1")->isVisible());
    EXPECT_TRUE(action("telemetry")->isChecked());
    EXPECT_FALSE(action("tracking")->isChecked());
}

TEST_F(DesktopTest, WriteWithABadProfileShowsItsBoxAndTheProfileAtFault)
{
    action("nmea")->trigger();
    desktop->program().textChanged("GpsString1", "$GPRMC");
    desktop->program().textChanged("NMEAToCall", "GPS");
    desktop->program().session().windows().nmea.store.entry(7).Path[2] = "3";
    desktop->binder().draw();
    ui.boxes.clear();
    desktop->program().menuCommand("write");
    desktop->binder().draw();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, "Invalid Paths");
    EXPECT_EQ(find<QTabBar>("NMEAProfile")->currentIndex(), 6);
    EXPECT_EQ(ui.calls.back(), "focus:NMEAPath1");
    EXPECT_EQ(find<QComboBox>("NMEAPath3")->currentIndex(), 3);
}

TEST_F(DesktopTest, ProfileTabsKeepEachProfilesValues)
{
    action("tracking")->trigger();
    auto* tabs = find<QTabBar>("TrkProfile");
    tabs->setCurrentIndex(2);
    auto* ssid = find<QLineEdit>("TrkSSID");
    QTest::keyClicks(ssid, "5");
    tabs->setCurrentIndex(6);
    EXPECT_EQ(ssid->text(), "");
    tabs->setCurrentIndex(2);
    EXPECT_EQ(ssid->text(), "5");
    EXPECT_EQ(desktop->binder().widget("TrkProfileFrame")->property("title").toString(), "Profile #3 Settings");
}

TEST_F(DesktopTest, TheStatusPanelFollowsTheLink)
{
    EXPECT_EQ(find<QWidget>("VQ3Status")->property("text").toString(), "Disconnected");
    ASSERT_TRUE(echoTimer.tick());
    port.deliver(std::string(1, '\xAA'));
    EXPECT_EQ(find<QWidget>("VQ3Status")->property("text").toString(), "Connected");
    EXPECT_TRUE(find<QWidget>("ConnectButton")->isVisibleTo(&desktop->window()));
}

TEST_F(DesktopTest, StatusToolTipNamesTheLostDeviceUntilItIsBack)
{
    ASSERT_TRUE(echoTimer.tick());
    port.deliver(std::string(1, '\xAA'));
    auto* status = find<QWidget>("VQ3Status");
    EXPECT_EQ(status->toolTip(), "VQ-3 Connected.");

    port.fail({8020, "gone"});
    EXPECT_EQ(status->toolTip(), "VQ-3 Disconnected. Waiting for the serial port /dev/ttyUSB0 to come back.");
    echoTimer.tick();
    echoTimer.tick();
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(status->toolTip(), "VQ-3 Disconnected.");
    port.deliver(std::string(1, '\xAA'));
    EXPECT_EQ(status->toolTip(), "VQ-3 Connected.");
}

TEST_F(DesktopTest, ClosingTheWindowDuringAWriteAsksThenEndsOnceTheBurstHasLeft)
{
    ASSERT_TRUE(echoTimer.tick());
    port.deliver(std::string(1, '\xAA'));
    port.deliver("U\x01\x02" + std::string(128, '\0'));
    EXPECT_TRUE(action("verifyafterwrite")->isChecked());
    desktop->link().engine().startDownload("D" + std::string(128, 'x'));
    for (int echo = 0; echo < 10; ++echo)
        port.deliver(port.sent.substr(port.sent.size() - 1));
    port.takeSent();
    ui.buttons.push_back(forms::Button::No);

    desktop->window().close();
    EXPECT_EQ(ui.boxes.back(), shell::exitDuringTransferBox());
    EXPECT_EQ(port.sent, "");
    EXPECT_FALSE(ui.ended);

    desktop->window().close();
    EXPECT_EQ(port.takeSent(), std::string(128, '\0') + "EE");
    EXPECT_FALSE(ui.ended);
    EXPECT_FALSE(desktop->window().isEnabled());
    port.allSent();
    EXPECT_TRUE(ui.ended);
    EXPECT_FALSE(port.isOpen());
}

TEST(DesktopExitTest, ExitEndsTheEventLoopThoughTheMainWindowHandsItsCloseToTheProgram)
{
    fakes::MemoryFileSystem files;
    files.files["/opt/quellmark/vq3.ini"] =
        storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"});
    fakes::FakeSerialPort port;
    fakes::FakeTimer echoTimer{500};
    fakes::FakeTimer readTimer{5000};
    fakes::FakeTimer writeTimer{5000};
    Desktop desktop(DesktopPorts{files, port, echoTimer, readTimer, writeTimer,
                                 shell::Environment{{"/opt/quellmark", "/root/.config/quellmark"}, "/home/user", {}}});
    ASSERT_TRUE(desktop.start());
    QTimer::singleShot(0, desktop.window().findChild<QAction*>("exit"), &QAction::trigger);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });

    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.sent.back(), 'E');
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
