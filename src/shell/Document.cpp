// The configuration file the windows were last opened from or saved to, and whether they hold changes.
#include "shell/Document.h"

#include "forms/ProfileEditing.h"
#include "forms/Text.h"
#include "reports/ConfigurationSummary.h"
#include "storage/ConfigFile.h"
#include "storage/Paths.h"

#include <algorithm>
#include <cctype>
#include <iterator>

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

WindowContents windowContents(const forms::Windows& windows)
{
    // Line 1 is the mode's code, lines 2 to 8 are alike in every mode's file, the rest is the window's own.
    constexpr std::size_t kSharedEnd = 8;
    WindowLines lines = windowLines(windows);
    WindowContents contents;
    const auto& first = lines[forms::modeIndex(forms::Mode::Telemetry)];
    contents.shared.assign(first.begin() + 1, first.begin() + kSharedEnd);
    for (const forms::Mode mode : forms::kModes) {
        auto& all = lines[forms::modeIndex(mode)];
        contents.own[forms::modeIndex(mode)].assign(std::make_move_iterator(all.begin() + kSharedEnd),
                                                    std::make_move_iterator(all.end()));
    }
    return contents;
}

std::string Document::fileName(forms::Mode mode) const
{
    return std::string(storage::fileNameOf(path(mode)));
}

void Document::setFile(std::string path, forms::Mode mode, const forms::Windows& windows)
{
    setUntitled(mode, windows);
    m_paths[forms::modeIndex(mode)] = std::move(path);
}

void Document::setUntitled(forms::Mode mode, const forms::Windows& windows)
{
    m_paths[forms::modeIndex(mode)].clear();
    WindowContents now = windowContents(windows);
    if (!m_saved) {
        m_saved = std::move(now);
        return;
    }
    m_saved->shared = std::move(now.shared);
    m_saved->own[forms::modeIndex(mode)] = std::move(now.own[forms::modeIndex(mode)]);
}

void Document::setUntitled(const forms::Windows& windows)
{
    for (auto& path : m_paths)
        path.clear();
    m_saved = windowContents(windows);
}

void Document::letGo(UnsavedWindow window, std::optional<forms::Mode> currentMode, const forms::Windows& windows)
{
    WindowContents now = windowContents(windows);
    if (!m_saved) {
        m_saved = std::move(now);
        return;
    }
    if (window == currentMode)
        m_saved->shared = std::move(now.shared);
    if (window)
        m_saved->own[forms::modeIndex(*window)] = std::move(now.own[forms::modeIndex(*window)]);
}

void Document::settleAllBut(const std::vector<forms::Mode>& kept, const forms::Windows& windows)
{
    WindowContents now = windowContents(windows);
    if (!m_saved) {
        m_saved = std::move(now);
        return;
    }
    m_saved->shared = std::move(now.shared);
    for (const forms::Mode mode : forms::kModes)
        if (std::find(kept.begin(), kept.end(), mode) == kept.end())
            m_saved->own[forms::modeIndex(mode)] = std::move(now.own[forms::modeIndex(mode)]);
}

std::vector<UnsavedWindow> Document::unsaved(const WindowContents& now, std::optional<forms::Mode> currentMode) const
{
    std::vector<UnsavedWindow> windows;
    if (!m_saved)
        return windows;
    const auto ownChanged = [&](forms::Mode mode) {
        return now.own[forms::modeIndex(mode)] != m_saved->own[forms::modeIndex(mode)];
    };
    if (now.shared != m_saved->shared || (currentMode && ownChanged(*currentMode)))
        windows.push_back(currentMode);
    for (const forms::Mode mode : forms::kModes)
        if (mode != currentMode && ownChanged(mode))
            windows.emplace_back(mode);
    return windows;
}

std::vector<UnsavedWindow> Document::unsavedWindows(const forms::Windows& windows,
                                                    std::optional<forms::Mode> currentMode) const
{
    return unsaved(windowContents(windows), currentMode);
}

std::vector<UnsavedWindow> Document::unsavedWindowsReplaced(const forms::Windows& windows, const forms::Windows& after,
                                                            std::optional<forms::Mode> currentMode) const
{
    const WindowContents now = windowContents(windows);
    const WindowContents then = windowContents(after);
    std::vector<UnsavedWindow> replaced;
    for (const UnsavedWindow window : unsaved(now, currentMode)) {
        const bool sharedReplaced = window == currentMode && now.shared != then.shared;
        if (sharedReplaced || (window && now.own[forms::modeIndex(*window)] != then.own[forms::modeIndex(*window)]))
            replaced.push_back(window);
    }
    return replaced;
}

bool Document::modified(const forms::Windows& windows) const
{
    return m_saved && windowContents(windows) != *m_saved;
}

std::string windowTitle(const std::string& caption, const std::string& fileName, bool modified)
{
    if (fileName.empty())
        return modified ? "Untitled* - " + caption : caption;
    return fileName + (modified ? "* - " : " - ") + caption;
}

forms::MessageBox unsavedChangesBox(const std::string& fileName, std::optional<forms::Mode> mode)
{
    const std::string configuration = mode ? "The " + modeName(*mode) + " configuration" : "The configuration";
    const std::string where = fileName.empty() ? "a file" : "\"" + fileName + "\"";
    const std::string what = configuration + " has changes that are not saved in " + where + ".";
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
