#include "shell/UnitLink.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/ScriptedUi.h"
#include "link/LinkMessages.h"
#include "shell/Program.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace qm::shell
{
namespace
{

using forms::Mode;

const std::string kProbe(1, '\xAA');

class UnitLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        files.files["/opt/quellmark/vq3.ini"] =
            storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"});
        link.setTransactionRecorder(
            [this](link::Transaction transaction, const link::LinkState& state, const std::string& bytes) {
                recorded.push_back({transaction, state.modelName, bytes});
            });
        ASSERT_TRUE(program.start());
        sentAtStartUp = port.takeSent();
    }

    /// Answers the probe and the identification read as a VQ-3+ with firmware 2 holding the image.
    void connect(const std::string& image)
    {
        ASSERT_TRUE(echoTimer.tick());
        ASSERT_EQ(port.takeSent(), kProbe);
        port.deliver(kProbe);
        ASSERT_EQ(port.takeSent(), "U");
        port.deliver(std::string("U\x01\x02", 3) + image);
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

    /// The image of the bundled Tracking example, as the unit would hold it.
    std::string trackingImage()
    {
        Session other(files);
        other.startUp();
        files.files["/t.vq3"] = storage::joinLines(
            {"3", "0", "0", "0", "1", "1", "0", "K1ABC", "APRS", "",  "",  "",  "",  "9", "3",     "0", "0",
             "0", ">", "1", "0", "6", "2", "",  "0",     "0",    "0", "0", ">", "0", "0", "6",     "2", "",
             "0", "0", "0", "0", ">", "0", "0", "6",     "2",    "",  "0", "0", "0", "0", ">",     "0", "0",
             "6", "2", "",  "0", "0", "0", "0", ">",     "0",    "0", "6", "2", "",  "0", "0",     "0", "0",
             ">", "0", "0", "6", "2", "",  "0", "0",     "0",    "0", ">", "0", "0", "6", "2",     "",  "0",
             "0", "0", "0", ">", "0", "0", "6", "2",     "",     "0", "0", "0", "0", ">", "0",     "0", "6",
             "2", "",  "0", "0", "0", "0", ">", "0",     "0",    "6", "2", "!", "/", "0", "Mobile"});
        EXPECT_EQ(other.openConfigurationFile("/t.vq3").kind, Session::OpenOutcome::Kind::Loaded);
        const auto compiled = other.checkAndCompile();
        EXPECT_FALSE(compiled.refusal);
        return compiled.downloadImage.substr(1);
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
    std::string sentAtStartUp;
};

TEST_F(UnitLinkTest, StartUpProbesAsSoonAsThePortIsOpenAndAnEchoStartsTheIdentification)
{
    EXPECT_EQ(sentAtStartUp, kProbe);
    EXPECT_TRUE(echoTimer.isActive());
    port.deliver(kProbe);
    EXPECT_EQ(port.takeSent(), "U");
}

TEST_F(UnitLinkTest, IdentifiesTheUnitWithoutTouchingTheWindows)
{
    EXPECT_TRUE(port.isOpen());
    const std::string image = trackingImage();
    connect(image);
    EXPECT_EQ(w.main.window.caption(), "Quellmark VQ-3+ (v2.0) on COM1");
    EXPECT_EQ(w.main.VQ3Status.caption(), "Connected");
    EXPECT_EQ(w.tracking.station.MyCall.text(), "N0CALL");
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].transaction, link::Transaction::Identification);
    EXPECT_EQ(recorded[0].model, "VQ-3+ ");
    EXPECT_EQ(recorded[0].bytes, image);
}

