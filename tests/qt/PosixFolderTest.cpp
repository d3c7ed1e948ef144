#include "qt/PosixFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

TEST_F(PosixFolderTest, APrivateFolderIsMadeOrClosedForItsOwnerAlone)
{
    fs::create_directory(folder + "/open");
    fs::permissions(folder + "/open", static_cast<fs::perms>(0777));
    fs::create_directory(folder + "/closed");
    fs::permissions(folder + "/closed", static_cast<fs::perms>(0700));
    std::ofstream(folder + "/file") << "x";
    fs::create_directory(folder + "/theirs");
    fs::permissions(folder + "/theirs", static_cast<fs::perms>(0777));
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown((folder + "/theirs").c_str(), 65534, 65534), 0);
    }

    struct Case
    {
        std::string path;
        int number;
        fs::perms permissions;
    };
    std::vector<Case> cases = {
        {folder + "/new/inner/backups", 0, static_cast<fs::perms>(0700)},
        {folder + "/open", 0, static_cast<fs::perms>(0700)},
        {folder + "/closed", 0, static_cast<fs::perms>(0700)},
        {folder + "/file/backups", storage::error::kPathNotFound, fs::perms::unknown},
    };
    if (root)
        cases.push_back({folder + "/theirs", storage::error::kPermissionDenied, static_cast<fs::perms>(0777)});
    const mode_t mask = ::umask(0);
    for (const auto& c : cases) {
        const auto failure = files.makePrivateFolder(c.path);
        EXPECT_EQ(failure ? failure->number : 0, c.number) << c.path;
        if (c.permissions != fs::perms::unknown) {
            EXPECT_EQ(fs::status(c.path).permissions(), c.permissions) << c.path;
        }
    }
    ::umask(mask);
}

TEST_F(PosixFolderTest, APrivateFileIsReadableByItsOwnerAlone)
{
    std::ofstream(folder + "/old.bin") << "old";
    fs::permissions(folder + "/old.bin", static_cast<fs::perms>(0644));
    const mode_t mask = ::umask(0);
    for (const std::string name : {"new.bin", "old.bin"}) {
        EXPECT_EQ(files.writePrivateFileAtomically(folder + "/" + name, "bytes"), std::nullopt) << name;
        EXPECT_EQ(fs::status(folder + "/" + name).permissions(), static_cast<fs::perms>(0600)) << name;
        std::ifstream in(folder + "/" + name);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "bytes") << name;
    }
    ::umask(mask);
    auto listing = std::get<std::vector<std::string>>(files.listFolder(folder));
    std::sort(listing.begin(), listing.end());
    EXPECT_EQ(listing, (std::vector<std::string>{"new.bin", "old.bin"}));
}

} // namespace
} // namespace qm::qt
