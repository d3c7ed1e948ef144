#include "cli/DescriptorBuffer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <ostream>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace qm::cli
{
namespace
{

std::string pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 31 % 251);
    return bytes;
}

std::string readAll(int fd)
{
    std::string bytes;
    char chunk[65536];
    for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) > 0;)
        bytes.append(chunk, static_cast<std::size_t>(n));
    return bytes;
}

class DescriptorBufferTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedPipe = std::signal(SIGPIPE, SIG_IGN);
        m_savedSize = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &m_savedLimit), 0);
        char name[] = "/tmp/qm-descriptor-XXXXXX";
        m_file = ::mkstemp(name);
        ASSERT_GE(m_file, 0);
        ::unlink(name);
    }

    void TearDown() override
    {
        ::setrlimit(RLIMIT_FSIZE, &m_savedLimit);
        std::signal(SIGPIPE, m_savedPipe);
        std::signal(SIGXFSZ, m_savedSize);
        ::close(m_file);
    }

    std::string fileContents() const
    {
        ::lseek(m_file, 0, SEEK_SET);
        return readAll(m_file);
    }

    void limitFileSize(rlim_t bytes)
    {
        rlimit limit = m_savedLimit;
        limit.rlim_cur = bytes;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    }

    int m_file = -1;
    rlimit m_savedLimit{};
    void (*m_savedPipe)(int) = nullptr;
    void (*m_savedSize)(int) = nullptr;
};

TEST_F(DescriptorBufferTest, EveryByteArrivesInOrderWhateverTheSizeOfTheWrites)
{
    const std::string big = pattern(300 * 1024);
    DescriptorBuffer buffer(m_file);
    std::ostream out(&buffer);
    out << "small " << 42 << '\n';
    out.write(big.data(), static_cast<std::streamsize>(big.size()));
    out << "tail";
    out.flush();
    EXPECT_TRUE(out.good());
    EXPECT_EQ(buffer.failure(), 0);
    EXPECT_EQ(fileContents(), "small 42\n" + big + "tail");
}

TEST_F(DescriptorBufferTest, AFailedOrShortWriteIsKeptWithTheSystemsReason)
{
    struct Case
    {
        const char* name;
        std::function<int()> open;
        std::size_t size;
        int failure;
    };
    int pipeEnds[2] = {-1, -1};
    const Case cases[] = {
        {"a full device", [] { return ::open("/dev/full", O_WRONLY | O_CLOEXEC); }, 10, ENOSPC},
        {"a pipe nobody reads",
         [&] {
             EXPECT_EQ(::pipe(pipeEnds), 0);
             ::close(pipeEnds[0]);
             return pipeEnds[1];
         },
         10, EPIPE},
        {"a file past the size limit",
         [&] {
             limitFileSize(1000);
             return ::dup(m_file);
         },
         100 * 1024, EFBIG},
    };
    for (const auto& c : cases) {
        const int fd = c.open();
        ASSERT_GE(fd, 0) << c.name;
        {
            DescriptorBuffer buffer(fd);
            std::ostream out(&buffer);
            out << pattern(c.size) << std::flush;
            EXPECT_FALSE(out.good()) << c.name;
            EXPECT_EQ(buffer.failure(), c.failure) << c.name;
            EXPECT_EQ(systemReason(buffer.failure()), std::string(std::strerror(c.failure))) << c.name;
            out << "more" << std::flush;
            EXPECT_EQ(buffer.failure(), c.failure) << c.name;
        }
        ::close(fd);
    }
    EXPECT_EQ(fileContents(), pattern(1000));
}

TEST_F(DescriptorBufferTest, ANonBlockingPipeThatFillsUpWaitsForTheReader)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::fcntl(ends[1], F_SETFL, O_NONBLOCK), 0);
    const std::string bytes = pattern(1024 * 1024);
    std::string received;
    std::thread reader([&] { received = readAll(ends[0]); });
    {
        DescriptorBuffer buffer(ends[1]);
        std::ostream out(&buffer);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        EXPECT_EQ(buffer.failure(), 0);
    }
    ::close(ends[1]);
    reader.join();
    ::close(ends[0]);
    EXPECT_EQ(received, bytes);
}

} // namespace
} // namespace qm::cli
