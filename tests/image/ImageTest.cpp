// Whole images of every mode, byte for byte, their way back through the upload decoding into the windows, and the
// refusal of a value that has no place in an image.
#include "image/Compile.h"
#include "image/CompileShared.h"
#include "image/Decode.h"
#include "image/Encoding.h"
#include "image/PacketHeader.h"

#include "forms/Controls.h"
#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "validation/CheckWindows.h"

#include <gtest/gtest.h>

#include <locale>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

namespace qm::image
{
namespace
{

using M = forms::Mode;
using W = forms::Windows;
using validation::set;

void setOutputBaud(forms::Windows& windows, bool baud300)
{
    windows.main.menus.out300.setChecked(baud300);
    windows.main.menus.out1200.setChecked(!baud300);
    forms::rebuildTxLists(windows, baud300, 0, 0);
}

// The windows as start-up leaves them: selectors filled, 1200 baud in and out.
forms::Windows readyWindows()
{
    forms::Windows windows;
    for (const forms::Mode mode : forms::kModes) {
        for (forms::PickList& path : windows.station(mode).Path) {
            for (const auto& entry : forms::kPathEntries)
                path.addItem(entry);
            path.setListIndex(0);
        }
    }
    for (forms::PickList& condition : windows.alarm.AlmCondition) {
        for (const auto& entry : forms::kConditionEntries)
            condition.addItem(entry);
        condition.setListIndex(0);
    }
    windows.main.menus.in1200.setChecked(true);
    setOutputBaud(windows, false);
    return windows;
}

/// Sets what an upload sets from the image's first bytes before it fills the mode window.
void receiveHeader(forms::Windows& windows, const ImageFields& fields)
{
    const ModeByte bits = decodeModeByte(fields.modeByte);
    const forms::Mode mode = *forms::modeOfCode(bits.modeCode);
    if (mode != forms::Mode::Beacon && mode != forms::Mode::Alarm) {
        const auto items = windows.main.menus.inputBaudItems();
        for (std::size_t i = 0; i < items.size(); ++i)
            items[i]->setChecked(static_cast<int>(i) == bits.inputBaudCode);
    }
    setOutputBaud(windows, bits.output300);
    const OptionByte options = decodeOptionByte(fields.optionByte);
    windows.main.LEDDisable.setValue(options.ledDisable ? 1 : 0);
    windows.main.MicEncode.setValue(options.micEncode ? 1 : 0);
    windows.main.ModeLock.setValue(options.modeLock ? 1 : 0);
    if (const auto autoMode = decodeAutoModeByte(fields.autoModeByte))
        windows.main.AutoMode.setValue(*autoMode ? 1 : 0);
    windows.station(mode).MyCall.setText(fields.stationCallsign);
    windows.station(mode).ToCall.setText(fields.toCall);
}

std::string unhex(std::string_view digits)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(std::string(digits.substr(i, 2)), nullptr, 16)));
    return bytes;
}

// Ten different profiles; profile 2 has an empty timer, which the compile stores as "0".
void setStore(forms::ProfileStore& store, bool baud300, bool symbols)
{
    for (int k = 1; k <= forms::kProfileCount; ++k) {
        forms::ProfileEntry& e = store.entry(k);
        e.SSID = k == 1 ? "" : std::to_string(k + 5);
        e.Path = {std::to_string(k % 9), std::to_string((k + 2) % 9), "0", k == 4 ? "8" : "0"};
        e.TmrMin = k == 2 ? "" : std::to_string(6 * k);
        e.TmrSec = std::to_string(5 * k);
        e.TxDelay = baud300 && k == 3 ? "-1" : std::to_string(k + 4);
        e.TxTail = std::to_string(10 - k);
        if (symbols)
            e.Symbol = forms::symbolEntry(k == 5 ? "" : std::string(1, static_cast<char>('!' + 9 * k)), k % 2 == 0);
    }
}

