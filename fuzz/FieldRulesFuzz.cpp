// Fuzz target: the typing filters and field rules on arbitrary key sequences and pastes into any text field or
// editable pick list, passed to the program as the desktop program's view passes them (a key through keyTyped
// and the field's typing limit, a paste one character at a time, then the text-changed event), mixed with
// path choices and focus changes. Invariants: no field exceeds its typing limit, digit fields hold only digits and
// spaces, callsign fields only printable ASCII.
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
    /// The multi-line Beacon text: line breaks are typed and stored as CR LF.
    bool multiLine = false;

    std::string text() const { return field ? field->text() : list->text(); }
    /// The typing limit of the view (0 = none).
    std::size_t limit() const { return field && !multiLine ? field->maxLength() : 0; }
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
                    m_editables.push_back({name, *field, nullptr, name == "BcnMsgText"});
                else if (auto** list = std::get_if<qm::forms::PickList*>(&control); list && (*list)->editable())
                    m_editables.push_back({name, nullptr, *list, false});
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

    void type(const Editable& target, char32_t typed)
    {
        if (typed < 0x20 && typed != kBackspace)
            return;
        const auto entered = m_program.keyPress(target.name, typed);
        if (!entered)
            return;
        std::string text = target.text();
        auto [start, end] = selection(text.size());
        if (typed == kBackspace) {
            if (start == end && start > 0)
                --start;
            text.erase(start, end - start);
        } else if (typed == kDelete) {
            if (start == end && end < text.size())
                ++end;
            text.erase(start, end - start);
        } else {
            if (target.limit() != 0 && text.size() - (end - start) >= target.limit())
                return;
            text.replace(start, end - start, 1, *entered);
        }
        m_program.textChanged(target.name, text);
    }

    void paste(const Editable& target)
    {
        const std::size_t count = m_input.ConsumeIntegralInRange<std::size_t>(0, 40);
        std::string accepted;
        for (std::size_t i = 0; i < count; ++i) {
            const char32_t pasted = key();
            const bool lineBreak = pasted == U'\r' || pasted == U'\n';
            if (lineBreak && target.multiLine) {
                if (pasted == U'\n')
                    accepted += "\r\n";
                continue;
            }
            if (lineBreak || pasted < 0x20 || pasted == kDelete)
                continue;
            if (const auto entered = m_program.keyPress(target.name, pasted))
                accepted += *entered;
        }
        std::string text = target.text();
        const auto [start, end] = selection(text.size());
        if (target.limit() != 0)
            accepted = accepted.substr(0, target.limit() - std::min(target.limit(), text.size() - (end - start)));
        text.replace(start, end - start, accepted);
        m_program.textChanged(target.name, text);
    }

    void checkAll()
    {
        for (const Editable& editable : m_editables) {
            const std::string text = editable.text();
            // Typing starts from the windows as start-up leaves them, so every text stays within its typing limit:
            // the view's for single-line fields, the program's own for the multi-line Beacon text.
            if (editable.field && editable.field->maxLength() != 0)
                require(text.size() <= editable.field->maxLength(), "a field holds more than its typing limit");
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
