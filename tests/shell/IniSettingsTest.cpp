// vq3.ini: the start-up load (first-run prompts, every line applied, the stops on errors) and every writer.
#include "shell/IniSettings.h"
#include "ShellRig.h"
#include "storage/IniFile.h"

#include <algorithm>

namespace qm::shell
{
namespace
{

using rig::Lines;
using Answers = std::deque<std::optional<std::string>>;

const std::string kPath = "/opt/quellmark/vq3.ini";
const Lines kSettled{"2", "N0CALL", "1", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"};
const std::string kPortTitle = "input:Serial Port Selection";
const std::string kCallTitle = "input:CallSign Selection";

Lines settledWith(std::initializer_list<std::pair<int, std::string>> changes, Lines lines = kSettled)
{
    for (const auto& [line, text] : changes)
        lines[static_cast<std::size_t>(line - 1)] = text;
    return lines;
}

struct IniRig
{
    explicit IniRig(const Lines& lines, Answers answers = {})
    {
        files.files[kPath] = storage::joinLines(lines);
        ui.inputs = std::move(answers);
        session.startUp();
        w.main.window.setEnabled(false);
    }

    Lines written() const { return storage::splitLines(files.files.at(kPath)); }
    long asked(const std::string& title) const { return std::count(ui.calls.begin(), ui.calls.end(), title); }
    /// The callsign every window shows, or "(differ)".
    std::string myCall() const
    {
        for (const forms::Mode mode : forms::kModes)
            if (w.station(mode).MyCall.text() != w.tracking.station.MyCall.text())
                return "(differ)";
        return w.tracking.station.MyCall.text();
    }
    std::vector<bool> inputBaudChecks() const
    {
        std::vector<bool> checks;
        for (const auto* item : w.main.menus.inputBaudItems())
            checks.push_back(item->checked());
        return checks;
    }
    /// Every window's delay and tail lists at these positions with this many entries, every profile seeded alike.
    bool listsAt(int delay, int tail, int count) const
    {
        for (const forms::Mode mode : forms::kModes) {
            const forms::StationControls& station = w.station(mode);
            if (station.TxDelay.listIndex() != delay || station.TxTail.listIndex() != tail ||
                station.TxDelay.count() != count || station.TxTail.count() != count)
                return false;
        }
        for (const forms::ProfileStore* store : {&w.nmea.store, &w.tracking.store})
            for (int profile = 1; profile <= forms::kProfileCount; ++profile)
                if (store->entry(profile).TxDelay != std::to_string(delay) ||
                    store->entry(profile).TxTail != std::to_string(tail))
                    return false;
        return true;
    }

    fakes::MemoryFileSystem files;
    fakes::ScriptedUi ui;
    Session session{files};
    IniSettings ini{session, ui, files, kPath};
    forms::Windows& w = session.windows();
    ProgramState& m = session.state();
};

TEST(IniSettingsLoadTest, ASettledFileAppliesEveryLineWithoutAskingOrWriting)
{
    const Lines lines{"3", " k1abc ", "2", "1", "5", "3", "FALSE", "Reserved", "Reserved", "Reserved"};
    IniRig s(lines);
    EXPECT_TRUE(s.ini.loadSettings());
    EXPECT_TRUE(s.ui.calls.empty());
    EXPECT_EQ(s.files.files[kPath], storage::joinLines(lines));
    EXPECT_EQ(Lines(s.ini.lines().begin(), s.ini.lines().end()), lines);
    EXPECT_EQ(s.m.link.comPort, 3);
    EXPECT_EQ(s.myCall(), "K1ABC");
    EXPECT_EQ(s.inputBaudChecks(), (std::vector<bool>{false, false, true, false}));
    EXPECT_TRUE(s.w.main.menus.out300.checked());
    EXPECT_FALSE(s.w.main.menus.out1200.checked());
    EXPECT_TRUE(s.listsAt(5, 3, 15));
    EXPECT_TRUE(s.w.main.window.enabled());
    EXPECT_FALSE(s.w.welcome.window.visible());

    IniRig blank(settledWith({{2, "   "}, {5, ""}, {6, ""}}));
    blank.m.myCall = "OLD";
    blank.m.txDelayIndex = 4;
    blank.m.txTailIndex = 1;
    EXPECT_TRUE(blank.ini.loadSettings());
    EXPECT_EQ(blank.myCall(), "OLD");
    EXPECT_EQ(blank.w.tracking.store.entry(3).TxDelay, "4");
    EXPECT_EQ(blank.w.nmea.store.entry(10).TxTail, "1");
}

TEST(IniSettingsLoadTest, ThePortIsTheFirstCharacterOfLineOneOrAskedForUntilAnswered)
{
    const std::tuple<std::string, Answers, int> cases[] = {
        {"12", {}, 1},         {"4x", {}, 4},          {"COM2", {"3"}, 3},           {" 3", {"3"}, 3},
        {"0", {"com3"}, 3},    {"-1", {" 4 "}, 4},     {"", {"5", "2"}, 2},          {"0", {"COM5", "2"}, 2},
        {"0", {"+1", "2"}, 2}, {"0", {"1.0", "2"}, 2}, {"0", {"COM0", "9", "4"}, 4},
    };
    for (const auto& [line, answers, port] : cases) {
        IniRig s(settledWith({{1, line}}), answers);
        EXPECT_TRUE(s.ini.loadSettings());
        EXPECT_EQ(s.m.link.comPort, port) << line;
        EXPECT_EQ(s.asked(kPortTitle), static_cast<long>(answers.size())) << line;
        EXPECT_TRUE(s.ui.boxes.empty());
        EXPECT_EQ(s.written().at(0), answers.empty() ? line : std::to_string(port));
        EXPECT_TRUE(std::all_of(s.ui.prompts.begin(), s.ui.prompts.end(),
                                [&s](const std::string& prompt) { return prompt == s.ui.prompts[0]; }));
    }
}

TEST(IniSettingsLoadTest, AnEmptyPortAnswerShowsTheBoxWhoseOkAsksAgainAndCancelEnds)
{
    const Lines lines{"0", "MYCALL", "2", "1", "5", "3", "TRUE", "Reserved", "Reserved", "Reserved"};
    IniRig s(lines, {"x", std::nullopt});
    s.ui.buttons = {forms::Button::Cancel};
    EXPECT_FALSE(s.ini.loadSettings());
    EXPECT_EQ(s.ui.calls, (Lines{"pointer:normal", kPortTitle, "pointer:normal", kPortTitle, "box:Error", "end"}));
    EXPECT_EQ(s.files.files[kPath], storage::joinLines(lines));
    EXPECT_FALSE(s.w.welcome.window.visible());
}

TEST(IniSettingsLoadTest, TheCallsignPromptRefusesThePlaceholderAndLongAnswers)
{
    const std::pair<Answers, std::string> cases[] = {
        {{std::nullopt}, ""},
        {{"mycall ", "ABCDEFGHIJ", "abcdefg", " w1aw-1 "}, "W1AW-1"},
    };
    for (const auto& [answers, call] : cases) {
        IniRig s(settledWith({{2, "MyCall"}}), answers);
        EXPECT_TRUE(s.ini.loadSettings());
        EXPECT_EQ(s.myCall(), call);
        EXPECT_EQ(s.asked(kCallTitle), static_cast<long>(answers.size())) << call;
        EXPECT_EQ(s.written().at(1), call);
    }
}

TEST(IniSettingsLoadTest, AFreshAccountGetsThePlaceholderFileThenThePromptsAndTheWelcomeWindow)
{
    for (const bool answered : {true, false}) {
        IniRig s(kSettled, answered ? Answers{"com1", "k1abc"} : Answers{std::nullopt});
        s.files.files.clear();
        s.ui.buttons = {forms::Button::Cancel};
        EXPECT_EQ(s.ini.loadSettings(), answered);
        EXPECT_EQ(s.files.files[kPath],
                  answered ? storage::joinLines(
                                 {"1", "K1ABC", "0", "0", "6", "2", "TRUE", "Reserved", "Reserved", "Reserved"})
                           : "0\r\nMYCALL\r\n0\r\n0\r\n6\r\n2\r\nTRUE\r\nReserved\r\nReserved\r\nReserved\r\n");
        EXPECT_EQ(s.w.welcome.window.visible(), answered);
    }
}

TEST(IniSettingsLoadTest, BaudAndListLinesApplyOnlyWhatTheyNameAndAPositionTheListLacksStopsTheLoad)
{
    // Lines 3 to 6, the input baud items checked, 300 baud out, the delay and tail shown, the line the load stops at.
    const std::tuple<std::array<std::string, 4>, std::vector<bool>, bool, int, int, int> cases[] = {
        {{"3", "0", "15", "15"}, {false, false, false, true}, false, 15, 15, 0},
        {{"4", "", "", ""}, {true, false, false, false}, false, 0, 0, 0},
        {{" 2 ", "1", "14", "0"}, {false, false, true, false}, true, 14, 0, 0},
        {{"-1", "2", "-1", "3"}, {true, false, false, false}, false, -1, 3, 0},
        {{"2.5", "0.6", "6", "2"}, {false, false, true, false}, true, 6, 2, 0},
        {{"1 ", "1", "1 2", "x"}, {false, true, false, false}, true, 12, 0, 0},
        {{"0", "1", "15", "2"}, {}, true, 0, 0, 380},
        {{"0", "0", "16", "2"}, {}, false, 0, 0, 380},
        {{"0", "0", "6", "-2"}, {}, false, 0, 0, 380},
        {{"0", "0", "99999", "2"}, {}, false, 0, 0, 6},
        {{"0", "40000", "6", "2"}, {}, false, 0, 0, 6},
    };
    for (const auto& [lines, inputChecks, out300, delay, tail, stop] : cases) {
        SCOPED_TRACE(lines[0] + "/" + lines[1] + "/" + lines[2] + "/" + lines[3]);
        IniRig s(settledWith({{3, lines[0]}, {4, lines[1]}, {5, lines[2]}, {6, lines[3]}, {7, "TRUE"}}));
        EXPECT_TRUE(s.ini.loadSettings());
        EXPECT_TRUE(s.listsAt(delay, tail, out300 ? 15 : 16) || stop);
        if (stop) {
            EXPECT_EQ(s.ui.boxes, std::vector<forms::MessageBox>{storage::iniLoadErrorBox({stop, ""})});
            EXPECT_EQ(s.w.tracking.store.entry(1).TxDelay, "0");
            EXPECT_FALSE(s.w.welcome.window.visible());
            EXPECT_FALSE(s.w.main.window.enabled());
        } else {
            EXPECT_TRUE(s.ui.boxes.empty());
            EXPECT_EQ(s.inputBaudChecks(), inputChecks);
            EXPECT_EQ(s.w.main.menus.out300.checked(), out300);
            EXPECT_NE(s.w.main.menus.out1200.checked(), out300);
            // Every clear (New) puts the same back.
            s.session.clearAllWindows();
            EXPECT_EQ(s.inputBaudChecks(), inputChecks);
            EXPECT_TRUE(s.listsAt(delay, tail, out300 ? 15 : 16));
        }
    }
}

TEST(IniSettingsLoadTest, AFileThatCannotBeReadShowsItsBoxAndAppliesNothing)
{
    const std::pair<std::string, storage::FileError> cases[] = {
        {"3\r\nK1ABC\r\n2\r\n1\r\n5\r\n3\r\nTRUE\r\nReserved\r\nReserved\r\n", {storage::error::kInputPastEnd, ""}},
        {"", {storage::error::kPermissionDenied, "denied"}},
    };
    for (const auto& [bytes, shown] : cases) {
        IniRig s(kSettled);
        s.files.files[kPath] = bytes;
        if (bytes.empty())
            s.files.readErrors[kPath] = shown;
        EXPECT_TRUE(s.ini.loadSettings());
        EXPECT_EQ(s.ui.boxes, std::vector<forms::MessageBox>{storage::iniLoadErrorBox(shown)});
        EXPECT_TRUE(s.m.link.comPort == 0 && s.m.myCall.empty());
        EXPECT_TRUE(s.listsAt(0, 0, 16));
        EXPECT_FALSE(s.w.main.window.enabled());
        EXPECT_EQ(s.files.files[kPath], bytes);
    }
}

struct WriterRig : IniRig
{
    WriterRig() : IniRig(kSettled)
    {
        m.link.comPort = 3;
        m.myCall = "K1ABC";
        m.inputBaudIndex = 2;
        m.outputBaudIndex = 1;
        m.txDelayIndex = 5;
        m.txTailIndex = 3;
        for (auto* item : w.main.menus.inputBaudItems())
            item->setChecked(false);
        w.main.menus.out1200.setChecked(false);
    }
    static Lines with(std::initializer_list<std::pair<int, std::string>> changes)
    {
        return settledWith(changes, {"3", "K1ABC", "2", "1", "5", "3", "FALSE", "Reserved", "Reserved", "Reserved"});
    }
};

TEST(IniSettingsWritersTest, EachWriterWritesTheTenLinesFromTheVariablesAndTheCheckedItems)
{
    WriterRig r;
    EXPECT_TRUE(r.ini.saveComPort());
    EXPECT_EQ(r.files.files[kPath], "3\r\nK1ABC\r\n2\r\n1\r\n5\r\n3\r\nFALSE\r\nReserved\r\nReserved\r\nReserved\r\n");
    r.w.welcome.ShowSplashScreen.setValue(1);
    EXPECT_TRUE(r.ini.saveMyCall());
    EXPECT_EQ(r.written(), r.with({{7, "TRUE"}}));
    r.w.welcome.ShowSplashScreen.setValue(0);
    r.w.main.menus.in9600.setChecked(true);
    EXPECT_TRUE(r.ini.saveInputBaudRate());
    EXPECT_EQ(r.written(), r.with({{3, "3"}}));
    r.w.main.menus.out1200.setChecked(true);
    EXPECT_TRUE(r.ini.saveOutputBaudRate());
    EXPECT_EQ(r.written(), r.with({{3, "3"}, {4, "0"}}));
    EXPECT_TRUE(r.ui.calls.empty());

    // Memorize Defaults takes the current mode's delay and tail and the Tracking callsign, trimmed and upper-cased.
    r.w.beacon.station.TxDelay.setListIndex(12);
    r.w.beacon.station.TxTail.setListIndex(4);
    r.w.beacon.station.MyCall.setText("OTHER");
    r.w.tracking.station.MyCall.setText(" w1xyz ");
    r.m.currentMode = forms::Mode::Beacon;
    r.ini.memorizeDefaults();
    EXPECT_EQ(r.written(), r.with({{2, "W1XYZ"}, {3, "3"}, {4, "0"}, {5, "12"}, {6, "4"}}));
    EXPECT_EQ(r.ui.calls, std::vector<std::string>{"box:Quellmark"});
    // Outside the five modes the stored positions stay.
    r.m.currentMode.reset();
    r.m.unknownModeCode = 6;
    EXPECT_TRUE(r.ini.saveDefaults());
    EXPECT_EQ(r.written().at(4), "12");
}

TEST(IniSettingsWritersTest, AFailedWriteShowsTheSaveBoxAndKeepsTheOldFile)
{
    WriterRig r;
    r.files.files[kPath] = "old file";
    r.files.writeErrors[kPath] = {storage::error::kPermissionDenied, "denied"};
    for (const auto& write : {&IniSettings::saveComPort, &IniSettings::saveMyCall, &IniSettings::saveInputBaudRate,
                              &IniSettings::saveOutputBaudRate, &IniSettings::saveDefaults}) {
        r.ui.boxes.clear();
        EXPECT_FALSE((r.ini.*write)());
        EXPECT_EQ(r.files.files[kPath], "old file");
        EXPECT_EQ(r.ui.boxes, std::vector<forms::MessageBox>{storage::iniSaveErrorBox(r.files.writeErrors[kPath])});
    }
}

} // namespace
} // namespace qm::shell
