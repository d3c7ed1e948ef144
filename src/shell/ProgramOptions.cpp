// The desktop program's own settings file.
#include "shell/ProgramOptions.h"

#include "storage/ConfigFile.h"
#include "storage/Paths.h"

#include <algorithm>
#include <utility>

namespace qm::shell
{

namespace
{

constexpr std::string_view kVerifyAfterWrite = "VerifyAfterWrite=";
constexpr std::string_view kRecentFile = "RecentFile=";
constexpr std::string_view kOtherDevice = "OtherDevice=";
constexpr std::string_view kWindow = "Window=";
/// A remembered window smaller than this is not taken (a damaged line).
constexpr int kSmallestWindow = 100;

std::optional<ProgramOptions::WindowPlace> parsePlace(const std::string& text)
{
    ProgramOptions::WindowPlace place;
    int* fields[] = {&place.x, &place.y, &place.width, &place.height};
    std::size_t at = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t end = i < 3 ? text.find(',', at) : text.size();
        if (end == std::string::npos)
            return std::nullopt;
        const std::string number = text.substr(at, end - at);
        if (number.empty() || number.size() > 6)
            return std::nullopt;
        std::size_t digits = number[0] == '-' ? 1 : 0;
        if (digits == number.size())
            return std::nullopt;
        for (std::size_t k = digits; k < number.size(); ++k)
            if (number[k] < '0' || number[k] > '9')
                return std::nullopt;
        *fields[i] = std::stoi(number);
        at = end + 1;
    }
    if (place.width < kSmallestWindow || place.height < kSmallestWindow)
        return std::nullopt;
    return place;
}

} // namespace

ProgramOptions::ProgramOptions(storage::FileSystem& files, std::string path) : m_files(files), m_path(std::move(path))
{}

void ProgramOptions::load()
{
    if (m_path.empty())
        return;
    auto contents = m_files.readFile(m_path);
    auto* bytes = std::get_if<std::string>(&contents);
    if (bytes == nullptr)
        return;
    m_lines = storage::splitLines(*bytes);
    for (const auto& line : m_lines) {
        if (line.starts_with(kRecentFile) && line.size() > kRecentFile.size() &&
            m_recentFiles.size() < kRecentFileCount &&
            std::find(m_recentFiles.begin(), m_recentFiles.end(), line.substr(kRecentFile.size())) ==
                m_recentFiles.end())
            m_recentFiles.push_back(line.substr(kRecentFile.size()));
        if (line.starts_with(kOtherDevice))
            m_otherDevice = line.substr(kOtherDevice.size());
        if (line.starts_with(kWindow))
            m_windowPlace = parsePlace(line.substr(kWindow.size()));
        if (!line.starts_with(kVerifyAfterWrite))
            continue;
        const std::string value = line.substr(kVerifyAfterWrite.size());
        if (value == "yes")
            m_verifyAfterWrite = true;
        else if (value == "no")
            m_verifyAfterWrite = false;
    }
}

std::optional<storage::FileError> ProgramOptions::setVerifyAfterWrite(bool on)
{
    m_verifyAfterWrite = on;
    return keep(kVerifyAfterWrite, on ? "yes" : "no");
}

std::optional<storage::FileError> ProgramOptions::setOtherDevice(const std::string& path)
{
    m_otherDevice = path;
    return keep(kOtherDevice, path);
}

std::optional<storage::FileError> ProgramOptions::setWindowPlace(const WindowPlace& place)
{
    m_windowPlace = place;
    return keep(kWindow, std::to_string(place.x) + "," + std::to_string(place.y) + "," + std::to_string(place.width) +
                             "," + std::to_string(place.height));
}

std::optional<storage::FileError> ProgramOptions::keep(std::string_view key, const std::string& value)
{
    const std::string line = std::string(key) + value;
    bool replaced = false;
    for (auto& existing : m_lines)
        if (existing.starts_with(key)) {
            existing = line;
            replaced = true;
        }
    if (!replaced)
        m_lines.push_back(line);
    return save();
}

std::optional<storage::FileError> ProgramOptions::addRecentFile(const std::string& path)
{
    if (path.empty() || path.find_first_of("\r\n") != std::string::npos)
        return std::nullopt;
    std::erase(m_recentFiles, path);
    m_recentFiles.insert(m_recentFiles.begin(), path);
    if (m_recentFiles.size() > kRecentFileCount)
        m_recentFiles.resize(kRecentFileCount);
    std::erase_if(m_lines, [](const std::string& line) { return line.starts_with(kRecentFile); });
    for (const auto& recent : m_recentFiles)
        m_lines.push_back(std::string(kRecentFile) + recent);
    return save();
}

std::optional<storage::FileError> ProgramOptions::save()
{
    // Without a folder of the user's own the options last for this run only (the start-up said so).
    if (m_path.empty())
        return std::nullopt;
    if (auto error = m_files.makeFolders(storage::folderOf(m_path)))
        return error;
    return m_files.writeFileAtomically(m_path, storage::joinLines(m_lines));
}

ProgramOptions::WindowPlace clampToScreen(ProgramOptions::WindowPlace place, const ProgramOptions::WindowPlace& screen)
{
    place.width = std::min(place.width, screen.width);
    place.height = std::min(place.height, screen.height);
    place.x = std::clamp(place.x, screen.x, screen.x + screen.width - place.width);
    place.y = std::clamp(place.y, screen.y, screen.y + screen.height - place.height);
    return place;
}

} // namespace qm::shell
