// The floor of an echo-paced transfer over a pseudo-terminal.
#include "EchoFloor.h"

#include "Processes.h"

#include <csignal>
#include <cstdlib>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace qm::bench
{

namespace
{

void makeRaw(int fd)
{
    termios settings{};
    ::tcgetattr(fd, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(fd, TCSANOW, &settings);
}

/// Sends each byte after the echo of the one before; returns the milliseconds, negative on a lost echo.
double echoPaced(int fd, const std::string& stream)
{
    const auto start = Clock::now();
    for (char byte : stream) {
        if (::write(fd, &byte, 1) != 1)
            return -1;
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 1000) != 1)
            return -1;
        char echo = 0;
        if (::read(fd, &echo, 1) != 1 || echo != byte)
            return -1;
    }
    return millisecondsBetween(start, Clock::now());
}

[[noreturn]] void echoForever(int master)
{
    char buffer[256];
    for (;;) {
        pollfd ready{master, POLLIN, 0};
        if (::poll(&ready, 1, -1) < 0)
            ::_exit(1);
        const auto count = ::read(master, buffer, sizeof buffer);
        if (count <= 0)
            ::_exit(0);
        if (::write(master, buffer, static_cast<std::size_t>(count)) != count)
            ::_exit(1);
    }
}

} // namespace

double echoLoopMs(int roundTrips)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        throw std::runtime_error("no pseudo-terminal");
    makeRaw(master);
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0)
        throw std::runtime_error("cannot open the pseudo-terminal's slave");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(slave);
        echoForever(master);
    }
    ::close(master);
    std::string stream;
    for (int i = 0; i < roundTrips; ++i)
        stream.push_back(static_cast<char>(i * 37));
    const double ms = echoPaced(slave, stream);
    ::close(slave);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return ms;
}

double echoPacedWriteMs(const std::string& path, const std::string& stream)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    makeRaw(fd);
    ::tcflush(fd, TCIOFLUSH);
    const double ms = echoPaced(fd, stream);
    ::close(fd);
    return ms;
}

} // namespace qm::bench
