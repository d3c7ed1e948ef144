#include "link/ExpectedTexts.h"
#include "link/LinkRig.h"

namespace qm::link
{
namespace
{

TEST_F(LinkTest, GoodWriteSendsEachByteOnlyAfterTheEchoOfTheOneBefore)
{
    windows.MDIForm1.menus.beacon.setChecked(true);
    connect();
    const std::string image = "D" + testImage(3);
    const int outputFlushes = port.outputFlushes;

    link.startDownload(image);
    EXPECT_EQ(port.sent, "D");
    EXPECT_FALSE(echoTimer.isActive());
    EXPECT_TRUE(writeTimer.isActive());
    EXPECT_FALSE(windows.MDIForm1.menus.read.enabled());
    EXPECT_FALSE(windows.MDIForm1.menus.write.enabled());
    EXPECT_EQ(port.outputFlushes, outputFlushes + 1);

    for (std::size_t echoes = 1; echoes <= 128; ++echoes) {
        echoLastByte();
        ASSERT_EQ(port.sent.size(), echoes + 1);
        EXPECT_FALSE(echoTimer.tick());
    }
    EXPECT_EQ(port.sent, image);
    EXPECT_TRUE(host.boxes.empty());

    echoLastByte();
    EXPECT_EQ(port.sent, image);
    EXPECT_EQ(host.boxes, (std::vector<forms::MessageBox>{
                              forms::messageBox("Download Complete", kCompleteText, forms::Icon::Information)}));
    EXPECT_EQ(host.completed,
              (std::vector<std::pair<Transaction, std::string>>{{Transaction::Write, image.substr(1)}}));
    EXPECT_EQ(host.progressReports.back(), std::make_pair(129, 129));
    EXPECT_EQ(writeTimer.starts, 1);
    EXPECT_TRUE(inEchoMode());
    EXPECT_TRUE(showsConnected());
    EXPECT_TRUE(windows.MDIForm1.menus.write.enabled());
    EXPECT_EQ(state.FirmwareVersion, 2);
}

TEST(LinkEchoMismatchTest, SendsTheAbortBurstRightAfterTheBadEchoAndStaysConnected)
{
    const std::string image = "D" + testImage(8);
    for (const std::size_t badAt : {1U, 2U, 5U, 129U}) {
        SCOPED_TRACE(badAt);
        LinkRig rig;
        rig.windows.MDIForm1.menus.telemetry.setChecked(true);
        rig.connect();
        rig.link.startDownload(image);
        for (std::size_t i = 1; i < badAt; ++i) {
            rig.echoLastByte();
        }
        rig.port.deliver(std::string(1, static_cast<char>(image[badAt - 1] ^ 0x01)));

        EXPECT_EQ(rig.port.sent, image.substr(0, badAt) + kAbortBurst);
        EXPECT_EQ(rig.host.boxes, (std::vector<forms::MessageBox>{forms::messageBox(
                                      "Communications Error", kMismatchText, forms::Icon::Critical)}));
        EXPECT_TRUE(rig.host.completed.empty());
        EXPECT_TRUE(rig.inEchoMode());
        EXPECT_TRUE(rig.showsConnected());
        EXPECT_TRUE(rig.windows.MDIForm1.menus.write.enabled());
        EXPECT_EQ(rig.state.FirmwareVersion, 2);
    }
}

TEST_F(LinkTest, UnitThatStopsEchoingEndsInTheWriteTimeOut)
{
    connect();
    link.startDownload("D" + testImage());
    for (int i = 0; i < 100; ++i) {
        echoLastByte();
    }
    port.takeSent();
    EXPECT_TRUE(writeTimer.tick());

    EXPECT_EQ(host.boxes, (std::vector<forms::MessageBox>{
                              forms::messageBox("Communications Error", kWriteTimeOutText, forms::Icon::Critical)}));
    EXPECT_EQ(port.sent, kAbortBurst);
    EXPECT_TRUE(showsDisconnected());
    EXPECT_TRUE(inEchoMode());
    EXPECT_TRUE(host.completed.empty());
}

TEST_F(LinkTest, ProbeEchoAheadOfTheFirstWriteEchoIsDropped)
{
    connect();
    const std::string image = "D" + testImage(2);
    link.startDownload(image);
    port.deliver(kProbe);
    EXPECT_EQ(port.sent, "D");
    EXPECT_EQ(state.EchoCount, 0);

    for (int i = 0; i < 129; ++i) {
        echoLastByte();
    }
    EXPECT_EQ(port.sent, image);
    EXPECT_EQ(host.boxes.size(), 1U);
    EXPECT_EQ(host.boxes[0].title, "Download Complete");
}

TEST_F(LinkTest, WriteIsIgnoredWhileAReadIsUnderWay)
{
    connect();
    link.read_Click();
    port.takeSent();
    link.startDownload("D" + testImage());
    EXPECT_TRUE(port.sent.empty());
    EXPECT_EQ(state.LastCommand, "U");
}

} // namespace
} // namespace qm::link
