// What a field takes when text enters it.
#include "validation/TextEntry.h"

#include "forms/Controls.h"
#include "validation/FieldRules.h"

#include <algorithm>
#include <variant>
#include <vector>

namespace qm::validation
{

namespace
{

constexpr std::string_view kLineEnd = "\r\n";

bool isLineBreak(char32_t c)
{
    return c == U'\r' || c == U'\n' || c == 0x2028 || c == 0x2029;
}

/// Control characters (C0, DEL, C1) are no text a field takes; Backspace and Delete are editing keys, not text.
bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

/// The field's typing limit (0 for none) and whether it keeps line ends.
struct FieldShape
{
    std::size_t limit = 0;
    bool multiLine = false;
};

FieldShape shapeOf(forms::Windows& windows, std::string_view control)
{
    const auto found = forms::findControl(windows, control);
    auto* const* field = found ? std::get_if<forms::TextField*>(&*found) : nullptr;
    if (!field)
        return {};
    return {(*field)->maxLength(), (*field)->multiLine()};
}

/// The pieces of the offered text the field's filter takes, in order: single characters and line ends.
struct Filtered
{
    std::vector<std::string> pieces;
    Refusal refusal = Refusal::None;
    char32_t refused = 0;
};

void refuse(Filtered& filtered, Refusal why, char32_t c)
{
    if (filtered.refusal != Refusal::None)
        return;
    filtered.refusal = why;
    filtered.refused = c;
}

Filtered filtered(forms::Windows& windows, std::string_view control, bool multiLine, std::u32string_view offered)
{
    Filtered taken;
    for (std::size_t i = 0; i < offered.size(); ++i) {
        const char32_t c = offered[i];
        if (isLineBreak(c)) {
            const char32_t next = i + 1 < offered.size() ? offered[i + 1] : 0;
            if ((c == U'\r' && next == U'\n') || (c == U'\n' && next == U'\r'))
                ++i;
            if (multiLine)
                taken.pieces.emplace_back(kLineEnd);
            else
                refuse(taken, Refusal::ControlCharacter, c);
            continue;
        }
        if (isControl(c)) {
            refuse(taken, Refusal::ControlCharacter, c);
            continue;
        }
        const auto entered = keyTyped(windows, control, c);
        if (!entered) {
            refuse(taken, Refusal::Character, c);
            continue;
        }
        taken.pieces.emplace_back(1, *entered);
    }
    return taken;
}

} // namespace

EnteredText enterText(forms::Windows& windows, std::string_view control, std::string_view current,
                      const TextChange& change)
{
    const std::size_t end = std::min(change.end, current.size());
    const std::size_t start = std::min(change.start, end);
    const FieldShape shape = shapeOf(windows, control);
    const Filtered taken = filtered(windows, control, shape.multiLine, change.offered);

    const std::size_t kept = current.size() - (end - start);
    std::size_t room = shape.limit == 0 ? std::string::npos : shape.limit - std::min(shape.limit, kept);
    std::string inserted;
    std::size_t wanted = kept;
    for (const std::string& piece : taken.pieces) {
        wanted += piece.size();
        // What follows a piece that does not fit stays out too: the text entered is a start of what was offered.
        if (piece.size() > room) {
            room = 0;
            continue;
        }
        room -= piece.size();
        inserted += piece;
    }

    EnteredText entered;
    if (inserted.empty() && !change.offered.empty()) {
        // Nothing of what was offered entered: the field keeps its text, and the selection it would have replaced.
        entered.text = current;
        entered.cursor = start;
    } else {
        entered.text = std::string(current.substr(0, start)) + inserted + std::string(current.substr(end));
        entered.cursor = start + inserted.size();
    }
    entered.refusal = taken.refusal;
    entered.refused = taken.refused;
    if (entered.refusal == Refusal::None && kept + inserted.size() < wanted)
        entered.refusal = Refusal::Limit;
    entered.wanted = wanted;
    return entered;
}

} // namespace qm::validation
