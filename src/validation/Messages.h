// The messages of the whole-mode checks, one builder per message, each with its exact text, title and icon.
#pragma once

#include "forms/MessageBox.h"

#include <optional>
#include <string>

namespace qm::validation
{

/// M1: My Call is empty.
forms::MessageBox myCallMissing();
/// M2: My SSID outside 1 to 15.
forms::MessageBox mySsidInvalid();
/// M3: the SSID of a profile (1 to 10) outside 1 to 15.
forms::MessageBox profileSsidInvalid(int profile);
/// M4: To Call is empty.
forms::MessageBox toCallMissing();
/// M5: the SSID part of To Call outside 1 to 15.
forms::MessageBox toCallSsidInvalid();
/// M6: the callsign part of To Call longer than 6 characters.
forms::MessageBox toCallTooLong();
/// M7: paths not used in order (Telemetry, Beacon, Tracking, Alarm).
forms::MessageBox pathsOutOfOrder();
/// M7n: paths not used in order (NMEA).
forms::MessageBox nmeaPathsOutOfOrder();
/// M8: the SSID part of special path n (1 to 4) outside 1 to 15.
forms::MessageBox specialPathSsidInvalid(int n);
/// M9: the callsign part of special path n (1 to 4) longer than 6 characters.
forms::MessageBox specialPathTooLong(int n);
/// M10: no data header at all.
forms::MessageBox dataHeaderMissing();
/// M11: data headers not used in order.
forms::MessageBox dataHeadersOutOfOrder();
/// M12: data header n (1 to 3) longer than 6 characters.
forms::MessageBox dataHeaderTooLong(int n);
/// M13: transmit timer above 68 minutes.
forms::MessageBox timerTooLong();
/// M14: user-defined termination character above 255.
forms::MessageBox terminationOutOfRange();
/// M15: user-defined trigger character without a value.
forms::MessageBox triggerMissing();
/// M16: number of times to send above 255.
forms::MessageBox sendCountOutOfRange();
/// M17: arm delay above 127 seconds.
forms::MessageBox armDelayOutOfRange();
/// M18: Mode Lock without Mic Encode or Auto Mode.
forms::MessageBox modeLockAlone();

/// Returns the box with its focus control and, for a profile rule, the profile.
forms::MessageBox focusedOn(forms::MessageBox box, const std::string& control,
                            std::optional<int> profile = std::nullopt);

} // namespace qm::validation
