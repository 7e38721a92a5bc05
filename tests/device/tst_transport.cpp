// The command transport against the virtual mouse in virtual time: the device kept open from the probe
// on, the busy flag, failures and unplugging, bounded data reads, scrambled transactions and the probe.
#include "DeviceFixture.h"
#include "Hid_Thread.h"
#include "MessageLog.h"
#include "TestFamily.h"
#include "TimeSeam.h"

#include <QtTest>
#include <functional>

using namespace devtest;
using vmouse::Interface;

namespace {

bool transcriptHas(const std::string &fn, const std::string &bytes)
{
    for (const auto &r : vmouse::transcript(Interface::Command))
        if (r.fn == fn && r.bytes == bytes)
            return true;
    return false;
}

// Runs action from the event loop once the mouse has received the given request: reposts itself on
// every pass of event processing until then (a pass does not handle the events it posts itself).
void whenSent(QObject *context, std::string frame, std::function<void()> action, int budget = 1000)
{
    QMetaObject::invokeMethod(
        context,
        [=]() {
            if (transcriptHas("hid_send_feature_report", frame))
                action();
            else if (budget > 0)
                whenSent(context, frame, action, budget - 1);
        },
        Qt::QueuedConnection);
}

} // namespace

class TestTransport : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void deviceKeptOpen();
    void chunkedWrites_data();
    void chunkedWrites();
    void scrambledSetRequest();
    void emptyPathTouchesNothing();
    void unplugBetweenCommands();
    void failingCallEndsTransaction_data();
    void failingCallEndsTransaction();
    void dataReadThatNeverAnswers();
    void unusableReportLength_data();
    void unusableReportLength();
    void busyDeviceGivesUp();
    void nestedCommandFromProcessedEvents();
    void nestedCommandBetweenRepeatedReports();
    void scrambledGetUnscramblesShortAnswers();
    void scrambledDataReadStaysRaw();
    void garbageAnswers();
    void probe_data();
    void probe();
    void probeSendsCommand00ForBothFamilies();
    void probeShortCodeKeepsPreviousCode();
    void probeOfAbsentOrBusyDevice();

private:
    MessageLog *log = nullptr;
};

void TestTransport::init()
{
    log = new MessageLog;
}

void TestTransport::cleanup()
{
    delete log;
    log = nullptr;
    vmouse::clearFaults();
}

void TestTransport::deviceKeptOpen()
{
    const DeviceEntry entry = configureMouse();
    uchar matrix[64] = {};
    {
        // Opened by the probe that accepts the mouse; every command after it uses that handle.
        Hid_Thread hid;
        hid.setDeviceList({entry});
        QVERIFY(hid.chkDeviceIsEnCode(0));
        hid.hid553_12H_SetKeyMatrix(matrix, 1);
        hid.hid553_0BH_SetCurrentDPI(2);
        const QStringList expected = {
            "hid_open_path 1",
            "hid_set_nonblocking 0",
            "hid_send_feature_report 9",
            "hid_get_feature_report 9",
            "hid_send_feature_report 9",
            "hid_write 33",
            "hid_write 33",
            "hid_send_feature_report 9",
        };
        QCOMPARE(callSequence(), expected);
        QVERIFY(hid.cmdHandle() != nullptr);
        QVERIFY(hid.hidFree());
    }
    // The worker's end closes it: no handle is left behind.
    QCOMPARE(callSequence().last(), QStringLiteral("hid_close 0"));
    QCOMPARE(handleDiscipline(Interface::Command, true), QString());

    // A probe that does not accept the entry, and a new device list, close it.
    Hid_Thread hid;
    DeviceEntry wrongCode = entry;
    wrongCode.isEncode = true;
    hid.setDeviceList({wrongCode});
    vmouse::clearTranscript();
    QVERIFY(!hid.chkDeviceIsEnCode(0));
    QVERIFY(hid.cmdHandle() == nullptr);
    hid.setDeviceList({entry});
    hid.setCurrentIndex(0);
    hid.hid553_0BH_SetCurrentDPI(3);
    QVERIFY(hid.cmdHandle() != nullptr);
    hid.setDeviceList({entry});
    QVERIFY(hid.cmdHandle() == nullptr);
    QCOMPARE(callSequence().last(), QStringLiteral("hid_close 0"));
}

