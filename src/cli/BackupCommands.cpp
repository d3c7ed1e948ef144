// The vq3 command backups.
#include "cli/BackupCommands.h"

#include "cli/Output.h"
#include "cli/Show.h"
#include "image/DecodedImage.h"
#include "reports/ConfigurationSummary.h"
#include "shell/BackupRestore.h"
#include "shell/Backups.h"
#include "storage/ConfigFile.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ostream>
#include <variant>

namespace qm::cli
{

namespace
{

using Json = nlohmann::ordered_json;

std::string isoDateTime(const shell::LocalTime& time)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second, time.millisecond);
    return text;
}

std::string transactionWord(const shell::BackupName& name)
{
    if (!name.transaction)
        return {};
    switch (*name.transaction) {
    case link::Transaction::Identification:
        return "identification";
    case link::Transaction::Read:
        return "read";
    case link::Transaction::Write:
        return "write";
    }
    return {};
}

Json entryToJson(const shell::BackupEntry& entry, int number)
{
    const auto nullable = [](const auto& value) { return value ? Json(*value) : Json(nullptr); };
    Json json = Json::object();
    json["number"] = number;
    json["name"] = latin1ToUtf8(entry.stem);
    json["time"] = isoDateTime(entry.name.time);
    json["model"] = latin1ToUtf8(entry.name.model);
    json["firmware"] = nullable(entry.name.firmware);
    json["mode"] = nullable(entry.mode);
    const auto mode = entry.mode ? forms::modeOfCode(*entry.mode) : std::nullopt;
    json["modeName"] = mode ? Json(forms::modeName(*mode)) : Json(nullptr);
    json["callsign"] = latin1ToUtf8(entry.callsign);
    const std::string transaction = transactionWord(entry.name);
    json["transaction"] = transaction.empty() ? Json(nullptr) : Json(transaction);
    json["beforeWrite"] = entry.name.beforeWrite;
    json["configuration"] = entry.configurationPath ? Json(latin1ToUtf8(*entry.configurationPath)) : Json(nullptr);
    json["raw"] = latin1ToUtf8(entry.rawPath);
    return json;
}

int list(const std::vector<shell::BackupEntry>& entries, const std::string& folder, bool json, Streams streams)
{
    if (json) {
        Json backups = Json::array();
        for (std::size_t i = 0; i < entries.size(); ++i)
            backups.push_back(entryToJson(entries[i], static_cast<int>(i) + 1));
        Json report = Json::object();
        report["folder"] = latin1ToUtf8(folder);
        report["backups"] = backups;
        streams.out << report.dump() << '\n';
        return kDone;
    }
    if (entries.empty()) {
        streams.out << latin1ToUtf8("No backups in " + folder + " yet.") << '\n';
        return kDone;
    }
    streams.out << latin1ToUtf8("Backups in " + folder + ", newest first:") << '\n';
    std::vector<std::vector<std::string>> rows{{"No.", "Date and time", "Unit", "Mode", "Callsign", "What happened"}};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        rows.push_back({std::to_string(i + 1)});
        for (const std::string& column : shell::backupColumns(entries[i]))
            rows.back().push_back(column);
    }
    printTable(streams.out, rows);
    return kDone;
}

