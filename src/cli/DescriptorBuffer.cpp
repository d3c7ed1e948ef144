// A stream buffer over a file descriptor that remembers the first write that failed.
#include "cli/DescriptorBuffer.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace qm::cli
{

namespace
{

constexpr std::size_t kBufferSize = 64 * 1024;

} // namespace

DescriptorBuffer::DescriptorBuffer(int fd) : m_fd(fd), m_buffer(kBufferSize)
{
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
}

DescriptorBuffer::~DescriptorBuffer()
{
    flushBuffer();
}

bool DescriptorBuffer::writeOut(const char* bytes, std::size_t count)
{
    while (count > 0 && m_failure == 0) {
        const ssize_t written = ::write(m_fd, bytes, count);
        if (written > 0) {
            bytes += written;
            count -= static_cast<std::size_t>(written);
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // A descriptor inherited in non-blocking mode: wait until it takes more instead of losing output.
            pollfd ready{m_fd, POLLOUT, 0};
            if (::poll(&ready, 1, -1) < 0 && errno != EINTR)
                m_failure = errno;
        } else {
            // A write that takes nothing without saying why has still lost the rest.
            m_failure = written < 0 ? errno : EIO;
        }
    }
    return m_failure == 0;
}

bool DescriptorBuffer::flushBuffer()
{
    const auto pending = static_cast<std::size_t>(pptr() - pbase());
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    return pending == 0 || writeOut(m_buffer.data(), pending);
}

DescriptorBuffer::int_type DescriptorBuffer::overflow(int_type c)
{
    if (!flushBuffer())
        return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize DescriptorBuffer::xsputn(const char* bytes, std::streamsize count)
{
    if (m_failure != 0)
        return 0;
    const auto size = static_cast<std::size_t>(count);
    if (size <= static_cast<std::size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), bytes, size);
        pbump(static_cast<int>(count));
        return count;
    }
    if (!flushBuffer() || !writeOut(bytes, size))
        return 0;
    return count;
}

int DescriptorBuffer::sync()
{
    return flushBuffer() ? 0 : -1;
}

std::string systemReason(int errorNumber)
{
    return std::strerror(errorNumber);
}

} // namespace qm::cli
