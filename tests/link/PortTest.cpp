#include "link/LinkRig.h"

#include <algorithm>

namespace qm::link
{
namespace
{

const std::string kSelectText = "Please select the serial port that the VQ-3 is attached to.\r\n\r"
                                "To do this, click on the 'Setup' menu at the top of the screen. Then, click on "
                                "'Serial Port' and select the serial port that you are using.\r\n\r";

struct PortErrorRow
{
    int number;
    int port;
    std::string title;
    std::string text;
};

const PortErrorRow kPortErrorRows[] = {
    {8002, 3, "Error# 8002: Invalid Port Number",
     "Serial port COM3 is invalid - The port does not exist. Please select a different port."},
    {8005, 1, "Error# 8005: Port Already Open",
     "Serial port COM1 is in use by another program or device. Make sure all communications programs are closed "
     "and try again."},
    {8006, 2, "Error# 8006: Invalid or Unsupported Port",
     "Serial port COM2 is invalid or unsupported. Please select a different port."},
    {8010, 4, "Error# 8010: Hardware Not Available",
     "Serial port COM4 is invalid or is in use by another device. Please close all communications programs and try "
     "again."},
    {8012, 1, "Error# 8012: Device Not Open",
     "Serial port COM1 is invalid or is in use by another device. Please close all communications programs and try "
     "again."},
    {8019, 2, "Error# 8019: Device Busy",
     "Serial port COM2 is in use by another device. Please close all communications programs and try again."},
    {8020, 3, "Error# 8020: Error Reading Com Device",
     "Serial port COM3 is invalid or may be in use by another device. Please close all communications programs and "
     "try again."},
    {13, 2, "Unexpected Error", "Unexpected error # 13 occured while accessing serial port COM2."},
    {8003, 4, "Unexpected Error", "Unexpected error # 8003 occured while accessing serial port COM4."},
};

TEST(LinkPortErrorTest, FailedPortTestShowsItsBoxThenAsksForAnotherPort)
{
    for (const auto& row : kPortErrorRows) {
        SCOPED_TRACE(row.number);
        LinkRig rig;
        rig.state.comPort = 1;
        rig.port.openError = PortError{row.number, "reason"};
        rig.link.selectComPort(row.port);

        ASSERT_EQ(rig.host.boxes.size(), 2U);
        auto expected = forms::messageBox(row.title, row.text, forms::Icon::Warning);
        expected.details = "reason";
        EXPECT_EQ(rig.host.boxes[0], expected);
        EXPECT_EQ(rig.host.boxes[1], forms::messageBox("Serial Port Selection", kSelectText, forms::Icon::Warning));
        EXPECT_TRUE(rig.state.portTestFailed);
        EXPECT_EQ(rig.state.comPort, row.port);
        EXPECT_EQ(rig.port.commPort, row.port);
        auto items = rig.windows.main.menus.comItems();
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(items[static_cast<std::size_t>(i)]->checked(), i + 1 == row.port);
        }
        EXPECT_FALSE(rig.port.isOpen());
        EXPECT_TRUE(rig.port.sent.empty());
        EXPECT_TRUE(rig.showsDisconnected());
        EXPECT_EQ(std::count(rig.host.events.begin(), rig.host.events.end(), "saveComPortToIni"), 0);
        EXPECT_EQ(rig.link.lastPortError(), (PortError{row.number, "reason"}));
    }
}

TEST_F(LinkTest, WorkingPortIsTestedSavedOpenedAndProbed)
{
    link.selectComPort(2);

    EXPECT_EQ(port.commPort, 2);
    EXPECT_EQ(port.opens, 2);
    EXPECT_EQ(port.closes, 1);
    EXPECT_TRUE(port.isOpen());
    EXPECT_FALSE(state.portTestFailed);
    EXPECT_EQ(host.events, (std::vector<std::string>{"saveComPortToIni"}));
    EXPECT_TRUE(windows.main.menus.com2.checked());
    EXPECT_TRUE(inEchoMode());
    EXPECT_TRUE(port.sent.empty());
    echoTimer.tick();
    EXPECT_EQ(port.sent, kProbe);
}

TEST_F(LinkTest, ChoosingThePortInUseClosesItWithoutEndAndReopensIt)
{
    connect();
    windows.main.window.setCaption("Quellmark VQ-3+ (v2.0) on COM1");

    link.selectComPort(1);

    EXPECT_TRUE(port.sent.empty());
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(showsDisconnected());
    EXPECT_TRUE(inEchoMode());
    echoTimer.tick();
    port.deliver(kProbe);
    EXPECT_EQ(port.takeSent(), kProbe + "U");
}

TEST_F(LinkTest, WelcomeWindowIsLoweredAroundPortBoxesOnlyWhileShowing)
{
    windows.welcome.window.setVisible(true);
    windows.welcome.topmost = true;
    std::vector<bool> topmostAtBox;
    host.duringBox = [&] { topmostAtBox.push_back(windows.welcome.topmost); };
    port.openError = PortError{8002, ""};

    link.selectComPort(1);

    EXPECT_EQ(topmostAtBox, (std::vector<bool>{false, false}));
    EXPECT_TRUE(windows.welcome.topmost);

    windows.welcome.window.setVisible(false);
    windows.welcome.topmost = false;
    link.selectComPort(1);
    EXPECT_FALSE(windows.welcome.topmost);
}

TEST_F(LinkTest, ClosingThePortSendsEndFirstAndOnlyWhenOpen)
{
    link.closePort();
    EXPECT_TRUE(port.sent.empty());
    EXPECT_EQ(port.closes, 0);

    openPort();
    link.closePort();
    EXPECT_EQ(port.sent, "E");
    EXPECT_FALSE(port.isOpen());
}

TEST_F(LinkTest, StartUpPortTestLeavesThePortClosedForOpenSerialPort)
{
    state.comPort = 3;
    link.testPort();
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.commPort, 3);
    EXPECT_TRUE(windows.main.window.visible());

    link.openPort();
    link.openPort();
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.opens, 2);
}

} // namespace
} // namespace qm::link
