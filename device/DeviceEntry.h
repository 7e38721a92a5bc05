// One row of the device table together with the HID paths found for its two interfaces.
#pragma once

#include <QList>
#include <QString>
#include <cstdint>

struct DeviceEntry
{
    std::int32_t type = -1;      // 0 keyboard, 1 mouse; kept, nothing depends on it
    std::uint16_t vid = 0;       // USB vendor id
    std::uint16_t pid = 0;       // USB product id
    std::uint16_t usagePage = 0; // command interface
    std::uint16_t usage = 0;
    std::uint16_t usagePage2 = 0; // event interface
    std::uint16_t usage2 = 0;
    std::int32_t reportLength = 32; // data bytes per input/output report, without the report ID
    bool isEncode = false;          // command reports travel scrambled
    QString sCode = QStringLiteral("739105");
    QString path;  // command interface, empty when absent
    QString path2; // event interface, empty when absent
};

using DeviceList = QList<DeviceEntry>;
