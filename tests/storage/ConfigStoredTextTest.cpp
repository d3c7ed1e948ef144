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
    forms::storeShownNmeaProfile(w);
    forms::storeShownTrackingProfile(w);
    return configurationLines(w, mode);
}

/// Saves the loaded windows, loads that file and saves again: the two saves must be the same.
void expectStableRoundTrip(const forms::Windows& loaded, Mode mode)
{
    const Lines first = saved(loaded, mode);
    forms::Windows again = test::filledWindows();
    ASSERT_EQ(loadConfiguration(mode, again, splitLines(joinLines(first)), test::kDefaults), std::nullopt);
    EXPECT_EQ(saved(again, mode), first);
}

struct StoredRow
{
    std::size_t line;
    std::string text;
    std::string stored;
};

TEST(ConfigStoredTextTest, ProfileValuesAreKeptWholeAndLoadToTheSameStoreWhenSaved)
{
    const StoredRow rows[] = {
        {73, std::string(".8\xFC"), "0.8"},
        {33, "0.8", "0.8"},
        {33, "1.5", "1.5"},
        {33, "-0.5", "-0.5"},
        {33, "15", "15"},
        {33, "123", "123"},
        {33, "0.0", ""},
        {39, " 0.5", " 0.5"},
        {39, "0.5", "0.5"},
        {39, "1x", "1x"},
        {39, "075", "075"},
        {39, " 0 ", "0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        Lines lines = configurationLines(test::filledWindows(), Mode::Tracking);
        lines[row.line] = row.text;
        forms::Windows loaded = test::filledWindows();
        ASSERT_EQ(loadConfiguration(Mode::Tracking, loaded, lines, test::kDefaults), std::nullopt);
        const int profile = static_cast<int>((row.line - 13) / 10) + 1;
        const forms::ProfileEntry& entry = loaded.tracking.store.entry(profile);
        EXPECT_EQ(row.line % 10 == 3 ? entry.SSID : entry.TmrMin, row.stored);
        expectStableRoundTrip(loaded, Mode::Tracking);
    }
}

TEST(ConfigStoredTextTest, WindowTimerAndSsidKeepTheWholeLine)
{
    const StoredRow rows[] = {
        {19, std::string(24, ' ') + "1" + std::string(12, ' '), std::string(24, ' ') + "1" + std::string(12, ' ')},
        {18, "   1", "   1"},
        {18, "0.5", "0.5"},
        {18, "100", "100"},
        {18, "  ", "0"},
        {8, "  5", "  5"},
        {8, "15", "15"},
        {8, "123", "123"},
        {8, " 0 ", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        Lines lines = configurationLines(test::filledWindows(), Mode::Beacon);
        lines[row.line] = row.text;
        forms::Windows loaded = test::filledWindows();
        ASSERT_EQ(loadConfiguration(Mode::Beacon, loaded, lines, test::kDefaults), std::nullopt);
        const auto& station = loaded.beacon.station;
        EXPECT_EQ(row.line == 8    ? station.SSID.text()
                  : row.line == 18 ? station.TmrMin.text()
                                   : station.TmrSec.text(),
                  row.stored);
        expectStableRoundTrip(loaded, Mode::Beacon);
    }
}

TEST(ConfigStoredTextTest, BeaconTextLongerThanItsLimitLoadsWholeAndStaysSo)
{
    Lines lines = configurationLines(test::filledWindows(), Mode::Beacon);
    lines.back() = "      " + std::string(69, '\xFF');
    lines.push_back("\x0CUE");
    forms::Windows loaded = test::filledWindows();
    ASSERT_EQ(loadConfiguration(Mode::Beacon, loaded, lines, test::kDefaults), std::nullopt);
    EXPECT_EQ(loaded.beacon.BcnMsgText.text(), "      " + std::string(69, '\xFF') + "\r\n\x0CUE");
    expectStableRoundTrip(loaded, Mode::Beacon);
}

} // namespace
} // namespace qm::storage
