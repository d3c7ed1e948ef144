// The vq3 commands that talk to a unit.
#include "cli/LinkCommands.h"

#include "cli/LinkSession.h"
#include "cli/Output.h"
#include "cli/Show.h"
#include "shell/Backups.h"
#include "shell/ControlSettings.h"
#include "storage/ConfigFile.h"

#include <cassert>
#include <ostream>

namespace qm::cli
{

namespace
{

/// Reports why the command stopped: {"error": box, "reason", "device"} on stdout, or the box and the reason on
/// stderr.
int report(const LinkFailure& failure, bool json, Streams streams)
{
    if (json) {
        nlohmann::json object{{"error", boxToJson(failure.box)}};
        if (!failure.reason.empty()) {
            object["reason"] = latin1ToUtf8(failure.reason);
            object["device"] = latin1ToUtf8(failure.device);
        }
        streams.out << object.dump() << '\n';
    } else {
        printBox(streams.err, failure.box);
        if (!failure.reason.empty())
            streams.err << (failure.device.empty() ? "" : failure.device + ": ") << failure.reason << '\n';
    }
    return failure.status;
}

std::optional<LinkFailure> badPort(const std::string& port)
{
    if (comNumberOf(port))
        return std::nullopt;
    return LinkFailure{
        errorBox("The port " + port + " is neither a device path nor one of COM1 to COM4."), kInputError, {}, {}};
}

/// Prints the boxes that did not stop the command (the old-firmware warning) on stderr.
void printWarnings(const LinkSession& session, std::ostream& err)
{
    for (const auto& box : session.warnings())
        printBox(err, box);
}

nlohmann::json warningsToJson(const LinkSession& session)
{
    nlohmann::json warnings = nlohmann::json::array();
    for (const auto& box : session.warnings())
        warnings.push_back(boxToJson(box));
    return warnings;
}

/// The configuration the unit holds, read as vq3 read does.
struct UnitConfiguration
{
    UnitIdentity identity;
    forms::Mode mode = forms::Mode::Telemetry;
    std::vector<std::string> lines;
};

std::variant<UnitConfiguration, LinkFailure> readUnit(LinkSession& session)
{
    if (auto failure = session.open())
        return *failure;
    if (auto failure = session.read())
        return *failure;
    shell::Session& program = session.program();
    if (const auto code = program.state().unknownModeCode)
        return LinkFailure{forms::messageBox("Error",
                                             "The unit holds mode code " + std::to_string(*code) +
                                                 ", which is none of Telemetry (0), Beacon (1), NMEA (2), "
                                                 "Tracking (3) and Alarm (4).",
                                             forms::Icon::Warning),
                           kRefused,
                           {},
                           {}};
    // A completed read selects the mode its image names, or keeps the code of one no window edits.
    assert(program.state().currentMode);
    return UnitConfiguration{session.identity(), *program.state().currentMode, program.configurationLines()};
}

} // namespace

int runIdentify(const IdentifyOptions& options, storage::FileSystem& files, const LinkContext& context, Streams streams)
{
    if (auto failure = badPort(options.port))
        return report(*failure, options.json, streams);
    LinkSession session(options.port, files, streams.err, context);
    std::optional<LinkFailure> failure = session.open();
    if (!failure)
        failure = session.identify();
    session.endProgressLine();
    if (failure)
        return report(*failure, options.json, streams);
    const UnitIdentity identity = session.identity();
    if (options.json) {
        nlohmann::json object{{"model", identity.model}, {"firmware", identity.firmware}};
        if (!session.warnings().empty())
            object["warnings"] = warningsToJson(session);
        streams.out << object.dump() << '\n';
    } else {
        printWarnings(session, streams.err);
        streams.out << identity.model << " firmware " << identity.firmware << '\n';
    }
    return kDone;
}

int runRead(const ReadOptions& options, storage::FileSystem& files, const LinkContext& context, Streams streams)
{
    if (auto failure = badPort(options.port))
        return report(*failure, options.json, streams);
    LinkSession session(options.port, files, streams.err, context);
    auto result = readUnit(session);
    session.endProgressLine();
    if (auto* failure = std::get_if<LinkFailure>(&result))
        return report(*failure, options.json, streams);
    const auto& unit = std::get<UnitConfiguration>(result);
    if (!options.json)
        printWarnings(session, streams.err);
    const std::string text = storage::joinLines(unit.lines);
    if (!options.output.empty()) {
        if (auto error = files.writeFileAtomically(options.output, text))
            return report(LinkFailure{storage::writeErrorBox(*error), kInputError, {}, {}}, options.json, streams);
    } else if (!options.json) {
        streams.out << text;
    }
    if (options.json) {
        nlohmann::json lines = nlohmann::json::array();
        for (const auto& line : unit.lines)
            lines.push_back(latin1ToUtf8(line));
        nlohmann::json object{{"model", unit.identity.model},
                              {"firmware", unit.identity.firmware},
                              {"mode", forms::codeOfMode(unit.mode)},
                              {"lines", lines}};
        if (!session.warnings().empty())
            object["warnings"] = warningsToJson(session);
        streams.out << object.dump() << '\n';
    }
    return kDone;
}

int runWrite(const WriteOptions& options, storage::FileSystem& files, const LinkContext& context, Streams streams)
{
    if (auto failure = badPort(options.port))
        return report(*failure, options.json, streams);
    LinkSession session(options.port, files, streams.err, context);
    shell::Session& program = session.program();
    if (auto refused = openConfiguration(program, options.config, options.settings))
        return report(LinkFailure{refused->box, refused->status, {}, {}}, options.json, streams);
    std::optional<LinkFailure> failure = session.open();
    if (!failure)
        failure = session.write(!options.noVerify);
    session.endProgressLine();
    // A link failure after the unit was identified broke off the write: the box says where its earlier
    // configuration is kept, unless it already names the backup (a read-back that differs does).
    if (failure && failure->status == kLinkFailure &&
        (context.backupFolder.empty() || failure->box.text.find(context.backupFolder) == std::string::npos))
        if (auto kept = shell::keptBeforeWriteSentence(files, context.backupFolder, program.state().link.uploadData))
            forms::appendParagraph(failure->box, *kept);
    if (failure)
        return report(*failure, options.json, streams);
    if (options.json) {
        nlohmann::json object{{"ok", true}, {"verified", !options.noVerify}};
        if (!session.warnings().empty())
            object["warnings"] = warningsToJson(session);
        streams.out << object.dump() << '\n';
    } else {
        printWarnings(session, streams.err);
        streams.out << "Download Complete\n";
    }
    return kDone;
}

UnitReader unitReader(storage::FileSystem& files, const LinkContext& context, std::ostream& err)
{
    return [&files, context, &err](const std::string& port) -> std::variant<std::string, LoadFailure> {
        if (auto failure = badPort(port))
            return LoadFailure{failure->box, failure->status, {}};
        LinkSession session(port, files, err, context);
        auto result = readUnit(session);
        session.endProgressLine();
        if (auto* failure = std::get_if<LinkFailure>(&result)) {
            std::string reason = failure->reason;
            if (!reason.empty() && !failure->device.empty())
                reason = failure->device + ": " + reason;
            return LoadFailure{failure->box, failure->status, reason};
        }
        printWarnings(session, err);
        return storage::joinLines(std::get<UnitConfiguration>(result).lines);
    };
}

} // namespace qm::cli
