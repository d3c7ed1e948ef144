// The compile of the Telemetry, Beacon and Alarm windows, which use profile 1 only.
#include "image/Compile.h"

#include "forms/Numbers.h"
#include "image/CompileShared.h"
#include "image/Encoding.h"

#include <cassert>

namespace qm::image
{

namespace
{

constexpr std::size_t kTelemetryTailWidth = 23;

std::array<int, 4> pathIndexes(const forms::StationControls& station)
{
    return {station.Path[0].listIndex(), station.Path[1].listIndex(), station.Path[2].listIndex(),
            station.Path[3].listIndex()};
}

bool stationSteps(CompileDraft& draft, forms::StationControls& station)
{
    if (!draft.stationCallsign(station.MyCall) ||
        !draft.stationSsid(1, station.SSID.text(), station.SSID.name(), std::nullopt) ||
        !draft.toCall(station.ToCall) || !draft.specialPaths(station))
        return false;
    draft.pathCodes(1, pathIndexes(station));
    return draft.timer(station);
}

bool txSteps(CompileDraft& draft, const forms::StationControls& station)
{
    return draft.txCodes(1, station.TxDelay.listIndex(), station.TxTail.listIndex(), station, std::nullopt);
}

} // namespace

CompileResult compileTelemetry(forms::Windows& windows, ImageFields& fields)
{
    forms::TelemetryForm& form = windows.telemetry;
    CompileDraft draft(windows, forms::Mode::Telemetry, fields);
    std::uint8_t termination = 0;
    if (!stationSteps(draft, form.station) ||
        !draft.terminationCharacter(form.TelTxOn, form.TelUserTrigChar, termination) || !txSteps(draft, form.station))
        return draft.refused();
    draft.fields().profileByte(1, 5) = termination;

    std::string stream = frameStart(draft.fields());
    for (int profile = 1; profile <= forms::kProfileCount; ++profile)
        stream += profileBytes(draft.fields(), profile);
    stream.append(kTelemetryTailWidth, '\0');
    return draft.finish(fields, std::move(stream));
}

CompileResult compileBeacon(forms::Windows& windows, ImageFields& fields)
{
    forms::BeaconForm& form = windows.beacon;
    CompileDraft draft(windows, forms::Mode::Beacon, fields);
    if (!stationSteps(draft, form.station) || !txSteps(draft, form.station) ||
        !draft.fixedText(form.BcnMsgText, "Beacon Text", form.BcnMsgText.maxLength(), draft.fields().beaconText))
        return draft.refused();

    std::string stream = frameStart(draft.fields()) + profileBytes(draft.fields(), 1) + draft.fields().beaconText;
    stream.push_back('\0');
    return draft.finish(fields, std::move(stream));
}

CompileResult compileAlarm(forms::Windows& windows, ImageFields& fields)
{
    forms::AlarmForm& form = windows.alarm;
    CompileDraft draft(windows, forms::Mode::Alarm, fields);
    if (!stationSteps(draft, form.station))
        return draft.refused();

    const auto count = forms::wholeNumberIn(form.AlmTxCntrLimit.text(), 0, 255);
    if (!count) {
        draft.refuse(form.AlmTxCntrLimit.name(), "Number Times To Send", std::nullopt, wholeNumberReason(0, 255));
        return draft.refused();
    }
    const auto halfSeconds = forms::wholeNumberIn(forms::numberValue(form.AlmArmDelay.text()) * 2, 0, 255);
    if (!halfSeconds) {
        draft.refuse(form.AlmArmDelay.name(), "Arm Delay", std::nullopt, wholeNumberReason(0, 127));
        return draft.refused();
    }
    if (!txSteps(draft, form.station))
        return draft.refused();
    ImageFields& image = draft.fields();
    for (std::size_t i = 0; i < 4; ++i) {
        if (!draft.fixedText(form.AlarmMsgText[i], "Alarm " + std::to_string(i + 1) + " Message",
                             form.AlarmMsgText[i].maxLength(), image.alarmMessage[i]))
            return draft.refused();
        image.alarmMessage[i] += '\0';
    }

    image.txCountByte = static_cast<std::uint8_t>(*count);
    image.armDelayByte = static_cast<std::uint8_t>(*halfSeconds);
    // Input 1 is bit 7 down to input 4 at bit 4; only "Low" (index 0) clears a bit.
    image.normalStateByte = 0;
    for (std::size_t input = 0; input < 4; ++input)
        if (form.AlmCondition[input].listIndex() != 0)
            image.normalStateByte |= static_cast<std::uint8_t>(0x80u >> input);

    std::string stream = frameStart(image) + profileBytes(image, 1);
    for (const std::string& message : image.alarmMessage)
        stream += message;
    for (std::uint8_t byte : {image.normalStateByte, image.armDelayByte, image.txCountByte})
        stream.push_back(static_cast<char>(byte));
    return draft.finish(fields, std::move(stream));
}

CompileResult compileMode(forms::Mode mode, forms::Windows& windows, ImageFields& fields)
{
    switch (mode) {
    case forms::Mode::Telemetry:
        return compileTelemetry(windows, fields);
    case forms::Mode::Beacon:
        return compileBeacon(windows, fields);
    case forms::Mode::Nmea:
        return compileNmea(windows, fields);
    case forms::Mode::Tracking:
        return compileTracking(windows, fields);
    case forms::Mode::Alarm:
        return compileAlarm(windows, fields);
    }
    assert(false);
    return {};
}

} // namespace qm::image
