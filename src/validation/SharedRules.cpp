// The rules that several mode checks share.
#include "validation/SharedRules.h"

#include "forms/Numbers.h"
#include "forms/ProfileEditing.h"
#include "forms/Text.h"
#include "validation/Messages.h"

#include <array>
#include <cstddef>
#include <string>

namespace qm::validation
{

namespace
{

constexpr std::size_t kCallsignLength = 6;
constexpr double kLongestTimer = 4080.0;

bool pathsInOrder(const std::array<bool, 4>& inUse)
{
    for (std::size_t later = 1; later < inUse.size(); ++later)
        for (std::size_t earlier = 0; earlier < later; ++earlier)
            if (inUse[later] && !inUse[earlier])
                return false;
    return true;
}

bool exceedsLongestTimer(std::string_view minutes, std::string_view seconds)
{
    return forms::numberValue(minutes) * 60.0 + forms::numberValue(seconds) > kLongestTimer;
}

/// Shows the profile at fault (the tab change stores the profile on show and loads it) and returns the message.
forms::MessageBox atProfile(forms::Windows& windows, const ProfileWindow& window, int profile,
                            const forms::MessageBox& box, const std::string& control)
{
    window.selectTab(windows, profile - 1);
    return focusedOn(box, control, profile);
}

} // namespace

ProfileWindow nmeaProfiles(forms::Windows& windows)
{
    return {windows.nmea.station, windows.nmea.store, forms::selectNmeaProfileTab, false};
}

ProfileWindow trackingProfiles(forms::Windows& windows)
{
    return {windows.tracking.station, windows.tracking.store, forms::selectTrackingProfileTab, true};
}

bool validSsid(std::string_view text)
{
    const double value = forms::numberValue(text);
    return value >= 1.0 && value <= 15.0;
}

CallsignFault callsignFault(std::string_view text)
{
    const std::string callsign = forms::trimUpper(text);
    const auto dash = callsign.find('-');
    if (dash != std::string::npos && !validSsid(std::string_view(callsign).substr(dash + 1)))
        return CallsignFault::Ssid;
    const std::size_t length = dash == std::string::npos ? callsign.size() : dash;
    return length > kCallsignLength ? CallsignFault::TooLong : CallsignFault::None;
}

RuleResult checkMyCall(const forms::StationControls& station)
{
    if (forms::trimUpper(station.MyCall.text()).empty())
        return focusedOn(myCallMissing(), station.MyCall.name());
    return std::nullopt;
}

RuleResult checkMySsid(forms::StationControls& station, bool clearSpaces)
{
    const std::string& text = station.SSID.text();
    if (clearSpaces && (text == " " || text == "  "))
        station.SSID.setText("");
    if (!station.SSID.text().empty() && !validSsid(station.SSID.text()))
        return focusedOn(mySsidInvalid(), station.SSID.name());
    return std::nullopt;
}

RuleResult checkProfileSsids(forms::Windows& windows, const ProfileWindow& window)
{
    for (int profile = 1; profile <= forms::kProfileCount; ++profile) {
        const std::string& ssid = window.store.entry(profile).SSID;
        const bool present = window.trimSsid ? !forms::trimSpaces(ssid).empty() : !ssid.empty();
        if (present && !validSsid(ssid))
            return atProfile(windows, window, profile, profileSsidInvalid(profile), window.station.SSID.name());
    }
    return std::nullopt;
}

RuleResult checkToCall(const forms::StationControls& station)
{
    const std::string text = station.ToCall.text();
    if (forms::trimUpper(text).empty())
        return focusedOn(toCallMissing(), station.ToCall.name());
    switch (callsignFault(text)) {
    case CallsignFault::Ssid:
        return focusedOn(toCallSsidInvalid(), station.ToCall.name());
    case CallsignFault::TooLong:
        return focusedOn(toCallTooLong(), station.ToCall.name());
    case CallsignFault::None:
        break;
    }
    return std::nullopt;
}

RuleResult checkPathOrder(const forms::StationControls& station, const forms::MessageBox& refusal)
{
    std::array<bool, 4> inUse{};
    for (std::size_t i = 0; i < inUse.size(); ++i)
        inUse[i] = station.Path[i].listIndex() > 0;
    if (!pathsInOrder(inUse))
        return focusedOn(refusal, station.Path[0].name());
    return std::nullopt;
}

RuleResult checkProfilePathOrder(forms::Windows& windows, const ProfileWindow& window, const forms::MessageBox& refusal)
{
    for (int profile = 1; profile <= forms::kProfileCount; ++profile) {
        const forms::ProfileEntry& entry = window.store.entry(profile);
        std::array<bool, 4> inUse{};
        for (std::size_t i = 0; i < inUse.size(); ++i)
            inUse[i] = forms::numberValue(entry.Path[i]) > 0.0;
        if (!pathsInOrder(inUse))
            return atProfile(windows, window, profile, refusal, window.station.Path[0].name());
    }
    return std::nullopt;
}

RuleResult checkSpecialPaths(const forms::StationControls& station)
{
    for (int n = 1; n <= 4; ++n) {
        const forms::TextField& field = station.SpecPath[static_cast<std::size_t>(n - 1)];
        if (forms::trimUpper(field.text()).empty())
            continue;
        switch (callsignFault(field.text())) {
        case CallsignFault::Ssid:
            return focusedOn(specialPathSsidInvalid(n), field.name());
        case CallsignFault::TooLong:
            return focusedOn(specialPathTooLong(n), field.name());
        case CallsignFault::None:
            break;
        }
    }
    return std::nullopt;
}

RuleResult checkTimer(const forms::StationControls& station)
{
    if (exceedsLongestTimer(station.TmrMin.text(), station.TmrSec.text()))
        return focusedOn(timerTooLong(), station.TmrMin.name());
    return std::nullopt;
}

RuleResult checkProfileTimers(forms::Windows& windows, const ProfileWindow& window)
{
    for (int profile = 1; profile <= forms::kProfileCount; ++profile) {
        const forms::ProfileEntry& entry = window.store.entry(profile);
        if (exceedsLongestTimer(entry.TmrMin, entry.TmrSec))
            return atProfile(windows, window, profile, timerTooLong(), window.station.TmrMin.name());
    }
    return std::nullopt;
}

} // namespace qm::validation
