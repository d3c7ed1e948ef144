// Every visible and stored value of the windows as one byte string, so a fuzz target can tell whether an
// operation changed anything at all.
#pragma once

#include "forms/Controls.h"
#include "forms/Windows.h"

#include <string>
#include <variant>

namespace qm::fuzz
{

namespace detail
{

inline void put(std::string& out, const std::string& value)
{
    out += std::to_string(value.size());
    out += ':';
    out += value;
}

inline void put(std::string& out, long long value)
{
    out += std::to_string(value);
    out += ';';
}

} // namespace detail

/// Returns the state of every control, both profile stores and the profile-editing state.
inline std::string snapshot(forms::Windows& windows)
{
    using detail::put;
    std::string out;
    forms::forEachControl(windows, [&out](const std::string& name, forms::Control control) {
        put(out, name);
        if (auto** field = std::get_if<forms::TextField*>(&control)) {
            put(out, (*field)->text());
            put(out, (*field)->enabled());
        } else if (auto** list = std::get_if<forms::PickList*>(&control)) {
            put(out, (*list)->listIndex());
            put(out, (*list)->text());
            put(out, (*list)->enabled());
            for (const auto& entry : (*list)->entries())
                put(out, entry);
        } else if (auto* option = std::get_if<forms::OptionRef>(&control)) {
            put(out, option->group->value(option->option));
        } else if (auto** box = std::get_if<forms::CheckBox*>(&control)) {
            put(out, (*box)->value());
            put(out, (*box)->enabled());
        } else if (auto** item = std::get_if<forms::MenuItem*>(&control)) {
            put(out, (*item)->caption());
            put(out, (*item)->checked());
            put(out, (*item)->enabled());
            put(out, (*item)->visible());
        } else if (auto** strip = std::get_if<forms::TabStrip*>(&control)) {
            put(out, (*strip)->selectedIndex());
        } else if (auto** panel = std::get_if<forms::Panel*>(&control)) {
            put(out, (*panel)->caption());
            put(out, (*panel)->visible());
            put(out, (*panel)->enabled());
            put(out, (*panel)->background());
        }
    });
    for (const forms::ProfileStore* store : {&windows.nmea.store, &windows.tracking.store}) {
        for (int profile = 1; profile <= forms::kProfileCount; ++profile) {
            const forms::ProfileEntry& entry = store->entry(profile);
            for (const std::string* value :
                 {&entry.SSID, &entry.Symbol, &entry.TmrMin, &entry.TmrSec, &entry.TxDelay, &entry.TxTail})
                put(out, *value);
            for (const std::string& path : entry.Path)
                put(out, path);
        }
    }
    put(out, windows.profiles.previousProfile);
    put(out, windows.profiles.skipProfileSave);
    return out;
}

} // namespace qm::fuzz
