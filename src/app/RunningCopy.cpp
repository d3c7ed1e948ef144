// How a second start reaches the copy of the desktop program that is already running.
#include "app/RunningCopy.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

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

QString commandLineFile(const QStringList& arguments)
{
    bool options = true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (options && argument == "--") {
            options = false;
            continue;
        }
        if (options && argument.startsWith('-'))
            continue;
        return QFileInfo(argument).absoluteFilePath();
    }
    return {};
}

RunningCopyServer::RunningCopyServer(QObject* parent) : QObject(parent), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
            readRequest(socket);
        }
    });
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
        emit openRequested(QString::fromUtf8(line.mid(kOpen.size())));
    }
    socket->flush();
    socket->disconnectFromServer();
}

bool handToRunningCopy(const QString& socketPath, const QString& file, int timeoutMs)
{
    if (socketPath.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write((file.isEmpty() ? kRaise : kOpen + file.toUtf8()) + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    return socket.readLine() == kAnswer;
}

} // namespace qm::app
