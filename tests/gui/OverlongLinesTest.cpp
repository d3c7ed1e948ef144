// The assembled desktop program opening configuration files whose lines are longer than their fields: each field
// shows its whole line, and Write refuses with the box that names the field and puts the focus there.
#include "app/Desktop.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/ScriptedUi.h"
#include "storage/ConfigFile.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace qm::app
{
namespace
{

/// A scripted Ui that moves the real focus, as the desktop's own does.
class FocusingUi : public fakes::ScriptedUi
{
public:
    ViewBinder* binder = nullptr;

    void setFocus(const std::string& control) override
    {
        ScriptedUi::setFocus(control);
        if (QWidget* widget = binder ? binder->widget(control) : nullptr)
            widget->setFocus(Qt::OtherFocusReason);
    }
};

std::vector<std::string> exampleLines(const std::string& name)
{
    std::ifstream in(QM_EXAMPLES_DIR "/" + name, std::ios::binary);
    return storage::splitLines(std::string(std::istreambuf_iterator<char>(in), {}));
}

QString shownText(QWidget* widget)
{
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return line->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        return plain->toPlainText();
    return "(no text field)";
}

class OverlongLinesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        files.files["/opt/quellmark/vq3.ini"] =
            storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"});
        desktop = std::make_unique<Desktop>(
            DesktopPorts{files, port, echoTimer, readTimer, writeTimer,
                         shell::Environment{{"/opt/quellmark", "/home/ann/.config/quellmark"}, "/home/ann", {}}},
            &ui);
        ui.binder = &desktop->binder();
        ASSERT_TRUE(desktop->start());
        desktop->window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&desktop->window()));
        // A unit answers the probe and identifies itself, so Write is there to click.
        ASSERT_TRUE(echoTimer.tick());
        port.deliver(std::string(1, '\xAA'));
        port.deliver("U\x01\x02" + std::string(128, '\0'));
        port.takeSent();
    }

    QAction* action(const char* name) { return desktop->window().findChild<QAction*>(name); }

    fakes::MemoryFileSystem files;
    FocusingUi ui;
    fakes::FakeSerialPort port;
    fakes::FakeTimer echoTimer{500};
    fakes::FakeTimer readTimer{5000};
    fakes::FakeTimer writeTimer{5000};
    std::unique_ptr<Desktop> desktop;
};

TEST_F(OverlongLinesTest, EveryFieldShowsItsWholeLineAndWriteNamesIt)
{
    const struct
    {
        const char* example;
        std::size_t line;
        std::string text;
        const char* field;
        std::string title;
        std::optional<int> profile;
    } cases[] = {
        {"beacon.vq3", 7, "ABCDEFGH", "BcnMyCall", "Invalid Setting", std::nullopt},
        {"beacon.vq3", 18, "100", "BcnTmrMin", "Invalid Transmit Timer Setting", std::nullopt},
        {"beacon.vq3", 8, "123", "BcnMySSID", "Invalid SSID", std::nullopt},
        {"beacon.vq3", 22, std::string(80, 'B'), "BcnMsgText", "Invalid Setting", std::nullopt},
        {"tracking.vq3", 116, std::string(30, 'c'), "TrkComments", "Invalid Setting", std::nullopt},
        {"tracking.vq3", 13 + 20 + 5, "ab", "TrkSymbol", "Invalid Setting", 3},
        {"alarm.vq3", 28, std::string(30, 'm'), "AlarmMsgText1", "Invalid Setting", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.text);
        auto lines = exampleLines(c.example);
        ASSERT_LT(c.line, lines.size());
        lines[c.line] = c.text;
        files.files["/home/ann/long.vq3"] = storage::joinLines(lines);
        ui.boxes.clear();
        ui.paths = {"/home/ann/long.vq3"};
        action("openconfiguration")->trigger();
        ASSERT_TRUE(ui.boxes.empty()) << ui.boxes.front().title;
        QWidget* field = desktop->binder().widget(c.field);
        ASSERT_NE(field, nullptr);

        // The next probe answered enables Write for the mode the file chose.
        ASSERT_TRUE(echoTimer.tick());
        port.deliver(std::string(1, '\xAA'));
        port.takeSent();
        ASSERT_TRUE(action("write")->isEnabled());
        action("write")->trigger();
        ASSERT_EQ(ui.boxes.size(), 1U);
        EXPECT_EQ(ui.boxes[0].title, c.title);
        EXPECT_EQ(ui.boxes[0].focus, c.field);
        EXPECT_EQ(ui.boxes[0].profile, c.profile);
        EXPECT_EQ(QApplication::focusWidget(), field);
        EXPECT_EQ(shownText(field), QString::fromLatin1(c.text.c_str()));
        if (c.profile) {
            EXPECT_EQ(qobject_cast<QTabBar*>(desktop->binder().widget("TrkProfile"))->currentIndex(), *c.profile - 1);
        }
        EXPECT_EQ(port.takeSent().find('D'), std::string::npos);
    }
}

} // namespace
} // namespace qm::app
