// The set-ups the program's tests share: the bundled example files, a configuration opened in a session, its
// compiled image, and a started program with a recording link.
#pragma once

#include "fakes/MemoryFileSystem.h"
#include "fakes/RecordingLink.h"
#include "fakes/ScriptedUi.h"
#include "shell/Program.h"
#include "shell/Session.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qm::shell::rig
{

inline const std::string kIni = "/opt/quellmark/vq3.ini";
inline const std::string kOptions = "/home/user/.config/quellmark/quellmark.conf";

/// Chooses the menu item with this object name, as a click on it does.
inline void chooseMenuItem(Program& program, std::string_view name)
{
    if (const auto item = forms::menuItemNamed(name))
        program.menuCommand(*item);
    else
        ADD_FAILURE() << "no menu item " << name;
}

using Lines = std::vector<std::string>;
/// File lines to replace, by index.
using Changes = std::vector<std::pair<std::size_t, std::string>>;

inline std::string example(const std::string& name)
{
    std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

/// The example's lines with the changes made.
inline Lines exampleLines(const std::string& name, const Changes& changes = {})
{
    Lines lines = storage::splitLines(example(name));
    for (const auto& [index, value] : changes)
        lines.at(index) = value;
    return lines;
}

/// vq3.ini of a settled account: port, callsign, baud indexes 0, delay 6, tail 2, then the welcome choice.
inline std::string iniFile(const std::string& port = "1", const std::string& welcome = "FALSE")
{
    return storage::joinLines({port, "N0CALL", "0", "0", "6", "2", welcome, "Reserved", "Reserved", "Reserved"});
}

/// A session at its start-up defaults that has opened the lines as a configuration file.
struct Loaded
{
    explicit Loaded(const Lines& lines)
    {
        files.files["/c.vq3"] = storage::joinLines(lines);
        session.startUp();
        EXPECT_EQ(session.openConfigurationFile("/c.vq3").kind, Session::OpenOutcome::Kind::Loaded);
    }

    fakes::MemoryFileSystem files;
    Session session{files};
};

/// The 128 bytes the configuration compiles to, as a unit holds them.
inline std::string compiledImage(const Lines& lines)
{
    Loaded loaded(lines);
    loaded.session.saveShownProfiles();
    const auto compiled = loaded.session.checkAndCompile();
    EXPECT_FALSE(compiled.refusal);
    return compiled.downloadImage.substr(1);
}

inline std::string compiledImage(const std::string& example)
{
    return compiledImage(exampleLines(example));
}

/// A program over files in memory, a scripted user and a link that records what it is asked; start() runs the
/// start-up on vq3.ini and clears what the user saw.
struct ProgramRig
{
    void start(const std::string& ini = iniFile())
    {
        files.files[kIni] = ini;
        ASSERT_TRUE(program.start());
        ui.calls.clear();
        ui.boxes.clear();
    }

    void clearRecords()
    {
        ui.calls.clear();
        ui.boxes.clear();
        ui.dialogs.clear();
        link.calls.clear();
    }

    bool modified() const { return program.session().document().modified(program.session().windows()); }

    fakes::MemoryFileSystem files;
    fakes::ScriptedUi ui;
    std::optional<fakes::RecordingLink> madeLink;
    Program program{
        files, ui, Environment{{"/opt/quellmark", "/home/user/.config/quellmark"}, "/home/user", {}},
        [this](Session& session, IniSettings&) -> LinkRequests& { return madeLink.emplace(session.state()); }};
    fakes::RecordingLink& link = *madeLink;
    forms::Windows& w = program.session().windows();
    ProgramState& state = program.session().state();
};

} // namespace qm::shell::rig
