#include "ShellRig.h"
#include "fakes/FakeClock.h"

#include "forms/MenuLayout.h"
#include "shell/BaudRates.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace qm::shell
{
namespace
{

using forms::MenuId;

TEST(MenuModelTest, EveryItemIsLaidOutOnceAndItsModelCarriesItsNameAndCaption)
{
    const forms::Menus menus;
    std::set<std::string_view> names;
    for (std::size_t n = 0; n < forms::kMenuItemCount; ++n) {
        const auto id = static_cast<MenuId>(n);
        const forms::MenuEntry& entry = forms::menuEntry(id);
        EXPECT_EQ(entry.id, id) << n;
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
        EXPECT_EQ(forms::menuItemNamed(entry.name), id) << entry.name;
        EXPECT_EQ(menus.item(id).name(), entry.name);
        EXPECT_EQ(menus.item(id).caption(), entry.caption) << entry.name;
    }
    std::size_t items = 0;
    for (const forms::MenuEntry& entry : forms::menuLayout())
        items += entry.id ? 1U : 0U;
    EXPECT_EQ(items, forms::kMenuItemCount);
    for (const char* none : {"space1", "", "Save", "recentfile6"})
        EXPECT_EQ(forms::menuItemNamed(none), std::nullopt) << none;
}

TEST(MenuModelTest, ARowPlacesOnlyItsOwnItems)
{
    const std::tuple<MenuId, MenuId, int, std::optional<int>> cases[] = {
        {MenuId::Telemetry, MenuId::Telemetry, 5, 0},
        {MenuId::Alarm, MenuId::Telemetry, 5, 4},
        {MenuId::Setup, MenuId::Telemetry, 5, std::nullopt},
        {MenuId::Mode, MenuId::Telemetry, 5, std::nullopt},
        {MenuId::Com4, MenuId::Com1, 4, 3},
        {MenuId::OtherDevice, MenuId::Com1, 4, std::nullopt},
    };
    for (const auto& [item, first, count, place] : cases)
        EXPECT_EQ(forms::placeInRow(item, first, count), place) << static_cast<int>(item);
}

TEST(MenuCommandsTest, EachItemRunsItsOwnCommandAndTheDesktopsAndTheMenusAreLeftAlone)
{
    using Check = std::function<void(rig::ProgramRig&)>;
    const std::tuple<const char*, bool, Check> cases[] = {
        {"in2400", true,
         [](rig::ProgramRig& r) {
             EXPECT_EQ(r.state.inputBaudIndex, 1);
             EXPECT_TRUE(r.w.main.menus.in2400.checked());
             EXPECT_FALSE(r.w.main.menus.in1200.checked());
             EXPECT_EQ(storage::splitLines(r.files.files[rig::kIni])[2], "1");
         }},
        {"in9600", true, [](rig::ProgramRig& r) { EXPECT_EQ(r.state.inputBaudIndex, 3); }},
        {"out300", true,
         [](rig::ProgramRig& r) {
             EXPECT_EQ(r.state.outputBaudIndex, 1);
             EXPECT_TRUE(r.w.main.menus.out300.checked());
             EXPECT_FALSE(r.w.main.menus.out1200.checked());
             EXPECT_EQ(storage::splitLines(r.files.files[rig::kIni])[3], "1");
         }},
        {"alarm", true, [](rig::ProgramRig& r) { EXPECT_EQ(r.state.currentMode, forms::Mode::Alarm); }},
        {"com3", true,
         [](rig::ProgramRig& r) { EXPECT_EQ(r.link.calls, std::vector<std::string>{"selectComPort 3"}); }},
        {"read", true, [](rig::ProgramRig& r) { EXPECT_EQ(r.link.calls, std::vector<std::string>{"read"}); }},
        {"contents", true, [](rig::ProgramRig& r) { EXPECT_EQ(r.ui.calls.size(), 1U); }},
        {"about", false, {}},
        {"printpreview", false, {}},
        {"exportpdf", false, {}},
        {"restorebackup", false, {}},
        {"file", false, {}},
        {"serialport", false, {}},
    };
    for (const auto& [name, handled, check] : cases) {
        rig::ProgramRig r;
        r.start();
        r.clearRecords();
        const std::string ini = r.files.files[rig::kIni];
        EXPECT_EQ(r.program.menuCommand(*forms::menuItemNamed(name)), handled) << name;
        if (check) {
            check(r);
            continue;
        }
        EXPECT_TRUE(r.ui.calls.empty()) << name;
        EXPECT_TRUE(r.link.calls.empty()) << name;
        EXPECT_EQ(r.files.files[rig::kIni], ini) << name;
    }
}

TEST(MenuCommandsTest, AnOutputRateOutsideTheMenuChangesNeitherItsItemsNorTheLists)
{
    rig::ProgramRig r;
    r.start();
    rig::chooseMenuItem(r.program, "out300");
    const forms::Windows before = r.w;
    for (const int code : {-1, 2, 7}) {
        showOutputBaud(r.program.session(), code);
        showInputBaud(r.w.main.menus, code < 0 ? code : code + 2);
        EXPECT_TRUE(r.w.main.menus.out300.checked()) << code;
        EXPECT_EQ(r.w.beacon.station.TxDelay.entries(), before.beacon.station.TxDelay.entries()) << code;
    }
    EXPECT_EQ(checkedInputBaud(r.w.main.menus), 0);
    EXPECT_EQ(checkedOutputBaud(r.w.main.menus), 1);
}

TEST(MenuCommandsTest, TheDesktopsReportAndBackupItemsAreUsableOnlyWhenTheirWorkIs)
{
    const std::tuple<const char*, bool, bool, bool, bool> cases[] = {
        // mode, backups kept, main window usable: print preview and export usable, restore usable
        {"tracking", true, true, true, true},
        {"nmea", false, true, true, false},
        {"beacon", true, true, false, true},
        {"tracking", true, false, false, false},
    };
    for (const auto& [mode, kept, usable, report, restore] : cases) {
        rig::ProgramRig r;
        fakes::FakeClock clock;
        r.program.reports().setPrinter(nullptr, &clock);
        r.program.setBackupsKept(kept);
        r.start();
        rig::chooseMenuItem(r.program, mode);
        r.w.main.window.setEnabled(usable);
        r.program.settleMenus();
        const forms::Menus& menus = r.w.main.menus;
        EXPECT_EQ(menus.printpreview.enabled(), report) << mode << kept << usable;
        EXPECT_EQ(menus.exportpdf.enabled(), report) << mode << kept << usable;
        EXPECT_EQ(menus.restorebackup.enabled(), restore) << mode << kept << usable;
    }
}

} // namespace
} // namespace qm::shell
