// The virtual mouse as a device: enumeration, handles, transcript, state file, environment, events,
// unplugging, fault injection and the control FIFO, with the virtual clock linked.
#include "Host.h"
#include "TimeSeam.h"
#include "VirtualMouse.h"

#include <hidapi/hidapi.h>
#include <libudev.h>
#include <poll.h>

#include <QtTest>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <thread>

using host::Exchange;
using host::frame;
using host::Frame;

namespace {

struct Found
{
    std::string path;
    unsigned usagePage;
    unsigned usage;
};

std::vector<Found> enumerate(unsigned short vid, unsigned short pid)
{
    std::vector<Found> out;
    hid_device_info *devs = hid_enumerate(vid, pid);
    for (hid_device_info *d = devs; d; d = d->next)
        out.push_back({d->path, d->usage_page, d->usage});
    hid_free_enumeration(devs);
    return out;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestDevice : public QObject
{
    Q_OBJECT

private slots:
    void init() { vmouse::configure(vmouse::Config()); }

    void enumerationFollowsConfiguration();
    void openOnlyKnownPaths();
    void transcriptRecordsEveryCall();
    void transcriptLineFormat();
    void transcriptFileMatchesMemory();
    void transcriptStampsVirtualTime();
    void stateFileFollowsChanges();
    void environmentConfiguration();
    void environmentRejectsNonsense();
    void eventReportsInOrder();
    void eventReadWaitsBrieflyWithoutMovingTheClock();
    void eventFromAnotherThreadWakesReader();
    void commandTimeoutPassesOnVirtualClock();
    void unplugKillsHandlesAndReplugKeepsMemory();
    void unplugWakesBlockedRead();
    void plugAndUnplugRaiseUdevNotices();
    void failNextAndAlways();
    void failOnOneInterfaceOnly();
    void faultListForm();
    void neverAnswerEndsBlockingRead();
    void garbageAnswersFailTheProbe();
    void badArgumentsAreSafe();
    void controlFifo();
};

void TestDevice::enumerationFollowsConfiguration()
{
    auto found = enumerate(0x4B43, 0x0001);
    QCOMPARE(int(found.size()), 2);
    QCOMPARE(QString::fromStdString(found[0].path), QStringLiteral("/dev/hidraw-virtual-0"));
    QCOMPARE(found[0].usagePage, 0xFF00u);
    QCOMPARE(found[0].usage, 0xFF00u);
    QCOMPARE(QString::fromStdString(found[1].path), QStringLiteral("/dev/hidraw-virtual-1"));
    QCOMPARE(found[1].usagePage, 0xFF01u);
    QCOMPARE(found[1].usage, 0xFF01u);
    QCOMPARE(int(enumerate(0, 0).size()), 2); // 0 means any
    QCOMPARE(int(enumerate(0x4B43, 0).size()), 2);
    QVERIFY(enumerate(0x4B44, 0x0001).empty());
    QVERIFY(enumerate(0x4B43, 0x0002).empty());

    vmouse::Config c;
    c.vid = 0x1234;
    c.pid = 0x5678;
    c.usagePage = 0xFF02;
    c.usage = 0x0001;
    c.usagePage2 = 0xFF02; // both interfaces under one pair
    c.usage2 = 0x0001;
    c.path = "/dev/hidraw-a";
    c.path2 = "/dev/hidraw-b";
    vmouse::configure(c);
    QVERIFY(enumerate(0x4B43, 0x0001).empty());
    found = enumerate(0x1234, 0x5678);
    QCOMPARE(int(found.size()), 2);
    QCOMPARE(found[0].path, std::string("/dev/hidraw-a"));
    QCOMPARE(found[1].usagePage, 0xFF02u);
    QCOMPARE(found[1].usage, 0x0001u);

    c.eventInterface = false;
    vmouse::configure(c);
    found = enumerate(0, 0);
    QCOMPARE(int(found.size()), 1);
    QVERIFY(!hid_open_path("/dev/hidraw-b"));
}

void TestDevice::openOnlyKnownPaths()
{
    QVERIFY(!hid_open_path("/dev/hidraw0"));
    QVERIFY(!hid_open_path(""));
    QVERIFY(!hid_open_path(nullptr));
    hid_device *h = hid_open_path("/dev/hidraw-virtual-0");
    QVERIFY(h);
    QCOMPARE(hid_set_nonblocking(h, 0), 0);
    wchar_t text[32];
    QCOMPARE(hid_get_product_string(h, text, 32), 0);
    QVERIFY(std::wstring(text).size() > 0);
    hid_device_info *info = hid_get_device_info(h);
    QVERIFY(info);
    QCOMPARE(info->usage_page, 0xFF00);
    hid_close(h);
    hid_device *byIds = hid_open(0x4B43, 0x0001, nullptr);
    QVERIFY(byIds);
    hid_close(byIds);
    QVERIFY(!hid_open(0x4B43, 0x0009, nullptr));
    // The event interface takes no feature or output reports.
    hid_device *e = hid_open_path("/dev/hidraw-virtual-1");
    QVERIFY(e);
    const Frame f = frame(0x01, {2});
    QCOMPARE(hid_send_feature_report(e, f.data(), f.size()), -1);
    QCOMPARE(hid_write(e, f.data(), f.size()), -1);
    QVERIFY(std::wstring(hid_error(e)).size() > 0);
    hid_close(e);
    QCOMPARE(int(vmouse::state().reportRate), 1);
}

void TestDevice::transcriptRecordsEveryCall()
{
    const Exchange x;
    x.get(frame(0x00, {1, 2, 3, 4}));
    const auto t = vmouse::transcript();
    QStringList fns;
    for (const auto &r : t)
        fns << QString::fromStdString(r.fn);
    QCOMPARE(fns, QStringList({"hid_open_path", "hid_send_feature_report", "hid_close", "hid_open_path",
                               "hid_get_feature_report", "hid_close"}));
    QCOMPARE(t[0].ret, 1L);
    QCOMPARE(t[0].path, std::string("/dev/hidraw-virtual-0"));
    QVERIFY(t[0].bytes.empty());
    QCOMPARE(t[1].bytes, std::string("00000102030400") + "00f5");
    QCOMPARE(t[1].ret, 9L);
    QCOMPARE(t[4].bytes, std::string("000001020304") + "0000f5"); // what the host received
    QCOMPARE(t[4].ret, 9L);
    QCOMPARE(t[2].ret, 0L);

    // Scrambled reports appear as sent.
    vmouse::Config c;
    c.encode = true;
    vmouse::configure(c);
    Exchange{"739105"}.send(frame(0x00, {1, 2, 3, 4}));
    QCOMPARE(vmouse::transcript()[1].bytes, std::string("00b5b405d0e677d566"));

    // A failed open is recorded with 0, and calls filter by interface.
    QVERIFY(!hid_open_path("/nope"));
    QCOMPARE(vmouse::transcript().back().ret, 0L);
    QCOMPARE(vmouse::transcript().back().path, std::string("/nope"));
    hid_device *e = hid_open_path("/dev/hidraw-virtual-1");
    hid_close(e);
    QCOMPARE(int(vmouse::transcript(vmouse::Interface::Event).size()), 2);
    QCOMPARE(int(vmouse::transcript(vmouse::Interface::Command).size()), 3);
}

void TestDevice::transcriptLineFormat()
{
    vmouse::TranscriptRecord r{1234, "hid_read_timeout", "/dev/x\"y\\z", "0607ff03", 4};
    QCOMPARE(QString::fromStdString(vmouse::toJsonLine(r)),
             QStringLiteral("{\"t_ms\":1234,\"fn\":\"hid_read_timeout\",\"path\":\"/dev/x\\\"y\\\\z\","
                            "\"bytes\":\"0607ff03\",\"ret\":4}"));
    vmouse::TranscriptRecord odd{0, "hid_open_path", std::string("a\nb\x01", 4), "", -1};
    const QByteArray line = QByteArray::fromStdString(vmouse::toJsonLine(odd));
    QJsonParseError err{};
    const QJsonDocument doc = QJsonDocument::fromJson(line, &err);
    QCOMPARE(err.error, QJsonParseError::NoError);
    QCOMPARE(doc.object().value("path").toString(), QString::fromLatin1("a\nb\x01"));
    QCOMPARE(doc.object().value("ret").toInt(), -1);
}

void TestDevice::transcriptFileMatchesMemory()
{
    QTemporaryDir dir;
    vmouse::Config c;
    c.transcriptPath = (dir.path() + "/t.jsonl").toStdString();
    vmouse::configure(c);
    Exchange().set(frame(0x12, {1, 64, 8}), host::pattern(64, 1));
    enumerate(0, 0);

    const QList<QByteArray> lines = readFile(dir.path() + "/t.jsonl").split('\n');
    const auto t = vmouse::transcript();
    QCOMPARE(lines.size(), int(t.size()) + 1); // every line ends with a newline
    QVERIFY(lines.last().isEmpty());
    for (std::size_t i = 0; i < t.size(); ++i) {
        QCOMPARE(lines[int(i)], QByteArray::fromStdString(vmouse::toJsonLine(t[i])));
        const QJsonObject o = QJsonDocument::fromJson(lines[int(i)]).object();
        QCOMPARE(o.keys(), QStringList({"bytes", "fn", "path", "ret", "t_ms"}));
    }
    QCOMPARE(QJsonDocument::fromJson(lines[int(t.size()) - 2]).object().value("ret").toInt(), 2); // found
    QCOMPARE(QJsonDocument::fromJson(lines[int(t.size()) - 2]).object().value("fn").toString(),
             QStringLiteral("hid_enumerate"));

    // Lines are appended, not rewritten, and a stopped file stays as it was.
    vmouse::setTranscriptPath("");
    enumerate(0, 0);
    QCOMPARE(readFile(dir.path() + "/t.jsonl").count('\n'), int(t.size()));
}

void TestDevice::transcriptStampsVirtualTime()
{
    QVERIFY(vmouse::virtualClockLinked());
    const Exchange x;
    x.send(frame(0x01, {2}));
    kc::sleepMs(128);
    x.write(host::pattern(8, 0));
    kc::sleepMs(120);
    x.send(frame(0x0B, {2}));
    const auto t = vmouse::transcript();
    QCOMPARE(t[1].fn, std::string("hid_send_feature_report"));
    QCOMPARE(t[4].fn, std::string("hid_write"));
    QCOMPARE(t[7].fn, std::string("hid_send_feature_report"));
    QCOMPARE(t[4].tMs - t[1].tMs, std::int64_t(128));
    QCOMPARE(t[7].tMs - t[4].tMs, std::int64_t(120));
    QCOMPARE(vmouse::nowMs(), kc::nowMs());
    QCOMPARE(kc_virtual_clock_ms(), kc::nowMs());
}

void TestDevice::stateFileFollowsChanges()
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/state.json";
    vmouse::Config c;
    c.family = 560;
    c.statePath = path.toStdString();
    vmouse::configure(c);

    QJsonObject o = QJsonDocument::fromJson(readFile(path)).object();
    QCOMPARE(o.value("family").toInt(), 560);
    QCOMPARE(o.value("plugged").toBool(), true);
    QCOMPARE(o.value("currentProfile").toInt(), 1);
    QCOMPARE(o.value("profileBlock").toArray().size(), 5);

    const Exchange x;
    x.set(frame(0x02, {3}));
    x.set(frame(0x0C, {2, 128}), host::pattern(128, 1));
    x.set(frame(0x04, {1, 6}));
    o = QJsonDocument::fromJson(readFile(path)).object();
    QCOMPARE(o.value("currentProfile").toInt(), 3);
    QCOMPARE(o.value("profileBlock").toArray().at(2).toString(),
             QString::fromStdString(vmouse::toHex(host::pattern(128, 1).data(), 128)));
    QCOMPARE(o.value("dpiStageByK").toArray().at(0).toInt(), 6);
    QCOMPARE(o.value("commands").toInt(), 3);
    QCOMPARE(QByteArray::fromStdString(vmouse::stateJson()) + "\n", readFile(path));

    vmouse::unplug();
    QCOMPARE(QJsonDocument::fromJson(readFile(path)).object().value("plugged").toBool(), false);
    vmouse::plug();
    vmouse::sendDpiEvent(4);
    o = QJsonDocument::fromJson(readFile(path)).object();
    QCOMPARE(o.value("plugged").toBool(), true);
    QCOMPARE(o.value("currentDpiStage").toInt(), 4);
    QVERIFY(!QFile::exists(path + ".tmp"));
}

void TestDevice::environmentConfiguration()
{
    const char *vars[][2] = {{"VIRTUAL_MOUSE_FAMILY", "560"},        {"VIRTUAL_MOUSE_ENCODE", "1"},
                             {"VIRTUAL_MOUSE_SCODE", "A1B2C3"},      {"VIRTUAL_MOUSE_REPORT_LENGTH", "64"},
                             {"VIRTUAL_MOUSE_VID", "0x1d57"},        {"VIRTUAL_MOUSE_PID", "fa60"},
                             {"VIRTUAL_MOUSE_USAGE_PAGE", "ff01"},   {"VIRTUAL_MOUSE_USAGE", "0001"},
                             {"VIRTUAL_MOUSE_USAGE_PAGE2", "ff02"},  {"VIRTUAL_MOUSE_USAGE2", "2"},
                             {"VIRTUAL_MOUSE_TRANSCRIPT", "/tmp/t"}, {"VIRTUAL_MOUSE_STATE", "/tmp/s"},
                             {"VIRTUAL_MOUSE_CONTROL", "/tmp/c"},    {"VIRTUAL_MOUSE_EVENT_INTERFACE", "0"},
                             {"VIRTUAL_MOUSE_PLUGGED", "0"},         {"VIRTUAL_MOUSE_BLOCK_LIMIT_MS", "250"}};
    for (auto &v : vars)
        qputenv(v[0], v[1]);
    const vmouse::Config c = vmouse::configFromEnvironment();
    for (auto &v : vars)
        qunsetenv(v[0]);

    QCOMPARE(c.family, 560);
    QVERIFY(c.encode);
    QCOMPARE(c.scode, std::string("A1B2C3"));
    QCOMPARE(c.reportLength, 64);
    QCOMPARE(c.vid, std::uint16_t(0x1D57));
    QCOMPARE(c.pid, std::uint16_t(0xFA60));
    QCOMPARE(c.usagePage, std::uint16_t(0xFF01));
    QCOMPARE(c.usage, std::uint16_t(0x0001));
    QCOMPARE(c.usagePage2, std::uint16_t(0xFF02));
    QCOMPARE(c.usage2, std::uint16_t(0x0002));
    QCOMPARE(c.transcriptPath, std::string("/tmp/t"));
    QCOMPARE(c.statePath, std::string("/tmp/s"));
    QCOMPARE(c.controlPath, std::string("/tmp/c"));
    QVERIFY(!c.eventInterface);
    QVERIFY(!c.plugged);
    QCOMPARE(c.blockingReadLimitMs, 250);
}

void TestDevice::environmentRejectsNonsense()
{
    const char *vars[][2] = {{"VIRTUAL_MOUSE_FAMILY", "999"},   {"VIRTUAL_MOUSE_REPORT_LENGTH", "-3"},
                             {"VIRTUAL_MOUSE_VID", "xyz"},      {"VIRTUAL_MOUSE_PID", "12345"},
                             {"VIRTUAL_MOUSE_USAGE", "ff00zz"}, {"VIRTUAL_MOUSE_BLOCK_LIMIT_MS", "soon"}};
    for (auto &v : vars)
        qputenv(v[0], v[1]);
    const vmouse::Config c = vmouse::configFromEnvironment();
    for (auto &v : vars)
        qunsetenv(v[0]);
    const vmouse::Config d;
    QCOMPARE(c.family, 553);
    QCOMPARE(c.reportLength, d.reportLength);
    QCOMPARE(c.vid, d.vid);
    QCOMPARE(c.pid, d.pid);
    QCOMPARE(c.usage, d.usage);
    QCOMPARE(c.blockingReadLimitMs, d.blockingReadLimitMs);
    QCOMPARE(c.scode, std::string("739105"));
    QVERIFY(!c.encode);
}

void TestDevice::eventReportsInOrder()
{
    vmouse::sendDpiEvent(3);
    vmouse::sendEvent({6, 8, 0, 1});
    vmouse::sendEvent({6, 7, 1});
    vmouse::sendDpiEvent(9, 0x55);
    QCOMPARE(int(vmouse::pendingEvents()), 4);
    QCOMPARE(int(vmouse::state().currentDpiStage), 9);

    hid_device *e = hid_open_path("/dev/hidraw-virtual-1");
    QVERIFY(e);
    QStringList got;
    std::uint8_t buf[8];
    for (int i = 0; i < 4; ++i) {
        const int n = hid_read_timeout(e, buf, 4, 500);
        got << QString::fromStdString(vmouse::toHex(buf, n > 0 ? std::size_t(n) : 0));
    }
    QCOMPARE(got, QStringList({"06070003", "06080001", "060701", "06075509"}));
    QCOMPARE(hid_read_timeout(e, buf, 4, 0), 0);
    hid_close(e);

    // A report longer than asked for is cut to the length asked for.
    vmouse::sendEvent({6, 7, 0, 2, 9, 9});
    e = hid_open_path("/dev/hidraw-virtual-1");
    QCOMPARE(hid_read(e, buf, 4), 4);
    hid_close(e);
    QCOMPARE(vmouse::transcript().back().fn, std::string("hid_close"));
    QCOMPARE(vmouse::transcript().end()[-2].bytes, std::string("06070002"));
}

void TestDevice::eventReadWaitsBrieflyWithoutMovingTheClock()
{
    vmouse::setEventWaitCapMs(1);
    hid_device *e = hid_open_path("/dev/hidraw-virtual-1");
    const std::int64_t before = kc::nowMs();
    std::uint8_t buf[4];
    for (int i = 0; i < 20; ++i)
        QCOMPARE(hid_read_timeout(e, buf, 4, 500), 0);
    QCOMPARE(kc::nowMs(), before); // the command side's time is not disturbed
    hid_set_nonblocking(e, 1);
    QCOMPARE(hid_read(e, buf, 4), 0);
    hid_close(e);
}

void TestDevice::eventFromAnotherThreadWakesReader()
{
    vmouse::setEventWaitCapMs(60000); // only the event can end the wait in time
    hid_device *e = hid_open_path("/dev/hidraw-virtual-1");
    std::thread sender([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        vmouse::sendDpiEvent(2);
    });
    std::uint8_t buf[4] = {};
    const int n = hid_read_timeout(e, buf, 4, 60000);
    sender.join();
    hid_close(e);
    QCOMPARE(n, 4);
    QCOMPARE(int(buf[3]), 2);
}

void TestDevice::commandTimeoutPassesOnVirtualClock()
{
    hid_device *h = hid_open_path("/dev/hidraw-virtual-0");
    std::uint8_t buf[33];
    const std::int64_t before = kc::nowMs();
    QCOMPARE(hid_read_timeout(h, buf, sizeof buf, 2000), 0);
    QCOMPARE(kc::nowMs() - before, std::int64_t(2000));
    QCOMPARE(hid_read_timeout(h, buf, sizeof buf, 0), 0);
    QCOMPARE(kc::nowMs() - before, std::int64_t(2000));
    hid_close(h);
}

void TestDevice::unplugKillsHandlesAndReplugKeepsMemory()
{
    const Exchange x;
    x.set(frame(0x01, {4}));
    hid_device *h = hid_open_path("/dev/hidraw-virtual-0");
    hid_device *e = hid_open_path("/dev/hidraw-virtual-1");
    vmouse::sendDpiEvent(5); // lost with the connection
    vmouse::unplug();
    QVERIFY(!vmouse::isPlugged());
    const Frame f = frame(0x01, {2});
    std::uint8_t buf[33];
    QCOMPARE(hid_send_feature_report(h, f.data(), f.size()), -1);
    QCOMPARE(hid_write(h, buf, sizeof buf), -1);
    QCOMPARE(hid_read_timeout(e, buf, 4, 100), -1);
    QVERIFY(!hid_open_path("/dev/hidraw-virtual-0"));
    QVERIFY(!hid_open_path("/dev/hidraw-virtual-1"));
    QVERIFY(enumerate(0, 0).empty());
    vmouse::sendDpiEvent(6); // nobody to hear it
    QCOMPARE(int(vmouse::pendingEvents()), 0);

    vmouse::plug();
    // Old handles stay dead; new ones work and the memory survived.
    QCOMPARE(hid_send_feature_report(h, f.data(), f.size()), -1);
    hid_close(h);
    hid_close(e);
    QCOMPARE(int(enumerate(0, 0).size()), 2);
    QCOMPARE(int(vmouse::state().reportRate), 4);
    QCOMPARE(int(x.get(frame(0x8B))[2]), 5);
}

// What a udev monitor of the program hears: the hidraw nodes' add and remove notices, nothing for a
// monitor of another subsystem, and nothing queued beyond them.
void TestDevice::plugAndUnplugRaiseUdevNotices()
{
    udev_monitor *hidraw = udev_monitor_new_from_netlink(nullptr, "udev");
    udev_monitor *other = udev_monitor_new_from_netlink(nullptr, "udev");
    QVERIFY(hidraw && other);
    QCOMPARE(udev_monitor_filter_add_match_subsystem_devtype(hidraw, "hidraw", nullptr), 0);
    QCOMPARE(udev_monitor_filter_add_match_subsystem_devtype(other, "input", nullptr), 0);
    QCOMPARE(udev_monitor_enable_receiving(hidraw), 0);
    QCOMPARE(udev_monitor_enable_receiving(other), 0);
    pollfd readable{udev_monitor_get_fd(hidraw), POLLIN, 0};
    QCOMPARE(::poll(&readable, 1, 0), 0);

    vmouse::unplug();
    vmouse::plug();
    QCOMPARE(::poll(&readable, 1, 1000), 1);
    QStringList heard;
    while (udev_device *d = udev_monitor_receive_device(hidraw)) {
        udev_device *hid = udev_device_get_parent_with_subsystem_devtype(d, "hid", nullptr);
        heard << QStringLiteral("%1 %2 %3 %4")
                     .arg(udev_device_get_action(d), udev_device_get_devnode(d), udev_device_get_subsystem(d),
                          hid ? udev_device_get_property_value(hid, "HID_ID") : "no parent");
        udev_device_unref(d);
    }
    const QString id = QStringLiteral(" hidraw 0003:00004B43:00000001");
    QCOMPARE(heard, (QStringList{"remove /dev/hidraw-virtual-0" + id, "remove /dev/hidraw-virtual-1" + id,
                                 "add /dev/hidraw-virtual-0" + id, "add /dev/hidraw-virtual-1" + id}));
    QCOMPARE(::poll(&readable, 1, 0), 0);
    QVERIFY(!udev_monitor_receive_device(other));
    udev_monitor_unref(hidraw);
    udev_monitor_unref(other);
}

void TestDevice::unplugWakesBlockedRead()
{
    vmouse::setBlockingReadLimitMs(60000);
    hid_device *h = hid_open_path("/dev/hidraw-virtual-0");
    std::thread puller([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        vmouse::unplug();
    });
    std::uint8_t buf[33];
    const int n = hid_read(h, buf, sizeof buf);
    puller.join();
    hid_close(h);
    QCOMPARE(n, -1);
}

void TestDevice::failNextAndAlways()
{
    const Exchange x;
    vmouse::failNext("hid_send_feature_report");
    QVERIFY(!x.send(frame(0x01, {2})));
    QCOMPARE(int(vmouse::state().reportRate), 1); // did not reach the firmware
    QVERIFY(x.send(frame(0x01, {2})));
    QCOMPARE(int(vmouse::state().reportRate), 2);

    vmouse::failNext("hid_write", 2);
    QVERIFY(!x.write(host::pattern(8, 0)));
    QVERIFY(!x.write(host::pattern(8, 0)));
    QVERIFY(x.write(host::pattern(8, 0)));

    vmouse::failAlways("hid_open_path");
    for (int i = 0; i < 3; ++i)
        QVERIFY(!hid_open_path("/dev/hidraw-virtual-0"));
    vmouse::failAlways("hid_enumerate");
    QVERIFY(!hid_enumerate(0, 0));
    vmouse::clearFaults();
    QVERIFY(x.send(frame(0x01, {3})));
    QCOMPARE(int(enumerate(0, 0).size()), 2);

    vmouse::failNext("hid_get_feature_report");
    QVERIFY(x.send(frame(0x8B)));
    QCOMPARE(x.answer(), Frame{});
    QCOMPARE(vmouse::transcript().end()[-2].ret, -1L);
    QCOMPARE(int(x.answer()[1]), 0x8B);

    // reset() clears every fault.
    vmouse::failAlways("hid_close");
    vmouse::reset();
    hid_device *h = hid_open_path("/dev/hidraw-virtual-0");
    QVERIFY(h);
    hid_close(h);
}

void TestDevice::failOnOneInterfaceOnly()
{
    vmouse::failAlways("hid_open_path", vmouse::Interface::Event);
    QVERIFY(!hid_open_path("/dev/hidraw-virtual-1"));
    hid_device *h = hid_open_path("/dev/hidraw-virtual-0");
    QVERIFY(h);
    std::uint8_t buf[33];
    vmouse::failNext("hid_read_timeout", 1, vmouse::Interface::Event);
    QCOMPARE(hid_read_timeout(h, buf, sizeof buf, 0), 0); // a command read is not the one
    hid_close(h);
}

void TestDevice::faultListForm()
{
    const Exchange x;
    QVERIFY(vmouse::addFaults("fail-next:hid_write:2, garbage"));
    QVERIFY(!x.write(host::pattern(8, 0)));
    QVERIFY(!x.write(host::pattern(8, 0)));
    QVERIFY(x.write(host::pattern(8, 0)));
    QVERIFY(x.get(frame(0x00, {1, 2, 3, 4})) != frame(0x00, {1, 2, 3, 4}));

    // Unknown or malformed items are reported and skipped; the rest still apply.
    QVERIFY(!vmouse::addFaults("fail-next:hid_write:0,whatever,,fail:hid_set_nonblocking"));
    QVERIFY(x.write(host::pattern(8, 0)));
    hid_device *h = hid_open_path("/dev/hidraw-virtual-0");
    QVERIFY(h);
    QCOMPARE(hid_set_nonblocking(h, 0), -1);
    QCOMPARE(hid_set_nonblocking(h, 0), -1);
    hid_close(h);
    vmouse::clearFaults();
    QCOMPARE(x.get(frame(0x00, {1, 2, 3, 4})), frame(0x00, {1, 2, 3, 4}));
}

void TestDevice::neverAnswerEndsBlockingRead()
{
    vmouse::Config c;
    c.family = 560;
    c.blockingReadLimitMs = 30;
    vmouse::configure(c);
    vmouse::setNeverAnswer(true);
    const Exchange x;
    const Frame a = x.get(frame(0x8C, {0}));
    QCOMPARE(int(a[1]), 0x8C); // the short answer still comes
    QVERIFY(x.read(32).empty());
    QCOMPARE(vmouse::transcript().end()[-2].fn, std::string("hid_read"));
    QCOMPARE(vmouse::transcript().end()[-2].ret, -1L);

    vmouse::setNeverAnswer(false);
    x.get(frame(0x8C, {0}));
    QCOMPARE(int(x.read(128).size()), 128);
}

void TestDevice::garbageAnswersFailTheProbe()
{
    vmouse::Config c;
    c.family = 560;
    vmouse::configure(c);
    const Exchange x;
    vmouse::setGarbageAnswers(true);
    const Frame a = x.get(frame(0x00, {1, 2, 3, 4}));
    QVERIFY(!(a[2] == 1 && a[3] == 2 && a[4] == 3 && a[5] == 4));
    x.get(frame(0x8C, {1}));
    QVERIFY(x.read(128) != std::vector<std::uint8_t>(128, 0)); // block 1 is all zero in memory
    vmouse::setGarbageAnswers(false);
    const Frame b = x.get(frame(0x00, {1, 2, 3, 4}));
    QVERIFY(b[2] == 1 && b[3] == 2 && b[4] == 3 && b[5] == 4);
}

void TestDevice::badArgumentsAreSafe()
{
    std::uint8_t buf[9] = {};
    hid_device *h = hid_open_path("/dev/hidraw-virtual-0");
    QCOMPARE(hid_send_feature_report(h, nullptr, 9), -1);
    QCOMPARE(hid_send_feature_report(h, buf, 0), -1);
    QCOMPARE(hid_get_feature_report(h, nullptr, 9), -1);
    buf[0] = 3; // no such report ID
    QCOMPARE(hid_get_feature_report(h, buf, 9), -1);
    // A short request counts its missing bytes as zero (and then fails its checksum here).
    const std::uint8_t shortReq[3] = {0, 0x01, 2};
    QCOMPARE(hid_send_feature_report(h, shortReq, 3), 3);
    QCOMPARE(vmouse::state().rejected, 1);
    hid_close(h);
    QCOMPARE(int(vmouse::state().reportRate), 1);
}

void TestDevice::controlFifo()
{
    QTemporaryDir dir;
    const QString fifo = dir.path() + "/control";
    vmouse::Config c;
    c.controlPath = fifo.toStdString();
    vmouse::configure(c);
    QVERIFY(QFileInfo(fifo).exists());

    {
        std::ofstream out(fifo.toStdString());
        out << "dpi 4\nnonsense\ndpi x\ndpi 300\nevent 6 7 1 2\n" << std::string(1000, 'y') << "\ndpi 6\n";
    }
    QTRY_COMPARE(int(vmouse::pendingEvents()), 3);
    QCOMPARE(int(vmouse::state().currentDpiStage), 6);
    hid_device *e = hid_open_path("/dev/hidraw-virtual-1");
    std::uint8_t buf[4];
    QCOMPARE(hid_read_timeout(e, buf, 4, 0), 4);
    QCOMPARE(vmouse::toHex(buf, 4), std::string("06070004"));
    QCOMPARE(hid_read_timeout(e, buf, 4, 0), 4);
    QCOMPARE(vmouse::toHex(buf, 4), std::string("06070102"));
    hid_close(e);

    {
        std::ofstream out(fifo.toStdString());
        out << "unplug\n";
    }
    QTRY_VERIFY(!vmouse::isPlugged());
    {
        std::ofstream out(fifo.toStdString());
        out << "plug\r\n";
    }
    QTRY_VERIFY(vmouse::isPlugged());

    // A path that is not a FIFO is left alone.
    const QString plain = dir.path() + "/plain";
    QFile(plain).open(QIODevice::WriteOnly);
    c.controlPath = plain.toStdString();
    vmouse::configure(c);
    QVERIFY(QFileInfo(plain).isFile());
    vmouse::configure(vmouse::Config()); // stops the reader before the folder goes
}

QTEST_GUILESS_MAIN(TestDevice)
#include "tst_device.moc"
