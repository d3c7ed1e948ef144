// The window fills of the NMEA and Tracking windows: all ten profiles into the store, then the profile of
// the image's profile index on show.
#include "image/Decode.h"

#include "forms/ProfileEditing.h"
#include "image/Encoding.h"
#include "image/FillShared.h"

#include <tuple>

namespace qm::image
{

namespace
{

void fillProfileStore(forms::ProfileStore& store, const ImageFields& fields, bool baud300)
{
    for (int k = 1; k <= forms::kProfileCount; ++k) {
        forms::ProfileEntry& entry = store.entry(k);
        const auto paths = pathIndexesOf(fields, k);
        for (std::size_t i = 0; i < 4; ++i)
            entry.Path[i] = std::to_string(paths[i]);
        entry.SSID = ssidTextOf(fields, k);
        std::tie(entry.TmrMin, entry.TmrSec) = timerTextsOf(fields, k);
        const auto [delay, tail] = txIndexesOf(fields, k, baud300);
        entry.TxTail = std::to_string(tail);
        entry.TxDelay = std::to_string(delay);
    }
}

// An index byte no tab has (never written by a compile) shows profile 1.
int decodedTab(const ImageFields& fields)
{
    return fields.profileIndexByte < forms::kProfileCount ? fields.profileIndexByte : 0;
}

// The window still holds fields from before the read: the skip keeps the tab change from saving them over the
// decoded store entry. A tab that is selected already gets no tab change, so it is loaded directly.
void showDecodedProfile(forms::Windows& windows, const forms::TabStrip& strip, int tab, void (*load)(forms::Windows&),
                        void (*select)(forms::Windows&, int))
{
    windows.profiles.skipProfileSave = true;
    if (strip.selectedIndex() == tab)
        load(windows);
    else
        select(windows, tab);
}

std::string withoutLeadingSpaces(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

} // namespace

void fillNmeaWindow(forms::Windows& windows, const ImageFields& fields)
{
    forms::NmeaForm& form = windows.nmea;
    if (forms::modeOfCode(modeCode(fields.modeByte)) == forms::Mode::Nmea)
        form.NMEADeltaEnable.setValue(decodeModeByte(fields.modeByte).delta ? 1 : 0);
    fillSpecialPaths(form.station, fields);
    fillProfileStore(form.store, fields, fillsAt300Baud(windows));
    fillTermination(form.NMEATxOn, form.NMEAUserTrigChar, fields.profileByte(1, 5));
    for (std::size_t i = 0; i < windows.main.GpsString.size(); ++i)
        windows.main.GpsString[i].setText(withoutLeadingSpaces(untilNul(fields.dataHeader[i])));
    showDecodedProfile(windows, form.NMEAProfile, decodedTab(fields), forms::showNmeaProfile,
                       forms::selectNmeaProfileTab);
}

void fillTrackingWindow(forms::Windows& windows, const ImageFields& fields)
{
    forms::TrackingForm& form = windows.tracking;
    if (forms::modeOfCode(modeCode(fields.modeByte)) == forms::Mode::Tracking)
        form.TrkDeltaEnable.setValue(decodeModeByte(fields.modeByte).delta ? 1 : 0);
    fillSpecialPaths(form.station, fields);
    fillProfileStore(form.store, fields, fillsAt300Baud(windows));
    for (int k = 1; k <= forms::kProfileCount; ++k)
        form.store.entry(k).Symbol = std::string(1, static_cast<char>(fields.profileByte(k, 5)));
    form.TrkPrefix.setText(untilNul(std::string(1, static_cast<char>(fields.prefixByte))));
    form.TrkSeparator.setText(untilNul(std::string(1, static_cast<char>(fields.separatorByte))));
    form.TrkComments.setText(untilNul(fields.comment));
    showDecodedProfile(windows, form.TrkProfile, decodedTab(fields), forms::showTrackingProfile,
                       forms::selectTrackingProfileTab);
}

} // namespace qm::image
