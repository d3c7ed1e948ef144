// The link's serial port, probe and connection reports, and the dispatch of the port's notifications.
#include "link/Link.h"

#include "link/LinkBytes.h"
#include "link/LinkMessages.h"

#include <string>
#include <utility>

namespace qm::link
{

Link::Link(SerialPort& port, Timer& probeTimer, Timer& readTimeOutTimer, Timer& writeTimeOutTimer,
           ConnectionListener& connection, LinkStatus& status, LinkHost& host)
    : m_port(port), m_probeTimer(probeTimer), m_readTimeOutTimer(readTimeOutTimer),
      m_writeTimeOutTimer(writeTimeOutTimer), m_connection(connection), m_status(status), m_host(host)
{
    m_port.setListener(this);
    m_probeTimer.setHandler([this] { probeTick(); });
    m_readTimeOutTimer.setHandler([this] { readTimeOutTick(); });
    m_writeTimeOutTimer.setHandler([this] { writeTimeOutTick(); });
    // The probe runs from start-up on; it finds the unit as soon as the port is open.
    m_probeTimer.start();
}

Link::~Link()
{
    m_port.setListener(nullptr);
    m_probeTimer.setHandler({});
    m_readTimeOutTimer.setHandler({});
    m_writeTimeOutTimer.setHandler({});
}

void Link::sendBytes(std::string_view bytes)
{
    if (m_port.isOpen()) {
        m_port.send(bytes);
    }
}

void Link::flushBuffers()
{
    m_reply.clear();
    if (m_port.isOpen()) {
        m_port.flushInput();
        m_port.flushOutput();
    }
}

void Link::showBox(const forms::MessageBox& box)
{
    m_host.setBusyPointer(false);
    ++m_boxDepth;
    m_host.showBox(box);
    --m_boxDepth;
}

void Link::showBoxAboveWelcome(const forms::MessageBox& box)
{
    m_connection.boxAboveWelcome(true);
    showBox(box);
    m_connection.boxAboveWelcome(false);
}

void Link::testPort()
{
    choosePort();
    if (const auto error = m_port.open()) {
        m_lastPortError = error;
        showBoxAboveWelcome(portFailureBox(*error, chosenPortName(m_status.comPort, m_status.otherDevice)));
        m_status.portTestFailed = true;
        return;
    }
    if (m_port.isOpen()) {
        m_port.close();
    }
}

void Link::openPort()
{
    if (!m_port.isOpen()) {
        // The port passed its test just before; should it fail now, the probes go unanswered.
        if (const auto error = m_port.open()) {
            m_lastPortError = error;
            return;
        }
        m_silentTicks = 0;
    }
}

void Link::choosePort()
{
    m_port.setCommPort(m_status.comPort);
    m_port.setDevice(m_status.otherDevice);
}

void Link::silenceTick()
{
    if (!m_silentTicks || m_portLost || !m_port.isOpen() || ++*m_silentTicks < kSilenceHintTicks) {
        return;
    }
    m_silentTicks.reset();
    m_silenceHintShown = true;
    m_connection.portHint(PortHint::Silent, portName());
}

std::string Link::portName() const
{
    std::string device = m_port.deviceName();
    return device.empty() ? "COM" + std::to_string(m_status.comPort) : device;
}

void Link::heardFromPort()
{
    m_silentTicks.reset();
    if (std::exchange(m_silenceHintShown, false) && !m_portLost) {
        m_connection.portHint(PortHint::None, {});
    }
}

void Link::closePort()
{
    forgetLostPort();
    m_draining = false;
    if (m_port.isOpen()) {
        sendBytes(std::string(1, kEndCommand));
        m_port.close();
    }
}

void Link::askToChoosePort()
{
    showBoxAboveWelcome(serialPortSelectionBox());
}

void Link::returnToProbing()
{
    m_awaitingEcho = false;
    m_lastCommand = Command::Probe;
    m_reply.clear();
    // Only the receive side is discarded: what was sent last (an abort burst above all) still has to reach the
    // unit. While it drains, the input is discarded once it has left.
    if (!m_draining && m_port.isOpen()) {
        m_port.flushInput();
    }
    if (!m_probeTimer.isActive()) {
        m_probeTimer.start();
    }
}

void Link::showDisconnected()
{
    m_connection.connectionChanged(Connection::Disconnected);
    m_status.firmwareVersion = 0;
    m_firmwareWarned = false;
    m_identifyAttempted = false;
    m_status.unitImage.clear();
    m_readWriteAfterDrain = false;
    m_connection.commandsAccepted(false);
}

void Link::sendAbortBurst()
{
    sendBytes(std::string(kAbortZeroBytes, '\0'));
    sendBytes(std::string(1, kEndCommand));
    awaitSent();
}

void Link::showConnected()
{
    m_connection.connectionChanged(Connection::Connected);
    enableReadWrite();
}

void Link::enableReadWrite()
{
    // Read and Write offer themselves once an abort burst has left: a command before that would have to wait.
    if (m_draining) {
        m_readWriteAfterDrain = true;
        return;
    }
    m_connection.commandsAccepted(true);
}

void Link::abandonTransaction()
{
    if (m_lastCommand == Command::Probe) {
        return;
    }
    dropTransaction();
    returnToProbing();
}

void Link::dropTransaction()
{
    m_readTimeOutTimer.stop();
    m_writeTimeOutTimer.stop();
    m_readingBack = false;
    clearWrite();
    m_host.setBusyPointer(false);
}

void Link::selectComPort(int n)
{
    m_status.comPort = n;
    m_status.otherDevice.clear();
    changePort();
}

void Link::selectOtherDevice(const std::string& path)
{
    m_status.otherDevice = path;
    changePort();
}

void Link::changePort()
{
    showDisconnected();
    heardFromPort();
    forgetLostPort();
    // Closing discards whatever had not left yet.
    m_draining = false;
    if (m_port.isOpen()) {
        m_port.close();
    }
    // A read or write under way cannot finish once its port is closed: without this its time-out would fire
    // later, on the new port, and a write would leave its image behind.
    abandonTransaction();
    m_connection.portChosen(m_status.comPort, m_status.otherDevice);
    m_status.portTestFailed = false;
    testPort();
    if (m_status.portTestFailed) {
        m_readTimeOutTimer.stop();
        askToChoosePort();
        return;
    }
    m_host.saveComPortToIni();
    openPort();
    returnToProbing();
}

void Link::disconnectUnit()
{
    // In the middle of a read or write the unit takes every byte as part of the transfer: an "E" sent now would
    // land inside the image (and, when the next image byte happens to be "E", pass the echo check). The click
    // counts only between transfers, which end within a second or at their time-out.
    if (m_lastCommand != Command::Probe || m_closing) {
        return;
    }
    sendBytes(std::string(1, kEndCommand));
}

void Link::probeTick()
{
    if (m_boxDepth > 0) {
        return;
    }
    // No probe joins an abort burst or a final "E" on its way out.
    if (m_draining) {
        drainTick();
        return;
    }
    m_lastCommand = Command::Probe;
    if (m_awaitingEcho) {
        showDisconnected();
    }
    if (m_portLost) {
        reopenTick();
    }
    silenceTick();
    // A probe that cannot go out gets no echo either: a port that was lost turns the display Disconnected.
    m_awaitingEcho = true;
    sendBytes(std::string(1, kProbeByte));
}

void Link::probeNow()
{
    m_probeTimer.start();
    probeTick();
}

void Link::receiveProbeEchoes()
{
    // One notification may stand for several bytes: look at all of them for the probe's echo.
    while (m_lastCommand == Command::Probe) {
        const auto byte = m_port.takeByte();
        if (!byte) {
            return;
        }
        if (*byte == kProbeByte) {
            probeEchoed();
        }
    }
}

void Link::probeEchoed()
{
    m_awaitingEcho = false;
    showConnected();
    if (m_status.firmwareVersion == 0 && !m_identifyAttempted) {
        startIdentification();
    }
}

void Link::dataArrived()
{
    heardFromPort();
    if (m_boxDepth > 0) {
        return;
    }
    // The unit's answers to an abort burst (or to anything before the final "E") answer nothing that follows.
    if (m_draining || m_closing) {
        while (m_port.takeByte()) {
        }
        return;
    }
    if (m_lastCommand == Command::Upload) {
        receiveReply();
    } else if (m_lastCommand == Command::Download) {
        receiveWriteEchoes();
    } else {
        receiveProbeEchoes();
    }
}

void Link::portFailed(const PortError& error)
{
    m_lastPortError = error;
    // Nothing more leaves a closed port.
    m_draining = false;
    if (m_closing) {
        m_closing = false;
        m_probeTimer.stop();
        m_host.portClosed();
        return;
    }
    markPortLost();
    if (m_boxDepth > 0) {
        return;
    }
    if (m_lastCommand == Command::Upload) {
        m_writeTimeOutTimer.stop();
        readTimedOut();
    } else if (m_lastCommand == Command::Download) {
        m_readTimeOutTimer.stop();
        writeTimedOut();
    } else {
        m_readTimeOutTimer.stop();
        m_writeTimeOutTimer.stop();
        showDisconnected();
        returnToProbing();
    }
}

} // namespace qm::link
