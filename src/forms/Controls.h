// Every control of every window by its name, so a view, a test or a summary can find a control
// by name and walk them all in window order.
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

/// Calls the visitor with the name and the control of every control: the main window's first, then the five
/// mode windows in mode order and the welcome window, each in the order of its window, then the print progress
/// window.
void forEachControl(Windows& windows, const std::function<void(const std::string& name, Control control)>& visit);

/// Returns the control with this name.
std::optional<Control> findControl(Windows& windows, std::string_view name);

/// Returns the mode of the window a control belongs to, by its name's prefix (Tel, Bcn, NMEA, Trk, Alm, Alarm).
std::optional<Mode> controlMode(std::string_view name);

} // namespace qm::forms
