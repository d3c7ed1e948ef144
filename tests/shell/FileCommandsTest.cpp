#include "shell/FileCommands.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/ScriptedUi.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>

namespace qm::shell
{
namespace
{

using forms::Button;
using forms::Mode;

class FileCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override { program.startUp(); }

    fakes::MemoryFileSystem files;
    fakes::ScriptedUi ui;
    Session program{files};
    FileCommands commands{program, ui, files, "/home/user"};
    forms::Windows& w = program.windows();
};

TEST_F(FileCommandsTest, NewWithoutAModeSaysToChooseOne)
{
    commands.newConfiguration();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, "Error");
    EXPECT_EQ(ui.boxes[0].text, "Please select a mode from the \"Mode\" menu.");
    EXPECT_EQ(ui.boxes[0].icon, forms::Icon::Information);
}

TEST_F(FileCommandsTest, NewClearsTheCurrentModesWindowOnly)
{
    program.selectMode(forms::Mode::Alarm);
    w.alarm.AlmTxCntrLimit.setText("9");
    w.beacon.BcnMsgText.setText("KEEP");
    commands.newConfiguration();
    EXPECT_EQ(w.alarm.AlmTxCntrLimit.text(), "");
    EXPECT_EQ(w.beacon.BcnMsgText.text(), "KEEP");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(FileCommandsTest, OpenAsksWithItsDialogAndSelectsTheFilesMode)
{
    files.files["/home/user/b.vq3"] =
        storage::joinLines({"1", "0", "0", "0", "0", "1", "0", "TEST", "",  "APRS", "",  "",
                            "",  "",  "0", "0", "0", "0", "0", "0",    "0", "0",    "HI"});
    ui.paths.push_back("/home/user/b.vq3");
    commands.openConfiguration();
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0],
              (FileDialogRequest{"Open Configuration File", "VQ-3 Configuration File | *.vq3 | All Files | *", 1,
                                 "/home/user", ""}));
    EXPECT_EQ(program.state().currentMode, forms::Mode::Beacon);
    EXPECT_EQ(w.beacon.BcnMsgText.text(), "HI");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(FileCommandsTest, CancellingTheOpenDialogDoesNothing)
{
    commands.openConfiguration();
    EXPECT_EQ(ui.calls, (std::vector<std::string>{"open:Open Configuration File"}));
}

TEST_F(FileCommandsTest, SavingToANewFileAsksNothing)
{
    program.selectMode(forms::Mode::Beacon);
    ui.paths.push_back("/home/user/new.vq3");
    commands.saveConfigurationAs();
    EXPECT_EQ(ui.calls, (std::vector<std::string>{"save:Save Configuration File As"}));
    EXPECT_EQ(ui.dialogs[0],
              (FileDialogRequest{"Save Configuration File As", "VQ-3 Configuration File | *.vq3 | All Files | *", 1,
                                 "/home/user", "beacon.vq3"}));
    EXPECT_EQ(storage::splitLines(files.files["/home/user/new.vq3"]).size(), 23u);
}

TEST_F(FileCommandsTest, ANameWithoutExtensionGetsOneWhileTheConfigurationFilterIsChosen)
{
    const struct
    {
        std::string typed;
        int filterIndex;
        std::string saved;
    } cases[] = {
        {"/home/user/mytracker", 1, "/home/user/mytracker.vq3"},
        {"/home/user/mytracker", 2, "/home/user/mytracker"},
        {"/home/user/my.tracker", 1, "/home/user/my.tracker"},
        {"/home/user/beacon.vq3", 1, "/home/user/beacon.vq3"},
        {"/home/user/notes.txt", 2, "/home/user/notes.txt"},
        {"/home/v1.2/mytracker", 1, "/home/v1.2/mytracker.vq3"},
        {"/home/user/.hidden", 1, "/home/user/.hidden"},
        {"/home/user/ending.", 1, "/home/user/ending."},
        {"relative", 1, "relative.vq3"},
    };
    program.selectMode(forms::Mode::Beacon);
    for (const auto& c : cases) {
        files.files.clear();
        ui.calls.clear();
        ui.paths = {c.typed};
        ui.filterIndexes = {c.filterIndex};
        commands.saveConfigurationAs();
        EXPECT_EQ(ui.calls, (std::vector<std::string>{"save:Save Configuration File As"})) << c.typed;
        ASSERT_EQ(files.files.size(), 1U) << c.typed;
        EXPECT_EQ(files.files.begin()->first, c.saved);
        EXPECT_EQ(program.state().currentFileName, c.saved);
    }
}

TEST_F(FileCommandsTest, TheOverwriteQuestionNamesTheFileWithItsAddedExtension)
{
    program.selectMode(forms::Mode::Beacon);
    files.files["/home/user/old.vq3"] = "OLD";
    ui.paths = {"/home/user/old"};
    ui.buttons = {Button::No};
    commands.saveConfigurationAs();
    ASSERT_EQ(ui.boxes.size(), 1U);
    EXPECT_EQ(ui.boxes[0].text,
              "File \"/home/user/old.vq3\" already exists.\r\n\r\nDo you want to overwrite this file?");
    EXPECT_EQ(files.files["/home/user/old.vq3"], "OLD");
    EXPECT_EQ(files.files.count("/home/user/old"), 0U);
}

TEST_F(FileCommandsTest, AnsweringNoToOverwritingShowsTheDialogAgain)
{
    program.selectMode(forms::Mode::Beacon);
    files.files["/home/user/old.vq3"] = "OLD";
    ui.paths = {"/home/user/old.vq3", "/home/user/old.vq3"};
    ui.buttons = {Button::No, Button::Yes};
    commands.saveConfigurationAs();
    EXPECT_EQ(ui.calls, (std::vector<std::string>{"save:Save Configuration File As", "beep", "box:Confirm",
                                                  "save:Save Configuration File As", "beep", "box:Confirm"}));
    EXPECT_EQ(ui.boxes[0].text,
              "File \"/home/user/old.vq3\" already exists.\r\n\r\nDo you want to overwrite this file?");
    EXPECT_EQ(ui.boxes[0].buttons, forms::Buttons::YesNo);
    EXPECT_EQ(ui.boxes[0].icon, forms::Icon::Warning);
    EXPECT_NE(files.files["/home/user/old.vq3"], "OLD");
}

TEST_F(FileCommandsTest, CancellingAfterNoWritesNothing)
{
    program.selectMode(forms::Mode::Beacon);
    files.files["/home/user/old.vq3"] = "OLD";
    ui.paths = {"/home/user/old.vq3"};
    ui.buttons = {Button::No};
    commands.saveConfigurationAs();
    EXPECT_EQ(files.files["/home/user/old.vq3"], "OLD");
}

} // namespace
} // namespace qm::shell
