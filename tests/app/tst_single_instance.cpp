// The instance lock and socket: one running copy per executable and user, the second start's
// message, recovery after a crash, the copy-data framing and its delivery to the native filter.
#include "InputHooks.h"
#include "platform/CopyDataFrame.h"
#include "platform/NativeMessage.h"
#include "platform/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Received
{
    quintptr tag;
    quint32 stated;
    QByteArray text;
    quint32 available;
};
QList<Received> g_received;

void onCopyData(const void *lParam, void *)
{
    const auto *d = static_cast<const NativeMessage::CopyDataStruct *>(lParam);
    g_received.append({d->dwData, d->cbData, QByteArray(d->lpData), d->cbDataAvailable});
}

bool sendRaw(const QString &path, const QByteArray &bytes, bool waitForClose = false)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(2000))
        return false;
    socket.write(bytes);
    socket.waitForBytesWritten(2000);
    if (waitForClose) {
        // The server drops a connection whose framing it cannot read.
        for (int i = 0; i < 50 && socket.state() == QLocalSocket::ConnectedState; ++i) {
            QCoreApplication::processEvents();
            socket.waitForDisconnected(20);
        }
        return socket.state() == QLocalSocket::UnconnectedState;
    }
    socket.disconnectFromServer();
    return true;
}

QByteArray frameHeader(quint32 kind, quint32 length)
{
    QByteArray header(8, '\0');
    qToBigEndian(kind, header.data());
    qToBigEndian(length, header.data() + 4);
    return header;
}

std::unique_ptr<QLocalSocket> connectTo(const QString &path)
{
    auto socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(path);
    return socket->waitForConnected(2000) ? std::move(socket) : nullptr;
}

