// The four ordered name lists of the pages (macros, gun presets, profiles, selected guns), kept
// whole in one settings file.
#include "NameListStore.h"

#include "SettingsFile.h"

#include <QSettings>

#include <memory>

QString NameListStore::keyFor(const QVariant &type)
{
    // A type that is no number at all must not fall back to list 0 and overwrite the macro names.
    bool ok = false;
    const uint value = type.toUInt(&ok);
    if (!ok)
        return QString();
    switch (value) {
    case 0:
        return QStringLiteral("macro/macroName");
    case 1:
        return QStringLiteral("gun/gunName");
    case 2:
        return QStringLiteral("profile/profileName");
    case 3:
        return QStringLiteral("gun/selectGun");
    default:
        return QString();
    }
}

QVariant NameListStore::updataNameList(const QVariant &type, const QStringList &nameList)
{
    QStringList list = nameList;
    if (list.size() == 1)
        list.append(oneElementFiller());

    const QString key = keyFor(type);
    if (key.isEmpty())
        return true;

    std::unique_ptr<QSettings> settings(SettingsFile::open(path()));
    if (list.isEmpty())
        settings->remove(key);
    else
        settings->setValue(key, list);
    // The pages take the answer as it always was; a failed write is announced to the person instead.
    SettingsFile::commit(settings.get());
    return true;
}

QVariantList NameListStore::getNameList(const QVariant &type)
{
    const QString key = keyFor(type);
    if (key.isEmpty())
        return QVariantList();

    QSettings settings(path(), QSettings::IniFormat);
    QVariantList list = SettingsFile::asList(settings.value(key, 0));
    for (QVariant &element : list)
        element = element.toString();
    return list;
}
