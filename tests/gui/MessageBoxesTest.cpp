// The program's boxes as they appear on a desktop: line breaks as written, never hidden behind the welcome window,
// prompts that fit the screen.
#include "DesktopOnFakePorts.h"

#include "app/QtUi.h"

#include <QComboBox>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>

namespace qm::app::guitest
{
namespace
{

/// Looks at every modal dialog that opens, then answers it with its default button.
class DialogWatcher
{
public:
    explicit DialogWatcher(std::function<void(QDialog&)> look) : m_look(std::move(look))
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible() || m_busy)
                return;
            m_busy = true;
            m_look(*dialog);
            ++seen;
            dialog->accept();
            m_busy = false;
        });
        m_timer.start();
    }

    int seen = 0;

private:
    std::function<void(QDialog&)> m_look;
    QTimer m_timer;
    bool m_busy = false;
};

/// The top-level windows from bottom to top, as the window manager stacks them.
QList<WId> stackingOrder()
{
    QProcess xprop;
    xprop.start("xprop", {"-root", "-notype", "_NET_CLIENT_LIST_STACKING"});
    xprop.waitForFinished(5000);
    QList<WId> order;
    const QString listed = QString::fromLatin1(xprop.readAllStandardOutput());
    for (const auto& match : QRegularExpression("0x[0-9a-f]+").globalMatch(listed))
        order << match.captured().toULongLong(nullptr, 16);
    return order;
}

struct BreakCase
{
    const char* written;
    const char* shown;
};

const BreakCase kBreaks[] = {
    {"one\r\ntwo", "one\ntwo"},
    {"one\n\rtwo", "one\ntwo"},
    {"one\rtwo", "one\ntwo"},
    {"one\ntwo", "one\ntwo"},
    {"one\r\n\rtwo", "one\n\ntwo"},
    {"one\r\n\r\ntwo", "one\n\ntwo"},
    {"one\r\r\ntwo", "one\n\ntwo"},
    {"Please select.\r\n\rTo do this, click.\r\n\r", "Please select.\n\nTo do this, click.\n\n"},
};

class MessageBoxesTest : public DesktopOnFakePorts
{
protected:
    void SetUp() override {}
};

TEST_F(MessageBoxesTest, BoxesAndPromptsShowEveryLineBreakAsWritten)
{
    QWidget parent;
    QProgressBar progress;
    QtUi qtUi(parent, progress, [] {});
    for (const BreakCase& c : kBreaks) {
        QString boxText;
        QString promptText;
        DialogWatcher watcher([&](QDialog& dialog) {
            if (auto* box = qobject_cast<QMessageBox*>(&dialog))
                boxText = box->text();
            if (auto* input = qobject_cast<QInputDialog*>(&dialog))
                promptText = input->labelText();
        });
        qtUi.messageBox(forms::messageBox("Title", c.written, forms::Icon::Information));
        qtUi.inputBox(c.written, "Title", "");
        ASSERT_EQ(watcher.seen, 2);
        EXPECT_EQ(boxText, c.shown) << c.written;
        EXPECT_EQ(promptText, c.shown) << c.written;
    }
}

TEST_F(MessageBoxesTest, APromptWithLongLinesFitsANarrowScreen)
{
    QWidget parent;
    QProgressBar progress;
    QtUi qtUi(parent, progress, [] {});
    const std::string sentence = "Please enter the serial port that the VQ-3 is "
                                 "attached to and then click OK.  ";
    const std::string prompt = "Welcome to the Quellmark Configuration Program.\r\n\r" + sentence + sentence +
                               sentence + "\r\n\r" + sentence + sentence + sentence + sentence + "\r\n\r";
    QRect shown;
    DialogWatcher watcher([&](QDialog& dialog) { shown = dialog.frameGeometry(); });
    qtUi.inputBox(prompt, "Serial Port Selection", "");
    ASSERT_EQ(watcher.seen, 1);
    EXPECT_LE(shown.width(), 1280 - 80);
    EXPECT_TRUE(parent.screen()->availableGeometry().contains(shown));
}

struct UnitAnswer
{
    const char* box;
    std::string reply;
};

