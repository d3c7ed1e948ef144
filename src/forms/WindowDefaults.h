// The windows as start-up and every clear leave them: the fixed pick lists, and each window's defaults with the
// user's remembered callsign, baud rates and delay and tail positions.
#pragma once

#include "forms/Windows.h"

#include <string>

namespace qm::forms
{

/// What the user remembers (the initialization file) and every clear puts back into the windows.
struct WindowDefaults
{
    std::string myCall;
    /// 0 = 1200 .. 3 = 9600 baud; any other value leaves the input baud menu as it is.
    int inputBaudIndex = 0;
    /// 0 = 1200, 1 = 300 baud; any other value leaves the output baud menu and the delay and tail lists.
    int outputBaudIndex = 0;
    int txDelayIndex = 0;
    int txTailIndex = 0;
};

/// Fills the fixed pick lists (once, at start-up): data headers, to-calls, paths and alarm conditions.
void fillStartUpPickLists(Windows& windows);

/// Clears a mode's window to its defaults, with the main window's baud rate menus, delay and tail lists and
/// options.
void clearWindow(Windows& windows, Mode mode, const WindowDefaults& defaults);

/// Clears every mode's window to its defaults.
void clearAllWindows(Windows& windows, const WindowDefaults& defaults);

/// Returns the windows as start-up leaves them: pick lists filled, every window cleared to the defaults.
Windows startUpWindows(const WindowDefaults& defaults);

} // namespace qm::forms
