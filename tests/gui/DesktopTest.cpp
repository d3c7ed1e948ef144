// The assembled desktop program on memory files and fake ports, driven through its real widgets and menus.
#include "Desktops.h"

#include "app/BackupWriter.h"
#include "fakes/FakeClock.h"
#include "fakes/RecordingPrinter.h"
#include "forms/Controls.h"
#include "shell/Backups.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QTabBar>

namespace qm::app::guitest
{
namespace
{

using DesktopTest = DesktopOnFakePorts;

TEST_F(DesktopTest, EveryControlHasItsWidgetEachSpecialPathItsNumberAndNoMaximising)
{
    forms::forEachControl(windows(), [&](const std::string& name, forms::Control) {
        const QString objectName = QString::fromStdString(name);
        EXPECT_TRUE(desktop->binder().widget(name) || desktop->window().findChild<QObject*>(objectName)) << name;
    });
    for (const char* prefix : {"Tel", "Bcn", "NMEA", "Trk", "Alm"})
        for (int n = 1; n <= 4; ++n) {
            const QString name = QString("%1SpecPath%2").arg(prefix).arg(n);
            EXPECT_TRUE(find(qPrintable(name))->toolTip().startsWith(QString("Enter Special Path %1 ").arg(n))) << n;
        }
    EXPECT_FALSE(desktop->window().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST(BackupWriterTest, ABackupRecordedIsWrittenBeforeItIsLookedFor)
{
    fakes::MemoryFileSystem files;
    fakes::FakeClock clock;
    shell::Backups backups(files, clock, "/backups");
    BackupWriter writer(backups);
    for (int i = 0; i < 20; ++i) {
        const std::string image = std::string(1, '\x03') + std::string(127, static_cast<char>('a' + i));
        writer.record(link::Transaction::Read, "VQ-3+ ", 2, image);
        EXPECT_NE(writer.markHeldBeforeWrite(image), "") << i;
    }
}

TEST_F(DesktopTest, WriteRefusesAFieldTooLongOrABadProfileNamingItWithTheFocusThere)
{
    const struct
    {
        const char* example;
        std::size_t line;
        std::string text;
        const char* field;
        std::optional<int> profile;
    } cases[] = {
        {"beacon.vq3", 7, "ABCDEFGH", "BcnMyCall", {}},    {"beacon.vq3", 18, "100", "BcnTmrMin", {}},
        {"beacon.vq3", 8, "123", "BcnMySSID", {}},         {"beacon.vq3", 22, std::string(80, 'B'), "BcnMsgText", {}},
        {"tracking.vq3", 38, "ab", "TrkSymbol", 3},        {"alarm.vq3", 28, std::string(30, 'm'), "AlarmMsgText1", {}},
        {"nmea.vq3", 13 + 6 * 9 + 3, "3", "NMEAPath1", 7},
    };
    desktop->window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&desktop->window()));
    for (const auto& c : cases) {
        auto lines = storage::splitLines(example(c.example));
        lines[c.line] = c.text;
        files.files["/home/user/long.vq3"] = storage::joinLines(lines);
        ui.paths = {"/home/user/long.vq3"};
        action("openconfiguration")->trigger();
        connect(true);
        ui.boxes.clear();
        port.takeSent();
        ASSERT_TRUE(action("write")->isEnabled()) << c.field;
        action("write")->trigger();
        ASSERT_EQ(ui.boxes.size(), 1U) << c.field;
        EXPECT_EQ(ui.boxes[0].focus, c.field);
        EXPECT_EQ(ui.boxes[0].profile, c.profile) << c.field;
        EXPECT_EQ(QApplication::focusWidget(), find(c.field));
        auto* line = qobject_cast<QLineEdit*>(find(c.field));
        auto* box = qobject_cast<QPlainTextEdit*>(find(c.field));
        EXPECT_EQ(line ? line->text() : box ? box->toPlainText() : "3", QString::fromStdString(c.text));
        EXPECT_EQ(port.takeSent().find('D'), std::string::npos) << c.field;
    }
    EXPECT_EQ(find<QTabBar>("NMEAProfile")->currentIndex(), 6);
    EXPECT_EQ(find<QComboBox>("NMEAPath3")->currentIndex(), 3);
}

TEST_F(DesktopTest, AClickOnAProfileTabShowsThatProfileInItsOwnWindow)
{
    for (const std::string file : {"nmea.vq3", "tracking.vq3"}) {
        files.files["/home/user/profiles.vq3"] = example(file);
        ui.paths = {"/home/user/profiles.vq3"};
        action("openconfiguration")->trigger();
        const bool nmea = file == "nmea.vq3";
        (nmea ? windows().nmea.store : windows().tracking.store).entry(4).SSID = "12";
        auto* tabs = find<QTabBar>(nmea ? "NMEAProfile" : "TrkProfile");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
        EXPECT_EQ((nmea ? windows().nmea.NMEAProfile : windows().tracking.TrkProfile).selectedIndex(), 3) << file;
        EXPECT_EQ(find<QLineEdit>(nmea ? "NMEASSID" : "TrkSSID")->text(), "12") << file;
    }
}

TEST_F(DesktopTest, ClosingTheWindowDuringAWriteAsksThenEndsOnceTheBurstHasLeft)
{
    connect(true);
    desktop->link().engine().startDownload("D" + std::string(128, 'x'));
    for (int echo = 0; echo < 10; ++echo)
        port.deliver(port.sent.substr(port.sent.size() - 1));
    port.takeSent();
    ui.buttons.push_back(forms::Button::No);
    desktop->window().close();
    EXPECT_EQ(ui.boxes.back(), shell::exitDuringTransferBox());
    EXPECT_EQ(port.sent, "");
    desktop->window().close();
    EXPECT_EQ(port.takeSent(), std::string(128, '\0') + "EE");
    EXPECT_FALSE(ui.ended);
    EXPECT_FALSE(desktop->window().isEnabled());
    port.allSent();
    EXPECT_TRUE(ui.ended);
    EXPECT_FALSE(port.isOpen());
}

class DesktopAidsTest : public DesktopOnFakePorts
{
protected:
    void SetUp() override
    {
        DesktopPorts aided = ports();
        aided.clock = &clock;
        aided.printer = &printer;
        aided.environment.printerFont = shell::FontSettings{"DejaVu Sans", 10, false, false, false, false};
        start(std::move(aided));
    }

