// Tests of loading configuration files: round trips, the conversion of every kind of line, the special-path
// labels, the multi-line beacon text and the file's mode.
#include "storage/ConfigFile.h"

#include "ConfigTestWindows.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qm::storage
{
namespace
{

using forms::Mode;
using Lines = std::vector<std::string>;

Lines saved(forms::Windows w, Mode mode)
{
    forms::storeShownNmeaProfile(w);
    forms::storeShownTrackingProfile(w);
    return configurationLines(w, mode);
}

TEST(ConfigLoadTest, SaveLoadSaveKeepsEveryLineOfEveryMode)
{
    for (const forms::Mode mode : forms::kModes) {
        const Lines first = saved(test::nonDefaultWindows(), mode);
        forms::Windows loaded = test::filledWindows();
        ASSERT_EQ(loadConfiguration(mode, loaded, first, test::kDefaults), std::nullopt) << forms::codeOfMode(mode);
        EXPECT_EQ(saved(loaded, mode), first) << forms::codeOfMode(mode);
    }
}

TEST(ConfigLoadTest, BeaconTextKeepsItsLineBreaks)
{
    const struct
    {
        std::string typed;
        std::string loaded;
    } cases[] = {
        {"First line\r\nsecond line\r\nthird", "First line\r\nsecond line\r\nthird"},
        {"Ends with a break\r\n", "Ends with a break\r\n"},
        {"\r\n\r\nafter two", "\r\n\r\nafter two"},
    };
    for (const auto& c : cases) {
        forms::Windows source = test::filledWindows();
        source.beacon.BcnMsgText.setText(c.typed);
        const std::string bytes = joinLines(configurationLines(source, Mode::Beacon));
        forms::Windows loaded = test::filledWindows();
        ASSERT_EQ(loadConfiguration(forms::Mode::Beacon, loaded, splitLines(bytes), test::kDefaults), std::nullopt);
        EXPECT_EQ(loaded.beacon.BcnMsgText.text(), c.loaded);
    }
}

TEST(ConfigLoadTest, BeaconTextRunsToTheEndOfTheFile)
{
    Lines lines = configurationLines(test::filledWindows(), Mode::Beacon);
    lines.back() = "one";
    lines.insert(lines.end(), {"two", "", "three"});
    forms::Windows loaded = test::filledWindows();
    ASSERT_EQ(loadConfiguration(forms::Mode::Beacon, loaded, lines, test::kDefaults), std::nullopt);
    EXPECT_EQ(loaded.beacon.BcnMsgText.text(), "one\r\ntwo\r\n\r\nthree");

    lines.resize(23);
    lines.back() = std::string(70, 'x');
    lines.push_back(std::string(10, 'y'));
    ASSERT_EQ(loadConfiguration(forms::Mode::Beacon, loaded, lines, test::kDefaults), std::nullopt);
    EXPECT_EQ(loaded.beacon.BcnMsgText.text(), std::string(70, 'x') + "\r\n" + std::string(10, 'y'));
}

TEST(ConfigLoadTest, SpecialPathsRelabelThePathSelectors)
{
    forms::Windows source = test::filledWindows();
    test::setSpecialPath(source.beacon.station, 2, "WIDE3");
    source.beacon.station.Path[2].setListIndex(6);
    const Lines lines = configurationLines(source, Mode::Beacon);

    forms::Windows loaded = test::filledWindows();
    test::setSpecialPath(loaded.beacon.station, 1, "OLD1");
    ASSERT_EQ(loadConfiguration(forms::Mode::Beacon, loaded, lines, test::kDefaults), std::nullopt);
    for (const auto& path : loaded.beacon.station.Path) {
        EXPECT_EQ(path.entries()[5], "Special Path 1");
        EXPECT_EQ(path.entries()[6], "WIDE3");
    }
    EXPECT_EQ(loaded.beacon.station.Path[2].listIndex(), 6);
    EXPECT_EQ(loaded.beacon.station.Path[2].text(), "WIDE3");
    EXPECT_EQ(loaded.telemetry.station.Path[0].entries()[6], "Special Path 2");
}

struct Conversion
{
    const char* name;
    Mode mode;
    std::size_t line;
    std::string text;
    std::function<std::string(const forms::Windows&)> read;
    std::string expected;
};

std::string index(const forms::PickList& list)
{
    return std::to_string(list.listIndex());
}

std::string inputChecks(const forms::Windows& w)
{
    std::string checks;
    for (const auto* item : w.main.menus.inputBaudItems())
        checks += item->checked() ? "1" : "0";
    return checks;
}

std::string outputState(const forms::Windows& w)
{
    const auto& menus = w.main.menus;
    return std::string(menus.out300.checked() ? "300" : "") + (menus.out1200.checked() ? "1200" : "") + " " +
           std::to_string(w.telemetry.station.TxDelay.count()) + " " + index(w.beacon.station.TxDelay);
}

const Conversion kConversions[] = {
    {"input baud 2", Mode::Beacon, 1, "2", inputChecks, "0010"},
    {"input baud 3.0", Mode::Beacon, 1, " 3.0", inputChecks, "0001"},
    {"input baud empty", Mode::Beacon, 1, "", inputChecks, "1000"},
    {"input baud 4", Mode::Beacon, 1, "4", inputChecks, "1000"},
    {"input baud 1.5", Mode::Beacon, 1, "1.5", inputChecks, "1000"},
    {"output 300", Mode::Beacon, 2, "1", outputState, "300 15 6"},
    {"output 1200", Mode::Beacon, 2, "0", outputState, "1200 16 6"},
    {"output other", Mode::Beacon, 2, "2", outputState, "1200 16 6"},
    {"mic other", Mode::Beacon, 4, "2",
     [](const forms::Windows& w) { return std::to_string(w.main.MicEncode.value()); }, "1"},
    {"my call whole in every window", Mode::Alarm, 7, "ABCDEFGH",
     [](const forms::Windows& w) { return w.telemetry.station.MyCall.text() + "|" + w.tracking.station.MyCall.text(); },
     "ABCDEFGH|ABCDEFGH"},
    {"my ssid whole", Mode::Alarm, 8, "123", [](const forms::Windows& w) { return w.alarm.station.SSID.text(); },
     "123"},
    {"my ssid 0", Mode::Beacon, 8, "0", [](const forms::Windows& w) { return w.beacon.station.SSID.text(); }, ""},
    {"my ssid 7", Mode::Telemetry, 8, "7", [](const forms::Windows& w) { return w.telemetry.station.SSID.text(); },
     "7"},
    {"to call as read", Mode::Alarm, 9, "cq-1 ", [](const forms::Windows& w) { return w.alarm.station.ToCall.text(); },
     "cq-1 "},
    {"special path whole", Mode::Beacon, 10, "WIDE1-1XYZ",
     [](const forms::Windows& w) { return w.beacon.station.SpecPath[0].text(); }, "WIDE1-1XYZ"},
    {"path 2.5", Mode::Beacon, 14, "2.5", [](const forms::Windows& w) { return index(w.beacon.station.Path[0]); }, "2"},
    {"path 3.5", Mode::Beacon, 14, "3.5", [](const forms::Windows& w) { return index(w.beacon.station.Path[0]); }, "4"},
    {"path -1", Mode::Beacon, 15, "-1", [](const forms::Windows& w) { return index(w.beacon.station.Path[1]); }, "-1"},
    {"path spaces", Mode::Beacon, 16, " 8 ", [](const forms::Windows& w) { return index(w.beacon.station.Path[2]); },
     "8"},
    {"path empty", Mode::Alarm, 17, "", [](const forms::Windows& w) { return index(w.alarm.station.Path[3]); }, "0"},
    {"timer 0.0", Mode::Beacon, 19, "0.0", [](const forms::Windows& w) { return w.beacon.station.TmrSec.text(); }, "0"},
    {"timer 07", Mode::Alarm, 19, "07", [](const forms::Windows& w) { return w.alarm.station.TmrSec.text(); }, "07"},
    {"timer whole", Mode::Telemetry, 22, "100",
     [](const forms::Windows& w) { return w.telemetry.station.TmrMin.text(); }, "100"},
    {"termination value whole", Mode::Telemetry, 21, "1000",
     [](const forms::Windows& w) { return w.telemetry.TelUserTrigChar.text(); }, "1000"},
    {"tx delay 15 at 1200", Mode::Beacon, 20, "15",
     [](const forms::Windows& w) { return index(w.beacon.station.TxDelay); }, "15"},
    {"tx tail -1", Mode::Alarm, 21, "-1", [](const forms::Windows& w) { return index(w.alarm.station.TxTail); }, "-1"},
    {"condition 0", Mode::Alarm, 24, "0", [](const forms::Windows& w) { return index(w.alarm.AlmCondition[0]); }, "0"},
    {"arm delay as read", Mode::Alarm, 23, "127.5", [](const forms::Windows& w) { return w.alarm.AlmArmDelay.text(); },
     "127.5"},
    {"message untrimmed and whole", Mode::Alarm, 29, "  Back door is open  ",
     [](const forms::Windows& w) { return w.alarm.AlarmMsgText[1].text(); }, "  Back door is open  "},
    {"count whole", Mode::Alarm, 22, "0255", [](const forms::Windows& w) { return w.alarm.AlmTxCntrLimit.text(); },
     "0255"},
    {"arm delay whole", Mode::Alarm, 23, "1000", [](const forms::Windows& w) { return w.alarm.AlmArmDelay.text(); },
     "1000"},
    {"option word any case", Mode::Telemetry, 19, " tRuE ",
     [](const forms::Windows& w) { return std::to_string(w.telemetry.TelTxOn.selected()); }, "1"},
    {"option false deselects", Mode::Telemetry, 18, "FALSE",
     [](const forms::Windows& w) { return std::to_string(w.telemetry.TelTxOn.selected()); }, "-1"},
    {"check box 1.4", Mode::Nmea, 110, "1.4",
     [](const forms::Windows& w) { return std::to_string(w.nmea.NMEADeltaEnable.value()); }, "1"},
    {"check box 0.5", Mode::Tracking, 115, "0.5",
     [](const forms::Windows& w) { return std::to_string(w.tracking.TrkDeltaEnable.value()); }, "0"},
    {"data header as read", Mode::Nmea, 108, "$GPXYZ",
     [](const forms::Windows& w) { return w.main.GpsString[1].text(); }, "$GPXYZ"},
    {"profile ssid 05", Mode::Nmea, 13, "05", [](const forms::Windows& w) { return w.nmea.store.entry(1).SSID; }, "5"},
    {"profile ssid 0", Mode::Nmea, 13, "0", [](const forms::Windows& w) { return w.nmea.store.entry(1).SSID; }, ""},
    {"profile ssid 123", Mode::Nmea, 22, "123", [](const forms::Windows& w) { return w.nmea.store.entry(2).SSID; },
     "123"},
    {"profile ssid 0.8", Mode::Tracking, 73, ".8\xFC",
     [](const forms::Windows& w) { return w.tracking.store.entry(7).SSID; }, "0.8"},
    {"profile path as read", Mode::Nmea, 14, " 3",
     [](const forms::Windows& w) { return w.nmea.store.entry(1).Path[0]; }, " 3"},
    {"profile path -1", Mode::Tracking, 17, "-1",
     [](const forms::Windows& w) { return w.tracking.store.entry(1).Path[3]; }, "-1"},
    {"profile timer empty", Mode::Nmea, 18, "", [](const forms::Windows& w) { return w.nmea.store.entry(1).TmrMin; },
     "0"},
    {"profile timer whole", Mode::Tracking, 20, "075",
     [](const forms::Windows& w) { return w.tracking.store.entry(1).TmrSec; }, "075"},
    {"profile timer 100", Mode::Nmea, 18, "100", [](const forms::Windows& w) { return w.nmea.store.entry(1).TmrMin; },
     "100"},
    {"profile delay 07", Mode::Nmea, 20, "07", [](const forms::Windows& w) { return w.nmea.store.entry(1).TxDelay; },
     "7"},
    {"profile delay past the list", Mode::Tracking, 21, "99",
     [](const forms::Windows& w) { return w.tracking.store.entry(1).TxDelay; }, "99"},
    {"symbol trimmed", Mode::Tracking, 18, " > ",
     [](const forms::Windows& w) { return w.tracking.store.entry(1).Symbol; }, ">"},
    {"symbol whole", Mode::Tracking, 18, " ab ",
     [](const forms::Windows& w) { return w.tracking.store.entry(1).Symbol; }, "ab"},
    {"prefix whole", Mode::Tracking, 113, "!!", [](const forms::Windows& w) { return w.tracking.TrkPrefix.text(); },
     "!!"},
    {"comment whole", Mode::Tracking, 116, std::string(30, 'c'),
     [](const forms::Windows& w) { return w.tracking.TrkComments.text(); }, std::string(30, 'c')},
    {"symbol top bit", Mode::Tracking, 28, "\xAF",
     [](const forms::Windows& w) { return w.tracking.store.entry(2).Symbol; }, "\xAF"},
};

TEST(ConfigLoadTest, ConvertsEachLineByItsKind)
{
    for (const auto& c : kConversions) {
        Lines lines = configurationLines(test::filledWindows(), c.mode);
        ASSERT_LT(c.line, lines.size()) << c.name;
        lines[c.line] = c.text;
        forms::Windows loaded = test::filledWindows();
        ASSERT_EQ(loadConfiguration(c.mode, loaded, lines, test::kDefaults), std::nullopt) << c.name;
        EXPECT_EQ(c.read(loaded), c.expected) << c.name;
    }
}

TEST(ConfigLoadTest, OptionsApplyInFileOrder)
{
    const struct
    {
        const char* cr;
        const char* lf;
        const char* user;
        int selected;
    } cases[] = {
        {"True", "False", "False", forms::kCarriageReturn},
        {"True", "True", "False", forms::kLineFeed},
        {"False", "True", "True", forms::kUserDefined},
        {"True", "False", "True", forms::kUserDefined},
        {"False", "False", "False", -1},
    };
    for (const auto& c : cases) {
        Lines lines = configurationLines(test::filledWindows(), Mode::Nmea);
        lines[103] = c.cr;
        lines[104] = c.lf;
        lines[105] = c.user;
        forms::Windows loaded = test::filledWindows();
        loaded.nmea.NMEATxOn.setValue(forms::kLineFeed, true);
        ASSERT_EQ(loadConfiguration(forms::Mode::Nmea, loaded, lines, test::kDefaults), std::nullopt);
        EXPECT_EQ(loaded.nmea.NMEATxOn.selected(), c.selected) << c.cr << c.lf << c.user;
    }
}

TEST(ConfigLoadTest, ProfileWindowShowsTheLoadedProfileOnShow)
{
    const Lines nmea = saved(test::nonDefaultWindows(), Mode::Nmea);
    forms::Windows loaded = test::filledWindows();
    loaded.nmea.NMEAProfile.setSelectedIndex(4);
    ASSERT_EQ(loadConfiguration(forms::Mode::Nmea, loaded, nmea, test::kDefaults), std::nullopt);
    EXPECT_EQ(loaded.nmea.station.SSID.text(), "7");
    EXPECT_EQ(loaded.nmea.station.TmrMin.text(), "5");
    EXPECT_EQ(loaded.nmea.station.Path[0].listIndex(), 5);

    const Lines tracking = saved(test::nonDefaultWindows(), Mode::Tracking);
    loaded.tracking.TrkProfile.setSelectedIndex(2);
    ASSERT_EQ(loadConfiguration(forms::Mode::Tracking, loaded, tracking, test::kDefaults), std::nullopt);
    EXPECT_EQ(loaded.tracking.station.SSID.text(), "5");
    EXPECT_EQ(loaded.tracking.TrkSymbol.text(), ">");
    EXPECT_EQ(loaded.tracking.TrkSendComments.value(), 1);
}

TEST(ConfigLoadTest, FileModeIsTheExactNumberOfTheFirstLine)
{
    const struct
    {
        std::string first;
        std::optional<Mode> mode;
    } cases[] = {
        {"0", Mode::Telemetry}, {"1", Mode::Beacon},  {"2", Mode::Nmea},     {" 3 ", Mode::Tracking},
        {"4", Mode::Alarm},     {"4.0", Mode::Alarm}, {"7", std::nullopt},   {"5", std::nullopt},
        {"2.5", std::nullopt},  {"-1", std::nullopt}, {"", Mode::Telemetry}, {"x", Mode::Telemetry},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileMode({c.first, "0"}), c.mode) << c.first;
    EXPECT_EQ(fileMode({}), std::nullopt);
}

} // namespace
} // namespace qm::storage