struct Golden
{
    const char* name;
    M mode;
    bool baud300;
    std::string settings;
    const char* image;
    const char* header;
};

// Each mode window as a user sets it; My Call and special paths 1 and 3 are set alike in every mode.
const Golden kGoldens[] = {
    {"Telemetry", M::Telemetry, false,
     "TelToCall=APRS-3;TelMySSID=15;TelPath1=5;TelPath2=3;TelPath3=7;TelTmrMin=68;TelTmrSec=15;TelTxDelay=15;"
     "TelTxTail=3;in1200=0;in4800=1;LEDDisable=1;ModeLock=1;TelTxOnUserEnable=1;TelUserTrigChar=255",
     "100500004E3043414C4C41505253202003AE92888A644064404040404040609C60868298987E404040404040603C0EFF"
     "FFFFF3000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     "0000000000000000000000000000000000000000000000000000000000000000",
     "N0CALL-15>APRS-3,WIDE2-2,WIDE,N0CALL-15"},
    {"Beacon", M::Beacon, true,
     "BcnToCall=APRS-0;BcnPath1=6;BcnPath2=1;BcnPath4=2;BcnTmrMin=10;BcnTxDelay=14;BcnTxTail=-1;ModeLock=1;"
     "BcnMsgText=" +
         std::string(45, 'b') + "!4903.50N/07201.75W-Test \r\nx  ",
     "210400004E3043414C4C41505253202000AE92888A644064404040404040609C60868298987E404040404040601D2002"
     "5800F0626262626262626262626262626262626262626262626262626262626262626262626262626262626262626262"
     "21343930332E35304E2F30373230312E3735572D54657374200D0A7820200000",
     "N0CALL>APRS,(empty Special Path 2),GATE"},
    {"Nmea", M::Nmea, false,
     "NMEAToCall=GPS;in1200=0;in9600=1;ModeLock=1;NMEATxOnLFEnable=1;NMEADeltaEnable=1;GpsString1=$GPRMC;"
     "GpsString2=$GPGGA",
     "5A0400004E3043414C4C47505320202030AE92888A644064404040404040609C60868298987E40404040404060310001"
     "6D0A594200700A0A68C30084470A77D4F095B40A86EC00A7210A95FD00B88E0AA40E00C9FB0AB31F00DB680AC22000EC"
     "D50AD13100FE420AE0244750524D430024475047474100000000000000000000",
     "N0CALL>GPS,GATE,WIDE"},
    {"Nmea300", M::Nmea, true, "NMEAToCall=GPS-15;LEDDisable=1;NMEATxOnCREnable=1;GpsString3=$GP",
     "220100004E3043414C4C4750532020200FAE92888A644064404040404040609C60868298987E40404040404060310001"
     "6D0D6A4200700A0D79C30084470D08D4F095B40D97EC00A7210DA6FD00B88E0DB50E00C9FB0DC41F00DB680DD32000EC"
     "D50DE23100FE420DF10000000000000000000000000000244750000000000000",
     "N0CALL>GPS-15,GATE,WIDE"},
    {"Tracking", M::Tracking, false,
     "TrkToCall=APRS;in1200=0;in2400=1;MicEncode=1;AutoMode=1;TrkDeltaEnable=1;TrkPrefix=!;TrkSeparator=/;"
     "TrkComments=" +
         std::string(21, 'c'),
     "4B02FF004E3043414C4C41505253202030AE92888A644064404040404040609C60868298987E40404040404060310001"
     "6D2A594200700AB368C30084473C77D4F095B4C586EC00A7210095FD00B88ED7A40E00C9FB60B31F00DB68E9C22000EC"
     "D572D13100FE42FBE0212F636363636363636363636363636363636363636363",
     "N0CALL>APRS,GATE,WIDE"},
    {"Tracking300", M::Tracking, true, "TrkToCall=APZQM-255;LEDDisable=1;ModeLock=1;TrkPrefix==;TrkComments=Mobile",
     "230500004E3043414C4C41505A514D20FFAE92888A644064404040404040609C60868298987E40404040404060310001"
     "6D2A6A4200700AB379C30084473C08D4F095B4C597EC00A72100A6FD00B88ED7B50E00C9FB60C41F00DB68E9D32000EC"
     "D572E23100FE42FBF13D004D6F62696C65000000000000000000000000000000",
     "N0CALL>APZQM-255,GATE,WIDE"},
    {"Alarm", M::Alarm, false,
     "AlmToCall=ALARM;AlmMySSID=9;AlmPath1=8;AlmPath2=4;AlmTmrMin=0;AlmTmrSec=30;ModeLock=1;AlarmMsgText1=" +
         std::string(25, 'a') + ";AlarmMsgText2= Door open ;AlarmMsgText4=" + std::string(15, 'd') +
         ";AlmCondition1=1;AlmCondition3=1;AlmArmDelay=63.5;AlmTxCntrLimit=255",
     "040400004E3043414C4C414C41524D2030AE92888A644064404040404040609C60868298987E404040404040604F0090"
     "1E0000616161616161616161616161616161616161616161616161610020446F6F72206F70656E200000000000000000"
     "0000000000000000000000000064646464646464646464646464646400A07FFF",
     "N0CALL-9>ALARM,(empty Special Path 4),ECHO"},
};

