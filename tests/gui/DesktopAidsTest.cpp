// The desktop program's backups, report preview and PDF, profile copy and APRS aids, used through their widgets.
#include "DesktopOnFakePorts.h"
#include "app/CopyProfileDialog.h"
#include "app/RestoreBackupDialog.h"
#include "fakes/FakeClock.h"
#include "shell/Backups.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

namespace qm::app
{
namespace
{

const std::string kFolder = "/home/user/.local/share/quellmark/backups";

std::string exampleFile(const std::string& name)
{
    std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

/// The text pdftotext reads from PDF bytes, its spacing as laid out.
QString pdfText(const std::string& pdf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    std::ofstream(path.toStdString(), std::ios::binary) << pdf;
    QProcess process;
    process.start("pdftotext", {"-layout", path, "-"});
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        return "pdftotext failed: " + QString::fromLocal8Bit(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput());
}

class DesktopAidsTest : public guitest::DesktopOnFakePorts
{
protected:
    void SetUp() override
    {
        writeSettings();
        desktop = std::make_unique<Desktop>(
            DesktopPorts{files, port, echoTimer, readTimer, writeTimer,
                         shell::Environment{{"/opt/quellmark", "/root/.config/quellmark"}, "/home/user", {}}, &backups,
                         nullptr, &clock, nullptr},
            &ui);
        ui.binder = &desktop->binder();
        ASSERT_TRUE(desktop->start());
    }

    /// The 128 bytes an example configuration compiles to.
    std::string compiledImage(const std::string& example)
    {
        files.files["/examples/" + example] = exampleFile(example);
        shell::Session program(files);
        program.startUp();
        EXPECT_EQ(program.openConfigurationFile("/examples/" + example).kind,
                  shell::Session::OpenOutcome::Kind::Loaded);
        program.saveShownProfiles();
        const auto compiled = program.checkAndCompile();
        EXPECT_TRUE(compiled.ok());
        return compiled.downloadImage.substr(1);
    }

    void open(const std::string& example)
    {
        files.files["/examples/" + example] = exampleFile(example);
        ui.paths.push_back("/examples/" + example);
        action("openconfiguration")->trigger();
    }

    template <typename T>
    T* dialog(const char* name)
    {
        auto* found = desktop->window().findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static QStringList row(QTreeWidget* list, int index)
    {
        QStringList columns;
        for (int column = 0; column < list->columnCount(); ++column)
            columns << list->topLevelItem(index)->text(column);
        return columns;
    }

    fakes::FakeClock clock;
    shell::Backups backups{files, clock, kFolder};
};

TEST_F(DesktopAidsTest, RestoreFromBackupListsComparesAndOpensTheChosenOne)
{
    ASSERT_FALSE(backups.record(link::Transaction::Read, "VQ-3+", 2, compiledImage("tracking.vq3")));
    clock.time.minute = 50;
    ASSERT_FALSE(backups.record(link::Transaction::Identification, "VQ-3+", 2, compiledImage("beacon.vq3")));
    clock.time.minute = 55;
    std::string unknownMode(128, '\0');
    unknownMode[0] = 0x06;
    ASSERT_FALSE(backups.record(link::Transaction::Read, "VQ-3", 1, unknownMode));

    open("tracking.vq3");
    auto* myCall = find<QLineEdit>("TrkMyCall");
    myCall->selectAll();
    QTest::keyClicks(myCall, "k1abc");
    ASSERT_TRUE(action("restorebackup")->isEnabled());
    action("restorebackup")->trigger();

    auto* restore = dialog<RestoreBackupDialog>("RestoreBackup");
    ASSERT_NE(restore, nullptr);
    EXPECT_EQ(restore->findChild<QLabel*>("BackupFolder")->text(),
              QString::fromStdString("Backups in " + kFolder + ", newest first:"));
    auto* list = restore->findChild<QTreeWidget*>("BackupList");
    ASSERT_EQ(list->topLevelItemCount(), 3);
    const QStringList expected[] = {
        {"2026-12-06 08:55:12", "VQ-3 firmware 1", "mode 6", "(none)", "read"},
        {"2026-12-06 08:50:12", "VQ-3+ firmware 2", "Beacon", "TEST", "identification"},
        {"2026-12-06 08:45:12", "VQ-3+ firmware 2", "Tracking", "N0CALL", "read"},
    };
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(row(list, i), expected[i]) << i;

    // A backup of a mode the program cannot open cannot be opened.
    auto* differences = restore->findChild<QPlainTextEdit*>("BackupDifferences");
    auto* openButton = restore->findChild<QPushButton*>("OpenBackup");
    EXPECT_EQ(differences->toPlainText(), "This backup holds no configuration the program can open.");
    EXPECT_FALSE(openButton->isEnabled());

    // Another mode is the one difference, as vq3 diff says it.
    list->setCurrentItem(list->topLevelItem(1));
    EXPECT_EQ(differences->toPlainText(), "Mode: Tracking -> Beacon");
    EXPECT_TRUE(openButton->isEnabled());

    list->setCurrentItem(list->topLevelItem(2));
    EXPECT_EQ(differences->toPlainText(), "My Call: K1ABC -> N0CALL");
    // The edit is not in any file: the program asks first, and Discard lets it go.
    ui.buttons.push_back(forms::Button::Discard);
    QTest::mouseClick(openButton, Qt::LeftButton);
    EXPECT_TRUE(restore->isHidden());
    EXPECT_EQ(myCall->text(), "N0CALL");
    EXPECT_TRUE(action("tracking")->isChecked());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].buttons, forms::Buttons::SaveDiscardCancel);
    // The restored configuration belongs to no file: the title names none (Save will ask for a name).
    EXPECT_FALSE(desktop->window().windowTitle().contains(".vq3")) << desktop->window().windowTitle().toStdString();

    // Opened, the backup and the windows agree.
    action("restorebackup")->trigger();
    auto* again = desktop->window().findChildren<RestoreBackupDialog*>("RestoreBackup").last();
    again->findChild<QTreeWidget*>("BackupList")
        ->setCurrentItem(again->findChild<QTreeWidget*>("BackupList")->topLevelItem(2));
    EXPECT_EQ(again->findChild<QPlainTextEdit*>("BackupDifferences")->toPlainText(),
              "The backup holds what the windows hold.");
    QTest::mouseClick(again->findChild<QPushButton*>("CancelBackup"), Qt::LeftButton);
    EXPECT_EQ(myCall->text(), "N0CALL");
}

TEST_F(DesktopAidsTest, RestoreFromBackupWithNoneKeptYetSaysWhereTheyWillBe)
{
    action("restorebackup")->trigger();
    auto* restore = dialog<RestoreBackupDialog>("RestoreBackup");
    ASSERT_NE(restore, nullptr);
    EXPECT_EQ(restore->findChild<QLabel*>("BackupFolder")->text(),
              QString::fromStdString("No backups in " + kFolder + " yet."));
    EXPECT_EQ(restore->findChild<QTreeWidget*>("BackupList")->topLevelItemCount(), 0);
    EXPECT_FALSE(restore->findChild<QPushButton*>("OpenBackup")->isEnabled());
}

TEST_F(DesktopAidsTest, ReportCommandsNeedProfilesButNoPrinter)
{
    const struct
    {
        const char* mode;
        bool available;
    } cases[] = {{"telemetry", false}, {"beacon", false}, {"nmea", true}, {"tracking", true}, {"alarm", false}};
    EXPECT_FALSE(action("printpreview")->isEnabled());
    EXPECT_FALSE(action("exportpdf")->isEnabled());
    for (const auto& c : cases) {
        action(c.mode)->trigger();
        EXPECT_EQ(action("printpreview")->isEnabled(), c.available) << c.mode;
        EXPECT_EQ(action("exportpdf")->isEnabled(), c.available) << c.mode;
        // Direct printing still waits for a printer.
        EXPECT_FALSE(action("printprofiles")->isEnabled()) << c.mode;
    }
}

TEST_F(DesktopAidsTest, PrintPreviewShowsTheProfileReportAsItWillPrint)
{
    open("tracking.vq3");
    auto* comments = find<QLineEdit>("TrkComments");
    comments->selectAll();
    QTest::keyClicks(comments, "Preview check");
    action("printpreview")->trigger();
    auto* preview = dialog<QPrintPreviewDialog>("PrintPreview");
    ASSERT_NE(preview, nullptr);
    auto* pages = preview->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(pages, nullptr);
    pages->updatePreview();
    EXPECT_EQ(pages->pageCount(), 1);

    // What the preview draws is what a PDF printer would print.
    QTemporaryDir dir;
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(dir.filePath("preview.pdf"));
    emit preview->paintRequested(&pdf);
    std::ifstream file(dir.filePath("preview.pdf").toStdString(), std::ios::binary);
    const QString text = pdfText({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
    EXPECT_TRUE(text.contains("Tracking")) << text.toStdString();
    EXPECT_TRUE(text.contains("Preview check")) << text.toStdString();
    EXPECT_TRUE(text.contains("6 Dec 2026")) << text.toStdString();
    preview->close();
}

TEST_F(DesktopAidsTest, ExportProfilesAsPdfWritesTheReportWhereTheUserSays)
{
    const struct
    {
        const char* name;
        std::vector<std::string> typed;
        int filter;
        bool existing;
        std::deque<forms::Button> answers;
        std::string written;
    } cases[] = {
        {"a bare name gets .pdf", {"/home/user/club"}, 1, false, {}, "/home/user/club.pdf"},
        {"another filter keeps the name", {"/home/user/club"}, 2, false, {}, "/home/user/club"},
        {"an existing file is replaced when the user agrees",
         {"/home/user/old.pdf"},
         1,
         true,
         {forms::Button::Yes},
         "/home/user/old.pdf"},
        {"refusing asks again",
         {"/home/user/old.pdf", "/home/user/new.pdf"},
         1,
         true,
         {forms::Button::No},
         "/home/user/new.pdf"},
    };
    open("nmea.vq3");
    for (const auto& c : cases) {
        files.files.erase(c.written);
        files.files["/home/user/old.pdf"] = "old";
        ui.boxes.clear();
        ui.dialogs.clear();
        for (const auto& path : c.typed)
            ui.paths.push_back(path);
        ui.filterIndexes = {c.filter};
        ui.buttons = c.answers;
        action("exportpdf")->trigger();
        ASSERT_FALSE(ui.dialogs.empty()) << c.name;
        EXPECT_EQ(ui.dialogs[0].title, "Export Profiles as PDF") << c.name;
        EXPECT_EQ(ui.dialogs[0].filter, "PDF Document | *.pdf | All Files | *") << c.name;
        EXPECT_EQ(ui.dialogs[0].initialName, "NMEA Profiles.pdf") << c.name;
        EXPECT_EQ(ui.dialogs.size(), c.typed.size()) << c.name;
        ASSERT_EQ(ui.boxes.size(), c.existing ? 1u : 0u) << c.name;
        if (c.existing) {
            EXPECT_EQ(ui.boxes[0], forms::messageBox("Confirm",
                                                     "File \"/home/user/old.pdf\" already exists.\r\n\r\nDo you "
                                                     "want to overwrite this file?",
                                                     forms::Icon::Warning, forms::Buttons::YesNo))
                << c.name;
        }
        ASSERT_TRUE(files.files.count(c.written)) << c.name;
        const QString text = pdfText(files.files[c.written]);
        EXPECT_TRUE(text.contains("NMEA")) << c.name << text.toStdString();
        EXPECT_TRUE(text.contains("N0CALL")) << c.name << text.toStdString();
        if (c.answers == std::deque<forms::Button>{forms::Button::No}) {
            EXPECT_EQ(files.files["/home/user/old.pdf"], "old") << c.name;
        }
    }
}

TEST_F(DesktopAidsTest, FailuresOfTheExportAndTheBackupListingShowTheirBoxesAndLoseNothing)
{
    const storage::FileError full{storage::error::kDiskFull, "No space left on device"};
    const storage::FileError denied{storage::error::kPermissionDenied, "Permission denied"};
    const struct
    {
        const char* name;
        std::function<void()> run;
        forms::MessageBox box;
    } cases[] = {
        {"the disk is full",
         [&] {
             files.writeErrors["/home/user/full.pdf"] = full;
             ui.paths.push_back("/home/user/full.pdf");
             action("exportpdf")->trigger();
         },
         storage::writeErrorBox(full)},
        {"the backup folder cannot be read",
         [&] {
             files.readErrors[kFolder] = denied;
             action("restorebackup")->trigger();
         },
         storage::readErrorBox(denied)},
    };
    open("tracking.vq3");
    for (const auto& c : cases) {
        ui.boxes.clear();
        c.run();
        ASSERT_EQ(ui.boxes.size(), 1u) << c.name;
        EXPECT_EQ(ui.boxes[0], c.box) << c.name;
    }
    EXPECT_EQ(files.files.count("/home/user/full.pdf"), 0u);
    EXPECT_EQ(desktop->window().findChild<RestoreBackupDialog*>("RestoreBackup"), nullptr);
    EXPECT_EQ(find<QLineEdit>("TrkMyCall")->text(), "N0CALL");
}

TEST_F(DesktopAidsTest, CopyThisProfileToCopiesAndALaterWriteNamesABadCopy)
{
    action("nmea")->trigger();
    desktop->program().textChanged("GpsString1", "$GPRMC");
    desktop->program().textChanged("NMEAToCall", "GPS");
    // Path 3 without paths 1 and 2: a profile the check refuses.
    auto* path3 = find<QComboBox>("NMEAPath3");
    path3->setCurrentIndex(3);
    emit path3->activated(3);

    QTest::mouseClick(dialog<QPushButton>("NMEAProfileCopy"), Qt::LeftButton);
    auto* copy = dialog<CopyProfileDialog>("CopyProfile");
    ASSERT_NE(copy, nullptr);
    auto* ok = copy->findChild<QPushButton*>("CopyProfileOk");
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_FALSE(copy->findChild<QCheckBox*>("CopyTo1")->isEnabled());
    QTest::mouseClick(copy->findChild<QCheckBox*>("CopyTo6"), Qt::LeftButton);
    QTest::mouseClick(copy->findChild<QCheckBox*>("CopyTo9"), Qt::LeftButton);
    QTest::mouseClick(ok, Qt::LeftButton);
    const forms::ProfileStore& store = windows().nmea.store;
    EXPECT_EQ(store.entry(6), store.entry(1));
    EXPECT_EQ(store.entry(9), store.entry(1));
    EXPECT_NE(store.entry(5), store.entry(1));

    // Profile 1 put right: the copies are still wrong, and Write names the first of them.
    path3->setCurrentIndex(0);
    emit path3->activated(0);
    ui.boxes.clear();
    // Write checks the whole mode before it needs the unit.
    desktop->program().menuCommand("write");
    desktop->binder().draw();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, "Invalid Paths");
    EXPECT_EQ(find<QTabBar>("NMEAProfile")->currentIndex(), 5);
    EXPECT_EQ(path3->currentIndex(), 3);
}

TEST_F(DesktopAidsTest, CopyThisProfileCancelledCopiesNothing)
{
    action("tracking")->trigger();
    find<QTabBar>("TrkProfile")->setCurrentIndex(3);
    QTest::keyClicks(find<QLineEdit>("TrkSSID"), "7");
    const forms::ProfileStore before = windows().tracking.store;
    QTest::mouseClick(dialog<QPushButton>("TrkProfileCopy"), Qt::LeftButton);
    auto* copy = dialog<CopyProfileDialog>("CopyProfile");
    ASSERT_NE(copy, nullptr);
    EXPECT_FALSE(copy->findChild<QCheckBox*>("CopyTo4")->isEnabled());
    QTest::mouseClick(copy->findChild<QCheckBox*>("CopyTo1"), Qt::LeftButton);
    QTest::mouseClick(copy->findChild<QPushButton*>("CopyProfileCancel"), Qt::LeftButton);
    EXPECT_EQ(windows().tracking.store.entry(1), before.entry(1));
    EXPECT_EQ(windows().tracking.store.entry(1).SSID, "");
}

TEST_F(DesktopAidsTest, TheSymbolFieldNamesTheSymbolTyped)
{
    const struct
    {
        const char* separator;
        const char* symbol;
        QString name;
    } cases[] = {
        {"/", ">", "Car"},
        {"/", "k", "Truck"},
        {"/", "[", "Jogger"},
        {"/", "-", "House"},
        {"\\", "!", "Emergency (alternate symbol table)"},
        {"3", "#", "Digipeater (green star) with overlay 3 (alternate symbol table with overlay 3)"},
        {"/", "", ""},
        {"/", "|", "(no name in the primary symbol table)"},
        {"x", ">", "(the Separator chooses no symbol table)"},
    };
    action("tracking")->trigger();
    auto* separator = find<QLineEdit>("TrkSeparator");
    auto* symbol = find<QLineEdit>("TrkSymbol");
    auto* name = desktop->window().findChild<QLabel*>("TrkSymbolName");
    ASSERT_NE(name, nullptr);
    for (const auto& c : cases) {
        separator->selectAll();
        QTest::keyClick(separator, Qt::Key_Delete);
        QTest::keyClicks(separator, c.separator);
        symbol->selectAll();
        QTest::keyClick(symbol, Qt::Key_Delete);
        QTest::keyClicks(symbol, c.symbol);
        EXPECT_EQ(name->text(), c.name) << c.separator << c.symbol;
        const QString prompt = "Enter the Symbol character of this profile.";
        EXPECT_EQ(symbol->toolTip(), c.name.isEmpty() ? prompt : prompt + "\nSymbol " + c.symbol + ": " + c.name);
        EXPECT_TRUE(separator->toolTip().contains("The Separator chooses the symbol table")) << c.separator;
    }
}

TEST_F(DesktopAidsTest, TheSymbolPickListSetsTheSymbolByName)
{
    action("tracking")->trigger();
    auto* pick = desktop->window().findChild<QComboBox*>("TrkSymbolPick");
    ASSERT_NE(pick, nullptr);
    const int jogger = pick->findText("Jogger (/[)");
    const int emergency = pick->findText("Emergency (\\!)");
    ASSERT_GE(jogger, 0);
    ASSERT_GE(emergency, 0);
    emit pick->activated(jogger);
    EXPECT_EQ(find<QLineEdit>("TrkSymbol")->text(), "[");
    EXPECT_EQ(windows().tracking.TrkSeparator.text(), "/");
    EXPECT_EQ(pick->currentIndex(), -1);
    emit pick->activated(emergency);
    EXPECT_EQ(windows().tracking.TrkSymbol.text(), "!");
    EXPECT_EQ(find<QLineEdit>("TrkSeparator")->text(), "\\");
    EXPECT_EQ(desktop->window().findChild<QLabel*>("TrkSymbolName")->text(), "Emergency (alternate symbol table)");
}

TEST_F(DesktopAidsTest, SpecialPathsOfferTodaysPathsAndStillTakeAnyPath)
{
    const struct
    {
        const char* mode;
        const char* field;
        forms::Mode model;
        std::size_t path;
    } cases[] = {{"telemetry", "TelSpecPath1", forms::Mode::Telemetry, 0},
                 {"beacon", "BcnSpecPath2", forms::Mode::Beacon, 1},
                 {"nmea", "NMEASpecPath3", forms::Mode::Nmea, 2},
                 {"tracking", "TrkSpecPath4", forms::Mode::Tracking, 3},
                 {"alarm", "AlmSpecPath1", forms::Mode::Alarm, 0}};
    for (const auto& c : cases) {
        action(c.mode)->trigger();
        auto* special = find<QLineEdit>(c.field);
        QCompleter* completer = special->completer();
        ASSERT_NE(completer, nullptr) << c.field;
        QStringList offered;
        for (int i = 0; completer->setCurrentRow(i); ++i)
            offered << completer->currentCompletion();
        EXPECT_EQ(offered, (QStringList{"WIDE1-1", "WIDE2-1", "WIDE2-2"})) << c.field;

        special->setFocus();
        special->selectAll();
        QTest::keyClicks(special, "wide2");
        EXPECT_EQ(completer->completionCount(), 2) << c.field;
        emit completer->activated(QStringLiteral("WIDE2-2"));
        EXPECT_EQ(special->text(), "WIDE2-2") << c.field;
        EXPECT_EQ(windows().station(c.model).SpecPath[c.path].text(), "WIDE2-2") << c.field;

        // Any path the field's rules take is still taken, typing filter and all.
        special->selectAll();
        QTest::keyClicks(special, "echo-3");
        QTest::sendKeyEvent(QTest::Click, special, Qt::Key_Eacute, QString(QChar(0xE9)), Qt::NoModifier);
        EXPECT_EQ(special->text(), "ECHO-3") << c.field;
        EXPECT_EQ(windows().station(c.model).SpecPath[c.path].text(), "ECHO-3") << c.field;
    }
}

TEST_F(DesktopAidsTest, TheModeWindowShowsThePacketHeaderAndAdvice)
{
    open("tracking.vq3");
    auto* header = desktop->window().findChild<QLabel*>("TrkPacketHeader");
    auto* advice = desktop->window().findChild<QLabel*>("TrkAdvice");
    ASSERT_NE(header, nullptr);
    ASSERT_NE(advice, nullptr);
    EXPECT_EQ(header->text(), "Profile 1 sends N0CALL-9>APRS,WIDE2-1,WIDE");
    EXPECT_TRUE(header->toolTip().startsWith("Profile 1: N0CALL-9>APRS,WIDE2-1,WIDE\nProfile 2: N0CALL>APRS\n"))
        << header->toolTip().toStdString();
    EXPECT_FALSE(advice->isHidden());
    EXPECT_TRUE(advice->text().startsWith("Advice: Profile 1: Path 2 (WIDE): ")) << advice->text().toStdString();

    // The path put right, its advice goes; the profiles without an SSID keep theirs.
    auto* path2 = find<QComboBox>("TrkPath2");
    path2->setCurrentIndex(0);
    emit path2->activated(0);
    EXPECT_EQ(header->text(), "Profile 1 sends N0CALL-9>APRS,WIDE2-1");
    EXPECT_TRUE(advice->text().startsWith("Advice: Profiles 2 to 10: No SSID: ")) << advice->text().toStdString();
    EXPECT_FALSE(advice->text().contains("WIDE")) << advice->text().toStdString();

    find<QTabBar>("TrkProfile")->setCurrentIndex(1);
    auto* ssid = find<QLineEdit>("TrkSSID");
    ssid->selectAll();
    QTest::keyClicks(ssid, "7");
    EXPECT_EQ(header->text(), "Profile 2 sends N0CALL-7>APRS");

    auto* special = find<QLineEdit>("TrkSpecPath1");
    special->selectAll();
    QTest::keyClicks(special, "RELAY");
    QFocusEvent leave(QEvent::FocusOut);
    QApplication::sendEvent(special, &leave);
    auto* path1 = find<QComboBox>("TrkPath1");
    const int relay = path1->findText("RELAY");
    ASSERT_GE(relay, 0);
    path1->setCurrentIndex(relay);
    emit path1->activated(relay);
    EXPECT_EQ(header->text(), "Profile 2 sends N0CALL-7>APRS,RELAY");
    EXPECT_FALSE(advice->isHidden());
    // Profile 1 sends Special Path 1 too.
    EXPECT_TRUE(advice->text().startsWith("Advice: Profiles 1 and 2: Path 1 (RELAY): "))
        << advice->text().toStdString();
}

} // namespace
} // namespace qm::app
