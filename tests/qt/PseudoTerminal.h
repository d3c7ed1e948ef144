// A pseudo-terminal pair for the serial-port tests: the master in raw mode, one slave descriptor kept open.
#pragma once

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace qm::qttest
{

class PseudoTerminal
{
public:
    PseudoTerminal() : m_master(::posix_openpt(O_RDWR | O_NOCTTY))
    {
        char name[128] = {};
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
            ::ptsname_r(m_master, name, sizeof name) != 0)
            return;
        termios raw{};
        ::tcgetattr(m_master, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(m_master, TCSANOW, &raw);
        m_slavePath = name;
        m_slave = ::open(name, O_RDWR | O_NOCTTY);
    }
    ~PseudoTerminal()
    {
        closeMaster();
        if (m_slave >= 0)
            ::close(m_slave);
    }

    bool valid() const { return m_master >= 0 && m_slave >= 0; }
    const std::string& slavePath() const { return m_slavePath; }
    int slave() const { return m_slave; }
    void write(const std::string& bytes) { (void)!::write(m_master, bytes.data(), bytes.size()); }
    /// Writes what the terminal takes without waiting; returns how much that was.
    std::size_t writeSome(const std::string& bytes)
    {
        const int flags = ::fcntl(m_master, F_GETFL);
        ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK);
        const ssize_t written = ::write(m_master, bytes.data(), bytes.size());
        ::fcntl(m_master, F_SETFL, flags);
        return written > 0 ? static_cast<std::size_t>(written) : 0;
    }
    void closeMaster() { m_master = m_master >= 0 ? (::close(m_master), -1) : -1; }

    /// What arrives at the master within the time, up to count bytes.
    std::string read(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(2))
    {
        std::string bytes;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (auto left = limit; bytes.size() < count && left.count() > 0;
             left =
                 std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())) {
            pollfd watch{m_master, POLLIN, 0};
            char buffer[4096];
            const ssize_t got = ::poll(&watch, 1, static_cast<int>(left.count())) > 0
                                    ? ::read(m_master, buffer, std::min(sizeof buffer, count - bytes.size()))
                                    : 0;
            if (got <= 0)
                break;
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
        return bytes;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

} // namespace qm::qttest
