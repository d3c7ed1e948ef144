#include "fakes/MemoryFileSystem.h"
#include "shell/Session.h"

#include <gtest/gtest.h>

namespace qm::shell
{
namespace
{

using forms::Mode;

TEST(ModeSelectionTest, EnablesTheMainWindowControlsTheModeUses)
{
    struct Row
    {
        Mode mode;
        bool dataHeaders, micEncode, modeLock, autoMode, inputBaud, printing;
    };
    const Row rows[] = {
        {Mode::Telemetry, false, false, false, false, true, false},
        {Mode::Beacon, false, false, false, false, false, false},
        {Mode::Nmea, true, false, true, false, true, true},
        {Mode::Tracking, false, true, true, true, true, true},
        {Mode::Alarm, false, false, false, false, false, false},
    };
    fakes::MemoryFileSystem files;
    Session program(files);
    program.startUp();
    program.state().printerPresent = true;
    auto& main = program.windows().main;
    for (const Row& row : rows) {
        program.selectMode(row.mode);
        SCOPED_TRACE(forms::codeOfMode(row.mode));
        EXPECT_EQ(program.state().currentMode, row.mode);
        EXPECT_EQ(main.DataHeaderFrame.enabled(), row.dataHeaders);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(main.GpsString[std::size_t(i)].enabled(), row.dataHeaders);
            EXPECT_EQ(main.DataHeader[std::size_t(i)].visible(), row.dataHeaders);
        }
        EXPECT_EQ(main.MicEncode.enabled(), row.micEncode);
        EXPECT_EQ(main.ModeLock.enabled(), row.modeLock);
        EXPECT_EQ(main.AutoMode.enabled(), row.autoMode);
        EXPECT_TRUE(main.LEDDisable.enabled());
        EXPECT_EQ(main.menus.inputbaudrate.enabled(), row.inputBaud);
        EXPECT_EQ(main.menus.printprofiles.enabled(), row.printing);
        EXPECT_EQ(main.menus.printerfont.enabled(), row.printing);
        for (const forms::Mode mode : forms::kModes) {
            EXPECT_EQ(main.menus.modeItems()[forms::modeIndex(mode)]->checked(), mode == row.mode);
            EXPECT_EQ(program.windows().station(mode).window.visible(), mode == row.mode);
        }
    }
}

TEST(ModeSelectionTest, WithoutAPrinterPrintingStaysDisabled)
{
    fakes::MemoryFileSystem files;
    Session program(files);
    program.startUp();
    auto& menus = program.windows().main.menus;
    menus.printprofiles.setEnabled(false);
    menus.printerfont.setEnabled(false);
    program.selectMode(Mode::Nmea);
    EXPECT_FALSE(menus.printprofiles.enabled());
    EXPECT_FALSE(menus.printerfont.enabled());
}

TEST(ModeSelectionTest, CaptionsTheProfileFrameWithTheSelectedTab)
{
    fakes::MemoryFileSystem files;
    Session program(files);
    program.startUp();
    program.windows().nmea.NMEAProfile.setSelectedIndex(3);
    program.selectMode(forms::Mode::Nmea);
    EXPECT_EQ(program.windows().nmea.NMEAProfileFrame.caption(), "Profile #4 Settings");
    EXPECT_EQ(program.windows().nmea.station.HelpFrame.caption(), "NMEA Mode");
}

} // namespace
} // namespace qm::shell
