// Finding the mouse: the device table of the global settings file, the HID interfaces present for
// its rows, and the probe that accepts one. The main window and the command line both use it.
#pragma once

#include "DeviceEntry.h"
#include "SettingsStore.h"

#include <QString>

class Hid_Thread;

class DeviceDiscovery
{
public:
    static constexpr int MaxDeviceEntries = SettingsStore::DeviceTableRows;

    // Why a mouse that is listed could not be used.
    enum class Outcome { Accepted, NoMouse, NoPermission, Busy, NoAnswer };

    static QString tablePath() { return QStringLiteral("./modules/setting/apConfig.bin"); }

    // Reads the device table of the global settings file, in table order.
    static DeviceList readDeviceTable(const QString &fileName);
    // Fills path and path2 of each entry from the HID interfaces present.
    static void findInterfaces(DeviceList &list);

    // Reads the table, finds the interfaces, hands the list and the protocol driver of the
    // installation's family to the worker and probes the present entries in table order until one
    // answers; the worker then points at it.
    static bool accept(Hid_Thread &worker, const QString &table = tablePath());
    // accept(), and when no entry answers, why: nothing present, an interface that may not be
    // opened or is held by another program, or a mouse that does not answer. `path` names the
    // interface concerned.
    static Outcome probe(Hid_Thread &worker, QString *path = nullptr, const QString &table = tablePath());
    // Why no mouse of the table can be used, without probing: nothing present (NoMouse), an interface
    // that may not be opened or is held (NoPermission, Busy), or one that opens (NoAnswer: it is there,
    // only a probe can tell more). `path` names the interface concerned.
    static Outcome whyUnusable(QString *path, const QString &table = tablePath());

    // What the driver keeps of a newly accepted mouse's memory, read once so that later writes change
    // only what they mean to. False when something did not come.
    static bool loadProfileImage(Hid_Thread &worker);
};
