// Backups of what a unit held: where and under which names they are kept, each configuration once, the newest
// kept, what a write replaced marked, and how they are listed and compared before a restore.
#include "shell/Backups.h"
#include "ShellRig.h"
#include "fakes/FakeClock.h"

#include <algorithm>
#include <set>

namespace qm::shell
{
namespace
{

using link::Transaction;
using Names = std::vector<std::string>;

const std::string kFolder = "/home/user/.local/share/quellmark/backups";
const std::string kOld = kFolder + "/20250101-000000-000-VQ-3+-read";

class BackupsTest : public ::testing::Test
{
protected:
    Names names()
    {
        auto found = std::get<Names>(files.listFolder(kFolder));
        std::sort(found.begin(), found.end());
        return found;
    }
    void record(Transaction transaction, const std::string& bytes, const std::string& model = "VQ-3+ ", int fw = 2)
    {
        ASSERT_FALSE(backups.record(transaction, model, fw, bytes));
    }

    fakes::MemoryFileSystem files;
    fakes::FakeClock clock;
    Backups backups{files, clock, kFolder};
    const std::string beacon = rig::compiledImage("beacon.vq3");
    const std::string tracking = rig::compiledImage("tracking.vq3");
    const std::string alarm = rig::compiledImage("alarm.vq3");
    const std::string unknownMode = std::string(1, '\x07') + std::string(127, '\0');
};

TEST(BackupFolderTest, FollowsAnAbsoluteDataHomeOrTheHomeFolder)
{
    EXPECT_EQ(backupFolder("/data", "/home/ann"), "/data/quellmark/backups");
    EXPECT_EQ(backupFolder("relative/data", "/home/ann"), "/home/ann/.local/share/quellmark/backups");
    EXPECT_EQ(backupFolder(nullptr, "/home/ann"), "/home/ann/.local/share/quellmark/backups");
    EXPECT_EQ(backupFolder(nullptr, ""), "");
}

TEST_F(BackupsTest, KeepsTheRawBytesAndTheConfigurationFileTheyDecodeTo)
{
    for (const std::string example : {"telemetry.vq3", "beacon.vq3", "nmea.vq3", "tracking.vq3", "alarm.vq3"}) {
        files.files.clear();
        const std::string image = rig::compiledImage(example);
        const std::string stem = kFolder + "/" + backupStem(clock.time, "VQ-3+ ", 2, Transaction::Read);
        record(Transaction::Read, image);
        EXPECT_EQ(files.files[stem + ".bin"], image) << example;
        EXPECT_EQ(files.files[stem + ".vq3"], rig::example(example)) << example;
    }
    files.files.clear();
    files.privateFiles.clear();
    const std::string stem = backupStem(clock.time, "", 0, Transaction::Identification);
    record(Transaction::Identification, unknownMode, "", 0);
    EXPECT_EQ(names(), Names{stem + ".bin"});
    EXPECT_EQ(files.privateFolders, std::set<std::string>{kFolder});
    EXPECT_EQ(files.privateFiles, std::set<std::string>{kFolder + "/" + names()[0]});
}

TEST_F(BackupsTest, EachConfigurationIsKeptOnceUnderItsLatestSightingAndAWriteMarksWhatItReplaced)
{
    files.files[kOld + ".bin"] = beacon; // left by an earlier version
    files.files[kOld + ".vq3"] = "lines";
    record(Transaction::Identification, beacon);
    record(Transaction::Write, tracking);
    for (int read = 0; read < 3; ++read)
        record(Transaction::Read, tracking);
    record(Transaction::Write, alarm);
    record(Transaction::Identification, alarm, "VQ-3 ", 1);
    EXPECT_EQ(names(),
              (Names{"20261206-084512-123-VQ-3+-fw2-identify-before-write.bin",
                     "20261206-084512-123-VQ-3+-fw2-identify-before-write.vq3",
                     "20261206-084512-127-VQ-3+-fw2-read-before-write.bin",
                     "20261206-084512-127-VQ-3+-fw2-read-before-write.vq3", "20261206-084512-129-VQ-3-fw1-identify.bin",
                     "20261206-084512-129-VQ-3-fw1-identify.vq3"}));
    EXPECT_EQ(files.files[kFolder + "/20261206-084512-123-VQ-3+-fw2-identify-before-write.vq3"],
              rig::example("beacon.vq3"));
    EXPECT_EQ(files.files[kFolder + "/20261206-084512-127-VQ-3+-fw2-read-before-write.bin"], tracking);
    EXPECT_EQ(files.files[kFolder + "/20261206-084512-129-VQ-3-fw1-identify.vq3"], rig::example("alarm.vq3"));
    EXPECT_EQ(files.privateFiles.size(), 6u);
}

TEST_F(BackupsTest, TwoBackupsOfOneMillisecondAreBothKeptInOrder)
{
    clock.stepMs = 0;
    record(Transaction::Read, beacon);
    record(Transaction::Read, alarm);
    EXPECT_EQ(files.files[kFolder + "/20261206-084512-123-VQ-3+-fw2-read.bin"], beacon);
    EXPECT_EQ(files.files[kFolder + "/20261206-084512-123-VQ-3+-fw2-read-2.bin"], alarm);
}

TEST_F(BackupsTest, KeepsTheNewestConfigurationsAndNothingElseOfTheFolderGoes)
{
    const std::string variants[] = {beacon, tracking, alarm, unknownMode};
    const struct
    {
        std::string recorded;
        Names kept;
    } cases[] = {
        {rig::compiledImage("nmea.vq3"), {"001", "002", "new"}},
        {beacon, {"001", "002", "new"}},
        {alarm, {"000", "001", "new"}},
    };
    for (const auto& c : cases) {
        files.files.clear();
        files.files[kFolder + "/notes.txt"] = "mine";
        for (int n = 0; n < 3; ++n) {
            files.files[kFolder + "/20250101-000000-00" + std::to_string(n) + "-VQ-3+-read.bin"] = variants[n];
            files.files[kFolder + "/20250101-000000-00" + std::to_string(n) + "-VQ-3+-read.vq3"] = "lines";
        }
        Backups three(files, clock, kFolder, 3);
        ASSERT_FALSE(three.record(Transaction::Write, "VQ-3+ ", 2, c.recorded));
        Names kept;
        for (const auto& name : names())
            if (name.ends_with(".bin"))
                kept.push_back(name.starts_with("2025") ? name.substr(16, 3) : "new");
        EXPECT_EQ(kept, c.kept);
        EXPECT_EQ(files.files[kFolder + "/notes.txt"], "mine");
    }
}

TEST_F(BackupsTest, ReportsWhatStoppedIt)
{
    const storage::FileError diskFull{storage::error::kDiskFull, "No space left on device"};
    files.folderErrors[kFolder] = diskFull;
    EXPECT_EQ(backups.record(Transaction::Read, "VQ-3+ ", 2, beacon), diskFull);
    files.folderErrors.clear();
    files.writeErrors[kFolder + "/20261206-084512-123-VQ-3+-fw2-read.vq3"] = diskFull;
    EXPECT_EQ(backups.record(Transaction::Read, "VQ-3+ ", 2, beacon), diskFull);
    Backups nowhere(files, clock, "");
    EXPECT_TRUE(nowhere.record(Transaction::Read, "VQ-3+ ", 2, beacon));
}

TEST_F(BackupsTest, AFailedWriteMarksAndNamesTheFileThatHoldsTheEarlierConfiguration)
{
    files.files[kOld + ".bin"] = beacon;
    files.files[kOld + ".vq3"] = "old lines";
    files.files[kFolder + "/20250101-000000-001-VQ-3-fw1-identify.bin"] = unknownMode;
    using Result = std::variant<std::string, storage::FileError>;
    for (int twice = 0; twice < 2; ++twice)
        EXPECT_EQ(backups.markReadBeforeWrite(beacon), Result(kOld + "-before-write.vq3"));
    EXPECT_EQ(files.files[kOld + "-before-write.vq3"], "old lines");
    EXPECT_EQ(backups.markReadBeforeWrite(unknownMode),
              Result(kFolder + "/20250101-000000-001-VQ-3-fw1-identify-before-write.bin"));
    EXPECT_EQ(std::get<storage::FileError>(backups.markReadBeforeWrite(alarm)).number, storage::error::kFileNotFound);
    EXPECT_EQ(keptBeforeWriteSentence(files, kFolder, beacon),
              earlierConfigurationSentence(kOld + "-before-write.vq3"));
    EXPECT_EQ(keptBeforeWriteSentence(files, "", beacon), std::nullopt);
    EXPECT_EQ(keptBeforeWriteSentence(files, kFolder, tracking), std::nullopt);
    EXPECT_EQ(names().size(), 3u);

    record(Transaction::Read, tracking);
    EXPECT_EQ(backups.markHeldBeforeWrite(tracking), kFolder + "/20261206-084512-123-VQ-3+-fw2-read-before-write.vq3");
    EXPECT_EQ(backups.markHeldBeforeWrite(rig::compiledImage("nmea.vq3")), "");
    EXPECT_EQ(Backups(files, clock, "").markHeldBeforeWrite(tracking), "");
}

TEST(BackupNameTest, ReadsTheNamesOfThisAndOfEarlierVersions)
{
    using T = Transaction;
    const LocalTime time{2026, 12, 6, 8, 45, 12, 123};
    const std::string at = "20261206-084512-123";
    EXPECT_EQ(backupStem(time, "VQ-3+ ", 2, T::Read), at + "-VQ-3+-fw2-read");
    EXPECT_EQ(backupStem(time, "", 0, T::Write), at + "-unknown-fw0-write");
    const std::pair<std::string, std::optional<BackupName>> cases[] = {
        {at + "-VQ-3-fw0-identify-before-write", BackupName{at, time, "VQ-3", 0, T::Identification, true}},
        {at + "-VQ-3-fw1-write-before-write-3", BackupName{at, time, "VQ-3", 1, T::Write, true}},
        {at + "-Custom-fw255-write-2", BackupName{at, time, "Custom", 255, T::Write, false}},
        {at + "-VQ-3+-identify-2", BackupName{at, time, "VQ-3+", std::nullopt, T::Identification, false}},
        {at + "-VQ-3+-fw2-copied", BackupName{at, time, "VQ-3+-fw2-copied", std::nullopt, {}, false}},
        {at + "-", std::nullopt},
        {"2026120-084512-123-VQ-3+-read", std::nullopt},
    };
    for (const auto& [stem, name] : cases)
        EXPECT_EQ(parseBackupStem(stem), name) << stem;
}

TEST_F(BackupsTest, ListsTheBackupsNewestFirstAndComparesOneWithTheWindows)
{
    EXPECT_TRUE(std::get<std::vector<BackupEntry>>(listBackups(files, kFolder)).empty());
    files.files[kOld + ".bin"] = beacon;
    files.files[kOld + ".vq3"] = "lines";
    files.files[kFolder + "/20250101-000000-001-VQ-3-fw1-identify-before-write.bin"] = std::string(12, 'x');
    files.files[kFolder + "/20250101-000000-002-Custom-fw9-write.bin"] = tracking;
    files.files[kFolder + "/notes.bin"] = beacon;
    files.files[kFolder + "/20250101-000000-003-VQ-3+-fw2-read.vq3"] = "a file without its bytes";
    const auto entries = std::get<std::vector<BackupEntry>>(listBackups(files, kFolder));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].stem, "20250101-000000-002-Custom-fw9-write");
    EXPECT_EQ(entries[0].mode, 3);
    EXPECT_EQ(entries[0].callsign, "N0CALL");
    EXPECT_EQ(entries[0].configurationPath, std::nullopt);
    EXPECT_EQ(entries[1].mode, std::nullopt);
    EXPECT_TRUE(entries[1].imageBytes.empty());
    EXPECT_EQ(entries[2].callsign, "TEST");
    EXPECT_EQ(entries[2].imageBytes, beacon);
    EXPECT_EQ(entries[2].rawPath, kOld + ".bin");
    EXPECT_EQ(entries[2].configurationPath, kOld + ".vq3");

    rig::Loaded edited(rig::exampleLines("beacon.vq3", {{22, "GOODBYE"}}));
    const auto kept = backupSummary(files, beacon);
    ASSERT_TRUE(kept);
    EXPECT_EQ(compareSummaries(*kept, summarizeConfiguration(edited.session.windows(), forms::Mode::Beacon)),
              (std::vector<SummaryDifference>{{"BcnMsgText", "Beacon Text", std::nullopt, "HELLO", "GOODBYE"}}));
    EXPECT_EQ(backupSummary(files, unknownMode), std::nullopt);
    EXPECT_EQ(backupSummary(files, beacon.substr(0, 127)), std::nullopt);

    const storage::FileError denied{storage::error::kPermissionDenied, "Permission denied"};
    files.readErrors[kFolder] = denied;
    EXPECT_EQ(std::get<storage::FileError>(listBackups(files, kFolder)), denied);
}

} // namespace
} // namespace qm::shell
