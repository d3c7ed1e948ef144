// The line layout of a configuration file, written once: the seven header lines and each mode's block, one
// visitor call per line in file order. The save (ConfigLines.cpp) and the load (ConfigLoad.cpp) both run over
// it, each with a visitor of its own, so the two read and write the same control on the same line.
//
// A visitor has one member per kind of line; the save writes the control's value, the load converts the line
// into it:
//   modeCode(mode)             the mode's number (the load leaves it to fileMode)
//   inputBaud(menus)           the checked input baud rate item as its code, 0 when none is checked
//   outputBaud(menus)          1 for 300 baud, 0 for 1200 baud; the load rebuilds the delay and tail lists
//   menuCheckBox(box)          a main window check box as 0 or 1; the load skips any other value
//   myCall(field)              the callsign; the load gives it to every mode window
//   ssid(field)                the station SSID; the load reads 0 as empty
//   text(field)                a text box or editable list, spaces trimmed, on one line
//   untrimmedText(field)       a text box with its spaces, on one line
//   multiLineText(field)       a text with its line breaks; the load takes every line to the end of the file
//   timer(field)               a timer box; the load reads 0 as "0"
//   specialPath(station, n)    special path n (1 to 4); the load relabels the path selectors at once
//   selection(list)            a list's position
//   option(group, option)      one option of a group as True or False
//   checkBox(box)              a mode window check box as 0 or 1
//   profileSsid(value), profilePath(value, profile, path), profileSymbol(value), profileTimer(value),
//   profileNumber(value)       a field of a stored NMEA or Tracking profile
#pragma once

#include "forms/Windows.h"

#include <concepts>
#include <cstddef>
#include <type_traits>

namespace qm::storage::layout
{

/// forms::Windows for the load, const forms::Windows for the save.
template <class W>
concept WindowsRef = std::same_as<std::remove_const_t<W>, forms::Windows>;

// A menu group without a checked item still has its line, so that the lines after it keep their places.
template <class Line, WindowsRef W>
void header(Line& line, W& windows, forms::Mode mode)
{
    auto& main = windows.main;
    line.modeCode(mode);
    line.inputBaud(main.menus);
    line.outputBaud(main.menus);
    line.menuCheckBox(main.LEDDisable);
    line.menuCheckBox(main.MicEncode);
    line.menuCheckBox(main.ModeLock);
    line.menuCheckBox(main.AutoMode);
}

template <class Line, class Station>
void specialPaths(Line& line, Station& station)
{
    for (int n = 1; n <= 4; ++n)
        line.specialPath(station, n);
}

template <class Line, class Station>
void paths(Line& line, Station& station)
{
    for (auto& list : station.Path)
        line.selection(list);
}

template <class Line, class Group>
void options(Line& line, Group& group)
{
    for (int option = 0; option < group.size(); ++option)
        line.option(group, option);
}

/// The stored profiles 1 to 10, each as one group of lines; a Tracking profile has its symbol too.
template <class Line, class Store>
void profiles(Line& line, Store& store, bool tracking)
{
    for (int profile = 1; profile <= forms::kProfileCount; ++profile) {
        auto& entry = store.entry(profile);
        line.profileSsid(entry.SSID);
        for (std::size_t path = 0; path < entry.Path.size(); ++path)
            line.profilePath(entry.Path[path], profile, path);
        if (tracking)
            line.profileSymbol(entry.Symbol);
        line.profileTimer(entry.TmrMin);
        line.profileTimer(entry.TmrSec);
        line.profileNumber(entry.TxDelay);
        line.profileNumber(entry.TxTail);
    }
}

template <class Line, WindowsRef W>
void telemetry(Line& line, W& windows)
{
    auto& form = windows.telemetry;
    auto& station = form.station;
    line.myCall(station.MyCall);
    line.ssid(station.SSID);
    line.text(station.ToCall);
    specialPaths(line, station);
    paths(line, station);
    options(line, form.TelTxOn);
    line.text(form.TelUserTrigChar);
    line.timer(station.TmrMin);
    line.timer(station.TmrSec);
    line.selection(station.TxDelay);
    line.selection(station.TxTail);
}

template <class Line, WindowsRef W>
void beacon(Line& line, W& windows)
{
    auto& form = windows.beacon;
    auto& station = form.station;
    line.myCall(station.MyCall);
    line.ssid(station.SSID);
    line.text(station.ToCall);
    specialPaths(line, station);
    paths(line, station);
    line.timer(station.TmrMin);
    line.timer(station.TmrSec);
    line.selection(station.TxDelay);
    line.selection(station.TxTail);
    line.multiLineText(form.BcnMsgText);
}

template <class Line, WindowsRef W>
void nmea(Line& line, W& windows)
{
    auto& form = windows.nmea;
    auto& station = form.station;
    line.myCall(station.MyCall);
    line.text(station.ToCall);
    specialPaths(line, station);
    profiles(line, form.store, false);
    options(line, form.NMEATxOn);
    line.text(form.NMEAUserTrigChar);
    for (auto& header : windows.main.GpsString)
        line.text(header);
    line.checkBox(form.NMEADeltaEnable);
}

template <class Line, WindowsRef W>
void tracking(Line& line, W& windows)
{
    auto& form = windows.tracking;
    auto& station = form.station;
    line.myCall(station.MyCall);
    line.text(station.ToCall);
    specialPaths(line, station);
    profiles(line, form.store, true);
    line.text(form.TrkPrefix);
    line.text(form.TrkSeparator);
    line.checkBox(form.TrkDeltaEnable);
    line.text(form.TrkComments);
}

template <class Line, WindowsRef W>
void alarm(Line& line, W& windows)
{
    auto& form = windows.alarm;
    auto& station = form.station;
    line.myCall(station.MyCall);
    line.ssid(station.SSID);
    line.text(station.ToCall);
    specialPaths(line, station);
    paths(line, station);
    line.timer(station.TmrMin);
    line.timer(station.TmrSec);
    line.selection(station.TxDelay);
    line.selection(station.TxTail);
    line.text(form.AlmTxCntrLimit);
    line.text(form.AlmArmDelay);
    for (auto& condition : form.AlmCondition)
        line.selection(condition);
    for (auto& message : form.AlarmMsgText)
        line.untrimmedText(message);
}

/// Visits every line of a mode's file: the header, then the mode's block.
template <class Line, WindowsRef W>
void configuration(Line& line, W& windows, forms::Mode mode)
{
    header(line, windows, mode);
    switch (mode) {
    case forms::Mode::Telemetry:
        telemetry(line, windows);
        break;
    case forms::Mode::Beacon:
        beacon(line, windows);
        break;
    case forms::Mode::Nmea:
        nmea(line, windows);
        break;
    case forms::Mode::Tracking:
        tracking(line, windows);
        break;
    case forms::Mode::Alarm:
        alarm(line, windows);
        break;
    }
}

} // namespace qm::storage::layout
