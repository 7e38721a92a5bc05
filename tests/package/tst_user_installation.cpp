// The working installation of an installed copy: seeded from the installed defaults into the user's
// folder, reused, brought up to date without losing what the user changed, and never taken as whole
// when a seed did not finish. A build keeps working beside its executable.
#include "SmallDisk.h"
#include "TempInstallation.h"
#include "platform/UserInstallation.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        files.insert(QDir(root).relativeFilePath(path), f.open(QIODevice::ReadOnly) ? f.readAll() : "?");
    }
    return files;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

QVariant iniValue(const QString &path, const QString &key)
{
    return QSettings(path, QSettings::IniFormat).value(key);
}

void setIniValue(const QString &path, const QString &key, const QVariant &value)
{
    QSettings s(path, QSettings::IniFormat);
    s.setValue(key, value);
    s.sync();
}

} // namespace

class TestUserInstallation : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    std::unique_ptr<TempInstallation> m_installed;
    QString m_prefix; // an installed copy: executable folder with the marker and its defaults
    QString m_user;   // $XDG_DATA_HOME/kestral-config

    QString installed(const QString &relative) const
    {
        return m_prefix + QStringLiteral("/modules/") + relative;
    }
    QString user(const QString &relative) const { return m_user + QStringLiteral("/modules/") + relative; }
    QString prepare(QString *error = nullptr) const
    {
        return UserInstallation::prepare(m_prefix, m_user, error);
    }

