// The window models: construction with their control names, captions and limits.
#include "forms/Windows.h"

#include "forms/MenuLayout.h"

#include <cassert>
#include <iterator>
#include <utility>

namespace qm::forms
{

namespace
{

std::string named(std::string_view prefix, std::string_view name)
{
    return std::string(prefix) + std::string(name);
}

/// Labels a numbered row of controls: the text with its number from 1 put in place of the "#".
template <class Row>
void labelRow(Row& row, std::string_view text)
{
    const std::size_t at = text.find('#');
    for (std::size_t index = 0; index < row.size(); ++index)
        row[index].setLabel(std::string(text.substr(0, at)) + std::to_string(index + 1) +
                            std::string(text.substr(at + 1)));
}

/// The termination-character options: Carriage Return, Line Feed, User Defined.
OptionGroup terminationOptions(std::string_view prefix)
{
    return OptionGroup({named(prefix, "TxOnCREnable"), named(prefix, "TxOnLFEnable"), named(prefix, "TxOnUserEnable")},
                       {"Carriage Return", "Line Feed", "User Defined"});
}

} // namespace

std::string modeName(Mode mode)
{
    switch (mode) {
    case Mode::Telemetry:
        return "Telemetry";
    case Mode::Beacon:
        return "Beacon";
    case Mode::Nmea:
        return "NMEA";
    case Mode::Tracking:
        return "Tracking";
    case Mode::Alarm:
        return "Alarm";
    }
    assert(false);
    return {};
}

StationControls::StationControls(std::string_view prefix, std::string_view ssidName)
    : MyCall(named(prefix, "MyCall"), 6), SSID(std::string(ssidName), 2),
      ToCall(named(prefix, "ToCall"), true), Path{PickList(named(prefix, "Path1"), false),
                                                  PickList(named(prefix, "Path2"), false),
                                                  PickList(named(prefix, "Path3"), false),
                                                  PickList(named(prefix, "Path4"), false)},
      SpecPath{TextField(named(prefix, "SpecPath1"), 9), TextField(named(prefix, "SpecPath2"), 9),
               TextField(named(prefix, "SpecPath3"), 9), TextField(named(prefix, "SpecPath4"), 9)},
      TmrMin(named(prefix, "TmrMin"), 2), TmrSec(named(prefix, "TmrSec"), 2), TxDelay(named(prefix, "TxDelay"), false),
      TxTail(named(prefix, "TxTail"), false), HelpFrame(named(prefix, "HelpFrame"), ""),
      HelpBox(named(prefix, "HelpBox"), ""), window("", ""), m_prefix(prefix)
{
    MyCall.setLabel("My Call");
    SSID.setLabel("My SSID");
    ToCall.setLabel("To Call");
    labelRow(Path, "Path #");
    labelRow(SpecPath, "Special Path #");
    TmrMin.setLabel("Transmit Timer Minutes");
    TmrSec.setLabel("Transmit Timer Seconds");
    TxDelay.setLabel("Transmit Delay");
    TxTail.setLabel("Tail Delay");
}

TelemetryForm::TelemetryForm()
    : station("Tel", "TelMySSID"), TelTxOn(terminationOptions("Tel")), TelUserTrigChar("TelUserTrigChar", 3)
{
    TelUserTrigChar.setLabel("User Defined Character");
    station.window = Panel("Form1", "Telemetry Mode");
    station.window.setVisible(false);
}

BeaconForm::BeaconForm() : station("Bcn", "BcnMySSID"), BcnMsgText("BcnMsgText", 76, TextField::Lines::Several)
{
    BcnMsgText.setLabel("Beacon Text");
    station.window = Panel("Form2", "Beacon Mode");
    station.window.setVisible(false);
}

NmeaForm::NmeaForm()
    : station("NMEA", "NMEASSID"), NMEATxOn(terminationOptions("NMEA")), NMEAUserTrigChar("NMEAUserTrigChar", 3),
      NMEADeltaEnable("NMEADeltaEnable"), NMEAAdaptiveTransmitEnable("NMEAAdaptiveTransmitEnable"),
      NMEAProfile("NMEAProfile"), NMEAProfileFrame("NMEAProfileFrame", "Profile # Settings")
{
    station.SSID.setLabel("SSID");
    NMEAUserTrigChar.setLabel("User Defined Character");
    // Both boxes are captioned "Reserved": the label says what each would switch.
    NMEADeltaEnable.setLabel("Course Delta (Reserved)");
    NMEAAdaptiveTransmitEnable.setLabel("Adaptive Transmit (Reserved)");
    NMEAProfile.setLabel("Profile");
    station.window = Panel("Form3", "NMEA Mode");
    station.window.setVisible(false);
}

TrackingForm::TrackingForm()
    : station("Trk", "TrkSSID"), TrkPrefix("TrkPrefix", 1), TrkSeparator("TrkSeparator", 1),
      TrkComments("TrkComments", 21), TrkSymbol("TrkSymbol", 1), TrkSendComments("TrkSendComments"),
      TrkDeltaEnable("TrkDeltaEnable"), TrkAdaptiveTransmitEnable("TrkAdaptiveTransmitEnable"),
      TrkProfile("TrkProfile"), TrkProfileFrame("TrkProfileFrame", "Profile # Settings")
{
    station.SSID.setLabel("SSID");
    TrkPrefix.setLabel("Prefix");
    TrkSeparator.setLabel("Separator");
    TrkComments.setLabel("Comments");
    TrkSymbol.setLabel("Symbol");
    TrkSendComments.setLabel("Send Comments");
    TrkDeltaEnable.setLabel("Course Delta (Reserved)");
    TrkAdaptiveTransmitEnable.setLabel("Adaptive Transmit (Reserved)");
    TrkProfile.setLabel("Profile");
    station.window = Panel("Form4", "Tracking Mode");
    station.window.setVisible(false);
}

AlarmForm::AlarmForm()
    : station("Alm", "AlmMySSID"), AlarmMsgText{TextField("AlarmMsgText1", 25), TextField("AlarmMsgText2", 15),
                                                TextField("AlarmMsgText3", 15), TextField("AlarmMsgText4", 15)},
      AlmCondition{PickList("AlmCondition1", false), PickList("AlmCondition2", false), PickList("AlmCondition3", false),
                   PickList("AlmCondition4", false)},
      AlmArmDelay("AlmArmDelay", 3), AlmTxCntrLimit("AlmTxCntrLimit", 3)
{
    labelRow(AlarmMsgText, "Alarm # Message");
    labelRow(AlmCondition, "Alarm # Normal State");
    AlmArmDelay.setLabel("Arm Delay (Secs)");
    AlmTxCntrLimit.setLabel("Number Times To Send");
    station.window = Panel("Form5", "Alarm Mode");
    station.window.setVisible(false);
}

WelcomeForm::WelcomeForm() : window("Form6", ""), ShowSplashScreen("ShowSplashScreen")
{
    ShowSplashScreen.setLabel("Show this screen at startup");
    window.setVisible(false);
}

PrintProgressForm::PrintProgressForm() : window("Form8", "Printing Profile Information")
{
    window.setVisible(false);
}

namespace
{

// Every item with its own member, in menu bar order; the recent files are a row of their own.
constexpr std::pair<MenuId, MenuItem Menus::*> kMenuMembers[] = {
    {MenuId::File, &Menus::file},
    {MenuId::NewConfiguration, &Menus::newconfiguration},
    {MenuId::OpenConfiguration, &Menus::openconfiguration},
    {MenuId::RecentFiles, &Menus::recentfiles},
    {MenuId::Save, &Menus::save},
    {MenuId::SaveConfigurationAs, &Menus::saveconfiguration},
    {MenuId::MemorizeDefaults, &Menus::memorizedefaults},
    {MenuId::PrintProfiles, &Menus::printprofiles},
    {MenuId::PrinterFont, &Menus::printerfont},
    {MenuId::PrintPreview, &Menus::printpreview},
    {MenuId::ExportPdf, &Menus::exportpdf},
    {MenuId::RestoreBackup, &Menus::restorebackup},
    {MenuId::Exit, &Menus::exit},
    {MenuId::Read, &Menus::read},
    {MenuId::Write, &Menus::write},
    {MenuId::Mode, &Menus::mode},
    {MenuId::Telemetry, &Menus::telemetry},
    {MenuId::Beacon, &Menus::beacon},
    {MenuId::Nmea, &Menus::nmea},
    {MenuId::Tracking, &Menus::tracking},
    {MenuId::Alarm, &Menus::alarm},
    {MenuId::Setup, &Menus::setup},
    {MenuId::SerialPort, &Menus::serialport},
    {MenuId::Com1, &Menus::com1},
    {MenuId::Com2, &Menus::com2},
    {MenuId::Com3, &Menus::com3},
    {MenuId::Com4, &Menus::com4},
    {MenuId::OtherDevice, &Menus::otherdevice},
    {MenuId::InputBaudRate, &Menus::inputbaudrate},
    {MenuId::In1200, &Menus::in1200},
    {MenuId::In2400, &Menus::in2400},
    {MenuId::In4800, &Menus::in4800},
    {MenuId::In9600, &Menus::in9600},
    {MenuId::OutputBaudRate, &Menus::outputbaudrate},
    {MenuId::Out300, &Menus::out300},
    {MenuId::Out1200, &Menus::out1200},
    {MenuId::VerifyAfterWrite, &Menus::verifyafterwrite},
    {MenuId::Help, &Menus::help},
    {MenuId::Contents, &Menus::contents},
    {MenuId::About, &Menus::about},
};

static_assert(std::size(kMenuMembers) + 5 == kMenuItemCount, "every menu item has its model");

} // namespace

Menus::Menus()
{
    for (const MenuEntry& entry : menuLayout())
        if (entry.id)
            item(*entry.id) = MenuItem(std::string(entry.name), std::string(entry.caption));
    recentfiles.setEnabled(false);
    for (auto& item : recentfile)
        item.setVisible(false);
}

MenuItem& Menus::item(MenuId id)
{
    return const_cast<MenuItem&>(std::as_const(*this).item(id));
}

const MenuItem& Menus::item(MenuId id) const
{
    if (const auto place = placeInRow(id, MenuId::RecentFile1, static_cast<int>(recentfile.size())))
        return recentfile[static_cast<std::size_t>(*place)];
    for (const auto& [member, field] : kMenuMembers)
        if (member == id)
            return this->*field;
    assert(false && "every menu item has a member");
    return file;
}

MainWindowControls::MainWindowControls()
    : window("MDIForm1", kProgramCaption), LEDDisable("LEDDisable", "Lights &Off"),
      MicEncode("MicEncode", "Mic &Encode"), ModeLock("ModeLock", "Mode &Lock"), AutoMode("AutoMode", "&Auto Mode On"),
      DataHeaderFrame("DataHeaderFrame", "Data Header"), GpsString{PickList("GpsString1", true),
                                                                   PickList("GpsString2", true),
                                                                   PickList("GpsString3", true)},
      DataHeader{Panel("DataHeader1", "Header &1"), Panel("DataHeader2", "Header &2"),
                 Panel("DataHeader3", "Header &3")},
      VQ3Status("VQ3Status", "Disconnected"), ConnectButton("ConnectButton", "&Disconnect"),
      ModeAreaHint("ModeAreaHint", ""),
      ModeAreaHintText("ModeAreaHintText",
                       "No mode window is open. Choose the mode to edit from the Mode menu, read the configuration "
                       "the VQ-3 holds, or open a configuration file."),
      ChooseModeButton("ChooseModeButton", "Choose a Mode"), ReadUnitButton("ReadUnitButton", "Read the VQ-3"),
      OpenFileButton("OpenFileButton", "Open a File...")
{
    labelRow(GpsString, "Data Header #");
    LEDDisable.setLabel("Lights Off");
    MicEncode.setLabel("Mic Encode");
    ModeLock.setLabel("Mode Lock");
    AutoMode.setLabel("Auto Mode On");
    DataHeaderFrame.setEnabled(false);
    for (auto& header : GpsString)
        header.setEnabled(false);
    for (auto& label : DataHeader)
        label.setVisible(false);
    for (CheckBox* box : {&MicEncode, &ModeLock, &AutoMode})
        box->setEnabled(false);
    VQ3Status.setBackground(kDisconnectedColour);
    ConnectButton.setVisible(false);
    // Read is usable only once a unit answers.
    ReadUnitButton.setEnabled(false);
}

StationControls& Windows::station(Mode mode)
{
    switch (mode) {
    case Mode::Telemetry:
        return telemetry.station;
    case Mode::Beacon:
        return beacon.station;
    case Mode::Nmea:
        return nmea.station;
    case Mode::Tracking:
        return tracking.station;
    case Mode::Alarm:
        return alarm.station;
    }
    assert(false);
    return telemetry.station;
}

const StationControls& Windows::station(Mode mode) const
{
    return const_cast<Windows*>(this)->station(mode);
}

void setMyCall(Windows& windows, std::string_view text)
{
    for (const Mode mode : kModes)
        windows.station(mode).MyCall.setText(text);
}

void updateModeAreaHint(Windows& windows)
{
    bool windowShown = false;
    for (const Mode mode : kModes)
        windowShown = windowShown || windows.station(mode).window.visible();
    MainWindowControls& main = windows.main;
    main.ModeAreaHint.setVisible(!windowShown);
    main.ReadUnitButton.setEnabled(main.menus.read.enabled());
}

} // namespace qm::forms
