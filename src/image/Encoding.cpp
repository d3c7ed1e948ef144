// The pure byte layer of the configuration image: callsign fields, AX.25 addresses, path and timer codes.
#include "image/Encoding.h"

#include "forms/Text.h"

namespace qm::image
{

namespace
{

constexpr std::size_t kCallsignWidth = 6;
constexpr std::uint8_t kNoSsid = 0x60;

std::uint8_t byteAt(std::string_view field, std::size_t index)
{
    return static_cast<std::uint8_t>(field[index]);
}

} // namespace

CallsignParts splitCallsign(std::string_view text)
{
    const std::string call = forms::trimUpper(text);
    const auto dash = call.find('-');
    if (dash == std::string::npos)
        return {call, std::nullopt};
    return {call.substr(0, dash), call.substr(dash + 1)};
}

std::string padCallsign(std::string_view callsign)
{
    std::string padded(callsign);
    if (padded.size() < kCallsignWidth)
        padded.append(kCallsignWidth - padded.size(), ' ');
    return padded;
}

std::string encodeAddress(std::string_view callsign, std::optional<int> ssid)
{
    std::string field;
    for (char c : padCallsign(callsign))
        field.push_back(static_cast<char>((static_cast<unsigned>(static_cast<unsigned char>(c)) << 1) & 0xFFu));
    const unsigned ssidBits = ssid ? (static_cast<unsigned>(*ssid) & 0x0Fu) << 1 : 0u;
    field.push_back(static_cast<char>(kNoSsid | ssidBits));
    return field;
}

std::string decodeAddress(std::string_view field)
{
    std::string text;
    const std::size_t callsignBytes = field.size() < kCallsignWidth ? field.size() : kCallsignWidth;
    for (std::size_t i = 0; i < callsignBytes; ++i) {
        const auto c = static_cast<char>(byteAt(field, i) >> 1);
        if (c != ' ')
            text.push_back(c);
    }
    if (field.size() > kCallsignWidth && byteAt(field, kCallsignWidth) != kNoSsid)
        text += "-" + std::to_string((byteAt(field, kCallsignWidth) >> 1) & 0x0F);
    return text;
}

std::uint8_t pathCode(int index)
{
    if (index >= 1 && index <= 4)
        return static_cast<std::uint8_t>(index);
    if (index >= 5 && index <= 8)
        return static_cast<std::uint8_t>(index + 7);
    return 0;
}

int pathIndex(std::uint8_t code)
{
    if (code <= 4)
        return code;
    if (code >= 12 && code <= 15)
        return code - 7;
    return -1;
}

std::pair<std::uint8_t, std::uint8_t> splitTimer(int seconds)
{
    return {static_cast<std::uint8_t>(seconds / 256), static_cast<std::uint8_t>(seconds % 256)};
}

int joinTimer(std::uint8_t profileByte3, std::uint8_t profileByte4)
{
    return (profileByte3 & 0x0F) * 256 + profileByte4;
}

std::optional<std::uint8_t> txCode(int index, bool baud300)
{
    const int lastIndex = baud300 ? 14 : 15;
    if (index < -1 || index > lastIndex)
        return std::nullopt;
    if (baud300)
        return static_cast<std::uint8_t>(index + 1);
    // No entry selected (a 300-baud read left "-1") counts as the list's first entry.
    return static_cast<std::uint8_t>(index < 0 ? 0 : index);
}

int txIndex(std::uint8_t code, bool baud300)
{
    return baud300 ? code - 1 : code;
}

std::string untilNul(std::string_view field)
{
    return std::string(field.substr(0, field.find('\0')));
}

std::string padNul(std::string_view text, std::size_t width)
{
    std::string padded(text);
    if (padded.size() < width)
        padded.append(width - padded.size(), '\0');
    return padded;
}

} // namespace qm::image