// Everything a user sees of the windows: every control's value and the entries of the lists, and the stores.
std::vector<std::string> describe(W& w)
{
    std::vector<std::string> lines;
    forms::forEachControl(w, [&lines](const std::string& name, forms::Control control) {
        std::string value;
        if (auto* field = std::get_if<forms::TextField*>(&control))
            value = (*field)->text();
        if (auto* list = std::get_if<forms::PickList*>(&control)) {
            value = std::to_string((*list)->listIndex()) + " " + (*list)->text();
            for (const std::string& entry : (*list)->entries())
                value += "|" + entry;
        }
        if (auto* option = std::get_if<forms::OptionRef>(&control))
            value = std::to_string(option->group->value(option->option));
        if (auto* box = std::get_if<forms::CheckBox*>(&control))
            value = std::to_string((*box)->value());
        if (auto* item = std::get_if<forms::MenuItem*>(&control))
            value = std::to_string((*item)->checked());
        if (auto* tabs = std::get_if<forms::TabStrip*>(&control))
            value = std::to_string((*tabs)->selectedIndex());
        lines.push_back(name + " " + value);
    });
    for (const forms::ProfileStore* store : {&w.nmea.store, &w.tracking.store})
        for (int k = 1; k <= forms::kProfileCount; ++k) {
            const forms::ProfileEntry& e = store->entry(k);
            lines.push_back(e.SSID + "|" + e.Path[0] + "|" + e.Path[1] + "|" + e.Path[2] + "|" + e.Path[3] + "|" +
                            e.Symbol + "|" + e.TmrMin + "|" + e.TmrSec + "|" + e.TxDelay + "|" + e.TxTail);
        }
    return lines;
}

// A locale that writes "63,5": the image and the windows must not depend on it.
struct CommaDecimal : std::numpunct<char>
{
    char do_decimal_point() const override { return ','; }
};

