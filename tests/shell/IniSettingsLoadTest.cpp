// Tests of the start-up load of vq3.ini: the first-run prompts, every line applied, and the stops on errors.
#include "shell/IniSettings.h"

#include "fakes/MemoryFileSystem.h"
#include "fakes/ScriptedUi.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace qm::shell
{
namespace
{

using forms::Mode;
using Lines = std::vector<std::string>;
using Answers = std::deque<std::optional<std::string>>;

const std::string kPath = "/opt/quellmark/vq3.ini";
const Lines kSettled{"2", "N0CALL", "1", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"};

const std::string kPortPrompt =
    "Welcome to the Quellmark Configuration Program.\r\n\rPlease enter the serial port that the VQ-3 is attached to "
    "and then click OK.  Enter 1 for COM1, 2 for COM2, etc.\r\n\rNOTE:  This message will only appear the first "
    "time that you run this program.  If you need to change the serial port setting later, you can do so through "
    "the \"Setup\" menu at the top of the screen.\r\n\r";
const std::string kCallPrompt =
    "Enter your Callsign (without SSID) and then click OK.\r\n\rNOTE:  This message will only appear the first time "
    "that you run this program.  If you need to change your callsign later, simply enter your callsign in a \"My "
    "Call\" field and select Memorize Defaults from the File menu.\r\n\r";

class DefaultsUi : public fakes::ScriptedUi
{
public:
    std::vector<std::string> defaults;
    /// Runs before each input box is answered.
    std::function<void()> beforeInput;

    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override
    {
        if (beforeInput)
            beforeInput();
        defaults.push_back(defaultText);
        return ScriptedUi::inputBox(prompt, title, defaultText);
    }
};

Lines settledWith(std::initializer_list<std::pair<int, std::string>> changes)
{
    Lines lines = kSettled;
    for (const auto& [line, text] : changes)
        lines[static_cast<std::size_t>(line - 1)] = text;
    return lines;
}

struct LoadRig
{
    explicit LoadRig(const Lines& lines, Answers answers = {})
    {
        files.files[kPath] = storage::joinLines(lines);
        ui.inputs = std::move(answers);
        program.startUp();
        w.main.window.setEnabled(false);
    }

    Lines written() const { return storage::splitLines(files.files.at(kPath)); }
    long inputs(const std::string& title) const
    {
        return std::count(ui.calls.begin(), ui.calls.end(), "input:" + title);
    }
    std::vector<std::string> myCalls() const
    {
        std::vector<std::string> calls;
        for (const forms::Mode mode : forms::kModes)
            calls.push_back(w.station(mode).MyCall.text());
        return calls;
    }
    std::vector<bool> inputBaudChecks() const
    {
        std::vector<bool> checks;
        for (const auto* item : w.main.menus.inputBaudItems())
            checks.push_back(item->checked());
        return checks;
    }
    bool listsAt(int delay, int tail, int count) const
    {
        for (const forms::Mode mode : forms::kModes) {
            const forms::StationControls& station = w.station(mode);
            if (station.TxDelay.listIndex() != delay || station.TxTail.listIndex() != tail ||
                station.TxDelay.count() != count || station.TxTail.count() != count)
                return false;
        }
        return true;
    }
    bool profilesSeeded(const std::string& delay, const std::string& tail) const
    {
        for (const forms::ProfileStore* store : {&w.nmea.store, &w.tracking.store})
            for (int profile = 1; profile <= forms::kProfileCount; ++profile)
                if (store->entry(profile).TxDelay != delay || store->entry(profile).TxTail != tail)
                    return false;
        return true;
    }

    fakes::MemoryFileSystem files;
    DefaultsUi ui;
    Session program{files};
    IniSettings ini{program, ui, files, kPath};
    forms::Windows& w = program.windows();
    ProgramState& m = program.state();
};

TEST(IniSettingsLoadTest, SettledFileAppliesEveryLineWithoutAskingOrWriting)
{
    const Lines lines{"3", " k1abc ", "2", "1", "5", "3", "FALSE", "Reserved", "Reserved", "Reserved"};
    LoadRig s(lines);
    EXPECT_TRUE(s.ini.loadSettings());
    EXPECT_TRUE(s.ui.calls.empty());
    EXPECT_EQ(s.files.files[kPath], storage::joinLines(lines));
    EXPECT_EQ(s.ini.lines(),
              (storage::IniLines{"3", " k1abc ", "2", "1", "5", "3", "FALSE", "Reserved", "Reserved", "Reserved"}));
    EXPECT_EQ(s.m.link.comPort, 3);
    EXPECT_EQ(s.m.myCall, "K1ABC");
    EXPECT_EQ(s.myCalls(), std::vector<std::string>(5, "K1ABC"));
    EXPECT_EQ(s.m.inputBaudIndex, 2);
    EXPECT_EQ(s.inputBaudChecks(), (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(s.m.outputBaudIndex, 1);
    EXPECT_TRUE(s.w.main.menus.out300.checked());
    EXPECT_FALSE(s.w.main.menus.out1200.checked());
    EXPECT_TRUE(s.listsAt(5, 3, 15));
    EXPECT_TRUE(s.profilesSeeded("5", "3"));
    EXPECT_FALSE(s.m.showWelcome);
    EXPECT_TRUE(s.w.main.window.enabled());
    EXPECT_FALSE(s.w.welcome.window.visible());
}

TEST(IniSettingsLoadTest, OnlyTheFirstCharacterOfLineOneIsThePort)
{
    const struct
    {
        std::string line;
        int port;
        long prompts;
    } cases[] = {{"12", 1, 0}, {"4x", 4, 0}, {"7", 7, 0},  {"COM2", 3, 1}, {" 3", 3, 1},
                 {"", 3, 1},   {"0", 3, 1},  {"-1", 3, 1}, {".5", 3, 1}};
    for (const auto& c : cases) {
        LoadRig s(settledWith({{1, c.line}}), {"3"});
        EXPECT_TRUE(s.ini.loadSettings());
        EXPECT_EQ(s.m.link.comPort, c.port) << c.line;
        EXPECT_EQ(s.inputs("Serial Port Selection"), c.prompts) << c.line;
    }
}

TEST(IniSettingsLoadTest, PortPromptTakesComNamesAndSingleDigitsAndAsksAgainSilently)
{
    const struct
    {
        Answers answers;
        int port;
    } cases[] = {
        {{"com3"}, 3},    {{" 4 "}, 4},      {{"COM1"}, 1},           {{"2"}, 2},         {{"5", "2"}, 2},
        {{"0", "2"}, 2},  {{"12", "2"}, 2},  {{"x", "2"}, 2},         {{"COM5", "2"}, 2}, {{"COM 1", "2"}, 2},
        {{"+1", "2"}, 2}, {{"1.0", "2"}, 2}, {{"COM0", "9", "4"}, 4}, {{"com4 "}, 4},
    };
    for (const auto& c : cases) {
        LoadRig s(settledWith({{1, "0"}}), c.answers);
        EXPECT_TRUE(s.ini.loadSettings());
        EXPECT_EQ(s.m.link.comPort, c.port) << c.answers.front().value_or("");
        EXPECT_EQ(s.inputs("Serial Port Selection"), static_cast<long>(c.answers.size()));
        EXPECT_TRUE(s.ui.boxes.empty());
        EXPECT_EQ(s.written().at(0), std::to_string(c.port));
    }
}

TEST(IniSettingsLoadTest, PortPromptHasItsTitleTextAndEmptyDefaultAfterTheNormalPointer)
{
    LoadRig s(settledWith({{1, "0"}}), {"9", "1"});
    s.m.myCall = "OLD";
    EXPECT_TRUE(s.ini.loadSettings());
    EXPECT_EQ(s.ui.calls, (std::vector<std::string>{"pointer:normal", "input:Serial Port Selection", "pointer:normal",
                                                    "input:Serial Port Selection"}));
    EXPECT_EQ(s.ui.prompts, (std::vector<std::string>{kPortPrompt, kPortPrompt}));
    EXPECT_EQ(s.ui.defaults, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(s.written(), (Lines{"1", "OLD", "1", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"}));
}

TEST(IniSettingsLoadTest, EmptyPortAnswerShowsTheBoxAndOkAsksAgain)
{
    LoadRig s(settledWith({{1, "0"}}), {"", std::nullopt, "  ", "3"});
    EXPECT_TRUE(s.ini.loadSettings());
    EXPECT_EQ(s.m.link.comPort, 3);
    ASSERT_EQ(s.ui.boxes.size(), 3U);
    for (const auto& box : s.ui.boxes)
        EXPECT_EQ(box, forms::messageBox("Error",
                                         "You must select a serial port.  Click OK to try again, or click CANCEL to "
                                         "exit.",
                                         forms::Icon::Critical, forms::Buttons::OkCancel));
    EXPECT_EQ(s.inputs("Serial Port Selection"), 4);
    EXPECT_FALSE(s.ui.ended);
}

TEST(IniSettingsLoadTest, CancelAtTheEmptyPortBoxEndsTheProgramBeforeAnythingElse)
{
    const Lines lines{"0", "MYCALL", "2", "1", "5", "3", "TRUE", "Reserved", "Reserved", "Reserved"};
    LoadRig s(lines, {"x", std::nullopt});
    s.ui.buttons = {forms::Button::Cancel};
    EXPECT_FALSE(s.ini.loadSettings());
    EXPECT_EQ(s.ui.calls, (std::vector<std::string>{"pointer:normal", "input:Serial Port Selection", "pointer:normal",
                                                    "input:Serial Port Selection", "box:Error", "end"}));
    EXPECT_TRUE(s.ui.ended);
    EXPECT_EQ(s.files.files[kPath], storage::joinLines(lines));
    EXPECT_EQ(s.m.link.comPort, 0);
    EXPECT_EQ(s.m.myCall, "");
    EXPECT_EQ(s.m.inputBaudIndex, 0);
    EXPECT_FALSE(s.w.welcome.window.visible());
    EXPECT_FALSE(s.w.main.window.enabled());
}

TEST(IniSettingsLoadTest, CallsignPromptRefusesThePlaceholderAndLongAnswers)
{
    const struct
    {
        Answers answers;
        std::string call;
    } cases[] = {
        {{"MyCall", "n0call"}, "N0CALL"},
        {{"abcdefg", "ab1cde"}, "AB1CDE"},
        {{std::nullopt}, ""},
        {{""}, ""},
        {{"  k1abc "}, "K1ABC"},
        {{"mycall ", "ABCDEFGHIJ", "w1aw"}, "W1AW"},
        {{"K1ABC-7", "ab-1"}, "AB-1"},
    };
    for (const auto& c : cases) {
        LoadRig s(settledWith({{2, "MyCall"}}), c.answers);
        EXPECT_TRUE(s.ini.loadSettings());
        EXPECT_EQ(s.m.myCall, c.call);
        EXPECT_EQ(s.myCalls(), std::vector<std::string>(5, c.call));
        EXPECT_EQ(s.inputs("CallSign Selection"), static_cast<long>(c.answers.size())) << c.call;
        EXPECT_EQ(s.ui.defaults, std::vector<std::string>(c.answers.size(), "MyCall"));
        EXPECT_EQ(s.ui.prompts, std::vector<std::string>(c.answers.size(), kCallPrompt));
        EXPECT_EQ(s.written().at(1), c.call);
        EXPECT_TRUE(s.ui.boxes.empty());
    }
}

TEST(IniSettingsLoadTest, FirstRunAsksForThePortThenTheCallsignAndWritesAfterEach)
{
    const Lines lines{"0", "MYCALL", "1", "1", "6", "2", "TRUE", "Reserved", "Reserved", "Reserved"};
    LoadRig s(lines, {"com2", "k1abc"});
    EXPECT_TRUE(s.ini.loadSettings());
    EXPECT_EQ(s.ui.calls,
              (std::vector<std::string>{"pointer:normal", "input:Serial Port Selection", "input:CallSign Selection"}));
    const Lines written = s.written();
    ASSERT_EQ(written.size(), 10U);
    EXPECT_EQ(written, (Lines{"2", "K1ABC", "1", "1", "6", "2", "TRUE", "Reserved", "Reserved", "Reserved"}));
    EXPECT_EQ(s.myCalls(), std::vector<std::string>(5, "K1ABC"));
    EXPECT_TRUE(s.listsAt(6, 2, 15));
    EXPECT_TRUE(s.w.welcome.window.visible());
}

TEST(IniSettingsLoadTest, FreshAccountGetsThePlaceholderFileThenThePromptsAndTheWelcomeWindow)
{
    LoadRig s(kSettled, {"com1", "k1abc"});
    s.files.files.clear();
    std::vector<std::string> fileAtPrompt;
    s.ui.beforeInput = [&s, &fileAtPrompt] { fileAtPrompt.push_back(s.files.files.at(kPath)); };
    EXPECT_TRUE(s.ini.loadSettings());
    EXPECT_EQ(s.ui.calls,
              (std::vector<std::string>{"pointer:normal", "input:Serial Port Selection", "input:CallSign Selection"}));
    EXPECT_TRUE(s.ui.boxes.empty());
    ASSERT_EQ(fileAtPrompt.size(), 2U);
    EXPECT_EQ(fileAtPrompt[0], "0\r\nMYCALL\r\n0\r\n0\r\n6\r\n2\r\nTRUE\r\nReserved\r\nReserved\r\nReserved\r\n");
    EXPECT_EQ(s.written(), (Lines{"1", "K1ABC", "0", "0", "6", "2", "TRUE", "Reserved", "Reserved", "Reserved"}));
    EXPECT_EQ(s.files.folders.count("/opt/quellmark"), 1U);
    EXPECT_EQ(s.m.link.comPort, 1);
    EXPECT_EQ(s.myCalls(), std::vector<std::string>(5, "K1ABC"));
    EXPECT_EQ(s.inputBaudChecks(), (std::vector<bool>{true, false, false, false}));
    EXPECT_TRUE(s.w.main.menus.out1200.checked());
    EXPECT_TRUE(s.listsAt(6, 2, 16));
    EXPECT_EQ(s.w.telemetry.station.TxDelay.text(), "293 ms *");
    EXPECT_EQ(s.w.telemetry.station.TxTail.text(), "53 ms *");
    EXPECT_TRUE(s.profilesSeeded("6", "2"));
    EXPECT_TRUE(s.w.welcome.window.visible());
    EXPECT_TRUE(s.w.welcome.topmost);
    EXPECT_TRUE(s.w.welcome.ShowSplashScreen.isSet());
    EXPECT_FALSE(s.w.main.window.enabled());
}

TEST(IniSettingsLoadTest, FirstRunEndedAtThePortPromptLeavesThePlaceholdersToAskAgainNextTime)
{
    LoadRig s(kSettled, {std::nullopt});
    s.files.files.clear();
    s.ui.buttons = {forms::Button::Cancel};
    EXPECT_FALSE(s.ini.loadSettings());
    EXPECT_TRUE(s.ui.ended);
    EXPECT_EQ(s.written(), (Lines{"0", "MYCALL", "0", "0", "6", "2", "TRUE", "Reserved", "Reserved", "Reserved"}));
}

TEST(IniSettingsLoadTest, BlankCallsignLineKeepsTheEarlierCallsign)
{
    LoadRig s(settledWith({{2, "   "}}));
    s.m.myCall = "OLD";
    EXPECT_TRUE(s.ini.loadSettings());
    EXPECT_EQ(s.m.myCall, "OLD");
    EXPECT_EQ(s.myCalls(), std::vector<std::string>(5, "OLD"));
    EXPECT_TRUE(s.ui.calls.empty());
}

TEST(IniSettingsLoadTest, BaudAndListLinesApplyOnlyWhatTheyName)
{
    const struct
    {
        std::array<std::string, 4> lines;
        int inputIndex;
        std::vector<bool> inputChecks;
        int outputIndex;
        bool out300;
        bool out1200;
        int delay;
        int tail;
        int count;
    } cases[] = {
        {{"3", "0", "15", "15"}, 3, {false, false, false, true}, 0, false, true, 15, 15, 16},
        {{"7", "", "", ""}, 7, {true, false, false, false}, 0, false, true, 0, 0, 16},
        {{"", "", "", ""}, 0, {true, false, false, false}, 0, false, true, 0, 0, 16},
        {{" 2 ", "1", "14", "0"}, 2, {false, false, true, false}, 1, true, false, 14, 0, 15},
        {{"-1", "2", "-1", "3"}, -1, {true, false, false, false}, 2, false, true, -1, 3, 16},
        {{"2.5", "0.6", "6", "2"}, 2, {false, false, true, false}, 1, true, false, 6, 2, 15},
        {{"1 ", "1", "1 2", "x"}, 1, {false, true, false, false}, 1, true, false, 12, 0, 15},
    };
    for (const auto& c : cases) {
        LoadRig s(settledWith({{3, c.lines[0]}, {4, c.lines[1]}, {5, c.lines[2]}, {6, c.lines[3]}}));
        EXPECT_TRUE(s.ini.loadSettings());
        EXPECT_TRUE(s.ui.boxes.empty()) << s.ui.boxes.front().text;
        EXPECT_EQ(s.m.inputBaudIndex, c.inputIndex) << c.lines[0];
        EXPECT_EQ(s.inputBaudChecks(), c.inputChecks) << c.lines[0];
        EXPECT_EQ(s.m.outputBaudIndex, c.outputIndex) << c.lines[1];
        EXPECT_EQ(s.w.main.menus.out300.checked(), c.out300) << c.lines[1];
        EXPECT_EQ(s.w.main.menus.out1200.checked(), c.out1200) << c.lines[1];
        EXPECT_TRUE(s.listsAt(c.delay, c.tail, c.count)) << c.lines[2] << "/" << c.lines[3];
        EXPECT_TRUE(s.profilesSeeded(std::to_string(c.delay), std::to_string(c.tail)));
        EXPECT_TRUE(s.w.main.window.enabled());
    }
}

TEST(IniSettingsLoadTest, BlankDelayLineSeedsTheProfilesWithTheRememberedPositions)
{
    LoadRig s(settledWith({{5, ""}, {6, ""}}));
    s.m.txDelayIndex = 4;
    s.m.txTailIndex = 1;
    EXPECT_TRUE(s.ini.loadSettings());
    EXPECT_TRUE(s.profilesSeeded("4", "1"));
}

TEST(IniSettingsLoadTest, PositionTheListLacksStopsTheLoadWithTheUnexpectedErrorBox)
{
    const struct
    {
        std::string outputBaud;
        std::string delay;
        std::string tail;
        int code;
    } cases[] = {
        {"1", "15", "2", 380}, {"0", "16", "2", 380},  {"0", "6", "-2", 380},
        {"1", "6", "15", 380}, {"0", "99999", "2", 6}, {"40000", "6", "2", 6},
    };
    for (const auto& c : cases) {
        LoadRig s(settledWith({{4, c.outputBaud}, {5, c.delay}, {6, c.tail}, {7, "TRUE"}}));
        EXPECT_TRUE(s.ini.loadSettings());
        EXPECT_EQ(s.ui.calls, (std::vector<std::string>{"pointer:normal", "box:Unexpected Error!"}));
        ASSERT_EQ(s.ui.boxes.size(), 1U);
        EXPECT_EQ(s.ui.boxes[0].text,
                  "Unexpected error # " + std::to_string(c.code) + " occurred while loading the initialization file.");
        EXPECT_EQ(s.ui.boxes[0].icon, forms::Icon::Warning);
        EXPECT_TRUE(s.profilesSeeded("0", "0")) << c.delay << "/" << c.tail;
        EXPECT_FALSE(s.m.showWelcome);
        EXPECT_FALSE(s.w.welcome.window.visible());
        EXPECT_FALSE(s.w.main.window.enabled());
    }
}

TEST(IniSettingsLoadTest, ReadFailureShowsItsBoxAndAppliesNothing)
{
    const storage::FileError notFound{storage::error::kFileNotFound, "missing"};
    const storage::FileError denied{storage::error::kPermissionDenied, "denied"};
    const std::string notFoundText =
        "The initialization file could not be found.\r\nContinuing to load program using default settings.";
    const struct
    {
        std::string bytes;
        std::optional<storage::FileError> readError;
        std::optional<storage::FileError> writeError;
        std::optional<storage::FileError> folderError;
        std::string title;
        std::string text;
    } cases[] = {
        {"3\r\nK1ABC\r\n2\r\n1\r\n5\r\n3\r\nTRUE\r\nReserved\r\nReserved\r\n", std::nullopt, std::nullopt, std::nullopt,
         "Error# 62: Input Past End Of File", "An error occured while loading the initialization file."},
        {"", notFound, denied, std::nullopt, "Error: INI File Not Found", notFoundText},
        {"", notFound, std::nullopt, storage::FileError{storage::error::kPathNotFound, "no folder"},
         "Error: INI File Not Found", notFoundText},
        {"", denied, std::nullopt, std::nullopt, "Error# 70: Permission Denied",
         "An error occured while loading the initialization file."},
    };
    for (const auto& c : cases) {
        LoadRig s(kSettled);
        s.files.files[kPath] = c.bytes;
        if (c.readError)
            s.files.readErrors[kPath] = *c.readError;
        if (c.writeError)
            s.files.writeErrors[kPath] = *c.writeError;
        if (c.folderError)
            s.files.folderErrors["/opt/quellmark"] = *c.folderError;
        EXPECT_TRUE(s.ini.loadSettings());
        EXPECT_EQ(s.ui.calls, (std::vector<std::string>{"pointer:normal", "box:" + c.title}));
        EXPECT_EQ(s.ui.boxes.at(0), forms::messageBox(c.title, c.text, forms::Icon::Warning));
        EXPECT_EQ(s.ini.lines(), storage::IniLines{});
        EXPECT_EQ(s.m.link.comPort, 0);
        EXPECT_EQ(s.m.myCall, "");
        EXPECT_EQ(s.m.inputBaudIndex, 0);
        EXPECT_EQ(s.m.outputBaudIndex, 0);
        EXPECT_EQ(s.inputBaudChecks(), (std::vector<bool>{true, false, false, false}));
        EXPECT_TRUE(s.listsAt(0, 0, 16));
        EXPECT_FALSE(s.w.welcome.window.visible());
        EXPECT_FALSE(s.w.main.window.enabled());
        EXPECT_EQ(s.files.files[kPath], c.bytes);
    }
}

TEST(IniSettingsLoadTest, WelcomeWindowOnlyForTrueInAnyCaseAndSpacing)
{
    const struct
    {
        std::string line;
        bool shown;
    } cases[] = {{"TRUE", true},   {"true ", true}, {"  True", true}, {"TRUE.", false}, {"", false},
                 {"FALSE", false}, {"T", false},    {"1", false},     {"TR UE", false}};
    for (const auto& c : cases) {
        LoadRig s(settledWith({{7, c.line}}));
        EXPECT_TRUE(s.ini.loadSettings());
        EXPECT_EQ(s.m.showWelcome, c.shown) << c.line;
        EXPECT_EQ(s.w.welcome.window.visible(), c.shown) << c.line;
        EXPECT_EQ(s.w.welcome.topmost, c.shown) << c.line;
        EXPECT_EQ(s.w.welcome.ShowSplashScreen.isSet(), c.shown) << c.line;
        EXPECT_EQ(s.w.main.window.enabled(), !c.shown) << c.line;
    }
}

} // namespace
} // namespace qm::shell
