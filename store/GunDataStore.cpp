// The gun presets in ./modules/gun/gunData.bin and the per-profile X/Y sensitivity and
// selected-gun keys.
#include "GunDataStore.h"

#include "SettingsFile.h"
#include "SettingsStore.h"

#include <QFile>
#include <QSettings>

#include <memory>

namespace {

// The key of a preset, or an empty string when the name leaves nothing after the group: such a
// key would address the whole "gunData" group, and removing it would drop every preset.
QString presetKey(const QVariant &name)
{
    const QString text = name.toString();
    bool onlySlashes = true;
    for (const QChar c : text)
        onlySlashes = onlySlashes && c == QLatin1Char('/');
    return onlySlashes ? QString() : QStringLiteral("gunData/") + text;
}

} // namespace

GunDataStore::GunDataStore(SettingsStore &settings) : m_settings(settings) {}

void GunDataStore::mouseSaveGundata(const QVariant &index, const QVariantList &src6)
{
    const QString key = presetKey(index);
    // A shorter list is no preset; storing it would leave the page reading missing fields.
    if (!QFile::exists(path()) || key.isEmpty() || src6.size() < PresetSize)
        return;
    std::unique_ptr<QSettings> guns(SettingsFile::open(path()));
    guns->setValue(key, src6.mid(0, PresetSize));
    SettingsFile::commit(guns.get());
}

void GunDataStore::modifyGundata(const QVariant &modifyType, const QVariantList &src6)
{
    if (!QFile::exists(path()) || src6.isEmpty())
        return;
    const QString key = presetKey(src6.at(0));
    if (key.isEmpty())
        return;
    // A type that is no number must not be taken for 0 and delete a preset.
    bool ok = false;
    const int type = modifyType.toInt(&ok);
    if (!ok)
        return;
    switch (type) {
    case 0: {
        std::unique_ptr<QSettings> guns(SettingsFile::open(path()));
        guns->remove(key);
        SettingsFile::commit(guns.get());
        break;
    }
    case 1: {
        // Name, five values and the old name.
        const QString oldKey = src6.size() > PresetSize ? presetKey(src6.at(PresetSize)) : QString();
        if (oldKey.isEmpty())
            return;
        std::unique_ptr<QSettings> guns(SettingsFile::open(path()));
        guns->remove(oldKey);
        guns->setValue(key, src6.mid(1, PresetSize - 1));
        SettingsFile::commit(guns.get());
        break;
    }
    default:
        break;
    }
}

QVariantList GunDataStore::getGunData(const QVariant &name)
{
    const QString key = presetKey(name);
    if (!QFile::exists(path()) || key.isEmpty())
        return QVariantList();
    QSettings guns(path(), QSettings::IniFormat);
    return SettingsFile::asList(guns.value(key, 0));
}

QStringList GunDataStore::getGunDataKey()
{
    if (!QFile::exists(path()))
        return QStringList();
    QSettings guns(path(), QSettings::IniFormat);
    guns.beginGroup(QStringLiteral("gunData"));
    return guns.allKeys();
}

QVariant GunDataStore::getXYSensitive(const QVariant &index)
{
    return m_settings.currentProfileSettings()->value(QStringLiteral("XYSensitive/") + index.toString(),
                                                      DefaultXYSensitive);
}

void GunDataStore::setXYSensitive(const QVariant &index, const QVariant &xyData)
{
    m_settings.currentProfileSettings()->setValue(QStringLiteral("XYSensitive/") + index.toString(), xyData);
}

QVariant GunDataStore::getselectGun(const QVariant &index)
{
    return m_settings.currentProfileSettings()->value(QStringLiteral("selectGun/") + index.toString(),
                                                      QString());
}

void GunDataStore::setSelectGun(const QVariant &index, const QVariant &xyData)
{
    m_settings.currentProfileSettings()->setValue(QStringLiteral("selectGun/") + index.toString(), xyData);
}
