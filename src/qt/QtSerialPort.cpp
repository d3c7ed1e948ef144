// The serial-port port on the device's own descriptor, watched by socket notifiers on the Qt event loop.
//
// The descriptor is the program's own rather than QSerialPort's: QSerialPort takes a lock file in a folder every
// user may write and refuses the device whenever any file of that name names a running process, so another user
// could deny the device to its owner; it sets the exclusive mode before the program can take its lock and never
// clears it; and it keeps whatever arrives, without a bound.
#include "qt/QtSerialPort.h"

#include "qt/ComPorts.h"
#include "qt/DeviceLocks.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <grp.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace qm::qt
{

namespace
{

namespace error = link::port_error;
using link::PortError;
using StatInfo = struct stat;

/// How often the output queue is looked at while the link waits for it to empty: a character takes about 2 ms
/// at 4800 baud.
constexpr int kSentCheckMs = 5;
/// What one notification reads at most before the event loop runs again, so a flood never holds the thread.
constexpr int kReadsPerNotification = 16;
constexpr std::size_t kReadChunk = 4096;
/// A failed write. The port's error numbers have none for writing: 8020, the device failing under the port, is
/// the one that fits, and its box ("Error Reading Com Device") is the one the user knows for a device gone bad.
constexpr int kWriteFailed = error::kErrorReading;

std::string groupOwning(const std::string& path)
{
    StatInfo info{};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    const group* owner = ::getgrgid(info.st_gid);
    return owner != nullptr && owner->gr_name != nullptr ? std::string(owner->gr_name) : std::string{};
}

std::string absolutePath(const std::string& path)
{
    if (path.starts_with('/'))
        return path;
    std::error_code failure;
    const std::filesystem::path absolute = std::filesystem::absolute(path, failure);
    return failure ? path : absolute.string();
}

std::string systemText(int number)
{
    return std::strerror(number);
}

/// The exclusive mode is set while no program holds the device's lock: one that ended left it behind.
bool exclusiveLeftOver(const std::string& path)
{
    StatInfo info{};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    const auto held = flockHeldOn(info.st_dev, info.st_ino);
    return held.has_value() && !*held;
}

bool setLine(int fd)
{
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0)
        return false;
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    // A read without waiting then says "nothing yet" as EAGAIN, and an end of input (a hang-up) as 0.
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    ::cfsetispeed(&settings, B4800);
    ::cfsetospeed(&settings, B4800);
    return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

} // namespace

PortError portErrorFor(const OpenFailure& failure, const std::string& device)
{
    if (!failure.lockFile.empty()) {
        const std::string owner =
            failure.lockOwner > 0 ? "process " + std::to_string(failure.lockOwner) + ", " : std::string{};
        return PortError{error::kPortAlreadyOpen,
                         "The device is locked by another program (" + owner + "lock file " + failure.lockFile + ")."};
    }
    if (failure.heldLocked)
        return PortError{error::kPortAlreadyOpen,
                         "The device is in use by another program, which holds it locked (it may name the device "
                         "by another path)."};
    if (failure.accessDenied)
        return PortError::permissionRefused(systemText(EACCES), device, failure.deviceGroup);
    switch (failure.systemError) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return PortError{error::kInvalidPortNumber, failure.text};
    case EBUSY:
        if (failure.exclusiveLeftOver)
            return PortError{error::kPortAlreadyOpen,
                             "The device is kept for the sole use of a program that has ended (no program holds its "
                             "lock); it stays so while another program has it open."};
        return PortError{error::kPortAlreadyOpen, failure.text};
    case EAGAIN:
        return PortError{error::kDeviceBusy, failure.text};
    case ENOTTY:
    case EINVAL:
        return PortError{error::kInvalidOrUnsupported, failure.text};
    case 0:
        return PortError{error::kDeviceNotOpen, failure.text};
    default:
        return PortError{failure.systemError, failure.text};
    }
}

QtSerialPort::QtSerialPort() : QtSerialPort(currentDevicePath)
{}

QtSerialPort::QtSerialPort(DeviceResolver resolver) : m_resolver(std::move(resolver))
{
    m_sentCheck.setInterval(kSentCheckMs);
    QObject::connect(&m_sentCheck, &QTimer::timeout, &m_sentCheck, [this] { checkSent(); });
}

