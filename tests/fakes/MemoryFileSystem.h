// A files port double: files in memory, and failures injected per path.
#pragma once

#include "storage/FileSystem.h"

#include <map>
#include <string>

namespace qm::fakes
{

class MemoryFileSystem : public storage::FileSystem
{
public:
    std::map<std::string, std::string> files;
    /// Paths whose read fails with this error.
    std::map<std::string, storage::FileError> readErrors;
    /// Paths whose write fails with this error (the old contents stay).
    std::map<std::string, storage::FileError> writeErrors;

    std::variant<std::string, storage::FileError> readFile(const std::string& path) override
    {
        if (auto error = readErrors.find(path); error != readErrors.end())
            return error->second;
        if (auto file = files.find(path); file != files.end())
            return file->second;
        return storage::FileError{storage::error::kFileNotFound, "No such file or directory"};
    }

    std::optional<storage::FileError> writeFileAtomically(const std::string& path, const std::string& bytes) override
    {
        if (auto error = writeErrors.find(path); error != writeErrors.end())
            return error->second;
        files[path] = bytes;
        return std::nullopt;
    }

    bool fileExists(const std::string& path) override { return files.count(path) != 0; }
};

} // namespace qm::fakes
