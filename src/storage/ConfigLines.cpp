// The save of a configuration file: the lines of one mode's layout written from the windows, joined as CR LF
// text, and the splitting of file bytes back into lines.
#include "storage/ConfigFile.h"

#include "forms/Text.h"
#include "storage/ConfigLayout.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace qm::storage
{

namespace
{

// A CR or LF byte inside a single-line value (the typing filters keep them out, but a unit's image can hold
// them: a callsign, a Tracking symbol, a comment) would end the line early and shift every line after it, so
// the file would no longer load. Such a byte is written as a space.
std::string oneLine(std::string value)
{
    std::replace_if(
        value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return value;
}

/// Writes each line of the layout from the windows' controls.
class LineWriter
{
public:
    std::vector<std::string> lines;

    void modeCode(forms::Mode mode) { raw(std::to_string(forms::codeOfMode(mode))); }
    // Without a checked item the line is "0", which is what the compile puts into the image in that case.
    void inputBaud(const forms::Menus& menus)
    {
        const auto items = menus.inputBaudItems();
        int input = 0;
        for (std::size_t code = 0; code < items.size(); ++code) {
            if (items[code]->checked()) {
                input = static_cast<int>(code);
                break;
            }
        }
        raw(std::to_string(input));
    }
    void outputBaud(const forms::Menus& menus) { raw(menus.out300.checked() && !menus.out1200.checked() ? "1" : "0"); }
    void menuCheckBox(const forms::CheckBox& box) { checkBox(box); }

    void myCall(const forms::TextField& field) { text(field); }
    void ssid(const forms::TextField& field) { text(field); }
    void timer(const forms::TextField& field) { text(field); }
    void text(const forms::TextField& field) { lines.push_back(forms::trimSpaces(oneLine(field.text()))); }
    void text(const forms::PickList& editable) { lines.push_back(forms::trimSpaces(oneLine(editable.text()))); }
    void untrimmedText(const forms::TextField& field) { lines.push_back(oneLine(field.text())); }
    /// The multi-line Beacon text, its line breaks kept: the loader takes every line after it as part of it.
    void multiLineText(const forms::TextField& field) { lines.push_back(forms::trimSpaces(field.text())); }
    void specialPath(const forms::StationControls& station, int n)
    {
        text(station.SpecPath[static_cast<std::size_t>(n - 1)]);
    }
    void selection(const forms::PickList& list) { lines.push_back(std::to_string(list.listIndex())); }
    void option(const forms::OptionGroup& group, int option)
    {
        lines.push_back(group.value(option) ? "True" : "False");
    }
    void checkBox(const forms::CheckBox& box) { lines.push_back(box.isSet() ? "1" : "0"); }

    void profileSsid(const std::string& value) { raw(value); }
    void profilePath(const std::string& value, int /*profile*/, std::size_t /*path*/) { raw(value); }
    void profileSymbol(const std::string& value) { raw(value); }
    void profileTimer(const std::string& value) { raw(value); }
    void profileNumber(const std::string& value) { raw(value); }

private:
    void raw(std::string line) { lines.push_back(oneLine(std::move(line))); }
};

} // namespace

// The count comes from the layout itself: a save of blank windows writes each of its lines once (the beacon
// text, however many line breaks it holds, is one line of the layout).
int configurationLineCount(forms::Mode mode)
{
    static const std::array<int, forms::kModeCount> counts = [] {
        const forms::Windows blank;
        std::array<int, forms::kModeCount> result{};
        for (const forms::Mode each : forms::kModes)
            result.at(forms::modeIndex(each)) = static_cast<int>(configurationLines(blank, each).size());
        return result;
    }();
    return counts.at(forms::modeIndex(mode));
}

std::vector<std::string> configurationLines(const forms::Windows& windows, forms::Mode mode)
{
    LineWriter out;
    layout::configuration(out, windows, mode);
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
