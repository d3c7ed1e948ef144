// The desktop program's own settings file.
#include "shell/ProgramOptions.h"

#include "storage/ConfigFile.h"

#include <algorithm>
#include <utility>

namespace qm::shell
{

namespace
{

constexpr std::string_view kVerifyAfterWrite = "VerifyAfterWrite=";
constexpr std::string_view kRecentFile = "RecentFile=";

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string{} : path.substr(0, slash);
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
    if (m_path.empty())
        return storage::FileError{storage::error::kPathNotFound,
                                  "There is no configuration folder: neither XDG_CONFIG_HOME nor HOME is set."};
    const std::string line = std::string(kVerifyAfterWrite) + (on ? "yes" : "no");
    bool replaced = false;
    for (auto& existing : m_lines)
        if (existing.starts_with(kVerifyAfterWrite)) {
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
    if (m_path.empty())
        return storage::FileError{storage::error::kPathNotFound,
                                  "There is no configuration folder: neither XDG_CONFIG_HOME nor HOME is set."};
    return save();
}

std::optional<storage::FileError> ProgramOptions::save()
{
    if (auto error = m_files.makeFolders(folderOf(m_path)))
        return error;
    return m_files.writeFileAtomically(m_path, storage::joinLines(m_lines));
}

} // namespace qm::shell
