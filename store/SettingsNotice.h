// What the person has to be told about the settings files: that settings cannot be saved, and that
// the global settings file was damaged, and why an import was refused. The first two are announced
// once per run; the window shows each.
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
    // A file the person chose to import as `what` ("profile", "macro") was not taken, and `why` not
    // (the end of a sentence). Announced every time: each is an answer to something the person did.
    void importRefused(const QString &what, const QString &file, const QString &why);

    // Texts announced while nothing listened to announced(), for the window that shows them later.
    QStringList takePending();
    // Forgets what was announced, as at the start of a run.
    void clear();

    static QString cannotSaveText(const QString &path);
    static QString damagedGlobalFileText(const QString &path, const QString &keptCopy);
    static QString importRefusedText(const QString &what, const QString &file, const QString &why);

signals:
    void announced(const QString &text);

private:
    enum class Cause { CannotSave, DamagedGlobalFile, ImportRefused };
    void announce(Cause cause, const QString &text, bool once = true);

    QSet<int> m_announced;
    QStringList m_pending;
};
