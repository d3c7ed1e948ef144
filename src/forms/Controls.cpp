// Every control of every window by its name.
#include "forms/Controls.h"

#include <type_traits>

namespace qm::forms
{

namespace
{

using Visit = std::function<void(const std::string&, Control)>;
using PlacedVisit = std::function<void(const std::string&, Control, const ControlPlace&)>;

/// Visits a numbered row of controls, numbering them from 1 in their order.
template <class Row>
void visitRow(Row& row, const ControlPlace& place, const PlacedVisit& visit)
{
    int number = 0;
    for (auto& control : row)
        visit(control.name(), &control, {place.mode, place.role, ++number});
}

void visitStation(StationControls& station, Mode mode, const PlacedVisit& visit)
{
    const auto as = [mode](Role role) { return ControlPlace{mode, role, 0}; };
    visit(station.window.name(), &station.window, {});
    visit(station.MyCall.name(), &station.MyCall, as(Role::MyCall));
    visit(station.SSID.name(), &station.SSID, as(Role::SSID));
    visit(station.ToCall.name(), &station.ToCall, as(Role::ToCall));
    visitRow(station.Path, as(Role::Path), visit);
    visitRow(station.SpecPath, as(Role::SpecialPath), visit);
    visit(station.TmrMin.name(), &station.TmrMin, as(Role::TimerMinutes));
    visit(station.TmrSec.name(), &station.TmrSec, as(Role::TimerSeconds));
    visit(station.TxDelay.name(), &station.TxDelay, as(Role::TxDelay));
    visit(station.TxTail.name(), &station.TxTail, as(Role::TxTail));
    visit(station.HelpFrame.name(), &station.HelpFrame, as(Role::Other));
    visit(station.HelpBox.name(), &station.HelpBox, as(Role::Other));
}

void visitOptions(OptionGroup& group, const ControlPlace& place, const PlacedVisit& visit)
{
    for (int option = 0; option < group.size(); ++option)
        visit(group.name(option), OptionRef{&group, option}, place);
}

void visitMenus(Menus& menus, const PlacedVisit& visit)
{
    const int recentFiles = static_cast<int>(menus.recentfile.size());
    for (const MenuEntry& entry : menuLayout())
        if (entry.id && !placeInRow(*entry.id, MenuId::RecentFile1, recentFiles)) {
            MenuItem& item = menus.item(*entry.id);
            visit(item.name(), &item, {});
        }
    // The recent files carry their number, the latest first.
    visitRow(menus.recentfile, {}, visit);
}

/// Visits every control with its place, in the order forEachControl gives.
void forEachPlacedControl(Windows& windows, const PlacedVisit& visit)
{
    MainWindowControls& main = windows.main;
    visit(main.window.name(), &main.window, {});
    visitMenus(main.menus, visit);
    for (CheckBox* box : {&main.LEDDisable, &main.MicEncode, &main.ModeLock, &main.AutoMode})
        visit(box->name(), box, {});
    visit(main.DataHeaderFrame.name(), &main.DataHeaderFrame, {});
    visitRow(main.GpsString, {}, visit);
    visitRow(main.DataHeader, {}, visit);
    visit(main.VQ3Status.name(), &main.VQ3Status, {});
    visit(main.ConnectButton.name(), &main.ConnectButton, {});
    for (Panel* panel : {&main.ModeAreaHint, &main.ModeAreaHintText, &main.ChooseModeButton, &main.ReadUnitButton,
                         &main.OpenFileButton})
        visit(panel->name(), panel, {});

    const ControlPlace inTelemetry{Mode::Telemetry};
    visitStation(windows.telemetry.station, Mode::Telemetry, visit);
    visitOptions(windows.telemetry.TelTxOn, inTelemetry, visit);
    visit(windows.telemetry.TelUserTrigChar.name(), &windows.telemetry.TelUserTrigChar, inTelemetry);

    visitStation(windows.beacon.station, Mode::Beacon, visit);
    visit(windows.beacon.BcnMsgText.name(), &windows.beacon.BcnMsgText, ControlPlace{Mode::Beacon});

    NmeaForm& nmea = windows.nmea;
    const ControlPlace inNmea{Mode::Nmea};
    visitStation(nmea.station, Mode::Nmea, visit);
    visitOptions(nmea.NMEATxOn, inNmea, visit);
    visit(nmea.NMEAUserTrigChar.name(), &nmea.NMEAUserTrigChar, inNmea);
    visit(nmea.NMEADeltaEnable.name(), &nmea.NMEADeltaEnable, inNmea);
    visit(nmea.NMEAAdaptiveTransmitEnable.name(), &nmea.NMEAAdaptiveTransmitEnable, inNmea);
    visit(nmea.NMEAProfile.name(), &nmea.NMEAProfile, inNmea);
    visit(nmea.NMEAProfileFrame.name(), &nmea.NMEAProfileFrame, inNmea);

    TrackingForm& tracking = windows.tracking;
    const ControlPlace inTracking{Mode::Tracking};
    visitStation(tracking.station, Mode::Tracking, visit);
    for (TextField* field : {&tracking.TrkPrefix, &tracking.TrkSeparator, &tracking.TrkComments, &tracking.TrkSymbol})
        visit(field->name(), field, inTracking);
    for (CheckBox* box : {&tracking.TrkSendComments, &tracking.TrkDeltaEnable, &tracking.TrkAdaptiveTransmitEnable})
        visit(box->name(), box, inTracking);
    visit(tracking.TrkProfile.name(), &tracking.TrkProfile, inTracking);
    visit(tracking.TrkProfileFrame.name(), &tracking.TrkProfileFrame, inTracking);

    AlarmForm& alarm = windows.alarm;
    const ControlPlace inAlarm{Mode::Alarm};
    visitStation(alarm.station, Mode::Alarm, visit);
    visitRow(alarm.AlarmMsgText, inAlarm, visit);
    visitRow(alarm.AlmCondition, inAlarm, visit);
    visit(alarm.AlmArmDelay.name(), &alarm.AlmArmDelay, inAlarm);
    visit(alarm.AlmTxCntrLimit.name(), &alarm.AlmTxCntrLimit, inAlarm);

    visit(windows.welcome.window.name(), &windows.welcome.window, {});
    visit(windows.welcome.ShowSplashScreen.name(), &windows.welcome.ShowSplashScreen, {});
    visit(windows.printProgress.window.name(), &windows.printProgress.window, {});
}

} // namespace

std::string labelOf(const Control& control)
{
    return std::visit(
        [](const auto& field) -> std::string {
            using Kind = std::decay_t<decltype(field)>;
            if constexpr (std::is_same_v<Kind, OptionRef>)
                return field.group->label(field.option);
            else if constexpr (std::is_same_v<Kind, MenuItem*> || std::is_same_v<Kind, Panel*>)
                return {};
            else
                return field->label();
        },
        control);
}

void forEachControl(Windows& windows, const Visit& visit)
{
    forEachPlacedControl(
        windows, [&visit](const std::string& name, Control control, const ControlPlace&) { visit(name, control); });
}

std::optional<PlacedControl> locateControl(Windows& windows, std::string_view name)
{
    std::optional<PlacedControl> found;
    forEachPlacedControl(windows, [&](const std::string& controlName, Control control, const ControlPlace& place) {
        if (!found && controlName == name)
            found = PlacedControl{control, place};
    });
    return found;
}

std::optional<Control> findControl(Windows& windows, std::string_view name)
{
    if (auto found = locateControl(windows, name))
        return found->control;
    return std::nullopt;
}

} // namespace qm::forms
