// Tests of the message boxes of failed configuration-file opens, loads and saves.
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>

#include <string>

namespace qm::storage
{
namespace
{

struct Row
{
    int number;
    std::string title;
    std::string text;
};

const std::string kUnavailable = std::string("The drive you are trying to use is unavailble or doesn't exist.") +
                                 " If the drive is on a network, then check your network connection." +
                                 " Otherwise, please check the drive and try again.";
const std::string kNotReady = std::string("The disk you are using is not ready.  Please make sure that there") +
                              " is a disk in the drive and that the drive door is closed.";
const std::string kRename = std::string("Unable to rename file using a different drive.") +
                            " Please select a filename using the current drive and then try again.";
const std::string kPathNotFound =
    std::string("The path you have specified is invalid.") + " Please check the path and try again.";
const std::string kBadName =
    std::string("The filename that you have selected is invalid.") + " Please select a different filename.";

std::string unexpected(int number)
{
    return "Unexpected error # " + std::to_string(number) + " occurred." +
           " If the problem persists, please contact Technical Support" + " for assistance.";
}

const Row kReadRows[] = {
    {52, "Error# 52: Bad File Name Or Number", kBadName},
    {53, "Error# 53: File Not Found",
     std::string("The file you have specified can not be found.") + " Please check the name and try again."},
    {57, "Error# 57: Device I/O Error",
     std::string("An error occured while trying to read from the disk.") + " " +
         "Please check the disk and try again."},
    {62, "Error# 62: Input Past End Of File", "An error occured while opening the configuration file."},
    {68, "Error# 68: Device Unavailable", kUnavailable},
    {70, "Error# 70: Permission Denied",
     std::string("The filename that you specified is in use by another program.") +
         " Please check the file and then try again."},
    {71, "Error# 71: Disk Not Ready", kNotReady},
    {74, "Error# 74: Can't Rename With Different Drive", kRename},
    {75, "Error# 75: Path/File Access Error",
     std::string("The path or filename that you have specified is invalid.") +
         " Please check the path and file and try again."},
    {76, "Error# 76: Path Not Found", kPathNotFound},
    {13, "Unexpected Error!", unexpected(13)},
    {380, "Unexpected Error!", unexpected(380)},
    {55, "Unexpected Error!", unexpected(55)},
    {61, "Unexpected Error!", unexpected(61)},
    {0, "Unexpected Error!", unexpected(0)},
};

const Row kWriteRows[] = {
    {52, "Error# 52: Bad File Name Or Number", kBadName},
    {55, "Error# 55: File already open",
     std::string("An error occured while trying to write to the disk.") + " " + "Please check the disk and try again."},
    {57, "Error# 57: Device I/O Error",
     std::string("An error occured while trying to write to the disk.") + " " + "Please check the disk and try again."},
    {58, "Error# 58: File Already Exists",
     std::string("The file that you specified already exists.") + " Please select a different filename and try again."},
    {61, "Error# 61: Disk Full",
     std::string("The disk that you are trying to use is full.  Please free up") +
         " some disk space or select another disk."},
    {68, "Error# 68: Device Unavailable", kUnavailable},
    {70, "Error# 70: Permission Denied",
     std::string("The disk you are using is write protected or the filename that you") +
         " specified is in use by another program.  Please check the disk or" + " file and then try again."},
    {71, "Error# 71: Disk Not Ready", kNotReady},
    {74, "Error# 74: Can't Rename With Different Drive", kRename},
    {75, "Error# 75: Path/File Access Error",
     std::string("The path you have specified is invalid, or the file already") +
         " exists and is read only.  Please check the path and file" + " and try again."},
    {76, "Error# 76: Path Not Found", kPathNotFound},
    {53, "Unexpected Error!", unexpected(53)},
    {62, "Unexpected Error!", unexpected(62)},
    {9999, "Unexpected Error!", unexpected(9999)},
};

void expectBox(const forms::MessageBox& box, const Row& row)
{
    EXPECT_EQ(box.title, row.title) << row.number;
    EXPECT_EQ(box.text, row.text) << row.number;
    EXPECT_EQ(box.icon, forms::Icon::Warning) << row.number;
    EXPECT_EQ(box.buttons, forms::Buttons::Ok) << row.number;
    EXPECT_EQ(box.focus, "") << row.number;
}

TEST(FileErrorsTest, ReadErrorBoxesMatchTheirTable)
{
    for (const auto& row : kReadRows)
        expectBox(readErrorBox(FileError{row.number, "reason"}), row);
}

TEST(FileErrorsTest, WriteErrorBoxesMatchTheirTable)
{
    for (const auto& row : kWriteRows)
        expectBox(writeErrorBox(FileError{row.number, "reason"}), row);
}

} // namespace
} // namespace qm::storage
