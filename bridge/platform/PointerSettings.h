// The operating system's pointer settings as the system settings page changes them.
#pragma once

#include <QStringList>

class PointerSettings
{
public:
    virtual ~PointerSettings() = default;

    // Each returns whether a persistent per-user setting took the value.
    virtual bool setPointerSpeed(int speed) = 0; // 1 (slowest) … 20 (fastest)
    virtual bool setDoubleClickTime(int ms) = 0;
    virtual bool setWheelScrollLines(int lines) = 0;

    // Which desktop settings the last of these calls changed: "gsettings" (the desktop's per-user
    // settings), "kde" (KDE's configuration), "libinput" or "xaccel" (the X server's pointer devices,
    // their libinput or older acceleration property). Empty when nothing took the value.
    virtual QStringList lastTargets() const { return {}; }
};
