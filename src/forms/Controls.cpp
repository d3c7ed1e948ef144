// Every control of every window by its name.
#include "forms/Controls.h"

namespace qm::forms
{

namespace
{

using Visit = std::function<void(const std::string&, Control)>;

void visitStation(StationControls& station, const Visit& visit)
{
    visit(station.window.name(), &station.window);
    visit(station.MyCall.name(), &station.MyCall);
    visit(station.SSID.name(), &station.SSID);
    visit(station.ToCall.name(), &station.ToCall);
    for (auto& path : station.Path)
        visit(path.name(), &path);
    for (auto& specialPath : station.SpecPath)
        visit(specialPath.name(), &specialPath);
    visit(station.TmrMin.name(), &station.TmrMin);
    visit(station.TmrSec.name(), &station.TmrSec);
    visit(station.TxDelay.name(), &station.TxDelay);
    visit(station.TxTail.name(), &station.TxTail);
    visit(station.HelpFrame.name(), &station.HelpFrame);
    visit(station.HelpBox.name(), &station.HelpBox);
}

void visitOptions(OptionGroup& group, const Visit& visit)
{
    for (int option = 0; option < group.size(); ++option)
        visit(group.name(option), OptionRef{&group, option});
}

void visitMenus(Menus& menus, const Visit& visit)
{
    for (MenuItem* item : {&menus.file,
                           &menus.newconfiguration,
                           &menus.openconfiguration,
                           &menus.saveconfiguration,
                           &menus.memorizedefaults,
                           &menus.printprofiles,
                           &menus.printerfont,
                           &menus.exit,
                           &menus.read,
                           &menus.write,
                           &menus.mode,
                           &menus.telemetry,
                           &menus.beacon,
                           &menus.nmea,
                           &menus.tracking,
                           &menus.alarm,
                           &menus.setup,
                           &menus.serialport,
                           &menus.com1,
                           &menus.com2,
                           &menus.com3,
                           &menus.com4,
                           &menus.otherdevice,
                           &menus.inputbaudrate,
                           &menus.in1200,
                           &menus.in2400,
                           &menus.in4800,
                           &menus.in9600,
                           &menus.outputbaudrate,
                           &menus.out300,
                           &menus.out1200,
                           &menus.verifyafterwrite,
                           &menus.help,
                           &menus.contents,
                           &menus.about,
                           &menus.save,
                           &menus.recentfiles})
        visit(item->name(), item);
    for (MenuItem& item : menus.recentfile)
        visit(item.name(), &item);
}

} // namespace

void forEachControl(Windows& windows, const Visit& visit)
{
    MainWindowControls& main = windows.main;
    visit(main.window.name(), &main.window);
    visitMenus(main.menus, visit);
    for (CheckBox* box : {&main.LEDDisable, &main.MicEncode, &main.ModeLock, &main.AutoMode})
        visit(box->name(), box);
    visit(main.DataHeaderFrame.name(), &main.DataHeaderFrame);
    for (auto& header : main.GpsString)
        visit(header.name(), &header);
    for (auto& panel : main.DataHeader)
        visit(panel.name(), &panel);
    visit(main.VQ3Status.name(), &main.VQ3Status);
    visit(main.ConnectButton.name(), &main.ConnectButton);

    visitStation(windows.telemetry.station, visit);
    visitOptions(windows.telemetry.TelTxOn, visit);
    visit(windows.telemetry.TelUserTrigChar.name(), &windows.telemetry.TelUserTrigChar);

    visitStation(windows.beacon.station, visit);
    visit(windows.beacon.BcnMsgText.name(), &windows.beacon.BcnMsgText);

    NmeaForm& nmea = windows.nmea;
    visitStation(nmea.station, visit);
    visitOptions(nmea.NMEATxOn, visit);
    visit(nmea.NMEAUserTrigChar.name(), &nmea.NMEAUserTrigChar);
    visit(nmea.NMEADeltaEnable.name(), &nmea.NMEADeltaEnable);
    visit(nmea.NMEAAdaptiveTransmitEnable.name(), &nmea.NMEAAdaptiveTransmitEnable);
    visit(nmea.NMEAProfile.name(), &nmea.NMEAProfile);
    visit(nmea.NMEAProfileFrame.name(), &nmea.NMEAProfileFrame);

    TrackingForm& tracking = windows.tracking;
    visitStation(tracking.station, visit);
    for (TextField* field : {&tracking.TrkPrefix, &tracking.TrkSeparator, &tracking.TrkComments, &tracking.TrkSymbol})
        visit(field->name(), field);
    for (CheckBox* box : {&tracking.TrkSendComments, &tracking.TrkDeltaEnable, &tracking.TrkAdaptiveTransmitEnable})
        visit(box->name(), box);
    visit(tracking.TrkProfile.name(), &tracking.TrkProfile);
    visit(tracking.TrkProfileFrame.name(), &tracking.TrkProfileFrame);

    AlarmForm& alarm = windows.alarm;
    visitStation(alarm.station, visit);
    for (auto& message : alarm.AlarmMsgText)
        visit(message.name(), &message);
    for (auto& condition : alarm.AlmCondition)
        visit(condition.name(), &condition);
    visit(alarm.AlmArmDelay.name(), &alarm.AlmArmDelay);
    visit(alarm.AlmTxCntrLimit.name(), &alarm.AlmTxCntrLimit);

    visit(windows.welcome.window.name(), &windows.welcome.window);
    visit(windows.welcome.ShowSplashScreen.name(), &windows.welcome.ShowSplashScreen);
    visit(windows.printProgress.window.name(), &windows.printProgress.window);
}

std::optional<Control> findControl(Windows& windows, std::string_view name)
{
    std::optional<Control> found;
    forEachControl(windows, [&](const std::string& controlName, Control control) {
        if (!found && controlName == name)
            found = control;
    });
    return found;
}

std::optional<Mode> controlMode(std::string_view name)
{
    struct Prefix
    {
        std::string_view text;
        Mode mode;
    };
    static constexpr Prefix kPrefixes[] = {{"Tel", Mode::Telemetry}, {"Bcn", Mode::Beacon}, {"NMEA", Mode::Nmea},
                                           {"Trk", Mode::Tracking},  {"Alm", Mode::Alarm},  {"Alarm", Mode::Alarm}};
    for (const auto& prefix : kPrefixes)
        if (name.substr(0, prefix.text.size()) == prefix.text)
            return prefix.mode;
    return std::nullopt;
}

} // namespace qm::forms
