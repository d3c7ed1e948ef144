// The user's defaults in vq3.ini: the load at start-up with its first-run prompts, and every writer.
#include "shell/IniSettings.h"

#include "forms/Numbers.h"
#include "forms/PickLists.h"
#include "forms/Text.h"

#include <cmath>
#include <utility>

namespace qm::shell
{

using forms::Mode;
using storage::FileError;

namespace
{

const std::string kPortPrompt = std::string("Welcome to the Quellmark Configuration Program.") + "\r\n\r" +
                                "Please enter the serial port that the VQ-3 is attached to and then click OK." +
                                "  Enter 1 for COM1, 2 for COM2, etc." + "\r\n\r" +
                                "NOTE:  This message will only appear the first time that you run" +
                                " this program.  If you need to change the serial port setting later," +
                                " you can do so through the " + '"' + "Setup" + '"' +
                                " menu at the top of the screen." + "\r\n\r";

const std::string kCallPrompt = std::string("Enter your Callsign (without SSID) and then click OK.") + "\r\n\r" +
                                "NOTE:  This message will only appear the first time that you run" +
                                " this program.  If you need to change your callsign later, simply" +
                                " enter your callsign in a " + '"' + "My Call" + '"' +
                                " field and select Memorize Defaults" + " from the File menu." + "\r\n\r";

constexpr const char* kPlaceholderCall = "MYCALL";
// A callsign without SSID has at most six characters.
constexpr std::size_t kCallAnswerLimit = 7;
constexpr int kLineComPort = 0;
constexpr int kLineMyCall = 1;
constexpr int kLineInputBaud = 2;
constexpr int kLineOutputBaud = 3;
constexpr int kLineTxDelay = 4;
constexpr int kLineTxTail = 5;
constexpr int kLineWelcome = 6;

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

/// The port a first-run answer names: "COM1" to "COM4", or the single digit 1 to 4.
std::optional<int> portFromAnswer(const std::string& answer)
{
    for (int port = 1; port <= 4; ++port)
        if (answer == "COM" + std::to_string(port))
            return port;
    if (answer.size() != 1)
        return std::nullopt;
    const double value = forms::numberValue(answer);
    if (value >= 1.0 && value <= 4.0)
        return static_cast<int>(value);
    return std::nullopt;
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
    : m_session(session), m_ui(ui), m_files(files), m_path(std::move(iniPath))
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
    const bool keepRunning = askForComPort();
    if (keepRunning) {
        if (const std::string call = forms::trimUpper(m_lines[kLineMyCall]); !call.empty())
            state.myCall = call;
        askForMyCall();
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

bool IniSettings::askForComPort()
{
    ProgramState& state = m_session.state();
    while (state.link.comPort == 0) {
        m_ui.setMousePointer(Pointer::Normal);
        const std::string answer =
            forms::trimUpper(m_ui.inputBox(portPrompt(), "Serial Port Selection", "").value_or(""));
        if (answer.empty()) {
            const auto box = forms::messageBox(
                "Error", "You must select a serial port.  Click OK to try again, or click CANCEL to exit.",
                forms::Icon::Critical, forms::Buttons::OkCancel);
            if (m_ui.messageBox(box) == forms::Button::Cancel) {
                m_ui.endProgram();
                return false;
            }
            continue;
        }
        if (const auto port = portFromAnswer(answer)) {
            state.link.comPort = *port;
            saveComPort();
        }
    }
    return true;
}

std::string IniSettings::portPrompt() const
{
    // The devices are looked for again at each asking: an adapter plugged in meanwhile shows up.
    return m_portListing ? kPortPrompt + m_portListing() : kPortPrompt;
}

void IniSettings::askForMyCall()
{
    ProgramState& state = m_session.state();
    while (state.myCall == kPlaceholderCall) {
        const std::string answer =
            forms::trimUpper(m_ui.inputBox(kCallPrompt, "CallSign Selection", "MyCall").value_or(""));
        if (answer == kPlaceholderCall || answer.size() >= kCallAnswerLimit)
            continue;
        state.myCall = answer;
        saveMyCall();
    }
}

std::optional<FileError> IniSettings::applyListLines()
{
    ProgramState& state = m_session.state();
    forms::Windows& windows = m_session.windows();
    forms::Menus& menus = windows.main.menus;

    if (!isBlank(m_lines[kLineInputBaud])) {
        const auto value = integerValue(m_lines[kLineInputBaud]);
        if (!value)
            return overflow();
        state.inputBaudIndex = *value;
        if (*value >= 0 && *value <= 3) {
            const auto items = menus.inputBaudItems();
            for (int i = 0; i < 4; ++i)
                items[static_cast<std::size_t>(i)]->setChecked(i == *value);
        }
    }

    if (!isBlank(m_lines[kLineOutputBaud])) {
        const auto value = integerValue(m_lines[kLineOutputBaud]);
        if (!value)
            return overflow();
        state.outputBaudIndex = *value;
        if (*value == 0) {
            menus.out300.setChecked(false);
            menus.out1200.setChecked(true);
            m_session.fillTxListsFor1200Baud();
        } else if (*value == 1) {
            menus.out300.setChecked(true);
            menus.out1200.setChecked(false);
            m_session.fillTxListsFor300Baud();
        }
    }

    if (!isBlank(m_lines[kLineTxDelay])) {
        const auto value = integerValue(m_lines[kLineTxDelay]);
        if (!value)
            return overflow();
        state.txDelayIndex = *value;
        if (auto failure = selectInEveryWindow(windows, true, *value))
            return failure;
    }

    if (!isBlank(m_lines[kLineTxTail])) {
        const auto value = integerValue(m_lines[kLineTxTail]);
        if (!value)
            return overflow();
        state.txTailIndex = *value;
        if (auto failure = selectInEveryWindow(windows, false, *value))
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

void IniSettings::takeInputBaudIndex()
{
    const auto items = m_session.windows().main.menus.inputBaudItems();
    for (int i = 0; i < 4; ++i) {
        if (items[static_cast<std::size_t>(i)]->checked()) {
            m_session.state().inputBaudIndex = i;
            return;
        }
    }
}

void IniSettings::takeOutputBaudIndex()
{
    const forms::Menus& menus = m_session.windows().main.menus;
    if (menus.out300.checked())
        m_session.state().outputBaudIndex = 1;
    else if (menus.out1200.checked())
        m_session.state().outputBaudIndex = 0;
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
    takeInputBaudIndex();
    return writeAll();
}

bool IniSettings::saveOutputBaudRate()
{
    takeOutputBaudIndex();
    return writeAll();
}

bool IniSettings::saveDefaults()
{
    takeInputBaudIndex();
    takeOutputBaudIndex();
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

void IniSettings::selectInputBaud(int index)
{
    const auto items = m_session.windows().main.menus.inputBaudItems();
    for (int i = 0; i < 4; ++i)
        items[static_cast<std::size_t>(i)]->setChecked(i == index);
    saveInputBaudRate();
}

void IniSettings::select300BaudOutput()
{
    forms::Menus& menus = m_session.windows().main.menus;
    menus.out300.setChecked(true);
    menus.out1200.setChecked(false);
    m_session.fillTxListsFor300Baud();
    saveOutputBaudRate();
}

void IniSettings::select1200BaudOutput()
{
    forms::Menus& menus = m_session.windows().main.menus;
    menus.out1200.setChecked(true);
    menus.out300.setChecked(false);
    m_session.fillTxListsFor1200Baud();
    saveOutputBaudRate();
}

void IniSettings::memorizeDefaults()
{
    // Line 2 holds the callsign as every reader takes it: trimmed and upper-cased.
    m_session.state().myCall = forms::trimUpper(m_session.windows().tracking.station.MyCall.text());
    saveDefaults();
}

} // namespace qm::shell
