// One command of either family described the way the protocol table gives it, and the checks every
// command must pass: exact bytes and pauses, busy device, absent device.
#pragma once

#include "DeviceFixture.h"
#include "Hid_Thread.h"
#include "MessageLog.h"
#include "TimeSeam.h"

#include <QtTest>
#include <functional>

namespace devtest {

using Command = std::function<void(Hid_Thread &)>;

struct SetCase
{
    Command run;
    std::uint8_t code = 0;
    std::vector<std::uint8_t> params; // request bytes 2...
    std::vector<std::uint8_t> data;   // bulk data as written
    bool settle = false;
    int thenMs = 0;
    QString failure;
    std::function<bool(const vmouse::FirmwareState &)> effect; // the firmware saw it
};

// The transcript of a set command and its duration, computed from the rules of the transport.
inline QStringList expectedSet(const SetCase &c, int reportLength, std::int64_t *duration)
{
    QStringList ex{QStringLiteral("0 hid_send_feature_report %1 9").arg(frameHex(c.code, c.params).c_str())};
    std::int64_t t = c.settle ? 128 : 0;
    if (!c.data.empty()) {
        const int len = int(c.data.size());
        const int chunk = std::min(len, reportLength);
        for (int off = 0; off < len; off += chunk) {
            std::vector<std::uint8_t> part(c.data.begin() + off, c.data.begin() + std::min(len, off + chunk));
            ex << QStringLiteral("%1 hid_write %2 %3")
                      .arg(t)
                      .arg(outputReportHex(part, reportLength).c_str())
                      .arg(reportLength + 1);
            t += 120;
        }
        if (c.settle)
            t += 128;
    }
    *duration = t + c.thenMs;
    return ex;
}

inline void verifySetCase(const SetCase &c, const MouseSetup &setup, MessageLog &log)
{
    // Present device: the exact bytes and pauses, and nothing logged.
    {
        Hid_Thread hid;
        aimAt(hid, configureMouse(setup));
        log.clear();
        const std::int64_t t0 = kc::nowMs();
        c.run(hid);
        std::int64_t duration = 0;
        const QStringList expected = expectedSet(c, setup.reportLength, &duration);
        QCOMPARE(exchanges(t0), expected);
        QCOMPARE(kc::nowMs() - t0, duration);
        QCOMPARE(handleDiscipline(), QString());
        QCOMPARE(log.messages(), QStringList());
        QVERIFY(hid.hidFree());
        const vmouse::FirmwareState s = vmouse::state();
        QCOMPARE(s.rejected, 0);
        QCOMPARE(s.strayWrites, 0);
        if (c.effect)
            QVERIFY2(c.effect(s), "the firmware did not take the command");
    }
    // Busy device: only the failure message, after 255 polls; the pause after the command is skipped.
    {
        Hid_Thread hid;
        aimAt(hid, configureMouse(setup));
        QVERIFY(hid.waitHidFree());
        log.clear();
        const std::int64_t t0 = kc::nowMs();
        c.run(hid);
        QCOMPARE(log.messages(), QStringList{c.failure});
        QCOMPARE(kc::nowMs() - t0, 255 * 8);
        QVERIFY(vmouse::transcript(vmouse::Interface::Any).empty());
    }
    // Absent device: silent, nothing sent, the pause after the command still made.
    {
        Hid_Thread hid;
        DeviceEntry entry = configureMouse(setup);
        entry.path.clear();
        aimAt(hid, entry);
        log.clear();
        const std::int64_t t0 = kc::nowMs();
        c.run(hid);
        QCOMPARE(log.messages(), QStringList());
        QCOMPARE(kc::nowMs() - t0, c.thenMs);
        QVERIFY(vmouse::transcript(vmouse::Interface::Any).empty());
        QVERIFY(hid.hidFree());
    }
}

// A get command without bulk data: the request bytes, and outputs that keep their values when the
// device is busy, absent or does not answer.
struct GetCase
{
    std::function<void(Hid_Thread &, uchar *outputs)> run;
    std::uint8_t code = 0;
    std::vector<std::uint8_t> params;
    QList<int> in;       // output variables before the call
    QList<int> answered; // outputs from the prepared firmware
    QString failure;
};

// The outputs after running c with the output variables set to c.in.
inline QList<int> outputsOf(const GetCase &c, Hid_Thread &hid)
{
    std::vector<uchar> outputs(c.in.begin(), c.in.end());
    c.run(hid, outputs.data());
    return QList<int>(outputs.begin(), outputs.end());
}

inline void verifyGetCase(const GetCase &c, const MouseSetup &setup,
                          const std::function<void(vmouse::FirmwareState &)> &prepare, MessageLog &log)
{
    const auto freshMouse = [&] {
        DeviceEntry entry = configureMouse(setup);
        vmouse::FirmwareState s = vmouse::state();
        prepare(s);
        vmouse::setState(s);
        vmouse::clearTranscript();
        return entry;
    };
    {
        Hid_Thread hid;
        aimAt(hid, freshMouse());
        log.clear();
        const std::int64_t t0 = kc::nowMs();
        QCOMPARE(outputsOf(c, hid), c.answered);
        const QStringList ex = exchanges(t0);
        QCOMPARE(ex.size(), 2);
        QCOMPARE(ex.at(0),
                 QStringLiteral("0 hid_send_feature_report %1 9").arg(frameHex(c.code, c.params).c_str()));
        QVERIFY(ex.at(1).startsWith(
            QStringLiteral("0 hid_get_feature_report 00%1").arg(c.code, 2, 16, QLatin1Char('0'))));
        QVERIFY(ex.at(1).endsWith(" 9"));
        QCOMPARE(kc::nowMs() - t0, 0);
        QCOMPARE(handleDiscipline(), QString());
        QCOMPARE(log.messages(), QStringList());
        QVERIFY(hid.hidFree());
    }
    {
        Hid_Thread hid;
        aimAt(hid, freshMouse());
        QVERIFY(hid.waitHidFree());
        log.clear();
        QCOMPARE(outputsOf(c, hid), c.in);
        QCOMPARE(log.messages(), QStringList{c.failure});
        QVERIFY(vmouse::transcript(vmouse::Interface::Any).empty());
    }
    {
        Hid_Thread hid;
        DeviceEntry entry = freshMouse();
        entry.path.clear();
        aimAt(hid, entry);
        log.clear();
        QCOMPARE(outputsOf(c, hid), c.in);
        QCOMPARE(log.messages(), QStringList());
    }
    {
        // The request goes out but no answer comes back.
        Hid_Thread hid;
        aimAt(hid, freshMouse());
        vmouse::failNext("hid_get_feature_report");
        QCOMPARE(outputsOf(c, hid), c.in);
        vmouse::clearFaults();
    }
}

} // namespace devtest

Q_DECLARE_METATYPE(devtest::SetCase)
Q_DECLARE_METATYPE(devtest::GetCase)
