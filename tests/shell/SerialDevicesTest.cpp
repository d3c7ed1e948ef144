// The COM ports named by their devices (the menu, the first-run prompt), Other Device, and the window's place.
#include "shell/SerialDevices.h"
#include "ShellRig.h"

namespace qm::shell
{
namespace
{

using rig::kIni;
using rig::kOptions;

TEST(SerialDevicesTest, EachComPortIsNamedByItsDeviceInUtf8OrInSingleBytes)
{
    const struct
    {
        int n;
        SerialDevice device;
        std::string caption, listed;
    } rows[] = {
        {1, {"/dev/ttyUSB0", "FT232R"}, "COM&1  /dev/ttyUSB0 \u2014 FT232R", "COM1  /dev/ttyUSB0 - FT232R"},
        {2, {"/dev/ttyS0", ""}, "COM&2  /dev/ttyS0", "COM2  /dev/ttyS0"},
        {3, {"", ""}, "COM&3  (no device)", "COM3  (no device)"},
        {4,
         {"/dev/ttyACM0", "Ger\u00e4t \u2713"},
         "COM&4  /dev/ttyACM0 \u2014 Ger\u00e4t \u2713",
         "COM4  /dev/ttyACM0 - Ger\xe4t ?"},
    };
    std::array<SerialDevice, 4> ports;
    std::string listing;
    for (const auto& row : rows) {
        EXPECT_EQ(comMenuCaption(row.n, row.device), row.caption);
        ports[static_cast<std::size_t>(row.n - 1)] = row.device;
        listing += row.listed + "\r\n";
    }
    EXPECT_EQ(comPortListing(ports), listing);
    // Damaged sequences: a stray continuation byte, a lead byte cut off at the end, a lead without its tail.
    const std::pair<std::string, std::string> latin1[] = {
        {"\u00e4\u00ff\u00a0", "\xe4\xff\xa0"},
        {"\u0080\U0001F600x", "??x"},
        {"\x80", "?"},
        {"a\xc3", "a?"},
        {"\xe2\x82z", "??z"},
    };
    for (const auto& [utf8, bytes] : latin1)
        EXPECT_EQ(utf8ToLatin1(utf8), bytes) << utf8;
}

class FakeDevices : public SerialDevices
{
public:
    std::array<SerialDevice, 4> com;
    std::vector<SerialDevice> found;

