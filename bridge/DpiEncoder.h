// Turns DPI stage values into the mouse's one-byte stage codes for each sensor model.
#pragma once

#include "SettingBytes.h"

#include <QString>
#include <QVariantList>

class DpiEncoder
{
public:
    static constexpr int stages = 8;

    // One value's code; results wider than 8 bits keep their low 8 bits.
    static quint8 code(const QString &sensorType, int value);
    // Whether the value needs the ninth code bit ("3389" only).
    static bool needsHighBit(const QString &sensorType, int value);

    // The eight codes of the first eight values (missing values read as 0) and the masks.
    static DpiCodes encode(int dpiCount, const QString &sensorType, const QVariantList &values);
};
