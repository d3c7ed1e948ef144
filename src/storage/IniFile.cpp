// The initialization file vq3.ini: where it lives, reading and writing its ten lines, and its error boxes.
#include "storage/IniFile.h"

#include "storage/ConfigFile.h"
#include "storage/Paths.h"

namespace qm::storage
{

namespace
{

constexpr const char* kIniName = "vq3.ini";

struct ErrorTitle
{
    int number;
    const char* title;
};

constexpr ErrorTitle kLoadTitles[] = {
    {error::kBadFileName, "Error# 52: Bad File Name Or Number"},
    {error::kDeviceIo, "Error# 57: Device I/O Error"},
    {error::kFileAlreadyExists, "Error# 58: File Already Exists"},
    {error::kDiskFull, "Error# 61: Disk Full"},
    {error::kInputPastEnd, "Error# 62: Input Past End Of File"},
    {error::kDeviceUnavailable, "Error# 68: Device Unavailable"},
    {error::kPermissionDenied, "Error# 70: Permission Denied"},
    {error::kDiskNotReady, "Error# 71: Disk Not Ready"},
    {error::kRenameAcrossDrives, "Error# 74: Can't Rename With Different Drive"},
    {error::kPathFileAccess, "Error# 75: Path/File Access Error"},
    {error::kPathNotFound, "Error# 76: Path Not Found"},
};

constexpr ErrorTitle kSaveTitles[] = {
    {error::kBadFileName, "Error# 52: Bad File Name Or Number"},
    {error::kFileAlreadyOpen, "Error# 55: File already open"},
    {error::kDeviceIo, "Error# 57: Device I/O Error"},
    {error::kFileAlreadyExists, "Error# 58: File Already Exists"},
    {error::kDiskFull, "Error# 61: Disk Full"},
    {error::kDeviceUnavailable, "Error# 68: Device Unavailable"},
    {error::kPermissionDenied, "Error# 70: Permission Denied"},
    {error::kDiskNotReady, "Error# 71: Disk Not Ready"},
    {error::kRenameAcrossDrives, "Error# 74: Can't Rename With Different Drive"},
    {error::kPathFileAccess, "Error# 75: Path/File Access Error"},
    {error::kPathNotFound, "Error# 76: Path Not Found"},
};

/// The box of a listed code (its title and the shared text) or of an unexpected one.
template <std::size_t N>
forms::MessageBox errorBox(const ErrorTitle (&titles)[N], const FileError& error, const std::string& action)
{
    for (const ErrorTitle& row : titles)
        if (row.number == error.number)
            return forms::messageBox(row.title, "An error occured while " + action + " the initialization file.",
                                     forms::Icon::Warning);
    return forms::messageBox("Unexpected Error!",
                             "Unexpected error # " + std::to_string(error.number) + " occurred while " + action +
                                 " the initialization file.",
                             forms::Icon::Warning);
}

std::string joinPath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

} // namespace

std::string iniPath(FileSystem& files, const ProgramFolders& folders)
{
    // The settings are the user's own. A file beside the program is used only when it is already there and this
    // user may rewrite it; the program never makes one there, where a run by one user (root) would leave a file
    // that every other user can read but not write.
    std::string besideProgram = joinPath(folders.programFolder, kIniName);
    if (files.fileWritable(besideProgram))
        return besideProgram;
    // No folder of this user to keep settings in: the program goes on without a settings file.
    if (folders.configFolder.empty())
        return {};
    return joinPath(folders.configFolder, kIniName);
}

std::variant<IniLines, FileError> readIniFile(FileSystem& files, const std::string& path)
{
    auto contents = files.readFile(path);
    if (auto* failure = std::get_if<FileError>(&contents)) {
        // The configuration folder is made by the first write, so before that the file is simply not there.
        if (failure->number == error::kPathNotFound)
            failure->number = error::kFileNotFound;
        return *failure;
    }
    const std::vector<std::string> lines = splitLines(std::get<std::string>(contents));
    if (lines.size() < static_cast<std::size_t>(kIniLineCount))
        return FileError{error::kInputPastEnd, "The file has fewer than ten lines."};
    IniLines result;
    for (std::size_t i = 0; i < result.size(); ++i)
        result[i] = lines[i];
    return result;
}

std::optional<FileError> writeIniFile(FileSystem& files, const std::string& path, const IniLines& lines)
{
    // On a first run the configuration folder may not exist yet.
    if (auto failure = files.makeFolders(folderOf(path)))
        return failure;
    return files.writeFileAtomically(path, joinLines(std::vector<std::string>(lines.begin(), lines.end())));
}

forms::MessageBox iniLoadErrorBox(const FileError& error)
{
    if (error.number == error::kFileNotFound)
        return forms::messageBox("Error: INI File Not Found",
                                 "The initialization file could not be found.\r\n"
                                 "Continuing to load program using default settings.",
                                 forms::Icon::Warning);
    return errorBox(kLoadTitles, error, "loading");
}

forms::MessageBox iniSaveErrorBox(const FileError& error)
{
    return errorBox(kSaveTitles, error, "saving");
}

} // namespace qm::storage
