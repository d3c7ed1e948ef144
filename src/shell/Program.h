// The program as a whole: start-up, the commands of the main window and the welcome window, over the ports.
// The desktop program and the tests drive it; it owns the models and the parts that act on them.
#pragma once

#include "reports/Printer.h"
#include "reports/ProfileReport.h"
#include "shell/Clock.h"
#include "shell/FileCommands.h"
#include "shell/IniSettings.h"
#include "shell/LinkRequests.h"
#include "shell/PortCommands.h"
#include "shell/ProgramOptions.h"
#include "shell/ReportCommands.h"
#include "shell/SerialDevices.h"
#include "shell/Session.h"
#include "shell/Ui.h"
#include "storage/FileSystem.h"
#include "storage/IniFile.h"
#include "validation/TextEntry.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qm::shell
{

/// What the program finds about its surroundings at start-up.
struct Environment
{
    storage::ProgramFolders folders;
    /// The folder the file dialogs start in before any folder was used: the user's home folder.
    std::string homeFolder;
    /// The default printer's font, when at least one printer is installed.
    std::optional<FontSettings> printerFont;
};

class Program
{
public:
    /// Makes the link with the unit over the program's session and settings (the port test at start-up, closing
    /// at exit, sending an image); the caller keeps it alive as long as the program.
    using LinkMaker = std::function<LinkRequests&(Session&, IniSettings&)>;

    /// Without a link maker the program has no unit to talk to.
    Program(storage::FileSystem& files, Ui& ui, Environment environment, const LinkMaker& makeLink = {});

    Session& session() { return m_session; }
    const Session& session() const { return m_session; }
    IniSettings& ini() { return m_ini; }
    FileCommands& fileCommands() { return m_fileCommands; }
    /// The serial port's commands (the COM ports, Other Device, Disconnect).
    PortCommands& ports() { return m_ports; }
    /// The profile reports' commands (print, preview, export, printer font).
    ReportCommands& reports() { return m_reports; }
    /// Returns the box a second copy of the program shows before it ends.
    static forms::MessageBox alreadyRunningBox();

    /// The load sequence at start-up. Returns false when the user ended the program during it.
    bool start();

    /// Write up to the point where bytes go out: the no-mode box, the shown profiles stored, the plain VQ-3
    /// refusal, the mode's check and compile. When downloadImage is ready the link starts the download and true
    /// is returned; otherwise the user has been told why (or, for a mode outside 0-4, nothing happens).
    bool write();

    /// The Read command, once unsaved changes are settled.
    void read();
    /// Opens a configuration file as File > Open does after its dialog, once unsaved changes are settled.
    void openFile(const std::string& path);
    /// Returns the main window's title: the file last opened or saved, a mark while the windows hold changes
    /// that are not in it, and the window's caption.
    std::string windowTitle() const;
    /// Returns where the main window was when the program last ended (read from the program's settings).
    std::optional<ProgramOptions::WindowPlace> rememberedWindowPlace();
    /// Keeps where the main window is now, for the next start.
    void keepWindowPlace(const ProgramOptions::WindowPlace& place);

    /// File > Exit and closing the main window: once unsaved changes are settled, close the port (sending "E") and
    /// end at once. During a transfer
    /// the user is asked first; ending then breaks the transfer off (the abort burst), lets what was sent leave
    /// and closes the port before the program ends.
    void exit();
    /// A signal that ends the program (SIGINT, SIGTERM, SIGHUP): the program ends as Exit ends it, without the
    /// unsaved-changes question and without saving anything; a transfer under way is broken off as at Exit.
    void endOnSignal();
    /// Setup > Verify After Write: turns the read-back of every write on or off and keeps the choice.
    void toggleVerifyAfterWrite();
    /// Help > Contents.
    void showHelpContents();
    /// The welcome window's OK button.
    void confirmWelcome();

    // Events of the mode windows' fields, as the desktop program passes them on.

    /// Text entering a named field or editable pick list (typed, pasted, dropped) in place of its selection: the
    /// field's typing filter and limit decide what enters, and the model takes the result (a My Call field's goes
    /// to all five windows). With complete, typing up to the end of an editable pick list's text adds the
    /// completion the list offers, selected. Returns what the field then holds and where its cursor goes.
    validation::EnteredText enterText(const std::string& control, const validation::TextChange& change,
                                      bool complete = false);
    /// Undo or redo took a field back to a text it held before: the model takes it as it is.
    void textRestored(const std::string& control, const std::string& text);
    /// The user clicked a profile tab (0 to 9) of the NMEA or Tracking window.
    void profileTabClick(forms::Mode mode, int tab);
    /// Copy This Profile to: the profile on show of the NMEA or Tracking window becomes the profiles given (1 to
    /// 10) as well; returns the profiles copied to.
    std::vector<int> copyShownProfile(forms::Mode mode, const std::vector<int>& profiles);

    // The same events by control name, for a view that binds its widgets by name.

    /// A field's whole text replaced by the user (a completion or a symbol chosen): the text enters in place of
    /// all the field held, through its typing filter and limit, as enterText takes it.
    void textChanged(const std::string& control, const std::string& text);
    /// The user chose entry index of a pick list (path selectors apply their special-path rule).
    void listClick(const std::string& control, int index);
    /// The user clicked a check box.
    void checkClick(const std::string& control, bool checked);
    /// The user chose an option of a group.
    void optionClick(const std::string& control);
    /// A field lost the input focus (a Special Path field relabels the path selectors).
    void lostFocus(const std::string& control);
    /// The user closed a mode window with its title bar's button: it stays hidden until its mode is chosen again.
    void windowClosed(const std::string& window);
    /// The user minimised a mode window, or restored it from its icon.
    void windowMinimized(const std::string& window, bool minimized);
    /// A button by its name: Disconnect, and the mode area's Read and Open buttons (which do what their menu items
    /// do, Read only while it is usable). Choosing a mode opens the Mode menu, which is the desktop program's.
    void buttonClick(const std::string& button);
    /// A menu command: returns false for an item the core does not carry out (a menu, or a command the desktop
    /// program handles itself, such as About), which then does nothing here.
    bool menuCommand(forms::MenuId item);
    /// A menu is about to open: Recent Files checks its items against the files, Serial Port names each COM
    /// port's device.
    void menuOpened(forms::MenuId menu);
    /// Brings up to date the items whose state follows from the rest: Print Preview and Export Profiles as PDF are
    /// usable while a profile report is, Restore from Backup while backups are kept, each only while the main
    /// window and File > Open are. The view calls it before it draws.
    void settleMenus();
    /// Tells whether the program keeps backups of what the unit held (Restore from Backup can offer them).
    void setBackupsKept(bool kept) { m_backupsKept = kept; }

    /// Shows a box (normal pointer first) and moves the focus to its control, if it names one.
    void showBox(const forms::MessageBox& box);

private:
    /// Returns the help file's path: the program's folder + "/vq3.hlp" (or, for an installed program whose folder
    /// lacks it, the shared data folder's copy).
    std::string helpFile() const;
    /// The user chose an entry in path selector n (1 to 4) of a mode's window.
    void pathClick(forms::Mode mode, int n);
    /// Special Path n (1 to 4) of a mode's window lost the focus.
    void specialPathLostFocus(forms::Mode mode, int n);
    /// Ends the program: a transfer under way is broken off and the program ends once the port is closed.
    void endNow();

    storage::FileSystem& m_files;
    Ui& m_ui;
    Environment m_environment;
    Session m_session;
    IniSettings m_ini;
    FileCommands m_fileCommands;
    ProgramOptions m_options;
    LinkRequests* m_link = nullptr;
    PortCommands m_ports;
    ReportCommands m_reports;
    /// The program is ending (waiting for the port to close).
    bool m_ending = false;
    bool m_backupsKept = false;
};

/// Returns the box that refuses a mode a plain VQ-3 does not offer.
forms::MessageBox notOnPlainVq3Box();
/// Returns the question asked before the program ends during a transfer with the unit.
forms::MessageBox exitDuringTransferBox();

} // namespace qm::shell
