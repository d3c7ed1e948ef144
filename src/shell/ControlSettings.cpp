// Changing fields of a loaded configuration by their control names.
#include "shell/ControlSettings.h"

#include "forms/Controls.h"
#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "forms/Text.h"
#include "reports/ConfigurationSummary.h"
#include "validation/FieldRules.h"
#include "validation/TextEntry.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <set>

namespace qm::shell
{

namespace
{

using forms::Mode;

constexpr char32_t kLargestSingleByte = 0xFF;

forms::MessageBox settingError(std::string text, std::string focus = {})
{
    forms::MessageBox box = forms::messageBox("Error", std::move(text), forms::Icon::Warning);
    box.focus = std::move(focus);
    return box;
}

std::string quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

std::string characterText(char32_t point)
{
    if (point <= kLargestSingleByte && point >= 0x20)
        return quoted(std::string(1, static_cast<char>(point)));
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(point));
    return text;
}

std::string acceptedText(validation::TypingFilter filter)
{
    switch (filter) {
    case validation::TypingFilter::Digits:
    case validation::TypingFilter::TerminationValue:
        return "the digits 0 to 9 and spaces";
    case validation::TypingFilter::Callsign:
        return "letters, digits and the other printable ASCII characters";
    case validation::TypingFilter::Text:
        return "single-byte (Latin-1) characters";
    }
    return {};
}

/// Returns the text a value enters into a field in place of its whole text, as a paste of it would, or the box
/// that refuses it: a value is refused rather than filtered or cut.
std::variant<std::string, forms::MessageBox> typedText(forms::Windows& windows, const std::string& control,
                                                       std::string_view current, std::string_view value)
{
    const std::u32string points = forms::codePoints(value);
    validation::EnteredText entered =
        validation::enterText(windows, control, current, {0, current.size(), std::u32string_view(points)});
    switch (entered.refusal) {
    case validation::Refusal::None:
        return std::move(entered.text);
    case validation::Refusal::ControlCharacter:
        return settingError(control + " does not take control characters such as line breaks or tabs.", control);
    case validation::Refusal::Character:
        return settingError(control + " does not take " + characterText(entered.refused) + ": it takes " +
                                acceptedText(validation::typingFilter(windows, control)) + ".",
                            control);
    case validation::Refusal::Limit:
        break;
    }
    const auto limit = std::get<forms::TextField*>(*forms::findControl(windows, control))->maxLength();
    return settingError(control + " holds at most " + std::to_string(limit) + " characters; " + quoted(value) +
                            " has " + std::to_string(entered.wanted) + ".",
                        control);
}

std::optional<bool> truthValue(std::string_view value)
{
    const std::string word = forms::trimUpper(value);
    if (word == "1" || word == "TRUE" || word == "YES")
        return true;
    if (word == "0" || word == "FALSE" || word == "NO")
        return false;
    return std::nullopt;
}

/// The text an entry is chosen by: "(none)" for the empty entry, without the " *" that marks a default.
std::string entryName(const std::string& entry)
{
    if (entry.empty())
        return reports::kNone;
    if (entry.ends_with(" *"))
        return entry.substr(0, entry.size() - 2);
    return entry;
}

std::vector<int> matchingEntries(const forms::PickList& list, std::string_view value)
{
    const std::string wanted = forms::trimUpper(value);
    std::vector<int> matches;
    for (int index = 0; index < list.count(); ++index) {
        const std::string name = forms::upperCase(entryName(list.entries()[static_cast<std::size_t>(index)]));
        const bool empty = list.entries()[static_cast<std::size_t>(index)].empty() && wanted.empty();
        // A delay is chosen by its milliseconds with or without the unit.
        const bool milliseconds = name.ends_with(" MS") && name.substr(0, name.size() - 3) == wanted;
        if (name == wanted || empty || milliseconds)
            matches.push_back(index);
    }
    return matches;
}

std::string entriesText(const forms::PickList& list)
{
    std::string text;
    for (const auto& entry : list.entries())
        text += (text.empty() ? "" : ", ") + entryName(entry);
    return text;
}

std::optional<forms::MessageBox> chooseEntry(forms::Windows& windows, Mode mode, forms::PickList& list,
                                             const forms::ControlPlace& place, std::string_view value)
{
    const std::string& control = list.name();
    const bool path = place.role == forms::Role::Path;
    std::vector<int> matches;
    // "Special Path N" always names special path N's entry, whatever its text.
    for (int n = 1; path && n <= 4; ++n)
        if (forms::trimUpper(value) == forms::upperCase(forms::specialPathLabel(n)))
            matches = {forms::specialPathEntry(n)};
    if (matches.empty())
        matches = matchingEntries(list, value);
    if (matches.empty())
        return settingError(control + " has no entry " + quoted(value) + "; it offers: " + entriesText(list) + ".",
                            control);
    if (matches.size() > 1)
        return settingError(control + ": " + quoted(value) + " names more than one entry; choose a special path as " +
                                "\"Special Path 1\" to \"Special Path 4\".",
                            control);
    list.setListIndex(matches.front());
    if (path) {
        if (auto focus = validation::pathChosen(windows.station(mode), place.number))
            return settingError(control + ": " + forms::specialPathLabel(matches.front() - 4) + " is empty; set " +
                                    *focus + " first.",
                                *focus);
    }
    return std::nullopt;
}

std::optional<forms::MessageBox> setText(forms::Windows& windows, Mode mode, forms::TextField& field,
                                         const forms::ControlPlace& place, std::string_view value)
{
    const std::string& control = field.name();
    auto typed = typedText(windows, control, field.text(), value);
    if (auto* box = std::get_if<forms::MessageBox>(&typed))
        return *box;
    const std::string& text = std::get<std::string>(typed);
    if (place.role == forms::Role::MyCall) {
        forms::setMyCall(windows, text);
        return std::nullopt;
    }
    field.setText(text);
    // Leaving a special path relabels the path selectors' entry for it.
    if (place.role == forms::Role::SpecialPath)
        forms::relabelSpecialPath(windows.station(mode), place.number);
    return std::nullopt;
}

std::optional<forms::MessageBox> setBaudRate(Session& program, const std::string& control, std::string_view value)
{
    forms::Menus& menus = program.windows().main.menus;
    const std::string rate = forms::trimSpaces(value);
    if (control == menus.inputbaudrate.name()) {
        static constexpr const char* kRates[] = {"1200", "2400", "4800", "9600"};
        const auto items = menus.inputBaudItems();
        const auto* chosen = std::find(std::begin(kRates), std::end(kRates), rate);
        if (chosen == std::end(kRates))
            return settingError(control + " takes 1200, 2400, 4800 or 9600.", control);
        for (std::size_t i = 0; i < items.size(); ++i)
            items[i]->setChecked(kRates + i == chosen);
        return std::nullopt;
    }
    if (rate != "300" && rate != "1200")
        return settingError(control + " takes 300 or 1200.", control);
    const bool baud300 = rate == "300";
    menus.out300.setChecked(baud300);
    menus.out1200.setChecked(!baud300);
    // As the menu does: the delay and tail lists are rebuilt for the new rate.
    if (baud300)
        program.fillTxListsFor300Baud();
    else
        program.fillTxListsFor1200Baud();
    return std::nullopt;
}

std::optional<forms::MessageBox> setValue(Session& program, Mode mode, const std::string& control,
                                          std::string_view value)
{
    forms::Windows& windows = program.windows();
    if (control == windows.main.menus.inputbaudrate.name() || control == windows.main.menus.outputbaudrate.name())
        return setBaudRate(program, control, value);
    const auto found = forms::locateControl(windows, control);
    if (!found)
        return settingError("There is no field named " + control + ".");
    if (auto* const* field = std::get_if<forms::TextField*>(&found->control))
        return setText(windows, mode, **field, found->place, value);
    if (auto* const* list = std::get_if<forms::PickList*>(&found->control)) {
        if ((*list)->editable()) {
            auto typed = typedText(windows, control, (*list)->text(), value);
            if (auto* box = std::get_if<forms::MessageBox>(&typed))
                return *box;
            (*list)->setText(std::get<std::string>(typed));
            return std::nullopt;
        }
        return chooseEntry(windows, mode, **list, found->place, value);
    }
    const auto truth = truthValue(value);
    if (const auto* option = std::get_if<forms::OptionRef>(&found->control)) {
        if (!truth)
            return settingError(control + " takes True or False.", control);
        option->group->setValue(option->option, *truth);
        return std::nullopt;
    }
    if (auto* const* box = std::get_if<forms::CheckBox*>(&found->control)) {
        if (!truth)
            return settingError(control + " takes 1 or 0 (Yes or No).", control);
        (*box)->setValue(*truth ? 1 : 0);
        return std::nullopt;
    }
    return settingError(control + " is not a setting of a configuration.", control);
}

/// The controls a configuration of the mode holds: those its summary shows, a timer as its minutes and seconds,
/// a termination character as its options and value.
struct SettableControls
{
    std::set<std::string> global;
    std::set<std::string> perProfile;
};

void addSettable(std::set<std::string>& names, const forms::Windows& windows, Mode mode, const std::string& item)
{
    if (item == "mode")
        return;
    for (std::string& control : reports::itemControls(windows, mode, item))
        names.insert(std::move(control));
}

SettableControls settableControls(const forms::Windows& windows, Mode mode)
{
    const reports::ConfigurationSummary summary = reports::summarizeConfiguration(windows, mode);
    SettableControls settable;
    for (const auto& item : summary.items)
        addSettable(settable.global, windows, mode, item.control);
    if (!summary.profiles.empty())
        for (const auto& item : summary.profiles.front())
            addSettable(settable.perProfile, windows, mode, item.control);
    return settable;
}

std::optional<forms::MessageBox> unsettable(forms::Windows& windows, Mode mode, const std::string& control)
{
    const auto found = forms::locateControl(windows, control);
    if (!found)
        return settingError("There is no field named " + control + ".");
    if (const auto owner = found->place.mode; owner && *owner != mode)
        return settingError(control + " is a field of the " + modeName(*owner) + " window; the configuration is in " +
                            modeName(mode) + " mode.");
    return settingError(control + " is not a setting of a " + modeName(mode) + " configuration.");
}

} // namespace

