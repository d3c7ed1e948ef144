// The unsaved-changes question, Save, the title, the recent files, drops and a second start, in the assembled
// desktop program with its real boxes and file dialogs, driven with mouse clicks and keys on the menus and fields.
#include "app/Desktop.h"
#include "app/RunningCopy.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "qt/PosixFileSystem.h"
#include "storage/ConfigFile.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QLocalServer>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <future>

namespace qm::app
{
namespace
{

QByteArray example(const char* name)
{
    QFile file(QString(QM_EXAMPLES_DIR) + "/" + name);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

/// Answers each modal dialog as it opens: a message box with the button whose text is given (after noting how the
/// box looks), a file dialog by typing a name and Return.
class Answerer
{
public:
    explicit Answerer(QStringList answers) : m_answers(std::move(answers))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start(10);
    }

    struct Seen
    {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
        QString focused;
    };
    std::vector<Seen> boxes;

private:
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (m_answers.isEmpty()) {
            static_cast<QDialog*>(modal)->reject();
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            Seen seen{box->windowTitle(), box->text(), box->icon(), {}, {}};
            // The buttons from left to right, as they are shown.
            QList<QAbstractButton*> buttons = box->buttons();
            std::sort(buttons.begin(), buttons.end(),
                      [](QAbstractButton* a, QAbstractButton* b) { return a->x() < b->x(); });
            for (QAbstractButton* button : buttons)
                seen.buttons << button->text();
            if (auto* focused = qobject_cast<QAbstractButton*>(box->focusWidget()))
                seen.focused = focused->text();
            boxes.push_back(seen);
            const QString wanted = m_answers.takeFirst();
            for (QAbstractButton* button : box->buttons())
                if (button->text() == wanted) {
                    QTest::mouseClick(button, Qt::LeftButton);
                    return;
                }
            box->reject();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            if (!name)
                return;
            name->clear();
            QTest::keyClicks(name, m_answers.takeFirst());
            QTest::keyClick(name, Qt::Key_Return);
        }
    }

    QStringList m_answers;
    QTimer m_timer;
};

/// Runs the action in the application's event loop, as the program runs its commands. Returns 0 when the action
/// ended the program (its loop), 2 when the program went on.
int inEventLoop(const std::function<void()>& act)
{
    QObject context;
    QTimer::singleShot(0, &context, [&] {
        act();
        QTimer::singleShot(0, &context, [] { QCoreApplication::exit(2); });
    });
    return QApplication::exec();
}

class UnsavedChangesGuiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        files.writeFileAtomically(path("vq3.ini"), storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE",
                                                                       "Reserved", "Reserved", "Reserved"}));
        writeExample("t.vq3", "tracking.vq3");
        writeExample("b.vq3", "beacon.vq3");
        const std::string home = folder.path().toStdString();
        desktop = std::make_unique<Desktop>(
            DesktopPorts{files, port, echoTimer, readTimer, writeTimer, shell::Environment{{home, home}, home, {}}});
        ASSERT_TRUE(desktop->start());
        desktop->window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&desktop->window()));
    }

    void writeExample(const QString& name, const char* example)
    {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(qm::app::example(example));
    }

    QByteArray contents(const QString& name) const
    {
        QFile file(folder.filePath(name));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    std::string path(const QString& name) const { return folder.filePath(name).toStdString(); }
    QAction* action(const char* name) { return desktop->window().findChild<QAction*>(name); }
    QString title() const { return desktop->window().windowTitle(); }
    forms::Windows& windows() { return desktop->program().session().windows(); }

    /// Opens t.vq3 and types into its comment field, as a person does.
    void openAndEdit()
    {
        desktop->openFile(folder.filePath("t.vq3"));
        auto* comments = desktop->window().findChild<QLineEdit*>("TrkComments");
        ASSERT_NE(comments, nullptr);
        QTest::mouseClick(comments, Qt::LeftButton);
        QTest::keyClick(comments, Qt::Key_End);
        QTest::keyClicks(comments, "EDITED");
        ASSERT_EQ(title(), "t.vq3* - Quellmark Configuration Program");
    }

    /// Chooses an item as a person does: a click on its menu's title in the menu bar, then on the item (a command
    /// on the bar itself takes the one click).
    void choose(const char* menuName, const char* itemName)
    {
        QMenuBar* bar = desktop->window().menuBar();
        QAction* item = action(itemName);
        ASSERT_NE(item, nullptr) << itemName;
        if (!menuName) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(item).center());
            return;
        }
        auto* menu = desktop->window().findChild<QMenu*>(menuName);
        ASSERT_NE(menu, nullptr) << menuName;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
        QTRY_VERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }

    QTemporaryDir folder;
    qt::PosixFileSystem files;
    fakes::FakeSerialPort port;
    fakes::FakeTimer echoTimer{500};
    fakes::FakeTimer readTimer{5000};
    fakes::FakeTimer writeTimer{5000};
    std::unique_ptr<Desktop> desktop;
};

