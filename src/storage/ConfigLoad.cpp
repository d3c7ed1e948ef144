// The load of a configuration file: every line of the mode's layout is converted and checked into a working copy
// of the windows, and the windows take the copy only when the whole file has loaded.
#include "storage/ConfigFile.h"

#include "forms/Numbers.h"
#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "forms/Text.h"
#include "storage/ConfigLayout.h"

#include <cassert>
#include <cstddef>
#include <string_view>

namespace qm::storage
{

namespace
{

constexpr int kLastPathEntry = 8;

/// Reads each line of the layout into a working copy of the windows, keeping the first failure.
class LineReader
{
public:
    LineReader(forms::Windows& work, const std::vector<std::string>& lines, const ListDefaults& defaults)
        : m_work(work), m_lines(lines), m_defaults(defaults)
    {}

    const std::optional<FileError>& error() const { return m_error; }

    void modeCode(forms::Mode /*mode*/) { next(); }

    void inputBaud(forms::Menus& menus)
    {
        const double input = forms::numberValue(next());
        const auto items = menus.inputBaudItems();
        for (std::size_t code = 0; code < items.size(); ++code) {
            if (input == static_cast<double>(code)) {
                for (std::size_t other = 0; other < items.size(); ++other)
                    items[other]->setChecked(other == code);
            }
        }
    }

    // The delay and tail lists are rebuilt here, before any delay or tail position is read.
    void outputBaud(forms::Menus& menus)
    {
        const double output = forms::numberValue(next());
        if (output == 0.0 || output == 1.0) {
            const bool baud300 = output == 1.0;
            menus.out300.setChecked(baud300);
            menus.out1200.setChecked(!baud300);
            forms::rebuildTxLists(m_work, baud300, m_defaults.txDelayIndex, m_defaults.txTailIndex);
        }
    }

    void menuCheckBox(forms::CheckBox& box)
    {
        const double value = forms::numberValue(next());
        if (value == 0.0 || value == 1.0)
            box.setValue(value == 1.0 ? 1 : 0);
    }

    /// The callsign is one for all mode windows.
    void myCall(forms::TextField& /*field*/) { forms::setMyCall(m_work, next()); }

    // Every line is kept whole, however long: a value the unit cannot take is refused by Write with the check's
    // or the compile's message naming the field, never changed here without a word.
    void ssid(forms::TextField& field)
    {
        const std::string& line = next();
        field.setText(forms::numberValue(line) == 0.0 ? std::string() : line);
    }

    void timer(forms::TextField& field) { field.setText(storedTimer(next())); }
    void text(forms::TextField& field) { field.setText(next()); }
    void text(forms::PickList& editable) { editable.setText(next()); }
    void untrimmedText(forms::TextField& field) { field.setText(next()); }

    // The beacon text may hold the line breaks typed into its multi-line field, so it is everything from its
    // line to the end of the file.
    void multiLineText(forms::TextField& field)
    {
        std::string text = next();
        while (m_next < m_lines.size()) {
            text += "\r\n";
            text += next();
        }
        field.setText(text);
    }

    // Each special path relabels its selector entries at once, so the path positions read next find them.
    void specialPath(forms::StationControls& station, int n)
    {
        station.SpecPath[static_cast<std::size_t>(n - 1)].setText(next());
        forms::relabelSpecialPath(station, n);
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

    void profileSsid(std::string& value)
    {
        const double number = forms::numberValue(next());
        value = number == 0.0 ? std::string() : forms::formatNumber(number);
    }

    void profilePath(std::string& value, int profile, std::size_t path)
    {
        value = next();
        if (!forms::wholeNumberIn(value, -1, kLastPathEntry))
            fail(error::kInvalidPropertyValue, "\"" + value + "\" is not a position of Path" +
                                                   std::to_string(path + 1) + " in profile " + std::to_string(profile));
    }

    void profileSymbol(std::string& value) { value = forms::trimSpaces(next()); }
    void profileTimer(std::string& value) { value = storedTimer(next()); }
    void profileNumber(std::string& value) { value = forms::formatNumber(forms::numberValue(next())); }

private:
    const std::string& next()
    {
        assert(m_next < m_lines.size());
        return m_lines[m_next++];
    }

    static std::string storedTimer(const std::string& line)
    {
        return forms::numberValue(line) == 0.0 ? std::string("0") : line;
    }

    void fail(int number, const std::string& what)
    {
        if (!m_error)
            m_error = FileError{number, "Line " + std::to_string(m_next) + ": " + what + "."};
    }

    forms::Windows& m_work;
    const std::vector<std::string>& m_lines;
    const ListDefaults& m_defaults;
    std::size_t m_next = 0;
    std::optional<FileError> m_error;
};

std::optional<FileError> load(forms::Mode mode, forms::Windows& windows, const std::vector<std::string>& lines,
                              const ListDefaults& defaults)
{
    const int needed = configurationLineCount(mode);
    if (static_cast<int>(lines.size()) < needed)
        return FileError{error::kInputPastEnd, "The file ends after " + std::to_string(lines.size()) +
                                                   (lines.size() == 1 ? " line; " : " lines; ") +
                                                   (mode == forms::Mode::Alarm ? "an " : "a ") + forms::modeName(mode) +
                                                   " configuration has " + std::to_string(needed) + "."};

    forms::Windows work = windows;
    LineReader in(work, lines, defaults);
    layout::configuration(in, work, mode);
    // A profile window shows its selected profile from the store just loaded.
    if (mode == forms::Mode::Nmea)
        forms::showNmeaProfile(work);
    if (mode == forms::Mode::Tracking)
        forms::showTrackingProfile(work);
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

std::variant<forms::Mode, FileError> readConfiguration(const std::string& bytes, forms::Windows& windows,
                                                       const ListDefaults& defaults)
{
    static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const std::string_view text = std::string_view(bytes).starts_with(kByteOrderMark)
                                      ? std::string_view(bytes).substr(kByteOrderMark.size())
                                      : std::string_view(bytes);
    const auto lines = splitLines(std::string(text));
    if (lines.empty())
        return FileError{error::kInputPastEnd, "The file is empty."};
    const auto mode = fileMode(lines);
    if (!mode)
        return FileError{error::kInvalidPropertyValue, "Line 1: \"" + lines.front() + "\" is not a mode from 0 to 4."};
    if (auto failure = load(*mode, windows, lines, defaults))
        return *failure;
    return *mode;
}

} // namespace qm::storage
