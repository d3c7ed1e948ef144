#include "shell/Program.h"
#include "fakes/FakeClock.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/RecordingLink.h"
#include "fakes/RecordingPrinter.h"
#include "fakes/ScriptedUi.h"
#include "forms/Controls.h"
#include "shell/HelpTexts.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>

#include <optional>

namespace qm::shell
{
namespace
{

using forms::Button;
using forms::Mode;

const char* const kIni = "/opt/quellmark/vq3.ini";

std::string iniFile(const std::string& port, const std::string& call, const std::string& welcome = "FALSE")
{
    return storage::joinLines({port, call, "0", "0", "6", "2", welcome, "Reserved", "Reserved", "Reserved"});
}

class ProgramTest : public ::testing::Test
{
protected:
    void start(const std::string& ini = iniFile("1", "N0CALL"))
    {
        files.files[kIni] = ini;
        ASSERT_TRUE(program.start());
        ui.calls.clear();
        ui.boxes.clear();
    }

    fakes::MemoryFileSystem files;
    fakes::ScriptedUi ui;
    std::optional<fakes::RecordingLink> madeLink;
    Program program{
        files, ui, Environment{{"/opt/quellmark", "/home/user/.config/quellmark"}, "/home/user", {}},
        [this](Session& session, IniSettings&) -> LinkRequests& { return madeLink.emplace(session.state()); }};
    fakes::RecordingLink& link = *madeLink;
    forms::Windows& w = program.session().windows();
};

TEST_F(ProgramTest, StartUpTestsAndOpensThePortAndEnablesTheMainWindow)
{
    start();
    EXPECT_EQ(link.calls, (std::vector<std::string>{"TestSerialPort", "OpenSerialPort"}));
    EXPECT_TRUE(w.main.menus.com1.checked());
    EXPECT_TRUE(w.main.window.enabled());
    EXPECT_TRUE(w.main.menus.openconfiguration.enabled());
    for (auto* item :
         {&w.main.menus.read, &w.main.menus.write, &w.main.menus.saveconfiguration, &w.main.menus.newconfiguration,
          &w.main.menus.memorizedefaults, &w.main.menus.printprofiles, &w.main.menus.printerfont})
        EXPECT_FALSE(item->enabled()) << item->name();
    EXPECT_EQ(w.tracking.station.MyCall.text(), "N0CALL");
    EXPECT_EQ(w.beacon.station.TxDelay.listIndex(), 6);
}

TEST_F(ProgramTest, AFailedPortTestSendsTheUserToTheSetupMenu)
{
    link.portFails = true;
    start();
    EXPECT_EQ(link.calls, (std::vector<std::string>{"TestSerialPort", "SelectSerialPort"}));
    EXPECT_FALSE(w.main.ConnectButton.visible());
    EXPECT_TRUE(w.main.window.enabled());
}

TEST_F(ProgramTest, TheMainWindowIsUsableEvenWhenTheInitializationFileStoppedOnAnError)
{
    start(storage::joinLines({"2", "N0CALL", "0", "0", "99", "2", "FALSE", "Reserved", "Reserved", "Reserved"}));
    EXPECT_EQ(program.session().state().link.comPort, 2);
    EXPECT_TRUE(w.main.window.enabled());
}

TEST_F(ProgramTest, TheWelcomeWindowKeepsTheMainWindowDisabledUntilOk)
{
    start(iniFile("1", "N0CALL", "TRUE"));
    EXPECT_TRUE(w.welcome.window.visible());
    EXPECT_TRUE(w.welcome.topmost);
    EXPECT_FALSE(w.main.window.enabled());
    w.welcome.ShowSplashScreen.setValue(0);
    program.confirmWelcome();
    EXPECT_FALSE(w.welcome.window.visible());
    EXPECT_TRUE(w.main.window.enabled());
    EXPECT_TRUE(program.session().state().welcomeDismissed);
    EXPECT_EQ(storage::splitLines(files.files[kIni])[6], "FALSE");
}

TEST_F(ProgramTest, WriteWithoutAModeSaysToChooseOne)
{
    start();
    EXPECT_FALSE(program.write());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0],
              forms::messageBox("Error", "Please select a mode from the \"Mode\" menu.", forms::Icon::Information));
    EXPECT_TRUE(link.downloads.empty());
}

