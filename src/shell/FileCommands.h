// The File menu's configuration-file commands: New, Open and Save As, with their dialogs and questions.
#pragma once

#include "shell/ProgramOptions.h"
#include "shell/Session.h"
#include "shell/Ui.h"
#include "storage/FileSystem.h"

#include <string>

namespace qm::shell
{

class FileCommands
{
public:
    /// currentFolder is the folder the dialogs start in (the process's current folder).
    FileCommands(Session& session, Ui& ui, storage::FileSystem& files, std::string currentFolder);

    /// Keeps the recent files in the program's settings (none: the recent files are not kept).
    void setOptions(ProgramOptions* options) { m_options = options; }

    /// Clears the window of the current mode, once unsaved changes are settled; without a mode, says to choose one.
    void newConfiguration();
    /// Once unsaved changes are settled, asks for a file and opens it, selecting its mode.
    void openConfiguration();
    /// Opens the file as Open does after its dialog, once unsaved changes are settled (a recent file, a file named
    /// at start-up, dropped on the window or handed over by a second start).
    void openFile(const std::string& path);
    /// Opens recent file n (1 to 5).
    void openRecentFile(int n);
    /// Opens a backup as Open does once unsaved changes are settled; the windows then belong to no file, so a save
    /// asks for a name instead of replacing the backup, and the backup joins no recent files.
    void openBackup(const std::string& path);
    /// Asks for a file name (and whether to overwrite an existing file) and saves the current mode into it. A name
    /// without an extension gets ".vq3" while the configuration-file filter is chosen. The dialog starts in the
    /// folder last used with the callsign and mode as the name. Returns whether the file was saved.
    bool saveConfigurationAs();
    /// Saves into the file last opened or saved without asking; without one, or when it holds another mode, as
    /// Save As. Returns whether the file was saved.
    bool save();

    /// While the windows hold changes that are not in the file, asks whether to save them: Save saves (as Save
    /// does), Discard lets them go. Returns whether the command that asked may go on (false for Cancel, or when
    /// the save did not happen).
    bool settleUnsavedChanges();

    /// Shows the recent files in the Recent Files submenu, each usable only while it exists.
    void refreshRecentFiles();
    /// Returns the main window's title: the file's name, the mark of unsaved changes and the caption.
    std::string windowTitle() const;

    /// The filter of both dialogs.
    static constexpr const char* kFilter = "VQ-3 Configuration File | *.vq3 | All Files | *";

private:
    FileDialogRequest dialog(const char* title) const;
    void show(const forms::MessageBox& box);
    /// Opens the file without asking first.
    void load(const std::string& path);
    bool saveTo(const std::string& path);
    /// The file was opened or saved: it becomes the document and the latest recent file.
    void remember(const std::string& path);
    std::string lastFolder() const;

    Session& m_session;
    Ui& m_ui;
    storage::FileSystem& m_files;
    std::string m_currentFolder;
    ProgramOptions* m_options = nullptr;
    /// The folder of the file last opened or saved ("" before any).
    std::string m_lastFolder;
};

/// Returns the question asked before a file is overwritten.
forms::MessageBox overwriteBox(const std::string& path);

/// Returns the box that asks for a mode: "Please select a mode from the "Mode" menu.".
forms::MessageBox selectModeBox();

} // namespace qm::shell