TEST(ImageTest, EveryModeCompilesToItsImageAndComesBackFieldForField)
{
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    for (const Golden& c : kGoldens) {
        SCOPED_TRACE(c.name);
        W original = readyWindows();
        setOutputBaud(original, c.baud300);
        const std::string prefix = original.station(c.mode).prefix();
        set(original,
            prefix + "MyCall=N0CALL;" + prefix + "SpecPath1=WIDE2-2;" + prefix + "SpecPath3=N0CALL-15;" + c.settings);
        if (c.mode == M::Nmea || c.mode == M::Tracking) {
            setStore(c.mode == M::Nmea ? original.nmea.store : original.tracking.store, c.baud300,
                     c.mode == M::Tracking);
            c.mode == M::Nmea ? forms::showNmeaProfile(original) : forms::showTrackingProfile(original);
        }
        ImageFields fields;
        const CompileResult first = compileMode(c.mode, original, fields);
        ASSERT_TRUE(first.ok());
        EXPECT_EQ(first.downloadImage, "D" + unhex(c.image));
        const std::string image = first.downloadImage.substr(1);
        const auto headers = packetHeaders(image);
        ASSERT_FALSE(headers.empty());
        EXPECT_EQ(monitorNotation(headers[0]), c.header);

        // A window that showed another profile (NMEA) or the decoded one (Tracking) before the upload.
        W received = readyWindows();
        set(received, prefix + "SpecPath2=WIDE6-6;" + prefix + "SpecPath4=WIDE7-7");
        if (c.mode == M::Nmea)
            forms::selectNmeaProfileTab(received, 6);
        ImageFields decoded;
        splitUpload(image, decoded);
        EXPECT_EQ(decoded.nmeaTail, fields.nmeaTail);
        receiveHeader(received, decoded);
        fillMode(c.mode, received, decoded);
        EXPECT_EQ(describe(received), describe(original));
        EXPECT_EQ(compileMode(c.mode, received, decoded).downloadImage, first.downloadImage);
    }
    std::locale::global(previous);
}

TEST(ImageTest, HeaderBytesFollowTheMenusAndBoxesTheModeUses)
{
    // The menu entries and boxes checked (none else), and the mode, option and auto mode bytes.
    const std::tuple<M, std::string, std::string> cases[] = {
        {M::Telemetry, "", "000400"},
        {M::Telemetry, "in2400 in9600 out300 out1200 LEDDisable MicEncode AutoMode Delta", "180500"},
        {M::Beacon, "in9600 out300 MicEncode AutoMode", "210400"},
        {M::Nmea, "in2400 out300 MicEncode", "2A0000"},
        {M::Tracking, "in9600 out300 LEDDisable MicEncode ModeLock AutoMode Delta", "7B07FF"},
        {M::Alarm, "in2400 out300 MicEncode AutoMode Delta", "2C0400"},
    };
    for (const auto& [mode, checked, bytes] : cases) {
        SCOPED_TRACE(checked);
        W w = readyWindows();
        std::string settings = "in1200=0;out1200=0";
        std::istringstream names(checked);
        for (std::string name; names >> name;)
            settings += ";" + (name == "Delta" ? "NMEADeltaEnable=1;TrkDeltaEnable" : name) + "=1";
        set(w, settings);
        ImageFields fields;
        EXPECT_EQ(compileMode(mode, w, fields).downloadImage.substr(0, 5), unhex("44" + bytes + "00"));
    }
    EXPECT_EQ((std::vector{decodeAutoModeByte(0x00), decodeAutoModeByte(0xFF), decodeAutoModeByte(0x01)}),
              (std::vector<std::optional<bool>>{false, true, std::nullopt}));
}

