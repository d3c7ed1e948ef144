// Windows for configuration-file tests: pick lists filled as at start-up, non-default values, and a
// snapshot of everything a load may change.
#pragma once

#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "forms/Windows.h"
#include "storage/ConfigFile.h"

#include <string>
#include <vector>

namespace qm::storage::test
{

inline constexpr ListDefaults kDefaults{6, 2};

inline forms::Windows filledWindows()
{
    forms::Windows w;
    for (auto& header : w.main.GpsString)
        for (const auto& entry : forms::kDataHeaderEntries)
            header.addItem(entry);
    for (const forms::Mode mode : forms::kModes) {
        auto& station = w.station(mode);
        const auto& toCalls = mode == forms::Mode::Tracking ? forms::kTrackingToCallEntries : forms::kToCallEntries;
        for (const auto& entry : toCalls)
            station.ToCall.addItem(entry);
        for (auto& path : station.Path) {
            for (const auto& entry : forms::kPathEntries)
                path.addItem(entry);
            path.setListIndex(0);
        }
    }
    for (auto& condition : w.alarm.AlmCondition) {
        for (const auto& entry : forms::kConditionEntries)
            condition.addItem(entry);
        condition.setListIndex(1);
    }
    w.main.menus.in1200.setChecked(true);
    w.main.menus.out1200.setChecked(true);
    w.main.MicEncode.setValue(1);
    forms::rebuildTxLists(w, false, kDefaults.txDelayIndex, kDefaults.txTailIndex);
    w.telemetry.TelTxOn.setValue(forms::kCarriageReturn, true);
    w.nmea.NMEATxOn.setValue(forms::kCarriageReturn, true);
    for (auto* store : {&w.nmea.store, &w.tracking.store}) {
        for (int profile = 1; profile <= forms::kProfileCount; ++profile) {
            auto& entry = store->entry(profile);
            entry.Path = {"0", "0", "0", "0"};
            entry.TmrMin = "0";
            entry.TmrSec = "0";
            entry.TxDelay = "6";
            entry.TxTail = "2";
        }
    }
    for (int profile = 1; profile <= forms::kProfileCount; ++profile)
        w.tracking.store.entry(profile).Symbol = ">";
    forms::showNmeaProfile(w);
    forms::showTrackingProfile(w);
    return w;
}

inline void setSpecialPath(forms::StationControls& station, int n, const std::string& text)
{
    station.SpecPath[static_cast<std::size_t>(n - 1)].setText(text);
    forms::relabelSpecialPath(station, n);
}

inline forms::Windows nonDefaultWindows()
{
    forms::Windows w = filledWindows();
    auto& menus = w.main.menus;
    menus.in1200.setChecked(false);
    menus.in9600.setChecked(true);
    menus.out1200.setChecked(false);
    menus.out300.setChecked(true);
    forms::rebuildTxLists(w, true, kDefaults.txDelayIndex, kDefaults.txTailIndex);
    w.main.LEDDisable.setValue(1);
    w.main.MicEncode.setValue(0);
    w.main.ModeLock.setValue(1);
    w.main.AutoMode.setValue(1);
    forms::setMyCall(w, "KB1XYZ");
    for (const forms::Mode mode : forms::kModes) {
        auto& station = w.station(mode);
        station.ToCall.setText("CQ-" + std::to_string(forms::codeOfMode(mode) + 1));
        setSpecialPath(station, 1, "WIDE1-1");
        setSpecialPath(station, 2, "WIDE2-2");
        setSpecialPath(station, 4, "TRACE3-3");
        const int paths[] = {5, 6, 3, 8};
        for (std::size_t i = 0; i < 4; ++i)
            station.Path[i].setListIndex(paths[i]);
        station.SSID.setText("11");
        station.TmrMin.setText("12");
        station.TmrSec.setText("34");
        station.TxDelay.setListIndex(7);
        station.TxTail.setListIndex(9);
    }
    w.telemetry.TelTxOn.setValue(forms::kUserDefined, true);
    w.telemetry.TelUserTrigChar.setText("035");
    w.beacon.BcnMsgText.setText("Beacon\r\ntext with  spaces");

    w.nmea.NMEATxOn.setValue(forms::kLineFeed, true);
    w.nmea.NMEAUserTrigChar.setText("13");
    w.main.GpsString[0].setText("$GPGGA");
    w.main.GpsString[1].setText("$GPRMC");
    w.main.GpsString[2].setText("$GPVTG");
    w.nmea.NMEADeltaEnable.setValue(1);

    const char* symbols[] = {"\x80", "\xAF", "\xBE", "/", ">", "k", "\xEB", "[", "-", "\xFE"};
    for (int profile = 1; profile <= forms::kProfileCount; ++profile) {
        for (auto* store : {&w.nmea.store, &w.tracking.store}) {
            auto& entry = store->entry(profile);
            entry.SSID = std::to_string(profile + 2);
            entry.Path = {std::to_string(profile % 9), "-1", "3", "0"};
            entry.TmrMin = std::to_string(profile);
            entry.TmrSec = "5";
            entry.TxDelay = std::to_string(profile % 15);
            entry.TxTail = "1";
        }
        w.tracking.store.entry(profile).Symbol = symbols[profile - 1];
    }
    w.nmea.NMEAProfile.setSelectedIndex(3);
    forms::showNmeaProfile(w);
    w.tracking.TrkProfile.setSelectedIndex(6);
    forms::showTrackingProfile(w);
    w.tracking.TrkPrefix.setText("=");
    w.tracking.TrkSeparator.setText("\\");
    w.tracking.TrkComments.setText("Mobile  rig");
    w.tracking.TrkDeltaEnable.setValue(1);

    w.alarm.AlmTxCntrLimit.setText("25");
    w.alarm.AlmArmDelay.setText("60");
    const int conditions[] = {0, 1, 0, 0};
    for (std::size_t i = 0; i < 4; ++i)
        w.alarm.AlmCondition[i].setListIndex(conditions[i]);
    const char* messages[] = {"  Front door  ", "Window", "", " Gate"};
    for (std::size_t i = 0; i < 4; ++i)
        w.alarm.AlarmMsgText[i].setText(messages[i]);
    return w;
}

inline void appendList(std::vector<std::string>& out, const forms::PickList& list)
{
    out.push_back(list.name() + " " + std::to_string(list.listIndex()) + " " + list.text());
    for (const auto& entry : list.entries())
        out.push_back(entry);
}

inline std::vector<std::string> snapshot(const forms::Windows& w)
{
    std::vector<std::string> out;
    for (const forms::Mode mode : forms::kModes) {
        const auto lines = configurationLines(w, mode);
        out.insert(out.end(), lines.begin(), lines.end());
        const auto& station = w.station(mode);
        for (const auto& path : station.Path)
            appendList(out, path);
        appendList(out, station.TxDelay);
        appendList(out, station.TxTail);
        appendList(out, station.ToCall);
        out.push_back(station.SSID.text() + "|" + station.TmrMin.text() + "|" + station.TmrSec.text());
    }
    const auto& menus = w.main.menus;
    for (const auto* item : {&menus.in1200, &menus.in2400, &menus.in4800, &menus.in9600, &menus.out300, &menus.out1200})
        out.push_back(item->name() + (item->checked() ? " checked" : " unchecked"));
    for (const auto& header : w.main.GpsString)
        appendList(out, header);
    out.push_back(w.tracking.TrkSymbol.text() + "|" + std::to_string(w.tracking.TrkSendComments.value()));
    out.push_back(std::to_string(w.nmea.NMEAProfile.selectedIndex()) + "|" +
                  std::to_string(w.tracking.TrkProfile.selectedIndex()));
    return out;
}

} // namespace qm::storage::test
