// A throw-away installation folder (modules/setting, macro, gun, i18n) made the working directory.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

class TempInstallation
{
public:
    TempInstallation();
    ~TempInstallation();
    TempInstallation(const TempInstallation &) = delete;
    TempInstallation &operator=(const TempInstallation &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString root() const { return m_dir.path(); }
    // Absolute path of a path relative to the installation root ("modules/setting/p1.bin").
    QString path(const QString &relative) const;

    void write(const QString &relative, const QByteArray &content) const;
    QByteArray read(const QString &relative) const;
    bool exists(const QString &relative) const;
    void remove(const QString &relative) const;

    // Every file below the root with its content, to prove that nothing was touched.
    QMap<QString, QByteArray> snapshot() const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};
