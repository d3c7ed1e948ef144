// The portable decimal conversions, used where the standard library lacks floating-point <charconv>, read and
// write exactly what the standard ones do, also under a locale whose decimal separator is a comma.
#include "forms/DecimalText.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

namespace qm::forms::decimal
{
namespace
{

const std::vector<std::string> kTexts = {"0",
                                         "-0",
                                         "5",
                                         "-1",
                                         "2.5",
                                         "0.1",
                                         "63.5",
                                         "1e3",
                                         "1e-3",
                                         "1e+2",
                                         "007",
                                         "5.",
                                         "-.5",
                                         "1e308",
                                         "1.8e308",
                                         "9e99999",
                                         "1e-310",
                                         "4.9e-324",
                                         "2e-324",
                                         "1e-999",
                                         "-1e999",
                                         "0.000",
                                         "123456789012345678901234567890",
                                         "2.2250738585072011e-308",
                                         "0.30000000000000004",
                                         "1" + std::string(400, '0')};

std::vector<double> sampleValues()
{
    std::vector<double> values = {
        0.1,    0.2,     0.3,  1.0 / 3, 2.0 / 3, 63.5,    127.5, 1e23, 1e22, 5e-324, 1e21,   9007199254740993.0,
        0.0001, 123.456, 1e-5, 1e300,   -2.5,    -1e-300, 4.0,   8.0,  0.5,  0.25,   1024.0, 1e-7,
        3.14159};
    std::mt19937_64 random(20261207);
    for (int i = 0; i < 20000; ++i) {
        const double value = std::bit_cast<double>(random());
        if (std::isfinite(value))
            values.push_back(value);
    }
    for (int i = 0; i < 2000; ++i)
        values.push_back(static_cast<double>(random() % 100000) / std::pow(10.0, static_cast<double>(random() % 8)));
    return values;
}

void expectPortableMatchesStandard()
{
    for (const std::string& text : kTexts) {
        const Reading standard = read(text);
        const Reading portable = readPortable(text);
        EXPECT_EQ(portable.outOfRange, standard.outOfRange) << text;
        EXPECT_EQ(portable.value, standard.value) << text;
    }
    for (const double value : sampleValues()) {
        const std::string text = writeFixedPortable(value);
        ASSERT_EQ(text, writeFixed(value)) << std::hexfloat << value;
        ASSERT_EQ(readPortable(text).value, value) << text;
    }
}

TEST(DecimalTextTest, PortableConversionsMatchTheStandardLibrary)
{
    expectPortableMatchesStandard();
}

TEST(DecimalTextTest, ACommaLocaleChangesNoDigit)
{
    // A locale with a decimal comma, made from the system's locale sources into a folder of the test's own.
    const auto folder = std::filesystem::temp_directory_path() / ("qm-decimal-locale-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string command = "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    ::setenv("LOCPATH", folder.c_str(), 1);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    expectPortableMatchesStandard();
    EXPECT_EQ(writeFixedPortable(63.5), "63.5");
    EXPECT_EQ(readPortable("2.5").value, 2.5);
    std::setlocale(LC_NUMERIC, "C");
    ::unsetenv("LOCPATH");
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace qm::forms::decimal
