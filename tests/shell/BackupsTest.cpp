// Backups of what a unit held: where and under which names they are kept, each configuration once, the newest
// kept, what a write replaced marked, and how they are listed and compared before a restore.
#include "shell/Backups.h"
#include "ShellRig.h"
#include "fakes/FakeClock.h"
#include "reports/ConfigurationSummary.h"
#include "shell/BackupRestore.h"
#include "shell/ImageSummary.h"

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

TEST(BackupNamesTest, NamesOfThisAndOfEarlierVersionsReadBackWhole)
{
    const LocalTime t{2026, 12, 6, 8, 45, 12, 123};
    const LocalTime old{2025, 1, 31, 23, 59, 58, 7};
    const std::pair<std::string, std::optional<BackupName>> cases[] = {
        {backupStem(42, t, "VQ-3+ ", 2, Transaction::Write),
         {{"20261206-084512-123", t, "VQ-3+", 2, Transaction::Write, false, 42}}},
        {"000042-20261206-084512-123-VQ-3-fw1-read-before-write-2",
         {{"20261206-084512-123", t, "VQ-3", 1, Transaction::Read, true, 42}}},
        {"1234567-20261206-084512-123-VQ-3-fw1-read",
         {{"20261206-084512-123", t, "VQ-3", 1, Transaction::Read, false, 1234567}}},
        {"20261206-084512-123-VQ-3-fw1-read-before-write-2",
         {{"20261206-084512-123", t, "VQ-3", 1, Transaction::Read, true}}},
        {"20250131-235958-007-VQ-3+-read", {{"20250131-235958-007", old, "VQ-3+", std::nullopt, Transaction::Read}}},
        {"20250131-235958-007-Custom", {{"20250131-235958-007", old, "Custom", std::nullopt, std::nullopt}}},
        // A firmware is a byte: three digits at most; more belong to a custom unit's model name.
        {"20250131-235958-007-X-fw255-read", {{"20250131-235958-007", old, "X", 255, Transaction::Read}}},
        {"20250131-235958-007-X-fw1234-read",
         {{"20250131-235958-007", old, "X-fw1234", std::nullopt, Transaction::Read}}},
        {"20250131-235958-07-VQ-3-read", std::nullopt},
        {"000042-20250131-235958-07-VQ-3-read", std::nullopt},
        {"x00042-20250131-235958-007-VQ-3-read", std::nullopt},
    };
    for (const auto& [stem, name] : cases)
        EXPECT_EQ(parseBackupStem(stem), name) << stem;
    EXPECT_EQ(backupStem(42, t, "VQ-3+ ", 2, Transaction::Write), "000042-20261206-084512-123-VQ-3+-fw2-write");
    // Whatever a unit reports as its model, the name stays one file's name: a slash or a control byte becomes "_".
    for (const auto& [model, kept] : {std::pair{"VQ/3", "VQ_3"}, {"VQ\x01-3", "VQ_-3"}, {" ", "unknown"}})
        EXPECT_EQ(backupStem(1, t, model, 2, Transaction::Read),
                  "000001-20261206-084512-123-" + std::string(kept) + "-fw2-read")
            << model;
}

TEST_F(BackupsTest, KeepsTheRawBytesAndTheConfigurationFileTheyDecodeTo)
{
    for (const std::string example : {"telemetry.vq3", "beacon.vq3", "nmea.vq3", "tracking.vq3", "alarm.vq3"}) {
        files.files.clear();
        const std::string image = rig::compiledImage(example);
        const std::string stem = kFolder + "/" + backupStem(1, clock.time, "VQ-3+ ", 2, Transaction::Read);
        record(Transaction::Read, image);
        EXPECT_EQ(files.files[stem + ".bin"], image) << example;
        EXPECT_EQ(files.files[stem + ".vq3"], rig::example(example)) << example;
    }
    files.files.clear();
    files.privateFiles.clear();
    const std::string stem = backupStem(1, clock.time, "", 0, Transaction::Identification);
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
    EXPECT_EQ(names(), (Names{"000001-20261206-084512-123-VQ-3+-fw2-identify-before-write.bin",
                              "000001-20261206-084512-123-VQ-3+-fw2-identify-before-write.vq3",
                              "000005-20261206-084512-127-VQ-3+-fw2-read-before-write.bin",
                              "000005-20261206-084512-127-VQ-3+-fw2-read-before-write.vq3",
                              "000007-20261206-084512-129-VQ-3-fw1-identify.bin",
                              "000007-20261206-084512-129-VQ-3-fw1-identify.vq3"}));
    EXPECT_EQ(files.files[kFolder + "/000001-20261206-084512-123-VQ-3+-fw2-identify-before-write.vq3"],
              rig::example("beacon.vq3"));
    EXPECT_EQ(files.files[kFolder + "/000005-20261206-084512-127-VQ-3+-fw2-read-before-write.bin"], tracking);
    EXPECT_EQ(files.files[kFolder + "/000007-20261206-084512-129-VQ-3-fw1-identify.vq3"], rig::example("alarm.vq3"));
    EXPECT_EQ(files.privateFiles.size(), 6u);
}

