// The steps every compile shares, the refusal box and the join of the frame.
#include "image/CompileShared.h"

#include "forms/Numbers.h"
#include "forms/PickLists.h"
#include "forms/Text.h"
#include "image/Encoding.h"
#include "image/HeaderBytes.h"

#include <cassert>

namespace qm::image
{

namespace
{

constexpr std::size_t kCallsignWidth = 6;
constexpr int kMaxTimerSeconds = 4095;
constexpr int kPositionLimit = 1000000;
constexpr std::uint8_t kNoToCallSsid = 0x30;

const char* const kCallsignTooLong = "Callsigns can contain a maximum of 6 characters (Not including the SSID).";
const char* const kCallsignNotPrintable = "Callsigns can contain only printable ASCII characters.";
const char* const kSelectFromList = "Please select an entry from the list.";

int inputBaudCodeOf(const forms::Menus& menus)
{
    // Tested in menu order, so the last checked entry wins; none checked leaves 1200.
    int code = 0;
    const auto items = menus.inputBaudItems();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i]->checked())
            code = static_cast<int>(i);
    return code;
}

std::uint8_t modeByteFor(const forms::Windows& windows, forms::Mode mode)
{
    const forms::Menus& menus = windows.main.menus;
    ModeByte bits;
    bits.modeCode = forms::codeOfMode(mode);
    if (mode != forms::Mode::Beacon)
        bits.inputBaudCode = inputBaudCodeOf(menus);
    // 1200 baud wins when both output entries are checked.
    bits.output300 = menus.out300.checked() && !menus.out1200.checked();
    bits.delta = (mode == forms::Mode::Nmea && windows.nmea.NMEADeltaEnable.isSet()) ||
                 (mode == forms::Mode::Tracking && windows.tracking.TrkDeltaEnable.isSet());
    return encodeModeByte(bits);
}

std::uint8_t optionByteFor(const forms::MainWindowControls& main, forms::Mode mode)
{
    // Outside NMEA and Tracking the mode lock is always on.
    const bool modeLockFromBox = mode == forms::Mode::Nmea || mode == forms::Mode::Tracking;
    return encodeOptionByte({main.LEDDisable.isSet(), mode == forms::Mode::Tracking && main.MicEncode.isSet(),
                             !modeLockFromBox || main.ModeLock.isSet()});
}

} // namespace

forms::MessageBox refusalBox(const std::string& focus, const std::string& label, std::optional<int> profile,
                             const std::string& reason)
{
    forms::MessageBox box;
    box.title = "Invalid Setting";
    box.text = "The value in '" + label + "'" + (profile ? " of Profile #" + std::to_string(*profile) : "") +
               " cannot be stored in the VQ-3's configuration.\r\n\r\n" + reason;
    box.icon = forms::Icon::Warning;
    box.buttons = forms::Buttons::Ok;
    box.focus = focus;
    box.profile = profile;
    return box;
}

std::string wholeNumberReason(int low, int high)
{
    return "It must be a whole number from " + std::to_string(low) + " to " + std::to_string(high) + ".";
}

std::string lengthReason(std::size_t width)
{
    return "It can contain at most " +
           (width == 1 ? std::string("one character") : std::to_string(width) + " characters") + ".";
}

std::optional<int> storedPosition(const std::string& text)
{
    return forms::wholeNumberIn(text, -kPositionLimit, kPositionLimit);
}

CompileDraft::CompileDraft(forms::Windows& windows, forms::Mode mode, const ImageFields& fields)
    : m_windows(windows), m_fields(fields)
{
    m_fields.profile = {};
    m_fields.modeByte = modeByteFor(windows, mode);
    m_fields.optionByte = optionByteFor(windows.main, mode);
    m_fields.autoModeByte = encodeAutoModeByte(mode == forms::Mode::Tracking && windows.main.AutoMode.isSet());
    m_fields.profileIndexByte = 0x00;
}

bool CompileDraft::baud1200() const
{
    return m_windows.main.menus.out1200.checked();
}

bool CompileDraft::refuse(const std::string& focus, const std::string& label, std::optional<int> profile,
                          const std::string& reason)
{
    if (!m_refusal)
        m_refusal = refusalBox(focus, label, profile, reason);
    return false;
}

