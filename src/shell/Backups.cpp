// Backups of everything a unit held.
#include "shell/Backups.h"

#include "image/Decode.h"
#include "image/DecodedImage.h"
#include "image/Encoding.h"
#include "image/ImageFields.h"
#include "storage/ConfigFile.h"

#include <algorithm>

namespace qm::shell
{

namespace
{

constexpr const char* kRawExtension = ".bin";
constexpr const char* kConfigurationExtension = ".vq3";

/// The backups in one folder: finding, keeping, marking and removing them.
class BackupShelf
{
public:
    BackupShelf(storage::FileSystem& files, const std::string& folder) : m_files(files), m_folder(folder) {}

    /// Returns the stems of the backups in the folder, oldest first (see takenBefore).
    std::vector<std::string> stems();
    /// Returns the number the next backup takes: one more than the highest among the stems.
    static long long nextSequence(const std::vector<std::string>& stems);
    /// Returns the stems of the backups whose raw bytes are these.
    std::vector<std::string> stemsHolding(const std::vector<std::string>& stems, const std::string& imageBytes);
    std::string unusedStem(const std::string& stem);
    /// Keeps the bytes (and their configuration file, when there is one) under a stem.
    std::optional<storage::FileError> keep(const std::string& stem, const std::string& imageBytes,
                                           const std::optional<std::string>& configuration);
    /// Marks the newest backup holding the bytes as read before a write; returns its stem.
    std::variant<std::string, storage::FileError> markStem(const std::string& imageBytes);
    /// Marks as markStem does; returns the path of its file.
    std::variant<std::string, storage::FileError> markReadBeforeWrite(const std::string& imageBytes);
    /// Removes the backup's raw bytes and, when it has one, its configuration file.
    std::optional<storage::FileError> remove(const std::string& stem);
    /// Removes the oldest backups beyond the number to keep, never one of those spared.
    std::optional<storage::FileError> prune(int count, const std::vector<std::string>& spared);

private:
    storage::FileSystem& m_files;
    const std::string& m_folder;
};

std::vector<std::string> BackupShelf::stems()
{
    auto listing = m_files.listFolder(m_folder);
    std::vector<std::pair<std::string, BackupName>> found;
    if (auto* names = std::get_if<std::vector<std::string>>(&listing)) {
        const std::string extension = kRawExtension;
        for (const auto& name : *names) {
            if (!name.ends_with(extension))
                continue;
            std::string stem = name.substr(0, name.size() - extension.size());
            if (auto parsed = parseBackupStem(stem))
                found.emplace_back(std::move(stem), std::move(*parsed));
        }
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return takenBefore(a.first, a.second, b.first, b.second); });
    std::vector<std::string> stems;
    stems.reserve(found.size());
    for (auto& [stem, name] : found)
        stems.push_back(std::move(stem));
    return stems;
}

long long BackupShelf::nextSequence(const std::vector<std::string>& stems)
{
    long long newest = 0;
    for (const auto& stem : stems)
        if (const auto name = parseBackupStem(stem); name && name->sequence)
            newest = std::max(newest, *name->sequence);
    return newest + 1;
}

std::vector<std::string> BackupShelf::stemsHolding(const std::vector<std::string>& stems, const std::string& imageBytes)
{
    std::vector<std::string> holding;
    for (const auto& stem : stems) {
        auto bytes = m_files.readFile(m_folder + "/" + stem + kRawExtension);
        if (auto* read = std::get_if<std::string>(&bytes); read != nullptr && *read == imageBytes)
            holding.push_back(stem);
    }
    return holding;
}

std::string BackupShelf::unusedStem(const std::string& stem)
{
    std::string candidate = stem;
    for (int n = 2; m_files.fileExists(m_folder + "/" + candidate + kRawExtension); ++n)
        candidate = stem + "-" + std::to_string(n);
    return candidate;
}

std::optional<storage::FileError> BackupShelf::keep(const std::string& stem, const std::string& imageBytes,
                                                    const std::optional<std::string>& configuration)
{
    const std::string path = m_folder + "/" + stem;
    if (auto error = m_files.writePrivateFileAtomically(path + kRawExtension, imageBytes))
        return error;
    if (configuration)
        if (auto error = m_files.writePrivateFileAtomically(path + kConfigurationExtension, *configuration))
            return error;
    return std::nullopt;
}

std::variant<std::string, storage::FileError> BackupShelf::markStem(const std::string& imageBytes)
{
    const auto holding = stemsHolding(stems(), imageBytes);
    if (holding.empty())
        return storage::FileError{storage::error::kFileNotFound,
                                  "No backup in " + m_folder + " holds the configuration the unit held."};
    const std::string& stem = holding.back();
    const auto name = parseBackupStem(stem);
    if (!name || name->beforeWrite)
        return stem;
    const std::string path = m_folder + "/" + stem;
    std::optional<std::string> configuration;
    if (auto read = m_files.readFile(path + kConfigurationExtension); std::holds_alternative<std::string>(read))
        configuration = std::get<std::string>(read);
    std::string kept = unusedStem(beforeWriteStem(stem, *name));
    if (auto error = keep(kept, imageBytes, configuration))
        return *error;
    if (auto error = remove(stem))
        return *error;
    return kept;
}

std::variant<std::string, storage::FileError> BackupShelf::markReadBeforeWrite(const std::string& imageBytes)
{
    auto marked = markStem(imageBytes);
    if (auto* error = std::get_if<storage::FileError>(&marked))
        return *error;
    const std::string path = m_folder + "/" + std::get<std::string>(marked);
    if (m_files.fileExists(path + kConfigurationExtension))
        return path + kConfigurationExtension;
    return path + kRawExtension;
}

std::optional<storage::FileError> BackupShelf::remove(const std::string& stem)
{
    const std::string path = m_folder + "/" + stem;
    if (auto error = m_files.removeFile(path + kRawExtension))
        return error;
    // A backup whose bytes held no mode the program can save has no configuration file.
    if (m_files.fileExists(path + kConfigurationExtension))
        if (auto error = m_files.removeFile(path + kConfigurationExtension))
            return error;
    return std::nullopt;
}

std::optional<storage::FileError> BackupShelf::prune(int count, const std::vector<std::string>& spared)
{
    const auto all = stems();
    if (all.size() <= static_cast<std::size_t>(count))
        return std::nullopt;
    auto surplus = all.size() - static_cast<std::size_t>(count);
    for (std::size_t i = 0; i < all.size() && surplus > 0; ++i) {
        if (std::find(spared.begin(), spared.end(), all[i]) != spared.end())
            continue;
        if (auto error = remove(all[i]))
            return error;
        --surplus;
    }
    return std::nullopt;
}

} // namespace

