// The user's defaults in vq3.ini: the load at start-up with its first-run prompts, and every writer.
#include "shell/IniSettings.h"

#include "forms/Numbers.h"
#include "forms/PickLists.h"
#include "forms/Text.h"
#include "shell/BaudRates.h"

#include <cmath>
#include <utility>

namespace qm::shell
{

using forms::Mode;
using storage::FileError;

namespace
{

constexpr std::size_t kLineComPort = 0;
constexpr std::size_t kLineMyCall = 1;
constexpr std::size_t kLineInputBaud = 2;
constexpr std::size_t kLineOutputBaud = 3;
constexpr std::size_t kLineTxDelay = 4;
constexpr std::size_t kLineTxTail = 5;
constexpr std::size_t kLineWelcome = 6;

bool isBlank(const std::string& line)
{
    return forms::trimSpaces(line).empty();
}

/// The line's number value as the 16-bit variables hold it (rounded half to even); nothing when it does not fit.
std::optional<int> integerValue(const std::string& line)
{
    const double value = forms::roundHalfEven(forms::numberValue(line));
    if (!std::isfinite(value) || value < -32768.0 || value > 32767.0)
        return std::nullopt;
    return static_cast<int>(value);
}

/// The settings of a first run: no port and the placeholder callsign (both asked for), the lowest baud rates, the
/// recommended delay and tail at 1200 baud, and the welcome window.
storage::IniLines firstRunLines()
{
    return {"0",
            kPlaceholderCall,
            "0",
            "0",
            std::to_string(forms::recommendedTxEntry(false, true)),
            std::to_string(forms::recommendedTxEntry(false, false)),
            "TRUE",
            "Reserved",
            "Reserved",
            "Reserved"};
}

FileError overflow()
{
    return FileError{storage::error::kOverflow, "The value does not fit a 16-bit integer."};
}

FileError invalidListPosition()
{
    return FileError{storage::error::kInvalidPropertyValue, "The pick list has no such position."};
}

/// Selects the position in the delay (or tail) list of each of the five windows, stopping at the first list
/// that does not have it.
std::optional<FileError> selectInEveryWindow(forms::Windows& windows, bool delay, int position)
{
    for (const forms::Mode mode : forms::kModes) {
        forms::StationControls& station = windows.station(mode);
        forms::PickList& list = delay ? station.TxDelay : station.TxTail;
        if (!list.setListIndex(position))
            return invalidListPosition();
    }
    return std::nullopt;
}

} // namespace

IniSettings::IniSettings(Session& session, Ui& ui, storage::FileSystem& files, std::string iniPath)
    : m_session(session), m_ui(ui), m_firstRun(session.state(), ui, *this), m_files(files), m_path(std::move(iniPath))
{}

bool IniSettings::loadSettings()
{
    // Without a settings file the settings start as a first run's and last for this run.
    auto read = m_path.empty() ? std::variant<storage::IniLines, FileError>(firstRunLines())
                               : storage::readIniFile(m_files, m_path);
    if (const auto* missing = std::get_if<FileError>(&read);
        missing && missing->number == storage::error::kFileNotFound) {
        // A fresh account has no settings yet. They start as a file of placeholders, which the first-run prompts
        // below fill in; only a file that cannot be made is reported as missing.
        const storage::IniLines placeholders = firstRunLines();
        if (!storage::writeIniFile(m_files, m_path, placeholders))
            read = placeholders;
    }
    if (auto* failure = std::get_if<FileError>(&read)) {
        showLoadError(*failure);
        return true;
    }
    m_lines = std::get<storage::IniLines>(read);
    ProgramState& state = m_session.state();

    state.link.comPort = static_cast<int>(forms::numberValue(m_lines[kLineComPort].substr(0, 1)));
    // The first-run answers are saved before the file's later lines are applied; those lines are written back as
    // they were read, so the user's baud rates, delays and welcome choice are not lost.
    m_keepUnreadLines = true;
    const bool keepRunning = m_firstRun.askForComPort();
    if (keepRunning) {
        if (const std::string call = forms::trimUpper(m_lines[kLineMyCall]); !call.empty())
            state.myCall = call;
        m_firstRun.askForMyCall();
    }
    m_keepUnreadLines = false;
    if (!keepRunning)
        return false;
    forms::setMyCall(m_session.windows(), state.myCall);

    if (auto failure = applyListLines()) {
        showLoadError(*failure);
        return true;
    }
    seedProfiles();
    applyWelcomeChoice();
    return true;
}

std::optional<FileError> IniSettings::applyListLines()
{
    ProgramState& state = m_session.state();
    forms::Windows& windows = m_session.windows();
    // Lines 3 to 6 in file order, each with the default it sets and what it shows. A blank line leaves its default
    // as it is; a value that is not a number that fits stops the load.
    const std::pair<std::size_t, int forms::WindowDefaults::*> lines[] = {
        {kLineInputBaud, &forms::WindowDefaults::inputBaudIndex},
        {kLineOutputBaud, &forms::WindowDefaults::outputBaudIndex},
        {kLineTxDelay, &forms::WindowDefaults::txDelayIndex},
        {kLineTxTail, &forms::WindowDefaults::txTailIndex},
    };
    for (const auto& [line, setting] : lines) {
        if (isBlank(m_lines[line]))
            continue;
        const auto value = integerValue(m_lines[line]);
        if (!value)
            return overflow();
        state.*setting = *value;
        if (line == kLineInputBaud)
            showInputBaud(windows.main.menus, *value);
        else if (line == kLineOutputBaud)
            showOutputBaud(m_session, *value);
        else if (auto failure = selectInEveryWindow(windows, line == kLineTxDelay, *value))
            return failure;
    }
    return std::nullopt;
}

void IniSettings::seedProfiles()
{
    const ProgramState& state = m_session.state();
    forms::Windows& windows = m_session.windows();
    for (forms::ProfileStore* store : {&windows.nmea.store, &windows.tracking.store}) {
        for (int profile = 1; profile <= forms::kProfileCount; ++profile) {
            store->entry(profile).TxDelay = std::to_string(state.txDelayIndex);
            store->entry(profile).TxTail = std::to_string(state.txTailIndex);
        }
    }
}

void IniSettings::applyWelcomeChoice()
{
    ProgramState& state = m_session.state();
    forms::Windows& windows = m_session.windows();
    state.showWelcome = forms::trimUpper(m_lines[kLineWelcome]) == "TRUE";
    if (!state.showWelcome) {
        windows.main.window.setEnabled(true);
        return;
    }
    windows.welcome.ShowSplashScreen.setValue(1);
    windows.welcome.window.setVisible(true);
    windows.welcome.topmost = true;
}

void IniSettings::showLoadError(const FileError& failure)
{
    m_ui.setMousePointer(Pointer::Normal);
    m_ui.messageBox(storage::iniLoadErrorBox(failure));
}

storage::IniLines IniSettings::linesToWrite() const
{
    const ProgramState& state = m_session.state();
    if (m_keepUnreadLines)
        return {std::to_string(state.link.comPort),
                state.myCall,
                m_lines[kLineInputBaud],
                m_lines[kLineOutputBaud],
                m_lines[kLineTxDelay],
                m_lines[kLineTxTail],
                m_lines[kLineWelcome],
                "Reserved",
                "Reserved",
                "Reserved"};
    return {std::to_string(state.link.comPort),
            state.myCall,
            std::to_string(state.inputBaudIndex),
            std::to_string(state.outputBaudIndex),
            std::to_string(state.txDelayIndex),
            std::to_string(state.txTailIndex),
            m_session.windows().welcome.ShowSplashScreen.isSet() ? "TRUE" : "FALSE",
            "Reserved",
            "Reserved",
            "Reserved"};
}

bool IniSettings::writeAll()
{
    if (m_path.empty())
        return true;
    if (auto failure = storage::writeIniFile(m_files, m_path, linesToWrite())) {
        m_ui.messageBox(storage::iniSaveErrorBox(*failure));
        return false;
    }
    return true;
}

void IniSettings::takeBaudIndexes()
{
    const forms::Menus& menus = m_session.windows().main.menus;
    ProgramState& state = m_session.state();
    state.inputBaudIndex = checkedInputBaud(menus).value_or(state.inputBaudIndex);
    state.outputBaudIndex = checkedOutputBaud(menus).value_or(state.outputBaudIndex);
}

bool IniSettings::saveComPort()
{
    return writeAll();
}

bool IniSettings::saveMyCall()
{
    return writeAll();
}

bool IniSettings::saveInputBaudRate()
{
    ProgramState& state = m_session.state();
    state.inputBaudIndex = checkedInputBaud(m_session.windows().main.menus).value_or(state.inputBaudIndex);
    return writeAll();
}

bool IniSettings::saveOutputBaudRate()
{
    ProgramState& state = m_session.state();
    state.outputBaudIndex = checkedOutputBaud(m_session.windows().main.menus).value_or(state.outputBaudIndex);
    return writeAll();
}

bool IniSettings::saveDefaults()
{
    takeBaudIndexes();
    ProgramState& state = m_session.state();
    if (state.currentMode) {
        const forms::StationControls& station = m_session.windows().station(*state.currentMode);
        state.txDelayIndex = station.TxDelay.listIndex();
        state.txTailIndex = station.TxTail.listIndex();
    }
    // Asked for by name, the memorizing says that there is no file to keep the defaults in.
    if (m_path.empty()) {
        m_ui.messageBox(storage::iniSaveErrorBox({storage::error::kPathNotFound, "There is no settings file."}));
        return false;
    }
    if (!writeAll())
        return false;
    m_ui.messageBox(forms::messageBox("Quellmark", "Default settings memorized.", forms::Icon::Information));
    return true;
}

void IniSettings::memorizeDefaults()
{
    // Line 2 holds the callsign as every reader takes it: trimmed and upper-cased.
    m_session.state().myCall = forms::trimUpper(m_session.windows().tracking.station.MyCall.text());
    saveDefaults();
}

} // namespace qm::shell
