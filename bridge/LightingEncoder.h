// Turns the lighting page's effect, slider positions and colours into the mouse's lighting bytes.
#pragma once

#include "SettingBytes.h"

#include <QVariantList>

class LightingEncoder
{
public:
    // Table lookups; an index outside a table gives 0.
    static quint8 brightness(int level); // levels 1 … 4
    static quint8 speed1(int index);     // 0 … 4
    static quint8 speed8(int index);
    static quint8 speed9(int index);
    static quint8 speed10(int index);
    static quint8 steadyLevel(int index);    // single-colour mice
    static quint8 breathingSpeed(int index); // single-colour mice

    // Effect, parameter and speed of a full-colour mouse.
    static LightingEffect fullColour(quint8 effect, quint8 option1, quint8 option2);
    // Effect, parameter and option of a single-colour mouse.
    static LightingEffect singleColour(quint8 effect, quint8 option1, quint8 option2);

    // The first 24 items as bytes (eight colours red, green, blue); missing items are 0.
    static ColourBytes colourBytes(const QVariantList &src24);
};
