// Turns DPI stage values into the mouse's one-byte stage codes for each sensor model.
#pragma once

#include <QString>
#include <QVariantList>
#include <array>

struct DpiCodes
{
    std::array<quint8, 8> codes{};
    quint8 highBits = 0;      // ninth bit of each stage code (sensor "3389" only)
    bool hasHighBits = false; // the sensor uses the ninth bits
    quint8 enableMask = 0;    // bit i set for every stage below the stage count
};

class DpiEncoder
{
public:
    static constexpr int stages = 8;
    static constexpr quint8 stageOff = 0x80;

    // One value's code; results wider than 8 bits keep their low 8 bits.
    static quint8 code(const QString &sensorType, int value);
    // Whether the value needs the ninth code bit ("3389" only).
    static bool needsHighBit(const QString &sensorType, int value);

    // The eight codes of the first eight values (missing values read as 0) and the masks.
    static DpiCodes encode(int dpiCount, const QString &sensorType, const QVariantList &values);

    // The 553 form: stages from dpiCount on are switched off.
    static std::array<quint8, 8> codesWithStagesOff(const DpiCodes &codes, int dpiCount);
};
