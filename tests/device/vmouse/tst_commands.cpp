// The virtual mouse's command model: probe, every get answer and set state change of both families,
// bulk data in both report lengths, and what it does with requests it must not accept.
#include "Host.h"
#include "VirtualMouse.h"

#include <QtTest>

using host::Exchange;
using host::frame;
using host::Frame;

namespace {

vmouse::Config configFor(int family, bool encode = false, int reportLength = 32, std::string scode = "739105")
{
    vmouse::Config c;
    c.family = family;
    c.encode = encode;
    c.scode = std::move(scode);
    c.reportLength = reportLength;
    return c;
}

QString hex(const std::vector<std::uint8_t> &v)
{
    return QString::fromStdString(vmouse::toHex(v.data(), v.size()));
}

template <std::size_t N> QString hex(const std::array<std::uint8_t, N> &a)
{
    return QString::fromStdString(vmouse::toHex(a.data(), N));
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void init() { vmouse::configure(vmouse::Config()); }

    void probe_data();
    void probe();
    void gets553();
    void simpleSets553();
    void bulkSets553_data();
    void bulkSets553();
    void ledColourLengthFollowsRequest();
    void gets560();
    void sets560();
    void repeatedReportsOf560();
    void profileBlocksRoundTrip_data();
    void profileBlocksRoundTrip();
    void scrambledAnswers();
    void badChecksumIsDropped();
    void otherFamilysCommandsAreUnknown();
    void numbersOutOfRangeChangeNothing();
    void interruptedTransferIsDropped();
    void strayWritesAreCounted();
};

void TestCommands::probe_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<bool>("deviceScrambles");
    QTest::addColumn<QString>("hostCode"); // empty: the host sends plain reports
    QTest::addColumn<bool>("passes");

    for (int family : {553, 560}) {
        const QByteArray f = QByteArray::number(family);
        QTest::newRow(f + " plain, host plain") << family << false << QString() << true;
        QTest::newRow(f + " plain, host scrambles") << family << false << "739105" << false;
        QTest::newRow(f + " scrambles, right code") << family << true << "739105" << true;
        QTest::newRow(f + " scrambles, wrong code") << family << true << "739106" << false;
        QTest::newRow(f + " scrambles, other code") << family << true << "ABCDEF" << false;
        QTest::newRow(f + " scrambles, host plain") << family << true << QString() << false;
    }
}

void TestCommands::probe()
{
    QFETCH(int, family);
    QFETCH(bool, deviceScrambles);
    QFETCH(QString, hostCode);
    QFETCH(bool, passes);
    vmouse::configure(configFor(family, deviceScrambles));

    // Several random-looking byte sets, so a lucky checksum cannot decide the result.
    const Exchange x{hostCode.toStdString()};
    int echoed = 0;
    for (int i = 0; i < 8; ++i) {
        const std::uint8_t r[4] = {std::uint8_t(17 * i + 3), std::uint8_t(91 * i + 200), std::uint8_t(i),
                                   0xA5};
        const Frame a = x.get(frame(0x00, {r[0], r[1], r[2], r[3]}));
        echoed += a[1] == 0 && a[2] == r[0] && a[3] == r[1] && a[4] == r[2] && a[5] == r[3];
    }
    QCOMPARE(echoed, passes ? 8 : 0);
}

void TestCommands::gets553()
{
    vmouse::FirmwareState s = vmouse::state();
    s.keyboardOption = {0x01, 0x02, 0x03, 0x12};
    s.currentDpiStage = 5;
    vmouse::setState(s);
    const Exchange x;

    const Frame options = x.get(frame(0x83));
    QCOMPARE(hex(options).left(16), QStringLiteral("0083010203120000"));
    QCOMPARE(int(options[8]), 255 - (0x83 + 1 + 2 + 3 + 0x12) % 256);
    const Frame stage = x.get(frame(0x8B));
    QCOMPARE(int(stage[1]), 0x8B);
    QCOMPARE(int(stage[2]), 5);
    // Set commands answer with their own request.
    QVERIFY(x.send(frame(0x01, {4})));
    QCOMPARE(x.answer(), frame(0x01, {4}));
}

