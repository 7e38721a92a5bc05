// A throw-away installation folder (modules/setting, macro, gun, i18n) made the working directory.
#include "TempInstallation.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

TempInstallation::TempInstallation() : m_previous(QDir::currentPath())
{
    QDir root(m_dir.path());
    for (const char *folder : {"modules/setting", "modules/macro", "modules/gun", "modules/i18n"})
        root.mkpath(QLatin1String(folder));
    QDir::setCurrent(m_dir.path());
}

TempInstallation::~TempInstallation()
{
    QDir::setCurrent(m_previous);
}

QString TempInstallation::path(const QString &relative) const
{
    return m_dir.filePath(relative);
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
    QDirIterator it(m_dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        files.insert(QDir(m_dir.path()).relativeFilePath(file), f.readAll());
    }
    return files;
}
