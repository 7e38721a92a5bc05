// Import, export, reset and copy of whole profile files and reset of the global file, and the imports
// of profile and macro files the person chooses.
#include "ImportedFile.h"
#include "MacroStore.h"
#include "ScriptedFileChooser.h"
#include "SettingsFile.h"
#include "SettingsNotice.h"
#include "SettingsStore.h"
#include "SmallDisk.h"
#include "StoreBench.h"
#include "StoreProbe.h"
#include "TempInstallation.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointer>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QByteArray Factory = "[mouse]\nreportRate=3\nscrollRate=3\n";

QString profileFile(int profile)
{
    return QStringLiteral("modules/setting/p%1.bin").arg(profile + 1);
}

// A default profile, a global file and its factory copy, and ten profiles that each say who they are.
void writeInstallation(const TempInstallation &inst)
{
    inst.write(QStringLiteral("modules/setting/pD.bin"), Factory);
    inst.write(QStringLiteral("modules/setting/apConfig.bin"), "[mouse]\nicType=560\nprofileNo=2\n");
    inst.write(QStringLiteral("modules/setting/apConfigD.bin"), "[mouse]\nicType=553\nprofileNo=0\n");
    for (int p = 0; p < SettingsStore::ProfileCount; ++p)
        inst.write(profileFile(p), "[mouse]\nreportRate=1\nscrollRate=" + QByteArray::number(10 + p) + "\n");
}

// The settings store's bench over the files of writeInstallation().
class ProfilesBench : public StoreBench<SettingsStore>
{
public:
    ProfilesBench() { writeInstallation(inst); }
};

// Lets deferred deletions and write-backs run.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

class TestProfileOperations : public QObject
{
    Q_OBJECT

private slots:
    void importCancelledChangesNothing();
    void importReplacesTheProfile();
    void exportOverwritesTheChosenFile();
    void dialogsOpenWhereTheLastChoseAndAddTheSuffix();
    void exportIncludesValuesJustSet();
    void exportCancelledOrOntoItselfKeepsFiles();
    void resetOfTheCurrentProfileIsSeenAtOnce();
    void replacementIsReadFreshEvenWithinOneClockTick();
    void copyReplacesOnlyTheDestination();
    void copyOntoItselfChangesNothing();
    void copyTakesPendingValuesOfTheSource();
    void pendingValuesNeverReachTheReplacement_data();
    void pendingValuesNeverReachTheReplacement();
    void replacedObjectIsReleasedLater();
    void resetApconfigRestoresFactoryValues();
    void missingOrSelfSourceKeepsTheProfile();
    void profileNumbersOutsideTheListTouchNothing();
    void hostileImportsAddNothing_data();
    void hostileImportsAddNothing();
};

void TestProfileOperations::importCancelledChangesNothing()
{
    ProfilesBench bench;
    const auto before = bench.inst.snapshot();
    SettingsStore &store = bench.open();
    QVERIFY(!store.loadProfile(2));
    QCOMPARE(bench.chooser.questions.size(), 1);
    const ScriptedFileChooser::Question q = bench.chooser.questions.first();
    QVERIFY(!q.save);
    QCOMPARE(q.caption, QStringLiteral("Open File"));
    QCOMPARE(q.filter, QStringLiteral("Profile(*.pf)"));
    QCOMPARE(q.dir, QDir::homePath());
    bench.close();
    QCOMPARE(bench.inst.snapshot(), before);
}

void TestProfileOperations::importReplacesTheProfile()
{
    ProfilesBench bench;
    const QByteArray imported = "[mouse]\nreportRate=2\n[extra]\nany=thing\n";
    bench.inst.write(QStringLiteral("import.pf"), imported);
    bench.chooser.answers = {bench.inst.path(QStringLiteral("import.pf"))};
    SettingsStore &store = bench.open();
    store.setCurrentProfile(2);
    QVERIFY(store.loadProfile(2));
    QCOMPARE(store.getData(QStringLiteral("mouse/reportRate"), false).toString(), QStringLiteral("2"));
    QVERIFY(!store.getData(QStringLiteral("mouse/scrollRate"), false).isValid());
    QCOMPARE(bench.inst.read(profileFile(2)), imported);
    settle();
    bench.close();
    QCOMPARE(bench.inst.read(profileFile(2)), imported);
    QCOMPARE(bench.inst.read(QStringLiteral("import.pf")), imported);
}

