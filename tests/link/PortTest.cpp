// Finding the unit, choosing and losing the port, and closing it at the program's end.
#include "link/LinkRig.h"

namespace qm::link
{
namespace
{

const std::string kImage = "D" + testImage(3);
const Step kOpen = [](LinkRig& r) { r.openPort(); };
const Step kConnect = [](LinkRig& r) { r.connect(); };
const Step kProbeNow = [](LinkRig& r) { r.link.probeNow(); };
const Step kEcho = deliver(kProbe);
const Step kClose = [](LinkRig& r) { r.link.closeWhenSent(); };
const Step kAllSent = [](LinkRig& r) { r.port.allSent(); };
const std::string kId = reply(1, 2, testImage());
const std::string kOldFirmware = reply(1, 0, testImage(1));

struct ProbeRow
{
    const char* name;
    Step steps;
    std::string wire;
    std::optional<forms::MessageBox> box;
    bool connected;
    std::string decoded = {};
};

const ProbeRow kProbeRows[] = {
    {"no unit", seq(kOpen, tickProbe, tickProbe, tickProbe), kProbe + kProbe + kProbe, std::nullopt, false},
    {"unit found and identified", seq(kOpen, tickProbe, kEcho, deliver(kId)), kProbe + "U", std::nullopt, true},
    {"probe sent at once", seq(kOpen, kProbeNow, kEcho, deliver(kId)), kProbe + "U", std::nullopt, true},
    {"foreign bytes are no echo", seq(kOpen, tickProbe, deliver(std::string("U\0\1\xAB", 4))), kProbe, std::nullopt,
     false},
    {"echo among foreign bytes", seq(kOpen, tickProbe, deliver("U\1\xAA\2"), deliver(kId)), kProbe + "U", std::nullopt,
     true},
    {"identification times out", seq(kOpen, tickProbe, kEcho, tickRead), kProbe + "U" + kBurst, readTimeOutBox(),
     false},
    {"unit stops answering", seq(kConnect, tickProbe, tickProbe), kProbe + kProbe, std::nullopt, false},
    {"probe sent at once, no echo by the next tick", seq(kConnect, kProbeNow, tickProbe), kProbe + kProbe, std::nullopt,
     false},
    {"unit answers again, identified again", seq(kConnect, tickProbe, tickProbe, kEcho, deliver(kId)),
     kProbe + kProbe + "U", std::nullopt, true},
    {"disconnect", seq(kConnect, clickDisconnect, tickProbe, tickProbe), "E" + kProbe + kProbe, std::nullopt, false},
    {"old firmware warned once, the next read decodes",
     seq(kOpen, tickProbe, kEcho, deliver(kOldFirmware), tickProbe, kEcho, tickProbe, kEcho, askRead,
         deliver(reply(1, 0, testImage(2)))),
     kProbe + "U" + kProbe + kProbe + "U", oldFirmwareBox(1, 0), true, testImage(2)},
    {"old firmware on a user read, decoded by the next read",
     seq(kOpen, askRead, deliver(kOldFirmware), tickProbe, kEcho, deliver(kOldFirmware), askRead,
         deliver(reply(1, 0, testImage(2)))),
     "U" + kProbe + "UU", oldFirmwareBox(1, 0), true, testImage(2)},
    {"firmware at the minimum", seq(kConnect, askRead, deliver(reply(1, 1, testImage(2)))), "U", std::nullopt, true,
     testImage(2)},
};

TEST(LinkProbeTest, FindsTheUnitAndNoticesItsGoing)
{
    for (const auto& row : kProbeRows) {
        SCOPED_TRACE(row.name);
        LinkRig rig;
        row.steps(rig);
        rig.port.allSent();
        EXPECT_EQ(rig.port.takeSent(), row.wire);
        EXPECT_EQ(rig.host.boxes, row.box ? Boxes{*row.box} : Boxes{});
        EXPECT_EQ(rig.host.decoded, row.decoded.empty() ? std::vector<std::string>{} : std::vector{row.decoded});
        EXPECT_EQ(rig.showsConnected(), row.connected);
        EXPECT_EQ(rig.showsDisconnected(), !row.connected);
        // No mode is chosen: nothing to write.
        EXPECT_FALSE(rig.windows.main.menus.write.enabled() || rig.readTimer.tick() || rig.writeTimer.tick());
        EXPECT_TRUE(rig.echoTimer.isActive());
    }
}

TEST(LinkProbeTest, IdentificationNamesModelFirmwareAndPortWithoutDecoding)
{
    const std::tuple<int, int, int, std::string, std::string> rows[] = {
        {1, 3, 1, "VQ-3+ ", "Quellmark VQ-3+ (v3.0) on COM1"},
        {0, 2, 2, "VQ-3 ", "Quellmark VQ-3 (v2.0) on COM2"},
        {7, 1, 4, "Custom ", "Quellmark Custom (v1.0) on COM4"},
        {255, 255, 3, "Custom ", "Quellmark Custom (v255.0) on COM3"},
    };
    for (const auto& [model, firmware, comPort, modelName, caption] : rows) {
        LinkRig rig;
        rig.openPort(comPort);
        rig.run({tickProbe, kEcho, deliver(reply(model, firmware, testImage(model)))});
        EXPECT_EQ(rig.state.modelName, modelName);
        EXPECT_EQ(rig.state.firmwareVersion, firmware);
        EXPECT_EQ(rig.windows.main.window.caption(), caption);
        EXPECT_EQ(rig.host.completed, (Completed{{Transaction::Identification, testImage(model)}}));
        EXPECT_TRUE(rig.host.decoded.empty() && rig.host.boxes.empty() && rig.probing());
    }
}

TEST(LinkProbeTest, ReadSavesTheShownProfilesFirstAndTransfersShowProgress)
{
    LinkRig rig;
    rig.run({kConnect, askRead});
    EXPECT_EQ(rig.host.profileSaves, 1);
    rig.port.deliver(kId.substr(0, 130));
    EXPECT_TRUE(rig.host.lastProgress == std::make_pair(130, 131) && rig.host.busy);
    rig.run({deliver(kId.substr(130)), askWrite(kImage), echo(128)});
    EXPECT_EQ(rig.host.lastProgress, std::make_pair(128, 129));
}

TEST(LinkPortTest, FailedPortIsToldThenTheUserIsAskedForAnother)
{
    const std::tuple<PortError, int, bool> rows[] = {
        {{8002, "No such file"}, 3, true},
        {{13, "odd"}, 2, false},
        {PortError::permissionRefused("Permission denied", "/dev/ttyUSB0", "dialout"), 4, true},
    };
    for (const auto& [error, comPort, welcomeShown] : rows) {
        LinkRig rig;
        auto& welcome = rig.windows.welcome;
        welcome.window.setVisible(welcomeShown);
        welcome.topmost = welcomeShown;
        std::vector<bool> topmostAtBox;
        rig.host.duringBox = [&] { topmostAtBox.push_back(welcome.topmost); };
        rig.port.openError = error;
        rig.link.selectComPort(comPort);

        EXPECT_EQ(rig.host.boxes, (Boxes{portFailureBox(error, comPort), serialPortSelectionBox()}));
        EXPECT_EQ(topmostAtBox, (std::vector<bool>{false, false}));
        EXPECT_EQ(welcome.topmost, welcomeShown);
        const auto items = rig.windows.main.menus.comItems();
        for (std::size_t i = 0; i < items.size(); ++i)
            EXPECT_EQ(items[i]->checked(), static_cast<int>(i) + 1 == comPort);
        EXPECT_TRUE(rig.state.portTestFailed && !rig.port.isOpen() && rig.showsDisconnected());
        EXPECT_EQ(rig.port.commPort, comPort);
        EXPECT_EQ(rig.port.sent + std::to_string(rig.host.iniSaves), "0");
        EXPECT_EQ(rig.link.lastPortError(), error);
    }
}

TEST(LinkPortTest, ChosenPortIsTestedSavedOpenedAndProbed)
{
    LinkRig rig;
    rig.link.selectComPort(2);
    EXPECT_EQ(rig.port.commPort, 2);
    EXPECT_EQ(rig.port.opens - rig.port.closes, 1);
    EXPECT_EQ(rig.host.iniSaves, 1);
    EXPECT_TRUE(rig.port.isOpen() && rig.windows.main.menus.com2.checked() && rig.probing());

    // The port in use chosen again: closed without "E", opened again, the unit identified again.
    rig.run({tickProbe, kEcho, deliver(kId)});
    rig.link.selectComPort(2);
    EXPECT_TRUE(rig.port.isOpen() && rig.showsDisconnected() && rig.probing());
    rig.run({tickProbe, kEcho});
    EXPECT_EQ(rig.port.takeSent(), kProbe + "U" + kProbe + "U");

    // A device by its path: the COM items lose their mark, the COM number stays for vq3.ini.
    rig.link.selectOtherDevice("/dev/ttyS7");
    EXPECT_EQ(rig.port.chosenDevice, "/dev/ttyS7");
    EXPECT_EQ(rig.state.comPort, 2);
    EXPECT_TRUE(rig.port.isOpen() && rig.windows.main.menus.otherdevice.checked());
    EXPECT_FALSE(rig.windows.main.menus.com2.checked());
    rig.link.selectComPort(1);
    EXPECT_EQ(rig.port.chosenDevice, "");
    EXPECT_TRUE(rig.windows.main.menus.com1.checked() && !rig.windows.main.menus.otherdevice.checked());
}

TEST(LinkPortTest, PortIsClosedWithEndOnlyWhenOpenAndOpenedOnce)
{
    LinkRig rig;
    rig.link.closePort();
    rig.state.comPort = 3;
    rig.link.testPort();
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_TRUE(rig.windows.main.window.visible());
    rig.link.openPort();
    rig.link.openPort();
    EXPECT_EQ(rig.port.opens, 2);
    rig.link.closePort();
    EXPECT_EQ(rig.port.sent, "E");
    EXPECT_FALSE(rig.port.isOpen());
}

TEST(LinkPortTest, LostPortIsOpenedAgainAboutOnceASecondUntilItsDeviceIsBack)
{
    for (const std::string device : {"", "/dev/ttyS7"}) {
        LinkRig rig;
        // The port names the device it opens; a COM port's system name is unknown here.
        rig.port.device = device;
        rig.openPort(2);
        if (!device.empty())
            rig.link.selectOtherDevice(device);
        rig.run({tickProbe, kEcho, deliver(kId), portFails});
        EXPECT_TRUE(rig.host.boxes.empty() && rig.showsDisconnected() && rig.probing());
        const std::string tip = "VQ-3 Disconnected. Waiting for the serial port " +
                                (device.empty() ? std::string("COM2") : device) + " to come back.";
        EXPECT_EQ(rig.windows.main.VQ3Status.toolTip(), tip);

        rig.port.openError = PortError{8002, "No such file or directory"};
        rig.port.takeSent();
        rig.run({tickProbe, tickProbe, tickProbe, tickProbe, tickProbe, tickProbe});
        EXPECT_EQ(rig.port.takeSent(), "");
        EXPECT_EQ(rig.windows.main.VQ3Status.toolTip(), tip);
        rig.port.openError.reset();
        rig.port.chosenDevice.clear();
        const int opens = rig.port.opens;
        tickProbe(rig);
        EXPECT_FALSE(rig.port.isOpen());
        rig.run({tickProbe, kEcho, deliver(reply(0, 3, testImage()))});
        EXPECT_EQ(rig.port.opens, opens + 1);
        EXPECT_EQ(rig.port.chosenDevice + std::to_string(rig.port.commPort), device + "2");
        EXPECT_EQ(rig.windows.main.VQ3Status.toolTip(), "");
        EXPECT_EQ(rig.port.takeSent(), kProbe + "U");
        EXPECT_TRUE(rig.showsConnected());
    }
}

TEST(LinkPortTest, ChoosingAPortForgetsTheLostOne)
{
    LinkRig rig;
    rig.run({kConnect, portFails});
    rig.port.openError = PortError{8002, "No such file or directory"};
    rig.link.selectComPort(3);
    EXPECT_EQ(rig.windows.main.VQ3Status.toolTip(), "");
    rig.port.openError.reset();
    rig.run({tickProbe, tickProbe});
    EXPECT_FALSE(rig.port.isOpen());
}

TEST(LinkPortTest, PortFailingWhileABoxIsUpShowsDisconnectedWithinTwoTicks)
{
    LinkRig rig;
    rig.run({kConnect, askWrite(kImage), echo(129)});
    rig.host.duringBox = [&] { rig.run({portFails, kEcho, tickRead, tickWrite}); };
    rig.port.deliver(reply(1, 2, testImage(3)));
    rig.host.duringBox = nullptr;
    EXPECT_EQ(rig.host.boxes, Boxes{downloadCompleteBox()});
    EXPECT_TRUE(rig.probing());
    rig.run({tickProbe, tickProbe});
    EXPECT_TRUE(rig.showsDisconnected());
}

TEST(LinkPortTest, SilentPortGetsItsHintInTheStatusToolTipUntilItSpeaks)
{
    // Ticks of silence (500 ms each), the tick after which a byte arrives (0: none), the hint shown.
    const std::tuple<int, int, bool> rows[] = {
        {19, 0, false}, {20, 0, true}, {40, 0, true}, {30, 5, false}, {30, 25, false}};
    for (const auto& [ticks, answerAfter, hinted] : rows) {
        LinkRig rig;
        rig.openPort(1);
        for (int tick = 1; tick <= ticks; ++tick) {
            tickProbe(rig);
            if (tick == answerAfter)
                rig.port.deliver("x");
        }
        EXPECT_EQ(rig.windows.main.VQ3Status.toolTip(), hinted ? silentPortHint("/dev/ttyUSB0") : "") << ticks;
        // Counted afresh after a port change.
        rig.link.selectComPort(2);
        for (int tick = 0; tick < 19; ++tick)
            tickProbe(rig);
        EXPECT_EQ(rig.windows.main.VQ3Status.toolTip(), "");
        tickProbe(rig);
        EXPECT_EQ(rig.windows.main.VQ3Status.toolTip(), silentPortHint("/dev/ttyUSB0"));
    }
}

TEST(LinkPortTest, PortChangeDuringATransferEndsItWithoutALaterTimeOut)
{
    for (const auto& transfer : {seq(askRead, deliver("U\1")), seq(askWrite(kImage), echo(2))}) {
        for (const bool newPortWorks : {true, false}) {
            LinkRig rig;
            rig.run({kConnect, transfer});
            if (!newPortWorks)
                rig.port.openError = PortError{8005, "busy"};
            rig.link.selectComPort(2);
            rig.host.boxes.clear();
            EXPECT_TRUE(rig.probing());
            EXPECT_FALSE(rig.readTimer.tick() || rig.writeTimer.tick());
            if (newPortWorks) {
                // The unit on the new port is read afresh.
                rig.run({tickProbe, kEcho, deliver(kId), askRead, deliver(reply(1, 2, testImage(5)))});
                EXPECT_EQ(rig.host.decoded, std::vector{testImage(5)});
                EXPECT_TRUE(rig.host.boxes.empty());
            }
        }
    }
}

TEST(LinkDrainTest, BurstThatNeverLeavesIsDiscardedAfterFourProbePeriodsOrWhenThePortFails)
{
    LinkRig rig;
    rig.run({kConnect, askRead, tickRead, tickProbe, tickProbe, tickProbe});
    const int outputFlushes = rig.port.outputFlushes;
    EXPECT_EQ(rig.port.takeSent(), "U" + kBurst);
    tickProbe(rig);
    EXPECT_EQ(rig.port.outputFlushes, outputFlushes + 1);
    EXPECT_EQ(rig.port.takeSent(), "");
    rig.run({tickProbe, kAllSent, tickProbe});
    EXPECT_EQ(rig.port.takeSent(), kProbe + kProbe);

    rig.run({askRead, tickRead, portFails, tickProbe, tickProbe});
    EXPECT_TRUE(rig.port.isOpen());
    EXPECT_EQ(rig.port.takeSent(), "U" + kBurst + kProbe);
}

TEST(LinkClosingTest, ClosesOnlyOnceEverythingSentHasLeft)
{
    const std::pair<Step, std::string> rows[] = {
        {seq(), "E"},
        {seq(askWrite(kImage), echo(57)), kImage.substr(0, 58) + kBurst + "E"},
        {seq(askRead, deliver(kId.substr(0, 40))), "U" + kBurst + "E"},
        {seq(askWrite(kImage), echo(129)), kImage + "U" + kBurst + "E"},
    };
    for (const auto& [before, wire] : rows) {
        LinkRig rig;
        rig.run({kConnect, before, kClose});
        // What the unit sends, a probe tick and the user's commands change nothing while the port closes.
        rig.run({deliver(kProbe + kId), tickProbe, askRead, askWrite(kImage), clickDisconnect, kClose});
        EXPECT_EQ(rig.port.takeSent(), wire);
        EXPECT_TRUE(rig.port.isOpen() && rig.host.boxes.empty() && rig.host.completed.empty());
        EXPECT_FALSE(rig.readTimer.isActive() || rig.writeTimer.isActive() || rig.link.transferUnderWay());
        EXPECT_EQ(rig.host.portsClosed, 0);
        rig.port.allSent();
        EXPECT_FALSE(rig.port.isOpen() || rig.echoTimer.isActive() || rig.host.busy);
        EXPECT_EQ(rig.host.portsClosed, 1);
    }
}

TEST(LinkClosingTest, ClosedPortEndsAtOnceAStuckOneAfterFourProbePeriodsAFailingOneWhenItFails)
{
    LinkRig closed;
    closed.link.closeWhenSent();
    EXPECT_EQ(closed.host.portsClosed, 1);
    EXPECT_EQ(closed.port.sent, "");

    LinkRig stuck;
    stuck.run({kConnect, kClose, tickProbe, tickProbe, tickProbe});
    const int outputFlushes = stuck.port.outputFlushes;
    EXPECT_TRUE(stuck.port.isOpen());
    tickProbe(stuck);
    EXPECT_FALSE(stuck.port.isOpen());
    EXPECT_EQ(stuck.host.portsClosed, 1);
    EXPECT_EQ(stuck.port.outputFlushes, outputFlushes + 1);
    EXPECT_EQ(stuck.port.takeSent(), "E");

    LinkRig failing;
    failing.run({kConnect, kClose, portFails, tickProbe, tickProbe});
    EXPECT_EQ(failing.host.portsClosed, 1);
    EXPECT_TRUE(failing.host.boxes.empty() && !failing.port.isOpen());
}

} // namespace
} // namespace qm::link
