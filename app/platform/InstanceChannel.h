// One running copy per installation and user: the first copy listens, later copies hand it a
// message and exit. The first copy also receives copy-data messages from other programs.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class InstanceChannel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~InstanceChannel() override = default;

    // True when another copy holds the instance; false makes this one the running copy.
    virtual bool isRunning() = 0;
    // Sends text to the running copy; false when it could not be delivered in time.
    virtual bool sendMessage(const QString &message, int timeoutMs) = 0;
    // The running copy's answer to a command request received with commandReceived; a request whose
    // peer has gone is forgotten.
    virtual void answerCommand(quint64 id, int exitCode, const QString &out, const QString &err)
    {
        Q_UNUSED(id)
        Q_UNUSED(exitCode)
        Q_UNUSED(out)
        Q_UNUSED(err)
    }

signals:
    void messageReceived(const QString &message);
    // A command-line copy hands over its command (the command and its arguments as typed).
    void commandReceived(quint64 id, const QStringList &arguments);
};
