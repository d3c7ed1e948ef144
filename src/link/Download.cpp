// The write transaction: the image sent byte by byte, each byte after the unit echoed the one before, then read
// back and compared.
#include "link/Link.h"

#include "link/LinkBytes.h"
#include "link/LinkMessages.h"
#include "link/Transitions.h"

#include <cstddef>
#include <string_view>
#include <utility>
#include <variant>

namespace qm::link
{

void Link::startDownload(const std::string& downloadImage)
{
    if (!idle() || downloadImage.empty()) {
        return;
    }
    m_probeTimer.stop();
    m_connection.commandsAccepted(false);
    flushBuffers();
    // One limit for the whole write, not restarted per byte.
    m_writeTimeOutTimer.start();
    m_exchange = states::Writing{.image = downloadImage, .echoed = 0};
    m_host.progress(0, static_cast<int>(downloadImage.size()));
    sendBytes(std::string_view(downloadImage).substr(0, 1));
}

void Link::receiveWriteEchoes()
{
    m_host.setBusyPointer(true);
    const transitions::WriteStep step =
        transitions::echoBytes(std::move(std::get<states::Writing>(m_exchange)), takeArrived());
    const int size = static_cast<int>(step.state.image.size());
    m_exchange = step.state;
    // Each echo that matched is reported and answered with the image's next byte.
    for (int echoed = step.matchedBefore + 1; echoed <= step.matchedAfter; ++echoed) {
        m_host.progress(echoed, size);
        const auto* writing = std::get_if<states::Writing>(&m_exchange);
        if (writing == nullptr) {
            return;
        }
        if (echoed < size) {
            sendBytes(std::string_view(writing->image).substr(static_cast<std::size_t>(echoed), 1));
        }
    }
    if (step.outcome == transitions::WriteOutcome::Mismatch) {
        echoMismatch();
    } else if (step.outcome == transitions::WriteOutcome::AllEchoed) {
        downloadComplete();
    }
}

void Link::echoMismatch()
{
    m_writeTimeOutTimer.stop();
    endTransfer();
    // The unit is told to discard the broken write at once, not after the user has read the box.
    sendAbortBurst();
    showBox(echoMismatchBox());
    returnToProbing();
    enableReadWrite();
}

void Link::downloadComplete()
{
    m_writeTimeOutTimer.stop();
    std::string image = std::move(std::get<states::Writing>(m_exchange).image);
    if (m_status.verifyWrites) {
        startReadBack(std::move(image));
        return;
    }
    finishWrite(image.substr(1));
}

void Link::startReadBack(std::string image)
{
    m_exchange = states::ReadingBack{.image = std::move(image), .reply = {}};
    if (m_port.isOpen()) {
        m_port.flushInput();
    }
    m_readTimeOutTimer.start();
    m_host.progress(0, static_cast<int>(kReplySize));
    sendBytes(std::string(1, kReadRequest));
}

void Link::compareReadBack()
{
    // The image and the reply leave the exchange with the transfer's end.
    const states::ReadingBack readBack = std::move(std::get<states::ReadingBack>(m_exchange));
    endTransfer();
    const std::string written = readBack.image.substr(1);
    const std::string held = readBack.reply.substr(3);
    if (held == written) {
        finishWrite(written);
        return;
    }
    m_host.setBusyPointer(false);
    const WriteMismatch mismatch = m_host.describeMismatch(written, held, m_status.unitImage);
    // What the unit truly holds now is kept like any read of it.
    m_status.unitImage = held;
    m_host.transactionCompleted(Transaction::Read, held);
    showBox(writeNotVerifiedBox(mismatch.field, mismatch.backup));
    returnToProbing();
    enableReadWrite();
}

void Link::finishWrite(const std::string& written)
{
    endTransfer();
    m_host.setBusyPointer(false);
    m_status.unitImage = written;
    m_host.transactionCompleted(Transaction::Write, m_status.unitImage);
    showBox(downloadCompleteBox());
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
    m_exchange = transitions::writeTimedOut(m_exchange).exchange;
    sendAbortBurst();
    showBox(writeTimeOutBox());
    showDisconnected();
    returnToProbing();
}

} // namespace qm::link
