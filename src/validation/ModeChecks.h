// The whole-mode checks run before a write: every rule in its mode's order, the first broken rule's message,
// the focus on the field to correct and, in NMEA and Tracking, the switch to the profile at fault.
#pragma once

#include "forms/MessageBox.h"
#include "forms/Windows.h"

#include <optional>

namespace qm::validation
{

/// The outcome of a check: the message of the first rule the window breaks (with its focus control and, for a
/// profile rule, the profile), or nothing when every rule holds. A check may rewrite fields (a My SSID of
/// spaces cleared, empty Telemetry timers set to "0") and switch the profile on show even when it fails.
using CheckResult = std::optional<forms::MessageBox>;

CheckResult checkTelemetry(forms::Windows& windows);
CheckResult checkBeacon(forms::Windows& windows);
CheckResult checkNmea(forms::Windows& windows);
CheckResult checkTracking(forms::Windows& windows);
CheckResult checkAlarm(forms::Windows& windows);

/// Runs the check of a mode.
CheckResult checkMode(forms::Mode mode, forms::Windows& windows);

} // namespace qm::validation
