#include "link/LinkRig.h"

namespace qm::link
{
namespace
{

struct ComChangeRow
{
    std::string name;
    bool writing;
    std::optional<PortError> openError;
};

const ComChangeRow kComChangeRows[] = {
    {"read, new port works", false, std::nullopt},
    {"read, new port fails", false, PortError{8002, "no such port"}},
    {"write, new port works", true, std::nullopt},
    {"write, new port fails", true, PortError{8005, "busy"}},
};

TEST(LinkComChangeTest, ChangeDuringTransactionEndsItWithoutALaterTimeOut)
{
    for (const auto& row : kComChangeRows) {
        SCOPED_TRACE(row.name);
        LinkRig rig;
        rig.connect();
        if (row.writing) {
            rig.link.startDownload("D" + testImage(3));
            rig.echoLastByte();
            rig.echoLastByte();
        } else {
            rig.link.read();
            rig.port.deliver("U\x01");
        }
        rig.port.openError = row.openError;
        rig.host.clear();
        rig.link.selectComPort(2);
        rig.host.boxes.clear();

        EXPECT_TRUE(rig.inEchoMode());
        EXPECT_FALSE(rig.host.busy);
        for (int tick = 0; tick < 20; ++tick) {
            rig.readTimer.tick();
            rig.writeTimer.tick();
        }
        EXPECT_TRUE(rig.host.boxes.empty());
        EXPECT_TRUE(rig.host.completed.empty());
    }
}

TEST(LinkDisconnectTest, DisconnectDuringATransferSendsNothingIntoIt)
{
    for (const bool writing : {false, true}) {
        SCOPED_TRACE(writing ? "write" : "read");
        LinkRig rig;
        rig.connect();
        if (writing) {
            rig.link.startDownload("D" + testImage(3));
            rig.echoLastByte();
        } else {
            rig.link.read();
        }
        const std::string sent = rig.port.sent;
        rig.link.disconnectUnit();
        EXPECT_EQ(rig.port.sent, sent);
    }
}

TEST_F(LinkTest, ReadAfterComChangeDuringWriteDecodesTheNewUnit)
{
    connect();
    link.startDownload("D" + testImage(3));
    echoLastByte();
    link.selectComPort(2);
    echoTimer.tick();
    port.deliver(kProbe);
    port.deliver(reply(1, 2, testImage(9)));
    port.takeSent();
    host.clear();

    link.read();
    EXPECT_EQ(port.takeSent(), "U");
    port.deliver(reply(1, 2, testImage(5)));

    ASSERT_EQ(host.decoded.size(), 1U);
    EXPECT_EQ(host.decoded[0], testImage(5));
    EXPECT_TRUE(inEchoMode());
}

} // namespace
} // namespace qm::link
