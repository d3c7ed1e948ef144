// The link in scenarios: what the user and the unit do, what arrives on the wire, what the user is told.
#include "link/LinkRig.h"

namespace qm::link
{
namespace
{

const std::string kImage = "D" + testImage(3);
const std::string kReply = reply(0, 4, testImage(3));
/// What a unit whose memory lies reads back after kImage.
const std::string kStored = std::string(kImage.substr(1)).replace(40, 1, "\x01");

const Step kOpen = [](LinkRig& r) { r.openPort(); };
const Step kConnect = [](LinkRig& r) { r.connect(); };
const Step kProbeNow = [](LinkRig& r) { r.link.probeNow(); };
const Step kClose = [](LinkRig& r) { r.link.closeWhenSent(); };
const Step kClosePort = [](LinkRig& r) { r.link.closePort(); };
const Step kOpenPort = [](LinkRig& r) { r.link.openPort(); };
const Step kAllSent = [](LinkRig& r) { r.port.allSent(); };

/// The step happens while the next box is up (a toolkit delivers events under a modal box).
Step underBox(Step step)
{
    return [step](LinkRig& r) { r.host.duringBox = [&r, step, seen = r.host.duringBox] { seen(), step(r); }; };
}

struct TransferRow
{
    const char* name;
    Step steps;
    std::string wire;
    std::optional<forms::MessageBox> box;
    bool staysConnected;
    Completed completed = {};
};

const std::nullopt_t kNoBox = std::nullopt;
const forms::MessageBox kVerifyBox = writeNotVerifiedBox(RecordingHost{}.mismatchAnswer.field, "/backups/before.vq3");
const Completed kRead{{Transaction::Read, testImage(3)}};
const Completed kWritten{{Transaction::Write, testImage(3)}};
const Completed kReadBack{{Transaction::Read, kStored}};
const std::string kTimedOut = "U" + kBurst;
const std::string kUB = kImage + "U" + kBurst;
const Step kWrite = askWrite(kImage);
const Step kEcho = deliver(kProbe);
/// Bytes from..to of the reply, with the bytes given ahead and after.
Step part(std::size_t from, std::size_t to, Text ahead = "", Text after = "")
{
    return deliver(ahead + kReply.substr(from, to - from) + after);
}
const Step kAllEchoed = echo(129);
const Step kGood = deliver(kReply);
const std::string kImageU = kImage + "U";
const std::vector<std::array<std::string, 3>> kMismatch{{testImage(3), kStored, testImage(1)}};
const Step kNoReadBack = [](LinkRig& r) { r.state.verifyWrites = false; };

const TransferRow kTransfers[] = {
    {"read", seq(askRead, kGood), "U", kNoBox, true, kRead},
    {"read in pieces, echoes ahead", seq(askRead, kEcho, part(0, 60, kProbe), part(60, 131)), "U", kNoBox, true, kRead},
    {"read, silent unit", seq(askRead, tickRead), kTimedOut, readTimeOutBox(), false},
    {"read, 130 bytes", seq(askRead, part(0, 60), part(60, 130), tickRead), kTimedOut, readTimeOutBox(), false},
    {"read, 131 passed", seq(askRead, part(0, 100), part(100, 131, "", "123456789"), tickRead), kTimedOut,
     readTimeOutBox(), false},
    {"read, no U", seq(askRead, part(1, 131, "X")), kTimedOut, badReplyBox(), true},
    {"read, reply under the box", seq(askRead, underBox(kGood), tickRead), kTimedOut, readTimeOutBox(), false},
    {"read, port fails", seq(askRead, deliver("U\1"), portFails), "U", readTimeOutBox(), false},
    {"read, write and disconnect", seq(askRead, kWrite, clickDisconnect, kGood), "U", kNoBox, true, kRead},
    {"write", seq(kWrite, kAllEchoed, kGood), kImageU, downloadCompleteBox(), true, kWritten},
    {"write, echo ahead", seq(kWrite, kEcho, kAllEchoed, kGood), kImageU, downloadCompleteBox(), true, kWritten},
    {"write, port fails under the box", seq(kWrite, kAllEchoed, underBox(seq(portFails, kEcho, tickRead)), kGood),
     kImageU, downloadCompleteBox(), true, kWritten},
    {"write, no read-back", seq(kNoReadBack, kWrite, echo(129)), kImage, downloadCompleteBox(), true, kWritten},
    {"write, read-back differs", seq(kWrite, kAllEchoed, deliver(reply(0, 4, kStored))), kImageU, kVerifyBox, true,
     kReadBack},
    {"write, read-back no U", seq(kWrite, kAllEchoed, part(1, 131, "X")), kUB, readBackFailedBox(), true},
    {"write, read-back late", seq(kWrite, kAllEchoed, deliver("U\1\2"), tickRead), kUB, readBackFailedBox(), false},
    {"write, port fails in the read-back", seq(kWrite, kAllEchoed, deliver("U\1"), portFails), kImageU,
     readBackFailedBox(), false},
    {"write, bad echo of D", seq(kWrite, deliver("d")), "D" + kBurst, echoMismatchBox(), true},
    {"write, bad 5th echo", seq(kWrite, echo(4), deliver("\1")), kImage.substr(0, 5) + kBurst, echoMismatchBox(), true},
    {"write, bad last echo", seq(kWrite, echo(128), deliver("\1")), kImage + kBurst, echoMismatchBox(), true},
    {"write, echoes stop", seq(kWrite, echo(100), tickWrite), kImage.substr(0, 101) + kBurst, writeTimeOutBox(), false},
    {"write, port fails", seq(kWrite, echo(1), portFails), kImage.substr(0, 2), writeTimeOutBox(), false},
    {"write, read and disconnect", seq(kWrite, echo(3), askRead, clickDisconnect, echo(126), kGood), kImageU,
     downloadCompleteBox(), true, kWritten},
};

TEST(LinkTransferTest, WireAndUserSeeEachOutcome)
{
    for (const auto& row : kTransfers) {
        SCOPED_TRACE(row.name);
        LinkRig rig;
        rig.windows.main.menus.beacon.setChecked(true);
        rig.connect(testImage(1));
        std::string sentAtBox;
        rig.host.duringBox = [&] { sentAtBox = rig.port.sent; };

        row.steps(rig);

        const std::string wire = rig.port.takeSent();
        EXPECT_EQ(wire, row.wire);
        EXPECT_EQ(rig.host.boxes, row.box ? Boxes{*row.box} : Boxes{});
        // Every byte (the abort burst above all) is on its way before the user is told.
        EXPECT_EQ(sentAtBox, row.box ? wire : "");
        EXPECT_EQ(rig.host.completed, row.completed);
        EXPECT_EQ(rig.host.decoded, row.completed == kRead ? std::vector{testImage(3)} : std::vector<std::string>{});
        EXPECT_TRUE(rig.probing());
        EXPECT_EQ(rig.host.profileSaves, wire.starts_with("U") ? 1 : 0);
        // A finished transfer leaves its progress bar full.
        EXPECT_TRUE(row.completed.empty() ||
                    (rig.host.lastProgress.first == rig.host.lastProgress.second && rig.host.lastProgress.first > 128));
        EXPECT_EQ(rig.host.mismatches, row.box == kVerifyBox ? kMismatch : decltype(kMismatch){});
        if (wire.ends_with(kBurst)) {
            // No probe, read or write joins the burst on its way out; what the unit sends meanwhile is dropped.
            rig.run({askRead, kWrite, tickProbe, kEcho, tickProbe, kEcho, tickProbe, kEcho});
            EXPECT_TRUE(rig.port.takeSent().empty() && !rig.windows.main.menus.read.enabled());
            rig.run({[](LinkRig& r) { r.port.receive(kProbe); }, kAllSent});
            EXPECT_EQ(rig.port.bytesWaiting(), 0U);
        }
        EXPECT_FALSE(rig.readTimer.tick() || rig.writeTimer.tick());
        EXPECT_EQ(rig.showsConnected() && rig.windows.main.menus.write.enabled(), row.staysConnected);
        EXPECT_EQ(rig.showsDisconnected(), !row.staysConnected);
        EXPECT_EQ(rig.state.modelName, row.staysConnected && row.completed == kRead ? "VQ-3 " : "VQ-3+ ");
        EXPECT_EQ(rig.state.unitImage,
                  row.completed.empty() ? (row.staysConnected ? testImage(1) : "") : row.completed.back().second);
        // The probes go on (on a lost port once it is opened again).
        rig.run({tickProbe, tickProbe});
        EXPECT_TRUE(rig.port.takeSent().ends_with(kProbe));
    }
}

const std::string kId = reply(1, 2, testImage());
const std::string kOldFirmware = reply(1, 0, testImage(1));
const Step kOldReply = deliver(kOldFirmware);
const Step kOldReply2 = deliver(reply(1, 0, testImage(2)));

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
    {"no unit", seq(kOpen, tickProbe, tickProbe, tickProbe), kProbe + kProbe + kProbe, kNoBox, false},
    {"unit found and identified", seq(kOpen, tickProbe, kEcho, deliver(kId)), kProbe + "U", kNoBox, true},
    {"probe sent at once", seq(kOpen, kProbeNow, kEcho, deliver(kId)), kProbe + "U", kNoBox, true},
    {"foreign bytes", seq(kOpen, tickProbe, deliver(std::string("U\0\1\xAB", 4))), kProbe, kNoBox, false},
    {"echo amid foreign bytes", seq(kOpen, tickProbe, deliver("U\1\xAA\2"), deliver(kId)), kProbe + "U", kNoBox, true},
    {"no identification", seq(kOpen, tickProbe, kEcho, tickRead), kProbe + "U" + kBurst, readTimeOutBox(), false},
    {"unit stops answering", seq(kConnect, tickProbe, tickProbe), kProbe + kProbe, kNoBox, false},
    {"unit back", seq(kConnect, tickProbe, tickProbe, kEcho, deliver(kId)), kProbe + kProbe + "U", kNoBox, true},
    {"disconnect", seq(kConnect, clickDisconnect, tickProbe, tickProbe), "E" + kProbe + kProbe, kNoBox, false},
    {"old firmware, warned once",
     seq(kOpen, tickProbe, kEcho, kOldReply, tickProbe, kEcho, tickProbe, kEcho, askRead, kOldReply2),
     kProbe + "U" + kProbe + kProbe + "U", oldFirmwareBox(1, 0), true, testImage(2)},
    {"old firmware on a read", seq(kOpen, askRead, kOldReply, tickProbe, kEcho, kOldReply, askRead, kOldReply2),
     "U" + kProbe + "UU", oldFirmwareBox(1, 0), true, testImage(2)},
    {"minimum firmware", seq(kConnect, askRead, deliver(reply(1, 1, testImage(2)))), "U", kNoBox, true, testImage(2)},
};

TEST(LinkTransferTest, AReadAfterAWriteWhoseReadBackBrokeOffFillsTheWindows)
{
    for (const Step& broken : {tickRead, deliver("X")}) {
        LinkRig rig;
        rig.run({kConnect, kWrite, kAllEchoed, broken, tickRead, kAllSent});
        rig.connect();
        rig.run({askRead, kGood});
        EXPECT_EQ(rig.host.decoded, std::vector{testImage(3)});
    }
}

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
    }
}

