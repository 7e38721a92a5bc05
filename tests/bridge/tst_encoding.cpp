// Key matrix, DPI, lighting and profile-image encodings checked on their own, without a device.
#include "DpiEncoder.h"
#include "KeyMatrixEncoder.h"
#include "LightingEncoder.h"
#include "MouseDriver553.h"
#include "MouseDriver560.h"
#include "ProfileImage.h"

#include <QTest>

namespace {

using Entry = std::array<quint8, 4>;

QVariantList defs(const QList<QList<int>> &byPosition)
{
    QVariantList out;
    for (int n = 0; n < 16; ++n) {
        // Positions not given, or given empty, are the left button.
        const QList<int> d =
            n < byPosition.size() && !byPosition[n].isEmpty() ? byPosition[n] : QList<int>{0, 0, 0xF0, 0};
        for (int v : d)
            out << v;
    }
    return out;
}

Entry entryAt(const KeyMatrix &m, int n)
{
    return {m[4 * n], m[4 * n + 1], m[4 * n + 2], m[4 * n + 3]};
}

std::array<QVariantList, 16> templateOf(int base)
{
    std::array<QVariantList, 16> t;
    for (int n = 0; n < 16; ++n)
        t[n] = QVariantList{base + n, 0x20 + n, 0x40 + n, 0x60 + n};
    return t;
}

} // namespace

Q_DECLARE_METATYPE(Entry)

namespace QTest {
template <> char *toString(const Entry &e)
{
    return qstrdup(QByteArray::number(e[0])
                       .append(' ')
                       .append(QByteArray::number(e[1]))
                       .append(' ')
                       .append(QByteArray::number(e[2]))
                       .append(' ')
                       .append(QByteArray::number(e[3]))
                       .constData());
}
} // namespace QTest

class TestEncoding : public QObject
{
    Q_OBJECT

private slots:
    void kindCodes_data()
    {
        QTest::addColumn<QList<int>>("page");
        QTest::addColumn<bool>("is560");
        QTest::addColumn<Entry>("device");
        QTest::newRow("button") << QList<int>{0, 0, 0xF0, 0} << false << Entry{1, 0, 0xF0, 0};
        QTest::newRow("double click") << QList<int>{0, 0, 0x1E, 2} << false << Entry{10, 0, 0x1E, 2};
        QTest::newRow("not double click") << QList<int>{0, 0, 0x1E, 1} << false << Entry{1, 0, 0x1E, 1};
        QTest::newRow("fire") << QList<int>{1, 4, 0, 0} << true << Entry{10, 4, 0, 0};
        QTest::newRow("combination") << QList<int>{2, 1, 4, 5} << false << Entry{0, 1, 4, 5};
        QTest::newRow("combination as media") << QList<int>{2, 1, 0x21, 2} << false << Entry{3, 1, 0x21, 2};
        QTest::newRow("0x23 rule") << QList<int>{6, 0, 0x23, 2} << true << Entry{3, 0, 0x23, 2};
        QTest::newRow("0x94 rule") << QList<int>{7, 0, 0x94, 1} << false << Entry{3, 0, 0x94, 1};
        QTest::newRow("0x94 needs 1") << QList<int>{7, 0, 0x94, 2} << false << Entry{0, 0, 0x94, 2};
        QTest::newRow("media") << QList<int>{3, 0, 0xE9, 0} << false << Entry{3, 0, 0xE9, 0};
        QTest::newRow("macro slot to id") << QList<int>{4, 7, 5, 9} << false << Entry{9, 7, 6, 9};
        QTest::newRow("macro slot 11") << QList<int>{4, 0, 11, 0} << true << Entry{9, 0, 12, 0};
        QTest::newRow("dpi up") << QList<int>{5, 3, 1, 3} << true << Entry{7, 3, 1, 3};
        QTest::newRow("sniper 560") << QList<int>{5, 9, 4, 9} << true << Entry{11, 0, 1, 1};
        QTest::newRow("sniper 553") << QList<int>{5, 9, 4, 9} << false << Entry{7, 0, 4, 1};
        QTest::newRow("gun") << QList<int>{8, 0, 2, 0} << false << Entry{8, 0, 2, 0};
        QTest::newRow("default 255") << QList<int>{255, 0, 1, 0} << false << Entry{4, 0, 1, 0};
        QTest::newRow("unknown kind kept") << QList<int>{42, 1, 2, 3} << false << Entry{42, 1, 2, 3};
        QTest::newRow("beyond a byte: no function")
            << QList<int>{256 + 3, 0x1FF, 0x100, -1} << false << Entry{0, 0, 0, 0};
    }

