// The settings objects, capability flags and generic get/set operations on real files.
#include "ScriptedFileChooser.h"
#include "SettingsStore.h"
#include "StoreProbe.h"
#include "TempInstallation.h"

#include <QJsonArray>
#include <QSettings>
#include <QtTest>

class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void missingFilesReadAsEmpty();
    void capabilityFlags_data();
    void capabilityFlags();
    void flagsAreReadOnlyOnce();
    void recoveryReadsTheDefaultProfile();
    void currentProfileSelectsTheFile();
    void profileNumbersOutsideTheListAreIgnored();
    void valuesComeBackAsStringsAfterRestart();
    void listsAreWrittenCommaSeparated();
    void nonListValuesGiveEmptyLists();
    void olderInstallationsEscapedText();
    void writesAreLeftToDeferredWriteBack();
};

void TestSettingsStore::missingFilesReadAsEmpty()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    QVERIFY(inst.isValid());
    {
        ScriptedFileChooser chooser;
        SettingsStore store(&chooser);
        QVERIFY(!store.getData(QStringLiteral("mouse/reportRate"), false).isValid());
        QVERIFY(!store.getData(QStringLiteral("mouse/reportRate"), true).isValid());
        QVERIFY(store.getDataList(QStringLiteral("mouse/dpiValueArray"), false).isEmpty());
        QVERIFY(!store.getGlobalData(QStringLiteral("common/name")).isValid());
        QCOMPARE(store.isColorful(), false);
        QCOMPARE(store.isGun(), false);
        QCOMPARE(store.is55328(), false);
        QCOMPARE(store.icType(), QString());
        QCOMPARE(store.currentProfile(), 0);
    }
    // Opening and closing creates none of the installation's files.
    QVERIFY(inst.snapshot().isEmpty());
}

void TestSettingsStore::capabilityFlags_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("expected");
    QTest::newRow("empty") << QByteArray("") << false;
    QTest::newRow("zero") << QByteArray("0") << false;
    QTest::newRow("false") << QByteArray("false") << false;
    QTest::newRow("true") << QByteArray("true") << true;
    QTest::newRow("one") << QByteArray("1") << true;
    QTest::newRow("other text") << QByteArray("yes") << true;
}

void TestSettingsStore::capabilityFlags()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, expected);
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(QStringLiteral("modules/setting/apConfig.bin"),
               "[mouse]\nisColorful=" + value + "\nisGun=" + value + "\nis55328=" + value + "\nicType=560\n");
    ScriptedFileChooser chooser;
    SettingsStore store(&chooser);
    QCOMPARE(store.isColorful(), expected);
    QCOMPARE(store.isGun(), expected);
    QCOMPARE(store.is55328(), expected);
    QCOMPARE(store.icType(), QStringLiteral("560"));
}

void TestSettingsStore::flagsAreReadOnlyOnce()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(QStringLiteral("modules/setting/apConfig.bin"), "[mouse]\nicType=560\nisGun=true\n");
    ScriptedFileChooser chooser;
    SettingsStore store(&chooser);
    store.setGlobalData(QStringLiteral("mouse/icType"), QStringLiteral("553"));
    store.setGlobalData(QStringLiteral("mouse/isGun"), false);
    QCOMPARE(store.getGlobalData(QStringLiteral("mouse/icType")).toString(), QStringLiteral("553"));
    QCOMPARE(store.icType(), QStringLiteral("560"));
    QCOMPARE(store.isGun(), true);
}

void TestSettingsStore::recoveryReadsTheDefaultProfile()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    const QByteArray factory = "[mouse]\nreportRate=3\n";
    inst.write(QStringLiteral("modules/setting/pD.bin"), factory);
    inst.write(QStringLiteral("modules/setting/p1.bin"), factory);
    {
        ScriptedFileChooser chooser;
        SettingsStore store(&chooser);
        store.setData(QStringLiteral("mouse/reportRate"), 1);
        QCOMPARE(store.getData(QStringLiteral("mouse/reportRate"), true).toString(), QStringLiteral("3"));
        QCOMPARE(store.getData(QStringLiteral("mouse/reportRate"), false).toInt(), 1);
    }
    QCOMPARE(inst.read(QStringLiteral("modules/setting/pD.bin")), factory);
    QVERIFY(inst.read(QStringLiteral("modules/setting/p1.bin")).contains("reportRate=1"));
}

void TestSettingsStore::currentProfileSelectsTheFile()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    {
        ScriptedFileChooser chooser;
        SettingsStore store(&chooser);
        store.setCurrentProfile(3);
        QCOMPARE(store.currentProfile(), 3);
        QCOMPARE(store.currentProfileSettings(), store.profileSettings(3));
        store.setData(QStringLiteral("mouse/reportRate"), 2);
        store.setDataList(QStringLiteral("mouse/lightValue"), {1, 2, 4});
    }
    const QMap<QString, QByteArray> files = inst.snapshot();
    QCOMPARE(files.keys(), QStringList{QStringLiteral("modules/setting/p4.bin")});
    QVERIFY(files.first().contains("reportRate=2"));

    const QJsonObject read =
        StoreProbe::run(inst.path(), {QStringLiteral("getData"), QStringLiteral("mouse/reportRate"), "0"});
    QVERIFY(!read.isEmpty());
    // The probe reads profile 0, which was never written.
    QCOMPARE(read.value("type").toString(), QStringLiteral("Invalid"));
}

