// The commands of the serial port: the COM ports and Other Device of the Setup menu, and the Disconnect button.
#pragma once

#include "shell/IniSettings.h"
#include "shell/LinkRequests.h"
#include "shell/ProgramOptions.h"
#include "shell/SerialDevices.h"
#include "shell/Session.h"
#include "shell/Ui.h"

#include <string>

namespace qm::shell
{

class PortCommands
{
public:
    /// Without a link every command does nothing.
    PortCommands(Session& session, Ui& ui, IniSettings& ini, ProgramOptions& options, LinkRequests* link)
        : m_session(session), m_ui(ui), m_ini(ini), m_options(options), m_link(link)
    {}

    /// Connects this machine's serial devices: the Setup menu and the first-run prompt name the device of each COM
    /// port, and Other Device offers them (none: the COM items stay as they are).
    void setSerialDevices(SerialDevices* devices);
    /// Setup > Serial Port > COMn.
    void selectComPort(int n);
    /// The Disconnect button.
    void disconnectUnit();
    /// The Serial Port menu opens: each COM item names the device it opens now, greyed when there is none.
    void refreshPortMenu();
    /// Setup > Serial Port > Other Device: the user picks a present device or types a path; the port changes to
    /// it and, once it opens, the choice is kept in the program's settings (vq3.ini keeps its COM number).
    void chooseOtherDevice();
    /// Checks the Serial Port item of the port in use: the COM port, or Other Device when a path is chosen.
    void checkPortItem();

private:
    /// Keeps the device chosen by path; a failure to keep it is told.
    void keepOtherDevice(const std::string& path);

    Session& m_session;
    Ui& m_ui;
    IniSettings& m_ini;
    ProgramOptions& m_options;
    LinkRequests* m_link;
    SerialDevices* m_devices = nullptr;
};

} // namespace qm::shell
