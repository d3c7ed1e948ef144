// The messages of the whole-mode checks, one builder per message, each with its exact text, title and icon.
#pragma once

#include "forms/MessageBox.h"

#include <optional>
#include <string>

namespace qm::validation
{

/// My Call is empty.
forms::MessageBox myCallMissing();
/// My SSID outside 1 to 15.
forms::MessageBox mySsidInvalid();
/// The SSID of a profile (1 to 10) outside 1 to 15.
forms::MessageBox profileSsidInvalid(int profile);
/// To Call is empty.
forms::MessageBox toCallMissing();
/// The SSID part of To Call outside 1 to 15.
forms::MessageBox toCallSsidInvalid();
/// The callsign part of To Call longer than 6 characters.
forms::MessageBox toCallTooLong();
/// Paths not used in order (Telemetry, Beacon, Tracking, Alarm).
forms::MessageBox pathsOutOfOrder();
/// Paths not used in order (NMEA).
forms::MessageBox nmeaPathsOutOfOrder();
/// The SSID part of special path n (1 to 4) outside 1 to 15.
forms::MessageBox specialPathSsidInvalid(int n);
/// The callsign part of special path n (1 to 4) longer than 6 characters.
forms::MessageBox specialPathTooLong(int n);
/// No data header at all.
forms::MessageBox dataHeaderMissing();
/// Data headers not used in order.
forms::MessageBox dataHeadersOutOfOrder();
/// Data header n (1 to 3) longer than 6 characters.
forms::MessageBox dataHeaderTooLong(int n);
/// Transmit timer above 68 minutes.
forms::MessageBox timerTooLong();
/// User-defined termination character above 255.
forms::MessageBox terminationOutOfRange();
/// User-defined trigger character without a value.
forms::MessageBox triggerMissing();
/// Number of times to send above 255.
forms::MessageBox sendCountOutOfRange();
/// Arm delay above 127 seconds.
forms::MessageBox armDelayOutOfRange();
/// Mode Lock without Mic Encode or Auto Mode.
forms::MessageBox modeLockAlone();

/// Returns the box with its focus control and, for a profile rule, the profile.
forms::MessageBox focusedOn(forms::MessageBox box, const std::string& control,
                            std::optional<int> profile = std::nullopt);

} // namespace qm::validation
