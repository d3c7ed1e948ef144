// A window set that passes every mode check: pick lists filled, a callsign, a To Call, one data header,
// profile stores holding ten clean profiles.
#pragma once

#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "forms/Windows.h"

#include <array>
#include <string>

namespace qm::validation
{

inline constexpr std::array<forms::Mode, 5> kModes{forms::Mode::Telemetry, forms::Mode::Beacon, forms::Mode::Nmea,
                                                   forms::Mode::Tracking, forms::Mode::Alarm};

inline std::string prefixOf(forms::Mode mode)
{
    static const std::array<std::string, 5> prefixes{"Tel", "Bcn", "NMEA", "Trk", "Alm"};
    return prefixes[static_cast<std::size_t>(mode)];
}

inline void resetStore(forms::ProfileStore& store, bool tracking)
{
    for (int profile = 1; profile <= forms::kProfileCount; ++profile) {
        forms::ProfileEntry& entry = store.entry(profile);
        entry.SSID = "";
        entry.Path = {"0", "0", "0", "0"};
        entry.Symbol = tracking ? ">" : "";
        entry.TmrMin = "0";
        entry.TmrSec = "0";
        entry.TxDelay = "6";
        entry.TxTail = "2";
    }
}

inline forms::Windows validWindows()
{
    forms::Windows windows;
    for (forms::Mode mode : kModes) {
        forms::StationControls& station = windows.station(mode);
        for (forms::PickList& path : station.Path) {
            for (const auto& entry : forms::kPathEntries)
                path.addItem(entry);
            path.setListIndex(0);
        }
        for (const auto& entry : mode == forms::Mode::Tracking ? forms::kTrackingToCallEntries : forms::kToCallEntries)
            station.ToCall.addItem(entry);
        station.ToCall.setText("APRS");
        station.TmrMin.setText("0");
        station.TmrSec.setText("0");
    }
    forms::rebuildTxLists(windows, false, 6, 2);
    for (forms::PickList& header : windows.main.GpsString)
        for (const auto& entry : forms::kDataHeaderEntries)
            header.addItem(entry);
    windows.main.GpsString[0].setText("$GPRMC");
    for (forms::PickList& condition : windows.alarm.AlmCondition) {
        for (const auto& entry : forms::kConditionEntries)
            condition.addItem(entry);
        condition.setListIndex(0);
    }
    forms::setMyCall(windows, "N0CALL");
    windows.telemetry.TelTxOn.setValue(forms::kCarriageReturn, true);
    windows.nmea.NMEATxOn.setValue(forms::kCarriageReturn, true);
    windows.main.MicEncode.setValue(1);
    windows.alarm.AlmTxCntrLimit.setText("3");
    windows.alarm.AlmArmDelay.setText("30");
    resetStore(windows.nmea.store, false);
    resetStore(windows.tracking.store, true);
    forms::showNmeaProfile(windows);
    forms::showTrackingProfile(windows);
    return windows;
}

inline forms::ProfileStore& storeOf(forms::Windows& windows, forms::Mode mode)
{
    return mode == forms::Mode::Nmea ? windows.nmea.store : windows.tracking.store;
}

inline int shownTab(const forms::Windows& windows, forms::Mode mode)
{
    return mode == forms::Mode::Nmea ? windows.nmea.NMEAProfile.selectedIndex()
                                     : windows.tracking.TrkProfile.selectedIndex();
}

inline bool hasProfiles(forms::Mode mode)
{
    return mode == forms::Mode::Nmea || mode == forms::Mode::Tracking;
}

} // namespace qm::validation
