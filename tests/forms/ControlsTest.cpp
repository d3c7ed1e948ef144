#include "forms/Controls.h"

#include <gtest/gtest.h>

#include <set>

namespace qm::forms
{
namespace
{

TEST(ControlsTest, EveryControlHasItsOwnName)
{
    Windows windows;
    std::set<std::string> names;
    int count = 0;
    forEachControl(windows, [&](const std::string& name, Control) {
        EXPECT_FALSE(name.empty());
        EXPECT_TRUE(names.insert(name).second) << name << " appears twice";
        ++count;
    });
    EXPECT_EQ(count, 173);
}

TEST(ControlsTest, FindsControlsOfEveryKindByName)
{
    Windows windows;
    EXPECT_EQ(std::get<TextField*>(*findControl(windows, "TelMySSID")), &windows.Form1.station.SSID);
    EXPECT_EQ(std::get<TextField*>(*findControl(windows, "TrkSSID")), &windows.Form4.station.SSID);
    EXPECT_EQ(std::get<PickList*>(*findControl(windows, "AlmCondition3")), &windows.Form5.AlmCondition[2]);
    EXPECT_EQ(std::get<PickList*>(*findControl(windows, "GpsString2")), &windows.MDIForm1.GpsString[1]);
    const auto option = std::get<OptionRef>(*findControl(windows, "NMEATxOnLFEnable"));
    EXPECT_EQ(option.group, &windows.Form3.NMEATxOn);
    EXPECT_EQ(option.option, kLineFeed);
    EXPECT_EQ(std::get<MenuItem*>(*findControl(windows, "out300")), &windows.MDIForm1.menus.out300);
    EXPECT_EQ(std::get<TabStrip*>(*findControl(windows, "NMEAProfile")), &windows.Form3.NMEAProfile);
    EXPECT_EQ(std::get<Panel*>(*findControl(windows, "Form4")), &windows.Form4.station.Window);
    EXPECT_FALSE(findControl(windows, "NoSuchControl"));
}

TEST(ControlsTest, TellsTheWindowOfAControlByItsName)
{
    EXPECT_EQ(controlMode("TelMyCall"), Mode::Telemetry);
    EXPECT_EQ(controlMode("BcnMsgText"), Mode::Beacon);
    EXPECT_EQ(controlMode("NMEASSID"), Mode::Nmea);
    EXPECT_EQ(controlMode("TrkSymbol"), Mode::Tracking);
    EXPECT_EQ(controlMode("AlarmMsgText2"), Mode::Alarm);
    EXPECT_EQ(controlMode("AlmArmDelay"), Mode::Alarm);
    EXPECT_FALSE(controlMode("GpsString1"));
}

} // namespace
} // namespace qm::forms
