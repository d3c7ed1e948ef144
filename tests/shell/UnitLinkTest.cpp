// The program over the link with a unit on a fake port and fake timers: identification, Read, Write with its
// read-back, ending during a transfer, and every way a transfer breaks off.
#include "shell/UnitLink.h"
#include "ShellRig.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "link/LinkMessages.h"
#include "shell/Backups.h"

#include <functional>

namespace qm::shell
{
namespace
{

const std::string kProbe(1, '\xAA');
const std::string kReplyHead("U\x01\x02", 3);
const std::string kKept = "/home/ham/backups/20261206-084512-123-VQ-3+-fw2-identify-before-write.vq3";

class UnitLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        files.files[rig::kIni] = rig::iniFile();
        link.setTransactionRecorder(
            [this](link::Transaction transaction, const link::LinkState& state, const std::string& bytes) {
                recorded.push_back({transaction, state.modelName, bytes});
            });
        ASSERT_TRUE(program.start());
        EXPECT_EQ(port.takeSent(), kProbe);
    }

    /// Answers the probe and the identification as a VQ-3+ with firmware 2 holding the image.
    void connect()
    {
        ASSERT_TRUE(echoTimer.tick());
        ASSERT_EQ(port.takeSent(), kProbe);
        port.deliver(kProbe);
        ASSERT_EQ(port.takeSent(), "U");
        port.deliver(kReplyHead + image);
    }

    /// Connects and reads the unit's configuration into the windows.
    void connectAndRead()
    {
        connect();
        program.read();
        ASSERT_EQ(port.takeSent(), "U");
        port.deliver(kReplyHead + image);
    }

    /// Echoes every byte of a write as the unit does; returns the bytes written.
    std::string echoWrite()
    {
        std::string wire;
        for (int byte = 0; byte < 129; ++byte) {
            const std::string sent = port.takeSent();
            EXPECT_EQ(sent.size(), 1u) << byte;
            wire += sent;
            port.deliver(sent);
        }
        return wire;
    }

    /// After a broken-off transfer the unit answers the probe again and is identified anew.
    void reconnect()
    {
        port.allSent();
        if (!port.isOpen())
            program.selectComPort(1);
        ASSERT_TRUE(echoTimer.tick());
        port.deliver(kProbe);
        if (port.takeSent().find('U') != std::string::npos)
            port.deliver(kReplyHead + image);
    }

    struct Record
    {
        link::Transaction transaction;
        std::string model;
        std::string bytes;
    };

    fakes::MemoryFileSystem files;
    fakes::ScriptedUi ui;
    fakes::FakeSerialPort port;
    fakes::FakeTimer echoTimer{500};
    fakes::FakeTimer readTimer{5000};
    fakes::FakeTimer writeTimer{5000};
    std::optional<UnitLink> madeLink;
    Program program{files, ui, Environment{{"/opt/quellmark", "/root/.config/quellmark"}, "/home/user", {}},
                    [this](Session& session, IniSettings& ini) -> LinkRequests& {
                        return madeLink.emplace(session, ui, port, echoTimer, readTimer, writeTimer, &ini);
                    }};
    UnitLink& link = *madeLink;
    forms::Windows& w = program.session().windows();
    std::vector<Record> recorded;
    const std::string image = rig::compiledImage(rig::exampleLines("tracking.vq3", {{7, "K1ABC"}, {116, "Mobile"}}));
};

TEST_F(UnitLinkTest, IdentificationLeavesTheWindowsAloneAndReadFillsTheWindowsOfTheUnitsMode)
{
    connect();
    EXPECT_EQ(w.main.window.caption(), "Quellmark VQ-3+ (v2.0) on COM1");
    EXPECT_EQ(w.main.VQ3Status.caption(), "Connected");
    EXPECT_EQ(w.tracking.station.MyCall.text(), "N0CALL");
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].transaction, link::Transaction::Identification);
    EXPECT_EQ(recorded[0].model, "VQ-3+ ");
    EXPECT_EQ(recorded[0].bytes, image);

    program.read();
    EXPECT_EQ(port.takeSent(), "U");
    port.deliver(kReplyHead + image);
    EXPECT_EQ(program.session().state().currentMode, forms::Mode::Tracking);
    EXPECT_TRUE(w.tracking.station.window.visible());
    EXPECT_EQ(w.tracking.station.MyCall.text(), "K1ABC");
    EXPECT_EQ(w.tracking.TrkComments.text(), "Mobile");
    EXPECT_EQ(w.tracking.station.SSID.text(), "9");
    EXPECT_EQ(recorded.back().transaction, link::Transaction::Read);
    EXPECT_EQ(ui.progress, std::make_pair(131, 131));
}

TEST_F(UnitLinkTest, AReadAfterTheQuestionLeavesTheWindowsWithTheUnitsConfigurationAndNoFile)
{
    files.files["/home/user/b.vq3"] = rig::example("beacon.vq3");
    program.openFile("/home/user/b.vq3");
    connect();
    w.beacon.BcnMsgText.setText("EDITED");
    ui.buttons.push_back(forms::Button::Discard);
    program.read();
    EXPECT_EQ(ui.calls.back(), "box:Unsaved Changes");
    EXPECT_EQ(port.takeSent(), "U");
    port.deliver(kReplyHead + image);
    EXPECT_EQ(w.tracking.TrkComments.text(), "Mobile");
    EXPECT_EQ(program.windowTitle(), "Quellmark VQ-3+ (v2.0) on COM1");
    EXPECT_EQ(program.session().document().path(), "");
    EXPECT_EQ(files.files["/home/user/b.vq3"], rig::example("beacon.vq3"));
}

