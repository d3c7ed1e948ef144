// The program's commands over a recording link: start-up, Write's refusals, Exit during a transfer, the options
// kept in the program's own file and the field events by control name.
#include "ShellRig.h"
#include "forms/Controls.h"

namespace qm::shell
{
namespace
{

using forms::Button;
using forms::Mode;
using rig::kIni;
using rig::kOptions;
using Calls = std::vector<std::string>;

TEST(ProgramTest, StartUpTestsThePortThenOpensItOrSendsTheUserToTheSetupMenu)
{
    const struct
    {
        std::string ini;
        bool portFails;
        Calls calls;
    } cases[] = {
        {rig::iniFile(), false, {"TestSerialPort", "OpenSerialPort"}},
        {rig::iniFile(), true, {"TestSerialPort", "SelectSerialPort"}},
        // A delay position the list lacks stops the load, yet the window stays usable.
        {storage::joinLines({"2", "N0CALL", "0", "0", "99", "2", "FALSE", "Reserved", "Reserved", "Reserved"}),
         false,
         {"TestSerialPort", "OpenSerialPort"}},
    };
    for (const auto& c : cases) {
        rig::ProgramRig r;
        r.link.portFails = c.portFails;
        r.start(c.ini);
        EXPECT_EQ(r.link.calls, c.calls);
        EXPECT_TRUE(r.w.main.window.enabled());
        EXPECT_TRUE(r.w.main.menus.openconfiguration.enabled());
        EXPECT_TRUE(r.w.main.menus.com1.checked() || c.ini[0] == '2');
        for (auto* item :
             {&r.w.main.menus.read, &r.w.main.menus.write, &r.w.main.menus.saveconfiguration,
              &r.w.main.menus.newconfiguration, &r.w.main.menus.memorizedefaults, &r.w.main.menus.printprofiles})
            EXPECT_FALSE(item->enabled()) << item->name();
    }
}

TEST(ProgramTest, WriteRefusesWithTheRightBoxAndSendsNothing)
{
    const struct
    {
        std::optional<Mode> mode;
        std::string model;
        forms::MessageBox box;
    } cases[] = {
        {std::nullopt, "VQ-3+ ", selectModeBox()},   {Mode::Telemetry, "VQ-3 ", notOnPlainVq3Box()},
        {Mode::Beacon, "VQ-3 ", notOnPlainVq3Box()}, {Mode::Nmea, "VQ-3 ", notOnPlainVq3Box()},
        {Mode::Alarm, "VQ-3 ", notOnPlainVq3Box()},
    };
    for (const auto& c : cases) {
        rig::ProgramRig r;
        r.start();
        if (c.mode)
            r.program.session().selectMode(*c.mode);
        r.state.link.modelName = c.model;
        EXPECT_FALSE(r.program.write());
        EXPECT_EQ(r.ui.boxes, std::vector<forms::MessageBox>{c.box});
        EXPECT_TRUE(r.link.downloads.empty());
    }
    rig::ProgramRig r;
    r.start();
    r.state.link.modelName = "VQ-3 ";
    r.program.session().selectMode(Mode::Tracking);
    EXPECT_TRUE(r.program.write());
    ASSERT_EQ(r.link.downloads.size(), 1u);
    EXPECT_EQ(r.link.downloads[0].size(), 129u);

    // An invalid field: the box, then the focus on the field; an image of a mode the program cannot edit: silence.
    r.program.session().selectMode(Mode::Beacon);
    r.state.link.modelName = "VQ-3+ ";
    r.w.beacon.station.SSID.setText("0");
    r.ui.calls.clear();
    EXPECT_FALSE(r.program.write());
    EXPECT_EQ(r.ui.calls, (Calls{"pointer:normal", "box:Invalid SSID", "focus:BcnMySSID"}));
    r.state.currentMode.reset();
    r.state.unknownModeCode = 6;
    r.ui.calls.clear();
    EXPECT_FALSE(r.program.write());
    EXPECT_TRUE(r.ui.calls.empty());
    EXPECT_EQ(r.link.downloads.size(), 1u);
}

TEST(ProgramTest, WriteStoresTheShownProfileFirst)
{
    rig::ProgramRig r;
    r.start();
    r.program.session().selectMode(Mode::Tracking);
    r.program.profileTabClick(Mode::Tracking, 1);
    r.w.tracking.station.TmrMin.setText("5");
    ASSERT_TRUE(r.program.write());
    EXPECT_EQ(static_cast<unsigned char>(r.link.downloads[0][46 + 6 + 3]), 300u % 256u);
    EXPECT_EQ(static_cast<unsigned char>(r.link.downloads[0][46 + 6 + 2]) & 0x0Fu, 1u);
}

TEST(ProgramTest, ExitDuringATransferAsksAndEndsOnlyOnceThePortIsClosed)
{
    const struct
    {
        bool transferring;
        Button answer;
        bool transferEndsUnderTheBox;
        Calls calls;
        bool endsAtOnce;
        bool endsWhenClosed;
    } cases[] = {
        {false, Button::Yes, false, {"CloseSerialPort"}, true, true},
        {true, Button::No, false, {}, false, false},
        {true, Button::Yes, false, {"closeWhenSent"}, false, true},
        {true, Button::Yes, true, {"CloseSerialPort"}, true, true},
    };
    for (const auto& c : cases) {
        rig::ProgramRig r;
        r.start();
        r.link.calls.clear();
        r.link.transferring = c.transferring;
        r.ui.buttons.push_back(c.answer);
        if (c.transferEndsUnderTheBox)
            r.ui.onBox = [&r] { r.link.transferring = false; };

        r.program.exit();

        EXPECT_EQ(r.ui.boxes.size(), c.transferring ? 1u : 0u);
        if (c.transferring) {
            EXPECT_EQ(r.ui.boxes[0], exitDuringTransferBox());
        }
        EXPECT_EQ(r.link.calls, c.calls);
        EXPECT_EQ(r.ui.ended, c.endsAtOnce);
        EXPECT_EQ(r.w.main.window.enabled(), c.endsAtOnce || !c.endsWhenClosed);
        if (r.link.whenClosed)
            r.link.whenClosed();
        EXPECT_EQ(r.ui.ended, c.endsWhenClosed);
    }
}

TEST(ProgramTest, VerifyAfterWriteIsOnUntilTurnedOffAndKeptInTheProgramsOwnFile)
{
    rig::ProgramRig r;
    r.start();
    EXPECT_TRUE(r.w.main.menus.verifyafterwrite.checked());
    EXPECT_TRUE(r.state.link.verifyWrites);
    EXPECT_TRUE(r.program.menuCommand("verifyafterwrite"));
    EXPECT_FALSE(r.w.main.menus.verifyafterwrite.checked());
    EXPECT_FALSE(r.state.link.verifyWrites);
    EXPECT_EQ(r.files.files[kOptions], "VerifyAfterWrite=no\r\n");
    EXPECT_EQ(r.files.files[kIni], rig::iniFile());
    r.program.toggleVerifyAfterWrite();
    EXPECT_TRUE(r.state.link.verifyWrites);
    EXPECT_EQ(r.files.files[kOptions], "VerifyAfterWrite=yes\r\n");
    EXPECT_TRUE(r.ui.boxes.empty());

    // A setting that cannot be kept says why and holds until the program ends.
    r.files.writeErrors[kOptions] = storage::FileError{storage::error::kPermissionDenied, "Permission denied"};
    r.program.toggleVerifyAfterWrite();
    forms::MessageBox expected = storage::writeErrorBox({storage::error::kPermissionDenied, ""});
    expected.details = kOptions + ": Permission denied";
    EXPECT_EQ(r.ui.boxes, std::vector<forms::MessageBox>{expected});
    EXPECT_FALSE(r.state.link.verifyWrites);
}

TEST(ProgramOptionsTest, ReadsTheSettingsAndKeepsLinesItDoesNotKnow)
{
    const struct
    {
        std::string file;
        bool verify;
        std::string afterTurningOff;
    } cases[] = {
        {"VerifyAfterWrite=no\r\n", false, "VerifyAfterWrite=no\r\n"},
        {"VerifyAfterWrite=maybe\r\n", true, "VerifyAfterWrite=no\r\n"},
        {"Theme=dark\nVerifyAfterWrite=yes\n", true, "Theme=dark\r\nVerifyAfterWrite=no\r\n"},
        {"", true, "VerifyAfterWrite=no\r\n"},
    };
    for (const auto& c : cases) {
        fakes::MemoryFileSystem files;
        files.files["/cfg/quellmark.conf"] = c.file;
        ProgramOptions options(files, "/cfg/quellmark.conf");
        options.load();
        EXPECT_EQ(options.verifyAfterWrite(), c.verify) << c.file;
        EXPECT_FALSE(options.setVerifyAfterWrite(false));
        EXPECT_EQ(files.files["/cfg/quellmark.conf"], c.afterTurningOff) << c.file;
    }
}

TEST(ProgramTest, AnEditNeverTakesATextPastItsTypingLimit)
{
    rig::ProgramRig r;
    r.start();
    const struct
    {
        std::string control, before, edited, after;
    } cases[] = {
        {"TelMyCall", "N0CALL", "N0CALLX", "N0CALL"},
        {"BcnMyCall", "ABCDEFGH", "ABCDXFGH", "ABCDXFGH"},
        {"BcnMyCall", "ABCDEFGH", "ABCDEFGHI", "ABCDEFGH"},
        {"BcnMsgText", std::string(76, 'b'), std::string(77, 'b'), std::string(76, 'b')},
        {"BcnMsgText", std::string(74, 'b'), std::string(74, 'b') + "\r\n", std::string(74, 'b') + "\r\n"},
        {"AlmArmDelay", "127.5", "127.55", "127.5"},
        {"TrkToCall", "APRS", "APRSXYZ-12", "APRSXYZ-12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control + " " + c.edited);
        auto found = forms::findControl(r.w, c.control);
        ASSERT_TRUE(found);
        auto* field = std::get_if<forms::TextField*>(&*found);
        field ? (*field)->setText(c.before) : std::get<forms::PickList*>(*found)->setText(c.before);
        r.program.textChanged(c.control, c.edited);
        EXPECT_EQ(field ? (*field)->text() : std::get<forms::PickList*>(*found)->text(), c.after);
    }
    EXPECT_EQ(r.w.alarm.station.MyCall.text(), "ABCDXFGH");
}

TEST(ProgramTest, MenuCommandsByName)
{
    rig::ProgramRig r;
    r.start();
    EXPECT_TRUE(r.program.menuCommand("nmea"));
    EXPECT_EQ(r.state.currentMode, Mode::Nmea);
    EXPECT_TRUE(r.program.menuCommand("in9600"));
    EXPECT_TRUE(r.w.main.menus.in9600.checked());
    EXPECT_EQ(storage::splitLines(r.files.files[kIni])[2], "3");
    EXPECT_TRUE(r.program.menuCommand("com2"));
    EXPECT_EQ(r.link.calls.back(), "selectComPort 2");
    r.w.main.menus.read.setEnabled(true);
    r.ui.buttons.push_back(Button::Discard);
    EXPECT_TRUE(r.program.menuCommand("read"));
    EXPECT_EQ(r.link.calls.back(), "read");
    EXPECT_FALSE(r.program.menuCommand("about"));
    r.ui.calls.clear();
    r.program.showHelpContents();
    EXPECT_EQ(r.ui.calls, (Calls{"help:/opt/quellmark/vq3.hlp"}));
}

} // namespace
} // namespace qm::shell
