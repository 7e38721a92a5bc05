// Frames, checksums and the scrambling transform: hand-worked vectors, round trips, and agreement with
// the virtual mouse's independent implementation.
#include "DeviceFixture.h"
#include "Hid_Thread.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

QByteArray run(Hid_Thread &hid, bool encrypt, QByteArray block, const QByteArray &code6)
{
    uchar code[8] = {};
    for (int i = 0; i < 6 && i < code6.size(); ++i)
        code[i + 1] = uchar(code6[i]);
    auto *b = reinterpret_cast<uchar *>(block.data());
    if (encrypt)
        hid.USBDataEncryption(b, code);
    else
        hid.USBDataDecipher(b, code);
    return block;
}

} // namespace

class TestScrambling : public QObject
{
    Q_OBJECT
private slots:
    void checksum_data();
    void checksum();
    void requestFrame();
    void knownVectors_data();
    void knownVectors();
    void roundTripAndAgreement();
    void unusedCodeBytesHaveNoInfluence();
    void codeCharacterChangesOnlyItsPosition();
};

void TestScrambling::checksum_data()
{
    QTest::addColumn<QByteArray>("bytes7");
    QTest::addColumn<int>("expected");
    QTest::newRow("all zero") << QByteArray(7, 0) << 0xFF;
    QTest::newRow("0x82 alone") << QByteArray::fromHex("82000000000000") << 0x7D;
    QTest::newRow("01 02") << QByteArray::fromHex("01020000000000") << 0xFC;
    QTest::newRow("gun data 04 0 1 2 3 4") << QByteArray::fromHex("04000102030400") << 0xF1;
    // The sum wraps: 7 * 0xFF = 0x6F9, low byte 0xF9, complement 0x06.
    QTest::newRow("wraps") << QByteArray(7, char(0xFF)) << 0x06;
}

void TestScrambling::checksum()
{
    QFETCH(QByteArray, bytes7);
    QFETCH(int, expected);
    Hid_Thread hid;
    QByteArray withGuard = bytes7 + QByteArray(1, char(0x55)); // the eighth byte must not count
    QCOMPARE(int(hid.hidCS(reinterpret_cast<uchar *>(withGuard.data()))), expected);
}

void TestScrambling::requestFrame()
{
    // The frame is exactly the 9 bytes that go on the wire.
    CommandReport r;
    QCOMPARE(int(sizeof r), 9);
    QCOMPARE(int(Hid_Thread().secrecyCode().size()), 8);
    QCOMPARE(CommandReport::ChecksumOffset, 8);
}

void TestScrambling::knownVectors_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QByteArray>("scrambled");
    // Worked by hand with the nibble-swapped key B4 16 D4 07 65 F6 25 56:
    // zeros -> xor 00 37 33 39 31 30 35 00 -> rotl3 01 B9 99 C9 89 81 A8 00 -> + key.
    QTest::newRow("zero block, 739105")
        << QByteArray(8, 0) << QByteArray("739105") << QByteArray::fromHex("b5cf6dd0ee77cd56");
    // Request 01 02 ... FC: swap -> 00 00 FC 00 02 01 00 00, xor -> 00 37 CF 39 33 31 35 00,
    // rotl3 -> 01 BE 79 C9 99 89 A8 00, + key.
    QTest::newRow("request 01 02, 739105") << QByteArray::fromHex("01020000000000fc") << QByteArray("739105")
                                           << QByteArray::fromHex("b5d44dd0fe7fcd56");
    // Every position moves: swap -> E6 55 88 77 22 11 44 33, xor ABCDEF -> E6 14 CA 34 66 54 02 33,
    // rotl3 (the top bits of E6 wrap into the last byte) -> 30 A6 51 A3 32 A0 11 9F, + key.
    QTest::newRow("wrapping block, ABCDEF") << QByteArray::fromHex("1122334455e67788") << QByteArray("ABCDEF")
                                            << QByteArray::fromHex("e4bc25aa979636f5");
}

void TestScrambling::knownVectors()
{
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, code);
    QFETCH(QByteArray, scrambled);
    Hid_Thread hid;
    QCOMPARE(run(hid, true, plain, code).toHex(), scrambled.toHex());
    QCOMPARE(run(hid, false, scrambled, code).toHex(), plain.toHex());
}

void TestScrambling::roundTripAndAgreement()
{
    Hid_Thread hid;
    QRandomGenerator random(20240607);
    for (int n = 0; n < 5000; ++n) {
        QByteArray block(8, 0);
        QByteArray code(6, 0);
        for (auto &c : block)
            c = char(random.bounded(256));
        for (auto &c : code)
            c = char(random.bounded(256));
        const QByteArray scrambled = run(hid, true, block, code);
        QCOMPARE(run(hid, false, scrambled, code), block);

        // The mouse's own implementation must read what the program writes.
        std::vector<std::uint8_t> theirs(block.begin(), block.end());
        vmouse::scramble(theirs.data(), code.toStdString());
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(theirs.data()), 8).toHex(), scrambled.toHex());
    }
}

void TestScrambling::unusedCodeBytesHaveNoInfluence()
{
    Hid_Thread hid;
    const QByteArray block = QByteArray::fromHex("0012345678abcdef");
    uchar codeA[8] = {0, '7', '3', '9', '1', '0', '5', 0};
    uchar codeB[8] = {0xEE, '7', '3', '9', '1', '0', '5', 0x99};
    QByteArray a = block, b = block;
    hid.USBDataEncryption(reinterpret_cast<uchar *>(a.data()), codeA);
    hid.USBDataEncryption(reinterpret_cast<uchar *>(b.data()), codeB);
    QCOMPARE(a.toHex(), b.toHex());
    hid.USBDataDecipher(reinterpret_cast<uchar *>(b.data()), codeB);
    QCOMPARE(b.toHex(), block.toHex());
}

void TestScrambling::codeCharacterChangesOnlyItsPosition()
{
    // Undo the key addition and the rotation of two scrambles that differ in one code character:
    // what is left differs only at that character's position, by the xor of the two characters.
    Hid_Thread hid;
    const QByteArray block = QByteArray::fromHex("3141592653589793");
    for (int k = 0; k < 6; ++k) {
        QByteArray codeA("739105"), codeB("739105");
        codeB[k] = 'x';
        QByteArray a = run(hid, true, block, codeA);
        QByteArray b = run(hid, true, block, codeB);
        // A zero code deciphers the rotation and key only (and swaps back).
        a = run(hid, false, a, QByteArray(6, 0));
        b = run(hid, false, b, QByteArray(6, 0));
        // Positions after the swap: code position k + 1 came from the byte the swap moved there.
        static const int swapped[8] = {5, 4, 7, 6, 1, 0, 3, 2};
        for (int i = 0; i < 8; ++i) {
            const int beforeSwap = swapped[i];
            const uchar diff = uchar(a[i]) ^ uchar(b[i]);
            if (beforeSwap == k + 1)
                QCOMPARE(int(diff), int(uchar(codeA[k]) ^ uchar(codeB[k])));
            else
                QCOMPARE(int(diff), 0);
        }
    }
}

QTEST_GUILESS_MAIN(TestScrambling)
#include "tst_scrambling.moc"
