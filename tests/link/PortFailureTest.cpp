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
    link.read_Click();
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

TEST_F(LinkTest, PortFailingWhileIdleShowsDisconnectedAndTheSamePortOpensAgain)
{
    connect();
    port.fail(kGone);

    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(showsDisconnected());
    EXPECT_TRUE(inEchoMode());
    echoTimer.tick();
    echoTimer.tick();
    EXPECT_TRUE(port.sent.empty());
    EXPECT_TRUE(showsDisconnected());

    link.com_Click(1);
    EXPECT_TRUE(port.isOpen());
    echoTimer.tick();
    port.deliver(kProbe);
    port.deliver(reply(0, 3, testImage()));
    EXPECT_EQ(windows.MDIForm1.Window.caption(), "Quellmark VQ-3 (v3.0) on COM1");
}

TEST_F(LinkTest, PortFailingWhileABoxIsUpShowsDisconnectedWithinTwoTicks)
{
    connect();
    link.startDownload("D" + testImage());
    host.duringBox = [&] {
        port.fail(kGone);
        port.deliver(kProbe);
        EXPECT_FALSE(writeTimer.tick());
    };
    for (int i = 0; i < 129; ++i) {
        echoLastByte();
    }
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
    link.read_Click();
    host.duringBox = [&] { port.deliver(reply(1, 2, testImage())); };
    readTimer.tick();

    EXPECT_TRUE(host.decoded.empty());
    EXPECT_EQ(host.boxes.size(), 1U);
    EXPECT_TRUE(showsDisconnected());
    EXPECT_TRUE(inEchoMode());
    EXPECT_EQ(port.bytesWaiting(), 0U);
}

} // namespace
} // namespace qm::link
