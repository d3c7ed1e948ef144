// The assembled desktop program on memory files and fake ports, driven through its real widgets and menus.
#include "Desktops.h"

#include "app/BackupWriter.h"
#include "app/CopyProfileDialog.h"
#include "app/HelpViewer.h"
#include "app/RestoreBackupDialog.h"
#include "fakes/FakeClock.h"
#include "fakes/RecordingPrinter.h"
#include "forms/Controls.h"
#include "image/CompileShared.h"
#include "shell/Backups.h"
#include "shell/WindowAids.h"
#include "validation/Messages.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>

#include <condition_variable>
#include <future>
#include <mutex>

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

/// A folder whose backups wait to be written until the test lets them through.
struct HeldFiles : fakes::MemoryFileSystem
{
    std::mutex mutex;
    std::condition_variable changed;
    bool writing = false, released = false;

    std::optional<storage::FileError> writePrivateFileAtomically(const std::string& path,
                                                                 const std::string& bytes) override
    {
        std::unique_lock lock(mutex);
        writing = true;
        changed.notify_all();
        changed.wait(lock, [this] { return released; });
        return MemoryFileSystem::writePrivateFileAtomically(path, bytes);
    }
};

TEST(BackupWriterTest, ABackupRecordedIsWrittenBeforeItIsLookedFor)
{
    HeldFiles files;
    fakes::FakeClock clock;
    shell::Backups backups(files, clock, "/backups");
    BackupWriter writer(backups);
    const std::string image = "\x03" + std::string(127, 'a'), next = "\x03" + std::string(127, 'b');
    writer.record(link::Transaction::Read, "VQ-3+ ", 2, image);
    writer.record(link::Transaction::Read, "VQ-3+ ", 2, next);
    std::unique_lock lock(files.mutex);
    files.changed.wait(lock, [&files] { return files.writing; });
    lock.unlock();
    // A backup is being written, another waits: the look-up waits for both rather than search without them.
    auto found = std::async(std::launch::async, [&] { return writer.markHeldBeforeWrite(next); });
    EXPECT_EQ(found.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    lock.lock();
    files.released = true;
    lock.unlock();
    files.changed.notify_all();
    EXPECT_NE(found.get(), "");
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

TEST_F(DesktopTest, TheDisconnectButtonTellsTheUnitToLeaveConfigurationMode)
{
    connect(true);
    port.takeSent();
    QTest::mouseClick(find<QPushButton>("ConnectButton"), Qt::LeftButton);
    EXPECT_EQ(port.takeSent(), "E");
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

// Each window as the program first shows it, pinned by its size and a SHA-256 of its pixels. A mismatch leaves the
// picture in a temporary folder; QM_PRINT_WINDOW_PINS=1 prints the rows anew after an intended change.
TEST_F(DesktopTest, EveryWindowLooksAsItDid)
{
    const std::map<QString, std::pair<QSize, QByteArray>> pins{
        {"main", {{801, 752}, "22fb3c63a34102080353ac95d43077e39669a97f031af6989fbac069e1b473a8"}},
        {"telemetry.vq3", {{675, 409}, "d40a90713b9f839cbf6f376b63b04224a6d2233ef56703b08d3e21213b9a47f8"}},
        {"beacon.vq3", {{619, 498}, "e0303f173879015d19d412f6a9c70f6d0287b858e62bf97f1607b5e347054688"}},
        {"nmea.vq3", {{779, 620}, "56dda31f7eefd45aae60d8436daedc0ee7f92cf755e4703e33e3880a452eb103"}},
        {"tracking.vq3", {{952, 538}, "1da32e4fe7b725aaca4da36e3e68bd006f37d622bb2a32017d027504d2eb3b2f"}},
        {"alarm.vq3", {{667, 564}, "021a668d3e01dfef368000dab5d937f801687aa3d9de6d4c902dbac16740a4fd"}},
        {"about", {{526, 141}, "1d6b4c576d930de749d2fa090594cded6c6f676aa06b318839b30e124b5014dc"}},
        {"welcome", {{566, 166}, "b2cb885edbd9cfe8ac4a5773fe7f5aae9cdf6811f1d06bcbc534069acc3cd527"}},
        {"print progress", {{320, 60}, "22c2cf4a138dfae038eae36bed2a0448f363cb1f25e255d5eb9014fd2fa68d40"}},
        {"restore", {{760, 460}, "539141fb36c69c07b2628b9dd025fa6da0fd3e1d2f7ecfd9b42774661001a92a"}},
        {"copy", {{237, 116}, "4899cbcf68d9cc0dd439b098b79ac7f0c6a3e7a2ad6b46fbe2f1873caca79640"}},
        {"help", {{760, 640}, "976e274fbdfe7ff26f42de6e8def0ec2cb7b931c02ab381d61658bc68dcf9fee"}},
    };
    QApplication::setCursorFlashTime(0);
    QTemporaryDir pictures;
    const auto compare = [&](const QString& name, QWidget& window) {
        window.show();
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
        QApplication::processEvents();
        const QImage image = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        const QByteArray hash =
            QCryptographicHash::hash(QByteArrayView(image.constBits(), image.sizeInBytes()), QCryptographicHash::Sha256)
                .toHex();
        if (qEnvironmentVariableIsSet("QM_PRINT_WINDOW_PINS"))
            std::printf("        {\"%s\", {{%d, %d}, \"%s\"}},\n", qPrintable(name), image.width(), image.height(),
                        hash.constData());
        const auto pin = pins.find(name);
        if (pin == pins.end() || pin->second != std::pair{image.size(), hash}) {
            const QString file = pictures.filePath(name + ".png");
            image.save(file);
            ADD_FAILURE() << name.toStdString() << " looks otherwise: " << file.toStdString();
        }
    };
    compare("main", desktop->window());
    for (const char* file : {"telemetry.vq3", "beacon.vq3", "nmea.vq3", "tracking.vq3", "alarm.vq3"}) {
        files.files["/examples/x.vq3"] = example(file);
        ui.paths = {"/examples/x.vq3"};
        ui.buttons = {forms::Button::Discard};
        action("openconfiguration")->trigger();
        for (QMdiSubWindow* sub : desktop->window().mdiArea()->subWindowList())
            if (sub->isVisible())
                compare(file, *sub->widget());
    }
    compare("about", desktop->about());
    compare("welcome", desktop->welcome());
    compare("print progress", desktop->printProgress());
    compare("restore",
            *std::make_unique<RestoreBackupDialog>("/backups", std::vector<shell::BackupEntry>{}, nullptr, nullptr));
    compare("copy", *std::make_unique<CopyProfileDialog>(3, nullptr));
    HelpViewer help;
    help.open("/nowhere/vq3.hlp");
    compare("help", help);
    pictures.setAutoRemove(!HasFailure());
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
        retype(myCall, "k1abc");
    }

    /// What a PDF tool (pdftotext, pdftoppm) prints for a PDF file the program kept, given its options and what
    /// follows the file's name; "" when it cannot run.
    QByteArray pdfTool(const char* tool, QStringList arguments, const std::string& path, const QStringList& after = {})
    {
        QTemporaryDir dir;
        QFile pdf(dir.filePath("kept.pdf"));
        if (!pdf.open(QIODevice::WriteOnly) || pdf.write(QByteArray::fromStdString(files.files[path])) < 0)
            return {};
        pdf.close();
        arguments << pdf.fileName() << after;
        QProcess process;
        process.start(tool, arguments);
        return process.waitForFinished(20000) ? process.readAllStandardOutput() : QByteArray();
    }

    fakes::FakeClock clock;
    fakes::RecordingPrinter printer;
};

TEST_F(DesktopAidsTest, TheTrackingWindowShowsThePacketHeaderTheAdviceAndTheSymbolsNameAsTyped)
{
    openAndType("tracking.vq3", "TrkMyCall");
    // Typed into a field (into Common..., an entry's start), then what a label shows: "" hidden, advice its start.
    const std::tuple<const char*, QString, const char*, QString> rows[] = {
        {"TrkMyCall", "k1abc", "TrkPacketHeader", "Profile 1 sends K1ABC-9>APRS,WIDE2-1,WIDE"},
        {"TrkMyCall", "k1abc", "TrkAdvice", "Advice: Profile 1: Path 2 (WIDE): "},
        {"TrkSSID", "16", "TrkPacketHeader",
         "Sends no packet until this is put right: " +
             QString::fromStdString(image::refusalBox("TrkSSID", "SSID", 1, image::wholeNumberReason(0, 15)).text)
                 .replace("\r\n", " ")},
        {"TrkSSID", "16", "TrkAdvice", ""},
        {"TrkSymbol", ">", "TrkSymbolName", "Car"},
        {"TrkSymbol", "|", "TrkSymbolName", "(no name in the primary symbol table)"},
        {"TrkSeparator", "\\", "TrkSymbolName", "(no name in the alternate symbol table)"},
        {"TrkSymbol", "!", "TrkSymbolName", "Emergency (alternate symbol table)"},
        {"TrkSeparator", "x", "TrkSymbolName", "(the Separator chooses no symbol table)"},
        {"TrkSymbol", "", "TrkSymbolName", ""},
        {"TrkSymbolPick", "Eme", "TrkSymbolName", "Emergency (alternate symbol table)"}};
    for (const auto& [field, typed, label, expected] : rows) {
        retype(field, typed);
        auto* shown = find<QLabel>(label);
        const QString text = shown->isHidden() ? "" : shown->text();
        EXPECT_EQ(QString(label).endsWith("Advice") ? text.left(expected.size()) : text, expected)
            << field << typed.toStdString();
    }
    EXPECT_EQ(find<QLineEdit>("TrkSeparator")->text() + find<QLineEdit>("TrkSymbol")->text(), "\\!");
    EXPECT_EQ(find("TrkSymbol")->toolTip().toStdString(),
              shell::symbolToolTip("", "") + "\nSymbol !: Emergency (alternate symbol table)");
}

TEST_F(DesktopAidsTest, AModeWindowTakesTheHeightOfItsAdviceWithNoFieldSqueezedOrOverAnother)
{
    const std::pair<const char*, const char*> windowsWithAdvice[] = {
        {"telemetry.vq3", "Tel"}, {"nmea.vq3", "NMEA"}, {"tracking.vq3", "Trk"}};
    for (const auto& [file, prefix] : windowsWithAdvice) {
        ui.buttons = {forms::Button::Discard};
        openAndType(file, (std::string(prefix) + "MyCall").c_str());
        ASSERT_TRUE(find<QLabel>((std::string(prefix) + "Advice").c_str())->isVisible()) << file;
        QWidget* form = find<QLabel>((std::string(prefix) + "PacketHeader").c_str())->parentWidget();
        std::vector<QWidget*> shown;
        for (QWidget* widget : form->findChildren<QWidget*>())
            if (widget->isVisible() && !qobject_cast<QComboBox*>(widget->parentWidget()) &&
                !qobject_cast<QTabBar*>(widget->parentWidget()) && widget->minimumSizeHint().isValid())
                shown.push_back(widget);
        const auto place = [form](QWidget* w) { return QRect(w->mapTo(form, QPoint(0, 0)), w->size()); };
        // A text that wraps needs the height of its lines at the width it has.
        const auto least = [](QWidget* w) {
            return w->hasHeightForWidth() ? w->heightForWidth(w->width()) : w->minimumSizeHint().height();
        };
        for (QWidget* widget : shown) {
            EXPECT_GE(widget->height(), least(widget)) << file << " " << widget->metaObject()->className();
            EXPECT_TRUE(form->rect().contains(place(widget))) << file << " " << widget->metaObject()->className();
            for (QWidget* other : shown) {
                const bool apart = other == widget || widget->isAncestorOf(other) || other->isAncestorOf(widget) ||
                                   !place(widget).intersects(place(other));
                EXPECT_TRUE(apart) << file << " " << widget->metaObject()->className() << " over "
                                   << other->metaObject()->className();
            }
        }
    }
    // A label stands once, beside the field it names.
    std::vector<QString> named;
    for (const QLabel* label : find<QWidget>("AlarmMsgText1")->parentWidget()->findChildren<QLabel*>())
        if (label->text() == "Alarm Messages" && label->buddy())
            named.push_back(label->buddy()->objectName());
    EXPECT_EQ(named, std::vector<QString>{"AlarmMsgText1"});
}

TEST_F(DesktopAidsTest, CopyThisProfileToCopiesWhatIsTickedAndWriteNamesACopyItRefuses)
{
    // The example, its window's prefix, the tab shown, the profiles ticked, and whether Copy (or Cancel) is clicked.
    const std::tuple<std::string, std::string, int, std::vector<int>, bool> rows[] = {
        {"nmea.vq3", "NMEA", 3, {1, 10}, true},
        {"tracking.vq3", "Trk", 1, {3}, true},
        {"tracking.vq3", "Trk", 1, {2, 4}, false}};
    for (const auto& [file, prefix, tab, ticked, copies] : rows) {
        ui.buttons = {forms::Button::Discard};
        openAndType(file, (prefix + "MyCall").c_str());
        connect(true);
        auto* tabs = find<QTabBar>((prefix + "Profile").c_str());
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab - 1).center());
        retype((prefix + "SSID").c_str(), "16");
        QTest::mouseClick(find((prefix + "ProfileCopy").c_str()), Qt::LeftButton);
        auto* copy = desktop->window().findChildren<QDialog*>("CopyProfile").last();
        // The profile on the tab shown is the one copied: its own box cannot be ticked.
        for (int profile = 1; profile <= 10; ++profile)
            EXPECT_EQ(copy->findChild<QWidget*>(QString("CopyTo%1").arg(profile))->isEnabled(), profile != tab);
        for (const int profile : ticked)
            QTest::mouseClick(copy->findChild<QWidget*>(QString("CopyTo%1").arg(profile)), Qt::LeftButton);
        QTest::mouseClick(copy->findChild<QWidget*>(copies ? "CopyProfileOk" : "CopyProfileCancel"), Qt::LeftButton);
        const forms::ProfileStore& store = prefix == "Trk" ? windows().tracking.store : windows().nmea.store;
        for (const int profile : ticked)
            EXPECT_EQ(store.entry(profile).SSID == "16", copies) << prefix << profile;
        // The profile shown put right, its copies are not: Write names the first of them.
        retype((prefix + "SSID").c_str(), "5");
        ui.boxes.clear();
        action("write")->trigger();
        const auto refusal =
            validation::focusedOn(validation::profileSsidInvalid(ticked[0]), prefix + "SSID", ticked[0]);
        EXPECT_EQ(ui.boxes, copies ? std::vector{refusal} : std::vector<forms::MessageBox>{}) << prefix;
    }
}

