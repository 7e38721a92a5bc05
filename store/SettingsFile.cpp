// Helpers shared by every store for opening, protecting, writing and replacing INI settings files.
#include "SettingsFile.h"

#include "SettingsNotice.h"

#include <QDateTime>
#include <QDebug>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QSettings>
#include <QStringDecoder>

#include <cerrno>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How many differing copies of one unreadable file are kept before giving up.
constexpr int MaxKeptCopies = 100;

bool sameContent(const QString &path, const QByteArray &content)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.size() == content.size() && f.readAll() == content;
}

bool isValidUtf8(const QByteArray &content)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString ignored = decoder.decode(content);
    Q_UNUSED(ignored);
    return !decoder.hasError();
}

bool writeAll(int fd, const QByteArray &content)
{
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.constData() + done, size_t(content.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QByteArray fileContent(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes a whole file beside `path` and renames it over, or leaves `path` as it was. The flush is
// checked here: the rename that commit() makes does not wait for a buffered write that failed.
bool writeWhole(const QString &path, const QByteArray &content)
{
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(content) == content.size() && out.flush() &&
           out.commit();
}

// The settings library keeps what it parsed of a file for the whole process and reports a format
// error only to the object that parsed it first; a private copy is parsed afresh every time. The copy
// lives in memory: a full or read-only temporary folder must not let a damaged file pass as readable.
// When no copy can be made at all, the file counts as unreadable: a spare copy costs less than lines.
bool parsePrivately(const QByteArray &content, QStringList *keys = nullptr, QVariantMap *values = nullptr)
{
    const int fd = memfd_create("kc-settings-check", MFD_CLOEXEC);
    if (fd < 0)
        return false;
    // The library also tells files apart by name, size and modification time; each check gets a time
    // of its own, so a copy at a descriptor number used before is never taken for the earlier one.
    static qint64 checks = 0;
    const timespec stamp{time_t(++checks), 0};
    const timespec times[2] = {stamp, stamp};
    bool clean = false;
    if (writeAll(fd, content) && futimens(fd, times) == 0) {
        QSettings parsed(QStringLiteral("/proc/self/fd/%1").arg(fd), QSettings::IniFormat);
        // Sections are parsed lazily; asking for every key makes a format error show in status().
        const QStringList found = parsed.allKeys();
        clean = parsed.status() == QSettings::NoError;
        if (keys)
            *keys = found;
        if (values) {
            for (const QString &key : found)
                values->insert(key, parsed.value(key));
        }
    }
    ::close(fd);
    return clean;
}

// Whether the file holds every key of the object, down to the end of its last line. The settings
// library renames its new copy over the file even when writing that copy failed (a disk with room for
// its lock file but not for the settings), which leaves the file cut short while status() says nothing.
bool writtenWhole(const QSettings &settings, const QByteArray &content)
{
    // Inside a group only that group's keys are listed, and without the group's name.
    const QString group = settings.group();
    const QStringList expected = settings.allKeys();
    if (expected.isEmpty())
        return true;
    QStringList found;
    if (!content.endsWith('\n') || !parsePrivately(content, &found))
        return false;
    const QSet<QString> present(found.cbegin(), found.cend());
    for (const QString &key : expected) {
        if (!present.contains(group.isEmpty() ? key : group + QLatin1Char('/') + key))
            return false;
    }
    return true;
}

// A failed write shows as an access error, unless an earlier format error hides it (the library
// keeps the first error it met); then what the write needs is looked at directly.
bool writeFailed(const QSettings &settings)
{
    switch (settings.status()) {
    case QSettings::NoError:
        return false;
    case QSettings::AccessError:
        return true;
    case QSettings::FormatError:
        break;
    }
    const QFileInfo file(settings.fileName());
    if (!QFileInfo(file.absolutePath()).isWritable())
        return true;
    QFile existing(file.filePath());
    return file.exists() && !existing.open(QIODevice::ReadWrite);
}

// Makes the write the settings library defers itself, on the same event and in the same way, so that
// its outcome can be seen.
class WriteCheck : public QObject
{
public:
    explicit WriteCheck(QSettings *settings) : QObject(settings), m_settings(settings)
    {
        settings->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_settings || event->type() != QEvent::UpdateRequest)
            return QObject::eventFilter(watched, event);
        SettingsFile::commit(m_settings);
        return true;
    }

private:
    QSettings *m_settings;
};

} // namespace

QSettings *SettingsFile::open(const QString &path, Damage *damage)
{
    const Damage found = keepUnreadable(path);
    if (damage)
        *damage = found;
    auto *settings = new QSettings(path, QSettings::IniFormat);
    new WriteCheck(settings);
    return settings;
}

bool SettingsFile::commit(QSettings *settings)
{
    const QString path = settings->fileName();
    const bool existed = QFile::exists(path);
    const QByteArray before = fileContent(path);
    settings->sync();
    bool written = !writeFailed(*settings);
    const QByteArray after = fileContent(path);
    if (written && after != before && !writtenWhole(*settings, after)) {
        // What the file held is worth more than a part of the new settings.
        if (existed)
            writeWhole(path, before);
        else
            QFile::remove(path);
        written = false;
    }
    if (!written)
        SettingsNotice::instance().cannotSave(path);
    return written;
}

SettingsFile::Damage SettingsFile::keepUnreadable(const QString &path)
{
    Damage damage;
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return damage;
    const QByteArray content = file.readAll();
    file.close();
    if (isCleanText(content))
        return damage;

    damage.unreadable = true;
    for (int i = 0; i < MaxKeptCopies; ++i) {
        const QString copy = path + QStringLiteral(".bad") + (i ? QString::number(i) : QString());
        if (QFile::exists(copy)) {
            if (sameContent(copy, content)) {
                damage.keptAs = copy;
                return damage;
            }
            continue;
        }
        // Written whole or not at all: a cut-off copy would pass for the damaged file later.
        if (writeWhole(copy, content)) {
            qDebug() << "Unreadable settings file kept as" << copy;
            damage.keptAs = copy;
        }
        return damage;
    }
    return damage;
}

bool SettingsFile::isCleanText(const QByteArray &content, QVariantMap *values)
{
    return isValidUtf8(content) && parsePrivately(content, nullptr, values);
}

bool SettingsFile::replace(const QString &target, const QString &source)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return false;
    in.close();
    return replaceWith(target, content);
}

