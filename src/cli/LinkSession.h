// One conversation of vq3 with a unit: the serial port (a device path or COM1 to COM4), the link engine under
// the program model, the Qt event loop it runs in, backups of everything the unit holds, and an optional trace
// of every byte.
#pragma once

#include "cli/CliUi.h"
#include "cli/TracingSerialPort.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTimer.h"
#include "qt/SystemClock.h"
#include "shell/Backups.h"
#include "shell/MDIForm1.h"
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

/// What every link command shares: where the trace goes and what it counts time from, and how vq3 reports.
struct LinkContext
{
    /// The trace of --trace (none when not asked for).
    std::ostream* trace = nullptr;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    /// Draw progress on standard error (it is a terminal).
    bool showProgress = false;
    /// Where backups go ("" when there is no such folder).
    std::string backupFolder;
};

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
    /// mode, then the echo-verified download.
    std::optional<LinkFailure> write();

    shell::MDIForm1& program() { return m_program; }
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
    void onTransaction(link::Transaction transaction, const link::LinkState& state, const std::string& bytes);
    void finish(std::optional<LinkFailure> failure);
    LinkFailure linkFailure(const forms::MessageBox& box, int status) const;
    LinkFailure noUnitFailure() const;

    /// The Qt application object the timers and the port need; made before them.
    bool m_applicationReady;
    std::string m_portName;
    std::ostream& m_err;
    std::unique_ptr<qt::QtSerialPort> m_serialPort;
    std::unique_ptr<TracingSerialPort> m_tracer;
    qt::QtTimer m_echoTimer;
    qt::QtTimer m_readTimeOutTimer;
    qt::QtTimer m_writeTimeOutTimer;
    shell::MDIForm1 m_program;
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
};

} // namespace qm::cli
