// The connection as the windows show it.
#include "shell/ConnectionDisplay.h"

#include <cstddef>
#include <cstdint>

namespace qm::shell
{

namespace
{

constexpr std::uint32_t kConnectedColour = 0x80FF80;

} // namespace

std::string silentPortHint(const std::string& device)
{
    return "Nothing has answered on " + device +
           " for 10 seconds. Put the VQ-3 in configuration mode, and check the cable and the serial port.";
}

void ConnectionDisplay::connectionChanged(link::Connection connection)
{
    auto& main = m_windows.main;
    const bool connected = connection == link::Connection::Connected;
    main.VQ3Status.setBackground(connected ? kConnectedColour : forms::kDisconnectedColour);
    main.VQ3Status.setCaption(connected ? "Connected" : "Disconnected");
    if (!connected)
        main.window.setCaption(forms::kProgramCaption);
    main.ConnectButton.setVisible(connected);
}

void ConnectionDisplay::unitIdentified(const std::string& modelName, int firmwareVersion, const std::string& port)
{
    m_windows.main.window.setCaption("Quellmark " + modelName + "(v" + std::to_string(firmwareVersion) + ".0) on " +
                                     port);
}

void ConnectionDisplay::commandsAccepted(bool accepted)
{
    auto& menus = m_windows.main.menus;
    menus.read.setEnabled(accepted);
    m_windows.main.ReadUnitButton.setEnabled(accepted);
    if (!accepted) {
        menus.write.setEnabled(false);
        return;
    }
    for (const auto* item : menus.modeItems())
        if (item->checked())
            menus.write.setEnabled(true);
}

void showChosenPort(forms::Menus& menus, int comPort, const std::string& device)
{
    const bool byPath = !device.empty();
    const auto items = menus.comItems();
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i]->setChecked(!byPath && static_cast<int>(i) + 1 == comPort);
    menus.otherdevice.setChecked(byPath);
    menus.otherdevice.setCaption(byPath ? "&Other Device...  " + device : "&Other Device...");
}

void ConnectionDisplay::portChosen(int comPort, const std::string& device)
{
    showChosenPort(m_windows.main.menus, comPort, device);
}

void ConnectionDisplay::portHint(link::PortHint hint, const std::string& device)
{
    auto& status = m_windows.main.VQ3Status;
    switch (hint) {
    case link::PortHint::None:
        status.setToolTip({});
        break;
    case link::PortHint::Silent:
        status.setToolTip(silentPortHint(device));
        break;
    case link::PortHint::Lost:
        status.setToolTip("VQ-3 Disconnected. Waiting for the serial port " + device + " to come back.");
        break;
    }
}

void ConnectionDisplay::boxAboveWelcome(bool showing)
{
    auto& welcome = m_windows.welcome;
    if (welcome.window.visible())
        welcome.topmost = !showing;
}

} // namespace qm::shell
