// The serial-port port over QSerialPort.
#include "qt/QtSerialPort.h"

#include "qt/ComPorts.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qm::qt
{

namespace
{

namespace error = link::port_error;
using link::PortError;
using StatInfo = struct stat;

constexpr int kBaudRate = 4800;
/// How often the output queue is looked at while the link waits for it to empty: a character takes about 2 ms
/// at 4800 baud.
constexpr int kSentCheckMs = 5;

// The folders QSerialPort may keep its lock files in, in the order it tries them.
constexpr const char* kLockFolders[] = {"/var/lock", "/etc/locks", "/var/spool/locks",  "/var/spool/uucp",
                                        "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};

std::string groupOwning(const std::string& path)
{
    StatInfo info{};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    const group* owner = ::getgrgid(info.st_gid);
    return owner != nullptr && owner->gr_name != nullptr ? std::string(owner->gr_name) : std::string{};
}

// QSerialPort names its lock file after the path it opens: without "/dev/", every "/" turned into "_".
std::string lockName(std::string path)
{
    if (path.starts_with("/dev/"))
        path.erase(0, 5);
    for (char& c : path) {
        if (c == '/')
            c = '_';
    }
    return "LCK.." + path;
}

void findLock(const std::string& path, OpenFailure& failure)
{
    const std::string name = lockName(path);
    std::vector<std::string> folders(std::begin(kLockFolders), std::end(kLockFolders));
    if (const char* temporary = std::getenv("TMPDIR"); temporary != nullptr && *temporary != '\0')
        folders.emplace_back(temporary);
    for (const std::string& folder : folders) {
        const std::string file = folder + "/" + name;
        std::ifstream lock(file);
        if (!lock)
            continue;
        failure.lockFile = file;
        long owner = 0;
        if (lock >> owner && owner > 0)
            failure.lockOwner = owner;
        return;
    }
}

std::string absolutePath(const std::string& path)
{
#ifdef Q_OS_WIN
    return path;
#else
    if (path.starts_with('/'))
        return path;
    std::error_code failure;
    const std::filesystem::path absolute = std::filesystem::absolute(path, failure);
    return failure ? path : absolute.string();
#endif
}

PortError failureWhileOpen(QSerialPort::SerialPortError code, const QString& text)
{
    // The error text can be stale for a read error: the code alone decides.
    switch (code) {
    case QSerialPort::ReadError:
        return PortError{error::kErrorReading,
                         "Reading from the device failed: it was unplugged, or the other side went away."};
    case QSerialPort::WriteError:
        return PortError{error::kErrorReading, "Writing to the device failed: " + text.toStdString()};
    default:
        return PortError{error::kHardwareNotAvailable, "The device is no longer available: " + text.toStdString()};
    }
}

} // namespace

PortError portErrorFor(const OpenFailure& failure, const std::string& device)
{
    switch (failure.error) {
    case QSerialPort::DeviceNotFoundError:
        return PortError{error::kInvalidPortNumber, failure.text};
    case QSerialPort::PermissionError:
        if (failure.accessDenied)
            return PortError::permissionRefused(std::strerror(EACCES), device, failure.deviceGroup);
        if (!failure.lockFile.empty()) {
            const std::string owner =
                failure.lockOwner > 0 ? "process " + std::to_string(failure.lockOwner) + ", " : std::string{};
            return PortError{error::kPortAlreadyOpen, "The device is locked by another program (" + owner +
                                                          "lock file " + failure.lockFile + ")."};
        }
        return PortError{error::kPortAlreadyOpen,
                         failure.systemError == EBUSY ? std::string(std::strerror(EBUSY)) : failure.text};
    case QSerialPort::OpenError:
        return PortError{error::kPortAlreadyOpen, failure.text};
    case QSerialPort::UnsupportedOperationError:
        return PortError{error::kInvalidOrUnsupported, failure.text};
    case QSerialPort::ResourceError:
        return PortError{failure.systemError == EAGAIN ? error::kDeviceBusy : error::kHardwareNotAvailable,
                         failure.text};
    default:
        if (failure.systemError != 0)
            return PortError{failure.systemError, failure.text};
        return PortError{error::kDeviceNotOpen, failure.text};
    }
}

QtSerialPort::QtSerialPort() : QtSerialPort(currentDevicePath)
{}

QtSerialPort::QtSerialPort(DeviceResolver resolver)
    : m_resolver(std::move(resolver)), m_port(std::make_unique<QSerialPort>())
{
    QObject::connect(m_port.get(), &QSerialPort::readyRead, m_port.get(), [this] {
        if (m_listener != nullptr)
            m_listener->dataArrived();
    });
    QObject::connect(m_port.get(), &QSerialPort::errorOccurred, m_port.get(),
                     [this](QSerialPort::SerialPortError code) { onError(code); });
    m_sentCheck.setInterval(kSentCheckMs);
    QObject::connect(&m_sentCheck, &QTimer::timeout, &m_sentCheck, [this] { checkSent(); });
}

QtSerialPort::~QtSerialPort()
{
    // Closing inside QSerialPort's own destructor would run the handlers above on a half-destroyed owner.
    QObject::disconnect(m_port.get(), nullptr, nullptr, nullptr);
    if (m_port->isOpen())
        m_port->close();
}

void QtSerialPort::setListener(link::SerialPortListener* listener)
{
    m_listener = listener;
}

void QtSerialPort::setCommPort(int number)
{
    m_commPort = number;
}

void QtSerialPort::setDevice(const std::string& path)
{
    m_chosenDevice = path;
}

std::optional<PortError> QtSerialPort::open()
{
    if (m_port->isOpen())
        return PortError{error::kPortAlreadyOpen, "The port is already open."};
    if (!m_chosenDevice.empty())
        m_devicePath = m_chosenDevice;
    else
        m_devicePath = m_resolver ? m_resolver(m_commPort) : std::string{};
    if (m_devicePath.empty())
        return PortError{error::kInvalidPortNumber, "The port does not exist: no serial device was found for COM" +
                                                        std::to_string(m_commPort) + " (" +
                                                        comPortVariable(m_commPort) + " can name one)."};
    m_port->setPortName(QFile::decodeName(absolutePath(m_devicePath).c_str()));
    m_port->setBaudRate(kBaudRate);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);

    m_opening = true;
    m_openErrno = 0;
    const bool opened = m_port->open(QIODevice::ReadWrite);
    m_opening = false;
    if (!opened) {
        const PortError failure = portErrorFor(describeOpenFailure(), m_devicePath);
        m_port->clearError();
        return failure;
    }
    if (auto refused = lockDevice())
        return refused;
    ++m_generation;
    // A pseudo-terminal has no RTS line: the call fails there and the port works all the same.
    m_port->setRequestToSend(false);
    m_port->clearError();
    return std::nullopt;
}

std::optional<PortError> QtSerialPort::lockDevice()
{
#ifndef Q_OS_WIN
    // QSerialPort's lock file is named after the path, and its TIOCEXCL does not bind root: a second program that
    // names the same device by another path (a symbolic link, /dev/pts/N) would open it too and mix its bytes into
    // a transfer. An exclusive flock on the open device itself is seen whatever the path, by every program that
    // takes one; it goes with the descriptor when the port closes.
    ::ioctl(static_cast<int>(m_port->handle()), TIOCEXCL);
    if (::flock(static_cast<int>(m_port->handle()), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        m_closing = true;
        m_port->close();
        m_closing = false;
        m_port->clearError();
        return PortError{error::kPortAlreadyOpen,
                         "The device is in use by another program, which holds it locked (it may name the device "
                         "by another path)."};
    }
#endif
    return std::nullopt;
}

void QtSerialPort::close()
{
    ++m_generation;
    m_sentCheck.stop();
    if (!m_port->isOpen())
        return;
    m_closing = true;
    m_port->close();
    m_closing = false;
}

bool QtSerialPort::isOpen() const
{
    return m_port->isOpen();
}

void QtSerialPort::flushInput()
{
    if (m_port->isOpen())
        m_port->clear(QSerialPort::Input);
}

void QtSerialPort::flushOutput()
{
    if (m_port->isOpen())
        m_port->clear(QSerialPort::Output);
}

std::size_t QtSerialPort::bytesWaiting() const
{
    return m_port->isOpen() ? static_cast<std::size_t>(m_port->bytesAvailable()) : 0;
}

std::optional<char> QtSerialPort::takeByte()
{
    char byte = 0;
    if (!m_port->isOpen() || m_port->bytesAvailable() <= 0 || !m_port->getChar(&byte))
        return std::nullopt;
    return byte;
}

void QtSerialPort::send(std::string_view bytes)
{
    if (!m_port->isOpen() || bytes.empty())
        return;
#ifndef Q_OS_WIN
    // With nothing queued, the bytes go straight to the device: QSerialPort's own write arms a write notifier and
    // wakes the event loop twice per call, which doubles the time of an echo-paced byte. What the device does not
    // take at once (or a failure, which QSerialPort then reports) goes the usual way, behind nothing.
    if (m_port->bytesToWrite() == 0) {
        const auto written = ::write(static_cast<int>(m_port->handle()), bytes.data(), bytes.size());
        if (written > 0)
            bytes.remove_prefix(static_cast<std::size_t>(written));
        if (bytes.empty())
            return;
    }
    // The rest waits in QSerialPort's queue until the device takes more. Flushing now would only meet a full
    // device, which QSerialPort reports as a resource error, and that closes the port.
    m_port->write(bytes.data(), static_cast<qint64>(bytes.size()));
#else
    m_port->write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (m_port->isOpen())
        m_port->flush();
#endif
}

void QtSerialPort::notifyWhenSent()
{
    // Looked at from the event loop even when nothing is queued, so the listener never hears of it inside this
    // call.
    if (!m_sentCheck.isActive())
        m_sentCheck.start();
}

std::size_t QtSerialPort::bytesToSend() const
{
    if (!m_port->isOpen())
        return 0;
    auto queued = static_cast<std::size_t>(m_port->bytesToWrite());
#ifdef TIOCOUTQ
    // What the driver holds has not reached the line either (at 4800 baud, 129 bytes take 269 ms).
    int inDriver = 0;
    if (::ioctl(static_cast<int>(m_port->handle()), TIOCOUTQ, &inDriver) == 0 && inDriver > 0)
        queued += static_cast<std::size_t>(inDriver);
#endif
    return queued;
}

void QtSerialPort::checkSent()
{
    // A port that closed sends nothing more: its failure (or the close on purpose) is the answer.
    if (!m_port->isOpen()) {
        m_sentCheck.stop();
        return;
    }
    if (bytesToSend() > 0)
        return;
    m_sentCheck.stop();
    if (m_listener != nullptr)
        m_listener->allSent();
}

void QtSerialPort::onError(QSerialPort::SerialPortError code)
{
    if (code == QSerialPort::NoError)
        return;
    if (m_opening) {
        m_openErrno = errno;
        return;
    }
    if (code != QSerialPort::ReadError && code != QSerialPort::WriteError && code != QSerialPort::ResourceError)
        return;
    // Left open, a failed port repeats its read error without end: close it at the first.
    if (m_closing || !m_port->isOpen())
        return;
    const PortError failure = failureWhileOpen(code, m_port->errorString());
    m_closing = true;
    m_port->close();
    m_closing = false;
    reportFailure(failure);
}

void QtSerialPort::reportFailure(const PortError& failure)
{
    // Reported from the event loop, so a failure met inside send() never re-enters the caller's handler; a
    // report that arrives after the port was closed or reopened on purpose belongs to the past and is dropped.
    const unsigned generation = m_generation;
    QMetaObject::invokeMethod(
        m_port.get(),
        [this, failure, generation] {
            if (generation == m_generation && !m_port->isOpen() && m_listener != nullptr)
                m_listener->portFailed(failure);
        },
        Qt::QueuedConnection);
}

OpenFailure QtSerialPort::describeOpenFailure() const
{
    OpenFailure failure;
    failure.error = m_port->error();
    failure.systemError = m_openErrno;
    failure.text = m_port->errorString().toStdString();
    if (failure.error == QSerialPort::PermissionError) {
        const std::string path = absolutePath(m_devicePath);
        errno = 0;
        failure.accessDenied = ::access(path.c_str(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM);
        failure.deviceGroup = groupOwning(path);
        findLock(path, failure);
    }
    return failure;
}

} // namespace qm::qt