TEST(LinkProbeTest, IdentificationNamesModelFirmwareAndPortWithoutDecoding)
{
    for (const auto& [device, caption] : {std::pair{"", "Custom Quellmark Custom (v255.0) on COM3"},
                                          {"/dev/ttyUSB9", "Custom Quellmark Custom (v255.0) on /dev/ttyUSB9"}}) {
        LinkRig rig;
        rig.openPort(3);
        if (*device != '\0')
            rig.link.selectOtherDevice(device);
        rig.run({tickProbe, kEcho, deliver(reply(255, 255, testImage(7)))});
        EXPECT_EQ(rig.state.modelName + rig.windows.main.window.caption(), caption);
        EXPECT_EQ(rig.host.completed, (Completed{{Transaction::Identification, testImage(7)}}));
        EXPECT_TRUE(rig.state.firmwareVersion == 255 && rig.host.decoded.empty() && rig.host.boxes.empty());
    }
}

TEST(LinkPortTest, FailedPortIsToldByTheNameTriedThenTheUserIsAskedForAnother)
{
    // The error, the COM port, the device chosen by its path ("" for none), the welcome window, the box's text.
    const std::tuple<PortError, int, const char*, bool, const char*> rows[] = {
        {{8002, "No such file"}, 3, "", true, "Serial port COM3 is invalid - The port does not exist."},
        {{8002, "No such file"},
         1,
         "/dev/ttyUSB9",
         false,
         "Serial port /dev/ttyUSB9 is invalid - The port does not exist."},
        {{13, "odd"}, 2, "", false, "Unexpected error # 13 occured while accessing serial port COM2."},
        {{8019, "Device or resource busy"},
         2,
         "/dev/serial/by-id/usb-X",
         false,
         "Serial port /dev/serial/by-id/usb-X is in use by another device."},
        {PortError::permissionRefused("Permission denied", "/dev/ttyUSB0", "dialout"), 4, "", true,
         "Permission to open the serial device /dev/ttyUSB0 was denied."},
    };
    for (const auto& [error, comPort, device, welcomeShown, told] : rows) {
        SCOPED_TRACE(told);
        LinkRig rig;
        auto& welcome = rig.windows.welcome;
        welcome.window.setVisible(welcomeShown);
        welcome.topmost = welcomeShown;
        std::vector<bool> topmostAtBox;
        rig.host.duringBox = [&] { topmostAtBox.push_back(welcome.topmost); };
        rig.port.openError = error;
        rig.link.selectComPort(comPort);
        if (*device != '\0') {
            rig.host.boxes.clear();
            topmostAtBox.clear();
            rig.link.selectOtherDevice(device);
        }

        ASSERT_EQ(rig.host.boxes.size(), 2u);
        EXPECT_EQ(rig.host.boxes[0].text.rfind(told, 0), 0u) << rig.host.boxes[0].text;
        EXPECT_EQ(rig.host.boxes[0].details, error.reason);
        EXPECT_EQ(rig.host.boxes[1], serialPortSelectionBox());
        EXPECT_TRUE(topmostAtBox == std::vector<bool>(2, false) && welcome.topmost == welcomeShown);
        for (const auto* item : rig.windows.main.menus.comItems())
            EXPECT_EQ(item->checked(), *device == '\0' && item->name() == "com" + std::to_string(comPort));
        EXPECT_TRUE(rig.state.portTestFailed && !rig.port.isOpen() && rig.showsDisconnected());
        EXPECT_TRUE(rig.port.sent.empty() && rig.host.iniSaves == 0 && rig.port.commPort == comPort);
        EXPECT_EQ(rig.link.lastPortError(), error);
    }
}

