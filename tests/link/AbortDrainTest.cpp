#include "link/ExpectedTexts.h"
#include "link/LinkRig.h"

#include <functional>

namespace qm::link
{
namespace
{

struct BurstPath
{
    const char* name;
    /// Brings the rig to the event that ends in the abort burst.
    std::function<void(LinkRig&)> prepare;
    /// The event itself.
    std::function<void(LinkRig&)> fail;
    bool staysConnected;
};

const std::string kImage = "D" + testImage(4);

const BurstPath kPaths[] = {
    {"echo mismatch",
     [](LinkRig& rig) {
         rig.windows.main.menus.beacon.setChecked(true);
         rig.connect();
         rig.link.startDownload(kImage);
         rig.echoLastByte();
         rig.echoLastByte();
     },
     [](LinkRig& rig) { rig.port.deliver(std::string(1, static_cast<char>(kImage[2] ^ 0x40))); }, true},
    {"write time-out",
     [](LinkRig& rig) {
         rig.connect();
         rig.link.startDownload(kImage);
         for (int i = 0; i < 60; ++i) {
             rig.echoLastByte();
         }
     },
     [](LinkRig& rig) { rig.writeTimer.tick(); }, false},
    {"read time-out",
     [](LinkRig& rig) {
         rig.connect();
         rig.link.read();
         rig.port.deliver(reply(1, 2, testImage()).substr(0, 70));
     },
     [](LinkRig& rig) { rig.readTimer.tick(); }, false},
    {"reply not beginning with U",
     [](LinkRig& rig) {
         rig.windows.main.menus.beacon.setChecked(true);
         rig.connect();
         rig.link.read();
         rig.port.deliver("X" + reply(1, 2, testImage()).substr(1, 100));
     },
     [](LinkRig& rig) { rig.port.deliver(reply(1, 2, testImage()).substr(101)); }, true},
    {"identification time-out",
     [](LinkRig& rig) {
         rig.openPort();
         rig.echoTimer.tick();
         rig.port.deliver(kProbe);
     },
     [](LinkRig& rig) { rig.readTimer.tick(); }, false},
    {"read-back time-out",
     [](LinkRig& rig) {
         rig.connect();
         rig.writeAndEcho(kImage);
         rig.port.deliver(reply(1, 2, testImage(4)).substr(0, 20));
     },
     [](LinkRig& rig) { rig.readTimer.tick(); }, false},
};

TEST(LinkAbortBurstTest, BurstGoesOutBeforeTheBoxAndDrainsBeforeTheNextProbe)
{
    for (const auto& path : kPaths) {
        SCOPED_TRACE(path.name);
        LinkRig rig;
        path.prepare(rig);
        rig.port.takeSent();
        const int outputFlushes = rig.port.outputFlushes;
        std::string sentAtBox;
        rig.host.duringBox = [&] { sentAtBox = rig.port.sent; };

        path.fail(rig);

        EXPECT_EQ(sentAtBox, kAbortBurst);
        EXPECT_EQ(rig.port.takeSent(), kAbortBurst);
        EXPECT_EQ(rig.host.boxes.size(), 1U);
        EXPECT_EQ(rig.port.outputFlushes, outputFlushes);
        EXPECT_EQ(rig.port.sentNotificationsAsked, 1);
        EXPECT_TRUE(rig.inEchoMode());
        EXPECT_EQ(rig.windows.main.VQ3Status.caption(), path.staysConnected ? "Connected" : "Disconnected");
        EXPECT_FALSE(rig.windows.main.menus.read.enabled());

        const int inputFlushes = rig.port.inputFlushes;
        for (int tick = 0; tick < 3; ++tick) {
            EXPECT_TRUE(rig.echoTimer.tick());
            rig.port.deliver(kProbe);
        }
        EXPECT_EQ(rig.port.takeSent(), "");
        EXPECT_FALSE(rig.windows.main.menus.read.enabled());
        EXPECT_EQ(rig.port.inputFlushes, inputFlushes);
        EXPECT_TRUE(rig.host.completed.empty());

        rig.port.receive("\x00\x00");
        rig.port.allSent();
        EXPECT_EQ(rig.port.inputFlushes, inputFlushes + 1);
        EXPECT_EQ(rig.port.bytesWaiting(), 0U);
        EXPECT_EQ(rig.port.outputFlushes, outputFlushes);
        EXPECT_EQ(rig.showsConnected(), path.staysConnected);
        EXPECT_EQ(rig.windows.main.menus.write.enabled(), path.staysConnected);
        rig.echoTimer.tick();
        EXPECT_EQ(rig.port.takeSent(), kProbe);
    }
}

TEST_F(LinkTest, BurstThatNeverLeavesIsDiscardedAfterFourProbePeriods)
{
    connect();
    link.read();
    readTimer.tick();
    port.takeSent();
    const int outputFlushes = port.outputFlushes;

    for (int tick = 0; tick < 3; ++tick) {
        echoTimer.tick();
    }
    EXPECT_EQ(port.outputFlushes, outputFlushes);
    echoTimer.tick();
    EXPECT_EQ(port.outputFlushes, outputFlushes + 1);
    EXPECT_EQ(port.takeSent(), "");

    echoTimer.tick();
    EXPECT_EQ(port.takeSent(), kProbe);
    port.allSent();
    echoTimer.tick();
    EXPECT_EQ(port.takeSent(), kProbe);
}

TEST_F(LinkTest, ReadAndWriteWaitUntilTheBurstHasLeft)
{
    windows.main.menus.tracking.setChecked(true);
    connect();
    link.startDownload(kImage);
    port.deliver("X");
    port.takeSent();

    link.read();
    link.startDownload(kImage);
    EXPECT_EQ(port.takeSent(), "");
    EXPECT_EQ(state.lastCommand, link::Command::Probe);
    EXPECT_FALSE(windows.main.menus.read.enabled());

    port.allSent();
    EXPECT_TRUE(windows.main.menus.read.enabled());
    link.read();
    EXPECT_EQ(port.takeSent(), "U");
}

TEST_F(LinkTest, PortFailingWhileTheBurstDrainsEndsTheWait)
{
    connect();
    link.read();
    readTimer.tick();
    port.takeSent();
    port.fail({8020, "gone"});
    port.allSent();

    EXPECT_TRUE(showsDisconnected());
    echoTimer.tick();
    echoTimer.tick();
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.takeSent(), kProbe);
}

} // namespace
} // namespace qm::link
