// The udev monitor calls, served so that the virtual mouse's plug and unplug reach a program's own
// hot-plug code as the "add" and "remove" notices of its hidraw nodes. A monitor also carries the
// system's own notices, and every other udev call goes to the real library.
#include "Device.h"

#include <libudev.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/epoll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace {

// The real library's function of the same name, or null where no libudev follows this library.
template <typename F> F realFunction(const char *name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}
#define REAL(name) (realFunction<decltype(&name)>(#name))

struct FakeDevice
{
    int refs = 1;
    struct udev *udev = nullptr;
    std::string action, devnode, devpath, syspath, sysname, subsystem, hidId, hidName, serial;
    FakeDevice *parent = nullptr; // the HID device above the node; lives as long as this one
};

struct FakeMonitor
{
    int refs = 1;
    struct udev *udev = nullptr;
    struct udev_monitor *real = nullptr;
    int epoll = -1;
    int pipe[2] = {-1, -1}; // one byte per queued notice of ours
    bool receiving = false;
    std::vector<std::string> subsystems; // empty: every subsystem
    std::deque<FakeDevice *> queue;
};

std::mutex registryMutex;
std::set<const void *> monitors;
std::set<const void *> devices;

FakeMonitor *ours(struct udev_monitor *m)
{
    std::lock_guard<std::mutex> lock(registryMutex);
    return monitors.count(m) ? reinterpret_cast<FakeMonitor *>(m) : nullptr;
}

FakeDevice *ours(struct udev_device *d)
{
    std::lock_guard<std::mutex> lock(registryMutex);
    return devices.count(d) ? reinterpret_cast<FakeDevice *>(d) : nullptr;
}

struct udev_device *handle(FakeDevice *d)
{
    return reinterpret_cast<struct udev_device *>(d);
}

void destroy(FakeDevice *d)
{
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        devices.erase(d);
        if (d->parent)
            devices.erase(d->parent);
    }
    delete d->parent;
    delete d;
}

// A notice for one node; the caller registers it.
FakeDevice *makeNode(bool added, const std::string &node, const vmouse::Config &cfg, struct udev *udev)
{
    char id[32];
    std::snprintf(id, sizeof id, "0003:%08X:%08X", unsigned(cfg.vid), unsigned(cfg.pid));
    const std::string name = node.substr(node.rfind('/') + 1);
    auto *parent = new FakeDevice;
    parent->udev = udev;
    parent->subsystem = "hid";
    parent->devpath = "/devices/virtual/vmouse/0003:" + std::string(id + 5);
    parent->syspath = "/sys" + parent->devpath;
    parent->sysname = parent->devpath.substr(parent->devpath.rfind('/') + 1);
    parent->hidId = id;
    parent->hidName = "Virtual Mouse";
    parent->serial = "0001";
    auto *d = new FakeDevice;
    d->udev = udev;
    d->action = added ? "add" : "remove";
    d->devnode = node;
    d->sysname = name;
    d->subsystem = "hidraw";
    d->devpath = parent->devpath + "/hidraw/" + name;
    d->syspath = "/sys" + d->devpath;
    d->parent = parent;
    return d;
}

bool wants(const FakeMonitor &m, const char *subsystem)
{
    return m.subsystems.empty() ||
           std::find(m.subsystems.begin(), m.subsystems.end(), subsystem) != m.subsystems.end();
}

const char *text(const std::string &s)
{
    return s.empty() ? nullptr : s.c_str();
}

} // namespace

namespace vmouse {

void announceUdev(bool added, const Config &cfg)
{
    std::vector<std::string> nodes{cfg.path};
    if (cfg.eventInterface)
        nodes.push_back(cfg.path2);
    std::lock_guard<std::mutex> lock(registryMutex);
    for (const void *m : monitors) {
        auto *monitor = static_cast<FakeMonitor *>(const_cast<void *>(m));
        if (!monitor->receiving || !wants(*monitor, "hidraw"))
            continue;
        for (const std::string &node : nodes) {
            FakeDevice *d = makeNode(added, node, cfg, monitor->udev);
            devices.insert(d);
            devices.insert(d->parent);
            monitor->queue.push_back(d);
            const char byte = 1;
            if (::write(monitor->pipe[1], &byte, 1) < 0) {
                // a full pipe still has bytes that wake the reader
            }
        }
    }
}

} // namespace vmouse

