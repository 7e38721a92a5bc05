// Finding the mouse among the HID devices.
#include "DeviceDiscovery.h"

#include "Hid_Thread.h"
#include "MouseDriver.h"

#include <QSettings>
#include <cerrno>
#include <hidapi/hidapi.h>

namespace {

// Hexadecimal text with or without "0x"; text that does not parse gives 0.
int hexValue(const QSettings &settings, const QString &key, int missing)
{
    if (!settings.contains(key))
        return missing;
    bool ok = false;
    const int value = settings.value(key).toString().trimmed().toInt(&ok, 16);
    return ok ? value : 0;
}

// Opens the interface once to learn why a probe failed; errno tells access rights and a holder apart.
DeviceDiscovery::Outcome openFailure(const QString &path)
{
    errno = 0;
    hid_device *handle = hid_open_path(path.toLocal8Bit().constData());
    const int error = errno;
    if (handle) {
        hid_close(handle);
        return DeviceDiscovery::Outcome::NoAnswer;
    }
    if (error == EACCES || error == EPERM)
        return DeviceDiscovery::Outcome::NoPermission;
    if (error == EBUSY)
        return DeviceDiscovery::Outcome::Busy;
    return DeviceDiscovery::Outcome::NoMouse;
}

// The most telling reason why none of the present entries can be used: a person can act on access
// rights and on a holder.
DeviceDiscovery::Outcome worstOf(const DeviceList &list, const QList<int> &present, QString *path)
{
    DeviceDiscovery::Outcome worst = DeviceDiscovery::Outcome::NoMouse;
    for (int index : present) {
        const QString interface = list.at(index).path;
        const DeviceDiscovery::Outcome why = openFailure(interface);
        if (why == DeviceDiscovery::Outcome::NoMouse)
            continue;
        if (worst == DeviceDiscovery::Outcome::NoMouse || why == DeviceDiscovery::Outcome::NoPermission ||
            (why == DeviceDiscovery::Outcome::Busy && worst == DeviceDiscovery::Outcome::NoAnswer)) {
            worst = why;
            *path = interface;
        }
    }
    return worst;
}

} // namespace

DeviceList DeviceDiscovery::readDeviceTable(const QString &fileName)
{
    DeviceList list;
    QSettings settings(fileName, QSettings::IniFormat);
    for (int i = 0; i < MaxDeviceEntries; ++i) {
        if (i >= settings.value(QStringLiteral("common/deviceCount"), 0).toInt())
            break;
        const QString section = QString::number(i);
        DeviceEntry entry;
        entry.type = hexValue(settings, section + QStringLiteral("/type"), -1);
        entry.vid = quint16(hexValue(settings, section + QStringLiteral("/vid"), 0) & 0xFFFF);
        entry.pid = quint16(hexValue(settings, section + QStringLiteral("/pid"), 0) & 0xFFFF);
        entry.usagePage = quint16(hexValue(settings, section + QStringLiteral("/usagePage"), 0) & 0xFFFF);
        entry.usage = quint16(hexValue(settings, section + QStringLiteral("/usage"), 0) & 0xFFFF);
        entry.usagePage2 = quint16(hexValue(settings, section + QStringLiteral("/usagePage2"), 0) & 0xFFFF);
        entry.usage2 = quint16(hexValue(settings, section + QStringLiteral("/usage2"), 0) & 0xFFFF);
        entry.reportLength = settings.value(section + QStringLiteral("/reportLength"), 32).toInt();
        entry.isEncode = settings.value(section + QStringLiteral("/isEncode"), false).toBool();
        entry.sCode = settings.value(section + QStringLiteral("/sCode"), QStringLiteral("739105")).toString();
        list.append(entry);
    }
    return list;
}

void DeviceDiscovery::findInterfaces(DeviceList &list)
{
    for (DeviceEntry &entry : list) {
        entry.path.clear();
        entry.path2.clear();
        hid_device_info *devices = hid_enumerate(entry.vid, entry.pid);
        for (hid_device_info *d = devices; d; d = d->next) {
            if (!d->path)
                continue;
            // Both tests for every record: one interface may serve both, and the last match wins.
            if (d->usage_page == entry.usagePage && d->usage == entry.usage)
                entry.path = QString::fromLocal8Bit(d->path);
            if (d->usage_page == entry.usagePage2 && d->usage == entry.usage2)
                entry.path2 = QString::fromLocal8Bit(d->path);
        }
        hid_free_enumeration(devices);
    }
}

bool DeviceDiscovery::accept(Hid_Thread &worker, const QString &table)
{
    return probe(worker, nullptr, table) == Outcome::Accepted;
}

DeviceDiscovery::Outcome DeviceDiscovery::probe(Hid_Thread &worker, QString *path, const QString &table)
{
    DeviceList list = readDeviceTable(table);
    findInterfaces(list);
    worker.setDeviceList(list);
    // The family and what the mouse has are the installation's, in the same file as the table.
    const QSettings settings(table, QSettings::IniFormat);
    MouseCapabilities has;
    has.isGun = settings.value(QStringLiteral("mouse/isGun")).toBool();
    has.isColorful = settings.value(QStringLiteral("mouse/isColorful")).toBool();
    has.is55328 = settings.value(QStringLiteral("mouse/is55328")).toBool();
    worker.setDriver(
        MouseDriver::create(settings.value(QStringLiteral("mouse/icType")).toString(), worker, has));

    const DeviceList current = worker.deviceList();
    QList<int> present;
    for (int index = 0; index < current.size(); ++index) {
        if (current.at(index).path.isEmpty())
            continue;
        present << index;
        if (worker.chkDeviceIsEnCode(index))
            return Outcome::Accepted;
    }
    if (!path)
        return present.isEmpty() ? Outcome::NoMouse : Outcome::NoAnswer;
    return worstOf(current, present, path);
}

DeviceDiscovery::Outcome DeviceDiscovery::whyUnusable(QString *path, const QString &table)
{
    DeviceList list = readDeviceTable(table);
    findInterfaces(list);
    QList<int> present;
    for (int index = 0; index < list.size(); ++index) {
        if (!list.at(index).path.isEmpty())
            present << index;
    }
    QString ignored;
    return worstOf(list, present, path ? path : &ignored);
}

bool DeviceDiscovery::loadProfileImage(Hid_Thread &worker)
{
    MouseDriver *driver = worker.driver();
    return driver && driver->readProfileMemory();
}
