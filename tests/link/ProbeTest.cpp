#include "link/LinkRig.h"

namespace qm::link
{
namespace
{

TEST_F(LinkTest, WithoutAUnitStaysDisconnectedAndProbesEveryTick)
{
    openPort();
    for (int i = 0; i < 3; ++i) {
        echoTimer.tick();
    }
    EXPECT_EQ(port.sent, kProbe + kProbe + kProbe);
    EXPECT_TRUE(showsDisconnected());
}

TEST_F(LinkTest, ProbeNowSendsAtOnceAndCountsTheNextPeriodFromThen)
{
    openPort();
    const int starts = echoTimer.starts;
    link.probeNow();
    EXPECT_EQ(port.sent, kProbe);
    EXPECT_EQ(echoTimer.starts, starts + 1);
    EXPECT_TRUE(echoTimer.isActive());

    port.deliver(kProbe);
    EXPECT_EQ(port.sent, kProbe + "U");
    EXPECT_EQ(windows.main.VQ3Status.caption(), "Connected");
}

TEST_F(LinkTest, ProbeNowWithoutAnEchoBeforeTheNextTickShowsDisconnected)
{
    connect();
    link.probeNow();
    echoTimer.tick();
    EXPECT_TRUE(showsDisconnected());
    EXPECT_EQ(port.sent, kProbe + kProbe);
}

TEST_F(LinkTest, FirstEchoShowsConnectedAndStartsTheIdentificationRead)
{
    openPort();
    echoTimer.tick();
    port.deliver(kProbe);

    EXPECT_EQ(port.sent, kProbe + "U");
    EXPECT_EQ(windows.main.VQ3Status.caption(), "Connected");
    EXPECT_EQ(windows.main.VQ3Status.background(), 0x80FF80U);
    EXPECT_TRUE(windows.main.ConnectButton.visible());
    EXPECT_FALSE(windows.main.menus.read.enabled());
    EXPECT_FALSE(echoTimer.isActive());
    EXPECT_TRUE(readTimer.isActive());
    EXPECT_TRUE(state.identifyOnly);
    EXPECT_EQ(state.lastCommand, link::Command::Upload);

    port.deliver(reply(1, 2, testImage()));
    EXPECT_TRUE(showsConnected());
    EXPECT_FALSE(windows.main.menus.write.enabled());
    EXPECT_TRUE(inEchoMode());

    port.takeSent();
    echoTimer.tick();
    port.deliver(kProbe);
    EXPECT_EQ(port.sent, kProbe);
    EXPECT_TRUE(showsConnected());
}

TEST_F(LinkTest, UnitThatStopsAnsweringIsDisconnectedAtTheSecondTick)
{
    windows.main.menus.beacon.setChecked(true);
    connect();
    echoTimer.tick();
    EXPECT_TRUE(showsConnected());
    EXPECT_EQ(state.firmwareVersion, 2);

    echoTimer.tick();
    EXPECT_TRUE(showsDisconnected());
    EXPECT_EQ(port.sent, kProbe + kProbe);

    port.deliver(kProbe);
    EXPECT_EQ(port.takeSent(), kProbe + kProbe + "U");
}

TEST_F(LinkTest, BytesOtherThanTheProbeAreIgnoredWhileProbing)
{
    openPort();
    echoTimer.tick();
    port.deliver(std::string("U\x00\x01\xAB", 4));
    EXPECT_TRUE(showsDisconnected());
    EXPECT_EQ(port.sent, kProbe);
    EXPECT_TRUE(state.awaitingEcho);
    EXPECT_EQ(state.lastCommand, link::Command::Probe);

    port.deliver(std::string("\x01\xAA\x02", 3));
    EXPECT_EQ(port.sent, kProbe + "U");
}

TEST_F(LinkTest, DisconnectSendsOnlyEndAndTheProbesThenShowDisconnected)
{
    connect();
    link.disconnectUnit();
    EXPECT_EQ(port.takeSent(), "E");
    EXPECT_TRUE(showsConnected());

    echoTimer.tick();
    echoTimer.tick();
    EXPECT_TRUE(showsDisconnected());
}

} // namespace
} // namespace qm::link
