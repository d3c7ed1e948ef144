// Tests of vq3.ini on the real disk: its place, the folders made for it, and writes that fail even for root.
#include "qt/PosixFileSystem.h"
#include "shell/IniSettings.h"
#include "shell/Program.h"
#include "storage/ConfigFile.h"
#include "storage/IniFile.h"

#include "fakes/ScriptedUi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace qm::qt
{
namespace
{

namespace fs = std::filesystem;

const storage::IniLines kLines{"2", "N0CALL", "1", "0", "6", "2", "TRUE", "Reserved", "Reserved", "Reserved"};
const std::string kBytes = "2\r\nN0CALL\r\n1\r\n0\r\n6\r\n2\r\nTRUE\r\nReserved\r\nReserved\r\nReserved\r\n";

class IniFilePosixTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "qm-ini-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }

    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    std::string path(const std::string& name) const { return folder + "/" + name; }

    std::string contents(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::vector<std::string> names(const std::string& sub = "") const
    {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(sub.empty() ? folder : path(sub)))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

    static bool isRoot() { return ::geteuid() == 0; }

    /// Runs a check as the user nobody when the tests run as root (for whom permissions are not enforced);
    /// returns its result, 0 for success.
    static int asOrdinaryUser(const std::function<int()>& check)
    {
        if (!isRoot())
            return check();
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(255);
            ::_exit(check());
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static constexpr unsigned kNobody = 65534;
    std::string folder;
    PosixFileSystem files;
};

TEST_F(IniFilePosixTest, WritesIntoAConfigurationFolderItMakes)
{
    const std::string target = path("home/.config/quellmark/vq3.ini");
    EXPECT_EQ(storage::writeIniFile(files, target, kLines), std::nullopt);
    EXPECT_EQ(contents("home/.config/quellmark/vq3.ini"), kBytes);
    EXPECT_EQ(names("home/.config/quellmark"), std::vector<std::string>{"vq3.ini"});
    const auto read = storage::readIniFile(files, target);
    ASSERT_TRUE(std::holds_alternative<storage::IniLines>(read));
    EXPECT_EQ(std::get<storage::IniLines>(read), kLines);
}

TEST_F(IniFilePosixTest, FolderUnderAFileCannotBeMade)
{
    std::ofstream(path("plain")) << "x";
    const auto failure = files.makeFolders(path("plain/quellmark"));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->number, storage::error::kPathNotFound);
    EXPECT_EQ(files.makeFolders(folder), std::nullopt);
}

TEST_F(IniFilePosixTest, ProgramFolderIsUsedOnlyForAWritableFileAlreadyThere)
{
    fs::create_directory(path("bin"));
    EXPECT_EQ(storage::iniPath(files, {path("bin"), path("cfg")}), path("cfg/vq3.ini"));
    EXPECT_TRUE(names("bin").empty());
    EXPECT_EQ(storage::iniPath(files, {"/proc/self", path("cfg")}), path("cfg/vq3.ini"));
    EXPECT_EQ(storage::iniPath(files, {path("missing"), path("cfg")}), path("cfg/vq3.ini"));

    std::ofstream(path("bin/vq3.ini")) << kBytes;
    EXPECT_EQ(storage::iniPath(files, {path("bin"), path("cfg")}), path("bin/vq3.ini"));
    fs::create_directory(path("portable"));
    fs::create_symlink(path("bin/vq3.ini"), path("portable/vq3.ini"));
    EXPECT_EQ(storage::iniPath(files, {path("portable"), path("cfg")}), path("portable/vq3.ini"));
    EXPECT_FALSE(files.fileWritable(path("bin")));
    EXPECT_FALSE(files.fileWritable(path("bin/missing.ini")));
}

TEST_F(IniFilePosixTest, AnotherUsersFileBesideTheProgramIsLeftForOneOfTheUsersOwn)
{
    const storage::IniLines mine{"1", "K1ABC", "0", "0", "6", "2", "TRUE", "Reserved", "Reserved", "Reserved"};
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    fs::create_directory(path("bin"));
    std::ofstream(path("bin/vq3.ini")) << kBytes;
    fs::create_directory(path("home"));
    if (isRoot()) {
        ASSERT_EQ(::chown(path("home").c_str(), kNobody, kNobody), 0);
    } else {
        fs::permissions(path("bin/vq3.ini"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
    const int result = asOrdinaryUser([&] {
        fakes::ScriptedUi ui;
        ui.inputs = {"1", "k1abc"};
        shell::Program program(files, ui, {{path("bin"), path("home/.config/quellmark")}, folder, {}});
        if (!program.start() || !ui.boxes.empty())
            return 1;
        return program.ini().path() == path("home/.config/quellmark/vq3.ini") ? 0 : 2;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(contents("bin/vq3.ini"), kBytes);
    EXPECT_EQ(contents("home/.config/quellmark/vq3.ini"), storage::joinLines({mine.begin(), mine.end()}));
}

TEST_F(IniFilePosixTest, ConfigurationFolderFollowsXdgThenHome)
{
    const struct
    {
        const char* xdg;
        const char* home;
        std::string config;
    } cases[] = {
        {"/x/cfg", "/home/ann", "/x/cfg/quellmark"},
        {nullptr, "/home/ann", "/home/ann/.config/quellmark"},
        {"", "/home/ann", "/home/ann/.config/quellmark"},
        {"relative", "/home/ann", "/home/ann/.config/quellmark"},
        {nullptr, nullptr, "/usr/bin"},
    };
    for (const auto& c : cases) {
        const storage::ProgramFolders folders = programFolders("/usr/bin/vq3", c.xdg, c.home);
        EXPECT_EQ(folders.programFolder, "/usr/bin");
        EXPECT_EQ(folders.configFolder, c.config);
    }
}

class IniWriterPosixTest : public IniFilePosixTest
{
protected:
    shell::Session program{files};
    fakes::ScriptedUi ui;
};

TEST_F(IniWriterPosixTest, FolderThatRefusesNewFilesEvenToRootIsReported)
{
    shell::IniSettings ini(program, ui, files, "/proc/self/vq3.ini");
    EXPECT_FALSE(ini.saveComPort());
    ASSERT_EQ(ui.boxes.size(), 1U);
    EXPECT_TRUE(ui.boxes[0].text.ends_with(" while saving the initialization file.")) << ui.boxes[0].text;
    EXPECT_FALSE(files.fileExists("/proc/self/vq3.ini"));
}

} // namespace
} // namespace qm::qt
