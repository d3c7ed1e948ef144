// The link with the unit: the serial port, the presence probe every 500 ms, the identification read, the user's
// read and write with its read-back, the two time-outs, the abort burst that is let drain onto the line, a lost
// port opened again, and the close at the program's end. Single-threaded and event-driven: every method is a
// handler that runs to its end; nothing waits.
#pragma once

#include "forms/MessageBox.h"
#include "link/LinkStates.h"
#include "link/SerialPort.h"
#include "link/Timer.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace qm::link
{

/// The lowest firmware version the program works with without a warning.
inline constexpr int kMinFirmwareVersion = 1;

/// The port in use and what the link found out about it and the unit: what the program reads to draw its windows
/// and decide its commands. The link keeps it up to date; how it goes about a transaction stays inside the link.
struct LinkStatus
{
    /// The serial port in use, 1 to 4 (0 = not chosen yet).
    int comPort = 0;
    /// The device chosen by its path in place of the COM port's ("" for the COM port's).
    std::string otherDevice;
    /// The last port test failed.
    bool portTestFailed = false;
    /// "VQ-3 ", "VQ-3+ " or "Custom " from the last identification; empty before any.
    std::string modelName;
    /// Firmware version of the identified unit; 0 = not identified.
    int firmwareVersion = 0;
    /// The 128 configuration bytes of the last complete reply.
    std::string uploadData;
    /// A write is read back ("U") and compared before it counts as done.
    bool verifyWrites = true;
    /// The 128 bytes the unit was last seen holding (identification, read, write); empty when unknown.
    std::string unitImage;
};

/// What the program says about a write that read back differently.
struct WriteMismatch
{
    /// The first field that differs, as the user knows it, with both values.
    std::string field;
    /// Where the configuration the unit held before the write is kept ("" when it is kept nowhere).
    std::string backup;
};

/// What happened on the link, for the program's records (backups) and progress displays.
enum class Transaction
{
    Identification,
    Read,
    Write,
};

/// What the link needs from the program above it.
class LinkHost
{
public:
    virtual ~LinkHost() = default;

    /// Shows a modal message box.
    virtual void showBox(const forms::MessageBox& box) = 0;
    /// Sets the mouse pointer: busy (arrow with hourglass) or normal.
    virtual void setBusyPointer(bool busy) = 0;
    /// Stores the NMEA and the Tracking window's shown profiles (before a read).
    virtual void saveShownProfiles() = 0;
    /// Decodes a user read's 128 data bytes into the windows (decodeUpload).
    virtual void decodeUpload(const std::string& uploadData) = 0;
    /// Writes the port number into the initialization file (after a successful port change).
    virtual void saveComPortToIni() = 0;
    /// A transaction completed: the unit's model name and firmware, and the 128 image bytes read or written.
    virtual void transactionCompleted(Transaction transaction, const std::string& imageBytes) = 0;
    /// Progress of a read or write: bytes done of the total (131 for a read, 129 for a write).
    virtual void progress(int done, int total) = 0;
    /// Describes a write that read back differently: the 128 bytes written, the 128 read back, and the bytes the
    /// unit held before the write ("" when unknown).
    virtual WriteMismatch describeMismatch(const std::string& written, const std::string& readBack,
                                           const std::string& before) = 0;
    /// The port was closed after everything sent had left it (closeWhenSent).
    virtual void portClosed() = 0;
};

/// Whether the unit answers the probe.
enum class Connection
{
    Disconnected,
    Connected,
};

/// What the link can say about the port beyond the connection.
enum class PortHint
{
    None,
    /// The port opened a while ago and nothing has arrived since.
    Silent,
    /// The port went away; the link waits for its device to come back.
    Lost,
};

/// What the link reports about the connection, for the program to show as it sees fit.
class ConnectionListener
{
public:
    virtual ~ConnectionListener() = default;

    /// The unit answers the probe, or has stopped answering (also after a port change or a failed transfer).
    virtual void connectionChanged(Connection connection) = 0;
    /// The unit identified itself: its model name ("VQ-3 ", "VQ-3+ ", "Custom "), its firmware and the port it
    /// answers on ("COM1", or the device chosen by its path).
    virtual void unitIdentified(const std::string& modelName, int firmwareVersion, const std::string& port) = 0;
    /// The link takes the user's read and write now, or not.
    virtual void commandsAccepted(bool accepted) = 0;
    /// The port chosen: COM port 1 to 4, or the device at a path when device is not empty.
    virtual void portChosen(int comPort, const std::string& device) = 0;
    /// A hint about the port (device named as the user knows it: its path, or "COMn").
    virtual void portHint(PortHint hint, const std::string& device) = 0;
    /// A box that must stay above the welcome window comes up (true) or has gone (false).
    virtual void boxAboveWelcome(bool showing) = 0;
};

class Link : public SerialPortListener
{
public:
    /// The connection's state, the commands accepted, the port chosen and its hints go to connection.
    Link(SerialPort& port, Timer& probeTimer, Timer& readTimeOutTimer, Timer& writeTimeOutTimer,
         ConnectionListener& connection, LinkStatus& status, LinkHost& host);
    ~Link() override;

    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    const LinkStatus& status() const { return m_status; }
    /// What the link is doing, named by the command it last sent.
    Command activity() const;
    /// A probe byte went out and its echo has not come back.
    bool awaitingEcho() const;
    /// An identification read has been started since the unit was last marked disconnected.
    bool identificationTried() const { return m_identifyAttempted; }
    /// The old-firmware warning was shown since the unit was last marked disconnected.
    bool firmwareWarned() const { return m_firmwareWarned; }
    /// The image ("D" + 128 bytes) of the write under way or being read back; empty outside a write.
    const std::string& imageInFlight() const;
    /// Echo bytes received in the write under way (all of them while it is read back).
    int echoesReceived() const;
    /// The last failure of the port: a failed open or a failure of the open port (with the system's reason).
    const std::optional<PortError>& lastPortError() const { return m_lastPortError; }

    // The serial port.
    /// Opens and closes the port comPort; on failure: the port's box, portTestFailed set.
    void testPort();
    /// Opens the port when it is closed.
    void openPort();
    /// Sends "E" when the port is open, then closes it.
    void closePort();
    /// Tells the user to choose a serial port from the Setup menu.
    void askToChoosePort();
    /// Back to probing: no echo awaited, the receive buffer flushed, the probe timer running.
    void returnToProbing();
    /// Disconnected: reported with the commands refused; firmwareVersion 0 and firmwareWarned cleared (modelName
    /// stays).
    void showDisconnected();
    /// 128 bytes 0x00, then "E".
    void sendAbortBurst();
    /// Setup > Serial Port > COMn.
    void selectComPort(int n);
    /// Setup > Serial Port > Other Device: the port changes to the device at this path as to a COM port.
    void selectOtherDevice(const std::string& path);
    /// The Disconnect button: "E" when the port is open; the probes then show Disconnected.
    void disconnectUnit();

    /// A read, a write or a write's read-back is under way.
    bool transferUnderWay() const { return !std::holds_alternative<states::Probing>(m_exchange); }
    /// Closes the port for the program's end: a transfer under way is broken off with the abort burst, "E" goes
    /// out, and once everything sent has left (or after at most two seconds) the port is closed and the host
    /// told (portClosed). Nothing waits: the port's notification or the probe timer finishes it.
    void closeWhenSent();

    /// The user's Read (only while probing: a read or write under way is left alone).
    void read();
    /// The write once the image ("D" + 128 bytes) is compiled: sends it byte by byte, each after the unit echoed the
    /// previous one (only while probing, as the read).
    void startDownload(const std::string& downloadImage);

    /// Sends a probe at once (the port has just been opened) and counts the next probe period from now.
    void probeNow();

    /// The probe timer's tick (every 500 ms): a probe goes out; an unanswered one marks the unit disconnected.
    void probeTick();
    /// The read time-out timer's tick.
    void readTimeOutTick();
    /// The write time-out timer's tick.
    void writeTimeOutTick();

    // SerialPortListener: received data, everything sent gone out, and a failure of the open port.
    void dataArrived() override;
    void portFailed(const PortError& error) override;
    void allSent() override;

private:
    void sendBytes(std::string_view bytes);
    void flushBuffers();
    /// Shows a box with the normal mouse pointer; events that arrive while it is up are not acted on.
    void showBox(const forms::MessageBox& box);
    /// Shows a box with the welcome window lowered from always-on-top while it is showing.
    void showBoxAboveWelcome(const forms::MessageBox& box);
    void showConnected();
    /// Reports the commands accepted (once what was sent has left).
    void enableReadWrite();
    /// Ends a read or write under way without a word to the unit: time-outs stopped, back to probing.
    void abandonTransaction();
    /// Forgets the read or write under way: its time-outs, its read-back, its image and the busy pointer.
    void dropTransaction();
    /// The transfer under way has ended: its bytes are let go; what it says about its end follows.
    void endTransfer() { m_exchange = states::Ended{activity()}; }
    /// Read, Write and Disconnect count only while the link probes, with nothing left to drain.
    bool idle() const
    {
        return std::holds_alternative<states::Probing>(m_exchange) && std::holds_alternative<states::Free>(m_outgoing);
    }
    /// Waiting for what was sent to leave the port: no probe goes out meanwhile.
    bool draining() const;
    /// Nothing more leaves a port that is closed or lost: a wait for it to leave ends.
    void stopDraining();

    // What was sent leaves the port before anything is discarded (PortLifecycle.cpp).
    /// Waits for everything sent to leave the port; the receive side is discarded once it has.
    void awaitSent();
    /// The wait ran out: what is still queued is discarded, and the wait ends.
    void giveUpDrain();
    void endDrain();
    /// Opens the lost port's device again; when it is back, the port is watched afresh.
    void reopenPort();
    void forgetLostPort();
    /// Changes to the port chosen in the state (COM port or device): closes, tests and opens it.
    void changePort();
    /// Points the port at the COM port or the device chosen.
    void choosePort();
    /// Counts a probe tick of an open port that has not said a word since it opened.
    void silenceTick();
    /// Bytes arrived: the port is not silent.
    void heardFromPort();
    /// The port as the user knows it: the device's path, or "COMn" when the system gives no name.
    std::string portName() const;

    /// Takes every byte the port holds (the port keeps a bounded number).
    std::string takeArrived();
    void receiveProbeEchoes();
    void probeEchoed();
    void startIdentification();
    void receiveReply();
    /// Takes the complete reply of the identification or the user's read.
    void completeReply();
    /// Ends a read whose reply does not begin with "U": the burst, then the box, the windows kept.
    void rejectReply(const forms::MessageBox& box);
    void readTimedOut();
    void receiveWriteEchoes();
    void echoMismatch();
    void downloadComplete();
    /// After the last echo: the unit is read back ("U") to see that it stored the image it echoed.
    void startReadBack(std::string image);
    void compareReadBack();
    /// The write of these 128 bytes is done (and read back alike when asked): recorded, "Download Complete".
    void finishWrite(const std::string& written);
    void writeTimedOut();

    SerialPort& m_port;
    Timer& m_probeTimer;
    Timer& m_readTimeOutTimer;
    Timer& m_writeTimeOutTimer;
    ConnectionListener& m_connection;
    LinkStatus& m_status;
    LinkHost& m_host;
    /// Message boxes currently up (a toolkit may deliver events while a modal box is shown).
    int m_boxDepth = 0;
    std::optional<PortError> m_lastPortError;
    states::Exchange m_exchange;
    states::Outgoing m_outgoing;
    states::PortWatch m_portWatch;
    /// The old-firmware warning was shown since the unit was last marked disconnected.
    bool m_firmwareWarned = false;
    /// An identification read has been started since the unit was last marked disconnected. Without it a unit
    /// whose firmware byte is 0, or that answers "U" with foreign bytes, would be read again after every probe.
    bool m_identifyAttempted = false;
};

} // namespace qm::link
