// vq3 ports: the serial devices of this machine and the devices COM1 to COM4 name.
#include "cli/Ports.h"

#include "cli/Output.h"
#include "shell/SerialDevices.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <ostream>
#include <string>

namespace qm::cli
{

namespace
{

std::string usbId(int id)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(id) & 0xFFFFu);
    return text;
}

nlohmann::json optionalId(const std::optional<int>& id)
{
    return id ? nlohmann::json(usbId(*id)) : nlohmann::json(nullptr);
}

void printJson(const qt::ComPorts& ports, std::ostream& out)
{
    nlohmann::json devices = nlohmann::json::array();
    for (const qt::SerialDevice& device : ports.devices()) {
        devices.push_back({{"path", latin1ToUtf8(device.path)},
                           {"description", device.description},
                           {"manufacturer", device.manufacturer},
                           {"vid", optionalId(device.vendorId)},
                           {"pid", optionalId(device.productId)}});
    }
    nlohmann::json com = nlohmann::json::object();
    for (int number = 1; number <= qt::ComPorts::kCount; ++number) {
        const std::string path = ports.devicePath(number);
        com["COM" + std::to_string(number)] =
            path.empty() ? nlohmann::json(nullptr) : nlohmann::json(latin1ToUtf8(path));
    }
    out << nlohmann::json{{"devices", devices}, {"com", com}}.dump(2) << '\n';
}

void printText(const qt::ComPorts& ports, std::ostream& out)
{
    // The COM ports first, worded as the desktop program's Serial Port menu words them.
    const auto named = qt::comDevices(ports);
    for (int number = 1; number <= qt::ComPorts::kCount; ++number) {
        out << shell::comPortLine(number, named[static_cast<std::size_t>(number - 1)]);
        if (ports.namedByEnvironment(number))
            out << "  (" << qt::comPortVariable(number) << ')';
        out << '\n';
    }
    out << '\n';
    if (ports.devices().empty())
        out << "No serial devices found.\n";
    else
        out << "Serial devices:\n";
    for (const qt::SerialDevice& device : ports.devices()) {
        out << "  " << device.path;
        if (!device.description.empty())
            out << "  " << device.description;
        if (!device.manufacturer.empty())
            out << "  (" << device.manufacturer << ")";
        if (device.vendorId && device.productId)
            out << "  USB " << usbId(*device.vendorId) << ':' << usbId(*device.productId);
        out << '\n';
    }
}

} // namespace

int runPorts(const PortsOptions& options, const qt::ComPorts& ports, Streams streams)
{
    if (options.json)
        printJson(ports, streams.out);
    else
        printText(ports, streams.out);
    return kDone;
}

} // namespace qm::cli
