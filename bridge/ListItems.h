// Safe reads from the loosely typed lists the scene hands over: a missing item reads as 0.
#pragma once

#include <QVariant>
#include <QVariantList>
#include <QtGlobal>

#include <cmath>
#include <optional>

namespace ListItems {

// Item i as an int, 0 when the list is too short.
inline int intAt(const QVariantList &list, int i)
{
    return (i >= 0 && i < list.size()) ? list.at(i).toInt() : 0;
}

// Item i as an int cut to its low 8 bits.
inline quint8 byteAt(const QVariantList &list, int i)
{
    return static_cast<quint8>(intAt(list, i) & 0xFF);
}

// The value when it is a whole number from `low` to `high`, else nothing: a fraction, text, or a number
// that cutting to a smaller type would turn into another (2^32 into 0, 260 into 4).
inline std::optional<qint64> wholeNumber(const QVariant &value, qint64 low, qint64 high)
{
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok || !(d >= double(low) && d <= double(high)) || d != std::floor(d))
        return std::nullopt;
    return qint64(d);
}

// Item i as by wholeNumber; a missing item reads as 0.
inline std::optional<qint64> boundedAt(const QVariantList &list, int i, qint64 low, qint64 high)
{
    if (i < 0 || i >= list.size())
        return 0;
    return wholeNumber(list.at(i), low, high);
}

// Item i converted as unsigned and cut to its low 8 bits.
inline quint8 unsignedByteAt(const QVariantList &list, int i)
{
    return (i >= 0 && i < list.size()) ? static_cast<quint8>(list.at(i).toUInt() & 0xFF) : 0;
}

} // namespace ListItems