TEST_F(UnitLinkTest, ReadFillsTheWindowsOfTheUnitsMode)
{
    const std::string image = trackingImage();
    connect(image);
    program.read();
    EXPECT_EQ(port.takeSent(), "U");
    port.deliver(std::string("U\x01\x02", 3) + image);
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
    const std::string image = trackingImage();
    files.files["/home/user/b.vq3"] =
        storage::joinLines({"1", "0", "0", "0", "0", "1", "0", "TEST", "",  "APRS", "",  "",
                            "",  "",  "0", "0", "0", "0", "0", "0",    "0", "0",    "HI"});
    program.openFile("/home/user/b.vq3");
    connect(image);
    w.beacon.BcnMsgText.setText("EDITED");
    ui.buttons.push_back(forms::Button::Discard);
    program.read();
    EXPECT_EQ(ui.calls.back(), "box:Unsaved Changes");
    EXPECT_EQ(port.takeSent(), "U");
    port.deliver(std::string("U\x01\x02", 3) + image);
    EXPECT_EQ(w.tracking.TrkComments.text(), "Mobile");
    EXPECT_EQ(program.windowTitle(), "Quellmark VQ-3+ (v2.0) on COM1");
    EXPECT_EQ(program.session().document().path(), "");
    EXPECT_EQ(files.files["/home/user/b.vq3"].find("EDITED"), std::string::npos);
}

TEST_F(UnitLinkTest, WriteSendsTheCompiledImageByteByByte)
{
    const std::string image = trackingImage();
    connect(image);
    program.read();
    port.deliver(std::string("U\x01\x02", 3) + image);
    port.takeSent();
    w.tracking.TrkComments.setText("Portable");
    ASSERT_TRUE(program.write());
    const std::string wire = echoWrite();
    EXPECT_EQ(wire.substr(0, 1), "D");
    EXPECT_EQ(wire.substr(1, 106), image.substr(0, 106));
    EXPECT_EQ(wire.substr(108, 8), "Portable");
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(port.takeSent(), "U");
    port.deliver(std::string("U\x01\x02", 3) + wire.substr(1));
    EXPECT_EQ(ui.boxes.back().title, "Download Complete");
    EXPECT_EQ(recorded.back().transaction, link::Transaction::Write);
    EXPECT_EQ(recorded.back().bytes, wire.substr(1));
    EXPECT_TRUE(program.session().state().link.downloadImage.empty());
}

TEST_F(UnitLinkTest, ReadBackThatDiffersNamesTheFieldWithBothValuesAndTheBackupOfTheEarlierConfiguration)
{
    std::vector<std::string> lookedFor;
    link.setBackupFinder([&lookedFor](const std::string& bytes) {
        lookedFor.push_back(bytes);
        return std::string("/home/ham/backups/20261206-084512-123-VQ-3+-identify.vq3");
    });
    const std::string image = trackingImage();
    connect(image);
    program.read();
    port.deliver(std::string("U\x01\x02", 3) + image);
    port.takeSent();
    w.tracking.TrkComments.setText("Portable");
    ASSERT_TRUE(program.write());
    std::string stored = echoWrite().substr(1);
    stored[110] = 'x';
    port.takeSent();

    port.deliver(std::string("U\x01\x02", 3) + stored);

    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0], link::writeNotVerifiedBox("Comments (written \"Portable\", read back \"Porxable\")",
                                                     "/home/ham/backups/20261206-084512-123-VQ-3+-identify.vq3"));
    EXPECT_EQ(lookedFor, std::vector<std::string>{image});
    EXPECT_EQ(recorded.back().transaction, link::Transaction::Read);
    EXPECT_EQ(recorded.back().bytes, stored);
    EXPECT_EQ(w.tracking.TrkComments.text(), "Portable");
}

