// The packet header a configuration image makes the unit send.
#include "image/PacketHeader.h"

#include "forms/PickLists.h"
#include "image/Decode.h"
#include "image/Encoding.h"
#include "image/FillShared.h"
#include "image/ImageFields.h"

namespace qm::image
{

namespace
{

constexpr int kFirstSpecialEntry = 5;

/// An SSID 0 travels as the bare callsign: "APRS-0" is sent as "APRS".
std::string withoutZeroSsid(const std::string& address)
{
    if (address.size() > 2 && address.ends_with("-0"))
        return address.substr(0, address.size() - 2);
    return address;
}

std::string hopText(const PathHop& hop)
{
    if (hop.entry < 0)
        return "(path code " + std::to_string(hop.code) + ")";
    if (hop.address.empty())
        return "(empty " + forms::specialPathLabel(hop.entry - kFirstSpecialEntry + 1) + ")";
    return withoutZeroSsid(hop.address);
}

} // namespace

std::vector<int> profilesSent(int modeCode)
{
    switch (modeCode) {
    case 0:
    case 1:
    case 4:
        return {1};
    case 2:
    case 3: {
        std::vector<int> all;
        for (int k = 1; k <= forms::kProfileCount; ++k)
            all.push_back(k);
        return all;
    }
    default:
        return {};
    }
}

std::vector<PacketHeader> packetHeaders(const std::string& image)
{
    const ImageFields fields = decodeFields(image);
    std::vector<PacketHeader> headers;
    for (int profile : profilesSent(modeCode(fields.modeByte))) {
        PacketHeader header;
        header.profile = profile;
        header.callsign = fields.stationCallsign;
        header.ssid = fields.profileByte(profile, 3) >> 4;
        header.destination = fields.toCall;
        const auto entries = pathIndexesOf(fields, profile);
        const auto codes = pathCodesOf(fields, profile);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            // The path ends at the first empty selector: the checks let no path follow an empty one.
            if (codes[i] == 0)
                break;
            PathHop hop{static_cast<int>(i) + 1, entries[i], codes[i], {}};
            if (hop.entry >= kFirstSpecialEntry)
                hop.address =
                    decodeAddress(fields.specialPath[static_cast<std::size_t>(hop.entry - kFirstSpecialEntry)]);
            else if (hop.entry > 0)
                hop.address = forms::kPathEntries[static_cast<std::size_t>(hop.entry)];
            header.path.push_back(std::move(hop));
        }
        headers.push_back(std::move(header));
    }
    return headers;
}

std::string monitorNotation(const PacketHeader& header)
{
    std::string text = header.callsign;
    if (header.ssid != 0)
        text += "-" + std::to_string(header.ssid);
    text += ">" + withoutZeroSsid(header.destination);
    for (const auto& hop : header.path)
        text += "," + hopText(hop);
    return text;
}

} // namespace qm::image