void TestTransport::chunkedWrites_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<int>("family");
    QTest::addColumn<int>("reports");
    QTest::newRow("8 bytes over 32") << 32 << 553 << 1;
    QTest::newRow("8 bytes over 64") << 64 << 553 << 1;
    QTest::newRow("128 bytes over 32") << 32 << 560 << 4;
    QTest::newRow("128 bytes over 64") << 64 << 560 << 2;
}

void TestTransport::chunkedWrites()
{
    QFETCH(int, reportLength);
    QFETCH(int, family);
    QFETCH(int, reports);
    Hid_Thread hid;
    aimAt(hid, configureMouse({family, reportLength}));
    const auto data = bytesRange(family == 553 ? 8 : 128, 0x40);
    std::vector<uchar> src(data.begin(), data.end());
    const std::int64_t t0 = kc::nowMs();
    QStringList expected;
    if (family == 553) {
        hid.hid553_11H_SetDPISet(4, src.data());
        expected << QStringLiteral("0 hid_send_feature_report %1 9").arg(frameHex(0x11, {4, 8}).c_str());
    } else {
        hid.hid560_0CH_setProfile(src.data(), 2);
        expected << QStringLiteral("0 hid_send_feature_report %1 9").arg(frameHex(0x0C, {2, 128}).c_str());
    }
    const int chunk = std::min<int>(int(data.size()), reportLength);
    for (int i = 0; i < reports; ++i) {
        std::vector<std::uint8_t> part(data.begin() + i * chunk, data.begin() + (i + 1) * chunk);
        expected << QStringLiteral("%1 hid_write %2 %3")
                        .arg(128 + 120 * i)
                        .arg(outputReportHex(part, reportLength).c_str())
                        .arg(reportLength + 1);
    }
    QCOMPARE(exchanges(t0), expected);
    // Settle after the feature report, 120 ms after each write, settle again after the last one.
    QCOMPARE(kc::nowMs() - t0, 128 + 120 * reports + 128);
}

void TestTransport::scrambledSetRequest()
{
    Hid_Thread hid;
    aimAt(hid, configureMouse({553, 32, true, "739105"}));
    hid.chkDeviceIsEnCode(0);
    log->clear();
    vmouse::clearTranscript();
    uchar matrix[64] = {};
    hid.hid553_12H_SetKeyMatrix(matrix, 3);
    // Nothing is logged for a command that went out.
    QCOMPARE(log->messages(), QStringList());
    QCOMPARE(exchanges(0).size(), 3);
    QVERIFY(transcriptHas("hid_send_feature_report", scrambledFrameHex(0x12, {3, 64, 8}, "739105")));
}

void TestTransport::emptyPathTouchesNothing()
{
    configureMouse();
    TestFamily owner;
    uchar buf[128] = {};
    uchar b1 = 7, b2 = 8, b3 = 9, b4 = 10;
    auto everything = [&](Hid_Thread &hid) {
        hid.hid553_01H_SetReportRate(1);
        hid.hid553_12H_SetKeyMatrix(buf, 1);
        hid.hid553_83H_GetKeyboardoption(b1, b2, b3, b4);
        hid.hid560_8CH_readProfile(buf, 0);
        hid.hid560_04H_SetCurrentDPI(2);
    };
    {
        // Before any discovery: an empty list and the initial index 1.
        Hid_Thread hid;
        owner.choose(hid);
        QCOMPARE(hid.currentIndex(), 1);
        everything(hid);
        QVERIFY(hid.hidFree());
    }
    {
        Hid_Thread hid;
        owner.choose(hid);
        DeviceEntry entry = configureMouse();
        entry.path.clear();
        aimAt(hid, entry);
        everything(hid);
        QVERIFY(hid.hidFree());
    }
    QVERIFY(vmouse::transcript(Interface::Any).empty());
    QCOMPARE(log->messages(), QStringList());
    QCOMPARE(int(b1), 7);
    QCOMPARE(int(b4), 10);
}

