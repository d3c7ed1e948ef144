// Every control of every window by its name, so a view, a test or a summary can find a control
// by name, learn where it stands in the windows, and walk them all in window order.
#pragma once

#include "forms/Windows.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace qm::forms
{

/// One option of an option group.
struct OptionRef
{
    OptionGroup* group = nullptr;
    int option = 0;
};

/// A control of any kind.
using Control = std::variant<TextField*, PickList*, OptionRef, CheckBox*, MenuItem*, TabStrip*, Panel*>;

/// Returns what a control is, as its label and a screen reader name it ("Special Path 2", "Line Feed"); "" for the
/// controls whose own caption says it (menu items, panels, windows).
std::string labelOf(const Control& control);

/// Calls the visitor with the name and the control of every control: the main window's first, then the five
/// mode windows in mode order and the welcome window, each in the order of its window, then the print progress
/// window.
void forEachControl(Windows& windows, const std::function<void(const std::string& name, Control control)>& visit);

/// Returns the control with this name.
std::optional<Control> findControl(Windows& windows, std::string_view name);

/// What a control is among the controls every mode window shares (StationControls).
enum class Role
{
    MyCall,
    SSID,
    ToCall,
    Path,
    SpecialPath,
    TimerMinutes,
    TimerSeconds,
    TxDelay,
    TxTail,
    /// Any control outside the shared part: a window of its own, the main window's, a mode's own fields.
    Other,
};

/// Where a control stands in the windows.
struct ControlPlace
{
    /// The mode whose window holds the control; none for the windows themselves and the controls of the main,
    /// welcome and print windows.
    std::optional<Mode> mode;
    Role role = Role::Other;
    /// 1 to N for a control of a numbered row (Path 1 to 4, Special Path 1 to 4, the alarm messages and
    /// conditions, the data headers, the recent files); 0 for a control of its own.
    int number = 0;
};

/// A control with its place.
struct PlacedControl
{
    Control control;
    ControlPlace place;
};

/// Returns the control with this name and where it stands: taken from which member of which window it is.
std::optional<PlacedControl> locateControl(Windows& windows, std::string_view name);

} // namespace qm::forms
