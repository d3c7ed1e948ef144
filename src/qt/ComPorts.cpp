// Which operating-system serial device each of COM1 to COM4 names, and the serial devices of this machine.
#include "qt/ComPorts.h"

#include "storage/Paths.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace qm::qt
{

namespace
{

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view digitRun(std::string_view text, std::size_t from)
{
    std::size_t end = from;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    return text.substr(from, end - from);
}

std::string_view withoutLeadingZeros(std::string_view digits)
{
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view{} : digits.substr(first);
}

// The fuller of two descriptions of one device wins, so the system list's text and USB ids survive a merge
// with the bare path found in the device folder.
int detail(const SerialDevice& device)
{
    return (device.description.empty() ? 0 : 1) + (device.manufacturer.empty() ? 0 : 1) + (device.vendorId ? 1 : 0) +
           (device.productId ? 1 : 0);
}

} // namespace

bool naturalLess(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::string_view runA = digitRun(a, i);
            const std::string_view runB = digitRun(b, j);
            const std::string_view valueA = withoutLeadingZeros(runA);
            const std::string_view valueB = withoutLeadingZeros(runB);
            if (valueA.size() != valueB.size())
                return valueA.size() < valueB.size();
            if (valueA != valueB)
                return valueA < valueB;
            i += runA.size();
            j += runB.size();
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i >= a.size();
    // Equal but for leading zeros: plain order keeps the comparison strict.
    return a < b;
}

bool isUsbAdapter(std::string_view path)
{
    const std::string_view name = storage::fileNameOf(path);
    if (!name.starts_with("ttyUSB") && !name.starts_with("ttyACM"))
        return false;
    const std::string_view number = name.substr(6);
    return !number.empty() && digitRun(number, 0).size() == number.size();
}

std::vector<SerialDevice> inComOrder(std::vector<SerialDevice> devices)
{
    std::sort(devices.begin(), devices.end(), [](const SerialDevice& a, const SerialDevice& b) {
        const bool usbA = isUsbAdapter(a.path);
        const bool usbB = isUsbAdapter(b.path);
        if (usbA != usbB)
            return usbA;
        if (a.path != b.path)
            return naturalLess(a.path, b.path);
        return detail(a) > detail(b);
    });
    devices.erase(std::unique(devices.begin(), devices.end(),
                              [](const SerialDevice& a, const SerialDevice& b) { return a.path == b.path; }),
                  devices.end());
    return devices;
}

ComPorts::ComPorts(std::vector<SerialDevice> devices, Environment environment)
    : m_devices(inComOrder(std::move(devices))), m_environment(std::move(environment))
{}

ComPorts ComPorts::scan()
{
    return ComPorts(findSerialDevices(), processEnvironment());
}

std::string ComPorts::devicePath(int number) const
{
    if (number < 1 || number > kCount)
        return {};
    if (namedByEnvironment(number))
        return *m_environment(comPortVariable(number));
#ifdef Q_OS_WIN
    return "COM" + std::to_string(number);
#else
    const auto index = static_cast<std::size_t>(number - 1);
    return index < m_devices.size() ? m_devices[index].path : std::string{};
#endif
}

bool ComPorts::namedByEnvironment(int number) const
{
    if (number < 1 || number > kCount || !m_environment)
        return false;
    const std::optional<std::string> value = m_environment(comPortVariable(number));
    return value && !value->empty();
}

namespace
{

std::string descriptionOf(const SerialDevice& device)
{
    return device.description.empty() ? device.manufacturer : device.description;
}

} // namespace

std::array<shell::SerialDevice, ComPorts::kCount> comDevices(const ComPorts& ports)
{
    std::array<shell::SerialDevice, ComPorts::kCount> named;
    for (int number = 1; number <= ComPorts::kCount; ++number) {
        shell::SerialDevice& device = named[static_cast<std::size_t>(number - 1)];
        device.path = ports.devicePath(number);
        for (const SerialDevice& found : ports.devices())
            if (found.path == device.path)
                device.description = descriptionOf(found);
    }
    return named;
}

std::array<shell::SerialDevice, 4> SystemSerialDevices::comPorts()
{
    return comDevices(ComPorts::scan());
}

std::vector<shell::SerialDevice> SystemSerialDevices::present()
{
    std::vector<shell::SerialDevice> devices;
    for (const SerialDevice& found : inComOrder(findSerialDevices()))
        devices.push_back(shell::SerialDevice{found.path, descriptionOf(found)});
    return devices;
}

std::string comPortVariable(int number)
{
    return "QUELLMARK_COM" + std::to_string(number);
}

std::string currentDevicePath(int number)
{
    const ComPorts named({}, processEnvironment());
    if (named.namedByEnvironment(number))
        return named.devicePath(number);
    return ComPorts::scan().devicePath(number);
}

ComPorts::Environment processEnvironment()
{
    return [](const std::string& name) -> std::optional<std::string> {
        const char* value = std::getenv(name.c_str());
        if (value == nullptr)
            return std::nullopt;
        return std::string(value);
    };
}

std::vector<SerialDevice> findSerialDevices(const std::string& deviceFolder)
{
    std::vector<SerialDevice> devices;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(deviceFolder, error)) {
        const std::string path = entry.path().string();
        if (isUsbAdapter(path))
            devices.push_back(SerialDevice{path, {}, {}, std::nullopt, std::nullopt});
    }
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDevice device;
        device.path = info.systemLocation().toStdString();
        device.description = info.description().toStdString();
        device.manufacturer = info.manufacturer().toStdString();
        if (info.hasVendorIdentifier())
            device.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            device.productId = info.productIdentifier();
        devices.push_back(std::move(device));
    }
    return devices;
}

} // namespace qm::qt
