// How the keyboard gets about the windows: completions, the F6 areas and the profile tab steps.
#include "shell/Keyboard.h"

#include "forms/Text.h"

#include <algorithm>
#include <array>

namespace qm::shell
{

std::string listCompletion(const forms::PickList& list, std::string_view typed)
{
    if (typed.empty())
        return {};
    const std::string wanted = forms::upperCase(typed);
    for (const std::string& entry : list.entries())
        if (entry.size() >= typed.size() && forms::upperCase(std::string_view(entry).substr(0, typed.size())) == wanted)
            return entry.substr(typed.size());
    return {};
}

std::vector<std::string> keyboardAreas(const forms::Windows& windows, std::optional<forms::Mode> mode)
{
    const forms::MainWindowControls& main = windows.main;
    std::vector<std::string> areas;
    if (main.DataHeaderFrame.enabled() &&
        std::any_of(main.GpsString.begin(), main.GpsString.end(), [](const auto& list) { return list.enabled(); }))
        areas.emplace_back("DataHeaderFrame");
    if (main.ConnectButton.visible() && main.ConnectButton.enabled())
        areas.emplace_back(kStatusFrame);
    const std::array options{&main.ModeLock, &main.LEDDisable, &main.AutoMode, &main.MicEncode};
    if (std::any_of(options.begin(), options.end(), [](const forms::CheckBox* box) { return box->enabled(); }))
        areas.emplace_back(kOptionsFrame);
    if (mode) {
        const forms::Panel& window = windows.station(*mode).window;
        if (window.visible() && !window.minimized())
            areas.push_back(window.name());
    }
    return areas;
}

std::string nextKeyboardArea(const std::vector<std::string>& areas, std::string_view from, bool forward)
{
    if (areas.empty())
        return {};
    const auto found = std::find(areas.begin(), areas.end(), from);
    if (found == areas.end())
        return forward ? areas.front() : areas.back();
    const auto count = static_cast<std::ptrdiff_t>(areas.size());
    const std::ptrdiff_t at = (found - areas.begin() + (forward ? 1 : count - 1)) % count;
    return areas[static_cast<std::size_t>(at)];
}

std::optional<int> steppedProfileTab(const forms::Windows& windows, std::optional<forms::Mode> mode, int step)
{
    const forms::TabStrip* strip = nullptr;
    if (mode == forms::Mode::Nmea)
        strip = &windows.nmea.NMEAProfile;
    else if (mode == forms::Mode::Tracking)
        strip = &windows.tracking.TrkProfile;
    if (!strip)
        return std::nullopt;
    const forms::Panel& window = windows.station(*mode).window;
    if (!window.visible() || window.minimized())
        return std::nullopt;
    const int count = forms::kProfileCount;
    return ((strip->selectedIndex() + step) % count + count) % count;
}

} // namespace qm::shell
