// Both command sets byte for byte through the virtual mouse's transcript: one table of cases, the family
// a column, with their pauses, presets and failure messages; then the 560's repeated reports and
// profile-block reads.
#include "CommandCase.h"
#include "TestFamily.h"

using namespace devtest;

class TestCommands : public QObject
{
    Q_OBJECT
private slots:
    void init() { log = new MessageLog; }
    void cleanup() { delete log; }
    void setCommands_data();
    void setCommands();
    void getCommands_data();
    void getCommands();
    void repeatedReports_data();
    void repeatedReports();
    void readProfile_data();
    void readProfile();
    void readProfileFailures();

private:
    MessageLog *log = nullptr;
};

namespace {

using State = vmouse::FirmwareState;

// 0x80, 0x81, ... : the caller's bulk data, so that every byte is told apart from its neighbours.
std::vector<uchar> &source()
{
    static std::vector<uchar> src = [] {
        std::vector<uchar> v(128);
        for (int i = 0; i < 128; ++i)
            v[std::size_t(i)] = uchar(0x80 + i);
        return v;
    }();
    return src;
}

std::vector<std::uint8_t> first(int n, int paddedTo = 0)
{
    std::vector<std::uint8_t> v(source().begin(), source().begin() + n);
    v.resize(std::size_t(std::max(n, paddedTo)), 0);
    return v;
}

} // namespace

