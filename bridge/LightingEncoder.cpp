// Lighting lookup tables and the effect rules of full-colour and single-colour mice.
#include "LightingEncoder.h"

#include "ListItems.h"

namespace {

template <std::size_t N> quint8 lookup(const quint8 (&table)[N], int index, int first = 0)
{
    const int i = index - first;
    return (i >= 0 && i < static_cast<int>(N)) ? table[i] : 0;
}

} // namespace

quint8 LightingEncoder::brightness(int level)
{
    static const quint8 t[] = {64, 128, 192, 255};
    return lookup(t, level, 1);
}

quint8 LightingEncoder::speed1(int index)
{
    static const quint8 t[] = {10, 7, 5, 3, 1};
    return lookup(t, index);
}

quint8 LightingEncoder::speed8(int index)
{
    static const quint8 t[] = {20, 17, 15, 13, 11};
    return lookup(t, index);
}

quint8 LightingEncoder::speed9(int index)
{
    static const quint8 t[] = {15, 13, 10, 7, 5};
    return lookup(t, index);
}

quint8 LightingEncoder::speed10(int index)
{
    static const quint8 t[] = {30, 27, 24, 22, 20};
    return lookup(t, index);
}

quint8 LightingEncoder::steadyLevel(int index)
{
    static const quint8 t[] = {1, 3, 5, 7, 10};
    return lookup(t, index);
}

quint8 LightingEncoder::breathingSpeed(int index)
{
    static const quint8 t[] = {30, 24, 18, 12, 6};
    return lookup(t, index);
}

LightingEffect LightingEncoder::fullColour(quint8 effect, quint8 option1, quint8 option2)
{
    switch (effect) {
    case 0:
        return {1, brightness(option2), 0};
    case 1:
        return {3, 0, speed1(option1)};
    case 2:
        return {4, 255, speed1(option1)};
    case 4:
        return {2, brightness(option2), 0};
    case 5:
        return {5, brightness(option2), speed1(option1)};
    case 6:
        return {6, 0, 0};
    case 7:
        return {7, brightness(option2), 0};
    case 8:
        return {8, brightness(option2), speed8(option1)};
    case 9:
        return {9, brightness(option2), speed9(option1)};
    case 10:
        return {10, brightness(option2), speed10(option1)};
    default:
        return {0, 0, 0}; // 3 (off) and everything from 11 on
    }
}

LightingEffect LightingEncoder::singleColour(quint8 effect, quint8 option1, quint8 option2)
{
    switch (effect) {
    case 0:
        return {1, steadyLevel(option2), 1};
    case 1:
        return {2, static_cast<quint8>(option1 + 1), 1};
    case 2:
        return {3, breathingSpeed(option1), 1};
    case 4:
        return {2, static_cast<quint8>(option1 + 1), 3};
    default:
        return {0, 0, 0};
    }
}

ColourBytes LightingEncoder::colourBytes(const QVariantList &src24)
{
    ColourBytes out{};
    for (int i = 0; i < 24; ++i)
        out[i] = ListItems::byteAt(src24, i);
    return out;
}
