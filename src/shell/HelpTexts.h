// The texts the program shows about itself: each mode's help text, the option boxes' and the status
// panel's tool tips.
#pragma once

#include "forms/Windows.h"

#include <string>
#include <string_view>

namespace qm::shell
{

/// Returns the help text of a mode as one UTF-8 line (the Tracking text holds a typographic apostrophe).
const std::string& modeHelpText(forms::Mode mode);

/// Returns the tool tip of an option check box (ModeLock, LEDDisable, AutoMode, MicEncode) for its state.
std::string optionToolTip(std::string_view checkBox, bool ticked);

/// Returns the tool tip of the status panel for its caption.
std::string statusToolTip(std::string_view caption);

} // namespace qm::shell
