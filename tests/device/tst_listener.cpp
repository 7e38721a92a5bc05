// The event listener: connection set-up, DPI reports handed to the GUI thread in order, foreign
// reports, removal, stopping and restarting, and destruction while it runs.
#include "DeviceFixture.h"
#include "Hid_Thread.h"
#include "MessageLog.h"
#include "TestFamily.h"
#include "TimeSeam.h"

#include <QtTest>

using namespace devtest;
using vmouse::Interface;

// Stands in for the shell: receives the listener's outcomes queued, as the shell connects them.
class Receiver : public QObject
{
    Q_OBJECT
public:
    explicit Receiver(Hid_Thread &hid)
    {
        connect(&hid, &Hid_Thread::dpiStageChanged, this, &Receiver::dpi, Qt::QueuedConnection);
        connect(&hid, &Hid_Thread::deviceRemoved, this, &Receiver::removed, Qt::QueuedConnection);
    }
    QStringList seen;
    bool onGuiThread = true;

public slots:
    void dpi(int stage) { note(QStringLiteral("dpi %1").arg(stage)); }
    void removed() { note(QStringLiteral("removed")); }

private:
    void note(const QString &s)
    {
        onGuiThread = onGuiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        seen << s;
    }
};

// A 553 worker aimed at entry and listening, with a receiver for what it reports.
struct Listening
{
    explicit Listening(const DeviceEntry &entry = configureMouse()) : rx(hid)
    {
        TestFamily().choose(hid);
        aimAt(hid, entry);
        hid.startListen(0);
    }
    Hid_Thread hid;
    Receiver rx;
};

class TestListener : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void keyboardOptionBitOnConnection_data();
    void keyboardOptionBitOnConnection();
    void keyboardOptionWithoutAnswer();
    void dpiReports_data();
    void dpiReports();
    void reportsKeepTheirOrder();
    void foreignReportsAreIgnored();
    void removalIsNoticed();
    void stopEndsQuietly();
    void restartRunsOneListener();
    void replacingTheListEndsTheListener();
    void noEventInterface();
    void destructionWaitsForTheListener();

private:
    MessageLog *log = nullptr;
};

void TestListener::initTestCase()
{
    // One pool thread: the pool's own bookkeeping between two of its threads (a listener ending while
    // the next one starts) is hidden from the thread checker and would show up as a race inside Qt.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
}

void TestListener::init()
{
    log = new MessageLog;
}

void TestListener::cleanup()
{
    delete log;
    vmouse::clearFaults();
}

void TestListener::keyboardOptionBitOnConnection_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QList<int>>("before");
    QTest::addColumn<QList<int>>("after");
    QTest::addColumn<QStringList>("messages");
    // 553: bit 0x40 of byte 4; 560: bit 0x08 of byte 1.
    QTest::newRow("553") << "553" << QList<int>{0x01, 0x02, 0x03, 0x12} << QList<int>{0x01, 0x02, 0x03, 0x52}
                         << QStringList{};
    QTest::newRow("560") << "560" << QList<int>{0x01, 0x05, 0, 0} << QList<int>{0x09, 0x05, 0, 0}
                         << QStringList{};
    QTest::newRow("553, bit already set")
        << "553" << QList<int>{0, 0, 0, 0x40} << QList<int>{0, 0, 0, 0x40} << QStringList{};
}