void TestProfileOperations::exportOverwritesTheChosenFile()
{
    ProfilesBench bench;
    bench.inst.write(QStringLiteral("out.pf"), "old content that is longer than the profile file itself\n");
    bench.chooser.answers = {bench.inst.path(QStringLiteral("out.pf"))};
    SettingsStore &store = bench.open();
    store.saveProfile(2);
    QCOMPARE(bench.chooser.questions.size(), 1);
    QVERIFY(bench.chooser.questions.first().save);
    QCOMPARE(bench.chooser.questions.first().caption, QStringLiteral("Save File"));
    QCOMPARE(bench.chooser.questions.first().filter, QStringLiteral("Profile(*.pf)"));
    QCOMPARE(bench.inst.read(QStringLiteral("out.pf")), bench.inst.read(profileFile(2)));
}

// The first dialog opens at home, later ones in the folder last chosen from; a name typed without a
// suffix gets ".pf"; an import is known by its file's name.
void TestProfileOperations::dialogsOpenWhereTheLastChoseAndAddTheSuffix()
{
    ProfilesBench bench;
    bench.inst.write(QStringLiteral("in/My setup.v2.pf"), "[mouse]\nreportRate=2\n");
    bench.inst.write(QStringLiteral("out/kept"), "");
    bench.chooser.answers = {bench.inst.path(QStringLiteral("in/My setup.v2.pf")),
                             bench.inst.path(QStringLiteral("out/new")),
                             bench.inst.path(QStringLiteral("out/old.txt"))};
    SettingsStore &store = bench.open();
    QVERIFY(store.importedProfileName().isEmpty());
    QVERIFY(store.loadProfile(1));
    QCOMPARE(store.importedProfileName(), QStringLiteral("My setup.v2"));
    store.saveProfile(1);
    store.saveProfile(1);
    QCOMPARE(bench.chooser.questions.size(), 3);
    QCOMPARE(bench.chooser.questions[0].dir, QDir::homePath());
    QCOMPARE(bench.chooser.questions[1].dir,
             QFileInfo(bench.inst.path(QStringLiteral("in/x"))).absolutePath());
    QCOMPARE(bench.chooser.questions[2].dir,
             QFileInfo(bench.inst.path(QStringLiteral("out/x"))).absolutePath());
    QCOMPARE(bench.inst.read(QStringLiteral("out/new.pf")), bench.inst.read(profileFile(1)));
    QVERIFY(!bench.inst.exists(QStringLiteral("out/new")));
    // A suffix of the person's own is kept.
    QCOMPARE(bench.inst.read(QStringLiteral("out/old.txt")), bench.inst.read(profileFile(1)));
}

void TestProfileOperations::exportIncludesValuesJustSet()
{
    ProfilesBench bench;
    bench.chooser.answers = {bench.inst.path(QStringLiteral("out.pf"))};
    SettingsStore &store = bench.open();
    store.setCurrentProfile(4);
    store.setData(QStringLiteral("mouse/reportRate"), 0);
    store.saveProfile(4);
    QVERIFY(bench.inst.read(QStringLiteral("out.pf")).contains("reportRate=0"));
}

void TestProfileOperations::exportCancelledOrOntoItselfKeepsFiles()
{
    ProfilesBench bench;
    const auto before = bench.inst.snapshot();
    bench.chooser.answers = {QString(), bench.inst.path(profileFile(3))};
    SettingsStore &store = bench.open();
    store.saveProfile(3);
    store.saveProfile(3);
    QCOMPARE(bench.chooser.questions.size(), 2);
    QCOMPARE(bench.inst.snapshot(), before);
}

void TestProfileOperations::resetOfTheCurrentProfileIsSeenAtOnce()
{
    ProfilesBench bench;
    SettingsStore &store = bench.open();
    store.setCurrentProfile(1);
    store.setData(QStringLiteral("mouse/reportRate"), 0);
    store.resetProfile(1);
    QCOMPARE(store.getData(QStringLiteral("mouse/reportRate"), false).toString(), QStringLiteral("3"));
    QCOMPARE(store.getData(QStringLiteral("mouse/scrollRate"), false).toString(), QStringLiteral("3"));
    settle();
    bench.close();
    QCOMPARE(bench.inst.read(profileFile(1)), Factory);
    const QJsonObject v = StoreProbe::run(bench.inst.path(), {"getData", "mouse/reportRate", "0"});
    QCOMPARE(v.value("value").toString(), QStringLiteral("1")); // profile 0 was not touched
}

