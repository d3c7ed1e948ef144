// vq3: the Quellmark Configuration Program on the command line.
#include "cli/Commands.h"
#include "cli/Output.h"
#include "qt/PosixFileSystem.h"

#include <CLI/CLI.hpp>

#include <iostream>

int main(int argc, char** argv)
{
    CLI::App app{"vq3 - configure VQ-3 and VQ-3+ packet-radio units"};
    app.require_subcommand(1);

    qm::cli::CompileOptions compile;
    auto* compileCommand = app.add_subcommand("compile", "Print the 129-byte download stream of a configuration file");
    compileCommand->add_option("CONFIG", compile.config, "Configuration file (*.vq3)")->required();
    compileCommand->add_option("-o,--output", compile.output, "Write the stream to this file instead of stdout");
    compileCommand->add_flag("--hex", compile.hex, "Print the stream as hex text");
    compileCommand->add_flag("--json", compile.json, "Print one JSON object");

    qm::cli::DecodeOptions decode;
    auto* decodeCommand =
        app.add_subcommand("decode", "Decode a 128-byte image as a read does and print its configuration file");
    decodeCommand->add_option("IMAGE", decode.image, "Image file (128 bytes, or 129 beginning with D); - for stdin")
        ->required();
    decodeCommand->add_option("-o,--output", decode.output, "Write the configuration file here instead of stdout");
    decodeCommand->add_flag("--hex", decode.hex, "The image is hex text");
    decodeCommand->add_flag("--json", decode.json, "Print one JSON object");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return qm::cli::kInputError;
    }

    std::ios::sync_with_stdio(false);
    qm::qt::PosixFileSystem files;
    qm::cli::Streams streams{std::cin, std::cout, std::cerr};
    if (*compileCommand)
        return qm::cli::runCompile(compile, files, streams);
    return qm::cli::runDecode(decode, files, streams);
}
