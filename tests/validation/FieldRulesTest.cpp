// The typing filters, the termination-character option switch and the choice of an empty special path.
#include "validation/FieldRules.h"

#include "forms/PickLists.h"
#include "validation/CheckWindows.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qm::validation
{
namespace
{

using forms::Windows;

TEST(TypingFilterTest, EachFieldKindHasItsFilter)
{
    const std::pair<const char*, TypingFilter> cases[] = {
        {"TelMySSID", TypingFilter::Digits},
        {"AlmMySSID", TypingFilter::Digits},
        {"NMEASSID", TypingFilter::Digits},
        {"TrkSSID", TypingFilter::Digits},
        {"BcnTmrMin", TypingFilter::Digits},
        {"NMEATmrSec", TypingFilter::Digits},
        {"AlmTxCntrLimit", TypingFilter::Digits},
        {"AlmArmDelay", TypingFilter::Digits},
        {"TelUserTrigChar", TypingFilter::TerminationValue},
        {"NMEAUserTrigChar", TypingFilter::TerminationValue},
        {"TrkMyCall", TypingFilter::Callsign},
        {"AlmToCall", TypingFilter::Callsign},
        {"NMEASpecPath1", TypingFilter::Callsign},
        {"BcnSpecPath4", TypingFilter::Callsign},
        {"BcnMsgText", TypingFilter::Text},
        {"AlarmMsgText1", TypingFilter::Text},
        {"TrkSymbol", TypingFilter::Text},
        {"TrkComments", TypingFilter::Text},
        {"TrkPrefix", TypingFilter::Text},
        {"GpsString1", TypingFilter::Text},
        {"TelSpecPath5", TypingFilter::Text},
        {"MyCall", TypingFilter::Text},
    };
    for (const auto& [control, filter] : cases)
        EXPECT_EQ(typingFilter(control), filter) << control;
}

struct KeyCase
{
    TypingFilter filter;
    char32_t key;
    std::optional<char> entered;
};

TEST(TypingFilterTest, FiltersKeys)
{
    const KeyCase cases[] = {
        {TypingFilter::Callsign, U'a', 'A'},
        {TypingFilter::Callsign, U'z', 'Z'},
        {TypingFilter::Callsign, U'-', '-'},
        {TypingFilter::Callsign, U'~', '~'},
        {TypingFilter::Callsign, U' ', ' '},
        {TypingFilter::Callsign, 8, '\b'},
        {TypingFilter::Callsign, U'\t', std::nullopt},
        {TypingFilter::Callsign, 0x7F, '\x7F'},
        {TypingFilter::Callsign, 0xE9, std::nullopt},
        {TypingFilter::Callsign, 0x20AC, std::nullopt},
        {TypingFilter::Digits, U'x', std::nullopt},
        {TypingFilter::Digits, U'-', std::nullopt},
        {TypingFilter::Digits, U' ', ' '},
        {TypingFilter::Digits, 8, '\b'},
        {TypingFilter::Digits, 0x7F, '\x7F'},
        {TypingFilter::Digits, U'0', '0'},
        {TypingFilter::Digits, U'9', '9'},
        {TypingFilter::Digits, 0x0660, std::nullopt},
        {TypingFilter::TerminationValue, U'7', '7'},
        {TypingFilter::TerminationValue, U'a', std::nullopt},
        {TypingFilter::TerminationValue, 0x7F, '\x7F'},
        {TypingFilter::Text, U'a', 'a'},
        {TypingFilter::Text, 0xE9, '\xE9'},
        {TypingFilter::Text, 0xFF, '\xFF'},
        {TypingFilter::Text, 0x100, std::nullopt},
        {TypingFilter::Text, 0x2019, std::nullopt},
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(filterKey(c.filter, c.key), c.entered)
            << static_cast<int>(c.filter) << " " << static_cast<unsigned>(c.key);
}

struct TerminationKeyCase
{
    char32_t key;
    std::optional<char> entered;
    int optionAfter;
};

TEST(KeyPressTest, ADigitInTheTerminationValueSelectsTheUserOption)
{
    const TerminationKeyCase cases[] = {
        {U'7', '7', forms::kUserDefined},    {U'0', '0', forms::kUserDefined},
        {8, '\b', forms::kCarriageReturn},   {0x7F, '\x7F', forms::kCarriageReturn},
        {U' ', ' ', forms::kCarriageReturn}, {U'x', std::nullopt, forms::kCarriageReturn},
    };
    for (const TerminationKeyCase& c : cases) {
        Windows windows = validWindows();
        windows.telemetry.TelTxOn.setValue(forms::kCarriageReturn, true);
        windows.nmea.NMEATxOn.setValue(forms::kLineFeed, true);
        EXPECT_EQ(keyTyped(windows, "TelUserTrigChar", c.key), c.entered);
        EXPECT_EQ(windows.telemetry.TelTxOn.selected(), c.optionAfter) << static_cast<unsigned>(c.key);
        EXPECT_EQ(windows.nmea.NMEATxOn.selected(), forms::kLineFeed);
        const int nmeaAfter = c.optionAfter == forms::kUserDefined ? forms::kUserDefined : forms::kLineFeed;
        EXPECT_EQ(keyTyped(windows, "NMEAUserTrigChar", c.key), c.entered);
        EXPECT_EQ(windows.nmea.NMEATxOn.selected(), nmeaAfter) << static_cast<unsigned>(c.key);
    }
}

TEST(KeyPressTest, DigitsElsewhereLeaveTheTerminationOptionAlone)
{
    Windows windows = validWindows();
    windows.telemetry.TelTxOn.setValue(forms::kCarriageReturn, true);
    EXPECT_EQ(keyTyped(windows, "TelTmrMin", U'7'), '7');
    EXPECT_EQ(keyTyped(windows, "TelMySSID", U'7'), '7');
    EXPECT_EQ(windows.telemetry.TelTxOn.selected(), forms::kCarriageReturn);
}

TEST(PathClickTest, AnEmptySpecialPathSendsTheUserToItsField)
{
    Windows windows = validWindows();
    forms::StationControls& station = windows.tracking.station;
    station.Path[2].setListIndex(forms::specialPathEntry(2));
    EXPECT_EQ(pathChosen(station, 3), std::optional<std::string>("TrkSpecPath2"));
    EXPECT_EQ(station.Path[2].listIndex(), 0);
}

TEST(PathClickTest, ADefinedSpecialPathOrAPlainPathStaysSelected)
{
    Windows windows = validWindows();
    forms::StationControls& station = windows.telemetry.station;
    station.SpecPath[1].setText("WIDE3");
    forms::relabelSpecialPath(station, 2);
    station.Path[2].setListIndex(forms::specialPathEntry(2));
    EXPECT_EQ(pathChosen(station, 3), std::nullopt);
    EXPECT_EQ(station.Path[2].listIndex(), 6);
    station.Path[0].setListIndex(3);
    EXPECT_EQ(pathChosen(station, 1), std::nullopt);
    EXPECT_EQ(station.Path[0].listIndex(), 3);
    station.Path[3].setListIndex(forms::specialPathEntry(4));
    EXPECT_EQ(pathChosen(station, 4), std::optional<std::string>("TelSpecPath4"));
    EXPECT_EQ(station.Path[3].listIndex(), 0);
}

} // namespace
} // namespace qm::validation
