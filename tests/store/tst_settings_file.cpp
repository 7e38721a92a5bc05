// Unreadable settings files are kept aside before they are rewritten; replaced files are read fresh.
#include "NameListStore.h"
#include "ScriptedFileChooser.h"
#include "SettingsFile.h"
#include "SettingsNotice.h"
#include "SettingsStore.h"
#include "TempInstallation.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void unreadableFilesAreKeptAside_data();
    void unreadableFilesAreKeptAside();
    void readableFilesGetNoCopy();
    void oneCopyPerDistinctContent();
    void profileFileKeptBeforeTheFirstWrite();
    void nameListFileKeptBeforeItIsRewritten();
    void replacementIsDatedAfterWhatItReplaced();
    void damagedGlobalFileIsAnnouncedWithItsCopy();
    void deferredWritesKeepHappening();
};

void TestSettingsFile::unreadableFilesAreKeptAside_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("line without a key") << QByteArray("[g]\nk=1\nnot a setting\nm=2\n");
    QTest::newRow("open section header") << QByteArray("[g\nk=1\n");
    QTest::newRow("text before any section") << QByteArray("junk\n[g]\nk=1\n");
    QTest::newRow("not UTF-8") << QByteArray("[g]\nk=caf\xe9\n");
}

void TestSettingsFile::unreadableFilesAreKeptAside()
{
    QFETCH(QByteArray, content);
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(QStringLiteral("modules/setting/x.bin"), content);
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression("Unreadable settings file kept as .*x\\.bin\\.bad\""));
    {
        std::unique_ptr<QSettings> settings(SettingsFile::open(QStringLiteral("./modules/setting/x.bin")));
        QCOMPARE(inst.read(QStringLiteral("modules/setting/x.bin.bad")), content);
        settings->setValue(QStringLiteral("z/new"), 1);
    }
    // The file was rewritten without what could not be read; the copy still has it.
    QVERIFY(inst.read(QStringLiteral("modules/setting/x.bin")).contains("new=1"));
    QCOMPARE(inst.read(QStringLiteral("modules/setting/x.bin.bad")), content);
}

void TestSettingsFile::readableFilesGetNoCopy()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(QStringLiteral("modules/setting/x.bin"),
               "[g]\nk=1\nl=\"a, b\", c\n; comment\nu=\xe4\xb8\xad\n");
    std::unique_ptr<QSettings> settings(SettingsFile::open(QStringLiteral("./modules/setting/x.bin")));
    settings->setValue(QStringLiteral("g/k"), 2);
    QVERIFY(!inst.exists(QStringLiteral("modules/setting/x.bin.bad")));
    QVERIFY(!SettingsFile::keepUnreadableCopy(settings->fileName()));
}

void TestSettingsFile::oneCopyPerDistinctContent()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    const QString file = QStringLiteral("./modules/setting/x.bin");
    const QByteArray first = "garbage one\n";
    const QByteArray second = "garbage two\n";
    inst.write(QStringLiteral("modules/setting/x.bin"), first);
    // Parsed once already, as a reading store would have done before the write.
    QSettings reader(file, QSettings::IniFormat);
    reader.allKeys();
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("Unreadable settings file kept as"));
    QVERIFY(SettingsFile::keepUnreadableCopy(file));
    // The same content again keeps no second copy.
    QVERIFY(SettingsFile::keepUnreadableCopy(file));
    QVERIFY(!inst.exists(QStringLiteral("modules/setting/x.bin.bad1")));

    inst.write(QStringLiteral("modules/setting/x.bin"), second);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("Unreadable settings file kept as"));
    QVERIFY(SettingsFile::keepUnreadableCopy(file));
    QCOMPARE(inst.read(QStringLiteral("modules/setting/x.bin.bad")), first);
    QCOMPARE(inst.read(QStringLiteral("modules/setting/x.bin.bad1")), second);
    QVERIFY(!SettingsFile::keepUnreadableCopy(QStringLiteral("./modules/setting/missing.bin")));
}

void TestSettingsFile::profileFileKeptBeforeTheFirstWrite()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    const QByteArray broken = "[mouse]\nreportRate=2\nhand edit without equals\n";
    inst.write(QStringLiteral("modules/setting/p3.bin"), broken);
    inst.write(QStringLiteral("modules/setting/apConfig.bin"), "[common\nname=x\n");
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("kept as .*apConfig\\.bin\\.bad\""));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("kept as .*p3\\.bin\\.bad\""));
    {
        ScriptedFileChooser chooser;
        SettingsStore store(&chooser);
        store.setCurrentProfile(2);
        QCOMPARE(store.getData(QStringLiteral("mouse/reportRate"), false).toString(), QStringLiteral("2"));
        store.setData(QStringLiteral("mouse/reportRate"), 3);
        store.setGlobalData(QStringLiteral("mouse/profileNo"), 2);
    }
    QCOMPARE(inst.read(QStringLiteral("modules/setting/p3.bin.bad")), broken);
    QCOMPARE(inst.read(QStringLiteral("modules/setting/apConfig.bin.bad")), QByteArray("[common\nname=x\n"));
    QVERIFY(inst.read(QStringLiteral("modules/setting/p3.bin")).contains("reportRate=3"));
}

