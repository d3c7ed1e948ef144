// What vq3 prints: message boxes as JSON or as "title: text", hex text, Latin-1 to UTF-8 for JSON.
#include "cli/Output.h"

#include <algorithm>

namespace qm::cli
{

std::string latin1ToUtf8(std::string_view text)
{
    std::string utf8;
    utf8.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8.push_back(c);
        } else {
            utf8.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return utf8;
}

forms::MessageBox errorBox(const std::string& text)
{
    return forms::messageBox("Error", text, forms::Icon::Warning);
}

nlohmann::json boxToJson(const forms::MessageBox& box)
{
    static constexpr const char* kIcons[] = {"none", "information", "warning", "critical"};
    nlohmann::json json;
    json["title"] = latin1ToUtf8(box.title);
    json["text"] = latin1ToUtf8(box.text);
    json["icon"] = kIcons[static_cast<int>(box.icon)];
    json["focus"] = box.focus.empty() ? nlohmann::json(nullptr) : nlohmann::json(box.focus);
    json["profile"] = box.profile ? nlohmann::json(*box.profile) : nlohmann::json(nullptr);
    return json;
}

void printBox(std::ostream& out, const forms::MessageBox& box)
{
    // A terminal shows the box's CR LF line breaks as plain line ends.
    std::string text;
    for (std::size_t i = 0; i < box.text.size(); ++i) {
        if (box.text[i] == '\r') {
            text.push_back('\n');
            if (i + 1 < box.text.size() && box.text[i + 1] == '\n')
                ++i;
        } else {
            text.push_back(box.text[i]);
        }
    }
    out << box.title << ": " << text << '\n';
}

void printTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows)
{
    if (rows.empty())
        return;
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows)
        for (std::size_t column = 0; column < row.size() && column < widths.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t column = 0; column < row.size() && column < widths.size(); ++column)
            line += row[column] + std::string(widths[column] + 2 - row[column].size(), ' ');
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out << latin1ToUtf8(line) << '\n';
    }
}

std::string toHex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 3);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (!hex.empty())
            hex.push_back(' ');
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 0x0F]);
    }
    return hex;
}

std::optional<std::string> fromHex(std::string_view text)
{
    std::string bytes;
    int pending = -1;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        else
            return std::nullopt;
        if (pending < 0) {
            pending = digit;
        } else {
            bytes.push_back(static_cast<char>(pending * 16 + digit));
            pending = -1;
        }
    }
    if (pending >= 0)
        return std::nullopt;
    return bytes;
}

} // namespace qm::cli