void TestTransport::unplugBetweenCommands()
{
    Hid_Thread hid;
    const DeviceEntry entry = configureMouse();
    aimAt(hid, entry);
    hid.hid553_0BH_SetCurrentDPI(2);
    // Gone and back between two commands: the call on the dead handle fails, the reopening finds the
    // mouse again, and the next command goes through on the new handle.
    vmouse::unplug();
    vmouse::plug();
    vmouse::clearTranscript();
    hid.hid553_0BH_SetCurrentDPI(3);
    QCOMPARE(callSequence(), QStringList({"hid_send_feature_report -1", "hid_close 0", "hid_open_path 1",
                                          "hid_set_nonblocking 0"}));
    hid.hid553_0BH_SetCurrentDPI(3);
    QCOMPARE(int(vmouse::state().currentDpiStage), 3);

    vmouse::unplug();
    vmouse::clearTranscript();
    hid.hid553_0BH_SetCurrentDPI(4);
    // The kept handle died with the mouse: the call fails, and the reopening that follows finds the
    // mouse gone. Nothing reached it.
    QCOMPARE(callSequence(), QStringList({"hid_send_feature_report -1", "hid_close 0", "hid_open_path 0"}));
    QCOMPARE(int(vmouse::state().currentDpiStage), 3);
    QVERIFY(hid.cmdHandle() == nullptr);
    QCOMPARE(hid.deviceList().at(0).path, QString());
    QCOMPARE(hid.deviceList().at(0).path2, entry.path2); // the event interface is the listener's business
    QVERIFY(hid.hidFree());

    // Back again, but the worker only finds it through the next discovery.
    vmouse::plug();
    vmouse::clearTranscript();
    uchar stage = 99;
    hid.hid553_8BH_GetCurrentDPI(stage);
    QCOMPARE(int(stage), 99);
    QVERIFY(vmouse::transcript(Interface::Any).empty());
    aimAt(hid, entry);
    hid.hid553_8BH_GetCurrentDPI(stage);
    QCOMPARE(int(stage), 3);
    QVERIFY(log->messages().filter("cmd Failed").isEmpty());
}

void TestTransport::failingCallEndsTransaction_data()
{
    QTest::addColumn<QString>("fn");
    QTest::addColumn<bool>("get");
    QTest::newRow("feature report of a get") << "hid_send_feature_report" << true;
    QTest::newRow("answer of a get") << "hid_get_feature_report" << true;
    QTest::newRow("feature report of a set") << "hid_send_feature_report" << false;
    QTest::newRow("output report") << "hid_write" << false;
}

