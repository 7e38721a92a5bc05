// The folder the program works in. A build runs in the folder beside its executable; an installed
// copy, whose folder is read-only, works in a per-user folder seeded from its installed defaults and
// brought up to date with them on every start, without touching what the user changed or made.
#pragma once

#include <QString>

class UserInstallation
{
public:
    // The file that only an installation puts beside the executable; a build never has it.
    static QString markerFileName() { return QStringLiteral("kestral-config.installed"); }
    // The program's own folder (the executable's, through /proc/self/exe, so symlinks are resolved).
    static QString executableDirectory();
    static bool isInstalledCopy(const QString &executableDir);
    // $XDG_DATA_HOME/kestral-config, or ~/.local/share/kestral-config when unset or not absolute.
    static QString userFolder();

    // The working installation of this program, ready to use: the executable's folder for a build,
    // the seeded and updated user folder for an installed copy. Empty with `error` set on failure.
    static QString prepare(QString *error);
    static QString prepare(const QString &executableDir, const QString &userFolder, QString *error);

    // Tells the person that the program cannot start (standard error, and a box when a GUI
    // application runs); returns the exit code to end with.
    static int reportFailure(const QString &error);

private:
    static bool seed(const QString &defaults, const QString &target, QString *error);
    static bool update(const QString &defaults, const QString &target, QString *error);
    static void removeStaleSeeds(const QString &target);
};