void TestCommands::simpleSets553()
{
    const Exchange x;
    QVERIFY(x.set(frame(0x01, {8})));
    QVERIFY(x.set(frame(0x02, {3})));
    QVERIFY(x.set(frame(0x03, {0x11, 0x22, 0x33, 0x52})));
    QVERIFY(x.set(frame(0x04, {0, 10, 20, 30, 2})));
    QVERIFY(x.set(frame(0x04, {0, 1, 2, 3, 0})));
    QVERIFY(x.set(frame(0x0B, {4})));
    QVERIFY(x.set(frame(0x0C, {0xFF, 0x80, 0x01})));
    QVERIFY(x.set(frame(0x0D, {5, 3, 2})));

    const vmouse::FirmwareState s = vmouse::state();
    QCOMPARE(int(s.reportRate), 8);
    QCOMPARE(int(s.currentKeyMatrix), 3);
    QCOMPARE(hex(s.keyboardOption), QStringLiteral("11223352"));
    QCOMPARE(hex(s.gunData[2]), QStringLiteral("0a141e"));
    QCOMPARE(hex(s.gunData[0]), QStringLiteral("010203"));
    QCOMPARE(hex(s.gunData[1]), QStringLiteral("000000"));
    QCOMPARE(int(s.currentDpiStage), 4);
    QCOMPARE(hex(s.fixLedColor), QStringLiteral("ff8001"));
    QCOMPARE(int(s.ledEffect), 5);
    QCOMPARE(int(s.ledOption1), 3);
    QCOMPARE(int(s.ledOption2), 2);
    QCOMPARE(s.commands, 8);
    QCOMPARE(s.rejected, 0);

    // The keyboard options read back what was written.
    const Frame a = x.get(frame(0x83));
    QCOMPARE(hex(host::bytes(&a[2], 4)), QStringLiteral("11223352"));
}

void TestCommands::bulkSets553_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::newRow("32") << 32;
    QTest::newRow("64") << 64;
}

void TestCommands::bulkSets553()
{
    QFETCH(int, reportLength);
    vmouse::configure(configFor(553, false, reportLength));
    const Exchange x{{}, reportLength};

    const auto codes = host::pattern(8, 3);
    QVERIFY(x.set(frame(0x11, {3, 8}), codes));
    const auto matrix2 = host::pattern(64, 40);
    QVERIFY(x.set(frame(0x12, {2, 64, 8}), matrix2));
    const auto matrix4 = host::pattern(64, 41);
    QVERIFY(x.set(frame(0x12, {4, 64, 8}), matrix4));
    const auto macro = host::pattern(128, 90);
    QVERIFY(x.set(frame(0x13, {12, 128}), macro));

    const vmouse::FirmwareState s = vmouse::state();
    QCOMPARE(int(s.dpiStageCount), 3);
    QCOMPARE(hex(s.dpiCodes), hex(codes));
    QCOMPARE(hex(host::bytes(s.keyMatrix[1].data(), 64)), hex(matrix2));
    QCOMPARE(hex(host::bytes(s.keyMatrix[3].data(), 64)), hex(matrix4));
    QCOMPARE(hex(host::bytes(s.keyMatrix[0].data(), 64)), QString(128, '0'));
    QCOMPARE(hex(s.macro[11]), hex(macro));
    QCOMPARE(s.strayWrites, 0);

    // The transcript shows one 9-byte feature report and reportLength + 1 byte writes.
    int writes = 0;
    for (const auto &r : vmouse::transcript()) {
        if (r.fn == "hid_write") {
            QCOMPARE(int(r.bytes.size()), 2 * (reportLength + 1));
            ++writes;
        } else if (r.fn == "hid_send_feature_report") {
            QCOMPARE(int(r.bytes.size()), 18);
        }
    }
    const int per = reportLength;
    QCOMPARE(writes, (8 + per - 1) / per + 2 * ((64 + per - 1) / per) + (128 + per - 1) / per);
}