QtSerialPort::~QtSerialPort()
{
    m_listener = nullptr;
    close();
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
    if (isOpen())
        return PortError{error::kPortAlreadyOpen, "The port is already open."};
    if (!m_chosenDevice.empty())
        m_devicePath = m_chosenDevice;
    else
        m_devicePath = m_resolver ? m_resolver(m_commPort) : std::string{};
    if (m_devicePath.empty())
        return PortError{error::kInvalidPortNumber, "The port does not exist: no serial device was found for COM" +
                                                        std::to_string(m_commPort) + " (" +
                                                        comPortVariable(m_commPort) + " can name one)."};
    return openDevice(absolutePath(m_devicePath));
}

std::optional<PortError> QtSerialPort::openDevice(const std::string& path)
{
    OpenFailure failure;
    // Only a lock file of the device's own user says it is in use; the lock on the device itself says it too.
    if (const auto holder = lockFileDenying(path, sharedLockFolders())) {
        failure.lockFile = holder->file;
        failure.lockOwner = holder->process;
        return portErrorFor(failure, m_devicePath);
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failure.systemError = errno;
        failure.text = systemText(failure.systemError);
        failure.accessDenied = failure.systemError == EACCES || failure.systemError == EPERM;
        if (failure.accessDenied)
            failure.deviceGroup = groupOwning(path);
        failure.exclusiveLeftOver = failure.systemError == EBUSY && exclusiveLeftOver(path);
        return portErrorFor(failure, m_devicePath);
    }
    if (auto refused = takeDevice(fd))
        return refused;
    m_fd = fd;
    ++m_generation;
    m_received.clear();
    m_taken = 0;
    m_queued.clear();
    m_readNotifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, &m_reports);
    QObject::connect(m_readNotifier, &QSocketNotifier::activated, &m_reports, [this] { readDevice(); });
    m_writeNotifier = new QSocketNotifier(m_fd, QSocketNotifier::Write, &m_reports);
    m_writeNotifier->setEnabled(false);
    QObject::connect(m_writeNotifier, &QSocketNotifier::activated, &m_reports, [this] { writeQueued(); });
    return std::nullopt;
}

std::optional<PortError> QtSerialPort::takeDevice(int fd)
{
    OpenFailure failure;
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) {
        failure.systemError = errno;
        failure.text = systemText(failure.systemError);
        ::close(fd);
        return portErrorFor(failure, m_devicePath);
    }
    // The lock on the open device itself binds whatever path names it (a symbolic link, /dev/pts/N) and root too;
    // it goes with the descriptor when the port closes or the program dies. The exclusive mode comes after it, so
    // a mode without a lock is always one left behind.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        failure.heldLocked = true;
        return portErrorFor(failure, m_devicePath);
    }
    m_exclusive = ::ioctl(fd, TIOCEXCL) == 0;
    if (!setLine(fd)) {
        failure.systemError = errno;
        failure.text = systemText(failure.systemError);
        m_fd = fd;
        release();
        return portErrorFor(failure, m_devicePath);
    }
    // A pseudo-terminal has no RTS line: the call fails there and the port works all the same.
    const int rts = TIOCM_RTS;
    ::ioctl(fd, TIOCMBIC, &rts);
    return std::nullopt;
}

void QtSerialPort::release()
{
    // A port may close inside its own notifier's handler: the notifiers stop at once and go from the event loop
    // (or with the port).
    for (QSocketNotifier** notifier : {&m_readNotifier, &m_writeNotifier}) {
        if (*notifier == nullptr)
            continue;
        (*notifier)->setEnabled(false);
        (*notifier)->deleteLater();
        *notifier = nullptr;
    }
    if (m_fd < 0)
        return;
    // The mode outlives the descriptor while any other one is open (the simulated unit keeps one): every later
    // open by an ordinary user would be refused.
    if (m_exclusive)
        ::ioctl(m_fd, TIOCNXCL);
    m_exclusive = false;
    ::close(m_fd);
    m_fd = -1;
    m_received.clear();
    m_taken = 0;
    m_queued.clear();
}