extern "C" {

struct udev_monitor *udev_monitor_new_from_netlink(struct udev *udev, const char *name)
{
    // The control FIFO brings the plug and unplug, so it runs from here on.
    vmouse::Device::instance().ensureStarted();
    auto *m = new FakeMonitor;
    m->udev = udev;
    if (auto real = REAL(udev_monitor_new_from_netlink))
        m->real = real(udev, name);
    if (::pipe2(m->pipe, O_NONBLOCK | O_CLOEXEC) < 0 || (m->epoll = ::epoll_create1(EPOLL_CLOEXEC)) < 0) {
        if (m->real)
            REAL(udev_monitor_unref)(m->real);
        for (int fd : {m->pipe[0], m->pipe[1], m->epoll})
            if (fd >= 0)
                ::close(fd);
        delete m;
        return nullptr;
    }
    epoll_event ev{};
    ev.events = EPOLLIN;
    ::epoll_ctl(m->epoll, EPOLL_CTL_ADD, m->pipe[0], &ev);
    if (m->real) {
        const int fd = REAL(udev_monitor_get_fd)(m->real);
        if (fd < 0 || ::epoll_ctl(m->epoll, EPOLL_CTL_ADD, fd, &ev) < 0) {
            REAL(udev_monitor_unref)(m->real);
            m->real = nullptr;
        }
    }
    std::lock_guard<std::mutex> lock(registryMutex);
    monitors.insert(m);
    return reinterpret_cast<struct udev_monitor *>(m);
}

struct udev_monitor *udev_monitor_ref(struct udev_monitor *monitor)
{
    FakeMonitor *m = ours(monitor);
    if (!m)
        return REAL(udev_monitor_ref)(monitor);
    std::lock_guard<std::mutex> lock(registryMutex);
    ++m->refs;
    return monitor;
}

struct udev_monitor *udev_monitor_unref(struct udev_monitor *monitor)
{
    FakeMonitor *m = ours(monitor);
    if (!m)
        return monitor ? REAL(udev_monitor_unref)(monitor) : nullptr;
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        if (--m->refs > 0)
            return nullptr;
        monitors.erase(m);
    }
    for (FakeDevice *d : m->queue)
        destroy(d);
    if (m->real)
        REAL(udev_monitor_unref)(m->real);
    ::close(m->pipe[0]);
    ::close(m->pipe[1]);
    ::close(m->epoll);
    delete m;
    return nullptr;
}

struct udev *udev_monitor_get_udev(struct udev_monitor *monitor)
{
    FakeMonitor *m = ours(monitor);
    return m ? m->udev : REAL(udev_monitor_get_udev)(monitor);
}

int udev_monitor_enable_receiving(struct udev_monitor *monitor)
{
    FakeMonitor *m = ours(monitor);
    if (!m)
        return REAL(udev_monitor_enable_receiving)(monitor);
    // Without the system's notices (no netlink socket in a container, say) the mouse's still come.
    if (m->real && REAL(udev_monitor_enable_receiving)(m->real) < 0) {
        ::epoll_ctl(m->epoll, EPOLL_CTL_DEL, REAL(udev_monitor_get_fd)(m->real), nullptr);
        REAL(udev_monitor_unref)(m->real);
        m->real = nullptr;
    }
    std::lock_guard<std::mutex> lock(registryMutex);
    m->receiving = true;
    return 0;
}

int udev_monitor_set_receive_buffer_size(struct udev_monitor *monitor, int size)
{
    FakeMonitor *m = ours(monitor);
    if (!m)
        return REAL(udev_monitor_set_receive_buffer_size)(monitor, size);
    return m->real ? REAL(udev_monitor_set_receive_buffer_size)(m->real, size) : 0;
}

int udev_monitor_get_fd(struct udev_monitor *monitor)
{
    FakeMonitor *m = ours(monitor);
    return m ? m->epoll : REAL(udev_monitor_get_fd)(monitor);
}

struct udev_device *udev_monitor_receive_device(struct udev_monitor *monitor)
{
    FakeMonitor *m = ours(monitor);
    if (!m)
        return REAL(udev_monitor_receive_device)(monitor);
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        if (!m->queue.empty()) {
            FakeDevice *d = m->queue.front();
            m->queue.pop_front();
            char byte = 0;
            if (::read(m->pipe[0], &byte, 1) < 0) {
                // the byte was taken already; the queue is what counts
            }
            return handle(d);
        }
    }
    // The real monitor's socket does not block.
    return m->real ? REAL(udev_monitor_receive_device)(m->real) : nullptr;
}

int udev_monitor_filter_add_match_subsystem_devtype(struct udev_monitor *monitor, const char *subsystem,
                                                    const char *devtype)
{
    FakeMonitor *m = ours(monitor);
    if (!m)
        return REAL(udev_monitor_filter_add_match_subsystem_devtype)(monitor, subsystem, devtype);
    if (!subsystem)
        return -22; // -EINVAL, as the real library answers
    if (m->real)
        REAL(udev_monitor_filter_add_match_subsystem_devtype)(m->real, subsystem, devtype);
    std::lock_guard<std::mutex> lock(registryMutex);
    m->subsystems.push_back(subsystem);
    return 0;
}

