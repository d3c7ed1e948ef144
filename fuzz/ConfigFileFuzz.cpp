// Fuzz target: the five configuration-file loaders on arbitrary bytes (any length, long lines, no line ends, NUL
// bytes, a CR without LF). A load is all or nothing: a failed one leaves every window as it was; a successful one
// saves a file that loads again and saves the same bytes.
#include "fakes/MemoryFileSystem.h"
#include "forms/ProfileEditing.h"
#include "forms/Windows.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/WindowsSnapshot.h"
#include "shell/Session.h"
#include "storage/ConfigFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace
{

using qm::forms::Mode;
using qm::fuzz::require;

/// The windows right after start-up, built once.
const qm::forms::Windows& startedWindows()
{
    static const qm::forms::Windows windows = [] {
        qm::fakes::MemoryFileSystem files;
        qm::shell::Session form(files);
        form.startUp();
        return form.windows();
    }();
    return windows;
}

/// Returns the lines a save writes, the shown profiles stored first as the Save command does.
std::vector<std::string> savedLines(qm::forms::Windows& windows, Mode mode)
{
    qm::forms::storeShownNmeaProfile(windows);
    qm::forms::storeShownTrackingProfile(windows);
    return qm::storage::configurationLines(windows, mode);
}

void loadAs(Mode mode, const std::vector<std::string>& lines)
{
    qm::forms::Windows windows = startedWindows();
    const std::string before = qm::fuzz::snapshot(windows);
    const qm::storage::ListDefaults defaults;
    if (qm::storage::loadConfiguration(mode, windows, lines, defaults)) {
        require(qm::fuzz::snapshot(windows) == before, "a failed load changed the windows");
        return;
    }
    const std::vector<std::string> saved = savedLines(windows, mode);
    require(saved.size() == static_cast<std::size_t>(qm::storage::configurationLineCount(mode)),
            "a save wrote the wrong number of lines");
    const std::string file = qm::storage::joinLines(saved);
    qm::forms::Windows again = startedWindows();
    require(!qm::storage::loadConfiguration(mode, again, qm::storage::splitLines(file), defaults).has_value(),
            "a configuration saved after a load did not load");
    require(qm::storage::joinLines(savedLines(again, mode)) == file, "a saved configuration changed when loaded again");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = qm::storage::splitLines(bytes);
    for (const qm::forms::Mode mode : qm::forms::kModes)
        loadAs(mode, lines);
    return 0;
}
