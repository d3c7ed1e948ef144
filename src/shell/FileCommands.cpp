// The File menu's configuration-file commands: New, Open and Save As, with their dialogs and questions.
#include "shell/FileCommands.h"

#include "forms/Text.h"
#include "forms/WindowDefaults.h"
#include "shell/Document.h"
#include "storage/Paths.h"

#include <algorithm>
#include <string_view>
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
    const std::string_view name = storage::fileNameOf(choice.path);
    // As the toolkits do it: any dot in the name, a leading one included, counts as an extension typed.
    if (choice.filterIndex != kConfigurationFilter || name.empty() || name.find('.') != std::string_view::npos)
        return choice.path;
    return choice.path + ".vq3";
}

/// Returns the folder a file lies in, or "" for a bare name, which names no folder for a dialog to start in.
std::string namedFolderOf(const std::string& path)
{
    return path.find('/') == std::string::npos ? std::string{} : storage::folderOf(path);
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

FileCommands::FileCommands(Session& session, Ui& ui, storage::FileSystem& files, std::string homeFolder)
    : m_session(session), m_ui(ui), m_files(files), m_homeFolder(std::move(homeFolder))
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
        if (std::string folder = namedFolderOf(m_options->recentFiles().front()); !folder.empty())
            return folder;
    return m_homeFolder;
}

void FileCommands::folderUsed(const std::string& path)
{
    if (std::string folder = namedFolderOf(path); !folder.empty())
        m_lastFolder = std::move(folder);
}

void FileCommands::show(const forms::MessageBox& box)
{
    m_ui.setMousePointer(Pointer::Normal);
    m_ui.messageBox(box);
}

namespace
{

/// Returns the modes among the unsaved windows that are not among those a command replaces.
std::vector<forms::Mode> keptModes(const std::vector<UnsavedWindow>& unsaved,
                                   const std::vector<UnsavedWindow>& replaced)
{
    std::vector<forms::Mode> kept;
    for (const UnsavedWindow window : unsaved)
        if (window && std::find(replaced.begin(), replaced.end(), window) == replaced.end())
            kept.push_back(*window);
    return kept;
}

} // namespace

void FileCommands::newConfiguration()
{
    if (!m_session.checkedMode()) {
        show(selectModeBox());
        return;
    }
    const auto mode = m_session.state().currentMode;
    if (!mode)
        return;
    // Only the changes the clear would replace are asked about: the other windows keep theirs, and their marks.
    forms::Windows cleared = m_session.windows();
    forms::clearWindow(cleared, *mode, m_session.defaults());
    Document& document = m_session.document();
    const auto unsaved = document.unsavedWindows(m_session.windows(), mode);
    const auto replaced = document.unsavedWindowsReplaced(m_session.windows(), cleared, mode);
    if (!settle(replaced))
        return;
    m_session.clearMode(*mode);
    document.settleAllBut(keptModes(unsaved, replaced), m_session.windows());
    // A new configuration belongs to no file yet: a save then asks for a name instead of replacing the last file.
    document.setUntitled(*mode, m_session.windows());
}

void FileCommands::openConfiguration()
{
    m_session.saveShownProfiles();
    const std::string path = m_ui.openFileDialog(dialog("Open Configuration File"));
    if (path.empty())
        return;
    load(path, false);
}

void FileCommands::openFile(const std::string& path)
{
    load(path, false);
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
    load(path, true);
}

void FileCommands::load(const std::string& path, bool backup)
{
    // The file is read and checked whole before anyone is asked anything: a file that does not open changes
    // nothing, and the question names only the windows the file would replace.
    auto read = m_session.readConfigurationFile(path);
    if (const auto* box = std::get_if<forms::MessageBox>(&read)) {
        show(*box);
        return;
    }
    Session::ReadFile file = std::get<Session::ReadFile>(std::move(read));
    Document& document = m_session.document();
    const auto current = m_session.state().currentMode;
    const auto unsaved = document.unsavedWindows(m_session.windows(), current);
    const auto replaced = document.unsavedWindowsReplaced(m_session.windows(), file.windows, current);
    if (!settle(replaced))
        return;
    const forms::Mode mode = file.mode;
    m_session.takeConfiguration(std::move(file));
    document.settleAllBut(keptModes(unsaved, replaced), m_session.windows());
    if (backup)
        document.setUntitled(mode, m_session.windows());
    else
        remember(path, mode);
}

void FileCommands::remember(const std::string& path, forms::Mode mode)
{
    m_session.document().setFile(path, mode, m_session.windows());
    folderUsed(path);
    // A list of recent files that cannot be kept is no reason to trouble the user: the file itself is safe.
    if (m_options)
        (void)m_options->addRecentFile(path);
    refreshRecentFiles();
}

bool FileCommands::saveTo(const std::string& path, std::optional<forms::Mode> mode)
{
    const auto failed = mode ? m_session.saveConfigurationFile(path, *mode) : m_session.saveConfigurationFile(path);
    if (failed) {
        show(*failed);
        return false;
    }
    if (const auto saved = mode ? mode : m_session.state().currentMode)
        remember(path, *saved);
    return true;
}

bool FileCommands::save()
{
    return saveWindow(m_session.state().currentMode);
}

bool FileCommands::saveWindow(UnsavedWindow window)
{
    // Each window has its own file: one holding another mode is not replaced by this one without a name chosen.
    if (window && !m_session.document().path(*window).empty())
        return saveTo(m_session.document().path(*window), window);
    return saveAs(window);
}

bool FileCommands::settleUnsavedChanges()
{
    return settle(m_session.document().unsavedWindows(m_session.windows(), m_session.state().currentMode));
}

bool FileCommands::settle(const std::vector<UnsavedWindow>& windows)
{
    for (const UnsavedWindow window : windows) {
        Document& document = m_session.document();
        m_ui.setMousePointer(Pointer::Normal);
        switch (m_ui.messageBox(unsavedChangesBox(window ? document.fileName(*window) : "", window))) {
        case forms::Button::Save:
            if (!saveWindow(window))
                return false;
            break;
        case forms::Button::Discard:
            document.letGo(window, m_session.state().currentMode, m_session.windows());
            break;
        default:
            return false;
        }
    }
    return true;
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
    const auto mode = m_session.state().currentMode;
    return shell::windowTitle(windows.main.window.caption(), mode ? document.fileName(*mode) : std::string(),
                              document.modified(windows));
}

bool FileCommands::saveConfigurationAs()
{
    return saveAs(m_session.state().currentMode);
}

bool FileCommands::saveAs(std::optional<forms::Mode> mode)
{
    m_session.saveShownProfiles();
    FileDialogRequest request = dialog("Save Configuration File As");
    if (mode)
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
        return saveTo(path, mode);
    }
}

} // namespace qm::shell