    void kindCodes()
    {
        QFETCH(QList<int>, page);
        QFETCH(bool, is560);
        QFETCH(Entry, device);
        const KeyMatrixDialect &family = is560 ? MouseDriver560::dialect() : MouseDriver553::dialect();
        const KeyMatrix m = KeyMatrixEncoder::mainMatrix(defs({{}, page}), family);
        QCOMPARE(entryAt(m, 1), device);
        QCOMPARE(entryAt(m, 0), (Entry{1, 0, 0xF0, 0}));
    }

    void shortListsReadAsZero()
    {
        const QVariantList partial{0, 0, 0xF1, 0, 4, 1};
        const KeyMatrix m = KeyMatrixEncoder::mainMatrix(partial, MouseDriver553::dialect());
        QCOMPARE(entryAt(m, 0), (Entry{1, 0, 0xF1, 0}));
        QCOMPARE(entryAt(m, 1), (Entry{9, 1, 1, 0}));
        for (int n = 2; n < 16; ++n)
            QCOMPARE(entryAt(m, n), (Entry{1, 0, 0, 0}));

        std::array<QVariantList, 16> t;
        t[3] = QVariantList{5, 6};
        const KeyMatrix tm = KeyMatrixEncoder::templateMatrix(t);
        QCOMPARE(entryAt(tm, 3), (Entry{5, 6, 0, 0}));
        QCOMPARE(entryAt(tm, 4), (Entry{0, 0, 0, 0}));
    }

    // Numbers the mouse or the format has no room for are held, not cut into another function: the
    // position goes out with none at all, and is named.
    void hostileNumbersAreHeld_data()
    {
        QTest::addColumn<QVariantList>("page");
        QTest::addColumn<QString>("named");
        QTest::newRow("macro slot 12") << QVariantList{4, 0, 12, 0} << "macro slot 12 ";
        QTest::newRow("macro slot 99") << QVariantList{4, 0, 99, 0} << "macro slot 99 ";
        QTest::newRow("macro slot 2^32")
            << QVariantList{4, 0, qlonglong(1) << 32, 0} << "(4, 0, 4294967296, 0)";
        QTest::newRow("kind 260") << QVariantList{260, 0, 5, 0} << "(260, 0, 5, 0)";
        QTest::newRow("negative code") << QVariantList{2, -1, 4, 0} << "(2, -1, 4, 0)";
        QTest::newRow("fraction") << QVariantList{1, 4.5, 0, 0} << "(1, 4.5, 0, 0)";
        QTest::newRow("text") << QVariantList{0, 0, "F0", 0} << "(0, 0, F0, 0)";
    }
    void hostileNumbersAreHeld()
    {
        QFETCH(QVariantList, page);
        QFETCH(QString, named);
        QVariantList src = defs({});
        for (int i = 0; i < 4; ++i)
            src[4 + i] = page[i];
        for (const KeyMatrixDialect *family : {&MouseDriver553::dialect(), &MouseDriver560::dialect()}) {
            QStringList held;
            const KeyMatrix m = KeyMatrixEncoder::mainMatrix(src, *family, &held);
            QCOMPARE(entryAt(m, 1), (Entry{0, 0, 0, 0}));
            QCOMPARE(entryAt(m, 0), (Entry{1, 0, 0xF0, 0}));
            QCOMPARE(held.size(), 1);
            QVERIFY2(held.first().startsWith("button 1: ") && held.first().contains(named),
                     qPrintable(held.first()));
        }
        // The same numbers in the gun template.
        std::array<QVariantList, 16> t = templateOf(0x10);
        t[5] = page;
        QStringList held;
        const KeyMatrix tm = KeyMatrixEncoder::templateMatrix(t, &held);
        // (A slot number there is a plain byte of the template.)
        if (!named.startsWith("macro slot")) {
            QCOMPARE(entryAt(tm, 5), (Entry{0, 0, 0, 0}));
            QCOMPARE(held.size(), 1);
        }
    }