TEST(ImageTest, FieldTextsTakeTheirPlaceInTheImage)
{
    using S = std::string;
    const std::tuple<M, std::string, std::size_t, std::string> cases[] = {
        {M::Telemetry, "TelMyCall= n0ca ", 5, "N0CA  "},
        {M::Telemetry, "TelToCall=APRS", 11, S("APRS  \x30", 7)},
        {M::Telemetry, "TelToCall=APRS-", 11, S("APRS  \0", 7)},
        {M::Telemetry, "TelToCall= aprs-2.5 ", 11, S("APRS  \x02", 7)},
        {M::Telemetry, "TelToCall=APZQM1-1", 11, S("APZQM1\x01", 7)},
        {M::Beacon, "BcnSpecPath1=wide", 18, "\xAE\x92\x88\x8A\x40\x40\x60"},
        {M::Beacon, "BcnSpecPath1=WIDE-0", 24, "\x60"},
        {M::Beacon, "BcnSpecPath1=WIDE-2.5", 24, "\x64"},
        {M::Telemetry, "TelMySSID=.5", 48, S("\0\0", 2)},
        {M::Telemetry, "TelTmrMin=.5", 48, S("\0\x1E", 2)},
        {M::Telemetry, "TelTmrMin=1;TelTmrSec=-5", 48, S("\0\x37", 2)},
        {M::Telemetry, "TelTxDelay=-1", 51, S("\0", 1)},
        {M::Telemetry, "out1200=0;TelTxDelay=5;TelTxTail=-1", 51, "\x60"},
        {M::Telemetry, "TelUserTrigChar=7", 50, S("\0", 1)},
        {M::Telemetry, "TelTxOnCREnable=1;TelUserTrigChar=999", 50, "\x0D"},
        {M::Telemetry, "TelTxOnUserEnable=1;TelUserTrigChar=2.5", 50, "\x02"},
        {M::Alarm, "AlmArmDelay=0.75;AlmTxCntrLimit=12.5;AlmCondition1=-1", 126, "\x80\x02\x0C"},
        {M::Alarm, "AlmArmDelay=127.5", 127, "\xFF"},
        {M::Nmea, "NMEASSID=7;NMEAPath1=2;NMEATmrMin=5;NMEATxDelay=9", 46, S(6, '\0')},
        {M::Nmea,
         "NMEA.9.SSID=7.5;NMEA.9.Path1=9;NMEA.9.Path2=-1;NMEA.9.Path3=2.5;NMEA.9.Path4=abc;NMEA.9.TmrMin=0.025", 94,
         S("\0\x02\x80\x02\0\0", 6)},
        {M::Nmea, "NMEA.2.SSID=8.5;NMEA.2.TmrMin=4.25;NMEA.2.TxDelay=1e1", 52, S("\0\0\x80\xFF\0\xA0", 6)},
        {M::Nmea, "GpsString2= $gp", 113, S(" $gp\0\0\0", 7)},
        {M::Tracking, "Trk.6.Symbol= ", 80, S("\0", 1)},
        {M::Tracking, "Trk.6.Symbol=\xA0", 80, "\xA0"},
    };
    for (const auto& [mode, settings, position, bytes] : cases) {
        SCOPED_TRACE(settings);
        W w = readyWindows();
        set(w, settings);
        ImageFields fields;
        EXPECT_EQ(compileMode(mode, w, fields).downloadImage.substr(position, bytes.size()), bytes);
    }
}

TEST(ImageTest, UploadedBytesNoCompileWritesFillTheWindowsAndHeadersSafely)
{
    W w = readyWindows();
    ImageFields fields = decodeFields(std::string(128, '\0'));
    const std::pair<std::string, std::string> texts[] = {
        {"   HI", "HI"}, {std::string(76, ' '), ""}, {std::string("A\0B", 3), "A"}};
    for (const auto& [bytes, shown] : texts) {
        fields.beaconText = padNul(bytes, 76);
        fillBeaconWindow(w, fields);
        EXPECT_EQ(w.beacon.BcnMsgText.text(), shown);
    }

    // The profile index byte picks the profile on show; one no tab has shows profile 1.
    for (const auto& [indexByte, tab] : {std::pair{3, 3}, {9, 9}, {10, 0}, {12, 0}}) {
        // The index byte stands fourth among the unit's bytes, before the callsign (here a byte a tab has too).
        std::string bytes(128, '\0');
        bytes[3] = static_cast<char>(indexByte);
        bytes[4] = 7;
        fields = decodeFields(bytes);
        fields.modeByte = 0x03;
        fields.profile[0] = {0xB5, 0, 0, 0, 13, 0};
        fields.dataHeader = {padNul("  $GPGGA", 7).substr(0, 7), "", ""};
        fillTrackingWindow(w, fields);
        fillNmeaWindow(w, fields);
        EXPECT_EQ(w.tracking.TrkProfile.selectedIndex(), tab);
        EXPECT_EQ(w.nmea.NMEAProfile.selectedIndex(), tab);
        EXPECT_EQ(w.tracking.store.entry(1).Path[0], "-1"); // a path code no compile writes
    }
    // An image of another mode leaves the delta box; the termination character is profile 1's; data headers lose
    // their leading spaces.
    EXPECT_EQ(w.nmea.NMEATxOn.selected(), forms::kCarriageReturn);
    EXPECT_EQ(w.main.GpsString[0].text(), "$GPGG");
    w.nmea.NMEADeltaEnable.setValue(1);
    fillNmeaWindow(w, fields);
    EXPECT_EQ(w.nmea.NMEADeltaEnable.value(), 1);

    // Packet headers: none for a mode the program does not know; unknown path codes are named.
    std::string image(kImageSize, '\0');
    image[0] = '\x05';
    EXPECT_TRUE(packetHeaders(image).empty());
    image[0] = '\x01';
    image.replace(4, 13, std::string("W1AW  APRS  \x30", 13));
    image[45] = '\x76';
    image[47] = '\x30';
    const auto headers = packetHeaders(image);
    ASSERT_EQ(headers.size(), 1u);
    EXPECT_EQ(monitorNotation(headers[0]), "W1AW-3>APRS,(path code 6),(path code 7)");
}

