// A pseudo-terminal pair for the serial-port tests: the master in raw mode, one slave descriptor kept open.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
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
    PseudoTerminal()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            return;
        char name[128] = {};
        if (::ptsname_r(m_master, name, sizeof name) != 0)
            return;
        termios raw{};
        ::tcgetattr(m_master, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(m_master, TCSANOW, &raw);
        m_slavePath = name;
        m_slave = ::open(name, O_RDWR | O_NOCTTY);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    ~PseudoTerminal()
    {
        closeMaster();
        if (m_slave >= 0)
            ::close(m_slave);
    }

    bool valid() const { return m_master >= 0 && m_slave >= 0; }
    const std::string& slavePath() const { return m_slavePath; }
    int slave() const { return m_slave; }

    void write(const std::string& bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t written = ::write(m_master, bytes.data() + done, bytes.size() - done);
            ASSERT_GT(written, 0) << std::strerror(errno);
            done += static_cast<std::size_t>(written);
        }
    }

    std::string read(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(2))
    {
        std::string bytes;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (bytes.size() < count) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            pollfd watch{m_master, POLLIN, 0};
            if (::poll(&watch, 1, static_cast<int>(left.count())) <= 0)
                break;
            char buffer[256];
            const ssize_t got = ::read(m_master, buffer, std::min(sizeof buffer, count - bytes.size()));
            if (got <= 0)
                break;
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
        return bytes;
    }

    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

} // namespace qm::qttest
