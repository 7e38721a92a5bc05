// The gun preset file and the per-profile X/Y sensitivity and selected-gun keys.
#include "GunDataStore.h"
#include "SettingsStore.h"
#include "StoreBench.h"
#include "StoreProbe.h"

#include <QJsonArray>
#include <QtTest>

namespace {

const QString GunFile = QStringLiteral("modules/gun/gunData.bin");
const QByteArray Presets = "[gunData]\n0=M416, L-Click, 10, 0, 10, 0\n1=AKM, L-Click, 10, 0, 10, 0\n";

QVariantList preset(const QString &name, int y)
{
    return {name, QStringLiteral("L-Click"), 9, 0, y, 0};
}

} // namespace

class TestGunDataStore : public QObject
{
    Q_OBJECT

private slots:
    void missingFileReadsEmptyAndIsNeverCreated();
    void savedPresetsComeBackAsStrings();
    void onlySixElementsAreStored();
    void shortListsAreNoPreset();
    void deleteAndRenameByName();
    void typesAndNamesThatMustNotDeleteEverything();
    void sensitivityAndSelectedGunFollowTheCurrentProfile();
};

void TestGunDataStore::missingFileReadsEmptyAndIsNeverCreated()
{
    StoreBench<GunDataStore> bench;
    GunDataStore &guns = bench.open();
    guns.mouseSaveGundata(0, preset(QStringLiteral("M416"), 10));
    guns.modifyGundata(1, preset(QStringLiteral("New"), 5) + QVariantList{QStringLiteral("M416")});
    QVERIFY(guns.getGunData(0).isEmpty());
    QVERIFY(guns.getGunDataKey().isEmpty());
    QVERIFY(bench.inst.snapshot().isEmpty());
}

void TestGunDataStore::savedPresetsComeBackAsStrings()
{
    StoreBench<GunDataStore> bench;
    bench.inst.write(GunFile, Presets);
    GunDataStore &guns = bench.open();
    QCOMPARE(guns.getGunData(1), QVariantList({"AKM", "L-Click", "10", "0", "10", "0"}));
    QCOMPARE(guns.getGunData(QStringLiteral("0")).first().toString(), QStringLiteral("M416"));
    QVERIFY(guns.getGunData(5).isEmpty());

    guns.mouseSaveGundata(2.0, preset(QStringLiteral("M16A4"), 8));
    QVERIFY(bench.inst.read(GunFile).contains("\n2=M16A4, L-Click, 9, 0, 8, 0\n"));
    QCOMPARE(guns.getGunDataKey(), (QStringList{"0", "1", "2"}));
    const QJsonObject v = StoreProbe::run(bench.inst.path(), {"getGunData", "2"});
    QCOMPARE(v.value("value").toArray(), QJsonArray({"M16A4", "L-Click", "9", "0", "8", "0"}));
    QCOMPARE(v.value("elementTypes").toArray().first().toString(), QStringLiteral("QString"));
}

void TestGunDataStore::onlySixElementsAreStored()
{
    StoreBench<GunDataStore> bench;
    bench.inst.write(GunFile, Presets);
    GunDataStore &guns = bench.open();
    guns.mouseSaveGundata(0, preset(QStringLiteral("Long"), 3) + QVariantList{"extra", 99});
    QCOMPARE(guns.getGunData(0), QVariantList({"Long", "L-Click", "9", "0", "3", "0"}));
    QVERIFY(!bench.inst.read(GunFile).contains("extra"));
}

void TestGunDataStore::shortListsAreNoPreset()
{
    StoreBench<GunDataStore> bench;
    bench.inst.write(GunFile, Presets);
    GunDataStore &guns = bench.open();
    guns.mouseSaveGundata(0, {QStringLiteral("Short"), QStringLiteral("L-Click")});
    guns.mouseSaveGundata(1, {});
    // A rename without the old name at position 6 has nothing to rename.
    guns.modifyGundata(1, preset(QStringLiteral("X"), 1));
    QCOMPARE(bench.inst.read(GunFile), Presets);
}

void TestGunDataStore::deleteAndRenameByName()
{
    StoreBench<GunDataStore> bench;
    bench.inst.write(GunFile, "[gunData]\n0=M416, L-Click, 10, 0, 10, 0\nAKM=L-Click, 10, 0, 10, 0\n");
    GunDataStore &guns = bench.open();
    guns.modifyGundata(1, preset(QStringLiteral("AK-47"), 6) + QVariantList{QStringLiteral("AKM")});
    QCOMPARE(guns.getGunDataKey(), (QStringList{"0", "AK-47"}));
    QCOMPARE(guns.getGunData(QStringLiteral("AK-47")), QVariantList({"L-Click", "9", "0", "6", "0"}));
    guns.modifyGundata(0, {QStringLiteral("AK-47")});
    QCOMPARE(guns.getGunDataKey(), QStringList{QStringLiteral("0")});
    guns.modifyGundata(2, {QStringLiteral("0")});
    QCOMPARE(guns.getGunDataKey(), QStringList{QStringLiteral("0")});
}

void TestGunDataStore::typesAndNamesThatMustNotDeleteEverything()
{
    StoreBench<GunDataStore> bench;
    bench.inst.write(GunFile, Presets);
    GunDataStore &guns = bench.open();
    // An empty or all-slash name would address the whole group.
    guns.modifyGundata(0, {QString()});
    guns.modifyGundata(0, {QStringLiteral("/")});
    guns.modifyGundata(1, preset(QString(), 1) + QVariantList{QStringLiteral("0")});
    guns.modifyGundata(1, preset(QStringLiteral("x"), 1) + QVariantList{QStringLiteral("//")});
    guns.mouseSaveGundata(QString(), preset(QStringLiteral("x"), 1));
    // A type that is no number is not delete.
    guns.modifyGundata(QStringLiteral("rename"), {QStringLiteral("0")});
    guns.modifyGundata(QVariant(), {QStringLiteral("0")});
    guns.modifyGundata(0, {});
    QCOMPARE(bench.inst.read(GunFile), Presets);
}

void TestGunDataStore::sensitivityAndSelectedGunFollowTheCurrentProfile()
{
    StoreBench<GunDataStore> bench;
    GunDataStore &guns = bench.open();
    QCOMPARE(guns.getXYSensitive(0), QVariant(4));
    QCOMPARE(guns.getselectGun(1), QVariant(QString()));
    guns.setXYSensitive(1, 7);
    guns.setSelectGun(2, QStringLiteral("AKM"));
    QCOMPARE(guns.getXYSensitive(1).toInt(), 7);
    bench.settings().setCurrentProfile(4);
    QCOMPARE(guns.getXYSensitive(1), QVariant(4));
    QCOMPARE(guns.getselectGun(2), QVariant(QString()));
    guns.setXYSensitive(0.0, 2);
    bench.close();
    QCOMPARE(bench.inst.read(QStringLiteral("modules/setting/p1.bin")),
             QByteArray("[XYSensitive]\n1=7\n\n[selectGun]\n2=AKM\n"));
    QCOMPARE(bench.inst.read(QStringLiteral("modules/setting/p5.bin")), QByteArray("[XYSensitive]\n0=2\n"));
}

QTEST_GUILESS_MAIN(TestGunDataStore)
#include "tst_gun_data_store.moc"
