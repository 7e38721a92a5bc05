// DPI codes of the four known sensors; any other model is treated like the "4090".
#include "DpiEncoder.h"

#include "ListItems.h"

quint8 DpiEncoder::code(const QString &sensorType, int value)
{
    if (sensorType == QLatin1String("3360"))
        return static_cast<quint8>(value / 100 - 1);
    if (sensorType == QLatin1String("3050")) {
        static const int ceilings[] = {250, 500, 750, 1000, 1250, 1500, 1750, 2000, 2500, 3000, 3500, 4000};
        static const quint8 codes[] = {1, 2, 3, 4, 5, 6, 7, 8, 0x45, 0x46, 0x47, 0x48};
        for (int i = 0; i < 12; ++i)
            if (value <= ceilings[i])
                return codes[i];
        return 0;
    }
    if (sensorType == QLatin1String("3389"))
        return static_cast<quint8>(value / 50);
    if (value <= 5000)
        return static_cast<quint8>(value / 100 - 1);
    return static_cast<quint8>((value / 200) | 0x40);
}

bool DpiEncoder::needsHighBit(const QString &sensorType, int value)
{
    return sensorType == QLatin1String("3389") && value > 12799;
}

DpiCodes DpiEncoder::encode(int dpiCount, const QString &sensorType, const QVariantList &values)
{
    DpiCodes out;
    out.hasHighBits = sensorType == QLatin1String("3389");
    for (int i = 0; i < stages; ++i) {
        const int value = ListItems::intAt(values, i);
        out.codes[i] = code(sensorType, value);
        if (needsHighBit(sensorType, value))
            out.highBits |= static_cast<quint8>(1u << i);
        if (i < dpiCount)
            out.enableMask |= static_cast<quint8>(1u << i);
    }
    return out;
}
