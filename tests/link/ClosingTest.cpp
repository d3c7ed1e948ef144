#include "link/ExpectedTexts.h"
#include "link/LinkRig.h"

namespace qm::link
{
namespace
{

struct ClosingRow
{
    const char* name;
    std::function<void(LinkRig&)> before;
    std::string sent;
};

TEST(LinkClosingTest, ClosesOnlyOnceEverythingSentHasLeft)
{
    const std::string image = "D" + testImage(2);
    const ClosingRow rows[] = {
        {"probing", [](LinkRig&) {}, "E"},
        {"in the middle of a write",
         [&image](LinkRig& rig) {
             rig.link.startDownload(image);
             for (int i = 0; i < 57; ++i) {
                 rig.echoLastByte();
             }
             rig.port.takeSent();
         },
         kAbortBurst + "E"},
        {"in the middle of a read",
         [](LinkRig& rig) {
             rig.link.read();
             rig.port.deliver(reply(1, 2, testImage()).substr(0, 40));
             rig.port.takeSent();
         },
         kAbortBurst + "E"},
        {"reading a write back",
         [&image](LinkRig& rig) {
             rig.writeAndEcho(image);
             rig.port.takeSent();
         },
         kAbortBurst + "E"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        LinkRig rig;
        rig.connect();
        row.before(rig);
        const int closes = rig.port.closes;

        rig.link.closeWhenSent();

        EXPECT_EQ(rig.port.takeSent(), row.sent);
        EXPECT_TRUE(rig.port.isOpen());
        EXPECT_EQ(rig.host.portsClosed, 0);
        EXPECT_FALSE(rig.readTimer.isActive());
        EXPECT_FALSE(rig.writeTimer.isActive());
        EXPECT_TRUE(rig.host.boxes.empty());
        EXPECT_TRUE(rig.host.completed.empty());
        EXPECT_FALSE(rig.link.transferUnderWay());
        rig.port.deliver(kProbe + reply(1, 2, testImage()));
        rig.echoTimer.tick();
        EXPECT_EQ(rig.port.takeSent(), "");
        EXPECT_TRUE(rig.host.completed.empty());

        rig.port.allSent();
        EXPECT_FALSE(rig.port.isOpen());
        EXPECT_EQ(rig.port.closes, closes + 1);
        EXPECT_EQ(rig.host.portsClosed, 1);
        EXPECT_FALSE(rig.echoTimer.isActive());
        EXPECT_FALSE(rig.host.busy);
    }
}

TEST_F(LinkTest, ClosingADeviceThatTakesNothingDiscardsItAfterFourProbePeriods)
{
    connect();
    link.closeWhenSent();
    const int outputFlushes = port.outputFlushes;
    for (int tick = 0; tick < 3; ++tick) {
        echoTimer.tick();
    }
    EXPECT_TRUE(port.isOpen());

    echoTimer.tick();
    EXPECT_EQ(port.outputFlushes, outputFlushes + 1);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(host.portsClosed, 1);
    EXPECT_EQ(port.takeSent(), "E");
}

TEST_F(LinkTest, ClosingAClosedOrFailingPortEndsAtOnce)
{
    link.closeWhenSent();
    EXPECT_EQ(host.portsClosed, 1);
    EXPECT_TRUE(port.sent.empty());

    LinkRig rig;
    rig.connect();
    rig.link.closeWhenSent();
    rig.port.fail({8020, "gone"});
    EXPECT_EQ(rig.host.portsClosed, 1);
    EXPECT_TRUE(rig.host.boxes.empty());
    rig.echoTimer.tick();
    rig.echoTimer.tick();
    EXPECT_FALSE(rig.port.isOpen());
}

TEST_F(LinkTest, CommandsWaitWhileThePortCloses)
{
    windows.main.menus.nmea.setChecked(true);
    connect();
    link.closeWhenSent();
    port.takeSent();

    link.read();
    link.startDownload("D" + testImage());
    link.disconnectUnit();
    link.closeWhenSent();

    EXPECT_EQ(port.takeSent(), "");
    port.allSent();
    EXPECT_EQ(host.portsClosed, 1);
}

} // namespace
} // namespace qm::link
