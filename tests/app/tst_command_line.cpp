// The command line of the unchanged program against the virtual mouse, with no display: each
// command's bytes on the wire, state against the mouse's memory and the profile files, apply-profile
// sending what the window sends for a profile chosen in it, the hand-over to a running window (which
// then shows the change, and the command-line process never touches the mouse), and the failures.
#include "AppTestSupport.h"
#include "ChildProcess.h"
#include "SmallDisk.h"
#include "platform/SingleInstance.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QSettings>
#include <QtEndian>
#include <QtTest>

#include <csignal>

namespace {

struct Outcome
{
    int code = -1;
    QString out;
    QString err;
};

// The sets and writes the mouse received, as "fn bytes".
QStringList wire(const QList<HidCall> &calls)
{
    QStringList out;
    for (const HidCall &c : calls) {
        if (c.fn == QLatin1String("hid_send_feature_report") || c.fn == QLatin1String("hid_write"))
            out << c.fn + QLatin1Char(' ') + QString::fromLatin1(c.bytes.toHex());
    }
    return out;
}

QJsonObject readJson(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll()).object() : QJsonObject();
}

// Two profiles, the second one active with three of its stages enabled.
void addProfiles(TempInstallation &inst)
{
    writeSettings(inst.path() + "/modules/setting/name.bin",
                  {{"profile/profileName", QStringList{"Standard0", "Game1"}}});
    writeSettings(
        inst.path() + "/modules/setting/p2.bin",
        {{"mouse/dpiValueArray", QStringList{"450", "900", "1350", "1800", "2400", "3000", "3600", "4200"}},
         {"mouse/currentDpiCount", 3},
         {"mouse/reportRate", 2}});
}

QByteArray u32(quint32 v)
{
    char raw[4];
    qToBigEndian(v, raw);
    return QByteArray(raw, 4);
}