TEST(LinkPortTest, ChosenPortIsTestedSavedOpenedAndProbed)
{
    LinkRig rig;
    rig.link.selectComPort(2);
    EXPECT_TRUE(rig.port.commPort == 2 && rig.port.opens == 2 && rig.port.closes == 1 && rig.host.iniSaves == 1);
    EXPECT_TRUE(rig.port.isOpen() && rig.windows.main.menus.com2.checked() && rig.probing());
    EXPECT_TRUE(rig.windows.main.window.visible());

    // The port in use chosen again: closed without "E", opened again, the unit identified again.
    rig.run({tickProbe, kEcho, deliver(kId)});
    rig.link.selectComPort(2);
    EXPECT_TRUE(rig.port.isOpen() && rig.showsDisconnected() && rig.probing());
    rig.run({tickProbe, kEcho});
    EXPECT_EQ(rig.port.takeSent(), kProbe + "U" + kProbe + "U");

    // A device by its path: the COM items lose their mark, the COM number stays for vq3.ini.
    rig.link.selectOtherDevice("/dev/ttyS7");
    EXPECT_TRUE(rig.port.chosenDevice == "/dev/ttyS7" && rig.state.comPort == 2 && rig.port.isOpen());
    EXPECT_TRUE(rig.windows.main.menus.otherdevice.checked() && !rig.windows.main.menus.com2.checked());
    rig.link.selectComPort(1);
    EXPECT_TRUE(rig.port.chosenDevice.empty() && !rig.windows.main.menus.otherdevice.checked());

    // Closed with "E" when open, only once; opened only when closed.
    rig.port.takeSent();
    rig.run({kClosePort, kClosePort, kOpenPort, kOpenPort});
    EXPECT_EQ(rig.port.takeSent(), "E");
    EXPECT_EQ(rig.port.opens - rig.port.closes, 1);
}

