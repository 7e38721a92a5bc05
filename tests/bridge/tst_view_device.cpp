// The backend's device slots against the virtual mouse in virtual time, for both command families and
// the capability flags: every report that goes out, byte for byte, and what the getters return.
#include "BridgeFixture.h"
#include "Hid_Thread.h"
#include "MouseDriver560.h"
#include "VirtualMouse.h"
#include "myQQuickView.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

using namespace bridgetest;

namespace {

struct Flags
{
    int family = 553;
    bool colorful = true;
    bool gun = false;
    bool is55328 = false;
};

// A mouse, a worker aimed at it, and a backend built on an installation with the given flags.
struct Rig
{
    explicit Rig(const Flags &f)
    {
        install.setGlobal("mouse/icType", f.family == 560 ? "560" : "553");
        install.setGlobal("mouse/isColorful", f.colorful ? "true" : "false");
        install.setGlobal("mouse/isGun", f.gun ? "true" : "false");
        install.setGlobal("mouse/is55328", f.is55328 ? "true" : "false");
        aimAt(hid, configureMouse(f.family));
        hid.setDriver(MouseDriver::create(QString::number(f.family), hid, {f.gun, f.colorful, f.is55328}));
        view = std::make_unique<myQQuickView>(nullptr, nullptr, &pointer);
        view->setWorker(&hid);
        vmouse::clearTranscript();
    }
    ~Rig() { view->setWorker(nullptr); }

    TempInstallation install{TempInstallation::Defaults, TempInstallation::MakeCurrent};
    RecordingPointerSettings pointer;
    Hid_Thread hid;
    std::unique_ptr<myQQuickView> view;
};

// The 560 driver's copy of the mouse's profile memory.
ProfileImage &image(Rig &rig)
{
    return static_cast<MouseDriver560 *>(rig.hid.driver())->image();
}

// Distinct contents for each profile block, so that a byte written in the wrong place shows.
std::vector<quint8> patternBlock(int n)
{
    std::vector<quint8> b(128);
    for (int i = 0; i < 128; ++i)
        b[i] = quint8(n * 37 + i * 5 + 1);
    return b;
}

// Gives the mouse the pattern blocks and has the backend read all five.
void loadPatternBlocks(Rig &rig)
{
    vmouse::FirmwareState s = vmouse::state();
    for (int n = 0; n < 5; ++n) {
        const auto p = patternBlock(n);
        std::copy(p.begin(), p.end(), s.profileBlock[n].begin());
    }
    vmouse::setState(s);
    for (uint n = 0; n < 5; ++n)
        rig.view->mouseReadProfile(n);
    vmouse::clearTranscript();
}

std::vector<quint8> concat(std::vector<quint8> a, const std::vector<quint8> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Sixteen page definitions: every position the left button unless given.
QVariantList pageDefinitions(const QMap<int, QList<int>> &given)
{
    QVariantList out;
    for (int n = 0; n < 16; ++n)
        for (int v : given.value(n, {0, 0, 0xF0, 0}))
            out << v;
    return out;
}

// The gun template of a profile: position n holds (1, 0, 0x30 + n, 0x50 + n).
void storeTemplate(TempInstallation &install, int profile)
{
    for (int n = 0; n < 16; ++n)
        install.setProfileValue(profile, QStringLiteral("mouseFwKeyMatrix/%1").arg(n),
                                QVariantList{1, 0, 0x30 + n, 0x50 + n});
}

std::vector<quint8> templateMatrix()
{
    std::vector<quint8> t;
    for (int n = 0; n < 16; ++n)
        t.insert(t.end(), {1, 0, quint8(0x30 + n), quint8(0x50 + n)});
    return t;
}

std::vector<quint8> leftButtons()
{
    std::vector<quint8> m;
    for (int n = 0; n < 16; ++n)
        m.insert(m.end(), {1, 0, 0xF0, 0});
    return m;
}

void setEntry(std::vector<quint8> &m, int n, std::initializer_list<quint8> e)
{
    std::copy(e.begin(), e.end(), m.begin() + 4 * n);
}

} // namespace

class TestViewDevice : public QObject
{
    Q_OBJECT

private slots:
    void reportRateAndCurrentDpi_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<bool>("gun");
        QTest::newRow("553") << 553 << false;
        QTest::newRow("553 gun") << 553 << true;
        QTest::newRow("560") << 560 << false;
        QTest::newRow("560 gun") << 560 << true;
    }

