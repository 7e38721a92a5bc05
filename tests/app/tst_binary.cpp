// The unchanged application binary with the virtual mouse preloaded: the start-up transcript of each
// family, the second start, SIGTERM, and the scene-graph backend it draws with.
#include "AppTestSupport.h"

#include <QImage>
#include <QProcess>
#include <QSet>
#include <QtTest>

#include <csignal>

class TestBinary : public QObject
{
    Q_OBJECT

private:
    struct Run
    {
        std::unique_ptr<TempInstallation> inst;
        std::unique_ptr<QProcess> process;
        QString transcript;
        QString output;
    };

    // Starts a copy of the program in its own installation, with the mouse configured by env, and
    // the request holder preloaded in front of the mouse when `holdDir` is given (HoldRequest.c).
    std::unique_ptr<Run> start(const QList<QPair<QString, QVariant>> &settings, const QStringList &env,
                               const QString &holdDir = QString())
    {
        auto run = std::make_unique<Run>();
        run->inst = std::make_unique<TempInstallation>();
        if (!run->inst->isValid() ||
            !run->inst->addExecutable(QStringLiteral(KC_INSTALLATION_DIR "/kestral-config")))
            return nullptr;
        run->inst->setGlobal(settings);
        run->transcript = run->inst->path() + "/transcript.jsonl";
        run->process = std::make_unique<QProcess>();
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.remove("QT_QUICK_BACKEND");
        e.remove("QSG_RHI_BACKEND");
        e.insert("QT_QPA_PLATFORM", "offscreen");
        e.insert("KC_VIRTUAL_MOUSE_LIB", KC_VIRTUAL_MOUSE_LIB);
        e.insert("VIRTUAL_MOUSE_TRANSCRIPT", run->transcript);
        e.insert("XDG_RUNTIME_DIR", runtimeDir.path());
        for (const QString &kv : env)
            e.insert(kv.section('=', 0, 0), kv.section('=', 1));
        run->process->setProcessEnvironment(e);
        run->process->setProcessChannelMode(QProcess::MergedChannels);
        run->process->setWorkingDirectory(QDir::tempPath()); // the program finds its own folder
        QStringList command{run->inst->path() + "/kestral-config"};
        if (!holdDir.isEmpty()) {
            e.insert("KC_HOLD_DIR", holdDir);
            run->process->setProcessEnvironment(e);
            // Its hidapi function has to come before the mouse's, behind any sanitizer runtime.
            command = QStringList{"/bin/sh", "-c",
                                  "LD_PRELOAD=$(printf %s \"$LD_PRELOAD\" | sed "
                                  "\"s|[^:]*libkc_virtual_mouse[^:]*|$1:&|\"); "
                                  "export LD_PRELOAD; exec \"$2\"",
                                  "sh", QStringLiteral(KC_HOLD_REQUEST_LIB)} +
                      command;
        }
        run->process->start(QStringLiteral(KC_SOURCE_DIR "/tools/with-virtual-mouse"), command);
        return run;
    }

    // Whether the screen's top-left 1024 x 640 (where the window opens without a window manager) shows
    // more than a few colours, i.e. a drawn scene rather than a black or empty window.
    static bool windowShowsScene(const QString &display, const QString &picture)
    {
        QProcess grab;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("QT_QPA_PLATFORM", "xcb");
        e.insert("DISPLAY", display);
        grab.setProcessEnvironment(e);
        grab.start(QStringLiteral(KC_INSTALLATION_DIR "/kc-screenshot"), {picture});
        if (!grab.waitForFinished(10000) || grab.exitCode() != 0)
            return false;
        const QImage image(picture);
        QSet<QRgb> colours;
        for (int y = 0; y < qMin(640, image.height()); y += 4) {
            for (int x = 0; x < qMin(1024, image.width()); x += 4)
                colours.insert(image.pixel(x, y));
        }
        return colours.size() > 16;
    }

    // Waits until the scene has started (its first read of the active profile is logged).
    bool waitForScene(Run &run)
    {
        for (int i = 0; i < 300; ++i) {
            run.process->waitForReadyRead(50);
            run.output += QString::fromLocal8Bit(run.process->readAll());
            if (run.output.contains("profileNo"))
                return true;
            if (run.process->state() == QProcess::NotRunning)
                return false;
        }
        return false;
    }

