// Helpers shared by every store for opening, protecting and replacing INI settings files.
#include "SettingsFile.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryFile>

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

// The settings library keeps what it parsed of a file for the whole process and reports a format
// error only to the object that parsed it first; a private copy is parsed afresh every time.
bool parsesCleanly(const QByteArray &content)
{
    QTemporaryFile copy;
    if (!copy.open() || copy.write(content) != content.size() || !copy.flush())
        return true;
    QSettings parsed(copy.fileName(), QSettings::IniFormat);
    // Sections are parsed lazily; asking for every key makes a format error show in status().
    parsed.allKeys();
    return parsed.status() != QSettings::FormatError;
}

} // namespace

QSettings *SettingsFile::open(const QString &path)
{
    keepUnreadableCopy(path);
    return new QSettings(path, QSettings::IniFormat);
}

bool SettingsFile::keepUnreadableCopy(const QString &path)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = file.readAll();
    file.close();
    if (isValidUtf8(content) && parsesCleanly(content))
        return false;

    for (int i = 0; i < MaxKeptCopies; ++i) {
        const QString copy = path + QStringLiteral(".bad") + (i ? QString::number(i) : QString());
        if (QFile::exists(copy)) {
            if (sameContent(copy, content))
                return true;
            continue;
        }
        QFile out(copy);
        if (out.open(QIODevice::WriteOnly) && out.write(content) == content.size()) {
            qDebug() << "Unreadable settings file kept as" << copy;
            return true;
        }
        return false;
    }
    return false;
}

bool SettingsFile::replace(const QString &target, const QString &source)
{
    const QFileInfo before(target);
    const QDateTime oldStamp = before.exists() ? before.lastModified() : QDateTime();

    QFile::remove(target);
    if (!QFile::copy(source, target))
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
