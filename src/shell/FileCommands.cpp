// The File menu's configuration-file commands: New, Open and Save As, with their dialogs and questions.
#include "shell/FileCommands.h"

#include "forms/Text.h"

namespace qm::shell
{

namespace
{

constexpr int kConfigurationFilter = 1;

/// Returns the path the user means: a name typed without an extension, with the configuration-file filter
/// chosen, is a configuration file, which the Open dialog's filter must find again.
std::string withConfigurationExtension(const FileDialogChoice& choice)
{
    const auto slash = choice.path.find_last_of('/');
    const std::string name = slash == std::string::npos ? choice.path : choice.path.substr(slash + 1);
    // As the toolkits do it: any dot in the name, a leading one included, counts as an extension typed.
    if (choice.filterIndex != kConfigurationFilter || name.empty() || name.find('.') != std::string::npos)
        return choice.path;
    return choice.path + ".vq3";
}

} // namespace

forms::MessageBox overwriteBox(const std::string& path)
{
    return forms::messageBox("Confirm",
                             "File \"" + forms::trimSpaces(path) +
                                 "\" already exists.\r\n\r\nDo you want to overwrite this file?",
                             forms::Icon::Warning, forms::Buttons::YesNo);
}

forms::MessageBox selectModeBox()
{
    return forms::messageBox("Error", "Please select a mode from the \"Mode\" menu.", forms::Icon::Information);
}

FileCommands::FileCommands(Session& session, Ui& ui, storage::FileSystem& files, std::string currentFolder)
    : m_session(session), m_ui(ui), m_files(files), m_currentFolder(std::move(currentFolder))
{}

FileDialogRequest FileCommands::dialog(const char* title) const
{
    FileDialogRequest request;
    request.title = title;
    request.filter = kFilter;
    request.filterIndex = 1;
    request.initialFolder = m_currentFolder;
    return request;
}

void FileCommands::show(const forms::MessageBox& box)
{
    m_ui.setMousePointer(Pointer::Normal);
    m_ui.messageBox(box);
}

void FileCommands::newConfiguration()
{
    if (!m_session.checkedMode()) {
        show(selectModeBox());
        return;
    }
    if (const auto mode = m_session.state().currentMode)
        m_session.clearMode(*mode);
}

void FileCommands::openConfiguration()
{
    m_session.saveShownProfiles();
    const std::string path = m_ui.openFileDialog(dialog("Open Configuration File"));
    if (path.empty())
        return;
    openFile(path);
}

void FileCommands::openFile(const std::string& path)
{
    m_session.saveShownProfiles();
    const auto opened = m_session.openConfigurationFile(path);
    if (opened.box)
        show(*opened.box);
}

void FileCommands::saveConfigurationAs()
{
    m_session.saveShownProfiles();
    for (;;) {
        const FileDialogChoice choice = m_ui.saveFileDialog(dialog("Save Configuration File As"));
        if (choice.path.empty())
            return;
        const std::string path = withConfigurationExtension(choice);
        if (m_files.fileExists(path)) {
            m_ui.beep();
            const auto answer = m_ui.messageBox(overwriteBox(path));
            if (answer != forms::Button::Yes)
                continue;
        }
        if (auto box = m_session.saveConfigurationFile(path))
            show(*box);
        return;
    }
}

} // namespace qm::shell
