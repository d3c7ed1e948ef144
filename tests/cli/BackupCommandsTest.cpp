#include "cli/BackupCommands.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "cli/Show.h"
#include "fakes/FakeClock.h"
#include "fakes/MemoryFileSystem.h"
#include "shell/Backups.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <iterator>
#include <sstream>

namespace qm::cli
{
namespace
{

using link::Transaction;
using Action = BackupsOptions::Action;

const std::string kFolder = "/home/ann/.local/share/quellmark/backups";

std::string example(const std::string& name)
{
    std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class BackupCommandsTest : public ::testing::Test
{
protected:
    std::string image(const std::string& name)
    {
        files.files["/examples/" + name] = example(name);
        CompileOptions options{"/examples/" + name, "", false, false};
        std::ostringstream stream;
        EXPECT_EQ(runCompile(options, files, {in, stream, err}), kDone);
        return stream.str().substr(1);
    }

    /// A session that identified a unit holding Beacon and wrote Tracking, an older backup of Alarm named as
    /// earlier versions named them, and a damaged one.
    void keepSomeBackups()
    {
        files.files[kFolder + "/20261101-070000-000-VQ-3-read.bin"] = image("alarm.vq3");
        files.files[kFolder + "/20261102-070000-000-VQ-3-fw1-read.bin"] = std::string(100, 'x');
        shell::Backups backups(files, clock, kFolder);
        ASSERT_FALSE(backups.record(Transaction::Identification, "VQ-3+ ", 2, image("beacon.vq3")));
        ASSERT_FALSE(backups.record(Transaction::Write, "VQ-3+ ", 2, image("tracking.vq3")));
    }

    int run(Action action, const std::string& backup = "", const std::string& output = "", bool json = false,
            const std::string& folder = kFolder)
    {
        out.str("");
        err.str("");
        return runBackups({action, backup, output, json}, files, folder, {in, out, err});
    }

    fakes::MemoryFileSystem files;
    fakes::FakeClock clock;
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(BackupCommandsTest, ListsTheBackupsNewestFirst)
{
    keepSomeBackups();
    ASSERT_EQ(run(Action::List), kDone);
    EXPECT_EQ(out.str(),
              "Backups in " + kFolder +
                  ", newest first:\n"
                  "No.  Date and time        Unit              Mode       Callsign  What happened\n"
                  "1    2026-12-06 08:45:12  VQ-3+ firmware 2  Tracking   N0CALL    write\n"
                  "2    2026-12-06 08:45:12  VQ-3+ firmware 2  Beacon     TEST      identification, before a write\n"
                  "3    2026-11-02 07:00:00  VQ-3 firmware 1   (damaged)  (none)    read\n"
                  "4    2026-11-01 07:00:00  VQ-3              Alarm      N0CALL    read\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(BackupCommandsTest, ListsThemAsJson)
{
    keepSomeBackups();
    ASSERT_EQ(run(Action::List, "", "", true), kDone);
    const auto json = nlohmann::json::parse(out.str());
    EXPECT_EQ(json["folder"], kFolder);
    ASSERT_EQ(json["backups"].size(), 4u);
    EXPECT_EQ(json["backups"][1], nlohmann::json::parse(R"({
        "number": 2, "name": "20261206-084512-123-VQ-3+-fw2-identify-before-write", "time": "2026-12-06T08:45:12.123",
        "model": "VQ-3+", "firmware": 2, "mode": 1, "modeName": "Beacon", "callsign": "TEST",
        "transaction": "identification", "beforeWrite": true,
        "configuration": "/home/ann/.local/share/quellmark/backups/20261206-084512-123-VQ-3+-fw2-identify-before-write.vq3",
        "raw": "/home/ann/.local/share/quellmark/backups/20261206-084512-123-VQ-3+-fw2-identify-before-write.bin"})"));
    EXPECT_EQ(json["backups"][2]["mode"], nullptr);
    EXPECT_EQ(json["backups"][3]["firmware"], nullptr);
    EXPECT_EQ(json["backups"][3]["configuration"], nullptr);
}

TEST_F(BackupCommandsTest, ShowsABackupAsShowShowsItsFile)
{
    keepSomeBackups();
    for (bool json : {false, true}) {
        for (const auto& [backup, file] : {std::pair{"2", "beacon.vq3"}, std::pair{"1", "tracking.vq3"},
                                           std::pair{"20261101-070000-000-VQ-3-read.bin", "alarm.vq3"}}) {
            ASSERT_EQ(run(Action::Show, backup, "", json), kDone) << backup;
            const std::string shown = out.str();
            std::ostringstream expected;
            ShowOptions options{"/examples/" + std::string(file), json};
            ASSERT_EQ(runShow(options, files, {in, expected, err}), kDone);
            EXPECT_EQ(shown, expected.str()) << backup;
        }
    }
}

TEST_F(BackupCommandsTest, RestoresABackupAsTheConfigurationFile)
{
    keepSomeBackups();
    ASSERT_EQ(run(Action::Restore, "2", "/home/ann/unit-before.vq3"), kDone);
    EXPECT_EQ(files.files["/home/ann/unit-before.vq3"], example("beacon.vq3"));
    EXPECT_EQ(out.str(), "");
    ASSERT_EQ(run(Action::Restore, "20261206-084512-124-VQ-3+-fw2-write"), kDone);
    EXPECT_EQ(out.str(), example("tracking.vq3"));
    ASSERT_EQ(run(Action::Restore, "4", "/home/ann/alarm.vq3", true), kDone);
    const auto json = nlohmann::json::parse(out.str());
    EXPECT_EQ(json["backup"], "20261101-070000-000-VQ-3-read");
    EXPECT_EQ(json["mode"], 4);
    EXPECT_EQ(json["file"], "/home/ann/alarm.vq3");
    EXPECT_EQ(json["lines"].size(), 32u);
    EXPECT_EQ(files.files["/home/ann/alarm.vq3"], example("alarm.vq3"));
}

struct BadChoice
{
    Action action;
    std::string backup;
    int status;
    std::string message;
};

TEST_F(BackupCommandsTest, ABackupThatIsNotThereIsAnInputError)
{
    keepSomeBackups();
    std::string unknownMode(128, '\0');
    unknownMode[0] = '\x05';
    files.files[kFolder + "/20261001-070000-000-VQ-3-fw1-read.bin"] = unknownMode;
    const std::string numbered = ": " + kFolder + " holds 5 backups, numbered 1 (the newest) to 5.";
    const BadChoice cases[] = {
        {Action::Show, "0", kInputError, "Error: There is no backup 0" + numbered},
        {Action::Show, "6", kInputError, "Error: There is no backup 6" + numbered},
        {Action::Restore, "99999999999", kInputError,
         "Error: There is no backup 99999999999 in " + kFolder +
             ". Name a backup by its number in the list (1 is the newest) or by its name."},
        {Action::Restore, "-1", kInputError,
         "Error: There is no backup -1 in " + kFolder +
             ". Name a backup by its number in the list (1 is the newest) or by its name."},
        {Action::Show, "3", kInputError,
         "Error: The backup 20261102-070000-000-VQ-3-fw1-read is damaged: " + kFolder +
             "/20261102-070000-000-VQ-3-fw1-read.bin does not hold the 128 bytes of a configuration."},
        {Action::Restore, "5", kRefused,
         "Error: The backup 20261001-070000-000-VQ-3-fw1-read holds mode code 5, which is none of Telemetry (0), "
         "Beacon (1), NMEA (2), Tracking (3) and Alarm (4)."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.action, c.backup, "/home/ann/out.vq3"), c.status) << c.backup;
        EXPECT_EQ(err.str(), c.message + "\n");
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(files.files.count("/home/ann/out.vq3"), 0u);
        EXPECT_EQ(run(c.action, c.backup, "", true), c.status) << c.backup;
        EXPECT_EQ(nlohmann::json::parse(out.str())["error"]["text"], c.message.substr(7));
    }
}

TEST_F(BackupCommandsTest, AFolderWithoutBackupsOrWithoutAPlace)
{
    EXPECT_EQ(run(Action::List), kDone);
    EXPECT_EQ(out.str(), "No backups in " + kFolder + " yet.\n");
    EXPECT_EQ(run(Action::List, "", "", true), kDone);
    EXPECT_EQ(nlohmann::json::parse(out.str())["backups"], nlohmann::json::array());
    EXPECT_EQ(run(Action::Show, "1"), kInputError);
    EXPECT_EQ(err.str(), "Error: There is no backup 1: " + kFolder + " holds none.\n");
    EXPECT_EQ(run(Action::List, "", "", false, ""), kInputError);
    EXPECT_EQ(err.str(), "Error: There is no folder for backups: neither XDG_DATA_HOME nor HOME is set.\n");
    files.readErrors[kFolder] = {storage::error::kPermissionDenied, "Permission denied"};
    EXPECT_EQ(run(Action::List), kInputError);
    EXPECT_EQ(err.str(), "Error: Cannot read the backups in " + kFolder + ": Permission denied.\n");
}

} // namespace
} // namespace qm::cli
