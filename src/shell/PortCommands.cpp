// The commands of the serial port: the COM ports and Other Device of the Setup menu, and the Disconnect button.
#include "shell/PortCommands.h"

#include "forms/Text.h"
#include "shell/ConnectionDisplay.h"
#include "storage/ConfigFile.h"

#include <vector>

namespace qm::shell
{

void PortCommands::selectComPort(int n)
{
    if (!m_link)
        return;
    m_link->selectComPort(n);
    checkPortItem();
    if (!m_session.state().link.portTestFailed)
        keepOtherDevice({});
}

void PortCommands::checkPortItem()
{
    const link::LinkStatus& link = m_session.state().link;
    showChosenPort(m_session.windows().main.menus, link.comPort, link.otherDevice);
}

void PortCommands::setSerialDevices(SerialDevices* devices)
{
    m_devices = devices;
    if (devices)
        m_ini.setPortListing([devices] { return comPortListing(devices->comPorts()); });
    else
        m_ini.setPortListing({});
}

void PortCommands::refreshPortMenu()
{
    if (!m_devices)
        return;
    const auto ports = m_devices->comPorts();
    const auto items = m_session.windows().main.menus.comItems();
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i]->setCaption(comMenuCaption(static_cast<int>(i) + 1, ports[i]));
        items[i]->setEnabled(!ports[i].path.empty());
    }
}

void PortCommands::chooseOtherDevice()
{
    if (!m_link)
        return;
    const std::vector<SerialDevice> present = m_devices ? m_devices->present() : std::vector<SerialDevice>{};
    const auto answer = m_ui.chooseDevice(present, m_session.state().link.otherDevice);
    // Blanks around a typed path are no part of it.
    const std::string path = answer ? forms::trimSpaces(*answer) : std::string{};
    if (path.empty()) {
        checkPortItem();
        return;
    }
    m_link->selectOtherDevice(path);
    checkPortItem();
    if (!m_session.state().link.portTestFailed)
        keepOtherDevice(path);
}

void PortCommands::keepOtherDevice(const std::string& path)
{
    if (m_options.otherDevice() == path)
        return;
    if (auto error = m_options.setOtherDevice(path)) {
        // The choice holds until the program ends either way.
        auto box = storage::writeErrorBox(*error);
        box.details = m_options.path() + ": " + error->reason;
        m_ui.setMousePointer(Pointer::Normal);
        m_ui.messageBox(box);
        if (!box.focus.empty())
            m_ui.setFocus(box.focus);
    }
}

void PortCommands::disconnectUnit()
{
    if (m_link)
        m_link->disconnectUnit();
}

} // namespace qm::shell
