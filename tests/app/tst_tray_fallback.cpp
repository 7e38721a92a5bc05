// The title bar's close button where no tray host runs (many Wayland desktops, this headless
// platform): the window is minimised and stays shown instead of hiding behind an icon nobody sees.
#include "AppTestSupport.h"
#include "Ui_Controler.h"
#include "VirtualMouse.h"

#include <QSystemTrayIcon>
#include <QWidget>
#include <QtTest>

class TestTrayFallback : public QObject
{
    Q_OBJECT

private slots:
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
