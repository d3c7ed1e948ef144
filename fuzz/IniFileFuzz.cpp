// Fuzz target: the initialization-file load at start-up on arbitrary bytes, with the first-run prompts answered.
// The load ends (the prompts stop once answered), keeps the lines it does not understand when it writes the
// answers back, and Memorize Defaults after it writes a file that, loaded and memorized again, stays the same.
#include "fakes/MemoryFileSystem.h"
#include "fakes/ScriptedUi.h"
#include "fuzz/FuzzCheck.h"
#include "shell/IniSettings.h"
#include "shell/Session.h"
#include "storage/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace
{

using qm::fuzz::require;

const std::string kPath = "/config/quellmark/vq3.ini";

/// Answers the serial-port prompt with 1 and the callsign prompt with a callsign; counts the prompts.
class AnsweringUi : public qm::fakes::ScriptedUi
{
public:
    int prompts = 0;

    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override
    {
        ScriptedUi::inputBox(prompt, title, defaultText);
        ++prompts;
        require(prompts < 100, "the start-up prompts kept asking after they were answered");
        return title == "Serial Port Selection" ? "1" : "N0CALL";
    }
};

/// Loads the file as the program does at start-up, then memorizes the defaults; returns the file written.
std::string loadAndMemorize(qm::fakes::MemoryFileSystem& files)
{
    AnsweringUi ui;
    qm::shell::Session form(files);
    form.startUp();
    qm::shell::IniSettings ini(form, ui, files, kPath);
    const std::string before = files.files.at(kPath);
    const auto read = qm::storage::readIniFile(files, kPath);
    require(ini.loadSettings(), "the load ended the program although every prompt was answered");
    if (const auto* lines = std::get_if<qm::storage::IniLines>(&read); lines && files.files.at(kPath) != before) {
        const auto written = qm::storage::readIniFile(files, kPath);
        require(std::holds_alternative<qm::storage::IniLines>(written), "the answers were written as a broken file");
        const auto& again = std::get<qm::storage::IniLines>(written);
        for (std::size_t i = 2; i <= 6; ++i)
            require(again[i] == (*lines)[i], "writing the first-run answers lost a line of the file");
    }
    ini.saveDefaults();
    return files.files.at(kPath);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    qm::fakes::MemoryFileSystem files;
    files.files[kPath] = std::string(reinterpret_cast<const char*>(data), size);
    loadAndMemorize(files);
    const std::string second = loadAndMemorize(files);
    require(std::holds_alternative<qm::storage::IniLines>(qm::storage::readIniFile(files, kPath)),
            "Memorize Defaults wrote a file that does not load");
    const std::string third = loadAndMemorize(files);
    require(third == second, "the memorized defaults changed between two loads");
    return 0;
}
