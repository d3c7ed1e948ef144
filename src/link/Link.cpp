// The link's serial port, probe and connection reports, and the dispatch of the port's notifications.
#include "link/Link.h"

#include "link/LinkBytes.h"
#include "link/LinkMessages.h"
#include "link/Transitions.h"

#include <string>
#include <utility>
#include <variant>

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

Command Link::activity() const
{
    return transitions::commandOf(m_exchange);
}

bool Link::awaitingEcho() const
{
    const auto* probing = std::get_if<states::Probing>(&m_exchange);
    return probing != nullptr && probing->awaitingEcho;
}

const std::string& Link::imageInFlight() const
{
    static const std::string kNone;
    if (const auto* writing = std::get_if<states::Writing>(&m_exchange)) {
        return writing->image;
    }
    if (const auto* readingBack = std::get_if<states::ReadingBack>(&m_exchange)) {
        return readingBack->image;
    }
    return kNone;
}

int Link::echoesReceived() const
{
    if (const auto* writing = std::get_if<states::Writing>(&m_exchange)) {
        return writing->echoed;
    }
    return static_cast<int>(imageInFlight().size());
}

bool Link::draining() const
{
    return transitions::waitingToLeave(m_outgoing);
}

void Link::stopDraining()
{
    if (auto* closing = std::get_if<states::Closing>(&m_outgoing)) {
        closing->draining = false;
    } else {
        m_outgoing = states::Free{};
    }
}

void Link::flushBuffers()
{
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
        // A lost port opened here stays lost to the probe ticks: they find it open and leave it.
        if (auto* watched = std::get_if<states::Watched>(&m_portWatch)) {
            watched->silentTicks = 0;
        }
    }
}

void Link::choosePort()
{
    m_port.setCommPort(m_status.comPort);
    m_port.setDevice(m_status.otherDevice);
}

void Link::silenceTick()
{
    transitions::SilenceStep step = transitions::silenceTick(m_portWatch, m_port.isOpen());
    m_portWatch = step.portWatch;
    if (step.hint) {
        m_connection.portHint(PortHint::Silent, portName());
    }
}

std::string Link::portName() const
{
    std::string device = m_port.deviceName();
    return device.empty() ? "COM" + std::to_string(m_status.comPort) : device;
}

void Link::heardFromPort()
{
    auto* watched = std::get_if<states::Watched>(&m_portWatch);
    if (watched == nullptr) {
        return;
    }
    watched->silentTicks.reset();
    if (std::exchange(watched->silenceHinted, false)) {
        m_connection.portHint(PortHint::None, {});
    }
}

void Link::closePort()
{
    forgetLostPort();
    stopDraining();
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
    m_exchange = states::Probing{};
    // Only the receive side is discarded: what was sent last (an abort burst above all) still has to reach the
    // unit. While it drains, the input is discarded once it has left.
    if (!draining() && m_port.isOpen()) {
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
    if (auto* drain = std::get_if<states::Draining>(&m_outgoing)) {
        drain->offerCommands = false;
    }
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
    if (draining()) {
        if (auto* drain = std::get_if<states::Draining>(&m_outgoing)) {
            drain->offerCommands = true;
        }
        return;
    }
    m_connection.commandsAccepted(true);
}

void Link::abandonTransaction()
{
    if (!transferUnderWay()) {
        return;
    }
    dropTransaction();
    returnToProbing();
}

void Link::dropTransaction()
{
    m_readTimeOutTimer.stop();
    m_writeTimeOutTimer.stop();
    endTransfer();
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
    stopDraining();
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
    if (transferUnderWay() || std::holds_alternative<states::Closing>(m_outgoing)) {
        return;
    }
    sendBytes(std::string(1, kEndCommand));
}

void Link::probeTick()
{
    if (m_boxDepth > 0) {
        return;
    }
    transitions::ProbeTickStep step =
        transitions::probeTick(std::move(m_exchange), m_outgoing, m_portWatch, m_port.isOpen());
    m_exchange = std::move(step.exchange);
    m_outgoing = step.outgoing;
    m_portWatch = step.portWatch;
    if (step.drainGivenUp) {
        giveUpDrain();
        return;
    }
    if (step.unanswered) {
        showDisconnected();
    }
    if (step.reopen) {
        reopenPort();
    }
    silenceTick();
    if (step.probe) {
        sendBytes(std::string(1, kProbeByte));
    }
}

void Link::probeNow()
{
    m_probeTimer.start();
    probeTick();
}

void Link::receiveProbeEchoes()
{
    const transitions::ProbeStep step = transitions::probeBytes(std::get<states::Probing>(m_exchange), takeArrived());
    m_exchange = step.state;
    // One notification may stand for several bytes: each echo counts while the link still probes.
    for (int echo = 0; echo < step.echoes && std::holds_alternative<states::Probing>(m_exchange); ++echo) {
        probeEchoed();
    }
}

std::string Link::takeArrived()
{
    std::string bytes;
    while (const auto byte = m_port.takeByte()) {
        bytes.push_back(*byte);
    }
    return bytes;
}

void Link::probeEchoed()
{
    std::get<states::Probing>(m_exchange).awaitingEcho = false;
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
    if (!std::holds_alternative<states::Free>(m_outgoing)) {
        while (m_port.takeByte()) {
        }
        return;
    }
    if (std::holds_alternative<states::Reading>(m_exchange) ||
        std::holds_alternative<states::ReadingBack>(m_exchange)) {
        receiveReply();
    } else if (std::holds_alternative<states::Writing>(m_exchange)) {
        receiveWriteEchoes();
    } else if (std::holds_alternative<states::Probing>(m_exchange)) {
        receiveProbeEchoes();
    }
}

void Link::portFailed(const PortError& error)
{
    m_lastPortError = error;
    const transitions::PortFailureStep step =
        transitions::portFailed(m_exchange, m_outgoing, m_portWatch, m_boxDepth > 0);
    m_outgoing = step.outgoing;
    m_portWatch = step.portWatch;
    if (step.answer == transitions::PortFailureAnswer::Closed) {
        m_probeTimer.stop();
        m_host.portClosed();
        return;
    }
    // The probe ticks try to open the same device again.
    m_connection.portHint(PortHint::Lost, portName());
    if (step.answer == transitions::PortFailureAnswer::ReadBroken) {
        m_writeTimeOutTimer.stop();
        readTimedOut();
    } else if (step.answer == transitions::PortFailureAnswer::WriteBroken) {
        m_readTimeOutTimer.stop();
        writeTimedOut();
    } else if (step.answer == transitions::PortFailureAnswer::UnitGone) {
        m_readTimeOutTimer.stop();
        m_writeTimeOutTimer.stop();
        showDisconnected();
        returnToProbing();
    }
}

} // namespace qm::link
