// The desktop program's real surroundings: this machine's files, serial port, timers, clock, backup folder and
// default printer, and what the program finds at start-up, put together as quellmark runs on them.
#pragma once

#include "app/Desktop.h"
#include "qt/PosixFileSystem.h"
#include "qt/QtPrinter.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTimer.h"
#include "qt/SystemClock.h"
#include "shell/Backups.h"

#include <optional>

namespace qm::app
{

class SystemPorts
{
public:
    /// Looks up the program's folders, the current folder and the default printer (needs the application object).
    SystemPorts();

    SystemPorts(const SystemPorts&) = delete;
    SystemPorts& operator=(const SystemPorts&) = delete;

    /// The ports for a Desktop; they live as long as this object.
    DesktopPorts desktopPorts();

private:
    qt::PosixFileSystem m_files;
    qt::QtSerialPort m_serialPort;
    qt::QtTimer m_echoTimer{500};
    qt::QtTimer m_readTimeOutTimer{5000};
    qt::QtTimer m_writeTimeOutTimer{5000};
    qt::SystemClock m_clock;
    shell::Backups m_backups;
    std::optional<qt::QtPrinter> m_printer;
    shell::Environment m_environment;
};

} // namespace qm::app
