// The five whole-mode checks: the shared rules and each mode's own steps, in the mode's order.
#include "validation/ModeChecks.h"

#include "forms/Numbers.h"
#include "validation/Messages.h"
#include "validation/SharedRules.h"

#include <cstddef>

namespace qm::validation
{

namespace
{

constexpr double kLargestCharacter = 255.0;
constexpr double kLargestSendCount = 255.0;
constexpr double kLongestArmDelay = 127.0;
constexpr std::size_t kDataHeaderLength = 6;

/// An empty timer field, or one of one or two spaces, reads as "0" from here on.
void fillEmptyTimer(forms::TextField& field)
{
    const std::string& text = field.text();
    if (text.empty() || text == " " || text == "  ")
        field.setText("0");
}

/// Runs the shared rules every check starts with, up to the special paths; the SSID and path rules are the
/// mode's own.
template <typename SsidRule, typename PathRule>
CheckResult checkStation(const forms::StationControls& station, SsidRule ssidRule, PathRule pathRule)
{
    if (auto stop = checkMyCall(station))
        return stop;
    if (auto stop = ssidRule())
        return stop;
    if (auto stop = checkToCall(station))
        return stop;
    if (auto stop = pathRule())
        return stop;
    return checkSpecialPaths(station);
}

CheckResult checkDataHeaders(const forms::MainWindowControls& main)
{
    const std::string header1 = main.GpsString[0].text();
    const std::string header2 = main.GpsString[1].text();
    const std::string header3 = main.GpsString[2].text();
    const std::string& first = main.GpsString[0].name();
    if (header1.empty() && header2.empty() && header3.empty())
        return focusedOn(dataHeaderMissing(), first);
    if ((header1.empty() && (!header2.empty() || !header3.empty())) || (header2.empty() && !header3.empty()))
        return focusedOn(dataHeadersOutOfOrder(), first);
    for (std::size_t i = 0; i < main.GpsString.size(); ++i)
        if (main.GpsString[i].text().size() > kDataHeaderLength)
            return focusedOn(dataHeaderTooLong(static_cast<int>(i) + 1), main.GpsString[i].name());
    return std::nullopt;
}

bool userTerminationTooLarge(const forms::OptionGroup& choice, const forms::TextField& value)
{
    return choice.value(forms::kUserDefined) && forms::numberValue(value.text()) > kLargestCharacter;
}

} // namespace

CheckResult checkTelemetry(forms::Windows& windows)
{
    forms::TelemetryForm& form = windows.telemetry;
    forms::StationControls& station = form.station;
    auto stop = checkStation(
        station, [&] { return checkMySsid(station, true); },
        [&] { return checkPathOrder(station, pathsOutOfOrder()); });
    if (stop)
        return stop;
    if (auto timer = checkTimer(station))
        return timer;
    fillEmptyTimer(station.TmrMin);
    fillEmptyTimer(station.TmrSec);
    if (userTerminationTooLarge(form.TelTxOn, form.TelUserTrigChar))
        return focusedOn(terminationOutOfRange(), form.TelUserTrigChar.name());
    return std::nullopt;
}

CheckResult checkBeacon(forms::Windows& windows)
{
    forms::StationControls& station = windows.beacon.station;
    auto stop = checkStation(
        station, [&] { return checkMySsid(station, true); },
        [&] { return checkPathOrder(station, pathsOutOfOrder()); });
    if (stop)
        return stop;
    return checkTimer(station);
}

CheckResult checkNmea(forms::Windows& windows)
{
    forms::NmeaForm& form = windows.nmea;
    const ProfileWindow profiles = nmeaProfiles(windows);
    auto stop = checkStation(
        form.station, [&] { return checkProfileSsids(windows, profiles); },
        [&] { return checkProfilePathOrder(windows, profiles, nmeaPathsOutOfOrder()); });
    if (stop)
        return stop;
    if (auto headers = checkDataHeaders(windows.main))
        return headers;
    if (auto timers = checkProfileTimers(windows, profiles))
        return timers;
    if (form.NMEATxOn.value(forms::kUserDefined) && form.NMEAUserTrigChar.text().empty())
        return focusedOn(triggerMissing(), form.NMEAUserTrigChar.name());
    // A value above 255 does not fit the profile byte that carries it, so it is refused like Telemetry's.
    if (userTerminationTooLarge(form.NMEATxOn, form.NMEAUserTrigChar))
        return focusedOn(terminationOutOfRange(), form.NMEAUserTrigChar.name());
    return std::nullopt;
}

CheckResult checkTracking(forms::Windows& windows)
{
    const ProfileWindow profiles = trackingProfiles(windows);
    auto stop = checkStation(
        windows.tracking.station, [&] { return checkProfileSsids(windows, profiles); },
        [&] { return checkProfilePathOrder(windows, profiles, pathsOutOfOrder()); });
    if (stop)
        return stop;
    if (auto timers = checkProfileTimers(windows, profiles))
        return timers;
    const forms::MainWindowControls& main = windows.main;
    if (main.ModeLock.isSet() && !main.MicEncode.isSet() && !main.AutoMode.isSet())
        return focusedOn(modeLockAlone(), main.ModeLock.name());
    return std::nullopt;
}

CheckResult checkAlarm(forms::Windows& windows)
{
    forms::AlarmForm& form = windows.alarm;
    forms::StationControls& station = form.station;
    auto stop = checkStation(
        station, [&] { return checkMySsid(station, false); },
        [&] { return checkPathOrder(station, pathsOutOfOrder()); });
    if (stop)
        return stop;
    if (auto timer = checkTimer(station))
        return timer;
    if (forms::numberValue(form.AlmTxCntrLimit.text()) > kLargestSendCount)
        return focusedOn(sendCountOutOfRange(), form.AlmTxCntrLimit.name());
    if (forms::numberValue(form.AlmArmDelay.text()) > kLongestArmDelay)
        return focusedOn(armDelayOutOfRange(), form.AlmArmDelay.name());
    return std::nullopt;
}

CheckResult checkMode(forms::Mode mode, forms::Windows& windows)
{
    switch (mode) {
    case forms::Mode::Telemetry:
        return checkTelemetry(windows);
    case forms::Mode::Beacon:
        return checkBeacon(windows);
    case forms::Mode::Nmea:
        return checkNmea(windows);
    case forms::Mode::Tracking:
        return checkTracking(windows);
    case forms::Mode::Alarm:
        return checkAlarm(windows);
    }
    return std::nullopt;
}

} // namespace qm::validation