std::string backupFolder(const char* xdgDataHome, const char* home)
{
    // A relative XDG_DATA_HOME is invalid and ignored.
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/')
        return std::string(xdgDataHome) + "/quellmark/backups";
    if (home != nullptr && home[0] != '\0')
        return std::string(home) + "/.local/share/quellmark/backups";
    return {};
}

std::optional<std::string> decodedConfiguration(const std::string& imageBytes)
{
    const auto decoded = image::decodeImage(imageBytes);
    const auto* configuration = std::get_if<image::DecodedImage>(&decoded);
    if (configuration == nullptr)
        return std::nullopt;
    return storage::joinLines(storage::configurationLines(configuration->windows, configuration->mode));
}

std::variant<std::vector<BackupEntry>, storage::FileError> listBackups(storage::FileSystem& files,
                                                                       const std::string& folder)
{
    auto listing = files.listFolder(folder);
    if (auto* error = std::get_if<storage::FileError>(&listing)) {
        if (error->number == storage::error::kPathNotFound)
            return std::vector<BackupEntry>{};
        return *error;
    }
    std::vector<BackupEntry> entries;
    for (const auto& fileName : std::get<std::vector<std::string>>(listing)) {
        if (!fileName.ends_with(kRawExtension))
            continue;
        const std::string stem = fileName.substr(0, fileName.size() - std::string_view(kRawExtension).size());
        auto name = parseBackupStem(stem);
        if (!name)
            continue;
        BackupEntry entry{stem, std::move(*name), {}, std::nullopt, {}, folder + "/" + fileName, std::nullopt};
        auto bytes = files.readFile(entry.rawPath);
        if (auto* read = std::get_if<std::string>(&bytes); read != nullptr && read->size() == image::kImageSize) {
            entry.imageBytes = *read;
            image::ImageFields fields;
            image::splitUpload(entry.imageBytes, fields);
            entry.mode = image::modeCode(fields.modeByte);
            // A callsign shorter than its six bytes is padded with NULs, which no listing shows.
            entry.callsign = image::untilNul(fields.stationCallsign);
        }
        const std::string configuration = folder + "/" + stem + kConfigurationExtension;
        if (files.fileExists(configuration))
            entry.configurationPath = configuration;
        entries.push_back(std::move(entry));
    }
    // Newest first, in the order taken (see BackupShelf::stems).
    std::sort(entries.begin(), entries.end(),
              [](const BackupEntry& a, const BackupEntry& b) { return takenBefore(b.stem, b.name, a.stem, a.name); });
    return entries;
}

