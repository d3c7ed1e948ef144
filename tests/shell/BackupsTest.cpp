#include "shell/Backups.h"
#include "fakes/FakeClock.h"
#include "fakes/MemoryFileSystem.h"
#include "shell/Session.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>

namespace qm::shell
{
namespace
{

using link::Transaction;

const std::string kFolder = "/home/user/.local/share/quellmark/backups";

std::string exampleFile(const std::string& name)
{
    std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class BackupsTest : public ::testing::Test
{
protected:
    std::string compiledImage(const std::string& example)
    {
        files.files["/examples/" + example] = exampleFile(example);
        Session program(files);
        program.startUp();
        EXPECT_EQ(program.openConfigurationFile("/examples/" + example).kind, Session::OpenOutcome::Kind::Loaded);
        program.saveShownProfiles();
        const auto compiled = program.checkAndCompile();
        EXPECT_FALSE(compiled.refusal);
        return compiled.downloadImage.substr(1);
    }

    std::vector<std::string> names()
    {
        auto listing = files.listFolder(kFolder);
        auto found = std::get<std::vector<std::string>>(listing);
        std::sort(found.begin(), found.end());
        return found;
    }

    fakes::MemoryFileSystem files;
    fakes::FakeClock clock;
    Backups backups{files, clock, kFolder};
};

TEST(BackupFolderTest, FollowsTheDataHomeOrTheHomeFolder)
{
    struct Case
    {
        const char* xdgDataHome;
        const char* home;
        std::string folder;
    };
    const Case cases[] = {
        {"/data", "/home/ann", "/data/quellmark/backups"},
        {"relative/data", "/home/ann", "/home/ann/.local/share/quellmark/backups"},
        {"", "/home/ann", "/home/ann/.local/share/quellmark/backups"},
        {nullptr, "/home/ann", "/home/ann/.local/share/quellmark/backups"},
        {nullptr, nullptr, ""},
        {nullptr, "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(backupFolder(c.xdgDataHome, c.home), c.folder) << (c.xdgDataHome ? c.xdgDataHome : "(unset)");
}

TEST(BackupStemTest, NamesDateTimeModelFirmwareAndTransaction)
{
    const LocalTime time{2026, 3, 7, 9, 5, 2, 45};
    EXPECT_EQ(backupStem(time, "VQ-3+ ", 2, Transaction::Read), "20260307-090502-045-VQ-3+-fw2-read");
    EXPECT_EQ(backupStem(time, "VQ-3 ", 1, Transaction::Write), "20260307-090502-045-VQ-3-fw1-write");
    EXPECT_EQ(backupStem(time, "Custom ", 255, Transaction::Identification),
              "20260307-090502-045-Custom-fw255-identify");
    EXPECT_EQ(backupStem(time, "", 0, Transaction::Read), "20260307-090502-045-unknown-fw0-read");
}

TEST_F(BackupsTest, KeepsTheRawBytesAndTheConfigurationFileTheyDecodeTo)
{
    for (const std::string example : {"telemetry.vq3", "beacon.vq3", "nmea.vq3", "tracking.vq3", "alarm.vq3"}) {
        files.files.clear();
        const std::string image = compiledImage(example);
        const std::string stem = kFolder + "/" + backupStem(clock.time, "VQ-3+ ", 2, Transaction::Read);
        ASSERT_FALSE(backups.record(Transaction::Read, "VQ-3+ ", 2, image)) << example;
        EXPECT_EQ(files.files[stem + ".bin"], image) << example;
        EXPECT_EQ(files.files[stem + ".vq3"], exampleFile(example)) << example;
    }
}

TEST_F(BackupsTest, AnImageOfAnUnknownModeKeepsOnlyItsBytes)
{
    std::string image(128, '\0');
    image[0] = static_cast<char>(0x06);
    ASSERT_FALSE(backups.record(Transaction::Read, "VQ-3+ ", 2, image));
    EXPECT_EQ(names(), std::vector<std::string>{"20261206-084512-123-VQ-3+-fw2-read.bin"});
}

TEST_F(BackupsTest, EachConfigurationIsKeptOnceUnderItsLatestSighting)
{
    const std::string replaced = compiledImage("beacon.vq3");
    const std::string written = compiledImage("tracking.vq3");
    ASSERT_FALSE(backups.record(Transaction::Identification, "VQ-3+ ", 2, replaced));
    ASSERT_FALSE(backups.record(Transaction::Write, "VQ-3+ ", 2, written));
    for (int read = 0; read < 150; ++read)
        ASSERT_FALSE(backups.record(Transaction::Read, "VQ-3+ ", 2, written));
    ASSERT_FALSE(backups.record(Transaction::Identification, "VQ-3 ", 1, written));
    EXPECT_EQ(names(), (std::vector<std::string>{"20261206-084512-123-VQ-3+-fw2-identify-before-write.bin",
                                                 "20261206-084512-123-VQ-3+-fw2-identify-before-write.vq3",
                                                 "20261206-084512-275-VQ-3-fw1-identify.bin",
                                                 "20261206-084512-275-VQ-3-fw1-identify.vq3"}));
    EXPECT_EQ(files.files[kFolder + "/20261206-084512-123-VQ-3+-fw2-identify-before-write.bin"], replaced);
    EXPECT_EQ(files.files[kFolder + "/20261206-084512-123-VQ-3+-fw2-identify-before-write.vq3"],
              exampleFile("beacon.vq3"));
    EXPECT_EQ(files.files[kFolder + "/20261206-084512-275-VQ-3-fw1-identify.bin"], written);
    EXPECT_EQ(files.files[kFolder + "/20261206-084512-275-VQ-3-fw1-identify.vq3"], exampleFile("tracking.vq3"));
}

TEST_F(BackupsTest, CopiesOfOneConfigurationLeftByEarlierVersionsBecomeOne)
{
    const std::string image = compiledImage("beacon.vq3");
    std::string other = image;
    other[20] = 'X';
    for (const char* stem :
         {"20250101-000000-000-VQ-3+-read", "20250101-000000-001-VQ-3+-identify", "20250101-000000-002-VQ-3+-write"}) {
        files.files[kFolder + "/" + stem + ".bin"] = image;
        files.files[kFolder + "/" + stem + ".vq3"] = "lines";
    }
    files.files[kFolder + "/20250101-000000-003-VQ-3+-read.bin"] = other;
    ASSERT_FALSE(backups.record(Transaction::Read, "VQ-3+ ", 2, image));
    EXPECT_EQ(names(),
              (std::vector<std::string>{"20250101-000000-003-VQ-3+-read.bin", "20261206-084512-123-VQ-3+-fw2-read.bin",
                                        "20261206-084512-123-VQ-3+-fw2-read.vq3"}));
}

TEST_F(BackupsTest, KeepsItsFilesForTheUserAlone)
{
    const std::string image = compiledImage("nmea.vq3");
    std::string other = image;
    other[20] = 'X';
    files.files[kFolder + "/20250101-000000-000-VQ-3+-read.bin"] = image;
    ASSERT_FALSE(backups.record(Transaction::Read, "VQ-3+ ", 2, image));
    ASSERT_FALSE(backups.record(Transaction::Write, "VQ-3+ ", 2, other));
    EXPECT_EQ(files.privateFolders, std::set<std::string>{kFolder});
    std::set<std::string> kept;
    for (const auto& name : names())
        kept.insert(kFolder + "/" + name);
    EXPECT_EQ(files.privateFiles, kept);
    EXPECT_EQ(kept.size(), 4u);
}

TEST_F(BackupsTest, MarksTheNewestBackupOfTheBytesAndNamesItsConfigurationFileOrItsRawBytes)
{
    const std::string beacon = compiledImage("beacon.vq3");
    const std::string alarm = compiledImage("alarm.vq3");
    std::string unknownMode(128, '\0');
    unknownMode[0] = static_cast<char>(0x07);
    ASSERT_FALSE(backups.record(Transaction::Identification, "VQ-3+ ", 2, beacon));
    ASSERT_FALSE(backups.record(Transaction::Write, "VQ-3+ ", 2, alarm));
    ASSERT_FALSE(backups.record(Transaction::Read, "VQ-3+ ", 2, beacon));
    ASSERT_FALSE(backups.record(Transaction::Read, "VQ-3+ ", 2, unknownMode));
    struct Case
    {
        std::string bytes;
        std::string found;
    };
    const Case cases[] = {
        {beacon, kFolder + "/20261206-084512-125-VQ-3+-fw2-read-before-write.vq3"},
        {alarm, kFolder + "/20261206-084512-124-VQ-3+-fw2-write-before-write.vq3"},
        {unknownMode, kFolder + "/20261206-084512-126-VQ-3+-fw2-read-before-write.bin"},
        {compiledImage("nmea.vq3"), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(backups.markHeldBeforeWrite(c.bytes), c.found);
    Backups nowhere(files, clock, "");
    EXPECT_EQ(nowhere.markHeldBeforeWrite(beacon), "");
}

TEST_F(BackupsTest, TwoBackupsOfOneMillisecondAreBothKeptInOrder)
{
    clock.stepMs = 0;
    const std::string image = compiledImage("beacon.vq3");
    std::string other = image;
    other[20] = 'X';
    ASSERT_FALSE(backups.record(Transaction::Read, "VQ-3+ ", 2, image));
    ASSERT_FALSE(backups.record(Transaction::Read, "VQ-3+ ", 2, other));
    EXPECT_EQ(files.files[kFolder + "/20261206-084512-123-VQ-3+-fw2-read.bin"], image);
    EXPECT_EQ(files.files[kFolder + "/20261206-084512-123-VQ-3+-fw2-read-2.bin"], other);
    ASSERT_FALSE(backups.record(Transaction::Identification, "VQ-3+ ", 2, other));
    EXPECT_EQ(names().size(), 4u);
}

TEST_F(BackupsTest, KeepsTheNewestHundredConfigurations)
{
    const std::string image = compiledImage("tracking.vq3");
    auto variant = [&image](int n) {
        std::string bytes = image;
        bytes[60] = static_cast<char>(100 + n);
        return bytes;
    };
    struct Case
    {
        std::string recorded;
        std::string oldestKept;
        std::string newestBytes;
    };
    const Case cases[] = {
        {image, "20250101-000000-001-VQ-3+-read", image},
        {variant(0), "20250101-000000-001-VQ-3+-read", variant(0)},
        {variant(50), "20250101-000000-000-VQ-3+-read", variant(50)},
    };
    for (const auto& c : cases) {
        files.files.clear();
        for (int n = 0; n < 100; ++n) {
            char stem[128];
            std::snprintf(stem, sizeof stem, "%s/20250101-000000-%03d-VQ-3+-read", kFolder.c_str(), n);
            files.files[std::string(stem) + ".bin"] = variant(n);
            files.files[std::string(stem) + ".vq3"] = "lines";
        }
        files.files[kFolder + "/notes.txt"] = "mine";
        Backups session(files, clock, kFolder);
        ASSERT_FALSE(session.record(Transaction::Write, "VQ-3+ ", 2, c.recorded));
        const auto kept = names();
        EXPECT_EQ(kept.size(), 201u);
        EXPECT_EQ(kept.front(), c.oldestKept + ".bin");
        std::set<std::string> distinct;
        std::string newest;
        for (const auto& name : kept) {
            if (name.ends_with(".bin")) {
                distinct.insert(files.files[kFolder + "/" + name]);
                newest = name;
            }
        }
        EXPECT_EQ(distinct.size(), 100u);
        EXPECT_EQ(files.files[kFolder + "/" + newest], c.newestBytes);
        EXPECT_EQ(files.files.count(kFolder + "/notes.txt"), 1u);
    }
}

TEST_F(BackupsTest, ReportsWhatStoppedIt)
{
    const std::string image = compiledImage("beacon.vq3");
    const storage::FileError diskFull{storage::error::kDiskFull, "No space left on device"};
    files.folderErrors[kFolder] = diskFull;
    EXPECT_EQ(backups.record(Transaction::Read, "VQ-3+ ", 2, image), diskFull);
    files.folderErrors.clear();
    files.writeErrors[kFolder + "/20261206-084512-123-VQ-3+-fw2-read.vq3"] = diskFull;
    EXPECT_EQ(backups.record(Transaction::Read, "VQ-3+ ", 2, image), diskFull);
    Backups nowhere(files, clock, "");
    EXPECT_TRUE(nowhere.record(Transaction::Read, "VQ-3+ ", 2, image));
}

TEST(BackupNameTest, ReadsTheNamesOfThisAndOfEarlierVersions)
{
    using T = Transaction;
    struct Case
    {
        const char* stem;
        std::optional<BackupName> name;
    };
    const LocalTime time{2026, 12, 6, 8, 45, 12, 123};
    const std::string stamp = "20261206-084512-123";
    const Case cases[] = {
        {"20261206-084512-123-VQ-3+-fw2-read", BackupName{stamp, time, "VQ-3+", 2, T::Read, false}},
        {"20261206-084512-123-VQ-3-fw0-identify-before-write",
         BackupName{stamp, time, "VQ-3", 0, T::Identification, true}},
        {"20261206-084512-123-VQ-3-fw1-write-before-write-3", BackupName{stamp, time, "VQ-3", 1, T::Write, true}},
        {"20261206-084512-123-Custom-fw255-write-2", BackupName{stamp, time, "Custom", 255, T::Write, false}},
        {"20261206-084512-123-VQ-3-read", BackupName{stamp, time, "VQ-3", std::nullopt, T::Read, false}},
        {"20261206-084512-123-VQ-3+-identify-2",
         BackupName{stamp, time, "VQ-3+", std::nullopt, T::Identification, false}},
        {"20261206-084512-123-VQ-3+-fw2-copied", BackupName{stamp, time, "VQ-3+-fw2-copied", std::nullopt, {}, false}},
        {"20261206-084512-123-unknown-fw2-read", BackupName{stamp, time, "unknown", 2, T::Read, false}},
        {"20261206-084512-123-", std::nullopt},
        {"2026120-084512-123-VQ-3+-read", std::nullopt},
        {"notes", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseBackupStem(c.stem), c.name) << c.stem;
}

TEST(BackupNameTest, SaysWhatHappened)
{
    struct Case
    {
        std::optional<Transaction> transaction;
        bool beforeWrite;
        const char* text;
    };
    const Case cases[] = {
        {Transaction::Identification, false, "identification"},
        {Transaction::Identification, true, "identification, before a write"},
        {Transaction::Read, true, "read, before a write"},
        {Transaction::Write, false, "write"},
        {std::nullopt, false, "unknown"},
    };
    for (const auto& c : cases) {
        BackupName name;
        name.transaction = c.transaction;
        name.beforeWrite = c.beforeWrite;
        EXPECT_EQ(backupEventText(name), c.text);
    }
    EXPECT_EQ(earlierConfigurationSentence("/b/x.vq3"),
              "The configuration the unit held before this write is kept in /b/x.vq3.");
}

TEST_F(BackupsTest, AWriteMarksWhatTheUnitHeldBeforeIt)
{
    const std::string beacon = compiledImage("beacon.vq3");
    const std::string tracking = compiledImage("tracking.vq3");
    const std::string alarm = compiledImage("alarm.vq3");
    ASSERT_FALSE(backups.record(Transaction::Identification, "VQ-3+ ", 2, beacon));
    ASSERT_FALSE(backups.record(Transaction::Write, "VQ-3+ ", 2, tracking));
    ASSERT_FALSE(backups.record(Transaction::Write, "VQ-3+ ", 2, tracking));
    ASSERT_FALSE(backups.record(Transaction::Read, "VQ-3+ ", 2, tracking));
    ASSERT_FALSE(backups.record(Transaction::Write, "VQ-3+ ", 2, alarm));
    EXPECT_EQ(names(), (std::vector<std::string>{"20261206-084512-123-VQ-3+-fw2-identify-before-write.bin",
                                                 "20261206-084512-123-VQ-3+-fw2-identify-before-write.vq3",
                                                 "20261206-084512-126-VQ-3+-fw2-read-before-write.bin",
                                                 "20261206-084512-126-VQ-3+-fw2-read-before-write.vq3",
                                                 "20261206-084512-127-VQ-3+-fw2-write.bin",
                                                 "20261206-084512-127-VQ-3+-fw2-write.vq3"}));
    EXPECT_EQ(files.files[kFolder + "/20261206-084512-126-VQ-3+-fw2-read-before-write.vq3"],
              exampleFile("tracking.vq3"));
    EXPECT_EQ(files.privateFiles.size(), 6u);
}

TEST_F(BackupsTest, MarkingNamesTheFileThatHoldsTheEarlierConfiguration)
{
    const std::string beacon = compiledImage("beacon.vq3");
    std::string unknownMode(128, '\0');
    unknownMode[0] = '\x07';
    files.files[kFolder + "/20250101-000000-000-VQ-3+-read.bin"] = beacon;
    files.files[kFolder + "/20250101-000000-000-VQ-3+-read.vq3"] = "old lines";
    files.files[kFolder + "/20250101-000000-001-VQ-3-fw1-identify.bin"] = unknownMode;
    using Result = std::variant<std::string, storage::FileError>;
    EXPECT_EQ(backups.markReadBeforeWrite(beacon),
              Result(kFolder + "/20250101-000000-000-VQ-3+-read-before-write.vq3"));
    EXPECT_EQ(files.files[kFolder + "/20250101-000000-000-VQ-3+-read-before-write.vq3"], "old lines");
    EXPECT_EQ(backups.markReadBeforeWrite(beacon),
              Result(kFolder + "/20250101-000000-000-VQ-3+-read-before-write.vq3"));
    EXPECT_EQ(backups.markReadBeforeWrite(unknownMode),
              Result(kFolder + "/20250101-000000-001-VQ-3-fw1-identify-before-write.bin"));
    EXPECT_EQ(names(), (std::vector<std::string>{"20250101-000000-000-VQ-3+-read-before-write.bin",
                                                 "20250101-000000-000-VQ-3+-read-before-write.vq3",
                                                 "20250101-000000-001-VQ-3-fw1-identify-before-write.bin"}));
    const auto missing = backups.markReadBeforeWrite(compiledImage("alarm.vq3"));
    ASSERT_TRUE(std::holds_alternative<storage::FileError>(missing));
    EXPECT_EQ(std::get<storage::FileError>(missing).number, storage::error::kFileNotFound);
}

TEST_F(BackupsTest, AFailedWriteNamesWhereTheUnitsEarlierConfigurationIsKept)
{
    const std::string beacon = compiledImage("beacon.vq3");
    EXPECT_EQ(keptBeforeWriteSentence(files, kFolder, beacon), std::nullopt);
    ASSERT_FALSE(backups.record(Transaction::Identification, "VQ-3+ ", 2, beacon));
    EXPECT_EQ(keptBeforeWriteSentence(files, "", beacon), std::nullopt);
    EXPECT_EQ(keptBeforeWriteSentence(files, kFolder, beacon.substr(1)), std::nullopt);
    EXPECT_EQ(keptBeforeWriteSentence(files, kFolder, beacon),
              "The configuration the unit held before this write is kept in " + kFolder +
                  "/20261206-084512-123-VQ-3+-fw2-identify-before-write.vq3.");
    EXPECT_EQ(names(), (std::vector<std::string>{"20261206-084512-123-VQ-3+-fw2-identify-before-write.bin",
                                                 "20261206-084512-123-VQ-3+-fw2-identify-before-write.vq3"}));
}

TEST_F(BackupsTest, ABackupComparesWithTheWindowsInTheWordsOfDiff)
{
    const std::string beacon = compiledImage("beacon.vq3");
    auto lines = storage::splitLines(exampleFile("beacon.vq3"));
    lines[22] = "GOODBYE";
    files.files["/edited.vq3"] = storage::joinLines(lines);
    Session windows(files);
    windows.startUp();
    ASSERT_EQ(windows.openConfigurationFile("/edited.vq3").kind, Session::OpenOutcome::Kind::Loaded);
    const auto kept = backupSummary(files, beacon);
    ASSERT_TRUE(kept);
    EXPECT_EQ(compareSummaries(*kept, summarizeConfiguration(windows.windows(), forms::Mode::Beacon)),
              (std::vector<SummaryDifference>{{"BcnMsgText", "Beacon Text", std::nullopt, "HELLO", "GOODBYE"}}));
    std::string unknownMode = beacon;
    unknownMode[0] = '\x06';
    EXPECT_EQ(backupSummary(files, unknownMode), std::nullopt);
    EXPECT_EQ(backupSummary(files, beacon.substr(0, 127)), std::nullopt);
}

TEST_F(BackupsTest, ListsTheBackupsNewestFirstWithWhatTheyHold)
{
    const std::string tracking = compiledImage("tracking.vq3");
    const std::string beacon = compiledImage("beacon.vq3");
    files.files[kFolder + "/20250101-000000-000-VQ-3+-read.bin"] = beacon;
    files.files[kFolder + "/20250101-000000-000-VQ-3+-read.vq3"] = "lines";
    files.files[kFolder + "/20250101-000000-001-VQ-3-fw1-identify-before-write.bin"] = std::string(12, 'x');
    files.files[kFolder + "/20250101-000000-002-Custom-fw9-write.bin"] = tracking;
    files.files[kFolder + "/notes.bin"] = beacon;
    files.files[kFolder + "/20250101-000000-003-VQ-3+-fw2-read.vq3"] = "a file without its bytes";
    auto listing = listBackups(files, kFolder);
    ASSERT_TRUE(std::holds_alternative<std::vector<BackupEntry>>(listing));
    const auto& entries = std::get<std::vector<BackupEntry>>(listing);
    struct Row
    {
        std::string stem;
        std::optional<int> mode;
        std::string callsign;
        bool configuration;
    };
    std::vector<Row> rows;
    for (const auto& entry : entries)
        rows.push_back({entry.stem, entry.mode, entry.callsign, entry.configurationPath.has_value()});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].stem, "20250101-000000-002-Custom-fw9-write");
    EXPECT_EQ(rows[0].mode, 3);
    EXPECT_EQ(rows[0].callsign, "N0CALL");
    EXPECT_FALSE(rows[0].configuration);
    EXPECT_EQ(rows[1].stem, "20250101-000000-001-VQ-3-fw1-identify-before-write");
    EXPECT_EQ(rows[1].mode, std::nullopt);
    EXPECT_TRUE(entries[1].imageBytes.empty());
    EXPECT_EQ(rows[2].stem, "20250101-000000-000-VQ-3+-read");
    EXPECT_EQ(rows[2].mode, 1);
    EXPECT_EQ(rows[2].callsign, "TEST");
    EXPECT_TRUE(rows[2].configuration);
    EXPECT_EQ(entries[2].imageBytes, beacon);
    EXPECT_EQ(entries[2].rawPath, kFolder + "/20250101-000000-000-VQ-3+-read.bin");
    EXPECT_EQ(entries[2].configurationPath, kFolder + "/20250101-000000-000-VQ-3+-read.vq3");
}

TEST_F(BackupsTest, AFolderNotMadeYetHoldsNoBackupsAndAnUnreadableOneSaysWhy)
{
    auto none = listBackups(files, kFolder);
    ASSERT_TRUE(std::holds_alternative<std::vector<BackupEntry>>(none));
    EXPECT_TRUE(std::get<std::vector<BackupEntry>>(none).empty());
    const storage::FileError denied{storage::error::kPermissionDenied, "Permission denied"};
    files.readErrors[kFolder] = denied;
    EXPECT_EQ(std::get<storage::FileError>(listBackups(files, kFolder)), denied);
}

} // namespace
} // namespace qm::shell
