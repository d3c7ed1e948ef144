// The bits of the image's first three bytes: the mode byte (mode, baud rates, delta), the option byte (LED,
// Mic-E, mode lock) and the auto mode byte. Every compile writes them and every decode reads them through here.
#pragma once

#include <cstdint>
#include <optional>

namespace qm::image
{

// The mode byte (image byte 1).
inline constexpr std::uint8_t kModeCodeMask = 0x07;
inline constexpr std::uint8_t kInputBaudMask = 0x18;
inline constexpr int kInputBaudShift = 3;
inline constexpr std::uint8_t kOutput300Bit = 0x20;
/// NMEA and Tracking: send only when the position has moved.
inline constexpr std::uint8_t kDeltaBit = 0x40;

// The option byte (image byte 2).
inline constexpr std::uint8_t kLedDisableBit = 0x01;
inline constexpr std::uint8_t kMicEncodeBit = 0x02;
inline constexpr std::uint8_t kModeLockBit = 0x04;

// The auto mode byte (image byte 3): one of two values; any other leaves the Auto Mode box as it is.
inline constexpr std::uint8_t kAutoModeOff = 0x00;
inline constexpr std::uint8_t kAutoModeOn = 0xFF;

struct ModeByte
{
    /// 0 to 7; the program edits 0 to 4.
    int modeCode = 0;
    /// 0 = 1200 .. 3 = 9600 baud.
    int inputBaudCode = 0;
    bool output300 = false;
    bool delta = false;
};

struct OptionByte
{
    bool ledDisable = false;
    bool micEncode = false;
    bool modeLock = false;
};

std::uint8_t encodeModeByte(const ModeByte& mode);
ModeByte decodeModeByte(std::uint8_t byte);

std::uint8_t encodeOptionByte(const OptionByte& options);
OptionByte decodeOptionByte(std::uint8_t byte);

std::uint8_t encodeAutoModeByte(bool autoMode);
/// Returns the Auto Mode setting of the byte, or nothing for a value no compile writes.
std::optional<bool> decodeAutoModeByte(std::uint8_t byte);

/// Returns the mode code of an image's mode byte (0 to 7).
int modeCode(std::uint8_t modeByte);

} // namespace qm::image
