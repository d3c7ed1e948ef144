// The save layout of a configuration file: the seven header lines and one mode window's block, joined as
// CR LF text, and the splitting of file bytes back into lines.
#include "storage/ConfigFile.h"

#include "forms/Text.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>

namespace qm::storage
{

namespace
{

constexpr int kHeaderLines = 7;
constexpr std::array<int, forms::kModeCount> kBlockLines{19, 16, 104, 110, 25};

// A CR or LF byte inside a single-line value (the typing filters keep them out, but a unit's image can hold
// them: a callsign, a Tracking symbol, a comment) would end the line early and shift every line after it, so
// the file would no longer load. Such a byte is written as a space.
std::string oneLine(std::string value)
{
    std::replace_if(
        value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return value;
}

/// Collects the lines of a save in layout order.
class LineWriter
{
public:
    std::vector<std::string> lines;

    void text(const forms::TextField& field) { lines.push_back(forms::trimSpaces(oneLine(field.text()))); }
    /// The multi-line Beacon text, its line breaks kept: the loader takes every line after it as part of it.
    void multiLine(const forms::TextField& field) { lines.push_back(forms::trimSpaces(field.text())); }
    void untrimmed(const forms::TextField& field) { lines.push_back(oneLine(field.text())); }
    void text(const forms::PickList& editable) { lines.push_back(forms::trimSpaces(oneLine(editable.text()))); }
    void selection(const forms::PickList& list) { lines.push_back(std::to_string(list.listIndex())); }
    void option(const forms::OptionGroup& group, int option)
    {
        lines.push_back(group.value(option) ? "True" : "False");
    }
    void checkBox(const forms::CheckBox& box) { lines.push_back(box.isSet() ? "1" : "0"); }
    void raw(std::string line) { lines.push_back(oneLine(std::move(line))); }

    void specialPaths(const forms::StationControls& station)
    {
        for (const auto& field : station.SpecPath)
            text(field);
    }
    void paths(const forms::StationControls& station)
    {
        for (const auto& list : station.Path)
            selection(list);
    }
    void timerAndDelays(const forms::StationControls& station)
    {
        text(station.TmrMin);
        text(station.TmrSec);
        selection(station.TxDelay);
        selection(station.TxTail);
    }
    void options(const forms::OptionGroup& group)
    {
        for (int option = 0; option < group.size(); ++option)
            this->option(group, option);
    }
    void profiles(const forms::ProfileStore& store, bool tracking)
    {
        for (int profile = 1; profile <= forms::kProfileCount; ++profile) {
            const forms::ProfileEntry& entry = store.entry(profile);
            raw(entry.SSID);
            for (const auto& path : entry.Path)
                raw(path);
            if (tracking)
                raw(entry.Symbol);
            raw(entry.TmrMin);
            raw(entry.TmrSec);
            raw(entry.TxDelay);
            raw(entry.TxTail);
        }
    }
};

// A menu group without a checked item still writes its line, so that the lines after it keep their places;
// "0" is what the compile puts into the image in that case.
void writeHeader(LineWriter& out, const forms::MainWindowControls& main, forms::Mode mode)
{
    out.raw(std::to_string(forms::codeOfMode(mode)));
    const auto inputItems = main.menus.inputBaudItems();
    int input = 0;
    for (std::size_t code = 0; code < inputItems.size(); ++code) {
        if (inputItems[code]->checked()) {
            input = static_cast<int>(code);
            break;
        }
    }
    out.raw(std::to_string(input));
    const bool baud300 = main.menus.out300.checked() && !main.menus.out1200.checked();
    out.raw(baud300 ? "1" : "0");
    out.checkBox(main.LEDDisable);
    out.checkBox(main.MicEncode);
    out.checkBox(main.ModeLock);
    out.checkBox(main.AutoMode);
}

void writeTelemetry(LineWriter& out, const forms::TelemetryForm& form)
{
    const auto& station = form.station;
    out.text(station.MyCall);
    out.text(station.SSID);
    out.text(station.ToCall);
    out.specialPaths(station);
    out.paths(station);
    out.options(form.TelTxOn);
    out.text(form.TelUserTrigChar);
    out.text(station.TmrMin);
    out.text(station.TmrSec);
    out.selection(station.TxDelay);
    out.selection(station.TxTail);
}

void writeBeacon(LineWriter& out, const forms::BeaconForm& form)
{
    const auto& station = form.station;
    out.text(station.MyCall);
    out.text(station.SSID);
    out.text(station.ToCall);
    out.specialPaths(station);
    out.paths(station);
    out.timerAndDelays(station);
    out.multiLine(form.BcnMsgText);
}

void writeNmea(LineWriter& out, const forms::NmeaForm& form, const forms::MainWindowControls& main)
{
    const auto& station = form.station;
    out.text(station.MyCall);
    out.text(station.ToCall);
    out.specialPaths(station);
    out.profiles(form.store, false);
    out.options(form.NMEATxOn);
    out.text(form.NMEAUserTrigChar);
    for (const auto& header : main.GpsString)
        out.text(header);
    out.checkBox(form.NMEADeltaEnable);
}

void writeTracking(LineWriter& out, const forms::TrackingForm& form)
{
    const auto& station = form.station;
    out.text(station.MyCall);
    out.text(station.ToCall);
    out.specialPaths(station);
    out.profiles(form.store, true);
    out.text(form.TrkPrefix);
    out.text(form.TrkSeparator);
    out.checkBox(form.TrkDeltaEnable);
    out.text(form.TrkComments);
}

void writeAlarm(LineWriter& out, const forms::AlarmForm& form)
{
    const auto& station = form.station;
    out.text(station.MyCall);
    out.text(station.SSID);
    out.text(station.ToCall);
    out.specialPaths(station);
    out.paths(station);
    out.timerAndDelays(station);
    out.text(form.AlmTxCntrLimit);
    out.text(form.AlmArmDelay);
    for (const auto& condition : form.AlmCondition)
        out.selection(condition);
    for (const auto& message : form.AlarmMsgText)
        out.untrimmed(message);
}

} // namespace

int configurationLineCount(forms::Mode mode)
{
    return kHeaderLines + kBlockLines.at(forms::modeIndex(mode));
}

std::vector<std::string> configurationLines(const forms::Windows& windows, forms::Mode mode)
{
    LineWriter out;
    writeHeader(out, windows.main, mode);
    switch (mode) {
    case forms::Mode::Telemetry:
        writeTelemetry(out, windows.telemetry);
        break;
    case forms::Mode::Beacon:
        writeBeacon(out, windows.beacon);
        break;
    case forms::Mode::Nmea:
        writeNmea(out, windows.nmea, windows.main);
        break;
    case forms::Mode::Tracking:
        writeTracking(out, windows.tracking);
        break;
    case forms::Mode::Alarm:
        writeAlarm(out, windows.alarm);
        break;
    }
    assert(static_cast<int>(out.lines.size()) == configurationLineCount(mode));
    return std::move(out.lines);
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

std::vector<std::string> splitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            lines.push_back(std::move(line));
            line.clear();
            open = false;
        } else {
            line.push_back(c);
            open = true;
        }
    }
    if (open)
        lines.push_back(std::move(line));
    return lines;
}

std::optional<FileError> saveConfiguration(FileSystem& files, const std::string& path, const forms::Windows& windows,
                                           forms::Mode mode)
{
    return files.writeFileAtomically(path, joinLines(configurationLines(windows, mode)));
}

} // namespace qm::storage
