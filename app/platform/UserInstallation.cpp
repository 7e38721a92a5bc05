// The folder the program works in: beside a build's executable, or a per-user copy of an installation.
#include "UserInstallation.h"

#include "SettingsFile.h"
#include "SettingsStore.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

const QString kModules = QStringLiteral("modules");
// Seeds in progress sit beside the folder they become: "<folder>/.seed-<pid>-XXXXXX/modules".
const QString kSeedPrefix = QStringLiteral(".seed-");

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// Right after a failed QDir::mkpath(), whose errno tells why.
QString folderError(const QString &path)
{
    const int code = errno;
    return QStringLiteral("cannot create the folder %1: %2").arg(path, systemError(code));
}

// Files the program only reads: they follow the installation and are replaced by a newer version.
// Everything else under modules/ is the user's and only gains what it lacks.
bool followsInstallation(const QString &relative)
{
    return relative == QLatin1String("setting/apConfigD.bin") ||
           relative == QLatin1String("setting/pD.bin") || relative.startsWith(QLatin1String("i18n/")) ||
           relative.startsWith(QLatin1String("img/"));
}

// The user's macros are theirs alone: a default macro they deleted must not come back.
bool isUsersOnly(const QString &relative)
{
    return relative.startsWith(QLatin1String("macro/"));
}

QByteArray contentOf(const QString &path, bool *ok)
{
    QFile f(path);
    *ok = f.open(QIODevice::ReadOnly);
    if (!*ok)
        return QByteArray();
    const QByteArray content = f.readAll();
    *ok = f.error() == QFileDevice::NoError;
    return content;
}

// Writes a new file to disk and waits for it: a folder renamed into place must hold whole files
// even after a power cut.
bool writeDurably(const QString &path, const QByteArray &content, QString *error)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly) || out.write(content) != content.size() ||
        !out.flush() || ::fsync(out.handle()) != 0) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, out.errorString());
        out.close();
        QFile::remove(path);
        return false;
    }
    return true;
}

bool copyTree(const QString &from, const QString &to, QString *error)
{
    if (!QDir().mkpath(to)) {
        *error = folderError(to);
        return false;
    }
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target)) {
                *error = folderError(target);
                return false;
            }
            continue;
        }
        bool ok = false;
        const QByteArray content = contentOf(source, &ok);
        if (!ok) {
            *error = QStringLiteral("cannot read %1").arg(source);
            return false;
        }
        const QString folder = QFileInfo(target).path();
        if (!QDir().mkpath(folder)) {
            *error = folderError(folder);
            return false;
        }
        if (!writeDurably(target, content, error))
            return false;
    }
    return true;
}

// Renames `from` to `to` only when `to` does not exist: another start may have seeded it meanwhile.
bool renameNew(const QString &from, const QString &to, int *code)
{
    const QByteArray a = QFile::encodeName(from);
    const QByteArray b = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_NOREPLACE) == 0)
        return true;
    *code = errno;
    if (*code != EINVAL && *code != ENOSYS)
        return false;
    // A file system without the flag: rename(2) still never replaces a folder that holds something.
    if (QFileInfo::exists(to)) {
        *code = EEXIST;
        return false;
    }
    if (::rename(a.constData(), b.constData()) == 0)
        return true;
    *code = errno;
    return false;
}

// The device table of the global settings file: rows "[0]", "[1]", … counted by common/deviceCount.
const QString kGlobalFile = QStringLiteral("setting/apConfig.bin");
const QString kDeviceCount = QStringLiteral("common/deviceCount");

bool isDeviceTableKey(const QString &key)
{
    bool isRow = false;
    key.section(QLatin1Char('/'), 0, 0).toInt(&isRow);
    return isRow || key == kDeviceCount;
}

QString deviceId(const QSettings &settings, int row)
{
    const QString prefix = QString::number(row) + QLatin1Char('/');
    const QString vid = settings.value(prefix + QStringLiteral("vid")).toString().trimmed().toLower();
    const QString pid = settings.value(prefix + QStringLiteral("pid")).toString().trimmed().toLower();
    return vid.isEmpty() || pid.isEmpty() ? QString() : vid + QLatin1Char(':') + pid;
}

