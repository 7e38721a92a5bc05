// The instance lock and socket of one installation and user: a lock file taken first, and a local
// server that only the lock's holder runs. Both are named after the executable's absolute path and
// live in the user's runtime folder ($XDG_RUNTIME_DIR, or a private folder in /tmp when unset).
// Peers get limited room (Limits), so none can take the socket away from the others.
#pragma once

#include "CopyDataFrame.h"
#include "InstanceChannel.h"

#include <QLockFile>
#include <QMap>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QTimer;

class SingleInstance : public InstanceChannel
{
    Q_OBJECT
public:
    // What the running copy allows its peers (CopyDataFrame.h describes them).
    struct Limits
    {
        int maxConnections = 16;      // a new connection past this pushes out the one open longest
        int frameTimeoutMs = 3000;    // for each frame, from connecting or the previous frame
        qint64 maxBuffered = 4 << 20; // unfinished frames of all connections together
        int checkIntervalMs = 500;    // time limits and whether the server still listens
    };

    // runtimeDir empty: the user's runtime folder.
    explicit SingleInstance(const QString &executablePath, const QString &runtimeDir = QString(),
                            QObject *parent = nullptr);
    ~SingleInstance() override;

    // Before isRunning().
    void setLimits(const Limits &limits) { m_limits = limits; }

    bool isRunning() override;
    bool sendMessage(const QString &message, int timeoutMs) override;
    void answerCommand(quint64 id, int exitCode, const QString &out, const QString &err) override;

    enum class Delivery { Replied, NotAnswering, Lost };
    // Hands a command to the running copy and waits for its reply. NotAnswering: no connection or no
    // acceptance within answerTimeoutMs; Lost: accepted, but the reply did not come within
    // finishTimeoutMs or the connection broke.
    Delivery sendCommand(const QStringList &arguments, int answerTimeoutMs, int finishTimeoutMs,
                         CopyDataFrame::Frame *reply);

    QString socketPath() const { return m_socketPath; }
    QString lockPath() const { return m_lockPath; }
    bool isListening() const;
    int connectionCount() const { return int(m_connections.size()); }
    // Bytes held for frames not yet complete, all connections together.
    qint64 bufferedBytes() const;

    // $XDG_RUNTIME_DIR when set and present, else /tmp/kestral-config-<uid> (created private).
    static QString userRuntimeDirectory();
    // Socket path other programs of the same user connect to for this executable.
    static QString socketPathFor(const QString &executablePath, const QString &runtimeDir = QString());

private:
    struct Connection
    {
        CopyDataFrame reader;
        quint64 order = 0;   // when accepted, for finding the one open longest
        int ticks = 0;       // checks since connecting or the last whole frame
        quint64 command = 0; // the accepted command request waiting for its reply
    };

    void listen();
    void acceptConnections();
    void readFrom(QLocalSocket *socket);
    void drop(QLocalSocket *socket);
    void keepWithinBudget();
    void check();
    void dispatch(const CopyDataFrame::Frame &frame);

    QString m_dir;
    QString m_lockPath;
    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    Limits m_limits;
    QTimer *m_checkTimer = nullptr;
    QMap<QLocalSocket *, Connection> m_connections;
    quint64 m_accepted = 0;
    quint64 m_commands = 0;
    bool m_relistenReported = false;
    bool m_decided = false;
    bool m_running = false;
};
