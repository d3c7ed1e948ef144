// The desktop program used from the keyboard alone, on a virtual screen: typing into the editable lists with their
// completions, Tab and F6 round the main window and the mode window, the Alt keys, the profile tabs, the welcome
// window and the help viewer. Real key and mouse events go to the widget that has the focus.
#include "Desktops.h"

#include "app/HelpViewer.h"
#include "forms/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeySequence>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTextBrowser>

namespace qm::app::guitest
{
namespace
{

using Names = std::vector<std::string>;

/// The name of the control that has the focus: an editable list's for its edit field.
std::string focusName()
{
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus->objectName().isEmpty() && qobject_cast<QComboBox*>(focus->parentWidget()))
        focus = focus->parentWidget();
    return focus ? focus->objectName().toStdString() : "(none)";
}

class KeyboardTest : public DesktopOnFakePorts
{
protected:
    void show()
    {
        desktop->window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&desktop->window()));
    }

    void choose(const char* mode, bool connected)
    {
        if (connected && !windows().main.ConnectButton.visible())
            connect();
        action(mode)->trigger();
        show();
    }

    /// Sends a key where the keyboard sends it: to the widget with the focus.
    void key(const QKeySequence& keys)
    {
        const QKeyCombination combination = keys[0];
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &desktop->window();
        QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
    }

    /// Types keys as written ("a{End}x": a, End, x), a probe period after each, as the windows are drawn again.
    void type(const std::string& keys)
    {
        for (std::size_t at = 0; at < keys.size(); ++at) {
            if (keys[at] == '{') {
                const auto close = keys.find('}', at);
                key(QKeySequence(QString::fromStdString(keys.substr(at + 1, close - at - 1))));
                at = close;
            } else {
                QTest::keyClick(QApplication::focusWidget(), keys[at]);
            }
            probeTick();
        }
    }

    /// Tab (or Shift+Tab) from the control with the focus until it comes back: the controls passed on the way.
    Names round(bool forward)
    {
        const std::string start = focusName();
        Names passed;
        for (int step = 0; step < 100; ++step) {
            key(forward ? QKeySequence(Qt::Key_Tab) : QKeySequence(Qt::SHIFT | Qt::Key_Backtab));
            if (focusName() == start)
                return passed;
            passed.push_back(focusName());
        }
        ADD_FAILURE() << "no way back to " << start;
        return passed;
    }

    std::string listText(const char* control)
    {
        const auto found = forms::findControl(windows(), control);
        return std::get<forms::PickList*>(*found)->text();
    }
};

TEST_F(KeyboardTest, TypingIntoAnEditableListKeepsWhatIsTypedAndOffersTheRestSelected)
{
    struct Case
    {
        const char* mode;
        const char* control;
        std::string keys;
        std::string text;
        std::string selected;
    };
    const Case cases[] = {
        {"beacon", "BcnToCall", "apz", "APZ", ""},       {"beacon", "BcnToCall", "tlm", "TLM", ""},
        {"beacon", "BcnToCall", "a", "APRS", "PRS"},     {"beacon", "BcnToCall", "al", "ALARM", "ARM"},
        {"beacon", "BcnToCall", "c{End}x", "CLUBX", ""}, {"beacon", "BcnToCall", "g{Backspace}", "G", ""},
        {"beacon", "BcnToCall", "f{Return}", "FOX", ""}, {"beacon", "BcnToCall", "q{Tab}", "QST", ""},
        {"tracking", "TrkToCall", "nm", "NMEA", "EA"},   {"alarm", "AlmToCall", "thu", "THUNT", "NT"},
        {"nmea", "GpsString1", "$GPGSV", "$GPGSV", ""},  {"nmea", "GpsString2", "$gprmc", "$gprmc", ""},
        {"nmea", "GpsString3", "$gpv", "$gpvTG", "TG"},
    };
    for (const Case& c : cases) {
        choose(c.mode, false);
        auto* list = find<QComboBox>(c.control);
        list->setEditText("");
        desktop->program().textChanged(c.control, "");
        QTest::mouseClick(list->lineEdit(), Qt::LeftButton, {}, QPoint(6, list->lineEdit()->height() / 2));
        ASSERT_EQ(focusName(), c.control);
        type(c.keys);
        EXPECT_EQ(list->lineEdit()->text().toStdString(), c.text) << c.control << " " << c.keys;
        EXPECT_EQ(list->lineEdit()->selectedText().toStdString(), c.selected) << c.control << " " << c.keys;
        EXPECT_EQ(listText(c.control), c.text) << c.control << " " << c.keys;
    }
}

