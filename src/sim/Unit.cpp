// The simulated unit's state machine.
#include "sim/Unit.h"

#include <algorithm>
#include <utility>

namespace qm::sim
{

namespace
{

constexpr char kProbe = static_cast<char>(0xAA);

char inverted(char byte)
{
    return static_cast<char>(~static_cast<unsigned char>(byte));
}

} // namespace

Unit::Unit(UnitSettings settings) : m_settings(std::move(settings))
{
    m_settings.image.resize(kImageSize, '\0');
}

void Unit::onDownloadCompleted(std::function<void(const std::string& image)> handler)
{
    m_downloadCompleted = std::move(handler);
}

std::string Unit::receive(char byte)
{
    if (m_settings.faults.silent)
        return {};
    std::string answer;
    switch (m_state) {
    case State::Waiting:
        answer = answerWaiting(byte);
        break;
    case State::Downloading:
        answer = answerDownload(byte);
        break;
    case State::Broken:
        if (byte == 'E') {
            m_state = State::Waiting;
            m_download.clear();
        }
        break;
    }
    if (m_settings.faults.garbage)
        for (char& sent : answer)
            sent = noiseOtherThan(sent);
    return answer;
}

char Unit::noiseOtherThan(char byte)
{
    for (;;) {
        m_noise ^= m_noise << 13;
        m_noise ^= m_noise >> 17;
        m_noise ^= m_noise << 5;
        const auto noise = static_cast<char>(m_noise & 0xFFu);
        if (noise != byte)
            return noise;
    }
}

std::string Unit::answerWaiting(char byte)
{
    if (byte == kProbe)
        return std::string(1, kProbe);
    if (byte == 'U')
        return identification();
    if (byte == 'D') {
        m_state = State::Downloading;
        m_download.clear();
        m_downloadCount = 0;
        m_echoCount = 0;
        return answerDownload(byte);
    }
    return {};
}

// Every byte of a download is data, "E" and 0x00 included: only a fault breaks a download off, and then the
// unit discards it and waits for the "E" that ends the program's abort burst.
std::string Unit::answerDownload(char byte)
{
    ++m_downloadCount;
    const Faults& faults = m_settings.faults;
    if (m_downloadCount > 1)
        m_download.push_back(faults.storeWrongAt == m_downloadCount ? inverted(byte) : byte);
    if (faults.stopEchoAfter && m_echoCount >= *faults.stopEchoAfter) {
        m_state = State::Broken;
        return {};
    }
    ++m_echoCount;
    if (faults.badEchoAt && m_downloadCount == *faults.badEchoAt) {
        m_state = State::Broken;
        return std::string(1, inverted(byte));
    }
    if (m_download.size() == kImageSize) {
        m_state = State::Waiting;
        m_settings.image = std::exchange(m_download, {});
        if (m_downloadCompleted)
            m_downloadCompleted(m_settings.image);
    }
    return std::string(1, byte);
}

std::string Unit::identification()
{
    std::string reply;
    reply.reserve(kReplySize);
    reply.push_back('U');
    reply.push_back(static_cast<char>(m_settings.model));
    reply.push_back(static_cast<char>(m_settings.firmware));
    reply += m_settings.image;
    const Faults& faults = m_settings.faults;
    if (faults.garbageReply) {
        reply[0] = noiseOtherThan(reply[0]);
        for (std::size_t i = 1; i < reply.size(); ++i)
            reply[i] = noiseOtherThan(reply[i]);
    }
    if (faults.shortReply)
        reply.resize(std::min(reply.size(), static_cast<std::size_t>(std::max(*faults.shortReply, 0))));
    if (faults.replyExtra)
        reply.append(static_cast<std::size_t>(std::max(*faults.replyExtra, 0)), '\0');
    return reply;
}

} // namespace qm::sim
