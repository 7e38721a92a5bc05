// Runs every command kind in real time against the virtual mouse and prints its wall time divided by
// the sum of the pauses the protocol prescribes for it (1.00 = no overhead beyond the pauses).
#include "Hid_Thread.h"
#include "MouseDriver.h"
#include "VirtualMouse.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Kind
{
    const char *name;
    int family;
    int reportLength;
    bool gun;
    bool busy; // measures the give-up on a busy device
    int pausesMs;
    std::function<void(Hid_Thread &)> run;
};

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quiet); // the busy give-up writes its failure message
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    static uchar buf[128];
    for (int i = 0; i < 128; ++i)
        buf[i] = uchar(i);
    uchar a = 0, b = 0, c = 0, d = 0;

    const std::vector<Kind> kinds = {
        {"553 00H secrecy code (get)", 553, 32, false, false, 0,
         [&](Hid_Thread &h) { h.hid553_00H_GetSecrecyCode(a, b, c, d); }},
        {"553 83H keyboard option (get)", 553, 32, false, false, 0,
         [&](Hid_Thread &h) { h.hid553_83H_GetKeyboardoption(a, b, c, d); }},
        {"553 8BH current DPI (get)", 553, 32, false, false, 0,
         [&](Hid_Thread &h) { h.hid553_8BH_GetCurrentDPI(a); }},
        {"553 01H report rate", 553, 32, false, false, 128,
         [](Hid_Thread &h) { h.hid553_01H_SetReportRate(2); }},
        {"553 02H current key matrix", 553, 32, false, false, 128,
         [](Hid_Thread &h) { h.hid553_02H_SetCurrentKeyMatrix(1); }},
        {"553 03H keyboard option", 553, 32, false, false, 8,
         [](Hid_Thread &h) { h.hid553_03H_SetKeyboardoption(0, 0, 0, 0x40); }},
        {"553 04H gun data", 553, 32, false, false, 8,
         [](Hid_Thread &h) { h.hid553_04H_SetGunData(1, 2, 3, 0); }},
        {"553 0BH current DPI", 553, 32, false, false, 128,
         [](Hid_Thread &h) { h.hid553_0BH_SetCurrentDPI(2); }},
        {"553 0CH fixed LED colour", 553, 32, false, false, 128,
         [](Hid_Thread &h) { h.hid553_0CH_SetFixLEDColor(buf); }},
        {"553 0DH RGB effect", 553, 32, false, false, 128,
         [](Hid_Thread &h) { h.hid553_0DH_SetRGBLedEffect(1, 2, 3); }},
        {"553 10H stage colours, 4 bytes", 553, 32, false, false, 128 + 120 + 128,
         [](Hid_Thread &h) { h.hid553_10H_SetLED8StageColor(2, buf); }},
        {"553 10H stage colours, 24 bytes", 553, 32, false, false, 128 + 120 + 128,
         [](Hid_Thread &h) { h.hid553_10H_SetLED8StageColor(1, buf); }},
        {"553 11H DPI set, 8 bytes", 553, 32, false, false, 128 + 120 + 128,
         [](Hid_Thread &h) { h.hid553_11H_SetDPISet(4, buf); }},
        {"553 12H key matrix, 64 bytes / 32", 553, 32, false, false, 128 + 2 * 120 + 128,
         [](Hid_Thread &h) { h.hid553_12H_SetKeyMatrix(buf, 1); }},
        {"553 12H key matrix, 64 bytes / 64", 553, 64, false, false, 128 + 120 + 128,
         [](Hid_Thread &h) { h.hid553_12H_SetKeyMatrix(buf, 1); }},
        {"553 13H macro, 128 bytes / 32", 553, 32, false, false, 128 + 4 * 120 + 128,
         [](Hid_Thread &h) { h.hid553_13H_SetMacroKey(1, buf); }},
        {"560 81H keyboard option (get)", 560, 32, false, false, 0,
         [&](Hid_Thread &h) { h.hid560_81H_GetKeyboardoption(a, b); }},
        {"560 82H current profile (get)", 560, 32, false, false, 0,
         [&](Hid_Thread &h) { h.hid560_82H_GetCurrentProfile(a); }},
        {"560 84H current DPI (get)", 560, 32, false, false, 0,
         [&](Hid_Thread &h) {
             a = 1;
             h.hid560_84H_GetCurrentDPI(a, b);
         }},
        {"560 8CH read profile / 32 (get)", 560, 32, false, false, 0,
         [](Hid_Thread &h) { h.hid560_8CH_readProfile(buf, 0); }},
        {"560 01H keyboard option", 560, 32, false, false, 8,
         [](Hid_Thread &h) { h.hid560_01H_SetKeyboardoption(8, 0); }},
        {"560 02H current profile", 560, 32, false, false, 8,
         [](Hid_Thread &h) { h.hid560_02H_SetCurrentProfile(1); }},
        {"560 03H report rate, 4 reports", 560, 32, false, false, 4 * 128,
         [](Hid_Thread &h) { h.hid560_03H_SetReportRate(1); }},
        {"560 03H report rate, gun: 1 report", 560, 32, true, false, 128,
         [](Hid_Thread &h) { h.hid560_03H_SetReportRate(1); }},
        {"560 04H current DPI, 4 reports", 560, 32, false, false, 4 * 128,
         [](Hid_Thread &h) { h.hid560_04H_SetCurrentDPI(2); }},
        {"560 0CH profile block / 32", 560, 32, false, false, 128 + 4 * 120 + 128,
         [](Hid_Thread &h) { h.hid560_0CH_setProfile(buf, 1); }},
        {"560 0CH profile block / 64", 560, 64, false, false, 128 + 2 * 120 + 128,
         [](Hid_Thread &h) { h.hid560_0CH_setProfile(buf, 1); }},
        {"560 0DH key matrix / 32", 560, 32, false, false, 128 + 4 * 120 + 128,
         [](Hid_Thread &h) { h.hid560_0DH_SetKeyMatrix(buf, 1); }},
        {"560 0FH macro / 32", 560, 32, false, false, 128 + 4 * 120 + 128,
         [](Hid_Thread &h) { h.hid560_0FH_SetMacroKey(1, buf); }},
        {"busy device: give-up", 553, 32, false, true, 255 * 8,
         [](Hid_Thread &h) { h.hid553_01H_SetReportRate(2); }},
    };

    std::printf("%-38s %10s %10s %8s\n", "command", "pauses ms", "wall ms", "ratio");
    double worst = 0;
    for (const Kind &k : kinds) {
        vmouse::Config cfg;
        cfg.family = k.family;
        cfg.reportLength = k.reportLength;
        vmouse::configure(cfg);
        Hid_Thread hid;
        hid.setDriver(MouseDriver::create(QString::number(k.family), hid, {k.gun, false, false}));
        DeviceEntry entry;
        entry.reportLength = k.reportLength;
        entry.path = QString::fromStdString(cfg.path);
        entry.path2 = QString::fromStdString(cfg.path2);
        hid.setDeviceList({entry});
        hid.setCurrentIndex(0);

        double total = 0;
        for (int r = 0; r < rounds; ++r) {
            if (k.busy && hid.hidFree())
                hid.waitHidFree();
            vmouse::clearTranscript();
            const auto start = std::chrono::steady_clock::now();
            k.run(hid);
            total +=
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        }
        const double wall = total / rounds;
        if (k.pausesMs > 0) {
            const double ratio = wall / k.pausesMs;
            worst = std::max(worst, ratio);
            std::printf("%-38s %10d %10.2f %8.4f\n", k.name, k.pausesMs, wall, ratio);
        } else {
            std::printf("%-38s %10d %10.3f %8s\n", k.name, 0, wall, "-");
        }
    }
    std::printf("worst ratio %.4f (median of %d rounds each)\n", worst, rounds);
    return 0;
}