TEST_F(DesktopAidsTest, PrintShowsItsProgressExportAsksBeforeReplacingAndPreviewShowsThePage)
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
    // The report's text as pdftotext lays it out, with the date and the call typed.
    const QString report = QString::fromStdString(example("../tests/data/report/tracking.txt"));
    EXPECT_EQ(QString(pdfTool("pdftotext", {"-layout"}, "/home/user.b/club.pdf", {"-"})).simplified(),
              QString(report).replace("5 Dec", "6 Dec").replace("N0CALL", "K1ABC").simplified());
    action("printpreview")->trigger();
    auto* pages = find("PrintPreview")->findChild<QPrintPreviewWidget*>();
    EXPECT_TRUE(QTest::qWaitFor([&] { return pages->pageCount() == 1; }));
}

/// The desktop on a machine with no printer: preview and PDF draw in the program's standard font.
class DesktopWithoutPrinterTest : public DesktopAidsTest
{
protected:
    void SetUp() override
    {
        DesktopPorts bare = ports();
        bare.clock = &clock;
        start(std::move(bare));
    }
};

TEST_F(DesktopWithoutPrinterTest, ExportDrawsTheReportInThePlainStandardFont)
{
    openAndType("tracking.vq3", "TrkMyCall");
    ui.paths = {"/home/user/t"};
    action("exportpdf")->trigger();
    // The page as drawn, pinned by a hash of its picture: no bold, slant, strike or underline crept in.
    const QByteArray picture = pdfTool("pdftoppm", {"-r", "50", "-gray"}, "/home/user/t.pdf");
    EXPECT_EQ(QCryptographicHash::hash(picture, QCryptographicHash::Sha256).toHex().toStdString(),
              "fa34e88bff68cf1e139f7c09338d822d360434bffb4dbf42d532f638901ebca1");
}

} // namespace
} // namespace qm::app::guitest
