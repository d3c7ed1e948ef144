#include "link/ExpectedTexts.h"
#include "link/LinkRig.h"

namespace qm::link
{
namespace
{

const PortError kGone{8020, "Input/output error"};

TEST_F(LinkTest, PortFailingDuringAReadEndsLikeTheReadTimeOutWithoutTheBurst)
{
    connect();
    link.read();
    port.deliver(reply(1, 2, testImage()).substr(0, 50));
    port.takeSent();

    port.fail(kGone);

    EXPECT_EQ(host.boxes, (std::vector<forms::MessageBox>{
                              forms::messageBox("Communications Error", kReadTimeOutText, forms::Icon::Critical)}));
    EXPECT_TRUE(port.sent.empty());
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(showsDisconnected());
    EXPECT_TRUE(inEchoMode());
    EXPECT_EQ(link.lastPortError(), kGone);
}

TEST_F(LinkTest, PortFailingDuringAWriteEndsLikeTheWriteTimeOutWithoutTheBurst)
{
    connect();
    link.startDownload("D" + testImage());
    echoLastByte();
    port.takeSent();

    port.fail(kGone);

    EXPECT_EQ(host.boxes, (std::vector<forms::MessageBox>{
                              forms::messageBox("Communications Error", kWriteTimeOutText, forms::Icon::Critical)}));
    EXPECT_TRUE(port.sent.empty());
    EXPECT_TRUE(showsDisconnected());
    EXPECT_TRUE(inEchoMode());
}

const std::string kWaitingTip = "VQ-3 Disconnected. Waiting for the serial port /dev/ttyUSB0 to come back.";

TEST_F(LinkTest, LostPortIsOpenedAgainAboutOnceASecondUntilItsDeviceIsBack)
{
    link.selectComPort(2);
    echoTimer.tick();
    port.deliver(kProbe);
    port.deliver(reply(1, 2, testImage()));
    port.takeSent();
    const int opens = port.opens;

    port.fail(kGone);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(showsDisconnected());
    EXPECT_TRUE(inEchoMode());
    EXPECT_EQ(windows.main.VQ3Status.toolTip(), kWaitingTip);

    port.openError = PortError{8002, "No such file or directory"};
    for (int tick = 0; tick < 6; ++tick) {
        echoTimer.tick();
    }
    EXPECT_EQ(port.opens, opens);
    EXPECT_TRUE(port.sent.empty());
    EXPECT_EQ(windows.main.VQ3Status.toolTip(), kWaitingTip);

    port.openError.reset();
    echoTimer.tick();
    EXPECT_FALSE(port.isOpen());
    echoTimer.tick();
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.opens, opens + 1);
    EXPECT_EQ(port.commPort, 2);
    EXPECT_EQ(port.takeSent(), kProbe);
    EXPECT_EQ(windows.main.VQ3Status.toolTip(), "");

    port.deliver(kProbe);
    EXPECT_EQ(port.takeSent(), "U");
    port.deliver(reply(0, 3, testImage()));
    EXPECT_EQ(windows.main.window.caption(), "Quellmark VQ-3 (v3.0) on COM2");
    EXPECT_TRUE(showsConnected());
}

TEST(LinkLostPortTest, ToolTipNamesTheDeviceOrTheComPort)
{
    for (const auto& [device, tip] : {std::pair<std::string, std::string>{"/tmp/vq3-link", "VQ-3 Disconnected. Waiting "
                                                                                           "for the serial port "
                                                                                           "/tmp/vq3-link to come "
                                                                                           "back."},
                                      {"", "VQ-3 Disconnected. Waiting for the serial port COM3 to come back."}}) {
        LinkRig rig;
        rig.port.device = device;
        rig.openPort(3);
        rig.port.fail(kGone);
        EXPECT_EQ(rig.windows.main.VQ3Status.toolTip(), tip);
    }
}

TEST_F(LinkTest, ChoosingAPortForgetsTheLostOne)
{
    connect();
    port.fail(kGone);
    port.openError = PortError{8002, "No such file or directory"};
    link.selectComPort(3);
    EXPECT_EQ(windows.main.VQ3Status.toolTip(), "");
    const int opens = port.opens;

    port.openError.reset();
    echoTimer.tick();
    echoTimer.tick();
    EXPECT_EQ(port.opens, opens);
    EXPECT_FALSE(port.isOpen());
}

TEST_F(LinkTest, PortFailingWhileABoxIsUpShowsDisconnectedWithinTwoTicks)
{
    connect();
    writeAndEcho("D" + testImage());
    host.duringBox = [&] {
        port.fail(kGone);
        port.deliver(kProbe);
        EXPECT_FALSE(writeTimer.tick());
        EXPECT_FALSE(readTimer.tick());
    };
    port.deliver(reply(1, 2, testImage()));
    host.duringBox = nullptr;
    EXPECT_EQ(host.boxes.size(), 1U);
    EXPECT_TRUE(inEchoMode());

    echoTimer.tick();
    echoTimer.tick();
    EXPECT_TRUE(showsDisconnected());
    EXPECT_TRUE(echoTimer.isActive());
    EXPECT_FALSE(readTimer.isActive());
    EXPECT_FALSE(writeTimer.isActive());
}

TEST_F(LinkTest, ReplyArrivingWhileTheTimeOutBoxIsUpIsNotDecoded)
{
    connect();
    link.read();
    host.duringBox = [&] { port.deliver(reply(1, 2, testImage())); };
    readTimer.tick();

    EXPECT_TRUE(host.decoded.empty());
    EXPECT_EQ(host.boxes.size(), 1U);
    EXPECT_TRUE(showsDisconnected());
    EXPECT_TRUE(inEchoMode());
    port.allSent();
    EXPECT_EQ(port.bytesWaiting(), 0U);
    EXPECT_TRUE(host.decoded.empty());
}

} // namespace
} // namespace qm::link
