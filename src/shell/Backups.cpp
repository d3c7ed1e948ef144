// Backups of everything a unit held.
#include "shell/Backups.h"

#include "forms/Text.h"
#include "image/ImageFields.h"
#include "shell/MDIForm1.h"
#include "storage/ConfigFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace qm::shell
{

namespace
{

constexpr const char* kRawExtension = ".bin";
constexpr const char* kConfigurationExtension = ".vq3";
/// "20261206-084512-123-": date, time and milliseconds ahead of the model.
constexpr std::string_view kStampPattern = "dddddddd-dddddd-ddd-";

const char* transactionName(link::Transaction transaction)
{
    switch (transaction) {
    case link::Transaction::Identification:
        return "identify";
    case link::Transaction::Read:
        return "read";
    case link::Transaction::Write:
        return "write";
    }
    return "read";
}

bool isBackupStem(const std::string& stem)
{
    if (stem.size() <= kStampPattern.size())
        return false;
    for (std::size_t i = 0; i < kStampPattern.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(stem[i])) != 0;
        if (kStampPattern[i] == 'd' ? !digit : stem[i] != kStampPattern[i])
            return false;
    }
    return true;
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

std::string backupStem(const LocalTime& time, const std::string& modelName, link::Transaction transaction)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d-%03d-", time.year, time.month, time.day, time.hour,
                  time.minute, time.second, time.millisecond);
    std::string model = forms::trimSpaces(modelName);
    // The name must stay one file name whatever byte a custom unit reports.
    for (char& c : model)
        if (c == '/' || std::iscntrl(static_cast<unsigned char>(c)) != 0)
            c = '_';
    if (model.empty())
        model = "unknown";
    return stamp + model + "-" + transactionName(transaction);
}

std::optional<std::string> decodedConfiguration(storage::FileSystem& files, const std::string& imageBytes)
{
    if (imageBytes.size() != image::kImageSize)
        return std::nullopt;
    MDIForm1 program(files);
    program.startUp();
    program.module().UploadData = imageBytes;
    program.ParseDataFromvq3();
    if (program.module().CurrentMode < 0 || program.module().CurrentMode >= forms::kModeCount)
        return std::nullopt;
    return storage::joinLines(program.configurationLines());
}

Backups::Backups(storage::FileSystem& files, Clock& clock, std::string folder, int keep)
    : m_files(files), m_clock(clock), m_folder(std::move(folder)), m_keep(keep)
{}

std::vector<std::string> Backups::stems()
{
    auto listing = m_files.listFolder(m_folder);
    std::vector<std::string> found;
    if (auto* names = std::get_if<std::vector<std::string>>(&listing)) {
        const std::string extension = kRawExtension;
        for (const auto& name : *names) {
            if (!name.ends_with(extension))
                continue;
            std::string stem = name.substr(0, name.size() - extension.size());
            if (isBackupStem(stem))
                found.push_back(std::move(stem));
        }
    }
    // The names begin with the time, so they sort in the order they were made; a second backup of the same
    // millisecond carries a suffix and sorts after the first.
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::string> Backups::stemsHolding(const std::vector<std::string>& stems, const std::string& imageBytes)
{
    std::vector<std::string> holding;
    for (const auto& stem : stems) {
        auto bytes = m_files.readFile(m_folder + "/" + stem + kRawExtension);
        if (auto* read = std::get_if<std::string>(&bytes); read != nullptr && *read == imageBytes)
            holding.push_back(stem);
    }
    return holding;
}

std::string Backups::unusedStem(const std::string& stem)
{
    std::string candidate = stem;
    for (int n = 2; m_files.fileExists(m_folder + "/" + candidate + kRawExtension); ++n)
        candidate = stem + "-" + std::to_string(n);
    return candidate;
}

std::optional<storage::FileError> Backups::record(link::Transaction transaction, const std::string& modelName,
                                                  const std::string& imageBytes)
{
    if (m_folder.empty())
        return storage::FileError{storage::error::kPathNotFound,
                                  "There is no folder for backups: neither XDG_DATA_HOME nor HOME is set."};
    if (auto error = m_files.makePrivateFolder(m_folder))
        return error;
    const auto earlier = stemsHolding(stems(), imageBytes);
    const std::string stem = unusedStem(backupStem(m_clock.now(), modelName, transaction));
    const std::string path = m_folder + "/" + stem;
    if (auto error = m_files.writePrivateFileAtomically(path + kRawExtension, imageBytes))
        return error;
    if (const auto configuration = decodedConfiguration(m_files, imageBytes))
        if (auto error = m_files.writePrivateFileAtomically(path + kConfigurationExtension, *configuration))
            return error;
    // The earlier copies go only once the new one is complete: a failure leaves one too many, never none.
    for (const auto& old : earlier)
        if (auto error = remove(old))
            return error;
    return prune();
}

std::optional<storage::FileError> Backups::remove(const std::string& stem)
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

std::string Backups::find(const std::string& imageBytes)
{
    if (m_folder.empty())
        return {};
    const auto all = stems();
    for (auto stem = all.rbegin(); stem != all.rend(); ++stem) {
        const std::string path = m_folder + "/" + *stem;
        auto bytes = m_files.readFile(path + kRawExtension);
        if (auto* held = std::get_if<std::string>(&bytes); held == nullptr || *held != imageBytes)
            continue;
        return m_files.fileExists(path + kConfigurationExtension) ? path + kConfigurationExtension
                                                                  : path + kRawExtension;
    }
    return {};
}

std::optional<storage::FileError> Backups::prune()
{
    const auto all = stems();
    if (all.size() <= static_cast<std::size_t>(m_keep))
        return std::nullopt;
    const auto surplus = all.size() - static_cast<std::size_t>(m_keep);
    for (std::size_t i = 0; i < surplus; ++i)
        if (auto error = remove(all[i]))
            return error;
    return std::nullopt;
}

} // namespace qm::shell
