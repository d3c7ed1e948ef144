// What a configuration makes the unit send.
#include "shell/PacketPreview.h"

#include "forms/ProfileEditing.h"
#include "image/Compile.h"
#include "image/Decode.h"
#include "image/ImageFields.h"
#include "image/PacketHeader.h"
#include "shell/AprsAdvice.h"

namespace qm::shell
{

namespace
{

constexpr int kTrackingMode = 3;
constexpr std::uint8_t kSymbolBits = 0x7F;

} // namespace

PacketPreview previewImage(const std::string& image)
{
    const image::ImageFields fields = image::decodeFields(image);
    const bool tracking = image::modeCode(fields.modeByte) == kTrackingMode;
    PacketPreview preview;
    for (const auto& header : image::packetHeaders(image)) {
        SentPacket packet{header.profile, image::monitorNotation(header), std::nullopt};
        if (tracking) {
            // Profile byte 5 carries Send Comments in its top bit.
            const auto table = static_cast<char>(fields.separatorByte);
            const auto code = static_cast<char>(fields.profileByte(header.profile, 5) & kSymbolBits);
            packet.symbol = AprsSymbol{table, code, symbolName(table, code).value_or("")};
        }
        preview.packets.push_back(std::move(packet));
    }
    preview.advice = aprsAdvice(image);
    return preview;
}

PacketPreview previewConfiguration(const forms::Windows& windows, forms::Mode mode)
{
    forms::Windows copy = windows;
    forms::storeShownNmeaProfile(copy);
    forms::storeShownTrackingProfile(copy);
    image::ImageFields fields;
    const image::CompileResult compiled = image::compileMode(mode, copy, fields);
    if (!compiled.ok()) {
        PacketPreview preview;
        preview.refusal = compiled.refusal;
        return preview;
    }
    return previewImage(compiled.downloadImage.substr(1));
}

std::string symbolText(const AprsSymbol& symbol)
{
    if (symbol.code == '\0')
        return "(none)";
    const std::string text{symbol.table, symbol.code};
    return text + " " + (symbol.name.empty() ? "(no name)" : symbol.name);
}

} // namespace qm::shell
