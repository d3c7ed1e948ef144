// A configuration as a person reads it, and the differences between two configurations.
#include "reports/ConfigurationSummary.h"

#include "forms/Numbers.h"
#include "forms/PickLists.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

namespace qm::reports
{

using forms::Mode;

namespace
{

const char* yesNo(bool value)
{
    return value ? "Yes" : "No";
}

std::string orNone(const std::string& text)
{
    return text.empty() ? std::string(kNone) : text;
}

std::string timerText(const std::string& minutes, const std::string& seconds)
{
    return forms::formatNumber(forms::numberValue(minutes)) + " min " +
           forms::formatNumber(forms::numberValue(seconds)) + " s";
}

std::vector<std::string> pathNames(const forms::StationControls& station)
{
    std::vector<std::string> names = forms::kPathEntries;
    names[0] = kNone;
    for (int n = 1; n <= 4; ++n) {
        const std::string& text = station.SpecPath[static_cast<std::size_t>(n - 1)].text();
        names[static_cast<std::size_t>(forms::specialPathEntry(n))] = text.empty() ? forms::specialPathLabel(n) : text;
    }
    return names;
}

std::vector<std::string> delayNames(const forms::PickList& list)
{
    std::vector<std::string> names = list.entries();
    for (auto& name : names)
        if (name.ends_with(" *"))
            name.resize(name.size() - 2);
    return names;
}

std::string selectedName(const forms::PickList& list, const std::vector<std::string>& names)
{
    const int index = list.listIndex();
    if (index < 0 || index >= static_cast<int>(names.size()))
        return kNone;
    return names[static_cast<std::size_t>(index)];
}

std::string storedName(const std::string& stored, const std::vector<std::string>& names)
{
    const double position = forms::roundHalfEven(forms::numberValue(stored));
    if (position == -1)
        return kNone;
    if (position >= 0 && position < static_cast<double>(names.size()))
        return names[static_cast<std::size_t>(position)];
    return "position " + forms::formatNumber(position) + " (not in the list)";
}

std::string terminationText(const forms::OptionGroup& group, const forms::TextField& userValue)
{
    switch (group.selected()) {
    case forms::kCarriageReturn:
        return "Carriage Return";
    case forms::kLineFeed:
        return "Line Feed";
    case forms::kUserDefined:
        return "User Defined: " + orNone(userValue.text());
    default:
        return kNone;
    }
}

/// The item that shows the transmit timer, made of its minutes and seconds: "BcnTmr".
std::string timerItem(const forms::StationControls& station)
{
    return station.prefix() + "Tmr";
}

/// The termination character of a window that has one, shown as one item for its options and the user's value.
struct Termination
{
    const char* item;
    const forms::OptionGroup* options;
    const forms::TextField* userValue;
};

std::optional<Termination> termination(const forms::Windows& windows, Mode mode)
{
    if (mode == Mode::Telemetry)
        return Termination{"TelTxOn", &windows.telemetry.TelTxOn, &windows.telemetry.TelUserTrigChar};
    if (mode == Mode::Nmea)
        return Termination{"NMEATxOn", &windows.nmea.NMEATxOn, &windows.nmea.NMEAUserTrigChar};
    return std::nullopt;
}

std::string inputBaudText(const forms::Menus& menus)
{
    static constexpr const char* kRates[] = {"1200", "2400", "4800", "9600"};
    const auto items = menus.inputBaudItems();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i]->checked())
            return kRates[i];
    return kNone;
}

std::string outputBaudText(const forms::Menus& menus)
{
    if (menus.out300.checked())
        return "300";
    if (menus.out1200.checked())
        return "1200";
    return kNone;
}

class ItemList
{
public:
    void add(const std::string& control, const std::string& label, std::string value)
    {
        m_items.push_back({control, label, std::move(value)});
    }
    void addText(const forms::TextField& field, const std::string& label)
    {
        add(field.name(), label, orNone(field.text()));
    }
    void addCheck(const forms::CheckBox& box, const std::string& label) { add(box.name(), label, yesNo(box.isSet())); }
    std::vector<SummaryItem> take() { return std::move(m_items); }

private:
    std::vector<SummaryItem> m_items;
};