void TestCommands::setCommands_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<SetCase>("command");
    QTest::addColumn<int>("reportLength");

    uchar *src = source().data();
    const auto add = [](int family, const char *name, Command run, std::uint8_t code,
                        std::vector<std::uint8_t> params, std::vector<std::uint8_t> data, bool settle,
                        int thenMs, const char *failure, std::function<bool(const State &)> effect) {
        const SetCase c{run, code, params, data, settle, thenMs, failure, effect};
        for (int reportLength : {32, 64})
            QTest::addRow("%d %s, reports of %d", family, name, reportLength) << family << c << reportLength;
    };
    // family, name, command, code, request bytes 2..., bulk data, settle, then-pause, failure, effect
    add(
        553, "01H report rate", [](Hid_Thread &h) { h.hid553_01H_SetReportRate(5); }, 0x01, {5}, {}, true, 0,
        "cmd Failed 01", [](const State &s) { return s.reportRate == 5; });
    add(
        553, "02H current key matrix", [](Hid_Thread &h) { h.hid553_02H_SetCurrentKeyMatrix(3); }, 0x02, {3},
        {}, true, 0, "cmd Failed 02", [](const State &s) { return s.currentKeyMatrix == 3; });
    add(
        553, "03H keyboard option",
        [](Hid_Thread &h) { h.hid553_03H_SetKeyboardoption(0x12, 0x34, 0x56, 0x78); }, 0x03,
        {0x12, 0x34, 0x56, 0x78}, {}, false, 8, "cmd Failed 03",
        [](const State &s) {
            return s.keyboardOption == std::array<std::uint8_t, 4>{0x12, 0x34, 0x56, 0x78};
        });
    add(
        553, "04H gun data", [](Hid_Thread &h) { h.hid553_04H_SetGunData(1, 2, 3, 2); }, 0x04,
        {0, 1, 2, 3, 2}, {}, false, 8, "cmd Failed 04",
        [](const State &s) {
            return s.gunData[2] == std::array<std::uint8_t, 3>{1, 2, 3};
        });
    add(
        553, "0BH current DPI", [](Hid_Thread &h) { h.hid553_0BH_SetCurrentDPI(6); }, 0x0B, {6}, {}, true, 0,
        "cmd Failed 0B", [](const State &s) { return s.currentDpiStage == 6; });
    add(
        553, "0CH fixed LED colour", [src](Hid_Thread &h) { h.hid553_0CH_SetFixLEDColor(src); }, 0x0C,
        {0x80, 0x81, 0x82}, {}, true, 0, "cmd Failed 0C",
        [](const State &s) {
            return s.fixLedColor == std::array<std::uint8_t, 3>{0x80, 0x81, 0x82};
        });
    add(
        553, "0DH RGB effect", [](Hid_Thread &h) { h.hid553_0DH_SetRGBLedEffect(4, 9, 11); }, 0x0D,
        {4, 9, 11}, {}, true, 0, "cmd Failed 0D",
        [](const State &s) { return s.ledEffect == 4 && s.ledOption1 == 9 && s.ledOption2 == 11; });
    add(
        553, "10H stage colours, type 2", [src](Hid_Thread &h) { h.hid553_10H_SetLED8StageColor(2, src); },
        0x10, {2, 4}, first(4), true, 0, "cmd Failed 10",
        [](const State &s) { return s.ledColorLength == 4; });
    add(
        553, "10H stage colours, type 1", [src](Hid_Thread &h) { h.hid553_10H_SetLED8StageColor(1, src); },
        0x10, {1, 24}, first(24), true, 0, "cmd Failed 10",
        [](const State &s) { return s.ledColorLength == 24 && s.ledColors[23] == 0x97; });
    add(
        553, "11H DPI set", [src](Hid_Thread &h) { h.hid553_11H_SetDPISet(5, src); }, 0x11, {5, 8}, first(8),
        true, 0, "cmd Failed 11",
        [](const State &s) { return s.dpiStageCount == 5 && s.dpiCodes[7] == 0x87; });
    add(
        553, "12H key matrix", [src](Hid_Thread &h) { h.hid553_12H_SetKeyMatrix(src, 2); }, 0x12, {2, 64, 8},
        first(64), true, 0, "cmd Failed 12", [](const State &s) { return s.keyMatrix[1][63] == 0xBF; });
    add(
        553, "13H macro", [src](Hid_Thread &h) { h.hid553_13H_SetMacroKey(7, src); }, 0x13, {7, 128},
        first(128), true, 0, "cmd Failed 13", [](const State &s) { return s.macro[6][127] == 0xFF; });
    add(
        560, "01H keyboard option", [](Hid_Thread &h) { h.hid560_01H_SetKeyboardoption(0x09, 0x21); }, 0x01,
        {0x09, 0x21}, {}, false, 8, "cmd Failed 01",
        [](const State &s) { return s.keyboardOption[0] == 0x09 && s.keyboardOption[1] == 0x21; });
    add(
        560, "02H current profile", [](Hid_Thread &h) { h.hid560_02H_SetCurrentProfile(3); }, 0x02, {3}, {},
        false, 8, "cmd Failed 02", [](const State &s) { return s.currentProfile == 3; });
    add(
        560, "0CH profile block", [src](Hid_Thread &h) { h.hid560_0CH_setProfile(src, 4); }, 0x0C, {4, 128},
        first(128), true, 0, "cmd Failed 0C",
        [](const State &s) { return s.profileBlock[4][0] == 0x80 && s.profileBlock[4][127] == 0xFF; });
    // 64 bytes of matrix padded to 128: the second half always zero.
    add(
        560, "0DH key matrix", [src](Hid_Thread &h) { h.hid560_0DH_SetKeyMatrix(src, 2); }, 0x0D, {2, 128},
        first(64, 128), true, 0, "cmd Failed 0D",
        [](const State &s) { return s.keyMatrix[1][63] == 0xBF && s.keyMatrix[1][64] == 0; });
    add(
        560, "0FH macro", [src](Hid_Thread &h) { h.hid560_0FH_SetMacroKey(12, src); }, 0x0F, {12, 128},
        first(128), true, 0, "cmd Failed 0F", [](const State &s) { return s.macro[11][5] == 0x85; });
}

void TestCommands::setCommands()
{
    QFETCH(int, family);
    QFETCH(SetCase, command);
    QFETCH(int, reportLength);
    verifySetCase(command, {family, reportLength}, *log);
}

