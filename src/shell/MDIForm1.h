// The program: the main window model MDIForm1 with the module-level state, the pick lists and defaults,
// mode selection, the upload decoding and the configuration-file commands.
#pragma once

#include "forms/MessageBox.h"
#include "forms/Windows.h"
#include "image/Compile.h"
#include "image/ImageFields.h"
#include "link/Link.h"
#include "shell/Ui.h"
#include "storage/FileSystem.h"

#include <optional>
#include <string>

namespace qm::shell
{

/// Module-level state of the program (the user's defaults and the data of the last read and write).
struct Module1
{
    /// The remembered callsign (initialization file line 2).
    std::string MyCall;
    int InputBaudIndex = 0;
    int OutputBaudIndex = 0;
    int TxDelayIndex = 0;
    int TxTailIndex = 0;
    /// The mode being edited: 0 Telemetry .. 4 Alarm; an upload can leave 5 to 7.
    int CurrentMode = 0;
    /// The 128 configuration bytes of the last read.
    std::string UploadData;
    /// The 129-byte download stream of the last compile; empty after a refused one.
    std::string DownloadImage;
    /// The full path last returned by a file dialog.
    std::string CurrentFileName;
    /// At least one printer is installed.
    bool PrinterPresent = false;
    /// The printer font of the profile reports.
    FontSettings PrinterFont;
    /// Show the welcome window at start-up (initialization file line 7).
    bool ShowWelcome = false;
    /// The welcome window has been closed with OK.
    bool WelcomeDismissed = false;
    /// The link's state: the serial port in use (ComPortNumber), the unit's identification, the transaction.
    link::LinkState link;
};

class MDIForm1
{
public:
    explicit MDIForm1(storage::FileSystem& files);

    forms::Windows& windows() { return m_windows; }
    const forms::Windows& windows() const { return m_windows; }
    Module1& module() { return m_module; }
    /// The files the program reads and writes.
    storage::FileSystem& files() { return m_files; }
    const Module1& module() const { return m_module; }
    image::ImageFields& fields() { return m_fields; }

    /// Fills the fixed pick lists (once, at start-up).
    void LoadComboListBoxes();
    /// Rebuilds the ten delay and tail lists for 1200 baud and selects the remembered positions.
    void LoadTxDelayAndTailBoxesFor1200Baud();
    /// Rebuilds the ten delay and tail lists for 300 baud and selects the remembered positions.
    void LoadTxDelayAndTailBoxesFor300Baud();

    void ClearTelForm();
    void ClearBcnForm();
    void ClearNMEAForm();
    void ClearTrkForm();
    void ClearAlmForm();
    void ClearAll();
    /// Runs the clear operation of a mode.
    void clearMode(forms::Mode mode);

    void telemetry_Click();
    void beacon_Click();
    void nmea_Click();
    void tracking_Click();
    void alarm_Click();
    /// Runs the Mode command of a mode.
    void selectMode(forms::Mode mode);
    /// Returns the mode whose Mode menu item is checked, if any.
    std::optional<forms::Mode> checkedMode() const;

    /// Decodes UploadData (128 bytes) into the main window and the window of the image's mode.
    void ParseDataFromvq3();

    /// Stores the profiles on show of the NMEA window, then of the Tracking window, into their stores.
    void saveShownProfiles();

    /// Compiles the current mode's window into DownloadImage (emptied first); returns the result.
    image::CompileResult compileCurrentMode();

    /// What opening a configuration file came to.
    struct OpenOutcome
    {
        enum class Kind
        {
            Loaded,
            /// The first line names no mode: nothing happens, no message.
            UnknownMode,
            Failed,
        };
        Kind kind = Kind::Loaded;
        /// The error box of a failed open.
        std::optional<forms::MessageBox> box;
    };

    /// Runs the current mode's whole-mode check and, when every rule holds, its compile. DownloadImage holds the
    /// stream afterwards; when it is empty the returned box says why (the check's message or the compile's
    /// refusal).
    std::optional<forms::MessageBox> checkAndCompile();

    /// Opens a configuration file as the Open command does after its dialog: stores the shown profiles,
    /// reads the file, runs the loader of its mode and selects that mode.
    OpenOutcome openConfigurationFile(const std::string& path);
    /// Saves the current mode's configuration as Save Configuration File As does after its dialog; returns
    /// the error box of a failed save.
    std::optional<forms::MessageBox> saveConfigurationFile(const std::string& path);

    /// Returns the lines a save of the current mode would write (the shown profiles stored first).
    std::vector<std::string> configurationLines();

    /// Brings the model to the state right after start-up without an initialization file's values:
    /// pick lists filled, every window cleared to its defaults.
    void startUp();

private:
    void clearCommon();
    void reloadTxLists();
    void resetSpecialPathEntries(forms::StationControls& station);

    storage::FileSystem& m_files;
    forms::Windows m_windows;
    Module1 m_module;
    image::ImageFields m_fields;
};

} // namespace qm::shell