void TestProfileOperations::replacementIsReadFreshEvenWithinOneClockTick()
{
    // The profile is rewritten with a file of the same size right after its last write; a stale
    // cached copy of the old content would still answer 9.
    ProfilesBench bench;
    bench.inst.write(profileFile(0), Factory);
    SettingsStore &store = bench.open();
    for (int round = 0; round < 20; ++round) {
        store.setData(QStringLiteral("mouse/reportRate"), 9);
        store.currentProfileSettings()->sync();
        QCOMPARE(bench.inst.read(profileFile(0)).size(), Factory.size());
        store.resetProfile(0);
        QCOMPARE(store.getData(QStringLiteral("mouse/reportRate"), false).toString(), QStringLiteral("3"));
    }
    settle();
}

void TestProfileOperations::copyReplacesOnlyTheDestination()
{
    ProfilesBench bench;
    const QByteArray source = bench.inst.read(profileFile(7));
    SettingsStore &store = bench.open();
    store.copyProfile(3, 7);
    store.setCurrentProfile(3);
    QCOMPARE(store.getData(QStringLiteral("mouse/scrollRate"), false).toString(), QStringLiteral("17"));
    settle();
    bench.close();
    QCOMPARE(bench.inst.read(profileFile(3)), source);
    QCOMPARE(bench.inst.read(profileFile(7)), source);
}

void TestProfileOperations::copyOntoItselfChangesNothing()
{
    ProfilesBench bench;
    const auto before = bench.inst.snapshot();
    SettingsStore &store = bench.open();
    QSettings *object = store.profileSettings(4);
    store.copyProfile(4, 4);
    QCOMPARE(store.profileSettings(4), object);
    QCOMPARE(bench.inst.snapshot(), before);
}

void TestProfileOperations::copyTakesPendingValuesOfTheSource()
{
    ProfilesBench bench;
    SettingsStore &store = bench.open();
    store.setCurrentProfile(7);
    store.setData(QStringLiteral("mouse/reportRate"), 2);
    store.copyProfile(3, 7);
    store.setCurrentProfile(3);
    QCOMPARE(store.getData(QStringLiteral("mouse/reportRate"), false).toString(), QStringLiteral("2"));
}

void TestProfileOperations::pendingValuesNeverReachTheReplacement_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("reset") << "reset";
    QTest::newRow("copy") << "copy";
    QTest::newRow("import") << "import";
}

void TestProfileOperations::pendingValuesNeverReachTheReplacement()
{
    QFETCH(QString, operation);
    ProfilesBench bench;
    bench.inst.write(QStringLiteral("import.pf"), Factory);
    bench.chooser.answers = {bench.inst.path(QStringLiteral("import.pf"))};
    SettingsStore &store = bench.open();
    store.setCurrentProfile(5);
    store.setData(QStringLiteral("pending/value"), QStringLiteral("from the old file"));
    store.setData(QStringLiteral("mouse/reportRate"), 0);
    if (operation == QLatin1String("reset"))
        store.resetProfile(5);
    else if (operation == QLatin1String("copy"))
        store.copyProfile(5, 9);
    else
        QVERIFY(store.loadProfile(5));
    QVERIFY(!store.getData(QStringLiteral("pending/value"), false).isValid());
    settle();
    QVERIFY(!bench.inst.read(profileFile(5)).contains("pending"));
    bench.close();
    const QByteArray text = bench.inst.read(profileFile(5));
    QVERIFY2(!text.contains("pending") && !text.contains("reportRate=0"), text.constData());
    const QJsonObject v = StoreProbe::run(bench.inst.path(), {"getData", "pending/value", "0"});
    QVERIFY(!v.isEmpty());
}

void TestProfileOperations::replacedObjectIsReleasedLater()
{
    ProfilesBench bench;
    SettingsStore &store = bench.open();
    QPointer<QSettings> old = store.profileSettings(6);
    store.resetProfile(6);
    QVERIFY(store.profileSettings(6) != old.data());
    QVERIFY(!old.isNull());
    settle();
    QVERIFY(old.isNull());
    QCOMPARE(store.profileSettings(6)->fileName(), bench.inst.path(profileFile(6)));
}