TEST_F(BackupsTest, BackupsAreListedInTheOrderTakenWhateverTheClockSaysAndEarlierVersionsNamesFirst)
{
    // Left by earlier versions, with and without the firmware in the name.
    files.files[kFolder + "/20280101-000000-000-VQ-3+-read.bin"] = beacon;
    files.files[kFolder + "/20250101-000000-000-VQ-3+-fw2-identify-before-write.bin"] = tracking;
    clock.stepMs = 0;
    record(Transaction::Read, alarm);
    record(Transaction::Read, unknownMode);
    clock.time.day = 1;
    record(Transaction::Read, rig::compiledImage("nmea.vq3"));
    // Two copies racing for one number: the later sorts after the first.
    files.files[kFolder + "/000003-20261201-084512-123-VQ-3+-fw2-read-2.bin"] = rig::compiledImage("telemetry.vq3");
    auto listed = std::get<std::vector<BackupEntry>>(listBackups(files, kFolder));
    Names stems;
    for (const auto& entry : listed)
        stems.push_back(entry.stem);
    EXPECT_EQ(stems, (Names{"000003-20261201-084512-123-VQ-3+-fw2-read-2", "000003-20261201-084512-123-VQ-3+-fw2-read",
                            "000002-20261206-084512-123-VQ-3+-fw2-read", "000001-20261206-084512-123-VQ-3+-fw2-read",
                            "20280101-000000-000-VQ-3+-read", "20250101-000000-000-VQ-3+-fw2-identify-before-write"}));
    EXPECT_EQ(listed[4].imageBytes, beacon);
    EXPECT_EQ(listed[4].name.firmware, std::nullopt);
    EXPECT_TRUE(listed[5].name.beforeWrite);
}

TEST_F(BackupsTest, AClockSetBackNeitherPrunesTheNewestBackupNorLosesWhatAWriteReplaced)
{
    const auto variant = [this](int n) {
        std::string bytes = beacon;
        bytes[100] = static_cast<char>('A' + n % 26);
        bytes[101] = static_cast<char>('A' + n / 26);
        return bytes;
    };
    clock.time.year = 2027;
    record(Transaction::Identification, variant(0));
    for (int n = 1; n <= 100; ++n)
        record(Transaction::Write, variant(n));
    // The program starts again a day behind the clock it ran by; the unit holds the last write.
    clock.time = {2026, 12, 5, 8, 0, 0, 0};
    Backups restarted(files, clock, kFolder);
    ASSERT_FALSE(restarted.record(Transaction::Identification, "VQ-3+ ", 2, variant(100)));
    ASSERT_FALSE(restarted.record(Transaction::Write, "VQ-3+ ", 2, alarm));
    auto listed = std::get<std::vector<BackupEntry>>(listBackups(files, kFolder));
    ASSERT_EQ(listed.size(), 100u);
    EXPECT_EQ(listed[0].imageBytes, alarm);
    EXPECT_EQ(listed[1].imageBytes, variant(100));
    EXPECT_TRUE(listed[1].name.beforeWrite);
    EXPECT_EQ(listed[1].name.transaction, Transaction::Identification);
    EXPECT_EQ(listed[99].imageBytes, variant(2));
    // Nothing the program keeps is pruned as it is taken, however many it keeps.
    Backups one(files, clock, kFolder, 1);
    ASSERT_FALSE(one.record(Transaction::Read, "VQ-3+ ", 2, tracking));
    ASSERT_FALSE(one.record(Transaction::Write, "VQ-3+ ", 2, beacon));
    listed = std::get<std::vector<BackupEntry>>(listBackups(files, kFolder));
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].imageBytes, beacon);
    EXPECT_EQ(listed[1].imageBytes, tracking);
    EXPECT_TRUE(listed[1].name.beforeWrite);
}