void TestCommands::ledColourLengthFollowsRequest()
{
    const Exchange x;
    const auto colours = host::pattern(24, 200);
    QVERIFY(x.set(frame(0x10, {0, 24}), colours));
    vmouse::FirmwareState s = vmouse::state();
    QCOMPARE(int(s.ledColorType), 0);
    QCOMPARE(int(s.ledColorLength), 24);
    QCOMPARE(hex(s.ledColors), hex(colours));

    // Type 2 announces 4 bytes: one report, and only the first four colour bytes change.
    const std::vector<std::uint8_t> four{1, 2, 3, 4};
    QVERIFY(x.set(frame(0x10, {2, 4}), four));
    s = vmouse::state();
    QCOMPARE(int(s.ledColorType), 2);
    QCOMPARE(int(s.ledColorLength), 4);
    QCOMPARE(hex(s.ledColors).left(8), QStringLiteral("01020304"));
    QCOMPARE(hex(s.ledColors).mid(8), hex(colours).mid(8));
    QCOMPARE(s.strayWrites, 0);
}

void TestCommands::gets560()
{
    vmouse::configure(configFor(560));
    vmouse::FirmwareState s = vmouse::state();
    s.keyboardOption = {0x01, 0x44, 0, 0};
    s.currentProfile = 3;
    s.dpiStageByK = {2, 6, 7, 8};
    vmouse::setState(s);
    const Exchange x;

    const Frame o = x.get(frame(0x81));
    QCOMPARE(int(o[1]), 0x81);
    QCOMPARE(int(o[2]), 0x01);
    QCOMPARE(int(o[3]), 0x44);
    QCOMPARE(int(x.get(frame(0x82))[2]), 3);
    const Frame d1 = x.get(frame(0x84, {1}));
    QCOMPARE(int(d1[2]), 1);
    QCOMPARE(int(d1[3]), 2);
    QCOMPARE(int(x.get(frame(0x84, {2}))[3]), 6);
    QCOMPARE(int(x.get(frame(0x84, {4}))[3]), 8);
}

void TestCommands::sets560()
{
    vmouse::configure(configFor(560));
    const Exchange x;
    QVERIFY(x.set(frame(0x01, {0x09, 0x22})));
    QVERIFY(x.set(frame(0x02, {4})));
    const auto matrix = host::pattern(64, 5);
    std::vector<std::uint8_t> padded = matrix;
    padded.resize(128, 0);
    QVERIFY(x.set(frame(0x0D, {3, 128}), padded));
    const auto macro = host::pattern(128, 77);
    QVERIFY(x.set(frame(0x0F, {1, 128}), macro));

    const vmouse::FirmwareState s = vmouse::state();
    QCOMPARE(int(s.keyboardOption[0]), 0x09);
    QCOMPARE(int(s.keyboardOption[1]), 0x22);
    QCOMPARE(int(s.currentProfile), 4);
    QCOMPARE(hex(s.keyMatrix[2]), hex(padded));
    QCOMPARE(hex(s.macro[0]), hex(macro));
    QCOMPARE(s.rejected, 0);
    QCOMPARE(s.strayWrites, 0);
    QCOMPARE(int(x.get(frame(0x82))[2]), 4);
    const Frame o = x.get(frame(0x81));
    QCOMPARE(int(o[2]), 0x09);
    QCOMPARE(int(o[3]), 0x22);
}

void TestCommands::repeatedReportsOf560()
{
    vmouse::configure(configFor(560));
    const Exchange x;
    for (std::uint8_t k = 1; k <= 4; ++k)
        QVERIFY(x.set(frame(0x04, {k, std::uint8_t(k + 2)})));
    QVERIFY(x.set(frame(0x03, {1, 2})));
    QVERIFY(x.set(frame(0x03, {3, 8})));
    const vmouse::FirmwareState s = vmouse::state();
    QCOMPARE(hex(s.dpiStageByK), QStringLiteral("03040506"));
    QCOMPARE(int(s.currentDpiStage), 6);
    QCOMPARE(hex(s.reportRateByK), QStringLiteral("02000800"));
    QCOMPARE(int(s.reportRate), 8);
    QCOMPARE(int(x.get(frame(0x84, {3}))[3]), 5);
}

