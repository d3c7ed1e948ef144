#include "app/SingleCopyLock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace qm::app
{
namespace
{

namespace fs = std::filesystem;

class SingleCopyLockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "qm-lock-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    std::string makeFolder(const std::string& name, fs::perms permissions) const
    {
        const std::string made = folder + "/" + name;
        fs::create_directories(made);
        fs::permissions(made, permissions);
        return made;
    }

    std::string folder;
};

TEST_F(SingleCopyLockTest, TheLockLivesInAFolderOnlyThisUserCanWrite)
{
    const std::string runtime = makeFolder("runtime", fs::perms::owner_all);
    const std::string open = makeFolder("open", fs::perms::all);
    const std::string theirs = makeFolder("theirs", fs::perms::owner_all);
    makeFolder("their-cache/quellmark", fs::perms::owner_all);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chown((folder + "/their-cache/quellmark").c_str(), 65534, 65534), 0);
    }
    const std::string home = folder + "/home";
    const std::string homeLock = home + "/.cache/quellmark/quellmark-unit.lock";

    struct Case
    {
        std::optional<std::string> runtimeDir;
        std::optional<std::string> cacheHome;
        std::optional<std::string> home;
        std::string lock;
    };
    std::vector<Case> cases = {
        {runtime, std::nullopt, home, runtime + "/quellmark.lock"},
        {std::nullopt, std::nullopt, home, homeLock},
        {"", std::nullopt, home, homeLock},
        {"runtime", std::nullopt, home, homeLock},
        {open, std::nullopt, home, homeLock},
        {folder + "/missing", std::nullopt, home, homeLock},
        {std::nullopt, folder + "/cache", home, folder + "/cache/quellmark/quellmark-unit.lock"},
        {std::nullopt, "cache", home, homeLock},
        {std::nullopt, std::nullopt, std::nullopt, ""},
        {std::nullopt, std::nullopt, "", ""},
    };
    if (root) {
        cases.push_back({theirs, std::nullopt, home, homeLock});
        cases.push_back({std::nullopt, folder + "/their-cache", home, ""});
    }
    for (const auto& c : cases) {
        auto text = [](const std::optional<std::string>& value) { return value ? value->c_str() : nullptr; };
        EXPECT_EQ(singleCopyLockPath(text(c.runtimeDir), text(c.cacheHome), text(c.home), "unit"), c.lock)
            << (c.runtimeDir ? *c.runtimeDir : "(unset)") << " " << (c.cacheHome ? *c.cacheHome : "(unset)");
        if (!c.lock.empty()) {
            EXPECT_EQ(fs::status(fs::path(c.lock).parent_path()).permissions(), fs::perms::owner_all) << c.lock;
        }
    }
    EXPECT_EQ(fs::status(open).permissions(), fs::perms::all);
}

TEST_F(SingleCopyLockTest, ASecondCopyFindsTheLockHeldUntilTheFirstEnds)
{
    const std::string path = folder + "/quellmark.lock";
    SingleCopyLock first = takeSingleCopyLock(path);
    EXPECT_EQ(first.state, SingleCopyLock::State::Taken);
    SingleCopyLock second = takeSingleCopyLock(path);
    EXPECT_EQ(second.state, SingleCopyLock::State::HeldByAnotherCopy);
    EXPECT_FALSE(second.lock);
    first.lock.reset();
    EXPECT_EQ(takeSingleCopyLock(path).state, SingleCopyLock::State::Taken);
    EXPECT_EQ(takeSingleCopyLock("").state, SingleCopyLock::State::NotTaken);
    EXPECT_EQ(takeSingleCopyLock(folder + "/missing/quellmark.lock").state, SingleCopyLock::State::NotTaken);
}

} // namespace
} // namespace qm::app
