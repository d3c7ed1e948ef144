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
    EXPECT_EQ(count, 181);
}

TEST(ControlsTest, FindsControlsOfEveryKindByName)
{
    Windows windows;
    EXPECT_EQ(std::get<TextField*>(*findControl(windows, "TelMySSID")), &windows.telemetry.station.SSID);
    EXPECT_EQ(std::get<TextField*>(*findControl(windows, "TrkSSID")), &windows.tracking.station.SSID);
    EXPECT_EQ(std::get<PickList*>(*findControl(windows, "AlmCondition3")), &windows.alarm.AlmCondition[2]);
    EXPECT_EQ(std::get<PickList*>(*findControl(windows, "GpsString2")), &windows.main.GpsString[1]);
    const auto option = std::get<OptionRef>(*findControl(windows, "NMEATxOnLFEnable"));
    EXPECT_EQ(option.group, &windows.nmea.NMEATxOn);
    EXPECT_EQ(option.option, kLineFeed);
    EXPECT_EQ(std::get<MenuItem*>(*findControl(windows, "out300")), &windows.main.menus.out300);
    EXPECT_EQ(std::get<TabStrip*>(*findControl(windows, "NMEAProfile")), &windows.nmea.NMEAProfile);
    EXPECT_EQ(std::get<Panel*>(*findControl(windows, "Form4")), &windows.tracking.station.window);
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