    void openAndType(const std::string& name, const char* myCall)
    {
        files.files["/examples/" + name] = example(name);
        ui.paths.push_back("/examples/" + name);
        action("openconfiguration")->trigger();
        find<QLineEdit>(myCall)->selectAll();
        QTest::keyClicks(find(myCall), "k1abc");
    }

    fakes::FakeClock clock;
    fakes::RecordingPrinter printer;
};

TEST_F(DesktopAidsTest, PrintShowsItsProgressAndExportAsPdfAsksBeforeReplacing)
{
    for (const auto& [mode, printing] : {std::pair{"beacon", false}, {"alarm", false}, {"nmea", true}}) {
        action(mode)->trigger();
        for (const char* item : {"printprofiles", "printerfont", "exportpdf", "printpreview"})
            EXPECT_EQ(action(item)->isEnabled(), printing) << mode << " " << item;
    }
    openAndType("tracking.vq3", "TrkMyCall");
    std::vector<int> shown;
    ui.onPaint = [&] {
        desktop->binder().draw();
        shown.push_back(desktop->printProgress().isVisible() ? desktop->printProgress().bar()->value() : -1);
    };
    action("printprofiles")->trigger();
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_FALSE(desktop->printProgress().isVisible());
    EXPECT_EQ(printer.lineText(1), "Tracking Profiles for K1ABC (6 Dec 2026)");
    printer.failOnEnd = true;
    ui.onPaint = nullptr;
    action("printprofiles")->trigger();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, "Print Profiles");
    EXPECT_FALSE(desktop->printProgress().isVisible());

    files.files["/home/user/old.pdf"] = "old";
    ui.paths = {"/home/user/old.pdf", "/home/user.b/club"};
    ui.buttons = {forms::Button::No};
    action("exportpdf")->trigger();
    EXPECT_EQ(ui.boxes.back(), shell::overwriteBox("/home/user/old.pdf"));
    EXPECT_EQ(ui.dialogs.back().initialName, "Tracking Profiles.pdf");
    EXPECT_EQ(files.files["/home/user/old.pdf"], "old");
    QTemporaryDir dir;
    QFile pdf(dir.filePath("club.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly) &&
                pdf.write(QByteArray::fromStdString(files.files["/home/user.b/club.pdf"])));
    pdf.close();
    QProcess text;
    text.start("pdftotext", {"-layout", pdf.fileName(), "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    EXPECT_TRUE(text.readAllStandardOutput().contains("Tracking Profiles for K1ABC"));
}

} // namespace
} // namespace qm::app::guitest
