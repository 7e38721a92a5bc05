// The instance lock and socket of one installation and user: a lock file taken first, and a local
// server that only the lock's holder runs. Both are named after the executable's absolute path and
// live in the user's runtime folder ($XDG_RUNTIME_DIR, or a private folder in /tmp when unset).
#pragma once

#include "CopyDataFrame.h"
#include "InstanceChannel.h"

#include <QLockFile>
#include <QMap>
#include <memory>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public InstanceChannel
{
    Q_OBJECT
public:
    // runtimeDir empty: the user's runtime folder.
    explicit SingleInstance(const QString &executablePath, const QString &runtimeDir = QString(),
                            QObject *parent = nullptr);
    ~SingleInstance() override;

    bool isRunning() override;
    bool sendMessage(const QString &message, int timeoutMs) override;

    QString socketPath() const { return m_socketPath; }
    QString lockPath() const { return m_lockPath; }
    bool isListening() const;

    // $XDG_RUNTIME_DIR when set and present, else /tmp/kestral-config-<uid> (created private).
    static QString userRuntimeDirectory();
    // Socket path other programs of the same user connect to for this executable.
    static QString socketPathFor(const QString &executablePath, const QString &runtimeDir = QString());

private:
    void acceptConnections();
    void readFrom(QLocalSocket *socket);
    void dispatch(const CopyDataFrame::Frame &frame);

    QString m_dir;
    QString m_lockPath;
    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    QMap<QLocalSocket *, CopyDataFrame> m_readers;
    bool m_decided = false;
    bool m_running = false;
};
