// The virtual mouse without a virtual clock: real-time stamps and time-outs that really wait.
#include "Host.h"
#include "VirtualMouse.h"

#include <hidapi/hidapi.h>

#include <QtTest>

#include <chrono>
#include <thread>

class TestRealTime : public QObject
{
    Q_OBJECT

private slots:
    void init() { vmouse::configure(vmouse::Config()); }

    void stampsAreRealTimeSinceLoad();
    void timeoutsWaitForReal();
    void blockingReadGivesUpAtTheLimit();
};

void TestRealTime::stampsAreRealTimeSinceLoad()
{
    QVERIFY(!vmouse::virtualClockLinked());
    const std::int64_t before = vmouse::nowMs();
    QVERIFY(before >= 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    QVERIFY(vmouse::nowMs() - before >= 30);
}

void TestRealTime::timeoutsWaitForReal()
{
    std::uint8_t buf[33];
    for (const char *path : {"/dev/hidraw-virtual-0", "/dev/hidraw-virtual-1"}) {
        hid_device *h = hid_open_path(path);
        QVERIFY(h);
        vmouse::clearTranscript();
        const auto start = std::chrono::steady_clock::now();
        QCOMPARE(hid_read_timeout(h, buf, sizeof buf, 80), 0);
        const auto waited = std::chrono::steady_clock::now() - start;
        hid_close(h);
        QVERIFY(waited >= std::chrono::milliseconds(80));
        const auto t = vmouse::transcript();
        QCOMPARE(int(t.size()), 2);
        QVERIFY(t[1].tMs - t[0].tMs >= 79); // stamped at the start of each call
    }
}

void TestRealTime::blockingReadGivesUpAtTheLimit()
{
    vmouse::setBlockingReadLimitMs(50);
    hid_device *h = hid_open_path("/dev/hidraw-virtual-0");
    std::uint8_t buf[33];
    const auto start = std::chrono::steady_clock::now();
    QCOMPARE(hid_read(h, buf, sizeof buf), -1);
    QVERIFY(std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(50));
    QVERIFY(std::wstring(hid_error(h)).find(L"timed out") != std::wstring::npos);
    hid_close(h);
}

QTEST_GUILESS_MAIN(TestRealTime)
#include "tst_real_time.moc"