TEST_F(UnsavedChangesGuiTest, TheQuestionAsShown)
{
    struct Case
    {
        bool file;
        QString text;
    };
    const Case cases[] = {
        {true, "The configuration has changes that are not saved in \"t.vq3\".\n\nDo you want to save them first?"},
        {false, "The Tracking configuration has changes that are not saved in a file.\n\nDo you want to save them "
                "first?"},
    };
    for (const auto& c : cases) {
        if (c.file) {
            openAndEdit();
        } else {
            Answerer discard({"&Discard"});
            choose("file", "newconfiguration");
            QTest::keyClicks(desktop->window().findChild<QLineEdit*>("TrkComments"), "X");
            ASSERT_EQ(title(), "Untitled* - Quellmark Configuration Program");
        }
        Answerer answerer({"Cancel"});
        choose("file", "exit");
        ASSERT_EQ(answerer.boxes.size(), 1u);
        const auto& seen = answerer.boxes[0];
        EXPECT_EQ(seen.title, "Unsaved Changes");
        EXPECT_EQ(seen.text, c.text);
        EXPECT_EQ(seen.icon, QMessageBox::Warning);
        EXPECT_EQ(seen.buttons, (QStringList{"&Save", "&Discard", "Cancel"}));
        EXPECT_EQ(seen.focused, "&Save");
        EXPECT_TRUE(port.isOpen());
    }
}

TEST_F(UnsavedChangesGuiTest, SaveWritesTheFileAndClearsTheMark)
{
    openAndEdit();
    auto* comments = desktop->window().findChild<QLineEdit*>("TrkComments");
    QTest::keyClick(comments, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(contents("t.vq3").contains("EDITED\r\n"));
    EXPECT_EQ(title(), "t.vq3 - Quellmark Configuration Program");
}

enum class Command
{
    Exit,
    New,
    Open,
    Read,
};

class UnsavedChangesAnswerTest : public UnsavedChangesGuiTest,
                                 public ::testing::WithParamInterface<std::tuple<Command, const char*>>
{};

TEST_P(UnsavedChangesAnswerTest, EachCommandAsksAndTheAnswerDecides)
{
    const auto [command, answer] = GetParam();
    const QString button = answer;
    openAndEdit();
    windows().main.menus.read.setEnabled(true);
    desktop->binder().draw();
    port.takeSent();
    const QByteArray original = contents("t.vq3");
    Answerer answerer({button, "b.vq3"});
    const int loop = inEventLoop([&] {
        switch (command) {
        case Command::Exit:
            choose("file", "exit");
            break;
        case Command::New:
            choose("file", "newconfiguration");
            break;
        case Command::Open:
            choose("file", "openconfiguration");
            break;
        case Command::Read:
            choose(nullptr, "read");
            break;
        }
    });
    ASSERT_FALSE(answerer.boxes.empty());
    EXPECT_EQ(answerer.boxes[0].title, "Unsaved Changes");
    const bool goesOn = button != "Cancel";
    EXPECT_EQ(contents("t.vq3") != original, button == "&Save");
    const auto& comments = windows().tracking.TrkComments.text();
    EXPECT_EQ(loop, command == Command::Exit && goesOn ? 0 : 2);
    switch (command) {
    case Command::Exit:
        EXPECT_EQ(port.isOpen(), !goesOn);
        break;
    case Command::New:
        EXPECT_EQ(comments.empty(), goesOn);
        break;
    case Command::Open:
        EXPECT_EQ(desktop->program().session().state().currentMode == forms::Mode::Beacon, goesOn);
        break;
    case Command::Read:
        EXPECT_EQ(port.takeSent() == "U", goesOn);
        break;
    }
    if (!goesOn) {
        EXPECT_EQ(comments.substr(comments.size() - 6), "EDITED");
        EXPECT_EQ(title(), "t.vq3* - Quellmark Configuration Program");
    } else if (command == Command::Open) {
        EXPECT_EQ(title(), "b.vq3 - Quellmark Configuration Program");
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCommandEveryAnswer, UnsavedChangesAnswerTest,
                         ::testing::Combine(::testing::Values(Command::Exit, Command::New, Command::Open,
                                                              Command::Read),
                                            ::testing::Values("&Save", "&Discard", "Cancel")));

TEST_F(UnsavedChangesGuiTest, ClosingTheWindowAsksToo)
{
    openAndEdit();
    {
        Answerer answerer({"Cancel"});
        EXPECT_EQ(inEventLoop([&] { EXPECT_FALSE(desktop->window().close()); }), 2);
        EXPECT_EQ(answerer.boxes.size(), 1u);
        EXPECT_TRUE(port.isOpen());
    }
    Answerer answerer({"&Discard"});
    EXPECT_EQ(inEventLoop([&] { desktop->window().close(); }), 0);
    EXPECT_EQ(answerer.boxes.size(), 1u);
    EXPECT_FALSE(port.isOpen());
}

TEST_F(UnsavedChangesGuiTest, ADroppedFileOpensAsFileOpenDoes)
{
    openAndEdit();
    auto* comments = desktop->window().findChild<QLineEdit*>("TrkComments");
    const QString before = comments->text();
    struct Case
    {
        QString name;
        const char* answer;
        bool opens;
    };
    const Case cases[] = {{"notes.txt", nullptr, false}, {"b.vq3", "Cancel", false}, {"b.vq3", "&Discard", true}};
    for (const auto& c : cases) {
        Answerer answerer(c.answer ? QStringList{c.answer} : QStringList{});
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(folder.filePath(c.name))});
        const QPoint at = comments->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(comments, &enter);
        EXPECT_EQ(enter.isAccepted(), c.name.endsWith(".vq3"));
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(comments, &drop);
        QTest::qWait(50);
        EXPECT_EQ(answerer.boxes.size(), c.answer ? 1u : 0u);
        EXPECT_EQ(desktop->program().session().state().currentMode == forms::Mode::Beacon, c.opens);
        EXPECT_EQ(comments->text(), before);
    }
}

