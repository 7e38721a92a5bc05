// Reading a file the person chose to import, with the checks that keep a special or hostile file out.
#include "ImportedFile.h"

#include "MacroStore.h"
#include "SettingsFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString sizeLimitText()
{
    return QStringLiteral("%1 MiB").arg(ImportedFile::MaxBytes / (1024 * 1024));
}

// Reads at most `limit` + 1 bytes of an open regular file, so a file that grows meanwhile still
// shows as too large.
bool readAtMost(int fd, qint64 limit, QByteArray &content)
{
    content.clear();
    char chunk[16384];
    while (content.size() <= limit) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        content.append(chunk, n);
    }
    return true;
}

} // namespace

ImportedFile ImportedFile::read(const QString &path, Kind kind)
{
    ImportedFile file;
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    // A pipe, a socket or a device (also behind a link) is never opened: opening or reading one can
    // wait for ever, or never end.
    if (::stat(name.constData(), &info) != 0) {
        file.refuse(
            QStringLiteral("it cannot be read (%1)").arg(QString::fromLocal8Bit(std::strerror(errno))));
        return file;
    }
    if (!S_ISREG(info.st_mode)) {
        file.refuse(QStringLiteral("it is not a regular file"));
        return file;
    }
    if (info.st_size > MaxBytes) {
        file.refuse(
            QStringLiteral("it is larger than %1, the limit for a file to import").arg(sizeLimitText()));
        return file;
    }
    // Not waiting even if the name was swapped for a pipe since; what was opened is looked at again.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        file.refuse(
            QStringLiteral("it cannot be read (%1)").arg(QString::fromLocal8Bit(std::strerror(errno))));
        return file;
    }
    QByteArray content;
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const bool read = regular && readAtMost(fd, MaxBytes, content);
    const int readError = errno;
    ::close(fd);
    if (!regular) {
        file.refuse(QStringLiteral("it is not a regular file"));
        return file;
    }
    if (!read) {
        file.refuse(
            QStringLiteral("it cannot be read (%1)").arg(QString::fromLocal8Bit(std::strerror(readError))));
        return file;
    }
    if (content.size() > MaxBytes) {
        file.refuse(
            QStringLiteral("it is larger than %1, the limit for a file to import").arg(sizeLimitText()));
        return file;
    }

    const QString what = kind == Kind::Profile ? QStringLiteral("profile") : QStringLiteral("macro");
    QVariantMap values;
    if (!SettingsFile::isCleanText(content, &values)) {
        file.refuse(QStringLiteral("it is no %1 file: it is not settings text").arg(what));
        return file;
    }
    if (values.isEmpty()) {
        file.refuse(QStringLiteral("it is no %1 file: it holds no settings").arg(what));
        return file;
    }
    // Every line the program writes ends with a line break; a file without one was cut off.
    if (!content.endsWith('\n')) {
        file.refuse(QStringLiteral("it is cut short: its last line is incomplete"));
        return file;
    }
    if (kind == Kind::Macro)
        file.checkMacro(values);
    if (file.isUsable())
        file.m_content = content;
    return file;
}

void ImportedFile::refuse(const QString &why)
{
    if (m_refusal.isEmpty())
        m_refusal = why;
}

void ImportedFile::checkMacro(const QVariantMap &values)
{
    bool ok = false;
    const int total = values.value(QStringLiteral("config/total")).toString().trimmed().toInt(&ok);
    if (!ok || total < 0) {
        refuse(QStringLiteral("it is no macro file: it does not say how many steps it has"));
        return;
    }
    if (total > MacroStore::MaxSteps) {
        refuse(QStringLiteral("it names %1 steps, more than the %2 a macro may have")
                   .arg(total)
                   .arg(MacroStore::MaxSteps));
        return;
    }
    int present = 0;
    while (present < total && values.contains(QStringLiteral("macro/") + QString::number(present)))
        ++present;
    if (present < total)
        refuse(QStringLiteral("it is cut short: it names %1 steps but holds %2").arg(total).arg(present));
}
