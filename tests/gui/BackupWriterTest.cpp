#include "app/BackupWriter.h"
#include "fakes/FakeClock.h"
#include "fakes/MemoryFileSystem.h"

#include <gtest/gtest.h>

#include <string>

namespace qm::app
{
namespace
{

const std::string kFolder = "/home/user/.local/share/quellmark/backups";

std::string image(int seed)
{
    std::string bytes(128, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((static_cast<int>(i) * 7 + seed) % 256);
    bytes[0] = '\x03';
    return bytes;
}

TEST(BackupWriterTest, EveryBackupHandedOverIsWrittenBeforeTheWriterEnds)
{
    fakes::MemoryFileSystem files;
    fakes::FakeClock clock;
    shell::Backups backups(files, clock, kFolder);
    {
        BackupWriter writer(backups);
        writer.record(link::Transaction::Identification, "VQ-3+ ", 2, image(1));
        writer.record(link::Transaction::Read, "VQ-3+ ", 2, image(2));
        writer.record(link::Transaction::Write, "VQ-3+ ", 2, image(3));
    }
    std::string written;
    for (const auto& [path, bytes] : files.files)
        if (path.ends_with(".bin"))
            written += bytes;
    EXPECT_EQ(written, image(1) + image(2) + image(3));
}

TEST(BackupWriterTest, MarksABackupHandedOverJustBefore)
{
    fakes::MemoryFileSystem files;
    fakes::FakeClock clock;
    shell::Backups backups(files, clock, kFolder);
    BackupWriter writer(backups);
    for (int seed = 1; seed <= 20; ++seed)
        writer.record(link::Transaction::Read, "VQ-3+ ", 2, image(seed));
    writer.record(link::Transaction::Identification, "VQ-3+ ", 2, image(99));

    const std::string found = writer.markHeldBeforeWrite(image(99));

    EXPECT_TRUE(found.starts_with(kFolder + "/")) << found;
    EXPECT_TRUE(found.ends_with("-VQ-3+-fw2-identify-before-write.vq3")) << found;
    EXPECT_EQ(writer.markHeldBeforeWrite(image(100)), "");
}

} // namespace
} // namespace qm::app
