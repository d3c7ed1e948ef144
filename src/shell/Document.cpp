// The configuration file the windows were last opened from or saved to, and whether they hold changes.
#include "shell/Document.h"

#include "forms/ProfileEditing.h"
#include "forms/Text.h"
#include "reports/ConfigurationSummary.h"
#include "storage/ConfigFile.h"

#include <cctype>

namespace qm::shell
{

WindowLines windowLines(const forms::Windows& windows)
{
    forms::Windows copy = windows;
    // As a save does: the shown profiles go into their stores first.
    forms::storeShownNmeaProfile(copy);
    forms::storeShownTrackingProfile(copy);
    copy.profiles.skipProfileSave = false;
    // Every profile is read as its tab shows it: showing a profile fills in what a store never shown leaves empty
    // (a path selector's "" becomes "0"), and looking at a tab is no change.
    for (int tab = 0; tab < forms::kProfileCount; ++tab) {
        forms::selectNmeaProfileTab(copy, tab);
        forms::selectTrackingProfileTab(copy, tab);
    }
    forms::storeShownNmeaProfile(copy);
    forms::storeShownTrackingProfile(copy);
    WindowLines lines;
    for (const forms::Mode mode : forms::kModes)
        lines[forms::modeIndex(mode)] = storage::configurationLines(copy, mode);
    return lines;
}

std::string Document::fileName() const
{
    const auto slash = m_path.rfind('/');
    return slash == std::string::npos ? m_path : m_path.substr(slash + 1);
}

std::string Document::folder() const
{
    const auto slash = m_path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : m_path.substr(0, slash);
}

void Document::setFile(std::string path, forms::Mode mode, const forms::Windows& windows)
{
    m_path = std::move(path);
    m_mode = mode;
    m_saved = windowLines(windows);
}

void Document::setUntitled(const forms::Windows& windows)
{
    m_path.clear();
    m_mode.reset();
    m_saved = windowLines(windows);
}

bool Document::modified(const forms::Windows& windows) const
{
    return m_saved && windowLines(windows) != *m_saved;
}

std::string windowTitle(const std::string& caption, const std::string& fileName, bool modified)
{
    if (fileName.empty())
        return modified ? "Untitled* - " + caption : caption;
    return fileName + (modified ? "* - " : " - ") + caption;
}

forms::MessageBox unsavedChangesBox(const std::string& fileName, std::optional<forms::Mode> mode)
{
    std::string what;
    if (!fileName.empty())
        what = "The configuration has changes that are not saved in \"" + fileName + "\".";
    else if (mode)
        what = "The " + modeName(*mode) + " configuration has changes that are not saved in a file.";
    else
        what = "The configuration has changes that are not saved in a file.";
    return forms::messageBox("Unsaved Changes", what + "\r\n\r\nDo you want to save them first?", forms::Icon::Warning,
                             forms::Buttons::SaveDiscardCancel);
}

std::string suggestedFileName(const std::string& callsign, forms::Mode mode)
{
    std::string name;
    for (const char c : forms::trimSpaces(callsign))
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '-')
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string modeWord = modeName(mode);
    for (char& c : modeWord)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return (name.empty() ? "" : name + "-") + modeWord + ".vq3";
}

} // namespace qm::shell