TEST(RefusalTest, AValueWithoutAPlaceInTheImageIsRefusedByName)
{
    const std::string r15 = wholeNumberReason(0, 15), r255 = wholeNumberReason(0, 255);
    const std::string r4095 = wholeNumberReason(0, 4095), calls = "My Call", timer = "Transmit Timer";
    const std::string delay = "Transmit Delay", trig = "Termination Character";
    // Mode, settings, focus, label, profile and the reason the box gives (or a name for a reason several give).
    const std::tuple<M, std::string, std::string, std::string, std::optional<int>, std::string> cases[] = {
        {M::Telemetry, "TelMySSID=16", "TelMySSID", "My SSID", {}, r15},
        {M::Nmea, "NMEA.5.SSID=15.5", "NMEASSID", "SSID", 5, r15},
        {M::Telemetry, "TelMyCall=N0\x01", "TelMyCall", calls, {}, "ascii"},
        {M::Tracking, "TrkMyCall=\xC4\x42", "TrkMyCall", calls, {}, "ascii"},
        {M::Alarm, "AlmMyCall= ABCDEFG", "AlmMyCall", calls, {}, "six"},
        {M::Telemetry, "TelToCall=APRSXYZ-1", "TelToCall", "To Call", {}, "six"},
        {M::Nmea, "NMEAToCall=APRS-256", "NMEAToCall", "To Call", {}, r255},
        {M::Alarm, "AlmToCall=AP\tRS", "AlmToCall", "To Call", {}, "ascii"},
        {M::Beacon, "BcnSpecPath2=WIDE2-16", "BcnSpecPath2", "Special Path 2", {}, r15},
        {M::Beacon, "BcnSpecPath4=ABCDEFG", "BcnSpecPath4", "Special Path 4", {}, "six"},
        {M::Telemetry, "TelSpecPath1=WIDE\x7F", "TelSpecPath1", "Special Path 1", {}, "ascii"},
        {M::Nmea, "NMEAToCall=APRS-999;NMEASpecPath3=WIDE-99", "NMEASpecPath3", "Special Path 3", {}, r15},
        {M::Telemetry, "TelTmrMin=68;TelTmrSec=16", "TelTmrSec", timer, {}, r4095},
        {M::Alarm, "AlmTmrMin=99", "AlmTmrMin", timer, {}, r4095},
        {M::Tracking, "Trk.7.TmrMin=69", "TrkTmrMin", timer, 7, r4095},
        {M::Nmea, "NMEATxOnUserEnable=1;NMEAUserTrigChar=-1", "NMEAUserTrigChar", trig, {}, r255},
        {M::Alarm, "AlmTxCntrLimit=256", "AlmTxCntrLimit", "Number Times To Send", {}, r255},
        {M::Alarm, "AlmArmDelay=128", "AlmArmDelay", "Arm Delay", {}, wholeNumberReason(0, 127)},
        {M::Telemetry, "TelTxDelay=15;out1200=0", "TelTxDelay", delay, {}, "list"},
        {M::Beacon, "BcnTxTail=15;out1200=0", "BcnTxTail", "Tail Delay", {}, "list"},
        {M::Nmea, "NMEA.10.TxDelay=16", "NMEATxDelay", delay, 10, "list"},
        {M::Nmea, "NMEA.2.TxDelay=1e9", "NMEATxDelay", delay, 2, "list"},
        {M::Tracking, "Trk.2.TxTail=-2", "TrkTxTail", "Tail Delay", 2, "list"},
        {M::Tracking, "out1200=0;Trk.3.TxDelay=15", "TrkTxDelay", delay, 3, "list"},
        {M::Nmea, "GpsString2=$GPRMCX", "GpsString2", "Data Header 2", {}, "header"},
        {M::Beacon, "BcnMsgText=" + std::string(74, 'b') + "\r\nc", "BcnMsgText", "Beacon Text", {}, lengthReason(76)},
        {M::Tracking, "TrkComments=" + std::string(22, 'c'), "TrkComments", "Comments", {}, lengthReason(21)},
        {M::Tracking, "TrkPrefix=!!", "TrkPrefix", "Prefix", {}, lengthReason(1)},
        {M::Tracking, "Trk.6.Symbol=\xBE>", "TrkSymbol", "Symbol", 6, lengthReason(1)},
        {M::Alarm, "AlarmMsgText1=" + std::string(26, 'm'), "AlarmMsgText1", "Alarm 1 Message", {}, lengthReason(25)},
        {M::Alarm, "AlarmMsgText4=" + std::string(16, 'm'), "AlarmMsgText4", "Alarm 4 Message", {}, lengthReason(15)},
    };
    std::map<std::string, std::string> sharedReasons;
    for (const auto& [mode, settings, focus, label, profile, reasonOrName] : cases) {
        SCOPED_TRACE(focus);
        W w = readyWindows();
        set(w, settings);
        const std::string minutes = w.station(mode).TmrMin.text();
        const auto nmeaStore = w.nmea.store;
        const auto trackingStore = w.tracking.store;
        ImageFields fields;
        fields.modeByte = 0x77;
        const CompileResult result = compileMode(mode, w, fields);
        ASSERT_TRUE(result.refusal);
        EXPECT_TRUE(result.downloadImage.empty());
        EXPECT_EQ(fields.modeByte, 0x77);
        EXPECT_EQ(w.station(mode).TmrMin.text(), minutes);
        for (int k = 1; k <= forms::kProfileCount; ++k) {
            EXPECT_EQ(w.nmea.store.entry(k), nmeaStore.entry(k));
            EXPECT_EQ(w.tracking.store.entry(k), trackingStore.entry(k));
        }

        const std::string lead = refusalBox(focus, label, profile, "").text;
        const std::string& text = result.refusal->text;
        ASSERT_EQ(text.substr(0, lead.size()), lead);
        const std::string reason = text.substr(lead.size());
        const bool named = reasonOrName.find(' ') == std::string::npos;
        EXPECT_EQ(*result.refusal, refusalBox(focus, label, profile, named ? reason : reasonOrName));
        // A reason the cases only name is the same for every case that names it, and differs between names.
        if (named) {
            EXPECT_EQ(sharedReasons.try_emplace(reasonOrName, reason).first->second, reason);
        }
    }
    EXPECT_EQ(sharedReasons.size(), 4u);
    for (const auto& [name, reason] : sharedReasons)
        for (const auto& [otherName, otherReason] : sharedReasons)
            EXPECT_TRUE(name == otherName || reason != otherReason) << name << " and " << otherName;
}

} // namespace
} // namespace qm::image