    void reportRateAndCurrentDpi()
    {
        QFETCH(int, family);
        QFETCH(bool, gun);
        Rig rig({family, true, gun, false});
        rig.view->mouseSetReportRate(8);
        rig.view->mouseSetCurrentDPI(3);
        QStringList expected;
        if (family == 553) {
            expected = setCommand(0x01, {8}) + setCommand(0x0B, {3});
        } else {
            // One report per k, or only k = 1 on a mouse with gun functions.
            const int reports = gun ? 1 : 4;
            for (int k = 1; k <= reports; ++k)
                expected << frame(0x03, {k, 8});
            for (int k = 1; k <= reports; ++k)
                expected << frame(0x04, {k, 3});
        }
        QCOMPARE(sent(), expected);
        QCOMPARE(int(vmouse::state().reportRate), 8);
        QCOMPARE(int(vmouse::state().currentDpiStage), 3);
    }

    void keyboardOptionBothFamilies_data()
    {
        QTest::addColumn<int>("family");
        QTest::newRow("553") << 553;
        QTest::newRow("560") << 560;
    }

    void keyboardOptionBothFamilies()
    {
        QFETCH(int, family);
        Rig rig({family, true, false, false});
        rig.view->mouseSetKeyboardoption(0x12, 0x34, 0x56, 0x78);
        const QVariantList read = rig.view->GetKeyboardoption();
        QCOMPARE(sent(), setCommand(0x03, {0x12, 0x34, 0x56, 0x78}) + QStringList{frame(0x83)});
        if (family == 553)
            QCOMPARE(read, (QVariantList{0x12, 0x34, 0x56, 0x78}));
        QCOMPARE(read.size(), 4);
    }

    void getters()
    {
        {
            Rig rig({553, true, false, false});
            rig.view->mouseSetCurrentDPI(5);
            vmouse::clearTranscript();
            QCOMPARE(rig.view->mouseGetCurrentDPI(), QVariant(5));
            QCOMPARE(sent(), QStringList{frame(0x8B)});
        }
        {
            Rig rig({560, true, true, false});
            vmouse::FirmwareState s = vmouse::state();
            s.currentProfile = 3;
            s.currentDpiStage = 6;
            s.dpiStageByK = {6, 6, 6, 6};
            vmouse::setState(s);
            QCOMPARE(rig.view->mouseGetCurrentDPI(), QVariant(6));
            QCOMPARE(rig.view->mouseReadCurrentProfile(), QVariant(3));
            // The DPI request carries 1 in byte 2; the profile request carries nothing.
            QCOMPARE(sent(), (QStringList{frame(0x84, {1}), frame(0x82)}));
        }
    }

