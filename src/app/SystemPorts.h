// The desktop program's real surroundings: this machine's files, serial port, timers, clock, backup folder and
// the look-up of its default printer, and what the program finds at start-up, put together as quellmark runs on
// them.
#pragma once

#include "app/Desktop.h"
#include "app/PrinterLookup.h"
#include "qt/ComPorts.h"
#include "qt/PosixFileSystem.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTimer.h"
#include "qt/SystemClock.h"
#include "shell/Backups.h"

namespace qm::app
{

class SystemPorts
{
public:
    /// Looks up the program's folders and the home folder. The default printer is looked up once the desktop
    /// program has started (needs the application object).
    SystemPorts();

    SystemPorts(const SystemPorts&) = delete;
    SystemPorts& operator=(const SystemPorts&) = delete;

    /// The ports for a Desktop; they live as long as this object.
    DesktopPorts desktopPorts();

private:
    qt::PosixFileSystem m_files;
    qt::QtSerialPort m_serialPort;
    qt::QtTimer m_probeTimer{500};
    qt::QtTimer m_readTimeOutTimer{5000};
    qt::QtTimer m_writeTimeOutTimer{5000};
    qt::SystemClock m_clock;
    shell::Backups m_backups;
    SystemPrinterLookup m_printerLookup;
    shell::Environment m_environment;
    qt::SystemSerialDevices m_devices;
};

} // namespace qm::app