void TestTransport::failingCallEndsTransaction()
{
    QFETCH(QString, fn);
    QFETCH(bool, get);
    Hid_Thread hid;
    aimAt(hid, configureMouse());
    vmouse::FirmwareState s = vmouse::state();
    s.keyboardOption = {1, 2, 3, 4};
    vmouse::setState(s);
    vmouse::failNext(fn.toStdString());
    uchar b1 = 11, b2 = 12, b3 = 13, b4 = 14;
    uchar src[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const std::int64_t t0 = kc::nowMs();
    if (get)
        hid.hid553_83H_GetKeyboardoption(b1, b2, b3, b4);
    else
        hid.hid553_11H_SetDPISet(8, src);
    // No retry, no message, the handle closed, the device free, the outputs as they were.
    const QStringList ex = exchanges(t0);
    QCOMPARE(ex.filter(" -1").size(), 1);
    QVERIFY(ex.last().endsWith(" -1"));
    QCOMPARE(handleDiscipline(), QString());
    QVERIFY(hid.hidFree());
    QVERIFY(log->messages().filter("cmd Failed").isEmpty());
    QCOMPARE(QList<int>({b1, b2, b3, b4}), QList<int>({11, 12, 13, 14}));
    if (fn == "hid_write")
        QCOMPARE(kc::nowMs() - t0, 128); // the settle pause came before the failed write, nothing after

    // The path stays: the next command goes through.
    hid.hid553_83H_GetKeyboardoption(b1, b2, b3, b4);
    QCOMPARE(QList<int>({b1, b2, b3, b4}), QList<int>({1, 2, 3, 4}));
}

void TestTransport::dataReadThatNeverAnswers()
{
    Hid_Thread hid;
    aimAt(hid, configureMouse({560}));
    vmouse::setNeverAnswer(true);
    uchar block[128];
    std::fill(std::begin(block), std::end(block), 0xA5);
    const std::int64_t t0 = kc::nowMs();
    hid.hid560_8CH_readProfile(block, 1);
    // The first data read times out (bounded) and the command ends; the caller's bytes stay.
    const QStringList ex = exchanges(t0);
    QCOMPARE(ex.size(), 3);
    QCOMPARE(ex.at(2), QStringLiteral("0 hid_read_timeout  0"));
    QCOMPARE(lastCallAt(t0), Hid_Thread::DataReadTimeoutMs);
    QVERIFY(std::all_of(std::begin(block), std::end(block), [](uchar b) { return b == 0xA5; }));
    QVERIFY(hid.hidFree());
    QCOMPARE(handleDiscipline(), QString());

    // A failing read likewise ends it.
    vmouse::setNeverAnswer(false);
    vmouse::failNext("hid_read_timeout");
    hid.hid560_8CH_readProfile(block, 1);
    QVERIFY(std::all_of(std::begin(block), std::end(block), [](uchar b) { return b == 0xA5; }));
    QVERIFY(hid.hidFree());

    // And the device still works afterwards.
    vmouse::FirmwareState s = vmouse::state();
    s.profileBlock[1].fill(0x3C);
    vmouse::setState(s);
    hid.hid560_8CH_readProfile(block, 1);
    QVERIFY(std::all_of(std::begin(block), std::end(block), [](uchar b) { return b == 0x3C; }));
}

void TestTransport::unusableReportLength_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::newRow("zero") << 0;
    QTest::newRow("negative") << -32;
    QTest::newRow("beyond any HID report") << (1 << 30);
}

void TestTransport::unusableReportLength()
{
    // A corrupt device table must not hang (a zero chunk) or crash (a negative buffer) a bulk transfer.
    QFETCH(int, reportLength);
    Hid_Thread hid;
    DeviceEntry entry = configureMouse({560});
    entry.reportLength = reportLength;
    aimAt(hid, entry);
    uchar block[128] = {};
    hid.hid560_0CH_setProfile(block, 1);
    hid.hid560_8CH_readProfile(block, 1);
    QCOMPARE(exchanges(0), QStringList());
    QVERIFY(hid.hidFree());
    // Commands without bulk data do not depend on it.
    hid.hid560_02H_SetCurrentProfile(3);
    QCOMPARE(int(vmouse::state().currentProfile), 3);
}

