// The loaders of a configuration file: every line is converted and checked against a working copy of the
// windows, and the windows take the copy only when the whole file has loaded.
#include "storage/ConfigFile.h"

#include "forms/Numbers.h"
#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "forms/Text.h"

#include <cassert>
#include <cstddef>

namespace qm::storage
{

namespace
{

const char* modeName(forms::Mode mode)
{
    switch (mode) {
    case forms::Mode::Telemetry:
        return "Telemetry";
    case forms::Mode::Beacon:
        return "Beacon";
    case forms::Mode::Nmea:
        return "NMEA";
    case forms::Mode::Tracking:
        return "Tracking";
    case forms::Mode::Alarm:
        return "Alarm";
    }
    return "";
}

constexpr int kLastPathEntry = 8;

/// Reads the lines of a file in layout order into a working copy of the windows, keeping the first failure.
class BlockLoader
{
public:
    BlockLoader(forms::Windows& work, const std::vector<std::string>& lines) : m_work(work), m_lines(lines) {}

    const std::optional<FileError>& error() const { return m_error; }

    const std::string& next()
    {
        assert(m_next < m_lines.size());
        return m_lines[m_next++];
    }

    void header(const ListDefaults& defaults)
    {
        auto& main = m_work.main;
        next();
        const double input = forms::numberValue(next());
        const auto inputItems = main.menus.inputBaudItems();
        for (std::size_t code = 0; code < inputItems.size(); ++code) {
            if (input == static_cast<double>(code)) {
                for (std::size_t other = 0; other < inputItems.size(); ++other)
                    inputItems[other]->setChecked(other == code);
            }
        }
        // The delay and tail lists are rebuilt here, before any delay or tail position is read.
        const double output = forms::numberValue(next());
        if (output == 0.0 || output == 1.0) {
            const bool baud300 = output == 1.0;
            main.menus.out300.setChecked(baud300);
            main.menus.out1200.setChecked(!baud300);
            forms::rebuildTxLists(m_work, baud300, defaults.txDelayIndex, defaults.txTailIndex);
        }
        for (forms::CheckBox* box : {&main.LEDDisable, &main.MicEncode, &main.ModeLock, &main.AutoMode}) {
            const double value = forms::numberValue(next());
            if (value == 0.0 || value == 1.0)
                box->setValue(value == 1.0 ? 1 : 0);
        }
    }

    void text(forms::TextField& field) { field.setText(next()); }
    void text(forms::PickList& editable) { editable.setText(next()); }
    void myCall() { forms::setMyCall(m_work, next()); }

    // Every line is kept whole, however long: a value the unit cannot take is refused by Write with the check's
    // or the compile's message naming the field, never changed here without a word.
    void mySsid(forms::TextField& field)
    {
        const std::string& line = next();
        field.setText(forms::numberValue(line) == 0.0 ? std::string() : line);
    }

    void timer(forms::TextField& field)
    {
        const std::string& line = next();
        field.setText(forms::numberValue(line) == 0.0 ? std::string("0") : line);
    }

    void selection(forms::PickList& list)
    {
        const std::string& line = next();
        const auto index = forms::wholeNumberIn(line, -1, list.count() - 1);
        if (!index) {
            fail(error::kInvalidPropertyValue, "\"" + line + "\" is not a position of " + list.name());
            return;
        }
        list.setListIndex(*index);
    }

    void option(forms::OptionGroup& group, int option)
    {
        const std::string& line = next();
        const std::string word = forms::upperCase(forms::trimSpaces(line));
        if (word == "TRUE" || word == "FALSE")
            group.setValue(option, word == "TRUE");
        else
            fail(error::kTypeMismatch, "\"" + line + "\" is neither True nor False for " + group.name(option));
    }

    void options(forms::OptionGroup& group)
    {
        for (int option = 0; option < group.size(); ++option)
            this->option(group, option);
    }

    void checkBox(forms::CheckBox& box)
    {
        const std::string& line = next();
        const auto value = forms::wholeNumberIn(line, 0, 1);
        if (!value) {
            fail(error::kInvalidPropertyValue, "\"" + line + "\" is not a state of " + box.name());
            return;
        }
        box.setValue(*value);
    }

    // Each special path relabels its selector entries at once, so the path positions read next find them.
    void specialPaths(forms::StationControls& station)
    {
        for (int n = 1; n <= 4; ++n) {
            station.SpecPath[static_cast<std::size_t>(n - 1)].setText(next());
            forms::relabelSpecialPath(station, n);
        }
    }

    void paths(forms::StationControls& station)
    {
        for (auto& list : station.Path)
            selection(list);
    }

    void timerAndDelays(forms::StationControls& station)
    {
        timer(station.TmrMin);
        timer(station.TmrSec);
        selection(station.TxDelay);
        selection(station.TxTail);
    }

    void profiles(forms::ProfileStore& store, bool tracking)
    {
        for (int profile = 1; profile <= forms::kProfileCount; ++profile) {
            forms::ProfileEntry& entry = store.entry(profile);
            entry.SSID = storedSsid(next());
            for (std::size_t i = 0; i < entry.Path.size(); ++i)
                entry.Path[i] = storedPath(next(), profile, i);
            if (tracking)
                entry.Symbol = forms::trimSpaces(next());
            entry.TmrMin = storedTimer(next());
            entry.TmrSec = storedTimer(next());
            entry.TxDelay = forms::formatNumber(forms::numberValue(next()));
            entry.TxTail = forms::formatNumber(forms::numberValue(next()));
        }
    }

