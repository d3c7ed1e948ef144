// The desktop program put together: the main window with the five mode windows, the welcome and About windows,
// the program model with its link to the unit, and the binder that draws the one into the other.
#pragma once

#include "app/AboutWindow.h"
#include "app/BackupWriter.h"
#include "app/MainWindow.h"
#include "app/ObservedPorts.h"
#include "app/PrintProgressWindow.h"
#include "app/PrinterLookup.h"
#include "app/ViewBinder.h"
#include "app/WelcomeWindow.h"
#include "shell/Backups.h"
#include "shell/Program.h"
#include "shell/UnitLink.h"

#include <map>
#include <memory>
#include <string>

namespace qm::app
{

class QtUi;

/// What the desktop program runs on: files, the serial port, the three timers and what it found at start-up.
struct DesktopPorts
{
    storage::FileSystem& files;
    link::SerialPort& port;
    link::Timer& probeTimer;
    link::Timer& readTimeOutTimer;
    link::Timer& writeTimeOutTimer;
    shell::Environment environment;
    /// Where every identification, read and write is kept (none: no backups).
    shell::Backups* backups = nullptr;
    /// The default printer and the clock that dates its reports (none: Print Profiles prints nothing).
    reports::Printer* printer = nullptr;
    shell::Clock* clock = nullptr;
    /// Finds the default printer once the program has started (none: the printer above is all there is).
    PrinterLookup* printerLookup = nullptr;
    /// This machine's serial devices, named in the Serial Port menu (none: the COM items stay as they are).
    shell::SerialDevices* devices = nullptr;
};

class Desktop
{
public:
    /// ui: the user-interface port to use; nothing for the Qt dialogs of the desktop (tests pass a scripted one).
    explicit Desktop(DesktopPorts ports, shell::Ui* ui = nullptr);
    ~Desktop();

    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    MainWindow& window() { return m_window; }
    WelcomeWindow& welcome() { return m_welcome; }
    PrintProgressWindow& printProgress() { return *m_printProgress; }
    AboutWindow& about() { return *m_about; }
    ViewBinder& binder() { return *m_binder; }
    shell::Program& program() { return *m_program; }
    shell::UnitLink& link() { return *m_link; }

    /// Shows the main window and runs the start-up, then starts looking for the default printer; false when the
    /// user ended the program during the start-up.
    bool start();
    /// Keeps the main window's place in the program's settings for the next start.
    void keepWindowPlace();

    /// File > Restore from Backup: lists the backups and opens the one chosen into the windows.
    void restoreFromBackup();
    /// File > Print Preview: the profile report as it will print, in the print preview window.
    void printPreview();
    /// File > Export Profiles as PDF.
    void exportProfilesAsPdf();
    /// Copy This Profile to, in the NMEA or Tracking window.
    void copyProfile(forms::Mode mode);
    /// Opens a configuration file as File > Open does after its dialog, unsaved-changes question included (a file
    /// named on the command line, dropped onto the window or handed over by a second start). The path is the
    /// system's bytes.
    void openFile(const std::string& path);
    /// The same for a path the toolkit names (a dropped file).
    void openFile(const QString& path);
    /// Brings the main window to the front, restored if it was minimised (a second start asked for it).
    void raise();
    /// A signal that ends the program arrived (SIGINT, SIGTERM, SIGHUP).
    void endOnSignal();

private:
    void redraw();
    /// Carries out a menu command that is the desktop program's own.
    void desktopCommand(forms::MenuId item);
    /// Connects what the desktop program adds to the windows: the profile copy buttons, the symbol pick list.
    void connectAids();
    /// Draws what the desktop program adds to the windows from the models.
    void drawAids();
    /// The standard font, which the reports use when no printer gave one.
    shell::FontSettings standardFont() const;

    MainWindow m_window;
    WelcomeWindow m_welcome;
    AboutWindow* m_about = nullptr;
    PrintProgressWindow* m_printProgress = nullptr;
    std::unique_ptr<QtUi> m_qtUi;
    shell::Ui* m_ui = nullptr;
    std::unique_ptr<ObservedSerialPort> m_port;
    std::unique_ptr<ObservedTimer> m_probeTimer;
    std::unique_ptr<ObservedTimer> m_readTimeOutTimer;
    std::unique_ptr<ObservedTimer> m_writeTimeOutTimer;
    std::unique_ptr<shell::Program> m_program;
    std::unique_ptr<BackupWriter> m_backupWriter;
    std::unique_ptr<shell::UnitLink> m_link;
    std::unique_ptr<ViewBinder> m_binder;
    PrinterLookup* m_printerLookup = nullptr;
    storage::FileSystem& m_files;
    shell::Backups* m_backups = nullptr;
};

} // namespace qm::app
