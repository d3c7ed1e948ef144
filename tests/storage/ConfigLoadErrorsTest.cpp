// Tests of configuration files that fail to load: the error of each fault, and windows left as they were.
#include "storage/ConfigFile.h"

#include "ConfigTestWindows.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qm::storage
{
namespace
{

using forms::Mode;
using Lines = std::vector<std::string>;

struct Fault
{
    const char* name;
    Mode mode;
    std::function<void(Lines&)> spoil;
    int number;
};

std::function<void(Lines&)> cutAfter(std::size_t count)
{
    return [count](Lines& lines) { lines.resize(count); };
}

std::function<void(Lines&)> replace(std::size_t line, std::string text)
{
    return [line, text](Lines& lines) { lines.at(line) = text; };
}

std::function<void(Lines&)> replaceBoth(std::size_t first, std::string firstText, std::size_t second,
                                        std::string secondText)
{
    return [=](Lines& lines) {
        lines.at(first) = firstText;
        lines.at(second) = secondText;
    };
}

const Fault kFaults[] = {
    {"tracking cut after 50 lines", Mode::Tracking, cutAfter(50), error::kInputPastEnd},
    {"telemetry one line short", Mode::Telemetry, cutAfter(25), error::kInputPastEnd},
    {"beacon without its text line", Mode::Beacon, cutAfter(22), error::kInputPastEnd},
    {"nmea one line short", Mode::Nmea, cutAfter(110), error::kInputPastEnd},
    {"tracking one line short", Mode::Tracking, cutAfter(116), error::kInputPastEnd},
    {"alarm one line short", Mode::Alarm, cutAfter(31), error::kInputPastEnd},
    {"empty alarm file", Mode::Alarm, cutAfter(0), error::kInputPastEnd},
    {"telemetry option Maybe", Mode::Telemetry, replace(20, "Maybe"), error::kTypeMismatch},
    {"telemetry option 1", Mode::Telemetry, replace(18, "1"), error::kTypeMismatch},
    {"nmea option empty", Mode::Nmea, replace(105, ""), error::kTypeMismatch},
    {"beacon path 9", Mode::Beacon, replace(14, "9"), error::kInvalidPropertyValue},
    {"beacon path -2", Mode::Beacon, replace(17, "-2"), error::kInvalidPropertyValue},
    {"alarm path -1.6", Mode::Alarm, replace(15, "-1.6"), error::kInvalidPropertyValue},
    {"telemetry delay 16", Mode::Telemetry, replace(24, "16"), error::kInvalidPropertyValue},
    {"beacon delay 15 at 300 baud", Mode::Beacon, replaceBoth(2, "1", 20, "15"), error::kInvalidPropertyValue},
    {"alarm condition 2", Mode::Alarm, replace(27, "2"), error::kInvalidPropertyValue},
    {"nmea delta 2", Mode::Nmea, replace(110, "2"), error::kInvalidPropertyValue},
    {"tracking delta -1", Mode::Tracking, replace(115, "-1"), error::kInvalidPropertyValue},
    {"nmea profile 10 path 9", Mode::Nmea, replace(98, "9"), error::kInvalidPropertyValue},
    {"tracking profile path -2", Mode::Tracking, replace(104, "-2"), error::kInvalidPropertyValue},
    {"tracking profile path 8.6", Mode::Tracking, replace(14, "8.6"), error::kInvalidPropertyValue},
};

TEST(ConfigLoadErrorsTest, FailingFileReportsItsErrorAndChangesNothing)
{
    for (const auto& fault : kFaults) {
        Lines lines = configurationLines(test::nonDefaultWindows(), fault.mode);
        fault.spoil(lines);
        forms::Windows target = test::filledWindows();
        target.nmea.NMEAProfile.setSelectedIndex(2);
        target.tracking.TrkProfile.setSelectedIndex(5);
        test::setSpecialPath(target.station(fault.mode), 3, "OLD3");
        const auto before = test::snapshot(target);

        const auto failure = loadConfiguration(fault.mode, target, lines, test::kDefaults);
        ASSERT_TRUE(failure) << fault.name;
        EXPECT_EQ(failure->number, fault.number) << fault.name;
        EXPECT_FALSE(failure->reason.empty()) << fault.name;
        EXPECT_EQ(test::snapshot(target), before) << fault.name;
    }
}

TEST(ConfigLoadErrorsTest, ShortFileReportsInputPastEndBeforeAnyBadValue)
{
    Lines lines = configurationLines(test::filledWindows(), Mode::Tracking);
    lines[14] = "99";
    lines.resize(50);
    forms::Windows target = test::filledWindows();
    const auto failure = loadConfiguration(forms::Mode::Tracking, target, lines, test::kDefaults);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->number, error::kInputPastEnd);
}

TEST(ConfigLoadErrorsTest, FirstBadValueInFileOrderIsReported)
{
    Lines lines = configurationLines(test::filledWindows(), Mode::Telemetry);
    lines[15] = "9";
    lines[19] = "Yes";
    forms::Windows target = test::filledWindows();
    const auto failure = loadConfiguration(forms::Mode::Telemetry, target, lines, test::kDefaults);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->number, error::kInvalidPropertyValue);
    EXPECT_NE(failure->reason.find("Line 16"), std::string::npos) << failure->reason;
}

} // namespace
} // namespace qm::storage