int udev_monitor_filter_add_match_tag(struct udev_monitor *monitor, const char *tag)
{
    FakeMonitor *m = ours(monitor);
    if (!m)
        return REAL(udev_monitor_filter_add_match_tag)(monitor, tag);
    return m->real ? REAL(udev_monitor_filter_add_match_tag)(m->real, tag) : 0;
}

int udev_monitor_filter_update(struct udev_monitor *monitor)
{
    FakeMonitor *m = ours(monitor);
    if (!m)
        return REAL(udev_monitor_filter_update)(monitor);
    return m->real ? REAL(udev_monitor_filter_update)(m->real) : 0;
}

int udev_monitor_filter_remove(struct udev_monitor *monitor)
{
    FakeMonitor *m = ours(monitor);
    if (!m)
        return REAL(udev_monitor_filter_remove)(monitor);
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        m->subsystems.clear();
    }
    return m->real ? REAL(udev_monitor_filter_remove)(m->real) : 0;
}

struct udev_device *udev_device_ref(struct udev_device *device)
{
    FakeDevice *d = ours(device);
    if (!d)
        return REAL(udev_device_ref)(device);
    std::lock_guard<std::mutex> lock(registryMutex);
    ++d->refs;
    return device;
}

struct udev_device *udev_device_unref(struct udev_device *device)
{
    FakeDevice *d = ours(device);
    if (!d)
        return device ? REAL(udev_device_unref)(device) : nullptr;
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        // A parent goes with its child.
        if (d->action.empty() || --d->refs > 0)
            return nullptr;
    }
    destroy(d);
    return nullptr;
}

struct udev *udev_device_get_udev(struct udev_device *device)
{
    FakeDevice *d = ours(device);
    return d ? d->udev : REAL(udev_device_get_udev)(device);
}

struct udev_device *udev_device_get_parent(struct udev_device *device)
{
    FakeDevice *d = ours(device);
    return d ? handle(d->parent) : REAL(udev_device_get_parent)(device);
}

struct udev_device *udev_device_get_parent_with_subsystem_devtype(struct udev_device *device,
                                                                  const char *subsystem, const char *devtype)
{
    FakeDevice *d = ours(device);
    if (!d)
        return REAL(udev_device_get_parent_with_subsystem_devtype)(device, subsystem, devtype);
    const bool match = d->parent && subsystem && d->parent->subsystem == subsystem && !devtype;
    return match ? handle(d->parent) : nullptr;
}

const char *udev_device_get_devpath(struct udev_device *device)
{
    FakeDevice *d = ours(device);
    return d ? text(d->devpath) : REAL(udev_device_get_devpath)(device);
}

const char *udev_device_get_subsystem(struct udev_device *device)
{
    FakeDevice *d = ours(device);
    return d ? text(d->subsystem) : REAL(udev_device_get_subsystem)(device);
}

const char *udev_device_get_devtype(struct udev_device *device)
{
    FakeDevice *d = ours(device);
    return d ? nullptr : REAL(udev_device_get_devtype)(device);
}

const char *udev_device_get_syspath(struct udev_device *device)
{
    FakeDevice *d = ours(device);
    return d ? text(d->syspath) : REAL(udev_device_get_syspath)(device);
}

const char *udev_device_get_sysname(struct udev_device *device)
{
    FakeDevice *d = ours(device);
    return d ? text(d->sysname) : REAL(udev_device_get_sysname)(device);
}

const char *udev_device_get_devnode(struct udev_device *device)
{
    FakeDevice *d = ours(device);
    return d ? text(d->devnode) : REAL(udev_device_get_devnode)(device);
}

const char *udev_device_get_action(struct udev_device *device)
{
    FakeDevice *d = ours(device);
    return d ? text(d->action) : REAL(udev_device_get_action)(device);
}

const char *udev_device_get_property_value(struct udev_device *device, const char *key)
{
    FakeDevice *d = ours(device);
    if (!d)
        return REAL(udev_device_get_property_value)(device, key);
    if (!key)
        return nullptr;
    const std::string k = key;
    if (k == "ACTION")
        return text(d->action);
    if (k == "DEVNAME")
        return text(d->devnode);
    if (k == "DEVPATH")
        return text(d->devpath);
    if (k == "SUBSYSTEM")
        return text(d->subsystem);
    if (k == "HID_ID")
        return text(d->hidId);
    if (k == "HID_NAME")
        return text(d->hidName);
    if (k == "HID_UNIQ")
        return text(d->serial);
    return nullptr;
}

const char *udev_device_get_sysattr_value(struct udev_device *device, const char *sysattr)
{
    FakeDevice *d = ours(device);
    return d ? nullptr : REAL(udev_device_get_sysattr_value)(device, sysattr);
}

} // extern "C"
