// The macro files: create, save, load, delete, rename and removal with the profile references,
// import and export, and names that must not reach outside the macro folder.
#include "MacroStore.h"
#include "SettingsStore.h"
#include "StoreBench.h"
#include "StoreProbe.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QSettings>
#include <QtTest>

namespace {

QString macroFile(const QString &name)
{
    return QStringLiteral("modules/macro/") + name + QStringLiteral(".bin");
}

QString profileFile(int profile)
{
    return QStringLiteral("modules/setting/p%1.bin").arg(profile + 1);
}

// Lets deferred write-backs of the profile objects run.
void settle()
{
    QCoreApplication::processEvents();
}

} // namespace

class TestMacroStore : public QObject
{
    Q_OBJECT

private slots:
    void createdMacroHasNoStepsAndRepeatsOnce();
    void createKeepsOldStepsButUnreadable();
    void saveAndLoadRoundTrip();
    void saveNeverCreatesAFile();
    void missingStepsAndCountsOfOlderFiles();
    void hostileStepCountsAreBounded_data();
    void hostileStepCountsAreBounded();
    void deleteReportsWhetherAFileWent();
    void renameUpdatesTheFirstSixProfiles();
    void renameOntoAnExistingMacroChangesNothing();
    void deleteRestoresDefaultAssignments();
    void importCopiesTheChosenFile();
    void exportOverwritesTheChosenFile();
    void unusableNamesTouchNothing_data();
    void unusableNamesTouchNothing();
    void unusualButValidNamesWork();
};

void TestMacroStore::createdMacroHasNoStepsAndRepeatsOnce()
{
    StoreBench<MacroStore> bench;
    MacroStore &macros = bench.open();
    QCOMPARE(macros.createMacroIni(QStringLiteral("Macro_0"), 0), QVariant(true));
    QCOMPARE(macros.loadMacroIni(QStringLiteral("Macro_0")), QStringList{QStringLiteral("1")});
    QSettings file(macroFile(QStringLiteral("Macro_0")), QSettings::IniFormat);
    QCOMPARE(file.value(QStringLiteral("config/index")).toString(), QStringLiteral("0"));
    QCOMPARE(file.value(QStringLiteral("config/total")).toString(), QStringLiteral("0"));
    QCOMPARE(file.value(QStringLiteral("config/repeat")).toString(), QStringLiteral("1"));
    QCOMPARE(file.value(QStringLiteral("config/did")).toString(), QStringLiteral("-1"));
}

void TestMacroStore::createKeepsOldStepsButUnreadable()
{
    StoreBench<MacroStore> bench;
    bench.inst.write(macroFile(QStringLiteral("M")),
                     "[config]\ntotal=2\nrepeat=5\n\n[macro]\n0=\"1,A\"\n1=\"2,A\"\n");
    MacroStore &macros = bench.open();
    QCOMPARE(macros.createMacroIni(QStringLiteral("M"), 7), QVariant(true));
    QCOMPARE(macros.loadMacroIni(QStringLiteral("M")), QStringList{QStringLiteral("1")});
    const QByteArray text = bench.inst.read(macroFile(QStringLiteral("M")));
    QVERIFY(text.contains("index=7"));
    QVERIFY(text.contains("0=\"1,A\""));
}

void TestMacroStore::saveAndLoadRoundTrip()
{
    StoreBench<MacroStore> bench;
    MacroStore &macros = bench.open();
    macros.createMacroIni(QStringLiteral("Macro_1"), 0);
    const QStringList steps = {QStringLiteral("1,A"),    QStringLiteral("0,50"),   QStringLiteral("2,A"),
                               QStringLiteral("3,MS-L"), QStringLiteral("4,MS-L"), QStringLiteral("1,,")};
    QCOMPARE(macros.saveMacroIni(QStringLiteral("Macro_1"), steps, 3), QVariant(true));
    QCOMPARE(macros.loadMacroIni(QStringLiteral("Macro_1")), steps + QStringList{QStringLiteral("3")});

    // Read by a fresh process, as after a restart.
    const QJsonObject v = StoreProbe::run(bench.inst.path(), {"loadMacroIni", "Macro_1"});
    QCOMPARE(v.value("value").toArray(),
             QJsonArray::fromStringList(steps + QStringList{QStringLiteral("3")}));

    // A shorter macro leaves no step of the longer one behind.
    QCOMPARE(macros.saveMacroIni(QStringLiteral("Macro_1"), {QStringLiteral("1,B")}, QStringLiteral("2")),
             QVariant(true));
    QCOMPARE(macros.loadMacroIni(QStringLiteral("Macro_1")), (QStringList{"1,B", "2"}));
    QSettings file(macroFile(QStringLiteral("Macro_1")), QSettings::IniFormat);
    file.beginGroup(QStringLiteral("macro"));
    QCOMPARE(file.childKeys(), QStringList{QStringLiteral("0")});
}

