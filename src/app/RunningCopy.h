// How a second start reaches the copy of the desktop program that is already running: the running copy listens on
// a local socket beside its single-copy lock (a folder only its user may enter), and a second start hands it the
// file named on its command line, or asks it only to come to the front, instead of opening a window of its own.
#pragma once

#include <QObject>
#include <QString>

#include <string>

class QLocalServer;
class QLocalSocket;

namespace qm::app
{

/// Returns the socket's path for a single-copy lock's path: "quellmark.lock" gives "quellmark.socket" beside it;
/// empty for an empty lock path.
QString runningCopySocketPath(const std::string& lockPath);

/// Returns the configuration file named on a command line (its first argument that is not an option, "--" ending
/// the options) as an absolute path, in the system's bytes as given; empty when none is named.
std::string commandLineFile(int argc, const char* const* argv);

/// The running copy's end. Each connection sends one line, "raise" or "open " followed by a path (the system's
/// bytes), and is answered "ok" once the request is taken. A few connections are served at once and each for a
/// few seconds at most, so connections that say nothing cannot pile up.
class RunningCopyServer : public QObject
{
    Q_OBJECT

public:
    /// Connections served at once; the others wait in the system's queue until one of these ends.
    static constexpr int kConnectionsAtOnce = 4;
    /// A connection is closed once it has been served this long.
    static constexpr int kConnectionLimitMs = 5000;

    explicit RunningCopyServer(QObject* parent = nullptr, int connectionLimitMs = kConnectionLimitMs);

    /// Listens at the path (an old socket left there by a copy that was killed is removed first: this copy holds
    /// the lock). Returns false when it cannot listen; second starts then end with the "already running" box.
    bool listen(const QString& path);

signals:
    /// A second start asked for the window to come to the front.
    void raiseRequested();
    /// A second start handed over a file to open (the window comes to the front too).
    void openRequested(const QByteArray& path);

private:
    /// Takes waiting connections while fewer than kConnectionsAtOnce are served.
    void takeConnections();
    void serve(QLocalSocket* socket);
    void readRequest(QLocalSocket* socket);
    /// Ends a connection (answered, gone or served too long) and takes the next waiting one.
    void finish(QLocalSocket* socket);

    QLocalServer* m_server = nullptr;
    int m_connectionLimitMs;
    int m_serving = 0;
};

/// The second start's end: asks the copy listening at the socket to come to the front and open the file (none:
/// only to come to the front). Returns whether it answered within timeoutMs.
bool handToRunningCopy(const QString& socketPath, const std::string& file, int timeoutMs = 3000);

} // namespace qm::app
