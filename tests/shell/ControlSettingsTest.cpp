#include "shell/ControlSettings.h"
#include "fakes/MemoryFileSystem.h"
#include "shell/Session.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <ostream>
#include <utility>

namespace qm::shell
{
namespace
{

std::vector<std::string> exampleLines(const std::string& name)
{
    std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    return storage::splitLines({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
}

class Loaded
{
public:
    explicit Loaded(const std::string& example)
    {
        files.files["config.vq3"] = storage::joinLines(exampleLines(example));
        program.startUp();
        EXPECT_EQ(program.openConfigurationFile("config.vq3").kind, Session::OpenOutcome::Kind::Loaded);
    }

    fakes::MemoryFileSystem files;
    Session program{files};
};

using Lines = std::vector<std::pair<std::size_t, std::string>>;

struct ChangeCase
{
    const char* example;
    std::vector<std::string> settings;
    Lines changedLines;
};

void PrintTo(const ChangeCase& changeCase, std::ostream* out)
{
    *out << changeCase.example << " " << changeCase.settings.front().substr(0, changeCase.settings.front().find('='));
}

class ControlSettingChangeTest : public ::testing::TestWithParam<ChangeCase>
{};

TEST_P(ControlSettingChangeTest, ChangesExactlyTheFileLinesOfTheField)
{
    Loaded loaded(GetParam().example);
    ASSERT_EQ(applyControlSettings(loaded.program, GetParam().settings), std::nullopt);
    auto expected = exampleLines(GetParam().example);
    for (const auto& [index, value] : GetParam().changedLines)
        expected.at(index) = value;
    EXPECT_EQ(loaded.program.configurationLines(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ControlSettingChangeTest,
    ::testing::Values(
        ChangeCase{"tracking.vq3", {"TrkMyCall=n1abc"}, {{7, "N1ABC"}}},
        ChangeCase{"tracking.vq3", {"TrkSSID@3=7"}, {{13 + 20, "7"}}},
        ChangeCase{"tracking.vq3",
                   {"TrkSpecPath2=wide1-1", "TrkPath1@2=WIDE1-1", "TrkPath2@2=wide2-1", "TrkPath2@1=(none)"},
                   {{10, "WIDE1-1"}, {13 + 2, "0"}, {13 + 11, "6"}, {13 + 12, "5"}}},
        ChangeCase{"tracking.vq3", {"TrkSymbol@2=k", "TrkSendComments@2=yes"}, {{13 + 15, "\xEB"}}},
        ChangeCase{"tracking.vq3",
                   {"TrkTmrMin@10=2", "TrkTmrSec@10= 5", "TrkTxDelay@4=160"},
                   {{13 + 96, "2"}, {13 + 97, " 5"}, {13 + 38, "1"}}},
        ChangeCase{"tracking.vq3",
                   {"TrkPath3@1=Special Path 1", "TrkComments=Club rally", "TrkSeparator=\\"},
                   {{13 + 3, "5"}, {114, "\\"}, {116, "Club rally"}}},
        ChangeCase{
            "tracking.vq3", {"LEDDisable=yes", "AutoMode=True", "inputbaudrate=9600"}, {{1, "3"}, {3, "1"}, {6, "1"}}},
        ChangeCase{
            "beacon.vq3", {"BcnMsgText=Line one\nLine two", "BcnMySSID="}, {{8, ""}, {22, "Line one\r\nLine two"}}},
        // CR LF, a lone CR and a CR at the end are one line break each.
        ChangeCase{"beacon.vq3", {"BcnMsgText=A\r\nB\rC\r"}, {{22, "A\r\nB\r\nC\r\n"}}},
        ChangeCase{"beacon.vq3", {"outputbaudrate=300", "BcnTxDelay=373 ms"}, {{2, "1"}, {20, "6"}, {21, "0"}}},
        ChangeCase{"telemetry.vq3", {"TelUserTrigChar=3"}, {{18, "False"}, {20, "True"}, {21, "3"}}},
        ChangeCase{"telemetry.vq3", {"TelTxOnLFEnable=1"}, {{18, "False"}, {19, "True"}}},
        ChangeCase{"nmea.vq3",
                   {"GpsString3=$GPGSV", "NMEAToCall=apzqm", "NMEASSID@10=12"},
                   {{8, "APZQM"}, {109, "$GPGSV"}, {13 + 81, "12"}}},
        ChangeCase{"alarm.vq3",
                   {"AlmCondition2=low", "AlarmMsgText1=Caf\xC3\xA9 open", "AlarmMsgText2=Caf\xE9"},
                   {{25, "0"}, {28, "Caf\xE9 open"}, {29, "Caf\xE9"}}}));

struct RefusalCase
{
    const char* example;
    std::vector<std::string> settings;
    std::string text;
    std::string focus;
};

void PrintTo(const RefusalCase& refusalCase, std::ostream* out)
{
    *out << refusalCase.example << " " << refusalCase.text.substr(0, 40);
}

class ControlSettingRefusalTest : public ::testing::TestWithParam<RefusalCase>
{};

TEST_P(ControlSettingRefusalTest, SaysWhatIsWrong)
{
    Loaded loaded(GetParam().example);
    forms::MessageBox expected = forms::messageBox("Error", GetParam().text, forms::Icon::Warning);
    expected.focus = GetParam().focus;
    EXPECT_EQ(applyControlSettings(loaded.program, GetParam().settings), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, ControlSettingRefusalTest,
    ::testing::Values(
        RefusalCase{"tracking.vq3",
                    {"TrkMyCall"},
                    "A setting is NAME=VALUE, or NAME@N=VALUE for profile N of a field kept per profile; \"TrkMyCall\" "
                    "is neither.",
                    ""},
        RefusalCase{"tracking.vq3",
                    {"=N0CALL"},
                    "A setting is NAME=VALUE, or NAME@N=VALUE for profile N of a field kept per profile; \"=N0CALL\" "
                    "is neither.",
                    ""},
        RefusalCase{
            "tracking.vq3", {"TrkSSID@11=7"}, "TrkSSID@11: the profile must be a number from 1 to 10.", "TrkSSID"},
        RefusalCase{
            "tracking.vq3", {"TrkSSID@0=7"}, "TrkSSID@0: the profile must be a number from 1 to 10.", "TrkSSID"},
        RefusalCase{"tracking.vq3", {"TrkSSID@=7"}, "TrkSSID@: the profile must be a number from 1 to 10.", "TrkSSID"},
        RefusalCase{
            "tracking.vq3", {"TrkSSID@x=7"}, "TrkSSID@x: the profile must be a number from 1 to 10.", "TrkSSID"},
        RefusalCase{"tracking.vq3", {"TrkColour=red"}, "There is no field named TrkColour.", ""},
        RefusalCase{"tracking.vq3",
                    {"BcnMySSID=5"},
                    "BcnMySSID is a field of the Beacon window; the configuration is in Tracking mode.",
                    ""},
        RefusalCase{"tracking.vq3",
                    {"TrkAdaptiveTransmitEnable=1"},
                    "TrkAdaptiveTransmitEnable is not a setting of a Tracking configuration.",
                    ""},
        RefusalCase{"beacon.vq3", {"GpsString1=$GPRMC"}, "GpsString1 is not a setting of a Beacon configuration.", ""},
        RefusalCase{"tracking.vq3",
                    {"TrkSSID=7"},
                    "TrkSSID is kept per profile: name the profile as TrkSSID@1 to TrkSSID@10.",
                    "TrkSSID"},
        RefusalCase{
            "tracking.vq3", {"TrkMyCall@2=N0CALL"}, "TrkMyCall is not kept per profile: leave out @2.", "TrkMyCall"},
        RefusalCase{"tracking.vq3",
                    {"TrkSSID@3=x7"},
                    "TrkSSID does not take \"x\": it takes the digits 0 to 9 and spaces.",
                    "TrkSSID"},
        RefusalCase{"tracking.vq3",
                    {"TrkMyCall=N\xE2\x82\xAC"},
                    "TrkMyCall does not take U+20AC: it takes letters, digits and the other printable ASCII "
                    "characters.",
                    "TrkMyCall"},
        RefusalCase{"tracking.vq3",
                    {"TrkComments=a\tb"},
                    "TrkComments does not take control characters such as line breaks or tabs.",
                    "TrkComments"},
        RefusalCase{"tracking.vq3",
                    {"TrkMyCall=N0CALLXX"},
                    "TrkMyCall holds at most 6 characters; \"N0CALLXX\" has 8.",
                    "TrkMyCall"},
        RefusalCase{"beacon.vq3",
                    {"BcnMsgText=" + std::string(75, 'x') + "\n"},
                    "BcnMsgText holds at most 76 characters; \"" + std::string(75, 'x') + "\n\" has 77.",
                    "BcnMsgText"},
        RefusalCase{"tracking.vq3",
                    {"TrkPath1@1=WIDE9"},
                    "TrkPath1 has no entry \"WIDE9\"; it offers: (none), GATE, RELAY, WIDE, ECHO, WIDE2-1, Special "
                    "Path 2, Special Path 3, Special Path 4.",
                    "TrkPath1"},
        RefusalCase{"tracking.vq3",
                    {"TrkPath1@1=Special Path 3"},
                    "TrkPath1: Special Path 3 is empty; set TrkSpecPath3 first.",
                    "TrkSpecPath3"},
        RefusalCase{"tracking.vq3",
                    {"TrkSpecPath2=WIDE", "TrkPath1@1=wide"},
                    "TrkPath1: \"wide\" names more than one entry; choose a special path as \"Special Path 1\" to "
                    "\"Special Path 4\".",
                    "TrkPath1"},
        RefusalCase{"tracking.vq3",
                    {"TrkTxTail@1=5 ms"},
                    "TrkTxTail has no entry \"5 ms\"; it offers: 27 ms, 40 ms, 53 ms, 67 ms, 80 ms, 93 ms, 107 ms, "
                    "120 ms, 133 ms, 147 ms, 160 ms, 173 ms, 187 ms, 200 ms, 213 ms, 227 ms.",
                    "TrkTxTail"},
        RefusalCase{"tracking.vq3", {"LEDDisable=maybe"}, "LEDDisable takes 1 or 0 (Yes or No).", "LEDDisable"},
        RefusalCase{"telemetry.vq3", {"TelTxOnCREnable=on"}, "TelTxOnCREnable takes True or False.", "TelTxOnCREnable"},
        RefusalCase{"beacon.vq3", {"outputbaudrate=600"}, "outputbaudrate takes 300 or 1200.", "outputbaudrate"},
        RefusalCase{
            "nmea.vq3", {"inputbaudrate=19200"}, "inputbaudrate takes 1200, 2400, 4800 or 9600.", "inputbaudrate"}));

TEST(ControlSettingTest, ReadsNameProfileAndValue)
{
    using Result = std::variant<ControlSetting, forms::MessageBox>;
    EXPECT_EQ(parseControlSetting("TrkSSID@3=7"), Result(ControlSetting{"TrkSSID", 3, "7"}));
    EXPECT_EQ(parseControlSetting("TrkComments=a=b"), Result(ControlSetting{"TrkComments", std::nullopt, "a=b"}));
    EXPECT_EQ(parseControlSetting("TrkSSID@10="), Result(ControlSetting{"TrkSSID", 10, ""}));
}

TEST(ControlSettingTest, AProfileSettingLeavesTheProfileOnShowStored)
{
    Loaded loaded("tracking.vq3");
    ASSERT_EQ(applyControlSettings(loaded.program, {"TrkSSID@4=8", "TrkSSID@1=10"}), std::nullopt);
    const forms::TrackingForm& tracking = loaded.program.windows().tracking;
    EXPECT_EQ(tracking.store.entry(4).SSID, "8");
    EXPECT_EQ(tracking.store.entry(1).SSID, "10");
    EXPECT_EQ(tracking.TrkProfile.selectedIndex(), 0);
    EXPECT_EQ(tracking.station.SSID.text(), "10");
}

} // namespace
} // namespace qm::shell
