#include "cli/Output.h"
#include "cli/Show.h"
#include "fakes/MemoryFileSystem.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <iterator>
#include <sstream>

namespace qm::cli
{
namespace
{

std::string exampleFile(const std::string& name)
{
    std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class UnitDiffTest : public ::testing::Test
{
protected:
    int diff(const std::string& a, const std::string& b, bool json = false)
    {
        return runDiff({a, b, json}, files, {in, out, err}, reader);
    }

    fakes::MemoryFileSystem files;
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    std::vector<std::string> portsRead;
    std::variant<std::string, LoadFailure> unitHolds = exampleFile("tracking.vq3");
    UnitReader reader = [this](const std::string& port) {
        portsRead.push_back(port);
        return unitHolds;
    };
};

TEST_F(UnitDiffTest, ComparesWhatTheUnitHoldsOnEitherSide)
{
    files.files["tracking.vq3"] = exampleFile("tracking.vq3");
    files.files["beacon.vq3"] = exampleFile("beacon.vq3");
    EXPECT_EQ(diff("tracking.vq3", "unit:/dev/ttyUSB0"), kDone);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(diff("unit:COM2", "beacon.vq3"), kRefused);
    EXPECT_EQ(out.str(), "Mode: Tracking -> Beacon\n");
    EXPECT_EQ(portsRead, (std::vector<std::string>{"/dev/ttyUSB0", "COM2"}));
}

TEST_F(UnitDiffTest, AFailedReadEndsWithItsStatusBoxAndReason)
{
    files.files["tracking.vq3"] = exampleFile("tracking.vq3");
    const auto box =
        forms::messageBox("Error# 8010: Hardware Not Available", "Serial port COM1 is invalid.", forms::Icon::Warning);
    unitHolds = LoadFailure{box, kLinkFailure, "/dev/ttyUSB0: Permission denied"};
    EXPECT_EQ(diff("tracking.vq3", "unit:/dev/ttyUSB0"), kLinkFailure);
    EXPECT_EQ(err.str(), "unit:/dev/ttyUSB0: Error# 8010: Hardware Not Available: Serial port COM1 is invalid.\n"
                         "/dev/ttyUSB0: Permission denied\n");
    EXPECT_EQ(diff("unit:/dev/ttyUSB0", "tracking.vq3", true), kLinkFailure);
    const auto json = nlohmann::json::parse(out.str());
    EXPECT_EQ(json["error"], boxToJson(box));
    EXPECT_EQ(json["reason"], "/dev/ttyUSB0: Permission denied");
    EXPECT_EQ(json["file"], "unit:/dev/ttyUSB0");
}

TEST_F(UnitDiffTest, WithoutAReaderAUnitSourceIsAFileName)
{
    files.files["tracking.vq3"] = exampleFile("tracking.vq3");
    files.files["unit:x"] = exampleFile("tracking.vq3");
    EXPECT_EQ(runDiff({"tracking.vq3", "unit:x", false}, files, {in, out, err}), kDone);
    EXPECT_TRUE(portsRead.empty());
}

} // namespace
} // namespace qm::cli
