#include "fakes/MemoryFileSystem.h"
#include "fakes/RecordingLink.h"
#include "fakes/ScriptedUi.h"
#include "shell/Document.h"
#include "shell/Program.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>
#include <optional>

#include <fstream>
#include <functional>
#include <sstream>

namespace qm::shell
{
namespace
{

using forms::Button;
using forms::Mode;

const char* const kCaption = "Quellmark Configuration Program";
const char* const kConfigFile = "/home/user/.config/quellmark/quellmark.conf";

std::string example(const std::string& name)
{
    std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

TEST(DocumentTest, TitleNamesTheFileAndMarksChangesNotInIt)
{
    struct Case
    {
        const char* caption;
        const char* fileName;
        bool modified;
        const char* title;
    };
    const Case cases[] = {
        {kCaption, "", false, "Quellmark Configuration Program"},
        {kCaption, "", true, "Untitled* - Quellmark Configuration Program"},
        {kCaption, "N0CALL-tracking.vq3", false, "N0CALL-tracking.vq3 - Quellmark Configuration Program"},
        {kCaption, "N0CALL-tracking.vq3", true, "N0CALL-tracking.vq3* - Quellmark Configuration Program"},
        {"Quellmark VQ-3+ (v2.0) on COM1", "a.vq3", true, "a.vq3* - Quellmark VQ-3+ (v2.0) on COM1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(windowTitle(c.caption, c.fileName, c.modified), c.title) << c.fileName << c.modified;
}

TEST(DocumentTest, SuggestedNameIsTheCallsignAndTheMode)
{
    struct Case
    {
        const char* callsign;
        Mode mode;
        const char* name;
    };
    const Case cases[] = {
        {"N0CALL", Mode::Tracking, "N0CALL-tracking.vq3"},
        {" n0call ", Mode::Beacon, "N0CALL-beacon.vq3"},
        {"", Mode::Nmea, "nmea.vq3"},
        {"DL1ABC", Mode::Telemetry, "DL1ABC-telemetry.vq3"},
        {"../../etc/x", Mode::Alarm, "ETCX-alarm.vq3"},
        {"A B\t", Mode::Tracking, "AB-tracking.vq3"},
        {"\xE9\xE8", Mode::Beacon, "beacon.vq3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(suggestedFileName(c.callsign, c.mode), c.name) << c.callsign;
}

TEST(DocumentTest, TheUnsavedChangesQuestion)
{
    struct Case
    {
        const char* fileName;
        std::optional<Mode> mode;
        const char* text;
    };
    const Case cases[] = {
        {"N0CALL-tracking.vq3", Mode::Tracking,
         "The configuration has changes that are not saved in \"N0CALL-tracking.vq3\".\r\n\r\n"
         "Do you want to save them first?"},
        {"", Mode::Beacon,
         "The Beacon configuration has changes that are not saved in a file.\r\n\r\nDo you want to save them first?"},
        {"", Mode::Nmea,
         "The NMEA configuration has changes that are not saved in a file.\r\n\r\nDo you want to save them first?"},
        {"", std::nullopt,
         "The configuration has changes that are not saved in a file.\r\n\r\nDo you want to save them first?"},
    };
    for (const auto& c : cases) {
        const forms::MessageBox box = unsavedChangesBox(c.fileName, c.mode);
        EXPECT_EQ(box.title, "Unsaved Changes");
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.icon, forms::Icon::Warning);
        EXPECT_EQ(box.buttons, forms::Buttons::SaveDiscardCancel);
        EXPECT_EQ(box.focus, "");
        EXPECT_EQ(box.details, "");
        EXPECT_EQ(box.profile, std::nullopt);
    }
}

TEST(ProgramOptionsTest, RecentFilesKeepTheLatestFiveOnceEachAndSurviveARestart)
{
    fakes::MemoryFileSystem files;
    files.files[kConfigFile] = storage::joinLines({"VerifyAfterWrite=no", "RecentFile=/a/old.vq3", "Other=1"});
    ProgramOptions options(files, kConfigFile);
    options.load();
    ASSERT_EQ(options.recentFiles(), (std::vector<std::string>{"/a/old.vq3"}));
    for (const char* path : {"/a/1.vq3", "/a/2.vq3", "/a/3.vq3", "/a/1.vq3", "/a/4.vq3", "/a/5.vq3", "/a/6.vq3",
                             "/a/bad\nline.vq3", "/a/cr\r.vq3"})
        EXPECT_EQ(options.addRecentFile(path), std::nullopt);
    const std::vector<std::string> expected{"/a/6.vq3", "/a/5.vq3", "/a/4.vq3", "/a/1.vq3", "/a/3.vq3"};
    EXPECT_EQ(options.recentFiles(), expected);
    ProgramOptions restarted(files, kConfigFile);
    restarted.load();
    EXPECT_EQ(restarted.recentFiles(), expected);
    EXPECT_FALSE(restarted.verifyAfterWrite());
    const auto lines = storage::splitLines(files.files[kConfigFile]);
    EXPECT_EQ(lines[0], "VerifyAfterWrite=no");
    EXPECT_EQ(lines[1], "Other=1");
    EXPECT_EQ(lines.size(), 7u);
}

/// A started program with a unit that answers (Read usable), a Tracking and a Beacon file in the home folder.
struct Rig
{
    Rig()
    {
        files.files["/opt/quellmark/vq3.ini"] =
            storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"});
        files.files["/home/user/t.vq3"] = example("tracking.vq3");
        files.files["/home/user/b.vq3"] = example("beacon.vq3");
        EXPECT_TRUE(program.start());
        w.main.menus.read.setEnabled(true);
        clearRecords();
    }

    void clearRecords()
    {
        ui.calls.clear();
        ui.boxes.clear();
        ui.dialogs.clear();
    }

    void openTrackingFile()
    {
        ui.paths.push_back("/home/user/t.vq3");
        program.menuCommand("openconfiguration");
        EXPECT_EQ(program.session().state().currentMode, Mode::Tracking);
        clearRecords();
    }

    bool modified() const { return program.session().document().modified(program.session().windows()); }

    fakes::MemoryFileSystem files;
    fakes::ScriptedUi ui;
    std::optional<fakes::RecordingLink> madeLink;
    Program program{
        files, ui, Environment{{"/opt/quellmark", "/home/user/.config/quellmark"}, "/home/user", {}},
        [this](Session& session, IniSettings&) -> LinkRequests& { return madeLink.emplace(session.state()); }};
    fakes::RecordingLink& link = *madeLink;
    forms::Windows& w = program.session().windows();
};

TEST(UnsavedChangesTest, WhatCountsAsAChange)
{
    Rig rig;
    Program& program = rig.program;
    forms::Windows& w = rig.w;
    struct Case
    {
        const char* what;
        std::function<void(Program&)> act;
        bool modified;
    };
    const Case cases[] = {
        {"nothing", [](Program&) {}, false},
        {"a text field", [](Program& p) { p.textChanged("TrkComments", "HELLO"); }, true},
        {"the shown profile", [](Program& p) { p.textChanged("TrkSSID", "7"); }, true},
        {"the callsign", [](Program& p) { p.textChanged("TrkMyCall", "DL1ABC"); }, true},
        {"the output baud rate", [](Program& p) { p.menuCommand("out300"); }, true},
        {"an option box", [](Program& p) { p.checkClick("LEDDisable", true); }, true},
        {"a path selector", [](Program& p) { p.listClick("TrkPath1", 3); }, true},
        {"another mode's window", [](Program& p) { p.textChanged("BcnMsgText", "HI"); }, true},
        {"typed and taken back",
         [](Program& p) {
             p.textChanged("TrkComments", "X");
             p.textChanged("TrkComments", "");
         },
         false},
        {"another profile's tab", [](Program& p) { p.profileTabClick(Mode::Tracking, 4); }, false},
        {"another mode", [](Program& p) { p.menuCommand("beacon"); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        program.session().selectMode(Mode::Tracking);
        program.session().clearMode(Mode::Tracking);
        program.session().clearMode(Mode::Beacon);
        program.session().document().setUntitled(w);
        c.act(program);
        EXPECT_EQ(rig.modified(), c.modified);
        EXPECT_EQ(program.windowTitle(), c.modified ? "Untitled* - Quellmark Configuration Program" : kCaption);
    }
}

TEST(UnsavedChangesTest, SaveWritesToTheFileLastOpenedWithoutAsking)
{
    Rig rig;
    Program& program = rig.program;
    rig.openTrackingFile();
    EXPECT_EQ(program.windowTitle(), "t.vq3 - Quellmark Configuration Program");
    program.textChanged("TrkComments", "EDITED");
    EXPECT_EQ(program.windowTitle(), "t.vq3* - Quellmark Configuration Program");
    ASSERT_TRUE(program.menuCommand("save"));
    EXPECT_TRUE(rig.ui.calls.empty());
    EXPECT_EQ(storage::splitLines(rig.files.files["/home/user/t.vq3"])[116], "EDITED");
    EXPECT_EQ(program.windowTitle(), "t.vq3 - Quellmark Configuration Program");
}

TEST(UnsavedChangesTest, SaveAsksForANameWhenThereIsNoFileOfThisMode)
{
    struct Case
    {
        const char* what;
        std::function<void(Rig&)> before;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"no file yet", [](Rig& t) { t.program.menuCommand("tracking"); }, "/home/user", "N0CALL-tracking.vq3"},
        {"the file holds another mode",
         [](Rig& t) {
             t.files.files["/data/radio/t.vq3"] = example("tracking.vq3");
             t.program.openFile("/data/radio/t.vq3");
             t.program.menuCommand("beacon");
             t.program.textChanged("BcnMyCall", "dl1abc");
         },
         "/data/radio", "DL1ABC-beacon.vq3"},
        {"after New",
         [](Rig& t) {
             t.openTrackingFile();
             t.program.menuCommand("newconfiguration");
         },
         "/home/user", "N0CALL-tracking.vq3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        c.before(rig);
        rig.clearRecords();
        const std::string before = rig.files.files["/home/user/t.vq3"];
        rig.program.menuCommand("save");
        ASSERT_EQ(rig.ui.dialogs.size(), 1u);
        EXPECT_EQ(rig.ui.calls, (std::vector<std::string>{"save:Save Configuration File As"}));
        EXPECT_EQ(rig.ui.dialogs[0].initialFolder, c.folder);
        EXPECT_EQ(rig.ui.dialogs[0].initialName, c.name);
        EXPECT_EQ(rig.files.files["/home/user/t.vq3"], before);
    }
}

enum class Command
{
    Exit,
    New,
    Open,
    Read,
};

TEST(UnsavedChangesTest, EachCommandThatReplacesTheWindowsAsksFirst)
{
    struct Case
    {
        Command command;
        Button answer;
        bool goesOn;
        bool saved;
    };
    const Case cases[] = {
        {Command::Exit, Button::Save, true, true},     {Command::Exit, Button::Discard, true, false},
        {Command::Exit, Button::Cancel, false, false}, {Command::New, Button::Save, true, true},
        {Command::New, Button::Discard, true, false},  {Command::New, Button::Cancel, false, false},
        {Command::Open, Button::Save, true, true},     {Command::Open, Button::Discard, true, false},
        {Command::Open, Button::Cancel, false, false}, {Command::Read, Button::Save, true, true},
        {Command::Read, Button::Discard, true, false}, {Command::Read, Button::Cancel, false, false},
    };
    const std::string original = example("tracking.vq3");
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.command) * 10 + static_cast<int>(c.answer));
        Rig rig;
        rig.openTrackingFile();
        rig.program.textChanged("TrkComments", "EDITED");
        rig.ui.buttons.push_back(c.answer);
        rig.ui.paths.push_back("/home/user/b.vq3");
        const char* items[] = {"exit", "newconfiguration", "openconfiguration", "read"};
        rig.program.menuCommand(items[static_cast<int>(c.command)]);

        ASSERT_FALSE(rig.ui.boxes.empty());
        EXPECT_EQ(rig.ui.boxes[0], unsavedChangesBox("t.vq3", Mode::Tracking));
        EXPECT_EQ(rig.files.files["/home/user/t.vq3"] != original, c.saved);
        bool wentOn = false;
        switch (c.command) {
        case Command::Exit:
            wentOn = rig.ui.ended;
            break;
        case Command::New:
            wentOn = rig.w.tracking.TrkComments.text().empty();
            break;
        case Command::Open:
            wentOn = rig.program.session().state().currentMode == Mode::Beacon;
            break;
        case Command::Read:
            wentOn = !rig.link.calls.empty() && rig.link.calls.back() == "read";
            break;
        }
        EXPECT_EQ(wentOn, c.goesOn);
        if (!c.goesOn) {
            EXPECT_EQ(rig.w.tracking.TrkComments.text(), "EDITED");
            EXPECT_EQ(rig.program.windowTitle(), "t.vq3* - Quellmark Configuration Program");
            EXPECT_EQ(rig.ui.boxes.size(), 1u);
            EXPECT_TRUE(rig.ui.dialogs.empty());
        }
    }
}

TEST(UnsavedChangesTest, NothingIsAskedWithoutChangesOrWhenTheSaveDoesNotHappen)
{
    Rig unchanged;
    unchanged.openTrackingFile();
    for (const char* item : {"read", "newconfiguration", "exit"})
        unchanged.program.menuCommand(item);
    EXPECT_TRUE(unchanged.ui.boxes.empty());
    EXPECT_TRUE(unchanged.ui.ended);

    Rig unnamed;
    unnamed.program.menuCommand("tracking");
    unnamed.program.textChanged("TrkComments", "EDITED");
    unnamed.clearRecords();
    unnamed.ui.buttons.push_back(Button::Save);
    unnamed.program.menuCommand("exit");
    EXPECT_EQ(unnamed.ui.calls,
              (std::vector<std::string>{"pointer:normal", "box:Unsaved Changes", "save:Save Configuration File As"}));
    EXPECT_FALSE(unnamed.ui.ended);
    EXPECT_EQ(unnamed.w.tracking.TrkComments.text(), "EDITED");
}

TEST(UnsavedChangesTest, RecentFilesOpenAndAreUsableOnlyWhileTheyExist)
{
    Rig rig;
    Program& program = rig.program;
    auto& files = rig.files;
    files.files["/home/user/radio & co/a.vq3"] = example("alarm.vq3");
    program.openFile("/home/user/radio & co/a.vq3");
    rig.openTrackingFile();
    files.files.erase("/home/user/radio & co/a.vq3");
    program.recentFilesMenuOpened();
    const auto& menus = rig.w.main.menus;
    EXPECT_TRUE(menus.recentfiles.enabled());
    EXPECT_EQ(menus.recentfile[0].caption(), "&1 /home/user/t.vq3");
    EXPECT_TRUE(menus.recentfile[0].enabled());
    EXPECT_EQ(menus.recentfile[1].caption(), "&2 /home/user/radio && co/a.vq3");
    EXPECT_FALSE(menus.recentfile[1].enabled());
    EXPECT_TRUE(menus.recentfile[1].visible());
    EXPECT_FALSE(menus.recentfile[2].visible());

    program.menuCommand("recentfile1");
    EXPECT_EQ(program.session().state().currentMode, Mode::Tracking);
    files.files["/home/user/radio & co/a.vq3"] = example("alarm.vq3");
    program.menuCommand("recentfile2");
    EXPECT_EQ(program.session().state().currentMode, Mode::Alarm);
    EXPECT_EQ(storage::splitLines(files.files[kConfigFile]),
              (std::vector<std::string>{"RecentFile=/home/user/radio & co/a.vq3", "RecentFile=/home/user/t.vq3"}));
}

} // namespace
} // namespace qm::shell
