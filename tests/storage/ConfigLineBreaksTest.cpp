#include "storage/ConfigFile.h"

#include "ConfigTestWindows.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace qm::storage
{
namespace
{

using forms::Mode;

struct LineBreakRow
{
    std::string name;
    Mode mode;
    std::function<void(forms::Windows&)> set;
    std::size_t line;
    std::string saved;
};

TEST(ConfigLineBreaksTest, LineBreakInSingleLineValueIsSavedAsSpaceAndKeepsTheLayout)
{
    const LineBreakRow rows[] = {
        {"callsign", Mode::Telemetry, [](forms::Windows& w) { forms::setMyCall(w, "AB\nC"); }, 7, "AB C"},
        {"callsign ending in CR", Mode::Beacon, [](forms::Windows& w) { forms::setMyCall(w, "ABC\r"); }, 7, "ABC"},
        {"tracking symbol", Mode::Tracking, [](forms::Windows& w) { w.tracking.store.entry(3).Symbol = "\n"; }, 38,
         " "},
        {"tracking comment", Mode::Tracking, [](forms::Windows& w) { w.tracking.TrkComments.setText("A\r\nB"); }, 116,
         "A  B"},
        {"alarm message", Mode::Alarm, [](forms::Windows& w) { w.alarm.AlarmMsgText[1].setText("\nX"); }, 29, " X"},
        {"data header", Mode::Nmea, [](forms::Windows& w) { w.main.GpsString[0].setText("$GP\rGGA"); }, 107, "$GP GGA"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        forms::Windows w = test::filledWindows();
        row.set(w);
        const auto lines = configurationLines(w, row.mode);
        EXPECT_EQ(lines.at(row.line), row.saved);
        EXPECT_EQ(splitLines(joinLines(lines)), lines);
    }
}

TEST(ConfigLineBreaksTest, BeaconTextKeepsItsLineBreaks)
{
    forms::Windows w = test::filledWindows();
    w.beacon.BcnMsgText.setText("first\r\nsecond");
    const auto lines = configurationLines(w, Mode::Beacon);
    EXPECT_EQ(lines.back(), "first\r\nsecond");
}

} // namespace
} // namespace qm::storage
