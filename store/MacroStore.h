// The macro files under ./modules/macro/: create, save, load, delete, rename with the profile
// references, removal of references, and import/export of "*.mc" files.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class SettingsStore;

class MacroStore
{
public:
    // More steps than this are never read from a file: a hostile "total" must not loop for ever.
    static constexpr int MaxSteps = 1000;
    // The profiles whose references a rename or delete updates: p1 … p6.
    static constexpr int ReferencingProfiles = 6;
    static constexpr int ButtonCount = 16;
    // The first element of a button assignment that means "macro".
    static constexpr int MacroKind = 4;

    // "./modules/macro/" + name + ".bin".
    static QString macroPath(const QString &name);
    // A name is used as a file name, so it must stay one file inside the macro folder: not empty,
    // not "." or "..", no path separator, no control character, not longer than a file name may be.
    static bool isUsableName(const QString &name);

    // Uses the settings store's profile objects, default profile and file chooser.
    explicit MacroStore(SettingsStore &settings);

    // Both answer false when the file could not be written (that is announced as well).
    QVariant createMacroIni(const QVariant &name, const QVariant &macroIndex);
    QVariant saveMacroIni(const QVariant &name, const QStringList &macros, const QVariant &repeat);
    QStringList loadMacroIni(const QVariant &name);
    QVariant deleteMacroIni(const QVariant &name);
    QVariant modifyMacroNameUpdateProfile(const QVariant &oldname, const QVariant &newname);
    void deleteMacroUpdateProfile(const QVariant &macroName);
    // Whether the person chose a file. A refused file, or one that could not be written, leaves no
    // macro file under the name (the person is told why, SettingsNotice).
    bool loadMacroFile(const QVariant &macroFileName);
    void saveMacroFile(const QVariant &macroFileName);

private:
    SettingsStore &m_settings;
};
