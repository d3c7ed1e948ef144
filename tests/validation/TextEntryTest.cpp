// What a field takes when text enters it: the typing filter, control characters and line breaks, the limit
// counted with the selection replaced, and what a refusal reports.
#include "validation/TextEntry.h"

#include "validation/CheckWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace qm::validation
{
namespace
{

using forms::Windows;

struct Case
{
    const char* what;
    const char* control;
    std::string current;
    std::size_t start;
    std::size_t end;
    std::u32string offered;
    std::string text;
    std::size_t cursor;
    Refusal refusal;
};

std::string repeated(std::size_t n, char c = 'A')
{
    return std::string(n, c);
}

TEST(TextEntryTest, TheOfferedTextPassesTheFilterAndTheLimitInPlaceOfTheSelection)
{
    using enum Refusal;
    const std::string a75 = repeated(75);
    const std::string a74 = repeated(74);
    const Case cases[] = {
        {"typed at the end", "TrkMyCall", "N0CAL", 5, 5, U"l", "N0CALL", 6, None},
        {"typed in the middle", "TrkComments", "Hello world", 6, 6, U"big ", "Hello big world", 10, None},
        {"a selection replaced", "TrkComments", "Hello world", 6, 11, U"there", "Hello there", 11, None},
        {"a paste cut at the limit", "TrkMyCall", "", 0, 0, U"k1ab-c7", "K1AB-C", 6, Limit},
        {"the selection makes room", "TrkMyCall", "N0CALL", 1, 3, U"xyz", "NXYALL", 3, Limit},
        {"a full field takes nothing", "TrkMyCall", "N0CALL", 6, 6, U"x", "N0CALL", 6, Limit},
        {"the filter drops what it refuses", "BcnTmrSec", "", 0, 0, U"x5-y", "5", 1, Character},
        {"nothing entered keeps the selection", "TrkSSID", "12", 0, 2, U"x", "12", 0, Character},
        {"an empty offer deletes", "TrkSSID", "12", 0, 1, U"", "2", 0, None},
        {"a selection past the end", "TrkSSID", "1", 5, 9, U"2", "12", 2, None},
        {"outside Latin-1", "TrkComments", "ab", 2, 2, U"\u20AC", "ab", 2, Character},
        {"control characters dropped", "TrkComments", "", 0, 0, U"a\tb\x7F\x80\x9F\u00A0\u00E9", "ab\xA0\xE9", 4,
         ControlCharacter},
        {"a line break in one line", "TrkComments", "ab", 2, 2, U"c\r\nd", "abcd", 4, ControlCharacter},
        {"line breaks any way", "BcnMsgText", "", 0, 0, U"a\r\nb\n\rc\rd\ne", "a\r\nb\r\nc\r\nd\r\ne", 13, None},
        {"paragraph and line separators", "BcnMsgText", "x", 1, 1, U"\u2028\u2029", "x\r\n\r\n", 5, None},
        {"LF CR LF is two line ends", "BcnMsgText", "", 0, 0, U"\n\r\n", "\r\n\r\n", 4, None},
        {"CR CR is two line ends", "BcnMsgText", "", 0, 0, U"\r\r", "\r\n\r\n", 4, None},
        {"a line end costs two", "BcnMsgText", a75, 75, 75, U"\r", a75, 75, Limit},
        {"a line end that fits", "BcnMsgText", a74, 74, 74, U"\rx", a74 + "\r\n", 76, Limit},
        {"nothing after a line end cut", "BcnMsgText", a74, 74, 74, U"x\ry", a74 + "x", 75, Limit},
        {"replacing a line end", "BcnMsgText", a74 + "\r\n", 74, 76, U"xy", a74 + "xy", 76, None},
        {"a loaded longer text takes nothing", "BcnMsgText", repeated(80), 0, 3, U"Q", repeated(80), 0, Limit},
        {"a loaded longer text shortens", "BcnMsgText", repeated(80), 0, 3, U"", repeated(77), 0, None},
        {"a list without limit", "AlmToCall", "AP", 2, 2, std::u32string(30, U'z'), "AP" + repeated(30, 'Z'), 32, None},
        {"a data header takes any case", "GpsString1", "", 0, 0, U"$gpRMC", "$gpRMC", 6, None},
    };
    for (const Case& c : cases) {
        Windows w;
        const EnteredText entered = enterText(w, c.control, c.current, {c.start, c.end, c.offered});
        EXPECT_EQ(entered.text, c.text) << c.what;
        EXPECT_EQ(entered.cursor, c.cursor) << c.what;
        EXPECT_EQ(entered.refusal, c.refusal) << c.what;
    }
}

TEST(TextEntryTest, ARefusalNamesTheFirstCharacterRefusedOrTheLengthWanted)
{
    // The offer, the refusal, the character refused, the stored length everything taken would have had.
    const std::tuple<const char*, std::u32string, Refusal, char32_t, std::size_t> cases[] = {
        {"TrkSSID", U"1x2y", Refusal::Character, U'x', 2},
        {"TrkMyCall", U"n\u20AC\t", Refusal::Character, 0x20AC, 1},
        {"TrkMyCall", U"n\t\u20AC", Refusal::ControlCharacter, U'\t', 1},
        {"TrkMyCall", U"n0callxx", Refusal::Limit, 0, 8},
        {"BcnMsgText", std::u32string(75, U'a') + U"\n", Refusal::Limit, 0, 77},
        {"TrkComments", U"ok", Refusal::None, 0, 2},
    };
    for (const auto& [control, offered, refusal, refused, wanted] : cases) {
        Windows w;
        const EnteredText entered = enterText(w, control, "", {0, 0, offered});
        EXPECT_EQ(entered.refusal, refusal) << control;
        EXPECT_EQ(entered.refused, refused) << control;
        EXPECT_EQ(entered.wanted, wanted) << control;
    }
}

TEST(TextEntryTest, ADigitEnteredAsATerminationCharacterSelectsTheUserDefinedOption)
{
    // The field's text, the offer, whether the user-defined option is chosen afterwards.
    const std::tuple<std::string, std::u32string, bool> cases[] = {
        {"", U"7", true},
        {"", U" ", false},
        {"", U"x", false},
        // The filter takes the digit before the limit refuses it.
        {"123", U"4", true},
    };
    for (const auto& [current, offered, chosen] : cases) {
        Windows w;
        w.telemetry.TelTxOn.setValue(0, true);
        enterText(w, "TelUserTrigChar", current, {current.size(), current.size(), offered});
        EXPECT_EQ(w.telemetry.TelTxOn.value(forms::kUserDefined), chosen) << current;
    }
}

TEST(TextEntryTest, TheFieldModelSaysWhichFieldKeepsLineEnds)
{
    Windows w;
    EXPECT_TRUE(w.beacon.BcnMsgText.multiLine());
    for (const forms::TextField* single : {&w.tracking.TrkComments, &w.alarm.AlarmMsgText[0], &w.beacon.station.MyCall})
        EXPECT_FALSE(single->multiLine()) << single->name();
    EXPECT_EQ(w.beacon.BcnMsgText.maxLength(), 76u);
}

} // namespace
} // namespace qm::validation
