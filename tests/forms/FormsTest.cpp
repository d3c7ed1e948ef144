// Number reading of field texts, control names, the transmit lists users pick from, and profile editing in the
// NMEA and Tracking windows: tab changes, saving, loading and copying profiles.
#include "forms/Controls.h"
#include "forms/Numbers.h"
#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "forms/Text.h"
#include "forms/WindowDefaults.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <type_traits>
#include <variant>
#include <vector>

namespace qm::forms
{
namespace
{

TEST(NumbersTest, ReadsTheLeadingDecimalNumberWithSpacesAnywhere)
{
    const std::pair<std::string, double> cases[] = {
        {"", 0},       {" 1 2 . 5 ", 12.5}, {"12abc", 12}, {"-3", -3},    {"+4", 4},       {"- 5", -5},
        {"-.5", -0.5}, {"5.", 5},           {"007", 7},    {"1e3", 1000}, {"1 E 3", 1000}, {"2e-1", 0.2},
        {"1e+2", 100}, {"1e", 1},           {"1e+", 1},    {"1ex", 1},    {"1e2.5", 100},  {"1.2.3", 1.2},
        {"1,5", 1},    {"1-2", 1},          {"abc", 0},    {".", 0},      {"-.", 0},       {"--5", 0},
        {"+-5", 0},    {"e5", 0},           {".e5", 0},    {"0x10", 0},   {"1e-999", 0}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(numberValue(text), value) << '"' << text << '"';
    EXPECT_EQ(numberValue(std::string("12\0 3", 5)), 12);
    // Too large for a double: a huge value that no range accepts; too small: nearly zero.
    for (const std::string& text : {std::string("9e99999"), "1" + std::string(400, '0'), std::string("-1e999")}) {
        EXPECT_GE(std::abs(numberValue(text)), 1e300) << text;
        EXPECT_EQ(wholeNumberIn(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()), std::nullopt);
    }
    EXPECT_EQ(wholeNumberIn("-0." + std::string(400, '0') + "1", 0, 15), 0);
}

TEST(NumbersTest, WholeNumbersRoundHalfToEvenThenMustLieInTheRange)
{
    const std::tuple<std::string, int, int, std::optional<int>> cases[] = {
        {"15", 1, 15, 15},   {"16", 1, 15, {}},  {"0", 1, 15, {}},    {"", 0, 255, 0},      {"", 1, 15, {}},
        {"1.5", 1, 15, 2},   {"0.5", 1, 15, {}}, {"15.5", 0, 15, {}}, {"14.5", 0, 15, 14},  {"254.5", 0, 255, 254},
        {"-0.4", 0, 255, 0}, {"-1", 0, 255, {}}, {"-2.5", -3, 8, -2}, {"127.5", 0, 127, {}}};
    for (const auto& [text, low, high, result] : cases)
        EXPECT_EQ(wholeNumberIn(text, low, high), result) << '"' << text << "\" in " << low << ".." << high;
    for (const double value :
         {std::numeric_limits<double>::infinity(), std::nan(""), std::numeric_limits<double>::max()})
        EXPECT_EQ(wholeNumberIn(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()), std::nullopt);
}

TEST(NumbersTest, NumbersAreWrittenInPlainDecimalWithAPoint)
{
    const std::pair<double, std::string> cases[] = {{5, "5"},    {-1, "-1"},           {63.5, "63.5"},
                                                    {-0.0, "0"}, {1000000, "1000000"}, {0.0001, "0.0001"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(formatNumber(value), text);
}

TEST(TextTest, CommandLineTextIsUtf8OrElseTakenByteByByte)
{
    const std::pair<std::string, std::u32string> cases[] = {{"\xF0\x9F\x93\xA1", U"\U0001F4E1"},
                                                            {"Caf\xE9", U"Caf\u00E9"},
                                                            {"\xC0\xAF", U"\u00C0\u00AF"},
                                                            {"\xED\xA0\x80", U"\u00ED\u00A0\u0080"}};
    for (const auto& [text, points] : cases)
        EXPECT_EQ(codePoints(text), points) << text;
}

TEST(FieldsTest, EveryControlHasItsOwnName)
{
    Windows windows;
    std::set<std::string> names;
    forEachControl(windows, [&](const std::string& name, Control) { EXPECT_TRUE(names.insert(name).second) << name; });
    // An editable list keeps its typed text when its selection is cleared.
    PickList toCall("ToCall", true);
    toCall.addItem("APRS");
    toCall.setText("GPS");
    EXPECT_TRUE(toCall.setListIndex(-1));
    EXPECT_EQ(toCall.text(), "GPS");
    // A fixed list's text is its selected entry, the first one too, and nothing while none is selected.
    PickList baud("Baud", false);
    baud.addItem("1200");
    baud.addItem("300");
    for (const auto& [index, text] : {std::pair{0, "1200"}, {1, "300"}, {-1, ""}}) {
        EXPECT_TRUE(baud.setListIndex(index));
        EXPECT_EQ(baud.text(), text) << index;
    }
}

TEST(FieldsTest, EveryInputControlSaysWhatItIsOnceInItsWindowAndNeverByAValueItHolds)
{
    Windows windows = startUpWindows({"N0CALL", 0, 0, 6, 2});
    std::map<std::optional<Mode>, std::set<std::string>> labels;
    forEachControl(windows, [&](const std::string& name, Control control) {
        if (std::holds_alternative<MenuItem*>(control) || std::holds_alternative<Panel*>(control))
            return;
        const std::string label = labelOf(control);
        EXPECT_FALSE(label.empty()) << name;
        EXPECT_TRUE(labels[locateControl(windows, name)->place.mode].insert(label).second) << name << ": " << label;
        if (auto* const* list = std::get_if<PickList*>(&control)) {
            for (const std::string& entry : (*list)->entries())
                EXPECT_NE(label, entry) << name;
        }
    });
    const std::pair<const char*, const char*> cases[] = {{"BcnSpecPath2", "Special Path 2"},
                                                         {"AlarmMsgText3", "Alarm 3 Message"},
                                                         {"AlmCondition1", "Alarm 1 Normal State"},
                                                         {"TrkTxDelay", "Transmit Delay"},
                                                         {"TrkSymbol", "Symbol"},
                                                         {"NMEATxOnLFEnable", "Line Feed"},
                                                         {"TelTmrMin", "Transmit Timer Minutes"},
                                                         {"GpsString3", "Data Header 3"}};
    for (const auto& [name, label] : cases)
        EXPECT_EQ(labelOf(*findControl(windows, name)), label) << name;
    EXPECT_EQ(windows.tracking.TrkProfile.tabLabel(9), "Profile 10");
}

TEST(FieldsTest, ControlsAreFoundWithTheModeRoleAndNumberOfTheirPlace)
{
    Windows w;
    const std::tuple<std::string, const void*, std::optional<Mode>, Role, int> cases[] = {
        {"TelMyCall", &w.telemetry.station.MyCall, Mode::Telemetry, Role::MyCall, 0},
        {"BcnTmrSec", &w.beacon.station.TmrSec, Mode::Beacon, Role::TimerSeconds, 0},
        {"NMEASSID", &w.nmea.station.SSID, Mode::Nmea, Role::SSID, 0},
        {"NMEATxOnLFEnable", &w.nmea.NMEATxOn, Mode::Nmea, Role::Other, 0},
        {"TrkPath3", &w.tracking.station.Path[2], Mode::Tracking, Role::Path, 3},
        {"TrkTxTail", &w.tracking.station.TxTail, Mode::Tracking, Role::TxTail, 0},
        {"AlmSpecPath2", &w.alarm.station.SpecPath[1], Mode::Alarm, Role::SpecialPath, 2},
        {"AlarmMsgText4", &w.alarm.AlarmMsgText[3], Mode::Alarm, Role::Other, 4},
        {"Form4", &w.tracking.station.window, std::nullopt, Role::Other, 0},
        {"GpsString2", &w.main.GpsString[1], std::nullopt, Role::Other, 2},
        {"recentfile5", &w.main.menus.recentfile[4], std::nullopt, Role::Other, 5}};
    const auto address = [](auto control) -> const void* {
        if constexpr (std::is_same_v<decltype(control), OptionRef>)
            return control.group;
        else
            return control;
    };
    for (const auto& [name, control, mode, role, number] : cases) {
        const auto found = locateControl(w, name);
        ASSERT_TRUE(found) << name;
        EXPECT_EQ(std::visit(address, found->control), control) << name;
        EXPECT_EQ(std::tie(found->place.mode, found->place.role, found->place.number), std::tie(mode, role, number))
            << name;
    }
    for (const char* unknown : {"TelPath5", "Tel", "telmycall", ""})
        EXPECT_FALSE(locateControl(w, unknown)) << unknown;
}

std::vector<std::string> msEntries(const std::vector<int>& values, std::size_t marked)
{
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < values.size(); ++i)
        entries.push_back(std::to_string(values[i]) + (i == marked ? " ms *" : " ms"));
    return entries;
}

TEST(PickListsTest, TransmitListsFollowTheBaudRateAndKeepTheirPositions)
{
    EXPECT_EQ(txListEntries(false, true),
              msEntries({133, 160, 187, 213, 240, 267, 293, 320, 347, 373, 400, 427, 453, 480, 507, 533}, 6));
    EXPECT_EQ(txListEntries(false, false),
              msEntries({27, 40, 53, 67, 80, 93, 107, 120, 133, 147, 160, 173, 187, 200, 213, 227}, 2));
    EXPECT_EQ(txListEntries(true, true),
              msEntries({53, 107, 160, 213, 267, 320, 373, 427, 480, 533, 587, 640, 693, 747, 800}, 5));
    EXPECT_EQ(txListEntries(true, false),
              msEntries({27, 53, 80, 107, 133, 160, 187, 213, 240, 267, 293, 320, 347, 373, 400}, 2));

    const std::tuple<bool, int, int, std::string, std::string> cases[] = {
        {true, 15, 14, "800 ms", "400 ms"}, {false, 6, 2, "293 ms *", "53 ms *"}, {true, -1, 3, "", "107 ms"}};
    Windows windows;
    for (const auto& [baud300, delay, tail, delayText, tailText] : cases) {
        rebuildTxLists(windows, baud300, delay, tail);
        for (Mode mode : kModes)
            EXPECT_EQ(windows.station(mode).TxDelay.text() + "|" + windows.station(mode).TxTail.text() + "|" +
                          std::to_string(windows.station(mode).TxTail.count()),
                      delayText + "|" + tailText + (baud300 ? "|15" : "|16"));
    }
}

ProfileEntry entry(std::string ssid, std::string path1, std::string tmrMin, std::string txDelay)
{
    return {std::move(ssid), {std::move(path1), "0", "0", "0"}, "", std::move(tmrMin), "0", std::move(txDelay), "0"};
}

class ProfileEditingTest : public testing::TestWithParam<Mode>
{
protected:
    ProfileEditingTest()
    {
        for (PickList& path : station().Path)
            for (const auto& item : kPathEntries)
                path.addItem(item);
        rebuildTxLists(w, false, 0, 0);
    }

    bool nmea() const { return GetParam() == Mode::Nmea; }
    StationControls& station() { return w.station(GetParam()); }
    ProfileStore& store() { return nmea() ? w.nmea.store : w.tracking.store; }
    ProfileStore& otherStore() { return nmea() ? w.tracking.store : w.nmea.store; }
    int tab() { return (nmea() ? w.nmea.NMEAProfile : w.tracking.TrkProfile).selectedIndex(); }
    std::string caption() { return (nmea() ? w.nmea.NMEAProfileFrame : w.tracking.TrkProfileFrame).caption(); }
    void selectTab(int tab) { nmea() ? selectNmeaProfileTab(w, tab) : selectTrackingProfileTab(w, tab); }
    void load() { nmea() ? showNmeaProfile(w) : showTrackingProfile(w); }
    // The profile on show, written as the store writes it.
    ProfileEntry shown()
    {
        const auto index = [](const PickList& list) { return std::to_string(list.listIndex()); };
        StationControls& s = station();
        return {s.SSID.text(),
                {index(s.Path[0]), index(s.Path[1]), index(s.Path[2]), index(s.Path[3])},
                "",
                s.TmrMin.text(),
                s.TmrSec.text(),
                index(s.TxDelay),
                index(s.TxTail)};
    }

    Windows w;
};

TEST_P(ProfileEditingTest, TabChangeSavesTheShownProfileAndLoadsTheNewOne)
{
    station().SSID.setText("5");
    selectTab(0); // the selected tab: nothing runs
    EXPECT_EQ(store().entry(1), ProfileEntry{});
    EXPECT_EQ(caption(), "Profile # Settings");

    store().entry(7) = entry("9", "2", "12", "4");
    selectTab(2);
    station().SSID.setText("5");
    station().Path[0].setListIndex(3);
    station().TmrMin.setText(" ");
    station().TxTail.setListIndex(-1);
    selectTab(6);
    ProfileEntry left{"5", {"3", "0", "0", "0"}, nmea() ? "" : std::string(1, '\0'), "0", "0", "0", "-1"};
    EXPECT_EQ(store().entry(3), left);
    EXPECT_EQ(caption(), "Profile #7 Settings");
    EXPECT_EQ(w.profiles.previousProfile, 3);
    EXPECT_EQ(tab(), 6);
    EXPECT_EQ(shown(), entry("9", "2", "12", "4"));
    EXPECT_EQ(store().entry(7), entry("9", "2", "12", "4"));
    EXPECT_EQ(otherStore().entry(1), ProfileEntry{});

    w.profiles.skipProfileSave = true; // as a window fill asks: the profile left is not saved
    station().SSID.setText("8");
    selectTab(2);
    left.Symbol = "";
    left.TxTail = "0"; // no entry stored selects the first
    EXPECT_EQ(shown(), left);
    EXPECT_EQ(store().entry(7), entry("9", "2", "12", "4"));
    EXPECT_FALSE(w.profiles.skipProfileSave);
}

TEST_P(ProfileEditingTest, CopyingStoresTheShownProfileThenCopiesItsEntry)
{
    store().entry(4) = entry("4", "1", "0", "2");
    selectTab(2);
    station().SSID.setText("5");
    station().Path[2].setListIndex(3);
    const ProfileStore other = otherStore();
    // The shown profile, numbers outside 1 to 10 and repeats are passed over.
    EXPECT_EQ(copyShownProfile(w, GetParam(), {5, 3, 0, 11, 1, 5, -2}), (std::vector<int>{1, 5}));
    EXPECT_EQ(store().entry(3).Path[2], "3");
    EXPECT_EQ(store().entry(1), store().entry(3));
    EXPECT_EQ(store().entry(5), store().entry(3));
    EXPECT_EQ(store().entry(4), entry("4", "1", "0", "2"));
    for (int profile = 1; profile <= kProfileCount; ++profile)
        EXPECT_EQ(otherStore().entry(profile), other.entry(profile));
    EXPECT_TRUE(copyShownProfile(w, Mode::Alarm, {1, 2}).empty());
}

TEST_P(ProfileEditingTest, LoadingSelectsTheStoredPositions)
{
    const std::pair<std::string, int> paths[] = {{"8", 8}, {" 2 ", 2}, {"", 0}, {"-1", -1}, {"9", -1}};
    for (const auto& [stored, index] : paths) {
        store().entry(1).Path = {stored, stored, stored, stored};
        load();
        EXPECT_EQ(station().Path[3].listIndex(), index) << '"' << stored << '"';
    }
    // Delays: empty or negative select the first entry, positions past the list its last.
    const std::tuple<std::string, bool, int> delays[] = {{"-1", true, 0},  {"", false, 0},    {"3", true, 3},
                                                         {"15", true, 14}, {"99", false, 15}, {"2.5", false, 2}};
    for (const auto& [stored, baud300, index] : delays) {
        rebuildTxLists(w, baud300, 7, 7);
        store().entry(1).TxDelay = store().entry(1).TxTail = stored;
        load();
        EXPECT_EQ(std::pair(station().TxDelay.listIndex(), station().TxTail.listIndex()), std::pair(index, index))
            << '"' << stored << '"' << baud300;
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, ProfileEditingTest, testing::Values(Mode::Nmea, Mode::Tracking));

TEST(ProfileSymbolTest, NmeaShowsTheStoredSsidTrackingHidesZeroAndSplitsTheSymbol)
{
    const std::tuple<std::string, std::string, std::string> ssids[] = {
        {"0", "0", ""}, {" 7 ", " 7 ", "7"}, {"00", "00", ""}, {"123", "123", "123"}};
    Windows windows;
    for (const auto& [stored, nmea, tracking] : ssids) {
        windows.nmea.store.entry(1).SSID = windows.tracking.store.entry(1).SSID = stored;
        showNmeaProfile(windows);
        showTrackingProfile(windows);
        EXPECT_EQ(windows.nmea.station.SSID.text() + "|" + windows.tracking.station.SSID.text(), nmea + "|" + tracking);
    }
    // The stored symbol carries Send Comments in bit 7; the rest of a longer text is kept for Write to refuse.
    const std::tuple<std::string, bool, std::string, std::string> symbols[] = {
        {"/", true, "\xAF", "/"}, {"\xAF", false, "/", "/"},
        {"", true, "\x80", ""},   {"", false, std::string(1, '\0'), ""},
        {" ", true, "\xA0", " "}, {"ab", true, "\xE1\x62", "ab"},
        {"", false, "", ""}};
    for (const auto& [symbol, sendComments, stored, shown] : symbols) {
        if (!stored.empty()) {
            EXPECT_EQ(symbolEntry(symbol, sendComments), stored) << symbol;
        }
        windows.tracking.TrkSymbol.setText("X");
        windows.tracking.TrkSendComments.setValue(sendComments ? 0 : 1);
        windows.tracking.store.entry(1).Symbol = stored;
        showTrackingProfile(windows);
        EXPECT_EQ(windows.tracking.TrkSymbol.text(), shown) << symbol;
        EXPECT_EQ(windows.tracking.TrkSendComments.value(), sendComments ? 1 : 0) << symbol;
    }
    // A tab change stores the symbol of the profile left and shows the symbol of the new one.
    windows.tracking.store.entry(4).Symbol = ">";
    windows.tracking.TrkSymbol.setText("/");
    windows.tracking.TrkSendComments.setValue(1);
    selectTrackingProfileTab(windows, 3);
    EXPECT_EQ(windows.tracking.store.entry(1).Symbol, "\xAF");
    EXPECT_EQ(windows.tracking.TrkSymbol.text() + std::to_string(windows.tracking.TrkSendComments.value()), ">0");
}

} // namespace
} // namespace qm::forms