    void noGunKeyNoGunMatrices()
    {
        const KeyMatrixSet s =
            KeyMatrixEncoder::encode(defs({}), {10, 20, 30}, templateOf(0x10), MouseDriver560::dialect());
        QVERIFY(!s.hasGunKey);
        QVERIFY(!s.gunMask.has_value());
    }

    void gunMatrices553()
    {
        // Guns with choices 1, 2, 3 and an unknown choice at positions 3, 4, 5, 6.
        const QVariantList src = defs({{}, {}, {}, {8, 9, 2, 9}, {8, 9, 1, 9}, {8, 9, 3, 9}, {8, 9, 7, 9}});
        const auto t = templateOf(0x10);
        const KeyMatrixSet s = KeyMatrixEncoder::encode(src, {0x10A, 20, 30}, t, MouseDriver553::dialect());
        QVERIFY(s.held.isEmpty());
        QVERIFY(s.hasGunKey);
        QVERIFY(!s.gunMask.has_value());
        QCOMPARE(entryAt(s.main, 3), (Entry{8, 0, 1, 1}));
        QCOMPARE(entryAt(s.gun[0], 3), (Entry{8, 0, 1, 2}));
        QCOMPARE(entryAt(s.gun[1], 3), (Entry{8, 0, 1, 0}));
        QCOMPARE(entryAt(s.gun[2], 3), (Entry{8, 0, 1, 0}));
        QCOMPARE(entryAt(s.gun[0], 4), (Entry{8, 0, 1, 0}));
        QCOMPARE(entryAt(s.gun[0], 5), (Entry{8, 0, 1, 2}));
        QCOMPARE(entryAt(s.gun[1], 5), (Entry{8, 0, 1, 3}));
        QCOMPARE(entryAt(s.gun[2], 5), (Entry{8, 0, 1, 0}));
        // An unknown choice keeps byte 3 from the main matrix and the template, bytes 1 and 2 still change.
        QCOMPARE(entryAt(s.main, 6), (Entry{8, 0, 1, 9}));
        QCOMPARE(entryAt(s.gun[1], 6), (Entry{8, 0, 1, 0x66}));
        // Other positions are the template; position 0 is each gun's header with its period.
        QCOMPARE(entryAt(s.gun[2], 9), (Entry{0x19, 0x29, 0x49, 0x69}));
        // A period longer than a byte holds is the longest one.
        QCOMPARE(entryAt(s.gun[0], 0), (Entry{0x0B, 0, 0xFF, 0}));
        QCOMPARE(entryAt(s.gun[1], 0), (Entry{0x0B, 1, 20, 0}));
        QCOMPARE(entryAt(s.gun[2], 0), (Entry{0x0B, 2, 30, 0}));
        QCOMPARE(entryAt(s.main, 0), (Entry{1, 0, 0xF0, 0}));
    }

