#include "fakes/MemoryFileSystem.h"
#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "shell/Session.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>

namespace qm::shell
{
namespace
{

using forms::Mode;
using Kind = Session::OpenOutcome::Kind;

class ConfigurationCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override { program.startUp(); }

    /// Gives every window values other than its defaults.
    void editAllWindows()
    {
        forms::setMyCall(w, "N0CALL");
        for (const forms::Mode mode : forms::kModes) {
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
        w.tracking.TrkSymbol.setText("/");
        w.tracking.TrkSendComments.setValue(1);
        forms::selectTrackingProfileTab(w, 8);
        w.tracking.TrkSymbol.setText("k");
        w.alarm.AlarmMsgText[0].setText(" Door open ");
        w.alarm.AlmCondition[2].setListIndex(0);
        w.alarm.AlmArmDelay.setText("63.5");
        w.alarm.AlmTxCntrLimit.setText("3");
    }

    fakes::MemoryFileSystem files;
    Session program{files};
    forms::Windows& w = program.windows();
};

TEST_F(ConfigurationCommandsTest, SaveThenOpenGivesBackEveryLineOfEveryMode)
{
    editAllWindows();
    for (Mode mode : {Mode::Telemetry, Mode::Beacon, Mode::Nmea, Mode::Tracking, Mode::Alarm}) {
        program.selectMode(mode);
        const auto saved = program.configurationLines();
        ASSERT_FALSE(program.saveConfigurationFile("/cfg/mode.vq3")) << int(mode);

        fakes::MemoryFileSystem otherFiles;
        otherFiles.files = files.files;
        Session other(otherFiles);
        other.startUp();
        const auto opened = other.openConfigurationFile("/cfg/mode.vq3");
        ASSERT_EQ(opened.kind, Kind::Loaded) << int(mode);
        EXPECT_EQ(other.state().currentMode, mode);
        EXPECT_TRUE(other.windows().station(mode).window.visible());
        EXPECT_EQ(other.configurationLines(), saved) << int(mode);
    }
}

TEST_F(ConfigurationCommandsTest, OpeningAMissingFileShowsFileNotFound)
{
    const auto opened = program.openConfigurationFile("/nowhere.vq3");
    ASSERT_EQ(opened.kind, Kind::Failed);
    EXPECT_EQ(opened.box->title, "Error# 53: File Not Found");
    EXPECT_EQ(program.state().currentFileName, "/nowhere.vq3");
}

TEST_F(ConfigurationCommandsTest, AFileOfNoKnownModeChangesNothing)
{
    editAllWindows();
    program.selectMode(Mode::Beacon);
    const auto before = program.configurationLines();
    files.files["/seven.vq3"] = "7\r\n0\r\n";
    const auto opened = program.openConfigurationFile("/seven.vq3");
    EXPECT_EQ(opened.kind, Kind::UnknownMode);
    EXPECT_FALSE(opened.box);
    EXPECT_EQ(program.state().currentMode, forms::Mode::Beacon);
    EXPECT_EQ(program.configurationLines(), before);
}

TEST_F(ConfigurationCommandsTest, OpeningStoresTheShownProfilesFirst)
{
    program.selectMode(Mode::Tracking);
    forms::selectTrackingProfileTab(w, 2);
    w.tracking.station.SSID.setText("9");
    files.files["/beacon.vq3"] =
        storage::joinLines({"1", "0", "0", "0", "0", "1", "0",  "TEST", "",  "APRS", "",     "",
                            "",  "",  "3", "0", "0", "0", "10", "0",    "6", "2",    "HELLO"});
    ASSERT_EQ(program.openConfigurationFile("/beacon.vq3").kind, Kind::Loaded);
    EXPECT_EQ(w.tracking.store.entry(3).SSID, "9");
    EXPECT_EQ(program.state().currentMode, forms::Mode::Beacon);
}

TEST_F(ConfigurationCommandsTest, ARefusedCompileGivesNoStream)
{
    program.selectMode(Mode::Beacon);
    w.beacon.station.SSID.setText("16");
    const auto result = program.compileCurrentMode();
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.downloadImage.empty());
    w.beacon.station.SSID.setText("15");
    const auto accepted = program.compileCurrentMode();
    EXPECT_TRUE(accepted.ok());
    EXPECT_EQ(accepted.downloadImage.size(), 129u);
}

} // namespace
} // namespace qm::shell