// A mouse that newer defaults know and the user's table lacks is appended to it: adding only the
// missing keys would leave deviceCount as it was, and the new rows would never be read. Rows the user
// has (also rows they added or changed) stay, and gain only the keys they lack.
// A stored row count, held to the rows the table reader ever reads; a negative one means no rows.
int deviceRows(const QSettings &settings)
{
    return std::clamp(settings.value(kDeviceCount, 0).toInt(), 0, SettingsStore::DeviceTableRows);
}

bool mergeDeviceTable(const QSettings &source, QSettings *user)
{
    const QStringList defaultKeys = source.allKeys();
    int count = deviceRows(*user);
    QMap<QString, int> rows;
    for (int row = 0; row < count; ++row)
        rows.insert(deviceId(*user, row), row);

    bool changed = false;
    const int defaultCount = deviceRows(source);
    for (int row = 0; row < defaultCount; ++row) {
        const QString id = deviceId(source, row);
        if (id.isEmpty())
            continue;
        const bool isNew = !rows.contains(id);
        // A full table has no room: a row past the last one read would never be found.
        if (isNew && count >= SettingsStore::DeviceTableRows)
            continue;
        const int target = isNew ? count++ : rows.value(id);
        if (isNew) {
            user->remove(QString::number(target)); // whatever an old, shorter table left there
            rows.insert(id, target);
        }
        const QString from = QString::number(row) + QLatin1Char('/');
        const QString to = QString::number(target) + QLatin1Char('/');
        for (const QString &key : defaultKeys) {
            if (key.startsWith(from) && !user->contains(to + key.mid(from.size()))) {
                user->setValue(to + key.mid(from.size()), source.value(key));
                changed = true;
            }
        }
    }
    if (count != user->value(kDeviceCount, 0).toInt()) {
        user->setValue(kDeviceCount, count);
        changed = true;
    }
    return changed;
}

// Adds the keys of `defaults` that `target` lacks, with their default values.
bool addMissingKeys(const QString &defaults, const QString &target, const QString &relative, QString *error)
{
    const QSettings source(defaults, QSettings::IniFormat);
    std::unique_ptr<QSettings> user(SettingsFile::open(target));
    const bool isGlobal = relative == kGlobalFile;
    bool added = isGlobal && mergeDeviceTable(source, user.get());
    for (const QString &key : source.allKeys()) {
        if (isGlobal && isDeviceTableKey(key))
            continue;
        if (!user->contains(key)) {
            user->setValue(key, source.value(key));
            added = true;
        }
    }
    if (added && !SettingsFile::commit(user.get())) {
        *error = QStringLiteral("cannot write %1").arg(target);
        return false;
    }
    return true;
}

} // namespace

QString UserInstallation::executableDirectory()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).path();
}

bool UserInstallation::isInstalledCopy(const QString &executableDir)
{
    return QFileInfo(executableDir + QLatin1Char('/') + markerFileName()).isFile();
}

QString UserInstallation::userFolder()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/kestral-config"));
}

QString UserInstallation::prepare(QString *error)
{
    return prepare(executableDirectory(), userFolder(), error);
}

QString UserInstallation::prepare(const QString &executableDir, const QString &userFolder, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    error->clear();
    if (!isInstalledCopy(executableDir)) {
        const QString dir = QDir(executableDir).canonicalPath();
        return dir.isEmpty() ? QDir::cleanPath(QDir(executableDir).absolutePath()) : dir;
    }

    const QString defaults = executableDir + QLatin1Char('/') + kModules;
    if (!QFileInfo(defaults).isDir()) {
        *error = QStringLiteral("the installation is incomplete, %1 is missing").arg(defaults);
        return QString();
    }
    if (!QDir().mkpath(userFolder) || !QFileInfo(userFolder).isDir()) {
        const int code = errno;
        *error =
            QStringLiteral("cannot create the settings folder %1: %2").arg(userFolder, systemError(code));
        return QString();
    }
    removeStaleSeeds(userFolder);
    if (!QFileInfo(userFolder + QLatin1Char('/') + kModules).isDir()) {
        if (!seed(defaults, userFolder, error))
            return QString();
    } else if (!update(defaults, userFolder, error)) {
        return QString();
    }
    return QDir(userFolder).canonicalPath();
}