void TestMacroStore::saveNeverCreatesAFile()
{
    StoreBench<MacroStore> bench;
    MacroStore &macros = bench.open();
    QCOMPARE(macros.saveMacroIni(QStringLiteral("Ghost"), {QStringLiteral("1,A")}, 1), QVariant(false));
    QVERIFY(!bench.inst.exists(macroFile(QStringLiteral("Ghost"))));
    QVERIFY(macros.loadMacroIni(QStringLiteral("Ghost")).isEmpty());
}

void TestMacroStore::missingStepsAndCountsOfOlderFiles()
{
    StoreBench<MacroStore> bench;
    // Step 1 missing, an unquoted step as a hand-edited file has it, escaped text of an older
    // installation, and no repeat count.
    bench.inst.write(macroFile(QStringLiteral("Old")),
                     "[config]\ntotal=4\n[macro]\n0=1,A\n2=\"1,\\x5b57\"\n3=0,50\n");
    MacroStore &macros = bench.open();
    QCOMPARE(macros.loadMacroIni(QStringLiteral("Old")),
             (QStringList{"1,A", "0", QStringLiteral("1,字"), "0,50", "0"}));
}

void TestMacroStore::hostileStepCountsAreBounded_data()
{
    QTest::addColumn<QByteArray>("total");
    QTest::addColumn<int>("expectedSize");
    QTest::newRow("huge") << QByteArray("2147483647") << MacroStore::MaxSteps + 1;
    QTest::newRow("beyond int") << QByteArray("99999999999999") << -1; // any bounded size
    QTest::newRow("negative") << QByteArray("-5") << 1;
    QTest::newRow("text") << QByteArray("many") << 1;
}

void TestMacroStore::hostileStepCountsAreBounded()
{
    QFETCH(QByteArray, total);
    QFETCH(int, expectedSize);
    StoreBench<MacroStore> bench;
    bench.inst.write(macroFile(QStringLiteral("H")), "[config]\ntotal=" + total + "\nrepeat=1\n");
    MacroStore &macros = bench.open();
    const QStringList steps = macros.loadMacroIni(QStringLiteral("H"));
    QVERIFY(steps.size() <= MacroStore::MaxSteps + 1);
    if (expectedSize >= 0)
        QCOMPARE(steps.size(), expectedSize);
    QCOMPARE(steps.last(), QStringLiteral("1"));
}

void TestMacroStore::deleteReportsWhetherAFileWent()
{
    StoreBench<MacroStore> bench;
    MacroStore &macros = bench.open();
    macros.createMacroIni(QStringLiteral("D"), 0);
    QCOMPARE(macros.deleteMacroIni(QStringLiteral("D")), QVariant(true));
    QVERIFY(!bench.inst.exists(macroFile(QStringLiteral("D"))));
    QCOMPARE(macros.deleteMacroIni(QStringLiteral("D")), QVariant(false));
}

