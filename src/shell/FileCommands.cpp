// The File menu's configuration-file commands: New, Open and Save As, with their dialogs and questions.
#include "shell/FileCommands.h"

#include "forms/Text.h"
#include "shell/Document.h"

#include <vector>

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

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

/// The most characters of a path a menu shows: a longer one would make the menu wider than the screen.
constexpr std::size_t kMenuPathLength = 60;

/// A path as a menu shows it: a long one shortened in its middle to kMenuPathLength characters, so that where it
/// starts and the file's name still show; "&" doubled, so it is not taken for a mnemonic.
std::string menuText(const std::string& path)
{
    // Where each character starts: a UTF-8 continuation byte belongs to the character before it.
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < path.size(); ++at)
        if ((static_cast<unsigned char>(path[at]) & 0xC0) != 0x80)
            starts.push_back(at);
    std::string shown = path;
    if (starts.size() > kMenuPathLength) {
        const std::size_t head = kMenuPathLength / 3;
        const std::size_t tail = kMenuPathLength - 1 - head;
        shown = path.substr(0, starts[head]) + "\xE2\x80\xA6" + path.substr(starts[starts.size() - tail]);
    }
    std::string text;
    for (const char c : shown) {
        text += c;
        if (c == '&')
            text += '&';
    }
    return text;
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
    request.initialFolder = lastFolder();
    return request;
}

std::string FileCommands::lastFolder() const
{
    if (!m_lastFolder.empty())
        return m_lastFolder;
    if (m_options && !m_options->recentFiles().empty())
        if (std::string folder = folderOf(m_options->recentFiles().front()); !folder.empty())
            return folder;
    return m_currentFolder;
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
    const auto mode = m_session.state().currentMode;
    if (!mode || !settleUnsavedChanges())
        return;
    m_session.clearMode(*mode);
    // A new configuration belongs to no file yet: a save then asks for a name instead of replacing the last file.
    m_session.document().setUntitled(m_session.windows());
}

void FileCommands::openConfiguration()
{
    if (!settleUnsavedChanges())
        return;
    m_session.saveShownProfiles();
    const std::string path = m_ui.openFileDialog(dialog("Open Configuration File"));
    if (path.empty())
        return;
    load(path);
}

void FileCommands::openFile(const std::string& path)
{
    if (settleUnsavedChanges())
        load(path);
}

void FileCommands::openRecentFile(int n)
{
    if (!m_options || n < 1 || static_cast<std::size_t>(n) > m_options->recentFiles().size())
        return;
    // The list changes when the file opens: the path is taken first.
    const std::string path = m_options->recentFiles()[static_cast<std::size_t>(n - 1)];
    openFile(path);
}

void FileCommands::openBackup(const std::string& path)
{
    if (!settleUnsavedChanges())
        return;
    m_session.saveShownProfiles();
    const auto opened = m_session.openConfigurationFile(path);
    if (opened.kind == Session::OpenOutcome::Kind::Loaded)
        m_session.document().setUntitled(m_session.windows());
    if (opened.box)
        show(*opened.box);
}

void FileCommands::load(const std::string& path)
{
    m_session.saveShownProfiles();
    const auto opened = m_session.openConfigurationFile(path);
    if (opened.kind == Session::OpenOutcome::Kind::Loaded)
        remember(path);
    if (opened.box)
        show(*opened.box);
}

void FileCommands::remember(const std::string& path)
{
    if (const auto mode = m_session.state().currentMode)
        m_session.document().setFile(path, *mode, m_session.windows());
    m_lastFolder = folderOf(path);
    // A list of recent files that cannot be kept is no reason to trouble the user: the file itself is safe.
    if (m_options)
        (void)m_options->addRecentFile(path);
    refreshRecentFiles();
}

bool FileCommands::saveTo(const std::string& path)
{
    if (auto box = m_session.saveConfigurationFile(path)) {
        show(*box);
        return false;
    }
    remember(path);
    return true;
}

bool FileCommands::save()
{
    const Document& document = m_session.document();
    // A file of another mode is not replaced by this one without a name chosen for it.
    if (!document.path().empty() && document.mode() == m_session.state().currentMode)
        return saveTo(document.path());
    return saveConfigurationAs();
}

bool FileCommands::settleUnsavedChanges()
{
    const Document& document = m_session.document();
    if (!document.modified(m_session.windows()))
        return true;
    m_ui.setMousePointer(Pointer::Normal);
    switch (m_ui.messageBox(unsavedChangesBox(document.fileName(), m_session.state().currentMode))) {
    case forms::Button::Save:
        return save();
    case forms::Button::Discard:
        return true;
    default:
        return false;
    }
}

void FileCommands::refreshRecentFiles()
{
    forms::Menus& menus = m_session.windows().main.menus;
    const std::vector<std::string> none;
    const auto& recent = m_options ? m_options->recentFiles() : none;
    for (std::size_t i = 0; i < menus.recentfile.size(); ++i) {
        forms::MenuItem& item = menus.recentfile[i];
        item.setVisible(i < recent.size());
        if (i >= recent.size())
            continue;
        item.setCaption("&" + std::to_string(i + 1) + " " + menuText(recent[i]));
        item.setEnabled(m_files.fileExists(recent[i]));
    }
    menus.recentfiles.setEnabled(!recent.empty());
}

std::string FileCommands::windowTitle() const
{
    const Document& document = m_session.document();
    const forms::Windows& windows = m_session.windows();
    return shell::windowTitle(windows.main.window.caption(), document.fileName(), document.modified(windows));
}

bool FileCommands::saveConfigurationAs()
{
    m_session.saveShownProfiles();
    FileDialogRequest request = dialog("Save Configuration File As");
    if (const auto mode = m_session.state().currentMode)
        request.initialName = suggestedFileName(m_session.windows().station(*mode).MyCall.text(), *mode);
    for (;;) {
        const FileDialogChoice choice = m_ui.saveFileDialog(request);
        if (choice.path.empty())
            return false;
        const std::string path = withConfigurationExtension(choice);
        if (m_files.fileExists(path)) {
            m_ui.beep();
            const auto answer = m_ui.messageBox(overwriteBox(path));
            if (answer != forms::Button::Yes)
                continue;
        }
        return saveTo(path);
    }
}

} // namespace qm::shell