void TestTransport::busyDeviceGivesUp()
{
    Hid_Thread hid;
    aimAt(hid, configureMouse());
    QVERIFY(hid.waitHidFree());
    const std::int64_t t0 = kc::nowMs();
    hid.hid553_03H_SetKeyboardoption(1, 2, 3, 4);
    // 255 polls of 8 ms; the 8 ms pause after the command is skipped as well.
    QCOMPARE(kc::nowMs() - t0, 255 * 8);
    QCOMPARE(log->messages(), QStringList{"cmd Failed 03"});
    QVERIFY(vmouse::transcript(Interface::Any).empty());
    QVERIFY(!hid.hidFree());

    uchar b1 = 5, b2 = 6;
    hid.hid560_84H_GetCurrentDPI(b1, b2);
    QCOMPARE(int(b1), 5);
    QCOMPARE(int(b2), 6);
    QCOMPARE(log->messages().last(), QStringLiteral("cmd Failed 84"));

    hid.clearHidBusy();
    hid.hid553_03H_SetKeyboardoption(1, 2, 3, 4);
    QCOMPARE(int(vmouse::state().keyboardOption[3]), 4);
}

void TestTransport::nestedCommandFromProcessedEvents()
{
    // A command queued meanwhile runs before the next command takes the device, whole, never inside it.
    Hid_Thread hid;
    aimAt(hid, configureMouse());
    bool nestedDone = false;
    QObject context;
    QMetaObject::invokeMethod(
        &context,
        [&] {
            hid.hid553_01H_SetReportRate(4);
            nestedDone = true;
        },
        Qt::QueuedConnection);
    uchar matrix[64] = {};
    const std::int64_t t0 = kc::nowMs();
    hid.hid553_12H_SetKeyMatrix(matrix, 1);
    QVERIFY(nestedDone);
    QVERIFY(log->messages().filter("cmd Failed").isEmpty());
    const QStringList ex = exchanges(t0);
    QCOMPARE(ex.size(), 4);
    QCOMPARE(ex.at(0), QStringLiteral("0 hid_send_feature_report %1 9").arg(frameHex(0x01, {4}).c_str()));
    QCOMPARE(ex.at(1),
             QStringLiteral("128 hid_send_feature_report %1 9").arg(frameHex(0x12, {1, 64, 8}).c_str()));
    QCOMPARE(int(vmouse::state().reportRate), 4);
    QVERIFY(hid.hidFree());
}

void TestTransport::nestedCommandBetweenRepeatedReports()
{
    Hid_Thread hid;
    TestFamily owner("560", false);
    owner.choose(hid);
    aimAt(hid, configureMouse({560}));
    QObject context;
    whenSent(&context, frameHex(0x03, {1, 2}), [&] { hid.hid560_02H_SetCurrentProfile(4); });
    const std::int64_t t0 = kc::nowMs();
    hid.hid560_03H_SetReportRate(2);
    // Nothing runs between the four reports; the queued command comes after them.
    QStringList sent;
    for (const QString &e : exchanges(t0))
        sent << e.section(' ', 2, 2);
    QCOMPARE(sent, QStringList({frameHex(0x03, {1, 2}).c_str(), frameHex(0x03, {2, 2}).c_str(),
                                frameHex(0x03, {3, 2}).c_str(), frameHex(0x03, {4, 2}).c_str()}));
    QCOMPARE(int(vmouse::state().currentProfile), 1);
    QTRY_COMPARE(int(vmouse::state().currentProfile), 4);
    QVERIFY(log->messages().filter("cmd Failed").isEmpty());
    QVERIFY(hid.hidFree());
}

