// Writes the backups of the unit's transactions on a thread of their own, so a slow disk (every backup is synced
// to it) never holds the event thread at the end of an identification, a read or a write.
#pragma once

#include "shell/Backups.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace qm::app
{

class BackupWriter
{
public:
    explicit BackupWriter(shell::Backups& backups);
    /// Writes every backup still waiting, then ends the thread.
    ~BackupWriter();

    BackupWriter(const BackupWriter&) = delete;
    BackupWriter& operator=(const BackupWriter&) = delete;

    /// Hands over the bytes of a completed transaction; returns at once. A backup that cannot be written never
    /// interrupts the user's work with the unit; its failure is kept for unkeptBackup.
    void record(link::Transaction transaction, std::string modelName, int firmware, std::string imageBytes);
    /// Returns why the last backup handed over was not kept, when it held these bytes, once every backup handed
    /// over is written; nothing when it was kept or held other bytes.
    std::optional<shell::UnkeptBackup> unkeptBackup(const std::string& imageBytes);
    /// Marks the newest backup holding these bytes as what the unit held before a write and returns its path ("" when
    /// none does), once every backup handed over is written.
    std::string markHeldBeforeWrite(const std::string& imageBytes);

private:
    struct Job
    {
        link::Transaction transaction;
        std::string modelName;
        int firmware = 0;
        std::string imageBytes;
    };

    void run();
    /// Waits, the lock held, until every backup handed over is written.
    void waitUntilIdle(std::unique_lock<std::mutex>& lock);

    shell::Backups& m_backups;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    /// Told when the last job handed over is written.
    std::condition_variable m_idle;
    std::deque<Job> m_jobs;
    bool m_writing = false;
    /// The bytes of the last backup written and why it was not kept (nothing when it was).
    std::string m_lastBytes;
    std::optional<shell::UnkeptBackup> m_lastFailure;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace qm::app
