// Tests that every mode survives window -> compile -> upload decoding -> window fill -> compile unchanged.
#include "image/Compile.h"
#include "image/Decode.h"

#include "forms/ProfileEditing.h"

#include "ReadyWindows.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qm::image
{
namespace
{

std::vector<std::string> describeStation(const forms::StationControls& station)
{
    std::vector<std::string> lines{station.MyCall.text(),
                                   station.SSID.text(),
                                   station.ToCall.text(),
                                   station.TmrMin.text(),
                                   station.TmrSec.text(),
                                   std::to_string(station.TxDelay.listIndex()),
                                   std::to_string(station.TxTail.listIndex())};
    for (const forms::PickList& path : station.Path) {
        lines.push_back(std::to_string(path.listIndex()));
        for (int entry = 5; entry <= 8; ++entry)
            lines.push_back(path.entries()[static_cast<std::size_t>(entry)]);
    }
    for (const forms::TextField& specialPath : station.SpecPath)
        lines.push_back(specialPath.text());
    return lines;
}

void addStore(std::vector<std::string>& lines, const forms::ProfileStore& store)
{
    for (int k = 1; k <= forms::kProfileCount; ++k) {
        const forms::ProfileEntry& e = store.entry(k);
        lines.insert(lines.end(), {e.SSID, e.Path[0], e.Path[1], e.Path[2], e.Path[3], e.Symbol, e.TmrMin, e.TmrSec,
                                   e.TxDelay, e.TxTail});
    }
}

std::vector<std::string> describe(const forms::Windows& windows, forms::Mode mode)
{
    std::vector<std::string> lines = describeStation(windows.station(mode));
    const forms::MainWindowControls& main = windows.MDIForm1;
    for (const forms::CheckBox* box : {&main.LEDDisable, &main.MicEncode, &main.ModeLock, &main.AutoMode})
        lines.push_back(std::to_string(box->value()));
    for (const forms::MenuItem* item : main.menus.inputBaudItems())
        lines.push_back(item->checked() ? "checked" : "-");
    lines.push_back(main.menus.out300.checked() ? "300" : "1200");
    switch (mode) {
    case forms::Mode::Telemetry:
        lines.insert(lines.end(),
                     {std::to_string(windows.Form1.TelTxOn.selected()), windows.Form1.TelUserTrigChar.text()});
        break;
    case forms::Mode::Beacon:
        lines.push_back(windows.Form2.BcnMsgText.text());
        break;
    case forms::Mode::Nmea:
        lines.insert(lines.end(),
                     {std::to_string(windows.Form3.NMEATxOn.selected()), windows.Form3.NMEAUserTrigChar.text(),
                      std::to_string(windows.Form3.NMEADeltaEnable.value())});
        for (const forms::PickList& header : main.GpsString)
            lines.push_back(header.text());
        addStore(lines, windows.Form3.store);
        break;
    case forms::Mode::Tracking:
        lines.insert(lines.end(), {windows.Form4.TrkPrefix.text(), windows.Form4.TrkSeparator.text(),
                                   windows.Form4.TrkComments.text(), windows.Form4.TrkSymbol.text(),
                                   std::to_string(windows.Form4.TrkSendComments.value()),
                                   std::to_string(windows.Form4.TrkDeltaEnable.value())});
        addStore(lines, windows.Form4.store);
        break;
    case forms::Mode::Alarm:
        for (std::size_t i = 0; i < 4; ++i)
            lines.insert(lines.end(), {windows.Form5.AlarmMsgText[i].text(),
                                       std::to_string(windows.Form5.AlmCondition[i].listIndex())});
        lines.insert(lines.end(), {windows.Form5.AlmArmDelay.text(), windows.Form5.AlmTxCntrLimit.text()});
        break;
    }
    return lines;
}

void setStation(forms::StationControls& station, bool profileMode)
{
    station.MyCall.setText("N0CALL");
    station.ToCall.setText("APRS-3");
    station.SpecPath[0].setText("WIDE2-2");
    station.SpecPath[2].setText("N0CALL-15");
    for (int n = 1; n <= 4; ++n)
        forms::relabelSpecialPath(station, n);
    if (profileMode)
        return;
    station.SSID.setText("12");
    const int paths[] = {5, 3, 7, 0};
    for (std::size_t i = 0; i < 4; ++i)
        station.Path[i].setListIndex(paths[i]);
    station.TmrMin.setText("68");
    station.TmrSec.setText("");
    station.TxDelay.setListIndex(station.TxDelay.count() - 1);
    station.TxTail.setListIndex(3);
}

void setStore(forms::ProfileStore& store, bool baud300, bool symbols)
{
    for (int k = 1; k <= forms::kProfileCount; ++k) {
        forms::ProfileEntry& e = store.entry(k);
        e.SSID = k == 1 ? "" : std::to_string(k + 5);
        e.Path = {std::to_string(k % 9), std::to_string((k + 2) % 9), "0", k == 4 ? "8" : "0"};
        e.TmrMin = std::to_string(6 * k);
        e.TmrSec = std::to_string(5 * k);
        e.TxDelay = baud300 && k == 3 ? "-1" : std::to_string(k + 4);
        e.TxTail = std::to_string(10 - k);
        if (symbols)
            e.Symbol = forms::symbolEntry(k == 5 ? "" : std::string(1, static_cast<char>('!' + 9 * k)), k % 2 == 0);
    }
}

struct RoundTripCase
{
    std::string name;
    forms::Mode mode;
    bool baud300;
    std::function<void(forms::Windows&)> setUp;
};

std::vector<RoundTripCase> roundTripCases()
{
    using M = forms::Mode;
    using W = forms::Windows;
    return {
        {"Telemetry", M::Telemetry, false,
         [](W& w) {
             setStation(w.Form1.station, false);
             w.MDIForm1.menus.in1200.setChecked(false);
             w.MDIForm1.menus.in4800.setChecked(true);
             w.MDIForm1.LEDDisable.setValue(1);
             w.MDIForm1.ModeLock.setValue(1);
             w.Form1.TelTxOn.setValue(forms::kUserDefined, true);
             w.Form1.TelUserTrigChar.setText("42");
         }},
        {"Beacon", M::Beacon, true,
         [](W& w) {
             setStation(w.Form2.station, false);
             w.MDIForm1.ModeLock.setValue(1);
             w.Form2.BcnMsgText.setText("!4903.50N/07201.75W-Test \r\nsecond line  ");
         }},
        {"Nmea", M::Nmea, false,
         [](W& w) {
             setStation(w.Form3.station, true);
             setStore(w.Form3.store, false, false);
             forms::UpdateNMEAProfileForm(w);
             w.MDIForm1.menus.in1200.setChecked(false);
             w.MDIForm1.menus.in9600.setChecked(true);
             w.Form3.NMEATxOn.setValue(forms::kLineFeed, true);
             w.Form3.NMEADeltaEnable.setValue(1);
             w.MDIForm1.GpsString[0].setText("$GPRMC");
             w.MDIForm1.GpsString[1].setText("$GPGGA");
         }},
        {"Nmea300", M::Nmea, true,
         [](W& w) {
             setStation(w.Form3.station, true);
             setStore(w.Form3.store, true, false);
             forms::UpdateNMEAProfileForm(w);
             w.MDIForm1.ModeLock.setValue(1);
             w.Form3.NMEATxOn.setValue(forms::kUserDefined, true);
             w.Form3.NMEAUserTrigChar.setText("0");
             w.MDIForm1.GpsString[0].setText("$GP");
         }},
        {"Tracking", M::Tracking, false,
         [](W& w) {
             setStation(w.Form4.station, true);
             setStore(w.Form4.store, false, true);
             forms::UpdateTrkProfileForm(w);
             w.MDIForm1.menus.in1200.setChecked(false);
             w.MDIForm1.menus.in2400.setChecked(true);
             w.MDIForm1.MicEncode.setValue(1);
             w.MDIForm1.AutoMode.setValue(1);
             w.Form4.TrkDeltaEnable.setValue(1);
             w.Form4.TrkPrefix.setText("!");
             w.Form4.TrkSeparator.setText("/");
             w.Form4.TrkComments.setText(std::string(21, 'c'));
         }},
        {"Tracking300", M::Tracking, true,
         [](W& w) {
             setStation(w.Form4.station, true);
             setStore(w.Form4.store, true, true);
             forms::UpdateTrkProfileForm(w);
             w.MDIForm1.LEDDisable.setValue(1);
             w.MDIForm1.ModeLock.setValue(1);
             w.Form4.TrkPrefix.setText("=");
             w.Form4.TrkComments.setText("Mobile");
         }},
        {"Alarm", M::Alarm, false,
         [](W& w) {
             setStation(w.Form5.station, false);
             w.MDIForm1.ModeLock.setValue(1);
             w.Form5.AlarmMsgText[0].setText(std::string(25, 'a'));
             w.Form5.AlarmMsgText[1].setText(" Door open ");
             w.Form5.AlarmMsgText[3].setText(std::string(15, 'd'));
             w.Form5.AlmCondition[0].setListIndex(1);
             w.Form5.AlmCondition[2].setListIndex(1);
             w.Form5.AlmArmDelay.setText("63.5");
             w.Form5.AlmTxCntrLimit.setText("255");
         }},
    };
}

TEST(RoundTripTest, EveryModeComesBackFieldForFieldAndByteForByte)
{
    for (const RoundTripCase& c : roundTripCases()) {
        SCOPED_TRACE(c.name);
        forms::Windows original = readyWindows();
        setOutputBaud(original, c.baud300);
        c.setUp(original);
        ImageFields fields;
        const CompileResult first = compileMode(c.mode, original, fields);
        ASSERT_TRUE(first.ok());

        ImageFields decoded;
        splitUpload(first.downloadImage.substr(1), decoded);
        forms::Windows received = readyWindows();
        forms::selectNMEAProfileTab(received, 6);
        forms::selectTrkProfileTab(received, 6);
        receiveHeader(received, decoded);
        fillMode(c.mode, received, decoded);

        EXPECT_EQ(describe(received, c.mode), describe(original, c.mode));
        ImageFields again;
        const CompileResult second = compileMode(c.mode, received, again);
        ASSERT_TRUE(second.ok());
        EXPECT_EQ(second.downloadImage, first.downloadImage);
    }
}

} // namespace
} // namespace qm::image