void TestMacroStore::renameUpdatesTheFirstSixProfiles()
{
    StoreBench<MacroStore> bench;
    for (int p = 0; p < SettingsStore::ProfileCount; ++p)
        bench.inst.write(profileFile(p), "[mouseMacroKey]\n0=Old\n3=Other\n7=Old\n");
    bench.inst.write(macroFile(QStringLiteral("Old")), "[config]\ntotal=0\nrepeat=2\n");
    MacroStore &macros = bench.open();
    QCOMPARE(macros.modifyMacroNameUpdateProfile(QStringLiteral("Old"), QStringLiteral("New")),
             QVariant(true));
    QCOMPARE(macros.loadMacroIni(QStringLiteral("New")), QStringList{QStringLiteral("2")});
    QVERIFY(!bench.inst.exists(macroFile(QStringLiteral("Old"))));
    QCOMPARE(macros.modifyMacroNameUpdateProfile(QStringLiteral("Old"), QStringLiteral("X")),
             QVariant(false));
    settle();
    bench.close();
    for (int p = 0; p < SettingsStore::ProfileCount; ++p) {
        const QByteArray expected =
            p < 6 ? "[mouseMacroKey]\n0=New\n3=Other\n7=New\n" : "[mouseMacroKey]\n0=Old\n3=Other\n7=Old\n";
        QCOMPARE(bench.inst.read(profileFile(p)), expected);
    }
}

void TestMacroStore::renameOntoAnExistingMacroChangesNothing()
{
    StoreBench<MacroStore> bench;
    bench.inst.write(profileFile(0), "[mouseMacroKey]\n0=A\n1=B\n");
    bench.inst.write(macroFile(QStringLiteral("A")), "[config]\ntotal=0\nrepeat=1\n");
    bench.inst.write(macroFile(QStringLiteral("B")), "[config]\ntotal=0\nrepeat=9\n");
    const auto before = bench.inst.snapshot();
    MacroStore &macros = bench.open();
    QCOMPARE(macros.modifyMacroNameUpdateProfile(QStringLiteral("A"), QStringLiteral("B")), QVariant(false));
    QCOMPARE(bench.settings().getData(QStringLiteral("mouseMacroKey/0"), false).toString(),
             QStringLiteral("A"));
    QCOMPARE(macros.modifyMacroNameUpdateProfile(QStringLiteral("A"), QStringLiteral("A")), QVariant(false));
    settle();
    bench.close();
    QCOMPARE(bench.inst.snapshot(), before);
}

void TestMacroStore::deleteRestoresDefaultAssignments()
{
    StoreBench<MacroStore> bench;
    bench.inst.write(QStringLiteral("modules/setting/pD.bin"),
                     "[mouseKeyMatrix]\n0=1, 0, 240, 0\n1=1, 0, 241, 0\n2=1, 0, 242, 0\n3=1, 0, 243, 0\n");
    const QByteArray profile = "[mouseKeyMatrix]\n"
                               "0=4, 0, 0, 0\n" // macro in slot 0, which names M
                               "1=4, 1, 5, 0\n" // macro in slot 5, which names M
                               "2=4, 0, 2, 0\n" // macro in slot 2, another macro
                               "3=1, 0, 4, 0\n" // not a macro, though its slot 4 names M
                               "4=4\n"          // broken: no slot element
                               "5=4, 0\n"       // broken: no slot element
                               "6=4, 0, 4, 0\n" // slot 4 names M; no default for button 6
                               "[mouseMacroKey]\n0=M\n2=Other\n4=M\n5=M\n";
    for (int p = 0; p < SettingsStore::ProfileCount; ++p)
        bench.inst.write(profileFile(p), profile);
    MacroStore &macros = bench.open();
    SettingsStore &settings = bench.settings();
    macros.deleteMacroUpdateProfile(QStringLiteral("M"));
    for (int p = 0; p < SettingsStore::ProfileCount; ++p) {
        settings.setCurrentProfile(p);
        const bool touched = p < MacroStore::ReferencingProfiles;
        auto list = [&](int b) {
            return settings.getDataList(QStringLiteral("mouseKeyMatrix/%1").arg(b), false);
        };
        const QVariantList defaultOf0 = {"1", "0", "240", "0"};
        const QVariantList defaultOf1 = {"1", "0", "241", "0"};
        QCOMPARE(list(0), touched ? defaultOf0 : QVariantList({"4", "0", "0", "0"}));
        QCOMPARE(list(1), touched ? defaultOf1 : QVariantList({"4", "1", "5", "0"}));
        QCOMPARE(list(2), QVariantList({"4", "0", "2", "0"}));
        QCOMPARE(list(3), QVariantList({"1", "0", "4", "0"}));
        QCOMPARE(settings.getData(QStringLiteral("mouseKeyMatrix/4"), false).toString(), QStringLiteral("4"));
        QCOMPARE(list(5), QVariantList({"4", "0"}));
        QCOMPARE(list(6), touched ? QVariantList() : QVariantList({"4", "0", "4", "0"}));
        QCOMPARE(settings.getData(QStringLiteral("mouseMacroKey/0"), false).toString(), QStringLiteral("M"));
    }
    settle();
    bench.close();
    for (int p = MacroStore::ReferencingProfiles; p < SettingsStore::ProfileCount; ++p)
        QCOMPARE(bench.inst.read(profileFile(p)), profile);
}

