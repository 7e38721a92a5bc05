// The unchanged program on a Wayland desktop given only the session's variables: with XWayland it
// runs as an X11 client; dragging the title area moves the window on the desktop (the compositor
// moves it: a client's own move is ignored there); keys typed while it has the focus are recorded
// into a macro; with no tray the close button minimises instead of hiding. Without XWayland it runs
// natively, moves the same way and records focused keys through its own window.
#include "Journey.h"
#include "TrayHost.h"

#include <QSettings>
#include <QtTest>

class TestWaylandJourney : public QObject
{
    Q_OBJECT

    std::unique_ptr<Journey> run;

    // Starts the program on a fresh desktop and finds its window there (it covers the desktop's
    // centre wherever the compositor puts it: the window is 1024 × 640 on 1280 × 800).
    void launch(WestonDesktop::Mode mode, const QString &sessionBus = QString())
    {
        run = std::make_unique<Journey>();
        run->useWayland(mode);
        if (!sessionBus.isEmpty())
            run->addEnvironment("DBUS_SESSION_BUS_ADDRESS", sessionBus);
        QVERIFY2(run->launch({{"mouse/icType", "553"}, {"mouse/profileNo", 0}, {"mouse/keyCount", 8}}),
                 qPrintable(run->error()));
        QVERIFY2(run->locateWindow({WestonDesktop::Width / 2, WestonDesktop::Height / 2}),
                 qPrintable(run->error()));
    }

    // A drag on the empty title area moves the window on the desktop by the drag, and leaves the
    // scene unpressed (the compositor keeps the button's release for itself).
    void dragMovesTheWindow()
    {
        const QPoint origin = run->windowOrigin();
        const QPoint from = run->rect(".").topLeft() + QPoint(500, 28);
        const QPoint by(120, 90);
        QVERIFY(run->drag(from, from + by));
        QVERIFY(run->waitFor(".", "!dragRegion.pressed"));
        const QPoint centre = origin + by + QPoint(512, 320);
        QVERIFY2(run->locateWindow(centre), qPrintable(run->error()));
        QCOMPARE(run->windowOrigin(), origin + by);

        // A second drag moves it again: each press starts its own.
        const QPoint back(-60, -40);
        QVERIFY(run->drag(from, from + back));
        QVERIFY(run->waitFor(".", "!dragRegion.pressed"));
        QVERIFY2(run->locateWindow(centre + back), qPrintable(run->error()));
        QCOMPARE(run->windowOrigin(), origin + by + back);

        // The scene takes clicks again at once: the next press is not part of a drag.
        QVERIFY(run->clickItem("macroEditorBtn"));
        QVERIFY(run->waitFor("macroEditorMain", "visible"));
        QCOMPARE(run->windowOrigin(), origin + by + back);
    }

    // The macro editor is open: a new macro records the key typed while the window has the focus.
    void focusedKeysAreRecorded()
    {
        const QString macro = run->newMacro();
        QVERIFY2(!macro.isEmpty(), qPrintable(run->error()));
        QVERIFY2(run->recordKey("a"), qPrintable(run->error()));
        QVERIFY(run->waitUntil([&] { return run->macroSteps(macro).size() == 2; }));
        QCOMPARE(run->macroSteps(macro), QStringList({"1,A", "2,A"}));
        QVERIFY(run->clickItem("macroEditorMain/closeButton"));
        QVERIFY(run->waitFor(".", "!macroEditorMain.visible && !mainMask.visible"));
    }

    // No tray on this desktop: the title bar's close button minimises the window, which stays shown
    // (hidden, nothing would bring it back).
    void closeKeepsTheWindow()
    {
        QVERIFY(run->click(run->point("upItem/buttons", 0.89, 0.5)));
        QVERIFY(run->waitUntil([&] { return run->output().contains("No tray: the window is minimised"); }));
        QVERIFY(run->eval(".", "ui_View.visible").toBool());
    }

private slots:
    void cleanup()
    {
        if (run)
            QCOMPARE(run->stop(), 0);
        run.reset();
    }

    // The window opens on the platform chosen for it, moves, hears focused keys and stays reachable
    // without a tray: through XWayland (what a Wayland session gets by default) and natively.
    void onTheDesktop_data()
    {
        QTest::addColumn<WestonDesktop::Mode>("mode");
        QTest::addColumn<QString>("platform");
        QTest::newRow("XWayland") << WestonDesktop::Mode::WithXWayland << QStringLiteral("xcb");
        QTest::newRow("native") << WestonDesktop::Mode::WaylandOnly << QStringLiteral("wayland");
    }

    void onTheDesktop()
    {
        QFETCH(WestonDesktop::Mode, mode);
        QFETCH(QString, platform);
        const QString missing = WestonDesktop::missing(mode);
        if (!missing.isEmpty())
            QSKIP(qPrintable("not installed: " + missing));
        launch(mode);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(run->eval(".", "Qt.platform.pluginName").toString(), platform);
        dragMovesTheWindow();
        if (QTest::currentTestFailed())
            return;
        focusedKeysAreRecorded();
        if (QTest::currentTestFailed())
            return;
        closeKeepsTheWindow();
    }

    // With a tray host on the session bus (as on desktops that have one) the close button hides the
    // window to the tray, and a plain click on the icon, all such a host reports, brings it back.
    void trayHostOverDBus_data()
    {
        QTest::addColumn<WestonDesktop::Mode>("mode");
        QTest::newRow("XWayland") << WestonDesktop::Mode::WithXWayland;
        QTest::newRow("native") << WestonDesktop::Mode::WaylandOnly;
    }

    void trayHostOverDBus()
    {
        QFETCH(WestonDesktop::Mode, mode);
        const QString missing = WestonDesktop::missing(mode);
        if (!missing.isEmpty() || !TrayHost::available())
            QSKIP(qPrintable("not installed: " +
                             (missing.isEmpty() ? QStringLiteral("dbus-daemon") : missing)));
        TrayHost host;
        QVERIFY2(host.start(), qPrintable(host.error()));
        launch(mode, host.address());
        if (QTest::currentTestFailed())
            return;
        QVERIFY(run->waitUntil([&] { return !host.items().isEmpty(); }));

        QVERIFY(run->click(run->point("upItem/buttons", 0.89, 0.5)));
        QVERIFY(run->waitFor(".", "!ui_View.visible"));
        QVERIFY(!run->output().contains("No tray"));
        QVERIFY2(host.activate(), qPrintable(host.error()));
        QVERIFY(run->waitFor(".", "ui_View.visible"));
    }
};

QTEST_GUILESS_MAIN(TestWaylandJourney)
#include "tst_wayland.moc"