forms::MessageBox unkeptBackupBox(const UnkeptBackup& unkept)
{
    std::string reason = unkept.reason;
    if (reason.ends_with('.'))
        reason.pop_back();
    const std::string where = unkept.folder.empty() ? "" : " in " + unkept.folder;
    return forms::messageBox("No Backup",
                             "The configuration the VQ-3 holds now could not be kept as a backup" + where + " (" +
                                 reason +
                                 ").\r\n\r\nIf you write now, that configuration is kept nowhere and cannot be "
                                 "brought back. Write anyway?",
                             forms::Icon::Warning, forms::Buttons::YesNoDefaultNo);
}

std::string earlierConfigurationSentence(const std::string& path)
{
    return "The configuration the unit held before this write is kept in " + path + ".";
}

std::variant<std::string, storage::FileError> markReadBeforeWrite(storage::FileSystem& files, const std::string& folder,
                                                                  const std::string& imageBytes)
{
    return BackupShelf(files, folder).markReadBeforeWrite(imageBytes);
}

std::optional<std::string> keptBeforeWriteSentence(storage::FileSystem& files, const std::string& folder,
                                                   const std::string& unitBytes)
{
    if (folder.empty() || unitBytes.size() != image::kImageSize)
        return std::nullopt;
    auto marked = markReadBeforeWrite(files, folder, unitBytes);
    if (const auto* path = std::get_if<std::string>(&marked))
        return earlierConfigurationSentence(*path);
    return std::nullopt;
}

Backups::Backups(storage::FileSystem& files, Clock& clock, std::string folder, int keep)
    : m_files(files), m_clock(clock), m_folder(std::move(folder)), m_keep(keep)
{}

std::optional<storage::FileError> Backups::record(link::Transaction transaction, const std::string& modelName,
                                                  int firmware, const std::string& imageBytes)
{
    // What the unit held until now is known even when this backup cannot be kept.
    const std::optional<std::string> replaced =
        transaction == link::Transaction::Write && m_unitHolds != imageBytes ? m_unitHolds : std::nullopt;
    m_unitHolds = imageBytes;
    if (m_folder.empty())
        return storage::FileError{
            storage::error::kPathNotFound,
            "There is no folder for backups: neither XDG_DATA_HOME nor HOME names a folder of this user."};
    if (auto error = m_files.makePrivateFolder(m_folder))
        return error;
    BackupShelf shelf(m_files, m_folder);
    const auto all = shelf.stems();
    const auto earlier = shelf.stemsHolding(all, imageBytes);
    // Numbered in the order taken, whatever the clock says: a clock set back must not make this the oldest.
    const std::string stem =
        shelf.unusedStem(backupStem(BackupShelf::nextSequence(all), m_clock.now(), modelName, firmware, transaction));
    if (auto error = shelf.keep(stem, imageBytes, decodedConfiguration(imageBytes)))
        return error;
    // The earlier copies go only once the new one is complete: a failure leaves one too many, never none.
    for (const auto& old : earlier)
        if (auto error = shelf.remove(old))
            return error;
    std::vector<std::string> spared{stem};
    if (replaced) {
        auto marked = shelf.markStem(*replaced);
        if (auto* error = std::get_if<storage::FileError>(&marked)) {
            if (error->number != storage::error::kFileNotFound)
                return *error;
        } else {
            spared.push_back(std::get<std::string>(marked));
        }
    }
    // Neither the backup just taken nor what the write replaced is ever pruned.
    return shelf.prune(m_keep, spared);
}

std::string Backups::markHeldBeforeWrite(const std::string& imageBytes)
{
    if (m_folder.empty())
        return {};
    auto marked = markReadBeforeWrite(imageBytes);
    const auto* path = std::get_if<std::string>(&marked);
    return path != nullptr ? *path : std::string();
}

std::variant<std::string, storage::FileError> Backups::markReadBeforeWrite(const std::string& imageBytes)
{
    return BackupShelf(m_files, m_folder).markReadBeforeWrite(imageBytes);
}

} // namespace qm::shell