    void gettersWhenTheCommandDoesNotRun()
    {
        Rig rig({553, true, false, false});
        rig.view->mouseSetCurrentDPI(4);
        rig.view->mouseSetKeyboardoption(1, 2, 3, 4);

        // Unplugged: the transaction fails silently, the results start at 0.
        vmouse::unplug();
        QCOMPARE(rig.view->mouseGetCurrentDPI(), QVariant(0));
        QCOMPARE(rig.view->GetKeyboardoption(), (QVariantList{0, 0, 0, 0}));
        QCOMPARE(rig.view->mouseReadCurrentProfile(), QVariant(0));
        QVERIFY(rig.hid.deviceList().at(0).path.isEmpty());

        // Busy: the worker gives up and says so; nothing is sent.
        aimAt(rig.hid, configureMouse(553));
        QVERIFY(rig.hid.waitHidFree());
        QTest::ignoreMessage(QtDebugMsg, "cmd Failed 8BH");
        QCOMPARE(rig.view->mouseGetCurrentDPI(), QVariant(0));
        QTest::ignoreMessage(QtDebugMsg, "cmd Failed 83");
        QCOMPARE(rig.view->GetKeyboardoption(), (QVariantList{0, 0, 0, 0}));
        QTest::ignoreMessage(QtDebugMsg, "cmd Failed 82");
        QCOMPARE(rig.view->mouseReadCurrentProfile(), QVariant(0));
        QVERIFY(sent().isEmpty());
        rig.view->clearHidBusy();
        QVERIFY(rig.hid.hidFree());
    }

    void dpi553()
    {
        Rig rig({553, true, false, false});
        rig.view->mouseSetDpi(3, "3360", {400, 800, 1600, 3200, 6400, 8000, 12000, 16000});
        QCOMPARE(sent(), setCommand(0x11, {3, 8}, {3, 7, 15, 0x80, 0x80, 0x80, 0x80, 0x80}));
        // The ninth bits of "3389" are not sent to this family.
        vmouse::clearTranscript();
        rig.view->mouseSetDpi(2, "3389", {16000, 400});
        QCOMPARE(sent(), setCommand(0x11, {2, 8}, {64, 8, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}));
        QCOMPARE(int(vmouse::state().dpiStageCount), 2);
    }

    void dpi560_data()
    {
        QTest::addColumn<bool>("gun");
        QTest::newRow("no gun") << false;
        QTest::newRow("gun") << true;
    }

    void dpi560()
    {
        QFETCH(bool, gun);
        Rig rig({560, true, gun, false});
        loadPatternBlocks(rig);
        rig.view->mouseSetDpi(3, "3389", {400, 16000, 800, 12800, 100, 100, 100, 100, 100});
        QStringList expected;
        for (int n = 1; n <= (gun ? 4 : 1); ++n) {
            auto b = patternBlock(n);
            const std::vector<quint8> codes{8, 64, 16, 0, 2, 2, 2, 2};
            std::copy(codes.begin(), codes.end(), b.begin() + 84);
            std::copy(codes.begin(), codes.end(), b.begin() + 92);
            b[100] = 0x07;
            b[82] = b[83] = 0x0A;
            expected += setCommand(0x0C, {n, 128}, b);
        }
        QCOMPARE(sent(), expected);
        QCOMPARE(int(vmouse::state().profileBlock[1][100]), 0x07);

        // Another sensor leaves the ninth-bit bytes as they are.
        vmouse::clearTranscript();
        rig.view->mouseSetDpi(1, "3050", {300});
        const auto sentNow = sent();
        QCOMPARE(sentNow.size(), (gun ? 4 : 1) * 5);
        QCOMPARE(int(vmouse::state().profileBlock[1][82]), 0x0A);
        QCOMPARE(int(vmouse::state().profileBlock[1][84]), 2);
        QCOMPARE(int(vmouse::state().profileBlock[1][85]), 1);
    }

    void effectFullColour553()
    {
        Rig rig({553, true, false, true});
        rig.view->mouseSetRGBEffect(8, 1, 1);
        rig.view->mouseSetRGBEffect(0, 3, 0);
        rig.view->mouseSetRGBEffect(12, 1, 1);
        QCOMPARE(sent(),
                 setCommand(0x0D, {8, 64, 17}) + setCommand(0x0D, {1, 0, 0}) + setCommand(0x0D, {0, 0, 0}));
    }

    void effectSingleColour553_data()
    {
        QTest::addColumn<bool>("is55328");
        QTest::addColumn<int>("third");
        QTest::newRow("plain") << false << 2;
        QTest::newRow("55328") << true << 3;
    }

