#include "app/Desktop.h"
#include "app/PrinterLookup.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/RecordingPrinter.h"
#include "fakes/ScriptedUi.h"
#include "storage/ConfigFile.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QProgressBar>
#include <QTest>
#include <QThread>

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

/// A look-up of the default printer that answers when the test says, through the receiver as the real one does.
class ScriptedPrinterLookup : public PrinterLookup
{
public:
    void start(QObject& receiver, Answer answered) override
    {
        ++starts;
        m_receiver = &receiver;
        m_answered = std::move(answered);
    }

    void answer(reports::Printer* printer)
    {
        ASSERT_TRUE(m_answered);
        if (m_receiver)
            m_answered(printer);
    }

    int starts = 0;

private:
    QPointer<QObject> m_receiver;
    Answer m_answered;
};

class PrintingTest : public ::testing::Test
{
protected:
    /// Starts the program with no printer known at start-up; the look-up answers later.
    void startWithLookup()
    {
        files.files["/opt/quellmark/vq3.ini"] =
            storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"});
        desktop = std::make_unique<Desktop>(
            DesktopPorts{files, port, echoTimer, readTimer, writeTimer,
                         shell::Environment{{"/opt/quellmark", "/root/.config/quellmark"}, "/home/user", {}}, nullptr,
                         nullptr, &clock, &lookup},
            &ui);
        ASSERT_TRUE(desktop->start());
    }

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
    ScriptedPrinterLookup lookup;
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

TEST_F(PrintingTest, PrinterMenusWaitForThePrinterLookUpAndFollowItsAnswer)
{
    const std::vector<std::pair<const char*, bool>> modes{
        {"telemetry", false}, {"beacon", false}, {"nmea", true}, {"tracking", true}, {"alarm", false}};
    for (const bool found : {false, true}) {
        startWithLookup();
        EXPECT_EQ(lookup.starts, 1);
        action("tracking")->trigger();
        EXPECT_FALSE(action("printprofiles")->isEnabled());
        EXPECT_FALSE(action("printerfont")->isEnabled());
        lookup.answer(found ? &printer : nullptr);
        EXPECT_EQ(action("printprofiles")->isEnabled(), found) << found;
        EXPECT_EQ(action("printerfont")->isEnabled(), found) << found;
        for (const auto& [mode, printing] : modes) {
            action(mode)->trigger();
            EXPECT_EQ(action("printprofiles")->isEnabled(), found && printing) << mode << found;
            EXPECT_EQ(action("printerfont")->isEnabled(), found && printing) << mode << found;
        }
        desktop.reset();
        lookup = ScriptedPrinterLookup();
    }
}

TEST_F(PrintingTest, APrinterFoundInAModeWithoutProfilesWaitsForNmeaOrTracking)
{
    startWithLookup();
    action("beacon")->trigger();
    lookup.answer(&printer);
    EXPECT_FALSE(action("printprofiles")->isEnabled());
    action("nmea")->trigger();
    ASSERT_TRUE(action("printprofiles")->isEnabled());
    // The printer found is the one Print Profiles prints on, in the program's font, which Select Printer Font
    // offers to change.
    ui.onPaint = [this] { desktop->binder().draw(); };
    action("printprofiles")->trigger();
    ASSERT_FALSE(printer.calls.empty());
    EXPECT_EQ(printer.calls.back(), "endDocument");
    const QFont font = QApplication::font();
    const std::string fontCall = "font " + font.family().toStdString() + " " + std::to_string(font.pointSize());
    EXPECT_NE(std::find_if(printer.calls.begin(), printer.calls.end(),
                           [&](const std::string& call) { return call.starts_with(fontCall); }),
              printer.calls.end())
        << fontCall;
    ui.fonts.push_back(shell::FontSettings{"DejaVu Sans Mono", 12, false, false, false, false});
    action("printerfont")->trigger();
    EXPECT_EQ(desktop->program().session().state().printerFont.name, "DejaVu Sans Mono");
}

TEST(SystemPrinterLookupTest, AnswersOnceOnTheEventThreadAndNotAfterItsReceiverIsGone)
{
    std::vector<bool> answers;
    {
        SystemPrinterLookup lookup;
        QObject receiver;
        lookup.start(receiver,
                     [&](reports::Printer*) { answers.push_back(QThread::currentThread() == qApp->thread()); });
        lookup.start(receiver, [&](reports::Printer*) { answers.push_back(false); });
        EXPECT_TRUE(QTest::qWaitFor([&] { return !answers.empty(); }, 30'000));
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(answers, std::vector<bool>{true});

    bool answeredAfterwards = false;
    {
        SystemPrinterLookup lookup;
        auto receiver = std::make_unique<QObject>();
        lookup.start(*receiver, [&](reports::Printer*) { answeredAfterwards = true; });
        receiver.reset();
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(answeredAfterwards);
}

} // namespace
} // namespace qm::app
