// Reads and writes with an identified unit: what the unit does, what arrives on the wire, what the user is told.
#include "link/LinkRig.h"

namespace qm::link
{
namespace
{

const std::string kImage = "D" + testImage(3);
const std::string kReply = reply(0, 4, testImage(3));
/// What a unit whose memory lies reads back after kImage.
const std::string kStored = std::string(kImage.substr(1)).replace(40, 1, "\x01");

/// While the next box is up, this step happens (a toolkit delivers events under a modal box).
Step whileBoxIsUp(Step step)
{
    return [step](LinkRig& r) {
        r.host.duringBox = [&r, step, seen = r.host.duringBox] {
            seen();
            step(r);
        };
    };
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
const Step kWrite = askWrite(kImage);
const Step kNoReadBack = [](LinkRig& r) { r.state.verifyWrites = false; };

const TransferRow kTransfers[] = {
    {"read", seq(askRead, deliver(kReply)), "U", kNoBox, true, kRead},
    {"read in pieces, probe echoes ahead",
     seq(askRead, deliver(kProbe), deliver(kProbe + kReply.substr(0, 60)), deliver(kReply.substr(60))), "U", kNoBox,
     true, kRead},
    {"read, silent unit", seq(askRead, tickRead), kTimedOut, readTimeOutBox(), false},
    {"read, 130 bytes", seq(askRead, deliver(kReply.substr(0, 60)), deliver(kReply.substr(60, 70)), tickRead),
     kTimedOut, readTimeOutBox(), false},
    {"read, 136 bytes at once", seq(askRead, deliver(kReply + "xxxxx"), tickRead), kTimedOut, readTimeOutBox(), false},
    {"read, 140 bytes passing 131 between notifications",
     seq(askRead, deliver(kReply.substr(0, 100)), deliver(kReply.substr(100) + "123456789"), tickRead), kTimedOut,
     readTimeOutBox(), false},
    {"read, reply not beginning with U", seq(askRead, deliver("X" + kReply.substr(1))), kTimedOut, badReplyBox(), true},
    {"read, reply while the time-out box is up", seq(askRead, whileBoxIsUp(deliver(kReply)), tickRead), kTimedOut,
     readTimeOutBox(), false},
    {"read, port fails", seq(askRead, deliver("U\1"), portFails), "U", readTimeOutBox(), false},
    {"read, write and disconnect asked meanwhile", seq(askRead, kWrite, clickDisconnect, deliver(kReply)), "U", kNoBox,
     true, kRead},
    {"write", seq(kWrite, echo(129), deliver(kReply)), kImage + "U", downloadCompleteBox(), true, kWritten},
    {"write, probe echo ahead of the first echo", seq(kWrite, deliver(kProbe), echo(129), deliver(kReply)),
     kImage + "U", downloadCompleteBox(), true, kWritten},
    {"write, not read back", seq(kNoReadBack, kWrite, echo(129)), kImage, downloadCompleteBox(), true, kWritten},
    {"write, read back differs", seq(kWrite, echo(129), deliver(reply(0, 4, kStored))), kImage + "U", kVerifyBox, true,
     kReadBack},
    {"write, read back not beginning with U", seq(kWrite, echo(129), deliver("X" + kReply.substr(1))),
     kImage + "U" + kBurst, badReplyBox(), true},
    {"write, read back times out", seq(kWrite, echo(129), deliver("U\1\2"), tickRead), kImage + "U" + kBurst,
     readTimeOutBox(), false},
    {"write, bad echo of D", seq(kWrite, deliver("d")), "D" + kBurst, echoMismatchBox(), true},
    {"write, bad 5th echo", seq(kWrite, echo(4), deliver("\1")), kImage.substr(0, 5) + kBurst, echoMismatchBox(), true},
    {"write, bad last echo", seq(kWrite, echo(128), deliver("\1")), kImage + kBurst, echoMismatchBox(), true},
    {"write, echoes stop", seq(kWrite, echo(100), tickWrite), kImage.substr(0, 101) + kBurst, writeTimeOutBox(), false},
    {"write, port fails", seq(kWrite, echo(1), portFails), kImage.substr(0, 2), writeTimeOutBox(), false},
    {"write, read and disconnect asked meanwhile",
     seq(kWrite, echo(3), askRead, clickDisconnect, echo(126), deliver(kReply)), kImage + "U", downloadCompleteBox(),
     true, kWritten},
};

TEST(LinkTransferTest, WireAndUserSeeEachOutcome)
{
    for (const auto& row : kTransfers) {
        SCOPED_TRACE(row.name);
        LinkRig rig;
        rig.windows.main.menus.beacon.setChecked(true);
        rig.connect(1, 2, testImage(1));
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
        ASSERT_EQ(rig.host.mismatches.size(), row.box == kVerifyBox ? 1U : 0U);
        for (const auto& mismatch : rig.host.mismatches) {
            EXPECT_EQ(mismatch, (std::array<std::string, 3>{testImage(3), kStored, testImage(1)}));
        }
        if (wire.ends_with(kBurst)) {
            // No probe, read or write joins the burst on its way out; what the unit sends meanwhile is dropped.
            rig.link.read();
            rig.link.startDownload(kImage);
            for (int tick = 0; tick < 3; ++tick) {
                EXPECT_TRUE(rig.echoTimer.tick());
                rig.port.deliver(kProbe);
            }
            EXPECT_EQ(rig.port.takeSent(), "");
            EXPECT_FALSE(rig.windows.main.menus.read.enabled());
            rig.port.receive(kProbe);
            rig.port.allSent();
            EXPECT_EQ(rig.port.bytesWaiting(), 0U);
        }
        EXPECT_FALSE(rig.readTimer.tick() || rig.writeTimer.tick());
        EXPECT_EQ(rig.showsConnected() && rig.windows.main.menus.write.enabled(), row.staysConnected);
        EXPECT_EQ(rig.showsDisconnected(), !row.staysConnected);
        EXPECT_EQ(rig.state.modelName, row.staysConnected && row.completed == kRead ? "VQ-3 " : "VQ-3+ ");
        EXPECT_EQ(rig.state.unitImage,
                  row.completed.empty() ? (row.staysConnected ? testImage(1) : "") : row.completed.back().second);
        // The probes go on (on a lost port once it is opened again).
        rig.echoTimer.tick();
        rig.echoTimer.tick();
        EXPECT_TRUE(rig.port.takeSent().ends_with(kProbe));
    }
}

} // namespace
} // namespace qm::link
