// The backend object as the scene sees it: its slot table, the calls into a small test scene, the
// delivery of DPI reports from another thread, forwarding to the store and the pointer settings.
#include "BridgeFixture.h"
#include "Hid_Thread.h"
#include "MouseDriver.h"
#include "VirtualMouse.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QMetaMethod>
#include <QQmlContext>
#include <QQuickItem>
#include <QSettings>
#include <QTest>
#include <thread>

using namespace bridgetest;

// Records each scene function call and the thread it ran on.
class Probe : public QObject
{
    Q_OBJECT
public:
    struct Call
    {
        QString name;
        QVariant arg;
        QThread *thread;
    };
    QList<Call> calls;

    Q_INVOKABLE void record(const QString &name, const QVariant &arg)
    {
        calls.append({name, arg, QThread::currentThread()});
    }
    QStringList names() const
    {
        QStringList out;
        for (const Call &c : calls)
            out << c.name + '(' + c.arg.toString() + ')';
        return out;
    }
};

class TestView : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempInstallation> install;
    RecordingPointerSettings pointer;
    Probe probe;

    std::unique_ptr<myQQuickView> makeView()
    {
        auto view = std::make_unique<myQQuickView>(nullptr, nullptr, &pointer);
        view->rootContext()->setContextProperty("ui_View", view.get());
        view->rootContext()->setContextProperty("probe", &probe);
        view->setSource(
            QUrl::fromLocalFile(QStringLiteral(KC_SOURCE_DIR "/tests/bridge/support/TestScene.qml")));
        return view;
    }

