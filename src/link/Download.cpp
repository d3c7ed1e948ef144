// The write transaction: the image sent byte by byte, each byte after the unit echoed the one before, then read
// back and compared.
#include "link/Link.h"

#include "link/LinkBytes.h"
#include "link/LinkMessages.h"

#include <cstddef>

namespace qm::link
{

void Link::startDownload(const std::string& downloadImage)
{
    if (!idle() || downloadImage.empty()) {
        return;
    }
    m_downloadImage = downloadImage;
    m_probeTimer.stop();
    m_connection.commandsAccepted(false);
    flushBuffers();
    // One limit for the whole write, not restarted per byte.
    m_writeTimeOutTimer.start();
    m_lastCommand = Command::Download;
    m_echoCount = 0;
    m_host.progress(0, static_cast<int>(m_downloadImage.size()));
    sendBytes(std::string_view(m_downloadImage).substr(0, 1));
}

void Link::receiveWriteEchoes()
{
    m_host.setBusyPointer(true);
    const auto& image = m_downloadImage;
    while (m_lastCommand == Command::Download) {
        const auto byte = m_port.takeByte();
        if (!byte) {
            return;
        }
        // The echo of a probe sent just before the write can arrive ahead of the echo of "D".
        if (m_echoCount == 0 && *byte == kProbeByte) {
            continue;
        }
        ++m_echoCount;
        const auto echoed = static_cast<std::size_t>(m_echoCount);
        if (echoed > image.size() || *byte != image[echoed - 1]) {
            echoMismatch();
            return;
        }
        m_host.progress(m_echoCount, static_cast<int>(image.size()));
        if (echoed >= image.size()) {
            downloadComplete();
            return;
        }
        sendBytes(std::string_view(image).substr(echoed, 1));
    }
}

void Link::clearWrite()
{
    m_echoCount = 0;
    m_downloadImage.clear();
}

void Link::echoMismatch()
{
    m_writeTimeOutTimer.stop();
    clearWrite();
    // The unit is told to discard the broken write at once, not after the user has read the box.
    sendAbortBurst();
    showBox(echoMismatchBox());
    returnToProbing();
    enableReadWrite();
}

void Link::downloadComplete()
{
    m_writeTimeOutTimer.stop();
    if (m_status.verifyWrites) {
        startReadBack();
        return;
    }
    finishWrite();
}

void Link::startReadBack()
{
    m_readingBack = true;
    m_lastCommand = Command::Upload;
    m_reply.clear();
    if (m_port.isOpen()) {
        m_port.flushInput();
    }
    m_readTimeOutTimer.start();
    m_host.progress(0, static_cast<int>(kReplySize));
    sendBytes(std::string(1, kReadRequest));
}

void Link::compareReadBack()
{
    m_readingBack = false;
    if (m_reply.front() != kReadRequest) {
        clearWrite();
        rejectReply(readBackFailedBox());
        return;
    }
    const std::string written = m_downloadImage.substr(1);
    const std::string readBack = m_reply.substr(3);
    m_reply.clear();
    if (readBack == written) {
        finishWrite();
        return;
    }
    m_host.setBusyPointer(false);
    const WriteMismatch mismatch = m_host.describeMismatch(written, readBack, m_status.unitImage);
    // What the unit truly holds now is kept like any read of it.
    m_status.unitImage = readBack;
    m_host.transactionCompleted(Transaction::Read, readBack);
    clearWrite();
    showBox(writeNotVerifiedBox(mismatch.field, mismatch.backup));
    returnToProbing();
    enableReadWrite();
}

void Link::finishWrite()
{
    m_host.setBusyPointer(false);
    m_status.unitImage = m_downloadImage.substr(1);
    m_host.transactionCompleted(Transaction::Write, m_status.unitImage);
    showBox(downloadCompleteBox());
    clearWrite();
    returnToProbing();
    enableReadWrite();
}

void Link::writeTimeOutTick()
{
    if (m_boxDepth > 0) {
        return;
    }
    writeTimedOut();
}

void Link::writeTimedOut()
{
    m_writeTimeOutTimer.stop();
    clearWrite();
    sendAbortBurst();
    showBox(writeTimeOutBox());
    showDisconnected();
    returnToProbing();
}

} // namespace qm::link
