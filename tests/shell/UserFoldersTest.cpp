// The folders the program keeps the user's files under: those of another user are left out and said once; without
// a folder of the user's own the settings last for the run and nothing is written.
#include "shell/UserFolders.h"
#include "ShellRig.h"
#include "shell/IniSettings.h"
#include "shell/ProgramOptions.h"

#include <set>

namespace qm::shell
{
namespace
{

TEST(UserFoldersTest, FoldersOfAnotherUserAreLeftOutAndNamedOnce)
{
    const std::set<std::string> own{"/root", "/root/.data", "/tmp/mine", "mine"};
    const auto isOwn = [&own](const std::string& path) { return own.count(path) != 0; };
    const std::string notice = "vq3: /home/ham (HOME) is not root's own folder: nothing is written there, so the "
                               "settings and backups that would be kept there are not kept.";
    // XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME, HOME, the account's home; what is kept of them.
    const std::pair<BaseFolders, ChosenFolders> cases[] = {
        {{"", "", "", "/root", "/root"}, {{"", "", "", "/root", ""}, ""}},
        {{"", "", "", "", "/root"}, {{"", "", "", "", "/root"}, ""}},
        {{"", "", "", "/home/ham", "/root"}, {{"", "", "", "", ""}, notice}},
        {{"rel", "/tmp/mine", "", "/home/ham", ""}, {{"", "/tmp/mine", "", "", ""}, notice}},
        {{"", "", "/home/ham/.cache", "/root", ""},
         {{"", "", "", "/root", ""},
          "vq3: /home/ham/.cache (XDG_CACHE_HOME) is not root's own folder: nothing is written there, so the settings "
          "and backups that would be kept there are not kept."}},
        {{"", "", "", "", "/nonexistent"}, {{"", "", "", "", ""}, ""}},
        {{"", "", "", "home", "/root"}, {{"", "", "", "", ""}, ""}},
        // A relative account home is never used, even one that is the user's own.
        {{"", "", "", "", "mine"}, {{"", "", "", "", ""}, ""}},
    };
    for (const auto& [given, chosen] : cases)
        EXPECT_EQ(chooseUserFolders(given, "vq3", "root", isOwn), chosen) << given.home << given.xdgDataHome;
}

TEST(UserFoldersTest, WithoutASettingsFileTheAnswersLastForTheRunAndNothingIsWritten)
{
    fakes::MemoryFileSystem files;
    fakes::ScriptedUi ui;
    Session session(files);
    session.startUp();
    ui.inputs = {"2", "k1abc"};
    IniSettings ini(session, ui, files, storage::iniPath(files, {"/opt/quellmark", ""}));
    EXPECT_TRUE(ini.loadSettings());
    EXPECT_EQ(session.state().link.comPort, 2);
    EXPECT_EQ(session.windows().tracking.station.MyCall.text(), "K1ABC");
    EXPECT_TRUE(ini.saveComPort());
    EXPECT_TRUE(ini.saveInputBaudRate());
    EXPECT_EQ(ui.calls,
              (std::vector<std::string>{"pointer:normal", "input:Serial Port Selection", "input:CallSign Selection"}));
    // Asked for by name, memorizing says there is nowhere to keep the defaults.
    EXPECT_FALSE(ini.saveDefaults());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, "Error# 76: Path Not Found");
    ProgramOptions options(files, "");
    EXPECT_EQ(options.addRecentFile("/a/1.vq3"), std::nullopt);
    EXPECT_EQ(options.recentFiles(), std::vector<std::string>{"/a/1.vq3"});
    EXPECT_TRUE(files.files.empty());
}

} // namespace
} // namespace qm::shell
