// The vq3 commands compile and decode.
#include "cli/Commands.h"

#include "cli/Output.h"
#include "cli/Show.h"
#include "image/DecodedImage.h"
#include "image/ImageFields.h"
#include "shell/ControlSettings.h"
#include "shell/Session.h"
#include "storage/ConfigFile.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <variant>

namespace qm::cli
{

namespace
{

/// Reports a refusal or an input error: JSON {"error": box} on stdout, or the box on stderr.
/// Writes the bytes to the output file, or to stdout when none is named.
int emit(const std::string& bytes, const std::string& output, storage::FileSystem& files, bool json, Streams streams)
{
    if (output.empty()) {
        streams.out << bytes;
        return kDone;
    }
    if (auto error = files.writeFileAtomically(output, bytes))
        return failWith(storage::writeErrorBox(*error), json, kInputError, streams);
    return kDone;
}

/// Reads standard input to its end, refusing more than a file may hold.
std::variant<std::string, forms::MessageBox> readStandardInput(std::istream& in)
{
    std::string bytes;
    char chunk[64 * 1024];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > storage::kMaxReadBytes)
            return errorBox("Cannot read standard input: it does not end within " +
                            std::to_string(storage::kMaxReadBytes / (1024 * 1024)) + " MiB.");
    }
    if (in.bad())
        return errorBox("Cannot read standard input.");
    return bytes;
}

std::variant<std::string, forms::MessageBox> readInput(const std::string& path, storage::FileSystem& files,
                                                       Streams streams)
{
    if (path == "-")
        return readStandardInput(streams.in);
    auto contents = files.readFile(path);
    if (auto* error = std::get_if<storage::FileError>(&contents))
        return errorBox("Cannot read " + path + ": " + error->reason);
    return std::get<std::string>(contents);
}

} // namespace

int failWith(const forms::MessageBox& box, bool json, int status, Streams streams)
{
    if (json)
        streams.out << nlohmann::json{{"error", boxToJson(box)}}.dump() << '\n';
    else
        printBox(streams.err, box);
    return status;
}

int runCompile(const CompileOptions& options, storage::FileSystem& files, Streams streams)
{
    shell::Session program(files);
    program.startUp();
    if (auto failure = openConfiguration(program, options.config, options.settings))
        return failWith(failure->box, options.json, failure->status, streams);
    const image::CompileResult compiled = program.checkAndCompile();
    if (compiled.refusal)
        return failWith(*compiled.refusal, options.json, kRefused, streams);
    const std::string& stream = compiled.downloadImage;
    if (options.json) {
        streams.out << nlohmann::json{{"image", toHex(stream)}}.dump() << '\n';
        return kDone;
    }
    if (options.hex)
        return emit(toHex(stream) + "\n", options.output, files, false, streams);
    return emit(stream, options.output, files, false, streams);
}

int runDecode(const DecodeOptions& options, storage::FileSystem& files, Streams streams)
{
    auto input = readInput(options.image, files, streams);
    if (auto* box = std::get_if<forms::MessageBox>(&input))
        return failWith(*box, options.json, kInputError, streams);
    std::string bytes = std::get<std::string>(input);
    if (options.hex) {
        auto decoded = fromHex(bytes);
        if (!decoded)
            return failWith(errorBox("The image is not hex text: two hex digits a byte, white space between."),
                            options.json, kInputError, streams);
        bytes = *decoded;
    }
    if (bytes.size() == image::kDownloadSize && bytes.front() == 'D')
        bytes.erase(0, 1);
    if (bytes.size() != image::kImageSize)
        return failWith(errorBox("An image is 128 bytes, or 129 bytes beginning with \"D\"; this one has " +
                                 std::to_string(bytes.size()) + "."),
                        options.json, kInputError, streams);

    const auto decoded = image::decodeImage(bytes);
    if (const auto* refusal = std::get_if<image::DecodeRefusal>(&decoded))
        return failWith(errorBox("The image holds mode code " + std::to_string(refusal->modeCode.value_or(0)) +
                                 ", which is none of Telemetry (0), Beacon (1), NMEA (2), Tracking (3) "
                                 "and Alarm (4)."),
                        options.json, kRefused, streams);
    const auto& configuration = std::get<image::DecodedImage>(decoded);
    const int mode = forms::codeOfMode(configuration.mode);
    const auto lines = storage::configurationLines(configuration.windows, configuration.mode);
    if (options.json) {
        if (!options.output.empty())
            if (int status = emit(storage::joinLines(lines), options.output, files, true, streams); status != kDone)
                return status;
        nlohmann::json jsonLines = nlohmann::json::array();
        for (const auto& line : lines)
            jsonLines.push_back(latin1ToUtf8(line));
        streams.out << nlohmann::json{{"mode", mode}, {"lines", jsonLines}}.dump() << '\n';
        return kDone;
    }
    return emit(storage::joinLines(lines), options.output, files, false, streams);
}

CLI::Option* addSetOption(CLI::App& command, std::vector<std::string>& settings)
{
    return command
        .add_option("--set", settings,
                    "Change a field after opening the file: NAME=VALUE, or NAME@N=VALUE for profile N (repeatable)")
        ->allow_extra_args(false);
}

CLI::App* addCompileCommand(CLI::App& app, CompileOptions& options)
{
    CLI::App* command = app.add_subcommand("compile", "Print the 129-byte download stream of a configuration file");
    command->add_option("CONFIG", options.config, "Configuration file (*.vq3)")->required();
    command->add_option("-o,--output", options.output, "Write the stream to this file instead of stdout");
    command->add_flag("--hex", options.hex, "Print the stream as hex text");
    command->add_flag("--json", options.json, "Print one JSON object");
    addSetOption(*command, options.settings);
    return command;
}

CLI::App* addDecodeCommand(CLI::App& app, DecodeOptions& options)
{
    CLI::App* command =
        app.add_subcommand("decode", "Decode a 128-byte image as a read does and print its configuration file");
    command->add_option("IMAGE", options.image, "Image file (128 bytes, or 129 beginning with D); - for stdin")
        ->required();
    command->add_option("-o,--output", options.output, "Write the configuration file here instead of stdout");
    command->add_flag("--hex", options.hex, "The image is hex text");
    command->add_flag("--json", options.json, "Print one JSON object");
    return command;
}

} // namespace qm::cli
