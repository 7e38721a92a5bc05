// Tells when a HID device was added or removed, so discovery can run again.
#pragma once

#include <QObject>

class DeviceChangeMonitor : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~DeviceChangeMonitor() override = default;

    // Starts watching; false when the system offers no notifications (discovery then runs only
    // at start-up).
    virtual bool start() = 0;

signals:
    void deviceChanged();
};
