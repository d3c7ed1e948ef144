// The compile of the NMEA and Tracking windows, whose ten profiles come from their profile stores.
#include "image/Compile.h"

#include "image/CompileShared.h"
#include "image/Encoding.h"

#include <cassert>
#include <limits>

namespace qm::image
{

namespace
{

constexpr std::size_t kDataHeaderWidth = 6;
constexpr std::size_t kCommentWidth = 21;
constexpr int kUnreadablePosition = std::numeric_limits<int>::min();

int position(const std::string& stored)
{
    return storedPosition(stored).value_or(kUnreadablePosition);
}

// The ten profiles come from the store only: the window's profile fields may hold unsaved edits.
bool profileSteps(CompileDraft& draft, forms::StationControls& station, forms::ProfileStore& store)
{
    if (!draft.stationCallsign(station.MyCall))
        return false;
    for (int k = 1; k <= forms::kProfileCount; ++k)
        if (!draft.stationSsid(k, store.entry(k).SSID, station.SSID.name(), k))
            return false;
    if (!draft.specialPaths(station) || !draft.toCall(station.ToCall))
        return false;
    for (int k = 1; k <= forms::kProfileCount; ++k) {
        const auto& path = store.entry(k).Path;
        draft.pathCodes(k, {position(path[0]), position(path[1]), position(path[2]), position(path[3])});
    }
    for (int k = 1; k <= forms::kProfileCount; ++k) {
        forms::ProfileEntry& entry = store.entry(k);
        if (!draft.timer(k, entry.TmrMin, entry.TmrSec, station, k))
            return false;
    }
    return true;
}

bool txSteps(CompileDraft& draft, const forms::StationControls& station, const forms::ProfileStore& store)
{
    for (int k = 1; k <= forms::kProfileCount; ++k) {
        const forms::ProfileEntry& entry = store.entry(k);
        if (!draft.txCodes(k, position(entry.TxDelay), position(entry.TxTail), station, k))
            return false;
    }
    return true;
}

bool dataHeaders(CompileDraft& draft, const forms::MainWindowControls& main)
{
    for (std::size_t i = 0; i < main.GpsString.size(); ++i) {
        const forms::PickList& header = main.GpsString[i];
        const std::string text = header.text();
        if (text.size() > kDataHeaderWidth)
            return draft.refuse(header.name(), "Data Header " + std::to_string(i + 1), std::nullopt,
                                "Data Headers can contain no more than 6 characters.");
        draft.fields().dataHeader[i] = padNul(text, kDataHeaderWidth + 1);
    }
    return true;
}

bool symbolBytes(CompileDraft& draft, const forms::TrackingForm& form)
{
    for (int k = 1; k <= forms::kProfileCount; ++k) {
        const std::string& symbol = form.store.entry(k).Symbol;
        if (symbol.size() > 1)
            return draft.refuse(form.TrkSymbol.name(), "Symbol", k, lengthReason(1));
        draft.fields().profileByte(k, 5) =
            symbol.empty() || symbol == " " ? 0x00 : static_cast<std::uint8_t>(symbol[0]);
    }
    return true;
}

std::string profileArea(const ImageFields& fields)
{
    std::string area;
    for (int k = 1; k <= forms::kProfileCount; ++k)
        area += profileBytes(fields, k);
    return area;
}

} // namespace

CompileResult compileNmea(forms::Windows& windows, ImageFields& fields)
{
    forms::NmeaForm& form = windows.nmea;
    CompileDraft draft(windows, forms::Mode::Nmea, fields);
    std::uint8_t termination = 0;
    if (!profileSteps(draft, form.station, form.store) || !dataHeaders(draft, windows.main) ||
        !draft.terminationCharacter(form.NMEATxOn, form.NMEAUserTrigChar, termination) ||
        !txSteps(draft, form.station, form.store))
        return draft.refused();

    ImageFields& image = draft.fields();
    for (int k = 1; k <= forms::kProfileCount; ++k)
        image.profileByte(k, 5) = termination;
    image.nmeaTail = std::string(2, '\0');

    std::string stream = frameStart(image) + profileArea(image);
    for (const std::string& header : image.dataHeader)
        stream += header;
    stream += image.nmeaTail;
    return draft.finish(fields, std::move(stream));
}

CompileResult compileTracking(forms::Windows& windows, ImageFields& fields)
{
    forms::TrackingForm& form = windows.tracking;
    CompileDraft draft(windows, forms::Mode::Tracking, fields);
    ImageFields& image = draft.fields();
    if (!profileSteps(draft, form.station, form.store) || !symbolBytes(draft, form) ||
        !txSteps(draft, form.station, form.store) || !draft.singleByte(form.TrkPrefix, "Prefix", image.prefixByte) ||
        !draft.singleByte(form.TrkSeparator, "Separator", image.separatorByte) ||
        !draft.fixedText(form.TrkComments, "Comments", kCommentWidth, image.comment))
        return draft.refused();

    std::string stream = frameStart(image) + profileArea(image);
    stream.push_back(static_cast<char>(image.prefixByte));
    stream.push_back(static_cast<char>(image.separatorByte));
    stream += image.comment;
    return draft.finish(fields, std::move(stream));
}

} // namespace qm::image
