// How a second start reaches the copy of the desktop program that is already running.
#include "app/RunningCopy.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <filesystem>
#include <string_view>

namespace qm::app
{

namespace
{

constexpr qsizetype kLongestRequest = 64 * 1024;
const QByteArray kRaise = "raise";
const QByteArray kOpen = "open ";
const QByteArray kAnswer = "ok\n";

} // namespace

QString runningCopySocketPath(const std::string& lockPath)
{
    if (lockPath.empty())
        return {};
    QString path = QString::fromLocal8Bit(lockPath.c_str());
    if (path.endsWith(".lock"))
        path.chop(5);
    return path + ".socket";
}

std::string commandLineFile(int argc, const char* const* argv)
{
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (options && argument == "--") {
            options = false;
            continue;
        }
        if (options && argument.starts_with('-'))
            continue;
        // The name's bytes as the system gave them: a name that is no UTF-8 still names its file.
        std::error_code failure;
        const std::filesystem::path absolute = std::filesystem::absolute(std::string(argument), failure);
        return failure ? std::string(argument) : absolute.lexically_normal().string();
    }
    return {};
}

RunningCopyServer::RunningCopyServer(QObject* parent, int connectionLimitMs)
    : QObject(parent), m_server(new QLocalServer(this)), m_connectionLimitMs(connectionLimitMs)
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // The server stops taking connections from the system while these wait: the rest wait there, costing this
    // program nothing.
    m_server->setMaxPendingConnections(kConnectionsAtOnce);
    connect(m_server, &QLocalServer::newConnection, this, [this] { takeConnections(); });
}

void RunningCopyServer::takeConnections()
{
    while (m_serving < kConnectionsAtOnce) {
        QLocalSocket* socket = m_server->nextPendingConnection();
        if (socket == nullptr)
            return;
        serve(socket);
    }
}

void RunningCopyServer::serve(QLocalSocket* socket)
{
    ++m_serving;
    auto* limit = new QTimer(socket);
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, this, [this, socket] { finish(socket); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] { finish(socket); });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
    limit->start(m_connectionLimitMs);
    readRequest(socket);
}

void RunningCopyServer::finish(QLocalSocket* socket)
{
    socket->disconnect(this);
    if (auto* limit = socket->findChild<QTimer*>())
        limit->disconnect(this);
    socket->abort();
    socket->deleteLater();
    --m_serving;
    takeConnections();
}

bool RunningCopyServer::listen(const QString& path)
{
    if (path.isEmpty())
        return false;
    QLocalServer::removeServer(path);
    return m_server->listen(path);
}

void RunningCopyServer::readRequest(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        // Whoever sends more than a path without ending the line is not a second start.
        if (socket->bytesAvailable() > kLongestRequest)
            socket->abort();
        return;
    }
    QByteArray line = socket->readLine(kLongestRequest);
    if (line.endsWith('\n'))
        line.chop(1);
    if (line == kRaise) {
        socket->write(kAnswer);
        emit raiseRequested();
    } else if (line.startsWith(kOpen) && line.size() > kOpen.size()) {
        socket->write(kAnswer);
        emit openRequested(line.mid(kOpen.size()));
    }
    socket->flush();
    socket->disconnectFromServer();
}

bool handToRunningCopy(const QString& socketPath, const std::string& file, int timeoutMs)
{
    if (socketPath.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write((file.empty() ? kRaise : kOpen + QByteArray(file.data(), static_cast<qsizetype>(file.size()))) + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    return socket.readLine() == kAnswer;
}

} // namespace qm::app