    std::array<SerialDevice, 4> comPorts() override { return com; }
    std::vector<SerialDevice> present() override { return found; }
};

struct PortRig : rig::ProgramRig
{
    PortRig() { program.setSerialDevices(&devices); }
    FakeDevices devices;
    forms::Menus& menus = w.main.menus;
};

TEST(PortChoiceTest, MenuNamesTheDevicesAsTheyAreEachTimeItOpens)
{
    PortRig r;
    r.start();
    r.devices.com = {SerialDevice{"/dev/ttyUSB0", "FT232R"}, SerialDevice{"/dev/ttyS0", ""}, {}, {}};
    r.program.refreshPortMenu();
    EXPECT_EQ(r.menus.com1.caption(), "COM&1  /dev/ttyUSB0 \u2014 FT232R");
    EXPECT_EQ(r.menus.com3.caption(), "COM&3  (no device)");
    EXPECT_EQ((std::vector<bool>{r.menus.com1.enabled(), r.menus.com2.enabled(), r.menus.com3.enabled()}),
              (std::vector<bool>{true, true, false}));
    EXPECT_TRUE(r.menus.com1.checked());
    r.devices.com = {SerialDevice{"/dev/ttyS0", ""}, {}, {}, {}};
    r.program.refreshPortMenu();
    EXPECT_EQ(r.menus.com1.caption(), "COM&1  /dev/ttyS0");
    EXPECT_FALSE(r.menus.com2.enabled());

    PortRig first;
    first.devices.com = {SerialDevice{"/dev/ttyUSB0", "FT232R"}, {}, {}, {}};
    first.ui.inputs.push_back(std::string("1"));
    first.start(rig::iniFile("0"));
    ASSERT_FALSE(first.ui.prompts.empty());
    EXPECT_TRUE(first.ui.prompts.front().ends_with("\r\n\rCOM1  /dev/ttyUSB0 - FT232R\r\nCOM2  (no device)\r\n"
                                                   "COM3  (no device)\r\nCOM4  (no device)\r\n"));
}

TEST(PortChoiceTest, OtherDeviceIsKeptInTheProgramSettingsNotInVq3Ini)
{
    PortRig r;
    r.start(rig::iniFile("3"));
    const std::string ini = r.files.files[kIni];
    r.devices.found = {SerialDevice{"/dev/ttyUSB0", "FT232R"}};
    r.ui.inputs.push_back(std::string("  /dev/ttyS7 "));
    EXPECT_TRUE(r.program.menuCommand("otherdevice"));
    EXPECT_EQ(r.link.calls.back(), "otherdevice:/dev/ttyS7");
    EXPECT_EQ(r.ui.deviceChoices, std::vector<std::vector<SerialDevice>>{r.devices.found});
    EXPECT_EQ(storage::splitLines(r.files.files[kOptions]), (std::vector<std::string>{"OtherDevice=/dev/ttyS7"}));
    EXPECT_EQ(r.files.files[kIni], ini);
    EXPECT_TRUE(r.menus.otherdevice.checked());
    EXPECT_EQ(r.menus.otherdevice.caption(), "&Other Device...  /dev/ttyS7");
    EXPECT_FALSE(r.menus.com3.checked());

    // The next start opens the device again, and COM3 stays what vq3.ini says.
    rig::ProgramRig next;
    next.files = r.files;
    next.start(ini);
    EXPECT_EQ(next.state.link.otherDevice, "/dev/ttyS7");
    EXPECT_EQ(next.state.link.comPort, 3);
    EXPECT_TRUE(next.w.main.menus.otherdevice.checked());

    // Choosing a COM port again forgets the device.
    r.program.menuCommand("com2");
    EXPECT_EQ(storage::splitLines(r.files.files[kOptions]), (std::vector<std::string>{"OtherDevice="}));

    // A cancelled or empty choice changes nothing.
    for (const std::optional<std::string>& answer : {std::optional<std::string>(), std::optional<std::string>("  ")}) {
        PortRig t;
        t.start();
        t.link.calls.clear();
        t.ui.inputs.push_back(answer);
        t.program.menuCommand("otherdevice");
        EXPECT_TRUE(t.link.calls.empty());
        EXPECT_FALSE(t.files.files.contains(kOptions));
        EXPECT_TRUE(t.menus.com1.checked());
    }
}

TEST(ProgramOptionsTest, TheWindowPlaceIsKeptReadBackAndFittedIntoTheScreen)
{
    using Place = ProgramOptions::WindowPlace;
    const std::pair<std::string, std::optional<Place>> lines[] = {
        {"Window=-300,-5,800,600", Place{-300, -5, 800, 600}},
        {"Window=10,20,99,600", std::nullopt},
        {"Window=10,20,800", std::nullopt},
        {"Window=10,20,8x0,600", std::nullopt},
        {"Window=1,1,99999999,600", std::nullopt},
    };
    for (const auto& [line, place] : lines) {
        fakes::MemoryFileSystem files;
        files.files[kOptions] = storage::joinLines({"VerifyAfterWrite=no", line});
        ProgramOptions options(files, kOptions);
        options.load();
        EXPECT_EQ(options.windowPlace(), place) << line;
        EXPECT_FALSE(options.verifyAfterWrite());
    }
    fakes::MemoryFileSystem files;
    files.files[kOptions] = storage::joinLines({"VerifyAfterWrite=no", "Unknown=1"});
    ProgramOptions options(files, kOptions);
    options.load();
    EXPECT_FALSE(options.setWindowPlace({-4, 30, 900, 700}));
    EXPECT_FALSE(options.setWindowPlace({5, 30, 900, 700}));
    EXPECT_EQ(storage::splitLines(files.files[kOptions]),
              (std::vector<std::string>{"VerifyAfterWrite=no", "Unknown=1", "Window=5,30,900,700"}));

    const Place screen{0, 24, 1366, 744};
    const std::pair<Place, Place> fits[] = {
        {{100, 100, 800, 600}, {100, 100, 800, 600}},
        {{-200, -50, 800, 600}, {0, 24, 800, 600}},
        {{1000, 700, 800, 600}, {566, 168, 800, 600}},
        {{50, 50, 2000, 1200}, {0, 24, 1366, 744}},
    };
    for (const auto& [place, fitted] : fits)
        EXPECT_EQ(clampToScreen(place, screen), fitted);
}

} // namespace
} // namespace qm::shell
