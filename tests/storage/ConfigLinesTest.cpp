// Tests of the configuration-file save layout, the line joining and splitting, and the save itself.
#include "storage/ConfigFile.h"

#include "ConfigTestWindows.h"
#include "fakes/MemoryFileSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm::storage
{
namespace
{

using forms::Mode;
using Lines = std::vector<std::string>;

TEST(ConfigLinesTest, WritesTheLineCountOfEachMode)
{
    const struct
    {
        Mode mode;
        std::size_t lines;
    } cases[] = {
        {Mode::Telemetry, 26}, {Mode::Beacon, 23}, {Mode::Nmea, 111}, {Mode::Tracking, 117}, {Mode::Alarm, 32}};
    for (const auto& c : cases) {
        EXPECT_EQ(configurationLines(test::filledWindows(), c.mode).size(), c.lines) << forms::codeOfMode(c.mode);
        EXPECT_EQ(configurationLines(test::nonDefaultWindows(), c.mode).size(), c.lines) << forms::codeOfMode(c.mode);
        EXPECT_EQ(configurationLineCount(c.mode), static_cast<int>(c.lines));
    }
}

TEST(ConfigLinesTest, WritesKnownBeaconWindowLineByLine)
{
    forms::Windows w = test::filledWindows();
    auto& menus = w.main.menus;
    menus.in1200.setChecked(false);
    menus.in2400.setChecked(true);
    menus.out1200.setChecked(false);
    menus.out300.setChecked(true);
    forms::rebuildTxLists(w, true, 5, 2);
    w.main.LEDDisable.setValue(1);
    w.main.MicEncode.setValue(0);
    w.main.ModeLock.setValue(1);
    auto& station = w.beacon.station;
    forms::setMyCall(w, "N0CALL");
    station.SSID.setText("9");
    station.ToCall.setText(" APRS ");
    test::setSpecialPath(station, 1, "WIDE2-2");
    test::setSpecialPath(station, 3, " RELAY");
    test::setSpecialPath(station, 4, " ");
    station.Path[0].setListIndex(5);
    station.Path[1].setListIndex(3);
    station.Path[2].setListIndex(0);
    station.Path[3].setListIndex(-1);
    station.TmrMin.setText("10");
    station.TmrSec.setText(" 5");
    station.TxTail.setListIndex(3);
    w.beacon.BcnMsgText.setText("  Hello  world ");

    const Lines expected{"1",     "1", "1", "1", "0", "1",  "0",  "N0CALL", "9", "APRS", "WIDE2-2",     "",
                         "RELAY", "",  "5", "3", "0", "-1", "10", "5",      "5", "3",    "Hello  world"};
    EXPECT_EQ(configurationLines(w, Mode::Beacon), expected);
}

TEST(ConfigLinesTest, WritesKnownTrackingWindowLineByLine)
{
    forms::Windows w = test::filledWindows();
    forms::setMyCall(w, "N0CALL");
    auto& form = w.tracking;
    form.station.ToCall.setText("APRS");
    test::setSpecialPath(form.station, 2, "WIDE3-3");
    for (int profile = 1; profile <= forms::kProfileCount; ++profile) {
        auto& entry = form.store.entry(profile);
        entry.SSID = profile == 1 ? "" : std::to_string(profile);
        entry.Path = {"1", "0", "-1", "8"};
        entry.Symbol = profile == 1 ? "\x80" : profile == 2 ? "\xAF" : ">";
        entry.TmrMin = "0";
        entry.TmrSec = "30";
        entry.TxDelay = "6";
        entry.TxTail = "2";
    }
    form.TrkPrefix.setText("!");
    form.TrkSeparator.setText("/");
    form.TrkDeltaEnable.setValue(1);
    form.TrkComments.setText(" Hi there ");

    Lines expected{"3", "0", "0", "0", "1", "0", "0", "N0CALL", "APRS", "", "WIDE3-3", "", ""};
    for (int profile = 1; profile <= forms::kProfileCount; ++profile) {
        const std::string symbol = profile == 1 ? "\x80" : profile == 2 ? "\xAF" : ">";
        const Lines entry{
            profile == 1 ? "" : std::to_string(profile), "1", "0", "-1", "8", symbol, "0", "30", "6", "2"};
        expected.insert(expected.end(), entry.begin(), entry.end());
    }
    expected.insert(expected.end(), {"!", "/", "1", "Hi there"});
    EXPECT_EQ(configurationLines(w, Mode::Tracking), expected);
}

TEST(ConfigLinesTest, HeaderKeepsItsPlacesWhateverTheMenusShow)
{
    const struct
    {
        int inputChecked;
        bool out300;
        bool out1200;
        const char* line2;
        const char* line3;
    } cases[] = {
        {0, false, true, "0", "0"}, {1, false, true, "1", "0"},   {2, true, false, "2", "1"},
        {3, true, false, "3", "1"}, {-1, false, false, "0", "0"}, {-1, true, true, "0", "0"},
    };
    for (const auto& c : cases) {
        forms::Windows w = test::filledWindows();
        auto items = w.main.menus.inputBaudItems();
        for (std::size_t i = 0; i < items.size(); ++i)
            items[i]->setChecked(static_cast<int>(i) == c.inputChecked);
        w.main.menus.out300.setChecked(c.out300);
        w.main.menus.out1200.setChecked(c.out1200);
        const Lines lines = configurationLines(w, Mode::Alarm);
        ASSERT_EQ(lines.size(), 32u);
        EXPECT_EQ(lines[1], c.line2) << c.inputChecked;
        EXPECT_EQ(lines[2], c.line3) << c.out300 << c.out1200;
        EXPECT_EQ(lines[7], "");
    }
}

TEST(ConfigLinesTest, AlarmMessagesKeepTheirSpacesWhileOtherTextsAreTrimmed)
{
    forms::Windows w = test::filledWindows();
    forms::setMyCall(w, " AB1 ");
    w.alarm.AlmArmDelay.setText(" 12");
    w.alarm.AlarmMsgText[0].setText("  Front door  ");
    w.alarm.AlarmMsgText[3].setText(" ");
    const Lines lines = configurationLines(w, Mode::Alarm);
    EXPECT_EQ(lines[7], "AB1");
    EXPECT_EQ(lines[23], "12");
    EXPECT_EQ(lines[28], "  Front door  ");
    EXPECT_EQ(lines[31], " ");
}

TEST(ConfigLinesTest, WritesOptionsAsWordsAndCheckBoxesAsDigits)
{
    forms::Windows w = test::filledWindows();
    w.nmea.NMEATxOn.setValue(forms::kUserDefined, true);
    w.nmea.NMEADeltaEnable.setValue(1);
    w.main.GpsString[1].setText(" $GPGGA ");
    const Lines lines = configurationLines(w, Mode::Nmea);
    const Lines tail(lines.end() - 8, lines.end());
    EXPECT_EQ(tail, (Lines{"False", "False", "True", "", "", "$GPGGA", "", "1"}));
}

TEST(ConfigLinesTest, JoinsEveryLineWithCarriageReturnLineFeed)
{
    EXPECT_EQ(joinLines({"1", "", "a b"}), "1\r\n\r\na b\r\n");
    EXPECT_EQ(joinLines({}), "");
}

TEST(ConfigLinesTest, SplitsOnEveryKindOfLineEnd)
{
    const struct
    {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"\r\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {std::string("x\0y\r\n", 5), {std::string("x\0y", 3)}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitLines(c.bytes), c.lines) << c.bytes;
}

TEST(ConfigLinesTest, EveryByteButLineEndsSurvivesJoinAndSplit)
{
    std::string line;
    for (int byte = 0; byte < 256; ++byte)
        if (byte != '\r' && byte != '\n')
            line.push_back(static_cast<char>(byte));
    const Lines lines{line, "\xAF", std::string(1, '\0')};
    EXPECT_EQ(splitLines(joinLines(lines)), lines);
}

TEST(ConfigLinesTest, SaveReportsTheWriteFailure)
{
    fakes::MemoryFileSystem files;
    files.files["/cfg/a.vq3"] = "old";
    files.writeErrors["/cfg/a.vq3"] = FileError{error::kDiskFull, "No space left on device"};
    const auto failure = saveConfiguration(files, "/cfg/a.vq3", test::filledWindows(), Mode::Beacon);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->number, error::kDiskFull);
    EXPECT_EQ(files.files.at("/cfg/a.vq3"), "old");
}

} // namespace
} // namespace qm::storage