TEST_F(ProgramTest, APlainVq3RefusesEveryModeButTracking)
{
    start();
    program.session().state().link.modelName = "VQ-3 ";
    for (Mode mode : {Mode::Telemetry, Mode::Beacon, Mode::Nmea, Mode::Alarm}) {
        program.session().selectMode(mode);
        ui.boxes.clear();
        EXPECT_FALSE(program.write());
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, "Sorry - The mode that you have attempted to program is not available on the "
                                    "Model VQ-3.  You will need to upgrade your VQ-3 to a VQ-3+ to use this mode.");
    }
    program.session().selectMode(forms::Mode::Tracking);
    EXPECT_TRUE(program.write());
    ASSERT_EQ(link.downloads.size(), 1u);
    EXPECT_EQ(link.downloads[0].size(), 129u);
    program.session().state().link.modelName = "VQ-3+ ";
    program.session().selectMode(forms::Mode::Beacon);
    w.beacon.station.ToCall.setText("APRS");
    EXPECT_TRUE(program.write());
}

TEST_F(ProgramTest, InvalidInputShowsTheMessageThenMovesTheFocusAndSendsNothing)
{
    start();
    program.session().selectMode(forms::Mode::Beacon);
    w.beacon.station.SSID.setText("0");
    EXPECT_FALSE(program.write());
    EXPECT_EQ(ui.calls, (std::vector<std::string>{"pointer:normal", "box:Invalid SSID", "focus:BcnMySSID"}));
    EXPECT_TRUE(link.downloads.empty());
}

TEST_F(ProgramTest, WriteStoresTheShownProfileBeforeCompiling)
{
    start();
    program.session().selectMode(forms::Mode::Tracking);
    program.profileTabClick(Mode::Tracking, 1);
    w.tracking.station.TmrMin.setText("5");
    ASSERT_TRUE(program.write());
    EXPECT_EQ(static_cast<unsigned char>(link.downloads[0][46 + 6 + 3]), 300u % 256u);
    EXPECT_EQ(static_cast<unsigned char>(link.downloads[0][46 + 6 + 2]) & 0x0Fu, 1u);
}

TEST_F(ProgramTest, AnImageOfAnUnknownModeWritesNothingWithoutAMessage)
{
    start();
    program.session().selectMode(forms::Mode::Beacon);
    program.session().state().currentMode.reset();
    program.session().state().unknownModeCode = 6;
    EXPECT_FALSE(program.write());
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(link.downloads.empty());
}

TEST_F(ProgramTest, ExitClosesThePortThenEnds)
{
    start();
    program.exit();
    EXPECT_EQ(link.calls.back(), "CloseSerialPort");
    EXPECT_TRUE(ui.ended);
}

TEST_F(ProgramTest, ExitDuringATransferAsksAndEndsOnlyOnceThePortIsClosed)
{
    struct Row
    {
        Button answer;
        std::vector<std::string> calls;
        bool endsWhenClosed;
    };
    const Row rows[] = {
        {Button::No, {}, false},
        {Button::Yes, {"closeWhenSent"}, true},
    };
    for (const auto& row : rows) {
        fakes::MemoryFileSystem rowFiles;
        fakes::ScriptedUi rowUi;
        std::optional<fakes::RecordingLink> madeRowLink;
        Program rowProgram{
            rowFiles, rowUi, Environment{{"/opt/quellmark", "/home/user/.config/quellmark"}, "/", {}},
            [&](Session& session, IniSettings&) -> LinkRequests& { return madeRowLink.emplace(session.state()); }};
        fakes::RecordingLink& rowLink = *madeRowLink;
        rowFiles.files[kIni] = iniFile("1", "N0CALL");
        ASSERT_TRUE(rowProgram.start());
        rowLink.calls.clear();
        rowLink.transferring = true;
        rowUi.buttons.push_back(row.answer);

        rowProgram.exit();

        EXPECT_EQ(rowUi.boxes, std::vector<forms::MessageBox>{forms::messageBox(
                                   "Transfer In Progress",
                                   "The program is exchanging a configuration with the VQ-3. If it ends now, the "
                                   "transfer is broken off and the VQ-3 is told to discard it.\r\n\r\nEnd the "
                                   "program anyway?",
                                   forms::Icon::Warning, forms::Buttons::YesNo)});
        EXPECT_EQ(rowUi.callsStartingWith("pointer:").back(), "pointer:normal");
        EXPECT_EQ(rowLink.calls, row.calls);
        EXPECT_FALSE(rowUi.ended);
        EXPECT_EQ(rowProgram.session().windows().main.window.enabled(), !row.endsWhenClosed);
        if (rowLink.whenClosed)
            rowLink.whenClosed();
        EXPECT_EQ(rowUi.ended, row.endsWhenClosed);
        rowProgram.exit();
        EXPECT_EQ(rowUi.boxes.size(), row.endsWhenClosed ? 1u : 2u);
    }
}

