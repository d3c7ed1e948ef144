#include "ShellRig.h"

#include "forms/Controls.h"
#include "forms/MenuLayout.h"
#include "forms/PickLists.h"
#include "shell/Keyboard.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

namespace qm::shell
{
namespace
{

using forms::MenuEntryKind;

TEST(KeyboardTest, EveryItemOfAMenuHasAMnemonicOfItsOwn)
{
    forms::Windows windows;
    std::map<std::string_view, std::multiset<char>> letters;
    for (const forms::MenuEntry& entry : forms::menuLayout()) {
        if (entry.kind == MenuEntryKind::Separator || entry.menu == "recentfiles")
            continue;
        // The menu models' captions where the item has one, as the window draws them.
        const auto control = forms::findControl(windows, entry.name);
        auto* const* item = control ? std::get_if<forms::MenuItem*>(&*control) : nullptr;
        const auto letter = forms::mnemonic(item ? (*item)->caption() : std::string(entry.caption));
        ASSERT_TRUE(letter) << entry.name;
        letters[entry.menu].insert(*letter);
    }
    EXPECT_EQ(letters.size(), 8U);
    for (const auto& [menu, taken] : letters)
        for (const char letter : taken)
            EXPECT_EQ(taken.count(letter), 1U) << "menu '" << menu << "' letter " << letter;
}

TEST(KeyboardTest, TheMainWindowsAltKeysOpenOneMenuOrReachOneControlEach)
{
    const forms::Windows windows;
    const forms::MainWindowControls& main = windows.main;
    std::vector<std::pair<std::string, std::string>> captions;
    for (const forms::MenuEntry& entry : forms::menuLayout())
        if (entry.menu.empty())
            captions.emplace_back(entry.name, entry.caption);
    for (const forms::CheckBox* box : {&main.ModeLock, &main.LEDDisable, &main.AutoMode, &main.MicEncode})
        captions.emplace_back(box->name(), box->caption());
    for (const forms::Panel* panel :
         {&main.DataHeader[0], &main.DataHeader[1], &main.DataHeader[2], &main.ConnectButton})
        captions.emplace_back(panel->name(), panel->caption());
    std::map<char, std::string> owner;
    for (const auto& [name, caption] : captions) {
        const auto letter = forms::mnemonic(caption);
        ASSERT_TRUE(letter) << name;
        const auto [at, fresh] = owner.emplace(*letter, name);
        EXPECT_TRUE(fresh) << name << " and " << at->second << " share " << *letter;
    }
}

TEST(KeyboardTest, AMnemonicIsTheCharacterAfterASingleAmpersand)
{
    const std::pair<const char*, std::optional<char>> cases[] = {
        {"&File", 'F'},
        {"E&xit", 'X'},
        {"COM&1", '1'},
        {"Fish && &Chips", 'C'},
        {"Fish && Chips", std::nullopt},
        {"Plain", std::nullopt},
        {"Trailing&", std::nullopt},
    };
    for (const auto& [caption, letter] : cases)
        EXPECT_EQ(forms::mnemonic(caption), letter) << caption;
}

TEST(KeyboardTest, AnEditableListCompletesWhatIsTypedWithTheRestOfItsFirstMatchingEntry)
{
    forms::PickList toCall("BcnToCall", true);
    for (const std::string& entry : forms::kToCallEntries)
        toCall.addItem(entry);
    forms::PickList header("GpsString1", true);
    for (const std::string& entry : forms::kDataHeaderEntries)
        header.addItem(entry);
    const std::tuple<const forms::PickList*, const char*, const char*> cases[] = {
        {&toCall, "A", "PRS"},   {&toCall, "AL", "ARM"},  {&toCall, "APZ", ""},    {&toCall, "T", "HUNT"},
        {&toCall, "TL", ""},     {&toCall, "APRS", ""},   {&toCall, "", ""},       {&toCall, "a", "PRS"},
        {&header, "$", "GPRMC"}, {&header, "$GPG", "GA"}, {&header, "$GPGS", "A"}, {&header, "$gpv", "TG"},
        {&header, "$GPGSV", ""}, {&header, "GP", ""},
    };
    for (const auto& [list, typed, rest] : cases)
        EXPECT_EQ(listCompletion(*list, typed), rest) << list->name() << " " << typed;
}

TEST(KeyboardTest, F6MovesRoundThePartsOfTheMainWindowInUse)
{
    rig::ProgramRig r;
    r.start();
    EXPECT_EQ(keyboardAreas(r.w, r.state.currentMode), (std::vector<std::string>{"Frame20"}));
    struct Case
    {
        const char* mode;
        bool connected;
        std::vector<std::string> areas;
    };
    const Case cases[] = {
        {"nmea", true, {"DataHeaderFrame", "Frame9", "Frame20", "Form3"}},
        {"tracking", false, {"Frame20", "Form4"}},
        {"beacon", true, {"Frame9", "Frame20", "Form2"}},
    };
    for (const Case& c : cases) {
        rig::chooseMenuItem(r.program, c.mode);
        r.w.main.ConnectButton.setVisible(c.connected);
        const std::vector<std::string> areas = keyboardAreas(r.w, r.state.currentMode);
        EXPECT_EQ(areas, c.areas) << c.mode;
        std::vector<std::string> forward{nextKeyboardArea(areas, "", true)};
        std::vector<std::string> backward{nextKeyboardArea(areas, "", false)};
        for (std::size_t step = 1; step < areas.size(); ++step) {
            forward.push_back(nextKeyboardArea(areas, forward.back(), true));
            backward.insert(backward.begin(), nextKeyboardArea(areas, backward.front(), false));
        }
        EXPECT_EQ(forward, areas) << c.mode;
        EXPECT_EQ(backward, areas) << c.mode;
        EXPECT_EQ(nextKeyboardArea(areas, areas.back(), true), areas.front()) << c.mode;
        EXPECT_EQ(nextKeyboardArea(areas, areas.front(), false), areas.back()) << c.mode;
    }
    r.program.windowMinimized("Form2", true);
    EXPECT_EQ(keyboardAreas(r.w, r.state.currentMode), (std::vector<std::string>{"Frame9", "Frame20"}));
    EXPECT_EQ(nextKeyboardArea({}, "Frame9", true), "");
}

TEST(KeyboardTest, CtrlTabStepsRoundTheProfileTabsOfTheWindowOnShow)
{
    rig::ProgramRig r;
    r.start();
    EXPECT_EQ(steppedProfileTab(r.w, r.state.currentMode, 1), std::nullopt);
    const std::tuple<const char*, int, int, std::optional<int>> cases[] = {
        {"nmea", 0, 1, 1},      {"nmea", 9, 1, 0},      {"nmea", 0, -1, 9},
        {"tracking", 4, -1, 3}, {"tracking", 9, -1, 8}, {"beacon", 0, 1, std::nullopt},
    };
    for (const auto& [mode, shown, step, next] : cases) {
        rig::chooseMenuItem(r.program, mode);
        if (r.state.currentMode == forms::Mode::Nmea || r.state.currentMode == forms::Mode::Tracking)
            r.program.profileTabClick(*r.state.currentMode, shown);
        EXPECT_EQ(steppedProfileTab(r.w, r.state.currentMode, step), next) << mode << " " << shown << " " << step;
    }
    rig::chooseMenuItem(r.program, "tracking");
    r.program.windowClosed("Form4");
    EXPECT_EQ(steppedProfileTab(r.w, r.state.currentMode, 1), std::nullopt);
}

TEST(KeyboardTest, ALongRecentFileIsShortenedInItsMiddleAndKeepsItsName)
{
    const std::string folder = "/home/user/" + std::string(4980, 'd') + "/";
    const std::string utf8 =
        "/home/user/" + std::string(30, 'x') + "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9" + std::string(30, 'y') + "/f.vq3";
    const std::pair<std::string, std::string> cases[] = {
        {folder + "beacon.vq3", "&1 /home/user/ddddddddd\xE2\x80\xA6" + std::string(28, 'd') + "/beacon.vq3"},
        {"/a/R&D.vq3", "&1 /a/R&&D.vq3"},
        {utf8, "&1 /home/user/xxxxxxxxx\xE2\x80\xA6\xC3\xA9\xC3\xA9\xC3\xA9" + std::string(30, 'y') + "/f.vq3"},
    };
    for (const auto& [path, caption] : cases) {
        rig::ProgramRig r;
        r.files.files[rig::kOptions] = "RecentFile=" + path + "\r\n";
        r.start();
        EXPECT_EQ(r.w.main.menus.recentfile[0].caption(), caption) << path.size();
    }
}

} // namespace
} // namespace qm::shell