TEST(LinkPortTest, LostPortIsOpenedAgainAboutOnceASecondUntilItsDeviceIsBack)
{
    for (const std::string device : {"", "/dev/ttyS7"}) {
        LinkRig rig;
        rig.port.device = device;
        rig.openPort(2);
        rig.link.selectOtherDevice(device);
        rig.run({tickProbe, kEcho, deliver(kId), portFails});
        EXPECT_TRUE(rig.host.boxes.empty() && rig.showsDisconnected() && rig.probing());
        // Named by the device, or by the COM port when the system gives no name.
        const std::string tip = "VQ-3 Disconnected. Waiting for the serial port " +
                                (device.empty() ? std::string("COM2") : device) + " to come back.";
        EXPECT_EQ(rig.windows.main.VQ3Status.toolTip(), tip);

        rig.port.openError = PortError{8002, "No such file or directory"};
        rig.port.takeSent();
        rig.run({tickProbe, tickProbe, tickProbe, tickProbe, tickProbe, tickProbe});
        EXPECT_EQ(rig.port.takeSent() + rig.windows.main.VQ3Status.toolTip(), tip);
        rig.port.openError.reset();
        rig.port.chosenDevice.clear();
        tickProbe(rig);
        EXPECT_FALSE(rig.port.isOpen());
        rig.run({tickProbe, kEcho, deliver(reply(0, 3, testImage()))});
        EXPECT_TRUE(rig.showsConnected() && rig.port.chosenDevice == device && rig.port.commPort == 2);
        EXPECT_EQ(rig.windows.main.VQ3Status.toolTip() + rig.port.takeSent(), kProbe + "U");
    }
}

