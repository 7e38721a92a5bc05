// The operating system's pointer settings as the system settings page changes them.
#pragma once

class PointerSettings
{
public:
    virtual ~PointerSettings() = default;

    // Each returns whether a persistent per-user setting took the value.
    virtual bool setPointerSpeed(int speed) = 0; // 1 (slowest) … 20 (fastest)
    virtual bool setDoubleClickTime(int ms) = 0;
    virtual bool setWheelScrollLines(int lines) = 0;
};
