// Tests of the files port on the real disk, in a fresh temporary folder per test.
#include "qt/PosixFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <string>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <variant>
#include <vector>

namespace qm::qt
{
namespace
{

namespace fs = std::filesystem;
using storage::FileError;

class PosixFileSystemTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "qm-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }

    void TearDown() override
    {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(folder, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(folder, ignored);
    }

    std::string path(const std::string& name) const { return (fs::path(folder) / name).string(); }

    void writeDirectly(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }

    std::string contents(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

    static bool isRoot() { return ::geteuid() == 0; }

    /// Runs a check as the user nobody when the tests run as root (for whom permissions are not enforced) and
    /// returns its result: a file-error number, or 0.
    int asOrdinaryUser(const std::function<int()>& check)
    {
        if (!isRoot())
            return check();
        fs::permissions(folder, fs::perms::all);
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(255);
            ::_exit(check());
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static int number(const std::variant<std::string, FileError>& result)
    {
        return std::holds_alternative<FileError>(result) ? std::get<FileError>(result).number : 0;
    }

    std::string folder;
    PosixFileSystem files;
};

std::string allBytes()
{
    std::string bytes;
    for (int byte = 0; byte < 256; ++byte)
        bytes.push_back(static_cast<char>(byte));
    return bytes + "\r\n";
}

TEST_F(PosixFileSystemTest, ReadsEveryByteOfTheFile)
{
    writeDirectly("a.vq3", allBytes());
    const auto result = files.readFile(path("a.vq3"));
    ASSERT_TRUE(std::holds_alternative<std::string>(result));
    EXPECT_EQ(std::get<std::string>(result), allBytes());
}

TEST_F(PosixFileSystemTest, ReadFailuresMapToFileErrors)
{
    writeDirectly("plain", "x");
    fs::create_directory(path("sub"));
    const struct
    {
        std::string path;
        int number;
    } cases[] = {
        {path("missing.vq3"), storage::error::kFileNotFound},
        {path("nofolder/a.vq3"), storage::error::kPathNotFound},
        {path("sub"), storage::error::kPathFileAccess},
        {path("plain/a.vq3"), storage::error::kPathNotFound},
        {path(std::string(300, 'n')), storage::error::kBadFileName},
        {"", storage::error::kBadFileName},
    };
    for (const auto& c : cases) {
        const auto result = files.readFile(c.path);
        EXPECT_EQ(number(result), c.number) << c.path;
        if (std::holds_alternative<FileError>(result)) {
            EXPECT_FALSE(std::get<FileError>(result).reason.empty());
        }
    }
}

TEST_F(PosixFileSystemTest, UnreadableFileIsPermissionDenied)
{
    writeDirectly("locked.vq3", "x");
    fs::permissions(path("locked.vq3"), fs::perms::none);
    EXPECT_EQ(asOrdinaryUser([&] { return number(files.readFile(path("locked.vq3"))); }),
              storage::error::kPermissionDenied);
}

TEST_F(PosixFileSystemTest, AtomicWriteReplacesContentKeepsPermissionsAndLeavesNoTemporaryFile)
{
    writeDirectly("a.vq3", "old contents that are longer than the new ones");
    fs::permissions(path("a.vq3"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(files.writeFileAtomically(path("a.vq3"), allBytes()), std::nullopt);
    EXPECT_EQ(contents("a.vq3"), allBytes());
    EXPECT_EQ(fs::status(path("a.vq3")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(names(), std::vector<std::string>{"a.vq3"});
}

TEST_F(PosixFileSystemTest, NewFileGetsTheUsualPermissions)
{
    const mode_t mask = ::umask(022);
    const auto failure = files.writeFileAtomically(path("new.vq3"), "1\r\n");
    ::umask(mask);
    EXPECT_EQ(failure, std::nullopt);
    EXPECT_EQ(contents("new.vq3"), "1\r\n");
    EXPECT_EQ(fs::status(path("new.vq3")).permissions(), static_cast<fs::perms>(0644));
    EXPECT_EQ(names(), std::vector<std::string>{"new.vq3"});
}

TEST_F(PosixFileSystemTest, WriteThroughSymbolicLinkReplacesTheRealFile)
{
    fs::create_directory(path("real"));
    writeDirectly("real/a.vq3", "old");
    fs::create_symlink(path("real/a.vq3"), path("link.vq3"));
    fs::create_symlink("real/b.vq3", path("dangling.vq3"));
    EXPECT_EQ(files.writeFileAtomically(path("link.vq3"), "new"), std::nullopt);
    EXPECT_EQ(files.writeFileAtomically(path("dangling.vq3"), "made"), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(path("link.vq3")));
    EXPECT_TRUE(fs::is_symlink(path("dangling.vq3")));
    EXPECT_EQ(contents("real/a.vq3"), "new");
    EXPECT_EQ(contents("real/b.vq3"), "made");
    EXPECT_EQ(names(), (std::vector<std::string>{"dangling.vq3", "link.vq3", "real"}));
}

TEST_F(PosixFileSystemTest, WriteFailuresMapToFileErrors)
{
    fs::create_directory(path("sub"));
    writeDirectly("plain", "x");
    const struct
    {
        std::string path;
        int number;
    } cases[] = {
        {path("nofolder/a.vq3"), storage::error::kPathNotFound},
        {path("plain/a.vq3"), storage::error::kPathNotFound},
        {path("sub"), storage::error::kPathFileAccess},
        {path(std::string(300, 'n')), storage::error::kBadFileName},
        {"", storage::error::kBadFileName},
    };
    for (const auto& c : cases) {
        const auto failure = files.writeFileAtomically(c.path, "x");
        ASSERT_TRUE(failure) << c.path;
        EXPECT_EQ(failure->number, c.number) << c.path;
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"plain", "sub"}));
}

TEST_F(PosixFileSystemTest, FullDeviceIsDiskFull)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "this system has no /dev/full to fill";
    const auto failure = files.writeFileAtomically("/dev/full", "1\r\n");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->number, storage::error::kDiskFull);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST_F(PosixFileSystemTest, WriteCutShortLeavesOldFileAndNoTemporaryFile)
{
    writeDirectly("a.vq3", "old");
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto failure = files.writeFileAtomically(path("a.vq3"), std::string(1000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->number, storage::error::kDiskFull);
    EXPECT_EQ(contents("a.vq3"), "old");
    EXPECT_EQ(names(), std::vector<std::string>{"a.vq3"});
}

TEST_F(PosixFileSystemTest, ReadOnlyFolderRefusesTheWriteAndKeepsTheOldFile)
{
    fs::create_directory(path("ro"));
    writeDirectly("ro/a.vq3", "old");
    fs::permissions(path("ro/a.vq3"), fs::perms::all);
    fs::permissions(path("ro"),
                    fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read | fs::perms::others_exec);
    EXPECT_EQ(asOrdinaryUser([&] {
                  const auto failure = files.writeFileAtomically(path("ro/a.vq3"), "new");
                  return failure ? failure->number : 0;
              }),
              storage::error::kPermissionDenied);
    EXPECT_EQ(contents("ro/a.vq3"), "old");
    EXPECT_EQ(fs::directory_iterator(path("ro"))->path().filename(), "a.vq3");
}

TEST_F(PosixFileSystemTest, ReadOnlyFileIsRefused)
{
    writeDirectly("a.vq3", "old");
    fs::permissions(path("a.vq3"), fs::perms::owner_read | fs::perms::others_read);
    EXPECT_EQ(asOrdinaryUser([&] {
                  const auto failure = files.writeFileAtomically(path("a.vq3"), "new");
                  return failure ? failure->number : 0;
              }),
              storage::error::kPathFileAccess);
    EXPECT_EQ(contents("a.vq3"), "old");
}

TEST_F(PosixFileSystemTest, FileAnotherProgramLockedToWriteIsNeitherReadNorReplaced)
{
    writeDirectly("a.vq3", "old");
    for (const bool exclusive : {true, false}) {
        const int holder = ::open(path("a.vq3").c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(holder, 0);
        ASSERT_EQ(::flock(holder, exclusive ? LOCK_EX : LOCK_SH), 0);
        const int expected = exclusive ? storage::error::kPermissionDenied : 0;
        EXPECT_EQ(number(files.readFile(path("a.vq3"))), expected) << exclusive;
        const auto failure = files.writeFileAtomically(path("a.vq3"), exclusive ? "new" : "old");
        EXPECT_EQ(failure ? failure->number : 0, expected) << exclusive;
        EXPECT_EQ(contents("a.vq3"), "old");
        EXPECT_EQ(names(), std::vector<std::string>{"a.vq3"});
        ::close(holder);
    }
    EXPECT_FALSE(files.writeFileAtomically(path("a.vq3"), "new"));
    EXPECT_EQ(contents("a.vq3"), "new");
}

TEST_F(PosixFileSystemTest, OnlyARegularFileIsRead)
{
    ASSERT_EQ(::mkfifo(path("unwritten.fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(path("held.fifo").c_str(), 0600), 0);
    const int writer = ::open(path("held.fifo").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::write(writer, "1\r\n", 3), 3);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = path("socket");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    fs::create_symlink(path("held.fifo"), path("fifo-link.vq3"));
    fs::create_directory(path("sub"));

    const struct
    {
        std::string path;
        std::string reason;
    } cases[] = {
        {path("unwritten.fifo"), "It is a FIFO, not a regular file."},
        {path("held.fifo"), "It is a FIFO, not a regular file."},
        {path("fifo-link.vq3"), "It is a FIFO, not a regular file."},
        {path("socket"), "It is a socket, not a regular file."},
        {"/dev/zero", "It is a character device, not a regular file."},
        {"/dev/null", "It is a character device, not a regular file."},
        {path("sub"), std::strerror(EISDIR)},
    };
    for (const auto& c : cases) {
        const auto result = files.readFile(c.path);
        EXPECT_EQ(result, (std::variant<std::string, FileError>(FileError{storage::error::kPathFileAccess, c.reason})))
            << c.path;
    }
    ::close(writer);
    ::close(listener);
}

TEST_F(PosixFileSystemTest, AFileThatDoesNotEndWithinTheLimitIsADeviceError)
{
    for (const std::size_t size : {storage::kMaxReadBytes, storage::kMaxReadBytes + 1}) {
        writeDirectly("large", "");
        fs::resize_file(path("large"), size);
        const auto result = files.readFile(path("large"));
        if (size == storage::kMaxReadBytes) {
            ASSERT_TRUE(std::holds_alternative<std::string>(result));
            EXPECT_EQ(std::get<std::string>(result).size(), size);
        } else {
            EXPECT_EQ(number(result), storage::error::kDeviceIo);
        }
    }
}

TEST_F(PosixFileSystemTest, FifoWithNobodyAtTheOtherEndNeverWaits)
{
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    EXPECT_TRUE(files.fileExists(path("fifo")));
    const auto failure = files.writeFileAtomically(path("fifo"), "1\r\n");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->number, storage::error::kDeviceIo);
}

TEST_F(PosixFileSystemTest, FileExistsOnlyForReadableFiles)
{
    writeDirectly("a.vq3", "");
    fs::create_directory(path("sub"));
    EXPECT_TRUE(files.fileExists(path("a.vq3")));
    EXPECT_FALSE(files.fileExists(path("missing.vq3")));
    EXPECT_FALSE(files.fileExists(path("sub")));
    EXPECT_FALSE(files.fileExists(""));
}

TEST_F(PosixFileSystemTest, OperatingSystemErrorsMapToFileErrorNumbers)
{
    const struct
    {
        int errorNumber;
        std::string path;
        int number;
    } cases[] = {
        {ENOENT, path("missing"), storage::error::kFileNotFound},
        {ENOENT, path("nofolder/missing"), storage::error::kPathNotFound},
        {ENOTDIR, path("x"), storage::error::kPathNotFound},
        {EACCES, path("x"), storage::error::kPermissionDenied},
        {EPERM, path("x"), storage::error::kPermissionDenied},
        {EROFS, path("x"), storage::error::kPermissionDenied},
        {EBUSY, path("x"), storage::error::kPermissionDenied},
        {ETXTBSY, path("x"), storage::error::kPermissionDenied},
        {EISDIR, path("x"), storage::error::kPathFileAccess},
        {ENAMETOOLONG, path("x"), storage::error::kBadFileName},
        {EIO, path("x"), storage::error::kDeviceIo},
        {ENOSPC, path("x"), storage::error::kDiskFull},
        {EDQUOT, path("x"), storage::error::kDiskFull},
        {EFBIG, path("x"), storage::error::kDiskFull},
        {EINVAL, path("x"), storage::error::kDeviceIo},
    };
    for (const auto& c : cases) {
        const FileError error = fileErrorFor(c.errorNumber, c.path);
        EXPECT_EQ(error.number, c.number) << c.errorNumber;
        EXPECT_FALSE(error.reason.empty()) << c.errorNumber;
    }
}

} // namespace
} // namespace qm::qt
