// The read transaction: the identification read, the user's Read, the 131-byte reply and the read time-out.
#include "link/Link.h"

#include "link/LinkBytes.h"
#include "link/LinkMessages.h"
#include "link/Transitions.h"

#include <algorithm>
#include <utility>
#include <variant>

namespace qm::link
{

namespace
{

std::string modelNameOf(unsigned char modelByte)
{
    switch (modelByte) {
    case 0:
        return "VQ-3 ";
    case 1:
        return "VQ-3+ ";
    default:
        return "Custom ";
    }
}

} // namespace

void Link::startIdentification()
{
    m_readTimeOutTimer.start();
    m_identifyAttempted = true;
    m_probeTimer.stop();
    m_connection.commandsAccepted(false);
    flushBuffers();
    m_exchange = states::Reading{.identifyOnly = true, .reply = {}};
    m_host.progress(0, static_cast<int>(kReplySize));
    sendBytes(std::string(1, kReadRequest));
}

void Link::read()
{
    if (!idle()) {
        return;
    }
    m_host.saveShownProfiles();
    m_probeTimer.stop();
    m_connection.commandsAccepted(false);
    flushBuffers();
    m_readTimeOutTimer.start();
    // The user's read always decodes, even right after an identification read that warned of old firmware.
    m_exchange = states::Reading{};
    m_host.progress(0, static_cast<int>(kReplySize));
    sendBytes(std::string(1, kReadRequest));
}

void Link::receiveReply()
{
    auto* reading = std::get_if<states::Reading>(&m_exchange);
    auto* readingBack = std::get_if<states::ReadingBack>(&m_exchange);
    std::string& reply = reading != nullptr ? reading->reply : readingBack->reply;
    m_host.setBusyPointer(true);
    transitions::ReplyStep step = transitions::replyBytes(std::move(reply), takeArrived());
    reply = std::move(step.reply);
    m_host.progress(static_cast<int>(std::min(reply.size(), kReplySize)), static_cast<int>(kReplySize));
    if (step.outcome == transitions::ReplyOutcome::Waiting) {
        return;
    }
    m_readTimeOutTimer.stop();
    if (step.outcome == transitions::ReplyOutcome::Foreign) {
        rejectReply(readingBack != nullptr ? readBackFailedBox() : badReplyBox());
    } else if (readingBack != nullptr) {
        compareReadBack();
    } else {
        completeReply();
    }
}

void Link::completeReply()
{
    // The reply leaves the exchange with the transfer's end.
    const states::Reading reading = std::move(std::get<states::Reading>(m_exchange));
    endTransfer();
    // "U", the model byte, the firmware byte, then the 128 configuration bytes.
    const std::string& reply = reading.reply;
    m_status.modelName = modelNameOf(static_cast<unsigned char>(reply[1]));
    m_status.firmwareVersion = static_cast<unsigned char>(reply[2]);
    m_status.uploadData = reply.substr(3);
    m_status.unitImage = m_status.uploadData;
    m_connection.unitIdentified(m_status.modelName, m_status.firmwareVersion,
                                chosenPortName(m_status.comPort, m_status.otherDevice));
    m_host.setBusyPointer(false);
    const auto transaction = reading.identifyOnly ? Transaction::Identification : Transaction::Read;
    if (m_status.firmwareVersion >= kMinFirmwareVersion || m_firmwareWarned) {
        if (!reading.identifyOnly) {
            m_host.decodeUpload(m_status.uploadData);
        }
        m_host.transactionCompleted(transaction, m_status.uploadData);
    } else {
        m_firmwareWarned = true;
        m_host.transactionCompleted(transaction, m_status.uploadData);
        showBox(oldFirmwareBox(kMinFirmwareVersion, m_status.firmwareVersion));
    }
    returnToProbing();
    enableReadWrite();
}

void Link::rejectReply(const forms::MessageBox& box)
{
    // Shifted or foreign bytes would overwrite the user's windows: keep the windows and the identification.
    // The unit is told to end the exchange at once, not after the user has read the box.
    endTransfer();
    sendAbortBurst();
    showBox(box);
    returnToProbing();
    enableReadWrite();
}

void Link::readTimeOutTick()
{
    if (m_boxDepth > 0) {
        return;
    }
    readTimedOut();
}

void Link::readTimedOut()
{
    m_readTimeOutTimer.stop();
    const transitions::TimeOutStep step = transitions::readTimedOut(m_exchange);
    m_exchange = step.exchange;
    sendAbortBurst();
    // A write whose read-back broke off is not known to be stored; the box says the write itself went through.
    showBoxAboveWelcome(step.broken == transitions::BrokenTransfer::ReadBack ? readBackFailedBox() : readTimeOutBox());
    showDisconnected();
    returnToProbing();
}

} // namespace qm::link