void TestSettingsFile::nameListFileKeptBeforeItIsRewritten()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    const QByteArray broken = "[macro]\nmacroName=A, B\n{oops}\n";
    inst.write(QStringLiteral("modules/setting/name.bin"), broken);
    NameListStore names;
    // Reading alone rewrites nothing and needs no copy.
    QCOMPARE(names.getNameList(0).size(), 2);
    QVERIFY(!inst.exists(QStringLiteral("modules/setting/name.bin.bad")));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("kept as .*name\\.bin\\.bad\""));
    names.updataNameList(2, {QStringLiteral("Office3"), QStringLiteral("Game4")});
    QCOMPARE(inst.read(QStringLiteral("modules/setting/name.bin.bad")), broken);
}

void TestSettingsFile::replacementIsDatedAfterWhatItReplaced()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(QStringLiteral("source.bin"), "[m]\nk=3\n");
    inst.write(QStringLiteral("target.bin"), "[m]\nk=1\n");
    // A target dated ahead of the clock stands for a last write in the very tick of the copy.
    const QDateTime ahead = QDateTime::currentDateTimeUtc().addSecs(3600);
    {
        QFile f(inst.path(QStringLiteral("target.bin")));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(ahead, QFileDevice::FileModificationTime));
    }
    QSettings cached(QStringLiteral("target.bin"), QSettings::IniFormat);
    QCOMPARE(cached.value(QStringLiteral("m/k")).toString(), QStringLiteral("1"));

    QVERIFY(SettingsFile::replace(QStringLiteral("target.bin"), QStringLiteral("source.bin")));
    QVERIFY(QFileInfo(inst.path(QStringLiteral("target.bin"))).lastModified() > ahead);
    QSettings fresh(QStringLiteral("target.bin"), QSettings::IniFormat);
    QCOMPARE(fresh.value(QStringLiteral("m/k")).toString(), QStringLiteral("3"));

    QVERIFY(!SettingsFile::replace(QStringLiteral("target.bin"), QStringLiteral("missing.bin")));
}

void TestSettingsFile::damagedGlobalFileIsAnnouncedWithItsCopy()
{
    SettingsNotice::instance().clear();
    QSignalSpy notices(&SettingsNotice::instance(), &SettingsNotice::announced);
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(QStringLiteral("modules/setting/apConfig.bin"), "[common]\ndeviceCount=1\n[0\nvid=4b43\n");
    inst.write(QStringLiteral("modules/setting/p1.bin"), "[mouse]\nno equals sign\n");
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("kept as .*apConfig\\.bin\\.bad\""));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("kept as .*p1\\.bin\\.bad\""));
    {
        ScriptedFileChooser chooser;
        SettingsStore store(&chooser);
        SettingsStore again(&chooser);
    }
    // Once, for the global file only (the profile's copy is kept all the same).
    QCOMPARE(notices.size(), 1);
    const QString text = notices.at(0).at(0).toString();
    const QString file = inst.path(QStringLiteral("modules/setting/apConfig.bin"));
    QVERIFY2(text.contains(file + " is damaged") && text.contains("kept as " + file + ".bad."),
             qPrintable(text));
    QVERIFY(inst.exists(QStringLiteral("modules/setting/apConfig.bin.bad")));

    // A readable global file says nothing.
    SettingsNotice::instance().clear();
    inst.write(QStringLiteral("modules/setting/apConfig.bin"), "[common]\ndeviceCount=0\n");
    {
        ScriptedFileChooser chooser;
        SettingsStore store(&chooser);
    }
    QCOMPARE(notices.size(), 1);
}

void TestSettingsFile::deferredWritesKeepHappening()
{
    // The settings library's own deferred write is made by the write check instead; every later
    // change still reaches the file on the next turn of the event loop.
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(QStringLiteral("modules/setting/x.bin"), "[g]\nk=0\n");
    std::unique_ptr<QSettings> settings(SettingsFile::open(QStringLiteral("./modules/setting/x.bin")));
    for (int round = 1; round <= 3; ++round) {
        settings->setValue(QStringLiteral("g/k"), round);
        QCoreApplication::processEvents();
        QCOMPARE(inst.read(QStringLiteral("modules/setting/x.bin")),
                 "[g]\nk=" + QByteArray::number(round) + "\n");
    }
    QCOMPARE(settings->status(), QSettings::NoError);

    // Written from inside a group, the file is still seen as whole and kept.
    settings->beginGroup(QStringLiteral("g"));
    settings->setValue(QStringLiteral("k"), 9);
    QVERIFY(SettingsFile::commit(settings.get()));
    settings->endGroup();
    QCOMPARE(inst.read(QStringLiteral("modules/setting/x.bin")), QByteArray("[g]\nk=9\n"));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
