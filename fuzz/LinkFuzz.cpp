// Fuzz target: the link engine on a fake port and fake timers, fed an arbitrary interleaving of received bytes,
// timer ticks, the user's commands (Read, Write, Disconnect, a COM change) and port failures, with more events
// arriving while a message box is up, and the port's report that everything sent has left. Invariants: one
// transaction at a time, no probe during a read or write, every transaction ends in echo mode, and no time-out
// timer runs outside its transaction.
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "fuzz/FuzzCheck.h"
#include "link/Link.h"
#include "link/LinkBytes.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace
{

using qm::fuzz::require;

constexpr std::size_t kImageBytes = qm::link::kDownloadSize - 1;

/// Returns the byte the link last sent to the unit, as a trace shows it.
const char* commandLetter(qm::link::Command command)
{
    switch (command) {
    case qm::link::Command::Probe:
        return "E";
    case qm::link::Command::Upload:
        return "U";
    case qm::link::Command::Download:
        return "D";
    }
    return "?";
}

class QuietHost : public qm::link::LinkHost
{
public:
    /// Runs while a box is up, as events keep arriving under a modal box.
    std::function<void()> duringBox;

    void showBox(const qm::forms::MessageBox& box) override
    {
        (void)box;
        if (duringBox)
            duringBox();
    }
    void setBusyPointer(bool busy) override { (void)busy; }
    void saveShownProfiles() override {}
    void decodeUpload(const std::string& uploadData) override
    {
        require(uploadData.size() == kImageBytes, "a read decoded other than 128 bytes");
    }
    void saveComPortToIni() override {}
    void transactionCompleted(qm::link::Transaction transaction, const std::string& imageBytes) override
    {
        (void)transaction;
        require(imageBytes.size() == kImageBytes, "a transaction completed with other than 128 bytes");
    }
    void progress(int done, int total) override { require(done >= 0 && done <= total, "progress past its total"); }
    qm::link::WriteMismatch describeMismatch(const std::string& written, const std::string& readBack,
                                             const std::string& before) override
    {
        require(written.size() == kImageBytes && readBack.size() == kImageBytes && written != readBack,
                "a read-back compared other than two different images");
        require(before.empty() || before.size() == kImageBytes, "the unit's earlier image is not 128 bytes");
        return {};
    }
    void portClosed() override {}
};

/// Keeps what the user is offered: Read and Write while the link accepts commands, Disconnect while connected.
class OfferedCommands : public qm::link::ConnectionListener
{
public:
    bool accepted = false;
    bool connected = false;

    void connectionChanged(qm::link::Connection connection) override
    {
        connected = connection == qm::link::Connection::Connected;
    }
    void unitIdentified(const std::string& modelName, int firmwareVersion, const std::string& port) override
    {
        (void)modelName, (void)firmwareVersion, (void)port;
    }
    void commandsAccepted(bool isAccepted) override { accepted = isAccepted; }
    void portChosen(int comPort, const std::string& device) override { (void)comPort, (void)device; }
    void portHint(qm::link::PortHint hint, const std::string& device) override { (void)hint, (void)device; }
    void boxAboveWelcome(bool showing) override { (void)showing; }
};

class LinkDriver
{
public:
    explicit LinkDriver(FuzzedDataProvider& input) : m_input(input)
    {
        m_host.duringBox = [this] { eventsUnderBox(); };
    }

    void run()
    {
        while (m_input.remaining_bytes() > 0) {
            step(m_input.ConsumeIntegralInRange<int>(0, kEventCount - 1));
            check();
        }
    }

private:
    enum Event
    {
        kReceiveBytes,
        kReceiveProbeEcho,
        kReceiveReply,
        kEchoLastByte,
        kTickProbe,
        kTickRead,
        kTickWrite,
        kPortFailure,
        kAllSent,
        kRead,
        kWrite,
        kDisconnect,
        kComChange,
        kEventCount,
    };

    void step(int event)
    {
        const qm::link::Command before = m_link.activity();
        trace(event);
        m_port.takeSent();
        switch (event) {
        // The user reaches Read, Write and Disconnect while the window offers them; a click queued before the
        // menus were disabled can still arrive during a transaction.
        case kRead:
            if (m_offered.accepted || m_link.activity() != qm::link::Command::Probe)
                m_link.read();
            break;
        case kWrite:
            if (m_offered.accepted || m_link.activity() != qm::link::Command::Probe)
                m_link.startDownload("D" + image());
            break;
        case kDisconnect:
            if (m_offered.connected)
                m_link.disconnectUnit();
            break;
        case kComChange:
            if (m_input.ConsumeBool())
                m_port.openError = qm::link::PortError{m_input.ConsumeIntegralInRange<int>(8000, 8030), "failed"};
            else
                m_port.openError.reset();
            m_link.selectComPort(m_input.ConsumeIntegralInRange<int>(1, 4));
            break;
        default:
            unitEvent(event);
            break;
        }
        if ((event == kRead || event == kWrite) && before != qm::link::Command::Probe)
            require(m_link.activity() == before && m_port.sent.empty(), "a second transaction started");
        if (before == qm::link::Command::Probe && m_link.activity() == qm::link::Command::Download)
            m_written = m_port.sent;
        else if (m_link.activity() == qm::link::Command::Download && event != kDisconnect)
            m_written += m_port.sent;
        if (before != qm::link::Command::Probe && m_link.activity() == before)
            require(m_port.sent.find(qm::link::kProbeByte) == std::string::npos ||
                        before == qm::link::Command::Download,
                    "a probe went out during a read");
    }

    /// What the unit, the line and the clock do: also possible while a box is up.
    void unitEvent(int event)
    {
        if (m_underBox)
            trace(event);
        // A closed port receives nothing.
        if (event <= kEchoLastByte && !m_port.isOpen())
            return;
        switch (event) {
        case kReceiveBytes:
            m_port.deliver(m_input.ConsumeBytesAsString(m_input.ConsumeIntegralInRange<std::size_t>(1, 16)));
            break;
        case kReceiveProbeEcho:
            m_port.deliver(std::string(1, qm::link::kProbeByte));
            break;
        case kReceiveReply: {
            std::string reply = "U";
            reply += static_cast<char>(m_input.ConsumeIntegral<std::uint8_t>());
            reply += static_cast<char>(m_input.ConsumeIntegral<std::uint8_t>());
            reply += image();
            const auto split = m_input.ConsumeIntegralInRange<std::size_t>(0, reply.size());
            m_port.deliver(reply.substr(0, split));
            m_port.deliver(reply.substr(split));
            break;
        }
        case kEchoLastByte:
            if (!m_written.empty())
                m_port.deliver(m_written.substr(m_written.size() - 1));
            break;
        case kTickProbe:
            m_probeTimer.tick();
            break;
        case kTickRead:
            m_readTimer.tick();
            break;
        case kTickWrite:
            m_writeTimer.tick();
            break;
        case kPortFailure:
            if (m_port.isOpen())
                m_port.fail(qm::link::PortError{qm::link::port_error::kErrorReading, "gone"});
            break;
        case kAllSent:
            m_port.allSent();
            break;
        default:
            break;
        }
    }

    void eventsUnderBox()
    {
        if (m_underBox)
            return;
        m_underBox = true;
        const qm::link::Command before = m_link.activity();
        const int count = m_input.ConsumeIntegralInRange<int>(0, 3);
        for (int i = 0; i < count; ++i) {
            const std::string sent = m_port.sent;
            unitEvent(m_input.ConsumeIntegralInRange<int>(kReceiveBytes, kAllSent));
            require(m_port.sent == sent && m_link.activity() == before, "an event under a box was acted on");
        }
        m_underBox = false;
    }

    /// With QM_FUZZ_TRACE set, prints each event, to turn a finding into a unit test.
    void trace(int event) const
    {
        static const bool enabled = std::getenv("QM_FUZZ_TRACE") != nullptr;
        static const char* const kNames[] = {
            "receive bytes", "probe echo", "reply", "echo last byte", "probe tick", "read tick", "write tick",
            "port failure",  "all sent",   "read",  "write",          "disconnect", "COM change"};
        if (enabled)
            std::fprintf(stderr, "%s%s (last command %s)\n", m_underBox ? "  under box: " : "", kNames[event],
                         commandLetter(m_link.activity()));
    }

    std::string image()
    {
        std::string bytes = m_input.ConsumeBytesAsString(kImageBytes);
        bytes.resize(kImageBytes, '\0');
        return bytes;
    }

    void check()
    {
        const auto command = m_link.activity();
        require(!(m_readTimer.isActive() && m_writeTimer.isActive()), "a read and a write run at once");
        if (command == qm::link::Command::Probe) {
            require(m_probeTimer.isActive(), "echo mode without the probe timer");
            require(!m_readTimer.isActive(), "the read time-out runs outside a read");
            require(!m_writeTimer.isActive(), "the write time-out runs outside a write");
            require(m_link.imageInFlight().empty() && m_link.echoesReceived() == 0, "a write left its image behind");
        } else {
            require(!m_probeTimer.isActive(), "the probe timer runs during a read or write");
        }
        // A write's read-back keeps the image it compares with, echoed whole.
        if (command == qm::link::Command::Upload)
            require(!m_writeTimer.isActive() &&
                        (m_link.imageInFlight().empty() ||
                         static_cast<std::size_t>(m_link.echoesReceived()) == m_link.imageInFlight().size()),
                    "a read runs inside a write");
        if (command == qm::link::Command::Download) {
            require(!m_readTimer.isActive(), "the read time-out runs during a write");
            const auto sentSoFar = static_cast<std::size_t>(m_link.echoesReceived()) + 1;
            require(m_written == m_link.imageInFlight().substr(0, sentSoFar) || !m_port.isOpen(),
                    "a write sent other bytes than its image, one ahead of the echoes");
        }
    }

    FuzzedDataProvider& m_input;
    qm::fakes::FakeSerialPort m_port;
    qm::fakes::FakeTimer m_probeTimer{500};
    qm::fakes::FakeTimer m_readTimer{5000};
    qm::fakes::FakeTimer m_writeTimer{5000};
    OfferedCommands m_offered;
    qm::link::LinkStatus m_status;
    QuietHost m_host;
    qm::link::Link m_link{m_port, m_probeTimer, m_readTimer, m_writeTimer, m_offered, m_status, m_host};
    /// Every byte sent since the write under way started.
    std::string m_written;
    bool m_underBox = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    LinkDriver driver(input);
    driver.run();
    return 0;
}
