// Test double of the device-change monitor: tests raise changes with simulateChange().
#pragma once

#include "DeviceChangeMonitor.h"

class RecordingDeviceChangeMonitor : public DeviceChangeMonitor
{
    Q_OBJECT
public:
    using DeviceChangeMonitor::DeviceChangeMonitor;

    bool start() override
    {
        ++starts;
        return available;
    }
    void simulateChange() { emit deviceChanged(); }

    bool available = true;
    int starts = 0;
};
