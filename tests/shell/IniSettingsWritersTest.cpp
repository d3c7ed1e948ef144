// Tests of every writer of vq3.ini and the menu commands that rewrite it.
#include "shell/IniSettings.h"

#include "fakes/MemoryFileSystem.h"
#include "fakes/ScriptedUi.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qm::shell
{
namespace
{

using forms::Mode;
using Lines = std::vector<std::string>;

const std::string kPath = "/home/ann/.config/quellmark/vq3.ini";

class IniSettingsWritersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        program.startUp();
        m.link.comPort = 3;
        m.myCall = "K1ABC";
        m.inputBaudIndex = 2;
        m.outputBaudIndex = 1;
        m.txDelayIndex = 5;
        m.txTailIndex = 3;
    }

    Lines written() const { return storage::splitLines(files.files.at(kPath)); }
    void uncheckAllBaudItems()
    {
        for (auto* item : w.main.menus.inputBaudItems())
            item->setChecked(false);
        w.main.menus.out300.setChecked(false);
        w.main.menus.out1200.setChecked(false);
    }

    fakes::MemoryFileSystem files;
    fakes::ScriptedUi ui;
    Session program{files};
    IniSettings ini{program, ui, files, kPath};
    forms::Windows& w = program.windows();
    ProgramState& m = program.state();
};

TEST_F(IniSettingsWritersTest, PortAndCallsignWritersWriteTheTenLinesFromTheVariables)
{
    const std::function<bool()> writers[] = {[this] { return ini.saveComPort(); }, [this] { return ini.saveMyCall(); }};
    for (const auto& write : writers) {
        w.welcome.ShowSplashScreen.setValue(0);
        EXPECT_TRUE(write());
        EXPECT_EQ(files.files[kPath],
                  "3\r\nK1ABC\r\n2\r\n1\r\n5\r\n3\r\nFALSE\r\nReserved\r\nReserved\r\nReserved\r\n");
        w.welcome.ShowSplashScreen.setValue(1);
        EXPECT_TRUE(write());
        EXPECT_EQ(files.files[kPath], "3\r\nK1ABC\r\n2\r\n1\r\n5\r\n3\r\nTRUE\r\nReserved\r\nReserved\r\nReserved\r\n");
    }
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_EQ(files.folders.count("/home/ann/.config/quellmark"), 1U);
}

TEST_F(IniSettingsWritersTest, InputBaudWriterTakesTheCheckedItemOrKeepsTheStoredIndex)
{
    const struct
    {
        int checked;
        std::string line;
    } cases[] = {{-1, "2"}, {0, "0"}, {1, "1"}, {2, "2"}, {3, "3"}};
    for (const auto& c : cases) {
        m.inputBaudIndex = 2;
        uncheckAllBaudItems();
        if (c.checked >= 0)
            w.main.menus.inputBaudItems()[static_cast<std::size_t>(c.checked)]->setChecked(true);
        EXPECT_TRUE(ini.saveInputBaudRate());
        EXPECT_EQ(written(), (Lines{"3", "K1ABC", c.line, "1", "5", "3", "FALSE", "Reserved", "Reserved", "Reserved"}));
        EXPECT_EQ(std::to_string(m.inputBaudIndex), c.line);
    }
}

TEST_F(IniSettingsWritersTest, OutputBaudWriterTakesTheCheckedItemOrKeepsTheStoredIndex)
{
    const struct
    {
        bool out300;
        bool out1200;
        int stored;
        std::string line;
    } cases[] = {{true, false, 0, "1"}, {false, true, 1, "0"}, {false, false, 1, "1"}, {false, false, 0, "0"}};
    for (const auto& c : cases) {
        m.outputBaudIndex = c.stored;
        uncheckAllBaudItems();
        w.main.menus.out300.setChecked(c.out300);
        w.main.menus.out1200.setChecked(c.out1200);
        EXPECT_TRUE(ini.saveOutputBaudRate());
        EXPECT_EQ(written(), (Lines{"3", "K1ABC", "2", c.line, "5", "3", "FALSE", "Reserved", "Reserved", "Reserved"}));
        EXPECT_EQ(std::to_string(m.outputBaudIndex), c.line);
    }
}

TEST_F(IniSettingsWritersTest, SaveIniFileTakesTheCurrentModeWindowsPositionsThenSaysSo)
{
    for (const forms::Mode mode : forms::kModes) {
        w.station(mode).TxDelay.setListIndex(7 + forms::codeOfMode(mode));
        w.station(mode).TxTail.setListIndex(1 + forms::codeOfMode(mode));
    }
    w.main.menus.in1200.setChecked(false);
    w.main.menus.in9600.setChecked(true);
    for (const forms::Mode mode : forms::kModes) {
        const int code = forms::codeOfMode(mode);
        ui.calls.clear();
        m.currentMode = mode;
        EXPECT_TRUE(ini.saveDefaults());
        EXPECT_EQ(written(), (Lines{"3", "K1ABC", "3", "0", std::to_string(7 + code), std::to_string(1 + code), "FALSE",
                                    "Reserved", "Reserved", "Reserved"}));
        EXPECT_EQ(m.txDelayIndex, 7 + code);
        EXPECT_EQ(m.txTailIndex, 1 + code);
        EXPECT_EQ(ui.calls, std::vector<std::string>{"box:Quellmark"});
    }
    EXPECT_EQ(ui.boxes.back(), forms::messageBox("Quellmark", "Default settings memorized.", forms::Icon::Information));
}