/// Finds a backup by its number in the list or by its name (with or without its extension).
std::variant<const shell::BackupEntry*, forms::MessageBox> find(const std::vector<shell::BackupEntry>& entries,
                                                                const std::string& folder, const std::string& backup)
{
    const bool number = !backup.empty() && backup.size() <= 9 && std::all_of(backup.begin(), backup.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
    if (number) {
        const auto n = std::stoul(backup);
        if (n >= 1 && n <= entries.size())
            return &entries[n - 1];
        if (entries.empty())
            return errorBox("There is no backup " + backup + ": " + folder + " holds none.");
        return errorBox("There is no backup " + backup + ": " + folder + " holds " + std::to_string(entries.size()) +
                        (entries.size() == 1
                             ? " backup, number 1."
                             : " backups, numbered 1 (the newest) to " + std::to_string(entries.size()) + "."));
    }
    for (const auto& entry : entries)
        if (backup == entry.stem || backup == entry.stem + ".bin" || backup == entry.stem + ".vq3")
            return &entry;
    return errorBox("There is no backup " + backup + " in " + folder +
                    ". Name a backup by its number in the list (1 is the newest) or by its name.");
}

/// A backup refused with its box and exit status.
using Refusal = std::pair<forms::MessageBox, int>;

/// The configuration a backup's bytes decode to, or why it has none.
std::variant<image::DecodedImage, Refusal> decodedBackup(const shell::BackupEntry& entry)
{
    if (entry.imageBytes.empty())
        return Refusal{errorBox("The backup " + entry.stem + " is damaged: " + entry.rawPath +
                                " does not hold the 128 bytes of a configuration."),
                       static_cast<int>(kInputError)};
    auto decoded = image::decodeImage(entry.imageBytes);
    if (auto* configuration = std::get_if<image::DecodedImage>(&decoded))
        return std::move(*configuration);
    return Refusal{errorBox("The backup " + entry.stem + " holds mode code " + std::to_string(entry.mode.value_or(0)) +
                            ", which is none of Telemetry (0), Beacon (1), NMEA (2), Tracking (3) and Alarm (4)."),
                   static_cast<int>(kRefused)};
}

int show(const shell::BackupEntry& entry, bool json, Streams streams)
{
    const auto decoded = decodedBackup(entry);
    if (const auto* refused = std::get_if<Refusal>(&decoded))
        return failWith(refused->first, json, refused->second, streams);
    // The bytes are decoded as a read decodes them, and then shown as the file they decode to is.
    const auto& configuration = std::get<image::DecodedImage>(decoded);
    return printConfiguration(configuration.windows, configuration.mode, json, streams.out);
}

int restore(storage::FileSystem& files, const shell::BackupEntry& entry, const std::string& output, bool json,
            Streams streams)
{
    const auto decoded = decodedBackup(entry);
    if (const auto* refused = std::get_if<Refusal>(&decoded))
        return failWith(refused->first, json, refused->second, streams);
    const auto& configuration = std::get<image::DecodedImage>(decoded);
    const std::string text = storage::joinLines(storage::configurationLines(configuration.windows, configuration.mode));
    if (!output.empty())
        if (auto error = files.writeFileAtomically(output, text))
            return failWith(storage::writeErrorBox(*error), json, kInputError, streams);
    if (json) {
        Json report = Json::object();
        report["backup"] = latin1ToUtf8(entry.stem);
        report["mode"] = entry.mode.value_or(0);
        Json lines = Json::array();
        for (const auto& line : storage::splitLines(text))
            lines.push_back(latin1ToUtf8(line));
        report["lines"] = lines;
        if (!output.empty())
            report["file"] = latin1ToUtf8(output);
        streams.out << report.dump() << '\n';
    } else if (output.empty()) {
        streams.out << text;
    }
    return kDone;
}

} // namespace

int runBackups(const BackupsOptions& options, storage::FileSystem& files, const std::string& folder, Streams streams)
{
    if (folder.empty())
        return failWith(
            errorBox("There is no folder for backups: neither XDG_DATA_HOME nor HOME names a folder of this user."),
            options.json, kInputError, streams);
    auto listed = shell::listBackups(files, folder);
    if (auto* error = std::get_if<storage::FileError>(&listed))
        return failWith(errorBox("Cannot read the backups in " + folder + ": " + error->reason + "."), options.json,
                        kInputError, streams);
    const auto& entries = std::get<std::vector<shell::BackupEntry>>(listed);
    if (options.action == BackupsOptions::Action::List)
        return list(entries, folder, options.json, streams);
    auto found = find(entries, folder, options.backup);
    if (auto* box = std::get_if<forms::MessageBox>(&found))
        return failWith(*box, options.json, kInputError, streams);
    const shell::BackupEntry& entry = *std::get<const shell::BackupEntry*>(found);
    if (options.action == BackupsOptions::Action::Show)
        return show(entry, options.json, streams);
    return restore(files, entry, options.output, options.json, streams);
}

CLI::App* addBackupsCommand(CLI::App& app, BackupsOptions& options)
{
    CLI::App* command = app.add_subcommand(
        "backups", "List the backups of what units held, newest first (1 is the newest); show or restore one");
    command->add_flag("--json", options.json, "Print one JSON object");

    CLI::App* show = command->add_subcommand("show", "Print a backup as vq3 show prints a file");
    show->add_option("N", options.backup, "The backup's number in the list, or its name")->required();
    show->add_flag("--json", options.json, "Print one JSON object");
    show->callback([&options] { options.action = BackupsOptions::Action::Show; });

    CLI::App* restore =
        command->add_subcommand("restore", "Write a backup as a configuration file, ready for vq3 write");
    restore->add_option("N", options.backup, "The backup's number in the list, or its name")->required();
    restore->add_option("-o,--output", options.output, "The configuration file to write (default stdout)");
    restore->add_flag("--json", options.json, "Print one JSON object");
    restore->callback([&options] { options.action = BackupsOptions::Action::Restore; });
    return command;
}

} // namespace qm::cli
