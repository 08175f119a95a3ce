#include "WindowChannel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>

namespace veltrana {

namespace {

constexpr int kIdleMs = 5000;
const QByteArray kTaken = "ok\n";

// Whether the peer of a connected local socket runs as this user.
bool SameUser(const QLocalSocket& socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                        &size) == 0 &&
           peer.uid == ::getuid();
}

} // namespace

QString WindowChannel::ServerName(const std::string& familyDir) {
    const QFileInfo family(QString::fromStdString(familyDir));
    const QString canonical = family.canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? family.absoluteFilePath() : canonical).toUtf8();
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable())
        return QDir(runtime).filePath(QStringLiteral("veltrana-plots-") + hash);
    return QStringLiteral("veltrana-plots-%1-%2").arg(::getuid()).arg(hash);
}

WindowChannel::WindowChannel(QString serverName, QObject* parent)
    : QObject(parent), m_name(std::move(serverName)) {}

WindowChannel::~WindowChannel() = default;

bool WindowChannel::HandOver(const std::string& path, int timeoutMs) const {
    const QByteArray message = QByteArray::fromStdString(path) + '\n';
    if (message.size() > kMaxMessage)
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    QByteArray reply;
    while (reply.size() < kTaken.size() && socket.waitForReadyRead(timeoutMs))
        reply += socket.readAll();
    return reply.startsWith(kTaken);
}

bool WindowChannel::Listen() {
    if (m_server && m_server->isListening())
        return true;
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &WindowChannel::takeConnection);
    }
    // Qt puts its socket in place of any other there: a live window is asked first. A socket
    // nothing answers on was left by a window that was killed, and is taken over.
    QLocalSocket probe;
    probe.connectToServer(m_name);
    if (probe.waitForConnected(500))
        return false;
    QLocalServer::removeServer(m_name);
    return m_server->listen(m_name);
}

bool WindowChannel::HandOverOrListen(const std::string& path) {
    // Two starts at the same moment would otherwise both find no window and both listen.
    const QString lockName =
        (QFileInfo(m_name).isAbsolute() ? m_name : QDir::temp().filePath(m_name)) +
        QStringLiteral(".lock");
    QLockFile lock(lockName);
    lock.tryLock(3000);
    if (HandOver(path))
        return false;
    return Listen() || !HandOver(path);
}

void WindowChannel::StopListening() {
    if (m_server)
        m_server->close();
}

void WindowChannel::takeConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        socket->setReadBufferSize(kMaxMessage);
        if (!SameUser(*socket)) {
            socket->abort();
            continue;
        }
        // A peer that says nothing is not waited for.
        QTimer::singleShot(kIdleMs, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
        if (socket->bytesAvailable() > 0)
            readMessage(socket);
    }
}

void WindowChannel::readMessage(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() >= kMaxMessage)
            socket->abort();
        return;
    }
    const QByteArray line = socket->readLine(kMaxMessage);
    if (!line.endsWith('\n')) {
        socket->abort();
        return;
    }
    socket->write(kTaken);
    socket->flush();
    socket->disconnectFromServer();
    emit pathReceived(line.chopped(1).toStdString());
}

} // namespace veltrana
