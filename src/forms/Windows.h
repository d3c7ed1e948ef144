// The window models: the five mode windows, the main window's controls, and the two profile stores. Every
// control carries its own name (TelMyCall, NMEAProfile, AlmCondition3), the name its widget is found by.
#pragma once

#include "forms/Fields.h"
#include "forms/MenuLayout.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace qm::forms
{

/// The five modes, in the order of their codes (the image's mode code, a configuration file's first line).
enum class Mode : int
{
    Telemetry = 0,
    Beacon = 1,
    Nmea = 2,
    Tracking = 3,
    Alarm = 4,
};

inline constexpr int kModeCount = 5;

/// The five modes in the order of their codes.
inline constexpr std::array<Mode, kModeCount> kModes{Mode::Telemetry, Mode::Beacon, Mode::Nmea, Mode::Tracking,
                                                     Mode::Alarm};

/// Returns the code of a mode: the image's mode code and a configuration file's first line (0 to 4).
constexpr int codeOfMode(Mode mode)
{
    return static_cast<int>(mode);
}

/// Returns the mode's name as the windows and messages show it: "Telemetry", "Beacon", "NMEA", "Tracking",
/// "Alarm".
std::string modeName(Mode mode);

/// Returns a mode's position in kModes and in the arrays kept per mode.
constexpr std::size_t modeIndex(Mode mode)
{
    return static_cast<std::size_t>(mode);
}

/// Returns the mode a code stands for, or nothing for a code outside 0 to 4 (an image's mode code can be 5 to 7).
constexpr std::optional<Mode> modeOfCode(int code)
{
    for (const Mode mode : kModes)
        if (codeOfMode(mode) == code)
            return mode;
    return std::nullopt;
}

/// The status panel's background while no unit answers: light yellow.
inline constexpr std::uint32_t kDisconnectedColour = 0xFFFF80;
/// The main window's caption while no unit is identified.
inline constexpr const char* kProgramCaption = "Quellmark Configuration Program";
inline constexpr int kProfileCount = 10;

/// Option indexes of the termination-character groups (Carriage Return, Line Feed, User Defined).
inline constexpr int kCarriageReturn = 0;
inline constexpr int kLineFeed = 1;
inline constexpr int kUserDefined = 2;

/// The controls every mode window has, named with the window's prefix (Tel, Bcn, NMEA, Trk, Alm).
struct StationControls
{
    StationControls(std::string_view prefix, std::string_view ssidName);

    /// Returns the window's prefix ("Tel", "Bcn", "NMEA", "Trk", "Alm").
    const std::string& prefix() const { return m_prefix; }

    TextField MyCall;
    /// My SSID (TelMySSID, BcnMySSID, AlmMySSID) or the profile SSID on show (NMEASSID, TrkSSID).
    TextField SSID;
    PickList ToCall;
    /// Path 1 to Path 4 at indexes 0 to 3.
    std::array<PickList, 4> Path;
    /// Special Path 1 to Special Path 4 at indexes 0 to 3.
    std::array<TextField, 4> SpecPath;
    TextField TmrMin;
    TextField TmrSec;
    PickList TxDelay;
    PickList TxTail;
    Panel HelpFrame;
    Panel HelpBox;
    /// The window itself: its caption and whether it is shown.
    Panel window;

private:
    std::string m_prefix;
};

/// One profile as the NMEA and Tracking stores hold it: every value as text, list positions in decimal.
struct ProfileEntry
{
    std::string SSID;
    /// Path1 to Path4 at indexes 0 to 3.
    std::array<std::string, 4> Path;
    /// Tracking only: the symbol character, bit 7 set when Send Comments is on.
    std::string Symbol;
    std::string TmrMin;
    std::string TmrSec;
    std::string TxDelay;
    std::string TxTail;

    bool operator==(const ProfileEntry&) const = default;
};

/// Ten profile entries numbered 1 to 10.
class ProfileStore
{
public:
    ProfileEntry& entry(int profile) { return m_entries.at(static_cast<std::size_t>(profile - 1)); }
    const ProfileEntry& entry(int profile) const { return m_entries.at(static_cast<std::size_t>(profile - 1)); }

private:
    std::array<ProfileEntry, kProfileCount> m_entries;
};

/// The Telemetry window.
struct TelemetryForm
{
    TelemetryForm();

    StationControls station;
    /// TelTxOnCREnable, TelTxOnLFEnable, TelTxOnUserEnable.
    OptionGroup TelTxOn;
    TextField TelUserTrigChar;
};

/// The Beacon window.
struct BeaconForm
{
    BeaconForm();

    StationControls station;
    TextField BcnMsgText;
};

/// The NMEA window with its ten profiles.
struct NmeaForm
{
    NmeaForm();

    StationControls station;
    /// NMEATxOnCREnable, NMEATxOnLFEnable, NMEATxOnUserEnable.
    OptionGroup NMEATxOn;
    TextField NMEAUserTrigChar;
    CheckBox NMEADeltaEnable;
    CheckBox NMEAAdaptiveTransmitEnable;
    TabStrip NMEAProfile;
    Panel NMEAProfileFrame;
    ProfileStore store;
};

/// The Tracking window with its ten profiles.
struct TrackingForm
{
    TrackingForm();

    StationControls station;
    TextField TrkPrefix;
    TextField TrkSeparator;
    TextField TrkComments;
    TextField TrkSymbol;
    CheckBox TrkSendComments;
    CheckBox TrkDeltaEnable;
    CheckBox TrkAdaptiveTransmitEnable;
    TabStrip TrkProfile;
    Panel TrkProfileFrame;
    ProfileStore store;
};

/// The Alarm window.
struct AlarmForm
{
    AlarmForm();

    StationControls station;
    /// AlarmMsgText1 (25 characters) to AlarmMsgText4 (15 each) at indexes 0 to 3.
    std::array<TextField, 4> AlarmMsgText;
    /// AlmCondition1 to AlmCondition4: "Low" (0), "High" (1).
    std::array<PickList, 4> AlmCondition;
    TextField AlmArmDelay;
    TextField AlmTxCntrLimit;
};

/// The menus of the main window, each item under its own name, named and captioned as the menu bar lays it out.
struct Menus
{
    Menus();

    /// Returns the model of an item.
    MenuItem& item(MenuId id);
    const MenuItem& item(MenuId id) const;

    MenuItem file, newconfiguration, openconfiguration, saveconfiguration, memorizedefaults, printprofiles, printerfont,
        exit;
    /// Save to the file last opened or saved, without a dialog.
    MenuItem save;
    /// The Recent Files submenu and its items recentfile1 to recentfile5 (the latest first; hidden when unused).
    MenuItem recentfiles;
    std::array<MenuItem, 5> recentfile;
    /// The desktop program's own commands: Print Preview and Export Profiles as PDF, usable while a profile report
    /// is, and Restore from Backup, usable while backups are kept.
    MenuItem printpreview, exportpdf, restorebackup;
    MenuItem read, write;
    MenuItem mode, telemetry, beacon, nmea, tracking, alarm;
    MenuItem setup, serialport, com1, com2, com3, com4;
    /// Setup > Serial Port > Other Device: a serial device chosen by its path (the program's own setting).
    MenuItem otherdevice;
    MenuItem inputbaudrate, in1200, in2400, in4800, in9600;
    MenuItem outputbaudrate, out300, out1200;
    /// Read every write back and compare it (the program's own setting, not kept in vq3.ini).
    MenuItem verifyafterwrite;
    MenuItem help, contents, about;

    /// Returns the Mode menu items in mode order (telemetry first).
    std::array<MenuItem*, kModeCount> modeItems() { return {&telemetry, &beacon, &nmea, &tracking, &alarm}; }
    std::array<const MenuItem*, kModeCount> modeItems() const
    {
        return {&telemetry, &beacon, &nmea, &tracking, &alarm};
    }
    /// Returns in1200, in2400, in4800, in9600 in code order.
    std::array<MenuItem*, 4> inputBaudItems() { return {&in1200, &in2400, &in4800, &in9600}; }
    std::array<const MenuItem*, 4> inputBaudItems() const { return {&in1200, &in2400, &in4800, &in9600}; }
    /// Returns com1 to com4.
    std::array<MenuItem*, 4> comItems() { return {&com1, &com2, &com3, &com4}; }
};

/// The main window's own controls: menus, option boxes, data headers and the status panel. They start
/// as they are while no mode is chosen and no unit answers: the data headers and the mode's option boxes out of
/// use, the status "Disconnected" in light yellow, no Disconnect button.
struct MainWindowControls
{
    MainWindowControls();

    Panel window;
    Menus menus;
    CheckBox LEDDisable;
    CheckBox MicEncode;
    CheckBox ModeLock;
    CheckBox AutoMode;
    Panel DataHeaderFrame;
    /// GpsString1 to GpsString3 at indexes 0 to 2.
    std::array<PickList, 3> GpsString;
    /// DataHeader1 to DataHeader3 at indexes 0 to 2.
    std::array<Panel, 3> DataHeader;
    Panel VQ3Status;
    Panel ConnectButton;
    /// The mode area while it shows no mode window: what to do next (ModeAreaHintText) and a button for each way,
    /// choosing a mode from the Mode menu, reading the unit and opening a configuration file.
    Panel ModeAreaHint;
    Panel ModeAreaHintText;
    Panel ChooseModeButton;
    Panel ReadUnitButton;
    Panel OpenFileButton;
};

/// The welcome window shown at start-up.
struct WelcomeForm
{
    WelcomeForm();

    Panel window;
    /// "Show this screen at startup ".
    CheckBox ShowSplashScreen;
    /// Kept above every other window of the desktop (without taking the focus) while set.
    bool topmost = false;
};

/// The small window shown while the profiles are printed.
struct PrintProgressForm
{
    PrintProgressForm();

    Panel window;
    /// PrintProgress: the bar's value, 0 to 10 (the profile being printed).
    int PrintProgress = 0;
};

/// State shared by the two profile windows' tab changes.
struct ProfileEditingState
{
    /// The profile (1 to 10) whose tab the latest tab change left.
    int previousProfile = 0;
    /// When set, the next tab change does not copy the window into the store.
    bool skipProfileSave = false;
};

/// Every window of the program.
struct Windows
{
    MainWindowControls main;
    TelemetryForm telemetry;
    BeaconForm beacon;
    NmeaForm nmea;
    TrackingForm tracking;
    AlarmForm alarm;
    WelcomeForm welcome;
    PrintProgressForm printProgress;
    ProfileEditingState profiles;

    /// Returns the shared controls of a mode's window.
    StationControls& station(Mode mode);
    const StationControls& station(Mode mode) const;
};

/// Writes a callsign into all five My Call fields: a change to one is copied into the other four.
void setMyCall(Windows& windows, std::string_view text);

/// Shows the mode area's hint while no mode window is shown; its Read button is usable while Read is.
void updateModeAreaHint(Windows& windows);

} // namespace qm::forms