TEST_F(IniSettingsWritersTest, SaveIniFileOutsideTheFiveModesKeepsTheStoredPositions)
{
    m.currentMode.reset();
    m.unknownModeCode = 6;
    uncheckAllBaudItems();
    EXPECT_TRUE(ini.saveDefaults());
    EXPECT_EQ(written(), (Lines{"3", "K1ABC", "2", "1", "5", "3", "FALSE", "Reserved", "Reserved", "Reserved"}));
}

TEST_F(IniSettingsWritersTest, MemorizeDefaultsInBeaconWritesTheBeaconPositionsAndTheTrackingCallsign)
{
    m.currentMode = Mode::Beacon;
    w.beacon.station.TxDelay.setListIndex(12);
    w.beacon.station.TxTail.setListIndex(4);
    w.tracking.station.TxDelay.setListIndex(1);
    w.tracking.station.TxTail.setListIndex(1);
    w.beacon.station.MyCall.setText("BEACON");
    w.tracking.station.MyCall.setText("W1XYZ");
    ini.memorizeDefaults();
    EXPECT_EQ(m.myCall, "W1XYZ");
    EXPECT_EQ(written(), (Lines{"3", "W1XYZ", "0", "0", "12", "4", "FALSE", "Reserved", "Reserved", "Reserved"}));
    EXPECT_EQ(ui.calls, std::vector<std::string>{"box:Quellmark"});
}

TEST_F(IniSettingsWritersTest, MemorizeDefaultsWritesTheCallsignTrimmedAndUpperCased)
{
    const struct
    {
        std::string typed;
        std::string line;
    } cases[] = {{" w1xyz ", "W1XYZ"}, {"k1Ab", "K1AB"}, {"  ", ""}, {"N0CALL", "N0CALL"}};
    for (const auto& c : cases) {
        forms::setMyCall(w, c.typed);
        ini.memorizeDefaults();
        EXPECT_EQ(m.myCall, c.line) << c.typed;
        EXPECT_EQ(written().at(1), c.line) << c.typed;
    }
}

TEST_F(IniSettingsWritersTest, FailedWriteShowsTheSaveBoxAndKeepsTheOldFile)
{
    const std::function<bool()> writers[] = {
        [this] { return ini.saveComPort(); },       [this] { return ini.saveMyCall(); },
        [this] { return ini.saveInputBaudRate(); }, [this] { return ini.saveOutputBaudRate(); },
        [this] { return ini.saveDefaults(); },
    };
    files.files[kPath] = "old file";
    files.writeErrors[kPath] = {storage::error::kPermissionDenied, "denied"};
    for (const auto& write : writers) {
        ui.calls.clear();
        ui.boxes.clear();
        EXPECT_FALSE(write());
        EXPECT_EQ(files.files[kPath], "old file");
        EXPECT_EQ(ui.boxes, (std::vector<forms::MessageBox>{forms::messageBox(
                                "Error# 70: Permission Denied",
                                "An error occured while saving the initialization file.", forms::Icon::Warning)}));
    }
}

TEST_F(IniSettingsWritersTest, InputBaudCommandsCheckOneItemAndSaveIt)
{
    const std::function<void()> clicks[] = {[this] { ini.selectInputBaud(0); }, [this] { ini.selectInputBaud(1); },
                                            [this] { ini.selectInputBaud(2); }, [this] { ini.selectInputBaud(3); }};
    for (int index : {3, 0, 2, 1}) {
        clicks[index]();
        for (int item = 0; item < 4; ++item)
            EXPECT_EQ(w.main.menus.inputBaudItems()[static_cast<std::size_t>(item)]->checked(), item == index);
        EXPECT_EQ(m.inputBaudIndex, index);
        EXPECT_EQ(written().at(2), std::to_string(index));
    }
}

TEST_F(IniSettingsWritersTest, OutputBaudCommandsRebuildTheListsAtTheRememberedPositionsAndSave)
{
    m.txDelayIndex = 6;
    m.txTailIndex = 2;
    ini.select300BaudOutput();
    EXPECT_TRUE(w.main.menus.out300.checked());
    EXPECT_FALSE(w.main.menus.out1200.checked());
    for (const forms::Mode mode : forms::kModes) {
        EXPECT_EQ(w.station(mode).TxDelay.count(), 15);
        EXPECT_EQ(w.station(mode).TxDelay.text(), "373 ms");
        EXPECT_EQ(w.station(mode).TxTail.text(), "80 ms *");
    }
    EXPECT_EQ(m.outputBaudIndex, 1);
    EXPECT_EQ(written().at(3), "1");

    ini.select1200BaudOutput();
    EXPECT_FALSE(w.main.menus.out300.checked());
    EXPECT_TRUE(w.main.menus.out1200.checked());
    for (const forms::Mode mode : forms::kModes) {
        EXPECT_EQ(w.station(mode).TxDelay.count(), 16);
        EXPECT_EQ(w.station(mode).TxDelay.text(), "293 ms *");
    }
    EXPECT_EQ(m.outputBaudIndex, 0);
    EXPECT_EQ(written().at(3), "0");
    EXPECT_TRUE(ui.calls.empty());
}

} // namespace
} // namespace qm::shell
