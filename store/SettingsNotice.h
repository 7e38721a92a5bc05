// What the person has to be told about the settings files: that settings cannot be saved, and that
// the global settings file was damaged. Each cause is announced once per run; the window shows it.
#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class SettingsNotice : public QObject
{
    Q_OBJECT
public:
    static SettingsNotice &instance();

    // Writing `path` failed: its folder is read-only or its disk full.
    void cannotSave(const QString &path);
    // The global settings file `path` could not be read cleanly; `keptCopy` is where the damaged file
    // was kept aside, empty when no copy could be made.
    void damagedGlobalFile(const QString &path, const QString &keptCopy);

    // Texts announced while nothing listened to announced(), for the window that shows them later.
    QStringList takePending();
    // Forgets what was announced, as at the start of a run.
    void clear();

    static QString cannotSaveText(const QString &path);
    static QString damagedGlobalFileText(const QString &path, const QString &keptCopy);

signals:
    void announced(const QString &text);

private:
    enum class Cause { CannotSave, DamagedGlobalFile };
    void announce(Cause cause, const QString &text);

    QSet<int> m_announced;
    QStringList m_pending;
};
