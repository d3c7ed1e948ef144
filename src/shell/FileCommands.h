// The File menu's configuration-file commands: New, Open and Save As, with their dialogs and questions.
#pragma once

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

    /// Clears the window of the current mode; without a mode, says to choose one.
    void newConfiguration();
    /// Asks for a file and opens it, selecting its mode.
    void openConfiguration();
    /// Opens a file chosen elsewhere (a backup) as Open does once its dialog is answered.
    void openFile(const std::string& path);
    /// Asks for a file name (and whether to overwrite an existing file) and saves the current mode into it. A name
    /// without an extension gets ".vq3" while the configuration-file filter is chosen.
    void saveConfigurationAs();

    /// The filter of both dialogs.
    static constexpr const char* kFilter = "VQ-3 Configuration File | *.vq3 | All Files | *";

private:
    FileDialogRequest dialog(const char* title) const;
    void show(const forms::MessageBox& box);

    Session& m_session;
    Ui& m_ui;
    storage::FileSystem& m_files;
    std::string m_currentFolder;
};

/// Returns the question asked before a file is overwritten.
forms::MessageBox overwriteBox(const std::string& path);

/// Returns the box that asks for a mode: "Please select a mode from the "Mode" menu.".
forms::MessageBox selectModeBox();

} // namespace qm::shell