TEST_F(BackupsTest, KeepsTheNewestConfigurationsAndNothingElseOfTheFolderGoes)
{
    const std::string variants[] = {beacon, tracking, alarm, unknownMode};
    const std::pair<std::string, Names> cases[] = {
        {rig::compiledImage("nmea.vq3"), {"new", "001", "002"}},
        {beacon, {"new", "001", "002"}},
        {alarm, {"new", "000", "001"}},
    };
    for (const auto& [recorded, expected] : cases) {
        files.files.clear();
        files.files[kFolder + "/notes.txt"] = "mine";
        for (int n = 0; n < 3; ++n) {
            files.files[kFolder + "/20250101-000000-00" + std::to_string(n) + "-VQ-3+-read.bin"] = variants[n];
            files.files[kFolder + "/20250101-000000-00" + std::to_string(n) + "-VQ-3+-read.vq3"] = "lines";
        }
        Backups three(files, clock, kFolder, 3);
        ASSERT_FALSE(three.record(Transaction::Write, "VQ-3+ ", 2, recorded));
        Names kept;
        for (const auto& name : names())
            if (name.ends_with(".bin"))
                kept.push_back(name.starts_with("2025") ? name.substr(16, 3) : "new");
        EXPECT_EQ(kept, expected);
        EXPECT_EQ(files.files[kFolder + "/notes.txt"], "mine");
    }
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
    EXPECT_EQ(backups.markHeldBeforeWrite(tracking),
              kFolder + "/000001-20261206-084512-123-VQ-3+-fw2-read-before-write.vq3");
    EXPECT_EQ(backups.markHeldBeforeWrite(rig::compiledImage("nmea.vq3")), "");
    EXPECT_EQ(Backups(files, clock, "").markHeldBeforeWrite(tracking), "");
    // A write whose replaced configuration no backup holds any more is kept all the same.
    record(Transaction::Read, alarm);
    std::erase_if(files.files, [this](const auto& file) { return file.second == alarm; });
    record(Transaction::Write, unknownMode);
}

TEST_F(BackupsTest, ADifferenceIsNamedByItsFieldOrItsByteAndABackupWithoutItsFileHasNone)
{
    rig::Loaded shown(rig::exampleLines("beacon.vq3"));
    const std::string none = "This backup holds no configuration the program can open.";
    const std::pair<BackupEntry, std::string> entries[] = {
        {{"b", {}, beacon, 1, "TEST", "/b.bin", "/b.vq3"}, "The backup holds what the windows hold."},
        {{"b", {}, beacon, 1, "TEST", "/b.bin", std::nullopt}, none},
        {{"b", {}, "", {}, "", "/b.bin", "/b.vq3"}, none},
    };
    for (const auto& [entry, said] : entries)
        EXPECT_EQ(backupDifferences(shown.session, entry), std::vector<std::string>{said});
    // A read-back names the first field that differs, or else the first byte by its number from 1.
    std::size_t byteNamed = 0;
    for (std::size_t i = 0; i < beacon.size(); ++i) {
        std::string readBack = beacon;
        readBack[i] = static_cast<char>(readBack[i] ^ 0x40);
        const std::string said = describeReadBackDifference(beacon, readBack);
        if (said.starts_with("byte ")) {
            ++byteNamed;
            EXPECT_TRUE(said.starts_with("byte " + std::to_string(i + 1) + " (written hex ")) << said;
        }
    }
    EXPECT_GT(byteNamed, 0u);
    const std::string written = beacon.substr(0, 127) + "x";
    EXPECT_EQ(describeReadBackDifference(written, beacon.substr(0, 127)),
              "its length (written 128 bytes, read back 127)");
    // A profile's path not chosen reads "(none)"; one outside the list is named by its position.
    rig::Loaded nmea(rig::exampleLines("nmea.vq3"));
    nmea.session.saveShownProfiles();
    const auto before = reports::summarizeConfiguration(nmea.session.windows(), forms::Mode::Nmea);
    nmea.session.windows().nmea.store.entry(2).Path = {"-1", "99", "0", "-1"};
    const auto after = reports::summarizeConfiguration(nmea.session.windows(), forms::Mode::Nmea);
    EXPECT_EQ(after.profiles.at(1).at(1).value, "(none)");
    EXPECT_EQ(after.profiles.at(1).at(2).value, "position 99 (not in the list)");
    for (const auto& difference : reports::compareSummaries(before, after))
        EXPECT_EQ(difference.profile, 2) << difference.label;
}

} // namespace
} // namespace qm::shell
