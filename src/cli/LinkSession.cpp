// One conversation of vq3 with a unit.
#include "cli/LinkSession.h"

#include "cli/Output.h"
#include "forms/Text.h"
#include "link/LinkMessages.h"
#include "shell/Program.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <cctype>
#include <csignal>

namespace qm::cli
{

namespace
{

constexpr int kProbeMs = 500;
constexpr int kTimeOutMs = 5000;

bool ensureApplication()
{
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "vq3";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }
    return true;
}

std::unique_ptr<qt::QtSerialPort> makeSerialPort(const std::string& port)
{
    const auto number = comNumberOf(port);
    if (number && *number == 0)
        return std::make_unique<qt::QtSerialPort>([port](int) { return port; });
    return std::make_unique<qt::QtSerialPort>();
}

} // namespace

std::optional<int> comNumberOf(const std::string& port)
{
    if (port.size() < 4 || (port.compare(0, 3, "COM") != 0 && port.compare(0, 3, "com") != 0))
        return 0;
    for (std::size_t i = 3; i < port.size(); ++i)
        if (std::isdigit(static_cast<unsigned char>(port[i])) == 0)
            return 0;
    if (port.size() == 4 && port[3] >= '1' && port[3] <= '4')
        return port[3] - '0';
    return std::nullopt;
}

LinkSession::LinkSession(const std::string& port, storage::FileSystem& files, std::ostream& err,
                         const LinkContext& context)
    : m_applicationReady(ensureApplication()), m_portName(port), m_err(err), m_serialPort(makeSerialPort(port)),
      m_probeTimer(kProbeMs), m_readTimeOutTimer(kTimeOutMs), m_writeTimeOutTimer(kTimeOutMs), m_program(files),
      m_ui(err, context.showProgress), m_backups(files, m_clock, context.backupFolder)
{
    link::SerialPort* linkPort = m_serialPort.get();
    if (context.trace != nullptr) {
        m_tracer = std::make_unique<TracingSerialPort>(*m_serialPort, *context.trace, context.start);
        linkPort = m_tracer.get();
    }
    m_program.startUp();
    shell::UnitLink::Records records{[this](link::Transaction transaction, const link::LinkStatus& state,
                                            const std::string& bytes) { onTransaction(transaction, state, bytes); },
                                     [this](const std::string& bytes) { return m_backups.markHeldBeforeWrite(bytes); },
                                     {}};
    m_link = std::make_unique<shell::UnitLink>(m_program, m_ui, *linkPort, m_probeTimer, m_readTimeOutTimer,
                                               m_writeTimeOutTimer, nullptr, std::move(records));
    // A device path is the port chosen by its path, and the caption and the port's boxes name it.
    const std::optional<int> named = comNumberOf(port);
    const int number = named.value_or(0);
    m_program.state().link.comPort = number == 0 ? 1 : number;
    if (named == 0)
        m_program.state().link.otherDevice = port;
    m_ui.setBoxHandler([this](const forms::MessageBox& box) { onBox(box); });
    m_ui.setEndHandler([this] { finish(std::nullopt); });
    m_signals = std::make_unique<qt::SignalCatcher>(qt::SignalPipe::endingSignals(),
                                                    [this](int signal) { interrupted(signal); });
}

LinkSession::~LinkSession()
{
    close();
    m_ui.endProgressLine();
    int late = m_unreportedSignal;
    if (late == 0)
        late = m_signals->pending();
    m_signals.reset();
    // A signal that came after the command's result was known still ends the program as the signal does.
    if (late != 0)
        std::raise(late);
}

void LinkSession::close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_awaiting = Awaiting::Nothing;
    // As the program does when it ends: "E" to the unit, then the port closed, but only once every byte sent (an
    // abort burst above all) has left it.
    QEventLoop loop;
    bool portClosed = false;
    m_link->closeWhenSent([&portClosed, &loop] {
        portClosed = true;
        loop.quit();
    });
    if (portClosed)
        return;
    QTimer::singleShot(kCloseLimitMs, &loop, &QEventLoop::quit);
    loop.exec();
}

void LinkSession::interrupted(int signal)
{
    if (m_closed || m_awaiting == Awaiting::Nothing) {
        if (m_unreportedSignal == 0)
            m_unreportedSignal = signal;
        return;
    }
    std::string transfer;
    if (m_link->transferUnderWay()) {
        if (m_link->engine().activity() == link::Command::Download || m_awaiting == Awaiting::Write)
            transfer = "write";
        else if (m_awaiting == Awaiting::Identification)
            transfer = "identification";
        else
            transfer = "read";
    }
    m_closed = true;
    m_link->closeWhenSent([this, signal, transfer] { finish(interruptedFailure(signal, transfer)); });
}

std::optional<LinkFailure> LinkSession::open()
{
    m_link->testPort();
    if (!m_program.state().link.portTestFailed)
        m_link->openPort();
    if (!m_serialPort->isOpen()) {
        const auto& error = m_link->engine().lastPortError();
        const int number = error ? error->number : link::port_error::kDeviceNotOpen;
        const auto& state = m_program.state().link;
        const std::string port = link::chosenPortName(state.comPort, state.otherDevice);
        if (error && error->permissionDenied)
            return linkFailure(link::portFailureBox(*error, port), kLinkFailure);
        return linkFailure(link::portErrorBox(number, port), kLinkFailure);
    }
    return std::nullopt;
}

