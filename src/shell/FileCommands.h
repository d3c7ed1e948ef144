// The File menu's configuration-file commands: New, Open and Save As, with their dialogs and questions.
#pragma once

#include "shell/ProgramOptions.h"
#include "shell/Session.h"
#include "shell/Ui.h"
#include "storage/FileSystem.h"

#include <optional>
#include <string>
#include <vector>

namespace qm::shell
{

class FileCommands
{
public:
    /// homeFolder is the folder the dialogs start in until a folder has been used.
    FileCommands(Session& session, Ui& ui, storage::FileSystem& files, std::string homeFolder);

    /// Keeps the recent files in the program's settings (none: the recent files are not kept).
    void setOptions(ProgramOptions* options) { m_options = options; }

    /// Clears the window of the current mode, once the unsaved changes it would replace are settled; without a
    /// mode, says to choose one.
    void newConfiguration();
    /// Asks for a file and opens it as openFile does.
    void openConfiguration();
    /// Opens the file and selects its mode, once the unsaved changes it would replace are settled (a recent file, a
    /// file named at start-up, dropped on the window or handed over by a second start). A file that does not open
    /// is told in a box, and nothing is asked or changed.
    void openFile(const std::string& path);
    /// Opens recent file n (1 to 5).
    void openRecentFile(int n);
    /// Opens a backup as openFile does; its window then belongs to no file, so a save asks for a name instead of
    /// replacing the backup, and the backup joins no recent files.
    void openBackup(const std::string& path);
    /// Asks for a file name (and whether to overwrite an existing file) and saves the current mode into it. A name
    /// without an extension gets ".vq3" while the configuration-file filter is chosen. The dialog starts in the
    /// folder last used with the callsign and mode as the name. Returns whether the file was saved.
    bool saveConfigurationAs();
    /// Saves the current mode into the file its window was last opened from or saved to, without asking; without
    /// one, as Save As. Returns whether the file was saved.
    bool save();

    /// Asks about each window that holds unsaved changes in turn (the current mode's first), by its mode's name:
    /// Save saves that window (as Save does for its mode), Discard lets its changes go, Cancel stops. Returns
    /// whether the command that asked may go on (false for Cancel, or when a save did not happen).
    bool settleUnsavedChanges();

    /// Returns the folder the file dialogs start in: the one last used, else the latest recent file's, else the
    /// home folder.
    std::string lastFolder() const;
    /// A file dialog chose this file: its folder is the one last used.
    void folderUsed(const std::string& path);

    /// Shows the recent files in the Recent Files submenu, each usable only while it exists.
    void refreshRecentFiles();
    /// Returns the main window's title: the file's name, the mark of unsaved changes and the caption.
    std::string windowTitle() const;

    /// The filter of both dialogs.
    static constexpr const char* kFilter = "VQ-3 Configuration File | *.vq3 | All Files | *";

private:
    FileDialogRequest dialog(const char* title) const;
    void show(const forms::MessageBox& box);
    /// Asks about each of the windows in turn, as settleUnsavedChanges does.
    bool settle(const std::vector<UnsavedWindow>& windows);
    /// Reads the file and, once the unsaved changes it would replace are settled, opens it; a backup belongs to no
    /// file once open.
    void load(const std::string& path, bool backup);
    /// Save As for a mode's window (none: the current mode, or the box that says why there is nothing to save).
    bool saveAs(std::optional<forms::Mode> mode);
    /// Saves the window's configuration as Save does for its mode.
    bool saveWindow(UnsavedWindow window);
    bool saveTo(const std::string& path, std::optional<forms::Mode> mode);
    /// The file was opened or saved: it becomes the mode window's file and the latest recent file.
    void remember(const std::string& path, forms::Mode mode);

    Session& m_session;
    Ui& m_ui;
    storage::FileSystem& m_files;
    std::string m_homeFolder;
    ProgramOptions* m_options = nullptr;
    /// The folder of the file last opened or saved ("" before any).
    std::string m_lastFolder;
};

/// Returns the question asked before a file is overwritten.
forms::MessageBox overwriteBox(const std::string& path);

/// Returns the box that asks for a mode: "Please select a mode from the "Mode" menu.".
forms::MessageBox selectModeBox();

} // namespace qm::shell