void QtSerialPort::close()
{
    ++m_generation;
    m_sentCheck.stop();
    release();
}

void QtSerialPort::flushInput()
{
    if (!isOpen())
        return;
    ::tcflush(m_fd, TCIFLUSH);
    m_received.clear();
    m_taken = 0;
}

void QtSerialPort::flushOutput()
{
    if (!isOpen())
        return;
    m_queued.clear();
    m_writeNotifier->setEnabled(false);
    ::tcflush(m_fd, TCOFLUSH);
}

std::optional<char> QtSerialPort::takeByte()
{
    if (m_taken >= m_received.size())
        return std::nullopt;
    const char byte = m_received[m_taken++];
    if (m_taken == m_received.size()) {
        m_received.clear();
        m_taken = 0;
    }
    return byte;
}

void QtSerialPort::keep(const char* bytes, std::size_t count)
{
    if (m_taken > 0) {
        m_received.erase(0, m_taken);
        m_taken = 0;
    }
    const std::size_t room = kReceiveLimit - std::min(m_received.size(), kReceiveLimit);
    m_received.append(bytes, std::min(count, room));
}

void QtSerialPort::readDevice()
{
    const unsigned generation = m_generation;
    bool arrived = false;
    char chunk[kReadChunk];
    for (int reads = 0; reads < kReadsPerNotification; ++reads) {
        const auto count = ::read(m_fd, chunk, sizeof chunk);
        if (count > 0) {
            keep(chunk, static_cast<std::size_t>(count));
            arrived = true;
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        // The end of input or an error: the device was unplugged, or the other side of the terminal went away.
        failed(PortError{error::kErrorReading,
                         "Reading from the device failed: it was unplugged, or the other side went away."});
        return;
    }
    if (arrived && generation == m_generation && m_listener != nullptr)
        m_listener->dataArrived();
}

void QtSerialPort::send(std::string_view bytes)
{
    if (!isOpen() || bytes.empty())
        return;
    // With nothing queued, the bytes go straight to the device; what it does not take at once waits in the queue
    // until it takes more.
    if (m_queued.empty()) {
        const auto written = ::write(m_fd, bytes.data(), bytes.size());
        if (written > 0)
            bytes.remove_prefix(static_cast<std::size_t>(written));
        else if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            failed(PortError{kWriteFailed, "Writing to the device failed: " + systemText(errno)});
            return;
        }
    }
    if (bytes.empty())
        return;
    m_queued.append(bytes);
    m_writeNotifier->setEnabled(true);
}

void QtSerialPort::writeQueued()
{
    while (!m_queued.empty()) {
        const auto written = ::write(m_fd, m_queued.data(), m_queued.size());
        if (written > 0) {
            m_queued.erase(0, static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            failed(PortError{kWriteFailed, "Writing to the device failed: " + systemText(errno)});
            return;
        }
        return;
    }
    m_writeNotifier->setEnabled(false);
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
    if (!isOpen())
        return 0;
    std::size_t queued = m_queued.size();
    // What the driver holds has not reached the line either (at 4800 baud, 129 bytes take 269 ms).
    int inDriver = 0;
    if (::ioctl(m_fd, TIOCOUTQ, &inDriver) == 0 && inDriver > 0)
        queued += static_cast<std::size_t>(inDriver);
    return queued;
}

void QtSerialPort::checkSent()
{
    // A port that closed sends nothing more: its failure (or the close on purpose) is the answer.
    if (!isOpen()) {
        m_sentCheck.stop();
        return;
    }
    if (bytesToSend() > 0)
        return;
    m_sentCheck.stop();
    if (m_listener != nullptr)
        m_listener->allSent();
}

void QtSerialPort::failed(const PortError& failure)
{
    close();
    // Reported from the event loop, so a failure met inside send() never re-enters the caller's handler; a
    // report that arrives after the port was opened again belongs to the past and is dropped.
    const unsigned generation = m_generation;
    QMetaObject::invokeMethod(
        &m_reports,
        [this, failure, generation] {
            if (generation == m_generation && !isOpen() && m_listener != nullptr)
                m_listener->portFailed(failure);
        },
        Qt::QueuedConnection);
}

} // namespace qm::qt
