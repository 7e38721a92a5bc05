// The title bar's close button where no tray host runs (many Wayland desktops, this headless
// platform): the window is minimised and stays shown instead of hiding behind an icon nobody sees.
// Which clicks on the tray icon restore the window, by kind of tray host.
#include "AppTestSupport.h"
#include "Ui_Controler.h"
#include "VirtualMouse.h"
#include "platform/TrayActivation.h"

#include <QSystemTrayIcon>
#include <QWidget>
#include <QtTest>

class TestTrayFallback : public QObject
{
    Q_OBJECT

private slots:
    // An embedding tray reports double clicks and restores on them only; a StatusNotifier host
    // reports a plain activation alone, which must restore there. Other clicks never restore.
    void restoringClicks()
    {
        using R = QSystemTrayIcon;
        QVERIFY(TrayActivation::restores(R::DoubleClick, false));
        QVERIFY(!TrayActivation::restores(R::Trigger, false));
        QVERIFY(TrayActivation::restores(R::DoubleClick, true));
        QVERIFY(TrayActivation::restores(R::Trigger, true));
        for (bool clickOnly : {false, true}) {
            QVERIFY(!TrayActivation::restores(R::Context, clickOnly));
            QVERIFY(!TrayActivation::restores(R::MiddleClick, clickOnly));
            QVERIFY(!TrayActivation::restores(R::Unknown, clickOnly));
        }
        // No session bus: no such host.
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        QVERIFY(!TrayActivation::statusNotifierHost());
    }

    void closeMinimisesWithoutTrayHost()
    {
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("a tray host runs here");
        TempInstallation inst;
        QVERIFY(inst.isValid());
        QVERIFY(QDir::setCurrent(inst.path()));
        vmouse::configure(vmouse::Config());
        vmouse::unplug();

        QObject hid;
        QWidget window;
        Ui_Controler controller(&window, &hid);
        auto *tray = new QSystemTrayIcon(&window);
        tray->setVisible(true);
        window.showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QTest::ignoreMessage(QtDebugMsg, "No tray: the window is minimised instead of hidden");
        controller.onClose();
        QVERIFY(window.isVisible());
        QTRY_VERIFY(window.isMinimized());

        // Restored; the minimise button minimises as before.
        window.showNormal();
        QTRY_VERIFY(!window.isMinimized());
        controller.onMinimize();
        QTRY_VERIFY(window.isMinimized());
        QVERIFY(window.isVisible());

        // A window without a tray icon of its own hides as before.
        delete tray;
        window.showNormal();
        controller.onClose();
        QVERIFY(!window.isVisible());
        QDir::setCurrent(QDir::tempPath());
    }
};

QTEST_MAIN(TestTrayFallback)
#include "tst_tray_fallback.moc"