void TestTransport::scrambledGetUnscramblesShortAnswers()
{
    Hid_Thread hid;
    aimAt(hid, configureMouse({553, 32, true, "246810"}));
    QVERIFY(hid.chkDeviceIsEnCode(0));
    vmouse::FirmwareState s = vmouse::state();
    s.keyboardOption = {0x11, 0x22, 0x33, 0x44};
    vmouse::setState(s);
    vmouse::clearTranscript();
    uchar b1 = 0, b2 = 0, b3 = 0, b4 = 0;
    hid.hid553_83H_GetKeyboardoption(b1, b2, b3, b4);
    const QStringList ex = exchanges(0);
    QCOMPARE(ex.size(), 2);
    QCOMPARE(ex.at(0).section(' ', 2, 2), QString::fromStdString(scrambledFrameHex(0x83, {}, "246810")));
    QCOMPARE(QList<int>({b1, b2, b3, b4}), QList<int>({0x11, 0x22, 0x33, 0x44}));
    // What arrived was scrambled; the outputs came from the unscrambled answer.
    QVERIFY(!ex.at(1).contains("11223344"));

    // No answer: the presets are the outputs, not unscrambled into something else.
    vmouse::failNext("hid_get_feature_report");
    b1 = 5, b2 = 6, b3 = 7, b4 = 8;
    hid.hid553_83H_GetKeyboardoption(b1, b2, b3, b4);
    QCOMPARE(QList<int>({b1, b2, b3, b4}), QList<int>({5, 6, 7, 8}));
    QVERIFY(hid.hidFree());
}

void TestTransport::scrambledDataReadStaysRaw()
{
    Hid_Thread hid;
    aimAt(hid, configureMouse({560, 64, true, "739105"}));
    QVERIFY(hid.chkDeviceIsEnCode(0));
    vmouse::FirmwareState s = vmouse::state();
    for (int i = 0; i < 128; ++i)
        s.profileBlock[2][std::size_t(i)] = std::uint8_t(255 - i);
    vmouse::setState(s);
    vmouse::clearTranscript();
    uchar block[128] = {};
    const std::int64_t t0 = kc::nowMs();
    hid.hid560_8CH_readProfile(block, 2);
    for (int i = 0; i < 128; ++i)
        QCOMPARE(int(block[i]), 255 - i);
    const QStringList ex = exchanges(t0);
    QCOMPARE(ex.size(), 4); // request, answer, two reads of 65 bytes
    QCOMPARE(ex.at(0).section(' ', 2, 2), QString::fromStdString(scrambledFrameHex(0x8C, {2}, "739105")));
    QVERIFY(ex.at(2).startsWith("0 hid_read_timeout "));
    QVERIFY(ex.at(3).endsWith(" 65"));
}

void TestTransport::garbageAnswers()
{
    Hid_Thread hid;
    aimAt(hid, configureMouse({560}));
    vmouse::setGarbageAnswers(true);
    uchar block[128] = {};
    uchar b1 = 1, b2 = 2;
    hid.hid560_8CH_readProfile(block, 0);
    hid.hid560_81H_GetKeyboardoption(b1, b2);
    QVERIFY(!hid.chkDeviceIsEnCode(0));
    QVERIFY(hid.hidFree());
    QCOMPARE(handleDiscipline(), QString());
}

void TestTransport::probe_data()
{
    QTest::addColumn<bool>("mouseEncodes");
    QTest::addColumn<QString>("mouseCode");
    QTest::addColumn<bool>("entryEncodes");
    QTest::addColumn<QString>("entryCode");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain mouse, plain entry") << false << "739105" << false << "739105" << true;
    QTest::newRow("plain mouse, any code") << false << "000000" << false << "123456" << true;
    QTest::newRow("scrambling mouse, right code") << true << "518273" << true << "518273" << true;
    QTest::newRow("scrambling mouse, wrong code") << true << "518273" << true << "518274" << false;
    QTest::newRow("scrambling mouse, plain entry") << true << "739105" << false << "739105" << false;
    QTest::newRow("plain mouse, scrambling entry") << false << "739105" << true << "739105" << false;
}

