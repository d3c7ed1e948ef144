// What was sent leaves the port before anything is discarded: the abort burst drains onto the line before the
// link probes again, and the final "E" before the port closes at the program's end. A lost port is opened again
// when its device is back.
#include "link/Link.h"

#include "link/LinkBytes.h"
#include "link/Transitions.h"

#include <utility>
#include <variant>

namespace qm::link
{

void Link::awaitSent()
{
    if (!m_port.isOpen()) {
        return;
    }
    m_outgoing = transitions::awaitSent(m_outgoing);
    m_port.notifyWhenSent();
}

void Link::allSent()
{
    if (draining()) {
        endDrain();
    }
}

void Link::giveUpDrain()
{
    // A device that stopped taking bytes is not waited for any longer.
    if (m_port.isOpen()) {
        m_port.flushOutput();
    }
    endDrain();
}

void Link::endDrain()
{
    const transitions::DrainEnd end = transitions::drainEnd(m_outgoing);
    m_outgoing = states::Free{};
    // Whatever the unit sent while the burst went out answers nothing that follows.
    if (m_port.isOpen()) {
        m_port.flushInput();
    }
    if (!end.closePort) {
        if (end.offerCommands) {
            enableReadWrite();
        }
        return;
    }
    m_probeTimer.stop();
    m_port.close();
    m_host.portClosed();
}

void Link::closeWhenSent()
{
    if (std::holds_alternative<states::Closing>(m_outgoing)) {
        return;
    }
    forgetLostPort();
    if (transferUnderWay()) {
        dropTransaction();
        sendAbortBurst();
    }
    m_exchange = states::Probing{};
    if (!m_port.isOpen()) {
        m_outgoing = states::Free{};
        m_probeTimer.stop();
        m_host.portClosed();
        return;
    }
    sendBytes(std::string(1, kEndCommand));
    m_outgoing = states::Closing{};
    // From now on the probe timer only bounds the wait.
    m_probeTimer.start();
    awaitSent();
}

void Link::reopenPort()
{
    choosePort();
    if (const auto error = m_port.open()) {
        m_lastPortError = error;
        return;
    }
    forgetLostPort();
    m_portWatch = states::Watched{.silentTicks = 0, .silenceHinted = false};
}

void Link::forgetLostPort()
{
    if (std::holds_alternative<states::Lost>(m_portWatch)) {
        m_portWatch = states::Watched{};
    }
    m_connection.portHint(PortHint::None, {});
}

} // namespace qm::link
