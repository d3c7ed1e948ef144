// The upload decoding into the field store, the shared window-fill decodings, and the window fills of the
// Telemetry, Beacon and Alarm windows.
#include "image/Decode.h"

#include "forms/Numbers.h"
#include "forms/PickLists.h"
#include "forms/Text.h"
#include "image/Encoding.h"
#include "image/FillShared.h"

#include <cassert>

namespace qm::image
{

namespace
{

constexpr std::uint8_t kNoToCallSsid = 0x30;

class UploadReader
{
public:
    explicit UploadReader(const std::string& data) : m_data(data)
    {
        // The link delivers exactly 128 bytes; anything short reads as 0x00 rather than past the end.
        m_data.resize(kImageSize, '\0');
    }

    std::uint8_t byte(std::size_t position) const { return static_cast<std::uint8_t>(m_data[position - 1]); }
    std::string bytes(std::size_t position, std::size_t length) const { return m_data.substr(position - 1, length); }

private:
    std::string m_data;
};

void splitProfile(const UploadReader& upload, ImageFields& fields, int profile)
{
    const std::size_t first = 46 + 6 * static_cast<std::size_t>(profile - 1);
    for (int b = 1; b <= 6; ++b)
        fields.profileByte(profile, b) = upload.byte(first + static_cast<std::size_t>(b - 1));
}

void fillStation(forms::StationControls& station, const ImageFields& fields)
{
    fillSpecialPaths(station, fields);
    const auto paths = pathIndexesOf(fields, 1);
    for (std::size_t i = 0; i < 4; ++i)
        station.Path[i].setListIndex(paths[i]);
    station.SSID.setText(ssidTextOf(fields, 1));
    const auto [minutes, seconds] = timerTextsOf(fields, 1);
    station.TmrMin.setText(minutes);
    station.TmrSec.setText(seconds);
}

void fillTxLists(const forms::Windows& windows, forms::StationControls& station, const ImageFields& fields)
{
    const auto [delay, tail] = txIndexesOf(fields, 1, fillsAt300Baud(windows));
    station.TxTail.setListIndex(tail);
    station.TxDelay.setListIndex(delay);
}

} // namespace

ImageFields decodeFields(const std::string& image)
{
    ImageFields fields;
    splitUpload(image, fields);
    return fields;
}

void splitUpload(const std::string& uploadData, ImageFields& fields)
{
    const UploadReader upload(uploadData);
    fields.modeByte = upload.byte(1);
    fields.optionByte = upload.byte(2);
    fields.autoModeByte = upload.byte(3);
    fields.profileIndexByte = upload.byte(4);
    fields.stationCallsign = forms::trimSpaces(upload.bytes(5, 6));
    fields.toCall = forms::trimSpaces(upload.bytes(11, 6));
    if (upload.byte(17) != kNoToCallSsid)
        fields.toCall += "-" + std::to_string(upload.byte(17));
    for (std::size_t i = 0; i < fields.specialPath.size(); ++i)
        fields.specialPath[i] = upload.bytes(18 + 7 * i, 7);

    const int mode = modeCode(fields.modeByte);
    if (mode == 0 || mode == 1 || mode == 4)
        splitProfile(upload, fields, 1);
    if (mode == 2 || mode == 3)
        for (int k = 1; k <= forms::kProfileCount; ++k)
            splitProfile(upload, fields, k);

    switch (mode) {
    case 1:
        fields.beaconText = upload.bytes(52, 76);
        break;
    case 2:
        for (std::size_t i = 0; i < fields.dataHeader.size(); ++i)
            fields.dataHeader[i] = upload.bytes(106 + 7 * i, 7);
        fields.nmeaTail = upload.bytes(127, 2);
        break;
    case 3:
        fields.prefixByte = upload.byte(106);
        fields.separatorByte = upload.byte(107);
        fields.comment = upload.bytes(108, 21);
        break;
    case 4:
        fields.alarmMessage = {upload.bytes(52, 26), upload.bytes(78, 16), upload.bytes(94, 16), upload.bytes(110, 16)};
        fields.normalStateByte = upload.byte(126);
        fields.armDelayByte = upload.byte(127);
        fields.txCountByte = upload.byte(128);
        break;
    default:
        break;
    }
}

void fillTermination(forms::OptionGroup& choice, forms::TextField& userValue, std::uint8_t code)
{
    if (code == 0x0D) {
        choice.setValue(forms::kCarriageReturn, true);
    } else if (code == 0x0A) {
        choice.setValue(forms::kLineFeed, true);
    } else {
        choice.setValue(forms::kUserDefined, true);
        userValue.setText(std::to_string(code));
    }
}

bool fillsAt300Baud(const forms::Windows& windows)
{
    return !windows.main.menus.out1200.checked();
}

void fillSpecialPaths(forms::StationControls& station, const ImageFields& fields)
{
    for (int n = 1; n <= 4; ++n) {
        station.SpecPath[static_cast<std::size_t>(n - 1)].setText(
            decodeAddress(fields.specialPath[static_cast<std::size_t>(n - 1)]));
        forms::relabelSpecialPath(station, n);
    }
}

std::array<std::uint8_t, 4> pathCodesOf(const ImageFields& fields, int profile)
{
    const std::uint8_t low = fields.profileByte(profile, 1);
    const std::uint8_t high = fields.profileByte(profile, 2);
    return {static_cast<std::uint8_t>(low & 0x0F), static_cast<std::uint8_t>(low >> 4),
            static_cast<std::uint8_t>(high & 0x0F), static_cast<std::uint8_t>(high >> 4)};
}

std::array<int, 4> pathIndexesOf(const ImageFields& fields, int profile)
{
    const auto codes = pathCodesOf(fields, profile);
    return {pathIndex(codes[0]), pathIndex(codes[1]), pathIndex(codes[2]), pathIndex(codes[3])};
}

std::string ssidTextOf(const ImageFields& fields, int profile)
{
    const int ssid = fields.profileByte(profile, 3) >> 4;
    return ssid == 0 ? std::string() : std::to_string(ssid);
}

std::pair<std::string, std::string> timerTextsOf(const ImageFields& fields, int profile)
{
    const int seconds = joinTimer(fields.profileByte(profile, 3), fields.profileByte(profile, 4));
    return {std::to_string(seconds / 60), std::to_string(seconds % 60)};
}

std::pair<int, int> txIndexesOf(const ImageFields& fields, int profile, bool baud300)
{
    const std::uint8_t byte6 = fields.profileByte(profile, 6);
    return {txIndex(static_cast<std::uint8_t>(byte6 >> 4), baud300), txIndex(byte6 & 0x0F, baud300)};
}

void fillTelemetryWindow(forms::Windows& windows, const ImageFields& fields)
{
    forms::TelemetryForm& form = windows.telemetry;
    fillStation(form.station, fields);
    fillTermination(form.TelTxOn, form.TelUserTrigChar, fields.profileByte(1, 5));
    fillTxLists(windows, form.station, fields);
}

void fillBeaconWindow(forms::Windows& windows, const ImageFields& fields)
{
    forms::BeaconForm& form = windows.beacon;
    fillStation(form.station, fields);
    // Trimmed before the cut: trailing spaces survive unless the text filled all 76 bytes.
    form.BcnMsgText.setText(untilNul(forms::trimSpaces(fields.beaconText)));
    fillTxLists(windows, form.station, fields);
}

void fillAlarmWindow(forms::Windows& windows, const ImageFields& fields)
{
    forms::AlarmForm& form = windows.alarm;
    fillStation(form.station, fields);
    fillTxLists(windows, form.station, fields);
    for (std::size_t input = 0; input < 4; ++input)
        form.AlmCondition[input].setListIndex((fields.normalStateByte & (0x80u >> input)) != 0 ? 1 : 0);
    // Half seconds: always written with "." so that the text reads back as the same number.
    form.AlmArmDelay.setText(forms::formatNumber(fields.armDelayByte / 2.0));
    form.AlmTxCntrLimit.setText(std::to_string(fields.txCountByte));
    for (std::size_t i = 0; i < 4; ++i)
        form.AlarmMsgText[i].setText(untilNul(fields.alarmMessage[i]));
}

void fillMode(forms::Mode mode, forms::Windows& windows, const ImageFields& fields)
{
    switch (mode) {
    case forms::Mode::Telemetry:
        fillTelemetryWindow(windows, fields);
        return;
    case forms::Mode::Beacon:
        fillBeaconWindow(windows, fields);
        return;
    case forms::Mode::Nmea:
        fillNmeaWindow(windows, fields);
        return;
    case forms::Mode::Tracking:
        fillTrackingWindow(windows, fields);
        return;
    case forms::Mode::Alarm:
        fillAlarmWindow(windows, fields);
        return;
    }
    assert(false);
}

} // namespace qm::image
