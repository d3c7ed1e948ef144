// A window set as start-up leaves it (pick lists filled, 1200 baud in and out), and the header steps the
// upload decoding takes before a window fill.
#pragma once

#include "forms/PickLists.h"
#include "forms/Windows.h"
#include "image/Decode.h"
#include "image/ImageFields.h"

#include <cstdint>
#include <initializer_list>
#include <string>

namespace qm::image
{

inline forms::Windows readyWindows()
{
    forms::Windows windows;
    for (const forms::Mode mode : forms::kModes) {
        forms::StationControls& station = windows.station(mode);
        for (forms::PickList& path : station.Path) {
            for (const auto& entry : forms::kPathEntries)
                path.addItem(entry);
            path.setListIndex(0);
        }
        const auto& toCalls = mode == forms::Mode::Tracking ? forms::kTrackingToCallEntries : forms::kToCallEntries;
        for (const auto& entry : toCalls)
            station.ToCall.addItem(entry);
    }
    for (forms::PickList& header : windows.main.GpsString)
        for (const auto& entry : forms::kDataHeaderEntries)
            header.addItem(entry);
    for (forms::PickList& condition : windows.alarm.AlmCondition) {
        for (const auto& entry : forms::kConditionEntries)
            condition.addItem(entry);
        condition.setListIndex(0);
    }
    windows.main.menus.in1200.setChecked(true);
    windows.main.menus.out1200.setChecked(true);
    forms::rebuildTxLists(windows, false, 0, 0);
    return windows;
}

inline void setOutputBaud(forms::Windows& windows, bool baud300)
{
    windows.main.menus.out300.setChecked(baud300);
    windows.main.menus.out1200.setChecked(!baud300);
    forms::rebuildTxLists(windows, baud300, 0, 0);
}

inline void receiveHeader(forms::Windows& windows, const ImageFields& fields)
{
    const std::optional<forms::Mode> mode = forms::modeOfCode(modeCode(fields.modeByte));
    if (mode != forms::Mode::Beacon && mode != forms::Mode::Alarm) {
        const auto items = windows.main.menus.inputBaudItems();
        for (std::size_t i = 0; i < items.size(); ++i)
            items[i]->setChecked(static_cast<int>(i) == decodeModeByte(fields.modeByte).inputBaudCode);
    }
    setOutputBaud(windows, decodeModeByte(fields.modeByte).output300);
    const OptionByte options = decodeOptionByte(fields.optionByte);
    windows.main.LEDDisable.setValue(options.ledDisable ? 1 : 0);
    windows.main.MicEncode.setValue(options.micEncode ? 1 : 0);
    windows.main.ModeLock.setValue(options.modeLock ? 1 : 0);
    if (const auto autoMode = decodeAutoModeByte(fields.autoModeByte))
        windows.main.AutoMode.setValue(*autoMode ? 1 : 0);
    forms::StationControls& station = windows.station(*mode);
    station.MyCall.setText(fields.stationCallsign);
    station.ToCall.setText(fields.toCall);
}

inline std::string bytes(std::initializer_list<int> values)
{
    std::string result;
    for (int value : values)
        result.push_back(static_cast<char>(value));
    return result;
}

inline int at(const std::string& stream, std::size_t position)
{
    return static_cast<unsigned char>(stream.at(position));
}

} // namespace qm::image
