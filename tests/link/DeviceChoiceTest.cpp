// A device refused for lack of permission, a device chosen by its path, and a port that stays silent.
#include "link/LinkRig.h"

namespace qm::link
{
namespace
{

const std::string kSilenceHint = "Nothing has answered on /dev/ttyUSB0 for 10 seconds. Put the VQ-3 in "
                                 "configuration mode, and check the cable and the serial port.";

struct PermissionRow
{
    const char* group;
    std::string text;
};

const PermissionRow kPermissionRows[] = {
    {"dialout",
     "Permission to open the serial device /dev/ttyUSB0 was denied.\r\n\r\n"
     "Members of the group \"dialout\" may use it. Add your user to that group, for example with the command\r\n\r\n"
     "    sudo adduser $USER dialout\r\n\r\n"
     "then log out and log in again (or restart the computer) so that the membership takes effect."},
    {"uucp",
     "Permission to open the serial device /dev/ttyUSB0 was denied.\r\n\r\n"
     "Members of the group \"uucp\" may use it. Add your user to that group, for example with the command\r\n\r\n"
     "    sudo adduser $USER uucp\r\n\r\n"
     "then log out and log in again (or restart the computer) so that the membership takes effect."},
    {"root", "Permission to open the serial device /dev/ttyUSB0 was denied.\r\n\r\n"
             "Ask the administrator of this computer for read and write access to /dev/ttyUSB0."},
    {"", "Permission to open the serial device /dev/ttyUSB0 was denied.\r\n\r\n"
         "Ask the administrator of this computer for read and write access to /dev/ttyUSB0."},
};

TEST(LinkPermissionTest, RefusedDeviceIsToldWithItsRemedyThenTheUserIsAskedForAnotherPort)
{
    for (const auto& row : kPermissionRows) {
        SCOPED_TRACE(row.group);
        LinkRig rig;
        rig.port.openError = PortError::permissionRefused("Permission denied", "/dev/ttyUSB0", row.group);
        rig.link.selectComPort(2);

        ASSERT_EQ(rig.host.boxes.size(), 2U);
        auto expected = forms::messageBox("Permission Denied", row.text, forms::Icon::Warning, forms::Buttons::Ok);
        expected.details = "Permission denied";
        EXPECT_EQ(rig.host.boxes[0], expected);
        EXPECT_EQ(rig.host.boxes[1].title, "Serial Port Selection");
        EXPECT_TRUE(rig.state.portTestFailed);
        EXPECT_FALSE(rig.port.isOpen());
    }
}

TEST_F(LinkTest, OtherDeviceIsOpenedByItsPathAndTheComItemsLoseTheirMark)
{
    openPort(3);
    link.selectOtherDevice("/dev/ttyS7");

    EXPECT_EQ(port.chosenDevice, "/dev/ttyS7");
    EXPECT_EQ(state.otherDevice, "/dev/ttyS7");
    // The COM number stays what vq3.ini holds.
    EXPECT_EQ(state.comPort, 3);
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(windows.main.menus.otherdevice.checked());
    for (const auto* item : windows.main.menus.comItems())
        EXPECT_FALSE(item->checked()) << item->name();

    link.selectComPort(1);
    EXPECT_EQ(port.chosenDevice, "");
    EXPECT_EQ(state.otherDevice, "");
    EXPECT_FALSE(windows.main.menus.otherdevice.checked());
    EXPECT_TRUE(windows.main.menus.com1.checked());
}

TEST_F(LinkTest, LostOtherDeviceIsOpenedAgainByItsPath)
{
    link.selectOtherDevice("/dev/ttyS7");
    port.fail(PortError{8020, "gone"});
    port.chosenDevice.clear();
    for (int tick = 0; tick < 4; ++tick)
        echoTimer.tick();
    EXPECT_EQ(port.chosenDevice, "/dev/ttyS7");
    EXPECT_TRUE(port.isOpen());
}

struct SilenceRow
{
    const char* name;
    int ticks;
    /// The tick after which the unit sends a byte (-1: never).
    int answerAfter;
    bool hinted;
};

const SilenceRow kSilenceRows[] = {
    {"NineAndAHalfSecondsOfSilence", 19, -1, false},
    {"TenSecondsOfSilence", 20, -1, true},
    {"LongSilence", 40, -1, true},
    {"AnswerBeforeTenSeconds", 30, 5, false},
    {"AnswerAfterTheHintClearsIt", 30, 25, false},
};

TEST(LinkSilenceTest, SilentPortGetsItsHintInTheStatusToolTip)
{
    for (const auto& row : kSilenceRows) {
        SCOPED_TRACE(row.name);
        LinkRig rig;
        rig.openPort(1);
        for (int tick = 1; tick <= row.ticks; ++tick) {
            rig.echoTimer.tick();
            if (tick == row.answerAfter)
                rig.port.deliver("x");
        }
        EXPECT_EQ(rig.windows.main.VQ3Status.toolTip(), row.hinted ? kSilenceHint : "");
    }
}

TEST_F(LinkTest, SilenceIsCountedAgainAfterAPortChange)
{
    openPort(1);
    for (int tick = 0; tick < 20; ++tick)
        echoTimer.tick();
    ASSERT_EQ(windows.main.VQ3Status.toolTip(), kSilenceHint);

    link.selectComPort(2);
    EXPECT_EQ(windows.main.VQ3Status.toolTip(), "");
    for (int tick = 0; tick < 19; ++tick)
        echoTimer.tick();
    EXPECT_EQ(windows.main.VQ3Status.toolTip(), "");
    echoTimer.tick();
    EXPECT_EQ(windows.main.VQ3Status.toolTip(), kSilenceHint);
}

} // namespace
} // namespace qm::link