void TestMacroStore::importCopiesTheChosenFile()
{
    StoreBench<MacroStore> bench;
    const QByteArray exported = "[config]\ntotal=1\nrepeat=4\n\n[macro]\n0=\"1,A\"\n";
    bench.inst.write(QStringLiteral("in.mc"), exported);
    bench.inst.write(macroFile(QStringLiteral("Taken")), "[config]\ntotal=0\n");
    bench.chooser.answers = {QString(), bench.inst.path(QStringLiteral("in.mc")),
                             bench.inst.path(QStringLiteral("in.mc"))};
    MacroStore &macros = bench.open();

    QVERIFY(!macros.loadMacroFile(QStringLiteral("Macro_3")));
    QVERIFY(!bench.inst.exists(macroFile(QStringLiteral("Macro_3"))));
    QVERIFY(macros.loadMacroFile(QStringLiteral("Macro_3")));
    QCOMPARE(bench.inst.read(macroFile(QStringLiteral("Macro_3"))), exported);
    QCOMPARE(macros.loadMacroIni(QStringLiteral("Macro_3")), (QStringList{"1,A", "4"}));
    // A file an earlier macro left under the name does not pass for the import.
    QVERIFY(macros.loadMacroFile(QStringLiteral("Taken")));
    QCOMPARE(bench.inst.read(macroFile(QStringLiteral("Taken"))), exported);

    QCOMPARE(bench.chooser.questions.size(), 3);
    QVERIFY(!bench.chooser.questions.first().save);
    QCOMPARE(bench.chooser.questions.first().caption, QStringLiteral("Open File"));
    QCOMPARE(bench.chooser.questions.first().filter, QStringLiteral("Macro(*.mc)"));
}

void TestMacroStore::exportOverwritesTheChosenFile()
{
    StoreBench<MacroStore> bench;
    bench.inst.write(macroFile(QStringLiteral("E")), "[config]\ntotal=0\nrepeat=1\n");
    bench.inst.write(QStringLiteral("out.mc"), "an older export, longer than the macro file\n");
    bench.inst.write(QStringLiteral("keep.mc"), "keep me\n");
    bench.chooser.answers = {bench.inst.path(QStringLiteral("out.mc")), QString(),
                             bench.inst.path(QStringLiteral("keep.mc")),
                             bench.inst.path(macroFile(QStringLiteral("E")))};
    MacroStore &macros = bench.open();
    macros.saveMacroFile(QStringLiteral("E"));
    QCOMPARE(bench.inst.read(QStringLiteral("out.mc")), bench.inst.read(macroFile(QStringLiteral("E"))));
    QVERIFY(bench.chooser.questions.first().save);
    QCOMPARE(bench.chooser.questions.first().caption, QStringLiteral("Save File"));
    QCOMPARE(bench.chooser.questions.first().filter, QStringLiteral("Macro(*.mc)"));
    // A name typed without a suffix gets ".mc".
    bench.chooser.answers.prepend(bench.inst.path(QStringLiteral("bare")));
    macros.saveMacroFile(QStringLiteral("E"));
    QCOMPARE(bench.inst.read(QStringLiteral("bare.mc")), bench.inst.read(macroFile(QStringLiteral("E"))));

    macros.saveMacroFile(QStringLiteral("E")); // cancelled
    // Exporting a macro that has no file keeps the user's file; so does exporting onto itself.
    macros.saveMacroFile(QStringLiteral("Missing"));
    QCOMPARE(bench.inst.read(QStringLiteral("keep.mc")), QByteArray("keep me\n"));
    macros.saveMacroFile(QStringLiteral("E"));
    QCOMPARE(bench.inst.read(macroFile(QStringLiteral("E"))), QByteArray("[config]\ntotal=0\nrepeat=1\n"));
}

