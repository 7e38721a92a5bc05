// The virtual mouse's frame checksum and report scrambling: hand-worked vectors and round trips.
#include "VirtualMouse.h"

#include <QtTest>

#include <array>
#include <random>

using Block = std::array<std::uint8_t, 8>;
Q_DECLARE_METATYPE(Block)

class TestScrambling : public QObject
{
    Q_OBJECT

private slots:
    void knownVectors_data();
    void knownVectors();
    void roundTripManyBlocksAndCodes();
    void codeCharacterReachesOnlyItsPosition();
    void shortAndLongCodes();
    void checksumVectors();
};

void TestScrambling::knownVectors_data()
{
    QTest::addColumn<Block>("plain");
    QTest::addColumn<QString>("code");
    QTest::addColumn<Block>("scrambled");

    // Probe 00 with 01 02 03 04, code "739105":
    //   swap 0-5 1-4 2-7 3-6   00 04 f5 00 01 00 03 02
    //   xor 1-6 "739105"      00 33 c6 39 30 30 36 02
    //   rotate left 3          01 9e 31 c9 81 81 b0 10
    //   + key "KaMpVoRe" with nibbles swapped (b4 16 d4 07 65 f6 25 56)
    QTest::newRow("probe") << Block{0x00, 0x01, 0x02, 0x03, 0x04, 0x00, 0x00, 0xF5} << "739105"
                           << Block{0xB5, 0xB4, 0x05, 0xD0, 0xE6, 0x77, 0xD5, 0x66};
    // Report rate 01 02, code "ABCDEF":
    //   swap  00 00 fc 00 02 01 00 00
    //   xor   00 41 be 43 46 44 46 00
    //   rot   02 0d f2 1a 32 22 30 00
    QTest::newRow("report rate") << Block{0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFC} << "ABCDEF"
                                 << Block{0xB6, 0x23, 0xC6, 0x21, 0x97, 0x18, 0x55, 0x56};
    // All zero with an all-zero code: only the key is left.
    QTest::newRow("zero") << Block{} << QString(QChar(0)).repeated(6)
                          << Block{0xB4, 0x16, 0xD4, 0x07, 0x65, 0xF6, 0x25, 0x56};
}

void TestScrambling::knownVectors()
{
    QFETCH(Block, plain);
    QFETCH(QString, code);
    QFETCH(Block, scrambled);
    const std::string scode = code.toLatin1().toStdString();

    Block b = plain;
    vmouse::scramble(b.data(), scode);
    QCOMPARE(vmouse::toHex(b.data(), 8), vmouse::toHex(scrambled.data(), 8));
    vmouse::unscramble(b.data(), scode);
    QCOMPARE(vmouse::toHex(b.data(), 8), vmouse::toHex(plain.data(), 8));
}

void TestScrambling::roundTripManyBlocksAndCodes()
{
    std::mt19937 rng(20240607);
    std::uniform_int_distribution<int> byte(0, 255);
    int changed = 0;
    for (int c = 0; c < 200; ++c) {
        std::string code(6, '\0');
        for (char &ch : code)
            ch = static_cast<char>(byte(rng));
        for (int n = 0; n < 200; ++n) {
            Block plain;
            for (auto &x : plain)
                x = static_cast<std::uint8_t>(byte(rng));
            Block b = plain;
            vmouse::scramble(b.data(), code);
            changed += b != plain;
            vmouse::unscramble(b.data(), code);
            if (b != plain)
                QFAIL(qPrintable(QStringLiteral("round trip lost %1 with code %2")
                                     .arg(QString::fromStdString(vmouse::toHex(plain.data(), 8)))
                                     .arg(QString::fromStdString(vmouse::toHex(
                                         reinterpret_cast<const std::uint8_t *>(code.data()), 6)))));
        }
    }
    QVERIFY(changed > 39000); // scrambling does change blocks
}

void TestScrambling::codeCharacterReachesOnlyItsPosition()
{
    // Scrambled with one code and unscrambled with a code differing in character k, a block comes back
    // wrong in exactly one byte: the one that the pair swap moved to position k + 1.
    const int swapped[8] = {5, 4, 7, 6, 1, 0, 3, 2};
    const Block plain{0x10, 0x21, 0x32, 0x43, 0x54, 0x65, 0x76, 0x87};
    for (int k = 0; k < 6; ++k) {
        std::string other = "739105";
        other[static_cast<std::size_t>(k)] ^= 0x5A;
        Block b = plain;
        vmouse::scramble(b.data(), "739105");
        vmouse::unscramble(b.data(), other);
        for (int i = 0; i < 8; ++i) {
            if (i == swapped[k + 1])
                QCOMPARE(int(b[i] ^ plain[i]), 0x5A);
            else
                QCOMPARE(int(b[i]), int(plain[i]));
        }
    }
}

void TestScrambling::shortAndLongCodes()
{
    const Block plain{1, 2, 3, 4, 5, 6, 7, 8};
    Block a = plain, b = plain, c = plain, d = plain;
    vmouse::scramble(a.data(), "73910");
    vmouse::scramble(b.data(), std::string("73910\0", 6));
    QCOMPARE(a, b); // missing characters count as zero
    vmouse::scramble(c.data(), "739105XYZ");
    vmouse::scramble(d.data(), "739105");
    QCOMPARE(c, d); // characters past six have no effect
    Block e = plain;
    vmouse::scramble(e.data(), "");
    vmouse::unscramble(e.data(), "");
    QCOMPARE(e, plain);
}

void TestScrambling::checksumVectors()
{
    const std::uint8_t rate[7] = {0x01, 0x02, 0, 0, 0, 0, 0};
    const std::uint8_t zero[7] = {};
    const std::uint8_t current[7] = {0x82, 0, 0, 0, 0, 0, 0};
    const std::uint8_t gun[7] = {0x04, 0, 1, 2, 3, 4, 0};
    const std::uint8_t wrap[7] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}; // sum 0x6F9
    QCOMPARE(int(vmouse::checksum(rate)), 0xFC);
    QCOMPARE(int(vmouse::checksum(zero)), 0xFF);
    QCOMPARE(int(vmouse::checksum(current)), 0x7D);
    QCOMPARE(int(vmouse::checksum(gun)), 0xF1);
    QCOMPARE(int(vmouse::checksum(wrap)), 0x06);
}

QTEST_APPLESS_MAIN(TestScrambling)
#include "tst_scrambling.moc"