    void gunMatrices560()
    {
        const QVariantList src = defs({{}, {}, {8, 5, 3, 6}, {8, 5, 1, 6}, {8, 5, 9, 6}});
        const KeyMatrixSet s =
            KeyMatrixEncoder::encode(src, {7}, templateOf(0x10), MouseDriver560::dialect());
        QCOMPARE(entryAt(s.main, 2), (Entry{8, 5, 1, 6}));
        QCOMPARE(entryAt(s.gun[0], 2), (Entry{8, 0x22, 3, 0x62}));
        QCOMPARE(entryAt(s.gun[1], 2), (Entry{8, 0x22, 3, 0x62}));
        QCOMPARE(entryAt(s.gun[2], 2), (Entry{8, 0x22, 0, 0x62}));
        QCOMPARE(entryAt(s.gun[0], 3), (Entry{8, 0x23, 0, 0x63}));
        // Unknown choice: only the kind changes in the gun matrices.
        QCOMPARE(entryAt(s.main, 4), (Entry{8, 5, 9, 6}));
        QCOMPARE(entryAt(s.gun[0], 4), (Entry{8, 0x24, 0x44, 0x64}));
        // The last known gun decides the mask; missing periods are 0.
        QCOMPARE(s.gunMask.value_or(0), quint8(0x07));
        QCOMPARE(entryAt(s.gun[1], 0), (Entry{0x0B, 1, 0, 0}));

        const KeyMatrixSet two = KeyMatrixEncoder::encode(defs({{8, 0, 2, 0}}), {1, 2, 3}, templateOf(0),
                                                          MouseDriver560::dialect());
        QCOMPARE(two.gunMask.value_or(0), quint8(0x0F));
        // A gun at position 0 is overwritten by the headers in the gun matrices.
        QCOMPARE(entryAt(two.gun[0], 0), (Entry{0x0B, 0, 1, 0}));
        QCOMPARE(entryAt(two.main, 0), (Entry{8, 0, 1, 0}));
    }

    void dpiCodes_data()
    {
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("high");
        QTest::newRow("3360 400") << "3360" << 400 << 3 << false;
        QTest::newRow("3360 16000") << "3360" << 16000 << (159 & 0xFF) << false;
        QTest::newRow("3360 cut to 8 bits") << "3360" << 25700 << (256 & 0xFF) << false;
        QTest::newRow("3050 300") << "3050" << 300 << 2 << false;
        QTest::newRow("3050 250") << "3050" << 250 << 1 << false;
        QTest::newRow("3050 2000") << "3050" << 2000 << 8 << false;
        QTest::newRow("3050 2200") << "3050" << 2200 << 0x45 << false;
        QTest::newRow("3050 4000") << "3050" << 4000 << 0x48 << false;
        QTest::newRow("3050 4500") << "3050" << 4500 << 0 << false;
        QTest::newRow("4090 5000") << "4090" << 5000 << 49 << false;
        QTest::newRow("4090 6000") << "4090" << 6000 << 0x5E << false;
        QTest::newRow("4090 5100") << "4090" << 5100 << (25 | 0x40) << false;
        QTest::newRow("unknown like 4090") << "9999" << 6000 << 0x5E << false;
        QTest::newRow("empty like 4090") << "" << 800 << 7 << false;
        QTest::newRow("3389 16000") << "3389" << 16000 << 64 << true;
        QTest::newRow("3389 12799") << "3389" << 12799 << 255 << false;
        QTest::newRow("3389 12800") << "3389" << 12800 << 0 << true;
        QTest::newRow("3389 400") << "3389" << 400 << 8 << false;
    }

    void dpiCodes()
    {
        QFETCH(QString, sensor);
        QFETCH(int, value);
        QFETCH(int, code);
        QFETCH(bool, high);
        QCOMPARE(int(DpiEncoder::code(sensor, value)), code);
        QCOMPARE(DpiEncoder::needsHighBit(sensor, value), high);
    }