std::variant<ControlSetting, forms::MessageBox> parseControlSetting(std::string_view text)
{
    const auto equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0)
        return settingError("A setting is NAME=VALUE, or NAME@N=VALUE for profile N of a field kept per profile; " +
                            quoted(text) + " is neither.");
    ControlSetting setting;
    std::string_view name = text.substr(0, equals);
    setting.value = std::string(text.substr(equals + 1));
    if (const auto at = name.find('@'); at != std::string_view::npos) {
        const std::string_view profile = name.substr(at + 1);
        name = name.substr(0, at);
        const bool digits = !profile.empty() && profile.size() <= 2 &&
                            std::all_of(profile.begin(), profile.end(),
                                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
        const int number = digits ? std::stoi(std::string(profile)) : 0;
        if (number < 1 || number > forms::kProfileCount)
            return settingError(std::string(name) + "@" + std::string(profile) +
                                    ": the profile must be a number from 1 to 10.",
                                std::string(name));
        setting.profile = number;
    }
    setting.control = std::string(name);
    return setting;
}

std::optional<forms::MessageBox> applyControlSetting(Session& program, const ControlSetting& setting)
{
    if (!program.state().currentMode)
        return settingError("There is no configuration to change.");
    const Mode mode = *program.state().currentMode;
    forms::Windows& windows = program.windows();
    const std::string& control = setting.control;
    const SettableControls settable = settableControls(windows, mode);
    if (settable.perProfile.count(control) != 0) {
        if (!setting.profile)
            return settingError(control + " is kept per profile: name the profile as " + control + "@1 to " + control +
                                    "@10.",
                                control);
        // As editing does: the profile's tab is opened, the field changed, the profile stored.
        const int tab = *setting.profile - 1;
        if (mode == Mode::Nmea)
            forms::selectNmeaProfileTab(windows, tab);
        else
            forms::selectTrackingProfileTab(windows, tab);
        auto refused = setValue(program, mode, control, setting.value);
        if (mode == Mode::Nmea)
            forms::storeShownNmeaProfile(windows);
        else
            forms::storeShownTrackingProfile(windows);
        return refused;
    }
    if (settable.global.count(control) == 0)
        return unsettable(windows, mode, control);
    if (setting.profile)
        return settingError(control + " is not kept per profile: leave out @" + std::to_string(*setting.profile) + ".",
                            control);
    return setValue(program, mode, control, setting.value);
}

std::optional<forms::MessageBox> applyControlSettings(Session& program, const std::vector<std::string>& settings)
{
    for (const auto& text : settings) {
        auto parsed = parseControlSetting(text);
        if (auto* box = std::get_if<forms::MessageBox>(&parsed))
            return *box;
        if (auto refused = applyControlSetting(program, std::get<ControlSetting>(parsed)))
            return refused;
    }
    return std::nullopt;
}

} // namespace qm::shell
