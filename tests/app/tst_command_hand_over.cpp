// The command line's pieces in-process: the hand-over frames and their limits, a command handed to
// the running copy's socket and answered there, and why a listed mouse cannot be used (against the
// virtual mouse's opening faults).
#include "AppTestSupport.h"
#include "DeviceDiscovery.h"
#include "Hid_Thread.h"
#include "VirtualMouse.h"
#include "platform/CopyDataFrame.h"
#include "platform/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

QByteArray u32(quint32 v)
{
    char raw[4];
    qToBigEndian(v, raw);
    return QByteArray(raw, 4);
}

QByteArray frame(quint32 kind, const QByteArray &payload)
{
    return u32(kind) + u32(quint32(payload.size())) + payload;
}

QByteArray text(const QByteArray &bytes)
{
    return u32(quint32(bytes.size())) + bytes;
}

} // namespace

class TestCommandHandOver : public QObject
{
    Q_OBJECT

private slots:
    void framesRoundTrip()
    {
        CopyDataFrame reader;
        reader.append(CopyDataFrame::encodeCommandRequest({"apply-profile", QString::fromUtf8("Spiel ü")}));
        reader.append(CopyDataFrame::encodeCommandAccepted());
        reader.append(CopyDataFrame::encodeCommandReply(4, "out\n", "err\n"));
        CopyDataFrame::Frame f;
        QVERIFY(reader.next(f));
        QCOMPARE(f.kind, CopyDataFrame::CommandRequest);
        QCOMPARE(f.arguments, QStringList({"apply-profile", QString::fromUtf8("Spiel ü")}));
        QVERIFY(reader.next(f));
        QCOMPARE(f.kind, CopyDataFrame::CommandAccepted);
        QVERIFY(reader.next(f));
        QCOMPARE(f.kind, CopyDataFrame::CommandReply);
        QCOMPARE(f.exitCode, 4);
        QCOMPARE(f.out, QString("out\n"));
        QCOMPARE(f.err, QString("err\n"));
        QVERIFY(!reader.next(f));
        QVERIFY(!reader.failed());

        // Nothing beyond what a command line could type is ever encoded.
        QVERIFY(CopyDataFrame::encodeCommandRequest(QStringList(9, "x")).isEmpty());
        QVERIFY(CopyDataFrame::encodeCommandRequest({QString(257, 'x')}).isEmpty());
        QVERIFY(!CopyDataFrame::encodeCommandRequest(QStringList(8, QString(256, 'x'))).isEmpty());
    }