TEST(LinkPortTest, SilentPortGetsItsHintInTheStatusToolTipUntilItSpeaks)
{
    // Ticks of silence (500 ms each), the tick after which a byte arrives (0: none), the hint shown.
    const std::tuple<int, int, bool> rows[] = {{19, 0, false}, {20, 0, true}, {30, 5, false}, {30, 25, false}};
    for (const auto& [ticks, answerAfter, hinted] : rows) {
        LinkRig rig;
        rig.openPort(1);
        for (int tick = 1; tick <= ticks; ++tick) {
            tickProbe(rig);
            if (tick == answerAfter)
                rig.port.deliver("x");
        }
        EXPECT_EQ(rig.windows.main.VQ3Status.toolTip(), hinted ? shell::silentPortHint("/dev/ttyUSB0") : "") << ticks;
        // Counted afresh after a port change.
        rig.link.selectComPort(2);
        for (int tick = 1; tick <= 20; ++tick, tickProbe(rig))
            EXPECT_EQ(rig.windows.main.VQ3Status.toolTip(), "") << tick;
        EXPECT_EQ(rig.windows.main.VQ3Status.toolTip(), shell::silentPortHint("/dev/ttyUSB0"));
    }
}

TEST(LinkPortTest, APortBackFromBeingLostCountsItsSilenceAfresh)
{
    // Whether the unit answers once the port is back; the hints reported from the loss on.
    const std::pair<bool, std::vector<PortHint>> rows[] = {
        {true, {PortHint::Lost, PortHint::None}},
        {false, {PortHint::Lost, PortHint::None, PortHint::Silent}},
    };
    for (const auto& [answers, hints] : rows) {
        LinkRig rig;
        rig.openPort(1);
        for (int tick = 1; tick <= 20; ++tick)
            tickProbe(rig);
        ASSERT_EQ(rig.display.hints.back(), PortHint::Silent);
        rig.display.hints.clear();
        rig.run({portFails, tickProbe, tickProbe});
        ASSERT_TRUE(rig.port.isOpen());
        if (answers)
            rig.port.deliver("x");
        for (int tick = 1; tick <= 20; ++tick)
            tickProbe(rig);
        EXPECT_EQ(rig.display.hints, hints) << answers;
        EXPECT_EQ(rig.windows.main.VQ3Status.toolTip(), answers ? "" : shell::silentPortHint("/dev/ttyUSB0"));
    }
}

