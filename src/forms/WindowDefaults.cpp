// The windows as start-up and every clear leave them.
#include "forms/WindowDefaults.h"

#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"

#include <vector>

namespace qm::forms
{

namespace
{

void fillList(PickList& list, const std::vector<std::string>& entries)
{
    for (const auto& entry : entries)
        list.addItem(entry);
}

void checkOnly(const std::array<MenuItem*, 4>& items, int index)
{
    for (int i = 0; i < 4; ++i)
        items[static_cast<std::size_t>(i)]->setChecked(i == index);
}

/// The main window's part of every clear: baud rate menus, delay and tail lists, options.
void clearCommon(Windows& windows, const WindowDefaults& defaults)
{
    Menus& menus = windows.main.menus;
    if (defaults.inputBaudIndex >= 0 && defaults.inputBaudIndex <= 3)
        checkOnly(menus.inputBaudItems(), defaults.inputBaudIndex);
    if (defaults.outputBaudIndex == 0) {
        menus.out1200.setChecked(true);
        menus.out300.setChecked(false);
        rebuildTxLists(windows, false, defaults.txDelayIndex, defaults.txTailIndex);
    } else if (defaults.outputBaudIndex == 1) {
        menus.out300.setChecked(true);
        menus.out1200.setChecked(false);
        rebuildTxLists(windows, true, defaults.txDelayIndex, defaults.txTailIndex);
    }
    windows.main.LEDDisable.setValue(0);
    windows.main.MicEncode.setValue(1);
    windows.main.ModeLock.setValue(0);
    windows.main.AutoMode.setValue(0);
}

/// The shared defaults every clear puts into a window: My Call, no SSID, no To Call, no paths, timer 0:00.
void clearStation(Windows& windows, StationControls& station, const std::string& myCall)
{
    setMyCall(windows, myCall);
    station.SSID.setText("");
    station.ToCall.setText("");
    for (auto& path : station.Path)
        path.setListIndex(0);
    station.TmrMin.setText("0");
    station.TmrSec.setText("0");
    for (auto& specialPath : station.SpecPath)
        specialPath.setText("");
}

void resetSpecialPathEntries(StationControls& station)
{
    for (int n = 1; n <= 4; ++n)
        for (auto& path : station.Path)
            if (specialPathEntry(n) < path.count())
                path.replaceItem(specialPathEntry(n), specialPathLabel(n));
}

void resetStore(ProfileStore& store, const WindowDefaults& defaults, const char* symbol)
{
    for (int k = 1; k <= kProfileCount; ++k) {
        ProfileEntry& entry = store.entry(k);
        entry.SSID.clear();
        entry.Path = {};
        entry.Symbol = symbol;
        entry.TmrMin = "0";
        entry.TmrSec = "0";
        entry.TxDelay = std::to_string(defaults.txDelayIndex);
        entry.TxTail = std::to_string(defaults.txTailIndex);
    }
}

void clearTelemetry(Windows& windows, const WindowDefaults& defaults)
{
    TelemetryForm& form = windows.telemetry;
    clearStation(windows, form.station, defaults.myCall);
    form.TelTxOn.setValue(kCarriageReturn, true);
    form.TelUserTrigChar.setText("");
    resetSpecialPathEntries(form.station);
}

void clearBeacon(Windows& windows, const WindowDefaults& defaults)
{
    BeaconForm& form = windows.beacon;
    clearStation(windows, form.station, defaults.myCall);
    form.BcnMsgText.setText("");
    resetSpecialPathEntries(form.station);
}

void clearNmea(Windows& windows, const WindowDefaults& defaults)
{
    NmeaForm& form = windows.nmea;
    resetStore(form.store, defaults, "");
    for (auto& header : windows.main.GpsString)
        header.setText("");
    form.NMEATxOn.setValue(kCarriageReturn, true);
    form.NMEAUserTrigChar.setText("");
    form.NMEADeltaEnable.setValue(0);
    clearStation(windows, form.station, defaults.myCall);
    resetSpecialPathEntries(form.station);
    selectNmeaProfileTab(windows, 0);
}

void clearTracking(Windows& windows, const WindowDefaults& defaults)
{
    TrackingForm& form = windows.tracking;
    resetStore(form.store, defaults, ">");
    form.TrkSendComments.setValue(0);
    form.TrkDeltaEnable.setValue(0);
    clearStation(windows, form.station, defaults.myCall);
    form.station.ToCall.setText("APRS");
    form.TrkSymbol.setText(">");
    form.TrkPrefix.setText("!");
    form.TrkSeparator.setText("/");
    form.TrkComments.setText("");
    resetSpecialPathEntries(form.station);
    selectTrackingProfileTab(windows, 0);
}

void clearAlarm(Windows& windows, const WindowDefaults& defaults)
{
    AlarmForm& form = windows.alarm;
    clearStation(windows, form.station, defaults.myCall);
    form.AlmTxCntrLimit.setText("");
    form.AlmArmDelay.setText("");
    for (auto& message : form.AlarmMsgText)
        message.setText("");
    for (auto& condition : form.AlmCondition)
        condition.setListIndex(1);
    resetSpecialPathEntries(form.station);
}

} // namespace

void fillStartUpPickLists(Windows& windows)
{
    for (auto& header : windows.main.GpsString)
        fillList(header, kDataHeaderEntries);
    for (const Mode mode : kModes) {
        StationControls& station = windows.station(mode);
        fillList(station.ToCall, mode == Mode::Tracking ? kTrackingToCallEntries : kToCallEntries);
        for (auto& path : station.Path)
            fillList(path, kPathEntries);
    }
    for (auto& condition : windows.alarm.AlmCondition)
        fillList(condition, kConditionEntries);
}

void clearWindow(Windows& windows, Mode mode, const WindowDefaults& defaults)
{
    clearCommon(windows, defaults);
    switch (mode) {
    case Mode::Telemetry:
        return clearTelemetry(windows, defaults);
    case Mode::Beacon:
        return clearBeacon(windows, defaults);
    case Mode::Nmea:
        return clearNmea(windows, defaults);
    case Mode::Tracking:
        return clearTracking(windows, defaults);
    case Mode::Alarm:
        return clearAlarm(windows, defaults);
    }
}

void clearAllWindows(Windows& windows, const WindowDefaults& defaults)
{
    for (const Mode mode : kModes)
        clearWindow(windows, mode, defaults);
}

Windows startUpWindows(const WindowDefaults& defaults)
{
    Windows windows;
    fillStartUpPickLists(windows);
    clearAllWindows(windows, defaults);
    return windows;
}

} // namespace qm::forms
