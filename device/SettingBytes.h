// Settings as the mouse takes them: DPI stage codes, lighting bytes, colours and key matrices. The
// bridge's encoders make them from the pages' values; the protocol drivers send them.
#pragma once

#include <QStringList>
#include <QtGlobal>
#include <array>
#include <optional>

struct DpiCodes
{
    std::array<quint8, 8> codes{};
    quint8 highBits = 0;      // ninth bit of each stage code (sensor "3389" only)
    bool hasHighBits = false; // the sensor uses the ninth bits
    quint8 enableMask = 0;    // bit i set for every stage below the stage count
};

// Effect code, parameter, and speed (full-colour mice) or option (single-colour mice).
struct LightingEffect
{
    quint8 effect = 0;
    quint8 parameter = 0;
    quint8 third = 0;
};

// Eight colours, red, green and blue each.
using ColourBytes = std::array<quint8, 24>;

using KeyMatrix = std::array<quint8, 64>;

// Everything one save of the button assignments sends.
struct KeyMatrixSet
{
    KeyMatrix main{};
    std::array<KeyMatrix, 3> gun{}; // matrices 2, 3 and 4
    bool hasGunKey = false;
    // New value of byte 2 of profile block 0 (where the mouse keeps one; unset leaves the byte alone).
    std::optional<quint8> gunMask;
    // What was held back because the mouse or the format has no room for it, one line each.
    QStringList held;
};

// What differs between the families in a key matrix: the sniper function's entry, and how a gun key
// (choice 1 … 3, or another number) marks the main matrix at byte offset b and the three gun matrices.
struct KeyMatrixDialect
{
    std::array<quint8, 4> sniper;
    void (*markGunKey)(KeyMatrixSet &set, int b, quint8 choice);
};
