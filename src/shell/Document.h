// The configuration file the windows were last opened from or saved to, and whether they hold changes that are not
// in it: what the title shows and what decides whether to ask before the windows are replaced.
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

class Document
{
public:
    /// The file last opened or saved ("" while the windows hold no file's configuration).
    const std::string& path() const { return m_path; }
    /// The mode the file holds.
    std::optional<forms::Mode> mode() const { return m_mode; }
    /// Returns the file's name without its folder ("" for none).
    std::string fileName() const;
    /// Returns the folder of the file ("" for none).
    std::string folder() const;

    /// The windows now hold what the file at path holds in mode (it was just opened or saved).
    void setFile(std::string path, forms::Mode mode, const forms::Windows& windows);
    /// The windows hold no file's configuration and nothing that needs keeping (start-up, New, a read from the
    /// unit, which keeps its own backup).
    void setUntitled(const forms::Windows& windows);

    /// Returns whether any mode window, or the main window's settings that go into a file, differ from what they
    /// were when the file was opened or saved (or setUntitled was called).
    bool modified(const forms::Windows& windows) const;

private:
    std::string m_path;
    std::optional<forms::Mode> m_mode;
    std::optional<WindowLines> m_saved;
};

/// Returns the main window's title: the file's name with "*" while the windows hold changes that are not in it,
/// then the caption ("N0CALL-tracking.vq3* - Quellmark Configuration Program"); without a file "Untitled" while
/// there are changes, else the caption alone.
std::string windowTitle(const std::string& caption, const std::string& fileName, bool modified);

/// Returns the question asked before unsaved changes would be replaced or lost: about the file by its name, or
/// without a file about the configuration of the mode (if any).
forms::MessageBox unsavedChangesBox(const std::string& fileName, std::optional<forms::Mode> mode);

/// Returns the name Save As suggests: the callsign (letters, digits and "-" only) and the mode, "N0CALL-tracking.vq3";
/// "tracking.vq3" without a callsign.
std::string suggestedFileName(const std::string& callsign, forms::Mode mode);

} // namespace qm::shell
