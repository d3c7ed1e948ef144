// What was sent leaves the port before anything is discarded: the abort burst drains onto the line before the
// link probes again, and the final "E" before the port closes at the program's end. A lost port is opened again
// when its device is back.
#include "link/Link.h"

#include "link/LinkBytes.h"

#include <utility>

namespace qm::link
{

void Link::awaitSent()
{
    if (!m_port.isOpen()) {
        return;
    }
    m_draining = true;
    m_drainTicks = 0;
    m_port.notifyWhenSent();
}

void Link::allSent()
{
    if (m_draining) {
        endDrain();
    }
}

void Link::drainTick()
{
    if (++m_drainTicks < kDrainTicks) {
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
    m_draining = false;
    m_reply.clear();
    // Whatever the unit sent while the burst went out answers nothing that follows.
    if (m_port.isOpen()) {
        m_port.flushInput();
    }
    if (!m_closing) {
        if (std::exchange(m_readWriteAfterDrain, false)) {
            enableReadWrite();
        }
        return;
    }
    m_closing = false;
    m_probeTimer.stop();
    m_port.close();
    m_host.portClosed();
}

void Link::closeWhenSent()
{
    if (m_closing) {
        return;
    }
    forgetLostPort();
    if (transferUnderWay()) {
        dropTransaction();
        sendAbortBurst();
    }
    m_lastCommand = Command::Probe;
    m_awaitingEcho = false;
    if (!m_port.isOpen()) {
        m_draining = false;
        m_probeTimer.stop();
        m_host.portClosed();
        return;
    }
    sendBytes(std::string(1, kEndCommand));
    m_closing = true;
    // From now on the probe timer only bounds the wait.
    m_probeTimer.start();
    awaitSent();
}

void Link::markPortLost()
{
    m_portLost = true;
    m_reopenTicks = 0;
    m_silentTicks.reset();
    m_silenceHintShown = false;
    m_connection.portHint(PortHint::Lost, portName());
}

void Link::reopenTick()
{
    if (m_port.isOpen() || ++m_reopenTicks < kReopenTicks) {
        return;
    }
    m_reopenTicks = 0;
    choosePort();
    if (const auto error = m_port.open()) {
        m_lastPortError = error;
        return;
    }
    forgetLostPort();
    m_silentTicks = 0;
}

void Link::forgetLostPort()
{
    m_portLost = false;
    m_reopenTicks = 0;
    m_connection.portHint(PortHint::None, {});
}

} // namespace qm::link