    void effectSingleColour553()
    {
        QFETCH(bool, is55328);
        QFETCH(int, third);
        Rig rig({553, false, false, is55328});
        rig.view->mouseSetRGBEffect(4, 2, 9);
        rig.view->mouseSetRGBEffect(2, 1, 0);
        QCOMPARE(sent(), setCommand(0x0D, {2, 3, third}) + setCommand(0x0D, {3, 24, is55328 ? 1 : 2}));
    }

    void effect560_data()
    {
        QTest::addColumn<bool>("colorful");
        QTest::addColumn<bool>("gun");
        QTest::newRow("full colour") << true << false;
        QTest::newRow("full colour gun") << true << true;
        QTest::newRow("single colour") << false << false;
        QTest::newRow("single colour gun") << false << true;
    }

    void effect560()
    {
        QFETCH(bool, colorful);
        QFETCH(bool, gun);
        Rig rig({560, colorful, gun, false});
        loadPatternBlocks(rig);
        // Full colour: effect 9 → 9, brightness 2 → 128, speed 3 → 7. Single colour: 0 → 1, level 3 → 7.
        rig.view->mouseSetRGBEffect(colorful ? 9 : 0, 3, colorful ? 2 : 3);
        const std::vector<quint8> eps =
            colorful ? std::vector<quint8>{9, 128, 7} : std::vector<quint8>{1, 7, 2};
        QStringList expected;
        for (int n = 1; n <= (gun ? 4 : 1); ++n) {
            auto b = patternBlock(n);
            std::copy(eps.begin(), eps.end(), b.begin() + 71);
            if (!colorful && !gun)
                b[73] = 3;
            expected += setCommand(0x0C, {n, 128}, b);
        }
        QCOMPARE(sent(), expected);
        // Blocks that were not written still hold the effect in the program's copy.
        if (!gun)
            QCOMPARE(image(rig).at(2, 71), eps[0]);
    }

    void colours553_data()
    {
        QTest::addColumn<bool>("is55328");
        QTest::addColumn<bool>("eighth");
        QTest::newRow("once") << false << true;
        QTest::newRow("55328 eight colours") << true << true;
        QTest::newRow("55328 fixed colour") << true << false;
    }

    void colours553()
    {
        QFETCH(bool, is55328);
        QFETCH(bool, eighth);
        Rig rig({553, true, false, is55328});
        QVariantList src;
        std::vector<quint8> bytes;
        for (int i = 0; i < 24; ++i) {
            const int v = (i >= 21 && !eighth) ? 0 : 10 + i;
            src << v;
            bytes.push_back(quint8(v));
        }
        rig.view->mouseSetRGBColor(1, src);
        QStringList expected;
        if (!is55328)
            expected = setCommand(0x10, {1, 24}, bytes);
        else if (eighth)
            expected = setCommand(0x10, {0, 24}, bytes);
        else
            expected = setCommand(0x0C, {10, 11, 12});
        QCOMPARE(sent(), expected);
    }

    void colourTypeTwoSendsFourBytes()
    {
        Rig rig({553, true, false, false});
        rig.view->mouseSetRGBColor(2, {1, 2, 3, 4, 5, 6});
        const QStringList once = setCommand(0x10, {2, 4}, {1, 2, 3, 4});
        QCOMPARE(sent(), once);
    }

    void colours560_data()
    {
        QTest::addColumn<bool>("colorful");
        QTest::newRow("full colour") << true;
        QTest::newRow("single colour") << false;
    }

    void colours560()
    {
        QFETCH(bool, colorful);
        Rig rig({560, colorful, true, false});
        loadPatternBlocks(rig);
        QVariantList src;
        for (int i = 0; i < 24; ++i)
            src << 200 + i;
        src << 99 << 98; // past the 24 colour bytes: not used
        rig.view->mouseSetRGBColor(0, src);
        const int block = colorful ? 0 : 1;
        auto b = patternBlock(block);
        for (int i = 0; i < 24; ++i)
            b[(colorful ? 24 : 104) + i] = quint8(200 + i);
        QCOMPARE(sent(), setCommand(0x0C, {block, 128}, b));
    }

