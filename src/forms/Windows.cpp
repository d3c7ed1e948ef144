// The window models: construction with their control names, captions and limits.
#include "forms/Windows.h"

#include "forms/MenuLayout.h"

#include <cassert>

namespace qm::forms
{

namespace
{

std::string named(std::string_view prefix, std::string_view name)
{
    return std::string(prefix) + std::string(name);
}

/// A menu item captioned as the menu bar shows it.
MenuItem menuItem(std::string_view name)
{
    return MenuItem(std::string(name), std::string(menuCaption(name)));
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

Menus::Menus()
    : file(menuItem("file")), newconfiguration(menuItem("newconfiguration")),
      openconfiguration(menuItem("openconfiguration")), saveconfiguration(menuItem("saveconfiguration")),
      memorizedefaults(menuItem("memorizedefaults")), printprofiles(menuItem("printprofiles")),
      printerfont(menuItem("printerfont")), exit(menuItem("exit")), save(menuItem("save")),
      recentfiles(menuItem("recentfiles")), recentfile{menuItem("recentfile1"), menuItem("recentfile2"),
                                                       menuItem("recentfile3"), menuItem("recentfile4"),
                                                       menuItem("recentfile5")},
      read(menuItem("read")), write(menuItem("write")), mode(menuItem("mode")), telemetry(menuItem("telemetry")),
      beacon(menuItem("beacon")), nmea(menuItem("nmea")), tracking(menuItem("tracking")), alarm(menuItem("alarm")),
      setup(menuItem("setup")), serialport(menuItem("serialport")), com1(menuItem("com1")), com2(menuItem("com2")),
      com3(menuItem("com3")), com4(menuItem("com4")), otherdevice(menuItem("otherdevice")),
      inputbaudrate(menuItem("inputbaudrate")), in1200(menuItem("in1200")), in2400(menuItem("in2400")),
      in4800(menuItem("in4800")), in9600(menuItem("in9600")), outputbaudrate(menuItem("outputbaudrate")),
      out300(menuItem("out300")), out1200(menuItem("out1200")), verifyafterwrite(menuItem("verifyafterwrite")),
      help(menuItem("help")), contents(menuItem("contents")), about(menuItem("about"))
{
    recentfiles.setEnabled(false);
    for (auto& item : recentfile)
        item.setVisible(false);
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