    int terminate(Run &run)
    {
        ::kill(pid_t(run.process->processId()), SIGTERM);
        if (!run.process->waitForFinished(10000))
            return -1;
        run.output += QString::fromLocal8Bit(run.process->readAll());
        return run.process->exitStatus() == QProcess::NormalExit ? run.process->exitCode() : -2;
    }

    // Whether a signal sent to the process is still waiting to be taken by one of its threads.
    static bool signalPending(qint64 pid, int number)
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (!status.open(QIODevice::ReadOnly))
            return false;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("ShdPnd:") || line.startsWith("SigPnd:")) {
                if (line.mid(7).trimmed().toULongLong(nullptr, 16) & (1ULL << (number - 1)))
                    return true;
            }
        }
        return false;
    }

    QTemporaryDir runtimeDir;
    std::unique_ptr<PrivateXServer> xServer;

private slots:
    void initTestCase()
    {
        if (!QFileInfo::exists(QStringLiteral(KC_INSTALLATION_DIR "/kestral-config")))
            QSKIP("the program is not built");
        QVERIFY(runtimeDir.isValid());
    }

    void startUpTranscript_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("encode");
        QTest::addColumn<bool>("gun");
        QTest::addColumn<QList<int>>("commands");
        // Probe, keyboard option read and write, profile reads, then the scene's own reads.
        QTest::newRow("553 scrambling") << "553" << true << true << QList<int>();
        QTest::newRow("560 with gun")
            << "560" << false << true
            << QList<int>({0x00, 0x81, 0x01, 0x8C, 0x8C, 0x8C, 0x8C, 0x8C, 0x82, 0x84});
        QTest::newRow("560 without gun")
            << "560" << false << false << QList<int>({0x00, 0x81, 0x01, 0x8C, 0x8C, 0x82, 0x84});
    }
    void startUpTranscript()
    {
        QFETCH(QString, family);
        QFETCH(bool, encode);
        QFETCH(bool, gun);
        QFETCH(QList<int>, commands);
        auto run = start({{"mouse/icType", family}, {"mouse/isGun", gun}, {"0/isEncode", encode}},
                         {"VIRTUAL_MOUSE_FAMILY=" + family,
                          QStringLiteral("VIRTUAL_MOUSE_ENCODE=") + (encode ? "1" : "0")});
        QVERIFY(run);
        QVERIFY2(waitForScene(*run), qPrintable(run->output));
        // The scene's device reads follow its start; the last of them is the current DPI stage.
        // Scrambled reports carry no readable command byte: there, wait for the listener's first read.
        auto listened = [&] {
            for (const HidCall &c : hidCallsFromFile(run->transcript)) {
                if (c.fn == "hid_read_timeout" && c.path == "/dev/hidraw-virtual-1")
                    return true;
            }
            return false;
        };
        if (encode)
            QTRY_VERIFY_WITH_TIMEOUT(listened(), 10000);
        else
            QTRY_VERIFY_WITH_TIMEOUT(sentCommands(hidCallsFromFile(run->transcript)).contains(0x84), 10000);
        QCOMPARE(terminate(*run), 0);
        QVERIFY2(run->output.contains("Device Connect"), qPrintable(run->output));
        QVERIFY(!run->output.contains("Device DisConnect"));

        const QList<HidCall> calls = hidCallsFromFile(run->transcript);
        QVERIFY(!calls.isEmpty());
        QCOMPARE(calls.first().fn, QStringLiteral("hid_enumerate"));
        if (encode)
            return; // accepted and listened to (above)
        QCOMPARE(sentCommands(calls), commands);
        QList<int> profiles;
        for (const QByteArray &r : sentReports(calls, 0x8C))
            profiles << quint8(r.at(2));
        QCOMPARE(profiles, gun ? QList<int>({0, 1, 2, 3, 4}) : QList<int>({0, 1}));
    }

    void secondStartExitsWithOne()
    {
        auto first = start({}, {});
        QVERIFY(first);
        QVERIFY2(waitForScene(*first), qPrintable(first->output));

        // The same installation started again, from another working directory.
        QProcess second;
        QProcessEnvironment e = first->process->processEnvironment();
        e.insert("VIRTUAL_MOUSE_TRANSCRIPT", first->inst->path() + "/second.jsonl");
        second.setProcessEnvironment(e);
        second.setWorkingDirectory(QDir::homePath());
        second.start(QStringLiteral(KC_SOURCE_DIR "/tools/with-virtual-mouse"),
                     {first->inst->path() + "/kestral-config"});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 1);
        // It touched no device.
        QVERIFY(hidCallsFromFile(first->inst->path() + "/second.jsonl").isEmpty());
        QCOMPARE(terminate(*first), 0);
    }

    // On an X server that offers OpenGL the window is drawn in software unless the person names a
    // backend; either way the window shows the scene, without a compositing manager too.
    void sceneBackend_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<bool>("rhi");
        QTest::newRow("nothing chosen") << QString() << false;
        QTest::newRow("QT_QUICK_BACKEND") << "QT_QUICK_BACKEND=rhi" << true;
        QTest::newRow("QSG_RHI_BACKEND") << "QSG_RHI_BACKEND=opengl" << true;
    }
    void sceneBackend()
    {
        QFETCH(QString, variable);
        QFETCH(bool, rhi);
        if (!xServer)
            xServer = std::make_unique<PrivateXServer>();
        if (!xServer->isRunning())
            QSKIP("no Xvfb");
        QStringList env{"QT_QPA_PLATFORM=xcb", "DISPLAY=" + xServer->display(), "QSG_INFO=1"};
        if (!variable.isEmpty())
            env << variable;
#if defined(__SANITIZE_ADDRESS__)
        // The OpenGL driver is unloaded as the program ends, and what it kept then shows as leaks of an
        // unknown module that no suppression can name. The program's own leaks are checked by the
        // software run.
        if (rhi)
            env << "LSAN_OPTIONS=detect_leaks=0";
#endif
        auto run = start({}, env);
        QVERIFY(run);
        QVERIFY2(waitForScene(*run), qPrintable(run->output));
        const QString picture = run->inst->path() + "/screen.png";
        QTRY_VERIFY_WITH_TIMEOUT(windowShowsScene(xServer->display(), picture), 20000);
        QCOMPARE(terminate(*run), 0);
        // Qt names the graphics API it uses for hardware-style rendering; software rendering says nothing.
        QVERIFY2(run->output.contains("Using QRhi") == rhi, qPrintable(run->output));
    }

    // SIGTERM or SIGINT while the start-up exchanges with the mouse run (held at the keyboard option
    // read, before the first command that lets waiting events through): the program still ends, with 0.
    void terminationDuringStartUpExchanges_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
    void terminationDuringStartUpExchanges()
    {
        QFETCH(int, number);
        QTemporaryDir hold;
        QVERIFY(hold.isValid());
        auto run = start({{"mouse/icType", "560"}, {"mouse/isGun", true}, {"0/isEncode", false}},
                         {"VIRTUAL_MOUSE_FAMILY=560", "KC_HOLD_COMMAND=81"}, hold.path());
        QVERIFY(run);
        QTRY_VERIFY_WITH_TIMEOUT(
            QFileInfo::exists(hold.filePath("held")) || run->process->state() == QProcess::NotRunning, 30000);
        QCOMPARE(run->process->state(), QProcess::Running);
        const qint64 pid = run->process->processId();
        ::kill(pid_t(pid), number);
        QTRY_VERIFY_WITH_TIMEOUT(!signalPending(pid, number), 10000);
        QElapsedTimer sinceRelease;
        sinceRelease.start();
        QVERIFY(QFile(hold.filePath("release")).open(QIODevice::WriteOnly));

        QVERIFY2(run->process->waitForFinished(15000), "the program kept running");
        run->output += QString::fromLocal8Bit(run->process->readAll());
        QCOMPARE(run->process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(run->process->exitCode(), 0);
        qInfo("ended %lld ms after the held request went on", sinceRelease.elapsed());
        // The exchanges under way were finished, not cut off.
        QVERIFY2(run->output.contains("Device Connect"), qPrintable(run->output));
        QCOMPARE(sentReports(hidCallsFromFile(run->transcript), 0x8C).size(), 5);
    }

    void noDeviceStillStartsAndQuits()
    {
        auto run = start({}, {"VIRTUAL_MOUSE_PLUGGED=0"});
        QVERIFY(run);
        QVERIFY2(waitForScene(*run), qPrintable(run->output));
        QVERIFY(run->output.contains("Device DisConnect"));
        QCOMPARE(terminate(*run), 0);
    }
};

QTEST_GUILESS_MAIN(TestBinary)
#include "tst_binary.moc"
