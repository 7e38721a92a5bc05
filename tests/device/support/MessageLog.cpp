// Records the Qt debug output of the code under test (from any thread) instead of printing it.
#include "MessageLog.h"

#include <QMutex>
#include <QMutexLocker>
#include <QtGlobal>

namespace {
QMutex logMutex;
QStringList recorded;

void record(QtMsgType, const QMessageLogContext &, const QString &message)
{
    QMutexLocker lock(&logMutex);
    recorded << message;
}
} // namespace

MessageLog::MessageLog()
{
    clear();
    previous = reinterpret_cast<void *>(qInstallMessageHandler(record));
}

MessageLog::~MessageLog()
{
    qInstallMessageHandler(reinterpret_cast<QtMessageHandler>(previous));
}

QStringList MessageLog::messages() const
{
    QMutexLocker lock(&logMutex);
    return recorded;
}

int MessageLog::count(const QString &message) const
{
    QMutexLocker lock(&logMutex);
    return int(recorded.count(message));
}

void MessageLog::clear()
{
    QMutexLocker lock(&logMutex);
    recorded.clear();
}