    void dpiStagesAndMasks()
    {
        const QVariantList v{400, 800, 1600, 3200, 6400, 8000, 12000, 16000};
        const DpiCodes c = DpiEncoder::encode(3, "3360", v);
        QCOMPARE(c.enableMask, quint8(0x07));
        QVERIFY(!c.hasHighBits);
        const auto off = MouseDriver553::codesWithStagesOff(c, 3);
        QCOMPARE(off, (std::array<quint8, 8>{3, 7, 15, 0x80, 0x80, 0x80, 0x80, 0x80}));
        QCOMPARE(c.codes[7], quint8(159));

        const DpiCodes h = DpiEncoder::encode(8, "3389", {100, 13000, 200, 12800, 50, 50, 50, 25600});
        QVERIFY(h.hasHighBits);
        QCOMPARE(h.highBits, quint8(0x8A));
        QCOMPARE(h.enableMask, quint8(0xFF));

        // Fewer than eight values: the rest read as 0, nothing is read past the list.
        const DpiCodes s = DpiEncoder::encode(0, "3050", {300});
        QCOMPARE(s.codes, (std::array<quint8, 8>{2, 1, 1, 1, 1, 1, 1, 1}));
        QCOMPARE(s.enableMask, quint8(0));
        QCOMPARE(MouseDriver553::codesWithStagesOff(s, 0)[0], quint8(0x80));
        QCOMPARE(DpiEncoder::encode(12, "3360", {}).enableMask, quint8(0xFF));
    }