    void malformedFramesFailTheStream_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("nine arguments") << frame(0x43, u32(9) + text("a").repeated(9));
        QTest::newRow("argument of 257 bytes") << frame(0x43, u32(1) + text(QByteArray(257, 'a')));
        QTest::newRow("fewer arguments than counted") << frame(0x43, u32(2) + text("state"));
        QTest::newRow("bytes after the arguments") << frame(0x43, u32(1) + text("state") + "x");
        QTest::newRow("request larger than any allowed, announced only")
            << (u32(0x43) + u32(1000000) + QByteArray(16, 0));
        QTest::newRow("acceptance with a payload") << frame(0x41, "x");
        QTest::newRow("reply text past the end") << frame(0x52, u32(0) + u32(50) + "ab");
        // A copy-data payload holds its tag and stated length: 8 bytes at least.
        for (int length = 4; length < 8; ++length)
            QTest::newRow(qPrintable(QStringLiteral("copy-data of %1 bytes").arg(length)))
                << frame(0x4A, QByteArray(length, 'x'));
    }
    void malformedFramesFailTheStream()
    {
        QFETCH(QByteArray, bytes);
        CopyDataFrame reader;
        reader.append(bytes);
        CopyDataFrame::Frame f;
        QVERIFY(!reader.next(f));
        QVERIFY(reader.failed());
    }

    // The running copy's side: the request reaches commandReceived, the peer is told at once that it
    // was taken, and the reply comes on the same connection even when the command outlasts the frame
    // time limit.
    void commandIsAnsweredOnItsConnection()
    {
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        SingleInstance server("/opt/kc-test/kestral-config", runtime.path());
        SingleInstance::Limits limits;
        limits.frameTimeoutMs = 200;
        limits.checkIntervalMs = 50;
        server.setLimits(limits);
        QVERIFY(!server.isRunning());

        QStringList received;
        connect(&server, &InstanceChannel::commandReceived, this, [&](quint64 id, const QStringList &args) {
            received = args;
            QTimer::singleShot(700, &server, [&server, id] { server.answerCommand(id, 3, "o", "e"); });
        });

        std::atomic<bool> done{false};
        SingleInstance::Delivery delivery = SingleInstance::Delivery::Lost;
        CopyDataFrame::Frame reply;
        std::thread client([&] {
            SingleInstance peer("/opt/kc-test/kestral-config", runtime.path());
            delivery = peer.sendCommand({"set-dpi-stage", "2"}, 2000, 5000, &reply);
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
        client.join();
        QCOMPARE(received, QStringList({"set-dpi-stage", "2"}));
        QCOMPARE(delivery, SingleInstance::Delivery::Replied);
        QCOMPARE(reply.exitCode, 3);
        QCOMPARE(reply.out, QString("o"));
        QCOMPARE(reply.err, QString("e"));
    }

    // A peer cannot send answers, nor anything after its request.
    void peersOnlyAsk_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("a reply") << CopyDataFrame::encodeCommandReply(0, "x", "");
        QTest::newRow("an acceptance") << CopyDataFrame::encodeCommandAccepted();
        QTest::newRow("a second request")
            << CopyDataFrame::encodeCommandRequest({"state"}) + CopyDataFrame::encodeCommandRequest({"list"});
    }
    void peersOnlyAsk()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        SingleInstance server("/opt/kc-test/kestral-config", runtime.path());
        QVERIFY(!server.isRunning());
        int requests = 0;
        connect(&server, &InstanceChannel::commandReceived, this, [&] { ++requests; });
        QLocalSocket socket;
        socket.connectToServer(server.socketPath());
        QVERIFY(socket.waitForConnected(2000));
        socket.write(bytes);
        QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
        QCoreApplication::processEvents();
        QVERIFY(requests <= 1);
    }

    // A socket that takes the connection but never answers, and one nobody listens on.
    void silentCopyIsNotAnswering()
    {
        QTemporaryDir runtime;
        const QString path = SingleInstance::socketPathFor("/opt/kc-test/kestral-config", runtime.path());
        SingleInstance peer("/opt/kc-test/kestral-config", runtime.path());
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(peer.sendCommand({"state"}, 300, 5000, nullptr), SingleInstance::Delivery::NotAnswering);

        QLocalServer silent;
        QVERIFY(silent.listen(path));
        std::atomic<bool> done{false};
        SingleInstance::Delivery delivery = SingleInstance::Delivery::Replied;
        clock.restart();
        std::thread client([&] {
            delivery = peer.sendCommand({"state"}, 400, 5000, nullptr);
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done, 5000);
        client.join();
        QCOMPARE(delivery, SingleInstance::Delivery::NotAnswering);
        QVERIFY(clock.elapsed() < 3000);
    }

    // Why a listed mouse cannot be used, as the opening of its interface fails.
    void unusableMouseIsExplained_data()
    {
        QTest::addColumn<QString>("faults");
        QTest::addColumn<bool>("plugged");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<bool>("namesPath");
        QTest::newRow("answers") << "" << true << int(DeviceDiscovery::Outcome::Accepted) << false;
        QTest::newRow("unplugged") << "" << false << int(DeviceDiscovery::Outcome::NoMouse) << false;
        QTest::newRow("no access") << "open-denied" << true << int(DeviceDiscovery::Outcome::NoPermission)
                                   << true;
        QTest::newRow("held by another")
            << "open-busy" << true << int(DeviceDiscovery::Outcome::Busy) << true;
        QTest::newRow("no answer") << "fail:hid_get_feature_report" << true
                                   << int(DeviceDiscovery::Outcome::NoAnswer) << true;
    }
    void unusableMouseIsExplained()
    {
        QFETCH(QString, faults);
        QFETCH(bool, plugged);
        QFETCH(int, outcome);
        QFETCH(bool, namesPath);
        TempInstallation inst;
        QVERIFY(inst.isValid());
        QVERIFY(QDir::setCurrent(inst.path()));
        vmouse::configure(vmouse::Config());
        if (!plugged)
            vmouse::unplug();
        QVERIFY(vmouse::addFaults(faults.toStdString()));
        Hid_Thread worker;
        QString path;
        QCOMPARE(int(DeviceDiscovery::probe(worker, &path)), outcome);
        QCOMPARE(path, namesPath ? QString("/dev/hidraw-virtual-0") : QString());

        if (faults.startsWith("open-")) {
            vmouse::clearTranscript();
            errno = 0;
            QVERIFY(!hid_open_path("/dev/hidraw-virtual-0"));
            QCOMPARE(errno, faults == "open-denied" ? EACCES : EBUSY);
            // Listing still finds it; clearing the faults lets it open again.
            hid_device_info *list = hid_enumerate(0, 0);
            QVERIFY(list);
            hid_free_enumeration(list);
            vmouse::clearFaults();
            hid_device *handle = hid_open_path("/dev/hidraw-virtual-0");
            QVERIFY(handle);
            hid_close(handle);
        }
        vmouse::clearFaults();
        QDir::setCurrent(QDir::tempPath());
    }
};

QTEST_GUILESS_MAIN(TestCommandHandOver)
#include "tst_command_hand_over.moc"
