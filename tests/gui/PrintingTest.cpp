#include "app/Desktop.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/RecordingPrinter.h"
#include "fakes/ScriptedUi.h"
#include "storage/ConfigFile.h"

#include <QAction>
#include <QProgressBar>

#include <gtest/gtest.h>

namespace qm::app
{
namespace
{

struct Shown
{
    bool visible = false;
    int value = -1;

    bool operator==(const Shown&) const = default;
};

class PrintingTest : public ::testing::Test
{
protected:
    void start(bool printerInstalled)
    {
        files.files["/opt/quellmark/vq3.ini"] =
            storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"});
        shell::Environment environment{{"/opt/quellmark", "/root/.config/quellmark"}, "/home/user", {}};
        if (printerInstalled)
            environment.printerFont = shell::FontSettings{"DejaVu Sans", 10, false, false, false, false};
        desktop = std::make_unique<Desktop>(DesktopPorts{files, port, echoTimer, readTimer, writeTimer, environment,
                                                         nullptr, printerInstalled ? &printer : nullptr, &clock},
                                            &ui);
        ASSERT_TRUE(desktop->start());
        ui.onPaint = [this] {
            desktop->binder().draw();
            shown.push_back({desktop->printProgress().isVisible(), desktop->printProgress().bar()->value()});
        };
    }

    QAction* action(const char* name) { return desktop->window().findChild<QAction*>(name); }

    fakes::MemoryFileSystem files;
    fakes::ScriptedUi ui;
    fakes::FakeSerialPort port;
    fakes::FakeTimer echoTimer{500};
    fakes::FakeTimer readTimer{5000};
    fakes::FakeTimer writeTimer{5000};
    fakes::RecordingPrinter printer;
    fakes::FakeClock clock;
    std::vector<Shown> shown;
    std::unique_ptr<Desktop> desktop;
};

TEST_F(PrintingTest, PrinterMenusFollowTheModeOnlyWhenAPrinterIsInstalled)
{
    for (const bool installed : {false, true}) {
        start(installed);
        for (const auto& [mode, printing] : std::vector<std::pair<const char*, bool>>{
                 {"telemetry", false}, {"beacon", false}, {"nmea", true}, {"tracking", true}, {"alarm", false}}) {
            action(mode)->trigger();
            EXPECT_EQ(action("printprofiles")->isEnabled(), installed && printing) << mode << installed;
            EXPECT_EQ(action("printerfont")->isEnabled(), installed && printing) << mode << installed;
        }
        desktop.reset();
    }
}

TEST_F(PrintingTest, ProgressWindowCountsTheTenProfilesAndGoesAway)
{
    start(true);
    EXPECT_EQ(desktop->printProgress().objectName(), "Form8");
    EXPECT_EQ(desktop->printProgress().windowTitle(), "Printing Profile Information");
    EXPECT_EQ(desktop->printProgress().bar()->objectName(), "PrintProgress");
    EXPECT_EQ(desktop->printProgress().bar()->maximum(), 10);
    action("tracking")->trigger();
    action("printprofiles")->trigger();
    std::vector<Shown> expected;
    for (int value = 0; value <= 10; ++value)
        expected.push_back({true, value});
    EXPECT_EQ(shown, expected);
    EXPECT_FALSE(desktop->printProgress().isVisible());
    EXPECT_EQ(printer.lineText(1), "Tracking Profiles for N0CALL (6 Dec 2026)");
    EXPECT_EQ(printer.calls.back(), "endDocument");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(PrintingTest, FailedPrinterIsNamedInABoxAfterTheProgressWindowIsGone)
{
    start(true);
    printer.failOnEnd = true;
    action("nmea")->trigger();
    ui.onPaint = nullptr;
    action("printprofiles")->trigger();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0], forms::messageBox("Print Profiles",
                                             "The profiles could not be printed on \"Office Laser\".\r\n\r\n"
                                             "The printer is out of paper.",
                                             forms::Icon::Critical));
    EXPECT_FALSE(desktop->printProgress().isVisible());
    EXPECT_TRUE(action("printprofiles")->isEnabled());
}

} // namespace
} // namespace qm::app
