// Windows for the check and file tests: values that pass every mode check, and controls set by name.
#pragma once

#include "forms/Controls.h"
#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "forms/Windows.h"

#include <map>
#include <string>
#include <string_view>

namespace qm::validation
{

using forms::kModes;

inline std::string prefixOf(forms::Mode mode)
{
    return forms::Windows().station(mode).prefix();
}

inline bool hasProfiles(forms::Mode mode)
{
    return mode == forms::Mode::Nmea || mode == forms::Mode::Tracking;
}

inline forms::ProfileStore& storeOf(forms::Windows& windows, forms::Mode mode)
{
    return mode == forms::Mode::Nmea ? windows.nmea.store : windows.tracking.store;
}

/// Sets controls from "Name=value;Name=value": a text field or editable list takes the text, a fixed list the
/// position, an option, check box or menu item 1 or 0; "NMEA.4.SSID" or "Trk.10.Path2" is a stored profile value.
inline void set(forms::Windows& windows, std::string_view settings)
{
    for (std::size_t start = 0; start < settings.size();) {
        const std::string item(settings.substr(start, settings.find(';', start) - start));
        start += item.size() + 1;
        const std::string name = item.substr(0, item.find('='));
        const std::string value = item.substr(name.size() + 1);
        if (const auto dot = name.find('.'); dot != std::string::npos) {
            const forms::Mode mode = name[0] == 'N' ? forms::Mode::Nmea : forms::Mode::Tracking;
            forms::ProfileEntry& e = storeOf(windows, mode).entry(std::stoi(name.substr(dot + 1)));
            const std::map<std::string, std::string*> fields{
                {"SSID", &e.SSID},       {"Path1", &e.Path[0]}, {"Path2", &e.Path[1]}, {"Path3", &e.Path[2]},
                {"Path4", &e.Path[3]},   {"Symbol", &e.Symbol}, {"TmrMin", &e.TmrMin}, {"TmrSec", &e.TmrSec},
                {"TxDelay", &e.TxDelay}, {"TxTail", &e.TxTail}};
            *fields.at(name.substr(name.rfind('.') + 1)) = value;
            continue;
        }
        const forms::Control control = forms::findControl(windows, name).value();
        if (auto* field = std::get_if<forms::TextField*>(&control))
            (*field)->setText(value);
        else if (auto* list = std::get_if<forms::PickList*>(&control))
            (*list)->editable() ? (*list)->setText(value) : (void)(*list)->setListIndex(std::stoi(value));
        else if (auto* option = std::get_if<forms::OptionRef>(&control))
            option->group->setValue(option->option, value == "1");
        else if (auto* box = std::get_if<forms::CheckBox*>(&control))
            (*box)->setValue(std::stoi(value));
        else
            std::get<forms::MenuItem*>(control)->setChecked(value == "1");
        if (const auto placed = forms::locateControl(windows, name); placed->place.role == forms::Role::SpecialPath)
            forms::relabelSpecialPath(windows.station(placed->place.mode.value()), placed->place.number);
    }
}

/// Returns windows with their fixed lists filled that pass every mode check, profile 1 on show.
inline forms::Windows validWindows()
{
    forms::Windows w;
    for (const forms::Mode mode : kModes) {
        forms::StationControls& station = w.station(mode);
        for (forms::PickList& path : station.Path) {
            for (const auto& entry : forms::kPathEntries)
                path.addItem(entry);
            path.setListIndex(0);
        }
        set(w, station.prefix() + "ToCall=APRS;" + station.prefix() + "TmrMin=0;" + station.prefix() + "TmrSec=0");
        for (int profile = 1; hasProfiles(mode) && profile <= forms::kProfileCount; ++profile)
            storeOf(w, mode).entry(profile) = {
                "", {"0", "0", "0", "0"}, mode == forms::Mode::Tracking ? ">" : "", "0", "0", "6", "2"};
    }
    forms::rebuildTxLists(w, false, 6, 2);
    for (forms::PickList& condition : w.alarm.AlmCondition) {
        for (const auto& entry : forms::kConditionEntries)
            condition.addItem(entry);
        condition.setListIndex(0);
    }
    forms::setMyCall(w, "N0CALL");
    set(w, "GpsString1=$GPRMC;TelTxOnCREnable=1;NMEATxOnCREnable=1;MicEncode=1;AlmTxCntrLimit=3;AlmArmDelay=30");
    forms::showNmeaProfile(w);
    forms::showTrackingProfile(w);
    return w;
}

} // namespace qm::validation
