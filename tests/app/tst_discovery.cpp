// The main window's discovery against the virtual mouse: the device table, enumeration and probe,
// acceptance and its consequences per family, device changes, tray gating and notifications.
#include "AppTestSupport.h"
#include "VirtualMouse.h"
#include "Widget.h"
#include "myQQuickView.h"
#include "platform/RecordingDeviceChangeMonitor.h"
#include "platform/RecordingTrayNotifier.h"
#include "platform/RecordingWindowRestorer.h"

#include <QMenu>
#include <QQuickItem>
#include <QtTest>

class TestDiscovery : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempInstallation> inst;
    std::unique_ptr<MessageLog> log;
    RecordingTrayNotifier *tray = nullptr;
    RecordingDeviceChangeMonitor *monitor = nullptr;
    RecordingWindowRestorer *restorer = nullptr;
    std::unique_ptr<Widget> widget;

    Widget &makeWidget()
    {
        Widget::Platform p;
        p.tray = tray = new RecordingTrayNotifier;
        p.deviceChanges = monitor = new RecordingDeviceChangeMonitor;
        p.restorer = restorer = new RecordingWindowRestorer;
        widget = std::make_unique<Widget>(p);
        return *widget;
    }

    void configureMouse(int family, bool encode = false)
    {
        vmouse::Config cfg;
        cfg.family = family;
        cfg.encode = encode;
        vmouse::configure(cfg);
    }

    QList<int> profileReads()
    {
        QList<int> numbers;
        for (const QByteArray &r : sentReports(hidCallsInProcess(), 0x8C))
            numbers << quint8(r.at(2));
        return numbers;
    }

    int opens()
    {
        int n = 0;
        for (const HidCall &c : hidCallsInProcess())
            n += c.fn == QLatin1String("hid_open_path");
        return n;
    }

