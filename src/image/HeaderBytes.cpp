// The bits of the image's mode, option and auto mode bytes.
#include "image/HeaderBytes.h"

namespace qm::image
{

namespace
{

bool has(std::uint8_t byte, std::uint8_t bit)
{
    return (byte & bit) != 0;
}

} // namespace

std::uint8_t encodeModeByte(const ModeByte& mode)
{
    unsigned byte = static_cast<unsigned>(mode.modeCode) & kModeCodeMask;
    byte |= (static_cast<unsigned>(mode.inputBaudCode) << kInputBaudShift) & kInputBaudMask;
    if (mode.output300)
        byte |= kOutput300Bit;
    if (mode.delta)
        byte |= kDeltaBit;
    return static_cast<std::uint8_t>(byte);
}

ModeByte decodeModeByte(std::uint8_t byte)
{
    return {modeCode(byte), (byte & kInputBaudMask) >> kInputBaudShift, has(byte, kOutput300Bit), has(byte, kDeltaBit)};
}

std::uint8_t encodeOptionByte(const OptionByte& options)
{
    unsigned byte = 0;
    if (options.ledDisable)
        byte |= kLedDisableBit;
    if (options.micEncode)
        byte |= kMicEncodeBit;
    if (options.modeLock)
        byte |= kModeLockBit;
    return static_cast<std::uint8_t>(byte);
}

OptionByte decodeOptionByte(std::uint8_t byte)
{
    return {has(byte, kLedDisableBit), has(byte, kMicEncodeBit), has(byte, kModeLockBit)};
}

std::uint8_t encodeAutoModeByte(bool autoMode)
{
    return autoMode ? kAutoModeOn : kAutoModeOff;
}

std::optional<bool> decodeAutoModeByte(std::uint8_t byte)
{
    if (byte == kAutoModeOff)
        return false;
    if (byte == kAutoModeOn)
        return true;
    return std::nullopt;
}

int modeCode(std::uint8_t modeByte)
{
    return modeByte & kModeCodeMask;
}

} // namespace qm::image
