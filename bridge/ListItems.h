// Safe reads from the loosely typed lists the scene hands over: a missing item reads as 0.
#pragma once

#include <QVariant>
#include <QVariantList>
#include <QtGlobal>

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

// Item i converted as unsigned and cut to its low 8 bits.
inline quint8 unsignedByteAt(const QVariantList &list, int i)
{
    return (i >= 0 && i < list.size()) ? static_cast<quint8>(list.at(i).toUInt() & 0xFF) : 0;
}

} // namespace ListItems
