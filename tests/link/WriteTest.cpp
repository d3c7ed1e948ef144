#include "link/ExpectedTexts.h"
#include "link/LinkMessages.h"
#include "link/LinkRig.h"

namespace qm::link
{
namespace
{

const forms::MessageBox kCompleteBox = forms::messageBox("Download Complete", kCompleteText, forms::Icon::Information);

TEST_F(LinkTest, GoodWriteSendsEachByteOnlyAfterTheEchoOfTheOneBeforeThenReadsItBack)
{
    windows.main.menus.beacon.setChecked(true);
    connect();
    const std::string caption = windows.main.window.caption();
    const std::string image = "D" + testImage(3);
    const int outputFlushes = port.outputFlushes;

    link.startDownload(image);
    EXPECT_EQ(port.sent, "D");
    EXPECT_FALSE(echoTimer.isActive());
    EXPECT_TRUE(writeTimer.isActive());
    EXPECT_FALSE(windows.main.menus.read.enabled());
    EXPECT_FALSE(windows.main.menus.write.enabled());
    EXPECT_EQ(port.outputFlushes, outputFlushes + 1);

    for (std::size_t echoes = 1; echoes <= 128; ++echoes) {
        echoLastByte();
        ASSERT_EQ(port.sent.size(), echoes + 1);
        EXPECT_FALSE(echoTimer.tick());
    }
    EXPECT_EQ(port.sent, image);
    EXPECT_TRUE(host.boxes.empty());

    echoLastByte();
    EXPECT_EQ(port.sent, image + "U");
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(host.completed.empty());
    EXPECT_FALSE(writeTimer.isActive());
    EXPECT_TRUE(readTimer.isActive());
    EXPECT_FALSE(echoTimer.tick());

    port.deliver(reply(1, 2, testImage(3)));
    EXPECT_EQ(port.sent, image + "U");
    EXPECT_EQ(host.boxes, (std::vector<forms::MessageBox>{kCompleteBox}));
    EXPECT_EQ(host.completed,
              (std::vector<std::pair<Transaction, std::string>>{{Transaction::Write, image.substr(1)}}));
    EXPECT_TRUE(host.decoded.empty());
    EXPECT_EQ(windows.main.window.caption(), caption);
    EXPECT_EQ(host.progressReports.back(), std::make_pair(131, 131));
    EXPECT_EQ(writeTimer.starts, 1);
    EXPECT_TRUE(inEchoMode());
    EXPECT_TRUE(showsConnected());
    EXPECT_TRUE(windows.main.menus.write.enabled());
    EXPECT_EQ(state.firmwareVersion, 2);
    EXPECT_EQ(state.unitImage, image.substr(1));
}

TEST_F(LinkTest, WithoutVerifyTheWriteIsCompleteAtTheLastEcho)
{
    state.verifyWrites = false;
    connect();
    const std::string image = "D" + testImage(4);

    writeAndEcho(image);

    EXPECT_EQ(port.sent, image);
    EXPECT_EQ(host.boxes, (std::vector<forms::MessageBox>{kCompleteBox}));
    EXPECT_EQ(host.completed,
              (std::vector<std::pair<Transaction, std::string>>{{Transaction::Write, image.substr(1)}}));
    EXPECT_TRUE(inEchoMode());
    EXPECT_EQ(state.unitImage, image.substr(1));
}

TEST_F(LinkTest, ReadBackThatDiffersNamesTheFieldAndTheBackupAndKeepsWhatTheUnitHolds)
{
    windows.main.menus.alarm.setChecked(true);
    connect(1, 2, testImage(1));
    const std::string image = "D" + testImage(5);
    std::string stored = testImage(5);
    stored[40] = static_cast<char>(stored[40] ^ 0x10);
    writeAndEcho(image);

    port.deliver(reply(1, 2, stored));

    ASSERT_EQ(host.mismatches.size(), 1U);
    EXPECT_EQ(host.mismatches[0], (std::array<std::string, 3>{testImage(5), stored, testImage(1)}));
    EXPECT_EQ(host.boxes, (std::vector<forms::MessageBox>{forms::messageBox(
                              "Write Not Verified",
                              "The VQ-3 did not store the configuration as it was written. Read back, it differs first "
                              "in My Call (written \"N0CALL\", read back \"N0CALM\").\r\n\r\nThe configuration it held "
                              "before this write is kept in /backups/before.vq3.\r\n\r\nCheck the power and serial "
                              "cable connections, and then write again.",
                              forms::Icon::Critical)}));
    EXPECT_EQ(host.completed, (std::vector<std::pair<Transaction, std::string>>{{Transaction::Read, stored}}));
    EXPECT_EQ(state.unitImage, stored);
    EXPECT_EQ(port.sent, image + "U");
    EXPECT_TRUE(inEchoMode());
    EXPECT_TRUE(showsConnected());
    EXPECT_TRUE(windows.main.menus.write.enabled());
}

TEST(LinkWriteMismatchBoxTest, SaysWhereTheEarlierConfigurationIsOrThatNoneWasKept)
{
    struct Row
    {
        std::string field;
        std::string backup;
        std::string text;
    };
    const Row rows[] = {
        {"Beacon Text (written \"A\", read back \"B\")", "/home/ham/.local/share/quellmark/backups/x-identify.vq3",
         "The VQ-3 did not store the configuration as it was written. Read back, it differs first in Beacon Text "
         "(written \"A\", read back \"B\").\r\n\r\nThe configuration it held before this write is kept in "
         "/home/ham/.local/share/quellmark/backups/x-identify.vq3.\r\n\r\nCheck the power and serial cable "
         "connections, and then write again."},
        {"byte 4 (written hex 00, read back hex 01)", "",
         "The VQ-3 did not store the configuration as it was written. Read back, it differs first in byte 4 "
         "(written hex 00, read back hex 01).\r\n\r\nNo copy of the configuration it held before this write was "
         "kept.\r\n\r\nCheck the power and serial cable connections, and then write again."},
    };
    for (const auto& row : rows)
        EXPECT_EQ(writeNotVerifiedBox(row.field, row.backup),
                  forms::messageBox("Write Not Verified", row.text, forms::Icon::Critical));
}

TEST_F(LinkTest, UnitOfUnknownContentsIsComparedWithoutAnEarlierConfiguration)
{
    openPort();
    link.startDownload("D" + testImage(6));
    for (int i = 0; i < 129; ++i) {
        echoLastByte();
    }
    port.deliver(reply(1, 2, testImage(7)));

    ASSERT_EQ(host.mismatches.size(), 1U);
    EXPECT_EQ(host.mismatches[0][2], "");
}

TEST(LinkEchoMismatchTest, SendsTheAbortBurstRightAfterTheBadEchoAndStaysConnected)
{
    const std::string image = "D" + testImage(8);
    for (const std::size_t badAt : {1U, 2U, 5U, 129U}) {
        SCOPED_TRACE(badAt);
        LinkRig rig;
        rig.windows.main.menus.telemetry.setChecked(true);
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
        rig.port.allSent();
        EXPECT_TRUE(rig.showsConnected());
        EXPECT_TRUE(rig.windows.main.menus.write.enabled());
        EXPECT_EQ(rig.state.firmwareVersion, 2);
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
    EXPECT_EQ(state.echoCount, 0);

    for (int i = 0; i < 129; ++i) {
        echoLastByte();
    }
    EXPECT_EQ(port.sent, image + "U");
    port.deliver(reply(1, 2, testImage(2)));
    EXPECT_EQ(host.boxes, (std::vector<forms::MessageBox>{kCompleteBox}));
}

TEST_F(LinkTest, WriteIsIgnoredWhileAReadIsUnderWay)
{
    connect();
    link.read();
    port.takeSent();
    link.startDownload("D" + testImage());
    EXPECT_TRUE(port.sent.empty());
    EXPECT_EQ(state.lastCommand, link::Command::Upload);
}

} // namespace
} // namespace qm::link