void TestCommands::getCommands_data()
{
    QTest::addColumn<int>("family");
    QTest::addColumn<GetCase>("command");
    // The firmware answers from the state getCommands prepares.
    QTest::newRow("553 83H keyboard option")
        << 553
        << GetCase{[](Hid_Thread &h, uchar *o) { h.hid553_83H_GetKeyboardoption(o[0], o[1], o[2], o[3]); },
                   0x83,
                   {},
                   {1, 2, 3, 4},
                   {0x12, 0x34, 0x56, 0x78},
                   "cmd Failed 83"};
    QTest::newRow("553 8BH current DPI") << 553 << GetCase{[](Hid_Thread &h, uchar *o) { h.hid553_8BH_GetCurrentDPI(o[0]); },
                                                           0x8B,
                                                           {},
                                                           {9},
                                                           {5},
                                                           "cmd Failed 8BH"};
    QTest::newRow("560 81H keyboard option")
        << 560
        << GetCase{[](Hid_Thread &h, uchar *o) { h.hid560_81H_GetKeyboardoption(o[0], o[1]); },
                   0x81,
                   {},
                   {7, 8},
                   {0x41, 0x42},
                   "cmd Failed 81"};
    QTest::newRow("560 82H current profile") << 560 << GetCase{[](Hid_Thread &h, uchar *o) { h.hid560_82H_GetCurrentProfile(o[0]); },
                                                               0x82,
                                                               {},
                                                               {9},
                                                               {4},
                                                               "cmd Failed 82"};
    // The first argument goes out in request byte 2; the answer's byte 3 is the stage.
    QTest::newRow("560 84H current DPI")
        << 560
        << GetCase{[](Hid_Thread &h, uchar *o) { h.hid560_84H_GetCurrentDPI(o[0], o[1]); },
                   0x84,
                   {1},
                   {1, 0x77},
                   {1, 6},
                   "cmd Failed 84"};
}

void TestCommands::getCommands()
{
    QFETCH(int, family);
    QFETCH(GetCase, command);
    verifyGetCase(
        command, {family},
        [family](State &s) {
            if (family == 553) {
                s.keyboardOption = {0x12, 0x34, 0x56, 0x78};
                s.currentDpiStage = 5;
            } else {
                s.keyboardOption[0] = 0x41;
                s.keyboardOption[1] = 0x42;
                s.currentProfile = 4;
                s.dpiStageByK = {6, 2, 2, 2};
            }
        },
        *log);
}
void TestCommands::repeatedReports_data()
{
    QTest::addColumn<bool>("dpi");
    QTest::addColumn<bool>("gun");
    QTest::newRow("04H, no gun: four reports") << true << false;
    QTest::newRow("04H, gun: one report") << true << true;
    QTest::newRow("03H, no gun: four reports") << false << false;
    QTest::newRow("03H, gun: one report") << false << true;
}

void TestCommands::repeatedReports()
{
    QFETCH(bool, dpi);
    QFETCH(bool, gun);
    TestFamily owner("560", gun);
    const uchar code = dpi ? 0x04 : 0x03;
    const auto run = [&](Hid_Thread &h) {
        dpi ? h.hid560_04H_SetCurrentDPI(3) : h.hid560_03H_SetReportRate(3);
    };
    {
        Hid_Thread hid;
        owner.choose(hid);
        aimAt(hid, configureMouse({560}));
        const std::int64_t t0 = kc::nowMs();
        run(hid);
        const int reports = gun ? 1 : 4;
        QStringList expected;
        for (int k = 1; k <= reports; ++k) {
            expected << QStringLiteral("%1 hid_send_feature_report %2 9")
                            .arg(128 * (k - 1))
                            .arg(frameHex(code, {uchar(k), 3}).c_str());
        }
        QCOMPARE(exchanges(t0), expected);
        QCOMPARE(kc::nowMs() - t0, 128 * reports); // each report followed by the settle pause
        QCOMPARE(log->messages(), QStringList());
        QCOMPARE(handleDiscipline(), QString());
        QVERIFY(hid.hidFree());
    }
    {
        Hid_Thread hid;
        owner.choose(hid);
        aimAt(hid, configureMouse({560}));
        QVERIFY(hid.waitHidFree());
        log->clear();
        run(hid);
        QCOMPARE(log->messages(), QStringList{dpi ? "cmd Failed 04" : "cmd Failed 03"});
        QVERIFY(vmouse::transcript(vmouse::Interface::Any).empty());
    }
    {
        // A failing report does not stop the ones after it.
        Hid_Thread hid;
        owner.choose(hid);
        aimAt(hid, configureMouse({560}));
        vmouse::failNext("hid_send_feature_report");
        run(hid);
        const QStringList ex = exchanges(0);
        QCOMPARE(ex.size(), gun ? 1 : 4);
        QVERIFY(ex.at(0).endsWith(" -1"));
        if (!gun)
            QVERIFY(ex.at(3).endsWith(" 9"));
    }
}

