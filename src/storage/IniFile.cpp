// The initialization file vq3.ini: where it lives, reading and writing its ten lines, and its error boxes.
#include "storage/IniFile.h"

#include "storage/ConfigFile.h"
#include "storage/Paths.h"

namespace qm::storage
{

namespace
{

constexpr const char* kIniName = "vq3.ini";

/// When a listed error is named by its title: on a load of the file, on a save of it, or on both.
enum class Listed
{
    OnLoad,
    OnSave,
    Always,
};

struct ErrorTitle
{
    int number;
    const char* title;
    Listed listed;
};

// A load cannot find the file already open; a save cannot read past its end.
constexpr ErrorTitle kErrorTitles[] = {
    {error::kBadFileName, "Error# 52: Bad File Name Or Number", Listed::Always},
    {error::kFileAlreadyOpen, "Error# 55: File already open", Listed::OnSave},
    {error::kDeviceIo, "Error# 57: Device I/O Error", Listed::Always},
    {error::kFileAlreadyExists, "Error# 58: File Already Exists", Listed::Always},
    {error::kDiskFull, "Error# 61: Disk Full", Listed::Always},
    {error::kInputPastEnd, "Error# 62: Input Past End Of File", Listed::OnLoad},
    {error::kDeviceUnavailable, "Error# 68: Device Unavailable", Listed::Always},
    {error::kPermissionDenied, "Error# 70: Permission Denied", Listed::Always},
    {error::kDiskNotReady, "Error# 71: Disk Not Ready", Listed::Always},
    {error::kRenameAcrossDrives, "Error# 74: Can't Rename With Different Drive", Listed::Always},
    {error::kPathFileAccess, "Error# 75: Path/File Access Error", Listed::Always},
    {error::kPathNotFound, "Error# 76: Path Not Found", Listed::Always},
};

/// The box of a code listed for this action (its title and the shared text) or of an unexpected one.
forms::MessageBox errorBox(Listed action, const FileError& error)
{
    const std::string doing = action == Listed::OnLoad ? "loading" : "saving";
    for (const ErrorTitle& row : kErrorTitles)
        if (row.number == error.number && (row.listed == Listed::Always || row.listed == action))
            return forms::messageBox(row.title, "An error occured while " + doing + " the initialization file.",
                                     forms::Icon::Warning);
    return forms::messageBox("Unexpected Error!",
                             "Unexpected error # " + std::to_string(error.number) + " occurred while " + doing +
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
    return errorBox(Listed::OnLoad, error);
}

forms::MessageBox iniSaveErrorBox(const FileError& error)
{
    return errorBox(Listed::OnSave, error);
}

} // namespace qm::storage
