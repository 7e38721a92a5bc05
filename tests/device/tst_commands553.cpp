// The 553 command set byte for byte through the virtual mouse's transcript, with its pauses, presets
// and failure messages.
#include "CommandCase.h"

using namespace devtest;

class TestCommands553 : public QObject
{
    Q_OBJECT
private slots:
    void init() { log = new MessageLog; }
    void cleanup() { delete log; }
    void setCommands_data();
    void setCommands();
    void getCommands_data();
    void getCommands();

private:
    MessageLog *log = nullptr;
};

void TestCommands553::setCommands_data()
{
    QTest::addColumn<SetCase>("command");
    QTest::addColumn<int>("reportLength");

    static std::vector<uchar> src(128);
    for (int i = 0; i < 128; ++i)
        src[std::size_t(i)] = uchar(0x80 + i);
    const auto first = [](int n) { return std::vector<std::uint8_t>(src.begin(), src.begin() + n); };

    const std::vector<std::pair<const char *, SetCase>> cases = {
        {"01H report rate",
         {[](Hid_Thread &h) { h.hid553_01H_SetReportRate(5); },
          0x01,
          {5},
          {},
          true,
          0,
          "cmd Failed 01",
          [](const vmouse::FirmwareState &s) { return s.reportRate == 5; }}},
        {"02H current key matrix",
         {[](Hid_Thread &h) { h.hid553_02H_SetCurrentKeyMatrix(3); },
          0x02,
          {3},
          {},
          true,
          0,
          "cmd Failed 02",
          [](const vmouse::FirmwareState &s) { return s.currentKeyMatrix == 3; }}},
        {"03H keyboard option",
         {[](Hid_Thread &h) { h.hid553_03H_SetKeyboardoption(0x12, 0x34, 0x56, 0x78); },
          0x03,
          {0x12, 0x34, 0x56, 0x78},
          {},
          false,
          8,
          "cmd Failed 03",
          [](const vmouse::FirmwareState &s) {
              return s.keyboardOption == std::array<std::uint8_t, 4>{0x12, 0x34, 0x56, 0x78};
          }}},
        {"04H gun data",
         {[](Hid_Thread &h) { h.hid553_04H_SetGunData(1, 2, 3, 2); },
          0x04,
          {0, 1, 2, 3, 2},
          {},
          false,
          8,
          "cmd Failed 04",
          [](const vmouse::FirmwareState &s) {
              return s.gunData[2] == std::array<std::uint8_t, 3>{1, 2, 3};
          }}},
        {"0BH current DPI",
         {[](Hid_Thread &h) { h.hid553_0BH_SetCurrentDPI(6); },
          0x0B,
          {6},
          {},
          true,
          0,
          "cmd Failed 0B",
          [](const vmouse::FirmwareState &s) { return s.currentDpiStage == 6; }}},
        {"0CH fixed LED colour",
         {[](Hid_Thread &h) { h.hid553_0CH_SetFixLEDColor(src.data()); },
          0x0C,
          {0x80, 0x81, 0x82},
          {},
          true,
          0,
          "cmd Failed 0C",
          [](const vmouse::FirmwareState &s) {
              return s.fixLedColor == std::array<std::uint8_t, 3>{0x80, 0x81, 0x82};
          }}},
        {"0DH RGB effect",
         {[](Hid_Thread &h) { h.hid553_0DH_SetRGBLedEffect(4, 9, 11); },
          0x0D,
          {4, 9, 11},
          {},
          true,
          0,
          "cmd Failed 0D",
          [](const vmouse::FirmwareState &s) {
              return s.ledEffect == 4 && s.ledOption1 == 9 && s.ledOption2 == 11;
          }}},
        {"10H stage colours, type 2",
         {[](Hid_Thread &h) { h.hid553_10H_SetLED8StageColor(2, src.data()); },
          0x10,
          {2, 4},
          first(4),
          true,
          0,
          "cmd Failed 10",
          [](const vmouse::FirmwareState &s) { return s.ledColorLength == 4; }}},
        {"10H stage colours, type 1",
         {[](Hid_Thread &h) { h.hid553_10H_SetLED8StageColor(1, src.data()); },
          0x10,
          {1, 24},
          first(24),
          true,
          0,
          "cmd Failed 10",
          [](const vmouse::FirmwareState &s) { return s.ledColorLength == 24 && s.ledColors[23] == 0x97; }}},
        {"11H DPI set",
         {[](Hid_Thread &h) { h.hid553_11H_SetDPISet(5, src.data()); },
          0x11,
          {5, 8},
          first(8),
          true,
          0,
          "cmd Failed 11",
          [](const vmouse::FirmwareState &s) { return s.dpiStageCount == 5 && s.dpiCodes[7] == 0x87; }}},
        {"12H key matrix",
         {[](Hid_Thread &h) { h.hid553_12H_SetKeyMatrix(src.data(), 2); },
          0x12,
          {2, 64, 8},
          first(64),
          true,
          0,
          "cmd Failed 12",
          [](const vmouse::FirmwareState &s) { return s.keyMatrix[1][63] == 0xBF; }}},
        {"13H macro",
         {[](Hid_Thread &h) { h.hid553_13H_SetMacroKey(7, src.data()); },
          0x13,
          {7, 128},
          first(128),
          true,
          0,
          "cmd Failed 13",
          [](const vmouse::FirmwareState &s) { return s.macro[6][127] == 0xFF; }}},
    };
    for (int reportLength : {32, 64})
        for (const auto &c : cases)
            QTest::addRow("%s, reports of %d", c.first, reportLength) << c.second << reportLength;
}

void TestCommands553::setCommands()
{
    QFETCH(SetCase, command);
    QFETCH(int, reportLength);
    verifySetCase(command, {553, reportLength}, *log);
}

void TestCommands553::getCommands_data()
{
    QTest::addColumn<GetCase>("command");
    QTest::newRow("83H keyboard option") << GetCase{[](Hid_Thread &h, QList<int> in) {
                                                        uchar a = uchar(in[0]), b = uchar(in[1]),
                                                              c = uchar(in[2]), d = uchar(in[3]);
                                                        h.hid553_83H_GetKeyboardoption(a, b, c, d);
                                                        return QList<int>{a, b, c, d};
                                                    },
                                                    0x83,
                                                    {},
                                                    {1, 2, 3, 4},
                                                    {0x12, 0x34, 0x56, 0x78},
                                                    "cmd Failed 83"};
    QTest::newRow("8BH current DPI") << GetCase{[](Hid_Thread &h, QList<int> in) {
                                                    uchar a = uchar(in[0]);
                                                    h.hid553_8BH_GetCurrentDPI(a);
                                                    return QList<int>{a};
                                                },
                                                0x8B,
                                                {},
                                                {9},
                                                {5},
                                                "cmd Failed 8BH"};
}

void TestCommands553::getCommands()
{
    QFETCH(GetCase, command);
    verifyGetCase(
        command, {553},
        [](vmouse::FirmwareState &s) {
            s.keyboardOption = {0x12, 0x34, 0x56, 0x78};
            s.currentDpiStage = 5;
        },
        *log);
}

QTEST_GUILESS_MAIN(TestCommands553)
#include "tst_commands553.moc"
