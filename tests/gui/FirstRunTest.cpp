// The assembled desktop program started on a fresh account: real files in an empty configuration folder, the
// prompts answered by a scripted Ui, the windows drawn from the models.
#include "app/Desktop.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "fakes/ScriptedUi.h"
#include "qt/PosixFileSystem.h"
#include "storage/ConfigFile.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace qm::app
{
namespace
{

std::string fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "(none)";
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

class FirstRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath("program"));
        ASSERT_TRUE(QDir(root.path()).mkpath("home"));
    }

    std::unique_ptr<Desktop> start()
    {
        auto desktop = std::make_unique<Desktop>(
            DesktopPorts{files, port, echoTimer, readTimer, writeTimer,
                         shell::Environment{{programFolder().toStdString(), configFolder().toStdString()},
                                            root.path().toStdString(),
                                            {}}},
            &ui);
        started = desktop->start();
        return desktop;
    }

    QString programFolder() const { return root.filePath("program"); }
    QString configFolder() const { return root.filePath("home/.config/quellmark"); }

    QTemporaryDir root;
    qt::PosixFileSystem files;
    fakes::ScriptedUi ui;
    fakes::FakeSerialPort port;
    fakes::FakeTimer echoTimer{500};
    fakes::FakeTimer readTimer{5000};
    fakes::FakeTimer writeTimer{5000};
    bool started = false;
};

TEST_F(FirstRunTest, AsksForPortAndCallsignShowsTheWelcomeWindowAndKeepsTheAnswers)
{
    ui.inputs = {"com1", "k1abc"};
    const auto desktop = start();
    ASSERT_TRUE(started);
    EXPECT_TRUE(ui.boxes.empty()) << ui.boxes.front().title;
    EXPECT_EQ(ui.callsStartingWith("input:"),
              (std::vector<std::string>{"input:Serial Port Selection", "input:CallSign Selection"}));
    EXPECT_TRUE(desktop->welcome().isVisible());
    EXPECT_FALSE(desktop->window().isEnabled());
    EXPECT_EQ(fileBytes(configFolder() + "/vq3.ini"),
              storage::joinLines({"1", "K1ABC", "0", "0", "6", "2", "TRUE", "Reserved", "Reserved", "Reserved"}));
    EXPECT_FALSE(QFile::exists(programFolder() + "/vq3.ini"));
    EXPECT_TRUE(desktop->window().findChild<QAction*>("com1")->isChecked());
    EXPECT_EQ(qobject_cast<QLineEdit*>(desktop->binder().widget("TrkMyCall"))->text(), "K1ABC");
    EXPECT_EQ(qobject_cast<QComboBox*>(desktop->binder().widget("TrkTxDelay"))->currentText(), "293 ms *");
    EXPECT_EQ(qobject_cast<QComboBox*>(desktop->binder().widget("TrkTxTail"))->currentText(), "53 ms *");

    emit desktop->welcome().okClicked();
    EXPECT_FALSE(desktop->welcome().isVisible());
    EXPECT_TRUE(desktop->window().isEnabled());
}

struct ShownDialog
{
    QString title;
    int width = 0;
    bool answered = false;
};

/// Answers the modal input dialogs as a person would, one answer each, and notes what each looked like.
class DialogAnswerer
{
public:
    explicit DialogAnswerer(QStringList answers) : m_answers(std::move(answers))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start(10);
    }

    std::vector<ShownDialog> shown;

private:
    void answer()
    {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || m_answers.isEmpty())
            return;
        shown.push_back({dialog->windowTitle(), dialog->frameGeometry().width(), true});
        dialog->setTextValue(m_answers.takeFirst());
        dialog->accept();
    }

    QStringList m_answers;
    QTimer m_timer;
};

TEST_F(FirstRunTest, ThePromptsFitA1280PixelScreen)
{
    DialogAnswerer answerer({"1", "k1abc"});
    Desktop desktop(DesktopPorts{files, port, echoTimer, readTimer, writeTimer,
                                 shell::Environment{{programFolder().toStdString(), configFolder().toStdString()},
                                                    root.path().toStdString(),
                                                    {}}});
    ASSERT_TRUE(desktop.start());
    ASSERT_EQ(answerer.shown.size(), 2U);
    EXPECT_EQ(answerer.shown[0].title, "Serial Port Selection");
    EXPECT_EQ(answerer.shown[1].title, "CallSign Selection");
    for (const ShownDialog& dialog : answerer.shown) {
        EXPECT_GT(dialog.width, 200) << dialog.title.toStdString();
        EXPECT_LE(dialog.width, 1280) << dialog.title.toStdString();
    }
    EXPECT_TRUE(desktop.welcome().isVisible());
    EXPECT_EQ(fileBytes(configFolder() + "/vq3.ini"),
              storage::joinLines({"1", "K1ABC", "0", "0", "6", "2", "TRUE", "Reserved", "Reserved", "Reserved"}));
}

} // namespace
} // namespace qm::app