// A command request as the command line frames it (app/platform/CopyDataFrame.h), sent straight to
// the running copy's socket; its reply as exit code and standard error, -1 when none came.
QPair<int, QString> askRunningCopy(const QString &runtimeDir, const QStringList &arguments)
{
    QByteArray payload = u32(quint32(arguments.size()));
    for (const QString &a : arguments)
        payload += u32(quint32(a.toUtf8().size())) + a.toUtf8();
    const QStringList sockets = QDir(runtimeDir).entryList({"*.socket"}, QDir::System);
    if (sockets.size() != 1)
        return {-1, QString()};
    QLocalSocket socket;
    socket.connectToServer(runtimeDir + '/' + sockets.first());
    if (!socket.waitForConnected(5000))
        return {-1, QString()};
    socket.write(u32(0x43) + u32(quint32(payload.size())) + payload);
    QByteArray in;
    while (socket.waitForReadyRead(30000) || socket.bytesAvailable())
        in += socket.readAll();
    in += socket.readAll();
    // The acceptance (8 bytes), then kind, length, exit code, standard output, standard error.
    if (in.size() < 8 + 8 + 12 || qFromBigEndian<quint32>(in.constData() + 8) != 0x52)
        return {-1, QString()};
    const int code = qint32(qFromBigEndian<quint32>(in.constData() + 16));
    const quint32 outLength = qFromBigEndian<quint32>(in.constData() + 20);
    const QByteArray err = in.mid(24 + outLength + 4);
    return {code, QString::fromUtf8(err)};
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private:
    // One installation with the program, its private runtime folder and the mouse's files.
    struct Setup
    {
        TempInstallation inst;
        QTemporaryDir dir;
        QProcess window;
        QString windowOutput;
        QString runtime() const { return dir.path() + "/runtime"; }
        QString file(const QString &name) const { return dir.path() + '/' + name; }
    };

    std::unique_ptr<Setup> install(const QString &family = "553", bool gun = true)
    {
        auto s = std::make_unique<Setup>();
        if (!s->inst.isValid() || !s->dir.isValid() ||
            !s->inst.addExecutable(QStringLiteral(KC_INSTALLATION_DIR "/kestral-config")))
            return nullptr;
        QDir(s->dir.path()).mkpath("runtime");
        QFile::setPermissions(s->runtime(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        s->inst.setGlobal({{"mouse/icType", family}, {"mouse/isGun", gun}, {"mouse/profileNo", 0}});
        return s;
    }

    QProcessEnvironment environment(Setup &s, const QString &transcript, const QStringList &extra)
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        // No display of any kind: the commands need none.
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            e.remove(QString::fromLatin1(name));
        e.insert("KC_VIRTUAL_MOUSE_LIB", KC_VIRTUAL_MOUSE_LIB);
        e.insert("VIRTUAL_MOUSE_TRANSCRIPT", s.file(transcript));
        e.insert("VIRTUAL_MOUSE_STATE", s.file(transcript + ".state.json"));
        e.insert("XDG_RUNTIME_DIR", s.runtime());
        e.insert("XDG_DATA_HOME", s.file("data"));
        e.insert("GSETTINGS_BACKEND", "memory");
        for (const QString &kv : extra)
            e.insert(kv.section('=', 0, 0), kv.section('=', 1));
        return e;
    }

    Outcome run(Setup &s, const QStringList &args, const QStringList &env = {},
                const QString &transcript = "cli.jsonl")
    {
        QProcess p;
        p.setProcessEnvironment(environment(s, transcript, env));
        p.setWorkingDirectory(QDir::tempPath()); // the program finds its own folder
        p.start(QStringLiteral(KC_SOURCE_DIR "/tools/with-virtual-mouse"),
                QStringList{s.inst.path() + "/kestral-config"} + args);
        Outcome o;
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return o;
        }
        o.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        o.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        o.err = QString::fromLocal8Bit(p.readAllStandardError());
        return o;
    }

    // The window on the offscreen platform, with the scene probe; waits until its scene has started.
    bool startWindow(Setup &s, const QStringList &env = {})
    {
        QProcessEnvironment e = environment(s, "window.jsonl", env);
        e.insert("QT_QPA_PLATFORM", "offscreen");
        e.insert("VIRTUAL_MOUSE_PRELOAD", KC_SCENE_PROBE_LIB);
        e.insert("KC_SCENE_PROBE_SOCKET", s.file("probe.socket"));
        s.window.setProcessEnvironment(e);
        s.window.setProcessChannelMode(QProcess::MergedChannels);
        s.window.start(QStringLiteral(KC_SOURCE_DIR "/tools/with-virtual-mouse"),
                       {s.inst.path() + "/kestral-config"});
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 60000 && s.window.state() != QProcess::NotRunning) {
            s.window.waitForReadyRead(50);
            s.windowOutput += QString::fromLocal8Bit(s.window.readAll());
            if (s.windowOutput.contains("profileNo") && ask(s, "ready").toBool())
                return true;
        }
        return false;
    }

    void stopWindow(Setup &s)
    {
        if (s.window.state() == QProcess::NotRunning)
            return;
        ::kill(pid_t(s.window.processId()), SIGCONT);
        endChildProcess(s.window, 10000);
    }

    // One request to the scene probe (see tests/e2e/probe/SceneProbe.cpp).
    static QJsonValue ask(Setup &s, const QString &request)
    {
        QLocalSocket socket;
        socket.connectToServer(s.file("probe.socket"));
        if (!socket.waitForConnected(2000))
            return QJsonValue();
        socket.write(request.toUtf8() + '\n');
        QByteArray line;
        while (!line.endsWith('\n') && socket.waitForReadyRead(20000))
            line += socket.readAll();
        return QJsonDocument::fromJson(line).object().value("value");
    }

