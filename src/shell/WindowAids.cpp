// What the mode windows show beside the fields to help an APRS user.
#include "shell/WindowAids.h"

#include "shell/AprsSymbols.h"
#include "shell/PacketPreview.h"

namespace qm::shell
{

namespace
{

const std::string kSymbolPrompt = "Enter the Symbol character of this profile.";
const std::string kSeparatorPrompt = "Enter the Separator (Normally '/' for APRS).";

/// The table an empty Separator leaves the symbol in: the unit then sends none, and APRS reads the primary one.
char tableOf(const std::string& separator)
{
    return separator.empty() ? '/' : separator.front();
}

/// A CR LF line break turned into the single line end a window's text shows.
std::string oneLine(std::string text)
{
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.replace(at, 2, " ");
    return text;
}

} // namespace

std::vector<std::string> commonPaths()
{
    return {"WIDE1-1", "WIDE2-1", "WIDE2-2"};
}

std::string symbolCaption(const std::string& separator, const std::string& symbol)
{
    if (symbol.empty())
        return {};
    const char table = tableOf(separator);
    const auto tableName = symbolTableName(table);
    if (!tableName)
        return "(the Separator chooses no symbol table)";
    if (symbol.size() > 1)
        return "(one character only)";
    const auto name = symbolName(table, symbol.front());
    if (!name)
        return "(no name in the " + *tableName + ")";
    return table == '/' ? *name : *name + " (" + *tableName + ")";
}

std::string symbolToolTip(const std::string& separator, const std::string& symbol)
{
    const std::string caption = symbolCaption(separator, symbol);
    return caption.empty() ? kSymbolPrompt : kSymbolPrompt + "\nSymbol " + symbol + ": " + caption;
}

std::string separatorToolTip(const std::string& separator)
{
    std::string tip = kSeparatorPrompt +
                      "\nThe Separator chooses the symbol table: '/' the primary table, '\\' the alternate table, a "
                      "digit or capital letter the alternate table with that overlay.";
    if (separator.empty())
        return tip;
    const auto table = symbolTableName(separator.front());
    return tip + "\n'" + separator + "' chooses " + (table ? "the " + *table : std::string("no symbol table")) + ".";
}

WindowPreview windowPreview(const forms::Windows& windows, forms::Mode mode)
{
    const PacketPreview preview = previewConfiguration(windows, mode);
    WindowPreview shown;
    if (preview.refusal) {
        shown.header = "Sends no packet until this is put right: " + oneLine(preview.refusal->text);
        return shown;
    }
    int profile = 1;
    if (mode == forms::Mode::Nmea)
        profile = windows.nmea.NMEAProfile.selectedIndex() + 1;
    else if (mode == forms::Mode::Tracking)
        profile = windows.tracking.TrkProfile.selectedIndex() + 1;
    const bool profiles = preview.packets.size() > 1;
    for (const SentPacket& packet : preview.packets) {
        if (packet.profile == profile)
            shown.header =
                (profiles ? "Profile " + std::to_string(profile) + " sends " : std::string("Sends ")) + packet.header;
        if (profiles)
            shown.allHeaders += (shown.allHeaders.empty() ? "" : "\n") +
                                ("Profile " + std::to_string(packet.profile) + ": ") + packet.header;
    }
    for (const std::string& line : preview.advice)
        shown.advice += (shown.advice.empty() ? "Advice: " : "\nAdvice: ") + line;
    return shown;
}

} // namespace qm::shell