TEST_F(UnsavedChangesGuiTest, RecentFilesAreCheckedWhenTheMenuOpens)
{
    EXPECT_FALSE(action("recentfiles")->isEnabled());
    desktop->openFile(folder.filePath("t.vq3"));
    EXPECT_TRUE(action("recentfiles")->isEnabled());
    desktop->openFile(folder.filePath("b.vq3"));
    QFile::remove(folder.filePath("t.vq3"));
    auto* recent = desktop->window().findChild<QMenu*>("recentfiles");
    choose("file", "recentfiles");
    QTRY_VERIFY(recent->isVisible());
    EXPECT_EQ(action("recentfile1")->text(), "&1 " + folder.filePath("b.vq3"));
    EXPECT_TRUE(action("recentfile1")->isEnabled());
    EXPECT_EQ(action("recentfile2")->text(), "&2 " + folder.filePath("t.vq3"));
    EXPECT_FALSE(action("recentfile2")->isEnabled());
    EXPECT_FALSE(action("recentfile3")->isVisible());
    recent->hide();
    desktop->window().findChild<QMenu*>("file")->hide();

    writeExample("t.vq3", "tracking.vq3");
    choose("file", "recentfiles");
    QTRY_VERIFY(recent->isVisible());
    ASSERT_TRUE(action("recentfile2")->isEnabled());
    QTest::mouseClick(recent, Qt::LeftButton, {}, recent->actionGeometry(action("recentfile2")).center());
    EXPECT_EQ(desktop->program().session().state().currentMode, forms::Mode::Tracking);
    EXPECT_EQ(title(), "t.vq3 - Quellmark Configuration Program");
}

TEST(RunningCopyTest, NamesAndArguments)
{
    EXPECT_EQ(runningCopySocketPath("/run/user/1000/quellmark.lock"), "/run/user/1000/quellmark.socket");
    EXPECT_EQ(runningCopySocketPath("/home/a/.cache/quellmark/quellmark-pc.lock"),
              "/home/a/.cache/quellmark/quellmark-pc.socket");
    EXPECT_EQ(runningCopySocketPath(""), "");
    const struct
    {
        QStringList arguments;
        QString file;
    } cases[] = {
        {{"quellmark"}, ""},
        {{"quellmark", "/data/a.vq3"}, "/data/a.vq3"},
        {{"quellmark", "-style", "/data/a.vq3"}, "/data/a.vq3"},
        {{"quellmark", "--", "-odd.vq3"}, QDir::current().absoluteFilePath("-odd.vq3")},
        {{"quellmark", "b.vq3"}, QDir::current().absoluteFilePath("b.vq3")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(commandLineFile(c.arguments), c.file) << c.arguments.join(' ').toStdString();
}

TEST(RunningCopyTest, ASecondStartHandsItsFileToTheRunningCopy)
{
    QTemporaryDir folder;
    const QString socket = folder.filePath("quellmark.socket");
    RunningCopyServer server;
    ASSERT_TRUE(server.listen(socket));
    QSignalSpy raised(&server, &RunningCopyServer::raiseRequested);
    QSignalSpy opened(&server, &RunningCopyServer::openRequested);
    for (const QString& file : {QString("/data/club tracker.vq3"), QString()}) {
        auto handed = std::async(std::launch::async, [&] { return handToRunningCopy(socket, file); });
        QTRY_VERIFY(handed.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
        EXPECT_TRUE(handed.get());
    }
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0][0].toString(), "/data/club tracker.vq3");
    EXPECT_EQ(raised.size(), 1);
}

TEST(RunningCopyTest, ACopyThatDoesNotAnswerIsNotReached)
{
    QTemporaryDir folder;
    EXPECT_FALSE(handToRunningCopy(folder.filePath("nobody.socket"), "/a.vq3", 200));
    EXPECT_FALSE(handToRunningCopy("", "/a.vq3", 200));
    QLocalServer silent;
    ASSERT_TRUE(silent.listen(folder.filePath("silent.socket")));
    auto handed =
        std::async(std::launch::async, [&] { return handToRunningCopy(folder.filePath("silent.socket"), "", 300); });
    QTRY_VERIFY_WITH_TIMEOUT(handed.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 3000);
    EXPECT_FALSE(handed.get());
}

} // namespace
} // namespace qm::app
