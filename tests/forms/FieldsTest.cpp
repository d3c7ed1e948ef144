// Tests of the field kinds: typing limits, pick-list selection, option groups and My Call in every window.
#include "forms/Fields.h"
#include "forms/PickLists.h"
#include "forms/Windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm::forms
{
namespace
{

TEST(TextFieldTest, TypingLimitsBindTypingOnlyASetTextIsKeptWhole)
{
    Windows windows;
    const std::vector<std::pair<TextField*, std::size_t>> fields{
        {&windows.telemetry.station.MyCall, 6},  {&windows.beacon.station.SSID, 2},
        {&windows.nmea.station.SSID, 2},         {&windows.tracking.station.SpecPath[3], 9},
        {&windows.alarm.station.TmrMin, 2},      {&windows.telemetry.station.TmrSec, 2},
        {&windows.telemetry.TelUserTrigChar, 3}, {&windows.nmea.NMEAUserTrigChar, 3},
        {&windows.beacon.BcnMsgText, 76},        {&windows.alarm.AlarmMsgText[0], 25},
        {&windows.alarm.AlarmMsgText[1], 15},    {&windows.alarm.AlarmMsgText[3], 15},
        {&windows.alarm.AlmTxCntrLimit, 3},      {&windows.alarm.AlmArmDelay, 3},
        {&windows.tracking.TrkPrefix, 1},        {&windows.tracking.TrkSeparator, 1},
        {&windows.tracking.TrkSymbol, 1},        {&windows.tracking.TrkComments, 21},
    };
    const std::string longText(100, 'X');
    for (const auto& [field, limit] : fields) {
        SCOPED_TRACE(field->name());
        EXPECT_EQ(field->maxLength(), limit);
        field->setText(longText);
        EXPECT_EQ(field->text(), longText);
        field->setText("127.5");
        EXPECT_EQ(field->text(), "127.5");
    }
}

TEST(TextFieldTest, KeepsEveryByteIncludingZero)
{
    TextField field("TrkComments", 21);
    const std::string bytes("A\0\xFF\x80 z", 6);
    field.setText(bytes);
    EXPECT_EQ(field.text(), bytes);
    TextField unlimited("Unlimited", 0);
    unlimited.setText(std::string(1000, 'Q'));
    EXPECT_EQ(unlimited.text().size(), 1000u);
}

TEST(PickListTest, RefusesAnIndexItLacksAndKeepsTheOldOne)
{
    PickList list("TelPath1", false);
    for (const auto& entry : kPathEntries)
        list.addItem(entry);
    EXPECT_EQ(list.listIndex(), -1);
    EXPECT_EQ(list.text(), "");
    ASSERT_TRUE(list.setListIndex(3));
    for (int bad : {9, 100, -2}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(list.setListIndex(bad));
        EXPECT_EQ(list.listIndex(), 3);
        EXPECT_EQ(list.text(), "WIDE");
    }
    EXPECT_TRUE(list.setListIndex(8));
    EXPECT_EQ(list.text(), "Special Path 4");
    EXPECT_TRUE(list.setListIndex(-1));
    EXPECT_EQ(list.text(), "");
    list.setText("GATE");
    EXPECT_EQ(list.text(), "");
}

TEST(PickListTest, SelectingAnEntryOfAnEditableListCopiesItIntoTheText)
{
    PickList list("TrkToCall", true);
    for (const auto& entry : kTrackingToCallEntries)
        list.addItem(entry);
    list.setText("KX9-3");
    EXPECT_EQ(list.text(), "KX9-3");
    ASSERT_TRUE(list.setListIndex(5));
    EXPECT_EQ(list.text(), "NMEA");
    list.setText("APRS-1");
    EXPECT_EQ(list.text(), "APRS-1");
    EXPECT_FALSE(list.setListIndex(8));
    EXPECT_EQ(list.text(), "APRS-1");
}

TEST(OptionGroupTest, SettingTrueSelectsOneSettingFalseDeselectsOnlyThatOption)
{
    TelemetryForm form;
    OptionGroup& group = form.TelTxOn;
    EXPECT_EQ(group.selected(), -1);
    group.setValue(kCarriageReturn, true);
    group.setValue(kUserDefined, true);
    EXPECT_EQ(group.selected(), kUserDefined);
    EXPECT_FALSE(group.value(kCarriageReturn));
    EXPECT_FALSE(group.value(kLineFeed));
    EXPECT_TRUE(group.value(kUserDefined));
    group.setValue(kLineFeed, false);
    EXPECT_EQ(group.selected(), kUserDefined);
    group.setValue(kUserDefined, false);
    EXPECT_EQ(group.selected(), -1);
    EXPECT_EQ(group.name(kUserDefined), "TelTxOnUserEnable");
}

TEST(SetMyCallTest, WritesAllFiveWindowsWhole)
{
    Windows windows;
    setMyCall(windows, "N0CALL");
    for (Mode mode : {Mode::Telemetry, Mode::Beacon, Mode::Nmea, Mode::Tracking, Mode::Alarm})
        EXPECT_EQ(windows.station(mode).MyCall.text(), "N0CALL") << windows.station(mode).prefix();
    setMyCall(windows, "KD7ABCDEF");
    for (Mode mode : {Mode::Telemetry, Mode::Beacon, Mode::Nmea, Mode::Tracking, Mode::Alarm})
        EXPECT_EQ(windows.station(mode).MyCall.text(), "KD7ABCDEF") << windows.station(mode).prefix();
    setMyCall(windows, "");
    for (Mode mode : {Mode::Telemetry, Mode::Beacon, Mode::Nmea, Mode::Tracking, Mode::Alarm})
        EXPECT_EQ(windows.station(mode).MyCall.text(), "") << windows.station(mode).prefix();
}

} // namespace
} // namespace qm::forms
