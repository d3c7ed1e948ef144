// Tests of the number reading of field texts, rounding, range checks and number formatting.
#include "forms/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace qm::forms
{
namespace
{

struct ReadCase
{
    std::string text;
    double value;
};

TEST(NumberValueTest, ReadsTheLeadingDecimalNumber)
{
    const ReadCase cases[] = {
        {"", 0},       {" ", 0},      {"12", 12},      {"1 5", 15},    {" 1 2 . 5 ", 12.5}, {"12abc", 12},  {"-3", -3},
        {"+4", 4},     {"- 5", -5},   {"2.5", 2.5},    {".5", 0.5},    {"-.5", -0.5},       {"5.", 5},      {"007", 7},
        {"1e3", 1000}, {"1E3", 1000}, {"1 e 3", 1000}, {"2e-1", 0.2},  {"1e+2", 100},       {"1e", 1},      {"1e+", 1},
        {"1e-", 1},    {"1ex", 1},    {"1e2.5", 100},  {"1.2.3", 1.2}, {"1,5", 1},          {"1-2", 1},     {"abc", 0},
        {".", 0},      {"-", 0},      {"+", 0},        {"-.", 0},      {"--5", 0},          {"+-5", 0},     {"e5", 0},
        {".e5", 0},    {"0x10", 0},   {"x5", 0},       {"1e-999", 0},  {"255", 255},        {"63.5", 63.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        EXPECT_EQ(numberValue(c.text), c.value);
    }
}

TEST(NumberValueTest, StopsAtAZeroByte)
{
    EXPECT_EQ(numberValue(std::string{'1', '2', '\0', '3', '4'}), 12);
}

TEST(NumberValueTest, HugeNumbersReadAsHugeValuesThatNoRangeAccepts)
{
    const std::string manyDigits = "1" + std::string(400, '0');
    for (const std::string text : {"1e999", "9e99999", manyDigits.c_str()}) {
        SCOPED_TRACE(text);
        EXPECT_GE(numberValue(text), 1e300);
        EXPECT_EQ(wholeNumberIn(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()), std::nullopt);
    }
    EXPECT_LE(numberValue("-1e999"), -1e300);
    EXPECT_EQ(wholeNumberIn("-1e999", std::numeric_limits<int>::min(), 0), std::nullopt);
}

TEST(NumberValueTest, TinyNumbersWrittenOutInFullReadAsNearlyZero)
{
    const std::string tiny = "0." + std::string(400, '0') + "1";
    for (const std::string& text : {tiny, "-" + tiny, std::string("1e-400")}) {
        SCOPED_TRACE(text.substr(0, 8) + "...");
        EXPECT_LE(std::abs(numberValue(text)), 1e-300);
        EXPECT_EQ(wholeNumberIn(text, 0, 15), 0);
    }
}

TEST(RoundHalfEvenTest, RoundsHalvesToTheEvenNeighbour)
{
    const std::pair<double, double> cases[] = {
        {0.5, 0},    {1.5, 2}, {2.5, 2},  {3.5, 4},   {127.5, 128}, {126.5, 126}, {2.4999, 2},
        {2.5001, 3}, {0.4, 0}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},   {-2.6, -3},   {7, 7},
    };
    for (const auto& [value, rounded] : cases) {
        SCOPED_TRACE(value);
        EXPECT_EQ(roundHalfEven(value), rounded);
    }
}

struct RangeCase
{
    std::string text;
    int low;
    int high;
    std::optional<int> result;
};

TEST(WholeNumberInTest, RoundsThenChecksTheRange)
{
    const RangeCase cases[] = {
        {"15", 1, 15, 15},
        {"1", 1, 15, 1},
        {"16", 1, 15, std::nullopt},
        {"0", 1, 15, std::nullopt},
        {"", 0, 255, 0},
        {"", 1, 15, std::nullopt},
        {"0.5", 1, 15, std::nullopt},
        {"1.5", 1, 15, 2},
        {"15.5", 0, 15, std::nullopt},
        {"14.5", 0, 15, 14},
        {"254.5", 0, 255, 254},
        {"255.5", 0, 255, std::nullopt},
        {"-0.4", 0, 255, 0},
        {"-1", 0, 255, std::nullopt},
        {"-1", -1, 8, -1},
        {"1 2", 0, 15, 12},
        {"127.5", 0, 127, std::nullopt},
        {"4080", 0, 4080, 4080},
        {"4081", 0, 4080, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\" in " + std::to_string(c.low) + ".." + std::to_string(c.high));
        EXPECT_EQ(wholeNumberIn(c.text, c.low, c.high), c.result);
    }
}

TEST(WholeNumberInTest, RefusesValuesThatAreNotFinite)
{
    EXPECT_EQ(wholeNumberIn(std::numeric_limits<double>::infinity(), 0, 255), std::nullopt);
    EXPECT_EQ(wholeNumberIn(-std::numeric_limits<double>::infinity(), -10, 255), std::nullopt);
    EXPECT_EQ(wholeNumberIn(std::nan(""), 0, 255), std::nullopt);
    EXPECT_EQ(wholeNumberIn(std::numeric_limits<double>::max(), 0, std::numeric_limits<int>::max()), std::nullopt);
}

TEST(FormatNumberTest, WritesPlainDecimalWithAPoint)
{
    const std::pair<double, std::string> cases[] = {
        {5, "5"},           {-1, "-1"},       {2.5, "2.5"},         {0, "0"},
        {-0.0, "0"},        {1000, "1000"},   {4080, "4080"},       {255, "255"},
        {127.5, "127.5"},   {63.5, "63.5"},   {0.5, "0.5"},         {-2.5, "-2.5"},
        {10000, "10000"},   {65535, "65535"}, {1000000, "1000000"}, {-200000, "-200000"},
        {0.0001, "0.0001"},
    };
    for (const auto& [value, text] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(formatNumber(value), text);
    }
}

} // namespace
} // namespace qm::forms
