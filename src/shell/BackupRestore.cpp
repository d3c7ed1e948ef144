// Choosing a backup to bring back into the windows.
#include "shell/BackupRestore.h"

#include "forms/ProfileEditing.h"
#include "shell/ImageSummary.h"

#include <cstdio>

namespace qm::shell
{

std::vector<std::string> backupColumns(const BackupEntry& entry)
{
    const LocalTime& time = entry.name.time;
    char when[32];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    const BackupName& name = entry.name;
    std::string unit = name.firmware ? name.model + " firmware " + std::to_string(*name.firmware) : name.model;
    std::string mode = "(damaged)";
    if (entry.mode) {
        const auto known = forms::modeOfCode(*entry.mode);
        mode = known ? modeName(*known) : "mode " + std::to_string(*entry.mode);
    }
    return {when, unit, mode, entry.callsign.empty() ? reports::kNone : entry.callsign, backupEventText(name)};
}

std::vector<std::string> backupDifferences(const Session& session, const BackupEntry& entry)
{
    const auto backup = entry.imageBytes.empty() ? std::nullopt : summarizeImage(entry.imageBytes);
    if (!backup || !entry.configurationPath)
        return {"This backup holds no configuration the program can open."};
    forms::Windows windows = session.windows();
    forms::storeShownNmeaProfile(windows);
    forms::storeShownTrackingProfile(windows);
    const reports::ConfigurationSummary shown =
        reports::summarizeConfiguration(windows, session.state().currentMode.value_or(backup->mode));
    const std::vector<reports::SummaryDifference> differences = reports::compareSummaries(shown, *backup);
    if (differences.empty())
        return {"The backup holds what the windows hold."};
    std::vector<std::string> lines;
    lines.reserve(differences.size());
    for (const auto& difference : differences)
        lines.push_back(differenceText(difference));
    return lines;
}

std::string visibleValue(const std::string& value)
{
    std::string text;
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            text += "\\r";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\t') {
            text += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            text += escaped;
        } else {
            text.push_back(c);
        }
    }
    return text;
}

std::string differenceText(const reports::SummaryDifference& difference)
{
    std::string line = difference.profile ? "Profile " + std::to_string(*difference.profile) + " " : "";
    return line + difference.label + ": " + visibleValue(difference.a) + " -> " + visibleValue(difference.b);
}

} // namespace qm::shell
