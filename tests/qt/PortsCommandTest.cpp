// Tests of vq3 ports on a given set of devices and environment.
#include "cli/Ports.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <sstream>
#include <string>

namespace qm::cli
{
namespace
{

qt::ComPorts examplePorts()
{
    const std::map<std::string, std::string> variables = {{"QUELLMARK_COM3", "/tmp/unit"}};
    return qt::ComPorts({{"/dev/ttyS0", "", "", std::nullopt, std::nullopt},
                         {"/dev/ttyUSB0", "FT232R USB UART", "FTDI", 0x0403, 0x6001}},
                        [variables](const std::string& name) -> std::optional<std::string> {
                            const auto found = variables.find(name);
                            return found == variables.end() ? std::nullopt : std::optional(found->second);
                        });
}

std::string run(const PortsOptions& options)
{
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runPorts(options, examplePorts(), Streams{in, out, err}), 0);
    EXPECT_EQ(err.str(), "");
    return out.str();
}

TEST(PortsCommandTest, PrintsDevicesAndComMappingAsJson)
{
    const nlohmann::json printed = nlohmann::json::parse(run(PortsOptions{true}));

    const nlohmann::json expected = nlohmann::json::parse(R"({
        "devices": [
            {"path": "/dev/ttyUSB0", "description": "FT232R USB UART", "manufacturer": "FTDI",
             "vid": "0403", "pid": "6001"},
            {"path": "/dev/ttyS0", "description": "", "manufacturer": "", "vid": null, "pid": null}],
        "com": {"COM1": "/dev/ttyUSB0", "COM2": "/dev/ttyS0", "COM3": "/tmp/unit", "COM4": null}})");
    EXPECT_EQ(printed, expected);
}

TEST(PortsCommandTest, ComPortsAreNamedWithTheDescriptionOrElseTheManufacturer)
{
    const qt::ComPorts ports({{"/dev/ttyUSB1", "", "Prolific", std::nullopt, std::nullopt},
                              {"/dev/ttyUSB0", "CP2102 USB to UART", "Silicon Labs", std::nullopt, std::nullopt},
                              {"/dev/ttyUSB0", "", "", std::nullopt, std::nullopt}},
                             [](const std::string&) -> std::optional<std::string> { return std::nullopt; });
    const auto named = qt::comDevices(ports);
    EXPECT_EQ(named[0], (shell::SerialDevice{"/dev/ttyUSB0", "CP2102 USB to UART"}));
    EXPECT_EQ(named[1], (shell::SerialDevice{"/dev/ttyUSB1", "Prolific"}));
    EXPECT_EQ(named[2], (shell::SerialDevice{}));
}

TEST(PortsCommandTest, PathsThatAreNotUtf8AreConvertedByteByByteInJson)
{
    const qt::ComPorts ports({{"/dev/tty\xE9", "", "", std::nullopt, std::nullopt}},
                             [](const std::string& name) -> std::optional<std::string> {
                                 if (name == "QUELLMARK_COM2")
                                     return "/tmp/\xFF\x80unit";
                                 return std::nullopt;
                             });
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(runPorts(PortsOptions{true}, ports, Streams{in, out, err}), 0);
    const nlohmann::json printed = nlohmann::json::parse(out.str());
    EXPECT_EQ(printed["devices"][0]["path"], "/dev/tty\u00e9");
    EXPECT_EQ(printed["com"]["COM1"], "/dev/tty\u00e9");
    EXPECT_EQ(printed["com"]["COM2"], "/tmp/\u00ff\u0080unit");
}

TEST(PortsCommandTest, PrintsDevicesAndComMappingAsText)
{
    EXPECT_EQ(run(PortsOptions{false}), "COM1  /dev/ttyUSB0 \u2014 FT232R USB UART\n"
                                        "COM2  /dev/ttyS0\n"
                                        "COM3  /tmp/unit  (QUELLMARK_COM3)\n"
                                        "COM4  (no device)\n"
                                        "\n"
                                        "Serial devices:\n"
                                        "  /dev/ttyUSB0  FT232R USB UART  (FTDI)  USB 0403:6001\n"
                                        "  /dev/ttyS0\n");
}

} // namespace
} // namespace qm::cli
