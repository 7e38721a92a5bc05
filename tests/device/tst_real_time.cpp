// In real time: the pauses of the transport really pause, a silent device fails a data read within
// its time limit, and the listener stops within one read time-out and does not spin on read errors.
#include "DeviceFixture.h"
#include "Hid_Thread.h"
#include "MessageLog.h"
#include "TestFamily.h"

#include <QElapsedTimer>
#include <QtTest>
#include <atomic>
#include <thread>

using namespace devtest;
using vmouse::Interface;

class TestRealTime : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(!vmouse::virtualClockLinked()); }
    void init() { log = new MessageLog; }
    void cleanup()
    {
        delete log;
        vmouse::clearFaults();
    }
    void bulkWriteWithSettlePauses();
    void busyWaitAndThenPause();
    void unplugInsideATransaction();
    void silentDeviceFailsTheDataRead();
    void listenerStopsWithinOneReadTimeout();
    void readErrorsDoNotSpin();

private:
    MessageLog *log = nullptr;
};

void TestRealTime::bulkWriteWithSettlePauses()
{
    Hid_Thread hid;
    aimAt(hid, configureMouse());
    uchar matrix[64] = {};
    QElapsedTimer timer;
    timer.start();
    hid.hid553_12H_SetKeyMatrix(matrix, 1);
    const qint64 elapsed = timer.elapsed();
    uchar stage = 0;
    hid.hid553_8BH_GetCurrentDPI(stage); // its request marks when the command had returned
    // Feature report, 128 ms, write, 120 ms, write, 120 + 128 ms, the next command.
    std::vector<std::int64_t> at;
    for (const auto &r : vmouse::transcript(Interface::Command)) {
        if (r.fn == "hid_send_feature_report" || r.fn == "hid_write")
            at.push_back(r.tMs);
    }
    QCOMPARE(int(at.size()), 4);
    QVERIFY2(at[1] - at[0] >= 128, qPrintable(QString::number(at[1] - at[0])));
    QVERIFY(at[2] - at[1] >= 120);
    QVERIFY(at[3] - at[2] >= 248);
    QVERIFY(elapsed >= 496);
}

void TestRealTime::busyWaitAndThenPause()
{
    Hid_Thread hid;
    aimAt(hid, configureMouse({560}));
    QElapsedTimer timer;
    timer.start();
    hid.hid560_02H_SetCurrentProfile(2);
    QVERIFY(timer.elapsed() >= 8);

    QVERIFY(hid.waitHidFree());
    timer.restart();
    hid.hid560_02H_SetCurrentProfile(3);
    QVERIFY(timer.elapsed() >= 255 * 8);
    QCOMPARE(log->messages().last(), QStringLiteral("cmd Failed 02"));
}

void TestRealTime::unplugInsideATransaction()
{
    // The mouse goes away during the settle pause between the feature report and the data.
    Hid_Thread hid;
    aimAt(hid, configureMouse());
    std::atomic<bool> done{false};
    std::thread unplugger([&] {
        while (!done) {
            for (const auto &r : vmouse::transcript(Interface::Command))
                if (r.fn == "hid_send_feature_report") {
                    vmouse::unplug();
                    return;
                }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    uchar matrix[64] = {};
    hid.hid553_12H_SetKeyMatrix(matrix, 1);
    done = true;
    unplugger.join();
    QStringList calls = callSequence();
    // The first write fails on the dead handle, and the reopening after it finds the mouse gone.
    QCOMPARE(calls.filter("hid_write"), QStringList{"hid_write -1"});
    QCOMPARE(calls.last(), QStringLiteral("hid_open_path 0"));
    QVERIFY(hid.cmdHandle() == nullptr);
    QCOMPARE(handleDiscipline(), QString());
    QVERIFY(hid.hidFree());
    QCOMPARE(hid.deviceList().at(0).path, QString());
    vmouse::plug();
}

void TestRealTime::silentDeviceFailsTheDataRead()
{
    Hid_Thread hid;
    aimAt(hid, configureMouse({560}));
    vmouse::setNeverAnswer(true);
    uchar block[128] = {};
    QElapsedTimer timer;
    timer.start();
    hid.hid560_8CH_readProfile(block, 0);
    // It waited for the data up to its limit, then gave up instead of hanging.
    QVERIFY(timer.elapsed() >= Hid_Thread::DataReadTimeoutMs);
    QVERIFY(hid.hidFree());
    vmouse::setNeverAnswer(false);
}

void TestRealTime::listenerStopsWithinOneReadTimeout()
{
    TestFamily owner;
    Hid_Thread hid;
    owner.choose(hid);
    aimAt(hid, configureMouse());
    hid.startListen(0);
    QTest::qWait(150); // inside a read that waits for real
    QElapsedTimer timer;
    timer.start();
    hid.stopListen();
    hid.waitForListener();
    const qint64 stopped = timer.elapsed();
    QVERIFY2(stopped <= Hid_Thread::EventReadTimeoutMs + 200, qPrintable(QString::number(stopped)));
    QVERIFY(!log->messages().contains("Device removed"));
}

void TestRealTime::readErrorsDoNotSpin()
{
    TestFamily owner;
    Hid_Thread hid;
    owner.choose(hid);
    aimAt(hid, configureMouse());
    vmouse::failAlways("hid_read_timeout", Interface::Event);
    hid.startListen(0);
    QTest::qWait(1000);
    hid.stopListen();
    hid.waitForListener();
    int reads = 0;
    for (const auto &r : vmouse::transcript(Interface::Event))
        reads += r.fn == "hid_read_timeout";
    // One failed read every pause of 100 ms, not thousands.
    QVERIFY2(reads >= 2 && reads <= 15, qPrintable(QString::number(reads)));
}

QTEST_GUILESS_MAIN(TestRealTime)
#include "tst_real_time.moc"
