// The unchanged program's instance lock and socket, with the virtual mouse preloaded: a lock file
// left without an owner, and a crowd of connections held open against a low descriptor limit.
#include "AppTestSupport.h"
#include "platform/SingleInstance.h"

#include <QLocalSocket>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

class TestBinaryInstance : public QObject
{
    Q_OBJECT

private:
    struct Run
    {
        TempInstallation inst;
        QProcess process;
        QString output;
        QString executable() const { return QFileInfo(inst.path() + "/kestral-config").canonicalFilePath(); }
        // The instance is named after the folder the program works in.
        QString folder() const { return QFileInfo(executable()).path(); }
    };

    // Installs a copy of the program; start() runs it, with at most maxFiles descriptors when given.
    std::unique_ptr<Run> install()
    {
        auto run = std::make_unique<Run>();
        if (!run->inst.isValid() ||
            !run->inst.addExecutable(QStringLiteral(KC_INSTALLATION_DIR "/kestral-config")))
            return nullptr;
        return run;
    }
    void start(Run &run, rlim_t maxFiles = 0)
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("QT_QPA_PLATFORM", "offscreen");
        e.insert("KC_VIRTUAL_MOUSE_LIB", KC_VIRTUAL_MOUSE_LIB);
        e.insert("XDG_RUNTIME_DIR", runtimeDir.path());
        run.process.setProcessEnvironment(e);
        run.process.setProcessChannelMode(QProcess::MergedChannels);
        if (maxFiles) {
            run.process.setChildProcessModifier([maxFiles] {
                const rlimit limit{maxFiles, maxFiles};
                ::setrlimit(RLIMIT_NOFILE, &limit);
            });
        }
        run.process.start(QStringLiteral(KC_SOURCE_DIR "/tools/with-virtual-mouse"), {run.executable()});
    }

    // Waits until the scene has started (its first read of the active profile is logged).
    static bool waitForScene(Run &run)
    {
        for (int i = 0; i < 300; ++i) {
            run.process.waitForReadyRead(50);
            run.output += QString::fromLocal8Bit(run.process.readAll());
            if (run.output.contains("profileNo"))
                return true;
            if (run.process.state() == QProcess::NotRunning)
                return false;
        }
        return false;
    }

    static int terminate(Run &run)
    {
        ::kill(pid_t(run.process.processId()), SIGTERM);
        if (!run.process.waitForFinished(10000))
            return -1;
        return run.process.exitStatus() == QProcess::NormalExit ? run.process.exitCode() : -2;
    }

    QTemporaryDir runtimeDir;

private slots:
    void initTestCase()
    {
        if (!QFileInfo::exists(QStringLiteral(KC_INSTALLATION_DIR "/kestral-config")))
            QSKIP("the program is not built");
        QVERIFY(runtimeDir.isValid());
        ::chmod(QFile::encodeName(runtimeDir.path()).constData(), 0700);
    }

    // An empty lock file (a copy that died between creating and writing it) no longer stops every start.
    void emptyLockFileIsTakenOver()
    {
        auto run = install();
        QVERIFY(run);
        QFile lock(SingleInstance(run->folder(), runtimeDir.path()).lockPath());
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.close();
        start(*run);
        QVERIFY2(waitForScene(*run), qPrintable(run->output));
        QCOMPARE(terminate(*run), 0);
    }

    // With 128 descriptors, many more connections held open than the program could accept: it keeps
    // few of them, and its socket stays there for the next start.
    void crowdOfConnectionsLeavesTheSocket()
    {
        auto run = install();
        QVERIFY(run);
        start(*run, 128);
        QVERIFY2(waitForScene(*run), qPrintable(run->output));
        const QString path = SingleInstance::socketPathFor(run->folder(), runtimeDir.path());
        std::vector<std::unique_ptr<QLocalSocket>> crowd;
        for (int i = 0; i < 200; ++i) {
            crowd.push_back(std::make_unique<QLocalSocket>());
            crowd.back()->connectToServer(path);
            crowd.back()->waitForConnected(1000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(
            QDir(QStringLiteral("/proc/%1/fd").arg(run->process.processId())).count() < 100, 10000);
        QLocalSocket next;
        next.connectToServer(path);
        QVERIFY2(next.waitForConnected(2000), qPrintable(next.errorString()));
        QCOMPARE(run->process.state(), QProcess::Running);
        QCOMPARE(terminate(*run), 0);
    }
};

QTEST_GUILESS_MAIN(TestBinaryInstance)
#include "tst_binary_instance.moc"
