// A stream buffer over a file descriptor that remembers the first write that failed, so vq3 can end with an
// error instead of reporting success over output that never arrived (a full disk, a closed pipe).
#pragma once

#include <streambuf>
#include <string>
#include <vector>

namespace qm::cli
{

class DescriptorBuffer : public std::streambuf
{
public:
    /// Writes to the descriptor, which stays open when the buffer ends (the caller owns it).
    explicit DescriptorBuffer(int fd);
    /// Writes what is still buffered.
    ~DescriptorBuffer() override;
    DescriptorBuffer(const DescriptorBuffer&) = delete;
    DescriptorBuffer& operator=(const DescriptorBuffer&) = delete;

    /// Returns the operating system's error number of the first write that failed or fell short, 0 while every
    /// write went through. Everything written after a failure is dropped.
    int failure() const { return m_failure; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;
    int sync() override;

private:
    bool writeOut(const char* bytes, std::size_t count);
    bool flushBuffer();

    int m_fd;
    int m_failure = 0;
    std::vector<char> m_buffer;
};

/// Returns the system's reason for an error number, such as "No space left on device".
std::string systemReason(int errorNumber);

} // namespace qm::cli