void TestListener::keyboardOptionBitOnConnection()
{
    QFETCH(QString, family);
    QFETCH(QList<int>, before);
    QFETCH(QList<int>, after);
    QFETCH(QStringList, messages);
    TestFamily owner(family);
    Hid_Thread hid;
    owner.choose(hid);
    aimAt(hid, configureMouse({family.toInt()}));
    vmouse::FirmwareState s = vmouse::state();
    for (int i = 0; i < 4; ++i)
        s.keyboardOption[std::size_t(i)] = std::uint8_t(before[i]);
    vmouse::setState(s);
    vmouse::clearTranscript();

    const std::int64_t t0 = kc::nowMs();
    hid.startListen(0);
    QVERIFY(hid.isListening());
    const uchar get = family == "560" ? 0x81 : 0x83;
    const uchar set = family == "560" ? 0x01 : 0x03;
    const QStringList ex = exchanges(t0);
    QCOMPARE(ex.size(), 3);
    QCOMPARE(ex.at(0).section(' ', 2, 2), QString::fromStdString(frameHex(get)));
    std::vector<std::uint8_t> params;
    for (int i = 0; i < (family == "560" ? 2 : 4); ++i)
        params.push_back(std::uint8_t(after[i]));
    QCOMPARE(ex.at(2).section(' ', 2, 2), QString::fromStdString(frameHex(set, params)));
    QCOMPARE(kc::nowMs() - t0 >= 8, true); // the pause after the option write
    QList<int> now;
    for (auto b : vmouse::state().keyboardOption)
        now << b;
    QCOMPARE(now, after);
    QCOMPARE(log->messages(), messages);
    hid.stopListen();
    hid.waitForListener();
}

void TestListener::keyboardOptionWithoutAnswer()
{
    TestFamily owner("553");
    {
        // No answer: the write carries the starting values (zero) with the bit.
        Hid_Thread hid;
        owner.choose(hid);
        aimAt(hid, configureMouse());
        vmouse::failNext("hid_get_feature_report");
        hid.startListen(0);
        QCOMPARE(int(vmouse::state().keyboardOption[3]), 0x40);
        QVERIFY(hid.isListening());
    }
    {
        // Busy: both commands give up, the listener starts all the same.
        Hid_Thread hid;
        owner.choose(hid);
        aimAt(hid, configureMouse());
        QVERIFY(hid.waitHidFree());
        log->clear();
        hid.startListen(0);
        QCOMPARE(log->messages(), QStringList({"cmd Failed 83", "cmd Failed 03"}));
        QVERIFY(hid.isListening());
        Receiver rx(hid);
        vmouse::sendDpiEvent(2);
        QTRY_COMPARE(rx.seen.size(), 1);
    }
}

void TestListener::dpiReports_data()
{
    QTest::addColumn<int>("stage");
    QTest::newRow("stage 1") << 1;
    QTest::newRow("stage 3") << 3;
    QTest::newRow("stage 7") << 7;
    QTest::newRow("stage 0") << 0;
    QTest::newRow("stage 8") << 8;
    QTest::newRow("stage 9") << 9;
    QTest::newRow("stage 255") << 255;
}

void TestListener::dpiReports()
{
    QFETCH(int, stage);
    Listening l;
    vmouse::sendEvent({6, 7, 0x55, std::uint8_t(stage)});
    // Every stage reaches the window, which words the balloon itself.
    QTRY_COMPARE(l.rx.seen.size(), 1);
    QCOMPARE(l.rx.seen, QStringList({QStringLiteral("dpi %1").arg(stage)}));
    QVERIFY(l.rx.onGuiThread);
    l.hid.stopListen();
    l.hid.waitForListener();
    QVERIFY(!log->messages().contains("Device removed"));
}

void TestListener::reportsKeepTheirOrder()
{
    Listening l;
    QStringList expected;
    for (int stage : {2, 5, 1, 4}) {
        vmouse::sendDpiEvent(std::uint8_t(stage));
        expected << QStringLiteral("dpi %1").arg(stage);
    }
    QTRY_COMPARE(l.rx.seen.size(), expected.size());
    QCOMPARE(l.rx.seen, expected);
}

void TestListener::foreignReportsAreIgnored()
{
    Listening l;
    vmouse::sendEvent({6, 8, 0, 3});
    vmouse::sendEvent({7, 6, 0, 3});
    vmouse::sendEvent({6, 7, 3}); // three bytes
    vmouse::sendEvent({6});
    vmouse::sendDpiEvent(4); // the one that counts, after the others
    QTRY_COMPARE(l.rx.seen.size(), 1);
    QCOMPARE(l.rx.seen.first(), QStringLiteral("dpi 4"));
    QTRY_COMPARE(int(vmouse::pendingEvents()), 0);
    QTest::qWait(50);
    QCOMPARE(l.rx.seen.size(), 1);
    QVERIFY(l.hid.isListening());
}

