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
    const forms::MainWindowControls& main = windows.main;
    for (const forms::CheckBox* box : {&main.LEDDisable, &main.MicEncode, &main.ModeLock, &main.AutoMode})
        lines.push_back(std::to_string(box->value()));
    for (const forms::MenuItem* item : main.menus.inputBaudItems())
        lines.push_back(item->checked() ? "checked" : "-");
    lines.push_back(main.menus.out300.checked() ? "300" : "1200");
    switch (mode) {
    case forms::Mode::Telemetry:
        lines.insert(lines.end(),
                     {std::to_string(windows.telemetry.TelTxOn.selected()), windows.telemetry.TelUserTrigChar.text()});
        break;
    case forms::Mode::Beacon:
        lines.push_back(windows.beacon.BcnMsgText.text());
        break;
    case forms::Mode::Nmea:
        lines.insert(lines.end(),
                     {std::to_string(windows.nmea.NMEATxOn.selected()), windows.nmea.NMEAUserTrigChar.text(),
                      std::to_string(windows.nmea.NMEADeltaEnable.value())});
        for (const forms::PickList& header : main.GpsString)
            lines.push_back(header.text());
        addStore(lines, windows.nmea.store);
        break;
    case forms::Mode::Tracking:
        lines.insert(lines.end(), {windows.tracking.TrkPrefix.text(), windows.tracking.TrkSeparator.text(),
                                   windows.tracking.TrkComments.text(), windows.tracking.TrkSymbol.text(),
                                   std::to_string(windows.tracking.TrkSendComments.value()),
                                   std::to_string(windows.tracking.TrkDeltaEnable.value())});
        addStore(lines, windows.tracking.store);
        break;
    case forms::Mode::Alarm:
        for (std::size_t i = 0; i < 4; ++i)
            lines.insert(lines.end(), {windows.alarm.AlarmMsgText[i].text(),
                                       std::to_string(windows.alarm.AlmCondition[i].listIndex())});
        lines.insert(lines.end(), {windows.alarm.AlmArmDelay.text(), windows.alarm.AlmTxCntrLimit.text()});
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
             setStation(w.telemetry.station, false);
             w.main.menus.in1200.setChecked(false);
             w.main.menus.in4800.setChecked(true);
             w.main.LEDDisable.setValue(1);
             w.main.ModeLock.setValue(1);
             w.telemetry.TelTxOn.setValue(forms::kUserDefined, true);
             w.telemetry.TelUserTrigChar.setText("42");
         }},
        {"Beacon", M::Beacon, true,
         [](W& w) {
             setStation(w.beacon.station, false);
             w.main.ModeLock.setValue(1);
             w.beacon.BcnMsgText.setText("!4903.50N/07201.75W-Test \r\nsecond line  ");
         }},
        {"Nmea", M::Nmea, false,
         [](W& w) {
             setStation(w.nmea.station, true);
             setStore(w.nmea.store, false, false);
             forms::showNmeaProfile(w);
             w.main.menus.in1200.setChecked(false);
             w.main.menus.in9600.setChecked(true);
             w.nmea.NMEATxOn.setValue(forms::kLineFeed, true);
             w.nmea.NMEADeltaEnable.setValue(1);
             w.main.GpsString[0].setText("$GPRMC");
             w.main.GpsString[1].setText("$GPGGA");
         }},
        {"Nmea300", M::Nmea, true,
         [](W& w) {
             setStation(w.nmea.station, true);
             setStore(w.nmea.store, true, false);
             forms::showNmeaProfile(w);
             w.main.ModeLock.setValue(1);
             w.nmea.NMEATxOn.setValue(forms::kUserDefined, true);
             w.nmea.NMEAUserTrigChar.setText("0");
             w.main.GpsString[0].setText("$GP");
         }},
        {"Tracking", M::Tracking, false,
         [](W& w) {
             setStation(w.tracking.station, true);
             setStore(w.tracking.store, false, true);
             forms::showTrackingProfile(w);
             w.main.menus.in1200.setChecked(false);
             w.main.menus.in2400.setChecked(true);
             w.main.MicEncode.setValue(1);
             w.main.AutoMode.setValue(1);
             w.tracking.TrkDeltaEnable.setValue(1);
             w.tracking.TrkPrefix.setText("!");
             w.tracking.TrkSeparator.setText("/");
             w.tracking.TrkComments.setText(std::string(21, 'c'));
         }},
        {"Tracking300", M::Tracking, true,
         [](W& w) {
             setStation(w.tracking.station, true);
             setStore(w.tracking.store, true, true);
             forms::showTrackingProfile(w);
             w.main.LEDDisable.setValue(1);
             w.main.ModeLock.setValue(1);
             w.tracking.TrkPrefix.setText("=");
             w.tracking.TrkComments.setText("Mobile");
         }},
        {"Alarm", M::Alarm, false,
         [](W& w) {
             setStation(w.alarm.station, false);
             w.main.ModeLock.setValue(1);
             w.alarm.AlarmMsgText[0].setText(std::string(25, 'a'));
             w.alarm.AlarmMsgText[1].setText(" Door open ");
             w.alarm.AlarmMsgText[3].setText(std::string(15, 'd'));
             w.alarm.AlmCondition[0].setListIndex(1);
             w.alarm.AlmCondition[2].setListIndex(1);
             w.alarm.AlmArmDelay.setText("63.5");
             w.alarm.AlmTxCntrLimit.setText("255");
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
        forms::selectNmeaProfileTab(received, 6);
        forms::selectTrackingProfileTab(received, 6);
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