    void sensor3050EveryStep()
    {
        // Each ceiling and the value just above the previous one give the same code.
        const int ceilings[] = {250, 500, 750, 1000, 1250, 1500, 1750, 2000, 2500, 3000, 3500, 4000};
        const int codes[] = {1, 2, 3, 4, 5, 6, 7, 8, 0x45, 0x46, 0x47, 0x48};
        int previous = 0;
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(int(DpiEncoder::code("3050", previous + 1)), codes[i]);
            QCOMPARE(int(DpiEncoder::code("3050", ceilings[i])), codes[i]);
            previous = ceilings[i];
        }
        QCOMPARE(int(DpiEncoder::code("3050", 4001)), 0);
    }

    void lookupTablesWhole()
    {
        // Every entry of every table, plus 0 on both sides of its range.
        const struct
        {
            const char *name;
            quint8 (*lookup)(int);
            int first;
            QList<int> values;
        } tables[] = {
            {"brightness", LightingEncoder::brightness, 1, {64, 128, 192, 255}},
            {"speed 1", LightingEncoder::speed1, 0, {10, 7, 5, 3, 1}},
            {"speed 8", LightingEncoder::speed8, 0, {20, 17, 15, 13, 11}},
            {"speed 9", LightingEncoder::speed9, 0, {15, 13, 10, 7, 5}},
            {"speed 10", LightingEncoder::speed10, 0, {30, 27, 24, 22, 20}},
            {"steady level", LightingEncoder::steadyLevel, 0, {1, 3, 5, 7, 10}},
            {"breathing speed", LightingEncoder::breathingSpeed, 0, {30, 24, 18, 12, 6}},
        };
        for (const auto &t : tables) {
            QList<int> got;
            for (int i = t.first - 1; i <= t.first + int(t.values.size()); ++i)
                got << t.lookup(i);
            QCOMPARE(got, QList<int>{0} + t.values + QList<int>{0});
        }
    }

    void lightingTables()
    {
        QCOMPARE(LightingEncoder::brightness(0), quint8(0));
        QCOMPARE(LightingEncoder::brightness(1), quint8(64));
        QCOMPARE(LightingEncoder::brightness(4), quint8(255));
        QCOMPARE(LightingEncoder::brightness(5), quint8(0));
        QCOMPARE(LightingEncoder::speed1(4), quint8(1));
        QCOMPARE(LightingEncoder::speed1(5), quint8(0));
        QCOMPARE(LightingEncoder::speed8(0), quint8(20));
        QCOMPARE(LightingEncoder::speed9(3), quint8(7));
        QCOMPARE(LightingEncoder::speed10(4), quint8(20));
        QCOMPARE(LightingEncoder::speed10(-1), quint8(0));
        QCOMPARE(LightingEncoder::steadyLevel(4), quint8(10));
        QCOMPARE(LightingEncoder::breathingSpeed(1), quint8(24));
        QCOMPARE(LightingEncoder::breathingSpeed(200), quint8(0));
    }

    void fullColourEffects_data()
    {
        QTest::addColumn<int>("effect");
        QTest::addColumn<int>("o1");
        QTest::addColumn<int>("o2");
        QTest::addColumn<Entry>("eps");
        QTest::newRow("static") << 0 << 3 << 2 << Entry{1, 128, 0, 0};
        QTest::newRow("static level 0") << 0 << 3 << 0 << Entry{1, 0, 0, 0};
        QTest::newRow("breath") << 1 << 2 << 4 << Entry{3, 0, 5, 0};
        QTest::newRow("neon") << 2 << 0 << 1 << Entry{4, 255, 10, 0};
        QTest::newRow("off") << 3 << 2 << 2 << Entry{0, 0, 0, 0};
        QTest::newRow("4") << 4 << 2 << 3 << Entry{2, 192, 0, 0};
        QTest::newRow("5") << 5 << 4 << 4 << Entry{5, 255, 1, 0};
        QTest::newRow("6") << 6 << 4 << 4 << Entry{6, 0, 0, 0};
        QTest::newRow("7") << 7 << 4 << 1 << Entry{7, 64, 0, 0};
        QTest::newRow("8") << 8 << 1 << 1 << Entry{8, 64, 17, 0};
        QTest::newRow("9") << 9 << 2 << 2 << Entry{9, 128, 10, 0};
        QTest::newRow("10") << 10 << 9 << 2 << Entry{10, 128, 0, 0};
        QTest::newRow("11") << 11 << 1 << 1 << Entry{0, 0, 0, 0};
        QTest::newRow("255") << 255 << 1 << 1 << Entry{0, 0, 0, 0};
    }

    void fullColourEffects()
    {
        QFETCH(int, effect);
        QFETCH(int, o1);
        QFETCH(int, o2);
        QFETCH(Entry, eps);
        const LightingEffect e = LightingEncoder::fullColour(quint8(effect), quint8(o1), quint8(o2));
        QCOMPARE((Entry{e.effect, e.parameter, e.third, 0}), eps);
    }

    void singleColourEffects_data()
    {
        QTest::addColumn<int>("effect");
        QTest::addColumn<int>("o1");
        QTest::addColumn<int>("o2");
        QTest::addColumn<Entry>("epo");
        QTest::newRow("steady") << 0 << 9 << 3 << Entry{1, 7, 1, 0};
        QTest::newRow("steady out of table") << 0 << 9 << 5 << Entry{1, 0, 1, 0};
        QTest::newRow("1") << 1 << 2 << 0 << Entry{2, 3, 1, 0};
        QTest::newRow("1 wraps") << 1 << 255 << 0 << Entry{2, 0, 1, 0};
        QTest::newRow("breathing") << 2 << 4 << 0 << Entry{3, 6, 1, 0};
        QTest::newRow("3") << 3 << 1 << 1 << Entry{0, 0, 0, 0};
        QTest::newRow("4") << 4 << 0 << 0 << Entry{2, 1, 3, 0};
        QTest::newRow("5") << 5 << 1 << 1 << Entry{0, 0, 0, 0};
    }

    void singleColourEffects()
    {
        QFETCH(int, effect);
        QFETCH(int, o1);
        QFETCH(int, o2);
        QFETCH(Entry, epo);
        const LightingEffect e = LightingEncoder::singleColour(quint8(effect), quint8(o1), quint8(o2));
        QCOMPARE((Entry{e.effect, e.parameter, e.third, 0}), epo);
    }

    void colourBytes()
    {
        QVariantList src;
        for (int i = 0; i < 30; ++i)
            src << (i == 0 ? 0x1FF : i);
        const auto b = LightingEncoder::colourBytes(src);
        QCOMPARE(b[0], quint8(0xFF));
        QCOMPARE(b[23], quint8(23));
        QVERIFY(MouseDriver553::eighthColourSet(b));
        const auto shortList = LightingEncoder::colourBytes({"12", 3});
        QCOMPARE(shortList[0], quint8(12));
        QCOMPARE(shortList[2], quint8(0));
        QVERIFY(!MouseDriver553::eighthColourSet(shortList));
        std::array<quint8, 24> only23{};
        only23[23] = 1;
        QVERIFY(MouseDriver553::eighthColourSet(only23));
    }

    void profileImagePlaces()
    {
        ProfileImage img;
        for (uint n = 0; n < 5; ++n)
            for (int i = 0; i < 128; ++i)
                img.block(n)[i] = 0xAA;

        img.setDpi(DpiEncoder::encode(2, "3389", {100, 16000, 50, 50, 50, 50, 50, 50}));
        img.setEffect({5, 6, 7});
        img.setGunMask(0x1F);
        std::array<quint8, 24> colours{};
        for (int i = 0; i < 24; ++i)
            colours[i] = quint8(i + 1);
        img.setFullColours(colours);
        img.setSingleColours(colours);

        QCOMPARE(img.at(0, 2), quint8(0x1F));
        QCOMPARE(img.at(0, 23), quint8(0xAA));
        QCOMPARE(img.at(0, 24), quint8(1));
        QCOMPARE(img.at(0, 47), quint8(24));
        QCOMPARE(img.at(0, 48), quint8(0xAA));
        QCOMPARE(img.at(0, 71), quint8(0xAA)); // block 0 has no lighting effect
        for (uint n = 1; n <= 4; ++n) {
            QCOMPARE(img.at(n, 70), quint8(0xAA));
            QCOMPARE(img.at(n, 71), quint8(5));
            QCOMPARE(img.at(n, 73), quint8(7));
            QCOMPARE(img.at(n, 82), quint8(0x02));
            QCOMPARE(img.at(n, 83), quint8(0x02));
            QCOMPARE(img.at(n, 84), quint8(2));
            QCOMPARE(img.at(n, 85), quint8(64));
            QCOMPARE(img.at(n, 92), quint8(2));
            QCOMPARE(img.at(n, 99), quint8(1));
            QCOMPARE(img.at(n, 100), quint8(0x03));
            QCOMPARE(img.at(n, 101), quint8(0xAA));
        }
        QCOMPARE(img.at(1, 103), quint8(0xAA));
        QCOMPARE(img.at(1, 104), quint8(1));
        QCOMPARE(img.at(1, 127), quint8(24));
        QCOMPARE(img.at(2, 104), quint8(0xAA));

        // Without ninth bits the two mask bytes keep what the mouse had.
        img.setDpi(DpiEncoder::encode(1, "3360", {}));
        QCOMPARE(img.at(3, 82), quint8(0x02));

        img.block(3)[65] = 0xFF;
        QCOMPARE(img.setGun(2, 1, 2, 0xF6), 3);
        QCOMPARE(img.at(3, 78), quint8(0xF0));
        QCOMPARE(img.at(3, 81), quint8(0xF6));
        QCOMPARE(img.at(3, 65), quint8(0xFB));
        QCOMPARE(img.at(2, 78), quint8(0xAA));
        QCOMPARE(img.setGun(0, 1, 1, 1), -1);
        QCOMPARE(img.setGun(4, 1, 1, 1), -1);
        QCOMPARE(img.at(1, 78), quint8(0xAA));

        QVERIFY(img.block(5) == nullptr);
        QCOMPARE(img.at(7, 0), quint8(0));
        QCOMPARE(img.at(0, 128), quint8(0));
        img.clear();
        QCOMPARE(img.at(1, 71), quint8(0));
    }
};

QTEST_APPLESS_MAIN(TestEncoding)
#include "tst_encoding.moc"
