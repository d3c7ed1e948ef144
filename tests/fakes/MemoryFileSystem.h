// A files port double: files in memory, and failures injected per path.
#pragma once

#include "storage/FileSystem.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace qm::fakes
{

class MemoryFileSystem : public storage::FileSystem
{
public:
    std::map<std::string, std::string> files;
    /// Paths whose read (or, for a folder, listing) fails with this error.
    std::map<std::string, storage::FileError> readErrors;
    /// Paths whose write or removal fails with this error (the old contents stay).
    std::map<std::string, storage::FileError> writeErrors;
    /// Folders that exist; a file's folder need not be listed.
    std::set<std::string> folders;
    /// Folders in which no new file can be created (every other folder can take one).
    std::set<std::string> readOnlyFolders;
    /// Files this process may read but not write.
    std::set<std::string> readOnlyFiles;
    /// Folders whose creation fails with this error.
    std::map<std::string, storage::FileError> folderErrors;
    /// Files last written for their owner only, and folders made private.
    std::set<std::string> privateFiles;
    std::set<std::string> privateFolders;

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
        if (readOnlyFiles.count(path) != 0)
            return storage::FileError{storage::error::kPathFileAccess, "Permission denied"};
        files[path] = bytes;
        privateFiles.erase(path);
        return std::nullopt;
    }

    std::optional<storage::FileError> writePrivateFileAtomically(const std::string& path,
                                                                 const std::string& bytes) override
    {
        auto failure = writeFileAtomically(path, bytes);
        if (!failure)
            privateFiles.insert(path);
        return failure;
    }

    bool fileExists(const std::string& path) override { return files.count(path) != 0; }

    bool fileWritable(const std::string& path) override
    {
        const auto slash = path.find_last_of('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
        return files.count(path) != 0 && readOnlyFiles.count(path) == 0 && folderWritable(folder);
    }

    bool folderWritable(const std::string& folder) override { return readOnlyFolders.count(folder) == 0; }

    std::optional<storage::FileError> makeFolders(const std::string& folder) override
    {
        if (auto error = folderErrors.find(folder); error != folderErrors.end())
            return error->second;
        folders.insert(folder);
        return std::nullopt;
    }

    std::optional<storage::FileError> makePrivateFolder(const std::string& folder) override
    {
        auto failure = makeFolders(folder);
        if (!failure)
            privateFolders.insert(folder);
        return failure;
    }

    std::variant<std::vector<std::string>, storage::FileError> listFolder(const std::string& folder) override
    {
        if (auto error = readErrors.find(folder); error != readErrors.end())
            return error->second;
        const std::string prefix = folder + "/";
        std::vector<std::string> names;
        for (const auto& [path, bytes] : files)
            if (path.rfind(prefix, 0) == 0 && path.find('/', prefix.size()) == std::string::npos)
                names.push_back(path.substr(prefix.size()));
        if (names.empty() && folders.count(folder) == 0)
            return storage::FileError{storage::error::kPathNotFound, "No such file or directory"};
        return names;
    }

    std::optional<storage::FileError> removeFile(const std::string& path) override
    {
        if (auto error = writeErrors.find(path); error != writeErrors.end())
            return error->second;
        privateFiles.erase(path);
        if (files.erase(path) == 0)
            return storage::FileError{storage::error::kFileNotFound, "No such file or directory"};
        return std::nullopt;
    }
};

} // namespace qm::fakes