void TestMacroStore::unusableNamesTouchNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("dot") << QStringLiteral(".");
    QTest::newRow("dot dot") << QStringLiteral("..");
    QTest::newRow("slash") << QStringLiteral("a/b");
    QTest::newRow("parent") << QStringLiteral("../setting/p1");
    QTest::newRow("absolute") << QStringLiteral("/tmp/x");
    QTest::newRow("backslash") << QStringLiteral("a\\b");
    QTest::newRow("nul") << QString::fromUtf16(u"a\0b", 3);
    QTest::newRow("newline") << QStringLiteral("a\nb");
    QTest::newRow("tab") << QStringLiteral("\t");
    QTest::newRow("delete") << QStringLiteral("a\x7f");
    QTest::newRow("too long") << QString(260, QLatin1Char('m'));
}

void TestMacroStore::unusableNamesTouchNothing()
{
    QFETCH(QString, name);
    StoreBench<MacroStore> bench;
    bench.inst.write(profileFile(0), "[mouseKeyMatrix]\n0=4, 0, 0, 0\n[mouseMacroKey]\n0=Good\n");
    bench.inst.write(macroFile(QStringLiteral("Good")), "[config]\ntotal=0\nrepeat=1\n");
    bench.inst.write(QStringLiteral("in.mc"), "[config]\ntotal=0\n");
    const auto before = bench.inst.snapshot();
    bench.chooser.answers = {bench.inst.path(QStringLiteral("in.mc")),
                             bench.inst.path(QStringLiteral("out.mc"))};
    MacroStore &macros = bench.open();
    QCOMPARE(macros.createMacroIni(name, 0), QVariant(false));
    QCOMPARE(macros.saveMacroIni(name, {QStringLiteral("1,A")}, 1), QVariant(false));
    QVERIFY(macros.loadMacroIni(name).isEmpty());
    QCOMPARE(macros.deleteMacroIni(name), QVariant(false));
    QCOMPARE(macros.modifyMacroNameUpdateProfile(QStringLiteral("Good"), name), QVariant(false));
    QCOMPARE(macros.modifyMacroNameUpdateProfile(name, QStringLiteral("Good")), QVariant(false));
    macros.deleteMacroUpdateProfile(name);
    QVERIFY(!macros.loadMacroFile(name));
    macros.saveMacroFile(name);
    QVERIFY(bench.chooser.questions.isEmpty());
    QCOMPARE(bench.settings().getData(QStringLiteral("mouseMacroKey/0"), false).toString(),
             QStringLiteral("Good"));
    settle();
    bench.close();
    QCOMPARE(bench.inst.snapshot(), before);
}

void TestMacroStore::unusualButValidNamesWork()
{
    StoreBench<MacroStore> bench;
    MacroStore &macros = bench.open();
    for (const QString &name : {QStringLiteral("Macro 1"), QStringLiteral("宏"), QStringLiteral(".hidden"),
                                QStringLiteral("a.b"), QStringLiteral("..."), QStringLiteral("x,y;z=1")}) {
        QCOMPARE(macros.createMacroIni(name, 0), QVariant(true));
        QVERIFY2(bench.inst.exists(macroFile(name)), qPrintable(name));
        QCOMPARE(macros.saveMacroIni(name, {QStringLiteral("1,A")}, 2), QVariant(true));
        QCOMPARE(macros.loadMacroIni(name), (QStringList{"1,A", "2"}));
        QCOMPARE(macros.deleteMacroIni(name), QVariant(true));
    }
}

QTEST_GUILESS_MAIN(TestMacroStore)
#include "tst_macro_store.moc"
