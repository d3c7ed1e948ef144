#include "fakes/MemoryFileSystem.h"
#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "shell/Session.h"

#include <gtest/gtest.h>

namespace qm::shell
{
namespace
{

using forms::Mode;

class StartUpDefaultsTest : public ::testing::Test
{
protected:
    fakes::MemoryFileSystem files;
    Session program{files};
    forms::Windows& w = program.windows();
};

TEST_F(StartUpDefaultsTest, FillsEveryFixedListInOrder)
{
    program.startUp();
    for (const auto& header : w.main.GpsString)
        EXPECT_EQ(header.entries(),
                  (std::vector<std::string>{"$GPRMC", "$GPGGA", "$GPGSA", "$GPALM", "$GPGSV", "$GPVTG"}));
    for (Mode mode : {Mode::Telemetry, Mode::Beacon, Mode::Nmea, Mode::Alarm})
        EXPECT_EQ(w.station(mode).ToCall.entries(),
                  (std::vector<std::string>{"APRS", "ALARM", "CLUB", "FOX", "GPS", "QST", "THUNT"}));
    EXPECT_EQ(w.tracking.station.ToCall.entries(),
              (std::vector<std::string>{"APRS", "ALARM", "CLUB", "FOX", "GPS", "NMEA", "QST", "THUNT"}));
    for (const forms::Mode mode : forms::kModes)
        for (const auto& path : w.station(mode).Path)
            EXPECT_EQ(path.entries(), (std::vector<std::string>{"", "GATE", "RELAY", "WIDE", "ECHO", "Special Path 1",
                                                                "Special Path 2", "Special Path 3", "Special Path 4"}));
    for (const auto& condition : w.alarm.AlmCondition)
        EXPECT_EQ(condition.entries(), (std::vector<std::string>{"Low", "High"}));
}

TEST_F(StartUpDefaultsTest, ClearAllSetsTheStartUpDefaults)
{
    program.state().myCall = "N0CALL";
    program.startUp();
    EXPECT_TRUE(w.main.menus.in1200.checked());
    EXPECT_TRUE(w.main.menus.out1200.checked());
    EXPECT_FALSE(w.main.menus.out300.checked());
    EXPECT_EQ(w.main.LEDDisable.value(), 0);
    EXPECT_EQ(w.main.MicEncode.value(), 1);
    EXPECT_EQ(w.main.ModeLock.value(), 0);
    EXPECT_EQ(w.main.AutoMode.value(), 0);
    for (const forms::Mode mode : forms::kModes) {
        const auto& station = w.station(mode);
        EXPECT_EQ(station.MyCall.text(), "N0CALL");
        EXPECT_EQ(station.SSID.text(), "");
        EXPECT_EQ(station.TmrMin.text(), "0");
        EXPECT_EQ(station.TmrSec.text(), "0");
        for (const auto& path : station.Path)
            EXPECT_EQ(path.listIndex(), 0);
        EXPECT_EQ(station.TxDelay.count(), 16);
        EXPECT_EQ(station.TxDelay.listIndex(), 0);
    }
    EXPECT_EQ(w.telemetry.station.ToCall.text(), "");
    EXPECT_EQ(w.tracking.station.ToCall.text(), "APRS");
    EXPECT_EQ(w.telemetry.TelTxOn.selected(), forms::kCarriageReturn);
    EXPECT_EQ(w.nmea.NMEATxOn.selected(), forms::kCarriageReturn);
    EXPECT_EQ(w.tracking.TrkSymbol.text(), ">");
    EXPECT_EQ(w.tracking.TrkPrefix.text(), "!");
    EXPECT_EQ(w.tracking.TrkSeparator.text(), "/");
    for (const auto& condition : w.alarm.AlmCondition)
        EXPECT_EQ(condition.text(), "High");
    EXPECT_EQ(w.nmea.NMEAProfileFrame.caption(), "Profile # Settings");
}

TEST_F(StartUpDefaultsTest, ClearingTrackingResetsEveryProfileWhicheverTabIsShown)
{
    program.state().txDelayIndex = 6;
    program.state().txTailIndex = 2;
    program.startUp();
    forms::selectTrackingProfileTab(w, 4);
    w.tracking.station.SSID.setText("9");
    w.tracking.store.entry(8).SSID = "3";
    w.tracking.store.entry(8).Path[0] = "3";
    program.clearTrackingWindow();
    EXPECT_EQ(w.tracking.TrkProfile.selectedIndex(), 0);
    for (int k = 1; k <= forms::kProfileCount; ++k) {
        const auto& entry = w.tracking.store.entry(k);
        EXPECT_EQ(entry.SSID, "") << k;
        for (const auto& path : entry.Path)
            EXPECT_TRUE(path.empty() || path == "0") << k << " holds path " << path;
        EXPECT_EQ(entry.Symbol, ">") << k;
        EXPECT_EQ(entry.TmrMin, "0") << k;
        EXPECT_EQ(entry.TmrSec, "0") << k;
        EXPECT_EQ(entry.TxDelay, "6") << k;
        EXPECT_EQ(entry.TxTail, "2") << k;
    }
}

TEST_F(StartUpDefaultsTest, ClearingPutsTheSpecialPathLabelsBack)
{
    program.startUp();
    w.beacon.station.SpecPath[0].setText("WIDE2-2");
    forms::relabelSpecialPath(w.beacon.station, 1);
    ASSERT_EQ(w.beacon.station.Path[3].entries()[5], "WIDE2-2");
    program.clearBeaconWindow();
    for (const auto& path : w.beacon.station.Path)
        EXPECT_EQ(path.entries()[5], "Special Path 1");
}

TEST_F(StartUpDefaultsTest, ADelayPositionThe300BaudListLacksSelectsItsLastEntry)
{
    program.state().txDelayIndex = 15;
    program.state().outputBaudIndex = 1;
    program.startUp();
    EXPECT_EQ(w.telemetry.station.TxDelay.listIndex(), 14);
    EXPECT_TRUE(w.main.menus.out300.checked());
}

} // namespace
} // namespace qm::shell