void TestProfileOperations::resetApconfigRestoresFactoryValues()
{
    ProfilesBench bench;
    const QByteArray factory = bench.inst.read(QStringLiteral("modules/setting/apConfigD.bin"));
    SettingsStore &store = bench.open();
    store.setGlobalData(QStringLiteral("pending/value"), 1);
    store.resetApconfig();
    QCOMPARE(store.getGlobalData(QStringLiteral("mouse/icType")).toString(), QStringLiteral("553"));
    QCOMPARE(store.getGlobalData(QStringLiteral("mouse/profileNo")).toString(), QStringLiteral("0"));
    QVERIFY(!store.getGlobalData(QStringLiteral("pending/value")).isValid());
    QCOMPARE(store.icType(), QStringLiteral("560"));
    settle();
    bench.close();
    QCOMPARE(bench.inst.read(QStringLiteral("modules/setting/apConfig.bin")), factory);
    QCOMPARE(bench.inst.read(QStringLiteral("modules/setting/apConfigD.bin")), factory);
}

void TestProfileOperations::missingOrSelfSourceKeepsTheProfile()
{
    ProfilesBench bench;
    bench.inst.remove(QStringLiteral("modules/setting/pD.bin"));
    bench.inst.remove(QStringLiteral("modules/setting/apConfigD.bin"));
    const auto before = bench.inst.snapshot();
    bench.chooser.answers = {bench.inst.path(QStringLiteral("no such file.pf")),
                             bench.inst.path(profileFile(2))};
    SettingsStore &store = bench.open();
    store.resetProfile(2);
    store.resetApconfig();
    QVERIFY(!store.loadProfile(2));
    QVERIFY(store.loadProfile(2));
    store.setCurrentProfile(2);
    QCOMPARE(store.getData(QStringLiteral("mouse/scrollRate"), false).toString(), QStringLiteral("12"));
    QCOMPARE(store.getGlobalData(QStringLiteral("mouse/icType")).toString(), QStringLiteral("560"));
    settle();
    bench.close();
    QCOMPARE(bench.inst.snapshot(), before);
}

void TestProfileOperations::profileNumbersOutsideTheListTouchNothing()
{
    ProfilesBench bench;
    bench.inst.write(QStringLiteral("import.pf"), Factory);
    const auto before = bench.inst.snapshot();
    SettingsStore &store = bench.open();
    QList<QSettings *> objects;
    for (int p = 0; p < SettingsStore::ProfileCount; ++p)
        objects.append(store.profileSettings(p));
    for (int bad : {-1, 10, 11, INT_MAX, INT_MIN}) {
        bench.chooser.answers = {bench.inst.path(QStringLiteral("import.pf"))};
        QVERIFY(!store.loadProfile(bad));
        store.saveProfile(bad);
        store.resetProfile(bad);
        store.copyProfile(bad, 0);
        store.copyProfile(0, bad);
    }
    // No dialog was even shown.
    QVERIFY(bench.chooser.questions.isEmpty());
    for (int p = 0; p < SettingsStore::ProfileCount; ++p)
        QCOMPARE(store.profileSettings(p), objects.at(p));
    settle();
    bench.close();
    QCOMPARE(bench.inst.snapshot(), before);
}

void TestProfileOperations::hostileImportsAddNothing_data()
{
    QTest::addColumn<bool>("macro");
    QTest::addColumn<QString>("chosen"); // how the chosen file is made
    QTest::addColumn<QString>("told");   // in the notice; empty when the file is taken
    const QString notRegular = QStringLiteral("it is not a regular file");
    for (const bool macro : {false, true}) {
        const char *kind = macro ? "macro: " : "profile: ";
        QTest::newRow((QByteArray(kind) + "pipe").constData()) << macro << "pipe" << notRegular;
        QTest::newRow((QByteArray(kind) + "link to /dev/zero").constData())
            << macro << "device" << notRegular;
        QTest::newRow((QByteArray(kind) + "1 MiB and a byte").constData()) << macro << "oversized"
                                                                           << "larger than 1 MiB";
        QTest::newRow((QByteArray(kind) + "exactly 1 MiB").constData()) << macro << "limit"
                                                                        << "";
        QTest::newRow((QByteArray(kind) + "last line cut").constData()) << macro << "cut"
                                                                        << "cut short";
        QTest::newRow((QByteArray(kind) + "full disk").constData()) << macro << "full"
                                                                    << "disk is full";
    }
    QTest::newRow("macro: fewer steps than it names") << true << "steps"
                                                      << "names 3 steps but holds 1";
    QTest::newRow("macro: mode 0777") << true << "mode"
                                      << "";
}

