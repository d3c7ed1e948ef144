// The program's session: every window model with the program state, the pick lists and defaults, mode
// selection, the upload decoding and the configuration-file commands.
#pragma once

#include "forms/MessageBox.h"
#include "forms/WindowDefaults.h"
#include "forms/Windows.h"
#include "image/Compile.h"
#include "image/ImageFields.h"
#include "link/Link.h"
#include "shell/Document.h"
#include "shell/Ui.h"
#include "storage/FileSystem.h"

#include <optional>
#include <string>
#include <variant>

namespace qm::shell
{

/// The program's state: the user's defaults (the remembered callsign of the initialization file's line 2, the baud
/// rates and the delay and tail positions, which every clear puts back into the windows), the mode being edited and
/// what the link reports of the port and the unit (which holds the bytes of the last read).
struct ProgramState : forms::WindowDefaults
{
    /// The mode being edited: none before a mode is chosen, and none after a read of a unit whose mode code names
    /// no window.
    std::optional<forms::Mode> currentMode;
    /// The mode code (5 to 7) of the last read when it names no window; nothing once a mode is chosen.
    std::optional<int> unknownModeCode;
    /// The full path last returned by a file dialog.
    std::string currentFileName;
    /// At least one printer is installed.
    bool printerPresent = false;
    /// The printer font of the profile reports.
    FontSettings printerFont;
    /// Show the welcome window at start-up (initialization file line 7).
    bool showWelcome = false;
    /// The welcome window has been closed with OK.
    bool welcomeDismissed = false;
    /// What the link reports: the serial port in use (comPort) and the unit's identification.
    link::LinkStatus link;
};

/// Every window model, the program state and the image field store, with what acts on them as a whole: the pick
/// lists and clears, mode selection, the decoding of a read, the check and compile of a write, and the opening and
/// saving of configuration files.
class Session
{
public:
    explicit Session(storage::FileSystem& files);

    forms::Windows& windows() { return m_windows; }
    const forms::Windows& windows() const { return m_windows; }
    ProgramState& state() { return m_state; }
    /// The files the program reads and writes.
    storage::FileSystem& files() { return m_files; }
    const ProgramState& state() const { return m_state; }
    image::ImageFields& fields() { return m_fields; }
    /// The file the windows were last opened from or saved to, and whether they hold changes not in it.
    Document& document() { return m_document; }
    const Document& document() const { return m_document; }

    /// Fills the fixed pick lists (once, at start-up).
    void fillPickLists();
    /// Rebuilds the ten delay and tail lists for 1200 baud and selects the remembered positions.
    void fillTxListsFor1200Baud();
    /// Rebuilds the ten delay and tail lists for 300 baud and selects the remembered positions.
    void fillTxListsFor300Baud();

    /// Clears every window to the defaults.
    void clearAllWindows();
    /// Runs the clear operation of a mode.
    void clearMode(forms::Mode mode);
    /// Returns the defaults every clear puts back: the remembered callsign, baud rates and list positions.
    const forms::WindowDefaults& defaults() const { return m_state; }

    /// Runs the Mode command of a mode.
    void selectMode(forms::Mode mode);
    /// Returns the mode whose Mode menu item is checked, if any.
    std::optional<forms::Mode> checkedMode() const;

    /// Decodes 128 uploaded bytes into the main window and the window of the image's mode.
    void decodeUpload(const std::string& uploadData);

    /// Stores the profiles on show of the NMEA window, then of the Tracking window, into their stores.
    void saveShownProfiles();

    /// Compiles the current mode's window: the stream or its refusal (neither without a current mode).
    image::CompileResult compileCurrentMode();

    /// What opening a configuration file came to.
    struct OpenOutcome
    {
        enum class Kind
        {
            Loaded,
            Failed,
        };
        Kind kind = Kind::Loaded;
        /// The error box of a failed open.
        std::optional<forms::MessageBox> box;
    };

    /// A configuration file read into a copy of the windows, not yet taken.
    struct ReadFile
    {
        forms::Mode mode;
        forms::Windows windows;
    };

    /// Runs the current mode's whole-mode check and, when every rule holds, its compile: the stream, or the box
    /// that says why there is none (the check's message or the compile's refusal); neither without a current
    /// mode.
    image::CompileResult checkAndCompile();

    /// Opens a configuration file as the Open command does after its dialog: stores the shown profiles,
    /// reads the file, runs the loader of its mode and selects that mode.
    OpenOutcome openConfigurationFile(const std::string& path);
    /// The first half of an open: stores the shown profiles, reads the file and runs the loader of its mode on a
    /// copy of the windows; the copy and the mode, or the box that says why the file does not open. The windows
    /// are left as they are.
    std::variant<ReadFile, forms::MessageBox> readConfigurationFile(const std::string& path);
    /// The second half: the windows take what was read and its mode is selected.
    void takeConfiguration(ReadFile file);
    /// Saves the current mode's configuration as Save Configuration File As does after its dialog; returns
    /// the error box of a failed save.
    std::optional<forms::MessageBox> saveConfigurationFile(const std::string& path);
    /// Saves the configuration of a mode (not necessarily the current one); returns the error box of a failed save.
    std::optional<forms::MessageBox> saveConfigurationFile(const std::string& path, forms::Mode mode);

    /// Returns the lines a save of the current mode would write (the shown profiles stored first).
    std::vector<std::string> configurationLines();

    /// Brings the model to the state right after start-up without an initialization file's values:
    /// pick lists filled, every window cleared to its defaults.
    void startUp();

private:
    storage::FileSystem& m_files;
    forms::Windows m_windows;
    ProgramState m_state;
    image::ImageFields m_fields;
    Document m_document;
};

} // namespace qm::shell
