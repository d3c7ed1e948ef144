// The write transaction: the image sent byte by byte, each byte after the unit echoed the one before.
#include "link/Link.h"

#include "link/LinkBytes.h"
#include "link/LinkMessages.h"

#include <cstddef>

namespace qm::link
{

void Link::startDownload(const std::string& downloadImage)
{
    if (m_state.LastCommand != "E" || downloadImage.empty()) {
        return;
    }
    m_state.DownloadImage = downloadImage;
    m_echoTimer.stop();
    m_windows.MDIForm1.menus.read.setEnabled(false);
    m_windows.MDIForm1.menus.write.setEnabled(false);
    flushBuffers();
    // One limit for the whole write, not restarted per byte.
    m_writeTimeOutTimer.start();
    m_state.LastCommand = "D";
    m_state.EchoCount = 0;
    m_host.progress(0, static_cast<int>(m_state.DownloadImage.size()));
    sendBytes(std::string_view(m_state.DownloadImage).substr(0, 1));
}

void Link::receiveWriteEchoes()
{
    m_host.setBusyPointer(true);
    const auto& image = m_state.DownloadImage;
    while (m_state.LastCommand == "D") {
        const auto byte = m_port.takeByte();
        if (!byte) {
            return;
        }
        // The echo of a probe sent just before the write can arrive ahead of the echo of "D".
        if (m_state.EchoCount == 0 && *byte == kProbeByte) {
            continue;
        }
        ++m_state.EchoCount;
        const auto echoed = static_cast<std::size_t>(m_state.EchoCount);
        if (echoed > image.size() || *byte != image[echoed - 1]) {
            echoMismatch();
            return;
        }
        m_host.progress(m_state.EchoCount, static_cast<int>(image.size()));
        if (echoed >= image.size()) {
            downloadComplete();
            return;
        }
        sendBytes(std::string_view(image).substr(echoed, 1));
    }
}

void Link::echoMismatch()
{
    m_writeTimeOutTimer.stop();
    showBox(echoMismatchBox());
    m_state.EchoCount = 0;
    m_state.DownloadImage.clear();
    SendAbortBurst();
    EchoMode();
    enableReadWrite();
}

void Link::downloadComplete()
{
    m_writeTimeOutTimer.stop();
    m_host.setBusyPointer(false);
    m_host.transactionCompleted(Transaction::Write, m_state.DownloadImage.substr(1));
    showBox(downloadCompleteBox());
    m_state.EchoCount = 0;
    m_state.DownloadImage.clear();
    EchoMode();
    enableReadWrite();
}

void Link::WriteTimeOutTimer_Timer()
{
    if (m_boxDepth > 0) {
        return;
    }
    writeTimedOut();
}

void Link::writeTimedOut()
{
    m_writeTimeOutTimer.stop();
    showBox(writeTimeOutBox());
    SendAbortBurst();
    ShowDisconnected();
    m_state.EchoCount = 0;
    m_state.DownloadImage.clear();
    EchoMode();
}

} // namespace qm::link
