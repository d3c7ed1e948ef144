// The naming of COM1 to COM4, the order of the serial devices found, and vq3 ports printing them.
#include "qt/ComPorts.h"
#include "cli/Ports.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <sstream>

namespace qm::qt
{
namespace
{

ComPorts portsOf(std::vector<SerialDevice> found, std::map<std::string, std::string> variables)
{
    return ComPorts(std::move(found), [variables](const std::string& name) -> std::optional<std::string> {
        const auto value = variables.find(name);
        return value == variables.end() ? std::nullopt : std::optional(value->second);
    });
}

TEST(ComPortsTest, UsbAdaptersComeFirstInNaturalOrderAndTheEnvironmentNamesItsOwnPort)
{
    std::vector<SerialDevice> found;
    for (const char* path : {"/dev/ttyS1", "/dev/ttyUSB10", "/dev/ttyS0", "/dev/ttyUSB2", "/dev/ttyACM0"})
        found.push_back({path, {}, {}, std::nullopt, std::nullopt});
    found.push_back({"/dev/ttyUSB2", "FT232R USB UART", "FTDI", 0x0403, 0x6001});
    const ComPorts ports = portsOf(found, {{"QUELLMARK_COM2", "/tmp/unit"}, {"QUELLMARK_COM3", ""}});
    std::vector<std::string> paths;
    for (int number = 0; number <= ComPorts::kCount + 1; ++number)
        paths.push_back(ports.devicePath(number));
    EXPECT_EQ(paths, (std::vector<std::string>{"", "/dev/ttyACM0", "/tmp/unit", "/dev/ttyUSB10", "/dev/ttyS0", ""}));
    EXPECT_TRUE(ports.namedByEnvironment(2));
    ASSERT_EQ(ports.devices().size(), 5u);
    EXPECT_EQ(ports.devices()[1].description, "FT232R USB UART");
}

TEST(ComPortsTest, PortsPrintsTheComMappingAndTheDevicesAsTextAndJson)
{
    const ComPorts ports = portsOf({{"/dev/ttyS0", "", "", std::nullopt, std::nullopt},
                                    {"/dev/ttyUSB0", "FT232R USB UART", "FTDI", 0x0403, 0x6001},
                                    {"/dev/tty\xE9", "", "Prolific", std::nullopt, std::nullopt}},
                                   {{"QUELLMARK_COM4", "/tmp/\xFFunit"}});
    std::istringstream in;
    std::ostringstream text, json, err;
    EXPECT_EQ(cli::runPorts(cli::PortsOptions{false}, ports, cli::Streams{in, text, err}), 0);
    EXPECT_EQ(cli::runPorts(cli::PortsOptions{true}, ports, cli::Streams{in, json, err}), 0);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(text.str(), "COM1  /dev/ttyUSB0 \u2014 FT232R USB UART\n"
                          "COM2  /dev/ttyS0\n"
                          "COM3  /dev/tty\xE9 \u2014 Prolific\n"
                          "COM4  /tmp/\xFFunit  (QUELLMARK_COM4)\n"
                          "\n"
                          "Serial devices:\n"
                          "  /dev/ttyUSB0  FT232R USB UART  (FTDI)  USB 0403:6001\n"
                          "  /dev/ttyS0\n"
                          "  /dev/tty\xE9  (Prolific)\n");
    const auto printed = nlohmann::json::parse(json.str());
    EXPECT_EQ(printed["devices"][0], nlohmann::json::parse(R"({"path": "/dev/ttyUSB0", "description": "FT232R USB UART",
        "manufacturer": "FTDI", "vid": "0403", "pid": "6001"})"));
    EXPECT_EQ(printed["com"], nlohmann::json::parse(R"({"COM1": "/dev/ttyUSB0", "COM2": "/dev/ttyS0",
        "COM3": "/dev/tty\u00e9", "COM4": "/tmp/\u00ffunit"})"));
}

} // namespace
} // namespace qm::qt
