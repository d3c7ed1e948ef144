// The desktop program's own settings file.
#include "shell/ProgramOptions.h"

#include "storage/ConfigFile.h"

#include <utility>

namespace qm::shell
{

namespace
{

constexpr std::string_view kVerifyAfterWrite = "VerifyAfterWrite=";

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
    if (auto error = m_files.makeFolders(folderOf(m_path)))
        return error;
    return m_files.writeFileAtomically(m_path, storage::joinLines(m_lines));
}

} // namespace qm::shell
