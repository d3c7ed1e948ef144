// Changing fields of a loaded configuration by their control names, as a script does before it compiles, shows
// or writes a configuration: "TrkMyCall=N0CALL", "TrkSSID@3=7" for profile 3. Each value takes the way a user's
// paste would take: the field's typing filter and limit, the list's entries, the special-path rules.
#pragma once

#include "forms/MessageBox.h"
#include "shell/Session.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qm::shell
{

/// One change: a control, the profile (1 to 10) for a field kept per profile, and the value as given.
struct ControlSetting
{
    std::string control;
    std::optional<int> profile;
    std::string value;

    bool operator==(const ControlSetting&) const = default;
};

/// Reads "NAME=VALUE" or "NAME@N=VALUE"; the box tells what is wrong with the text.
std::variant<ControlSetting, forms::MessageBox> parseControlSetting(std::string_view text);

/// Changes one field of the configuration in the program's current mode as the user would: a text through the
/// field's typing filter (a character the field would refuse, or a text longer than the field, is refused
/// rather than dropped or cut), a list entry by its text, an option or check box by True/False, 1/0 or Yes/No,
/// the baud rates by their numbers. A profile field goes through the profile's tab, as editing does. Values are
/// UTF-8 (or single-byte text that is not UTF-8). Returns the box that refuses it; the program is then partly
/// changed and should be dropped.
std::optional<forms::MessageBox> applyControlSetting(Session& program, const ControlSetting& setting);

/// Reads and applies the settings in the order given; stops at the first that is refused.
std::optional<forms::MessageBox> applyControlSettings(Session& program, const std::vector<std::string>& settings);

} // namespace qm::shell
