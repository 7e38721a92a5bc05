// A throw-away folder laid out as the program's installation, removed with the object.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

class TempInstallation
{
public:
    // What the folder starts with: a writable copy of the build's default installation (modules/ beside
    // the executables), or only the folders modules/setting, macro, gun and i18n, for checks of what the
    // program writes when it finds nothing.
    enum Contents { Defaults, Empty };
    // Code that reads ./modules needs the installation as its working directory; the previous one comes
    // back when the object goes.
    enum WorkingDirectory { KeepCurrent, MakeCurrent };

    explicit TempInstallation(Contents contents = Defaults, WorkingDirectory cwd = KeepCurrent);
    ~TempInstallation();
    TempInstallation(const TempInstallation &) = delete;
    TempInstallation &operator=(const TempInstallation &) = delete;

    // False when the folder, the copy or the change of directory failed.
    bool isValid() const { return m_ok; }
    // The root, or the absolute path of a path relative to it ("modules/setting/p1.bin").
    QString path(const QString &relative = QString()) const;
    QString globalSettings() const { return path(QStringLiteral("modules/setting/apConfig.bin")); }
    // Profile file of profile index 0 … 9 (p1.bin … p10.bin).
    QString profileSettings(int profile) const;

    // Keys of the global settings file, written at once.
    void setGlobal(const QString &key, const QVariant &value);
    void setGlobal(const QList<QPair<QString, QVariant>> &values);
    void removeGlobal(const QString &key);
    void setProfileValue(int profile, const QString &key, const QVariant &value);

    // Files by relative path; write() makes the folders it needs.
    void write(const QString &relative, const QByteArray &content) const;
    QByteArray read(const QString &relative) const;
    bool exists(const QString &relative) const;
    void remove(const QString &relative) const;
    // Every file below the root with its content, to prove that nothing was touched.
    QMap<QString, QByteArray> snapshot() const;

    // Copies an executable beside modules/, so it runs as this installation's program.
    bool addExecutable(const QString &source);

private:
    QTemporaryDir m_dir;
    QString m_previous;
    bool m_ok = false;
};

// Keys of a settings file in the program's format, written at once; the file is made when missing.
void writeSettings(const QString &file, const QList<QPair<QString, QVariant>> &values);