    void keyMatrixWithoutGun_data()
    {
        QTest::addColumn<int>("family");
        QTest::newRow("553") << 553;
        QTest::newRow("560") << 560;
    }

    void keyMatrixWithoutGun()
    {
        QFETCH(int, family);
        Rig rig({family, true, true, false});
        // Macro slot 5, double click, a combination sent as media, sniper.
        const QVariantList src = pageDefinitions(
            {{1, {4, 1, 5, 0}}, {2, {0, 0, 0x1E, 2}}, {3, {2, 0, 0x21, 2}}, {4, {5, 0, 4, 0}}});
        rig.view->mouseSetKeyMatrix(src, false, {1, 2, 3});
        QVERIFY(sent().isEmpty());
        QCOMPARE(rig.view->mouseGetKeydefine(1, false), (QVariantList{"4", "1", "5", "0"}));

        rig.view->mouseSetKeyMatrix(src, true, {1, 2, 3});
        auto main = leftButtons();
        setEntry(main, 1, {9, 1, 6, 0});
        setEntry(main, 2, {10, 0, 0x1E, 2});
        setEntry(main, 3, {3, 0, 0x21, 2});
        if (family == 560) {
            setEntry(main, 4, {11, 0, 1, 1});
            QCOMPARE(sent(), setCommand(0x0D, {1, 128}, concat(main, std::vector<quint8>(64, 0))));
        } else {
            setEntry(main, 4, {7, 0, 4, 1});
            QCOMPARE(sent(), setCommand(0x12, {1, 64, 8}, main));
        }
        QCOMPARE(int(vmouse::state().keyMatrix[0][4]), 9);
    }

    void keyMatrixWithGun553()
    {
        Rig rig({553, true, true, false});
        storeTemplate(rig.install, 0);
        rig.view->mouseSetKeyMatrix(pageDefinitions({{3, {8, 0, 2, 0}}}), true, {9, 0x10C, 11});
        auto main = leftButtons();
        setEntry(main, 3, {8, 0, 1, 1});
        auto m2 = templateMatrix(), m3 = templateMatrix(), m4 = templateMatrix();
        setEntry(m2, 3, {8, 0, 1, 2});
        setEntry(m3, 3, {8, 0, 1, 0});
        setEntry(m4, 3, {8, 0, 1, 0});
        setEntry(m2, 0, {0x0B, 0, 9, 0});
        setEntry(m3, 0, {0x0B, 1, 0xFF, 0}); // the longest period, not 0x10C cut to a byte
        setEntry(m4, 0, {0x0B, 2, 11, 0});
        QCOMPARE(sent(), setCommand(0x12, {1, 64, 8}, main) + setCommand(0x12, {2, 64, 8}, m2) +
                             setCommand(0x12, {3, 64, 8}, m3) + setCommand(0x12, {4, 64, 8}, m4) +
                             setCommand(0x02, {1}));
    }

