// Test double of the instance channel: says whether another copy "runs" and records what was sent.
#pragma once

#include "InstanceChannel.h"

#include <QStringList>

class RecordingInstanceChannel : public InstanceChannel
{
    Q_OBJECT
public:
    using InstanceChannel::InstanceChannel;

    bool isRunning() override { return otherCopyRuns; }
    bool sendMessage(const QString &message, int timeoutMs) override
    {
        sent << message;
        timeouts << timeoutMs;
        return otherCopyRuns;
    }
    void simulateMessage(const QString &message) { emit messageReceived(message); }

    bool otherCopyRuns = false;
    QStringList sent;
    QList<int> timeouts;
};
