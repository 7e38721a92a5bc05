// Profiles that follow the program in front, in-process with real settings files: the stored links
// read from hand-edited and hostile lists, the app-profile commands and their exit codes, and the
// follower's rules (debounce, unsaved edits, open dialogs, own windows, deleted profiles).
#include "AppProfileCommands.h"
#include "AppProfileFollower.h"
#include "AppProfileLinks.h"
#include "AppProfiles.h"
#include "AppTestSupport.h"
#include "ChildProcess.h"
#include "SceneRules.h"
#include "SettingsStore.h"
#include "TempInstallation.h"
#include "VirtualMouse.h"
#include "Widget.h"
#include "myQQuickView.h"
#include "platform/KWinActiveWindowWatcher.h"
#include "platform/RecordingActiveWindowWatcher.h"
#include "platform/RecordingDeviceChangeMonitor.h"
#include "platform/RecordingTrayNotifier.h"
#include "platform/RecordingWindowRestorer.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QQuickItem>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

namespace {

// An installation made the working directory, with profiles 0 "Standard", 2 "Game" and 5 "Work" in
// the list.
class NamedProfiles : public TempInstallation
{
public:
    NamedProfiles() : TempInstallation(Defaults, MakeCurrent)
    {
        QSettings names(path("modules/setting/name.bin"), QSettings::IniFormat);
        names.setValue("profile/profileName", QStringList{"Standard0", "Game2", "Work5"});
    }
};

FocusedProgram window(const QString &className, const QString &instance = QString(),
                      const QString &executable = QString(), quint64 id = 7)
{
    FocusedProgram p;
    p.window = id;
    p.className = className;
    p.instanceName = instance;
    p.executable = executable;
    return p;
}

QString linkText(const QList<AppProfileLinks::Link> &links)
{
    QStringList out;
    for (const AppProfileLinks::Link &l : links)
        out << QStringLiteral("%1=%2").arg(l.program).arg(l.profile);
    return out.join(QLatin1Char(' '));
}

// KWin's scripting service as far as the watcher uses it, answering on its own thread.
class FakeKWinScripting : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Scripting")
public:
    QString script;
    QString plugin;
public slots:
    Q_SCRIPTABLE int loadScript(const QString &path, const QString &name)
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        script = QString::fromUtf8(f.readAll());
        plugin = name;
        return 3;
    }
    Q_SCRIPTABLE bool unloadScript(const QString &) { return true; }
};

class FakeKWinScript : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Script")
public:
    bool ran = false;
public slots:
    Q_SCRIPTABLE void run() { ran = true; }
};

} // namespace

