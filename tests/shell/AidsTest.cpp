// The packet a configuration sends, shown before it is written: header, symbol and the advice it gets.
#include "ShellRig.h"
#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "reports/ConfigurationSummary.h"
#include "shell/AprsAdvice.h"
#include "shell/AprsSymbols.h"
#include "shell/BackupRestore.h"
#include "shell/ControlSettings.h"
#include "shell/PacketPreview.h"
#include "shell/WindowAids.h"

namespace qm::shell
{
namespace
{

using rig::Changes;
using rig::exampleLines;

TEST(PacketPreviewTest, ShowsTheHeaderSymbolAndAdviceOfEveryProfile)
{
    // The example, its changes, the packets, and the start of each advice, up to what tells the rule apart.
    const std::tuple<const char*, Changes, std::vector<std::string>, std::vector<std::string>> cases[] = {
        {"beacon.vq3", {}, {"1 TEST-9>APRS,WIDE"}, {"Path 1 (WIDE): ", "SSID -9 usually stands for a car; "}},
        {"alarm.vq3",
         {{8, "14"}, {10, "trace7"}, {14, "1"}, {15, "4"}, {16, "5"}, {18, "0"}, {19, "59"}},
         {"1 N0CALL-14>ALARM,GATE,ECHO,TRACE7"},
         {"Path 1 (GATE): ", "Path 2 (ECHO): ", "Path 3 (TRACE7): ", "SSID -14 usually stands for a truck; ",
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
    for (const auto& [example, changes, packets, advice] : cases) {
        SCOPED_TRACE(example);
        rig::Loaded loaded(exampleLines(example, changes));
        const auto preview = previewConfiguration(loaded.session.windows(), *loaded.session.state().currentMode);
        ASSERT_FALSE(preview.refusal);
        for (std::size_t k = 0; k < packets.size(); ++k) {
            const auto& packet = preview.packets.at(k);
            EXPECT_EQ(std::to_string(packet.profile) + " " + packet.header +
                          (packet.symbol ? " " + symbolText(*packet.symbol) : ""),
                      packets[k]);
        }
        ASSERT_EQ(preview.advice.size(), advice.size());
        for (std::size_t k = 0; k < advice.size(); ++k)
            EXPECT_TRUE(preview.advice[k].starts_with(advice[k])) << preview.advice[k];
    }
    // A configuration that does not compile has no packets and says why.
    rig::Loaded refused(exampleLines("beacon.vq3", {{9, "APRSXYZ"}}));
    const auto preview = previewConfiguration(refused.session.windows(), forms::Mode::Beacon);
    EXPECT_TRUE(preview.packets.empty() && preview.advice.empty());
    EXPECT_EQ(preview.refusal.value().focus, "BcnToCall");
    // The window shows the refusal on one line: each line break one space, no character lost.
    std::string oneLine = preview.refusal->text;
    ASSERT_NE(oneLine.find("\r\n"), std::string::npos);
    for (auto at = oneLine.find("\r\n"); at != std::string::npos; at = oneLine.find("\r\n", at))
        oneLine.replace(at, 2, " ");
    EXPECT_EQ(windowPreview(refused.session.windows(), forms::Mode::Beacon).header,
              "Sends no packet until this is put right: " + oneLine);
}

TEST(AidsTest, ASettingNamesAnEntryByLabelOrNumberAndASymbolIsNamedWhenItIsOneCharacter)
{
    rig::Loaded loaded(rig::exampleLines("beacon.vq3"));
    for (int n = 1; n <= 4; ++n) {
        const std::string label = "special PATH " + std::to_string(n);
        const std::string path = "BcnSpecPath" + std::to_string(n) + "=WIDE";
        EXPECT_EQ(applyControlSettings(loaded.session, {path, "BcnPath1=" + label}), std::nullopt) << label;
        EXPECT_EQ(loaded.session.windows().station(forms::Mode::Beacon).Path[0].listIndex(), forms::specialPathEntry(n))
            << label;
    }
    // Baud rates by their numbers check exactly the item named, and the output rate rebuilds the delay lists.
    rig::Loaded tracking(exampleLines("tracking.vq3"));
    forms::Windows& w = tracking.session.windows();
    const auto delays1200 = w.tracking.station.TxDelay.entries();
    for (const auto& [input, output] : {std::pair{"2400", "300"}, std::pair{"9600", "1200"}}) {
        const auto refused = applyControlSettings(
            tracking.session, {std::string("inputbaudrate=") + input, std::string("outputbaudrate=") + output});
        ASSERT_FALSE(refused) << refused->text;
        const bool at300 = std::string(output) == "300";
        EXPECT_EQ(w.main.menus.in2400.checked(), at300);
        EXPECT_EQ(w.main.menus.in9600.checked(), !at300);
        EXPECT_EQ(w.main.menus.out300.checked(), at300);
        EXPECT_EQ(w.main.menus.out1200.checked(), !at300);
        EXPECT_EQ(w.tracking.station.TxDelay.entries() == delays1200, !at300) << output;
    }
    // Line breaks given any way become one CR LF each in a text box.
    rig::Loaded beacon(exampleLines("beacon.vq3"));
    ASSERT_EQ(applyControlSettings(beacon.session, {"BcnMsgText=A\r\nB\rC\nD\r"}), std::nullopt);
    EXPECT_EQ(beacon.session.windows().beacon.BcnMsgText.text(), "A\r\nB\r\nC\r\nD\r\n");
    // LF CR is one line break too, as in a paste, and a separator of lines or paragraphs another.
    ASSERT_EQ(applyControlSettings(beacon.session, {"BcnMsgText=A\n\rB\xE2\x80\xA8"
                                                    "C"}),
              std::nullopt);
    EXPECT_EQ(beacon.session.windows().beacon.BcnMsgText.text(), "A\r\nB\r\nC");
    // A delay is chosen by its milliseconds alone.
    const std::string& entry = w.tracking.station.TxDelay.entries().at(3);
    ASSERT_EQ(applyControlSettings(tracking.session, {"TrkTxDelay@1=" + entry.substr(0, entry.find(' '))}),
              std::nullopt);
    EXPECT_EQ(w.tracking.station.TxDelay.listIndex(), 3);
    EXPECT_EQ(symbolCaption("/", ">"), symbolName('/', '>').value_or("none"));
    EXPECT_EQ(symbolCaption("/", ">>"), "(one character only)");
    for (const char table : std::string("09AZ"))
        EXPECT_TRUE(symbolTableName(table)) << table;
    for (const char table : std::string("-:@["))
        EXPECT_FALSE(symbolTableName(table)) << table;
    // The symbol field takes one character: a second is refused, not kept for the compile to refuse.
    rig::ProgramRig r;
    r.start();
    r.program.textChanged("TrkSymbol", "b");
    r.program.textChanged("TrkSymbol", "bc");
    EXPECT_EQ(r.w.tracking.TrkSymbol.text(), "b");
}

} // namespace
} // namespace qm::shell
