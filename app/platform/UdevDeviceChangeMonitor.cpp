// Device-change notifications on Linux through a libudev monitor.
#include "UdevDeviceChangeMonitor.h"

#include <QSocketNotifier>
#include <libudev.h>

#include <cstring>

UdevDeviceChangeMonitor::UdevDeviceChangeMonitor(QObject *parent) : DeviceChangeMonitor(parent) {}

UdevDeviceChangeMonitor::~UdevDeviceChangeMonitor()
{
    delete m_notifier;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

bool UdevDeviceChangeMonitor::start()
{
    if (m_notifier)
        return true;
    m_udev = udev_new();
    if (!m_udev)
        return false;
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor || udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        if (m_monitor)
            udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
        udev_unref(m_udev);
        m_udev = nullptr;
        return false;
    }
    m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read);
    connect(m_notifier, &QSocketNotifier::activated, this, &UdevDeviceChangeMonitor::drain);
    return true;
}

void UdevDeviceChangeMonitor::drain()
{
    // The monitor's socket does not block: take everything that is queued.
    while (struct udev_device *device = udev_monitor_receive_device(m_monitor)) {
        const char *action = udev_device_get_action(device);
        const bool relevant =
            action && (std::strcmp(action, "add") == 0 || std::strcmp(action, "remove") == 0);
        udev_device_unref(device);
        if (relevant)
            emit deviceChanged();
    }
}
