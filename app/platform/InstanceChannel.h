// One running copy per installation and user: the first copy listens, later copies hand it a
// message and exit. The first copy also receives copy-data messages from other programs.
#pragma once

#include <QObject>
#include <QString>

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

signals:
    void messageReceived(const QString &message);
};
