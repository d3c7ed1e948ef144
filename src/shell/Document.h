// The configuration file each mode window was last opened from or saved to, and which windows hold changes that
// are not in it: what the title shows and what decides whom to ask before windows are replaced.
#pragma once

#include "forms/MessageBox.h"
#include "forms/Windows.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace qm::shell
{

/// The lines each mode's configuration file would hold, indexed by mode.
using WindowLines = std::array<std::vector<std::string>, forms::kModeCount>;

/// Returns the lines a save of each mode would write now (the shown profiles stored into a copy first, so the
/// windows are left as they are).
WindowLines windowLines(const forms::Windows& windows);

/// What the windows hold, split by whose it is: each mode window's own settings, and what every configuration file
/// carries alike (the main window's baud rates and option boxes, and My Call, which all five windows share).
struct WindowContents
{
    /// Each mode window's own lines: its block without My Call, indexed by mode.
    WindowLines own;
    /// Lines 2 to 8 of every file: the main window's settings and My Call.
    std::vector<std::string> shared;

    bool operator==(const WindowContents&) const = default;
};

/// Returns what the windows hold now.
WindowContents windowContents(const forms::Windows& windows);

/// A window that holds changes that are not saved: a mode's window, or, before any mode is chosen, the main
/// window's settings alone (no mode).
using UnsavedWindow = std::optional<forms::Mode>;

/// The windows' changed state. Each mode window is compared with what it held when it was last opened, saved or
/// settled; the settings every window shares count with the window of the current mode, the one being edited.
class Document
{
public:
    /// The file the mode's window was last opened from or saved to ("" for none).
    const std::string& path(forms::Mode mode) const { return m_paths[forms::modeIndex(mode)]; }
    /// Returns that file's name without its folder ("" for none).
    std::string fileName(forms::Mode mode) const;

    /// The mode's window, and the shared settings, now hold what the file at path holds (it was just opened or
    /// saved).
    void setFile(std::string path, forms::Mode mode, const forms::Windows& windows);
    /// The mode's window belongs to no file and holds nothing that needs keeping (New, a backup opened, a read
    /// from the unit, which keeps its own backup); so do the shared settings.
    void setUntitled(forms::Mode mode, const forms::Windows& windows);
    /// No window belongs to a file or holds anything that needs keeping (start-up).
    void setUntitled(const forms::Windows& windows);
    /// The user let a window's changes go: they no longer count as unsaved (the shared settings' too when it is
    /// the current mode's window, or the shared settings alone). Its file stays its file.
    void letGo(UnsavedWindow window, std::optional<forms::Mode> currentMode, const forms::Windows& windows);
    /// A command changed the windows: what it put into them is no one's work, so the shared settings and every
    /// mode window are settled as they are now, except the windows of the modes kept, which hold changes of the
    /// user that the command left alone.
    void settleAllBut(const std::vector<forms::Mode>& kept, const forms::Windows& windows);

    /// Returns the windows that hold unsaved changes: the current mode's first (or, without a mode, the shared
    /// settings when they changed), then the other modes in mode order.
    std::vector<UnsavedWindow> unsavedWindows(const forms::Windows& windows,
                                              std::optional<forms::Mode> currentMode) const;
    /// Returns the windows that hold unsaved changes which a command would replace: those whose contents differ
    /// in after, the windows as the command would leave them.
    std::vector<UnsavedWindow> unsavedWindowsReplaced(const forms::Windows& windows, const forms::Windows& after,
                                                      std::optional<forms::Mode> currentMode) const;
    /// Returns whether any window holds unsaved changes.
    bool modified(const forms::Windows& windows) const;

private:
    std::vector<UnsavedWindow> unsaved(const WindowContents& now, std::optional<forms::Mode> currentMode) const;

    std::array<std::string, forms::kModeCount> m_paths;
    /// What the windows held when each was last settled; nothing before start-up settles them.
    std::optional<WindowContents> m_saved;
};

/// Returns the main window's title: the current mode's file name with "*" while any window holds changes that are
/// not saved, then the caption ("N0CALL-tracking.vq3* - Quellmark Configuration Program"); without a file
/// "Untitled" while there are changes, else the caption alone.
std::string windowTitle(const std::string& caption, const std::string& fileName, bool modified);

/// Returns the question asked before a window's unsaved changes would be replaced or lost: about the mode's
/// configuration by its name and its file's (if any), or, without a mode, about the configuration.
forms::MessageBox unsavedChangesBox(const std::string& fileName, std::optional<forms::Mode> mode);

/// Returns the name Save As suggests: the callsign (letters, digits and "-" only) and the mode, "N0CALL-tracking.vq3";
/// "tracking.vq3" without a callsign.
std::string suggestedFileName(const std::string& callsign, forms::Mode mode);

} // namespace qm::shell