void TestTransport::probe()
{
    QFETCH(bool, mouseEncodes);
    QFETCH(QString, mouseCode);
    QFETCH(bool, entryEncodes);
    QFETCH(QString, entryCode);
    QFETCH(bool, accepted);
    Hid_Thread hid;
    DeviceEntry entry = configureMouse({553, 32, mouseEncodes, mouseCode.toStdString()});
    entry.isEncode = entryEncodes;
    entry.sCode = entryCode;
    // The probed row is the second one: the probe makes it current.
    DeviceEntry other = entry;
    other.path.clear();
    hid.setDeviceList({other, entry});
    QCOMPARE(hid.chkDeviceIsEnCode(1), accepted);
    QCOMPARE(hid.currentIndex(), 1);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(hid.secrecyCode().data()) + 1, 6),
             entryCode.toLatin1());
    QCOMPARE(int(hid.secrecyCode()[0]), 0);
    QCOMPARE(int(hid.secrecyCode()[7]), 0);
    QCOMPARE(exchanges(0).size(), 2);
    QVERIFY(hid.hidFree());
    QVERIFY(log->messages().isEmpty());
}

void TestTransport::probeSendsCommand00ForBothFamilies()
{
    for (int family : {553, 560}) {
        Hid_Thread hid;
        aimAt(hid, configureMouse({family}));
        QVERIFY(hid.chkDeviceIsEnCode(0));
        const QString request = exchanges(0).at(0).section(' ', 2, 2);
        QCOMPARE(request.mid(0, 4), QStringLiteral("0000"));
        QCOMPARE(request.mid(12, 4), QStringLiteral("0000")); // bytes 6 and 7
        // Four random bytes and their checksum.
        std::vector<std::uint8_t> frame = vmouse::fromHex(request.toStdString());
        QCOMPARE(int(frame[8]), int(vmouse::checksum(frame.data() + 1)));
    }
}

void TestTransport::probeShortCodeKeepsPreviousCode()
{
    Hid_Thread hid;
    DeviceEntry entry = configureMouse({553, 32, true, "123456"});
    aimAt(hid, entry);
    // No six-character code loaded yet: the zero code does not fit this mouse.
    entry.sCode = "12345";
    hid.setDeviceList({entry});
    QVERIFY(!hid.chkDeviceIsEnCode(0));
    entry.sCode = "123456";
    hid.setDeviceList({entry});
    QVERIFY(hid.chkDeviceIsEnCode(0));
    // A five-character code leaves the loaded one in place, which fits.
    entry.sCode = "99999";
    hid.setDeviceList({entry});
    QVERIFY(hid.chkDeviceIsEnCode(0));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(hid.secrecyCode().data()) + 1, 6),
             QByteArray("123456"));
}

void TestTransport::probeOfAbsentOrBusyDevice()
{
    Hid_Thread hid;
    DeviceEntry entry = configureMouse();
    aimAt(hid, entry);
    vmouse::unplug();
    QVERIFY(!hid.chkDeviceIsEnCode(0));
    QVERIFY(hid.hidFree());
    QVERIFY(!hid.chkDeviceIsEnCode(5)); // no such row
    QCOMPARE(hid.currentIndex(), 5);

    // A probe that could not reach the device does not accept it.
    vmouse::plug();
    hid.setDeviceList({entry});
    QVERIFY(hid.waitHidFree());
    vmouse::clearTranscript();
    QVERIFY(!hid.chkDeviceIsEnCode(0));
    QCOMPARE(log->messages().last(), QStringLiteral("cmd Failed 00"));
    QVERIFY(vmouse::transcript(Interface::Any).empty());

    // The slot itself: outputs unchanged when busy, zero when the exchange fails.
    uchar a = 1, b = 2, c = 3, d = 4;
    hid.hid553_00H_GetSecrecyCode(a, b, c, d);
    QCOMPARE(QList<int>({a, b, c, d}), QList<int>({1, 2, 3, 4}));
    hid.clearHidBusy();
    vmouse::failNext("hid_get_feature_report");
    hid.hid553_00H_GetSecrecyCode(a, b, c, d);
    QCOMPARE(QList<int>({a, b, c, d}), QList<int>({0, 0, 0, 0}));
}

QTEST_GUILESS_MAIN(TestTransport)
#include "tst_transport.moc"