private slots:
    void init()
    {
        install =
            std::make_unique<TempInstallation>(TempInstallation::Defaults, TempInstallation::MakeCurrent);
        QVERIFY(install->isValid());
        probe.calls.clear();
        pointer = RecordingPointerSettings();
    }
    void cleanup() { install.reset(); }

    void slotTable()
    {
        // Name, argument types and result of every slot, in the order the scene relies on.
        QStringList expected{
            "void clearHidBusy()",
            "void initUI()",
            "void runUI()",
            "void resetApconfig()",
            "bool loadMacroFile(QVariant)",
            "void saveMacroFile(QVariant)",
            "bool loadProfile(int)",
            "void saveProfile(int)",
            "void resetProfile(int)",
            "void copyProfile(int,int)",
            "QStringList getLangStrings(QString,QString)",
            "QVariant createMacroIni(QVariant,QVariant)",
            "QVariant updataNameList(QVariant,QStringList)",
            "QVariant modifyMacroNameUpdateProfile(QVariant,QVariant)",
            "void deleteMacroUpdateProfile(QVariant)",
            "QVariant deleteMacroIni(QVariant)",
            "QVariantList getNameList(QVariant)",
            "QVariant saveMacroIni(QVariant,QStringList,QVariant)",
            "QVariant mouseSendMacroData(QVariantList,QVariant)",
            "QStringList loadMacroIni(QVariant)",
            "void mouseSaveGundata(QVariant,QVariantList)",
            "void mouseSendGundata(int,QVariantList)",
            "void modifyGundata(QVariant,QVariantList)",
            "QVariantList getGunData(QVariant)",
            "QStringList getGunDataKey()",
            "QVariant getXYSensitive(QVariant)",
            "QVariant getselectGun(QVariant)",
            "void setXYSensitive(QVariant,QVariant)",
            "void setSelectGun(QVariant,QVariant)",
            "void setCurrentProfile(int)",
            "void mouseSetKeyboardoption(uchar,uchar,uchar,uchar)",
            "void mouseSetReportRate(uchar)",
            "void mouseSetCurrentDPI(uchar)",
            "void mouseResetKeyMatrix()",
            "QVariant mouseGetCurrentDPI()",
            "void mouseSetKeyMatrix(QVariantList,bool,QVariantList)",
            "void mouseSetDpi(int,QString,QVariantList)",
            "void mouseSetRGBEffect(uchar,uchar,uchar)",
            "void mouseSetRGBColor(uchar,QVariantList)",
            "void mouseSetProfile(uint)",
            "void mouseReadProfile(uint)",
            "QVariant mouseReadCurrentProfile()",
            "void mouseSwitchKeyMatrix(int)",
            "QVariantList GetKeyboardoption()",
            "void mouseSetCursorSpeed(uint)",
            "void mouseSetVerticalScrollLines(uint)",
            "void mouseSetDoubleClickSpeed(uint)",
            "QVariantList mouseGetKeydefine(QVariant,bool)",
            "void openUpdateExe()",
            "QVariant getData(QVariant,bool)",
            "QVariant getGlobalData(QVariant)",
            "QVariantList getDataList(QVariant,bool)",
            "void setData(QVariant,QVariant)",
            "void setGlobalData(QVariant,QVariant)",
            "void setDataList(QVariant,QVariantList)",
            "void setBusy(int)",
            "void setCurrentDPI(int)",
        };
        QCOMPARE(expected.size(), 57);
        // Beyond those: the name of an imported profile's file, which the scene names it after, and the
        // installed languages and the one to show.
        expected.insert(expected.indexOf("bool loadProfile(int)") + 1, "QString importedProfileName()");
        expected.insert(expected.indexOf("QStringList getLangStrings(QString,QString)") + 1,
                        "QStringList getLanguages()");
        expected.insert(expected.indexOf("QStringList getLanguages()") + 1, "QString getLanguage()");
        // And the start on the mouse's first profile, which the driver decides.
        expected.insert(expected.indexOf("QVariant mouseReadCurrentProfile()") + 1,
                        "void mouseStartOnFirstProfile()");
        const QMetaObject &mo = myQQuickView::staticMetaObject;
        QStringList actual;
        for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
            const QMetaMethod m = mo.method(i);
            // Besides the slots the change signals of mouseConnected and pointerReport, for the scene's
            // bindings.
            if (m.methodType() == QMetaMethod::Signal) {
                QVERIFY(m.methodSignature() == "mouseConnectedChanged()" ||
                        m.methodSignature() == "pointerReportChanged()");
                continue;
            }
            QCOMPARE(m.methodType(), QMetaMethod::Slot);
            QCOMPARE(m.access(), QMetaMethod::Public);
            actual << QString::fromLatin1(m.typeName()) + ' ' + QString::fromLatin1(m.methodSignature());
        }
        QCOMPARE(actual, expected);
        // The scene also uses the inherited setEnabled(bool).
        QVERIFY(mo.indexOfSlot("setEnabled(bool)") >= 0);
    }

    void flagsReadOnce()
    {
        install->setGlobal("mouse/icType", "560");
        install->setGlobal("mouse/isColorful", "false");
        install->setGlobal("mouse/isGun", "1");
        install->setGlobal("mouse/is55328", "true");
        myQQuickView view(nullptr, nullptr, &pointer);
        QCOMPARE(view.icType, QString("560"));
        QVERIFY(!view.isColorful);
        QVERIFY(view.isGun);
        QVERIFY(view.is55328);
        view.setGlobalData("mouse/icType", "553");
        view.resetApconfig();
        QCOMPARE(view.icType, QString("560"));
        QCOMPARE(view.getGlobalData("mouse/icType").toString(), QString("553"));

        // The view never answers for the family: the driver comes from discovery alone.
        Hid_Thread hid;
        view.setWorker(&hid);
        QVERIFY(view.driver() == nullptr);
        view.setWorker(nullptr);
    }

    void initAndRunAreQueued()
    {
        auto view = makeView();
        QVERIFY(view->rootObject());
        view->initUI();
        view->initUI();
        view->runUI();
        QVERIFY(probe.calls.isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(probe.names(), (QStringList{"initUI(0)", "initUI(0)", "run(0)"}));
    }

    void busyIsDirect()
    {
        auto view = makeView();
        view->setBusy(1500);
        QCOMPARE(probe.names(), (QStringList{"setProtectUI(1500)"}));
        QVERIFY(!view->isEnabled());
        view->setBusy(300);
        QCOMPARE(probe.calls.last().arg.toInt(), 300);
    }

    void currentDpiOnGuiThread()
    {
        auto view = makeView();
        view->setCurrentDPI(3);
        QCOMPARE(probe.names(), (QStringList{"setCurrentDPI(3)"}));
        QCOMPARE(view->rootObject()->property("currentDPI").toInt(), 2);
        view->setCurrentDPI(0);
        QCOMPARE(view->rootObject()->property("currentDPI").toInt(), 2);

        // From another thread the call waits for the GUI thread.
        probe.calls.clear();
        std::thread other([&] {
            for (int stage = 1; stage <= 5; ++stage)
                view->setCurrentDPI(stage);
        });
        other.join();
        QVERIFY(probe.calls.isEmpty());
        QTRY_COMPARE(probe.calls.size(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(probe.calls[i].arg.toInt(), i + 1);
            QCOMPARE(probe.calls[i].thread, QThread::currentThread());
        }
        QCOMPARE(view->rootObject()->property("currentDPI").toInt(), 4);
    }

    void listenerReportsReachTheScene()
    {
        configureMouse(553);
        auto view = makeView();
        Hid_Thread hid;
        view->setWorker(&hid);
        view->setMouseConnected(true);
        std::thread listener([&] {
            emit hid.dpiStageChanged(2);
            emit hid.dpiStageChanged(7);
            emit hid.deviceRemoved();
        });
        listener.join();
        QVERIFY(view->isEnabled());
        QTRY_COMPARE(probe.calls.size(), 2);
        QCOMPARE(probe.names(), (QStringList{"setCurrentDPI(2)", "setCurrentDPI(7)"}));
        QCOMPARE(probe.calls[1].thread, QThread::currentThread());
        // The loss is told, and the view stays usable.
        QTRY_VERIFY(!view->mouseConnected());
        QVERIFY(view->isEnabled());

        // The real listener: an event report of the mouse.
        probe.calls.clear();
        const DeviceEntry entry = configureMouse(553);
        aimAt(hid, entry);
        hid.startListen(0);
        vmouse::sendDpiEvent(4);
        QTRY_COMPARE(probe.names(), (QStringList{"setCurrentDPI(4)"}));
        view->setMouseConnected(true);
        vmouse::unplug();
        QTRY_VERIFY(!view->mouseConnected());
        hid.stopListen();
        hid.waitForListener();
        view->setWorker(nullptr);
    }

    void sceneCallsBackendSlots()
    {
        const DeviceEntry entry = configureMouse(553);
        auto view = makeView();
        Hid_Thread hid;
        aimAt(hid, entry);
        hid.setDriver(MouseDriver::create("553", hid, {}));
        view->setWorker(&hid);
        QVariant result;
        QVERIFY(QMetaObject::invokeMethod(view->rootObject(), "useBackend", Q_RETURN_ARG(QVariant, result)));
        const QVariantList r = result.toList();
        QCOMPARE(r.size(), 5);
        QCOMPARE(r[0].toString(), QString("2"));
        QCOMPARE(r[1].toList(), (QVariantList{"5", "1", "3"}));
        QCOMPARE(r[2].toString(), QString("Kestral Config"));
        QCOMPARE(r[3].toInt(), 1);
        // The option write arrived with its last value cut to a byte.
        QCOMPARE(r[4].toList(), (QVariantList{1, 2, 3, 300 & 0xFF}));
        QCOMPARE(int(vmouse::state().reportRate), 4);
        QCOMPARE(pointer.speeds, (QList<int>{6}));
        QCOMPARE(pointer.wheelLines, (QList<int>{1000}));
        view->setWorker(nullptr);
        // The files hold the scene's lists as lists, readable by the next start.
        view.reset();
        QSettings global(QStringLiteral("modules/setting/apConfig.bin"), QSettings::IniFormat);
        QCOMPARE(global.value("mouse/selectGun").toStringList(), (QStringList{"0", "4", "2"}));
        QSettings profile(QStringLiteral("modules/setting/p1.bin"), QSettings::IniFormat);
        QCOMPARE(profile.value("mouse/dpiValueArray").toStringList(), (QStringList{"400", "800"}));
    }

    void withoutWorkerNothingBreaks()
    {
        myQQuickView view(nullptr, nullptr, &pointer);
        view.clearHidBusy();
        view.mouseSetReportRate(1);
        view.mouseSetDpi(3, "3360", {400, 800});
        view.mouseSetKeyMatrix({8, 0, 1, 0}, true, {1, 2, 3});
        view.mouseResetKeyMatrix();
        view.mouseSetRGBEffect(0, 0, 1);
        view.mouseSetRGBColor(0, {1, 2, 3});
        view.mouseSetProfile(1);
        view.mouseReadProfile(1);
        view.mouseSwitchKeyMatrix(1);
        view.mouseSendGundata(1, {1, 2, 3});
        QCOMPARE(view.mouseSendMacroData({1, 2}, 0).toBool(), true);
        QCOMPARE(view.mouseGetCurrentDPI().toInt(), 0);
        QCOMPARE(view.mouseReadCurrentProfile().toInt(), 0);
        QCOMPARE(view.GetKeyboardoption(), (QVariantList{0, 0, 0, 0}));
        // No scene loaded: the scene calls do nothing.
        view.initUI();
        view.setBusy(10);
        view.setCurrentDPI(2);
        view.openUpdateExe();
        QCoreApplication::processEvents();
        // The definitions were still stored.
        QCOMPARE(view.mouseGetKeydefine(0, false), (QVariantList{"8", "0", "1", "0"}));
        QCOMPARE(view.mouseGetKeydefine(1, false), (QVariantList{"0", "0", "0", "0"}));
    }

    void workerDestroyedBeforeView()
    {
        auto view = std::make_unique<myQQuickView>(nullptr, nullptr, &pointer);
        {
            Hid_Thread hid;
            view->setWorker(&hid);
        }
        QVERIFY(view->worker.isNull());
        view->mouseSetReportRate(1);
        QCOMPARE(view->mouseGetCurrentDPI().toInt(), 0);
        view.reset();
    }

    void storeSlotsForward()
    {
        myQQuickView view(nullptr, nullptr, &pointer);
        view.setCurrentProfile(3);
        view.setData("mouse/scrollRate", 7);
        QCOMPARE(view.getData("mouse/scrollRate", false).toString(), QString("7"));
        QCOMPARE(view.getData("mouse/scrollRate", true).toString(), QString("3"));
        QCOMPARE(view.settingsStore().currentProfileSettings()->fileName(),
                 QDir::current().absoluteFilePath("modules/setting/p4.bin"));
        view.setDataList("mouse/dpiValueArray", {100, 200});
        QCOMPARE(view.getDataList("mouse/dpiValueArray", false), (QVariantList{"100", "200"}));
        view.setGlobalData("common/language", "ChineseSimplified");
        QCOMPARE(view.getGlobalData("common/language").toString(), QString("ChineseSimplified"));

        view.resetProfile(3);
        QCOMPARE(view.getData("mouse/scrollRate", false).toString(), QString("3"));
        view.copyProfile(4, 3);
        view.setCurrentProfile(4);
        QCOMPARE(view.getDataList("mouse/dpiValueArray", false).size(), 8);

        QCOMPARE(view.updataNameList(0, {"A"}).toBool(), true);
        QCOMPARE(view.getNameList(0), (QVariantList{"A", "loaderveltis"}));
        QCOMPARE(view.createMacroIni("M1", 0).toBool(), true);
        QCOMPARE(view.saveMacroIni("M1", {"1,A", "0,50", "2,A"}, 2).toBool(), true);
        QCOMPARE(view.loadMacroIni("M1"), (QStringList{"1,A", "0,50", "2,A", "2"}));
        QCOMPARE(view.modifyMacroNameUpdateProfile("M1", "M2").toBool(), true);
        QCOMPARE(view.deleteMacroIni("M2").toBool(), true);
        view.deleteMacroUpdateProfile("M2");

        view.mouseSaveGundata(1, {"G", "L-Click", "9", "0", "7", "3", "extra"});
        QCOMPARE(view.getGunData(1), (QVariantList{"G", "L-Click", "9", "0", "7", "3"}));
        QVERIFY(view.getGunDataKey().contains("1"));
        view.modifyGundata(0, {"1"});
        QCOMPARE(view.getGunData(1), QVariantList());
        QCOMPARE(view.getXYSensitive(0).toInt(), 4);
        view.setXYSensitive(1, 6);
        QCOMPARE(view.getXYSensitive(1).toInt(), 6);
        QCOMPARE(view.getselectGun(9).toString(), QString());
        view.setSelectGun(9, "x");
        QCOMPARE(view.getselectGun(9).toString(), QString("x"));
        QVERIFY(!view.getLangStrings("main", "English").isEmpty());
        QVERIFY(view.getLangStrings("main", "NoSuchLanguage").isEmpty());
    }

    void pointerSlots()
    {
        myQQuickView view(nullptr, nullptr, &pointer);
        view.mouseSetCursorSpeed(0);
        view.mouseSetCursorSpeed(1);
        view.mouseSetCursorSpeed(10);
        QCOMPARE(pointer.speeds, (QList<int>{1, 2, 20}));
        view.mouseSetDoubleClickSpeed(0);
        view.mouseSetDoubleClickSpeed(10);
        QCOMPARE(pointer.doubleClicks, (QList<int>{900, 200}));
        view.mouseSetVerticalScrollLines(1000);
        view.mouseSetVerticalScrollLines(1);
        QCOMPARE(pointer.wheelLines, (QList<int>{1000, 1}));

        // Past index 12 the time would not be positive: refused and reported.
        QTest::ignoreMessage(QtDebugMsg, "setDoubleClickSpeed Failed");
        view.mouseSetDoubleClickSpeed(13);
        QCOMPARE(pointer.doubleClicks.last(), -10);
        QTest::ignoreMessage(QtDebugMsg, "setDoubleClickSpeed Failed");
        view.mouseSetDoubleClickSpeed(0xFFFFFFFFu);
        QVERIFY(pointer.doubleClicks.last() < 0);

        pointer.succeed = false;
        QTest::ignoreMessage(QtDebugMsg, "setCursorSpeed Failed");
        view.mouseSetCursorSpeed(5);
        QTest::ignoreMessage(QtDebugMsg, "setDoubleClickSpeed Failed");
        view.mouseSetDoubleClickSpeed(5);
        QTest::ignoreMessage(QtDebugMsg, "setVerticalScrollLines Failed");
        view.mouseSetVerticalScrollLines(3);
        QCOMPARE(pointer.doubleClicks.last(), 550);
        QCOMPARE(pointer.speeds.last(), 10);
    }

    void focusIsAcceptedAndRepaints()
    {
        auto view = makeView();
        QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
        in.ignore();
        QCoreApplication::sendEvent(view.get(), &in);
        QVERIFY(in.isAccepted());

        // Keys typed into the view reach the focused text field of the scene.
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        view->activateWindow();
        view->setFocus();
        QCoreApplication::processEvents();
        QTest::keyClicks(view.get(), "50");
        QCOMPARE(view->rootObject()->property("typed").toString(), QString("50"));
    }
};

int main(int argc, char **argv)
{
    // The software scene graph needs no GPU on a headless machine.
    qputenv("QT_QUICK_BACKEND", "software");
    QApplication app(argc, argv);
    TestView test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_view.moc"