TEST(LinkPortTest, PortChangeDuringATransferEndsItWithoutALaterTimeOut)
{
    for (const auto& transfer : {seq(askRead, deliver("U\1")), seq(askWrite(kImage), echo(2))}) {
        for (const bool newPortWorks : {true, false}) {
            LinkRig rig;
            rig.run({kConnect, transfer});
            rig.port.openError = newPortWorks ? std::nullopt : std::optional(PortError{8005, "busy"});
            rig.link.selectComPort(2);
            EXPECT_TRUE(rig.probing());
            EXPECT_EQ(rig.host.boxes.size(), newPortWorks ? 0U : 2U);
            // The unit on the new port is read afresh.
            rig.port.openError.reset();
            rig.run({kOpen, tickProbe, kEcho, deliver(kId), askRead, deliver(reply(1, 2, testImage(5)))});
            EXPECT_EQ(rig.host.decoded, std::vector{testImage(5)});
        }
    }
}

TEST(LinkDrainTest, BurstThatNeverLeavesIsDiscardedAfterFourProbePeriodsOrWhenThePortFails)
{
    LinkRig rig;
    rig.run({kConnect, askRead, tickRead, tickProbe, tickProbe, tickProbe, tickProbe, tickProbe});
    EXPECT_EQ(rig.port.takeSent(), "U" + kBurst + kProbe);
    rig.run({askRead, tickRead, portFails, tickProbe, tickProbe});
    EXPECT_EQ(rig.port.takeSent(), "U" + kBurst + kProbe);
}

TEST(LinkClosingTest, ClosesOnlyOnceEverythingSentHasLeft)
{
    // What is under way, what ends the wait, what must have gone out.
    const std::tuple<Step, Step, std::string> rows[] = {
        {seq(), kAllSent, "E"},
        {seq(askWrite(kImage), echo(57)), kAllSent, kImage.substr(0, 58) + kBurst + "E"},
        {seq(askRead, deliver(kId.substr(0, 40))), kAllSent, "U" + kBurst + "E"},
        {seq(askWrite(kImage), echo(129)), kAllSent, kUB + "E"},
        {seq(), seq(tickProbe, tickProbe, tickProbe), "E"},
        {seq(), portFails, "E"},
    };
    for (const auto& [before, end, wire] : rows) {
        LinkRig rig;
        rig.run({kConnect, before, kClose});
        // What the unit sends, a probe tick and the user's commands change nothing while the port closes.
        rig.run({deliver(kProbe + kId), tickProbe, askRead, askWrite(kImage), clickDisconnect, kClose});
        EXPECT_EQ(rig.port.takeSent(), wire);
        EXPECT_TRUE(rig.port.isOpen() && rig.host.boxes.empty() && rig.host.completed.empty());
        EXPECT_FALSE(rig.readTimer.isActive() || rig.writeTimer.isActive() || rig.link.transferUnderWay());
        EXPECT_EQ(rig.host.portsClosed, 0);
        end(rig);
        EXPECT_FALSE(rig.port.isOpen() || rig.probeTimer.isActive() || rig.host.busy);
        EXPECT_TRUE(rig.host.portsClosed == 1 && rig.host.boxes.empty());
    }
    LinkRig closed;
    closed.link.closeWhenSent();
    EXPECT_TRUE(closed.host.portsClosed == 1 && closed.port.sent.empty());
}

} // namespace
} // namespace qm::link
