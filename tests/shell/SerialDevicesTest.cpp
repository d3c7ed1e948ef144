// The COM ports named by their devices: the menu, the first-run prompt, Other Device and the kept settings.
#include "shell/SerialDevices.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/RecordingLink.h"
#include "fakes/ScriptedUi.h"
#include "shell/Program.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>
#include <optional>

namespace qm::shell
{
namespace
{

struct LineRow
{
    int n;
    SerialDevice device;
    std::string line;
    std::string caption;
    std::string listed;
};

const LineRow kLineRows[] = {
    {1,
     {"/dev/ttyUSB0", "FT232R USB UART"},
     "COM1  /dev/ttyUSB0 \u2014 FT232R USB UART",
     "COM&1  /dev/ttyUSB0 \u2014 FT232R USB UART",
     "COM1  /dev/ttyUSB0 - FT232R USB UART"},
    {2, {"/dev/ttyS0", ""}, "COM2  /dev/ttyS0", "COM&2  /dev/ttyS0", "COM2  /dev/ttyS0"},
    {3, {"", ""}, "COM3  (no device)", "COM&3  (no device)", "COM3  (no device)"},
    {4,
     {"/dev/ttyACM0", "Ger\u00e4t \u2713"},
     "COM4  /dev/ttyACM0 \u2014 Ger\u00e4t \u2713",
     "COM&4  /dev/ttyACM0 \u2014 Ger\u00e4t \u2713",
     "COM4  /dev/ttyACM0 - Ger\xe4t ?"},
};

TEST(SerialDevicesTest, EachComPortIsNamedByItsDevice)
{
    std::array<SerialDevice, 4> ports;
    std::string listing;
    for (const auto& row : kLineRows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(comPortLine(row.n, row.device), row.line);
        EXPECT_EQ(comMenuCaption(row.n, row.device), row.caption);
        if (!row.device.path.empty()) {
            EXPECT_EQ("COM" + std::to_string(row.n) + "  " + deviceLine(row.device), row.line);
        }
        ports[static_cast<std::size_t>(row.n - 1)] = row.device;
        listing += row.listed + "\r\n";
    }
    EXPECT_EQ(comPortListing(ports), listing);
}

TEST(SerialDevicesTest, Utf8BecomesSingleByteCharacters)
{
    const std::pair<std::string, std::string> rows[] = {
        {"plain", "plain"},
        {"\u00e4\u00ff\u00a0", "\xe4\xff\xa0"},
        {"\u0080\u2014\U0001F600x", "???x"},
        // Damaged sequences: a stray continuation byte, a lead byte cut off at the end, a lead without its tail.
        {"\x80"
         "a",
         "?a"},
        {"a\xc3", "a?"},
        {"\xe2\x82z", "??z"},
    };
    for (const auto& [utf8, latin1] : rows)
        EXPECT_EQ(utf8ToLatin1(utf8), latin1) << utf8;
}

class FakeDevices : public SerialDevices
{
public:
    std::array<SerialDevice, 4> com;
    std::vector<SerialDevice> found;
    int scans = 0;

