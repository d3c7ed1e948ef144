// The vq3 commands show and diff.
#include "cli/Show.h"

#include "cli/Output.h"
#include "shell/BackupRestore.h"
#include "shell/ControlSettings.h"
#include "shell/PacketPreview.h"
#include "shell/Session.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace qm::cli
{

namespace
{

using Json = nlohmann::ordered_json;

/// Control bytes in a value (a line break in a beacon text) would break the layout: they are shown escaped.
std::string visible(const std::string& value)
{
    return shell::visibleValue(value);
}

std::string padded(const std::string& text, std::size_t width)
{
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string trimmedRight(std::string line)
{
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

void printItems(std::ostream& out, const std::vector<reports::SummaryItem>& items)
{
    std::size_t width = 0;
    for (const auto& item : items)
        width = std::max(width, item.label.size() + 1);
    for (const auto& item : items)
        out << latin1ToUtf8(trimmedRight(padded(item.label + ":", width) + " " + visible(item.value))) << '\n';
}

void printProfiles(std::ostream& out, const std::vector<std::vector<reports::SummaryItem>>& profiles)
{
    if (profiles.empty())
        return;
    std::vector<std::vector<std::string>> rows(1, {"Profile"});
    for (const auto& item : profiles.front())
        rows.front().push_back(item.label);
    for (std::size_t k = 0; k < profiles.size(); ++k) {
        rows.push_back({std::to_string(k + 1)});
        for (const auto& item : profiles[k])
            rows.back().push_back(visible(item.value));
    }
    out << '\n';
    printTable(out, rows);
}

/// The packet header each profile sends (with the Tracking symbol), then one line for each piece of advice.
void printPackets(std::ostream& out, const shell::PacketPreview& preview)
{
    if (preview.refusal) {
        out << "\nNo packet header: the configuration does not compile. ";
        printBox(out, *preview.refusal);
    } else if (preview.packets.size() == 1) {
        out << "\nPacket Header: " << latin1ToUtf8(visible(preview.packets.front().header)) << '\n';
    } else if (!preview.packets.empty()) {
        const bool symbols = preview.packets.front().symbol.has_value();
        std::vector<std::vector<std::string>> rows{{"Profile", "Packet Header"}};
        if (symbols)
            rows.front().push_back("Symbol");
        for (const auto& packet : preview.packets) {
            rows.push_back({std::to_string(packet.profile), visible(packet.header)});
            if (packet.symbol)
                rows.back().push_back(visible(shell::symbolText(*packet.symbol)));
        }
        out << '\n';
        printTable(out, rows);
    }
    if (!preview.advice.empty())
        out << '\n';
    for (const auto& advice : preview.advice)
        out << "Advice: " << latin1ToUtf8(advice) << '\n';
}

Json packetsToJson(const shell::PacketPreview& preview)
{
    Json packets = Json::array();
    for (const auto& packet : preview.packets) {
        Json json = Json::object();
        json["profile"] = packet.profile;
        json["header"] = latin1ToUtf8(packet.header);
        if (packet.symbol) {
            Json symbol = Json::object();
            symbol["table"] = latin1ToUtf8(std::string(1, packet.symbol->table));
            symbol["code"] =
                packet.symbol->code == '\0' ? Json(nullptr) : Json(latin1ToUtf8(std::string(1, packet.symbol->code)));
            symbol["name"] = packet.symbol->name.empty() ? Json(nullptr) : Json(packet.symbol->name);
            json["symbol"] = symbol;
        }
        packets.push_back(json);
    }
    return packets;
}

Json itemsToJson(const std::vector<reports::SummaryItem>& items)
{
    Json json = Json::object();
    for (const auto& item : items)
        json[item.control] = latin1ToUtf8(item.value);
    return json;
}

Json summaryToJson(const reports::ConfigurationSummary& summary)
{
    Json json = Json::object();
    json["mode"] = forms::codeOfMode(summary.mode);
    json["modeName"] = forms::modeName(summary.mode);
    for (const auto& item : summary.items)
        if (item.control != "mode")
            json[item.control] = latin1ToUtf8(item.value);
    Json profiles = Json::array();
    for (const auto& profile : summary.profiles)
        profiles.push_back(itemsToJson(profile));
    json["profiles"] = profiles;
    return json;
}

std::string differenceLine(const reports::SummaryDifference& difference)
{
    return latin1ToUtf8(shell::differenceText(difference));
}

Json differenceToJson(const reports::SummaryDifference& difference)
{
    Json json = Json::object();
    json["control"] = difference.control;
    json["label"] = difference.label;
    json["profile"] = difference.profile ? Json(*difference.profile) : Json(nullptr);
    json["a"] = latin1ToUtf8(difference.a);
    json["b"] = latin1ToUtf8(difference.b);
    return json;
}

int loadFailure(const LoadFailure& failure, const std::string& source, bool named, bool json, Streams streams)
{
    if (json) {
        Json report = Json::object();
        report["error"] = boxToJson(failure.box);
        if (named)
            report["file"] = latin1ToUtf8(source);
        if (!failure.reason.empty())
            report["reason"] = latin1ToUtf8(failure.reason);
        streams.out << report.dump() << '\n';
    } else {
        if (named)
            streams.err << source << ": ";
        printBox(streams.err, failure.box);
        if (!failure.reason.empty())
            streams.err << failure.reason << '\n';
    }
    return failure.status;
}

/// A files port that holds one file: what a unit held, loaded as a configuration file is.
class OneFile : public storage::FileSystem
{
public:
    OneFile(std::string path, std::string bytes) : m_path(std::move(path)), m_bytes(std::move(bytes)) {}

    std::variant<std::string, storage::FileError> readFile(const std::string& path) override
    {
        if (path == m_path)
            return m_bytes;
        return storage::FileError{storage::error::kFileNotFound, "No such file or directory"};
    }
    std::optional<storage::FileError> writeFileAtomically(const std::string&, const std::string&) override
    {
        return storage::FileError{storage::error::kPermissionDenied, "Permission denied"};
    }
    bool fileExists(const std::string& path) override { return path == m_path; }

private:
    std::string m_path;
    std::string m_bytes;
};

} // namespace

std::optional<LoadFailure> openConfiguration(shell::Session& program, const std::string& source,
                                             const std::vector<std::string>& settings)
{
    const auto opened = program.openConfigurationFile(source);
    if (opened.kind == shell::Session::OpenOutcome::Kind::Failed)
        return LoadFailure{*opened.box, kInputError, {}};
    if (auto refused = shell::applyControlSettings(program, settings))
        return LoadFailure{*refused, kInputError, {}};
    program.saveShownProfiles();
    return std::nullopt;
}

std::variant<reports::ConfigurationSummary, LoadFailure>
loadSummary(const std::string& source, storage::FileSystem& files, const UnitReader& readUnit)
{
    if (readUnit && source.starts_with(kUnitPrefix)) {
        auto read = readUnit(source.substr(kUnitPrefix.size()));
        if (auto* failure = std::get_if<LoadFailure>(&read))
            return *failure;
        OneFile unit(source, std::get<std::string>(read));
        return loadSummary(source, unit);
    }
    shell::Session program(files);
    program.startUp();
    if (auto failure = openConfiguration(program, source))
        return *failure;
    return reports::summarizeConfiguration(program.windows(), *program.state().currentMode);
}

int printConfiguration(const forms::Windows& windows, forms::Mode mode, bool json, std::ostream& out)
{
    const auto summary = reports::summarizeConfiguration(windows, mode);
    const auto preview = shell::previewConfiguration(windows, mode);
    if (json) {
        Json report = summaryToJson(summary);
        report["packets"] = packetsToJson(preview);
        Json advice = Json::array();
        for (const auto& line : preview.advice)
            advice.push_back(latin1ToUtf8(line));
        report["advice"] = advice;
        if (preview.refusal)
            report["compileRefusal"] = boxToJson(*preview.refusal);
        out << report.dump() << '\n';
        return kDone;
    }
    printItems(out, summary.items);
    printProfiles(out, summary.profiles);
    printPackets(out, preview);
    return kDone;
}

int runShow(const ShowOptions& options, storage::FileSystem& files, Streams streams)
{
    shell::Session program(files);
    program.startUp();
    if (auto failure = openConfiguration(program, options.config, options.settings))
        return loadFailure(*failure, options.config, false, options.json, streams);
    return printConfiguration(program.windows(), *program.state().currentMode, options.json, streams.out);
}

int runDiff(const DiffOptions& options, storage::FileSystem& files, Streams streams, const UnitReader& readUnit)
{
    auto loadedA = loadSummary(options.a, files, readUnit);
    if (auto* failure = std::get_if<LoadFailure>(&loadedA))
        return loadFailure(*failure, options.a, true, options.json, streams);
    auto loadedB = loadSummary(options.b, files, readUnit);
    if (auto* failure = std::get_if<LoadFailure>(&loadedB))
        return loadFailure(*failure, options.b, true, options.json, streams);
    const auto differences = reports::compareSummaries(std::get<reports::ConfigurationSummary>(loadedA),
                                                       std::get<reports::ConfigurationSummary>(loadedB));
    if (options.json) {
        Json list = Json::array();
        for (const auto& difference : differences)
            list.push_back(differenceToJson(difference));
        Json report = Json::object();
        report["same"] = differences.empty();
        report["differences"] = list;
        streams.out << report.dump() << '\n';
    } else {
        for (const auto& difference : differences)
            streams.out << differenceLine(difference) << '\n';
    }
    return differences.empty() ? kDone : kRefused;
}

CLI::App* addShowCommand(CLI::App& app, ShowOptions& options)
{
    CLI::App* command = app.add_subcommand("show", "Print a configuration file as a person reads it");
    command->add_option("CONFIG", options.config, "Configuration file (*.vq3)")->required();
    command->add_flag("--json", options.json, "Print one JSON object, every field by its control name");
    addSetOption(*command, options.settings);
    return command;
}

CLI::App* addDiffCommand(CLI::App& app, DiffOptions& options)
{
    CLI::App* command = app.add_subcommand("diff", "Print what differs between two configurations (exit 1 if any)");
    command->add_option("A", options.a, "First configuration file (*.vq3), or unit:PORT for the unit on PORT")
        ->required();
    command->add_option("B", options.b, "Second configuration file (*.vq3), or unit:PORT for the unit on PORT")
        ->required();
    command->add_flag("--json", options.json, "Print one JSON object");
    return command;
}

} // namespace qm::cli