TEST_F(KeyboardTest, TabGoesRoundTheModeWindowAndTheMainWindowsControlsInUse)
{
    struct Case
    {
        const char* mode;
        bool connected;
        Names main;
    };
    const Case cases[] = {
        {"beacon", false, {"LEDDisable"}},
        {"nmea", true, {"GpsString1", "GpsString2", "GpsString3", "ConnectButton", "ModeLock", "LEDDisable"}},
        {"tracking", true, {"ConnectButton", "ModeLock", "LEDDisable", "AutoMode", "MicEncode"}},
    };
    for (const Case& c : cases) {
        choose(c.mode, c.connected);
        const QWidget* form = desktop->binder().widget(c.mode == std::string("beacon") ? "Form2"
                                                       : c.mode == std::string("nmea") ? "Form3"
                                                                                       : "Form4");
        const std::string start = focusName();
        ASSERT_TRUE(form->isAncestorOf(QApplication::focusWidget())) << c.mode;
        const Names forward = round(true);
        Names outside;
        for (const std::string& name : forward)
            if (!form->findChild<QWidget*>(QString::fromStdString(name)))
                outside.push_back(name);
        EXPECT_EQ(outside, c.main) << c.mode;
        ASSERT_GE(forward.size(), c.main.size());
        EXPECT_EQ(Names(forward.end() - static_cast<std::ptrdiff_t>(c.main.size()), forward.end()), c.main) << c.mode;
        Names backward = round(false);
        std::reverse(backward.begin(), backward.end());
        EXPECT_EQ(backward, forward) << c.mode;
        EXPECT_EQ(focusName(), start);
    }
}

TEST_F(KeyboardTest, F6MovesBetweenThePanelsAndTheModeWindowAndBackToTheFieldLeft)
{
    struct Case
    {
        const char* mode;
        const char* field;
        Names stops;
    };
    const Case cases[] = {
        {"nmea", "NMEASSID", {"GpsString1", "ConnectButton", "ModeLock", "NMEASSID"}},
        {"tracking", "TrkComments", {"ConnectButton", "ModeLock", "TrkComments"}},
        {"alarm", "AlmMyCall", {"ConnectButton", "LEDDisable", "AlmMyCall"}},
    };
    for (const Case& c : cases) {
        choose(c.mode, true);
        find(c.field)->setFocus(Qt::MouseFocusReason);
        Names forward;
        for (std::size_t step = 0; step < c.stops.size(); ++step) {
            key(QKeySequence(Qt::Key_F6));
            forward.push_back(focusName());
        }
        EXPECT_EQ(forward, c.stops) << c.mode;
        Names backward;
        for (std::size_t step = 0; step < c.stops.size(); ++step) {
            key(QKeySequence(Qt::SHIFT | Qt::Key_F6));
            backward.insert(backward.begin(), focusName());
        }
        std::rotate(backward.begin(), backward.begin() + 1, backward.end());
        EXPECT_EQ(backward, c.stops) << c.mode;
    }
}

TEST_F(KeyboardTest, EachAltKeyOfTheMainWindowReachesItsControl)
{
    struct Case
    {
        const char* mode;
        QKeySequence keys;
        const char* control;
    };
    const Case cases[] = {
        {"tracking", QKeySequence(Qt::ALT | Qt::Key_L), "ModeLock"},
        {"tracking", QKeySequence(Qt::ALT | Qt::Key_O), "LEDDisable"},
        {"tracking", QKeySequence(Qt::ALT | Qt::Key_A), "AutoMode"},
        {"tracking", QKeySequence(Qt::ALT | Qt::Key_E), "MicEncode"},
        {"nmea", QKeySequence(Qt::ALT | Qt::Key_1), "GpsString1"},
        {"nmea", QKeySequence(Qt::ALT | Qt::Key_2), "GpsString2"},
        {"nmea", QKeySequence(Qt::ALT | Qt::Key_3), "GpsString3"},
    };
    for (const Case& c : cases) {
        choose(c.mode, false);
        const auto control = forms::findControl(windows(), c.control);
        forms::CheckBox* const* box = std::get_if<forms::CheckBox*>(&*control);
        const bool ticked = box && (*box)->isSet();
        key(c.keys);
        EXPECT_EQ(focusName(), c.control) << c.keys.toString().toStdString();
        if (box) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return (*box)->isSet() != ticked; }, 2000)) << c.control;
        }
    }
}

