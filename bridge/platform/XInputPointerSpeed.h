// The pointer speed of the X server's pointer devices, through their XInput properties: libinput's
// acceleration speed where the driver offers it, the server's own acceleration (its constant
// deceleration) otherwise. For desktops that apply no pointer settings of their own on X11; the
// server keeps the values for the session only.
#pragma once

#include <QString>
#include <QStringList>

class XInputPointerSpeed
{
public:
    static constexpr const char *libinputSpeed = "libinput Accel Speed";
    static constexpr const char *deceleration = "Device Accel Constant Deceleration";

    // Sets the speed (−1 slowest … 1 fastest) on every pointer device of the X server Qt talks to;
    // returns the properties that took it, each once (empty without an X server or a device that has
    // either property).
    static QStringList apply(double speed);

    // The constant deceleration for a speed: 1 (the server's default) at 0, 4 at −1, 1/4 at 1.
    static double decelerationFor(double speed);
};
