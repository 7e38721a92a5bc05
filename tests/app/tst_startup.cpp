// Start-up and teardown in-process: the second start, the order of hooks and teardown, quitting by
// the tray menu and by signals, the second start's restore, and the copy-data messages.
#include "AppTestSupport.h"
#include "InputHooks.h"
#include "StartUp.h"
#include "VirtualMouse.h"
#include "Widget.h"
#include "platform/NativeMessage.h"
#include "platform/RecordingDeviceChangeMonitor.h"
#include "platform/RecordingHookBackend.h"
#include "platform/RecordingInstanceChannel.h"
#include "platform/RecordingTrayNotifier.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QMessageBox>
#include <QtTest>

#include <csignal>

namespace {

Widget *mainWidget()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *widget = qobject_cast<Widget *>(w))
            return widget;
    }
    return nullptr;
}

bool sendCopyData(quintptr tag, quint32 stated, const QByteArray &text)
{
    NativeMessage::CopyDataStruct data;
    data.dwData = tag;
    data.cbData = stated;
    data.lpData = text.constData();
    data.cbDataAvailable = quint32(text.size());
    NativeMessage::Message message{NativeMessage::CopyData, 0, &data};
    qintptr result = 0;
    const bool consumed = QAbstractEventDispatcher::instance()->filterNativeEvent(NativeMessage::eventType(),
                                                                                  &message, &result);
    return consumed && result == 1;
}

// Runs fn once the program is up: window built, device found and listened to.
void whenRunning(std::function<void()> fn)
{
    auto *poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, fn] {
        Widget *w = mainWidget();
        if (!w || !w->hid().isListening)
            return;
        poll->stop();
        poll->deleteLater();
        fn();
    });
    poll->start();
}

} // namespace

class tst_StartUp : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempInstallation> inst;
    RecordingHookBackend hooks;
    RecordingTrayNotifier tray;
    RecordingDeviceChangeMonitor monitor;
    Widget::Platform platform()
    {
        Widget::Platform p;
        p.tray = &tray;
        p.deviceChanges = &monitor;
        return p;
    }

private slots:
    void init()
    {
        inst = std::make_unique<TempInstallation>();
        QVERIFY(inst->isValid());
        inst->setGlobal({{"common/name", "Kestral Config"}});
        vmouse::configure(vmouse::Config());
        hooks = RecordingHookBackend();
        InputHooks::setBackend(&hooks);
        QDir::setCurrent(QDir::tempPath());
    }
    void cleanup()
    {
        InputHooks::setBackend(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void secondStartCreatesNothing()
    {
        RecordingInstanceChannel channel;
        channel.otherCopyRuns = true;
        const int code = StartUp::run(*qApp, channel, platform(), inst->path());
        QCOMPARE(code, 1);
        QCOMPARE(channel.sent, QStringList({QString()}));
        QCOMPARE(channel.timeouts, QList<int>({5000}));
        QVERIFY(hooks.calls.isEmpty());
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
        QCOMPARE(QDir::currentPath(), QDir::tempPath());
        QCOMPARE(vmouse::transcript().size(), size_t(0));
    }

    void quitThroughTheTrayMenu()
    {
        RecordingInstanceChannel channel;
        MessageLog log;
        bool shownAtQuit = false;
        QString cwdAtQuit;
        whenRunning([&] {
            Widget *w = mainWidget();
            QVERIFY(w);
            shownAtQuit = w->isVisible();
            cwdAtQuit = QDir::currentPath();
            w->quitAction()->trigger();
        });
        const int code = StartUp::run(*qApp, channel, platform(), inst->path());
        QCOMPARE(code, 0);
        QVERIFY(shownAtQuit);
        QCOMPARE(cwdAtQuit, QDir(inst->path()).canonicalPath());
        QCOMPARE(log.count("Device Connect"), 1);
        QCOMPARE(hooks.calls,
                 QStringList({"installKeyboard", "installMouse", "removeKeyboard", "removeMouse"}));
        QVERIFY(!mainWidget());
        // Nothing reaches the destroyed window any more.
        InputHooks::keyboardProc(0, 0x100, 0x1E, 0);
        InputHooks::mouseProc(0, 0x201, 0, 0);
        QVERIFY(!sendCopyData(9487, 3, "abc"));
    }

    void signalsEndTheProgramLikeQuit_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void signalsEndTheProgramLikeQuit()
    {
        QFETCH(int, number);
        RecordingInstanceChannel channel;
        bool listeningBefore = false;
        whenRunning([&] {
            listeningBefore = mainWidget()->hid().isListening;
            ::raise(number);
        });
        const int code = StartUp::run(*qApp, channel, platform(), inst->path());
        QCOMPARE(code, 0);
        QVERIFY(listeningBefore);
        QCOMPARE(hooks.calls.mid(2), QStringList({"removeKeyboard", "removeMouse"}));
    }

    void secondStartRestoresTheWindow()
    {
        RecordingInstanceChannel channel;
        bool restored = false;
        whenRunning([&] {
            Widget *w = mainWidget();
            w->hide();
            channel.simulateMessage(QString());
            QTimer::singleShot(50, qApp, [&, w] {
                restored = w->isVisible();
                w->exitSYS();
            });
        });
        QCOMPARE(StartUp::run(*qApp, channel, platform(), inst->path()), 0);
        QVERIFY(restored);
    }

    // Tagged copy-data with a consistent length shows a warning titled like the window; every
    // copy-data message is consumed; closing the box with the window hidden keeps the program running.
    void copyDataMessages()
    {
        RecordingInstanceChannel channel;
        QList<QPair<QString, QString>> boxes;
        QTimer closer;
        closer.setInterval(10);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *box = qobject_cast<QMessageBox *>(w);
                if (box && box->isVisible()) {
                    boxes.append({box->windowTitle(), box->text()});
                    QCOMPARE(box->icon(), QMessageBox::Warning);
                    QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
                    box->accept();
                }
            }
        });
        closer.start();
        QList<bool> consumed;
        bool stillRunning = false;
        whenRunning([&] {
            mainWidget()->hide();
            consumed << sendCopyData(9487, 3, "abc");
            consumed << sendCopyData(9487, 4, "abc");
            consumed << sendCopyData(1234, 3, "abc");
            consumed << sendCopyData(9487, 6, "h\xc3\xa9llo");
            consumed << sendCopyData(9487, 2, QByteArray("ab\0cd", 5));
            QTimer::singleShot(50, qApp, [&] {
                stillRunning = true;
                mainWidget()->exitSYS();
            });
        });
        QCOMPARE(StartUp::run(*qApp, channel, platform(), inst->path()), 0);
        QCOMPARE(consumed, QList<bool>({true, true, true, true, true}));
        QVERIFY(stillRunning);
        QCOMPARE(boxes.size(), 3);
        QCOMPARE(boxes[0], qMakePair(QStringLiteral("Kestral Config"), QStringLiteral("abc")));
        QCOMPARE(boxes[1].second, QStringLiteral("héllo"));
        QCOMPARE(boxes[2].second, QStringLiteral("ab"));
    }

    void executableDirectory()
    {
        QCOMPARE(StartUp::executableDirectory(), QFileInfo(QCoreApplication::applicationFilePath()).path());
    }
};

QTEST_MAIN(tst_StartUp)
#include "tst_startup.moc"
