// Tests of profile editing in the NMEA and Tracking windows: tab changes, saving and loading profiles.
#include "forms/ProfileEditing.h"

#include "forms/PickLists.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace qm::forms
{
namespace
{

struct ProfileWindow
{
    const char* name;
    void (*selectTab)(Windows&, int);
    void (*saveCurrent)(Windows&);
    void (*load)(Windows&);
    StationControls& (*station)(Windows&);
    TabStrip& (*tabs)(Windows&);
    Panel& (*frame)(Windows&);
    ProfileStore& (*store)(Windows&);
};

void PrintTo(const ProfileWindow& window, std::ostream* out)
{
    *out << window.name;
}

const ProfileWindow kNmea{
    "Nmea",
    selectNmeaProfileTab,
    storeShownNmeaProfile,
    showNmeaProfile,
    [](Windows& w) -> StationControls& { return w.nmea.station; },
    [](Windows& w) -> TabStrip& { return w.nmea.NMEAProfile; },
    [](Windows& w) -> Panel& { return w.nmea.NMEAProfileFrame; },
    [](Windows& w) -> ProfileStore& { return w.nmea.store; },
};

const ProfileWindow kTracking{
    "Tracking",
    selectTrackingProfileTab,
    storeShownTrackingProfile,
    showTrackingProfile,
    [](Windows& w) -> StationControls& { return w.tracking.station; },
    [](Windows& w) -> TabStrip& { return w.tracking.TrkProfile; },
    [](Windows& w) -> Panel& { return w.tracking.TrkProfileFrame; },
    [](Windows& w) -> ProfileStore& { return w.tracking.store; },
};

void fillLists(Windows& windows, bool baud300)
{
    for (Mode mode : {Mode::Telemetry, Mode::Beacon, Mode::Nmea, Mode::Tracking, Mode::Alarm})
        for (PickList& path : windows.station(mode).Path)
            for (const auto& entry : kPathEntries)
                path.addItem(entry);
    rebuildTxLists(windows, baud300, 0, 0);
}

ProfileEntry storedProfile(std::string ssid, std::string path1, std::string tmrMin, std::string txDelay)
{
    ProfileEntry entry;
    entry.SSID = std::move(ssid);
    entry.Path = {std::move(path1), "0", "0", "0"};
    entry.TmrMin = std::move(tmrMin);
    entry.TmrSec = "0";
    entry.TxDelay = std::move(txDelay);
    entry.TxTail = "0";
    return entry;
}

class ProfileEditingTest : public testing::TestWithParam<ProfileWindow>
{
protected:
    ProfileEditingTest() { fillLists(windows, false); }

    StationControls& station() { return GetParam().station(windows); }
    ProfileEntry& stored(int profile) { return GetParam().store(windows).entry(profile); }
    void selectTab(int tab) { GetParam().selectTab(windows, tab); }
    std::string caption() { return GetParam().frame(windows).caption(); }

    Windows windows;
};

TEST_P(ProfileEditingTest, TabChangeSavesTheShownProfileAndLoadsTheNewOne)
{
    stored(7) = storedProfile("9", "2", "12", "4");
    selectTab(2);
    station().SSID.setText("5");
    ASSERT_TRUE(station().Path[0].setListIndex(3));

    selectTab(6);
    EXPECT_EQ(stored(3).SSID, "5");
    EXPECT_EQ(stored(3).Path[0], "3");
    EXPECT_EQ(caption(), "Profile #7 Settings");
    EXPECT_EQ(windows.profiles.previousProfile, 3);
    EXPECT_EQ(GetParam().tabs(windows).selectedIndex(), 6);
    EXPECT_EQ(station().SSID.text(), "9");
    EXPECT_EQ(station().Path[0].listIndex(), 2);
    EXPECT_EQ(station().TmrMin.text(), "12");
    EXPECT_EQ(station().TxDelay.listIndex(), 4);
    EXPECT_EQ(stored(7), storedProfile("9", "2", "12", "4"));

    selectTab(2);
    EXPECT_EQ(station().SSID.text(), "5");
    EXPECT_EQ(station().Path[0].listIndex(), 3);
    EXPECT_EQ(caption(), "Profile #3 Settings");
    EXPECT_EQ(windows.profiles.previousProfile, 7);
}

TEST_P(ProfileEditingTest, CopyingTheShownProfileStoresItThenCopiesItsEntry)
{
    const Mode mode = std::string(GetParam().name) == "Nmea" ? Mode::Nmea : Mode::Tracking;
    const Mode other = mode == Mode::Nmea ? Mode::Tracking : Mode::Nmea;
    stored(4) = storedProfile("4", "1", "0", "2");
    selectTab(2);
    station().SSID.setText("5");
    ASSERT_TRUE(station().Path[2].setListIndex(3));
    const ProfileStore otherStore = other == Mode::Nmea ? windows.nmea.store : windows.tracking.store;

    // The shown profile, numbers outside 1 to 10 and repeats are passed over.
    EXPECT_EQ(copyShownProfile(windows, mode, {5, 3, 0, 11, 1, 5, -2}), (std::vector<int>{1, 5}));
    EXPECT_EQ(stored(3).SSID, "5");
    EXPECT_EQ(stored(3).Path[2], "3");
    EXPECT_EQ(stored(1), stored(3));
    EXPECT_EQ(stored(5), stored(3));
    EXPECT_EQ(stored(4), storedProfile("4", "1", "0", "2"));
    for (int profile = 1; profile <= kProfileCount; ++profile)
        EXPECT_EQ((other == Mode::Nmea ? windows.nmea.store : windows.tracking.store).entry(profile),
                  otherStore.entry(profile));
    EXPECT_EQ(GetParam().tabs(windows).selectedIndex(), 2);

    // A copy shows as the profile it became.
    selectTab(4);
    EXPECT_EQ(station().SSID.text(), "5");
    EXPECT_EQ(station().Path[2].listIndex(), 3);

    // Only the two profile windows have profiles to copy.
    for (const Mode plain : {Mode::Telemetry, Mode::Beacon, Mode::Alarm})
        EXPECT_TRUE(copyShownProfile(windows, plain, {1, 2}).empty());
}

TEST_P(ProfileEditingTest, SkipProfileSaveLeavesTheStoreAndEndsCleared)
{
    selectTab(2);
    stored(3) = storedProfile("4", "1", "0", "2");
    stored(10) = storedProfile("11", "8", "3", "15");
    station().SSID.setText("5");
    windows.profiles.skipProfileSave = true;

    selectTab(9);
    EXPECT_EQ(stored(3), storedProfile("4", "1", "0", "2"));
    EXPECT_FALSE(windows.profiles.skipProfileSave);
    EXPECT_EQ(windows.profiles.previousProfile, 3);
    EXPECT_EQ(caption(), "Profile #10 Settings");
    EXPECT_EQ(station().SSID.text(), "11");
    EXPECT_EQ(station().Path[0].listIndex(), 8);
    EXPECT_EQ(station().TxDelay.listIndex(), 15);
}

TEST_P(ProfileEditingTest, SelectingTheSelectedTabRunsNothing)
{
    station().SSID.setText("5");
    windows.profiles.skipProfileSave = true;
    windows.profiles.previousProfile = 4;

    selectTab(0);
    EXPECT_EQ(caption(), "Profile # Settings");
    EXPECT_EQ(stored(1), ProfileEntry{});
    EXPECT_EQ(station().SSID.text(), "5");
    EXPECT_TRUE(windows.profiles.skipProfileSave);
    EXPECT_EQ(windows.profiles.previousProfile, 4);
}

TEST_P(ProfileEditingTest, TabChangeOfOneWindowLeavesTheOtherWindowAlone)
{
    const ProfileWindow& other = std::string(GetParam().name) == "Nmea" ? kTracking : kNmea;
    other.station(windows).SSID.setText("3");
    selectTab(4);
    EXPECT_EQ(other.store(windows).entry(1), ProfileEntry{});
    EXPECT_EQ(other.tabs(windows).selectedIndex(), 0);
    EXPECT_EQ(other.frame(windows).caption(), "Profile # Settings");
    EXPECT_EQ(other.station(windows).SSID.text(), "3");
}

TEST_P(ProfileEditingTest, SavingWritesTheStoreTexts)
{
    GetParam().tabs(windows).setSelectedIndex(4);
    station().SSID.setText(" 7");
    ASSERT_TRUE(station().Path[0].setListIndex(5));
    ASSERT_TRUE(station().Path[1].setListIndex(0));
    ASSERT_TRUE(station().Path[2].setListIndex(-1));
    ASSERT_TRUE(station().Path[3].setListIndex(8));
    station().TmrMin.setText("05");
    station().TmrSec.setText(" ");
    ASSERT_TRUE(station().TxDelay.setListIndex(15));
    ASSERT_TRUE(station().TxTail.setListIndex(-1));

    GetParam().saveCurrent(windows);
    const ProfileEntry& entry = stored(5);
    EXPECT_EQ(entry.SSID, " 7");
    EXPECT_EQ(entry.Path, (std::array<std::string, 4>{"5", "0", "-1", "8"}));
    EXPECT_EQ(entry.TmrMin, "05");
    EXPECT_EQ(entry.TmrSec, "0");
    EXPECT_EQ(entry.TxDelay, "15");
    EXPECT_EQ(entry.TxTail, "-1");
    for (int profile : {1, 4, 6, 10})
        EXPECT_EQ(stored(profile), ProfileEntry{}) << "profile " << profile;
}

TEST_P(ProfileEditingTest, TimersWhoseNumberValueIsZeroAreStoredAsZero)
{
    for (const std::string text : {"", " ", "00", "0 ", "x"}) {
        SCOPED_TRACE("timer \"" + text + "\"");
        station().TmrMin.setText(text);
        station().TmrSec.setText(text);
        GetParam().saveCurrent(windows);
        EXPECT_EQ(stored(1).TmrMin, "0");
        EXPECT_EQ(stored(1).TmrSec, "0");
    }
    for (const std::string text : {"1", "07", " 9", "59"}) {
        SCOPED_TRACE("timer \"" + text + "\"");
        station().TmrSec.setText(text);
        GetParam().saveCurrent(windows);
        EXPECT_EQ(stored(1).TmrSec, text);
    }
}

struct PathLoadCase
{
    std::string stored;
    int index;
};

TEST_P(ProfileEditingTest, LoadingSelectsTheStoredPathPositions)
{
    const PathLoadCase cases[] = {{"0", 0}, {"3", 3}, {"8", 8}, {" 2 ", 2}, {"", 0}, {"-1", -1}, {"9", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE("path \"" + c.stored + "\"");
        for (auto& path : stored(1).Path)
            path = c.stored;
        GetParam().load(windows);
        for (const PickList& path : station().Path)
            EXPECT_EQ(path.listIndex(), c.index) << path.name();
    }
}

struct DelayLoadCase
{
    std::string stored;
    bool baud300;
    int index;
};

TEST_P(ProfileEditingTest, LoadingSelectsTheStoredDelayAndTailPositions)
{
    const DelayLoadCase cases[] = {
        {"-1", false, 0},  {"-1", true, 0},  {"", false, 0},   {"-5", true, 0},   {"3", false, 3},  {"3", true, 3},
        {"15", false, 15}, {"15", true, 14}, {"14", true, 14}, {"99", false, 15}, {"99", true, 14}, {"0", true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("stored \"" + c.stored + "\" at " + (c.baud300 ? "300" : "1200") + " baud");
        rebuildTxLists(windows, c.baud300, 7, 7);
        stored(1).TxDelay = c.stored;
        stored(1).TxTail = c.stored;
        GetParam().load(windows);
        EXPECT_EQ(station().TxDelay.listIndex(), c.index);
        EXPECT_EQ(station().TxTail.listIndex(), c.index);
    }
}

TEST_P(ProfileEditingTest, LoadingClearsSkipProfileSaveAndKeepsTimersAsStored)
{
    stored(1) = storedProfile("", "0", "05", "0");
    stored(1).TmrSec = "7";
    windows.profiles.skipProfileSave = true;
    GetParam().load(windows);
    EXPECT_FALSE(windows.profiles.skipProfileSave);
    EXPECT_EQ(station().TmrMin.text(), "05");
    EXPECT_EQ(station().TmrSec.text(), "7");
}

INSTANTIATE_TEST_SUITE_P(Windows, ProfileEditingTest, testing::Values(kNmea, kTracking),
                         [](const testing::TestParamInfo<ProfileWindow>& paramInfo) {
                             return std::string(paramInfo.param.name);
                         });

struct SsidLoadCase
{
    std::string stored;
    std::string nmea;
    std::string tracking;
};

TEST(ProfileSsidLoadTest, NmeaShowsTheStoredTextTrackingHidesZero)
{
    const SsidLoadCase cases[] = {
        {"0", "0", ""},     {" 7 ", " 7 ", "7"}, {"", "", ""},          {"00", "00", ""},
        {"12", "12", "12"}, {" ", " ", ""},      {"123", "123", "123"},
    };
    Windows windows;
    fillLists(windows, false);
    for (const auto& c : cases) {
        SCOPED_TRACE("stored \"" + c.stored + "\"");
        windows.nmea.store.entry(1).SSID = c.stored;
        windows.tracking.store.entry(1).SSID = c.stored;
        showNmeaProfile(windows);
        showTrackingProfile(windows);
        EXPECT_EQ(windows.nmea.station.SSID.text(), c.nmea);
        EXPECT_EQ(windows.tracking.station.SSID.text(), c.tracking);
    }
}

struct SymbolCase
{
    std::string symbol;
    bool sendComments;
    std::string stored;
};

TEST(SymbolEntryTest, CarriesSendCommentsInBitSeven)
{
    const SymbolCase cases[] = {
        {"/", true, "\xAF"},
        {"/", false, "/"},
        {"", true, "\x80"},
        {"", false, std::string(1, '\0')},
        {" ", true, "\xA0"},
        {" ", false, " "},
        {">", true, "\xBE"},
        {"\xAF", false, "/"},
        {"\xAF", true, "\xAF"},
        {"ab", false, "ab"},
        {"ab", true,
         "\xE1"
         "b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("symbol \"" + c.symbol + "\"" + (c.sendComments ? " with" : " without") + " Send Comments");
        EXPECT_EQ(symbolEntry(c.symbol, c.sendComments), c.stored);
    }
}

struct SymbolLoadCase
{
    std::string stored;
    std::string symbol;
    int sendComments;
};

TEST(TrackingSymbolTest, LoadingSplitsTheStoredSymbol)
{
    const SymbolLoadCase cases[] = {
        {"\x80", "", 1},
        {"\xAF", "/", 1},
        {std::string(1, '\0'), "", 0},
        {"", "", 0},
        {">", ">", 0},
        {"\xA0", " ", 1},
        {"ab", "ab", 0},
        {"\xE1"
         "bc",
         "abc", 1},
    };
    Windows windows;
    fillLists(windows, false);
    for (const auto& c : cases) {
        SCOPED_TRACE("stored code " + std::to_string(c.stored.empty() ? -1 : static_cast<unsigned char>(c.stored[0])));
        windows.tracking.TrkSymbol.setText("X");
        windows.tracking.TrkSendComments.setValue(1 - c.sendComments);
        windows.tracking.store.entry(1).Symbol = c.stored;
        showTrackingProfile(windows);
        EXPECT_EQ(windows.tracking.TrkSymbol.text(), c.symbol);
        EXPECT_EQ(windows.tracking.TrkSendComments.value(), c.sendComments);
    }
}

TEST(TrackingSymbolTest, TabChangeCarriesSymbolAndSendCommentsPerProfile)
{
    Windows windows;
    fillLists(windows, false);
    TrackingForm& form = windows.tracking;
    form.store.entry(4).Symbol = ">";
    form.TrkSymbol.setText("/");
    form.TrkSendComments.setValue(1);

    selectTrackingProfileTab(windows, 3);
    EXPECT_EQ(form.store.entry(1).Symbol, "\xAF");
    EXPECT_EQ(form.TrkSymbol.text(), ">");
    EXPECT_EQ(form.TrkSendComments.value(), 0);

    selectTrackingProfileTab(windows, 0);
    EXPECT_EQ(form.store.entry(4).Symbol, ">");
    EXPECT_EQ(form.TrkSymbol.text(), "/");
    EXPECT_EQ(form.TrkSendComments.value(), 1);
}

} // namespace
} // namespace qm::forms
