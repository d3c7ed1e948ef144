// The program's commands over a recording link: start-up, Write's refusals, Exit during a transfer, the options
// kept in the program's own file and the field events by control name.
#include "ShellRig.h"
#include "forms/Controls.h"
#include "forms/PickLists.h"
#include "shell/SerialDevices.h"

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
    const std::tuple<std::string, bool, Calls> cases[] = {
        {rig::iniFile(), false, {"testPort", "openPort"}},
        {rig::iniFile(), true, {"testPort", "askToChoosePort"}},
        // A delay position the list lacks stops the load, yet the window stays usable.
        {storage::joinLines({"4", "N0CALL", "0", "0", "99", "2", "FALSE", "Reserved", "Reserved", "Reserved"}),
         false,
         {"testPort", "openPort"}},
    };
    for (const auto& [ini, portFails, calls] : cases) {
        rig::ProgramRig r;
        r.link.portFails = portFails;
        r.start(ini);
        EXPECT_EQ(r.link.calls, calls);
        EXPECT_TRUE(r.w.main.window.enabled());
        EXPECT_TRUE(r.w.main.menus.openconfiguration.enabled());
        const auto ports = r.w.main.menus.comItems();
        for (std::size_t n = 1; n <= ports.size(); ++n)
            EXPECT_EQ(ports[n - 1]->checked(), ini.starts_with(std::to_string(n))) << n;
        for (auto* item :
             {&r.w.main.menus.read, &r.w.main.menus.write, &r.w.main.menus.saveconfiguration,
              &r.w.main.menus.newconfiguration, &r.w.main.menus.memorizedefaults, &r.w.main.menus.printprofiles})
            EXPECT_FALSE(item->enabled()) << item->name();
    }
}

TEST(ProgramTest, WriteRefusesWithTheRightBoxAndSendsNothing)
{
    const std::tuple<std::optional<Mode>, std::string, forms::MessageBox> cases[] = {
        {std::nullopt, "VQ-3+ ", selectModeBox()},   {Mode::Telemetry, "VQ-3 ", notOnPlainVq3Box()},
        {Mode::Beacon, "VQ-3 ", notOnPlainVq3Box()}, {Mode::Nmea, "VQ-3 ", notOnPlainVq3Box()},
        {Mode::Alarm, "VQ-3 ", notOnPlainVq3Box()},
    };
    for (const auto& [mode, model, box] : cases) {
        rig::ProgramRig r;
        r.start();
        if (mode)
            r.program.session().selectMode(*mode);
        r.state.link.modelName = model;
        EXPECT_FALSE(r.program.write());
        EXPECT_EQ(r.ui.boxes, std::vector<forms::MessageBox>{box});
        EXPECT_TRUE(r.link.downloads.empty());
    }
    rig::ProgramRig r;
    r.start();
    r.state.link.modelName = "VQ-3 ";
    r.program.session().selectMode(Mode::Tracking);
    EXPECT_TRUE(r.program.write());
    ASSERT_EQ(r.link.downloads.size(), 1u);
    EXPECT_EQ(r.link.downloads[0].size(), 129u);

    // An invalid field: the box, then the focus on the field.
    r.program.session().selectMode(Mode::Beacon);
    r.state.link.modelName = "VQ-3+ ";
    r.w.beacon.station.SSID.setText("0");
    r.ui.calls.clear();
    EXPECT_FALSE(r.program.write());
    EXPECT_EQ(r.ui.calls, (Calls{"pointer:normal", "box:Invalid SSID", "focus:BcnMySSID"}));
    EXPECT_EQ(r.link.downloads.size(), 1u);
}