bool CompileDraft::printableCallsign(const std::string& text, const std::string& focus, const std::string& label)
{
    if (!forms::isPrintableAscii(text))
        return refuse(focus, label, std::nullopt, kCallsignNotPrintable);
    return true;
}

bool CompileDraft::stationCallsign(const forms::TextField& myCall)
{
    if (!printableCallsign(myCall.text(), myCall.name(), "My Call"))
        return false;
    const std::string call = forms::trimUpper(myCall.text());
    if (call.size() > kCallsignWidth)
        return refuse(myCall.name(), "My Call", std::nullopt, kCallsignTooLong);
    m_fields.stationCallsign = padCallsign(call);
    return true;
}

bool CompileDraft::stationSsid(int profile, const std::string& text, const std::string& focus, std::optional<int> shown)
{
    const auto ssid = forms::wholeNumberIn(text, 0, 15);
    if (!ssid)
        return refuse(focus, shown ? "SSID" : "My SSID", shown, wholeNumberReason(0, 15));
    m_fields.profileByte(profile, 3) |= static_cast<std::uint8_t>((*ssid << 4) & 0xF0);
    return true;
}

bool CompileDraft::toCall(const forms::PickList& toCall)
{
    const std::string text = toCall.text();
    if (!printableCallsign(text, toCall.name(), "To Call"))
        return false;
    const CallsignParts parts = splitCallsign(text);
    if (parts.callsign.size() > kCallsignWidth)
        return refuse(toCall.name(), "To Call", std::nullopt, kCallsignTooLong);
    std::uint8_t ssidByte = kNoToCallSsid;
    if (parts.ssid) {
        const auto ssid = forms::wholeNumberIn(*parts.ssid, 0, 255);
        if (!ssid)
            return refuse(toCall.name(), "To Call", std::nullopt, wholeNumberReason(0, 255));
        ssidByte = static_cast<std::uint8_t>(*ssid);
    }
    m_fields.toCall = padCallsign(parts.callsign) + static_cast<char>(ssidByte);
    return true;
}

bool CompileDraft::specialPaths(const forms::StationControls& station)
{
    for (int n = 1; n <= 4; ++n) {
        const forms::TextField& field = station.SpecPath[static_cast<std::size_t>(n - 1)];
        const std::string label = forms::specialPathLabel(n);
        if (!printableCallsign(field.text(), field.name(), label))
            return false;
        const CallsignParts parts = splitCallsign(field.text());
        if (parts.callsign.size() > kCallsignWidth)
            return refuse(field.name(), label, std::nullopt, kCallsignTooLong);
        std::optional<int> ssid;
        if (parts.ssid) {
            ssid = forms::wholeNumberIn(*parts.ssid, 0, 15);
            if (!ssid)
                return refuse(field.name(), label, std::nullopt, wholeNumberReason(0, 15));
        }
        m_fields.specialPath[static_cast<std::size_t>(n - 1)] = encodeAddress(parts.callsign, ssid);
    }
    return true;
}

void CompileDraft::pathCodes(int profile, const std::array<int, 4>& indexes)
{
    m_fields.profileByte(profile, 1) |= static_cast<std::uint8_t>(pathCode(indexes[0]) | (pathCode(indexes[1]) << 4));
    m_fields.profileByte(profile, 2) |= static_cast<std::uint8_t>(pathCode(indexes[2]) | (pathCode(indexes[3]) << 4));
}

bool CompileDraft::timerBytes(int profile, double minuteValue, double secondValue,
                              const forms::StationControls& station, std::optional<int> shown)
{
    const auto total = forms::wholeNumberIn(minuteValue * 60 + secondValue, 0, kMaxTimerSeconds);
    if (!total) {
        // When the minutes alone fit, it is the seconds that carry the timer out of range.
        const bool minutesFit = forms::wholeNumberIn(minuteValue * 60, 0, kMaxTimerSeconds).has_value();
        const forms::TextField& focus = minutesFit ? station.TmrSec : station.TmrMin;
        return refuse(focus.name(), "Transmit Timer", shown, wholeNumberReason(0, kMaxTimerSeconds));
    }
    const auto [high, low] = splitTimer(*total);
    m_fields.profileByte(profile, 3) |= high;
    m_fields.profileByte(profile, 4) = low;
    return true;
}

