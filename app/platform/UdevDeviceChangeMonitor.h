// Device-change notifications on Linux: a libudev monitor on the "hidraw" subsystem; every device
// added or removed is reported.
#pragma once

#include "DeviceChangeMonitor.h"

class QSocketNotifier;
struct udev;
struct udev_monitor;

class UdevDeviceChangeMonitor : public DeviceChangeMonitor
{
    Q_OBJECT
public:
    explicit UdevDeviceChangeMonitor(QObject *parent = nullptr);
    ~UdevDeviceChangeMonitor() override;

    bool start() override;

private:
    void drain();

    struct udev *m_udev = nullptr;
    struct udev_monitor *m_monitor = nullptr;
    QSocketNotifier *m_notifier = nullptr;
};