TEST_F(UnitLinkTest, WriteSendsTheImageByteByByteAndReadsItBack)
{
    std::vector<std::string> lookedFor;
    link.setBackupFinder([&lookedFor](const std::string& bytes) {
        lookedFor.push_back(bytes);
        return kKept;
    });
    connectAndRead();
    for (const bool storedWrongly : {true, false}) {
        SCOPED_TRACE(storedWrongly);
        ui.boxes.clear();
        port.takeSent();
        w.tracking.TrkComments.setText("Portable");
        ASSERT_TRUE(program.write());
        const std::string wire = echoWrite();
        EXPECT_EQ(wire.substr(0, 1), "D");
        EXPECT_EQ(wire.substr(1, 106), image.substr(0, 106));
        EXPECT_EQ(wire.substr(108, 8), "Portable");
        EXPECT_TRUE(ui.boxes.empty());
        EXPECT_EQ(port.takeSent(), "U");
        std::string stored = wire.substr(1);
        if (storedWrongly)
            stored[110] = 'x';
        port.deliver(kReplyHead + stored);
        EXPECT_EQ(ui.boxes, std::vector<forms::MessageBox>{
                                storedWrongly ? link::writeNotVerifiedBox(
                                                    "Comments (written \"Portable\", read back \"Porxable\")", kKept)
                                              : link::downloadCompleteBox()});
        EXPECT_EQ(recorded.back().bytes, stored);
        EXPECT_EQ(w.tracking.TrkComments.text(), "Portable");
        EXPECT_EQ(recorded.back().transaction, storedWrongly ? link::Transaction::Read : link::Transaction::Write);
    }
    EXPECT_EQ(lookedFor, std::vector<std::string>{image});
}

TEST_F(UnitLinkTest, EndingDuringAWriteAsksThenBreaksItOffAndEndsOnceTheBurstHasLeft)
{
    const struct
    {
        forms::Button answer;
        std::string sent;
        bool ended;
    } rows[] = {
        {forms::Button::No, "", false},
        {forms::Button::Yes, std::string(128, '\0') + "EE", true},
    };
    connectAndRead();
    port.takeSent();
    for (const auto& row : rows) {
        ui.boxes.clear();
        if (!link.transferUnderWay()) {
            ASSERT_TRUE(program.write());
            for (int byte = 0; byte < 68; ++byte)
                port.deliver(port.takeSent());
            port.takeSent();
        }
        ui.buttons.push_back(row.answer);
        program.menuCommand("exit");
        EXPECT_EQ(ui.boxes, std::vector<forms::MessageBox>{exitDuringTransferBox()});
        EXPECT_EQ(port.takeSent(), row.sent);
        EXPECT_FALSE(ui.ended);
        EXPECT_EQ(link.transferUnderWay(), !row.ended);
        EXPECT_EQ(w.main.window.enabled(), !row.ended);
        port.allSent();
        EXPECT_EQ(ui.ended, row.ended);
        EXPECT_EQ(port.isOpen(), !row.ended);
    }
}

TEST_F(UnitLinkTest, APortChangeIsRememberedAndEndingWithoutATransferClosesAtOnce)
{
    program.selectComPort(3);
    EXPECT_EQ(port.commPort, 3);
    EXPECT_TRUE(w.main.menus.com3.checked());
    EXPECT_EQ(storage::splitLines(files.files[rig::kIni])[0], "3");
    connect();
    program.exit();
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(port.takeSent(), "E");
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(ui.ended);
}

TEST_F(UnitLinkTest, EveryWayATransferEndsTakesItsProgressAwayAndABrokenWriteSaysWhereTheEarlierOneIsKept)
{
    const std::string replyStart = kReplyHead + image.substr(0, 44);
    const struct
    {
        const char* how;
        bool write;
        /// What arrives before the ending (a read's first 47 bytes).
        std::string firstBytes;
        std::function<void()> end;
        std::optional<forms::MessageBox> box;
    } endings[] = {
        {"read cut short, then its time-out", false, replyStart, [this] { ASSERT_TRUE(readTimer.tick()); }, {}},
        {"read answered by a foreign first byte",
         false,
         "X" + std::string(46, '\0'),
         [this] { port.deliver(std::string(84, '\0')); },
         {}},
        {"read abandoned for another port", false, replyStart, [this] { program.selectComPort(2); }, {}},
        {"read on a port that fails",
         false,
         replyStart,
         [this] {
             port.fail({8020, "gone"});
         },
         {}},
        {"write echoed wrongly", true, "", [this] { port.deliver("?"); }, link::echoMismatchBox()},
        {"write whose echoes stop", true, "", [this] { ASSERT_TRUE(writeTimer.tick()); }, link::writeTimeOutBox()},
    };
    connectAndRead();
    for (const bool backupFound : {true, false}) {
        link.setBackupFinder([backupFound](const std::string&) { return backupFound ? kKept : std::string(); });
        for (const auto& ending : endings) {
            SCOPED_TRACE(ending.how);
            ui.boxes.clear();
            port.takeSent();
            if (ending.write) {
                ASSERT_TRUE(program.write());
                port.deliver(port.takeSent());
            } else {
                program.read();
                ASSERT_EQ(port.takeSent(), "U");
                port.deliver(ending.firstBytes);
            }
            ASSERT_LT(ui.progress.first, ui.progress.second);
            ending.end();
            EXPECT_EQ(ui.progress.first, ui.progress.second);
            if (ending.box) {
                forms::MessageBox expected = *ending.box;
                if (backupFound)
                    expected.text += "\r\n\r\n" + earlierConfigurationSentence(kKept);
                EXPECT_EQ(ui.boxes, std::vector<forms::MessageBox>{expected});
            }
            reconnect();
        }
    }
}

} // namespace
} // namespace qm::shell
