// The desktop program's real surroundings.
#include "app/SystemPorts.h"

#include <QDir>

namespace qm::app
{

namespace
{

std::string ownBackupFolder()
{
    const shell::BaseFolders own = qt::userFolders("quellmark").folders;
    return shell::backupFolder(own.xdgDataHome.c_str(), own.home.c_str());
}

} // namespace

SystemPorts::SystemPorts() : m_backups(m_files, m_clock, ownBackupFolder())
{
    m_environment.folders = qt::currentProgramFolders();
    // The folder the program happens to be started from (a build tree, /) says nothing of where the user keeps
    // files.
    m_environment.homeFolder = QDir::homePath().toStdString();
}

DesktopPorts SystemPorts::desktopPorts()
{
    return {m_files,    m_serialPort, m_probeTimer, m_readTimeOutTimer, m_writeTimeOutTimer, m_environment,
            &m_backups, nullptr,      &m_clock,     &m_printerLookup,   &m_devices};
}

} // namespace qm::app
