#include "storage/ConfigFile.h"

#include "ConfigTestWindows.h"

#include <gtest/gtest.h>

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
    forms::SaveCurNMEAProfileToArray(w);
    forms::SaveCurTrkProfileToArray(w);
    return configurationLines(w, mode);
}

struct StoredRow
{
    std::size_t line;
    std::string text;
    std::string ssid;
    std::string timer;
};

TEST(ConfigStoredTextTest, ProfileValuesCutToTwoCharactersAreStoredAsTheyReadBack)
{
    const StoredRow rows[] = {
        {73, std::string(".8\xFC"), "", ""},
        {33, "0.8", "", ""},
        {33, "1.5", "1", ""},
        {33, "-0.5", "", ""},
        {33, "15", "15", ""},
        {39, " 0.5", "", "0"},
        {39, "0.5", "", "0"},
        {39, "1x", "", "1x"},
        {39, "075", "", "07"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        Lines lines = configurationLines(test::filledWindows(), Mode::Tracking);
        lines[row.line] = row.text;
        forms::Windows loaded = test::filledWindows();
        ASSERT_EQ(loadConfiguration(Mode::Tracking, loaded, lines, test::kDefaults), std::nullopt);
        const int profile = static_cast<int>((row.line - 13) / 10) + 1;
        if (row.line % 10 == 3)
            EXPECT_EQ(loaded.Form4.store.entry(profile).SSID, row.ssid);
        else
            EXPECT_EQ(loaded.Form4.store.entry(profile).TmrMin, row.timer);

        const Lines first = saved(loaded, Mode::Tracking);
        forms::Windows again = test::filledWindows();
        ASSERT_EQ(loadConfiguration(Mode::Tracking, again, splitLines(joinLines(first)), test::kDefaults),
                  std::nullopt);
        EXPECT_EQ(saved(again, Mode::Tracking), first);
    }
}

struct WindowRow
{
    std::size_t line;
    std::string text;
    std::string shown;
};

TEST(ConfigStoredTextTest, WindowTimerAndSsidAreDecidedOnTheTextTheFieldKeeps)
{
    const WindowRow rows[] = {
        {19, std::string(24, ' ') + "1" + std::string(12, ' '), "0"},
        {18, "   1", "0"},
        {18, "0.5", "0"},
        {18, "123", "12"},
        {8, "  5", ""},
        {8, "15", "15"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        Lines lines = configurationLines(test::filledWindows(), Mode::Beacon);
        lines[row.line] = row.text;
        forms::Windows loaded = test::filledWindows();
        ASSERT_EQ(loadConfiguration(Mode::Beacon, loaded, lines, test::kDefaults), std::nullopt);
        const auto& station = loaded.Form2.station;
        EXPECT_EQ(row.line == 8    ? station.SSID.text()
                  : row.line == 18 ? station.TmrMin.text()
                                   : station.TmrSec.text(),
                  row.shown);

        const Lines first = saved(loaded, Mode::Beacon);
        forms::Windows again = test::filledWindows();
        ASSERT_EQ(loadConfiguration(Mode::Beacon, again, splitLines(joinLines(first)), test::kDefaults), std::nullopt);
        EXPECT_EQ(saved(again, Mode::Beacon), first);
    }
}

TEST(ConfigStoredTextTest, BeaconTextCutInsideALineBreakLosesTheHalfBreak)
{
    Lines lines = configurationLines(test::filledWindows(), Mode::Beacon);
    lines.back() = "      " + std::string(69, '\xFF');
    lines.push_back("\x0CUE");
    forms::Windows loaded = test::filledWindows();
    ASSERT_EQ(loadConfiguration(Mode::Beacon, loaded, lines, test::kDefaults), std::nullopt);
    EXPECT_EQ(loaded.Form2.BcnMsgText.text(), "      " + std::string(69, '\xFF'));

    const Lines first = saved(loaded, Mode::Beacon);
    forms::Windows again = test::filledWindows();
    ASSERT_EQ(loadConfiguration(Mode::Beacon, again, splitLines(joinLines(first)), test::kDefaults), std::nullopt);
    EXPECT_EQ(saved(again, Mode::Beacon), first);
}

} // namespace
} // namespace qm::storage
