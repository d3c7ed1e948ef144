// Backups on a thread of their own.
#include "app/BackupWriter.h"

#include <utility>

namespace qm::app
{

BackupWriter::BackupWriter(shell::Backups& backups) : m_backups(backups), m_thread([this] { run(); })
{}

BackupWriter::~BackupWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void BackupWriter::record(link::Transaction transaction, std::string modelName, int firmware, std::string imageBytes)
{
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back({transaction, std::move(modelName), firmware, std::move(imageBytes)});
    }
    m_wake.notify_one();
}

void BackupWriter::waitUntilIdle(std::unique_lock<std::mutex>& lock)
{
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_writing; });
}

std::optional<shell::UnkeptBackup> BackupWriter::unkeptBackup(const std::string& imageBytes)
{
    std::unique_lock lock(m_mutex);
    waitUntilIdle(lock);
    return m_lastBytes == imageBytes ? m_lastFailure : std::nullopt;
}

std::string BackupWriter::markHeldBeforeWrite(const std::string& imageBytes)
{
    std::unique_lock lock(m_mutex);
    waitUntilIdle(lock);
    // Held under the lock, so no backup is written or pruned while the folder is searched.
    return m_backups.markHeldBeforeWrite(imageBytes);
}

void BackupWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty())
            return;
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_writing = true;
        lock.unlock();
        const auto failure = m_backups.record(job.transaction, job.modelName, job.firmware, job.imageBytes);
        lock.lock();
        m_lastBytes = std::move(job.imageBytes);
        m_lastFailure.reset();
        if (failure)
            m_lastFailure = shell::UnkeptBackup{m_backups.folder(), failure->reason};
        m_writing = false;
        if (m_jobs.empty())
            m_idle.notify_all();
    }
}

} // namespace qm::app
