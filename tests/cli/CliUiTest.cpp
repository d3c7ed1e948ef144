#include "cli/CliUi.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qm::cli
{
namespace
{

TEST(CliUiTest, DrawsProgressOnOneLineOfATerminalOnly)
{
    std::ostringstream terminal;
    CliUi ui(terminal, true);
    ui.showProgress(0, 129);
    ui.showProgress(128, 129);
    ui.showProgress(129, 129);
    ui.endProgressLine();
    ui.endProgressLine();
    EXPECT_EQ(terminal.str(), "\rbytes 0 of 129\x1b[K\rbytes 128 of 129\x1b[K\rbytes 129 of 129\x1b[K\n");

    std::ostringstream pipe;
    CliUi quiet(pipe, false);
    quiet.showProgress(5, 131);
    quiet.endProgressLine();
    EXPECT_EQ(pipe.str(), "");
}

TEST(CliUiTest, CollectsBoxesAndAnswersQuestionsWithTheSafeChoice)
{
    std::ostringstream err;
    CliUi ui(err, true);
    std::vector<std::string> handled;
    ui.setBoxHandler([&](const forms::MessageBox& box) { handled.push_back(box.title); });
    EXPECT_EQ(ui.messageBox(forms::messageBox("One", "a", forms::Icon::Information)), forms::Button::Ok);
    EXPECT_EQ(ui.messageBox(forms::messageBox("Two", "b", forms::Icon::Warning, forms::Buttons::YesNo)),
              forms::Button::No);
    EXPECT_EQ(ui.messageBox(forms::messageBox("Three", "c", forms::Icon::None, forms::Buttons::OkCancel)),
              forms::Button::Cancel);
    ASSERT_EQ(ui.boxes().size(), 3u);
    EXPECT_EQ(ui.boxes()[1].text, "b");
    EXPECT_EQ(handled, (std::vector<std::string>{"One", "Two", "Three"}));
    EXPECT_EQ(ui.inputBox("Callsign?", "Input", "N0CALL"), std::nullopt);
    EXPECT_EQ(ui.openFileDialog({}), "");
    EXPECT_EQ(ui.saveFileDialog({}).path, "");
    EXPECT_EQ(err.str(), "");
}

TEST(CliUiTest, EndProgramRunsTheEndHandler)
{
    std::ostringstream err;
    CliUi ui(err, false);
    int ended = 0;
    ui.setEndHandler([&] { ++ended; });
    ui.endProgram();
    EXPECT_EQ(ended, 1);
}

} // namespace
} // namespace qm::cli
