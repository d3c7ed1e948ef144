// The serial devices behind COM1 to COM4 as the user sees them.
#include "shell/SerialDevices.h"

namespace qm::shell
{

namespace
{

constexpr const char* kDash = "\u2014";

std::string line(int n, const SerialDevice& device, const std::string& dash)
{
    std::string text = "COM" + std::to_string(n) + "  ";
    if (device.path.empty())
        return text + "(no device)";
    text += device.path;
    if (!device.description.empty())
        text += " " + dash + " " + device.description;
    return text;
}

} // namespace

std::string comPortLine(int n, const SerialDevice& device)
{
    return line(n, device, kDash);
}

std::string deviceLine(const SerialDevice& device)
{
    return device.description.empty() ? device.path : device.path + " " + kDash + " " + device.description;
}

std::string comMenuCaption(int n, const SerialDevice& device)
{
    std::string caption = comPortLine(n, device);
    caption.insert(3, 1, '&');
    return caption;
}

std::string comPortListing(const std::array<SerialDevice, 4>& ports)
{
    std::string text;
    for (std::size_t i = 0; i < ports.size(); ++i)
        text += utf8ToLatin1(line(static_cast<int>(i) + 1, ports[i], "-")) + "\r\n";
    return text;
}

std::string utf8ToLatin1(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        // The length of the sequence by its lead byte; a stray continuation byte or a damaged sequence counts as
        // one character.
        std::size_t length = 1;
        if ((lead & 0xE0) == 0xC0)
            length = 2;
        else if ((lead & 0xF0) == 0xE0)
            length = 3;
        else if ((lead & 0xF8) == 0xF0)
            length = 4;
        bool whole = length > 1 && i + length <= text.size();
        for (std::size_t k = 1; whole && k < length; ++k)
            whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (!whole) {
            out += '?';
            ++i;
            continue;
        }
        if (length == 2) {
            const unsigned code = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
            out += code >= 0xA0 && code <= 0xFF ? static_cast<char>(code) : '?';
        } else {
            out += '?';
        }
        i += length;
    }
    return out;
}

} // namespace qm::shell