TEST(ProgramTest, ATextTypedUpToItsFieldsLimitIsOneWriteAccepts)
{
    // Typing stops exactly where the check refuses: the longest text a field takes is written, one more is refused.
    const std::pair<Mode, std::string> fields[] = {
        {Mode::Beacon, "BcnMsgText"},   {Mode::Tracking, "TrkComments"}, {Mode::Alarm, "AlarmMsgText1"},
        {Mode::Alarm, "AlarmMsgText2"}, {Mode::Alarm, "AlarmMsgText4"},
    };
    for (const auto& [mode, control] : fields) {
        rig::ProgramRig r;
        r.start();
        r.program.session().selectMode(mode);
        r.program.textChanged(r.w.station(mode).MyCall.name(), "K1ABC");
        r.program.textChanged(r.w.station(mode).ToCall.name(), "APRS");
        for (std::string typed = "c"; typed.size() <= 100; typed += 'c')
            r.program.textChanged(control, typed);
        auto& field = *std::get<forms::TextField*>(*forms::findControl(r.w, control));
        EXPECT_TRUE(r.program.write()) << control << " " << field.text().size();
        for (const auto& box : r.ui.boxes)
            ADD_FAILURE() << control << ": " << box.title;
        // One character more, as a file may hold it, is refused by the check.
        field.setText(field.text() + 'c');
        EXPECT_FALSE(r.program.write()) << control << " " << field.text().size();
    }
}

TEST(ProgramTest, AProfileTabOutsideOneToTenChangesNothing)
{
    rig::ProgramRig r;
    r.start();
    r.program.session().selectMode(Mode::Nmea);
    r.program.profileTabClick(Mode::Nmea, 9);
    for (const int tab : {10, -1, 9}) {
        r.program.profileTabClick(Mode::Nmea, tab);
        EXPECT_EQ(r.w.nmea.NMEAProfile.selectedIndex(), 9) << tab;
        EXPECT_EQ(r.w.nmea.NMEAProfileFrame.caption(), "Profile #10 Settings") << tab;
    }
}

TEST(ProgramTest, ChoosingAnEmptySpecialPathSendsTheFocusThereAndLeavingOneRelabelsEveryPath)
{
    for (const Mode mode : forms::kModes) {
        rig::ProgramRig r;
        r.start();
        r.program.session().selectMode(mode);
        forms::StationControls& station = r.w.station(mode);
        for (std::size_t n = 0; n < 4; ++n) {
            const std::size_t special = 3 - n;
            r.ui.calls.clear();
            r.program.listClick(station.Path[n].name(), forms::specialPathEntry(static_cast<int>(special) + 1));
            EXPECT_EQ(r.ui.calls, Calls{"focus:" + station.SpecPath[special].name()}) << station.Path[n].name();
            EXPECT_EQ(station.Path[n].listIndex(), 0);
        }
        r.program.textChanged(station.SpecPath[1].name(), "WIDE2-2");
        r.program.lostFocus(station.SpecPath[1].name());
        for (const auto& path : station.Path)
            EXPECT_EQ(path.entries()[static_cast<std::size_t>(forms::specialPathEntry(2))], "WIDE2-2") << path.name();
        r.ui.calls.clear();
        r.program.listClick(station.Path[3].name(), forms::specialPathEntry(2));
        EXPECT_EQ(r.ui.calls, Calls{});
        EXPECT_EQ(station.Path[3].text(), "WIDE2-2");
    }
}

TEST(ProgramTest, ExitDuringATransferAsksAndEndsOnlyOnceThePortIsClosed)
{
    // Transferring, the answer, the transfer ends under the box, the link calls, the program ends at once and when the
    // port has closed.
    const std::tuple<bool, Button, bool, Calls, bool, bool> cases[] = {
        {false, Button::Yes, false, {"closePort"}, true, true},
        {true, Button::No, false, {}, false, false},
        {true, Button::Yes, false, {"closeWhenSent"}, false, true},
        {true, Button::Yes, true, {"closePort"}, true, true},
        {true, Button::No, true, {"closePort"}, true, true},
    };
    for (const auto& [transferring, answer, endsUnderTheBox, calls, endsAtOnce, endsWhenClosed] : cases) {
        rig::ProgramRig r;
        r.start();
        r.link.calls.clear();
        r.link.transferring = transferring;
        r.ui.buttons.push_back(answer);
        if (endsUnderTheBox)
            r.ui.onBox = [&r] { r.link.transferring = false; };

        r.program.exit();

        EXPECT_EQ(r.ui.boxes, transferring ? std::vector{exitDuringTransferBox()} : std::vector<forms::MessageBox>{});
        EXPECT_EQ(r.link.calls, calls);
        EXPECT_EQ(r.ui.ended, endsAtOnce);
        EXPECT_EQ(r.w.main.window.enabled(), endsAtOnce || !endsWhenClosed);
        if (r.link.whenClosed)
            r.link.whenClosed();
        EXPECT_EQ(r.ui.ended, endsWhenClosed);
    }
}

