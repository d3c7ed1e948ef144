// The desktop program's real surroundings.
#include "app/SystemPorts.h"

#include <QApplication>
#include <QDir>

#include <cstdlib>

namespace qm::app
{

SystemPorts::SystemPorts()
    : m_backups(m_files, m_clock, shell::backupFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")))
{
    m_environment.folders = qt::currentProgramFolders();
    m_environment.currentFolder = QDir::currentPath().toStdString();
    // The default printer, when at least one printer with a name is installed; its font starts as the printer font.
    const std::string printerName = qt::QtPrinter::defaultPrinterName();
    if (!printerName.empty()) {
        m_printer.emplace(qt::QtPrinter::systemPrinter(printerName));
        const QFont font = QApplication::font();
        m_environment.printerFont =
            shell::FontSettings{font.family().toStdString(), font.pointSize(), false, false, false, false};
    }
}

DesktopPorts SystemPorts::desktopPorts()
{
    return {m_files,
            m_serialPort,
            m_echoTimer,
            m_readTimeOutTimer,
            m_writeTimeOutTimer,
            m_environment,
            &m_backups,
            m_printer ? &*m_printer : nullptr,
            &m_clock};
}

} // namespace qm::app
