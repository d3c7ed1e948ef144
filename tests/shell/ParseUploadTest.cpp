#include "fakes/MemoryFileSystem.h"
#include "shell/Session.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>

namespace qm::shell
{
namespace
{

using forms::Mode;

std::string emptyPaths()
{
    std::string paths;
    for (int i = 0; i < 4; ++i)
        paths += std::string(6, '\x40') + '\x60';
    return paths;
}

/// A 128-byte image: header bytes, callsign TEST, to-call APRS with the given SSID byte, no special paths.
std::string image(std::uint8_t modeByte, std::uint8_t optionByte = 0x04, std::uint8_t autoModeByte = 0x00,
                  std::uint8_t toCallSsid = 0x30)
{
    std::string bytes;
    bytes += static_cast<char>(modeByte);
    bytes += static_cast<char>(optionByte);
    bytes += static_cast<char>(autoModeByte);
    bytes += '\0';
    bytes += "TEST  ";
    bytes += "APRS  ";
    bytes += static_cast<char>(toCallSsid);
    bytes += emptyPaths();
    bytes.resize(128, '\0');
    return bytes;
}

class ParseUploadTest : public ::testing::Test
{
protected:
    void SetUp() override { program.startUp(); }

    void read(const std::string& data) { program.decodeUpload(data); }

    fakes::MemoryFileSystem files;
    Session program{files};
    forms::Windows& w = program.windows();
};

TEST_F(ParseUploadTest, SelectsTheImagesModeAndShowsItsWindow)
{
    read(image(0x01));
    EXPECT_EQ(program.state().currentMode, forms::Mode::Beacon);
    EXPECT_TRUE(w.main.menus.beacon.checked());
    EXPECT_TRUE(w.beacon.station.window.visible());
    EXPECT_EQ(w.beacon.station.ToCall.text(), "APRS");
    for (const forms::Mode mode : forms::kModes)
        EXPECT_EQ(w.station(mode).MyCall.text(), "TEST");
}

TEST_F(ParseUploadTest, BeaconAndAlarmImagesLeaveTheInputBaudRateAlone)
{
    for (std::uint8_t modeByte : {std::uint8_t{0x19}, std::uint8_t{0x1C}}) {
        w.main.menus.in1200.setChecked(false);
        w.main.menus.in4800.setChecked(true);
        read(image(modeByte));
        EXPECT_TRUE(w.main.menus.in4800.checked()) << int(modeByte);
        EXPECT_FALSE(w.main.menus.in9600.checked()) << int(modeByte);
    }
}

TEST_F(ParseUploadTest, TelemetryImageChecksExactlyItsInputBaudRate)
{
    read(image(0x10));
    EXPECT_FALSE(w.main.menus.in1200.checked());
    EXPECT_FALSE(w.main.menus.in2400.checked());
    EXPECT_TRUE(w.main.menus.in4800.checked());
    EXPECT_FALSE(w.main.menus.in9600.checked());
}

TEST_F(ParseUploadTest, OutputBitReloadsThe300BaudListsBeforeTheFill)
{
    std::string data = image(0x21);
    data[50] = '\x32';
    read(data);
    EXPECT_TRUE(w.main.menus.out300.checked());
    EXPECT_FALSE(w.main.menus.out1200.checked());
    EXPECT_EQ(w.telemetry.station.TxDelay.count(), 15);
    EXPECT_EQ(w.beacon.station.TxDelay.listIndex(), 2);
    EXPECT_EQ(w.beacon.station.TxTail.listIndex(), 1);
}

TEST_F(ParseUploadTest, OptionAndAutoModeBytes)
{
    struct Case
    {
        std::uint8_t option, autoMode;
        int before, led, mic, lock, autoModeAfter;
    };
    for (const Case& c : {Case{0x07, 0xFF, 0, 1, 1, 1, 1}, Case{0x00, 0x00, 1, 0, 0, 0, 0},
                          Case{0x01, 0x01, 1, 1, 0, 0, 1}, Case{0x02, 0x7F, 0, 0, 1, 0, 0}}) {
        w.main.AutoMode.setValue(c.before);
        read(image(0x03, c.option, c.autoMode));
        EXPECT_EQ(w.main.LEDDisable.value(), c.led) << int(c.option);
        EXPECT_EQ(w.main.MicEncode.value(), c.mic) << int(c.option);
        EXPECT_EQ(w.main.ModeLock.value(), c.lock) << int(c.option);
        EXPECT_EQ(w.main.AutoMode.value(), c.autoModeAfter) << int(c.autoMode);
    }
}

TEST_F(ParseUploadTest, UnknownModeSetsOptionsButChangesNoWindow)
{
    w.beacon.BcnMsgText.setText("KEEP");
    read(image(0x3D, 0x01));
    EXPECT_EQ(program.state().unknownModeCode, 5);
    EXPECT_EQ(program.state().currentMode, std::nullopt);
    EXPECT_TRUE(w.main.menus.in9600.checked());
    EXPECT_TRUE(w.main.menus.out300.checked());
    EXPECT_EQ(w.main.LEDDisable.value(), 1);
    EXPECT_EQ(w.beacon.BcnMsgText.text(), "KEEP");
    EXPECT_EQ(w.beacon.station.MyCall.text(), "");
    for (const forms::Mode mode : forms::kModes)
        EXPECT_FALSE(w.station(mode).window.visible());
}

TEST_F(ParseUploadTest, AModeCodeNoWindowEditsRefusesSaveAndWriteUntilAModeIsChosen)
{
    for (const int code : {5, 6, 7}) {
        SCOPED_TRACE(code);
        program.selectMode(Mode::Beacon);
        read(image(static_cast<std::uint8_t>(0x38 | code)));
        EXPECT_EQ(program.state().unknownModeCode, code);
        EXPECT_EQ(program.state().currentMode, std::nullopt);
        EXPECT_EQ(program.saveConfigurationFile("/unit.vq3"),
                  forms::messageBox("Error",
                                    "The VQ-3 holds mode " + std::to_string(code) +
                                        ", which this program cannot edit or save.",
                                    forms::Icon::Information));
        EXPECT_FALSE(files.fileExists("/unit.vq3"));
        const auto compiled = program.checkAndCompile();
        EXPECT_EQ(compiled.refusal, std::nullopt);
        EXPECT_TRUE(compiled.downloadImage.empty());
        EXPECT_TRUE(program.configurationLines().empty());

        program.selectMode(Mode::Alarm);
        EXPECT_EQ(program.state().unknownModeCode, std::nullopt);
        EXPECT_EQ(program.saveConfigurationFile("/unit.vq3"), std::nullopt);
        EXPECT_EQ(storage::splitLines(files.files.at("/unit.vq3")).front(), "4");
        files.files.erase("/unit.vq3");
    }
}

} // namespace
} // namespace qm::shell
