// The user's defaults in vq3.ini: the load at start-up, and every writer.
#pragma once

#include "shell/FirstRunQuestions.h"
#include "shell/Session.h"
#include "shell/Ui.h"
#include "storage/FileSystem.h"
#include "storage/IniFile.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace qm::shell
{

class IniSettings
{
public:
    IniSettings(Session& session, Ui& ui, storage::FileSystem& files, std::string iniPath);

    /// Returns the path of the initialization file.
    const std::string& path() const { return m_path; }
    /// Sets where the initialization file is read and written.
    void setPath(std::string path) { m_path = std::move(path); }

    /// Reads the file at start-up: port and callsign (asking for them on a first run), baud rates, delay and tail
    /// positions into every window and profile, and the welcome choice. Without a file (a fresh account) it first
    /// writes one with the first-run placeholders, so the prompts ask for the port and callsign and the welcome
    /// window shows; only a file that cannot be made is reported as missing. Returns false when the user chose to end
    /// the program (Cancel at the serial-port prompt); the Ui has then been told to end it.
    bool loadSettings();

    // Writers: each rewrites all ten lines from the program state and reports a failure in a box. Each returns
    // true when the file was written.
    bool saveComPort();
    bool saveMyCall();
    /// Also takes line 3 from the checked Input Baud Rate item into inputBaudIndex.
    bool saveInputBaudRate();
    /// Also takes line 4 from the checked Output Baud Rate item into outputBaudIndex.
    bool saveOutputBaudRate();
    /// Also takes lines 3 to 6 from the menus and the current mode window's delay and tail positions, then shows
    /// "Default settings memorized.".
    bool saveDefaults();

    /// Memorize Defaults: takes the callsign from the Tracking window and saves every default.
    void memorizeDefaults();

    /// The lines as last read (lines 1 to 10 at indexes 0 to 9).
    const storage::IniLines& lines() const { return m_lines; }

    /// Returns the lines that name the device of each COM port, shown below the first-run port prompt (none: the
    /// prompt alone).
    void setPortListing(std::function<std::string()> listing) { m_firstRun.setPortListing(std::move(listing)); }

private:
    /// Applies lines 3 to 6 (baud rates, delay and tail positions); returns the error that stops the load.
    std::optional<storage::FileError> applyListLines();
    /// Sets the stored delay and tail of every NMEA and Tracking profile to the remembered positions.
    void seedProfiles();
    /// Applies line 7: the welcome window, or the main window enabled.
    void applyWelcomeChoice();
    void showLoadError(const storage::FileError& failure);
    /// Returns the ten lines every writer writes, from the program state and the welcome window's box.
    storage::IniLines linesToWrite() const;
    /// Writes the ten lines; shows the save error box on failure.
    bool writeAll();
    /// Takes inputBaudIndex and outputBaudIndex from the checked baud rate items (none checked: kept).
    void takeBaudIndexes();

    Session& m_session;
    Ui& m_ui;
    FirstRunQuestions m_firstRun;
    storage::FileSystem& m_files;
    std::string m_path;
    storage::IniLines m_lines{};
    /// While the first-run prompts save their answers, lines 3 to 7 are written as they were read.
    bool m_keepUnreadLines = false;
};

} // namespace qm::shell
