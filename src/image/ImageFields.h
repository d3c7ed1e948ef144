// The image field store: the pieces of the configuration image, written by the compile operations and by
// the upload decoding, read by the window fills.
#pragma once

#include "forms/Windows.h"

#include <array>
#include <cstdint>
#include <string>

namespace qm::image
{

/// Bytes of the image (positions 1 to 128) and of the download stream ("D" + image).
inline constexpr std::size_t kImageSize = 128;
inline constexpr std::size_t kDownloadSize = 129;

/// The six profile bytes of one profile; index 0 is profile byte 1.
using ProfileBytes = std::array<std::uint8_t, 6>;

struct ImageFields
{
    std::uint8_t modeByte = 0;
    std::uint8_t optionByte = 0;
    std::uint8_t autoModeByte = 0;
    std::uint8_t profileIndexByte = 0;
    /// Station callsign: on compile the 6 padded characters, after decoding the trimmed text.
    std::string stationCallsign;
    /// To-call: on compile 6 padded characters plus the SSID byte, after decoding the display text (APRS-3).
    std::string toCall;
    /// Special paths 1 to 4 as 7-byte AX.25 address fields (kept encoded).
    std::array<std::string, 4> specialPath;
    /// Profile bytes of profiles 1 to 10 (index 0 is profile 1).
    std::array<ProfileBytes, forms::kProfileCount> profile{};

    // Beacon
    /// The 76 text bytes (positions 52 to 127).
    std::string beaconText;
    // Alarm
    /// Messages 1 to 4 as their 26, 16, 16, 16 bytes.
    std::array<std::string, 4> alarmMessage;
    std::uint8_t normalStateByte = 0;
    std::uint8_t armDelayByte = 0;
    std::uint8_t txCountByte = 0;
    // NMEA
    /// Data headers 1 to 3, 7 bytes each (positions 106, 113, 120).
    std::array<std::string, 3> dataHeader;
    /// The two bytes at positions 127 and 128.
    std::string nmeaTail;
    // Tracking
    std::uint8_t prefixByte = 0;
    std::uint8_t separatorByte = 0;
    /// The 21 comment bytes (positions 108 to 128).
    std::string comment;

    /// Returns profile byte b (1 to 6) of profile p (1 to 10).
    std::uint8_t& profileByte(int p, int b) { return profile.at(std::size_t(p - 1)).at(std::size_t(b - 1)); }
    std::uint8_t profileByte(int p, int b) const { return profile.at(std::size_t(p - 1)).at(std::size_t(b - 1)); }
};

} // namespace qm::image
