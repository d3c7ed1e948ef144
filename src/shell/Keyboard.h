// How the keyboard gets about the windows: the completion an editable pick list offers for what is typed, the parts
// of the main window that F6 moves between, and the profile tab Ctrl+Tab moves to.
#pragma once

#include "forms/Windows.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::shell
{

/// Returns what completes the text typed into an editable pick list: the rest of its first entry that starts with
/// the text, letter case aside; "" when no entry does, when the text is a whole entry already, or for an empty text.
/// The typed part stays as typed; the rest is offered selected, so that the next key typed replaces it.
std::string listCompletion(const forms::PickList& list, std::string_view typed);

/// The main window's frame of the status panel and the Disconnect button, and its frame of the option boxes: parts
/// F6 moves between that have no model of their own.
inline constexpr const char* kStatusFrame = "Frame9";
inline constexpr const char* kOptionsFrame = "Frame20";

/// Returns the parts of the main window F6 moves between, in their order, those with a control in use now: the
/// data headers ("DataHeaderFrame"), the status frame, the options frame and the window of the mode being edited
/// ("Form1" to "Form5", while it is shown and not minimised).
std::vector<std::string> keyboardAreas(const forms::Windows& windows, std::optional<forms::Mode> mode);

/// Returns the area after the one named (before it when not forward), round from the last to the first; from
/// outside every area the first (the last). "" when there is none.
std::string nextKeyboardArea(const std::vector<std::string>& areas, std::string_view from, bool forward);

/// Returns the profile tab (0 to 9) `step` tabs on from the one shown in the mode's window, round from the tenth to
/// the first; nothing when the mode has no profiles or its window is not shown.
std::optional<int> steppedProfileTab(const forms::Windows& windows, std::optional<forms::Mode> mode, int step);

} // namespace qm::shell
