// Keeping the NMEA and Tracking windows in step with their profile stores.
#include "forms/ProfileEditing.h"

#include "forms/Numbers.h"
#include "forms/Text.h"

#include <algorithm>

namespace qm::forms
{

namespace
{

std::string listPosition(const PickList& list)
{
    return std::to_string(list.listIndex());
}

/// A stored timer whose number value is 0 is kept as "0".
std::string timerEntry(const TextField& field)
{
    return numberValue(field.text()) == 0.0 ? std::string("0") : field.text();
}

void saveShared(const StationControls& station, ProfileEntry& entry)
{
    entry.SSID = station.SSID.text();
    for (std::size_t i = 0; i < 4; ++i)
        entry.Path[i] = listPosition(station.Path[i]);
    entry.TmrMin = timerEntry(station.TmrMin);
    entry.TmrSec = timerEntry(station.TmrSec);
    entry.TxDelay = listPosition(station.TxDelay);
    entry.TxTail = listPosition(station.TxTail);
}

/// Selects a stored position; a value the list lacks selects nothing (paths) or is clamped (delays).
void selectPath(PickList& list, const std::string& stored)
{
    const auto index = wholeNumberIn(stored, -1, list.count() - 1);
    list.setListIndex(index.value_or(-1));
}

/// Empty or negative positions select the first delay entry; positions past the list select its last entry.
void selectDelay(PickList& list, const std::string& stored)
{
    if (list.count() == 0)
        return;
    const double value = numberValue(stored);
    if (stored.empty() || value < 0) {
        list.setListIndex(0);
        return;
    }
    list.setListIndex(wholeNumberIn(value, 0, list.count() - 1).value_or(list.count() - 1));
}

void loadShared(StationControls& station, const ProfileEntry& entry)
{
    for (std::size_t i = 0; i < 4; ++i)
        selectPath(station.Path[i], entry.Path[i]);
    station.TmrMin.setText(entry.TmrMin);
    station.TmrSec.setText(entry.TmrSec);
    selectDelay(station.TxDelay, entry.TxDelay);
    selectDelay(station.TxTail, entry.TxTail);
}

void saveTracking(TrackingForm& form, ProfileEntry& entry)
{
    saveShared(form.station, entry);
    entry.Symbol = symbolEntry(form.TrkSymbol.text(), form.TrkSendComments.isSet());
}

/// The tab change: caption, save of the profile left (unless a window fill asked to skip it), load of the new one.
void changeTab(Windows& windows, TabStrip& strip, Panel& frame, int tab, void (*savePrevious)(Windows&),
               void (*load)(Windows&))
{
    const int previous = strip.selectedIndex();
    if (tab == previous || tab < 0 || tab >= kProfileCount)
        return;
    strip.setSelectedIndex(tab);
    frame.setCaption(profileFrameCaption(tab));
    const bool skip = windows.profiles.skipProfileSave;
    windows.profiles.previousProfile = previous + 1;
    if (!skip)
        savePrevious(windows);
    windows.profiles.skipProfileSave = false;
    load(windows);
}

} // namespace

std::string profileFrameCaption(int tab)
{
    return "Profile #" + std::to_string(tab + 1) + " Settings";
}

std::string symbolEntry(const std::string& symbolText, bool sendComments)
{
    const unsigned code = symbolText.empty() ? 0u : static_cast<unsigned char>(symbolText.front());
    const unsigned stored = sendComments ? (code | 0x80u) : (code & 0x7Fu);
    // A symbol longer than its one character (read from a file) is kept whole; Write refuses it by name.
    return std::string(1, static_cast<char>(stored)) + (symbolText.size() > 1 ? symbolText.substr(1) : std::string());
}

void storeShownNmeaProfile(Windows& windows)
{
    NmeaForm& form = windows.nmea;
    saveShared(form.station, form.store.entry(form.NMEAProfile.selectedIndex() + 1));
}

void storePreviousNmeaProfile(Windows& windows)
{
    NmeaForm& form = windows.nmea;
    saveShared(form.station, form.store.entry(windows.profiles.previousProfile));
}

void showNmeaProfile(Windows& windows)
{
    NmeaForm& form = windows.nmea;
    const ProfileEntry& entry = form.store.entry(form.NMEAProfile.selectedIndex() + 1);
    form.station.SSID.setText(entry.SSID);
    loadShared(form.station, entry);
    windows.profiles.skipProfileSave = false;
}

void storeShownTrackingProfile(Windows& windows)
{
    TrackingForm& form = windows.tracking;
    saveTracking(form, form.store.entry(form.TrkProfile.selectedIndex() + 1));
}

void storePreviousTrackingProfile(Windows& windows)
{
    TrackingForm& form = windows.tracking;
    saveTracking(form, form.store.entry(windows.profiles.previousProfile));
}

void showTrackingProfile(Windows& windows)
{
    TrackingForm& form = windows.tracking;
    const ProfileEntry& entry = form.store.entry(form.TrkProfile.selectedIndex() + 1);
    form.station.SSID.setText(numberValue(entry.SSID) == 0.0 ? std::string() : trimSpaces(entry.SSID));
    loadShared(form.station, entry);
    if (entry.Symbol.empty()) {
        form.TrkSymbol.setText("");
        form.TrkSendComments.setValue(0);
    } else {
        const auto code = static_cast<unsigned char>(entry.Symbol.front());
        const std::string symbol = static_cast<char>(code & 0x7Fu) + entry.Symbol.substr(1);
        // A symbol code of 0 on its own shows as an empty field.
        form.TrkSymbol.setText(symbol == std::string(1, '\0') ? std::string() : symbol);
        form.TrkSendComments.setValue((code & 0x80u) ? 1 : 0);
    }
    windows.profiles.skipProfileSave = false;
}

void selectNmeaProfileTab(Windows& windows, int tab)
{
    changeTab(windows, windows.nmea.NMEAProfile, windows.nmea.NMEAProfileFrame, tab, storePreviousNmeaProfile,
              showNmeaProfile);
}

void selectTrackingProfileTab(Windows& windows, int tab)
{
    changeTab(windows, windows.tracking.TrkProfile, windows.tracking.TrkProfileFrame, tab, storePreviousTrackingProfile,
              showTrackingProfile);
}

std::vector<int> copyShownProfile(Windows& windows, Mode mode, const std::vector<int>& profiles)
{
    ProfileStore* store = nullptr;
    int shown = 0;
    if (mode == Mode::Nmea) {
        storeShownNmeaProfile(windows);
        store = &windows.nmea.store;
        shown = windows.nmea.NMEAProfile.selectedIndex() + 1;
    } else if (mode == Mode::Tracking) {
        storeShownTrackingProfile(windows);
        store = &windows.tracking.store;
        shown = windows.tracking.TrkProfile.selectedIndex() + 1;
    } else {
        return {};
    }
    std::vector<int> copied;
    for (int profile = 1; profile <= kProfileCount; ++profile) {
        const bool chosen = std::find(profiles.begin(), profiles.end(), profile) != profiles.end();
        if (!chosen || profile == shown)
            continue;
        store->entry(profile) = store->entry(shown);
        copied.push_back(profile);
    }
    return copied;
}

} // namespace qm::forms
