// Tests of the transmit delay and tail lists and of the special-path entries of the path selectors.
#include "forms/PickLists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm::forms
{
namespace
{

constexpr Mode kModes[] = {Mode::Telemetry, Mode::Beacon, Mode::Nmea, Mode::Tracking, Mode::Alarm};

std::vector<std::string> msEntries(const std::vector<int>& values, std::size_t marked)
{
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < values.size(); ++i)
        entries.push_back(std::to_string(values[i]) + (i == marked ? " ms *" : " ms"));
    return entries;
}

void fillPathLists(Windows& windows)
{
    for (Mode mode : kModes)
        for (PickList& path : windows.station(mode).Path)
            for (const auto& entry : kPathEntries)
                path.addItem(entry);
}

struct TxListCase
{
    bool baud300;
    bool delay;
    std::vector<std::string> entries;
};

TEST(TxListEntriesTest, ListEveryTransmitTime)
{
    const TxListCase cases[] = {
        {false, true, msEntries({133, 160, 187, 213, 240, 267, 293, 320, 347, 373, 400, 427, 453, 480, 507, 533}, 6)},
        {false, false, msEntries({27, 40, 53, 67, 80, 93, 107, 120, 133, 147, 160, 173, 187, 200, 213, 227}, 2)},
        {true, true, msEntries({53, 107, 160, 213, 267, 320, 373, 427, 480, 533, 587, 640, 693, 747, 800}, 5)},
        {true, false, msEntries({27, 53, 80, 107, 133, 160, 187, 213, 240, 267, 293, 320, 347, 373, 400}, 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.baud300 ? "300" : "1200") + " baud " + (c.delay ? "delay" : "tail"));
        EXPECT_EQ(txListEntries(c.baud300, c.delay), c.entries);
    }
    EXPECT_EQ(txListSize(false), 16);
    EXPECT_EQ(txListSize(true), 15);
}

struct RebuildCase
{
    bool baud300;
    int delayIndex;
    int tailIndex;
    int selectedDelay;
    int selectedTail;
    std::string delayText;
    std::string tailText;
};

TEST(RebuildTxListsTest, FillsAllFiveWindowsAndSelectsTheRememberedPositions)
{
    const RebuildCase cases[] = {
        {false, 6, 2, 6, 2, "293 ms *", "53 ms *"},  {true, 6, 2, 6, 2, "373 ms", "80 ms *"},
        {false, 15, 15, 15, 15, "533 ms", "227 ms"}, {true, 15, 15, 14, 14, "800 ms", "400 ms"},
        {true, 0, 14, 0, 14, "53 ms", "400 ms"},     {false, 0, 0, 0, 0, "133 ms", "27 ms"},
        {true, -1, 3, -1, 3, "", "107 ms"},          {false, 4, -1, 4, -1, "240 ms", ""},
    };
    Windows windows;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.baud300 ? "300" : "1200") + " baud, positions " + std::to_string(c.delayIndex) +
                     "/" + std::to_string(c.tailIndex));
        rebuildTxLists(windows, c.baud300, c.delayIndex, c.tailIndex);
        for (Mode mode : kModes) {
            const StationControls& station = windows.station(mode);
            SCOPED_TRACE(station.prefix());
            EXPECT_EQ(station.TxDelay.entries(), txListEntries(c.baud300, true));
            EXPECT_EQ(station.TxTail.entries(), txListEntries(c.baud300, false));
            EXPECT_EQ(station.TxDelay.listIndex(), c.selectedDelay);
            EXPECT_EQ(station.TxTail.listIndex(), c.selectedTail);
            EXPECT_EQ(station.TxDelay.text(), c.delayText);
            EXPECT_EQ(station.TxTail.text(), c.tailText);
        }
    }
}

TEST(RelabelSpecialPathTest, PutsTheTextAtTheEntryOfAllFourSelectorsOfThatWindowOnly)
{
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE("special path " + std::to_string(n));
        Windows windows;
        fillPathLists(windows);
        StationControls& nmea = windows.station(Mode::Nmea);
        nmea.SpecPath[static_cast<std::size_t>(n - 1)].setText("WIDE3");
        relabelSpecialPath(nmea, n);
        for (const PickList& path : nmea.Path) {
            SCOPED_TRACE(path.name());
            std::vector<std::string> expected = kPathEntries;
            expected[static_cast<std::size_t>(n + 4)] = "WIDE3";
            EXPECT_EQ(path.entries(), expected);
        }
        for (Mode mode : kModes) {
            if (mode == Mode::Nmea)
                continue;
            for (const PickList& path : windows.station(mode).Path)
                EXPECT_EQ(path.entries(), kPathEntries) << path.name();
        }
    }
}

TEST(RelabelSpecialPathTest, ClearingTheTextRestoresTheFixedLabel)
{
    Windows windows;
    fillPathLists(windows);
    StationControls& beacon = windows.station(Mode::Beacon);
    beacon.SpecPath[1].setText("WIDE3");
    relabelSpecialPath(beacon, 2);
    beacon.SpecPath[1].setText("");
    relabelSpecialPath(beacon, 2);
    for (const PickList& path : beacon.Path)
        EXPECT_EQ(path.entries(), kPathEntries) << path.name();
}

TEST(RelabelSpecialPathTest, KeepsTheSelectionOnTheRelabelledEntry)
{
    Windows windows;
    fillPathLists(windows);
    StationControls& tracking = windows.station(Mode::Tracking);
    tracking.SpecPath[1].setText("WIDE3");
    relabelSpecialPath(tracking, 2);
    ASSERT_TRUE(tracking.Path[2].setListIndex(6));
    ASSERT_TRUE(tracking.Path[0].setListIndex(3));
    tracking.SpecPath[1].setText("WIDE2-2");
    relabelSpecialPath(tracking, 2);
    EXPECT_EQ(tracking.Path[2].listIndex(), 6);
    EXPECT_EQ(tracking.Path[2].text(), "WIDE2-2");
    EXPECT_EQ(tracking.Path[0].listIndex(), 3);
    EXPECT_EQ(tracking.Path[0].text(), "WIDE");
    EXPECT_EQ(tracking.Path[1].listIndex(), -1);
}

} // namespace
} // namespace qm::forms