    // The beacon text may hold the line breaks typed into its multi-line field, so it is everything from its
    // line to the end of the file.
    void beaconText(forms::TextField& field)
    {
        std::string text = next();
        while (m_next < m_lines.size()) {
            text += "\r\n";
            text += next();
        }
        field.setText(text);
    }

private:
    static std::string storedSsid(const std::string& line)
    {
        const double value = forms::numberValue(line);
        return value == 0.0 ? std::string() : forms::formatNumber(value);
    }

    static std::string storedTimer(const std::string& line)
    {
        return forms::numberValue(line) == 0.0 ? std::string("0") : line;
    }

    std::string storedPath(const std::string& line, int profile, std::size_t path)
    {
        if (!forms::wholeNumberIn(line, -1, kLastPathEntry))
            fail(error::kInvalidPropertyValue, "\"" + line + "\" is not a position of Path" + std::to_string(path + 1) +
                                                   " in profile " + std::to_string(profile));
        return line;
    }

    void fail(int number, const std::string& what)
    {
        if (!m_error)
            m_error = FileError{number, "Line " + std::to_string(m_next) + ": " + what + "."};
    }

    forms::Windows& m_work;
    const std::vector<std::string>& m_lines;
    std::size_t m_next = 0;
    std::optional<FileError> m_error;
};

void loadTelemetry(BlockLoader& in, forms::Windows& work)
{
    auto& form = work.telemetry;
    auto& station = form.station;
    in.myCall();
    in.mySsid(station.SSID);
    in.text(station.ToCall);
    in.specialPaths(station);
    in.paths(station);
    in.options(form.TelTxOn);
    in.text(form.TelUserTrigChar);
    in.timerAndDelays(station);
}

void loadBeacon(BlockLoader& in, forms::Windows& work)
{
    auto& form = work.beacon;
    auto& station = form.station;
    in.myCall();
    in.mySsid(station.SSID);
    in.text(station.ToCall);
    in.specialPaths(station);
    in.paths(station);
    in.timerAndDelays(station);
    in.beaconText(form.BcnMsgText);
}

void loadNmea(BlockLoader& in, forms::Windows& work)
{
    auto& form = work.nmea;
    auto& station = form.station;
    in.myCall();
    in.text(station.ToCall);
    in.specialPaths(station);
    in.profiles(form.store, false);
    in.options(form.NMEATxOn);
    in.text(form.NMEAUserTrigChar);
    for (auto& header : work.main.GpsString)
        in.text(header);
    in.checkBox(form.NMEADeltaEnable);
    forms::showNmeaProfile(work);
}

void loadTracking(BlockLoader& in, forms::Windows& work)
{
    auto& form = work.tracking;
    auto& station = form.station;
    in.myCall();
    in.text(station.ToCall);
    in.specialPaths(station);
    in.profiles(form.store, true);
    in.text(form.TrkPrefix);
    in.text(form.TrkSeparator);
    in.checkBox(form.TrkDeltaEnable);
    in.text(form.TrkComments);
    forms::showTrackingProfile(work);
}

void loadAlarm(BlockLoader& in, forms::Windows& work)
{
    auto& form = work.alarm;
    auto& station = form.station;
    in.myCall();
    in.mySsid(station.SSID);
    in.text(station.ToCall);
    in.specialPaths(station);
    in.paths(station);
    in.timerAndDelays(station);
    in.text(form.AlmTxCntrLimit);
    in.text(form.AlmArmDelay);
    for (auto& condition : form.AlmCondition)
        in.selection(condition);
    for (auto& message : form.AlarmMsgText)
        in.text(message);
}

std::optional<FileError> load(forms::Mode mode, forms::Windows& windows, const std::vector<std::string>& lines,
                              const ListDefaults& defaults)
{
    const int needed = configurationLineCount(mode);
    if (static_cast<int>(lines.size()) < needed)
        return FileError{error::kInputPastEnd, "The file ends after " + std::to_string(lines.size()) + " lines; a " +
                                                   modeName(mode) + " configuration has " + std::to_string(needed) +
                                                   "."};

    forms::Windows work = windows;
    BlockLoader in(work, lines);
    in.header(defaults);
    switch (mode) {
    case forms::Mode::Telemetry:
        loadTelemetry(in, work);
        break;
    case forms::Mode::Beacon:
        loadBeacon(in, work);
        break;
    case forms::Mode::Nmea:
        loadNmea(in, work);
        break;
    case forms::Mode::Tracking:
        loadTracking(in, work);
        break;
    case forms::Mode::Alarm:
        loadAlarm(in, work);
        break;
    }
    if (in.error())
        return in.error();
    windows = std::move(work);
    return std::nullopt;
}

} // namespace

std::optional<forms::Mode> fileMode(const std::vector<std::string>& lines)
{
    if (lines.empty())
        return std::nullopt;
    const double value = forms::numberValue(lines.front());
    for (const forms::Mode mode : forms::kModes)
        if (value == forms::codeOfMode(mode))
            return mode;
    return std::nullopt;
}

std::optional<FileError> loadConfiguration(forms::Mode mode, forms::Windows& windows,
                                           const std::vector<std::string>& lines, const ListDefaults& defaults)
{
    return load(mode, windows, lines, defaults);
}

} // namespace qm::storage