void TestSettingsStore::profileNumbersOutsideTheListAreIgnored()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    ScriptedFileChooser chooser;
    SettingsStore store(&chooser);
    store.setCurrentProfile(5);
    for (int bad : {-1, 10, 11, 1000, INT_MIN}) {
        store.setCurrentProfile(bad);
        QCOMPARE(store.currentProfile(), 5);
        QCOMPARE(store.profileSettings(bad), nullptr);
    }
    store.setData(QStringLiteral("mouse/reportRate"), 0);
    QCOMPARE(store.profileSettings(5)->value(QStringLiteral("mouse/reportRate")).toInt(), 0);
}

void TestSettingsStore::valuesComeBackAsStringsAfterRestart()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    {
        ScriptedFileChooser chooser;
        SettingsStore store(&chooser);
        store.setData(QStringLiteral("mouse/reportRate"), 3);
        store.setDataList(QStringLiteral("mouse/dpiValueArray"), {400, 800, 1600.0, QStringLiteral("3200")});
        store.setGlobalData(QStringLiteral("mouse/profileNo"), 4);
    }
    QJsonObject v = StoreProbe::run(inst.path(), {"getData", "mouse/reportRate", "0"});
    QCOMPARE(v.value("type").toString(), QStringLiteral("QString"));
    QCOMPARE(v.value("value").toString(), QStringLiteral("3"));

    v = StoreProbe::run(inst.path(), {"getDataList", "mouse/dpiValueArray", "0"});
    QCOMPARE(v.value("value").toArray(), QJsonArray({"400", "800", "1600", "3200"}));
    QCOMPARE(v.value("elementTypes").toArray(), QJsonArray({"QString", "QString", "QString", "QString"}));

    v = StoreProbe::run(inst.path(), {"getGlobalData", "mouse/profileNo"});
    QCOMPARE(v.value("value").toString(), QStringLiteral("4"));
}

void TestSettingsStore::listsAreWrittenCommaSeparated()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    {
        ScriptedFileChooser chooser;
        SettingsStore store(&chooser);
        store.setDataList(QStringLiteral("mouseKeyMatrix/3"), {4, 0, 3, 0});
        store.setDataList(QStringLiteral("mouse/single"), {7});
    }
    const QByteArray text = inst.read(QStringLiteral("modules/setting/p1.bin"));
    QVERIFY2(text.contains("[mouseKeyMatrix]\n3=4, 0, 3, 0\n"), text.constData());
    // A one-element list must survive a restart as a list, not turn into a plain value.
    const QJsonObject v = StoreProbe::run(inst.path(), {"getDataList", "mouse/single", "0"});
    QCOMPARE(v.value("value").toArray(), QJsonArray({"7"}));
}

void TestSettingsStore::nonListValuesGiveEmptyLists()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(QStringLiteral("modules/setting/p1.bin"), "[mouse]\nname=abc\nrate=3\nlist=a, b\n");
    ScriptedFileChooser chooser;
    SettingsStore store(&chooser);
    // A plain string must not come back as a list of its characters.
    QVERIFY(store.getDataList(QStringLiteral("mouse/name"), false).isEmpty());
    QVERIFY(store.getDataList(QStringLiteral("mouse/rate"), false).isEmpty());
    QVERIFY(store.getDataList(QStringLiteral("mouse/missing"), false).isEmpty());
    QCOMPARE(store.getDataList(QStringLiteral("mouse/list"), false),
             QVariantList({QStringLiteral("a"), QStringLiteral("b")}));
}

void TestSettingsStore::olderInstallationsEscapedText()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(QStringLiteral("modules/setting/apConfig.bin"), "[common]\nname=\\x9f20\\x6807 X\n");
    QCOMPARE(SettingsStore::windowTitle(), QStringLiteral("鼠标 X"));
    inst.write(QStringLiteral("modules/setting/p1.bin"),
               "[mouseMacroKey]\n2=\\x5b8f\\x0031\n[l]\nk=\\xe9t\\xe9, b\n");
    ScriptedFileChooser chooser;
    SettingsStore store(&chooser);
    QCOMPARE(store.getGlobalData(QStringLiteral("common/name")).toString(), QStringLiteral("鼠标 X"));
    QCOMPARE(store.getData(QStringLiteral("mouseMacroKey/2"), false).toString(), QStringLiteral("宏1"));
    QCOMPARE(store.getDataList(QStringLiteral("l/k"), false),
             QVariantList({QStringLiteral("été"), QStringLiteral("b")}));
}

void TestSettingsStore::writesAreLeftToDeferredWriteBack()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(QStringLiteral("modules/setting/p1.bin"), "[mouse]\nreportRate=3\n");
    ScriptedFileChooser chooser;
    SettingsStore store(&chooser);
    store.setData(QStringLiteral("mouse/reportRate"), 0);
    QCOMPARE(store.getData(QStringLiteral("mouse/reportRate"), false).toInt(), 0);
    QCOMPARE(inst.read(QStringLiteral("modules/setting/p1.bin")), QByteArray("[mouse]\nreportRate=3\n"));
    QTRY_VERIFY(inst.read(QStringLiteral("modules/setting/p1.bin")).contains("reportRate=0"));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settings_store.moc"
