// Tests of the initialization file: its place, reading and writing its ten lines, and both error tables.
#include "storage/IniFile.h"

#include "fakes/MemoryFileSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace qm::storage
{
namespace
{

const ProgramFolders kFolders{"/opt/quellmark", "/home/ann/.config/quellmark"};
const IniLines kLines{"2", "N0CALL", "1", "0", "6", "2", "TRUE", "Reserved", "Reserved", "Reserved"};
const std::string kBytes = "2\r\nN0CALL\r\n1\r\n0\r\n6\r\n2\r\nTRUE\r\nReserved\r\nReserved\r\nReserved\r\n";

int errorNumber(const std::variant<IniLines, FileError>& result)
{
    return std::holds_alternative<FileError>(result) ? std::get<FileError>(result).number : 0;
}

TEST(IniFileTest, LivesInTheUsersFolderUnlessAWritableOneIsBesideTheProgram)
{
    const struct
    {
        bool fileThere;
        bool fileWritable;
        bool folderWritable;
        ProgramFolders folders;
        std::string path;
    } cases[] = {
        {true, true, true, kFolders, "/opt/quellmark/vq3.ini"},
        {true, false, true, kFolders, "/home/ann/.config/quellmark/vq3.ini"},
        {true, true, false, kFolders, "/home/ann/.config/quellmark/vq3.ini"},
        {true, false, false, kFolders, "/home/ann/.config/quellmark/vq3.ini"},
        {false, true, true, kFolders, "/home/ann/.config/quellmark/vq3.ini"},
        {false, true, false, kFolders, "/home/ann/.config/quellmark/vq3.ini"},
        {true, true, true, {"/opt/quellmark/", "/cfg"}, "/opt/quellmark/vq3.ini"},
        {false, true, true, {"/usr/bin", "/cfg/"}, "/cfg/vq3.ini"},
    };
    for (const auto& c : cases) {
        fakes::MemoryFileSystem files;
        if (c.fileThere)
            files.files["/opt/quellmark/vq3.ini"] = kBytes;
        if (!c.fileWritable)
            files.readOnlyFiles.insert("/opt/quellmark/vq3.ini");
        if (!c.folderWritable)
            files.readOnlyFolders.insert("/opt/quellmark");
        EXPECT_EQ(iniPath(files, c.folders), c.path) << c.fileThere << c.fileWritable << c.folderWritable;
        EXPECT_EQ(files.files.size(), c.fileThere ? 1U : 0U);
    }
}

TEST(IniFileTest, ReadsTenLinesInAnyLineEndingAndIgnoresTheRest)
{
    const struct
    {
        std::string bytes;
        IniLines lines;
    } cases[] = {
        {kBytes, kLines},
        {kBytes + "extra\r\nmore\r\n", kLines},
        {"2\nN0CALL\n1\n0\n6\n2\nTRUE\nReserved\nReserved\nReserved", kLines},
        {"0\r\nMYCALL\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n", {"0", "MYCALL", "", "", "", "", "", "", "", ""}},
        {" 1 \r\n k1abc\r\n3\r\n1\r\n15\r\n0\r\ntrue \r\nx\r\ny\r\nz",
         {" 1 ", " k1abc", "3", "1", "15", "0", "true ", "x", "y", "z"}},
    };
    for (const auto& c : cases) {
        fakes::MemoryFileSystem files;
        files.files["/p/vq3.ini"] = c.bytes;
        const auto result = readIniFile(files, "/p/vq3.ini");
        ASSERT_TRUE(std::holds_alternative<IniLines>(result)) << c.bytes;
        EXPECT_EQ(std::get<IniLines>(result), c.lines);
    }
}

TEST(IniFileTest, ReadFailuresCarryTheirErrorNumber)
{
    fakes::MemoryFileSystem files;
    files.files["/p/nine.ini"] = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n";
    files.files["/p/empty.ini"] = "";
    files.readErrors["/p/locked.ini"] = {error::kPermissionDenied, "denied"};
    files.readErrors["/cfg/missing/vq3.ini"] = {error::kPathNotFound, "no folder"};
    EXPECT_EQ(errorNumber(readIniFile(files, "/p/nine.ini")), error::kInputPastEnd);
    EXPECT_EQ(errorNumber(readIniFile(files, "/p/empty.ini")), error::kInputPastEnd);
    EXPECT_EQ(errorNumber(readIniFile(files, "/p/none.ini")), error::kFileNotFound);
    EXPECT_EQ(errorNumber(readIniFile(files, "/p/locked.ini")), error::kPermissionDenied);
    EXPECT_EQ(errorNumber(readIniFile(files, "/cfg/missing/vq3.ini")), error::kFileNotFound);
}

TEST(IniFileTest, WritesTenCrLfLinesAndMakesTheFolderFirst)
{
    fakes::MemoryFileSystem files;
    EXPECT_EQ(writeIniFile(files, "/home/ann/.config/quellmark/vq3.ini", kLines), std::nullopt);
    EXPECT_EQ(files.files["/home/ann/.config/quellmark/vq3.ini"], kBytes);
    EXPECT_EQ(files.folders.count("/home/ann/.config/quellmark"), 1U);
}

TEST(IniFileTest, FailedWriteKeepsTheOldFile)
{
    fakes::MemoryFileSystem files;
    files.files["/p/vq3.ini"] = "old";
    files.writeErrors["/p/vq3.ini"] = {error::kDiskFull, "full"};
    EXPECT_EQ(writeIniFile(files, "/p/vq3.ini", kLines), (FileError{error::kDiskFull, "full"}));
    EXPECT_EQ(files.files["/p/vq3.ini"], "old");

    files.folderErrors["/q"] = {error::kPermissionDenied, "denied"};
    EXPECT_EQ(writeIniFile(files, "/q/vq3.ini", kLines), (FileError{error::kPermissionDenied, "denied"}));
    EXPECT_EQ(files.files.count("/q/vq3.ini"), 0U);
}

struct BoxRow
{
    int number;
    std::string title;
    std::string text;
};

const std::string kLoadText = "An error occured while loading the initialization file.";
const std::string kSaveText = "An error occured while saving the initialization file.";

TEST(IniFileTest, LoadErrorBoxes)
{
    const BoxRow rows[] = {
        {53, "Error: INI File Not Found",
         "The initialization file could not be found.\r\nContinuing to load program using default settings."},
        {52, "Error# 52: Bad File Name Or Number", kLoadText},
        {57, "Error# 57: Device I/O Error", kLoadText},
        {58, "Error# 58: File Already Exists", kLoadText},
        {61, "Error# 61: Disk Full", kLoadText},
        {62, "Error# 62: Input Past End Of File", kLoadText},
        {68, "Error# 68: Device Unavailable", kLoadText},
        {70, "Error# 70: Permission Denied", kLoadText},
        {71, "Error# 71: Disk Not Ready", kLoadText},
        {74, "Error# 74: Can't Rename With Different Drive", kLoadText},
        {75, "Error# 75: Path/File Access Error", kLoadText},
        {76, "Error# 76: Path Not Found", kLoadText},
        {55, "Unexpected Error!", "Unexpected error # 55 occurred while loading the initialization file."},
        {380, "Unexpected Error!", "Unexpected error # 380 occurred while loading the initialization file."},
        {6, "Unexpected Error!", "Unexpected error # 6 occurred while loading the initialization file."},
        {0, "Unexpected Error!", "Unexpected error # 0 occurred while loading the initialization file."},
    };
    for (const auto& row : rows) {
        const forms::MessageBox box = iniLoadErrorBox({row.number, "reason"});
        EXPECT_EQ(box, forms::messageBox(row.title, row.text, forms::Icon::Warning)) << row.number;
    }
}

TEST(IniFileTest, SaveErrorBoxes)
{
    const BoxRow rows[] = {
        {52, "Error# 52: Bad File Name Or Number", kSaveText},
        {55, "Error# 55: File already open", kSaveText},
        {57, "Error# 57: Device I/O Error", kSaveText},
        {58, "Error# 58: File Already Exists", kSaveText},
        {61, "Error# 61: Disk Full", kSaveText},
        {68, "Error# 68: Device Unavailable", kSaveText},
        {70, "Error# 70: Permission Denied", kSaveText},
        {71, "Error# 71: Disk Not Ready", kSaveText},
        {74, "Error# 74: Can't Rename With Different Drive", kSaveText},
        {75, "Error# 75: Path/File Access Error", kSaveText},
        {76, "Error# 76: Path Not Found", kSaveText},
        {53, "Unexpected Error!", "Unexpected error # 53 occurred while saving the initialization file."},
        {62, "Unexpected Error!", "Unexpected error # 62 occurred while saving the initialization file."},
        {13, "Unexpected Error!", "Unexpected error # 13 occurred while saving the initialization file."},
    };
    for (const auto& row : rows) {
        const forms::MessageBox box = iniSaveErrorBox({row.number, "reason"});
        EXPECT_EQ(box, forms::messageBox(row.title, row.text, forms::Icon::Warning)) << row.number;
    }
}

} // namespace
} // namespace qm::storage
