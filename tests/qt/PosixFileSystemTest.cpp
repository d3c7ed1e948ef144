// The files port on the real disk, in a fresh temporary folder per test: every byte kept, the old file whole when a
// write fails, errors named, special files never waited on.
#include "qt/PosixFileSystem.h"
#include "storage/IniFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm::qt
{
namespace
{

namespace fs = std::filesystem;

class PosixFileSystemTest : public ::testing::Test
{
protected:
    std::string path(const std::string& name) const { return folder + "/" + name; }
    void put(const std::string& name, const std::string& bytes) const { std::ofstream(path(name)) << bytes; }
    std::string contents(const std::string& name) { return std::get<std::string>(files.readFile(path(name))); }
    /// The folder's names, sorted (no temporary file left behind).
    std::vector<std::string> names()
    {
        auto listed = std::get<std::vector<std::string>>(files.listFolder(folder));
        std::sort(listed.begin(), listed.end());
        return listed;
    }
    int readError(const std::string& file)
    {
        const auto read = files.readFile(file);
        return std::holds_alternative<storage::FileError>(read) ? std::get<storage::FileError>(read).number : 0;
    }
    int writeError(const std::string& file, const std::string& bytes)
    {
        const auto failure = files.writeFileAtomically(file, bytes);
        return failure ? failure->number : 0;
    }

    QTemporaryDir temporary;
    std::string folder = temporary.path().toStdString();
    PosixFileSystem files;
};

TEST_F(PosixFileSystemTest, AnAtomicWriteKeepsEveryBytePermissionsAndLinksAndLeavesNoTemporaryFile)
{
    std::string bytes(256, '\0');
    std::iota(bytes.begin(), bytes.end(), '\0');
    put("a.vq3", "old contents that are longer than the new ones");
    fs::permissions(path("a.vq3"), static_cast<fs::perms>(0640));
    fs::create_symlink(path("a.vq3"), path("link.vq3"));
    fs::create_symlink("b.vq3", path("dangling.vq3"));
    const mode_t mask = ::umask(022);
    EXPECT_EQ(writeError(path("link.vq3"), bytes), 0);
    EXPECT_EQ(writeError(path("dangling.vq3"), "made"), 0);
    ::umask(mask);
    EXPECT_EQ(std::get<std::string>(files.readFile(path("a.vq3"))), bytes);
    EXPECT_EQ(fs::status(path("a.vq3")).permissions(), static_cast<fs::perms>(0640));
    EXPECT_EQ(fs::status(path("b.vq3")).permissions(), static_cast<fs::perms>(0644));
    EXPECT_EQ(contents("b.vq3"), "made");
    EXPECT_TRUE(fs::is_symlink(path("link.vq3")));
    EXPECT_EQ(names(), (std::vector<std::string>{"a.vq3", "b.vq3", "dangling.vq3", "link.vq3"}));
}

TEST_F(PosixFileSystemTest, FailuresMapToFileErrorsAndNeverWaitOnASpecialFile)
{
    put("plain", "x");
    fs::create_directory(path("sub"));
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    const std::tuple<std::string, int, int> cases[] = {
        {path("missing.vq3"), storage::error::kFileNotFound, 0},
        {path("nofolder/a.vq3"), storage::error::kPathNotFound, storage::error::kPathNotFound},
        {path("sub"), storage::error::kPathFileAccess, storage::error::kPathFileAccess},
        {path(std::string(300, 'n')), storage::error::kBadFileName, storage::error::kBadFileName},
        {path("fifo"), storage::error::kPathFileAccess, storage::error::kDeviceIo},
        {"/dev/zero", storage::error::kPathFileAccess, 0},
        {"/dev/full", storage::error::kPathFileAccess, storage::error::kDiskFull},
    };
    for (const auto& [file, read, written] : cases) {
        EXPECT_EQ(readError(file), read) << file;
        if (written != 0) {
            EXPECT_EQ(writeError(file, "1\r\n"), written) << file;
        }
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"fifo", "plain", "sub"}));
    EXPECT_EQ(std::get<storage::FileError>(files.readFile(path("fifo"))).reason, "It is a FIFO, not a regular file.");
}

TEST_F(PosixFileSystemTest, AWriteCutShortOrRefusedByALockLeavesTheOldFileWhole)
{
    put("a.vq3", "old");
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int cut = writeError(path("a.vq3"), std::string(1000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(cut, storage::error::kDiskFull);
    EXPECT_EQ(contents("a.vq3"), "old");

    const int holder = ::open(path("a.vq3").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    EXPECT_EQ(readError(path("a.vq3")), storage::error::kPermissionDenied);
    EXPECT_EQ(writeError(path("a.vq3"), "new"), storage::error::kPermissionDenied);
    ::close(holder);
    EXPECT_EQ(contents("a.vq3"), "old");
    EXPECT_EQ(names(), std::vector<std::string>{"a.vq3"});
    EXPECT_EQ(writeError(path("a.vq3"), "new"), 0);
    EXPECT_EQ(contents("a.vq3"), "new");

    fs::resize_file(path("a.vq3"), storage::kMaxReadBytes + 1);
    EXPECT_EQ(readError(path("a.vq3")), storage::error::kDeviceIo);
}

} // namespace
} // namespace qm::qt
