// The order of the rules in each mode: with every rule from one step on broken, the check names that step.
#include "validation/ModeChecks.h"

#include "validation/CheckWindows.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qm::validation
{
namespace
{

using forms::Mode;
using forms::Windows;

struct Step
{
    std::function<void(Windows&)> breakRule;
    std::string focus;
    std::optional<int> profile;
};

struct OrderCase
{
    Mode mode;
    std::vector<Step> steps;
};

void PrintTo(const OrderCase& orderCase, std::ostream* out)
{
    *out << prefixOf(orderCase.mode);
}

std::vector<Step> stationSteps(Mode mode)
{
    const std::string p = prefixOf(mode);
    auto station = [mode](Windows& w) -> forms::StationControls& { return w.station(mode); };
    std::vector<Step> steps{{[](Windows& w) { forms::setMyCall(w, ""); }, p + "MyCall", std::nullopt}};
    if (hasProfiles(mode))
        steps.push_back({[=](Windows& w) { storeOf(w, mode).entry(6).SSID = "20"; }, p + "SSID", 6});
    else
        steps.push_back({[=](Windows& w) { station(w).SSID.setText("16"); }, p + "MySSID", std::nullopt});
    steps.push_back({[=](Windows& w) { station(w).ToCall.setText("APRS-0"); }, p + "ToCall", std::nullopt});
    if (hasProfiles(mode))
        steps.push_back({[=](Windows& w) { storeOf(w, mode).entry(3).Path = {"3", "0", "2", "0"}; }, p + "Path1", 3});
    else
        steps.push_back({[=](Windows& w) { station(w).Path[3].setListIndex(1); }, p + "Path1", std::nullopt});
    steps.push_back({[=](Windows& w) { station(w).SpecPath[3].setText("WIDEWIDE"); }, p + "SpecPath4", std::nullopt});
    return steps;
}

Step timerStep(Mode mode)
{
    const std::string p = prefixOf(mode);
    if (hasProfiles(mode))
        return {[=](Windows& w) { storeOf(w, mode).entry(1).TmrSec = "4081"; }, p + "TmrMin", 1};
    return {[=](Windows& w) {
                w.station(mode).TmrMin.setText("68");
                w.station(mode).TmrSec.setText("1");
            },
            p + "TmrMin", std::nullopt};
}

std::vector<OrderCase> orderCases()
{
    std::vector<OrderCase> cases;
    for (Mode mode : kModes) {
        OrderCase orderCase{mode, stationSteps(mode)};
        switch (mode) {
        case Mode::Telemetry:
            orderCase.steps.push_back(timerStep(mode));
            orderCase.steps.push_back({[](Windows& w) {
                                           w.telemetry.TelTxOn.setValue(forms::kUserDefined, true);
                                           w.telemetry.TelUserTrigChar.setText("300");
                                       },
                                       "TelUserTrigChar", std::nullopt});
            break;
        case Mode::Beacon:
            orderCase.steps.push_back(timerStep(mode));
            break;
        case Mode::Nmea:
            orderCase.steps.push_back({[](Windows& w) {
                                           w.main.GpsString[0].setText("");
                                           w.main.GpsString[2].setText("$GPGGA");
                                       },
                                       "GpsString1", std::nullopt});
            orderCase.steps.push_back(timerStep(mode));
            orderCase.steps.push_back({[](Windows& w) {
                                           w.nmea.NMEATxOn.setValue(forms::kUserDefined, true);
                                           w.nmea.NMEAUserTrigChar.setText("");
                                       },
                                       "NMEAUserTrigChar", std::nullopt});
            break;
        case Mode::Tracking:
            orderCase.steps.push_back(timerStep(mode));
            orderCase.steps.push_back({[](Windows& w) {
                                           w.main.ModeLock.setValue(1);
                                           w.main.MicEncode.setValue(0);
                                       },
                                       "ModeLock", std::nullopt});
            break;
        case Mode::Alarm:
            orderCase.steps.push_back(timerStep(mode));
            orderCase.steps.push_back(
                {[](Windows& w) { w.alarm.AlmTxCntrLimit.setText("999"); }, "AlmTxCntrLimit", std::nullopt});
            orderCase.steps.push_back(
                {[](Windows& w) { w.alarm.AlmArmDelay.setText("200"); }, "AlmArmDelay", std::nullopt});
            break;
        }
        cases.push_back(std::move(orderCase));
    }
    return cases;
}

class RuleOrderTest : public testing::TestWithParam<OrderCase>
{};

TEST_P(RuleOrderTest, FirstBrokenRuleWins)
{
    const OrderCase& orderCase = GetParam();
    for (std::size_t first = 0; first < orderCase.steps.size(); ++first) {
        Windows windows = validWindows();
        for (std::size_t step = first; step < orderCase.steps.size(); ++step)
            orderCase.steps[step].breakRule(windows);
        const auto result = checkMode(orderCase.mode, windows);
        ASSERT_TRUE(result.has_value()) << "from step " << first;
        EXPECT_EQ(result->focus, orderCase.steps[first].focus) << "from step " << first;
        EXPECT_EQ(result->profile, orderCase.steps[first].profile) << "from step " << first;
    }
}

INSTANTIATE_TEST_SUITE_P(AllModes, RuleOrderTest, testing::ValuesIn(orderCases()),
                         [](const testing::TestParamInfo<OrderCase>& param) { return prefixOf(param.param.mode); });

} // namespace
} // namespace qm::validation
