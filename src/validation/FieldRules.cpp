// The field rules that act while the user types and clicks.
#include "validation/FieldRules.h"

#include "forms/PickLists.h"

#include <array>

namespace qm::validation
{

namespace
{

constexpr char32_t kBackspace = 8;
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kLargestSingleByte = 0xFF;

constexpr std::array<std::string_view, 5> kPrefixes{"Tel", "Bcn", "NMEA", "Trk", "Alm"};
constexpr std::array<std::string_view, 3> kMySsidFields{"TelMySSID", "BcnMySSID", "AlmMySSID"};
constexpr std::array<std::string_view, 4> kOtherDigitFields{"NMEASSID", "TrkSSID", "AlmTxCntrLimit", "AlmArmDelay"};
constexpr std::array<std::string_view, 2> kDigitSuffixes{"TmrMin", "TmrSec"};
constexpr std::array<std::string_view, 6> kCallsignSuffixes{"MyCall",    "ToCall",    "SpecPath1",
                                                            "SpecPath2", "SpecPath3", "SpecPath4"};

template <std::size_t N>
bool contains(const std::array<std::string_view, N>& names, std::string_view control)
{
    for (std::string_view name : names)
        if (name == control)
            return true;
    return false;
}

/// Whether the control is one of the windows' prefix followed by one of the suffixes (TelTmrMin, AlmSpecPath2).
template <std::size_t N>
bool prefixedWith(std::string_view control, const std::array<std::string_view, N>& suffixes)
{
    for (std::string_view prefix : kPrefixes) {
        if (!control.starts_with(prefix))
            continue;
        if (contains(suffixes, control.substr(prefix.size())))
            return true;
    }
    return false;
}

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

TypingFilter typingFilter(std::string_view control)
{
    if (contains(kMySsidFields, control) || contains(kOtherDigitFields, control) ||
        prefixedWith(control, kDigitSuffixes))
        return TypingFilter::Digits;
    if (control == "TelUserTrigChar" || control == "NMEAUserTrigChar")
        return TypingFilter::TerminationValue;
    if (prefixedWith(control, kCallsignSuffixes))
        return TypingFilter::Callsign;
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
    const TypingFilter filter = typingFilter(control);
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
