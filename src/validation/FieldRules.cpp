// The field rules that act while the user types and clicks.
#include "validation/FieldRules.h"

#include "forms/Controls.h"
#include "forms/PickLists.h"

#include <utility>
#include <variant>

namespace qm::validation
{

namespace
{

constexpr char32_t kBackspace = 8;
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kLargestSingleByte = 0xFF;

/// The typing filters of the fields every mode window shares, by their role; any other role takes any text.
constexpr std::pair<forms::Role, TypingFilter> kRoleFilters[] = {
    {forms::Role::MyCall, TypingFilter::Callsign},      {forms::Role::ToCall, TypingFilter::Callsign},
    {forms::Role::SpecialPath, TypingFilter::Callsign}, {forms::Role::SSID, TypingFilter::Digits},
    {forms::Role::TimerMinutes, TypingFilter::Digits},  {forms::Role::TimerSeconds, TypingFilter::Digits}};

bool isDigit(char32_t key)
{
    return key >= U'0' && key <= U'9';
}

char byteOf(char32_t key)
{
    return static_cast<char>(static_cast<unsigned char>(key));
}

/// The termination-character option group that a value field belongs to.
forms::OptionGroup* terminationChoice(forms::Windows& windows, std::string_view control)
{
    if (control == windows.telemetry.TelUserTrigChar.name())
        return &windows.telemetry.TelTxOn;
    if (control == windows.nmea.NMEAUserTrigChar.name())
        return &windows.nmea.NMEATxOn;
    return nullptr;
}

} // namespace

TypingFilter typingFilter(forms::Windows& windows, std::string_view control)
{
    const auto found = forms::locateControl(windows, control);
    if (!found)
        return TypingFilter::Text;
    for (const auto& [role, filter] : kRoleFilters)
        if (found->place.role == role)
            return filter;
    // A mode window's own fields that take numbers.
    const std::pair<const forms::TextField*, TypingFilter> ownFields[] = {
        {&windows.alarm.AlmTxCntrLimit, TypingFilter::Digits},
        {&windows.alarm.AlmArmDelay, TypingFilter::Digits},
        {&windows.telemetry.TelUserTrigChar, TypingFilter::TerminationValue},
        {&windows.nmea.NMEAUserTrigChar, TypingFilter::TerminationValue}};
    if (auto* const* field = std::get_if<forms::TextField*>(&found->control))
        for (const auto& [own, filter] : ownFields)
            if (*field == own)
                return filter;
    return TypingFilter::Text;
}

std::optional<char> filterKey(TypingFilter filter, char32_t key)
{
    if (key > kLargestSingleByte)
        return std::nullopt;
    // Backspace and Delete edit the text instead of entering a character (X11 gives Delete the text 0x7F).
    if (key == kBackspace || key == kDelete)
        return byteOf(key);
    switch (filter) {
    case TypingFilter::Digits:
    case TypingFilter::TerminationValue:
        if (key == U' ' || isDigit(key))
            return byteOf(key);
        return std::nullopt;
    case TypingFilter::Callsign:
        if (key >= U'a' && key <= U'z')
            return byteOf(key - U'a' + U'A');
        if (key >= 0x20 && key <= 0x7E)
            return byteOf(key);
        return std::nullopt;
    case TypingFilter::Text:
        return byteOf(key);
    }
    return std::nullopt;
}

std::optional<char> keyTyped(forms::Windows& windows, std::string_view control, char32_t key)
{
    const TypingFilter filter = typingFilter(windows, control);
    const std::optional<char> entered = filterKey(filter, key);
    if (filter == TypingFilter::TerminationValue && entered && isDigit(key)) {
        forms::OptionGroup* choice = terminationChoice(windows, control);
        if (choice && !choice->value(forms::kUserDefined))
            choice->setValue(forms::kUserDefined, true);
    }
    return entered;
}

std::optional<std::string> pathChosen(forms::StationControls& station, int n)
{
    if (n < 1 || n > 4)
        return std::nullopt;
    forms::PickList& path = station.Path[static_cast<std::size_t>(n - 1)];
    const std::string entry = path.text();
    for (int special = 1; special <= 4; ++special) {
        if (entry == forms::specialPathLabel(special)) {
            path.setListIndex(0);
            return station.SpecPath[static_cast<std::size_t>(special - 1)].name();
        }
    }
    return std::nullopt;
}

} // namespace qm::validation