void TestCommands::readProfile_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::newRow("reports of 32: four reads") << 32;
    QTest::newRow("reports of 64: two reads") << 64;
}

void TestCommands::readProfile()
{
    QFETCH(int, reportLength);
    Hid_Thread hid;
    aimAt(hid, configureMouse({560, reportLength}));
    vmouse::FirmwareState s = vmouse::state();
    for (int i = 0; i < 128; ++i)
        s.profileBlock[3][std::size_t(i)] = std::uint8_t(i * 3);
    vmouse::setState(s);
    vmouse::clearTranscript();
    uchar block[128] = {};
    const std::int64_t t0 = kc::nowMs();
    hid.hid560_8CH_readProfile(block, 3);
    for (int i = 0; i < 128; ++i)
        QCOMPARE(int(block[i]), (i * 3) & 0xFF);
    const QStringList ex = exchanges(t0);
    const int reads = 128 / reportLength;
    QCOMPARE(ex.size(), 2 + reads);
    QCOMPARE(ex.at(0), QStringLiteral("0 hid_send_feature_report %1 9").arg(frameHex(0x8C, {3}).c_str()));
    for (int r = 0; r < reads; ++r) {
        const QStringList parts = ex.at(2 + r).split(' ');
        QCOMPARE(parts.at(1), QStringLiteral("hid_read_timeout"));
        QCOMPARE(parts.at(3), QString::number(reportLength + 1));
    }
    QCOMPARE(kc::nowMs() - t0, 0);
    QCOMPARE(handleDiscipline(), QString());
    QVERIFY(log->messages().isEmpty());
}

void TestCommands::readProfileFailures()
{
    uchar block[128];
    std::fill(std::begin(block), std::end(block), 0x5A);
    {
        Hid_Thread hid;
        aimAt(hid, configureMouse({560}));
        QVERIFY(hid.waitHidFree());
        hid.hid560_8CH_readProfile(block, 0);
        QCOMPARE(log->messages(), QStringList{"cmd Failed 8c"});
    }
    {
        Hid_Thread hid;
        DeviceEntry entry = configureMouse({560});
        entry.path.clear();
        aimAt(hid, entry);
        hid.hid560_8CH_readProfile(block, 0);
    }
    QVERIFY(std::all_of(std::begin(block), std::end(block), [](uchar b) { return b == 0x5A; }));

    // The data stops after two chunks (a mouse sending two 64-byte reports to a row that reads four of
    // 32): the chunks that came are kept, the rest of the caller's bytes stay as they were.
    {
        Hid_Thread hid;
        DeviceEntry entry = configureMouse({560, 64});
        entry.reportLength = 32;
        aimAt(hid, entry);
        vmouse::FirmwareState s = vmouse::state();
        for (int i = 0; i < 128; ++i)
            s.profileBlock[1][std::size_t(i)] = std::uint8_t(i);
        vmouse::setState(s);
        hid.hid560_8CH_readProfile(block, 1);
        QVERIFY(hid.hidFree());
        for (int i = 0; i < 32; ++i) {
            QCOMPARE(int(block[i]), i);
            QCOMPARE(int(block[32 + i]), 64 + i);
        }
        QVERIFY(std::all_of(block + 64, std::end(block), [](uchar b) { return b == 0x5A; }));
    }
}

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
