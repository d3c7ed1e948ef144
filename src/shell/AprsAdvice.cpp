// Advice for APRS use of a configuration.
#include "shell/AprsAdvice.h"

#include "forms/PickLists.h"
#include "image/Decode.h"
#include "image/Encoding.h"
#include "image/ImageFields.h"
#include "image/PacketHeader.h"
#include "shell/AprsSymbols.h"

#include <algorithm>
#include <cctype>

namespace qm::shell
{

namespace
{

constexpr int kCourteousSeconds = 60;
constexpr int kTrackingMode = 3;

/// What an SSID usually stands for on APRS, where it says something about the station.
struct SsidMeaning
{
    int ssid;
    const char* meaning;
};

constexpr SsidMeaning kMobileSsids[] = {
    {7, "a handheld"}, {8, "a boat or a second car"}, {9, "a car"}, {12, "a one-way tracker"}, {14, "a truck"}};
constexpr SsidMeaning kFixedSsids[] = {{10, "an internet gateway (IGate, EchoLink)"}, {13, "a weather station"}};

constexpr const char* kTrackerSsids = "a tracker commonly sends -9 (car), -7 (handheld) or -8 (boat)";

/// Aliases of the early APRS networks; today's digipeaters answer WIDEn-N only.
bool isRetiredAlias(const std::string& address)
{
    const std::string callsign = image::splitCallsign(address).callsign;
    for (const char* alias : {"RELAY", "WIDE", "GATE", "ECHO", "TRACE"})
        if (callsign == alias)
            return true;
    return callsign.size() == 6 && callsign.starts_with("TRACE") &&
           std::isdigit(static_cast<unsigned char>(callsign[5]));
}

/// A station that moves: Tracking, and NMEA passing on sentences of a satellite receiver ("$GPRMC", "$GNGGA").
bool sendsPositions(const image::ImageFields& fields)
{
    const int mode = image::modeCode(fields.modeByte);
    if (mode == 3)
        return true;
    if (mode != 2)
        return false;
    return std::any_of(fields.dataHeader.begin(), fields.dataHeader.end(),
                       [](const std::string& header) { return header.starts_with("$G"); });
}

template <std::size_t N>
const char* meaningOf(const SsidMeaning (&meanings)[N], int ssid)
{
    for (const auto& known : meanings)
        if (known.ssid == ssid)
            return known.meaning;
    return nullptr;
}

std::string ssidAdvice(int ssid, bool moving)
{
    if (moving) {
        if (ssid == 0)
            return std::string("No SSID: a bare callsign usually stands for the home station; ") + kTrackerSsids + ".";
        if (const char* meaning = meaningOf(kFixedSsids, ssid))
            return "SSID -" + std::to_string(ssid) + " usually stands for " + meaning + "; " + kTrackerSsids + ".";
        return {};
    }
    if (const char* meaning = meaningOf(kMobileSsids, ssid))
        return "SSID -" + std::to_string(ssid) + " usually stands for " + meaning +
               "; a station that stays put commonly sends no SSID or one of -1 to -4 (-13 for a weather station).";
    return {};
}

std::vector<std::string> profileAdvice(const image::PacketHeader& header, const image::ImageFields& fields, bool moving)
{
    std::vector<std::string> advice;
    for (const auto& hop : header.path) {
        const std::string path = "Path " + std::to_string(hop.selector);
        if (hop.entry >= 5 && hop.address.empty()) {
            const std::string special = forms::specialPathLabel(hop.entry - 4);
            advice.push_back(path + " names " + special +
                             ", which is empty: the unit sends six spaces there. Fill in " + special +
                             " or choose another path.");
        } else if (isRetiredAlias(hop.address)) {
            advice.push_back(path + " (" + hop.address +
                             "): today's APRS digipeaters no longer serve RELAY, WIDE, TRACE, GATE or ECHO; use "
                             "WIDEn-N paths instead, such as WIDE1-1,WIDE2-1 for a mobile or WIDE2-2 at most for a "
                             "fixed station.");
        }
    }
    if (std::string ssid = ssidAdvice(header.ssid, moving); !ssid.empty())
        advice.push_back(std::move(ssid));
    const int seconds = image::joinTimer(fields.profileByte(header.profile, 3), fields.profileByte(header.profile, 4));
    if (seconds > 0 && seconds < kCourteousSeconds && !header.path.empty())
        advice.push_back("Sends every " + std::to_string(seconds) +
                         " s through digipeaters: each packet is repeated by every digipeater in reach, so APRS custom "
                         "is once a minute at most for a moving station and every 10 to 30 minutes for a fixed one; "
                         "send more often only without a path.");
    return advice;
}

} // namespace

std::string profileList(const std::vector<int>& profiles)
{
    std::vector<std::string> parts;
    for (std::size_t i = 0; i < profiles.size();) {
        std::size_t end = i;
        while (end + 1 < profiles.size() && profiles[end + 1] == profiles[end] + 1)
            ++end;
        if (end - i >= 2) {
            parts.push_back(std::to_string(profiles[i]) + " to " + std::to_string(profiles[end]));
        } else {
            for (std::size_t k = i; k <= end; ++k)
                parts.push_back(std::to_string(profiles[k]));
        }
        i = end + 1;
    }
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            text += i + 1 == parts.size() ? " and " : ", ";
        text += parts[i];
    }
    return text;
}

std::vector<std::string> aprsAdvice(const std::string& image)
{
    const image::ImageFields fields = image::decodeFields(image);
    const bool moving = sendsPositions(fields);
    const auto headers = image::packetHeaders(image);
    const bool profiles = headers.size() > 1;
    // One line for each piece of advice, naming every profile it concerns.
    std::vector<std::pair<std::string, std::vector<int>>> groups;
    for (const auto& header : headers) {
        for (auto& text : profileAdvice(header, fields, moving)) {
            auto group = std::find_if(groups.begin(), groups.end(), [&text](const auto& g) { return g.first == text; });
            if (group == groups.end())
                groups.emplace_back(std::move(text), std::vector<int>{header.profile});
            else
                group->second.push_back(header.profile);
        }
    }
    std::vector<std::string> lines;
    if (image::modeCode(fields.modeByte) == kTrackingMode &&
        !symbolTableName(static_cast<char>(fields.separatorByte))) {
        // The Separator stands between latitude and longitude, where APRS expects the symbol table.
        lines.push_back("The Separator chooses no APRS symbol table: / is the primary table, \\ the alternate one, "
                        "and a digit or capital letter lays that character over an alternate symbol.");
    }
    for (const auto& [text, concerned] : groups) {
        if (!profiles)
            lines.push_back(text);
        else
            lines.push_back((concerned.size() == 1 ? "Profile " : "Profiles ") + profileList(concerned) + ": " + text);
    }
    return lines;
}

} // namespace qm::shell
