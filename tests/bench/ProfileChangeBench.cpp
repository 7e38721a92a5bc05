// Profile-change benchmark: the whole program in-process against the virtual mouse, in real time. The
// scene switches between two profiles as the title bar's choice does; each change's wall time is set
// against the sum of the pauses the protocol prescribes for the distinct commands it sent (a command
// repeated with the same bytes counts once: the mouse needs it once). 1.00 = nothing but the pauses.
#include "InputHooks.h"
#include "RunningWindow.h"
#include "StartUp.h"
#include "TempInstallation.h"
#include "VirtualMouse.h"
#include "myQQuickView.h"
#include "platform/RecordingDeviceChangeMonitor.h"
#include "platform/RecordingHookBackend.h"
#include "platform/RecordingInstanceChannel.h"
#include "platform/RecordingTrayNotifier.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QQuickItem>
#include <QSettings>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

namespace {

struct Row
{
    const char *name;
    int family;
    bool gun;
    bool colourful;
};

struct Change
{
    double wallMs = 0;
    int pausesMs = 0; // distinct commands only
    int allPausesMs = 0;
    int commands = 0;
    int repeats = 0; // commands that repeated an earlier one byte for byte
};

// Pauses of one set command: the settle pauses around it and 120 ms after each data report, or the
// short pause after the few commands that have no settle.
int pausesOf(int family, int code, int writes)
{
    const bool noSettle = family == 560 ? (code == 0x01 || code == 0x02) : (code == 0x03 || code == 0x04);
    if (noSettle)
        return 8 + writes * 120;
    return 128 + writes * 120 + (writes > 0 ? 128 : 0);
}

// The commands of the transcript on the command interface: a feature report, what follows it up to
// the next one. Gets (a feature answer fetched) have no pauses.
Change measure(int family)
{
    Change c;
    const std::string commandPath = vmouse::config().path;
    struct Command
    {
        std::string bytes;
        int code = -1;
        int writes = 0;
        bool get = false;
    };
    std::vector<Command> commands;
    for (const vmouse::TranscriptRecord &r : vmouse::transcript(vmouse::Interface::Command)) {
        if (r.ret < 0)
            continue;
        if (r.fn == "hid_send_feature_report") {
            Command cmd;
            cmd.bytes = r.bytes;
            const auto raw = vmouse::fromHex(r.bytes);
            cmd.code = raw.size() > 1 ? raw[1] : -1;
            commands.push_back(cmd);
        } else if (!commands.empty() && r.fn == "hid_write") {
            commands.back().bytes += ' ' + r.bytes;
            ++commands.back().writes;
        } else if (!commands.empty() && r.fn == "hid_get_feature_report") {
            commands.back().get = true;
        }
    }
    if (qEnvironmentVariableIsSet("KC_BENCH_TRACE")) {
        for (const vmouse::TranscriptRecord &r : vmouse::transcript(vmouse::Interface::Command))
            std::fprintf(stderr, "%6lld %s %.20s\n", (long long)r.tMs, r.fn.c_str(), r.bytes.c_str());
    }
    std::set<std::string> seen;
    for (const Command &cmd : commands) {
        ++c.commands;
        const int pauses = cmd.get ? 0 : pausesOf(family, cmd.code, cmd.writes);
        c.allPausesMs += pauses;
        if (!seen.insert(cmd.bytes).second) {
            ++c.repeats;
            continue;
        }
        c.pausesMs += pauses;
    }
    return c;
}

// A second profile that differs from the first in every setting a change sends.
void addSecondProfile(TempInstallation &inst)
{
    QSettings names(inst.path("modules/setting/name.bin"), QSettings::IniFormat);
    names.setValue("profile/profileName", QStringList{"Standard", "Game"});
    names.sync();
    inst.setProfileValue(1, "mouse/dpiValueArray",
                         QStringList{"450", "900", "1350", "1800", "2400", "3000", "3600", "4200"});
    inst.setProfileValue(1, "mouse/currentDpiCount", 3);
    inst.setProfileValue(1, "mouse/reportRate", 2);
    inst.setProfileValue(1, "mouse/lightValue", QStringList{"2", "3", "2"});
    inst.setProfileValue(1, "mouse/colorValue",
                         QStringList{"255", "0",   "0",   "0",  "255", "0",   "0",   "0",
                                     "255", "255", "255", "0",  "0",   "255", "255", "255",
                                     "0",   "255", "90",  "90", "90",  "9",   "9",   "9"});
    inst.setProfileValue(1, "mouseKeyMatrix/0", QStringList{"2", "1", "4", "0"});
}

std::vector<Change> runRow(const Row &row, int rounds)
{
    std::vector<Change> changes;
    TempInstallation inst;
    if (!inst.isValid())
        return changes;
    inst.setGlobal({{"mouse/icType", QString::number(row.family)},
                    {"mouse/isGun", row.gun},
                    {"mouse/isColorful", row.colourful},
                    {"mouse/is55328", false}});
    addSecondProfile(inst);
    vmouse::Config cfg;
    cfg.family = row.family;
    vmouse::configure(cfg);

    RecordingHookBackend hooks;
    InputHooks::setBackend(&hooks);
    RecordingTrayNotifier tray;
    RecordingDeviceChangeMonitor monitor;
    Widget::Platform platform;
    platform.tray = &tray;
    platform.deviceChanges = &monitor;
    RecordingInstanceChannel channel;

    whenRunning([&] {
        Widget *w = mainWidget();
        QQuickItem *root = w->view()->rootObject();
        // Let the queued start of the scene run first, then one change that is not counted: the first
        // one also pays for what the scene builds on first use.
        while (!root->property("isPownOn").toBool())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QMetaObject::invokeMethod(root, "switchProfile", Qt::DirectConnection, Q_ARG(QVariant, QVariant(1)));
        QMetaObject::invokeMethod(root, "switchProfile", Qt::DirectConnection, Q_ARG(QVariant, QVariant(0)));
        for (int r = 0; r < rounds; ++r) {
            vmouse::clearTranscript();
            QElapsedTimer t;
            t.start();
            QMetaObject::invokeMethod(root, "switchProfile", Qt::DirectConnection,
                                      Q_ARG(QVariant, QVariant(r % 2 == 0 ? 1 : 0)));
            const double wall = double(t.nsecsElapsed()) / 1e6;
            Change c = measure(row.family);
            c.wallMs = wall;
            changes.push_back(c);
        }
        w->exitSYS();
    });
    StartUp::run(*qApp, channel, platform, inst.path());
    InputHooks::setBackend(nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return changes;
}

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // The desktop's pointer settings cost nothing here (an in-memory GSettings store, no KDE tool to
    // start): the wire is what is measured.
    qputenv("GSETTINGS_BACKEND", "memory");
    qputenv("PATH", "/nonexistent");
    QApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    const std::vector<Row> rows = {
        {"553, full colour, gun functions", 553, true, true},
        {"553, single colour", 553, false, false},
        {"560, full colour, gun functions", 560, true, true},
        {"560, single colour", 560, false, false},
    };
    std::printf("%-34s %8s %8s %10s %10s %8s\n", "profile change", "commands", "repeats", "pauses ms",
                "wall ms", "ratio");
    double worst = 0;
    bool complete = true;
    for (const Row &row : rows) {
        std::vector<Change> changes = runRow(row, rounds);
        if (changes.empty() || changes.front().pausesMs == 0) {
            std::printf("%-34s no profile change measured\n", row.name);
            complete = false;
            continue;
        }
        std::sort(changes.begin(), changes.end(), [](const Change &a, const Change &b) {
            return a.wallMs / a.pausesMs < b.wallMs / b.pausesMs;
        });
        const Change &median = changes[changes.size() / 2];
        const double ratio = median.wallMs / median.pausesMs;
        worst = std::max(worst, ratio);
        std::printf("%-34s %8d %8d %10d %10.1f %8.4f\n", row.name, median.commands, median.repeats,
                    median.pausesMs, median.wallMs, ratio);
    }
    std::printf("worst ratio %.4f (median of %d changes each)\n", worst, rounds);
    return complete ? 0 : 1;
}
