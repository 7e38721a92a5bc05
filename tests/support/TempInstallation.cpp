// A throw-away folder laid out as the program's installation.
#include "TempInstallation.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

// Copies with owner read and write, so tests can change files that the build made read-only.
bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target) ||
            !QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner))
            return false;
    }
    return true;
}

} // namespace

void writeSettings(const QString &file, const QList<QPair<QString, QVariant>> &values)
{
    QSettings settings(file, QSettings::IniFormat);
    for (const auto &v : values)
        settings.setValue(v.first, v.second);
    settings.sync();
}

TempInstallation::TempInstallation(Contents contents, WorkingDirectory cwd)
{
    if (!m_dir.isValid())
        return;
    const QString modules = m_dir.path() + QStringLiteral("/modules");
    if (contents == Defaults) {
        // A missing default installation would leave an empty folder that looks fine until a test
        // misses its data; say so here instead.
        const QString source = QStringLiteral(KC_INSTALLATION_DIR "/modules");
        if (!QFileInfo(source).isDir() || !copyTree(source, modules))
            return;
    }
    for (const char *folder : {"setting", "macro", "gun", "i18n"}) {
        if (!QDir().mkpath(modules + QLatin1Char('/') + QLatin1String(folder)))
            return;
    }
    if (cwd == MakeCurrent) {
        m_previous = QDir::currentPath();
        if (!QDir::setCurrent(m_dir.path()))
            return;
    }
    m_ok = true;
}

TempInstallation::~TempInstallation()
{
    if (!m_previous.isEmpty())
        QDir::setCurrent(m_previous);
}

QString TempInstallation::path(const QString &relative) const
{
    return relative.isEmpty() ? m_dir.path() : m_dir.filePath(relative);
}

QString TempInstallation::profileSettings(int profile) const
{
    return path(QStringLiteral("modules/setting/p%1.bin").arg(profile + 1));
}

void TempInstallation::setGlobal(const QString &key, const QVariant &value)
{
    writeSettings(globalSettings(), {{key, value}});
}

void TempInstallation::setGlobal(const QList<QPair<QString, QVariant>> &values)
{
    writeSettings(globalSettings(), values);
}

void TempInstallation::removeGlobal(const QString &key)
{
    QSettings settings(globalSettings(), QSettings::IniFormat);
    settings.remove(key);
    settings.sync();
}

void TempInstallation::setProfileValue(int profile, const QString &key, const QVariant &value)
{
    writeSettings(profileSettings(profile), {{key, value}});
}

void TempInstallation::write(const QString &relative, const QByteArray &content) const
{
    QDir().mkpath(QFileInfo(path(relative)).absolutePath());
    QFile f(path(relative));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(content);
}

QByteArray TempInstallation::read(const QString &relative) const
{
    QFile f(path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TempInstallation::exists(const QString &relative) const
{
    return QFileInfo::exists(path(relative));
}

void TempInstallation::remove(const QString &relative) const
{
    QFile::remove(path(relative));
}

QMap<QString, QByteArray> TempInstallation::snapshot() const
{
    QMap<QString, QByteArray> files;
    const QDir root(m_dir.path());
    QDirIterator it(m_dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        files.insert(root.relativeFilePath(file), f.readAll());
    }
    return files;
}

bool TempInstallation::addExecutable(const QString &source)
{
    const QString target = path(QFileInfo(source).fileName());
    return QFile::copy(source, target) &&
           QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
