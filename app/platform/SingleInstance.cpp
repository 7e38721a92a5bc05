// The instance lock and socket of one installation and user.
#include "SingleInstance.h"

#include "NativeMessage.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString baseName(const QString &executablePath)
{
    const QByteArray hash = QCryptographicHash::hash(QFileInfo(executablePath).absoluteFilePath().toUtf8(),
                                                     QCryptographicHash::Sha1)
                                .toHex()
                                .left(16);
    return QStringLiteral("kestral-config-%1-%2").arg(uint(geteuid())).arg(QString::fromLatin1(hash));
}

// A folder nobody else can reach: ours, a real folder, no access for group or others.
bool isPrivateDirectory(const QString &path)
{
    struct stat st;
    if (lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

bool peerIsSameUser(QLocalSocket *socket)
{
    struct ucred cred;
    socklen_t len = sizeof(cred);
    if (getsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0)
        return false;
    return cred.uid == geteuid();
}

// How long a lock file nobody holds gets to be taken by the copy that is creating it.
constexpr unsigned long LockSettleMs = 50;

// A running copy holds its lock file locked (flock) from the moment it creates it. A file nobody
// holds, whatever it says, was left by a copy that died or by something else: remove it. A copy that
// has just created the file locks it a moment later, hence the second look.
bool removeLockWithoutOwner(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    for (int look = 0; look < 2; ++look) {
        if (look > 0)
            QThread::msleep(LockSettleMs);
        const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0)
            return errno == ENOENT;
        struct stat held, named;
        const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
                          ::stat(name.constData(), &named) == 0 && held.st_ino == named.st_ino;
        // Removed while locked, so nobody can take it in between.
        const bool removed = free && look > 0 && ::unlink(name.constData()) == 0;
        ::close(fd);
        if (!free || removed)
            return removed;
    }
    return false;
}

} // namespace

QString SingleInstance::userRuntimeDirectory()
{
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QFileInfo(xdg).isDir())
        return xdg;
    const QString fallback = QStringLiteral("/tmp/kestral-config-%1").arg(uint(geteuid()));
    mkdir(QFile::encodeName(fallback).constData(), 0700);
    return fallback;
}

QString SingleInstance::socketPathFor(const QString &executablePath, const QString &runtimeDir)
{
    const QString dir = runtimeDir.isEmpty() ? userRuntimeDirectory() : runtimeDir;
    return dir + QLatin1Char('/') + baseName(executablePath) + QStringLiteral(".socket");
}

SingleInstance::SingleInstance(const QString &executablePath, const QString &runtimeDir, QObject *parent)
    : InstanceChannel(parent), m_dir(runtimeDir.isEmpty() ? userRuntimeDirectory() : runtimeDir)
{
    const QString base = m_dir + QLatin1Char('/') + baseName(executablePath);
    m_lockPath = base + QStringLiteral(".lock");
    m_socketPath = base + QStringLiteral(".socket");
}

SingleInstance::~SingleInstance()
{
    // The server takes its connections with it; they must not report back while it does.
    for (QLocalSocket *socket : m_connections.keys())
        disconnect(socket, nullptr, this, nullptr);
    m_connections.clear();
    if (m_server) {
        m_server->close();
        delete m_server;
    }
    if (m_lock)
        m_lock->unlock();
}

bool SingleInstance::isListening() const
{
    return m_server && m_server->isListening();
}