TEST_F(UnitLinkTest, EndingDuringAWriteAsksThenBreaksItOffAndEndsOnceTheBurstHasLeft)
{
    struct Row
    {
        forms::Button answer;
        std::string sent;
        bool ended;
    };
    const Row rows[] = {
        {forms::Button::No, "", false},
        {forms::Button::Yes, std::string(128, '\0') + "EE", true},
    };
    const std::string image = trackingImage();
    connect(image);
    program.read();
    port.deliver(std::string("U\x01\x02", 3) + image);
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

TEST_F(UnitLinkTest, EndingWhileNoTransferRunsClosesAtOnceWithoutAQuestion)
{
    connect(trackingImage());

    program.exit();

    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(port.takeSent(), "E");
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(ui.ended);
}

TEST_F(UnitLinkTest, AGoodPortChangeIsRemembered)
{
    program.selectComPort(3);
    EXPECT_EQ(port.commPort, 3);
    EXPECT_TRUE(w.main.menus.com3.checked());
    EXPECT_EQ(storage::splitLines(files.files["/opt/quellmark/vq3.ini"])[0], "3");
}

struct TransferEnding
{
    const char* how;
    bool write;
    /// What arrives before the ending (a read's first 47 bytes).
    std::string firstBytes;
    std::function<void()> end;
};

TEST_F(UnitLinkTest, EveryWayATransferEndsTakesItsProgressAway)
{
    const std::string image = trackingImage();
    const std::string replyStart = std::string("U\x01\x02", 3) + image.substr(0, 44);
    const TransferEnding endings[] = {
        {"read cut short, then its time-out", false, replyStart, [this] { ASSERT_TRUE(readTimer.tick()); }},
        {"read answered by a foreign first byte", false, "X" + std::string(46, '\0'),
         [this] { port.deliver(std::string(84, '\0')); }},
        {"read abandoned for another port", false, replyStart, [this] { program.selectComPort(2); }},
        {"read on a port that fails", false, replyStart,
         [this] {
             port.fail({8020, "gone"});
         }},
        {"write echoed wrongly", true, "", [this] { port.deliver("?"); }},
        {"write whose echoes stop, then its time-out", true, "", [this] { ASSERT_TRUE(writeTimer.tick()); }},
    };
    connect(image);
    program.read();
    port.deliver(std::string("U\x01\x02", 3) + image);
    for (const TransferEnding& ending : endings) {
        port.takeSent();
        if (ending.write) {
            ASSERT_TRUE(program.write()) << ending.how;
            port.deliver(port.takeSent());
        } else {
            program.read();
            ASSERT_EQ(port.takeSent(), "U") << ending.how;
            port.deliver(ending.firstBytes);
        }
        ASSERT_LT(ui.progress.first, ui.progress.second) << ending.how;
        ending.end();
        EXPECT_EQ(ui.progress.first, ui.progress.second) << ending.how;
        port.allSent();
        if (!port.isOpen())
            program.selectComPort(1);
        ASSERT_TRUE(echoTimer.tick());
        port.deliver(kProbe);
        if (port.takeSent().find('U') != std::string::npos)
            port.deliver(std::string("U\x01\x02", 3) + image);
    }
}

TEST_F(UnitLinkTest, AWriteBrokenOffEndsItsBoxWithWhereTheEarlierConfigurationIsKept)
{
    const std::string kept = "/home/ham/backups/20261206-084512-123-VQ-3+-fw2-identification-before-write.vq3";
    const struct
    {
        const char* how;
        forms::MessageBox box;
        std::string found;
        std::function<void()> end;
    } cases[] = {
        {"echoes stop", link::writeTimeOutBox(), kept, [this] { ASSERT_TRUE(writeTimer.tick()); }},
        {"echo wrong", link::echoMismatchBox(), kept, [this] { port.deliver("?"); }},
        {"echoes stop, no backup", link::writeTimeOutBox(), "", [this] { ASSERT_TRUE(writeTimer.tick()); }},
    };
    const std::string image = trackingImage();
    connect(image);
    program.read();
    port.deliver(std::string("U\x01\x02", 3) + image);
    for (const auto& c : cases) {
        std::vector<std::string> lookedFor;
        link.setBackupFinder([&lookedFor, found = c.found](const std::string& bytes) {
            lookedFor.push_back(bytes);
            return found;
        });
        ui.boxes.clear();
        port.takeSent();
        ASSERT_TRUE(program.write()) << c.how;
        port.deliver(port.takeSent());
        c.end();
        forms::MessageBox expected = c.box;
        if (!c.found.empty())
            expected.text += "\r\n\r\nThe configuration the unit held before this write is kept in " + c.found + ".";
        ASSERT_EQ(ui.boxes.size(), 1u) << c.how;
        EXPECT_EQ(ui.boxes[0], expected) << c.how;
        EXPECT_EQ(lookedFor, std::vector<std::string>{image}) << c.how;
        // The unit answers again and is identified anew.
        port.allSent();
        ASSERT_TRUE(echoTimer.tick());
        port.deliver(kProbe);
        if (port.takeSent().find('U') != std::string::npos)
            port.deliver(std::string("U\x01\x02", 3) + image);
    }
}

} // namespace
} // namespace qm::shell
