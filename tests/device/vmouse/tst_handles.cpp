// The virtual mouse keeps the hidapi contract where a client would notice: opening by ids and serial
// number, error strings that follow the last call, and handles that never turn into another one.
#include "Host.h"
#include "VirtualMouse.h"

#include <hidapi/hidapi.h>

#include <QtTest>

#include <set>

using host::frame;
using host::Frame;

namespace {

QString errorOf(hid_device *dev)
{
    return QString::fromWCharArray(hid_error(dev));
}

void configureLenient()
{
    vmouse::Config c;
    c.strict = false;
    vmouse::configure(c);
}

} // namespace

class TestHandles : public QObject
{
    Q_OBJECT

private slots:
    void init() { vmouse::configure(vmouse::Config()); }

    void openByIdsNeedsAnExactMatch();
    void errorFollowsTheLastCall();
    void closedHandleIsNeverReused();
    void staleAndBadHandlesAreRefused();
};

void TestHandles::openByIdsNeedsAnExactMatch()
{
    // 0 is a wildcard for hid_enumerate only.
    QVERIFY(!hid_open(0, 0, nullptr));
    QCOMPARE(vmouse::transcript().back().ret, 0L);
    QVERIFY(errorOf(nullptr) != QLatin1String("Success"));
    QVERIFY(!hid_open(0x4B43, 0, nullptr));
    QVERIFY(!hid_open(0, 0x0001, nullptr));
    QVERIFY(!hid_open(0x4B43, 0x0001, L"0002"));
    QVERIFY(!hid_open(0x4B43, 0x0001, L""));

    hid_device *h = hid_open(0x4B43, 0x0001, L"0001");
    QVERIFY(h);
    QCOMPARE(errorOf(nullptr), QStringLiteral("Success"));
    QCOMPARE(hid_get_device_info(h)->usage_page, 0xFF00); // the command interface, listed first
    wchar_t serial[8] = {};
    QCOMPARE(hid_get_serial_number_string(h, serial, 8), 0);
    QCOMPARE(QString::fromWCharArray(serial), QStringLiteral("0001")); // the one it was matched by
    hid_close(h);

    h = hid_open(0x4B43, 0x0001, nullptr);
    QVERIFY(h);
    hid_close(h);
    vmouse::unplug();
    QVERIFY(!hid_open(0x4B43, 0x0001, nullptr));
}

void TestHandles::errorFollowsTheLastCall()
{
    hid_device *h = hid_open_path(host::commandPath().c_str());
    QVERIFY(h);
    const Frame f = frame(0x01, {2});
    std::uint8_t buf[33] = {};

    vmouse::failNext("hid_write");
    QCOMPARE(hid_write(h, f.data(), f.size()), -1);
    QVERIFY(errorOf(h).contains("injected"));
    QCOMPARE(hid_write(h, f.data(), f.size()), int(f.size()));
    QCOMPARE(errorOf(h), QStringLiteral("Success"));

    vmouse::failNext("hid_read_timeout");
    QCOMPARE(hid_read_timeout(h, buf, sizeof buf, 0), -1);
    QVERIFY(errorOf(h) != QLatin1String("Success"));
    QCOMPARE(hid_read_timeout(h, buf, sizeof buf, 0), 0); // nothing came: not an error
    QCOMPARE(errorOf(h), QStringLiteral("Success"));

    QCOMPARE(hid_send_feature_report(h, f.data(), 0), -1);
    QVERIFY(errorOf(h) != QLatin1String("Success"));
    QCOMPARE(hid_send_feature_report(h, f.data(), f.size()), 9);
    QCOMPARE(errorOf(h), QStringLiteral("Success"));

    buf[0] = 3; // no such report
    QCOMPARE(hid_get_feature_report(h, buf, 9), -1);
    QVERIFY(errorOf(h) != QLatin1String("Success"));
    buf[0] = 0;
    QCOMPARE(hid_get_feature_report(h, buf, 9), 9);
    QCOMPARE(errorOf(h), QStringLiteral("Success"));
    hid_close(h);
}

void TestHandles::closedHandleIsNeverReused()
{
    configureLenient();
    const std::string path = host::commandPath();
    hid_device *first = hid_open_path(path.c_str());
    QVERIFY(first);
    hid_close(first);
    std::set<hid_device *> seen{first};
    for (int i = 0; i < 200; ++i) {
        hid_device *h = hid_open_path(path.c_str());
        QVERIFY(h);
        QVERIFY(seen.insert(h).second);
        hid_close(h);
    }

    // The program under test closes its old handle a second time: that is reported, and the handle
    // opened since is not touched.
    hid_device *other = hid_open_path(path.c_str());
    hid_close(first);
    const vmouse::TranscriptRecord stale = vmouse::transcript().back();
    QCOMPARE(stale.fn, std::string("hid_close"));
    QCOMPARE(stale.ret, -1L);
    const Frame f = frame(0x01, {3});
    QCOMPARE(hid_send_feature_report(other, f.data(), f.size()), 9);
    QCOMPARE(int(vmouse::state().reportRate), 3);
    hid_close(other);
    QCOMPARE(vmouse::transcript().back().ret, 0L);
}

void TestHandles::staleAndBadHandlesAreRefused()
{
    configureLenient();
    hid_device *h = hid_open_path(host::commandPath().c_str());
    hid_close(h);
    std::uint8_t buf[9] = {};
    int local = 0;
    for (hid_device *bad : {h, static_cast<hid_device *>(nullptr), reinterpret_cast<hid_device *>(&local)}) {
        vmouse::clearTranscript();
        QCOMPARE(hid_send_feature_report(bad, buf, 9), -1);
        QCOMPARE(hid_get_feature_report(bad, buf, 9), -1);
        QCOMPARE(hid_read(bad, buf, 9), -1);
        QCOMPARE(hid_write(bad, buf, 9), -1);
        QCOMPARE(hid_set_nonblocking(bad, 1), -1);
        QVERIFY(!hid_get_device_info(bad));
        QVERIFY(hid_error(bad) != nullptr);
        for (const auto &r : vmouse::transcript()) {
            QVERIFY(r.path.empty());
            QCOMPARE(r.ret, r.fn == "hid_error" && !bad ? 0L : -1L);
        }
    }
    hid_close(nullptr); // allowed
    QCOMPARE(vmouse::transcript().back().ret, 0L);
    QCOMPARE(int(vmouse::state().commands), 0);
}

QTEST_GUILESS_MAIN(TestHandles)
#include "tst_handles.moc"
