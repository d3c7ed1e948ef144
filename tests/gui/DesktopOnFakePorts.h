// The assembled desktop program on fake ports with a scripted Ui whose focus requests reach the real widgets:
// the fixture of the tests that use the program's windows as a person does.
#pragma once

#include "app/Desktop.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/ScriptedUi.h"
#include "storage/ConfigFile.h"

#include <QAction>
#include <QApplication>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

/// Prints a QString in a failed expectation as its text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace qm::app::guitest
{

class FocusingUi : public fakes::ScriptedUi
{
public:
    ViewBinder* binder = nullptr;

    void setFocus(const std::string& control) override
    {
        ScriptedUi::setFocus(control);
        if (binder)
            if (QWidget* widget = binder->widget(control))
                widget->setFocus(Qt::OtherFocusReason);
    }
};

class DesktopOnFakePorts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeSettings();
        create();
        ASSERT_TRUE(desktop->start());
    }

    /// An initialization file beside the program that asks no first-run questions.
    void writeSettings()
    {
        files.files["/opt/quellmark/vq3.ini"] =
            storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"});
    }

    /// Builds the desktop program without starting it.
    void create()
    {
        desktop = std::make_unique<Desktop>(
            DesktopPorts{files, port, echoTimer, readTimer, writeTimer,
                         shell::Environment{{"/opt/quellmark", "/root/.config/quellmark"}, "/home/user", {}}},
            &ui);
        ui.binder = &desktop->binder();
    }

    template <typename T>
    T* find(const char* name)
    {
        auto* widget = qobject_cast<T*>(desktop->binder().widget(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QAction* action(const char* name) { return desktop->window().findChild<QAction*>(name); }
    forms::Windows& windows() { return desktop->program().session().windows(); }

    /// A probe period passes: the link sends its probe and the windows are drawn again.
    void probeTick() { ASSERT_TRUE(echoTimer.tick()); }

    fakes::MemoryFileSystem files;
    FocusingUi ui;
    fakes::FakeSerialPort port;
    fakes::FakeTimer echoTimer{500};
    fakes::FakeTimer readTimer{5000};
    fakes::FakeTimer writeTimer{5000};
    std::unique_ptr<Desktop> desktop;
};

} // namespace qm::app::guitest