    std::array<SerialDevice, 4> comPorts() override
    {
        ++scans;
        return com;
    }
    std::vector<SerialDevice> present() override { return found; }
};

const char* const kIni = "/opt/quellmark/vq3.ini";
const char* const kOptions = "/home/user/.config/quellmark/quellmark.conf";

class PortChoiceTest : public ::testing::Test
{
protected:
    void start(const std::string& port = "1")
    {
        files.files[kIni] =
            storage::joinLines({port, "N0CALL", "0", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"});
        program.setSerialDevices(&devices);
        ASSERT_TRUE(program.start());
        ui.calls.clear();
    }

    fakes::MemoryFileSystem files;
    fakes::ScriptedUi ui;
    std::optional<fakes::RecordingLink> madeLink;
    Program program{
        files, ui, Environment{{"/opt/quellmark", "/home/user/.config/quellmark"}, "/home/user", {}},
        [this](Session& session, IniSettings&) -> LinkRequests& { return madeLink.emplace(session.state()); }};
    fakes::RecordingLink& link = *madeLink;
    FakeDevices devices;
    forms::Menus& menus = program.session().windows().main.menus;
};

TEST_F(PortChoiceTest, MenuNamesTheDevicesAsTheyAreWhenItOpens)
{
    start();
    devices.com = {SerialDevice{"/dev/ttyUSB0", "FT232R USB UART"}, SerialDevice{"/dev/ttyS0", ""}, {}, {}};
    program.refreshPortMenu();
    EXPECT_EQ(menus.com1.caption(), "COM&1  /dev/ttyUSB0 \u2014 FT232R USB UART");
    EXPECT_EQ(menus.com3.caption(), "COM&3  (no device)");
    EXPECT_TRUE(menus.com1.enabled());
    EXPECT_TRUE(menus.com2.enabled());
    EXPECT_FALSE(menus.com3.enabled());
    EXPECT_FALSE(menus.com4.enabled());
    EXPECT_TRUE(menus.com1.checked());

    // An adapter unplugged between two openings of the menu.
    devices.com = {SerialDevice{"/dev/ttyS0", ""}, {}, {}, {}};
    program.refreshPortMenu();
    EXPECT_EQ(menus.com1.caption(), "COM&1  /dev/ttyS0");
    EXPECT_FALSE(menus.com2.enabled());
    EXPECT_EQ(devices.scans, 2);
}

TEST_F(PortChoiceTest, OtherDeviceIsKeptInTheProgramSettingsNotInVq3Ini)
{
    start("3");
    const std::string ini = files.files[kIni];
    devices.found = {SerialDevice{"/dev/ttyUSB0", "FT232R USB UART"}};
    ui.inputs.push_back(std::string("  /dev/ttyS7 "));

    EXPECT_TRUE(program.menuCommand("otherdevice"));

    EXPECT_EQ(link.calls.back(), "otherdevice:/dev/ttyS7");
    ASSERT_EQ(ui.deviceChoices.size(), 1U);
    EXPECT_EQ(ui.deviceChoices[0], devices.found);
    EXPECT_EQ(storage::splitLines(files.files[kOptions]), (std::vector<std::string>{"OtherDevice=/dev/ttyS7"}));
    EXPECT_EQ(files.files[kIni], ini);
    EXPECT_TRUE(menus.otherdevice.checked());
    EXPECT_EQ(menus.otherdevice.caption(), "&Other Device...  /dev/ttyS7");
    EXPECT_FALSE(menus.com3.checked());

    // The next start opens the device again, and COM3 stays what vq3.ini says.
    std::optional<fakes::RecordingLink> nextLink;
    Program next{
        files, ui, Environment{{"/opt/quellmark", "/home/user/.config/quellmark"}, "/home/user", {}},
        [&nextLink](Session& session, IniSettings&) -> LinkRequests& { return nextLink.emplace(session.state()); }};
    ASSERT_TRUE(next.start());
    EXPECT_EQ(next.session().state().link.otherDevice, "/dev/ttyS7");
    EXPECT_EQ(next.session().state().link.comPort, 3);
    EXPECT_TRUE(next.session().windows().main.menus.otherdevice.checked());
    EXPECT_FALSE(next.session().windows().main.menus.com3.checked());

    // Choosing a COM port again forgets the device.
    program.menuCommand("com2");
    EXPECT_EQ(storage::splitLines(files.files[kOptions]), (std::vector<std::string>{"OtherDevice="}));
}

TEST_F(PortChoiceTest, CancelledOrEmptyDeviceChoiceChangesNothing)
{
    for (const std::optional<std::string>& answer : {std::optional<std::string>(), std::optional<std::string>("  ")}) {
        start();
        link.calls.clear();
        ui.inputs.push_back(answer);
        program.menuCommand("otherdevice");
        EXPECT_TRUE(link.calls.empty());
        EXPECT_FALSE(files.files.contains(kOptions));
        EXPECT_TRUE(menus.com1.checked());
        EXPECT_FALSE(menus.otherdevice.checked());
    }
}

TEST_F(PortChoiceTest, FirstRunPortPromptListsTheDevices)
{
    devices.com = {SerialDevice{"/dev/ttyUSB0", "FT232R USB UART"}, {}, {}, {}};
    ui.inputs.push_back(std::string("1"));
    start("0");
    ASSERT_FALSE(ui.prompts.empty());
    const std::string& prompt = ui.prompts.front();
    EXPECT_TRUE(prompt.ends_with("menu at the top of the screen.\r\n\r"
                                 "COM1  /dev/ttyUSB0 - FT232R USB UART\r\nCOM2  (no device)\r\n"
                                 "COM3  (no device)\r\nCOM4  (no device)\r\n"))
        << prompt;
}

struct PlaceRow
{
    const char* name;
    std::string line;
    std::optional<ProgramOptions::WindowPlace> place;
};

const PlaceRow kPlaceRows[] = {
    {"Kept", "Window=10,20,800,600", ProgramOptions::WindowPlace{10, 20, 800, 600}},
    {"OffToTheLeft", "Window=-300,-5,800,600", ProgramOptions::WindowPlace{-300, -5, 800, 600}},
    {"TooSmall", "Window=10,20,99,600", std::nullopt},
    {"MissingField", "Window=10,20,800", std::nullopt},
    {"NotANumber", "Window=10,20,8x0,600", std::nullopt},
    {"Empty", "Window=", std::nullopt},
    {"Huge", "Window=1,1,99999999,600", std::nullopt},
};

TEST(ProgramOptionsTest, WindowPlaceIsReadBackOrIgnoredWhenDamaged)
{
    for (const auto& row : kPlaceRows) {
        SCOPED_TRACE(row.name);
        fakes::MemoryFileSystem files;
        files.files[kOptions] = storage::joinLines({"VerifyAfterWrite=no", row.line});
        ProgramOptions options(files, kOptions);
        options.load();
        EXPECT_EQ(options.windowPlace(), row.place);
        EXPECT_FALSE(options.verifyAfterWrite());
    }
}

TEST(ProgramOptionsTest, WindowPlaceIsWrittenBesideTheOtherSettings)
{
    fakes::MemoryFileSystem files;
    files.files[kOptions] = storage::joinLines({"VerifyAfterWrite=no", "Unknown=1"});
    ProgramOptions options(files, kOptions);
    options.load();
    EXPECT_FALSE(options.setWindowPlace({-4, 30, 900, 700}));
    EXPECT_FALSE(options.setWindowPlace({5, 30, 900, 700}));
    EXPECT_EQ(storage::splitLines(files.files[kOptions]),
              (std::vector<std::string>{"VerifyAfterWrite=no", "Unknown=1", "Window=5,30,900,700"}));
}

struct ClampRow
{
    const char* name;
    ProgramOptions::WindowPlace place;
    ProgramOptions::WindowPlace fitted;
};

TEST(ProgramOptionsTest, WindowIsFittedIntoTheScreen)
{
    const ProgramOptions::WindowPlace screen{0, 24, 1366, 744};
    const ClampRow rows[] = {
        {"Inside", {100, 100, 800, 600}, {100, 100, 800, 600}},
        {"LeftAndAbove", {-200, -50, 800, 600}, {0, 24, 800, 600}},
        {"RightAndBelow", {1000, 700, 800, 600}, {566, 168, 800, 600}},
        {"LargerThanTheScreen", {50, 50, 2000, 1200}, {0, 24, 1366, 744}},
        {"OnAScreenThatIsGone", {3000, 100, 800, 600}, {566, 100, 800, 600}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(clampToScreen(row.place, screen), row.fitted);
    }
}

} // namespace
} // namespace qm::shell