void addHeader(ItemList& items, const forms::MainWindowControls& main, Mode mode)
{
    items.add("mode", "Mode", modeName(mode));
    if (mode != Mode::Beacon)
        items.add(main.menus.inputbaudrate.name(), "Input Baud Rate", inputBaudText(main.menus));
    items.add(main.menus.outputbaudrate.name(), "Output Baud Rate", outputBaudText(main.menus));
    items.addCheck(main.LEDDisable, "Lights Off");
    if (mode == Mode::Tracking)
        items.addCheck(main.MicEncode, "Mic Encode");
    if (mode == Mode::Nmea || mode == Mode::Tracking)
        items.addCheck(main.ModeLock, "Mode Lock");
    if (mode == Mode::Tracking)
        items.addCheck(main.AutoMode, "Auto Mode On");
}

void addStation(ItemList& items, const forms::StationControls& station, bool profiles)
{
    items.addText(station.MyCall, "My Call");
    if (!profiles)
        items.addText(station.SSID, "My SSID");
    items.add(station.ToCall.name(), "To Call", orNone(station.ToCall.text()));
    for (int n = 1; n <= 4; ++n)
        items.addText(station.SpecPath[static_cast<std::size_t>(n - 1)], "Special Path " + std::to_string(n));
    // The NMEA and Tracking windows keep the SSID, the paths, the timer and the delays per profile.
    if (profiles)
        return;
    const auto paths = pathNames(station);
    for (int n = 1; n <= 4; ++n) {
        const forms::PickList& path = station.Path[static_cast<std::size_t>(n - 1)];
        items.add(path.name(), "Path " + std::to_string(n), selectedName(path, paths));
    }
    items.add(timerItem(station), "Transmit Timer", timerText(station.TmrMin.text(), station.TmrSec.text()));
    items.add(station.TxDelay.name(), "Transmit Delay", selectedName(station.TxDelay, delayNames(station.TxDelay)));
    items.add(station.TxTail.name(), "Tail Delay", selectedName(station.TxTail, delayNames(station.TxTail)));
}

void addModeFields(ItemList& items, const forms::Windows& windows, Mode mode)
{
    if (const auto ending = termination(windows, mode))
        items.add(ending->item, "Termination Character", terminationText(*ending->options, *ending->userValue));
    switch (mode) {
    case Mode::Telemetry:
        return;
    case Mode::Beacon:
        items.addText(windows.beacon.BcnMsgText, "Beacon Text");
        return;
    case Mode::Nmea:
        for (int n = 1; n <= 3; ++n) {
            const forms::PickList& header = windows.main.GpsString[static_cast<std::size_t>(n - 1)];
            items.add(header.name(), "Data Header " + std::to_string(n), orNone(header.text()));
        }
        items.addCheck(windows.nmea.NMEADeltaEnable, "Course Delta");
        return;
    case Mode::Tracking:
        items.addText(windows.tracking.TrkPrefix, "Prefix");
        items.addText(windows.tracking.TrkSeparator, "Separator");
        items.addText(windows.tracking.TrkComments, "Comments");
        items.addCheck(windows.tracking.TrkDeltaEnable, "Course Delta");
        return;
    case Mode::Alarm:
        for (int n = 1; n <= 4; ++n)
            items.addText(windows.alarm.AlarmMsgText[static_cast<std::size_t>(n - 1)],
                          "Alarm " + std::to_string(n) + " Message");
        for (int n = 1; n <= 4; ++n) {
            const forms::PickList& condition = windows.alarm.AlmCondition[static_cast<std::size_t>(n - 1)];
            items.add(condition.name(), "Alarm " + std::to_string(n) + " Normal State",
                      selectedName(condition, condition.entries()));
        }
        items.addText(windows.alarm.AlmArmDelay, "Arm Delay (Secs)");
        items.addText(windows.alarm.AlmTxCntrLimit, "Number Times To Send");
        return;
    }
}

std::vector<SummaryItem> profileItems(const forms::StationControls& station, const forms::ProfileEntry& entry,
                                      const forms::TrackingForm* tracking)
{
    ItemList items;
    items.add(station.SSID.name(), "SSID", orNone(entry.SSID));
    const auto paths = pathNames(station);
    for (int n = 1; n <= 4; ++n)
        items.add(station.Path[static_cast<std::size_t>(n - 1)].name(), "Path " + std::to_string(n),
                  storedName(entry.Path[static_cast<std::size_t>(n - 1)], paths));
    items.add(timerItem(station), "Transmit Timer", timerText(entry.TmrMin, entry.TmrSec));
    items.add(station.TxDelay.name(), "Transmit Delay", storedName(entry.TxDelay, delayNames(station.TxDelay)));
    items.add(station.TxTail.name(), "Tail Delay", storedName(entry.TxTail, delayNames(station.TxTail)));
    if (tracking) {
        // The store keeps Send Comments in the top bit of the symbol character.
        const int code = entry.Symbol.empty() ? 0 : static_cast<unsigned char>(entry.Symbol.front());
        // A symbol longer than its character (read from a file) is shown whole, as the window shows it.
        const std::string symbol =
            entry.Symbol.empty() ? std::string() : static_cast<char>(code & 0x7F) + entry.Symbol.substr(1);
        items.add(tracking->TrkSymbol.name(), "Symbol",
                  symbol.empty() || symbol == std::string(1, '\0') ? std::string(kNone) : symbol);
        items.add(tracking->TrkSendComments.name(), "Send Comments", yesNo((code & 0x80) != 0));
    }
    return items.take();
}

} // namespace

