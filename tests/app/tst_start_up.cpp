// Start-up and teardown in-process: the second start, the order of hooks and teardown, quitting by
// the tray menu and by signals, the second start's restore, and the copy-data messages.
#include "AppTestSupport.h"
#include "CopyDataMessages.h"
#include "RunningWindow.h"
#include "StartUpBench.h"
#include "platform/CopyDataFrame.h"
#include "platform/NativeMessage.h"
#include "platform/RecordingInstanceChannel.h"
#include "platform/SingleInstance.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QLocalSocket>
#include <QMessageBox>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>

namespace {

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

QList<QMessageBox *> visibleBoxes()
{
    QList<QMessageBox *> boxes;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            boxes << box;
    }
    return boxes;
}

// Closes the message boxes as they come, one a tick, noting what they show; ends the program once
// none has come for a while.
struct BoxCloser
{
    struct Shown
    {
        QString title;
        QString text;
        Qt::TextFormat format;
    };
    QList<Shown> shown;
    int mostAtOnce = 0;
    QTimer timer;
    int idleTicks = 0;

    BoxCloser()
    {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const QList<QMessageBox *> boxes = visibleBoxes();
            mostAtOnce = qMax(mostAtOnce, int(boxes.size()));
            if (boxes.isEmpty()) {
                if (++idleTicks == 20)
                    mainWidget()->exitSYS();
                return;
            }
            idleTicks = 0;
            QMessageBox *box = boxes.first();
            QCOMPARE(box->icon(), QMessageBox::Warning);
            QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
            shown.append({box->windowTitle(), box->text(), box->textFormat()});
            if (boxes.size() > 1) { // nested: close them all and give up
                for (QMessageBox *b : boxes)
                    b->reject();
                mainWidget()->exitSYS();
                return;
            }
            box->accept();
        });
    }
};

} // namespace

class TestStartUp : public QObject, StartUpBench
{
    Q_OBJECT

private slots:
    void init()
    {
        setUp();
        QDir::setCurrent(QDir::tempPath());
    }
    void cleanup() { tearDown(); }

    void secondStartCreatesNothing()
    {
        RecordingInstanceChannel channel;
        channel.otherCopyRuns = true;
        const int code = startUp(channel);
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
        const int code = startUp(channel);
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
            listeningBefore = mainWidget()->hid().isListening();
            ::raise(number);
        });
        const int code = startUp(channel);
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
        QCOMPARE(startUp(channel), 0);
        QVERIFY(restored);
    }

    // Tagged copy-data with a consistent length shows a warning titled like the window; every
    // copy-data message is consumed; closing the box with the window hidden keeps the program running.
    void copyDataMessages()
    {
        RecordingInstanceChannel channel;
        BoxCloser closer;
        QList<bool> consumed;
        whenRunning([&] {
            mainWidget()->hide();
            consumed << sendCopyData(9487, 3, "abc");
            consumed << sendCopyData(9487, 4, "abc");
            consumed << sendCopyData(1234, 3, "abc");
            consumed << sendCopyData(9487, 6, "h\xc3\xa9llo");
            consumed << sendCopyData(9487, 2, QByteArray("ab\0cd", 5));
            closer.timer.start();
        });
        QCOMPARE(startUp(channel), 0);
        QCOMPARE(consumed, QList<bool>({true, true, true, true, true}));
        QCOMPARE(closer.shown.size(), 3);
        QCOMPARE(closer.shown[0].title, QStringLiteral("Kestral Config"));
        QCOMPARE(closer.shown[0].text, QStringLiteral("abc"));
        QCOMPARE(closer.shown[1].text, QStringLiteral("héllo"));
        QCOMPARE(closer.shown[2].text, QStringLiteral("ab"));
    }

    // Copy-data frames from the instance socket, followed by the message "end" on the same connection.
    // Thousands of them show one box at a time and the next few in turn; a long text shows its
    // beginning, and markup shows as written.
    void copyDataOverTheSocket_data()
    {
        QTest::addColumn<QByteArrayList>("texts");
        QTest::addColumn<QStringList>("expected");
        QByteArrayList flood;
        QStringList firstFew;
        for (int i = 0; i < 3000; ++i) {
            flood << "m" + QByteArray::number(i);
            if (i <= CopyDataMessages::MaxWaiting)
                firstFew << flood.last();
        }
        QTest::newRow("thousands") << flood << firstFew;
        const QByteArray longText(CopyDataFrame::MaxPayload - 8, 'x');
        QTest::newRow("long and markup")
            << QByteArrayList{longText, "<b>bold</b>"}
            << QStringList{QString(CopyDataMessages::MaxShownChars, QLatin1Char('x')) + QChar(0x2026),
                           "<b>bold</b>"};
    }
    void copyDataOverTheSocket()
    {
        QFETCH(QByteArrayList, texts);
        QFETCH(QStringList, expected);
        QTemporaryDir runtime;
        ::chmod(QFile::encodeName(runtime.path()).constData(), 0700);
        SingleInstance instance(inst->path() + "/kestral-config", runtime.path());
        BoxCloser closer;
        int onScreenAtEnd = -1;
        QObject::connect(&instance, &InstanceChannel::messageReceived, [&](const QString &message) {
            if (message == "end") {
                onScreenAtEnd = int(visibleBoxes().size());
                closer.timer.start();
            }
        });
        QLocalSocket peer;
        whenRunning([&] {
            mainWidget()->hide();
            QByteArray stream;
            for (const QByteArray &text : texts)
                stream += CopyDataFrame::encodeCopyData(9487, quint32(text.size()), text);
            peer.connectToServer(instance.socketPath());
            peer.write(stream + CopyDataFrame::encodeMessage("end"));
        });
        QCOMPARE(startUp(instance), 0);
        QCOMPARE(onScreenAtEnd, 1);
        QCOMPARE(closer.mostAtOnce, 1);
        QStringList shown;
        for (const BoxCloser::Shown &box : closer.shown) {
            shown << box.text;
            QCOMPARE(box.format, Qt::PlainText);
        }
        QCOMPARE(shown, expected);
    }

    void executableDirectory()
    {
        QCOMPARE(StartUp::executableDirectory(), QFileInfo(QCoreApplication::applicationFilePath()).path());
    }
};

QTEST_MAIN(TestStartUp)
#include "tst_start_up.moc"