bool SingleInstance::isRunning()
{
    if (m_decided)
        return m_running;
    m_decided = true;

    // A shared or foreign folder would let others take or fake the instance: then run on alone.
    const bool fromEnvironment = m_dir == qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!fromEnvironment && !isPrivateDirectory(m_dir)) {
        qWarning() << "single instance: folder is not private:" << m_dir;
        return m_running = false;
    }

    m_lock = std::make_unique<QLockFile>(m_lockPath);
    m_lock->setStaleLockTime(0); // stale only when its process is gone
    bool locked = m_lock->tryLock(0);
    if (!locked && m_lock->error() == QLockFile::LockFailedError && removeLockWithoutOwner(m_lockPath)) {
        qWarning() << "single instance: taking over a lock nobody holds:" << m_lockPath;
        locked = m_lock->tryLock(0);
    }
    if (!locked) {
        if (m_lock->error() == QLockFile::LockFailedError)
            return m_running = true;
        qWarning() << "single instance: cannot take" << m_lockPath;
        m_lock.reset();
        return m_running = false;
    }

    m_server = new QLocalServer;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    listen();
    m_checkTimer = new QTimer(this);
    connect(m_checkTimer, &QTimer::timeout, this, &SingleInstance::check);
    m_checkTimer->start(qMax(1, m_limits.checkIntervalMs));
    return m_running = false;
}

void SingleInstance::listen()
{
    // Holding the lock, any socket left there belongs to a copy that died.
    QLocalServer::removeServer(m_socketPath);
    if (m_server->listen(m_socketPath)) {
        m_relistenReported = false;
    } else if (!m_relistenReported) {
        m_relistenReported = true;
        qWarning() << "single instance: cannot listen on" << m_socketPath << m_server->errorString();
    }
}

bool SingleInstance::sendMessage(const QString &message, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(CopyDataFrame::encodeMessage(message));
    while (socket.bytesToWrite() > 0) {
        const int left = timeoutMs - int(clock.elapsed());
        if (left <= 0 || !socket.waitForBytesWritten(left))
            return false;
    }
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::answerCommand(quint64 id, int exitCode, const QString &out, const QString &err)
{
    for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
        if (it->command != id)
            continue;
        it->command = 0;
        it->ticks = 0;
        QLocalSocket *socket = it.key();
        socket->write(CopyDataFrame::encodeCommandReply(exitCode, out, err));
        // Closes once the reply is written; a peer that does not read it goes with the time limit.
        socket->disconnectFromServer();
        return;
    }
}

SingleInstance::Delivery SingleInstance::sendCommand(const QStringList &arguments, int answerTimeoutMs,
                                                     int finishTimeoutMs, CopyDataFrame::Frame *reply)
{
    const QByteArray request = CopyDataFrame::encodeCommandRequest(arguments);
    if (request.isEmpty())
        return Delivery::Lost;
    QElapsedTimer clock;
    clock.start();
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(answerTimeoutMs))
        return Delivery::NotAnswering;
    socket.write(request);
    CopyDataFrame reader;
    CopyDataFrame::Frame frame;
    bool accepted = false;
    for (;;) {
        while (reader.next(frame)) {
            if (!accepted && frame.kind == CopyDataFrame::CommandAccepted) {
                accepted = true;
                clock.restart();
            } else if (accepted && frame.kind == CopyDataFrame::CommandReply) {
                if (reply)
                    *reply = frame;
                return Delivery::Replied;
            } else {
                return accepted ? Delivery::Lost : Delivery::NotAnswering;
            }
        }
        if (reader.failed())
            return accepted ? Delivery::Lost : Delivery::NotAnswering;
        const int left = (accepted ? finishTimeoutMs : answerTimeoutMs) - int(clock.elapsed());
        if (left <= 0)
            return accepted ? Delivery::Lost : Delivery::NotAnswering;
        if (socket.bytesToWrite() > 0)
            socket.waitForBytesWritten(left);
        else if (!socket.waitForReadyRead(left) && socket.state() != QLocalSocket::ConnectedState &&
                 socket.bytesAvailable() == 0)
            return accepted ? Delivery::Lost : Delivery::NotAnswering;
        reader.append(socket.readAll());
    }
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (!peerIsSameUser(socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // Past the cap the connection open longest goes: a hand-over still gets in while others
        // hold theirs open, and descriptors never run out here.
        while (!m_connections.isEmpty() && m_connections.size() >= qMax(1, m_limits.maxConnections)) {
            auto oldest = m_connections.begin();
            for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
                if (it->order < oldest->order)
                    oldest = it;
            }
            drop(oldest.key());
        }
        Connection connection;
        connection.order = ++m_accepted;
        m_connections.insert(socket, connection);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            readFrom(socket);
            m_connections.remove(socket);
            socket->deleteLater();
        });
        readFrom(socket);
    }
}

