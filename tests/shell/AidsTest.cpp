// What the program tells about a configuration: its summary and differences, the first field a read-back
// differs in, the packets and advice, and the settings given by control name.
#include "ShellRig.h"
#include "forms/ProfileEditing.h"
#include "shell/AprsAdvice.h"
#include "shell/AprsSymbols.h"
#include "shell/BackupRestore.h"
#include "shell/ConfigurationSummary.h"
#include "shell/ControlSettings.h"
#include "shell/PacketPreview.h"
#include "shell/WindowAids.h"

namespace qm::shell
{
namespace
{

using rig::Changes;
using rig::exampleLines;

ConfigurationSummary summaryOf(const std::string& example, const Changes& changes = {})
{
    rig::Loaded loaded(exampleLines(example, changes));
    loaded.session.saveShownProfiles();
    return summarizeConfiguration(loaded.session.windows(), *loaded.session.state().currentMode);
}

TEST(ConfigurationSummaryTest, ComparesItemByItemAndProfileByProfileAsTheUnitStoresThem)
{
    const auto differences = compareSummaries(
        summaryOf("tracking.vq3"),
        summaryOf("tracking.vq3",
                  {{5, "0"}, {13 + 20, "7"}, {13 + 90 + 1, "3"}, {13 + 40 + 8, "-1"}, {13 + 40 + 9, "16"}}));
    const std::vector<SummaryDifference> expected{
        {"ModeLock", "Mode Lock", std::nullopt, "Yes", "No"},
        {"TrkSSID", "SSID", 3, "(none)", "7"},
        {"TrkTxDelay", "Transmit Delay", 5, "133 ms", "(none)"},
        {"TrkTxTail", "Tail Delay", 5, "27 ms", "position 16 (not in the list)"},
        {"TrkPath1", "Path 1", 10, "(none)", "WIDE"},
    };
    EXPECT_EQ(differences, expected);
    EXPECT_EQ(compareSummaries(summaryOf("nmea.vq3"), summaryOf("tracking.vq3")),
              (std::vector<SummaryDifference>{{"mode", "Mode", std::nullopt, "NMEA", "Tracking"}}));
    EXPECT_EQ(differenceText({"BcnMsgText", "Message", 3, "a\r\nb\t", "c\x1B\x7F"}),
              "Profile 3 Message: a\\r\\nb\\t -> c\\x1B\\x7F");
}

TEST(FirstDifferenceTest, NamesTheFirstFieldThatDiffersWithBothValuesOrElseTheByte)
{
    const struct
    {
        const char* example;
        std::size_t index;
        char readBack;
        std::string described;
    } cases[] = {
        {"beacon.vq3", 7, 'X', "My Call (written \"TEST\", read back \"TESX\")"},
        {"beacon.vq3", 4, '\r', "My Call (written \"TEST\", read back \"\\x0DEST\")"},
        {"beacon.vq3", 0, '\x04', "Mode (written \"Beacon\", read back \"Alarm\")"},
        {"tracking.vq3", 54, '\x20', "Profile 2 Transmit Timer (written \"0 min 30 s\", read back \"0 min 32 s\")"},
        {"beacon.vq3", 3, '\x05', "byte 4 (written hex 00, read back hex 05)"},
        {"beacon.vq3", 0, '\x07', "byte 1 (written hex 01, read back hex 07)"},
    };
    for (const auto& c : cases) {
        fakes::MemoryFileSystem files;
        const std::string written = rig::compiledImage(c.example);
        std::string readBack = written;
        readBack[c.index] = c.readBack;
        EXPECT_EQ(describeFirstDifference(files, written, readBack), c.described) << c.example << " " << c.index;
    }
}

TEST(PacketPreviewTest, ShowsTheHeaderSymbolAndAdviceOfEveryProfile)
{
    const struct
    {
        const char* example;
        Changes changes;
        std::vector<std::string> packets;
        /// The start of each advice, up to what tells the rule apart.
        std::vector<std::string> advice;
    } cases[] = {
        {"beacon.vq3", {}, {"1 TEST-9>APRS,WIDE"}, {"Path 1 (WIDE): ", "SSID -9 usually stands for a car; "}},
        {"beacon.vq3", {{8, ""}, {10, "WIDE2-1"}, {14, "5"}}, {"1 TEST>APRS,WIDE2-1"}, {}},
        {"alarm.vq3",
         {{8, "14"}, {10, "relay"}, {14, "1"}, {15, "4"}, {16, "5"}, {18, "0"}, {19, "59"}},
         {"1 N0CALL-14>ALARM,GATE,ECHO,RELAY"},
         {"Path 1 (GATE): ", "Path 2 (ECHO): ", "Path 3 (RELAY): ", "SSID -14 usually stands for a truck; ",
          "Sends every 59 s through"}},
        {"telemetry.vq3",
         {{8, ""}, {14, "5"}, {15, "6"}, {22, "0"}, {23, "1"}},
         {"1 N0CALL>APRS,WIDE2-2,(empty Special Path 2)"},
         {"Path 2 names Special Path 2,", "Sends every 1 s through"}},
        {"tracking.vq3",
         {{114, "\\"}, {13 + 5, "k"}, {13 + 10 + 5, "|"}, {13 + 20, "13"}, {13 + 21, "5"}, {13 + 27, "45"}},
         {"1 N0CALL-9>APRS,WIDE2-1,WIDE \\k Special vehicle (SUV, ATV, 4x4)", "2 N0CALL>APRS \\| (no name)",
          "3 N0CALL-13>APRS,WIDE2-1 \\> Car (overlaid)", "4 N0CALL>APRS \\> Car (overlaid)"},
         {"Profile 1: Path 2 (WIDE): ", "Profiles 2 and 4 to 10: No SSID: ",
          "Profile 3: SSID -13 usually stands for a weather station; a tracker", "Profile 3: Sends every 45 s"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.example);
        rig::Loaded loaded(exampleLines(c.example, c.changes));
        const auto preview = previewConfiguration(loaded.session.windows(), *loaded.session.state().currentMode);
        ASSERT_FALSE(preview.refusal);
        for (std::size_t k = 0; k < c.packets.size(); ++k) {
            const auto& packet = preview.packets.at(k);
            EXPECT_EQ(std::to_string(packet.profile) + " " + packet.header +
                          (packet.symbol ? " " + symbolText(*packet.symbol) : ""),
                      c.packets[k]);
        }
        ASSERT_EQ(preview.advice.size(), c.advice.size());
        for (std::size_t k = 0; k < c.advice.size(); ++k)
            EXPECT_TRUE(preview.advice[k].starts_with(c.advice[k])) << preview.advice[k];
    }
    // A configuration that does not compile has no packets and says why.
    rig::Loaded refused(exampleLines("beacon.vq3", {{9, "APRSXYZ"}}));
    const auto preview = previewConfiguration(refused.session.windows(), forms::Mode::Beacon);
    EXPECT_TRUE(preview.packets.empty() && preview.advice.empty());
    EXPECT_EQ(preview.refusal.value().focus, "BcnToCall");
}

TEST(WindowPreviewTest, AProfileModeShowsTheProfileOnShowAsTypedWithoutStoringIt)
{
    rig::Loaded loaded(exampleLines("tracking.vq3"));
    forms::Windows& windows = loaded.session.windows();
    forms::selectTrackingProfileTab(windows, 1);
    windows.tracking.station.SSID.setText("7");
    const WindowPreview preview = windowPreview(windows, forms::Mode::Tracking);
    EXPECT_EQ(preview.header, "Profile 2 sends N0CALL-7>APRS");
    EXPECT_TRUE(preview.allHeaders.starts_with("Profile 1: N0CALL-9>APRS,WIDE2-1,WIDE\nProfile 2: N0CALL-7>APRS\n"));
    EXPECT_EQ(windows.tracking.store.entry(2).SSID, "");
}

TEST(ControlSettingsTest, ChangesExactlyTheFileLinesOfTheFieldOrRefusesWithTheFocusOnIt)
{
    const struct
    {
        const char* example;
        std::vector<std::string> settings;
        Changes changedLines;
    } changes[] = {
        {"tracking.vq3",
         {"TrkMyCall=n1abc", "TrkSSID@3=7", "TrkSpecPath2=wide1-1", "TrkPath1@2=WIDE1-1", "TrkPath2@1=(none)"},
         {{7, "N1ABC"}, {10, "WIDE1-1"}, {13 + 2, "0"}, {13 + 11, "6"}, {13 + 20, "7"}}},
        {"tracking.vq3",
         {"TrkSymbol@2=k", "TrkSendComments@2=yes", "TrkTmrSec@10= 5", "TrkTxDelay@4=160", "TrkSeparator=\\"},
         {{13 + 15, "\xEB"}, {13 + 97, " 5"}, {13 + 38, "1"}, {114, "\\"}}},
        {"tracking.vq3", {"LEDDisable=yes", "AutoMode=True", "inputbaudrate=9600"}, {{1, "3"}, {3, "1"}, {6, "1"}}},
        {"beacon.vq3", {"BcnMsgText=A\r\nB\rC\nD\r", "BcnMySSID="}, {{8, ""}, {22, "A\r\nB\r\nC\r\nD\r\n"}}},
        {"beacon.vq3", {"outputbaudrate=300", "BcnTxDelay=373 ms"}, {{2, "1"}, {20, "6"}, {21, "0"}}},
        {"telemetry.vq3", {"TelUserTrigChar=3"}, {{18, "False"}, {20, "True"}, {21, "3"}}},
        {"alarm.vq3",
         {"AlarmMsgText1=Caf\xC3\xA9 open", "AlarmMsgText2=Caf\xE9"},
         {{28, "Caf\xE9 open"}, {29, "Caf\xE9"}}},
    };
    for (const auto& c : changes) {
        rig::Loaded loaded(exampleLines(c.example));
        ASSERT_EQ(applyControlSettings(loaded.session, c.settings), std::nullopt) << c.settings[0];
        EXPECT_EQ(loaded.session.configurationLines(), exampleLines(c.example, c.changedLines)) << c.settings[0];
    }
    const std::pair<std::string, std::string> refusals[] = {
        {"TrkMyCall", ""},
        {"TrkSSID@11=7", "TrkSSID"},
        {"TrkColour=red", ""},
        {"BcnMySSID=5", ""},
        {"TrkSSID=7", "TrkSSID"},
        {"TrkMyCall@2=N0CALL", "TrkMyCall"},
        {"TrkSSID@3=x7", "TrkSSID"},
        {"TrkMyCall=N0CALLXX", "TrkMyCall"},
        {"TrkPath1@1=Special Path 3", "TrkSpecPath3"},
        {"TrkTxTail@1=5 ms", "TrkTxTail"},
        {"LEDDisable=maybe", "LEDDisable"},
        {"inputbaudrate=19200", "inputbaudrate"},
    };
    for (const auto& [setting, focus] : refusals) {
        rig::Loaded loaded(exampleLines("tracking.vq3"));
        const auto refused = applyControlSettings(loaded.session, {"TrkComments=kept", setting});
        ASSERT_TRUE(refused) << setting;
        EXPECT_EQ(refused->focus, focus) << setting;
    }
}

} // namespace
} // namespace qm::shell
