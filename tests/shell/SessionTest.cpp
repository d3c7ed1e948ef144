// The session's models: an upload decoded into the windows, files saved and opened again line for line, the
// File commands, the start-up defaults and the controls each mode enables.
#include "ShellRig.h"
#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"

namespace qm::shell
{
namespace
{

using forms::Button;
using forms::Mode;
using Kind = Session::OpenOutcome::Kind;
using Calls = std::vector<std::string>;

/// A 128-byte image: mode, option and auto-mode bytes, callsign TEST, to-call APRS, four empty paths.
std::string image(std::uint8_t modeByte, std::uint8_t optionByte = 0x04, std::uint8_t autoModeByte = 0x00)
{
    std::string bytes{static_cast<char>(modeByte), static_cast<char>(optionByte), static_cast<char>(autoModeByte),
                      '\0'};
    bytes += "TEST  APRS  0";
    for (int i = 0; i < 4; ++i)
        bytes += std::string(6, '\x40') + '\x60';
    bytes.resize(128, '\0');
    return bytes;
}

struct SessionRig
{
    SessionRig() { session.startUp(); }
    fakes::MemoryFileSystem files;
    Session session{files};
    forms::Windows& w = session.windows();
};

TEST(ParseUploadTest, TheImageChoosesTheModeTheBaudRatesAndTheOptions)
{
    const struct
    {
        std::uint8_t mode, option, autoMode;
        int autoBefore;
        std::vector<bool> in, out300;
        std::vector<int> options; // LED, Mic, Lock, Auto
    } cases[] = {
        {0x01, 0x04, 0x00, 0, {false, true, false, false}, {false}, {0, 0, 1, 0}},
        {0x10, 0x07, 0xFF, 0, {false, false, true, false}, {false}, {1, 1, 1, 1}},
        {0x19, 0x00, 0x00, 1, {false, true, false, false}, {false}, {0, 0, 0, 0}}, // Beacon: input baud untouched
        {0x1C, 0x01, 0x01, 1, {false, true, false, false}, {false}, {1, 0, 0, 1}}, // so is Alarm's
        {0x23, 0x02, 0x7F, 0, {true, false, false, false}, {true}, {0, 1, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.mode));
        SessionRig r;
        r.w.main.menus.in1200.setChecked(false);
        r.w.main.menus.in2400.setChecked(true);
        r.w.main.AutoMode.setValue(c.autoBefore);
        r.session.decodeUpload(image(c.mode, c.option, c.autoMode));
        const Mode mode = forms::modeOfCode(c.mode & 7).value();
        EXPECT_EQ(r.session.state().currentMode, mode);
        EXPECT_TRUE(r.w.main.menus.modeItems()[forms::modeIndex(mode)]->checked());
        EXPECT_TRUE(r.w.station(mode).window.visible());
        for (const Mode other : forms::kModes)
            EXPECT_EQ(r.w.station(other).MyCall.text(), "TEST");
        std::vector<bool> in;
        for (const auto* item : r.w.main.menus.inputBaudItems())
            in.push_back(item->checked());
        EXPECT_EQ(in, c.in);
        EXPECT_EQ(r.w.main.menus.out300.checked(), c.out300[0]);
        EXPECT_EQ((std::vector<int>{r.w.main.LEDDisable.value(), r.w.main.MicEncode.value(),
                                    r.w.main.ModeLock.value(), r.w.main.AutoMode.value()}),
                  c.options);
    }
    // The output bit reloads the 300 baud lists before the fill.
    SessionRig r;
    std::string data = image(0x21);
    data[50] = '\x32';
    r.session.decodeUpload(data);
    EXPECT_EQ(r.w.telemetry.station.TxDelay.count(), 15);
    EXPECT_EQ(r.w.beacon.station.TxDelay.listIndex(), 2);
    EXPECT_EQ(r.w.beacon.station.TxTail.listIndex(), 1);
}

TEST(ParseUploadTest, AModeCodeNoWindowEditsChangesNoWindowAndRefusesSaveAndWriteUntilAModeIsChosen)
{
    SessionRig r;
    r.w.beacon.BcnMsgText.setText("KEEP");
    for (const int code : {5, 6, 7}) {
        SCOPED_TRACE(code);
        r.session.selectMode(Mode::Beacon);
        r.session.decodeUpload(image(static_cast<std::uint8_t>(0x38 | code), 0x01));
        EXPECT_EQ(r.session.state().unknownModeCode, code);
        EXPECT_EQ(r.session.state().currentMode, std::nullopt);
        EXPECT_TRUE(r.w.main.menus.in9600.checked());
        EXPECT_EQ(r.w.main.LEDDisable.value(), 1);
        EXPECT_EQ(r.w.beacon.BcnMsgText.text(), "KEEP");
        EXPECT_EQ(r.w.beacon.station.MyCall.text(), "");
        const auto refused = r.session.saveConfigurationFile("/unit.vq3");
        ASSERT_TRUE(refused);
        EXPECT_NE(refused->text.find("mode " + std::to_string(code)), std::string::npos);
        EXPECT_FALSE(r.files.fileExists("/unit.vq3"));
        const auto compiled = r.session.checkAndCompile();
        EXPECT_EQ(compiled.refusal, std::nullopt);
        EXPECT_TRUE(compiled.downloadImage.empty());

        r.session.selectMode(Mode::Alarm);
        EXPECT_EQ(r.session.saveConfigurationFile("/unit.vq3"), std::nullopt);
        EXPECT_EQ(storage::splitLines(r.files.files.at("/unit.vq3")).front(), "4");
        r.files.files.erase("/unit.vq3");
    }
}

TEST(UploadRoundTripTest, AnImageWithALineBreakInTheCallsignSavesAFileThatLoadsInEveryMode)
{
    std::string upload("\xF8\xFF\xFF\xFF\x0A", 5);
    upload.resize(128, '\0');
    for (const Mode mode : forms::kModes) {
        SCOPED_TRACE(forms::codeOfMode(mode));
        SessionRig r;
        upload[0] = static_cast<char>(0xF8 | forms::codeOfMode(mode));
        r.session.decodeUpload(upload);
        ASSERT_EQ(r.session.saveConfigurationFile("/read.vq3"), std::nullopt);
        const std::string saved = r.files.files.at("/read.vq3");
        EXPECT_EQ(r.session.openConfigurationFile("/read.vq3").kind, Kind::Loaded);
        EXPECT_EQ(r.session.saveConfigurationFile("/read.vq3"), std::nullopt);
        EXPECT_EQ(r.files.files.at("/read.vq3"), saved);
    }
}

TEST(ConfigurationCommandsTest, SaveThenOpenGivesBackEveryLineOfEveryMode)
{
    SessionRig r;
    auto& w = r.w;
    forms::setMyCall(w, "N0CALL");
    for (const Mode mode : forms::kModes) {
        auto& station = w.station(mode);
        station.ToCall.setText("CQ-5");
        station.SpecPath[1].setText("WIDE3");
        forms::relabelSpecialPath(station, 2);
        station.Path[0].setListIndex(6);
        station.Path[1].setListIndex(3);
        station.TmrMin.setText("12");
        station.TmrSec.setText("34");
        station.TxDelay.setListIndex(7);
        station.TxTail.setListIndex(3);
        station.SSID.setText("7");
    }
    w.main.menus.in1200.setChecked(false);
    w.main.menus.in4800.setChecked(true);
    w.main.LEDDisable.setValue(1);
    w.main.AutoMode.setValue(1);
    w.telemetry.TelTxOn.setValue(forms::kUserDefined, true);
    w.telemetry.TelUserTrigChar.setText("36");
    w.beacon.BcnMsgText.setText("HELLO\r\nWORLD");
    w.nmea.NMEATxOn.setValue(forms::kLineFeed, true);
    w.main.GpsString[0].setText("$GPRMC");
    w.main.GpsString[1].setText("$GPGGA");
    w.nmea.NMEADeltaEnable.setValue(1);
    forms::selectNmeaProfileTab(w, 3);
    w.nmea.station.SSID.setText("4");
    w.tracking.TrkComments.setText("Mobile");
    w.tracking.TrkSendComments.setValue(1);
    forms::selectTrackingProfileTab(w, 8);
    w.tracking.TrkSymbol.setText("k");
    w.alarm.AlarmMsgText[0].setText(" Door open ");
    w.alarm.AlmCondition[2].setListIndex(0);
    w.alarm.AlmArmDelay.setText("63.5");
    w.alarm.AlmTxCntrLimit.setText("3");
    for (const Mode mode : forms::kModes) {
        r.session.selectMode(mode);
        const auto saved = r.session.configurationLines();
        ASSERT_FALSE(r.session.saveConfigurationFile("/cfg/mode.vq3")) << int(mode);
        SessionRig other;
        other.files.files = r.files.files;
        ASSERT_EQ(other.session.openConfigurationFile("/cfg/mode.vq3").kind, Kind::Loaded) << int(mode);
        EXPECT_EQ(other.session.state().currentMode, mode);
        EXPECT_EQ(other.session.configurationLines(), saved) << int(mode);
    }

    // Opening stores the shown profile first; a file of no known mode changes nothing; a missing one says so.
    r.session.selectMode(Mode::Tracking);
    forms::selectTrackingProfileTab(w, 2);
    w.tracking.station.SSID.setText("9");
    const auto before = r.session.configurationLines();
    r.files.files["/seven.vq3"] = "7\r\n0\r\n";
    const auto unknown = r.session.openConfigurationFile("/seven.vq3");
    EXPECT_EQ(unknown.kind, Kind::UnknownMode);
    EXPECT_FALSE(unknown.box);
    EXPECT_EQ(r.session.configurationLines(), before);
    EXPECT_EQ(w.tracking.store.entry(3).SSID, "9");
    const auto missing = r.session.openConfigurationFile("/nowhere.vq3");
    ASSERT_EQ(missing.kind, Kind::Failed);
    EXPECT_EQ(missing.box, storage::readErrorBox({storage::error::kFileNotFound, ""}));
}

TEST(FileCommandsTest, NewClearsOnlyTheCurrentModeAndOpenAsksWithItsDialog)
{
    SessionRig r;
    fakes::ScriptedUi ui;
    FileCommands commands{r.session, ui, r.files, "/home/user"};
    commands.newConfiguration();
    EXPECT_EQ(ui.boxes, std::vector<forms::MessageBox>{selectModeBox()});
    r.session.selectMode(Mode::Alarm);
    r.w.alarm.AlmTxCntrLimit.setText("9");
    r.w.beacon.BcnMsgText.setText("KEEP");
    commands.newConfiguration();
    EXPECT_EQ(r.w.alarm.AlmTxCntrLimit.text(), "");
    EXPECT_EQ(r.w.beacon.BcnMsgText.text(), "KEEP");

    ui.calls.clear();
    commands.openConfiguration();
    EXPECT_EQ(ui.calls, (Calls{"open:Open Configuration File"}));
    r.files.files["/home/user/b.vq3"] = rig::example("beacon.vq3");
    ui.paths.push_back("/home/user/b.vq3");
    commands.openConfiguration();
    EXPECT_EQ(ui.dialogs.back(), (FileDialogRequest{"Open Configuration File",
                                                    "VQ-3 Configuration File | *.vq3 | All Files | *", 1,
                                                    "/home/user", ""}));
    EXPECT_EQ(r.session.state().currentMode, Mode::Beacon);
    EXPECT_EQ(r.session.configurationLines(), rig::exampleLines("beacon.vq3"));
    EXPECT_EQ(ui.boxes.size(), 1u);
}

TEST(FileCommandsTest, SaveAsAddsTheExtensionUnderTheConfigurationFilterAndAsksBeforeOverwriting)
{
    SessionRig r;
    fakes::ScriptedUi ui;
    FileCommands commands{r.session, ui, r.files, "/home/user"};
    r.session.selectMode(Mode::Beacon);
    const struct
    {
        std::string typed;
        int filterIndex;
        std::string saved;
    } cases[] = {
        {"/home/user/mytracker", 1, "/home/user/mytracker.vq3"}, {"/home/user/mytracker", 2, "/home/user/mytracker"},
        {"/home/user/my.tracker", 1, "/home/user/my.tracker"},   {"/home/v1.2/mytracker", 1, "/home/v1.2/mytracker.vq3"},
        {"/home/user/.hidden", 1, "/home/user/.hidden"},         {"relative", 1, "relative.vq3"},
    };
    for (const auto& c : cases) {
        r.files.files.clear();
        ui.calls.clear();
        ui.paths = {c.typed};
        ui.filterIndexes = {c.filterIndex};
        commands.saveConfigurationAs();
        EXPECT_EQ(ui.calls, (Calls{"save:Save Configuration File As"})) << c.typed;
        ASSERT_EQ(r.files.files.size(), 1U) << c.typed;
        EXPECT_EQ(r.files.files.begin()->first, c.saved);
        EXPECT_EQ(storage::splitLines(r.files.files.begin()->second).size(), 23u);
        EXPECT_EQ(r.session.state().currentFileName, c.saved);
    }
    EXPECT_EQ(ui.dialogs.back().initialName, "beacon.vq3");

    // No shows the dialog again; the name asked about carries the added extension; cancelling then writes nothing.
    for (const bool secondYes : {true, false}) {
        r.files.files = {{"/home/user/old.vq3", "OLD"}};
        ui.calls.clear();
        ui.boxes.clear();
        ui.paths = {"/home/user/old"};
        if (secondYes)
            ui.paths.push_back("/home/user/old.vq3");
        ui.buttons = {Button::No, Button::Yes};
        commands.saveConfigurationAs();
        EXPECT_EQ(ui.boxes[0], overwriteBox("/home/user/old.vq3"));
        EXPECT_EQ(ui.calls.size(), secondYes ? 6u : 4u);
        EXPECT_EQ(r.files.files["/home/user/old.vq3"] == "OLD", !secondYes);
        EXPECT_EQ(r.files.files.count("/home/user/old"), 0U);
    }
}

TEST(StartUpDefaultsTest, ClearingPutsTheDefaultsBackInEveryProfileAndEveryPathLabel)
{
    SessionRig r;
    auto& w = r.w;
    r.session.state().txDelayIndex = 6;
    r.session.state().txTailIndex = 2;
    r.session.startUp();
    forms::selectTrackingProfileTab(w, 4);
    w.tracking.station.SSID.setText("9");
    w.tracking.store.entry(8).SSID = "3";
    w.tracking.store.entry(8).Path[0] = "3";
    r.session.clearTrackingWindow();
    EXPECT_EQ(w.tracking.TrkProfile.selectedIndex(), 0);
    for (int k = 1; k <= forms::kProfileCount; ++k) {
        const auto& entry = w.tracking.store.entry(k);
        EXPECT_EQ(entry.SSID + entry.Symbol + entry.TmrMin + entry.TmrSec + entry.TxDelay + entry.TxTail, ">0062")
            << k;
        for (const auto& path : entry.Path)
            EXPECT_TRUE(path.empty() || path == "0") << k << " holds path " << path;
    }
    w.beacon.station.SpecPath[0].setText("WIDE2-2");
    forms::relabelSpecialPath(w.beacon.station, 1);
    r.session.clearBeaconWindow();
    for (const auto& path : w.beacon.station.Path)
        EXPECT_EQ(path.entries()[5], "Special Path 1");

    // A delay position the 300 baud list lacks selects its last entry.
    r.session.state().txDelayIndex = 15;
    r.session.state().outputBaudIndex = 1;
    r.session.startUp();
    EXPECT_EQ(w.telemetry.station.TxDelay.listIndex(), 14);
}

TEST(ModeSelectionTest, EnablesTheMainWindowControlsTheModeUses)
{
    const struct
    {
        Mode mode;
        bool dataHeaders, micEncode, modeLock, autoMode, inputBaud, printing;
    } rows[] = {
        {Mode::Telemetry, false, false, false, false, true, false}, {Mode::Beacon, false, false, false, false, false, false},
        {Mode::Nmea, true, false, true, false, true, true},         {Mode::Tracking, false, true, true, true, true, true},
        {Mode::Alarm, false, false, false, false, false, false},
    };
    for (const bool printer : {true, false}) {
        SessionRig r;
        r.session.state().printerPresent = printer;
        auto& main = r.w.main;
        for (const auto& row : rows) {
            SCOPED_TRACE(forms::codeOfMode(row.mode));
            r.session.selectMode(row.mode);
            EXPECT_EQ(main.DataHeaderFrame.enabled(), row.dataHeaders);
            for (std::size_t i = 0; i < 3; ++i) {
                EXPECT_EQ(main.GpsString[i].enabled(), row.dataHeaders);
                EXPECT_EQ(main.DataHeader[i].visible(), row.dataHeaders);
            }
            EXPECT_EQ(main.MicEncode.enabled(), row.micEncode);
            EXPECT_EQ(main.ModeLock.enabled(), row.modeLock);
            EXPECT_EQ(main.AutoMode.enabled(), row.autoMode);
            EXPECT_EQ(main.menus.inputbaudrate.enabled(), row.inputBaud);
            EXPECT_EQ(main.menus.printprofiles.enabled(), row.printing && printer);
            EXPECT_EQ(main.menus.printerfont.enabled(), row.printing && printer);
            for (const Mode mode : forms::kModes) {
                EXPECT_EQ(main.menus.modeItems()[forms::modeIndex(mode)]->checked(), mode == row.mode);
                EXPECT_EQ(r.w.station(mode).window.visible(), mode == row.mode);
            }
        }
    }
}

} // namespace
} // namespace qm::shell
