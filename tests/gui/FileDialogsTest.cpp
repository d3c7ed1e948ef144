// The assembled desktop program's Open and Save As with the toolkit's own file dialogs, answered as a person
// answers them, on real files.
#include "app/Desktop.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "qt/PosixFileSystem.h"
#include "storage/ConfigFile.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace qm::app
{
namespace
{

/// Answers the next file dialog: chooses a filter, types a name and accepts; notes the filters it offered.
class FileDialogAnswerer
{
public:
    FileDialogAnswerer(QString filter, QString name) : m_filter(std::move(filter)), m_name(std::move(name))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start(10);
    }

    QStringList offered;
    /// The name the dialog showed before the answer was typed.
    QString suggested;

private:
    void answer()
    {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* name = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
        if (!name || !dialog->isVisible())
            return;
        // The save dialog fills in its suggested name once it has read the folder; typing waits for it.
        if (dialog->acceptMode() == QFileDialog::AcceptSave && offered.isEmpty() && name->text().isEmpty())
            return;
        // A dialog that does not close on the answer is closed, so the test fails instead of waiting for ever.
        if (!offered.isEmpty()) {
            dialog->reject();
            return;
        }
        offered = dialog->nameFilters();
        suggested = name->text();
        dialog->selectNameFilter(m_filter);
        // The suggested name is typed over, as a person does.
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(name, m_name);
        QTest::keyClick(name, Qt::Key_Return);
    }

    QString m_filter;
    QString m_name;
    QTimer m_timer;
};

class FileDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        files.writeFileAtomically(path("vq3.ini"), storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE",
                                                                       "Reserved", "Reserved", "Reserved"}));
        desktop = std::make_unique<Desktop>(DesktopPorts{
            files, port, echoTimer, readTimer, writeTimer,
            shell::Environment{
                {folder.path().toStdString(), folder.path().toStdString()}, folder.path().toStdString(), {}}});
        ASSERT_TRUE(desktop->start());
        action("beacon")->trigger();
    }

    std::string path(const QString& name) const { return folder.filePath(name).toStdString(); }
    QAction* action(const char* name) { return desktop->window().findChild<QAction*>(name); }

    QTemporaryDir folder;
    qt::PosixFileSystem files;
    fakes::FakeSerialPort port;
    fakes::FakeTimer echoTimer{500};
    fakes::FakeTimer readTimer{5000};
    fakes::FakeTimer writeTimer{5000};
    std::unique_ptr<Desktop> desktop;
};

TEST_F(FileDialogsTest, SaveAsAddsTheExtensionOnlyUnderTheConfigurationFilter)
{
    const struct
    {
        QString filter;
        QString typed;
        QString saved;
    } cases[] = {
        {"VQ-3 Configuration File (*.vq3)", "mytracker", "mytracker.vq3"},
        {"All Files (*)", "notes", "notes"},
        {"VQ-3 Configuration File (*.vq3)", "my.tracker", "my.tracker"},
    };
    for (const auto& c : cases) {
        FileDialogAnswerer answerer(c.filter, c.typed);
        action("saveconfiguration")->trigger();
        EXPECT_EQ(answerer.offered, (QStringList{"VQ-3 Configuration File (*.vq3)", "All Files (*)"}));
        EXPECT_EQ(answerer.suggested, "N0CALL-beacon.vq3");
        EXPECT_TRUE(QFile::exists(folder.filePath(c.saved))) << c.saved.toStdString();
        EXPECT_EQ(desktop->program().session().state().currentFileName, path(c.saved));
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("mytracker")));
}

TEST_F(FileDialogsTest, OpenOffersEveryFileToo)
{
    files.writeFileAtomically(path("saved-without-extension"),
                              storage::joinLines({"1", "0", "0", "0", "0", "1", "0", "TEST", "",  "APRS", "",     "",
                                                  "",  "",  "0", "0", "0", "0", "0", "0",    "0", "0",    "HELLO"}));
    FileDialogAnswerer answerer("All Files (*)", "saved-without-extension");
    action("openconfiguration")->trigger();
    EXPECT_EQ(answerer.offered, (QStringList{"VQ-3 Configuration File (*.vq3)", "All Files (*)"}));
    EXPECT_EQ(desktop->program().session().windows().beacon.BcnMsgText.text(), "HELLO");
}

} // namespace
} // namespace qm::app
