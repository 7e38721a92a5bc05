// Records the Qt debug output of the code under test (from any thread) instead of printing it.
#include "MessageLog.h"

#include <QtGlobal>
#include <mutex>

namespace {
std::mutex logMutex; // a plain mutex, so that the thread checker sees it
QStringList recorded;

void record(QtMsgType, const QMessageLogContext &, const QString &message)
{
    std::lock_guard<std::mutex> lock(logMutex);
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
    std::lock_guard<std::mutex> lock(logMutex);
    return recorded;
}

int MessageLog::count(const QString &message) const
{
    std::lock_guard<std::mutex> lock(logMutex);
    return int(recorded.count(message));
}

void MessageLog::clear()
{
    std::lock_guard<std::mutex> lock(logMutex);
    recorded.clear();
}