bool CompileDraft::timer(int profile, std::string& minutes, std::string& seconds, const forms::StationControls& station,
                         std::optional<int> shown)
{
    const double minuteValue = forms::numberValue(minutes);
    const double secondValue = forms::numberValue(seconds);
    if (!timerBytes(profile, minuteValue, secondValue, station, shown))
        return false;
    if (minuteValue == 0.0)
        m_zeroTexts.push_back(&minutes);
    if (secondValue == 0.0)
        m_zeroTexts.push_back(&seconds);
    return true;
}

bool CompileDraft::timer(forms::StationControls& station)
{
    const double minuteValue = forms::numberValue(station.TmrMin.text());
    const double secondValue = forms::numberValue(station.TmrSec.text());
    if (!timerBytes(1, minuteValue, secondValue, station, std::nullopt))
        return false;
    if (minuteValue == 0.0)
        m_zeroFields.push_back(&station.TmrMin);
    if (secondValue == 0.0)
        m_zeroFields.push_back(&station.TmrSec);
    return true;
}

bool CompileDraft::txCodes(int profile, int delayIndex, int tailIndex, const forms::StationControls& station,
                           std::optional<int> shown)
{
    const bool baud300 = !baud1200();
    const auto delay = txCode(delayIndex, baud300);
    if (!delay)
        return refuse(station.TxDelay.name(), "Transmit Delay", shown, kSelectFromList);
    const auto tail = txCode(tailIndex, baud300);
    if (!tail)
        return refuse(station.TxTail.name(), "Tail Delay", shown, kSelectFromList);
    m_fields.profileByte(profile, 6) = static_cast<std::uint8_t>(((*delay << 4) & 0xF0) | *tail);
    return true;
}

bool CompileDraft::fixedText(const forms::TextField& field, const std::string& label, std::size_t width,
                             std::string& bytes)
{
    if (field.text().size() > width)
        return refuse(field.name(), label, std::nullopt, lengthReason(width));
    bytes = padNul(field.text(), width);
    return true;
}

bool CompileDraft::singleByte(const forms::TextField& field, const std::string& label, std::uint8_t& byte)
{
    std::string bytes;
    if (!fixedText(field, label, 1, bytes))
        return false;
    byte = static_cast<std::uint8_t>(bytes.front());
    return true;
}

bool CompileDraft::terminationCharacter(const forms::OptionGroup& choice, const forms::TextField& userValue,
                                        std::uint8_t& code)
{
    code = 0x00;
    if (choice.value(forms::kCarriageReturn))
        code = 0x0D;
    if (choice.value(forms::kLineFeed))
        code = 0x0A;
    if (choice.value(forms::kUserDefined)) {
        const auto value = forms::wholeNumberIn(userValue.text(), 0, 255);
        if (!value)
            return refuse(userValue.name(), "Termination Character", std::nullopt, wholeNumberReason(0, 255));
        code = static_cast<std::uint8_t>(*value);
    }
    return true;
}

CompileResult CompileDraft::refused() const
{
    assert(m_refusal);
    return {std::string(), m_refusal};
}

CompileResult CompileDraft::finish(ImageFields& target, std::string stream)
{
    assert(!m_refusal);
    assert(stream.size() == kDownloadSize);
    for (forms::TextField* field : m_zeroFields)
        field->setText("0");
    for (std::string* text : m_zeroTexts)
        *text = "0";
    target = m_fields;
    return {std::move(stream), std::nullopt};
}

std::string frameStart(const ImageFields& fields)
{
    std::string frame = "D";
    for (std::uint8_t byte : {fields.modeByte, fields.optionByte, fields.autoModeByte, fields.profileIndexByte})
        frame.push_back(static_cast<char>(byte));
    frame += fields.stationCallsign + fields.toCall;
    for (const std::string& path : fields.specialPath)
        frame += path;
    return frame;
}

std::string profileBytes(const ImageFields& fields, int profile)
{
    std::string bytes;
    for (int b = 1; b <= 6; ++b)
        bytes.push_back(static_cast<char>(fields.profileByte(profile, b)));
    return bytes;
}

} // namespace qm::image