    void keyMatrixWithGun560()
    {
        Rig rig({560, true, true, false});
        storeTemplate(rig.install, 2);
        rig.view->setCurrentProfile(2);
        loadPatternBlocks(rig);
        rig.view->mouseSetKeyMatrix(pageDefinitions({{5, {8, 0, 3, 0}}}), true, {20, 21});
        auto main = leftButtons();
        setEntry(main, 5, {8, 0, 1, 0});
        auto m2 = templateMatrix(), m3 = templateMatrix(), m4 = templateMatrix();
        setEntry(m2, 5, {8, 0, 3, 0x55});
        setEntry(m3, 5, {8, 0, 3, 0x55});
        setEntry(m4, 5, {8, 0, 0, 0x55});
        setEntry(m2, 0, {0x0B, 0, 20, 0});
        setEntry(m3, 0, {0x0B, 1, 21, 0});
        setEntry(m4, 0, {0x0B, 2, 0, 0});
        auto block0 = patternBlock(0);
        block0[2] = 0x1F;
        const std::vector<quint8> pad(64, 0);
        QCOMPARE(sent(), setCommand(0x0C, {0, 128}, block0) + setCommand(0x0D, {1, 128}, concat(main, pad)) +
                             setCommand(0x0D, {2, 128}, concat(m2, pad)) +
                             setCommand(0x0D, {3, 128}, concat(m3, pad)) +
                             setCommand(0x0D, {4, 128}, concat(m4, pad)) + QStringList{frame(0x02, {1})});
        QCOMPARE(int(vmouse::state().currentProfile), 1);

        // The first matrix chosen again in the same burst of work sends nothing; once the event loop has
        // gone idle, the choice goes out again.
        vmouse::clearTranscript();
        rig.view->mouseSwitchKeyMatrix(1);
        QCOMPARE(sent(), QStringList());
        QEventLoop idle;
        QTimer::singleShot(20, &idle, &QEventLoop::quit);
        idle.exec();
        rig.view->mouseSwitchKeyMatrix(1);
        QCOMPARE(sent(), QStringList{frame(0x02, {1})});
    }

    void resetAndSwitchKeyMatrix_data()
    {
        QTest::addColumn<int>("family");
        QTest::newRow("553") << 553;
        QTest::newRow("560") << 560;
    }

    void resetAndSwitchKeyMatrix()
    {
        QFETCH(int, family);
        Rig rig({family, true, true, false});
        storeTemplate(rig.install, 0);
        // A template entry with fewer than four items reads the rest as 0.
        rig.install.setProfileValue(0, "mouseFwKeyMatrix/15", QVariantList{7, 7});
        auto t = templateMatrix();
        setEntry(t, 15, {7, 7, 0, 0});
        rig.view->mouseSwitchKeyMatrix(2);
        rig.view->mouseResetKeyMatrix();
        QStringList expected;
        if (family == 553) {
            expected = setCommand(0x02, {1});
            for (int m = 2; m <= 4; ++m)
                expected += setCommand(0x12, {m, 64, 8}, t);
        } else {
            expected = QStringList{frame(0x02, {2})};
            for (int m = 2; m <= 4; ++m)
                expected += setCommand(0x0D, {m, 128}, concat(t, std::vector<quint8>(64, 0)));
        }
        QCOMPARE(sent(), expected);
    }

    void macroSending_data()
    {
        QTest::addColumn<int>("family");
        QTest::newRow("553") << 553;
        QTest::newRow("560") << 560;
    }

    void macroSending()
    {
        QFETCH(int, family);
        const int code = family == 560 ? 0x0F : 0x13;
        Rig rig({family, true, false, false});
        QVariantList longList;
        std::vector<quint8> cut;
        for (int i = 0; i < 140; ++i) {
            longList << 256 + i;
            if (i < 128)
                cut.push_back(quint8(i));
        }
        QCOMPARE(rig.view->mouseSendMacroData(longList, 0), QVariant(true));
        QCOMPARE(sent(), setCommand(code, {1, 128}, cut));

        vmouse::clearTranscript();
        std::vector<quint8> padded(128, 0);
        padded[0] = 0;
        padded[1] = 1;
        padded[2] = 5;
        padded[3] = 4;
        QCOMPARE(rig.view->mouseSendMacroData({0, 1, 5, 4}, "11"), QVariant(true));
        QCOMPARE(sent(), setCommand(code, {12, 128}, padded));
        QCOMPARE(int(vmouse::state().macro[11][2]), 5);

        // Slots past 11 are not sent, whatever their low byte.
        vmouse::clearTranscript();
        QCOMPARE(rig.view->mouseSendMacroData({1, 2}, 12), QVariant(true));
        QCOMPARE(rig.view->mouseSendMacroData({1, 2}, 256), QVariant(true));
        QCOMPARE(rig.view->mouseSendMacroData({1, 2}, -1), QVariant(true));
        QCOMPARE(rig.view->mouseSendMacroData({1, 2}, qlonglong(1) << 32), QVariant(true));
        QCOMPARE(rig.view->mouseSendMacroData({1, 2}, 0.5), QVariant(true));
        QVERIFY(sent().isEmpty());
    }

