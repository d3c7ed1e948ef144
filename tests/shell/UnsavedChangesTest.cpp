// The file the windows belong to: the title, Save to the last file, the unsaved-changes question before each
// command that replaces the windows, and the recent files.
#include "ShellRig.h"
#include "fakes/FakeClock.h"
#include "fakes/RecordingPrinter.h"
#include "shell/Document.h"

#include <algorithm>
#include <functional>
#include <iterator>

namespace qm::shell
{
namespace
{

using forms::Button;
using forms::Mode;
using rig::kOptions;
using Calls = std::vector<std::string>;
using rig::Lines;

const char* const kCaption = "Quellmark Configuration Program";

TEST(DocumentTest, TitleAndSuggestedName)
{
    EXPECT_EQ(windowTitle(kCaption, "", false), kCaption);
    EXPECT_EQ(windowTitle(kCaption, "", true), "Untitled* - Quellmark Configuration Program");
    EXPECT_EQ(windowTitle("Quellmark VQ-3+ (v2.0) on COM1", "a.vq3", true), "a.vq3* - Quellmark VQ-3+ (v2.0) on COM1");
    const std::pair<std::string, std::string> names[] = {
        {" n0call ", "N0CALL-beacon.vq3"}, {"", "beacon.vq3"},         {"../../etc/x", "ETCX-beacon.vq3"},
        {"A B\t", "AB-beacon.vq3"},        {"\xE9\xE8", "beacon.vq3"},
    };
    for (const auto& [callsign, name] : names)
        EXPECT_EQ(suggestedFileName(callsign, Mode::Beacon), name) << callsign;
    EXPECT_EQ(suggestedFileName("DL1ABC", Mode::Telemetry), "DL1ABC-telemetry.vq3");
}

/// A started program with a unit that answers (Read usable), a Tracking and a Beacon file in the home folder.
struct FileRig : rig::ProgramRig
{
    FileRig()
    {
        files.files["/home/user/t.vq3"] = rig::example("tracking.vq3");
        files.files["/home/user/b.vq3"] = rig::example("beacon.vq3");
        start();
        w.main.menus.read.setEnabled(true);
    }
};

TEST(UnsavedChangesTest, WhatCountsAsAChange)
{
    FileRig r;
    const std::tuple<const char*, std::function<void(Program&)>, bool> cases[] = {
        {"nothing", [](Program&) {}, false},
        {"a text field", [](Program& p) { p.textChanged("TrkComments", "HELLO"); }, true},
        {"an option box", [](Program& p) { p.checkClick("LEDDisable", true); }, true},
        {"another mode's window", [](Program& p) { p.textChanged("BcnMsgText", "HI"); }, true},
        {"typed and taken back",
         [](Program& p) {
             p.textChanged("TrkComments", "X");
             p.textChanged("TrkComments", "");
         },
         false},
        {"another profile's tab", [](Program& p) { p.profileTabClick(Mode::Tracking, 4); }, false},
        {"another mode", [](Program& p) { rig::chooseMenuItem(p, "beacon"); }, false},
    };
    for (const auto& [what, act, modified] : cases) {
        SCOPED_TRACE(what);
        r.program.session().selectMode(Mode::Tracking);
        r.program.session().clearMode(Mode::Tracking);
        r.program.session().clearMode(Mode::Beacon);
        r.program.session().document().setUntitled(r.w);
        act(r.program);
        EXPECT_EQ(r.modified(), modified);
        EXPECT_EQ(r.program.windowTitle(), modified ? "Untitled* - Quellmark Configuration Program" : kCaption);
    }
}

/// What a person did before the command: Telemetry's window opened from tel.vq3 (or none), the edits, the mode left.
struct Before
{
    bool telemetryFile = false;
    std::vector<std::pair<const char*, const char*>> edits;
    const char* mode = "beacon";
};

/// Edits Telemetry's Special Path 1 and then, in Beacon, its beacon text.
const Before kBoth{false, {{"telemetry", "TelSpecPath1=WIDE3-3"}, {"beacon", "BcnMsgText=HELLO"}}};
/// Edits Telemetry's Special Path 1 and leaves for Beacon.
const Before kTelemetry{false, {{"telemetry", "TelSpecPath1=WIDE3-3"}}};

void act(FileRig& r, const Before& before)
{
    if (before.telemetryFile) {
        r.files.files["/home/user/tel.vq3"] = rig::example("telemetry.vq3");
        r.program.openFile("/home/user/tel.vq3");
    }
    for (const auto& [mode, edit] : before.edits) {
        rig::chooseMenuItem(r.program, mode);
        const std::string change = edit;
        const auto equals = change.find('=');
        if (equals == std::string::npos)
            r.program.checkClick(change, true);
        else
            r.program.textChanged(change.substr(0, equals), change.substr(equals + 1));
    }
    rig::chooseMenuItem(r.program, before.mode);
}

TEST(UnsavedChangesTest, EachCommandAsksAboutEachWindowItWouldLoseByItsModeAndSaveSavesThatWindow)
{
    const auto asked = [](std::optional<Mode> mode, const char* file = "") { return unsavedChangesBox(file, mode); };
    const Mode beacon = Mode::Beacon, telemetry = Mode::Telemetry;
    struct Case
    {
        const char* what;
        Before before;
        const char* command;
        std::vector<Button> answers;
        std::vector<std::string> paths;
        std::vector<forms::MessageBox> questions;
        std::vector<UnsavedWindow> left;
        bool ended;
    };
    const Case cases[] = {
        {"New leaves another mode's window and its mark alone",
         kTelemetry,
         "newconfiguration",
         {},
         {},
         {},
         {telemetry},
         false},
        {"Exit asks about each window, the current mode's first",
         kBoth,
         "exit",
         {Button::Discard, Button::Discard},
         {},
         {asked(beacon), asked(telemetry)},
         {},
         true},
        {"Save saves the window asked about, under its own name",
         kBoth,
         "exit",
         {Button::Discard, Button::Save},
         {"/home/user/mine.vq3"},
         {asked(beacon), asked(telemetry)},
         {},
         true},
        {"Cancel at the second window stops Exit",
         kBoth,
         "exit",
         {Button::Discard, Button::Cancel},
         {},
         {asked(beacon), asked(telemetry)},
         {telemetry},
         false},
        {"a save that does not happen stops Exit",
         kBoth,
         "exit",
         {Button::Save},
         {},
         {asked(beacon)},
         {beacon, telemetry},
         false},
        {"Save As of one mode leaves another's changes unsaved",
         kBoth,
         "saveconfiguration",
         {},
         {"/home/user/bcn.vq3"},
         {},
         {telemetry},
         false},
        {"Open asks about the window the file replaces only",
         kBoth,
         "openconfiguration",
         {Button::Discard},
         {"/home/user/b.vq3"},
         {asked(beacon)},
         {telemetry},
         false},
        {"Open of another mode's file asks nothing",
         kTelemetry,
         "openconfiguration",
         {},
         {"/home/user/t.vq3"},
         {},
         {telemetry},
         false},
        {"a shared setting counts with the current mode",
         {false, {{"telemetry", "TelSpecPath1=X"}, {"beacon", "LEDDisable"}}},
         "exit",
         {Button::Discard, Button::Discard},
         {},
         {asked(beacon), asked(telemetry)},
         {},
         true},
        {"Discard of the current window settles its shared change, Cancel keeps the next",
         {false, {{"telemetry", "TelSpecPath1=WIDE3-3"}, {"beacon", "LEDDisable"}}},
         "exit",
         {Button::Discard, Button::Cancel},
         {},
         {asked(beacon), asked(telemetry)},
         {telemetry},
         false},
        {"Read asks about every window, the unit's mode not known",
         kBoth,
         "read",
         {Button::Discard, Button::Discard},
         {},
         {asked(beacon), asked(telemetry)},
         {},
         false},
        {"the question names the window's file and Save saves into it",
         {true, {{"telemetry", "TelSpecPath1=X"}}},
         "exit",
         {Button::Save},
         {},
         {asked(telemetry, "tel.vq3")},
         {},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FileRig r;
        act(r, c.before);
        r.clearRecords();
        r.ui.buttons.assign(c.answers.begin(), c.answers.end());
        r.ui.paths.assign(c.paths.begin(), c.paths.end());
        rig::chooseMenuItem(r.program, c.command);
        std::vector<forms::MessageBox> questions;
        std::copy_if(r.ui.boxes.begin(), r.ui.boxes.end(), std::back_inserter(questions),
                     [](const auto& box) { return box.title == "Unsaved Changes"; });
        EXPECT_EQ(questions, c.questions);
        EXPECT_EQ(r.program.session().document().unsavedWindows(r.w, r.state.currentMode), c.left);
        EXPECT_EQ(r.ui.ended, c.ended);
        EXPECT_EQ(r.program.windowTitle().find("* - ") != std::string::npos, !c.left.empty())
            << r.program.windowTitle();
        // Nothing the user typed into a window left alone is lost.
        if (std::find(c.left.begin(), c.left.end(), telemetry) != c.left.end()) {
            EXPECT_EQ(r.w.telemetry.station.SpecPath[0].text(), "WIDE3-3");
        }
    }
}

TEST(UnsavedChangesTest, SaveFromTheQuestionWritesThatWindowsModeWhereverTheUserIs)
{
    FileRig r;
    act(r, {true, {{"telemetry", "TelSpecPath1=DIGI"}, {"beacon", "BcnMsgText=HI"}}, "beacon"});
    r.clearRecords();
    r.ui.buttons = {Button::Save, Button::Save};
    r.ui.paths = {"/home/user/bcn.vq3"};
    rig::chooseMenuItem(r.program, "exit");
    EXPECT_EQ(r.ui.calls, (Calls{"pointer:normal", "box:Unsaved Changes", "save:Save Configuration File As",
                                 "pointer:normal", "box:Unsaved Changes", "end"}));
    EXPECT_EQ(r.link.calls, Calls{"closePort"});
    ASSERT_EQ(r.ui.dialogs.size(), 1u);
    EXPECT_EQ(r.ui.dialogs[0].initialName, "N0CALL-beacon.vq3");
    const auto saved = [&](const std::string& path) { return storage::splitLines(r.files.files[path]); };
    EXPECT_EQ(saved("/home/user/bcn.vq3").front(), "1");
    EXPECT_EQ(saved("/home/user/bcn.vq3").back(), "HI");
    const Lines telemetry = saved("/home/user/tel.vq3");
    EXPECT_EQ(telemetry.front(), "0");
    EXPECT_EQ(telemetry.at(10), "DIGI");
}

TEST(UnsavedChangesTest, SaveAsksForANameWhenThereIsNoFileOfThisMode)
{
    const std::tuple<const char*, std::function<void(FileRig&)>, const char*, const char*> cases[] = {
        {"no file yet", [](FileRig& t) { rig::chooseMenuItem(t.program, "tracking"); }, "/home/user",
         "N0CALL-tracking.vq3"},
        {"the file holds another mode",
         [](FileRig& t) {
             t.files.files["/data/radio/t.vq3"] = rig::example("tracking.vq3");
             t.program.openFile("/data/radio/t.vq3");
             rig::chooseMenuItem(t.program, "beacon");
             t.program.textChanged("BcnMyCall", "dl1abc");
         },
         "/data/radio", "DL1ABC-beacon.vq3"},
    };
    for (const auto& [what, setUp, folder, name] : cases) {
        SCOPED_TRACE(what);
        FileRig t;
        setUp(t);
        t.clearRecords();
        const std::string before = t.files.files["/home/user/t.vq3"];
        rig::chooseMenuItem(t.program, "save");
        EXPECT_EQ(t.ui.calls, (Calls{"save:Save Configuration File As"}));
        ASSERT_EQ(t.ui.dialogs.size(), 1u);
        EXPECT_EQ(t.ui.dialogs[0].initialFolder, folder);
        EXPECT_EQ(t.ui.dialogs[0].initialName, name);
        EXPECT_EQ(t.files.files["/home/user/t.vq3"], before);
    }
}

TEST(FileDialogsTest, EachStartsInTheFolderLastUsedByAnyOfThemElseTheHomeFolder)
{
    FileRig r;
    fakes::RecordingPrinter pdf;
    fakes::FakeClock clock;
    r.program.reports().setPrinter(nullptr, &clock);
    const auto exportPdf = [&](const std::string& path) {
        r.ui.paths.push_back(path);
        r.program.reports().exportProfileReport(pdf, [] { return std::string("%PDF"); }, {});
    };
    rig::chooseMenuItem(r.program, "tracking");
    exportPdf("");
    r.files.files["/data/radio/t.vq3"] = rig::example("tracking.vq3");
    r.program.openFile("/data/radio/t.vq3");
    exportPdf("/data/reports/t.pdf");
    r.ui.paths.push_back("");
    rig::chooseMenuItem(r.program, "saveconfiguration");
    std::vector<std::string> folders;
    for (const auto& dialog : r.ui.dialogs)
        folders.push_back(dialog.initialFolder);
    EXPECT_EQ(folders, (Calls{"/home/user", "/data/radio", "/data/reports"}));
    EXPECT_EQ(r.files.files["/data/reports/t.pdf"], "%PDF");
}

TEST(FileDialogsTest, BeforeAnyIsUsedTheyStartInTheFolderOfTheNewestRecentFile)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/data/radio/t.vq3", "/data/radio"}, {"t.vq3", "/home/user"}, {"", "/home/user"}};
    for (const auto& [recent, folder] : cases) {
        SCOPED_TRACE(recent);
        rig::ProgramRig r;
        if (*recent)
            r.files.files[kOptions] = storage::joinLines({std::string("RecentFile=") + recent});
        r.start();
        rig::chooseMenuItem(r.program, "tracking");
        r.ui.paths.push_back("");
        rig::chooseMenuItem(r.program, "saveconfiguration");
        ASSERT_EQ(r.ui.dialogs.size(), 1u);
        EXPECT_EQ(r.ui.dialogs[0].initialFolder, folder);
    }
}

TEST(ProgramOptionsTest, RecentFilesAreTheLatestFiveOnceEachAndSurviveARestart)
{
    // The latest five, once each, without line breaks; other lines kept.
    fakes::MemoryFileSystem files;
    files.files[kOptions] = storage::joinLines({"VerifyAfterWrite=no", "RecentFile=/a/o1.vq3", "RecentFile=/a/o2.vq3",
                                                "RecentFile=/a/o3.vq3", "RecentFile=/a/o4.vq3", "RecentFile=/a/o5.vq3",
                                                "RecentFile=/a/o6.vq3", "Other=1"});
    ProgramOptions options(files, kOptions);
    options.load();
    EXPECT_EQ(options.recentFiles().size(), 5u);
    for (const char* path : {"/a/1.vq3", "/a/2.vq3", "/a/3.vq3", "/a/1.vq3", "/a/4.vq3", "/a/5.vq3", "/a/6.vq3",
                             "/a/bad\nline.vq3", "/a/cr\r.vq3"})
        EXPECT_EQ(options.addRecentFile(path), std::nullopt);
    ProgramOptions restarted(files, kOptions);
    restarted.load();
    EXPECT_EQ(restarted.recentFiles(), (Calls{"/a/6.vq3", "/a/5.vq3", "/a/4.vq3", "/a/1.vq3", "/a/3.vq3"}));
    EXPECT_FALSE(restarted.verifyAfterWrite());
    const auto lines = storage::splitLines(files.files[kOptions]);
    EXPECT_EQ(Calls(lines.begin(), lines.begin() + 2), (Calls{"VerifyAfterWrite=no", "Other=1"}));
    EXPECT_EQ(lines.size(), 7u);
}

TEST(ProgramOptionsTest, WindowPlaceFrom100PixelsRecentFilesShownAndAnOptionButtonClicked)
{
    fakes::MemoryFileSystem files;
    for (const auto& [line, taken] : {std::pair{"Window=-5,20,100,100", true},
                                      {"Window=-5,20,99,100", false},
                                      {"Window=1,2,300,99", false},
                                      {"Window=90,9,1099,909", true},
                                      {"Window=9,9,100:,100", false},
                                      {"Window=9,9,100/,100", false}}) {
        files.files[kOptions] = storage::joinLines({line});
        ProgramOptions options(files, kOptions);
        options.load();
        EXPECT_EQ(options.windowPlace().has_value(), taken) << line;
    }
    rig::ProgramRig r;
    r.files.files[kOptions] = storage::joinLines({"RecentFile=/a/1.vq3", "RecentFile=/a/2.vq3"});
    r.start();
    const auto& recent = r.w.main.menus.recentfile;
    EXPECT_EQ((std::vector{recent[0].visible(), recent[1].visible(), recent[2].visible()}),
              (std::vector{true, true, false}));
    r.program.optionClick("TelTxOnLFEnable");
    EXPECT_EQ(r.w.telemetry.TelTxOn.selected(), 1);
}

} // namespace
} // namespace qm::shell
