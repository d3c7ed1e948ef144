// The pseudo-terminal of vq3 sim.
#include "cli/SimTerminal.h"

#include "qt/DeviceLocks.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace qm::cli
{

namespace
{

std::string systemReason(int number)
{
    return std::strerror(number);
}

void closeQuietly(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

SimTerminal::~SimTerminal()
{
    closeQuietly(m_closings);
    closeQuietly(m_slave);
    closeQuietly(m_master);
}

std::optional<std::string> SimTerminal::open()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0)
        return "posix_openpt: " + systemReason(errno);
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return "grantpt/unlockpt: " + systemReason(errno);
    char name[256] = {};
    if (const int failure = ::ptsname_r(m_master, name, sizeof name); failure != 0)
        return "ptsname_r: " + systemReason(failure);
    m_path = name;

    // The master's settings are the slave's: raw bytes, no echo, no line editing, no translation.
    termios settings{};
    if (::tcgetattr(m_master, &settings) != 0)
        return "tcgetattr: " + systemReason(errno);
    ::cfmakeraw(&settings);
    ::cfsetspeed(&settings, B4800);
    if (::tcsetattr(m_master, TCSANOW, &settings) != 0)
        return "tcsetattr: " + systemReason(errno);

    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0)
        return std::string(name) + ": " + systemReason(errno);
    const int flags = ::fcntl(m_master, F_GETFL);
    if (flags < 0 || ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0)
        return "fcntl: " + systemReason(errno);
    // Without the watch the looks now and then still find what a program left behind.
    m_closings = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_closings >= 0 && ::inotify_add_watch(m_closings, name, IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0)
        closeQuietly(m_closings);
    return std::nullopt;
}

void SimTerminal::clearLeftOverExclusiveMode()
{
    alignas(inotify_event) char events[4096];
    while (m_closings >= 0 && ::read(m_closings, events, sizeof events) > 0)
        m_closedWithMode = true;
    int exclusive = 0;
    struct stat info = {};
    if (m_slave < 0 || ::ioctl(m_slave, TIOCGEXCL, &exclusive) != 0 || exclusive == 0 || ::fstat(m_slave, &info) != 0) {
        m_leftOverSeen = 0;
        m_closedWithMode = false;
        return;
    }
    // A program that opens the terminal takes its lock before it sets the mode, so the mode without the lock is
    // left behind, or at most a moment of another program's opening: right after a close, or twice in a row, it
    // is left behind.
    const std::optional<bool> held = qt::flockHeldOn(info.st_dev, info.st_ino);
    if (!held || *held) {
        m_leftOverSeen = 0;
        return;
    }
    if (++m_leftOverSeen < 2 && !m_closedWithMode)
        return;
    ::ioctl(m_slave, TIOCNXCL);
    m_leftOverSeen = 0;
    m_closedWithMode = false;
}

std::optional<std::string> makeLink(const std::string& link, const std::string& target)
{
    struct stat info = {};
    if (::lstat(link.c_str(), &info) == 0 && !S_ISLNK(info.st_mode))
        return link + " exists and is not a symbolic link";
    const std::string temporary = link + ".tmp" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0)
        return link + ": " + systemReason(errno);
    if (::rename(temporary.c_str(), link.c_str()) != 0) {
        const int failure = errno;
        ::unlink(temporary.c_str());
        return link + ": " + systemReason(failure);
    }
    return std::nullopt;
}

void removeLink(const std::string& link, const std::string& target)
{
    char pointsTo[512] = {};
    const auto length = ::readlink(link.c_str(), pointsTo, sizeof pointsTo - 1);
    if (length >= 0 && std::string(pointsTo, static_cast<std::size_t>(length)) == target)
        ::unlink(link.c_str());
}

} // namespace qm::cli