private slots:
    void initTestCase()
    {
        if (!QFileInfo::exists(QStringLiteral(KC_INSTALLATION_DIR "/kestral-config")))
            QSKIP("the program is not built");
    }

    void helpVersionAndBadArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "/usr/lib/udev/rules.d/70-kestral-config.rules"
                              << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "kestral-config " KC_VERSION "\n"
                                 << "";
        QTest::newRow("unknown command") << QStringList{"stat"} << 2 << ""
                                         << "unknown command \"stat\"";
        QTest::newRow("list with an argument") << QStringList{"list", "x"} << 2 << ""
                                               << "usage:";
        QTest::newRow("no profile given") << QStringList{"apply-profile"} << 2 << ""
                                          << "usage:";
        QTest::newRow("stage 0") << QStringList{"set-dpi-stage", "0"} << 2 << ""
                                 << "no stage number";
        QTest::newRow("stage 9") << QStringList{"set-dpi-stage", "9"} << 2 << ""
                                 << "no stage number";
        QTest::newRow("stage not a number") << QStringList{"set-dpi-stage", "2x"} << 2 << ""
                                            << "no stage number";
        QTest::newRow("stage beyond the profile's") << QStringList{"set-dpi-stage", "5"} << 2 << ""
                                                    << "the active profile has stages 1 to 4";
        QTest::newRow("no such profile") << QStringList{"apply-profile", "Nope"} << 2 << ""
                                         << "no profile \"Nope\"; the profiles are 0 \"Standard\"";
        QTest::newRow("profile name longer than a hand-over takes")
            << QStringList{"apply-profile", QString(300, 'x')} << 2 << ""
            << "no profile \"xxxx";
    }
    void helpVersionAndBadArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        auto s = install();
        QVERIFY(s);
        const Outcome o = run(*s, args);
        QCOMPARE(o.code, code);
        if (out.isEmpty())
            QVERIFY2(o.out.isEmpty(), qPrintable(o.out));
        else
            QVERIFY2(o.out.contains(out), qPrintable(o.out));
        if (err.isEmpty())
            QVERIFY2(o.err.isEmpty(), qPrintable(o.err));
        else
            QVERIFY2(o.err.contains(err), qPrintable(o.err));
        // Nothing was sent to the mouse.
        QVERIFY(wire(hidCallsFromFile(s->file("cli.jsonl")))
                    .filter(QRegularExpression(" 00(0b|04|12|0d|0c)"))
                    .isEmpty());
    }

    void listOpensNothing_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("scrambled");
        QTest::newRow("553 scrambled") << "553" << true;
        QTest::newRow("560") << "560" << false;
    }
    void listOpensNothing()
    {
        QFETCH(QString, family);
        QFETCH(bool, scrambled);
        auto s = install(family);
        QVERIFY(s);
        s->inst.setGlobal({{"0/isEncode", scrambled}});
        const Outcome o = run(*s, {"list"}, {"VIRTUAL_MOUSE_ENCODE=" + QString(scrambled ? "1" : "0")});
        QCOMPARE(o.code, 0);
        QCOMPARE(o.out,
                 QStringLiteral("4b43:0001\tfamily %1\tscrambled %2\tcommand /dev/hidraw-virtual-0\tevents "
                                "/dev/hidraw-virtual-1\n")
                     .arg(family, scrambled ? "yes" : "no"));
        for (const HidCall &c : hidCallsFromFile(s->file("cli.jsonl")))
            QVERIFY2(c.fn != "hid_open_path" && c.fn != "hid_open", qPrintable(c.fn));
    }

    void stateAndStage_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("gun");
        QTest::addColumn<QStringList>("stageWire");
        QTest::newRow("553") << "553" << true << QStringList{"000b030000000000f1"};
        QTest::newRow("560 with gun") << "560" << true << QStringList{"0004010300000000f7"};
        QTest::newRow("560 without gun") << "560" << false
                                         << QStringList{"0004010300000000f7", "0004020300000000f6",
                                                        "0004030300000000f5", "0004040300000000f4"};
    }
    void stateAndStage()
    {
        QFETCH(QString, family);
        QFETCH(bool, gun);
        QFETCH(QStringList, stageWire);
        auto s = install(family, gun);
        QVERIFY(s);
        addProfiles(s->inst);
        s->inst.setGlobal({{"mouse/profileNo", 1}});
        const QString mouse = "VIRTUAL_MOUSE_FAMILY=" + family;

        Outcome o = run(*s, {"state"}, {mouse}, "state.jsonl");
        QCOMPARE(o.code, 0);
        const QJsonObject state = QJsonDocument::fromJson(o.out.toUtf8()).object();
        QCOMPARE(state.value("profileNumber").toInt(), 1);
        QCOMPARE(state.value("profileName").toString(), QString("Game"));
        QCOMPARE(state.value("dpiStages").toArray(), QJsonArray({450, 900, 1350}));
        QCOMPARE(state.value("reportRateHz").toInt(), 500);
        const int active = readJson(s->file("state.jsonl.state.json")).value("currentDpiStage").toInt();
        QVERIFY(active >= 1);
        QCOMPARE(state.value("activeDpiStage").toInt(), active);

        o = run(*s, {"set-dpi-stage", "3"}, {mouse}, "stage.jsonl");
        QCOMPARE(o.code, 0);
        QCOMPARE(o.out, QString("DPI stage 3 (1350 DPI) active\n"));
        QStringList sent;
        for (const QString &w : wire(hidCallsFromFile(s->file("stage.jsonl"))))
            sent << w.section(' ', 1);
        // The probe (00), then the stage command alone.
        QCOMPARE(sent.mid(1), stageWire);
        QCOMPARE(readJson(s->file("stage.jsonl.state.json")).value("currentDpiStage").toInt(), 3);
        // The mouse's memory outlives the process: the next command reads the stage set.
        o = run(*s, {"state"}, {mouse}, "stage.jsonl");
        QCOMPARE(QJsonDocument::fromJson(o.out.toUtf8()).object().value("activeDpiStage").toInt(), 3);

        // Stage 4 is not enabled in this profile.
        o = run(*s, {"set-dpi-stage", "4"}, {mouse}, "refused.jsonl");
        QCOMPARE(o.code, 2);
        QVERIFY2(o.err.contains("stages 1 to 3"), qPrintable(o.err));
        QCOMPARE(wire(hidCallsFromFile(s->file("refused.jsonl"))).size(), 1);
    }

    // The same profile change by the window (its title bar's choice, through the probe) and by the
    // command line, each from the same installation and mouse: the same bytes.
    void applyProfileSendsWhatTheWindowSends_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("which");
        QTest::newRow("553 by name") << "553"
                                     << "Game";
        QTest::newRow("560 by number") << "560"
                                       << "1";
    }
    void applyProfileSendsWhatTheWindowSends()
    {
        QFETCH(QString, family);
        QFETCH(QString, which);
        const QString mouse = "VIRTUAL_MOUSE_FAMILY=" + family;

        auto byWindow = install(family);
        QVERIFY(byWindow);
        addProfiles(byWindow->inst);
        QVERIFY2(startWindow(*byWindow, {mouse}), qPrintable(byWindow->windowOutput));
        const qsizetype before = hidCallsFromFile(byWindow->file("window.jsonl")).size();
        ask(*byWindow, "eval . switchProfile(1)");
        QTRY_COMPARE(ask(*byWindow, "eval . profileMain.profileNo").toInt(), 1);
        const QStringList windowSent = wire(hidCallsFromFile(byWindow->file("window.jsonl")).mid(before));
        stopWindow(*byWindow);
        QVERIFY(windowSent.size() > 10);

        auto byCommand = install(family);
        QVERIFY(byCommand);
        addProfiles(byCommand->inst);
        const Outcome o = run(*byCommand, {"apply-profile", which}, {mouse});
        QCOMPARE(o.code, 0);
        QCOMPARE(o.out, QString("profile 1 \"Game\" applied\n"));
        const QStringList sent = wire(hidCallsFromFile(byCommand->file("cli.jsonl")));
        QVERIFY(sent.size() > windowSent.size());
        QCOMPARE(sent.mid(sent.size() - windowSent.size()), windowSent);
        // The active profile is that one, as after the window's choice.
        QCOMPARE(QSettings(byCommand->inst.globalSettings(), QSettings::IniFormat)
                     .value("mouse/profileNo")
                     .toInt(),
                 1);
    }

    // A 560-family mouse that never sends its profile blocks: nothing built on blocks never read is
    // written, and that is no success.
    void applyProfileWithUnreadMemoryFails()
    {
        auto s = install("560");
        QVERIFY(s);
        addProfiles(s->inst);
        const Outcome o = run(*s, {"apply-profile", "1"},
                              {"VIRTUAL_MOUSE_FAMILY=560", "VIRTUAL_MOUSE_FAULTS=never-answer"});
        QCOMPARE(o.code, 1);
        QVERIFY2(o.err.contains("did not answer the reading of its profile memory"), qPrintable(o.err));
        QVERIFY(wire(hidCallsFromFile(s->file("cli.jsonl"))).filter(QRegularExpression(" 000c")).isEmpty());
    }

    // A running copy that took the command and ended before it answered: a failure, not "busy".
    void commandTakenButNeverAnswered()
    {
        auto s = install();
        QVERIFY(s);
        auto running = std::make_unique<SingleInstance>(QDir(s->inst.path()).canonicalPath(), s->runtime());
        QVERIFY(!running->isRunning());
        QStringList taken;
        connect(running.get(), &InstanceChannel::commandReceived, this,
                [&taken](quint64, const QStringList &arguments) { taken = arguments; });
        QProcess command;
        command.setProcessEnvironment(environment(*s, "cli.jsonl", {}));
        command.start(QStringLiteral(KC_SOURCE_DIR "/tools/with-virtual-mouse"),
                      {s->inst.path() + "/kestral-config", "state"});
        QTRY_COMPARE_WITH_TIMEOUT(taken, QStringList{"state"}, 30000);
        running.reset();
        QTRY_COMPARE_WITH_TIMEOUT(command.state(), QProcess::NotRunning, 30000);
        QCOMPARE(command.exitCode(), 1);
        const QString err = QString::fromLocal8Bit(command.readAllStandardError());
        QVERIFY2(err.contains("took the command but gave no answer"), qPrintable(err));
        QVERIFY(!QFileInfo::exists(s->file("cli.jsonl")));
    }

    // With the window running, each command is carried out by it: the command-line process makes no
    // hidapi call at all, and the window shows the change.
    void runningWindowCarriesOut()
    {
        auto s = install();
        QVERIFY(s);
        addProfiles(s->inst);
        QVERIFY2(startWindow(*s), qPrintable(s->windowOutput));
        const qsizetype before = hidCallsFromFile(s->file("window.jsonl")).size();

        Outcome o = run(*s, {"set-dpi-stage", "2"});
        QCOMPARE(o.code, 0);
        QVERIFY(wire(hidCallsFromFile(s->file("window.jsonl")).mid(before))
                    .contains("hid_send_feature_report 000b020000000000f2"));
        QTRY_COMPARE(ask(*s, "eval dpiSettingMain currentDPI").toInt(), 1);

        o = run(*s, {"state"});
        QCOMPARE(o.code, 0);
        QCOMPARE(QJsonDocument::fromJson(o.out.toUtf8()).object().value("activeDpiStage").toInt(), 2);

        // From the last of four stages to a profile of three: the mouse ends on the third, and says so.
        QCOMPARE(run(*s, {"set-dpi-stage", "4"}).code, 0);
        o = run(*s, {"apply-profile", "Game"});
        QCOMPARE(o.code, 0);
        QCOMPARE(ask(*s, "eval . profileMain.profileNo").toInt(), 1);
        o = run(*s, {"state"});
        QCOMPARE(QJsonDocument::fromJson(o.out.toUtf8()).object().value("activeDpiStage").toInt(), 3);
        QCOMPARE(ask(*s, "eval dpiSettingMain currentDPI").toInt(), 2);
        QCOMPARE(ask(*s, "eval upItem/profileBtn currentText").toString(), QString("Game"));

        o = run(*s, {"list"});
        QCOMPARE(o.code, 0);
        QVERIFY(o.out.startsWith("4b43:0001\t"));

        // Checked by the window as by the command line.
        o = run(*s, {"set-dpi-stage", "4"});
        QCOMPARE(o.code, 2);
        QVERIFY2(o.err.contains("stages 1 to 3"), qPrintable(o.err));
        o = run(*s, {"apply-profile", QString(300, 'x')});
        QCOMPARE(o.code, 2);
        QVERIFY2(o.err.contains("no profile \"xxxx"), qPrintable(o.err));

        QVERIFY(!QFileInfo::exists(s->file("cli.jsonl")));
        stopWindow(*s);
    }

    // A profile handed over while the window holds an unsaved edit waits for the person's answer
    // there: Cancel keeps the edit and applies nothing (exit 1), Discard drops it and applies.
    void handedOverProfileAsksAboutUnsavedEdits()
    {
        auto s = install();
        QVERIFY(s);
        addProfiles(s->inst);
        QVERIFY2(startWindow(*s), qPrintable(s->windowOutput));
        for (const int answer : {2, 1}) {
            ask(*s, "eval . keyMatrixMain.isSave = true");
            QProcess p;
            p.setProcessEnvironment(environment(*s, "cli.jsonl", {}));
            p.setWorkingDirectory(QDir::tempPath());
            p.start(QStringLiteral(KC_SOURCE_DIR "/tools/with-virtual-mouse"),
                    {s->inst.path() + "/kestral-config", "apply-profile", "Game"});
            QTRY_VERIFY_WITH_TIMEOUT(ask(*s, "eval . unsavedAsk.isOpen").toBool(), 30000);
            ask(*s, QStringLiteral("eval . unsavedAsk.answer(%1)").arg(answer));
            QVERIFY(p.waitForFinished(60000));
            const QString err = QString::fromUtf8(p.readAllStandardError());
            if (answer == 2) {
                QCOMPARE(p.exitCode(), 1);
                QVERIFY2(err.contains("unsaved changes were kept"), qPrintable(err));
                QCOMPARE(ask(*s, "eval . profileMain.profileNo").toInt(), 0);
                QVERIFY(ask(*s, "eval . saveBtn.unsaved").toBool());
            } else {
                QVERIFY2(p.exitCode() == 0, qPrintable(err));
                QCOMPARE(ask(*s, "eval . profileMain.profileNo").toInt(), 1);
                QVERIFY(!ask(*s, "eval . saveBtn.unsaved").toBool());
            }
        }
        stopWindow(*s);
    }

    // The running copy checks a request as the command line does and takes one command at a time.
    void runningWindowTakesNoMoreThanTheCommandLine()
    {
        auto s = install();
        QVERIFY(s);
        QVERIFY2(startWindow(*s), qPrintable(s->windowOutput));

        for (const QStringList &request : {QStringList{"reset"}, QStringList{"--help"},
                                           QStringList{"state", "x"}, QStringList{"set-dpi-stage", "-1"}}) {
            const auto reply = askRunningCopy(s->runtime(), request);
            QCOMPARE(reply.first, 2);
            QVERIFY2(reply.second.contains("usage:"), qPrintable(reply.second));
        }

        // A profile takes seconds to send; a second command meanwhile is told the copy is busy.
        const qsizetype before = hidCallsFromFile(s->file("window.jsonl")).size();
        QProcess first;
        first.setProcessEnvironment(environment(*s, "first.jsonl", {}));
        first.start(QStringLiteral(KC_SOURCE_DIR "/tools/with-virtual-mouse"),
                    {s->inst.path() + "/kestral-config", "apply-profile", "0"});
        QTRY_VERIFY_WITH_TIMEOUT(
            !wire(hidCallsFromFile(s->file("window.jsonl")).mid(before)).filter(" 0012").isEmpty(), 30000);
        const Outcome second = run(*s, {"state"});
        QVERIFY(first.waitForFinished(60000));
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.code, 5);
        QVERIFY2(second.err.contains("carrying out another command"), qPrintable(second.err));
        stopWindow(*s);
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("env");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("told");
        // The same answers whether the command line runs alone or the window (with that mouse) runs.
        QTest::addColumn<bool>("window");
        for (bool window : {false, true}) {
            const char *with = window ? ", window running" : "";
            QTest::addRow("no mouse%s", with)
                << QStringList{"VIRTUAL_MOUSE_PLUGGED=0"} << 3 << QStringList{"no mouse found"} << window;
            QTest::addRow("no permission%s", with)
                << QStringList{"VIRTUAL_MOUSE_FAULTS=open-denied"} << 4
                << QStringList{"no permission to open the mouse (/dev/hidraw-virtual-0)",
                               "/usr/lib/udev/rules.d/70-kestral-config.rules",
                               "udev/70-kestral-config.rules"}
                << window;
            QTest::addRow("busy mouse%s", with) << QStringList{"VIRTUAL_MOUSE_FAULTS=open-busy"} << 5
                                                << QStringList{"held by another program"} << window;
            QTest::addRow("no answer%s", with)
                << QStringList{"VIRTUAL_MOUSE_FAULTS=fail:hid_get_feature_report"} << 1
                << QStringList{"does not answer"} << window;
        }
    }
    void failures()
    {
        QFETCH(QStringList, env);
        QFETCH(int, code);
        QFETCH(QStringList, told);
        QFETCH(bool, window);
        auto s = install();
        QVERIFY(s);
        if (window)
            QVERIFY2(startWindow(*s, env), qPrintable(s->windowOutput));
        for (const QStringList &args :
             {QStringList{"state"}, QStringList{"set-dpi-stage", "1"}, QStringList{"apply-profile", "0"}}) {
            const Outcome o = run(*s, args, env);
            QCOMPARE(o.code, code);
            QVERIFY(o.out.isEmpty());
            for (const QString &t : told)
                QVERIFY2(o.err.contains(t), qPrintable(o.err));
        }
        // Nothing but the probe reached the mouse.
        for (const QString &w : wire(hidCallsFromFile(s->file(window ? "window.jsonl" : "cli.jsonl"))))
            QVERIFY2(w.startsWith("hid_send_feature_report 0000"), qPrintable(w));
        QCOMPARE(QFileInfo::exists(s->file("cli.jsonl")), !window);
        stopWindow(*s);
    }

    // An answer of the running copy with a code the command line does not document is no success.
    void oddAnswerOfTheRunningCopyIsAFailure()
    {
        auto s = install();
        QVERIFY(s);
        SingleInstance copy(s->inst.path(), s->runtime());
        QVERIFY(!copy.isRunning());
        QObject::connect(&copy, &InstanceChannel::commandReceived, &copy,
                         [&copy](quint64 id, const QStringList &) { copy.answerCommand(id, 7, "{}", ""); });
        QProcess p;
        p.setProcessEnvironment(environment(*s, "cli.jsonl", {}));
        p.start(QStringLiteral(KC_SOURCE_DIR "/tools/with-virtual-mouse"),
                {s->inst.path() + "/kestral-config", "state"});
        QTRY_VERIFY_WITH_TIMEOUT(p.state() == QProcess::NotRunning, 30000);
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(QString::fromLocal8Bit(p.readAllStandardError()).contains("exit code 7"));
    }

    // A profile sent but not kept as the active one (its settings folder is read-only) is no success.
    void appliedProfileThatCannotBeKept()
    {
        if (!SmallDisk::canMount())
            QSKIP("needs mounts of its own (root)");
        auto s = install();
        QVERIFY(s);
        addProfiles(s->inst);
        const QString folder = s->inst.path() + "/modules/setting";
        QMap<QString, QByteArray> files;
        for (const QFileInfo &f : QDir(folder).entryInfoList(QDir::Files)) {
            QFile file(f.filePath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            files.insert(f.fileName(), file.readAll());
        }
        SmallDisk disk(folder, 1024);
        QVERIFY(disk.isMounted());
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            QFile file(folder + '/' + it.key());
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(it.value()), it.value().size());
        }
        QVERIFY(disk.makeReadOnly());

        const Outcome o = run(*s, {"apply-profile", "Game"});
        QCOMPARE(o.code, 1);
        QVERIFY2(o.err.contains("Your settings cannot be saved"), qPrintable(o.err));
        QVERIFY2(o.err.contains("could not be kept as the active one"), qPrintable(o.err));
        // It was sent all the same.
        QVERIFY(wire(hidCallsFromFile(s->file("cli.jsonl"))).size() > 10);
    }

    // A window started while a command talks to the mouse hands its start to that command's copy,
    // which brings the window up once it is done.
    void windowStartedMeanwhileComesUp()
    {
        auto s = install();
        QVERIFY(s);
        const QStringList offscreen{"QT_QPA_PLATFORM=offscreen"};
        // The command is held at its probe of the mouse (HoldRequest.c) until the window has started.
        QDir(s->dir.path()).mkpath("hold");
        QProcess command;
        command.setProcessEnvironment(
            environment(*s, "cli.jsonl",
                        offscreen + QStringList{"KC_HOLD_COMMAND=00", "KC_HOLD_DIR=" + s->file("hold")}));
        command.start(
            QStringLiteral(KC_SOURCE_DIR "/tools/with-virtual-mouse"),
            {"/bin/sh", "-c",
             "LD_PRELOAD=$(printf %s \"$LD_PRELOAD\" | sed \"s|[^:]*libkc_virtual_mouse[^:]*|$1:&|\"); "
             "export LD_PRELOAD; exec \"$2\" apply-profile 0",
             "sh", QStringLiteral(KC_HOLD_REQUEST_LIB), s->inst.path() + "/kestral-config"});
        // It holds the instance before it first calls the mouse.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(s->file("hold/held")), 30000);

        QProcess window;
        QProcessEnvironment e = environment(*s, "window.jsonl", offscreen);
        window.setProcessEnvironment(e);
        window.start(QStringLiteral(KC_SOURCE_DIR "/tools/with-virtual-mouse"),
                     {s->inst.path() + "/kestral-config"});
        QVERIFY(window.waitForFinished(30000));
        QCOMPARE(window.exitCode(), 1);
        QFile release(s->file("hold/release"));
        QVERIFY(release.open(QIODevice::WriteOnly));
        release.close();
        QVERIFY(command.waitForFinished(60000));
        QCOMPARE(command.exitCode(), 0);

        // A window runs now: a command is carried out by it, touching no mouse of its own.
        int attempt = 0;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                const QString transcript = QStringLiteral("try%1.jsonl").arg(++attempt);
                return run(*s, {"list"}, {}, transcript).code == 0 && !QFileInfo::exists(s->file(transcript));
            }(),
            60000);

        // Ended by the process id its lock names.
        const QStringList locks = QDir(s->runtime()).entryList({"*.lock"});
        QCOMPARE(locks.size(), 1);
        QFile lock(s->runtime() + '/' + locks.first());
        QVERIFY(lock.open(QIODevice::ReadOnly));
        const pid_t pid = pid_t(lock.readLine().trimmed().toLongLong());
        QVERIFY(pid > 0);
        QCOMPARE(::kill(pid, SIGTERM), 0);
        QTRY_VERIFY_WITH_TIMEOUT(::kill(pid, 0) != 0, 20000);
    }

    // A running copy that holds the instance but does not answer (stopped): busy, in bounded time.
    void silentRunningCopyIsBusy()
    {
        auto s = install();
        QVERIFY(s);
        QVERIFY2(startWindow(*s), qPrintable(s->windowOutput));
        ::kill(pid_t(s->window.processId()), SIGSTOP);
        QElapsedTimer clock;
        clock.start();
        const Outcome o = run(*s, {"state"});
        const qint64 took = clock.elapsed();
        ::kill(pid_t(s->window.processId()), SIGCONT);
        QCOMPARE(o.code, 5);
        QVERIFY2(o.err.contains("does not answer"), qPrintable(o.err));
        QVERIFY2(took < 20000, qPrintable(QString::number(took)));
        QVERIFY(!QFileInfo::exists(s->file("cli.jsonl")));
        // Once it runs again it answers.
        QCOMPARE(run(*s, {"list"}).code, 0);
        stopWindow(*s);
    }
};

SMALL_DISK_TEST_MAIN(TestCommandLine)
#include "tst_command_line.moc"
