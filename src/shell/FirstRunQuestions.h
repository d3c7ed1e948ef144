// The questions of a first run: the serial port the unit is attached to and the user's callsign.
#pragma once

#include "shell/Ui.h"

#include <functional>
#include <string>
#include <utility>

namespace qm::shell
{

class IniSettings;
struct ProgramState;

/// The callsign vq3.ini holds until the user has given one.
inline constexpr const char* kPlaceholderCall = "MYCALL";

/// Asks for what the program cannot work without, each answer kept in vq3.ini as soon as it is given.
class FirstRunQuestions
{
public:
    FirstRunQuestions(ProgramState& state, Ui& ui, IniSettings& ini) : m_state(state), m_ui(ui), m_ini(ini) {}

    /// Returns the lines that name the device of each COM port, shown below the port question (none: the question
    /// alone).
    void setPortListing(std::function<std::string()> listing) { m_portListing = std::move(listing); }
    /// Asks for the serial port while none is chosen; false when the user chose to end the program (the Ui has then
    /// been told to end it).
    bool askForComPort();
    /// Asks for the callsign while it is the placeholder.
    void askForMyCall();

private:
    /// The port question, with the device of each COM port below it when known.
    std::string portPrompt() const;

    ProgramState& m_state;
    Ui& m_ui;
    IniSettings& m_ini;
    std::function<std::string()> m_portListing;
};

} // namespace qm::shell
