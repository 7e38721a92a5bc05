// Settings files on a full disk, in a folder that cannot be written, and with no room in the
// temporary folder: a failed write never costs a file or its unreadable lines, and the person is told.
#include "MacroStore.h"
#include "NameListStore.h"
#include "ScriptedFileChooser.h"
#include "SettingsFile.h"
#include "SettingsNotice.h"
#include "SettingsStore.h"
#include "SmallDisk.h"
#include "TempInstallation.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QtTest>

#include <memory>

namespace {

QString profileFile(int profile)
{
    return QStringLiteral("modules/setting/p%1.bin").arg(profile + 1);
}

// Comment lines that make a file take more room than the one it replaces frees.
QByteArray padding()
{
    return QByteArray("; padding\n").repeated(800);
}

void writeInstallation(const TempInstallation &inst)
{
    inst.write(QStringLiteral("modules/setting/pD.bin"), "[mouse]\nreportRate=3\nscrollRate=3\n" + padding());
    inst.write(QStringLiteral("modules/setting/apConfig.bin"), "[mouse]\nicType=560\nprofileNo=2\n");
    inst.write(QStringLiteral("modules/setting/apConfigD.bin"),
               "[mouse]\nicType=553\nprofileNo=0\n" + padding());
    for (int p = 0; p < SettingsStore::ProfileCount; ++p)
        inst.write(profileFile(p), "[mouse]\nreportRate=1\nscrollRate=" + QByteArray::number(10 + p) + "\n" +
                                       (p == 7 ? padding() : QByteArray()));
    inst.write(QStringLiteral("modules/macro/M0.bin"), "[config]\ntotal=0\nrepeat=1\n");
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Takes write permission from the folders; false when that does not stop this user (root).
bool withoutWritePermission(const QStringList &folders)
{
    for (const QString &folder : folders)
        QFile::setPermissions(folder,
                              QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
    QFile probe(folders.first() + QStringLiteral("/probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return true;
    probe.remove();
    return false;
}

void restoreWritePermission(const QStringList &folders)
{
    for (const QString &folder : folders)
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

class TestSettingsDisk : public QObject
{
    Q_OBJECT

private slots:
    void init() { SettingsNotice::instance().clear(); }

    void replacementOnAFullDiskKeepsTheOldFile_data();
    void replacementOnAFullDiskKeepsTheOldFile();
    void editsOnANearlyFullDiskNeverCutTheFile();
    void unreadableFileKeptAsideWithoutATemporaryFolder_data();
    void unreadableFileKeptAsideWithoutATemporaryFolder();
    void editsThatCannotBeSavedAreAnnouncedOnce_data();
    void editsThatCannotBeSavedAreAnnouncedOnce();
};

void TestSettingsDisk::replacementOnAFullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("global file reset") << "resetApconfig";
    QTest::newRow("profile reset") << "resetProfile";
    QTest::newRow("profile copy") << "copyProfile";
    QTest::newRow("profile import") << "loadProfile";
}

void TestSettingsDisk::replacementOnAFullDiskKeepsTheOldFile()
{
    QFETCH(QString, operation);
    if (!SmallDisk::canMount())
        QSKIP("this process cannot mount a small disk of its own (needs root)");
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    SmallDisk disk(inst.path(QStringLiteral("modules/setting")), 128);
    QVERIFY(disk.isMounted());
    writeInstallation(inst);
    inst.write(QStringLiteral("import.pf"), "[mouse]\nreportRate=2\nscrollRate=99\n" + padding());
    const auto before = inst.snapshot();
    QSignalSpy notices(&SettingsNotice::instance(), &SettingsNotice::announced);
    ScriptedFileChooser chooser;
    chooser.answers = {inst.path(QStringLiteral("import.pf"))};
    {
        SettingsStore store(&chooser);
        QVERIFY(disk.fill());
        if (operation == QLatin1String("resetApconfig"))
            store.resetApconfig();
        else if (operation == QLatin1String("resetProfile"))
            store.resetProfile(2);
        else if (operation == QLatin1String("copyProfile"))
            store.copyProfile(2, 7);
        else
            QVERIFY2(!store.loadProfile(2), "an import that was not made is no success");
        // What was there is still read, now and after a restart.
        store.setCurrentProfile(2);
        QCOMPARE(store.getData(QStringLiteral("mouse/scrollRate"), false).toString(), QStringLiteral("12"));
        QCOMPARE(store.getGlobalData(QStringLiteral("mouse/icType")).toString(), QStringLiteral("560"));
        settle();
    }
    disk.free();
    QCOMPARE(inst.snapshot(), before);

    QCOMPARE(notices.size(), 1);
    const QString text = notices.at(0).at(0).toString();
    QVERIFY2(text.contains(QDir(inst.path(QStringLiteral("modules/setting"))).absolutePath()),
             qPrintable(text));

    // With room again the same operation works.
    {
        SettingsStore store(&chooser);
        store.resetApconfig();
        store.resetProfile(2);
        settle();
    }
    QCOMPARE(inst.read(QStringLiteral("modules/setting/apConfig.bin")),
             inst.read(QStringLiteral("modules/setting/apConfigD.bin")));
    QCOMPARE(inst.read(profileFile(2)), inst.read(QStringLiteral("modules/setting/pD.bin")));
}

// Room for the settings library's lock file but not for the settings: its new copy, cut short, must
// not take the place of the file.
void TestSettingsDisk::editsOnANearlyFullDiskNeverCutTheFile()
{
    if (!SmallDisk::canMount())
        QSKIP("this process cannot mount a small disk of its own (needs root)");
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    SmallDisk disk(inst.path(QStringLiteral("modules/setting")), 128);
    QVERIFY(disk.isMounted());
    writeInstallation(inst);
    inst.write(profileFile(2), "[mouse]\nreportRate=1\nscrollRate=12\n" + padding());
    const auto before = inst.snapshot();
    QSignalSpy notices(&SettingsNotice::instance(), &SettingsNotice::announced);
    {
        ScriptedFileChooser chooser;
        SettingsStore store(&chooser);
        QVERIFY(disk.fill(4096));
        store.setCurrentProfile(2);
        store.setData(QStringLiteral("mouse/reportRate"), 0);
        QCoreApplication::processEvents();
        QCOMPARE(inst.read(profileFile(2)), before.value(profileFile(2)));
        QCOMPARE(notices.size(), 1);
        settle();
    }
    disk.free();
    QCOMPARE(inst.snapshot(), before);
}

void TestSettingsDisk::unreadableFileKeptAsideWithoutATemporaryFolder_data()
{
    QTest::addColumn<bool>("full");
    QTest::newRow("temporary folder full") << true;
    QTest::newRow("temporary folder read-only") << false;
}

void TestSettingsDisk::unreadableFileKeptAsideWithoutATemporaryFolder()
{
    QFETCH(bool, full);
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    const QString temporary = inst.path(QStringLiteral("tmp"));
    std::unique_ptr<SmallDisk> disk;
    if (SmallDisk::canMount()) {
        disk = std::make_unique<SmallDisk>(temporary, 16);
        QVERIFY(disk->isMounted());
        QVERIFY(full ? disk->fill() : disk->makeReadOnly());
    } else {
        QDir().mkpath(temporary);
        if (full || !withoutWritePermission({temporary}))
            QSKIP("no small disk to fill, nor a folder this user cannot write");
    }
    const QByteArray oldTemporary = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temporary));
    const auto restore = qScopeGuard([&] {
        qputenv("TMPDIR", oldTemporary);
        restoreWritePermission({temporary});
    });
    QTemporaryFile probe;
    QVERIFY(!probe.open() || !probe.putChar('x') || !probe.flush());

    const QByteArray broken = "[mouse]\nreportRate=2\nhand edit without equals\n";
    inst.write(QStringLiteral("modules/setting/p3.bin"), broken);
    inst.write(QStringLiteral("modules/setting/p4.bin"), "[mouse]\nreportRate=2\n");
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("kept as .*p3\\.bin\\.bad\""));
    {
        std::unique_ptr<QSettings> settings(SettingsFile::open(QStringLiteral("./modules/setting/p3.bin")));
        settings->setValue(QStringLiteral("mouse/reportRate"), 3);
    }
    QCOMPARE(inst.read(QStringLiteral("modules/setting/p3.bin.bad")), broken);
    // A readable file still needs no copy.
    QVERIFY(!SettingsFile::keepUnreadableCopy(QStringLiteral("./modules/setting/p4.bin")));
    QVERIFY(!inst.exists(QStringLiteral("modules/setting/p4.bin.bad")));
}

void TestSettingsDisk::editsThatCannotBeSavedAreAnnouncedOnce_data()
{
    QTest::addColumn<bool>("mounted");
    QTest::newRow("read-only disk") << true;
    QTest::newRow("folders without write permission") << false;
}

void TestSettingsDisk::editsThatCannotBeSavedAreAnnouncedOnce()
{
    QFETCH(bool, mounted);
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    const QStringList folders{inst.path(QStringLiteral("modules/setting")),
                              inst.path(QStringLiteral("modules/macro"))};
    std::unique_ptr<SmallDisk> disk;
    if (mounted) {
        if (!SmallDisk::canMount())
            QSKIP("this process cannot mount a small disk of its own (needs root)");
        disk = std::make_unique<SmallDisk>(inst.path(QStringLiteral("modules")), 128);
        QVERIFY(disk->isMounted());
    }
    writeInstallation(inst);
    const auto before = inst.snapshot();
    const auto restore = qScopeGuard([&] { restoreWritePermission(folders); });
    if (mounted)
        QVERIFY(disk->makeReadOnly());
    else if (!withoutWritePermission(folders))
        QSKIP("this user writes whatever the permissions say (root); run the test as another user");

    QSignalSpy notices(&SettingsNotice::instance(), &SettingsNotice::announced);
    ScriptedFileChooser chooser;
    {
        SettingsStore store(&chooser);
        MacroStore macros(store);
        NameListStore names;
        store.setCurrentProfile(2);
        store.setData(QStringLiteral("mouse/reportRate"), 0);
        store.setGlobalData(QStringLiteral("mouse/profileNo"), 5);
        QVERIFY(notices.isEmpty());
        // The settings library writes on its next turn of the event loop; that is when it fails.
        QCoreApplication::processEvents();
        QCOMPARE(notices.size(), 1);
        const QString text = notices.at(0).at(0).toString();
        QVERIFY2(text.contains(QDir(folders.first()).absolutePath()) && text.contains("cannot be saved"),
                 qPrintable(text));

        // Nothing that failed says it worked, and the person hears it only once.
        QVERIFY(!macros.createMacroIni(QStringLiteral("M1"), 0).toBool());
        QVERIFY(!macros.saveMacroIni(QStringLiteral("M0"), {QStringLiteral("1,4")}, 1).toBool());
        names.updataNameList(0, {QStringLiteral("M0"), QStringLiteral("M1")});
        store.resetProfile(2);
        store.setDataList(QStringLiteral("mouse/dpiValueArray"), {400, 800});
        settle();
        QCOMPARE(notices.size(), 1);
    }
    restoreWritePermission(folders);
    QCOMPARE(inst.snapshot(), before);
}

SMALL_DISK_TEST_MAIN(TestSettingsDisk)

#include "tst_settings_disk.moc"
