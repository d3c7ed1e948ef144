// Fuzz target: the typing filters and field rules on arbitrary key sequences and pastes into any text field or
// editable pick list, passed to the program as the desktop program's view passes them (text offered at a
// selection, Backspace and Delete as deletions), mixed with path choices and focus changes. Invariants: no field
// exceeds its typing limit or holds a control character (but a multi-line field's CR LF), digit fields hold only
// digits and spaces, callsign fields only printable ASCII.
#include "fakes/MemoryFileSystem.h"
#include "fakes/ScriptedUi.h"
#include "forms/Controls.h"
#include "fuzz/FuzzCheck.h"
#include "shell/Program.h"
#include "validation/FieldRules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace
{

using qm::fuzz::require;
using qm::validation::TypingFilter;

constexpr char32_t kBackspace = 8;
constexpr char32_t kDelete = 0x7F;

struct Editable
{
    std::string name;
    qm::forms::TextField* field = nullptr;
    qm::forms::PickList* list = nullptr;

    std::string text() const { return field ? field->text() : list->text(); }
};

class FieldDriver
{
public:
    explicit FieldDriver(FuzzedDataProvider& input) : m_input(input), m_program(m_files, m_ui, {})
    {
        m_program.session().startUp();
        qm::forms::forEachControl(
            m_program.session().windows(), [this](const std::string& name, qm::forms::Control control) {
                if (auto** field = std::get_if<qm::forms::TextField*>(&control))
                    m_editables.push_back({name, *field, nullptr});
                else if (auto** list = std::get_if<qm::forms::PickList*>(&control); list && (*list)->editable())
                    m_editables.push_back({name, nullptr, *list});
            });
    }

    void run()
    {
        while (m_input.remaining_bytes() > 0) {
            const Editable& target =
                m_editables[m_input.ConsumeIntegralInRange<std::size_t>(0, m_editables.size() - 1)];
            switch (m_input.ConsumeIntegralInRange<int>(0, 4)) {
            case 0:
            case 1:
                type(target, key());
                break;
            case 2:
                paste(target);
                break;
            case 3:
                m_program.lostFocus(target.name);
                break;
            default:
                m_program.listClick(pathName(), m_input.ConsumeIntegralInRange<int>(-1, 12));
                break;
            }
            checkAll();
        }
    }

private:
    char32_t key()
    {
        // Mostly single-byte keys, sometimes a code point beyond Latin-1.
        if (m_input.ConsumeIntegralInRange<int>(0, 7) == 0)
            return m_input.ConsumeIntegralInRange<char32_t>(0x100, 0x10FFFF);
        return m_input.ConsumeIntegral<std::uint8_t>();
    }

    std::string pathName()
    {
        static const char* const kPrefixes[] = {"Tel", "Bcn", "NMEA", "Trk", "Alm"};
        return std::string(kPrefixes[m_input.ConsumeIntegralInRange<int>(0, 4)]) + "Path" +
               std::to_string(m_input.ConsumeIntegralInRange<int>(1, 4));
    }

    /// The caret and selection the user left in the field: [start, end).
    std::pair<std::size_t, std::size_t> selection(std::size_t length)
    {
        const auto start = m_input.ConsumeIntegralInRange<std::size_t>(0, length);
        const auto end = m_input.ConsumeIntegralInRange<std::size_t>(start, length);
        return {start, end};
    }

    /// A key typed: Backspace and Delete edit the field, any other key is text offered at the selection.
    void type(const Editable& target, char32_t typed)
    {
        auto [start, end] = selection(target.text().size());
        if (typed == kBackspace || typed == kDelete) {
            if (start == end && typed == kBackspace && start > 0)
                --start;
            if (start == end && typed == kDelete && end < target.text().size())
                ++end;
            m_program.enterText(target.name, {start, end, U""});
            return;
        }
        const std::u32string offered(1, typed);
        m_program.enterText(target.name, {start, end, offered}, true);
    }

    void paste(const Editable& target)
    {
        const std::size_t count = m_input.ConsumeIntegralInRange<std::size_t>(0, 40);
        std::u32string pasted;
        for (std::size_t i = 0; i < count; ++i)
            pasted.push_back(key());
        const auto [start, end] = selection(target.text().size());
        m_program.enterText(target.name, {start, end, pasted});
    }

    void checkAll()
    {
        for (const Editable& editable : m_editables) {
            const std::string text = editable.text();
            // Typing starts from the windows as start-up leaves them, so every text stays within its typing limit.
            if (editable.field && editable.field->maxLength() != 0)
                require(text.size() <= editable.field->maxLength(), "a field holds more than its typing limit");
            // No control character enters; a multi-line field keeps each line end as CR LF.
            const bool multiLine = editable.field && editable.field->multiLine();
            for (std::size_t i = 0; i < text.size(); ++i) {
                const auto c = static_cast<unsigned char>(text[i]);
                const bool lineEnd = multiLine && ((c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ||
                                                   (c == '\n' && i > 0 && text[i - 1] == '\r'));
                require(lineEnd || !(c < 0x20 || (c >= 0x7F && c < 0xA0)), "a field holds a control character");
            }
            switch (qm::validation::typingFilter(m_program.session().windows(), editable.name)) {
            case TypingFilter::Digits:
            case TypingFilter::TerminationValue:
                require(
                    std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || (c >= '0' && c <= '9'); }),
                    "a digit field holds other than digits and spaces");
                break;
            case TypingFilter::Callsign:
                require(std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; }),
                        "a callsign field holds other than printable ASCII");
                break;
            case TypingFilter::Text:
                break;
            }
        }
    }

    FuzzedDataProvider& m_input;
    qm::fakes::MemoryFileSystem m_files;
    qm::fakes::ScriptedUi m_ui;
    qm::shell::Program m_program;
    std::vector<Editable> m_editables;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    FieldDriver driver(input);
    driver.run();
    return 0;
}
