// Shared helpers of the backend tests: a temporary installation as the working directory, a virtual
// mouse with its device entry, the wire traffic from its transcript, and a recording pointer double.
#pragma once

#include "DeviceEntry.h"
#include "PointerSettings.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <vector>

class Hid_Thread;

namespace bridgetest {

// A copy of the default installation's modules/ in a temporary folder, made the working directory for
// the fixture's life.
class TempInstallation
{
public:
    TempInstallation();
    ~TempInstallation();
    bool isValid() const { return ok; }
    QString path() const { return dir.path(); }
    // Writes one value of ./modules/setting/apConfig.bin before a view is built on it.
    void setGlobal(const QString &key, const QVariant &value);
    // Writes one value of profile file p (0 … 9).
    void setProfileValue(int profile, const QString &key, const QVariant &value);

private:
    QTemporaryDir dir;
    QString previous;
    bool ok = false;
};

// Fresh virtual mouse of the family, empty transcript; the entry that reaches it.
DeviceEntry configureMouse(int family, int reportLength = 32);
void aimAt(Hid_Thread &hid, const DeviceEntry &entry);

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