std::optional<LinkFailure> LinkSession::identify()
{
    return waitFor(Awaiting::Identification);
}

std::optional<LinkFailure> LinkSession::read()
{
    if (auto failure = identify())
        return failure;
    m_link->read();
    return waitFor(Awaiting::Read);
}

std::optional<LinkFailure> LinkSession::write(bool verify)
{
    if (auto failure = identify())
        return failure;
    shell::ProgramState& state = m_program.state();
    m_program.saveShownProfiles();
    const bool plainVq3 = forms::trimSpaces(state.link.modelName) == "VQ-3";
    if (plainVq3 && state.currentMode != forms::Mode::Tracking)
        return LinkFailure{shell::notOnPlainVq3Box(), kRefused, {}, {}};
    const image::CompileResult compiled = m_program.checkAndCompile();
    if (compiled.refusal)
        return LinkFailure{*compiled.refusal, kRefused, {}, {}};
    if (compiled.downloadImage.empty())
        return LinkFailure{
            forms::messageBox("Error", "There is nothing to write.", forms::Icon::Warning), kRefused, {}, {}};
    state.link.verifyWrites = verify;
    m_link->startDownload(compiled.downloadImage);
    return waitFor(Awaiting::Write);
}

UnitIdentity LinkSession::identity() const
{
    const auto& state = m_program.state().link;
    return {forms::trimSpaces(state.modelName), state.firmwareVersion};
}

std::optional<LinkFailure> LinkSession::waitFor(Awaiting what)
{
    m_awaiting = what;
    m_finished = false;
    m_failure.reset();
    QEventLoop loop;
    QTimer noUnit;
    noUnit.setSingleShot(true);
    QObject::connect(&noUnit, &QTimer::timeout, &noUnit, [this] {
        // A unit that echoed the probe is being identified: the read's own time-out decides from here.
        const link::Link& engine = m_link->engine();
        if (!engine.identificationTried() && engine.activity() == link::Command::Probe)
            finish(noUnitFailure());
    });
    if (what == Awaiting::Identification)
        noUnit.start(kNoUnitMs);
    m_loop = &loop;
    if (!m_finished)
        loop.exec();
    m_loop = nullptr;
    m_awaiting = Awaiting::Nothing;
    return m_failure;
}

void LinkSession::finish(std::optional<LinkFailure> failure)
{
    if (m_finished)
        return;
    m_finished = true;
    m_failure = std::move(failure);
    if (m_loop != nullptr)
        m_loop->quit();
}

void LinkSession::onBox(const forms::MessageBox& box)
{
    const auto& state = m_program.state().link;
    if (box == link::oldFirmwareBox(link::kMinFirmwareVersion, state.firmwareVersion)) {
        m_warnings.push_back(box);
        return;
    }
    if (box == link::downloadCompleteBox() && m_awaiting == Awaiting::Write) {
        finish(std::nullopt);
        return;
    }
    finish(linkFailure(box, kLinkFailure));
}

void LinkSession::onTransaction(link::Transaction transaction, const link::LinkStatus& state, const std::string& bytes)
{
    if (auto error = m_backups.record(transaction, state.modelName, state.firmwareVersion, bytes)) {
        m_ui.endProgressLine();
        m_err << "vq3: warning: no backup kept in " << (m_backups.folder().empty() ? "(none)" : m_backups.folder())
              << ": " << error->reason << '\n';
    }
    const bool awaited = (transaction == link::Transaction::Identification && m_awaiting == Awaiting::Identification) ||
                         (transaction == link::Transaction::Read && m_awaiting == Awaiting::Read);
    if (awaited)
        finish(std::nullopt);
}

LinkFailure LinkSession::linkFailure(const forms::MessageBox& box, int status) const
{
    LinkFailure failure{box, status, {}, m_serialPort->devicePath()};
    if (const auto& error = m_link->engine().lastPortError())
        failure.reason = error->reason;
    return failure;
}

LinkFailure LinkSession::interruptedFailure(int signal, const std::string& transfer) const
{
    std::string text;
    if (transfer.empty()) {
        text = std::string("vq3 was stopped by ") + qt::signalName(signal) +
               " while no transfer with the VQ-3 was under way; the port was closed.";
    } else {
        text = "The " + transfer + " was interrupted by " + qt::signalName(signal) +
               ": the transfer was broken off and the VQ-3 was told to discard it (128 zero bytes and \"E\").";
        if (transfer == "write")
            text += " Read the unit to see what it holds before you use it.";
    }
    return LinkFailure{
        forms::messageBox("Interrupted", text, forms::Icon::Warning), 128 + signal, {}, m_serialPort->devicePath()};
}

LinkFailure LinkSession::noUnitFailure() const
{
    return linkFailure(forms::messageBox("Communications Error",
                                         "No VQ-3 answered on " + m_portName + " within " +
                                             std::to_string(kNoUnitMs / 1000) +
                                             " seconds. Check that the unit is in configuration mode, powered, "
                                             "and connected.",
                                         forms::Icon::Critical),
                       kLinkFailure);
}

} // namespace qm::cli