    void gunData553_data()
    {
        QTest::addColumn<int>("option3");
        QTest::addColumn<int>("y");
        QTest::newRow("as given") << 0 << 10;
        QTest::newRow("negated") << 1 << 0xF6;
    }

    void gunData553()
    {
        QFETCH(int, option3);
        QFETCH(int, y);
        Rig rig({553, true, true, false});
        rig.view->mouseSetKeyboardoption(0, 0, quint8(option3), 0x40);
        vmouse::clearTranscript();
        rig.view->mouseSendGundata(2, {0, 0, 10});
        QCOMPARE(sent(), QStringList{frame(0x83)} + setCommand(0x04, {0, 0, 0, y, 1}));
        QCOMPARE(int(vmouse::state().gunData[1][2]), y);
    }

    void gunData560()
    {
        Rig rig({560, true, true, false});
        loadPatternBlocks(rig);
        rig.view->mouseSendGundata(2, {0, 0, 10});
        auto b = patternBlock(3);
        b[78] = 0xF0;
        b[79] = 0;
        b[80] = 0;
        b[81] = 10;
        b[65] &= quint8(~0x04);
        QCOMPARE(sent(), setCommand(0x0C, {3, 128}, b));
        // Only guns 1 … 3 have a block.
        vmouse::clearTranscript();
        rig.view->mouseSendGundata(0, {1, 2, 3});
        rig.view->mouseSendGundata(4, {1, 2, 3});
        QVERIFY(sent().isEmpty());
        QCOMPARE(image(rig).at(1, 78), patternBlock(1)[78]);
    }

    void gunDataWithoutGunFunctions_data()
    {
        QTest::addColumn<int>("family");
        QTest::newRow("553") << 553;
        QTest::newRow("560") << 560;
    }

    void gunDataWithoutGunFunctions()
    {
        QFETCH(int, family);
        Rig rig({family, true, false, false});
        rig.view->mouseSendGundata(1, {1, 2, 3});
        QVERIFY(wire().isEmpty());
    }

    void profileBlocks()
    {
        Rig rig({560, true, true, false});
        vmouse::FirmwareState s = vmouse::state();
        const auto p = patternBlock(2);
        std::copy(p.begin(), p.end(), s.profileBlock[2].begin());
        vmouse::setState(s);
        rig.view->mouseReadProfile(2);
        QCOMPARE(sent(), QStringList{frame(0x8C, {2})});
        for (int i = 0; i < 128; ++i)
            QCOMPARE(image(rig).at(2, i), p[i]);

        vmouse::clearTranscript();
        rig.view->mouseSetProfile(2);
        QCOMPARE(sent(), setCommand(0x0C, {2, 128}, p));

        // A block that was never read goes back as zeros; numbers past block 4 do nothing.
        vmouse::clearTranscript();
        rig.view->mouseSetProfile(4);
        QCOMPARE(sent(), setCommand(0x0C, {4, 128}, std::vector<quint8>(128, 0)));
        vmouse::clearTranscript();
        rig.view->mouseSetProfile(5);
        rig.view->mouseReadProfile(7);
        rig.view->mouseReadProfile(0xFFFFFFFFu);
        QVERIFY(wire().isEmpty());
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QUICK_BACKEND", "software");
    QApplication app(argc, argv);
    TestViewDevice test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_view_device.moc"
