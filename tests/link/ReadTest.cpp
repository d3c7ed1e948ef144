#include "link/ExpectedTexts.h"
#include "link/LinkRig.h"

namespace qm::link
{
namespace
{

struct IdentificationRow
{
    int model;
    int firmware;
    int port;
    std::string modelName;
    std::string caption;
};

TEST(LinkIdentificationTest, SetsModelFirmwareAndCaptionWithoutDecoding)
{
    const IdentificationRow rows[] = {
        {1, 3, 1, "VQ-3+ ", "Quellmark VQ-3+ (v3.0) on COM1"},
        {0, 2, 2, "VQ-3 ", "Quellmark VQ-3 (v2.0) on COM2"},
        {7, 1, 4, "Custom ", "Quellmark Custom (v1.0) on COM4"},
        {255, 255, 3, "Custom ", "Quellmark Custom (v255.0) on COM3"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caption);
        LinkRig rig;
        rig.openPort(row.port);
        rig.echoTimer.tick();
        rig.port.deliver(kProbe);
        rig.port.deliver(reply(row.model, row.firmware, testImage(row.model)));

        EXPECT_EQ(rig.state.modelName, row.modelName);
        EXPECT_EQ(rig.state.firmwareVersion, row.firmware);
        EXPECT_EQ(rig.windows.main.window.caption(), row.caption);
        EXPECT_TRUE(rig.host.decoded.empty());
        EXPECT_TRUE(rig.host.boxes.empty());
        ASSERT_EQ(rig.host.completed.size(), 1U);
        EXPECT_EQ(rig.host.completed[0], std::make_pair(Transaction::Identification, testImage(row.model)));
        EXPECT_FALSE(rig.state.identifyOnly);
        EXPECT_TRUE(rig.inEchoMode());
    }
}

TEST_F(LinkTest, UserReadRequestsTheReplyAndDecodesIt)
{
    windows.main.menus.nmea.setChecked(true);
    connect();
    const int inputFlushes = port.inputFlushes;

    link.read();
    EXPECT_EQ(host.events.front(), "saveShownProfiles");
    EXPECT_EQ(port.takeSent(), "U");
    EXPECT_FALSE(echoTimer.isActive());
    EXPECT_FALSE(echoTimer.tick());
    EXPECT_TRUE(readTimer.isActive());
    EXPECT_FALSE(windows.main.menus.read.enabled());
    EXPECT_FALSE(windows.main.menus.write.enabled());
    EXPECT_EQ(port.inputFlushes, inputFlushes + 1);

    port.deliver(reply(0, 4, testImage(9)));
    EXPECT_EQ(host.decoded, (std::vector<std::string>{testImage(9)}));
    EXPECT_EQ(host.completed, (std::vector<std::pair<Transaction, std::string>>{{Transaction::Read, testImage(9)}}));
    EXPECT_EQ(state.uploadData, testImage(9));
    EXPECT_EQ(state.uploadByteCount, 131);
    EXPECT_EQ(windows.main.window.caption(), "Quellmark VQ-3 (v4.0) on COM1");
    EXPECT_TRUE(inEchoMode());
    EXPECT_TRUE(showsConnected());
    EXPECT_TRUE(windows.main.menus.write.enabled());
    EXPECT_TRUE(port.sent.empty());
    EXPECT_FALSE(host.busy);
}

TEST_F(LinkTest, ReplyInPiecesCompletesOnlyAtTheLastByte)
{
    connect();
    link.read();
    const std::string bytes = reply(1, 2, testImage(5));

    port.deliver(bytes.substr(0, 1));
    port.deliver(bytes.substr(1, 129));
    EXPECT_TRUE(host.decoded.empty());
    EXPECT_TRUE(host.busy);
    EXPECT_EQ(host.progressReports.back(), std::make_pair(130, 131));
    EXPECT_EQ(state.lastCommand, link::Command::Upload);

    port.deliver(bytes.substr(130));
    EXPECT_EQ(host.decoded, (std::vector<std::string>{testImage(5)}));
    EXPECT_EQ(readTimer.starts, 2);
    EXPECT_FALSE(host.busy);
}

struct TimeOutRow
{
    const char* name;
    std::vector<std::size_t> pieces;
};

TEST(LinkReadTimeOutTest, ReplyOfAnyOtherLengthEndsInTheTimeOut)
{
    const TimeOutRow rows[] = {
        {"silent", {}},
        {"short 100", {100}},
        {"short 130 in pieces", {60, 70}},
        {"136 at once", {136}},
        {"140 passing 131 between notifications", {100, 40}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        LinkRig rig;
        rig.connect();
        rig.windows.welcome.window.setVisible(true);
        rig.windows.welcome.topmost = true;
        std::vector<bool> topmostAtBox;
        rig.host.duringBox = [&] { topmostAtBox.push_back(rig.windows.welcome.topmost); };
        rig.link.read();
        const std::string bytes = reply(1, 2, testImage()) + std::string(20, 'x');
        std::size_t at = 0;
        for (const auto piece : row.pieces) {
            rig.port.deliver(bytes.substr(at, piece));
            at += piece;
        }
        EXPECT_TRUE(rig.host.decoded.empty());
        EXPECT_TRUE(rig.readTimer.tick());

        EXPECT_EQ(rig.host.boxes, (std::vector<forms::MessageBox>{forms::messageBox(
                                      "Communications Error", kReadTimeOutText, forms::Icon::Critical)}));
        EXPECT_EQ(topmostAtBox, (std::vector<bool>{false}));
        EXPECT_TRUE(rig.windows.welcome.topmost);
        EXPECT_EQ(rig.port.sent, "U" + kAbortBurst);
        EXPECT_TRUE(rig.showsDisconnected());
        EXPECT_TRUE(rig.inEchoMode());
        EXPECT_TRUE(rig.host.decoded.empty());
        EXPECT_EQ(rig.host.completed.size(), 0U);
    }
}

TEST_F(LinkTest, OldFirmwareWarnsOnceAndTheNextReadDecodes)
{
    openPort();
    echoTimer.tick();
    port.deliver(kProbe);
    port.deliver(reply(1, 0, testImage(1)));
    EXPECT_EQ(host.boxes,
              (std::vector<forms::MessageBox>{forms::messageBox("Warning", kOldFirmwareText, forms::Icon::Warning)}));
    EXPECT_TRUE(state.firmwareWarned);
    EXPECT_TRUE(inEchoMode());
    EXPECT_TRUE(windows.main.menus.read.enabled());

    link.read();
    port.deliver(reply(1, 0, testImage(2)));
    EXPECT_EQ(host.boxes.size(), 1U);
    EXPECT_EQ(host.decoded, (std::vector<std::string>{testImage(2)}));
}

TEST_F(LinkTest, OldFirmwareOnAUserReadIsNotDecodedUntilTheNextRead)
{
    openPort();
    link.read();
    port.deliver(reply(1, 0, testImage(1)));
    EXPECT_EQ(host.boxes.size(), 1U);
    EXPECT_TRUE(host.decoded.empty());

    port.takeSent();
    echoTimer.tick();
    port.deliver(kProbe);
    EXPECT_EQ(port.takeSent(), kProbe + "U");
    port.deliver(reply(1, 0, testImage(1)));
    EXPECT_EQ(host.boxes.size(), 1U);
    EXPECT_TRUE(host.decoded.empty());

    link.read();
    port.deliver(reply(1, 0, testImage(3)));
    EXPECT_EQ(host.decoded, (std::vector<std::string>{testImage(3)}));
}

TEST_F(LinkTest, AnUnidentifiableUnitIsNotReadAgainAfterEveryProbe)
{
    openPort();
    echoTimer.tick();
    port.deliver(kProbe);
    port.deliver(reply(1, 0, testImage(1)));
    port.takeSent();
    for (int probe = 0; probe < 3; ++probe) {
        echoTimer.tick();
        port.deliver(kProbe);
    }
    EXPECT_EQ(port.takeSent(), kProbe + kProbe + kProbe);
    EXPECT_EQ(host.boxes.size(), 1U);
}

TEST_F(LinkTest, FirmwareAtTheMinimumIsNotWarned)
{
    openPort();
    link.read();
    port.deliver(reply(1, 1, testImage()));
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(host.decoded.size(), 1U);
}

TEST_F(LinkTest, ProbeEchoesAheadOfTheReplyAreDropped)
{
    connect();
    link.read();
    const std::string bytes = reply(1, 2, testImage(4));
    port.deliver(kProbe);
    port.deliver(kProbe + bytes.substr(0, 60));
    port.deliver(bytes.substr(60, 70));
    EXPECT_TRUE(host.decoded.empty());
    port.deliver(bytes.substr(130));

    EXPECT_EQ(host.decoded, (std::vector<std::string>{testImage(4)}));
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(inEchoMode());

    link.read();
    port.deliver(kProbe + reply(1, 2, testImage(6)));
    EXPECT_EQ(host.decoded.back(), testImage(6));
}

TEST_F(LinkTest, ReplyNotBeginningWithUIsNotDecodedAndKeepsTheIdentification)
{
    windows.main.menus.tracking.setChecked(true);
    connect(1, 2);
    const std::string caption = windows.main.window.caption();

    link.read();
    port.deliver("X" + reply(0, 9, testImage()).substr(0, 130));

    EXPECT_EQ(host.boxes, (std::vector<forms::MessageBox>{
                              forms::messageBox("Communications Error", kBadReplyText, forms::Icon::None)}));
    EXPECT_TRUE(host.decoded.empty());
    EXPECT_TRUE(host.completed.empty());
    EXPECT_EQ(state.modelName, "VQ-3+ ");
    EXPECT_EQ(state.firmwareVersion, 2);
    EXPECT_EQ(windows.main.window.caption(), caption);
    EXPECT_EQ(port.sent, "U" + kAbortBurst);
    EXPECT_TRUE(inEchoMode());
    port.allSent();
    EXPECT_TRUE(showsConnected());
    EXPECT_TRUE(windows.main.menus.write.enabled());
}

TEST_F(LinkTest, ReadIsIgnoredWhileAWriteIsUnderWay)
{
    connect();
    link.startDownload("D" + testImage());
    port.takeSent();
    link.read();
    EXPECT_TRUE(port.sent.empty());
    EXPECT_EQ(state.lastCommand, link::Command::Download);
}

} // namespace
} // namespace qm::link
