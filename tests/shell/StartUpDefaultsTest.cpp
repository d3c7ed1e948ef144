#include "fakes/MemoryFileSystem.h"
#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "shell/MDIForm1.h"

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
    MDIForm1 program{files};
    forms::Windows& w = program.windows();
};

TEST_F(StartUpDefaultsTest, FillsEveryFixedListInOrder)
{
    program.startUp();
    for (const auto& header : w.MDIForm1.GpsString)
        EXPECT_EQ(header.entries(),
                  (std::vector<std::string>{"$GPRMC", "$GPGGA", "$GPGSA", "$GPALM", "$GPGSV", "$GPVTG"}));
    for (Mode mode : {Mode::Telemetry, Mode::Beacon, Mode::Nmea, Mode::Alarm})
        EXPECT_EQ(w.station(mode).ToCall.entries(),
                  (std::vector<std::string>{"APRS", "ALARM", "CLUB", "FOX", "GPS", "QST", "THUNT"}));
    EXPECT_EQ(w.Form4.station.ToCall.entries(),
              (std::vector<std::string>{"APRS", "ALARM", "CLUB", "FOX", "GPS", "NMEA", "QST", "THUNT"}));
    for (int mode = 0; mode < forms::kModeCount; ++mode)
        for (const auto& path : w.station(static_cast<Mode>(mode)).Path)
            EXPECT_EQ(path.entries(), (std::vector<std::string>{"", "GATE", "RELAY", "WIDE", "ECHO", "Special Path 1",
                                                                "Special Path 2", "Special Path 3", "Special Path 4"}));
    for (const auto& condition : w.Form5.AlmCondition)
        EXPECT_EQ(condition.entries(), (std::vector<std::string>{"Low", "High"}));
}

TEST_F(StartUpDefaultsTest, ClearAllSetsTheDocumentedDefaults)
{
    program.module().MyCall = "N0CALL";
    program.startUp();
    EXPECT_TRUE(w.MDIForm1.menus.in1200.checked());
    EXPECT_TRUE(w.MDIForm1.menus.out1200.checked());
    EXPECT_FALSE(w.MDIForm1.menus.out300.checked());
    EXPECT_EQ(w.MDIForm1.LEDDisable.value(), 0);
    EXPECT_EQ(w.MDIForm1.MicEncode.value(), 1);
    EXPECT_EQ(w.MDIForm1.ModeLock.value(), 0);
    EXPECT_EQ(w.MDIForm1.AutoMode.value(), 0);
    for (int mode = 0; mode < forms::kModeCount; ++mode) {
        const auto& station = w.station(static_cast<Mode>(mode));
        EXPECT_EQ(station.MyCall.text(), "N0CALL");
        EXPECT_EQ(station.SSID.text(), "");
        EXPECT_EQ(station.TmrMin.text(), "0");
        EXPECT_EQ(station.TmrSec.text(), "0");
        for (const auto& path : station.Path)
            EXPECT_EQ(path.listIndex(), 0);
        EXPECT_EQ(station.TxDelay.count(), 16);
        EXPECT_EQ(station.TxDelay.listIndex(), 0);
    }
    EXPECT_EQ(w.Form1.station.ToCall.text(), "");
    EXPECT_EQ(w.Form4.station.ToCall.text(), "APRS");
    EXPECT_EQ(w.Form1.TelTxOn.selected(), forms::kCarriageReturn);
    EXPECT_EQ(w.Form3.NMEATxOn.selected(), forms::kCarriageReturn);
    EXPECT_EQ(w.Form4.TrkSymbol.text(), ">");
    EXPECT_EQ(w.Form4.TrkPrefix.text(), "!");
    EXPECT_EQ(w.Form4.TrkSeparator.text(), "/");
    for (const auto& condition : w.Form5.AlmCondition)
        EXPECT_EQ(condition.text(), "High");
    EXPECT_EQ(w.Form3.NMEAProfileFrame.caption(), "Profile # Settings");
}

TEST_F(StartUpDefaultsTest, ClearingTrackingResetsEveryProfileWhicheverTabIsShown)
{
    program.module().TxDelayIndex = 6;
    program.module().TxTailIndex = 2;
    program.startUp();
    forms::selectTrkProfileTab(w, 4);
    w.Form4.station.SSID.setText("9");
    w.Form4.store.entry(8).SSID = "3";
    w.Form4.store.entry(8).Path[0] = "3";
    program.ClearTrkForm();
    EXPECT_EQ(w.Form4.TrkProfile.selectedIndex(), 0);
    for (int k = 1; k <= forms::kProfileCount; ++k) {
        const auto& entry = w.Form4.store.entry(k);
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
    w.Form2.station.SpecPath[0].setText("WIDE2-2");
    forms::relabelSpecialPath(w.Form2.station, 1);
    ASSERT_EQ(w.Form2.station.Path[3].entries()[5], "WIDE2-2");
    program.ClearBcnForm();
    for (const auto& path : w.Form2.station.Path)
        EXPECT_EQ(path.entries()[5], "Special Path 1");
}

TEST_F(StartUpDefaultsTest, ADelayPositionThe300BaudListLacksSelectsItsLastEntry)
{
    program.module().TxDelayIndex = 15;
    program.module().OutputBaudIndex = 1;
    program.startUp();
    EXPECT_EQ(w.Form1.station.TxDelay.listIndex(), 14);
    EXPECT_TRUE(w.MDIForm1.menus.out300.checked());
}

} // namespace
} // namespace qm::shell
