// Shared pieces of the application tests: a private X server, the debug output, and reading the virtual
// mouse's transcript. Their temporary installations are the shared TempInstallation.
#pragma once

#include "PrivateXServer.h"
#include "TempInstallation.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

// Collects every debug message while alive.
class MessageLog
{
public:
    MessageLog();
    ~MessageLog();
    QStringList messages() const;
    int count(const QString &text) const;
    void clear();
};

// One call recorded by the virtual mouse.
struct HidCall
{
    QString fn;
    QString path;
    QByteArray bytes;
};

// The calls of the in-process virtual mouse, or of a transcript file (JSON Lines).
QList<HidCall> hidCallsInProcess();
QList<HidCall> hidCallsFromFile(const QString &fileName);
// The command codes (byte 1) of the feature reports sent, in order; probes and commands alike.
QList<int> sentCommands(const QList<HidCall> &calls);
// The sent feature reports with command code `code`.
QList<QByteArray> sentReports(const QList<HidCall> &calls, int code);