bool dropped(const std::unique_ptr<QLocalSocket> &socket)
{
    return socket->state() == QLocalSocket::UnconnectedState;
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        ::chmod(QFile::encodeName(dir->path()).constData(), 0700);
        g_received.clear();
    }

    void secondCopyHandsOverAnEmptyMessage()
    {
        SingleInstance first("/opt/kc/kestral-config", dir->path());
        QVERIFY(!first.isRunning());
        QVERIFY(first.isListening());
        QSignalSpy spy(&first, &InstanceChannel::messageReceived);

        SingleInstance second("/opt/kc/kestral-config", dir->path());
        QVERIFY(second.isRunning());
        QVERIFY(!second.isListening());
        QVERIFY(second.sendMessage(QString(), 5000));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toString(), QString());

        // Another installation is another instance.
        SingleInstance other("/opt/elsewhere/kestral-config", dir->path());
        QVERIFY(!other.isRunning());
        QVERIFY(other.socketPath() != first.socketPath());
    }

    void secondCopyCreatesNothing()
    {
        SingleInstance first("/opt/kc/kestral-config", dir->path());
        QVERIFY(!first.isRunning());
        const QStringList before = QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        {
            SingleInstance second("/opt/kc/kestral-config", dir->path());
            QVERIFY(second.isRunning());
        }
        QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(first.isListening()); // the running copy's socket is untouched
        QVERIFY(QFileInfo::exists(first.socketPath()));
    }

    void staleSocketAfterACrashIsRecovered()
    {
        const QString path = SingleInstance::socketPathFor("/opt/kc/kestral-config", dir->path());
        // A socket left behind by a copy that died (no lock held).
        QLocalServer leftOver;
        QVERIFY(leftOver.listen(path));
        leftOver.close();
        QFile stale(path);
        if (!stale.exists()) {
            QVERIFY(stale.open(QIODevice::WriteOnly));
            stale.close();
        }
        SingleInstance first("/opt/kc/kestral-config", dir->path());
        QVERIFY(!first.isRunning());
        QVERIFY(first.isListening());
        SingleInstance second("/opt/kc/kestral-config", dir->path());
        QVERIFY(second.isRunning());
        QVERIFY(second.sendMessage("x", 2000));
    }

    void sendingWithNobodyListeningFails()
    {
        SingleInstance lone("/opt/kc/kestral-config", dir->path());
        QVERIFY(!lone.sendMessage(QString(), 200));
    }

    void sharedFolderIsNotUsed()
    {
        ::chmod(QFile::encodeName(dir->path()).constData(), 0777);
        SingleInstance first("/opt/kc/kestral-config", dir->path());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("single instance: folder is not private"));
        QVERIFY(!first.isRunning());
        QVERIFY(!first.isListening());
        QVERIFY(!QFileInfo::exists(first.lockPath()));
    }

    void framesRoundTrip()
    {
        CopyDataFrame reader;
        const QByteArray stream = CopyDataFrame::encodeMessage(QStringLiteral("héllo")) +
                                  CopyDataFrame::encodeCopyData(9487, 3, "abc") +
                                  CopyDataFrame::encodeCopyData(1, 0, QByteArray("a\0b", 3));
        // Byte by byte: frames come out only when complete.
        QList<CopyDataFrame::Frame> frames;
        for (char c : stream) {
            reader.append(QByteArray(1, c));
            CopyDataFrame::Frame f;
            while (reader.next(f))
                frames << f;
        }
        QVERIFY(!reader.failed());
        QCOMPARE(frames.size(), 3);
        QCOMPARE(frames[0].kind, CopyDataFrame::InstanceMessage);
        QCOMPARE(frames[0].message, QStringLiteral("héllo"));
        QCOMPARE(frames[1].kind, CopyDataFrame::CopyData);
        QCOMPARE(frames[1].tag, 9487u);
        QCOMPARE(frames[1].stated, 3u);
        QCOMPARE(frames[1].text, QByteArray("abc"));
        QCOMPARE(frames[2].text.size(), 3);
    }

    void badFramesFailTheStream()
    {
        QByteArray unknownKind;
        unknownKind.append("\0\0\0\x07\0\0\0\0", 8);
        QByteArray huge;
        huge.append("\0\0\0\x01\x7f\0\0\0", 8);
        QByteArray shortCopy; // copy-data without room for tag and length
        shortCopy.append("\0\0\0\x4a\0\0\0\x02xx", 10);
        for (const QByteArray &bad : {unknownKind, huge, shortCopy}) {
            CopyDataFrame reader;
            reader.append(bad);
            CopyDataFrame::Frame f;
            QVERIFY(!reader.next(f));
            QVERIFY(reader.failed());
            reader.append(CopyDataFrame::encodeMessage("later"));
            QVERIFY(!reader.next(f));
        }
    }

    // Copy-data frames reach the application's native filter with the stated length as sent and
    // the text NUL-terminated; a broken stream is dropped without disturbing the instance.
    void copyDataReachesTheNativeFilter()
    {
        SingleInstance first("/opt/kc/kestral-config", dir->path());
        QVERIFY(!first.isRunning());
        InputHooks::setNativeMessageFilter(onCopyData, qApp, nullptr);

        QVERIFY(sendRaw(first.socketPath(), CopyDataFrame::encodeCopyData(9487, 3, "abc")));
        QVERIFY(sendRaw(first.socketPath(), CopyDataFrame::encodeCopyData(9487, 4, "abc")));
        QVERIFY(
            sendRaw(first.socketPath(), CopyDataFrame::encodeCopyData(77, 2, QByteArray("hi\0there", 8))));
        QTRY_COMPARE(g_received.size(), 3);
        QCOMPARE(g_received[0].tag, quintptr(9487));
        QCOMPARE(g_received[0].stated, 3u);
        QCOMPARE(g_received[0].text, QByteArray("abc"));
        QCOMPARE(g_received[1].stated, 4u);
        QCOMPARE(g_received[2].tag, quintptr(77));
        QCOMPARE(g_received[2].text, QByteArray("hi"));
        QCOMPARE(g_received[2].available, 8u);

        QByteArray garbage(16, '\xff');
        QVERIFY(sendRaw(first.socketPath(), garbage, true));
        QSignalSpy spy(&first, &InstanceChannel::messageReceived);
        QVERIFY(sendRaw(first.socketPath(), CopyDataFrame::encodeMessage(QString())));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(g_received.size(), 3);
        InputHooks::setNativeMessageFilter(nullptr, nullptr, nullptr);
    }

    // A lock file nobody holds, whatever it says (empty, not a lock, an owner on another machine), is
    // left from a crash or by something else: the copy takes it over and runs.
    void lockWithoutOwnerIsTakenOver_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << QByteArray("\xff\xfe not a lock\n\n");
        QTest::newRow("another machine") << QByteArray("4242\nkestral-config\nelsewhere\n");
    }
    void lockWithoutOwnerIsTakenOver()
    {
        QFETCH(QByteArray, content);
        SingleInstance first("/opt/kc/kestral-config", dir->path());
        QFile lock(first.lockPath());
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(content);
        lock.close();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("single instance: taking over"));
        QVERIFY(!first.isRunning());
        QVERIFY(first.isListening());
        SingleInstance second("/opt/kc/kestral-config", dir->path());
        QVERIFY(second.isRunning());
    }

    // A copy holds its lock file locked from the moment it creates it: held, the file means a live
    // owner even before it says who.
    void heldLockIsNotTakenOver()
    {
        SingleInstance first("/opt/kc/kestral-config", dir->path());
        const int fd = ::open(QFile::encodeName(first.lockPath()).constData(), O_RDWR | O_CREAT, 0600);
        QVERIFY(fd >= 0);
        QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
        QVERIFY(first.isRunning());
        QVERIFY(!first.isListening());
        QVERIFY(QFileInfo::exists(first.lockPath()));
        ::close(fd);
    }

    // Past the cap the connection open longest goes, so a hand-over gets through while others hold
    // theirs open.
    void connectionsAreCapped()
    {
        SingleInstance first("/opt/kc/kestral-config", dir->path());
        SingleInstance::Limits limits;
        limits.maxConnections = 4;
        first.setLimits(limits);
        QVERIFY(!first.isRunning());
        QSignalSpy spy(&first, &InstanceChannel::messageReceived);
        std::vector<std::unique_ptr<QLocalSocket>> held;
        for (int i = 0; i < 12; ++i) {
            held.push_back(connectTo(first.socketPath()));
            QVERIFY(held.back());
        }
        QTRY_COMPARE(first.connectionCount(), 4);
        QTRY_VERIFY(dropped(held[0]) && dropped(held[7]));
        QVERIFY(!dropped(held[11]));

        SingleInstance second("/opt/kc/kestral-config", dir->path());
        QVERIFY(second.isRunning());
        QVERIFY(second.sendMessage("through", 2000));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toString(), QStringLiteral("through"));
        QVERIFY(first.connectionCount() <= 4);
    }

    // Each frame has a time limit, counted from connecting or the previous frame: an idle peer, one
    // that stops half-way and one that trickles are dropped; one that keeps sending whole frames stays.
    void slowAndIdleConnectionsAreDropped()
    {
        SingleInstance first("/opt/kc/kestral-config", dir->path());
        SingleInstance::Limits limits;
        limits.frameTimeoutMs = 400;
        limits.checkIntervalMs = 40;
        first.setLimits(limits);
        QVERIFY(!first.isRunning());
        QSignalSpy spy(&first, &InstanceChannel::messageReceived);

        auto idle = connectTo(first.socketPath());
        auto halfway = connectTo(first.socketPath());
        auto trickle = connectTo(first.socketPath());
        auto steady = connectTo(first.socketPath());
        QVERIFY(idle && halfway && trickle && steady);
        const QByteArray frame = CopyDataFrame::encodeMessage(QString(40, QLatin1Char('t')));
        halfway->write(frame.left(20));
        int sent = 0;
        QTimer pace;
        QObject::connect(&pace, &QTimer::timeout, [&] {
            if (trickle->state() == QLocalSocket::ConnectedState && sent < frame.size())
                trickle->write(frame.mid(sent++, 1));
            if (steady->state() == QLocalSocket::ConnectedState)
                steady->write(CopyDataFrame::encodeMessage("steady"));
        });
        pace.start(limits.checkIntervalMs);
        QTRY_VERIFY_WITH_TIMEOUT(dropped(idle) && dropped(halfway) && dropped(trickle), 4000);
        QVERIFY(!dropped(steady));
        QCOMPARE(first.connectionCount(), 1);
        QVERIFY(spy.count() >= 1);
        for (const QList<QVariant> &message : spy)
            QCOMPARE(message.first().toString(), QStringLiteral("steady"));
    }

    // Unfinished frames of all connections together stay within the budget: the connection holding
    // most goes; a hand-over still gets through.
    void unfinishedFramesStayWithinTheBudget()
    {
        SingleInstance first("/opt/kc/kestral-config", dir->path());
        SingleInstance::Limits limits;
        limits.maxBuffered = 64 * 1024;
        first.setLimits(limits);
        QVERIFY(!first.isRunning());
        QSignalSpy spy(&first, &InstanceChannel::messageReceived);
        std::vector<std::unique_ptr<QLocalSocket>> peers;
        for (int i = 0; i < 8; ++i) {
            peers.push_back(connectTo(first.socketPath()));
            QVERIFY(peers.back());
            peers.back()->write(frameHeader(CopyDataFrame::InstanceMessage, CopyDataFrame::MaxPayload) +
                                QByteArray(30 * 1024 + i, 'p'));
        }
        const auto droppedCount = [&] {
            return std::count_if(peers.begin(), peers.end(), [](const auto &p) { return dropped(p); });
        };
        QTRY_COMPARE(droppedCount() + first.connectionCount(), qsizetype(8));
        QTRY_VERIFY(droppedCount() >= 6);
        QVERIFY(first.bufferedBytes() <= limits.maxBuffered);

        SingleInstance second("/opt/kc/kestral-config", dir->path());
        QVERIFY(second.isRunning());
        QVERIFY(second.sendMessage(QString(), 2000));
        QTRY_COMPARE(spy.count(), 1);
    }

    // Out of descriptors, accepting a connection fails and Qt closes the server and removes its
    // socket; once descriptors are free again the copy listens again.
    void serverListensAgainAfterAcceptFails()
    {
        SingleInstance first("/opt/kc/kestral-config", dir->path());
        SingleInstance::Limits limits;
        limits.checkIntervalMs = 40;
        first.setLimits(limits);
        QVERIFY(!first.isRunning());
        QSignalSpy spy(&first, &InstanceChannel::messageReceived);

        rlimit saved;
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &saved), 0);
        rlimit low = saved;
        low.rlim_cur = rlim_t(QDir("/proc/self/fd").count() + 64);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
        QList<int> fillers;
        for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
            fillers << fd;
        ::close(fillers.takeLast());
        QLocalSocket client; // takes the last free descriptor; the server has none to accept it with
        client.connectToServer(first.socketPath());
        QTRY_VERIFY(!QFileInfo::exists(first.socketPath()));
        for (int fd : fillers)
            ::close(fd);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &saved), 0);

        QTRY_VERIFY(first.isListening());
        SingleInstance second("/opt/kc/kestral-config", dir->path());
        QVERIFY(second.isRunning());
        QVERIFY(second.sendMessage("again", 2000));
        QTRY_COMPARE(spy.count(), 1);
    }

private:
    std::unique_ptr<QTemporaryDir> dir;
};

QTEST_MAIN(TestSingleInstance)
#include "tst_single_instance.moc"