// Only a whole settings file of a sensible size is taken; what is refused or cannot be written leaves
// nothing under the number or name the page would list, and the person is told why.
void TestProfileOperations::hostileImportsAddNothing()
{
    QFETCH(bool, macro);
    QFETCH(QString, chosen);
    QFETCH(QString, told);
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    writeInstallation(inst);
    inst.write(QStringLiteral("modules/macro/keep.bin"), "[config]\ntotal=0\n");
    const QByteArray good = macro ? "[config]\ntotal=1\nrepeat=2\n\n[macro]\n0=\"1,A\"\n" : Factory;
    // Beside the installation, which the test reads whole.
    QTemporaryDir outside;
    const QString file = outside.filePath(QStringLiteral("chosen.pf"));
    auto writeChosen = [&](const QByteArray &content) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
    };
    const QByteArray name = QFile::encodeName(file);
    // Comment lines make a file of any size that is still good settings text.
    auto sized = [&](qint64 size) { return good + QByteArray(size - good.size() - 1, ';') + '\n'; };
    std::unique_ptr<SmallDisk> disk;
    if (chosen == "pipe") {
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    } else if (chosen == "device") {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), file));
    } else if (chosen == "oversized" || chosen == "limit") {
        writeChosen(sized(ImportedFile::MaxBytes + (chosen == "oversized")));
    } else if (chosen == "cut") {
        writeChosen(good + "scrollRate=4");
    } else if (chosen == "steps") {
        writeChosen("[config]\ntotal=3\n\n[macro]\n0=\"1,A\"\n");
    } else {
        writeChosen(good);
    }
    if (chosen == "mode")
        QVERIFY(QFile::setPermissions(file, QFileDevice::Permissions(0x7777)));
    if (chosen == "full") {
        if (!SmallDisk::canMount())
            QSKIP("this process cannot mount a small disk of its own (needs root)");
        const QString folder = macro ? QStringLiteral("modules/macro") : QStringLiteral("modules/setting");
        const auto files = inst.snapshot();
        disk = std::make_unique<SmallDisk>(inst.path(folder), 64);
        QVERIFY(disk->isMounted());
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            if (it.key().startsWith(folder))
                inst.write(it.key(), it.value());
        QVERIFY(disk->fill());
    }
    const auto before = inst.snapshot();
    const QString target = macro ? QStringLiteral("modules/macro/Macro_4.bin") : profileFile(3);
    const QByteArray content = chosen == "limit" ? sized(ImportedFile::MaxBytes) : good;

    SettingsNotice::instance().clear();
    QSignalSpy notices(&SettingsNotice::instance(), &SettingsNotice::announced);
    ScriptedFileChooser chooser;
    chooser.answers = {file};
    QElapsedTimer clock;
    clock.start();
    {
        SettingsStore store(&chooser);
        MacroStore macros(store);
        const bool taken = macro ? macros.loadMacroFile(QStringLiteral("Macro_4")) : store.loadProfile(3);
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(taken, macro || told.isEmpty());
        store.setCurrentProfile(3);
        if (told.isEmpty()) {
            QVERIFY(notices.isEmpty());
            QCOMPARE(inst.read(target), content);
            // The folder's usual mode, whatever the chosen file had.
            QCOMPARE(QFileInfo(inst.path(target)).permissions(), SettingsFile::usualMode());
            return;
        }
        QVERIFY(!notices.isEmpty());
        const QString text = notices.first().first().toString();
        QVERIFY2(text.contains(told) && text.contains(file) && text.contains("was not imported"),
                 qPrintable(text));
        // What the profile held before is still what it reads.
        QCOMPARE(store.getData(QStringLiteral("mouse/scrollRate"), false).toString(), QStringLiteral("13"));
        settle();
    }
    QCOMPARE(inst.snapshot(), before);
}

SMALL_DISK_TEST_MAIN(TestProfileOperations)

#include "tst_profile_operations.moc"
