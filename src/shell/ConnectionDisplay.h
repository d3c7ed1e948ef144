// What the link reports about the connection, shown in the window models: the status panel (its caption, colour
// and tool tip), the main window's caption, the Read and Write menus, the Disconnect button, the serial port's
// check marks, and the welcome window kept below the link's boxes.
#pragma once

#include "forms/Windows.h"
#include "link/Link.h"

#include <string>

namespace qm::shell
{

/// The status panel's tool tip once a freshly opened port has stayed silent for a while.
std::string silentPortHint(const std::string& device);

/// Checks the Serial Port menu's item of the port chosen: COM1 to COM4 (none of them while no port of the four is
/// chosen), or Other Device with the device's path in its caption when device is not empty.
void showChosenPort(forms::Menus& menus, int comPort, const std::string& device);

class ConnectionDisplay : public link::ConnectionListener
{
public:
    explicit ConnectionDisplay(forms::Windows& windows) : m_windows(windows) {}

    void connectionChanged(link::Connection connection) override;
    void unitIdentified(const std::string& modelName, int firmwareVersion, const std::string& port) override;
    /// Read follows the link; Write too, but only once a mode is chosen.
    void commandsAccepted(bool accepted) override;
    void portChosen(int comPort, const std::string& device) override;
    void portHint(link::PortHint hint, const std::string& device) override;
    void boxAboveWelcome(bool showing) override;

private:
    forms::Windows& m_windows;
};

} // namespace qm::shell