TEST_F(MessageBoxesTest, BoxesOfTheLinkOpenAboveTheWelcomeWindow)
{
    const UnitAnswer answers[] = {
        {"Warning", std::string("U\x01\x00", 3) + std::string(128, '\0')},
        {"Communications Error", "X" + std::string(130, '\0')},
    };
    files.files["/opt/quellmark/vq3.ini"] =
        storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "TRUE", "Reserved", "Reserved", "Reserved"});
    for (const UnitAnswer& answer : answers) {
        desktop = std::make_unique<Desktop>(
            DesktopPorts{files, port, echoTimer, readTimer, writeTimer,
                         shell::Environment{{"/opt/quellmark", "/root/.config/quellmark"}, "/home/user", {}}});
        ASSERT_TRUE(desktop->start());
        WelcomeWindow& welcome = desktop->welcome();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&welcome));
        ASSERT_TRUE(welcome.isTopmost());
        QTest::qWait(300);

        QString title;
        bool above = false;
        bool exposed = false;
        DialogWatcher watcher([&](QDialog& dialog) {
            title = dialog.windowTitle();
            exposed = QTest::qWaitForWindowExposed(&dialog);
            above = QTest::qWaitFor(
                [&] {
                    const auto order = stackingOrder();
                    const auto box = order.indexOf(dialog.winId());
                    return box >= 0 && box > order.indexOf(welcome.winId());
                },
                20000);
        });
        probeTick();
        port.deliver(std::string(1, '\xAA'));
        port.deliver(answer.reply);
        ASSERT_EQ(watcher.seen, 1) << answer.box;
        EXPECT_EQ(title, answer.box);
        EXPECT_TRUE(exposed) << answer.box;
        EXPECT_TRUE(above) << answer.box;
        EXPECT_TRUE(welcome.isVisible());
        EXPECT_TRUE(welcome.isTopmost());
        desktop.reset();
    }
}

TEST_F(MessageBoxesTest, DeviceChoiceOffersThePresentDevicesByTheirLinesAndAnswersWithAPath)
{
    QWidget parent;
    QProgressBar progress;
    QtUi qtUi(parent, progress, [] {});
    const std::vector<shell::SerialDevice> present{{"/dev/ttyUSB0", "FT232R USB UART"}, {"/dev/ttyS0", ""}};
    const struct
    {
        const char* name;
        std::string current;
        /// The entry chosen, or the text typed when empty.
        int entry;
        QString typed;
        QStringList offered;
        QString preset;
        std::string answer;
    } rows[] = {
        {"FirstPresetChooseSecond",
         "",
         1,
         "",
         {"/dev/ttyUSB0 \u2014 FT232R USB UART", "/dev/ttyS0"},
         "/dev/ttyUSB0 \u2014 FT232R USB UART",
         "/dev/ttyS0"},
        {"CurrentPresentIsPreset",
         "/dev/ttyUSB0",
         -1,
         "",
         {"/dev/ttyUSB0 \u2014 FT232R USB UART", "/dev/ttyS0"},
         "/dev/ttyUSB0 \u2014 FT232R USB UART",
         "/dev/ttyUSB0"},
        {"CurrentAbsentIsOfferedFirst",
         "/dev/serial/by-id/x",
         -1,
         "",
         {"/dev/serial/by-id/x", "/dev/ttyUSB0 \u2014 FT232R USB UART", "/dev/ttyS0"},
         "/dev/serial/by-id/x",
         "/dev/serial/by-id/x"},
        {"TypedPath",
         "",
         -1,
         "/dev/rfcomm0",
         {"/dev/ttyUSB0 \u2014 FT232R USB UART", "/dev/ttyS0"},
         "/dev/ttyUSB0 \u2014 FT232R USB UART",
         "/dev/rfcomm0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QStringList offered;
        QString preset;
        DialogWatcher watcher([&](QDialog& dialog) {
            auto* input = qobject_cast<QInputDialog*>(&dialog);
            ASSERT_NE(input, nullptr);
            EXPECT_EQ(input->windowTitle(), "Other Serial Device");
            offered = input->comboBoxItems();
            preset = input->textValue();
            auto* list = input->findChild<QComboBox*>("DevicePath");
            ASSERT_NE(list, nullptr);
            if (row.entry >= 0)
                list->setCurrentIndex(row.entry);
            else if (!row.typed.isEmpty())
                list->setEditText(row.typed);
        });
        const auto answer = qtUi.chooseDevice(present, row.current);
        ASSERT_EQ(watcher.seen, 1);
        EXPECT_EQ(offered, row.offered);
        EXPECT_EQ(preset, row.preset);
        EXPECT_EQ(answer, row.answer);
    }
}

} // namespace
} // namespace qm::app::guitest
