// The Serial Port menu naming the device of each COM port, Other Device, the keyboard shortcuts and the main
// window's remembered place, driven through the real menus and keys.
#include "gui/DesktopOnFakePorts.h"
#include "qt/ComPorts.h"
#include "qt/PseudoTerminal.h"

#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>

namespace qm::app::guitest
{
namespace
{

class FixedDevices : public shell::SerialDevices
{
public:
    std::array<shell::SerialDevice, 4> com;
    std::vector<shell::SerialDevice> found;
    std::array<shell::SerialDevice, 4> comPorts() override { return com; }
    std::vector<shell::SerialDevice> present() override { return found; }
};

/// Sets an environment variable for as long as it lives.
class ScopedVariable
{
public:
    ScopedVariable(const char* name, const std::string& value) : m_name(name) { ::setenv(name, value.c_str(), 1); }
    ~ScopedVariable() { ::unsetenv(m_name); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;
    void set(const std::string& value) { ::setenv(m_name, value.c_str(), 1); }

private:
    const char* m_name;
};

class PortMenuTest : public DesktopOnFakePorts
{
protected:
    void SetUp() override {}

    void startWith(shell::SerialDevices& devices)
    {
        writeSettings();
        DesktopPorts ports{
            files,     port,       echoTimer,
            readTimer, writeTimer, shell::Environment{{"/opt/quellmark", "/root/.config/quellmark"}, "/home/user", {}}};
        ports.devices = &devices;
        desktop = std::make_unique<Desktop>(ports, &ui);
        ui.binder = &desktop->binder();
        ASSERT_TRUE(desktop->start());
        desktop->window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&desktop->window()));
    }

    /// Opens Setup > Serial Port with the keyboard, as a user does, and returns the submenu shown.
    QMenu* openPortMenu()
    {
        auto* setup = desktop->window().findChild<QMenu*>("setup");
        auto* serialPort = desktop->window().findChild<QMenu*>("serialport");
        QTest::keyClick(&desktop->window(), Qt::Key_S, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return setup->isVisible(); }, 2000));
        QTest::keyClick(setup, Qt::Key_P);
        EXPECT_TRUE(QTest::qWaitFor([&] { return serialPort->isVisible(); }, 2000));
        return serialPort;
    }

    void closeMenus()
    {
        for (const char* name : {"serialport", "setup"})
            if (auto* menu = desktop->window().findChild<QMenu*>(name); menu->isVisible())
                menu->close();
    }
};

TEST_F(PortMenuTest, ComItemsNameThePseudoTerminalsTheEnvironmentGives)
{
    qttest::PseudoTerminal first;
    qttest::PseudoTerminal second;
    ASSERT_FALSE(first.slavePath().empty());
    ScopedVariable com1("QUELLMARK_COM1", first.slavePath());
    ScopedVariable com2("QUELLMARK_COM2", second.slavePath());
    qt::SystemSerialDevices devices;
    startWith(devices);

    openPortMenu();
    EXPECT_EQ(action("com1")->text(), QString::fromStdString("COM&1  " + first.slavePath()));
    EXPECT_EQ(action("com2")->text(), QString::fromStdString("COM&2  " + second.slavePath()));
    EXPECT_TRUE(action("com1")->isEnabled());
    EXPECT_TRUE(action("com1")->isChecked());
    closeMenus();

    // The menu is read again when it opens: COM1 now names the second terminal.
    com1.set(second.slavePath());
    openPortMenu();
    EXPECT_EQ(action("com1")->text(), QString::fromStdString("COM&1  " + second.slavePath()));
    closeMenus();
}

