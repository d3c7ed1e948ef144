// The questions of a first run: the serial port the unit is attached to and the user's callsign.
#include "shell/FirstRunQuestions.h"

#include "forms/Numbers.h"
#include "forms/Text.h"
#include "shell/IniSettings.h"
#include "shell/Session.h"

#include <optional>

namespace qm::shell
{

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

// A callsign without SSID has at most six characters.
constexpr std::size_t kCallAnswerLimit = 7;

/// The port an answer names: "COM1" to "COM4", or the single digit 1 to 4.
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

} // namespace

bool FirstRunQuestions::askForComPort()
{
    while (m_state.link.comPort == 0) {
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
            m_state.link.comPort = *port;
            m_ini.saveComPort();
        }
    }
    return true;
}

std::string FirstRunQuestions::portPrompt() const
{
    // The devices are looked for again at each asking: an adapter plugged in meanwhile shows up.
    return m_portListing ? kPortPrompt + m_portListing() : kPortPrompt;
}

void FirstRunQuestions::askForMyCall()
{
    while (m_state.myCall == kPlaceholderCall) {
        const std::string answer =
            forms::trimUpper(m_ui.inputBox(kCallPrompt, "CallSign Selection", "MyCall").value_or(""));
        if (answer == kPlaceholderCall || answer.size() >= kCallAnswerLimit)
            continue;
        m_state.myCall = answer;
        m_ini.saveMyCall();
    }
}

} // namespace qm::shell