private slots:
    void init()
    {
        inst = std::make_unique<TempInstallation>();
        QVERIFY(inst->isValid());
        QVERIFY(QDir::setCurrent(inst->path()));
        configureMouse(553);
        isDeviceConnected = false;
        log = std::make_unique<MessageLog>();
    }

    void cleanup()
    {
        widget.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete tray;
        delete monitor;
        delete restorer;
        tray = nullptr;
        monitor = nullptr;
        restorer = nullptr;
        log.reset();
        QDir::setCurrent(QDir::tempPath());
    }

    void noTableMeansNoDevice_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("count 0") << "zero";
        QTest::newRow("count missing") << "missing";
        QTest::newRow("file missing") << "nofile";
    }
    void noTableMeansNoDevice()
    {
        QFETCH(QString, how);
        if (how == "zero")
            inst->setGlobal({{"common/deviceCount", 0}});
        else if (how == "missing")
            inst->removeGlobal("common/deviceCount");
        else
            QVERIFY(QFile::remove(inst->globalSettings()));
        Widget &w = makeWidget();
        vmouse::clearTranscript();
        w.checkDevice();
        QCOMPARE(log->count("Device DisConnect"), 1);
        QCOMPARE(log->count("Device Connect"), 0);
        QVERIFY(!isDeviceConnected);
        QVERIFY(tray->messages.isEmpty());
        QVERIFY(!w.hid().isListening());
        QCOMPARE(opens(), 0);
        // The scene starts all the same.
        QTRY_VERIFY(w.view()->rootObject()->isVisible());
    }

    void acceptedDeviceIsListenedTo()
    {
        Widget &w = makeWidget();
        w.checkDevice();
        QCOMPARE(log->count("Device Connect"), 1);
        QVERIFY(isDeviceConnected);
        QVERIFY(w.hid().isListening());
        QCOMPARE(w.hid().currentIndex(), 0);
        QCOMPARE(tray->messages.size(), 1);
        QCOMPARE(tray->messages[0].title, QStringLiteral("Info"));
        QCOMPARE(tray->messages[0].text, QStringLiteral("ORVANTE KESTRAL MOUSE K700 connected"));
        QCOMPARE(tray->messages[0].icon, QSystemTrayIcon::Information);
        QCOMPARE(tray->messages[0].milliseconds, 10000);
        QVERIFY(w.view()->isEnabled());
        // 553: probe, then the keyboard option read and written back with bit 0x40 of byte 4.
        const QList<int> commands = sentCommands(hidCallsInProcess());
        QVERIFY(commands.size() >= 3);
        QCOMPARE(commands.mid(0, 3), QList<int>({0x00, 0x83, 0x03}));
        QCOMPARE(vmouse::state().keyboardOption[3] & 0x40, 0x40);
        QVERIFY(profileReads().isEmpty());
    }

    void scrambledDeviceNeedsTheTableFlag_data()
    {
        QTest::addColumn<bool>("tableSaysEncode");
        QTest::newRow("table scrambles") << true;
        QTest::newRow("table does not") << false;
    }
    void scrambledDeviceNeedsTheTableFlag()
    {
        QFETCH(bool, tableSaysEncode);
        configureMouse(553, true);
        inst->setGlobal({{"0/isEncode", tableSaysEncode}});
        makeWidget().checkDevice();
        QCOMPARE(isDeviceConnected, tableSaysEncode);
        QCOMPARE(log->count(tableSaysEncode ? "Device Connect" : "Device DisConnect"), 1);
        if (tableSaysEncode)
            QCOMPARE(vmouse::state().keyboardOption[3] & 0x40, 0x40);
    }

    void family560ReadsProfiles_data()
    {
        QTest::addColumn<bool>("gun");
        QTest::addColumn<QList<int>>("reads");
        QTest::newRow("with gun") << true << QList<int>({0, 1, 2, 3, 4});
        QTest::newRow("without gun") << false << QList<int>({0, 1});
    }
    void family560ReadsProfiles()
    {
        QFETCH(bool, gun);
        QFETCH(QList<int>, reads);
        configureMouse(560);
        vmouse::FirmwareState s = vmouse::state();
        s.currentProfile = 3; // the scene switches the mouse to profile 1
        s.keyboardOption[0] = 0x01;
        vmouse::setState(s);
        vmouse::clearTranscript();
        inst->setGlobal({{"mouse/icType", "560"}, {"mouse/isGun", gun}});
        Widget &w = makeWidget();
        w.checkDevice();
        QCOMPARE(log->count("Device Connect"), 1);
        QCOMPARE(profileReads(), reads);
        QCOMPARE(vmouse::state().keyboardOption[0], quint8(0x09));
        // Then the scene's own start-up reads: current profile, the switch to 1, the current DPI.
        QTRY_VERIFY(sentCommands(hidCallsInProcess()).contains(0x84));
        QList<int> commands = sentCommands(hidCallsInProcess());
        QCOMPARE(commands.mid(0, 3), QList<int>({0x00, 0x81, 0x01}));
        commands = commands.mid(3 + reads.size());
        QCOMPARE(commands, QList<int>({0x82, 0x02, 0x84}));
        QCOMPARE(vmouse::state().currentProfile, quint8(1));
    }

    void firstAnsweringEntryInTableOrderWins()
    {
        // Two rows for the same mouse: only the first is probed and accepted.
        inst->setGlobal({{"common/deviceCount", 2},
                         {"1/vid", "4b43"},
                         {"1/pid", "0001"},
                         {"1/usagePage", "ff00"},
                         {"1/usage", "0xff00"},
                         {"1/usagePage2", "ff01"},
                         {"1/usage2", "ff01"}});
        Widget &w = makeWidget();
        vmouse::clearTranscript();
        w.checkDevice();
        QCOMPARE(w.hid().currentIndex(), 0);
        QCOMPARE(sentReports(hidCallsInProcess(), 0x00).size(), 1);

        // A first row whose device is absent is skipped without a probe.
        inst->setGlobal({{"0/pid", "0099"}});
        w.hid().stopListen();
        vmouse::clearTranscript();
        w.checkDevice();
        QCOMPARE(w.hid().currentIndex(), 1);
        QCOMPARE(w.hid().deviceList().at(0).path, QString());
        QCOMPARE(sentReports(hidCallsInProcess(), 0x00).size(), 1);
    }

    void lastMatchingInterfaceWins()
    {
        vmouse::Config cfg;
        cfg.usagePage2 = cfg.usagePage;
        cfg.usage2 = cfg.usage;
        vmouse::configure(cfg);
        inst->setGlobal({{"0/usagePage2", "ff00"}, {"0/usage2", "ff00"}});
        Widget &w = makeWidget();
        w.checkDevice();
        const DeviceEntry e = w.hid().deviceList().at(0);
        QCOMPARE(e.path, QStringLiteral("/dev/hidraw-virtual-1"));
        QCOMPARE(e.path2, QStringLiteral("/dev/hidraw-virtual-1"));
    }

    void entryWithoutCommandInterfaceIsSkipped()
    {
        inst->setGlobal({{"0/usagePage", "1234"}});
        Widget &w = makeWidget();
        vmouse::clearTranscript();
        w.checkDevice();
        QCOMPARE(w.hid().deviceList().at(0).path, QString());
        QCOMPARE(w.hid().deviceList().at(0).path2, QStringLiteral("/dev/hidraw-virtual-1"));
        QCOMPARE(log->count("Device DisConnect"), 1);
        QCOMPARE(opens(), 0);
    }

    void tableValues()
    {
        inst->setGlobal({{"common/deviceCount", 3},
                         {"0/vid", "0x4B43"},
                         {"0/pid", "zz"},
                         {"0/reportLength", 64},
                         {"0/isEncode", "true"},
                         {"0/sCode", "123456"},
                         {"1/type", "1"},
                         {"1/usage", "1ff01"}});
        inst->removeGlobal("0/type");
        const DeviceList list = Widget::readDeviceTable(inst->globalSettings());
        QCOMPARE(list.size(), 3);
        QCOMPARE(list[0].type, -1);
        QCOMPARE(list[0].vid, quint16(0x4B43));
        QCOMPARE(list[0].pid, quint16(0));
        QCOMPARE(list[0].reportLength, 64);
        QVERIFY(list[0].isEncode);
        QCOMPARE(list[0].sCode, QStringLiteral("123456"));
        QCOMPARE(list[1].type, 1);
        QCOMPARE(list[1].usage, quint16(0xFF01)); // low 16 bits
        QCOMPARE(list[2].reportLength, 32);
        QCOMPARE(list[2].sCode, QStringLiteral("739105"));
        QVERIFY(!list[2].isEncode);

        // A corrupt count does not stall discovery.
        inst->setGlobal({{"common/deviceCount", 2000000000}});
        QCOMPARE(Widget::readDeviceTable(inst->globalSettings()).size(), Widget::MaxDeviceEntries);
    }

    void burstOfChangesGivesOneDiscovery()
    {
        vmouse::unplug();
        Widget &w = makeWidget();
        w.checkDevice();
        QCOMPARE(w.deviceCheckTimer().interval(), 2048);
        QVERIFY(w.deviceCheckTimer().isSingleShot());
        for (int i = 0; i < 5; ++i)
            monitor->simulateChange();
        QVERIFY(w.deviceCheckTimer().isActive());
        vmouse::plug();
        QTRY_COMPARE_WITH_TIMEOUT(log->count("Device Connect"), 1, 5000);
        QCOMPARE(log->count("Device DisConnect"), 1);
        QVERIFY(tray->messages.size() == 1 && tray->messages[0].text.endsWith(" connected"));
        QVERIFY(w.view()->mouseConnected());
        QCOMPARE(w.trayIcon()->toolTip(), QStringLiteral("ORVANTE KESTRAL MOUSE K700"));

        // While listening, changes are left to the listener.
        monitor->simulateChange();
        QVERIFY(!w.deviceCheckTimer().isActive());

        // Unplugged: the listener notices, and the next change starts a discovery again.
        vmouse::unplug();
        QTRY_COMPARE(log->count("Device removed"), 1);
        // Said plainly, and the window stays usable.
        QTRY_VERIFY(!w.view()->mouseConnected());
        // (after the scene's start-up lock of the discovery)
        QTRY_VERIFY(w.view()->isEnabled());
        QVERIFY(!isDeviceConnected);
        QCOMPARE(tray->messages.last().text, QStringLiteral("ORVANTE KESTRAL MOUSE K700 disconnected"));
        QCOMPARE(w.trayIcon()->toolTip(), QStringLiteral("ORVANTE KESTRAL MOUSE K700 - No mouse connected"));
        QVERIFY(!w.hid().isListening());
        monitor->simulateChange();
        QVERIFY(w.deviceCheckTimer().isActive());
        w.deviceCheckTimer().stop();
    }

    void trayGating()
    {
        Widget &w = makeWidget();
        w.checkDevice();
        // With or without a mouse: a hidden window could otherwise never be reached again.
        isDeviceConnected = false;
        w.trayIconActivated(QSystemTrayIcon::DoubleClick);
        w.receiveMessage(QString());
        QCOMPARE(restorer->requests.size(), 2);

        isDeviceConnected = true;
        w.trayIconActivated(QSystemTrayIcon::Trigger);
        w.trayIconActivated(QSystemTrayIcon::MiddleClick);
        w.trayIconActivated(QSystemTrayIcon::Context);
        QCOMPARE(restorer->requests.size(), 2);
        w.trayIconActivated(QSystemTrayIcon::DoubleClick);
        w.receiveMessage(QStringLiteral("ignored text"));
        QCOMPARE(restorer->requests.size(), 4);
        QCOMPARE(restorer->requests[0].data(), &w);

        // The icon's own signal is wired to the slot.
        emit w.trayIcon()->activated(QSystemTrayIcon::DoubleClick);
        QCOMPARE(restorer->requests.size(), 5);
    }

    void trayIconAndMenu()
    {
        Widget &w = makeWidget();
        QCOMPARE(w.trayIcon()->toolTip(), QStringLiteral("ORVANTE KESTRAL MOUSE K700"));
        QCOMPARE(w.trayIcon()->contextMenu(), w.trayMenu());
        QCOMPARE(w.trayMenu()->actions().size(), 1);
        QCOMPARE(w.quitAction()->text(), QStringLiteral("Quit (&Q)"));
        QVERIFY(w.trayMenu()->styleSheet().startsWith("QMenu { border: 1px solid rgb(100, 100, 100);"));
        QVERIFY(w.trayMenu()->styleSheet().endsWith("padding-right: 2px; } "));
        QVERIFY(w.trayIcon()->isVisible() || !QSystemTrayIcon::isSystemTrayAvailable());
        // The installation's icon file is read from the working directory.
        QVERIFY(!w.trayIcon()->icon().availableSizes().isEmpty());
    }

    void dpiNotifications()
    {
        Widget &w = makeWidget();
        w.checkDevice();
        tray->messages.clear();
        for (int stage : {3, 0, 9})
            vmouse::sendDpiEvent(quint8(stage));
        QTRY_COMPARE(tray->messages.size(), 3);
        // The stage and its value in the active profile; a stage it does not have by its number.
        const QStringList texts{"DPI stage 3: 1600", "DPI stage 0", "DPI stage 9"};
        for (int i = 0; i < 3; ++i) {
            const auto &m = tray->messages[i];
            QCOMPARE(m.title, QStringLiteral("Info"));
            QCOMPARE(m.text, texts[i]);
            QCOMPARE(m.icon, QSystemTrayIcon::Information);
            QCOMPARE(m.milliseconds, 10000);
        }
        // In the window's language, as the tray menu.
        w.view()->setGlobalData("common/language", "ChineseSimplified");
        vmouse::sendDpiEvent(2);
        QTRY_COMPARE(tray->messages.size(), 4);
        QCOMPARE(tray->messages[3].text, QStringLiteral("DPI 档位 2：800"));
        emit w.trayMenu()->aboutToShow();
        QCOMPARE(w.quitAction()->text(), QStringLiteral("退出 (&Q)"));
    }

    void restoreBringsTheWindowBack()
    {
        Widget &w = makeWidget();
        w.showNormal();
        w.setVisible(false);
        restorer->restore = true;
        isDeviceConnected = true;
        w.receiveMessage(QString());
        QVERIFY(w.isVisible());
        w.showMinimized();
        w.trayIconActivated(QSystemTrayIcon::DoubleClick);
        QVERIFY(!(w.windowState() & Qt::WindowMinimized));
    }

    void quitStopsListeningAndEndsTheLoop()
    {
        Widget &w = makeWidget();
        w.checkDevice();
        QVERIFY(w.hid().isListening());
        int code = -1;
        QTimer::singleShot(0, &w, [&w] { w.quitAction()->trigger(); });
        QEventLoop loop;
        code = loop.exec();
        QCOMPARE(code, 0);
        QVERIFY(!w.hid().isListening());
        QCOMPARE(log->count("Device removed"), 0);
    }

    // With an unsaved edit the tray's Quit shows the window and asks: Cancel keeps the program
    // running, Discard ends it. Last: the quit it asks for ends every event loop after it.
    void quitAsksAboutUnsavedEdits()
    {
        Widget &w = makeWidget();
        w.checkDevice();
        QVERIFY(w.hid().isListening());
        QQuickItem *root = w.view()->rootObject();
        QVERIFY(root);
        QObject *keys = root->findChild<QObject *>("keyMatrixMain");
        QObject *question = root->findChild<QObject *>("unsavedAsk");
        QVERIFY(keys && question);
        keys->setProperty("isSave", true);
        w.quitAction()->trigger();
        QVERIFY(question->property("isOpen").toBool());
        QCOMPARE(restorer->requests.size(), 1);
        QMetaObject::invokeMethod(question, "answer", Q_ARG(QVariant, 2));
        QVERIFY(!question->property("isOpen").toBool());
        QVERIFY(keys->property("isSave").toBool());
        QVERIFY(w.hid().isListening());

        w.quitAction()->trigger();
        QMetaObject::invokeMethod(question, "answer", Q_ARG(QVariant, 1));
        QVERIFY(!keys->property("isSave").toBool());
        QVERIFY(!w.hid().isListening());
    }
};

QTEST_MAIN(TestDiscovery)
#include "tst_discovery.moc"
