// One conversation of vq3 with a unit: the serial port (a device path or COM1 to COM4), the link engine under
// the program model, the Qt event loop it runs in, backups of everything the unit holds, an optional trace of
// every byte, and the signals that end the program, which break a transfer off properly.
#pragma once

#include "cli/CliUi.h"
#include "cli/LinkCommands.h"
#include "cli/TracingSerialPort.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTimer.h"
#include "qt/SignalCatcher.h"
#include "qt/SystemClock.h"
#include "shell/Backups.h"
#include "shell/Session.h"
#include "shell/UnitLink.h"

#include <chrono>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

class QEventLoop;

namespace qm::cli
{

/// Why a link command stopped: the box to report, the exit status, and the system's reason when there is one.
struct LinkFailure
{
    forms::MessageBox box;
    int status = 0;
    std::string reason;
    /// The device that was opened or tried.
    std::string device;
};

/// The unit as it identified itself.
struct UnitIdentity
{
    /// "VQ-3", "VQ-3+" or "Custom".
    std::string model;
    int firmware = 0;
};

/// Returns the COM number a PORT argument names: 1 to 4 for COM1 to COM4, 0 for a device path, nothing for
/// another COM name.
std::optional<int> comNumberOf(const std::string& port);

class LinkSession
{
public:
    /// How long the unit has to answer the first probe.
    static constexpr int kNoUnitMs = 5000;
    /// The longest the closing waits for what was sent to leave (the link itself gives up after about 2 s).
    static constexpr int kCloseLimitMs = 5000;

    LinkSession(const std::string& port, storage::FileSystem& files, std::ostream& err, const LinkContext& context);
    ~LinkSession();
    LinkSession(const LinkSession&) = delete;
    LinkSession& operator=(const LinkSession&) = delete;

    /// Opens the port as start-up does (test, then open) and sends the first probe at once.
    std::optional<LinkFailure> open();
    /// Waits for the probe's echo and the identification read.
    std::optional<LinkFailure> identify();
    /// The user's Read, after the identification; the windows hold what the unit holds afterwards.
    std::optional<LinkFailure> read();
    /// The Write command after the identification: the plain VQ-3 refusal, the check and compile of the current
    /// mode, then the echo-verified download, read back and compared unless verify is false.
    std::optional<LinkFailure> write(bool verify = true);
    /// Sends "E", lets everything sent leave the port, and closes it (the destructor does it when not done).
    void close();

    shell::Session& program() { return m_program; }
    UnitIdentity identity() const;
    /// Boxes that did not stop the command (the old-firmware warning).
    const std::vector<forms::MessageBox>& warnings() const { return m_warnings; }
    /// Ends an unfinished progress line before something else is printed.
    void endProgressLine() { m_ui.endProgressLine(); }

private:
    enum class Awaiting
    {
        Nothing,
        Identification,
        Read,
        Write,
    };

    std::optional<LinkFailure> waitFor(Awaiting what);
    void onBox(const forms::MessageBox& box);
    void onTransaction(link::Transaction transaction, const link::LinkStatus& state, const std::string& bytes);
    void finish(std::optional<LinkFailure> failure);
    /// A signal that ends the program arrived: a transfer under way is broken off, the port closed, and the wait
    /// ends with exit status 128 + the signal.
    void interrupted(int signal);
    LinkFailure linkFailure(const forms::MessageBox& box, int status) const;
    LinkFailure noUnitFailure() const;
    LinkFailure interruptedFailure(int signal, const std::string& transfer) const;

    /// The Qt application object the timers and the port need; made before them.
    bool m_applicationReady;
    std::string m_portName;
    std::ostream& m_err;
    std::unique_ptr<qt::QtSerialPort> m_serialPort;
    std::unique_ptr<TracingSerialPort> m_tracer;
    qt::QtTimer m_probeTimer;
    qt::QtTimer m_readTimeOutTimer;
    qt::QtTimer m_writeTimeOutTimer;
    shell::Session m_program;
    CliUi m_ui;
    qt::SystemClock m_clock;
    shell::Backups m_backups;
    std::unique_ptr<shell::UnitLink> m_link;

    Awaiting m_awaiting = Awaiting::Nothing;
    bool m_finished = false;
    std::optional<LinkFailure> m_failure;
    std::vector<forms::MessageBox> m_warnings;
    /// Set while an event loop waits.
    QEventLoop* m_loop = nullptr;
    /// The port is closed or closing for good.
    bool m_closed = false;
    /// A signal that arrived outside a wait and was not reported: raised again once the port is closed.
    int m_unreportedSignal = 0;
    std::unique_ptr<qt::SignalCatcher> m_signals;
};

} // namespace qm::cli