void TestCommands::profileBlocksRoundTrip_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<bool>("encode");
    QTest::newRow("32") << 32 << false;
    QTest::newRow("64") << 64 << false;
    QTest::newRow("32 scrambled") << 32 << true;
}

void TestCommands::profileBlocksRoundTrip()
{
    QFETCH(int, reportLength);
    QFETCH(bool, encode);
    vmouse::configure(configFor(560, encode, reportLength));
    const Exchange x{encode ? "739105" : "", reportLength};

    for (std::uint8_t block = 0; block < 5; ++block)
        QVERIFY(x.set(frame(0x0C, {block, 128}), host::pattern(128, std::uint8_t(block * 50))));
    for (std::uint8_t block = 0; block < 5; ++block)
        QCOMPARE(hex(vmouse::state().profileBlock[block]), hex(host::pattern(128, std::uint8_t(block * 50))));

    vmouse::clearTranscript();
    const Frame a = x.get(frame(0x8C, {3}));
    QCOMPARE(int(a[1]), 0x8C);
    QCOMPARE(int(a[2]), 3);
    QCOMPARE(hex(x.read(128)), hex(host::pattern(128, 150)));

    // Each input report is reportLength + 1 bytes with the data at its start; bulk data is never scrambled.
    int reads = 0;
    for (const auto &r : vmouse::transcript()) {
        if (r.fn != "hid_read")
            continue;
        QCOMPARE(r.ret, long(reportLength + 1));
        QCOMPARE(QString::fromStdString(r.bytes),
                 hex(host::pattern(128, 150)).mid(reads * 2 * reportLength, 2 * reportLength) + "00");
        ++reads;
    }
    QCOMPARE(reads, 128 / reportLength);
}

void TestCommands::scrambledAnswers()
{
    vmouse::configure(configFor(553, true, 32, "ZQ01x9"));
    vmouse::FirmwareState s = vmouse::state();
    s.keyboardOption = {9, 8, 7, 6};
    vmouse::setState(s);

    // On the wire the answer is scrambled with the device's code.
    const Exchange plainHost;
    const Exchange right{"ZQ01x9"};
    QVERIFY(right.send(frame(0x83)));
    const Frame wire = plainHost.answer();
    Frame expected = frame(0x83, {9, 8, 7, 6});
    vmouse::scramble(&expected[1], "ZQ01x9");
    QCOMPARE(hex(wire), hex(expected));
    QCOMPARE(hex(right.answer()), hex(frame(0x83, {9, 8, 7, 6})));

    // Scrambled set commands reach the state.
    QVERIFY(right.set(frame(0x03, {1, 2, 3, 0x52})));
    QCOMPARE(hex(vmouse::state().keyboardOption), QStringLiteral("01020352"));
}

void TestCommands::badChecksumIsDropped()
{
    const Exchange x;
    Frame bad = frame(0x01, {2});
    bad[8] ^= 1;
    QVERIFY(x.send(bad)); // the report itself goes through
    QCOMPARE(hex(x.answer()), QString(18, '0'));
    QCOMPARE(int(vmouse::state().reportRate), 1);
    QCOMPARE(vmouse::state().rejected, 1);
    QCOMPARE(vmouse::state().commands, 0);

    // A dropped get answers with zeros, not with the previous answer.
    QCOMPARE(int(x.get(frame(0x8B))[2]), 1);
    Frame badGet = frame(0x8B);
    badGet[8] = 0;
    QCOMPARE(hex(x.get(badGet)), QString(18, '0'));
}

