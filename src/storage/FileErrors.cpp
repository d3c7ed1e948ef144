// The message boxes of failed configuration-file opens, loads and saves, one per file-error number.
#include "storage/ConfigFile.h"

#include <string>

namespace qm::storage
{

namespace
{

struct ErrorText
{
    int number;
    const char* title;
    const char* text;
};

constexpr const char* kBadFileNameText =
    "The filename that you have selected is invalid. Please select a different filename.";
constexpr const char* kDeviceUnavailableText =
    "The drive you are trying to use is unavailble or doesn't exist. If the drive is on a network, then check "
    "your network connection. Otherwise, please check the drive and try again.";
constexpr const char* kDiskNotReadyText = "The disk you are using is not ready.  Please make sure that there is a "
                                          "disk in the drive and that the drive door is closed.";
constexpr const char* kRenameAcrossDrivesText = "Unable to rename file using a different drive. Please select a "
                                                "filename using the current drive and then try again.";
constexpr const char* kPathNotFoundText =
    "The path you have specified is invalid. Please check the path and try again.";
constexpr const char* kWriteFailedText =
    "An error occured while trying to write to the disk. Please check the disk and try again.";

constexpr ErrorText kReadErrors[] = {
    {error::kBadFileName, "Error# 52: Bad File Name Or Number", kBadFileNameText},
    {error::kFileNotFound, "Error# 53: File Not Found",
     "The file you have specified can not be found. Please check the name and try again."},
    {error::kDeviceIo, "Error# 57: Device I/O Error",
     "An error occured while trying to read from the disk. Please check the disk and try again."},
    {error::kInputPastEnd, "Error# 62: Input Past End Of File",
     "An error occured while opening the configuration file."},
    {error::kDeviceUnavailable, "Error# 68: Device Unavailable", kDeviceUnavailableText},
    {error::kPermissionDenied, "Error# 70: Permission Denied",
     "The filename that you specified is in use by another program. Please check the file and then try again."},
    {error::kDiskNotReady, "Error# 71: Disk Not Ready", kDiskNotReadyText},
    {error::kRenameAcrossDrives, "Error# 74: Can't Rename With Different Drive", kRenameAcrossDrivesText},
    {error::kPathFileAccess, "Error# 75: Path/File Access Error",
     "The path or filename that you have specified is invalid. Please check the path and file and try again."},
    {error::kPathNotFound, "Error# 76: Path Not Found", kPathNotFoundText},
};

constexpr ErrorText kWriteErrors[] = {
    {error::kBadFileName, "Error# 52: Bad File Name Or Number", kBadFileNameText},
    {error::kFileAlreadyOpen, "Error# 55: File already open", kWriteFailedText},
    {error::kDeviceIo, "Error# 57: Device I/O Error", kWriteFailedText},
    {error::kFileAlreadyExists, "Error# 58: File Already Exists",
     "The file that you specified already exists. Please select a different filename and try again."},
    {error::kDiskFull, "Error# 61: Disk Full",
     "The disk that you are trying to use is full.  Please free up some disk space or select another disk."},
    {error::kDeviceUnavailable, "Error# 68: Device Unavailable", kDeviceUnavailableText},
    {error::kPermissionDenied, "Error# 70: Permission Denied",
     "The disk you are using is write protected or the filename that you specified is in use by another "
     "program.  Please check the disk or file and then try again."},
    {error::kDiskNotReady, "Error# 71: Disk Not Ready", kDiskNotReadyText},
    {error::kRenameAcrossDrives, "Error# 74: Can't Rename With Different Drive", kRenameAcrossDrivesText},
    {error::kPathFileAccess, "Error# 75: Path/File Access Error",
     "The path you have specified is invalid, or the file already exists and is read only.  Please check the "
     "path and file and try again."},
    {error::kPathNotFound, "Error# 76: Path Not Found", kPathNotFoundText},
};

template <std::size_t N>
forms::MessageBox errorBox(const ErrorText (&table)[N], const FileError& error)
{
    forms::MessageBox box;
    box.icon = forms::Icon::Warning;
    box.buttons = forms::Buttons::Ok;
    for (const ErrorText& row : table) {
        if (row.number == error.number) {
            box.title = row.title;
            box.text = row.text;
            return box;
        }
    }
    box.title = "Unexpected Error!";
    box.text = "Unexpected error # " + std::to_string(error.number) +
               " occurred. If the problem persists, please contact Technical Support for assistance.";
    return box;
}

} // namespace

forms::MessageBox readErrorBox(const FileError& error)
{
    return errorBox(kReadErrors, error);
}

forms::MessageBox loadErrorBox(const FileError& error)
{
    forms::MessageBox box = readErrorBox(error);
    if (error.number == error::kTypeMismatch)
        box.title = "Error# 13: Type Mismatch";
    else if (error.number == error::kInvalidPropertyValue)
        box.title = "Error# 380: Invalid Property Value";
    // A file that does not load is no fault of the disk: the box says which line holds what, so it can be mended.
    box.text = "An error occured while opening the configuration file.";
    if (!error.reason.empty())
        box.text += "\r\n\r\n" + error.reason;
    return box;
}

forms::MessageBox writeErrorBox(const FileError& error)
{
    return errorBox(kWriteErrors, error);
}

} // namespace qm::storage
