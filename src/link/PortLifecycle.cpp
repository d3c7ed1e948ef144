// What was sent leaves the port before anything is discarded: the abort burst drains onto the line before the
// link probes again, and the final "E" before the port closes at the program's end. A lost port is opened again
// when its device is back.
#include "link/Link.h"

#include "link/LinkBytes.h"

#include <variant>

namespace qm::link
{

void Link::awaitSent()
{
    if (!m_port.isOpen()) {
        return;
    }
    if (auto* closing = std::get_if<states::Closing>(&m_outgoing)) {
        *closing = states::Closing{};
    } else if (auto* drain = std::get_if<states::Draining>(&m_outgoing)) {
        // Read and Write, when offered meanwhile, still come once this has left.
        drain->ticks = 0;
    } else {
        m_outgoing = states::Draining{};
    }
    m_port.notifyWhenSent();
}

void Link::allSent()
{
    if (draining()) {
        endDrain();
    }
}

void Link::drainTick(int& ticks)
{
    if (++ticks < kDrainTicks) {
        return;
    }
    // A device that stopped taking bytes is not waited for any longer.
    if (m_port.isOpen()) {
        m_port.flushOutput();
    }
    endDrain();
}

void Link::endDrain()
{
    const bool closing = std::holds_alternative<states::Closing>(m_outgoing);
    const auto* drain = std::get_if<states::Draining>(&m_outgoing);
    const bool offerCommands = drain != nullptr && drain->offerCommands;
    m_outgoing = states::Free{};
    // Whatever the unit sent while the burst went out answers nothing that follows.
    if (m_port.isOpen()) {
        m_port.flushInput();
    }
    if (!closing) {
        if (offerCommands) {
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

void Link::markPortLost()
{
    m_portWatch = states::Lost{};
    m_connection.portHint(PortHint::Lost, portName());
}

void Link::reopenTick(states::Lost& lost)
{
    if (m_port.isOpen() || ++lost.reopenTicks < kReopenTicks) {
        return;
    }
    lost.reopenTicks = 0;
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
