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
    // Mode, option and auto mode bytes, the auto mode box before, the input baud items and 300 out after, and the
    // LED, Mic, Lock and Auto boxes after.
    const std::tuple<std::uint8_t, std::uint8_t, std::uint8_t, int, std::vector<bool>, bool, std::vector<int>> cases[] =
        {
            {0x01, 0x04, 0x00, 0, {false, true, false, false}, false, {0, 0, 1, 0}},
            {0x10, 0x07, 0xFF, 0, {false, false, true, false}, false, {1, 1, 1, 1}},
            {0x19, 0x00, 0x00, 1, {false, true, false, false}, false, {0, 0, 0, 0}}, // Beacon: input baud untouched
            {0x1C, 0x01, 0x01, 1, {false, true, false, false}, false, {1, 0, 0, 1}}, // so is Alarm's
            {0x23, 0x02, 0x7F, 0, {true, false, false, false}, true, {0, 1, 0, 0}},
        };
    for (const auto& [modeByte, optionByte, autoModeByte, autoBefore, inChecks, out300, options] : cases) {
        SCOPED_TRACE(int(modeByte));
        SessionRig r;
        r.w.main.menus.in1200.setChecked(false);
        r.w.main.menus.in2400.setChecked(true);
        r.w.main.AutoMode.setValue(autoBefore);
        r.session.decodeUpload(image(modeByte, optionByte, autoModeByte));
        const Mode mode = forms::modeOfCode(modeByte & 7).value();
        EXPECT_EQ(r.session.state().currentMode, mode);
        EXPECT_TRUE(r.w.main.menus.modeItems()[forms::modeIndex(mode)]->checked());
        EXPECT_TRUE(r.w.station(mode).window.visible());
        for (const Mode other : forms::kModes)
            EXPECT_EQ(r.w.station(other).MyCall.text(), "TEST");
        std::vector<bool> in;
        for (const auto* item : r.w.main.menus.inputBaudItems())
            in.push_back(item->checked());
        EXPECT_EQ(in, inChecks);
        EXPECT_EQ(r.w.main.menus.out300.checked(), out300);
        EXPECT_EQ((std::vector<int>{r.w.main.LEDDisable.value(), r.w.main.MicEncode.value(), r.w.main.ModeLock.value(),
                                    r.w.main.AutoMode.value()}),
                  options);
    }
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

TEST(ConfigurationCommandsTest, AValueTheImageCannotHoldIsShownInItsProfile)
{
    for (const Mode mode : {Mode::Nmea, Mode::Tracking}) {
        const bool nmea = mode == Mode::Nmea;
        rig::Loaded loaded(rig::exampleLines(nmea ? "nmea.vq3" : "tracking.vq3"));
        auto& w = loaded.session.windows();
        loaded.session.saveShownProfiles();
        (nmea ? w.nmea.store : w.tracking.store).entry(7).TxDelay = "16";
        const auto compiled = loaded.session.checkAndCompile();
        ASSERT_TRUE(compiled.refusal);
        EXPECT_EQ(compiled.refusal->profile, 7);
        EXPECT_EQ((nmea ? w.nmea.NMEAProfile : w.tracking.TrkProfile).selectedIndex(), 6);
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
        station.TmrSec.setText("34");
        station.TxTail.setListIndex(3);
        station.SSID.setText("7");
    }
    w.beacon.BcnMsgText.setText("HELLO\r\nWORLD");
    forms::selectTrackingProfileTab(w, 8);
    w.tracking.TrkSymbol.setText("k");
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

    // Opening stores the shown profile first; a file of no known mode is told by its first line and changes nothing.
    r.session.selectMode(Mode::Tracking);
    forms::selectTrackingProfileTab(w, 2);
    w.tracking.station.SSID.setText("9");
    const auto before = r.session.configurationLines();
    r.files.files["/seven.vq3"] = "7\r\n0\r\n";
    const auto unknown = r.session.openConfigurationFile("/seven.vq3");
    EXPECT_EQ(unknown.kind, Kind::Failed);
    ASSERT_TRUE(unknown.box);
    EXPECT_TRUE(unknown.box->text.ends_with("\r\n\r\nLine 1: \"7\" is not a mode from 0 to 4.")) << unknown.box->text;
    EXPECT_EQ(r.session.configurationLines(), before);
    EXPECT_EQ(r.session.state().currentMode, Mode::Tracking);
    EXPECT_EQ(w.tracking.store.entry(3).SSID, "9");
}

TEST(SessionFilesTest, AFileThatDoesNotOpenNamesItsLineAndChangesNothingAndAByteOrderMarkIsSkipped)
{
    const std::string beacon = rig::example("beacon.vq3");
    const auto badPath = rig::exampleLines("beacon.vq3", {{14, "9"}});
    // The bytes, the mode they open in (none: refused), and how the refusal's text ends.
    const std::tuple<std::string, std::optional<Mode>, std::string> rows[] = {
        {beacon, Mode::Beacon, ""},
        {"\xEF\xBB\xBF" + beacon, Mode::Beacon, ""},
        {"\xEF\xBB\xBF" + rig::example("nmea.vq3"), Mode::Nmea, ""},
        {storage::joinLines(badPath), std::nullopt, "\r\n\r\nLine 15: \"9\" is not a position of BcnPath1."},
        {"7\r\n" + beacon.substr(3), std::nullopt, "\r\n\r\nLine 1: \"7\" is not a mode from 0 to 4."},
        {"\xEF\xBB\xBF", std::nullopt, "\r\n\r\nThe file is empty."},
    };
    for (const auto& [bytes, mode, told] : rows) {
        SCOPED_TRACE(told);
        SessionRig r;
        r.session.selectMode(Mode::Alarm);
        r.w.alarm.AlarmMsgText[0].setText("OPEN");
        const WindowLines before = windowLines(r.w);
        r.files.files["/c.vq3"] = bytes;
        const auto opened = r.session.openConfigurationFile("/c.vq3");
        EXPECT_EQ(opened.kind == Kind::Loaded, mode.has_value());
        EXPECT_EQ(r.session.state().currentMode, mode.value_or(Mode::Alarm));
        if (mode) {
            EXPECT_FALSE(opened.box);
            const std::string plain = bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
            EXPECT_EQ(r.session.configurationLines(),
                      rig::Loaded(storage::splitLines(plain)).session.configurationLines());
            continue;
        }
        ASSERT_TRUE(opened.box);
        EXPECT_TRUE(opened.box->text.starts_with("An error occured while opening the configuration file.\r\n\r\n"));
        EXPECT_TRUE(opened.box->text.ends_with(told)) << opened.box->text;
        EXPECT_EQ(windowLines(r.w), before);
    }
}

} // namespace
} // namespace qm::shell
