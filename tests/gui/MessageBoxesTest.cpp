// The program's boxes as they appear on a desktop: line breaks as written, never hidden behind the welcome window,
// prompts that fit the screen, the device choice.
#include "Desktops.h"

#include "app/QtUi.h"

#include <QComboBox>
#include <QInputDialog>
#include <QProcess>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScreen>

namespace qm::app::guitest
{
namespace
{

/// The top-level windows from bottom to top, as the window manager stacks them.
QList<WId> stackingOrder()
{
    QProcess xprop;
    xprop.start("xprop", {"-root", "-notype", "_NET_CLIENT_LIST_STACKING"});
    xprop.waitForFinished(5000);
    QList<WId> order;
    for (const auto& match :
         QRegularExpression("0x[0-9a-f]+").globalMatch(QString::fromLatin1(xprop.readAllStandardOutput())))
        order << match.captured().toULongLong(nullptr, 16);
    return order;
}

class MessageBoxesTest : public DesktopOnFakePorts
{
protected:
    void SetUp() override {}

    QWidget parent;
    QProgressBar progress;
    QtUi qtUi{parent, progress, [] {}};
};

TEST_F(MessageBoxesTest, BoxesAndPromptsShowEveryLineBreakAsWritten)
{
    const std::pair<const char*, QString> breaks[] = {
        {"one\r\ntwo", "one\ntwo"},       {"one\n\rtwo", "one\ntwo"},
        {"one\rtwo", "one\ntwo"},         {"one\r\n\rtwo", "one\n\ntwo"},
        {"one\r\n\r\ntwo", "one\n\ntwo"}, {"Select.\r\n\rClick.\r\n\r", "Select.\n\nClick.\n\n"},
    };
    for (const auto& [written, expected] : breaks) {
        QStringList texts;
        Answerer answerer([&](QDialog& dialog) {
            auto* box = qobject_cast<QMessageBox*>(&dialog);
            texts << (box ? box->text() : qobject_cast<QInputDialog*>(&dialog)->labelText());
            dialog.accept();
        });
        qtUi.messageBox(forms::messageBox("Title", written, forms::Icon::Information));
        qtUi.inputBox(written, "Title", "");
        EXPECT_EQ(texts, QStringList({expected, expected})) << written;
    }
}

TEST_F(MessageBoxesTest, TheProgressBarShowsDuringATransferAndHidesAtItsEnd)
{
    for (const int total : {129, 131}) {
        qtUi.showProgress(0, total);
        EXPECT_TRUE(progress.isVisible()) << total;
        qtUi.showProgress(total, total);
        EXPECT_FALSE(progress.isVisible()) << total;
        EXPECT_EQ(progress.value(), total);
    }
}

TEST_F(MessageBoxesTest, APromptWithLongLinesFitsANarrowScreen)
{
    const std::string sentence = "Please enter the serial port that the VQ-3 is attached to and then click OK.  ";
    const std::string prompt = "Welcome to the Quellmark Configuration Program.\r\n\r" + sentence + sentence +
                               sentence + "\r\n\r" + sentence + sentence + sentence + sentence + "\r\n\r";
    QRect shown;
    bool inside = false;
    Answerer answerer([&](QDialog& dialog) {
        // The window manager frames and places the box a moment after it is shown; the place is read then.
        const QRect screen = parent.screen()->availableGeometry();
        // The waits are long because a loaded machine can take seconds for each step; they end as soon as it is done.
        inside = QTest::qWaitForWindowExposed(&dialog, 20000) &&
                 QTest::qWaitFor([&] { return dialog.frameGeometry() != dialog.geometry(); }, 20000) &&
                 QTest::qWaitFor([&] { return screen.contains(dialog.frameGeometry()); }, 20000);
        shown = dialog.frameGeometry();
        dialog.accept();
    });
    qtUi.inputBox(prompt, "Serial Port Selection", "");
    ASSERT_EQ(answerer.seen, 1);
    EXPECT_LE(shown.width(), 1280 - 80);
    EXPECT_TRUE(inside) << shown.width() << "x" << shown.height() << " at " << shown.x() << "," << shown.y();
}

TEST_F(MessageBoxesTest, BoxesOfTheLinkOpenAboveTheWelcomeWindow)
{
    const std::pair<const char*, std::string> answers[] = {
        {"Warning", std::string("U\x01\x00", 3) + std::string(128, '\0')},
        {"Communications Error", "X" + std::string(130, '\0')},
    };
    for (const auto& [expected, reply] : answers) {
        DesktopPorts welcoming = ports();
        files.files["/opt/quellmark/vq3.ini"] =
            storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "TRUE", "Reserved", "Reserved", "Reserved"});
        desktop = std::make_unique<Desktop>(std::move(welcoming));
        ASSERT_TRUE(desktop->start());
        WelcomeWindow& welcome = desktop->welcome();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&welcome));
        ASSERT_TRUE(welcome.isTopmost());
        QTest::qWait(300);

        QString title;
        bool above = false;
        Answerer answerer([&](QDialog& dialog) {
            title = dialog.windowTitle();
            above = QTest::qWaitForWindowExposed(&dialog) && QTest::qWaitFor(
                                                                 [&] {
                                                                     const auto order = stackingOrder();
                                                                     const auto box = order.indexOf(dialog.winId());
                                                                     return box > order.indexOf(welcome.winId());
                                                                 },
                                                                 20000);
            dialog.accept();
        });
        connect();
        port.deliver(reply);
        ASSERT_EQ(answerer.seen, 1) << expected;
        EXPECT_EQ(title, expected);
        EXPECT_TRUE(above) << expected;
        EXPECT_TRUE(welcome.isVisible() && welcome.isTopmost());
        desktop.reset();
    }
}

TEST_F(MessageBoxesTest, DeviceChoiceOffersThePresentDevicesByTheirLinesAndAnswersWithAPath)
{
    const std::vector<shell::SerialDevice> present{{"/dev/ttyUSB0", "FT232R USB UART"}, {"/dev/ttyS0", ""}};
    const QString usb = "/dev/ttyUSB0 \u2014 FT232R USB UART";
    // The device in use, the entry chosen (-1: the text typed, if any), the entries offered and the answer.
    const std::tuple<std::string, int, QString, QStringList, std::string> rows[] = {
        {"", 1, "", {usb, "/dev/ttyS0"}, "/dev/ttyS0"},
        {"/dev/serial/by-id/x", -1, "", {"/dev/serial/by-id/x", usb, "/dev/ttyS0"}, "/dev/serial/by-id/x"},
        {"", -1, "/dev/rfcomm0", {usb, "/dev/ttyS0"}, "/dev/rfcomm0"},
    };
    for (const auto& [current, chosen, typed, entries, answer] : rows) {
        QStringList offered;
        QString preset;
        Answerer answerer([&](QDialog& dialog) {
            auto* input = qobject_cast<QInputDialog*>(&dialog);
            EXPECT_EQ(input->windowTitle(), "Other Serial Device");
            offered = input->comboBoxItems();
            preset = input->textValue();
            auto* list = input->findChild<QComboBox*>("DevicePath");
            if (chosen >= 0)
                list->setCurrentIndex(chosen);
            else if (!typed.isEmpty())
                list->setEditText(typed);
            input->accept();
        });
        EXPECT_EQ(qtUi.chooseDevice(present, current), answer);
        EXPECT_EQ(offered, entries);
        EXPECT_EQ(preset, current.empty() ? usb : entries[0]);
    }
}

} // namespace
} // namespace qm::app::guitest