bool SettingsFile::replaceWith(const QString &target, const QByteArray &content)
{
    const QFileInfo before(target);
    const QDateTime oldStamp = before.exists() ? before.lastModified() : QDateTime();
    // What a new file in the folder gets, and never more than the file being replaced had: a file
    // others may rewrite (or run) is no settings file.
    QFileDevice::Permissions mode = usualMode();
    if (before.exists())
        mode &= before.permissions();

    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || !out.setPermissions(mode) ||
        out.write(content) != content.size() || !out.flush() || !out.commit())
        return false;

    // The settings library skips re-reading a file whose size and modification time it has seen
    // before. A copy made within the same clock tick as the old file's last write would then be
    // served from the old content, so the replacement is always dated after what it replaced.
    const QFileInfo after(target);
    if (oldStamp.isValid() && after.lastModified() <= oldStamp) {
        QFile f(target);
        if (f.open(QIODevice::ReadWrite))
            f.setFileTime(oldStamp.addSecs(1), QFileDevice::FileModificationTime);
    }
    return true;
}

QFileDevice::Permissions SettingsFile::usualMode()
{
    // The process's file creation mask, as the kernel reports it; the common 022 where it does not.
    mode_t mask = 022;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            bool ok = false;
            const uint value = line.startsWith("Umask:") ? line.mid(6).trimmed().toUInt(&ok, 8) : 0;
            if (ok)
                mask = mode_t(value);
        }
    }
    const mode_t mode = 0666 & ~mask;
    QFileDevice::Permissions p;
    const std::pair<mode_t, QFileDevice::Permission> bits[] = {
        {S_IRUSR, QFileDevice::ReadOwner}, {S_IWUSR, QFileDevice::WriteOwner},
        {S_IRGRP, QFileDevice::ReadGroup}, {S_IWGRP, QFileDevice::WriteGroup},
        {S_IROTH, QFileDevice::ReadOther}, {S_IWOTH, QFileDevice::WriteOther}};
    for (const auto &[bit, permission] : bits) {
        if (mode & bit)
            p |= permission;
    }
    // Qt reports the owner's bits twice, as the owner's and as the user's.
    if (mode & S_IRUSR)
        p |= QFileDevice::ReadUser;
    if (mode & S_IWUSR)
        p |= QFileDevice::WriteUser;
    return p;
}

bool SettingsFile::isReadableFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

bool SettingsFile::isSameFile(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

QVariantList SettingsFile::asList(const QVariant &value)
{
    // A plain string would otherwise convert to a list of its characters.
    const int type = value.metaType().id();
    if (type == QMetaType::QVariantList || type == QMetaType::QStringList)
        return value.toList();
    return QVariantList();
}