ConfigurationSummary summarizeConfiguration(const forms::Windows& windows, Mode mode)
{
    const bool profiles = mode == Mode::Nmea || mode == Mode::Tracking;
    const forms::StationControls& station = windows.station(mode);
    ItemList items;
    addHeader(items, windows.main, mode);
    addStation(items, station, profiles);
    addModeFields(items, windows, mode);

    ConfigurationSummary summary;
    summary.mode = mode;
    summary.items = items.take();
    if (profiles) {
        const forms::ProfileStore& store = mode == Mode::Nmea ? windows.nmea.store : windows.tracking.store;
        const forms::TrackingForm* tracking = mode == Mode::Tracking ? &windows.tracking : nullptr;
        for (int k = 1; k <= forms::kProfileCount; ++k)
            summary.profiles.push_back(profileItems(station, store.entry(k), tracking));
    }
    return summary;
}

std::vector<std::string> itemControls(const forms::Windows& windows, Mode mode, const std::string& item)
{
    const forms::StationControls& station = windows.station(mode);
    if (item == timerItem(station))
        return {station.TmrMin.name(), station.TmrSec.name()};
    if (const auto ending = termination(windows, mode); ending && item == ending->item) {
        std::vector<std::string> controls;
        controls.reserve(static_cast<std::size_t>(ending->options->size()) + 1);
        for (int option = 0; option < ending->options->size(); ++option)
            controls.push_back(ending->options->name(option));
        controls.push_back(ending->userValue->name());
        return controls;
    }
    return {item};
}

std::vector<SummaryDifference> compareSummaries(const ConfigurationSummary& a, const ConfigurationSummary& b)
{
    if (a.mode != b.mode)
        return {{"mode", "Mode", std::nullopt, modeName(a.mode), modeName(b.mode)}};
    std::vector<SummaryDifference> differences;
    auto compare = [&differences](const std::vector<SummaryItem>& itemsA, const std::vector<SummaryItem>& itemsB,
                                  std::optional<int> profile) {
        // One mode gives the same items in the same order.
        assert(itemsA.size() == itemsB.size());
        for (std::size_t i = 0; i < itemsA.size() && i < itemsB.size(); ++i)
            if (itemsA[i].value != itemsB[i].value)
                differences.push_back({itemsA[i].control, itemsA[i].label, profile, itemsA[i].value, itemsB[i].value});
    };
    compare(a.items, b.items, std::nullopt);
    for (std::size_t k = 0; k < a.profiles.size() && k < b.profiles.size(); ++k)
        compare(a.profiles[k], b.profiles[k], static_cast<int>(k) + 1);
    return differences;
}

namespace
{

/// A control byte (a line break in a beacon text) would break the box's text: it is shown as \xNN.
std::string shown(const std::string& value)
{
    std::string text;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            text.push_back(c);
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(byte));
        text += escaped;
    }
    return text;
}

std::string hexByte(char byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(static_cast<unsigned char>(byte)));
    return text;
}

} // namespace

std::string describeFirstDifference(const std::vector<SummaryDifference>& fieldDifferences, const std::string& written,
                                    const std::string& readBack)
{
    if (!fieldDifferences.empty()) {
        const SummaryDifference& first = fieldDifferences.front();
        const std::string profile = first.profile ? "Profile " + std::to_string(*first.profile) + " " : "";
        return profile + first.label + " (written \"" + shown(first.a) + "\", read back \"" + shown(first.b) + "\")";
    }
    // Bytes no field shows (unused ones, the profile index) can differ too.
    const std::size_t common = std::min(written.size(), readBack.size());
    for (std::size_t i = 0; i < common; ++i)
        if (written[i] != readBack[i])
            return "byte " + std::to_string(i + 1) + " (written hex " + hexByte(written[i]) + ", read back hex " +
                   hexByte(readBack[i]) + ")";
    return "its length (written " + std::to_string(written.size()) + " bytes, read back " +
           std::to_string(readBack.size()) + ")";
}

} // namespace qm::reports