bool UserInstallation::seed(const QString &defaults, const QString &target, QString *error)
{
    QTemporaryDir temp(QStringLiteral("%1/%2%3-XXXXXX").arg(target, kSeedPrefix).arg(::getpid()));
    if (!temp.isValid()) {
        *error = QStringLiteral("cannot write in the settings folder %1: %2").arg(target, temp.errorString());
        return false;
    }
    const QString staged = temp.path() + QLatin1Char('/') + kModules;
    QString reason;
    if (!copyTree(defaults, staged, &reason)) {
        *error = QStringLiteral("cannot set up the settings folder %1: %2").arg(target, reason);
        return false;
    }
    const QString whole = target + QLatin1Char('/') + kModules;
    int code = 0;
    if (!renameNew(staged, whole, &code)) {
        // Another start of the same user got there first; its copy is as good as this one.
        if ((code == EEXIST || code == ENOTEMPTY) && QFileInfo(whole).isDir())
            return update(defaults, target, error);
        *error = QStringLiteral("cannot set up the settings folder %1: %2").arg(target, systemError(code));
        return false;
    }
    return true;
}

bool UserInstallation::update(const QString &defaults, const QString &target, QString *error)
{
    const QDir from(defaults);
    const QString modules = target + QLatin1Char('/') + kModules;
    QDirIterator it(defaults, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = from.relativeFilePath(source);
        const QString user = modules + QLatin1Char('/') + relative;
        if (it.fileInfo().isDir()) {
            if (!QFileInfo(user).isDir() && !QDir().mkpath(user)) {
                *error = folderError(user);
                return false;
            }
            continue;
        }
        if (isUsersOnly(relative))
            continue;
        const QFileInfo existing(user);
        if (!existing.exists()) {
            // Written beside and renamed, so an interrupted start never leaves half a file.
            if (!SettingsFile::replace(user, source)) {
                *error = QStringLiteral("cannot write %1").arg(user);
                return false;
            }
            continue;
        }
        if (followsInstallation(relative)) {
            bool readNew = false;
            bool readOld = false;
            const QByteArray wanted = contentOf(source, &readNew);
            if (readNew && (contentOf(user, &readOld) != wanted || !readOld) &&
                !SettingsFile::replace(user, source)) {
                *error = QStringLiteral("cannot write %1").arg(user);
                return false;
            }
            continue;
        }
        if (!addMissingKeys(source, user, relative, error))
            return false;
    }
    return true;
}

void UserInstallation::removeStaleSeeds(const QString &target)
{
    // Left by a start that ended while seeding; a seed whose start still runs is left alone.
    const QStringList leftovers = QDir(target).entryList({kSeedPrefix + QLatin1Char('*')},
                                                         QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : leftovers) {
        const QString pidText = name.mid(kSeedPrefix.size()).section(QLatin1Char('-'), 0, 0);
        bool isNumber = false;
        const pid_t pid = pid_t(pidText.toInt(&isNumber));
        if (isNumber && pid > 0 && pid != ::getpid() && (::kill(pid, 0) == 0 || errno == EPERM))
            continue;
        QDir(target + QLatin1Char('/') + name).removeRecursively();
    }
}

int UserInstallation::reportFailure(const QString &error)
{
    const QString text = QStringLiteral("kestral-config cannot start: %1").arg(error);
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::fflush(stderr);
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QMessageBox::critical(nullptr, QStringLiteral("kestral-config"), text);
    return 1;
}
