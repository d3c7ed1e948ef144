// Bytes and sizes shared by the link's handlers.
#pragma once

#include <cstddef>

namespace qm::link
{

/// The presence probe; a unit in configuration mode echoes it.
inline constexpr char kProbeByte = static_cast<char>(0xAA);
inline constexpr char kReadRequest = 'U';
inline constexpr char kEndCommand = 'E';
/// The unit's answer to "U": "U", model byte, firmware byte and the 128 configuration bytes.
inline constexpr std::size_t kReplySize = 131;
/// "D" and the 128 configuration bytes.
inline constexpr std::size_t kDownloadSize = 129;
inline constexpr std::size_t kAbortZeroBytes = 128;

} // namespace qm::link
