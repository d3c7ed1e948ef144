// The vq3 commands. Each starts from the state the program has right after start-up and returns its
// exit status; output goes to the streams given.
#pragma once

#include "forms/MessageBox.h"
#include "storage/FileSystem.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace CLI
{
class App;
class Option;
} // namespace CLI

namespace qm::cli
{

struct Streams
{
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

/// Reports a refusal (as {"error": box} on standard output with --json, else the box on standard error) and returns
/// the exit status given.
int failWith(const forms::MessageBox& box, bool json, int status, Streams streams);

struct CompileOptions
{
    std::string config;
    std::string output;
    bool hex = false;
    bool json = false;
    /// Fields changed after the file is opened: "NAME=VALUE", "NAME@N=VALUE" for profile N.
    std::vector<std::string> settings = {};
};

struct DecodeOptions
{
    std::string image;
    std::string output;
    bool hex = false;
    bool json = false;
};

/// Adds the command line of vq3 compile to app; its values land in options, which must outlive app.
CLI::App* addCompileCommand(CLI::App& app, CompileOptions& options);

/// Adds the command line of vq3 decode to app; its values land in options, which must outlive app.
CLI::App* addDecodeCommand(CLI::App& app, DecodeOptions& options);

/// Adds --set, the field changes made after a configuration file is opened, to a command.
CLI::Option* addSetOption(CLI::App& command, std::vector<std::string>& settings);

/// vq3 compile: opens a configuration file and prints its download stream.
int runCompile(const CompileOptions& options, storage::FileSystem& files, Streams streams);

/// vq3 decode: decodes an image as a read does and prints the configuration file a save would write.
int runDecode(const DecodeOptions& options, storage::FileSystem& files, Streams streams);

} // namespace qm::cli
