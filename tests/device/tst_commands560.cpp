// The 560 command set byte for byte through the virtual mouse's transcript: single and repeated
// reports, profile blocks, presets and failure messages.
#include "CommandCase.h"
#include "TestFamily.h"

using namespace devtest;

class TestCommands560 : public QObject
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

void TestCommands560::setCommands_data()
{
    QTest::addColumn<SetCase>("command");
    QTest::addColumn<int>("reportLength");

    static std::vector<uchar> src(128);
    for (int i = 0; i < 128; ++i)
        src[std::size_t(i)] = uchar(0x80 + i);
    std::vector<std::uint8_t> matrix(src.begin(), src.begin() + 64);
    matrix.resize(128, 0); // padded: the second half always zero

    const std::vector<std::pair<const char *, SetCase>> cases = {
        {"01H keyboard option",
         {[](Hid_Thread &h) { h.hid560_01H_SetKeyboardoption(0x09, 0x21); },
          0x01,
          {0x09, 0x21},
          {},
          false,
          8,
          "cmd Failed 01",
          [](const vmouse::FirmwareState &s) {
              return s.keyboardOption[0] == 0x09 && s.keyboardOption[1] == 0x21;
          }}},
        {"02H current profile",
         {[](Hid_Thread &h) { h.hid560_02H_SetCurrentProfile(3); },
          0x02,
          {3},
          {},
          false,
          8,
          "cmd Failed 02",
          [](const vmouse::FirmwareState &s) { return s.currentProfile == 3; }}},
        {"0CH profile block",
         {[](Hid_Thread &h) { h.hid560_0CH_setProfile(src.data(), 4); },
          0x0C,
          {4, 128},
          std::vector<std::uint8_t>(src.begin(), src.end()),
          true,
          0,
          "cmd Failed 0C",
          [](const vmouse::FirmwareState &s) {
              return s.profileBlock[4][0] == 0x80 && s.profileBlock[4][127] == 0xFF;
          }}},
        {"0DH key matrix",
         {[](Hid_Thread &h) { h.hid560_0DH_SetKeyMatrix(src.data(), 2); },
          0x0D,
          {2, 128},
          matrix,
          true,
          0,
          "cmd Failed 0D",
          [](const vmouse::FirmwareState &s) {
              return s.keyMatrix[1][63] == 0xBF && s.keyMatrix[1][64] == 0;
          }}},
        {"0FH macro",
         {[](Hid_Thread &h) { h.hid560_0FH_SetMacroKey(12, src.data()); },
          0x0F,
          {12, 128},
          std::vector<std::uint8_t>(src.begin(), src.end()),
          true,
          0,
          "cmd Failed 0F",
          [](const vmouse::FirmwareState &s) { return s.macro[11][5] == 0x85; }}},
    };
    for (int reportLength : {32, 64})
        for (const auto &c : cases)
            QTest::addRow("%s, reports of %d", c.first, reportLength) << c.second << reportLength;
}

void TestCommands560::setCommands()
{
    QFETCH(SetCase, command);
    QFETCH(int, reportLength);
    verifySetCase(command, {560, reportLength}, *log);
}

void TestCommands560::getCommands_data()
{
    QTest::addColumn<GetCase>("command");
    QTest::newRow("81H keyboard option") << GetCase{[](Hid_Thread &h, QList<int> in) {
                                                        uchar a = uchar(in[0]), b = uchar(in[1]);
                                                        h.hid560_81H_GetKeyboardoption(a, b);
                                                        return QList<int>{a, b};
                                                    },
                                                    0x81,
                                                    {},
                                                    {7, 8},
                                                    {0x41, 0x42},
                                                    "cmd Failed 81"};
    QTest::newRow("82H current profile") << GetCase{[](Hid_Thread &h, QList<int> in) {
                                                        uchar a = uchar(in[0]);
                                                        h.hid560_82H_GetCurrentProfile(a);
                                                        return QList<int>{a};
                                                    },
                                                    0x82,
                                                    {},
                                                    {9},
                                                    {4},
                                                    "cmd Failed 82"};
    // The first argument goes out in request byte 2; the answer's byte 3 is the stage.
    QTest::newRow("84H current DPI") << GetCase{[](Hid_Thread &h, QList<int> in) {
                                                    uchar a = uchar(in[0]), b = uchar(in[1]);
                                                    h.hid560_84H_GetCurrentDPI(a, b);
                                                    return QList<int>{a, b};
                                                },
                                                0x84,
                                                {1},
                                                {1, 0x77},
                                                {1, 6},
                                                "cmd Failed 84"};
}

void TestCommands560::getCommands()
{
    QFETCH(GetCase, command);
    verifyGetCase(
        command, {560},
        [](vmouse::FirmwareState &s) {
            s.keyboardOption[0] = 0x41;
            s.keyboardOption[1] = 0x42;
            s.currentProfile = 4;
            s.dpiStageByK = {6, 2, 2, 2};
        },
        *log);
}

void TestCommands560::repeatedReports_data()
{
    QTest::addColumn<bool>("dpi");
    QTest::addColumn<bool>("gun");
    QTest::newRow("04H, no gun: four reports") << true << false;
    QTest::newRow("04H, gun: one report") << true << true;
    QTest::newRow("03H, no gun: four reports") << false << false;
    QTest::newRow("03H, gun: one report") << false << true;
}

void TestCommands560::repeatedReports()
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
        QVERIFY(hid.hidFree);
    }
    {
        Hid_Thread hid;
        owner.choose(hid);
        aimAt(hid, configureMouse({560}));
        hid.hidFree = false;
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

void TestCommands560::readProfile_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::newRow("reports of 32: four reads") << 32;
    QTest::newRow("reports of 64: two reads") << 64;
}

void TestCommands560::readProfile()
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

void TestCommands560::readProfileFailures()
{
    uchar block[128];
    std::fill(std::begin(block), std::end(block), 0x5A);
    {
        Hid_Thread hid;
        aimAt(hid, configureMouse({560}));
        hid.hidFree = false;
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
        QVERIFY(hid.hidFree);
        for (int i = 0; i < 32; ++i) {
            QCOMPARE(int(block[i]), i);
            QCOMPARE(int(block[32 + i]), 64 + i);
        }
        QVERIFY(std::all_of(block + 64, std::end(block), [](uchar b) { return b == 0x5A; }));
    }
}

QTEST_GUILESS_MAIN(TestCommands560)
#include "tst_commands560.moc"