TEST(ProgramTest, ASignalEndsAsExitDoesWithoutAskingOrSavingAnything)
{
    // Transferring, the link calls, the program ends at once.
    const std::tuple<bool, Calls, bool> cases[] = {
        {false, {"closePort"}, true},
        {true, {"closeWhenSent"}, false},
    };
    for (const auto& [transferring, calls, endsAtOnce] : cases) {
        rig::ProgramRig r;
        r.start();
        r.program.session().selectMode(Mode::Tracking);
        r.program.textChanged("TrkComments", "HELLO");
        ASSERT_TRUE(r.modified());
        const auto files = r.files.files;
        r.link.calls.clear();
        r.link.transferring = transferring;

        r.program.endOnSignal();
        r.program.endOnSignal();
        r.program.exit();

        EXPECT_TRUE(r.ui.boxes.empty());
        EXPECT_EQ(r.link.calls, calls);
        EXPECT_EQ(r.ui.ended, endsAtOnce);
        EXPECT_EQ(r.w.main.window.enabled(), endsAtOnce);
        if (r.link.whenClosed)
            r.link.whenClosed();
        EXPECT_TRUE(r.ui.ended);
        EXPECT_EQ(r.files.files, files);
    }
}

TEST(ProgramTest, VerifyAfterWriteIsOnUntilTurnedOffAndKeptInTheProgramsOwnFile)
{
    rig::ProgramRig r;
    r.start();
    EXPECT_TRUE(r.w.main.menus.verifyafterwrite.checked());
    EXPECT_TRUE(r.state.link.verifyWrites);
    rig::chooseMenuItem(r.program, "verifyafterwrite");
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

TEST(SerialDevicesTest, EachComPortIsNamedByItsDeviceInUtf8ForMenusAndInSingleBytesForThePrompt)
{
    const std::array<SerialDevice, 4> ports{SerialDevice{"/dev/ttyUSB0", "FT232R"}, SerialDevice{"/dev/ttyS0", ""},
                                            SerialDevice{}, SerialDevice{"/dev/ttyACM0", "Ger\u00e4t \u2713"}};
    EXPECT_EQ(comMenuCaption(1, ports[0]), "COM&1  /dev/ttyUSB0 \u2014 FT232R");
    EXPECT_EQ(comMenuCaption(3, ports[2]), "COM&3  (no device)");
    EXPECT_EQ(comPortListing(ports), "COM1  /dev/ttyUSB0 - FT232R\r\nCOM2  /dev/ttyS0\r\nCOM3  (no device)\r\n"
                                     "COM4  /dev/ttyACM0 - Ger\xe4t ?\r\n");
    // Damaged sequences: a stray continuation byte, a lead byte cut off at the end, a lead without its tail.
    const std::pair<std::string, std::string> latin1[] = {{"\u00ff\u00a0\U0001F600", "\xff\xa0?"},
                                                          {"\x80", "?"},
                                                          {"a\xc3", "a?"},
                                                          {"\xc3z", "?z"},
                                                          {"\xe2\x82z", "??z"},
                                                          {"\u1000", "?"}};
    for (const auto& [utf8, bytes] : latin1)
        EXPECT_EQ(utf8ToLatin1(utf8), bytes) << utf8;
}

} // namespace
} // namespace qm::shell