private slots:
    void init()
    {
        QVERIFY(m_tmp.isValid());
        const QString root = m_tmp.path() + QLatin1Char('/') + QTest::currentTestFunction();
        m_installed = std::make_unique<TempInstallation>();
        QVERIFY(m_installed->isValid());
        m_prefix = m_installed->path();
        m_user = root + QStringLiteral("/home/.local/share/kestral-config");
        writeFile(m_prefix + QLatin1Char('/') + UserInstallation::markerFileName(), "installed\n");
    }

    void seedsOnceThenReusesTheUsersFolder()
    {
        const auto installedBefore = snapshot(m_prefix);
        QString error;
        const QString folder = prepare(&error);
        QVERIFY2(!folder.isEmpty(), qPrintable(error));
        QCOMPARE(folder, QDir(m_user).canonicalPath());
        QVERIFY(QFileInfo(user(QStringLiteral("macro"))).isDir());
        auto seeded = snapshot(m_user);
        QCOMPARE(seeded.size(), installedBefore.size() - 1); // all but the marker
        for (auto it = seeded.cbegin(); it != seeded.cend(); ++it)
            QCOMPARE(it.value(), installedBefore.value(it.key()));

        // The user's changes and own files survive the next start; nothing is seeded twice.
        setIniValue(user(QStringLiteral("setting/p1.bin")), QStringLiteral("mouse/reportRate"), 1);
        writeFile(user(QStringLiteral("macro/mine.bin")), "[macro]\nname=mine\n");
        const auto changed = snapshot(m_user);
        QCOMPARE(prepare(&error), folder);
        QCOMPARE(snapshot(m_user), changed);
        QCOMPARE(snapshot(m_prefix), installedBefore);
        QCOMPARE(QDir(m_user).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("modules")});
    }

    // A later version's defaults: new keys and files reach the user, the user's values stay, files
    // the program only reads follow the installation, and what the user made or deleted stays so.
    void updateAddsWhatIsNewAndKeepsTheUsersValues()
    {
        QVERIFY(!prepare().isEmpty());
        const QString p1 = QStringLiteral("setting/p1.bin");
        setIniValue(user(p1), QStringLiteral("mouse/reportRate"), 1);
        setIniValue(user(QStringLiteral("setting/apConfig.bin")), QStringLiteral("common/language"),
                    QStringLiteral("ChineseSimplified"));
        writeFile(user(QStringLiteral("macro/mine.bin")), "[macro]\nname=mine\n");

        setIniValue(installed(p1), QStringLiteral("mouse/reportRate"), 4);
        setIniValue(installed(p1), QStringLiteral("mouse/angleSnap"), 1);
        setIniValue(installed(QStringLiteral("setting/apConfig.bin")), QStringLiteral("common/language"),
                    QStringLiteral("English"));
        setIniValue(installed(QStringLiteral("gun/gunData.bin")), QStringLiteral("gunData/6"),
                    QStringList{QStringLiteral("Vector"), QStringLiteral("L-Click")});
        writeFile(installed(QStringLiteral("setting/extra.bin")), "[extra]\nnew=1\n");
        writeFile(installed(QStringLiteral("i18n/English.ini")), "[page]\ntitle=Newer text\n");
        writeFile(installed(QStringLiteral("macro/sample.bin")), "[macro]\nname=sample\n");
        const auto installedBefore = snapshot(m_prefix);

        QString error;
        QVERIFY2(!prepare(&error).isEmpty(), qPrintable(error));
        QCOMPARE(iniValue(user(p1), QStringLiteral("mouse/reportRate")).toInt(), 1);
        QCOMPARE(iniValue(user(p1), QStringLiteral("mouse/angleSnap")).toInt(), 1);
        QCOMPARE(iniValue(user(p1), QStringLiteral("mouse/dpiValueArray")),
                 iniValue(installed(p1), QStringLiteral("mouse/dpiValueArray")));
        QCOMPARE(iniValue(user(QStringLiteral("setting/apConfig.bin")), QStringLiteral("common/language")),
                 QStringLiteral("ChineseSimplified"));
        QCOMPARE(
            iniValue(user(QStringLiteral("gun/gunData.bin")), QStringLiteral("gunData/6")).toStringList(),
            (QStringList{QStringLiteral("Vector"), QStringLiteral("L-Click")}));
        QCOMPARE(iniValue(user(QStringLiteral("setting/extra.bin")), QStringLiteral("extra/new")).toInt(), 1);
        QCOMPARE(snapshot(m_user).value(QStringLiteral("modules/i18n/English.ini")),
                 QByteArray("[page]\ntitle=Newer text\n"));
        QVERIFY(QFile::exists(user(QStringLiteral("macro/mine.bin"))));
        QVERIFY(!QFile::exists(user(QStringLiteral("macro/sample.bin"))));
        QCOMPARE(snapshot(m_prefix), installedBefore);

        // Brought up to date, the next start writes nothing.
        const auto updated = snapshot(m_user);
        QVERIFY(!prepare().isEmpty());
        QCOMPARE(snapshot(m_user), updated);
    }

    // A mouse that newer defaults add to the device table reaches the user's table, beside rows the user
    // added or changed; matching rows only gain the keys they lack.
    void updateAppendsNewMiceToTheDeviceTable()
    {
        QVERIFY(!prepare().isEmpty());
        const QString global = QStringLiteral("setting/apConfig.bin");
        {
            QSettings mine(user(global), QSettings::IniFormat);
            mine.setValue(QStringLiteral("0/reportLength"), 64);
            mine.setValue(QStringLiteral("1/vid"), QStringLiteral("1234"));
            mine.setValue(QStringLiteral("1/pid"), QStringLiteral("5678"));
            mine.setValue(QStringLiteral("common/deviceCount"), 2);
        }
        {
            QSettings newer(installed(global), QSettings::IniFormat);
            newer.setValue(QStringLiteral("0/pid"), QStringLiteral("0001"));
            newer.setValue(QStringLiteral("0/pollHint"), 1);
            newer.setValue(QStringLiteral("1/vid"), QStringLiteral("4B43"));
            newer.setValue(QStringLiteral("1/pid"), QStringLiteral("0002"));
            newer.setValue(QStringLiteral("1/reportLength"), 32);
            newer.setValue(QStringLiteral("common/deviceCount"), 2);
        }

        QString error;
        QVERIFY2(!prepare(&error).isEmpty(), qPrintable(error));
        QSettings result(user(global), QSettings::IniFormat);
        QCOMPARE(result.value(QStringLiteral("common/deviceCount")).toInt(), 3);
        QCOMPARE(result.value(QStringLiteral("0/reportLength")).toInt(), 64);
        QCOMPARE(result.value(QStringLiteral("0/pollHint")).toInt(), 1);
        QCOMPARE(result.value(QStringLiteral("1/vid")).toString(), QStringLiteral("1234"));
        QVERIFY(!result.contains(QStringLiteral("1/reportLength")));
        QCOMPARE(result.value(QStringLiteral("2/pid")).toString(), QStringLiteral("0002"));
        QCOMPARE(result.value(QStringLiteral("2/reportLength")).toInt(), 32);

        // Already there: the next start changes nothing.
        const auto updated = snapshot(m_user);
        QVERIFY(!prepare().isEmpty());
        QCOMPARE(snapshot(m_user), updated);
    }

    // A row count the table cannot hold is held to what is ever read; a negative one means no rows.
    // Either way the merge ends at once, writes no row outside the table, and is done for good.
    void hostileDeviceCountsAreHeld_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("held");
        QTest::newRow("two thousand million") << "2000000000" << 256;
        QTest::newRow("negative") << "-5" << 1;
        QTest::newRow("one past the table") << "257" << 256;
    }
    void hostileDeviceCountsAreHeld()
    {
        QFETCH(QString, stored);
        QFETCH(int, held);
        QVERIFY(!prepare().isEmpty());
        const QString global = user(QStringLiteral("setting/apConfig.bin"));
        setIniValue(global, QStringLiteral("common/deviceCount"), stored);
        QElapsedTimer clock;
        clock.start();
        QString error;
        QVERIFY2(!prepare(&error).isEmpty(), qPrintable(error));
        QVERIFY(clock.elapsed() < 10000);
        QSettings result(global, QSettings::IniFormat);
        QCOMPARE(result.value(QStringLiteral("common/deviceCount")).toInt(), held);
        QCOMPARE(result.value(QStringLiteral("0/vid")).toString().toLower(), QStringLiteral("4b43"));
        for (const QString &group : result.childGroups())
            QVERIFY2(group.toInt() >= 0 && group.toInt() < 256, qPrintable(group));
        const auto updated = snapshot(m_user);
        QVERIFY(!prepare().isEmpty());
        QCOMPARE(snapshot(m_user), updated);
    }

    // A start that ended while seeding left a staged copy: it is neither used nor kept, and the
    // folder is seeded whole. A seed whose start still runs is left alone.
    void interruptedSeedIsNotTakenAsWhole()
    {
        QProcess ended;
        ended.start(QStringLiteral("true"));
        QVERIFY(ended.waitForFinished());
        const QString stale = QStringLiteral("%1/.seed-%2-AbCdEf").arg(m_user).arg(ended.processId());
        writeFile(stale + QStringLiteral("/modules/setting/p1.bin"), "[mouse]\nreportRate=");
        const QString running = m_user + QStringLiteral("/.seed-1-XyZabc");
        QVERIFY(QDir().mkpath(running));

        QString error;
        QVERIFY2(!prepare(&error).isEmpty(), qPrintable(error));
        QVERIFY(!QFileInfo::exists(stale));
        QVERIFY(QFileInfo(running).isDir());
        QCOMPARE(snapshot(m_user + QStringLiteral("/modules")).value(QStringLiteral("setting/p1.bin")),
                 snapshot(m_prefix + QStringLiteral("/modules")).value(QStringLiteral("setting/p1.bin")));

        // A folder seeded whole but with a file lost later gets that file back.
        QVERIFY(QFile::remove(user(QStringLiteral("setting/p3.bin"))));
        QVERIFY(!prepare().isEmpty());
        QVERIFY(QFile::exists(user(QStringLiteral("setting/p3.bin"))));
    }

    void unwritableHomeIsAnErrorNotAHalfSeed()
    {
        // A file where a folder should be stops even root.
        const QString blocked = m_tmp.path() + QStringLiteral("/blocked-home");
        writeFile(blocked, "not a folder");
        QString error;
        QVERIFY(UserInstallation::prepare(m_prefix, blocked + QStringLiteral("/kestral-config"), &error)
                    .isEmpty());
        QVERIFY2(error.contains(blocked), qPrintable(error));

        if (!SmallDisk::canMount())
            QSKIP("this process cannot mount a small disk of its own (needs root)");
        const QString home = QFileInfo(m_user).path();
        {
            SmallDisk disk(home, 256);
            QVERIFY(disk.isMounted());
            QVERIFY(disk.makeReadOnly());
            QVERIFY(prepare(&error).isEmpty());
            QVERIFY2(error.contains(QStringLiteral("Read-only")), qPrintable(error));
        }
        SmallDisk disk(home, 256);
        QVERIFY(disk.isMounted());
        QVERIFY(disk.fill(16 * 1024));
        QVERIFY(prepare(&error).isEmpty());
        QVERIFY2(!error.isEmpty(), "a full disk must not pass as seeded");
        QVERIFY(!QFileInfo::exists(m_user + QStringLiteral("/modules")));
        QCOMPARE(QDir(m_user).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());

        // With room again it seeds; an update that finds the disk full leaves the user's files whole.
        disk.free();
        QVERIFY2(!prepare(&error).isEmpty(), qPrintable(error));
        const auto seeded = snapshot(m_user);
        setIniValue(installed(QStringLiteral("setting/p1.bin")), QStringLiteral("mouse/angleSnap"), 1);
        QVERIFY(disk.fill());
        QVERIFY(prepare(&error).isEmpty());
        QVERIFY2(error.contains(QStringLiteral("p1.bin")), qPrintable(error));
        disk.free();
        QCOMPARE(snapshot(m_user), seeded);
    }

    void buildCopyWorksBesideItsExecutable()
    {
        QFile::remove(m_prefix + QLatin1Char('/') + UserInstallation::markerFileName());
        QVERIFY(!UserInstallation::isInstalledCopy(m_prefix));
        QCOMPARE(prepare(), QDir(m_prefix).canonicalPath());
        QVERIFY(!QFileInfo::exists(m_user));
    }

    void userFolderFollowsXdgDataHome()
    {
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", "/srv/data");
        QCOMPARE(UserInstallation::userFolder(), QStringLiteral("/srv/data/kestral-config"));
        // Relative values are to be ignored.
        qputenv("XDG_DATA_HOME", "relative/data");
        QCOMPARE(UserInstallation::userFolder(),
                 QDir::homePath() + QStringLiteral("/.local/share/kestral-config"));
        qputenv("XDG_DATA_HOME", saved);
    }
};

SMALL_DISK_TEST_MAIN(TestUserInstallation)

#include "tst_user_installation.moc"
