#include "qt/PosixFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace qm::qt
{
namespace
{

namespace fs = std::filesystem;

class PosixFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "qm-folder-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    std::string folder;
    PosixFileSystem files;
};

TEST_F(PosixFolderTest, ListsTheNamesOfAFolder)
{
    std::ofstream(folder + "/b.bin") << "x";
    std::ofstream(folder + "/a.vq3") << "y";
    fs::create_directory(folder + "/sub");
    auto listing = files.listFolder(folder);
    ASSERT_TRUE(std::holds_alternative<std::vector<std::string>>(listing));
    auto names = std::get<std::vector<std::string>>(listing);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.vq3", "b.bin", "sub"}));
}

TEST_F(PosixFolderTest, AMissingFolderCannotBeListed)
{
    auto listing = files.listFolder(folder + "/missing");
    ASSERT_TRUE(std::holds_alternative<storage::FileError>(listing));
    EXPECT_EQ(std::get<storage::FileError>(listing).number, storage::error::kPathNotFound);
}

TEST_F(PosixFolderTest, RemovesAFileAndReportsAMissingOne)
{
    std::ofstream(folder + "/old.bin") << "x";
    EXPECT_EQ(files.removeFile(folder + "/old.bin"), std::nullopt);
    EXPECT_FALSE(fs::exists(folder + "/old.bin"));
    const auto missing = files.removeFile(folder + "/old.bin");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->number, storage::error::kFileNotFound);
}

} // namespace
} // namespace qm::qt