TEST_F(ProgramTest, ATransferThatEndsWhileTheQuestionIsUpClosesAsAtAnyOtherTime)
{
    start();
    link.transferring = true;
    ui.buttons.push_back(Button::Yes);
    link.calls.clear();
    ui.onBox = [this] { link.transferring = false; };

    program.exit();

    EXPECT_EQ(link.calls, std::vector<std::string>{"CloseSerialPort"});
    EXPECT_TRUE(ui.ended);
}

TEST_F(ProgramTest, VerifyAfterWriteIsOnUntilTurnedOffAndKeptInTheProgramsOwnFile)
{
    const std::string optionsFile = "/home/user/.config/quellmark/quellmark.conf";
    start();
    EXPECT_TRUE(w.main.menus.verifyafterwrite.checked());
    EXPECT_TRUE(program.session().state().link.verifyWrites);
    EXPECT_EQ(files.files.count(optionsFile), 0u);

    EXPECT_TRUE(program.menuCommand("verifyafterwrite"));
    EXPECT_FALSE(w.main.menus.verifyafterwrite.checked());
    EXPECT_FALSE(program.session().state().link.verifyWrites);
    EXPECT_EQ(files.files[optionsFile], "VerifyAfterWrite=no\r\n");
    EXPECT_EQ(files.files[kIni], iniFile("1", "N0CALL"));

    program.toggleVerifyAfterWrite();
    EXPECT_TRUE(program.session().state().link.verifyWrites);
    EXPECT_EQ(files.files[optionsFile], "VerifyAfterWrite=yes\r\n");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST(ProgramOptionsTest, ReadsTheSettingAndKeepsLinesItDoesNotKnow)
{
    struct Case
    {
        std::string file;
        bool verify;
        std::string afterTurningOff;
    };
    const Case cases[] = {
        {"VerifyAfterWrite=no\r\n", false, "VerifyAfterWrite=no\r\n"},
        {"VerifyAfterWrite=yes\r\n", true, "VerifyAfterWrite=no\r\n"},
        {"VerifyAfterWrite=maybe\r\n", true, "VerifyAfterWrite=no\r\n"},
        {"Theme=dark\nVerifyAfterWrite=no\n", false, "Theme=dark\r\nVerifyAfterWrite=no\r\n"},
        {"Theme=dark\r\n", true, "Theme=dark\r\nVerifyAfterWrite=no\r\n"},
        {"", true, "VerifyAfterWrite=no\r\n"},
    };
    for (const auto& c : cases) {
        fakes::MemoryFileSystem files;
        files.files["/cfg/quellmark.conf"] = c.file;
        ProgramOptions options(files, "/cfg/quellmark.conf");
        options.load();
        EXPECT_EQ(options.verifyAfterWrite(), c.verify) << c.file;
        EXPECT_FALSE(options.setVerifyAfterWrite(false));
        EXPECT_EQ(files.files["/cfg/quellmark.conf"], c.afterTurningOff) << c.file;
        EXPECT_EQ(files.folders, std::set<std::string>{"/cfg"});
    }
}

TEST_F(ProgramTest, ASettingThatCannotBeKeptSaysWhyAndHoldsUntilTheProgramEnds)
{
    files.writeErrors["/home/user/.config/quellmark/quellmark.conf"] =
        storage::FileError{storage::error::kPermissionDenied, "Permission denied"};
    start();

    program.toggleVerifyAfterWrite();

    ASSERT_EQ(ui.boxes.size(), 1u);
    forms::MessageBox expected = storage::writeErrorBox({storage::error::kPermissionDenied, ""});
    expected.details = "/home/user/.config/quellmark/quellmark.conf: Permission denied";
    EXPECT_EQ(ui.boxes[0], expected);
    EXPECT_FALSE(program.session().state().link.verifyWrites);
    EXPECT_FALSE(w.main.menus.verifyafterwrite.checked());
}

TEST_F(ProgramTest, ContentsOpensTheHelpFileFromTheProgramsFolder)
{
    start();
    program.showHelpContents();
    EXPECT_EQ(ui.calls, (std::vector<std::string>{"help:/opt/quellmark/vq3.hlp"}));
}

TEST_F(ProgramTest, FieldEventsFollowTheFieldRules)
{
    start();
    EXPECT_EQ(program.keyPress("AlmMyCall", U'a'), 'A');
    EXPECT_FALSE(program.keyPress("TelTmrSec", U'x'));
    program.myCallChange("K1ABC");
    for (const forms::Mode mode : forms::kModes)
        EXPECT_EQ(w.station(mode).MyCall.text(), "K1ABC");
    w.telemetry.station.Path[2].setListIndex(6);
    program.pathClick(Mode::Telemetry, 3);
    EXPECT_EQ(w.telemetry.station.Path[2].listIndex(), 0);
    EXPECT_EQ(ui.calls.back(), "focus:TelSpecPath2");
    w.telemetry.station.SpecPath[1].setText("WIDE3");
    program.specialPathLostFocus(Mode::Telemetry, 2);
    for (const auto& path : w.telemetry.station.Path)
        EXPECT_EQ(path.entries()[6], "WIDE3");
    w.telemetry.station.Path[2].setListIndex(6);
    program.pathClick(Mode::Telemetry, 3);
    EXPECT_EQ(w.telemetry.station.Path[2].listIndex(), 6);
}

TEST_F(ProgramTest, EventsByControlNameReachTheModels)
{
    start();
    program.textChanged("NMEAMyCall", "K1ABC");
    EXPECT_EQ(w.alarm.station.MyCall.text(), "K1ABC");
    program.textChanged("TrkToCall", "CQ");
    EXPECT_EQ(w.tracking.station.ToCall.text(), "CQ");
    program.textChanged("BcnMsgText", "HELLO");
    EXPECT_EQ(w.beacon.BcnMsgText.text(), "HELLO");
    program.listClick("AlmCondition2", 0);
    EXPECT_EQ(w.alarm.AlmCondition[1].listIndex(), 0);
    program.listClick("AlmPath2", 7);
    EXPECT_EQ(w.alarm.station.Path[1].listIndex(), 0);
    EXPECT_EQ(ui.calls.back(), "focus:AlmSpecPath3");
    program.textChanged("AlmSpecPath3", "WIDE3");
    program.lostFocus("AlmSpecPath3");
    EXPECT_EQ(w.alarm.station.Path[0].entries()[7], "WIDE3");
    program.listClick("AlmPath2", 7);
    EXPECT_EQ(w.alarm.station.Path[1].listIndex(), 7);
    program.checkClick("TrkSendComments", true);
    EXPECT_EQ(w.tracking.TrkSendComments.value(), 1);
    program.optionClick("TelTxOnLFEnable");
    EXPECT_EQ(w.telemetry.TelTxOn.selected(), forms::kLineFeed);
}

TEST_F(ProgramTest, AnEditNeverTakesATextPastItsTypingLimit)
{
    start();
    const struct
    {
        std::string control;
        std::string before;
        std::string edited;
        std::string after;
    } cases[] = {
        {"TelMyCall", "N0CALL", "N0CALLX", "N0CALL"},
        {"TelMyCall", "N0CALL", "N0CAL", "N0CAL"},
        {"BcnMyCall", "ABCDEFGH", "ABCDEFG", "ABCDEFG"},
        {"BcnMyCall", "ABCDEFGH", "ABCDXFGH", "ABCDXFGH"},
        {"BcnMyCall", "ABCDEFGH", "ABCDEFGHI", "ABCDEFGH"},
        {"BcnMsgText", std::string(76, 'b'), std::string(77, 'b'), std::string(76, 'b')},
        {"BcnMsgText", std::string(74, 'b'), std::string(74, 'b') + "\r\n", std::string(74, 'b') + "\r\n"},
        {"AlmArmDelay", "127.5", "127.55", "127.5"},
        {"AlmArmDelay", "127.5", "12.5", "12.5"},
        {"TrkSSID", "5", "15", "15"},
        {"TrkSSID", "15", "150", "15"},
        {"TrkToCall", "APRS", "APRSXYZ-12", "APRSXYZ-12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control + " " + c.edited);
        auto found = forms::findControl(w, c.control);
        ASSERT_TRUE(found);
        if (auto** field = std::get_if<forms::TextField*>(&*found))
            (*field)->setText(c.before);
        else
            std::get<forms::PickList*>(*found)->setText(c.before);
        program.textChanged(c.control, c.edited);
        if (auto** field = std::get_if<forms::TextField*>(&*found))
            EXPECT_EQ((*field)->text(), c.after);
        else
            EXPECT_EQ(std::get<forms::PickList*>(*found)->text(), c.after);
    }
    EXPECT_EQ(w.alarm.station.MyCall.text(), "ABCDXFGH");
}

TEST_F(ProgramTest, MenuCommandsByName)
{
    start();
    EXPECT_TRUE(program.menuCommand("nmea"));
    EXPECT_EQ(program.session().state().currentMode, forms::Mode::Nmea);
    EXPECT_TRUE(program.menuCommand("in9600"));
    EXPECT_TRUE(w.main.menus.in9600.checked());
    EXPECT_EQ(storage::splitLines(files.files[kIni])[2], "3");
    EXPECT_TRUE(program.menuCommand("com2"));
    EXPECT_EQ(link.calls.back(), "selectComPort 2");
    w.main.menus.read.setEnabled(true);
    ui.buttons.push_back(Button::Discard);
    EXPECT_TRUE(program.menuCommand("read"));
    EXPECT_EQ(link.calls.back(), "read");
    EXPECT_FALSE(program.menuCommand("about"));
    EXPECT_TRUE(program.menuCommand("newconfiguration"));
}

TEST_F(ProgramTest, PrintProfilesPrintsTheShownModesProfilesWithTheProgressWindow)
{
    start();
    fakes::RecordingPrinter printer;
    fakes::FakeClock clock;
    program.setPrinter(&printer, &clock);
    program.session().state().printerFont = FontSettings{"Courier", 10, false, false, false, false};
    program.session().selectMode(forms::Mode::Beacon);
    EXPECT_TRUE(program.menuCommand("printprofiles"));
    EXPECT_TRUE(printer.calls.empty());

    program.session().selectMode(forms::Mode::Tracking);
    program.profileTabClick(Mode::Tracking, 3);
    w.tracking.station.SSID.setText("7");
    program.menuCommand("printprofiles");
    EXPECT_EQ(printer.lineText(1), "Tracking Profiles for N0CALL (6 Dec 2026)");
    EXPECT_EQ(w.tracking.store.entry(4).SSID, "7");
    EXPECT_EQ(printer.calls.at(1), "font Courier 10 0000");
    EXPECT_EQ(printer.calls.back(), "endDocument");
    EXPECT_EQ(w.printProgress.PrintProgress, 10);
    EXPECT_FALSE(w.printProgress.window.visible());
}

TEST(HelpTextsTest, OptionToolTipsFollowTheState)
{
    EXPECT_EQ(optionToolTip("ModeLock", false), "Click to lock out use of the Mode button.");
    EXPECT_EQ(optionToolTip("ModeLock", true), "Click to enable use of the Mode button.");
    EXPECT_EQ(optionToolTip("LEDDisable", false), "Click to turn Off the VQ-3's status lights.");
    EXPECT_EQ(optionToolTip("LEDDisable", true), "Click to turn On the VQ-3's status lights.");
    EXPECT_EQ(optionToolTip("AutoMode", false), "Click to turn Auto Mode On.");
    EXPECT_EQ(optionToolTip("AutoMode", true), "Click to turn Auto Mode Off.");
    EXPECT_EQ(optionToolTip("MicEncode", false), "Click to turn On Mic Encoding.");
    EXPECT_EQ(optionToolTip("MicEncode", true), "Click to turn Off Mic Encoding.");
    EXPECT_EQ(statusToolTip("Connected"), "VQ-3 Connected.");
    EXPECT_EQ(statusToolTip("Disconnected"), "VQ-3 Disconnected.");
}

TEST(HelpTextsTest, ModeHelpTextsKeepTheirSpacingAndTheTypographicApostrophe)
{
    EXPECT_NE(modeHelpText(Mode::Alarm).find("interval.   After transmission"), std::string::npos);
    EXPECT_NE(modeHelpText(Mode::Alarm).find("conditions ( i.e.:  the alarm"), std::string::npos);
    EXPECT_NE(modeHelpText(Mode::Tracking).find("each with it\xE2\x80\x99s own SSID"), std::string::npos);
    EXPECT_EQ(modeHelpText(Mode::Beacon),
              "In Beacon Mode the VQ-3 transmits a user defined message (\"Beacon Text\") at an interval determined "
              "by the Transmit Timer. The timer interval can be set to any value between one second and sixty eight "
              "minutes.  The Beacon Text length can be up to 76 characters long.");
    EXPECT_EQ(modeHelpText(Mode::Telemetry).size(), 547u);
    EXPECT_EQ(modeHelpText(Mode::Beacon).size(), 265u);
    EXPECT_EQ(modeHelpText(Mode::Nmea).size(), 678u);
    EXPECT_EQ(modeHelpText(Mode::Tracking).size(), 664u);
    EXPECT_EQ(modeHelpText(Mode::Alarm).size(), 792u);
}

} // namespace
} // namespace qm::shell