void TestListener::removalIsNoticed()
{
    const DeviceEntry entry = configureMouse();
    Listening l(entry);
    vmouse::sendDpiEvent(3);
    QTRY_COMPARE(l.rx.seen.size(), 1);
    QVERIFY(l.hid.cmdHandle() != nullptr); // opened by the connection set-up, and kept
    vmouse::unplug();
    QTRY_COMPARE(l.rx.seen.size(), 2);
    QCOMPARE(l.rx.seen.last(), QStringLiteral("removed"));
    QVERIFY(l.hid.cmdHandle() == nullptr); // closed with the mouse's removal
    l.hid.waitForListener();
    QVERIFY(!l.hid.isListening());
    QCOMPARE(log->count("Device removed"), 1);
    QCOMPARE(l.hid.deviceList().at(0).path2, QString());
    QCOMPARE(l.hid.deviceList().at(0).path, entry.path); // the command side finds out on its next command
    QCOMPARE(handleDiscipline(Interface::Event), QString());
}

void TestListener::stopEndsQuietly()
{
    Listening l;
    QTRY_VERIFY(!vmouse::transcript(Interface::Event).empty());
    l.hid.stopListen();
    l.hid.waitForListener();
    QCoreApplication::processEvents();
    QVERIFY(!l.hid.isListening());
    QCOMPARE(l.rx.seen, QStringList());
    QVERIFY(!log->messages().contains("Device removed"));
    QVERIFY(l.hid.eventHandle() == nullptr);
    QCOMPARE(handleDiscipline(Interface::Event), QString());
    // Nothing reads the event interface any more.
    vmouse::sendDpiEvent(2);
    QTest::qWait(60);
    QCOMPARE(int(vmouse::pendingEvents()), 1);
}

void TestListener::restartRunsOneListener()
{
    Listening l;
    l.hid.startListen(0);
    l.hid.startListen(0);
    for (int i = 0; i < 20; ++i)
        vmouse::sendDpiEvent(std::uint8_t(1 + i % 7));
    QTRY_COMPARE(l.rx.seen.size(), 20);
    // One handle on the event interface at a time.
    QCOMPARE(handleDiscipline(Interface::Event).contains("2 handles"), false);
}

void TestListener::replacingTheListEndsTheListener()
{
    const DeviceEntry entry = configureMouse();
    Listening l(entry);
    QTRY_VERIFY(!vmouse::transcript(Interface::Event).empty());
    l.hid.setDeviceList({entry, entry});
    QVERIFY(!l.hid.isListening());
    QCOMPARE(l.hid.deviceList().size(), 2);
    QVERIFY(!log->messages().contains("Device removed"));
}

void TestListener::noEventInterface()
{
    DeviceEntry entry = configureMouse();
    entry.path2.clear();
    Listening l(entry);
    l.hid.waitForListener();
    // The keyboard option was still set; no loop ran, so unplugging goes unnoticed here.
    QCOMPARE(int(vmouse::state().keyboardOption[3]), 0x40);
    QVERIFY(vmouse::transcript(Interface::Event).empty());
    vmouse::unplug();
    QTest::qWait(50);
    QCOMPARE(l.rx.seen, QStringList());
    QVERIFY(!log->messages().contains("Device removed"));
}

void TestListener::destructionWaitsForTheListener()
{
    TestFamily owner;
    for (int round = 0; round < 5; ++round) {
        auto *hid = new Hid_Thread;
        owner.choose(*hid);
        aimAt(*hid, configureMouse());
        hid->startListen(0);
        vmouse::sendDpiEvent(3);
        QTest::qWait(round * 5);
        delete hid; // must not return while the listener still uses the object
    }
    QVERIFY(!log->messages().contains("Device removed"));
    QCoreApplication::processEvents();
}

QTEST_GUILESS_MAIN(TestListener)
#include "tst_listener.moc"