void TestCommands::otherFamilysCommandsAreUnknown()
{
    const Exchange x;
    QCOMPARE(hex(x.get(frame(0x84, {1}))), QString(18, '0'));
    QVERIFY(x.send(frame(0x8C, {0})));
    QVERIFY(vmouse::config().blockingReadLimitMs > 0);
    vmouse::setBlockingReadLimitMs(20);
    QVERIFY(x.read(32).empty()); // no data queued
    QCOMPARE(vmouse::state().rejected, 2);

    vmouse::configure(configFor(560));
    QCOMPARE(hex(x.get(frame(0x8B))), QString(18, '0'));
    QCOMPARE(hex(x.get(frame(0x83))), QString(18, '0'));
    QVERIFY(x.set(frame(0x11, {3, 8}), host::pattern(8, 1)));
    const vmouse::FirmwareState s = vmouse::state();
    QCOMPARE(s.rejected, 3);
    QCOMPARE(s.strayWrites, 1); // the DPI data had no command to go to
    QCOMPARE(hex(s.dpiCodes), QString(16, '0'));
}

void TestCommands::numbersOutOfRangeChangeNothing()
{
    const Exchange x;
    const vmouse::FirmwareState before = vmouse::state();
    QVERIFY(x.set(frame(0x12, {0, 64, 8}), host::pattern(64, 1)));
    QVERIFY(x.set(frame(0x12, {5, 64, 8}), host::pattern(64, 1)));
    QVERIFY(x.set(frame(0x13, {0, 128}), host::pattern(128, 1)));
    QVERIFY(x.set(frame(0x13, {13, 128}), host::pattern(128, 1)));
    QVERIFY(x.set(frame(0x04, {0, 1, 2, 3, 3})));
    vmouse::FirmwareState s = vmouse::state();
    QVERIFY(s.keyMatrix == before.keyMatrix);
    QVERIFY(s.macro == before.macro);
    QVERIFY(s.gunData == before.gunData);
    QCOMPARE(s.rejected, 5);
    QCOMPARE(s.strayWrites, 0); // the data was taken, just not kept

    vmouse::configure(configFor(560));
    QVERIFY(x.set(frame(0x0C, {5, 128}), host::pattern(128, 1)));
    QVERIFY(x.set(frame(0x03, {0, 2})));
    QVERIFY(x.set(frame(0x04, {5, 2})));
    // An unknown block still answers (with zeros), so a reader is not left waiting.
    QCOMPARE(int(x.get(frame(0x8C, {9}))[1]), 0x8C);
    QCOMPARE(hex(x.read(128)), QString(256, '0'));
    s = vmouse::state();
    QCOMPARE(s.rejected, 4);
    QCOMPARE(hex(s.reportRateByK), QStringLiteral("00000000"));
    QCOMPARE(hex(s.dpiStageByK), QStringLiteral("01010101"));
    for (const auto &b : s.profileBlock)
        QCOMPARE(hex(b), QString(256, '0'));
}

void TestCommands::interruptedTransferIsDropped()
{
    const Exchange x;
    QVERIFY(x.send(frame(0x13, {1, 128})));
    QVERIFY(x.write(host::pattern(64, 9))); // half of it
    QVERIFY(x.set(frame(0x01, {2})));       // a new request ends the transfer
    QVERIFY(x.write(host::pattern(64, 9))); // nothing expects this any more
    const vmouse::FirmwareState s = vmouse::state();
    QCOMPARE(hex(s.macro[0]), QString(256, '0'));
    QCOMPARE(int(s.reportRate), 2);
    QCOMPARE(s.rejected, 1);
    QCOMPARE(s.strayWrites, 2);

    // Unread profile data is dropped by the next request as well.
    vmouse::configure(configFor(560));
    vmouse::setBlockingReadLimitMs(20);
    QVERIFY(x.send(frame(0x8C, {1})));
    QVERIFY(x.send(frame(0x82)));
    QVERIFY(x.read(32).empty());
}

void TestCommands::strayWritesAreCounted()
{
    const Exchange x;
    QVERIFY(x.write(host::pattern(32, 0)));
    QCOMPARE(vmouse::state().strayWrites, 1);
    QCOMPARE(vmouse::state().commands, 0);
}

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
