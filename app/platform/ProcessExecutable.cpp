// A process's executable name.
#include "ProcessExecutable.h"

#include "ActiveWindowWatcher.h"

#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Above any Linux pid_max.
constexpr qint64 MaxPid = qint64(1) << 22;

} // namespace

QString ProcessExecutable::nameOf(qint64 pid)
{
    if (pid <= 0 || pid > MaxPid)
        return QString();
    const QByteArray proc = "/proc/" + QByteArray::number(pid);
    struct stat info = {};
    if (stat(proc.constData(), &info) != 0 || info.st_uid != getuid())
        return QString();
    char target[4096];
    const ssize_t n = readlink((proc + "/exe").constData(), target, sizeof target - 1);
    if (n <= 0)
        return QString();
    QString path = QString::fromLocal8Bit(target, int(n));
    // A program replaced on disk while it runs.
    if (path.endsWith(QLatin1String(" (deleted)")))
        path.chop(10);
    return FocusedProgram::cleaned(QFileInfo(path).fileName());
}
