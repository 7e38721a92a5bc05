// The macro files under ./modules/macro/: create, save, load, delete, rename with the profile
// references, removal of references, and import/export of "*.mc" files.
#include "MacroStore.h"

#include "FileChooser.h"
#include "ImportedFile.h"
#include "SettingsFile.h"
#include "SettingsNotice.h"
#include "SettingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>

#include <memory>

namespace {

// Longest file name most file systems accept, in bytes.
constexpr int MaxFileNameBytes = 255;

QString macroFileSuffix()
{
    return QStringLiteral(".bin");
}

QString stepKey(int i)
{
    return QStringLiteral("macro/") + QString::number(i);
}

// A step written by hand without quotes ("1,A") is read as a list; it still is one step.
QString stepText(const QVariant &value)
{
    const int type = value.metaType().id();
    if (type == QMetaType::QStringList || type == QMetaType::QVariantList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

} // namespace

QString MacroStore::macroPath(const QString &name)
{
    return QStringLiteral("./modules/macro/") + name + macroFileSuffix();
}

bool MacroStore::isUsableName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    }
    return (name + macroFileSuffix()).toUtf8().size() <= MaxFileNameBytes;
}

MacroStore::MacroStore(SettingsStore &settings) : m_settings(settings) {}

QVariant MacroStore::createMacroIni(const QVariant &name, const QVariant &macroIndex)
{
    const QString macroName = name.toString();
    if (!isUsableName(macroName))
        return false;
    std::unique_ptr<QSettings> macro(SettingsFile::open(macroPath(macroName)));
    macro->setValue(QStringLiteral("config/index"), macroIndex.toUInt());
    macro->setValue(QStringLiteral("config/total"), 0);
    macro->setValue(QStringLiteral("config/repeat"), 1);
    macro->setValue(QStringLiteral("config/did"), -1);
    // A macro that could not be written is no macro.
    return SettingsFile::commit(macro.get());
}

QVariant MacroStore::saveMacroIni(const QVariant &name, const QStringList &macros, const QVariant &repeat)
{
    const QString macroName = name.toString();
    if (!isUsableName(macroName) || !QFile::exists(macroPath(macroName)))
        return false;
    std::unique_ptr<QSettings> macro(SettingsFile::open(macroPath(macroName)));
    macro->remove(QStringLiteral("macro"));
    macro->setValue(QStringLiteral("config/total"), int(macros.size()));
    macro->setValue(QStringLiteral("config/repeat"), repeat);
    for (int i = 0; i < macros.size(); ++i)
        macro->setValue(stepKey(i), macros.at(i));
    return SettingsFile::commit(macro.get());
}

QStringList MacroStore::loadMacroIni(const QVariant &name)
{
    const QString macroName = name.toString();
    if (!isUsableName(macroName) || !QFile::exists(macroPath(macroName)))
        return QStringList();
    QSettings macro(macroPath(macroName), QSettings::IniFormat);
    const int total = qBound(0, macro.value(QStringLiteral("config/total"), 0).toInt(), MaxSteps);
    QStringList steps;
    for (int i = 0; i < total; ++i)
        steps.append(stepText(macro.value(stepKey(i), QStringLiteral("0"))));
    steps.append(macro.value(QStringLiteral("config/repeat"), QStringLiteral("0")).toString());
    return steps;
}

QVariant MacroStore::deleteMacroIni(const QVariant &name)
{
    const QString macroName = name.toString();
    if (!isUsableName(macroName) || !QFile::exists(macroPath(macroName)))
        return false;
    return QFile::remove(macroPath(macroName));
}

QVariant MacroStore::modifyMacroNameUpdateProfile(const QVariant &oldname, const QVariant &newname)
{
    const QString oldName = oldname.toString();
    const QString newName = newname.toString();
    if (!isUsableName(oldName) || !isUsableName(newName) || !QFile::exists(macroPath(oldName)))
        return false;
    // The rename would fail on an existing file; pointing the buttons at that other macro first
    // would change what they run, so nothing changes then.
    if (QFile::exists(macroPath(newName)))
        return false;

    for (int p = 0; p < ReferencingProfiles; ++p) {
        QSettings *profile = m_settings.profileSettings(p);
        profile->beginGroup(QStringLiteral("mouseMacroKey"));
        const QStringList keys = profile->childKeys();
        for (const QString &key : keys) {
            if (profile->value(key, QString()).toString() == oldName)
                profile->setValue(key, newName);
        }
        profile->endGroup();
    }
    return QFile::rename(macroPath(oldName), macroPath(newName));
}

void MacroStore::deleteMacroUpdateProfile(const QVariant &macroName)
{
    const QString name = macroName.toString();
    if (!isUsableName(name))
        return;
    for (int p = 0; p < ReferencingProfiles; ++p) {
        QSettings *profile = m_settings.profileSettings(p);
        for (int b = 0; b < ButtonCount; ++b) {
            const QString key = QStringLiteral("mouseKeyMatrix/") + QString::number(b);
            const QVariantList assignment = SettingsFile::asList(profile->value(key));
            // An assignment without a slot element names no macro.
            if (assignment.size() < 3 || assignment.at(0).toInt() != MacroKind)
                continue;
            const int slot = assignment.at(2).toInt();
            const QString slotName =
                profile->value(QStringLiteral("mouseMacroKey/") + QString::number(slot), QString())
                    .toString();
            if (slotName != name)
                continue;
            profile->setValue(key, SettingsFile::asList(m_settings.defaultSettings()->value(key)));
        }
    }
}

bool MacroStore::loadMacroFile(const QVariant &macroFileName)
{
    const QString name = macroFileName.toString();
    if (!isUsableName(name))
        return false;
    const QString chosen = m_settings.fileChooser().openFile(
        m_settings.dialogParent(), QCoreApplication::translate("myQQuickView", "Open File"),
        m_settings.dialogFolder(), QCoreApplication::translate("myQQuickView", "Macro(*.mc)"));
    if (chosen.isEmpty())
        return false;
    m_settings.rememberChosen(chosen);
    const ImportedFile file = ImportedFile::read(chosen, ImportedFile::Kind::Macro);
    // A file left under the new name by an earlier macro is replaced: the page lists the name as new.
    if (!file.isUsable())
        SettingsNotice::instance().importRefused(QStringLiteral("macro"), chosen, file.refusal());
    else if (!SettingsFile::replaceWith(macroPath(name), file.content()))
        SettingsNotice::instance().importRefused(QStringLiteral("macro"), chosen,
                                                 SettingsStore::writeFailure(macroPath(name)));
    return true;
}

void MacroStore::saveMacroFile(const QVariant &macroFileName)
{
    const QString name = macroFileName.toString();
    if (!isUsableName(name))
        return;
    // A name typed without a suffix still makes a macro file.
    const QString chosen = SettingsStore::withSuffix(
        m_settings.fileChooser().saveFile(
            m_settings.dialogParent(), QCoreApplication::translate("myQQuickView", "Save File"),
            m_settings.dialogFolder(), QCoreApplication::translate("myQQuickView", "Macro(*.mc)")),
        QStringLiteral("mc"));
    if (chosen.isEmpty())
        return;
    m_settings.rememberChosen(chosen);
    const QString source = macroPath(name);
    // Nothing to export, or an export onto the macro file itself: keep the user's file as it is.
    if (!SettingsFile::isReadableFile(source) || SettingsFile::isSameFile(chosen, source))
        return;
    // An earlier export of that name survives a copy that fails.
    SettingsFile::replace(chosen, source);
}