TEST_F(PortMenuTest, ComPortWithoutDeviceIsGreyedAndTheOthersCarryTheirDescription)
{
    FixedDevices devices;
    devices.com = {shell::SerialDevice{"/dev/ttyUSB0", "FT232R USB UART"}, {}, {}, {}};
    startWith(devices);

    openPortMenu();
    const struct
    {
        const char* item;
        const char* text;
        bool enabled;
    } rows[] = {
        {"com1", "COM&1  /dev/ttyUSB0 \u2014 FT232R USB UART", true},
        {"com2", "COM&2  (no device)", false},
        {"com3", "COM&3  (no device)", false},
        {"com4", "COM&4  (no device)", false},
        {"otherdevice", "&Other Device...", true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(action(row.item)->text(), QString::fromUtf8(row.text)) << row.item;
        EXPECT_EQ(action(row.item)->isEnabled(), row.enabled) << row.item;
    }
    closeMenus();
}

TEST_F(PortMenuTest, OtherDeviceChosenInTheMenuIsOpenedByItsPath)
{
    FixedDevices devices;
    devices.found = {shell::SerialDevice{"/dev/ttyUSB3", "CP2102"}};
    startWith(devices);
    ui.inputs.push_back(std::string("/dev/ttyUSB3"));

    QMenu* menu = openPortMenu();
    menu->setActiveAction(action("otherdevice"));
    QTest::keyClick(menu, Qt::Key_Return);

    ASSERT_TRUE(QTest::qWaitFor([&] { return port.chosenDevice == "/dev/ttyUSB3"; }, 2000));
    EXPECT_EQ(ui.deviceChoices.back(), devices.found);
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(action("otherdevice")->isChecked());
    EXPECT_FALSE(action("com1")->isChecked());
    EXPECT_EQ(action("otherdevice")->text(), "&Other Device...  /dev/ttyUSB3");
}

TEST_F(PortMenuTest, KeysReachTheirCommandsAndShowInTheMenus)
{
    FixedDevices devices;
    startWith(devices);
    const struct
    {
        const char* item;
        QKeySequence keys;
    } rows[] = {
        {"newconfiguration", QKeySequence("Ctrl+N")},
        {"openconfiguration", QKeySequence("Ctrl+O")},
        {"saveconfiguration", QKeySequence("Ctrl+Shift+S")},
        {"printprofiles", QKeySequence("Ctrl+P")},
        {"exit", QKeySequence("Ctrl+Q")},
        {"contents", QKeySequence("F1")},
        {"read", QKeySequence("Ctrl+R")},
        {"write", QKeySequence("Ctrl+D")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.item);
        QAction* item = action(row.item);
        EXPECT_EQ(item->shortcut(), row.keys);
        // An enabled command runs from its keys; a greyed one does not.
        QSignalSpy triggered(item, &QAction::triggered);
        const bool enabled = item->isEnabled();
        QTest::keySequence(&desktop->window(), row.keys);
        EXPECT_EQ(triggered.count(), enabled ? 1 : 0);
        closeMenus();
    }
    EXPECT_EQ(action("read")->toolTip(), "Read (Ctrl+R)");
    EXPECT_EQ(action("write")->toolTip(), "Write (Ctrl+D)");
}

TEST_F(PortMenuTest, MainWindowOpensWhereItWasLeftWithinTheScreen)
{
    // The offscreen screen is 800 by 800 and the window at least 801 wide: the rows move it up and down.
    const struct
    {
        const char* name;
        const char* line;
        QRect expected;
    } rows[] = {
        {"Inside", "Window=8,60,801,500", QRect(8, 60, 801, 500)},
        {"BelowTheScreen", "Window=8,700,801,500", QRect(8, 292, 801, 500)},
        {"AboveTheScreen", "Window=8,-300,801,500", QRect(8, 40, 801, 500)},
        {"TallerThanTheScreen", "Window=8,0,801,2000", QRect(8, 40, 801, 752)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        files.files["/root/.config/quellmark/quellmark.conf"] = std::string(row.line) + "\n";
        FixedDevices devices;
        startWith(devices);
        EXPECT_EQ(desktop->window().geometry(), row.expected);
        desktop.reset();
    }
}

TEST_F(PortMenuTest, MainWindowPlaceIsKeptInTheProgramSettings)
{
    FixedDevices devices;
    startWith(devices);
    const QRect place = desktop->window().geometry();
    desktop->keepWindowPlace();
    EXPECT_EQ(files.files["/root/.config/quellmark/quellmark.conf"], QString("Window=%1,%2,%3,%4\r\n")
                                                                         .arg(place.x())
                                                                         .arg(place.y())
                                                                         .arg(place.width())
                                                                         .arg(place.height())
                                                                         .toStdString());
}

} // namespace
} // namespace qm::app::guitest
