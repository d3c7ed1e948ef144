// Tests of the naming of COM1 to COM4 and the order of the serial devices found.
#include "qt/ComPorts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace qm::qt
{
namespace
{

ComPorts::Environment environment(std::map<std::string, std::string> values)
{
    return [values](const std::string& name) -> std::optional<std::string> {
        const auto found = values.find(name);
        if (found == values.end())
            return std::nullopt;
        return found->second;
    };
}

std::vector<SerialDevice> devices(const std::vector<std::string>& paths)
{
    std::vector<SerialDevice> found;
    for (const std::string& path : paths)
        found.push_back(SerialDevice{path, {}, {}, std::nullopt, std::nullopt});
    return found;
}

std::vector<std::string> comPaths(const ComPorts& ports)
{
    std::vector<std::string> paths;
    for (int number = 0; number <= ComPorts::kCount + 1; ++number)
        paths.push_back(ports.devicePath(number));
    return paths;
}

TEST(ComPortsTest, NaturalOrderComparesDigitRunsByValue)
{
    const std::vector<std::pair<std::string, std::string>> ordered = {
        {"/dev/ttyUSB2", "/dev/ttyUSB10"}, {"/dev/ttyS9", "/dev/ttyS10"},  {"/dev/ttyACM0", "/dev/ttyUSB0"},
        {"/dev/ttyS1", "/dev/ttyS1a"},     {"/dev/ttyS01", "/dev/ttyS1"},  {"/dev/tty1x2", "/dev/tty1x10"},
        {"/dev/ttyS", "/dev/ttyS0"},       {"/dev/ttyS2", "/dev/ttyS003"},
    };
    for (const auto& [before, after] : ordered) {
        EXPECT_TRUE(naturalLess(before, after)) << before << " < " << after;
        EXPECT_FALSE(naturalLess(after, before)) << after << " < " << before;
    }
    EXPECT_FALSE(naturalLess("/dev/ttyUSB3", "/dev/ttyUSB3"));
}

TEST(ComPortsTest, NamesUsbAdaptersFirstThenBuiltInPortsInNaturalOrder)
{
    const ComPorts ports(devices({"/dev/ttyS1", "/dev/ttyUSB10", "/dev/ttyS0", "/dev/ttyUSB2", "/dev/ttyACM0"}),
                         environment({}));

    EXPECT_EQ(comPaths(ports),
              (std::vector<std::string>{"", "/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyS0", ""}));
    ASSERT_EQ(ports.devices().size(), 5u);
    EXPECT_EQ(ports.devices()[4].path, "/dev/ttyS1");
}

TEST(ComPortsTest, EnvironmentNamesItsOwnPortOnlyAndAnEmptyValueCountsAsUnset)
{
    const ComPorts ports(
        devices({"/dev/ttyUSB1", "/dev/ttyUSB0"}),
        environment({{"QUELLMARK_COM2", "/tmp/unit-link"}, {"QUELLMARK_COM3", ""}, {"QUELLMARK_COM4", "/dev/pts/7"}}));

    EXPECT_EQ(comPaths(ports), (std::vector<std::string>{"", "/dev/ttyUSB0", "/tmp/unit-link", "", "/dev/pts/7", ""}));
    EXPECT_FALSE(ports.namedByEnvironment(1));
    EXPECT_TRUE(ports.namedByEnvironment(2));
    EXPECT_FALSE(ports.namedByEnvironment(3));
}

TEST(ComPortsTest, DeviceFoundTwiceKeepsItsFullerDescription)
{
    std::vector<SerialDevice> found = devices({"/dev/ttyUSB0", "/dev/ttyS0"});
    found.push_back(SerialDevice{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", 0x0403, 0x6001});
    found.push_back(SerialDevice{"/dev/ttyUSB0", {}, {}, std::nullopt, std::nullopt});

    const std::vector<SerialDevice> ordered = inComOrder(found);

    ASSERT_EQ(ordered.size(), 2u);
    EXPECT_EQ(ordered[0].path, "/dev/ttyUSB0");
    EXPECT_EQ(ordered[0].description, "FT232R USB UART");
    EXPECT_EQ(ordered[0].vendorId, 0x0403);
    EXPECT_EQ(ordered[1].path, "/dev/ttyS0");
}

TEST(ComPortsTest, FindsUsbAdaptersInTheDeviceFolder)
{
    const std::string folder = ::testing::TempDir() + "qm-devices";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    for (const char* name : {"ttyUSB1", "ttyACM0", "ttyS0", "null", "ttyUSBx"})
        std::ofstream(folder + "/" + name).put('\n');

    std::vector<std::string> usb;
    for (const SerialDevice& device : findSerialDevices(folder)) {
        if (device.path.starts_with(folder))
            usb.push_back(device.path);
    }

    std::sort(usb.begin(), usb.end());
    EXPECT_EQ(usb, (std::vector<std::string>{folder + "/ttyACM0", folder + "/ttyUSB1"}));
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace qm::qt