class TestProgramProfiles : public QObject
{
    Q_OBJECT

private slots:
    // Whatever the global file holds, only links to listed profiles with usable names are read, one
    // per program, the first one stored winning.
    void storedListIsReadSafely_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("links");
        QTest::addColumn<int>("defaultProfile");
        QTest::newRow("two links and a default")
            << QByteArray("links=2:xterm, 5:steam_app_1\ndefault=5") << "xterm=2 steam_app_1=5" << 5;
        QTest::newRow("a list of one is a plain text") << QByteArray("links=2:xterm") << "xterm=2" << 0;
        QTest::newRow("a name with a comma and a colon")
            << QByteArray("links=\"2:a,b\", 5:c:d") << "a,b=2 c:d=5" << 0;
        QTest::newRow("profiles not listed, out of range or no number")
            << QByteArray(
                   "links=1:one, 12:twelve, -2:neg, +2:plus, 2e0:exp, x:none, :empty, 2:, 2:ok\ndefault=3")
            << "ok=2" << 0;
        QTest::newRow("the same program twice, in other case")
            << QByteArray("links=2:XTerm, 5:xterm, 5:  other  ") << "XTerm=2 other=5" << 0;
        QTest::newRow("control characters are dropped, an overlong name is no name")
            << QByteArray("links=2:ga\\tme, 5:") + QByteArray(300, 'x') << "game=2" << 0;
        QTest::newRow("not a list") << QByteArray("links=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x1)\ndefault=nan")
                                    << "" << 0;
        QTest::newRow("nothing stored") << QByteArray() << "" << 0;
    }
    void storedListIsReadSafely()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, links);
        QFETCH(int, defaultProfile);
        TempInstallation inst(TempInstallation::Defaults, TempInstallation::MakeCurrent);
        QByteArray global = inst.read("modules/setting/apConfig.bin");
        global += "\n[appProfile]\n" + stored + "\n";
        inst.write("modules/setting/apConfig.bin", global);
        SettingsStore store;
        const AppProfileLinks read(store, {0, 2, 5});
        QCOMPARE(linkText(read.links()), links);
        QCOMPARE(read.defaultProfile(), defaultProfile);
    }

    // A long list is read as far as the limit; a link replaces the program's earlier one, and one more
    // than the limit is refused.
    void listIsBounded()
    {
        TempInstallation inst(TempInstallation::Defaults, TempInstallation::MakeCurrent);
        QStringList many;
        for (int i = 0; i < 200; ++i)
            many << QStringLiteral("2:p%1").arg(i);
        inst.setGlobal(AppProfileLinks::linksKey(), many);
        SettingsStore store;
        AppProfileLinks links(store, {0, 2});
        QCOMPARE(links.links().size(), AppProfileLinks::MaxLinks);
        QVERIFY(!links.set("new", 2));
        QVERIFY(links.set("P3", 0));
        QCOMPARE(links.linkedProfile({"p3"}), 0);
        QCOMPARE(links.links().size(), AppProfileLinks::MaxLinks);
    }

    // The commands as typed, run in turn on one installation: output, exit code, what is stored.
    void commands_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("stored");
        QTest::newRow("list with nothing linked")
            << QStringList{"app-profile list"} << 0 << "(default)\t0 \"Standard\"\n"
            << "";
        QTest::newRow("set by number and by name, then list")
            << QStringList{"app-profile set xterm 2", "app-profile set Steam Work", "app-profile list"} << 0
            << "(default)\t0 \"Standard\"\nxterm\t2 \"Game\"\nSteam\t5 \"Work\"\n"
            << "2:xterm, 5:Steam";
        QTest::newRow("set again moves the link")
            << QStringList{"app-profile set xterm 2", "app-profile set XTERM 5"} << 0
            << "XTERM is linked to profile 5 \"Work\"\n"
            << "5:XTERM";
        QTest::newRow("clear") << QStringList{"app-profile set xterm 2", "app-profile clear xterm"} << 0
                               << "xterm follows the default profile again\n"
                               << "";
        QTest::newRow("clear of a program not linked")
            << QStringList{"app-profile set xterm 2", "app-profile clear vim"} << 2 << ""
            << "2:xterm";
        QTest::newRow("a profile not in the list") << QStringList{"app-profile set xterm 3"} << 2 << ""
                                                   << "";
        QTest::newRow("a blank program") << QStringList{"app-profile|set|  |2"} << 2 << ""
                                         << "";
        QTest::newRow("unknown subcommand") << QStringList{"app-profile show"} << 2 << ""
                                            << "";
        QTest::newRow("missing profile") << QStringList{"app-profile set xterm"} << 2 << ""
                                         << "";
        QTest::newRow("list takes nothing more") << QStringList{"app-profile list all"} << 2 << ""
                                                 << "";
    }
    void commands()
    {
        QFETCH(QStringList, typed);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, stored);
        NamedProfiles inst;
        CommandLine::Result result;
        {
            SettingsStore store;
            SceneRules rules;
            for (const QString &line : typed) {
                const QString separator = line.contains(QLatin1Char('|')) ? "|" : " ";
                const CommandLine::Request request = CommandLine::parse(line.split(separator));
                result = request.command == CommandLine::Command::AppProfile
                             ? AppProfileCommands::carryOut(request, store, rules)
                             : CommandLine::badArguments(request.error);
            }
        }
        QCOMPARE(result.exitCode, code);
        if (code == 0)
            QCOMPARE(result.out, out);
        else
            QVERIFY2(!result.err.isEmpty(), "a refusal says why");
        QSettings global(inst.globalSettings(), QSettings::IniFormat);
        const QVariant v = global.value(AppProfileLinks::linksKey());
        QCOMPARE(v.toStringList().join(QStringLiteral(", ")), stored);
    }

    // A deleted profile takes its links along and stops being the default; a new profile given its
    // number later starts with none. Renaming keeps them (they hold the number).
    void deletedProfileDropsItsLinks()
    {
        NamedProfiles inst;
        SettingsStore store;
        AppProfiles profiles(store);
        QVERIFY(profiles.link("xterm", 2));
        QVERIFY(profiles.link("steam", 5));
        profiles.setDefaultProfile(2);
        {
            QSettings names(inst.path("modules/setting/name.bin"), QSettings::IniFormat);
            names.setValue("profile/profileName", QStringList{"Standard0", "Renamed2", "Work5"});
        }
        QCOMPARE(profiles.profileFor(window("XTerm")), 2);
        profiles.dropProfile(2);
        QCOMPARE(profiles.links().size(), 1);
        QCOMPARE(profiles.defaultProfile(), 0);
        QCOMPARE(profiles.profileFor(window("XTerm")), 0);
        QCOMPARE(profiles.profileFor(window("x", "y", "steam")), 5);
    }

    // When the follower switches: rows of focus changes, "class[/instance/executable]@ms" (ms after
    // the start; changes at the same ms come one right after the other, well within the debounce),
    // with what the window is doing.
    void followerRules_data()
    {
        QTest::addColumn<QStringList>("focus");
        QTest::addColumn<QString>("scene"); // unsaved, dialog, notready, busy-once
        QTest::addColumn<QList<int>>("applied");
        QTest::newRow("linked program") << QStringList{"XTerm@0"} << "" << QList<int>{2};
        QTest::newRow("matched by executable") << QStringList{"Other/other/steam@0"} << "" << QList<int>{5};
        QTest::newRow("unlinked program gets the default back")
            << QStringList{"XTerm@0", "Editor@1000"} << "" << QList<int>{2, 0};
        QTest::newRow("no window in front is unlinked")
            << QStringList{"XTerm@0", "@1000"} << "" << QList<int>{2, 0};
        QTest::newRow("a focus under the debounce switches nothing")
            << QStringList{"XTerm@0", "Editor@0"} << "" << QList<int>{};
        QTest::newRow("passing through linked programs")
            << QStringList{"Editor@0", "XTerm@0", "steam_app@0"} << "" << QList<int>{5};
        QTest::newRow("own window ends the wait") << QStringList{"XTerm@0", "own@0"} << "" << QList<int>{};
        QTest::newRow("unsaved edits") << QStringList{"XTerm@0"} << "unsaved" << QList<int>{};
        QTest::newRow("dialog open") << QStringList{"XTerm@0"} << "dialog" << QList<int>{};
        QTest::newRow("scene not loaded yet") << QStringList{"XTerm@0"} << "notready" << QList<int>{};
        QTest::newRow("a device exchange delays it")
            << QStringList{"XTerm@0"} << "busy-once" << QList<int>{2};
    }
    void followerRules()
    {
        QFETCH(QStringList, focus);
        QFETCH(QString, scene);
        QFETCH(QList<int>, applied);
        NamedProfiles inst;
        SettingsStore store;
        AppProfiles profiles(store);
        QVERIFY(profiles.link("xterm", 2));
        QVERIFY(profiles.link("steam", 5));
        QVERIFY(profiles.link("steam_app", 5));

        AppProfileFollower follower(profiles);
        follower.setDebounce(400);
        int active = 0;
        int busyTimes = scene == "busy-once" ? 1 : 0;
        QList<int> got;
        follower.sceneState = [&] {
            AppProfileFollower::Scene s;
            s.ready = scene != "notready";
            s.unsaved = scene == "unsaved";
            s.dialogOpen = scene == "dialog";
            s.busy = busyTimes-- > 0;
            s.activeProfile = active;
            return s;
        };
        follower.applyProfile = [&](int p) {
            got << p;
            active = p;
        };
        QElapsedTimer clock;
        clock.start();
        for (const QString &step : focus) {
            const QStringList parts = step.split('@');
            while (clock.elapsed() < parts.at(1).toInt())
                QTest::qWait(10);
            const QStringList names = parts.at(0).split('/');
            FocusedProgram p = names.first().isEmpty()
                                   ? FocusedProgram()
                                   : window(names.value(0), names.value(1), names.value(2));
            p.own = names.first() == "own";
            follower.focusChanged(p);
        }
        if (applied.isEmpty()) {
            // Twice the debounce: what would have switched has by then.
            QTest::qWait(800);
            QCOMPARE(got, applied);
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(got, applied, 10000);
        }
    }

    // Nothing linked: no switch at all, whatever comes to the front.
    void nothingLinkedSwitchesNothing()
    {
        NamedProfiles inst;
        SettingsStore store;
        AppProfiles profiles(store);
        AppProfileFollower follower(profiles);
        AppProfileFollower::Scene s;
        s.ready = true;
        s.activeProfile = 2;
        QCOMPARE(follower.decide(window("XTerm"), s), -1);
        QVERIFY(profiles.link("xterm", 5));
        QCOMPARE(follower.decide(window("XTerm"), s), 5);
        QCOMPARE(follower.decide(window("vim"), s), 0);
    }

    // The window's own path: a program in front switches the profile as the title bar does and says so
    // in a balloon (unless turned off); the scene's unsaved edits and open dialogs hold it back.
    void windowSwitchesAndTellsInABalloon()
    {
        NamedProfiles inst;
        vmouse::Config cfg;
        cfg.family = 553;
        vmouse::configure(cfg);
        isDeviceConnected = false;
        RecordingTrayNotifier tray;
        RecordingDeviceChangeMonitor monitor;
        RecordingWindowRestorer restorer;
        RecordingActiveWindowWatcher windows;
        Widget::Platform platform;
        platform.tray = &tray;
        platform.deviceChanges = &monitor;
        platform.restorer = &restorer;
        platform.windows = &windows;
        auto widget = std::make_unique<Widget>(platform);
        widget->checkDevice();
        QQuickItem *root = widget->view()->rootObject();
        QTRY_VERIFY_WITH_TIMEOUT(root->property("isPownOn").toBool() && widget->view()->isEnabled(), 20000);
        QVERIFY(widget->appProfiles()->link("GameClass", 2));
        tray.messages.clear();

        windows.bringToFront(window("GameClass"));
        QTRY_COMPARE_WITH_TIMEOUT(widget->view()->settingsStore().currentProfile(), 2, 20000);
        QTRY_COMPARE(root->findChild<QObject *>("profileMain")->property("profileNo").toInt(), 2);
        QTRY_VERIFY(!tray.messages.isEmpty());
        QCOMPARE(tray.messages.last().text, QString::fromUtf8("Profile “Game” for GameClass"));
        QTRY_VERIFY(widget->view()->isEnabled());

        // A dialog of the window is open: nothing switches.
        QObject *mask = root->findChild<QObject *>("mainMask");
        mask->setProperty("visible", true);
        windows.bringToFront(window("Desk"));
        QTest::qWait(2 * AppProfileFollower::DebounceMs);
        QCOMPARE(widget->view()->settingsStore().currentProfile(), 2);
        mask->setProperty("visible", false);

        // The balloon turned off; the default comes back without one.
        widget->appProfiles()->setBalloons(false);
        const qsizetype told = tray.messages.size();
        windows.bringToFront(window("GameClass"));
        windows.bringToFront(window("Desk"));
        QTRY_COMPARE_WITH_TIMEOUT(widget->view()->settingsStore().currentProfile(), 0, 20000);
        QTRY_VERIFY(widget->view()->isEnabled());
        QCOMPARE(tray.messages.size(), told);

        widget.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // On Plasma's Wayland session: the script KWin is given, and its reports, believed only from KWin.
    void kwinScriptReportsTheWindowInFront()
    {
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            QSKIP("dbus-daemon missing");
        QProcess daemon;
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        QVERIFY(daemon.waitForReadyRead(10000));
        const QString address = QString::fromUtf8(daemon.readLine()).trimmed();

        // KWin on a thread of its own: the watcher waits for its answers.
        QThread kwinThread;
        kwinThread.start();
        FakeKWinScripting scripting;
        FakeKWinScript scriptObject;
        scripting.moveToThread(&kwinThread);
        scriptObject.moveToThread(&kwinThread);
        QDBusConnection kwin = QDBusConnection::connectToBus(address, "kwin");
        QVERIFY(kwin.registerService("org.kde.KWin"));
        QVERIFY(kwin.registerObject("/Scripting", &scripting, QDBusConnection::ExportScriptableSlots));
        QVERIFY(
            kwin.registerObject("/Scripting/Script3", &scriptObject, QDBusConnection::ExportScriptableSlots));

        QDBusConnection ours = QDBusConnection::connectToBus(address, "ours");
        {
            KWinActiveWindowWatcher watcher(ours);
            QVERIFY(watcher.isRunning());
            QVERIFY(scriptObject.ran);
            QCOMPARE(scripting.plugin, QString(KWinActiveWindowWatcher::PluginName));
            QVERIFY(scripting.script.contains("\"" + ours.baseService() + "\""));
            QVERIFY(scripting.script.contains("windowActivated") &&
                    scripting.script.contains("clientActivated"));
            QCOMPARE(watcher.coverage(), ActiveWindowWatcher::Coverage::All);

            QList<FocusedProgram> seen;
            connect(&watcher, &ActiveWindowWatcher::focusChanged, this,
                    [&seen](const FocusedProgram &p) { seen << p; });
            auto report = [&](QDBusConnection &from, const QString &cls) {
                QDBusMessage m = QDBusMessage::createMethodCall(
                    ours.baseService(), "/ActiveWindow", "org.kestralconfig.ActiveWindow", "activated");
                m << cls << QString("steam") << QString("The \x07Game")
                  << int(QCoreApplication::applicationPid())
                  << QString("GameClass\tThe Game\nDesk\tWork\n\tno class");
                from.call(m, QDBus::Block, 5000);
            };
            report(kwin, "GameClass");
            QTRY_COMPARE(seen.size(), 1);
            QCOMPARE(seen[0].className, QString("GameClass"));
            QCOMPARE(seen[0].title, QString("The Game"));
            QVERIFY(seen[0].own); // this test's own process number
            QCOMPARE(watcher.openWindows().size(), 2);
            QCOMPARE(watcher.openWindows().at(1).title, QString("Work"));
            // Anyone else on the bus is not believed.
            QDBusConnection other = QDBusConnection::connectToBus(address, "other");
            report(other, "Impostor");
            QTest::qWait(200);
            QCOMPARE(seen.size(), 1);
            QDBusConnection::disconnectFromBus("other");
        }
        QDBusConnection::disconnectFromBus("ours");
        QDBusConnection::disconnectFromBus("kwin");
        kwinThread.quit();
        kwinThread.wait();
        endChildProcess(daemon);
    }
};

QTEST_MAIN(TestProgramProfiles)
#include "tst_program_profiles.moc"