TEST_F(KeyboardTest, CtrlTabAndCtrlPageKeysStepRoundTheProfileTabs)
{
    struct Case
    {
        const char* mode;
        const char* tabs;
        std::vector<QKeySequence> keys;
        int tab;
    };
    const QKeySequence next(Qt::CTRL | Qt::Key_Tab);
    const QKeySequence down(Qt::CTRL | Qt::Key_PageDown);
    const QKeySequence up(Qt::CTRL | Qt::Key_PageUp);
    const Case cases[] = {
        {"nmea", "NMEAProfile", {next, next}, 2},
        {"nmea", "NMEAProfile", {up}, 9},
        {"tracking", "TrkProfile", {down, down, down, up}, 2},
        {"tracking", "TrkProfile", {up, up, next, next, next}, 1},
    };
    for (const Case& c : cases) {
        choose(c.mode, false);
        desktop->program().profileTabClick(*desktop->program().session().state().currentMode, 0);
        desktop->binder().draw();
        find(c.mode == std::string("nmea") ? "NMEASSID" : "TrkSSID")->setFocus(Qt::MouseFocusReason);
        for (const QKeySequence& keys : c.keys)
            key(keys);
        EXPECT_EQ(find<QTabBar>(c.tabs)->currentIndex(), c.tab) << c.tabs;
        const forms::Panel& frame =
            c.mode == std::string("nmea") ? windows().nmea.NMEAProfileFrame : windows().tracking.TrkProfileFrame;
        EXPECT_EQ(frame.caption(), "Profile #" + std::to_string(c.tab + 1) + " Settings");
    }
}

TEST_F(KeyboardTest, TheWelcomeWindowTakesTheKeysAndEnterOrEscapeClosesItForTheMainWindow)
{
    const std::pair<Qt::Key, bool> cases[] = {
        {Qt::Key_Return, false}, {Qt::Key_Enter, true}, {Qt::Key_Escape, false}, {Qt::Key_Escape, true}};
    for (const auto& [closing, untick] : cases) {
        DesktopPorts welcoming = ports();
        files.files["/opt/quellmark/vq3.ini"] =
            storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "TRUE", "Reserved", "Reserved", "Reserved"});
        desktop.reset();
        start(std::move(welcoming));
        WelcomeWindow& welcome = desktop->welcome();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&welcome)) << closing;
        connect();
        if (untick)
            QTest::mouseClick(welcome.findChild<QCheckBox*>("ShowSplashScreen"), Qt::LeftButton, {}, QPoint(4, 4));
        QTest::keyClick(QApplication::focusWidget(), closing);
        EXPECT_FALSE(welcome.isVisible()) << closing;
        EXPECT_TRUE(QTest::qWaitForWindowActive(&desktop->window())) << closing;
        EXPECT_EQ(storage::splitLines(files.files["/opt/quellmark/vq3.ini"]).at(6), untick ? "FALSE" : "TRUE")
            << closing;
        EXPECT_NE(focusName(), "ConnectButton") << closing;
        key(QKeySequence(Qt::Key_Space));
        EXPECT_EQ(windows().main.VQ3Status.caption(), "Connected") << closing;
    }
}

TEST_F(KeyboardTest, EscapeClosesTheHelpViewer)
{
    QTemporaryDir folder;
    QFile file(folder.filePath("vq3.hlp"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<h1>Contents</h1>");
    file.close();
    HelpViewer help;
    for (int opened = 0; opened < 2; ++opened) {
        help.open(file.fileName());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &help, Qt::Key_Escape);
        EXPECT_FALSE(help.isVisible()) << opened;
    }
}

TEST_F(KeyboardTest, ALongRecentFileLeavesTheMenuWithinTheScreen)
{
    const QString path = "/home/user/" + QString(4980, 'd') + "/beacon.vq3";
    files.files["/root/.config/quellmark/quellmark.conf"] = "RecentFile=" + path.toStdString() + "\r\n";
    desktop.reset();
    start(ports());
    show();
    auto* recent = desktop->window().findChild<QMenu*>("recentfiles");
    ASSERT_TRUE(recent);
    EXPECT_TRUE(action("recentfile1")->text().endsWith("/beacon.vq3"));
    EXPECT_LT(recent->sizeHint().width(), desktop->window().screen()->availableGeometry().width() / 2);
}

} // namespace
} // namespace qm::app::guitest