void SingleInstance::readFrom(QLocalSocket *socket)
{
    auto it = m_connections.find(socket);
    if (it == m_connections.end())
        return;
    if (socket->isReadable())
        it->reader.append(socket->readAll());
    CopyDataFrame::Frame frame;
    while (it->reader.next(frame)) {
        it->ticks = 0;
        // A peer waiting for its command's reply has nothing more to say, and answers are ours to send.
        if (it->command || frame.kind == CopyDataFrame::CommandAccepted ||
            frame.kind == CopyDataFrame::CommandReply) {
            drop(socket);
            return;
        }
        if (frame.kind == CopyDataFrame::CommandRequest) {
            it->command = ++m_commands;
            socket->write(CopyDataFrame::encodeCommandAccepted());
            const quint64 id = it->command;
            const QStringList arguments = frame.arguments;
            QMetaObject::invokeMethod(
                this, [this, id, arguments] { emit commandReceived(id, arguments); }, Qt::QueuedConnection);
            continue;
        }
        // Handled from the event loop: the copy-data handler may open a box, which must not happen
        // inside the socket's notification.
        QMetaObject::invokeMethod(
            this, [this, frame] { dispatch(frame); }, Qt::QueuedConnection);
    }
    if (it->reader.failed())
        drop(socket);
    else
        keepWithinBudget();
}

void SingleInstance::drop(QLocalSocket *socket)
{
    m_connections.remove(socket);
    disconnect(socket, nullptr, this, nullptr);
    socket->abort();
    socket->deleteLater();
}

qint64 SingleInstance::bufferedBytes() const
{
    qint64 total = 0;
    for (const Connection &connection : m_connections)
        total += connection.reader.buffered();
    return total;
}

void SingleInstance::keepWithinBudget()
{
    // The connection holding most goes first: a small frame still gets through.
    while (bufferedBytes() > m_limits.maxBuffered) {
        auto largest = m_connections.begin();
        for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
            if (it->reader.buffered() > largest->reader.buffered())
                largest = it;
        }
        drop(largest.key());
    }
}

void SingleInstance::check()
{
    // Qt closes the server, and removes its socket, when accepting a connection fails (out of
    // descriptors, say); the lock is still ours, so listen again.
    if (!m_server->isListening())
        listen();
    // Time is counted in checks, which only pass while the event loop runs: a busy program does not
    // drop a peer whose frame is waiting to be read.
    const int allowed = qMax(2, m_limits.frameTimeoutMs / qMax(1, m_limits.checkIntervalMs));
    QList<QLocalSocket *> late;
    for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
        // A command takes as long as the mouse needs; its peer waits for us, not we for it.
        if (!it->command && ++it->ticks > allowed)
            late << it.key();
    }
    for (QLocalSocket *socket : late)
        drop(socket);
}

void SingleInstance::dispatch(const CopyDataFrame::Frame &frame)
{
    if (frame.kind == CopyDataFrame::InstanceMessage) {
        emit messageReceived(frame.message);
        return;
    }
    NativeMessage::CopyDataStruct data;
    data.dwData = frame.tag;
    data.cbData = frame.stated;
    data.lpData = frame.text.constData();
    data.cbDataAvailable = quint32(frame.text.size());
    NativeMessage::Message message;
    message.message = NativeMessage::CopyData;
    message.lParam = &data;
    qintptr result = 0;
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->filterNativeEvent(NativeMessage::eventType(), &message, &result);
}
