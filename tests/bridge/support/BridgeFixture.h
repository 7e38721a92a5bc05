// Shared helpers of the backend tests: a virtual mouse with its device entry, the wire traffic from its
// transcript, and a recording pointer double. Their installations are the shared TempInstallation, made
// the working directory (the backend reads ./modules).
#pragma once

#include "DeviceEntry.h"
#include "DeviceFixture.h"
#include "PointerSettings.h"
#include "TempInstallation.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class Hid_Thread;

namespace bridgetest {

// Fresh virtual mouse of the family, empty transcript; the entry that reaches it.
inline DeviceEntry configureMouse(int family, int reportLength = 32)
{
    return devtest::configureMouse({family, reportLength});
}
using devtest::aimAt;

// What went over the command interface: "F <hex>" per feature report sent, "W <hex>" per output
// report written, "G <hex>" per feature answer and "R <hex>" per input report read.
QStringList wire();
// Only the sent feature reports and written output reports.
QStringList sent();

// Expected forms: a request frame with its checksum, and a set command with its bulk data cut into
// output reports.
QString frame(int code, const QList<int> &params = {});
QStringList setCommand(int code, const QList<int> &params, const std::vector<quint8> &data = {},
                       int reportLength = 32);

template <std::size_t N> std::vector<quint8> bytes(const std::array<quint8, N> &a)
{
    return std::vector<quint8>(a.begin(), a.end());
}

// Remembers every value the backend hands to the desktop; answers with the given outcome.
class RecordingPointerSettings : public PointerSettings
{
public:
    bool setPointerSpeed(int speed) override
    {
        speeds << speed;
        return succeed;
    }
    bool setDoubleClickTime(int ms) override
    {
        doubleClicks << ms;
        return succeed && ms > 0;
    }
    bool setWheelScrollLines(int lines) override
    {
        wheelLines << lines;
        return succeed;
    }

    bool succeed = true;
    QList<int> speeds;
    QList<int> doubleClicks;
    QList<int> wheelLines;
};

} // namespace bridgetest
