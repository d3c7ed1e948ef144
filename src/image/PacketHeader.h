// The packet header a configuration image makes the unit send: its station, its destination and its digipeater
// path, read back from the image bytes and written in the monitor notation of packet and APRS software
// ("N0CALL-9>APRS,WIDE1-1,WIDE2-1").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm::image
{

/// One digipeater of a path, as a profile's path selector names it.
struct PathHop
{
    /// The path selector, 1 to 4.
    int selector = 1;
    /// The selector's entry: 1 "GATE" to 4 "ECHO", 5 to 8 special paths 1 to 4, -1 for a code no compile writes.
    int entry = 0;
    /// The path code the image holds.
    std::uint8_t code = 0;
    /// The address sent ("WIDE2-1", "RELAY"); empty for an empty special path or an unknown code.
    std::string address;
};

struct PacketHeader
{
    /// The profile (1 to 10) the header belongs to; Telemetry, Beacon and Alarm have profile 1 only.
    int profile = 1;
    std::string callsign;
    /// 0 to 15; 0 is sent as the bare callsign.
    int ssid = 0;
    /// The to-call as the image holds it ("APRS", "APRS-3").
    std::string destination;
    /// The digipeaters in the order the path selectors give them, up to the first empty selector.
    std::vector<PathHop> path;
};

/// Returns the profiles an image of a mode sends: 1 for Telemetry, Beacon and Alarm, 1 to 10 for NMEA and
/// Tracking, none for a mode code the program does not know.
std::vector<int> profilesSent(int modeCode);

/// Returns the header of every profile an image (128 bytes) sends, in profile order.
std::vector<PacketHeader> packetHeaders(const std::string& image);

/// Returns the header in monitor notation: "N0CALL-9>APRS,WIDE1-1,WIDE2-1". An SSID 0 is left out, as on the
/// air; an empty special path shows as "(empty Special Path N)" and an unknown path code as "(path code N)".
std::string monitorNotation(const PacketHeader& header);

} // namespace qm::image
