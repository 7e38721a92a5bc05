// The gun presets in ./modules/gun/gunData.bin and the per-profile X/Y sensitivity and
// selected-gun keys.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class SettingsStore;

class GunDataStore
{
public:
    static QString path() { return QStringLiteral("./modules/gun/gunData.bin"); }
    // A preset: name, fire key, period, X, Y, shots.
    static constexpr int PresetSize = 6;
    static constexpr int DefaultXYSensitive = 4;

    // The X/Y sensitivity and selected-gun keys live in the store's current profile.
    explicit GunDataStore(SettingsStore &settings);

    // Stores elements 0 … 5 of src6 under "gunData/" + index. Nothing when the file is missing.
    void mouseSaveGundata(const QVariant &index, const QVariantList &src6);
    // 0: removes "gunData/" + src6[0]; 1: removes "gunData/" + src6[6] and stores src6[1 … 5]
    // under "gunData/" + src6[0].
    void modifyGundata(const QVariant &modifyType, const QVariantList &src6);
    QVariantList getGunData(const QVariant &name);
    QStringList getGunDataKey();

    QVariant getXYSensitive(const QVariant &index);
    void setXYSensitive(const QVariant &index, const QVariant &xyData);
    QVariant getselectGun(const QVariant &index);
    void setSelectGun(const QVariant &index, const QVariant &xyData);

private:
    SettingsStore &m_settings;
};
