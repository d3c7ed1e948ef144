// The initialization file vq3.ini: ten CR LF lines of the user's defaults, read whole and replaced whole.
#pragma once

#include "forms/MessageBox.h"
#include "storage/FileSystem.h"

#include <array>
#include <string>
#include <variant>

namespace qm::storage
{

inline constexpr int kIniLineCount = 10;

/// The ten lines, index 0 is line 1.
using IniLines = std::array<std::string, kIniLineCount>;

/// Where the program looks for its files.
struct ProgramFolders
{
    /// The folder the program was started from.
    std::string programFolder;
    /// The user's configuration folder for the program ($XDG_CONFIG_HOME/quellmark or ~/.config/quellmark); empty
    /// when the user has no folder of their own to keep it in.
    std::string configFolder;
};

/// Returns the path of vq3.ini: in the user's configuration folder, unless the program's folder already holds one
/// that this user may rewrite (a portable install); "" when there is neither (no settings file is kept).
std::string iniPath(FileSystem& files, const ProgramFolders& folders);

/// Reads the ten lines; a file with fewer than ten lines is error 62.
std::variant<IniLines, FileError> readIniFile(FileSystem& files, const std::string& path);

/// Writes the ten lines as one step (creating the folder when it is missing); the old file stays intact on failure.
std::optional<FileError> writeIniFile(FileSystem& files, const std::string& path, const IniLines& lines);

/// Returns the message box of a failed load of the initialization file.
forms::MessageBox iniLoadErrorBox(const FileError& error);
/// Returns the message box of a failed save of the initialization file.
forms::MessageBox iniSaveErrorBox(const FileError& error);

} // namespace qm::storage
