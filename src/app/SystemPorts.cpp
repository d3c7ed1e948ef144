// The desktop program's real surroundings.
#include "app/SystemPorts.h"

#include <QDir>

#include <cstdlib>

namespace qm::app
{

SystemPorts::SystemPorts()
    : m_backups(m_files, m_clock, shell::backupFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")))
{
    m_environment.folders = qt::currentProgramFolders();
    // The folder the program happens to be started from (a build tree, /) says nothing of where the user keeps
    // files.
    m_environment.homeFolder = QDir::homePath().toStdString();
}

DesktopPorts SystemPorts::desktopPorts()
{
    return {m_files,    m_serialPort, m_echoTimer, m_readTimeOutTimer, m_writeTimeOutTimer, m_environment,
            &m_backups, nullptr,      &m_clock,    &m_printerLookup,   &m_devices};
}

} // namespace qm::app
