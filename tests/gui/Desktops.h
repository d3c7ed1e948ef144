// The desktop program assembled on fake link ports, for the tests that use its windows as a person does: on memory
// files with a scripted Ui, or on a temporary folder with the real boxes and file dialogs; and a hand that answers
// the modal dialogs as they open.
#pragma once

#include "app/Desktop.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/ScriptedUi.h"
#include "qt/PosixFileSystem.h"
#include "storage/ConfigFile.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace qm::app::guitest
{

inline const std::string kIni =
    storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"});

inline std::string example(const std::string& name)
{
    QFile file(QString::fromStdString(QM_EXAMPLES_DIR "/" + name));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

/// Answers each modal dialog as it opens, as a person does.
class Answerer
{
public:
    explicit Answerer(std::function<void(QDialog&)> answer) : m_answer(std::move(answer))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible() || m_busy)
                return;
            m_busy = true;
            m_answer(*dialog);
            ++seen;
            m_busy = false;
        });
        m_timer.start(10);
    }

    /// A box is answered with the button of the next text, a file dialog by typing it; none left cancels.
    explicit Answerer(QStringList texts) : Answerer([this, texts](QDialog& dialog) mutable { byText(dialog, texts); })
    {}

    int seen = 0;
    /// Each box seen: its title, text, icon, focused button and the buttons from left to right.
    std::vector<QStringList> boxes;

private:
    void byText(QDialog& dialog, QStringList& texts)
    {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        if (box) {
            QList<QAbstractButton*> buttons = box->buttons();
            std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
            auto* focused = qobject_cast<QAbstractButton*>(box->focusWidget());
            boxes.push_back(
                {box->windowTitle(), box->text(), QString::number(box->icon()), focused ? focused->text() : ""});
            for (QAbstractButton* button : buttons)
                boxes.back() << button->text();
        }
        const QString text = texts.isEmpty() ? QString() : texts.takeFirst();
        auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
        const auto buttons = box ? box->buttons() : QList<QAbstractButton*>();
        const auto button = std::find_if(buttons.begin(), buttons.end(), [&](auto* b) { return b->text() == text; });
        if (button != buttons.end()) {
            QTest::mouseClick(*button, Qt::LeftButton);
        } else if (name && !text.isEmpty()) {
            QTest::keyClicks(name, text);
            QTest::keyClick(name, Qt::Key_Return);
        } else {
            dialog.reject();
        }
    }

    std::function<void(QDialog&)> m_answer;
    QTimer m_timer;
    bool m_busy = false;
};

/// What both kinds of desktop share: the fake link and the look-ups of widgets.
class DesktopFixture : public ::testing::Test
{
protected:
    template <typename T = QWidget>
    T* find(const char* name)
    {
        T* widget = qobject_cast<T*>(desktop->binder().widget(name));
        if (!widget)
            widget = desktop->window().findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QAction* action(const char* name) { return find<QAction>(name); }
    /// Types a field anew as a person does, all of it selected first; into a drop-down list, the start of an entry.
    void retype(const char* name, const QString& text)
    {
        if (auto* line = qobject_cast<QLineEdit*>(find(name)))
            line->selectAll();
        find(name)->setFocus();
        QTest::keyClick(find(name), Qt::Key_Delete);
        QTest::keyClicks(find(name), text);
    }
    forms::Windows& windows() { return desktop->program().session().windows(); }
    QString title() const { return desktop->window().windowTitle(); }

    /// A probe period passes (the windows are drawn again); the unit answers and, identified, enables Read and Write.
    void probeTick() { ASSERT_TRUE(probeTimer.tick()); }
    void connect(bool identify = false)
    {
        probeTick();
        port.deliver(std::string(1, '\xAA'));
        if (identify)
            port.deliver("U\x01\x02" + std::string(128, '\0'));
    }

    fakes::FakeSerialPort port;
    fakes::FakeTimer probeTimer{500};
    fakes::FakeTimer readTimer{5000};
    fakes::FakeTimer writeTimer{5000};
    std::unique_ptr<Desktop> desktop;
};

/// A scripted Ui whose focus requests reach the real widgets, as the desktop's own do.
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

/// The program on memory files, its boxes and file dialogs answered by a scripted Ui.
class DesktopOnFakePorts : public DesktopFixture
{
protected:
    void SetUp() override { start(ports()); }

    DesktopPorts ports()
    {
        files.files["/opt/quellmark/vq3.ini"] = kIni;
        return {files,      port,
                probeTimer, readTimer,
                writeTimer, shell::Environment{{"/opt/quellmark", "/root/.config/quellmark"}, "/home/user", {}}};
    }

    void start(DesktopPorts ports)
    {
        desktop = std::make_unique<Desktop>(std::move(ports), &ui);
        ui.binder = &desktop->binder();
        ASSERT_TRUE(desktop->start());
    }

    fakes::MemoryFileSystem files;
    FocusingUi ui;
};

/// The program on a temporary folder of real files (the initialization file and two examples in it), with the
/// real boxes and dialogs, its window shown, its backups kept in the folder and its reports dated by a fake clock.
class DesktopOnTempFolder : public DesktopFixture
{
protected:
    // The program's backup thread reads the folder, files and clock below, so it ends before they do.
    ~DesktopOnTempFolder() override { desktop.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        write("vq3.ini", kIni);
        write("t.vq3", example("tracking.vq3"));
        write("b.vq3", example("beacon.vq3"));
    }

    /// Starts the program on the fake port, or on the port and serial devices given.
    void start(link::SerialPort* serial = nullptr, shell::SerialDevices* devices = nullptr)
    {
        const std::string home = folder.path().toStdString();
        desktop.reset();
        desktop = std::make_unique<Desktop>(DesktopPorts{files, serial ? *serial : port, probeTimer, readTimer,
                                                         writeTimer, shell::Environment{{home, home}, home, {}},
                                                         &backups, nullptr, &clock, nullptr, devices});
        ASSERT_TRUE(desktop->start());
        desktop->window().show();
        desktop->window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&desktop->window()));
    }

    void write(const QString& name, const std::string& bytes) { files.writeFileAtomically(path(name), bytes); }
    std::string contents(const QString& name) { return std::get<std::string>(files.readFile(path(name))); }
    std::string path(const QString& name) const { return folder.filePath(name).toStdString(); }

    QTemporaryDir folder;
    qt::PosixFileSystem files;
    fakes::FakeClock clock;
    shell::Backups backups{files, clock, path("backups")};
};

} // namespace qm::app::guitest
