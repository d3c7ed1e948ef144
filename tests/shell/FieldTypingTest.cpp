// Text entering the fields through the program: one call decides what enters and the model takes it, My Call
// goes to every window, an editable list completes what is typed up to its end, and undo passes as it is.
#include "ShellRig.h"
#include "forms/Controls.h"

#include <gtest/gtest.h>

#include <string>

namespace qm::shell
{
namespace
{

TEST(FieldTypingTest, TheProgramTakesWhatEntersAndCompletesAListTypedToItsEnd)
{
    // The control, the text before, the selection, the offer, whether a completion is wanted; the text after, the
    // cursor and the length of the completion selected after it.
    struct Case
    {
        const char* control;
        std::string before;
        std::size_t start, end;
        std::u32string offered;
        bool complete;
        std::string after;
        std::size_t cursor, completion;
    };
    const Case cases[] = {
        {"TrkComments", "ab", 1, 1, U"x\ty", false, "axyb", 3, 0},
        {"TelToCall", "", 0, 0, U"a", true, "APRS", 1, 3},
        {"TelToCall", "", 0, 0, U"a", false, "A", 1, 0},
        {"TelToCall", "APRS", 1, 1, U"x", true, "AXPRS", 2, 0},
        {"TelToCall", "", 0, 0, U"\t", true, "", 0, 0},
        // A refused key over a selection to the end brings no completion.
        {"TelToCall", "A", 0, 1, U"\t", true, "A", 0, 0},
        {"BcnMsgText", "ab", 2, 2, U"\n", false, "ab\r\n", 4, 0},
    };
    for (const Case& c : cases) {
        rig::ProgramRig r;
        r.start();
        r.program.textRestored(c.control, c.before);
        const validation::EnteredText entered = r.program.enterText(c.control, {c.start, c.end, c.offered}, c.complete);
        EXPECT_EQ(entered.text, c.after) << c.control;
        EXPECT_EQ(entered.cursor, c.cursor) << c.control;
        EXPECT_EQ(entered.completion, c.completion) << c.control;
        const auto found = forms::findControl(r.w, c.control);
        const std::string model = std::holds_alternative<forms::TextField*>(*found)
                                      ? std::get<forms::TextField*>(*found)->text()
                                      : std::get<forms::PickList*>(*found)->text();
        EXPECT_EQ(model, c.after) << c.control;
    }
}

TEST(FieldTypingTest, MyCallGoesToEveryWindowAndARestoredTextPassesAsItIs)
{
    rig::ProgramRig r;
    r.start();
    r.program.enterText("AlmMyCall", {0, 6, U"k1abc"});
    for (const forms::Mode mode : forms::kModes)
        EXPECT_EQ(r.w.station(mode).MyCall.text(), "K1ABC");
    // Undo returns to texts the field held, a loaded one longer than the limit or in lower case included.
    const std::string loaded = std::string(80, 'a');
    r.program.textRestored("BcnMsgText", loaded);
    EXPECT_EQ(r.w.beacon.BcnMsgText.text(), loaded);
    r.program.enterText("BcnMsgText", {79, 80, U""});
    r.program.textRestored("BcnMsgText", loaded);
    EXPECT_EQ(r.w.beacon.BcnMsgText.text(), loaded);
    // A whole text replaced goes through the same filter and limit as typing.
    r.program.textChanged("TrkMyCall", "n0callxx");
    EXPECT_EQ(r.w.tracking.station.MyCall.text(), "N0CALL");
}

} // namespace
} // namespace qm::shell
