// An installed copy started the way the desktop starts it: the install rules put into a DESTDIR, the
// desktop entry's Exec run on a private X server with the virtual mouse, a fresh home. The first start
// seeds the user's folder and never writes to the installed tree; the next start reuses the folder,
// gains what newer defaults add, and a further start hands over to the running copy.
#include "AppTestSupport.h"
#include "Command.h"
#include "platform/SingleInstance.h"

#include <QDirIterator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/stat.h>

namespace {

// Every file and folder below root with its content and time, to prove nothing was written there.
QMap<QString, QString> treeState(const QString &root)
{
    QMap<QString, QString> state;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QString value = info.lastModified().toString(Qt::ISODateWithMs);
        QFile f(path);
        if (info.isFile() && !info.isSymLink() && f.open(QIODevice::ReadOnly))
            value += QString::fromLatin1(f.readAll().toHex());
        state.insert(QDir(root).relativeFilePath(path), value);
    }
    return state;
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    std::unique_ptr<PrivateXServer> m_x;
    QString m_root; // DESTDIR
    QString m_app;  // <DESTDIR>/usr/lib/kestral-config
    QString m_home;
    QString m_runtime;
    QStringList m_exec; // the desktop entry's command, resolved against the installed bin folder

    QString userFolder() const { return m_home + QStringLiteral("/.local/share/kestral-config"); }
    QString user(const QString &relative) const
    {
        return userFolder() + QStringLiteral("/modules/") + relative;
    }

    std::unique_ptr<QProcess> start()
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.remove(QStringLiteral("XDG_DATA_HOME")); // the default below HOME
        e.insert(QStringLiteral("HOME"), m_home);
        e.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime);
        e.insert(QStringLiteral("DISPLAY"), m_x->display());
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        e.insert(QStringLiteral("KC_VIRTUAL_MOUSE_LIB"), QStringLiteral(KC_VIRTUAL_MOUSE_LIB));
        e.insert(QStringLiteral("PATH"),
                 m_root + QStringLiteral("/usr/bin:") + e.value(QStringLiteral("PATH")));
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(e);
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(QStringLiteral(KC_SOURCE_DIR "/tools/with-virtual-mouse"), m_exec);
        p->waitForStarted();
        return p;
    }

    // Until the program shows a window on the private server (or ends).
    bool waitForWindow(QProcess &p)
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("DISPLAY"), m_x->display());
        const QStringList args{QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                               QStringLiteral("--pid"), QString::number(p.processId())};
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 40000 && p.state() == QProcess::Running) {
            const CommandResult r = runCommand(QStringLiteral("xdotool"), args, e, 5000);
            if (r.code == 0 && !r.output.trimmed().isEmpty())
                return true;
            p.waitForFinished(100);
        }
        return false;
    }

    static int terminate(QProcess &p)
    {
        ::kill(pid_t(p.processId()), SIGTERM);
        if (!p.waitForFinished(15000))
            return -1;
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    }

private slots:
    void initTestCase()
    {
        for (const char *tool : {"Xvfb", "xdotool"}) {
            if (!hasCommand(QLatin1String(tool)))
                QSKIP(qPrintable(QStringLiteral("%1 is not installed (scripts/install-deps.sh)").arg(tool)));
        }
        QVERIFY(m_tmp.isValid());
        m_root = m_tmp.filePath(QStringLiteral("root"));
        m_app = m_root + QStringLiteral("/usr/lib/kestral-config");
        m_home = m_tmp.filePath(QStringLiteral("home"));
        m_runtime = m_tmp.filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkpath(m_home) && QDir().mkpath(m_runtime));
        ::chmod(QFile::encodeName(m_runtime).constData(), 0700);

        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("DESTDIR"), m_root);
        const CommandResult installed =
            runCommand(QStringLiteral("cmake"),
                       {QStringLiteral("--install"), QStringLiteral(KC_BINARY_DIR),
                        QStringLiteral("--prefix"), QStringLiteral("/usr")},
                       e);
        QVERIFY2(installed.code == 0, qPrintable(installed.output));

        const QStringList entries =
            QDir(m_root + QStringLiteral("/usr/share/applications")).entryList({QStringLiteral("*.desktop")});
        QCOMPARE(entries.size(), 1);
        QSettings entry(m_root + QStringLiteral("/usr/share/applications/") + entries.first(),
                        QSettings::IniFormat);
        // Field codes (%f, %U, …) stand for files to open; none are given here.
        for (const QString &word : entry.value(QStringLiteral("Desktop Entry/Exec"))
                                       .toString()
                                       .split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!word.startsWith(QLatin1Char('%')))
                m_exec << word;
        }
        QVERIFY(!m_exec.isEmpty());
        m_exec[0] = QStandardPaths::findExecutable(m_exec[0], {m_root + QStringLiteral("/usr/bin")});
        QVERIFY2(!m_exec[0].isEmpty(), "the desktop entry's program is not in the installed bin folder");

        m_x = std::make_unique<PrivateXServer>();
        QVERIFY2(m_x->isRunning(), "no private X server");
    }

    void firstStartSeedsTheUsersFolder()
    {
        const auto installedBefore = treeState(m_root);
        auto program = start();
        QVERIFY2(waitForWindow(*program), qPrintable(QString::fromLocal8Bit(program->readAll())));

        for (const QString &file : QDir(m_app + QStringLiteral("/modules/setting")).entryList(QDir::Files))
            QVERIFY2(QFile::exists(user(QStringLiteral("setting/") + file)), qPrintable(file));
        QVERIFY(QFileInfo(user(QStringLiteral("macro"))).isDir());
        // The instance belongs to the user's folder, not to the executable.
        QVERIFY(
            QFileInfo::exists(SingleInstance::socketPathFor(QDir(userFolder()).canonicalPath(), m_runtime)));

        QCOMPARE(terminate(*program), 0);
        QCOMPARE(treeState(m_root), installedBefore);
    }

    void nextStartReusesAndGainsNewDefaults()
    {
        QVERIFY(QFileInfo(user(QStringLiteral("setting/p2.bin"))).isFile());
        {
            QSettings mine(user(QStringLiteral("setting/p2.bin")), QSettings::IniFormat);
            mine.setValue(QStringLiteral("mouse/reportRate"), 1);
        }
        // As a newer version of the package would: a key the user's copy lacks.
        {
            QSettings newer(m_app + QStringLiteral("/modules/setting/p1.bin"), QSettings::IniFormat);
            newer.setValue(QStringLiteral("mouse/angleSnap"), 1);
        }
        const auto installedBefore = treeState(m_root);

        auto program = start();
        QVERIFY2(waitForWindow(*program), qPrintable(QString::fromLocal8Bit(program->readAll())));
        QCOMPARE(QSettings(user(QStringLiteral("setting/p1.bin")), QSettings::IniFormat)
                     .value(QStringLiteral("mouse/angleSnap"))
                     .toInt(),
                 1);
        QCOMPARE(QSettings(user(QStringLiteral("setting/p2.bin")), QSettings::IniFormat)
                     .value(QStringLiteral("mouse/reportRate"))
                     .toInt(),
                 1);
        QCOMPARE(QDir(userFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("modules")});

        // Another start of the same user hands over and ends.
        auto second = start();
        QVERIFY(second->waitForFinished(20000));
        QCOMPARE(second->exitCode(), 1);

        QCOMPARE(terminate(*program), 0);
        QCOMPARE(treeState(m_root), installedBefore);
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
