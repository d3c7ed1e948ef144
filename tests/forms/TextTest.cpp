#include "forms/Text.h"

#include <gtest/gtest.h>

namespace qm::forms
{
namespace
{

TEST(CodePointsTest, ReadsUtf8AndTakesAnythingElseByteByByte)
{
    struct Case
    {
        std::string text;
        std::u32string points;
    };
    const Case cases[] = {
        {"", U""},
        {"N0CALL", U"N0CALL"},
        {"Caf\xC3\xA9", U"Caf\u00E9"},
        {"\xE2\x82\xAC", U"\u20AC"},
        {"\xF0\x9F\x93\xA1", U"\U0001F4E1"},
        {"Caf\xE9", U"Caf\u00E9"},
        {"\xC3", U"\u00C3"},
        {"\xC0\xAF", U"\u00C0\u00AF"},
        {"\xED\xA0\x80", U"\u00ED\u00A0\u0080"},
        {"a\xC3\xA9\xFF", U"a\u00C3\u00A9\u00FF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(codePoints(c.text), c.points) << c.text;
}

} // namespace
} // namespace qm::forms
