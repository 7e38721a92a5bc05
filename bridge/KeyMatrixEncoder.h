// Turns the pages' button assignments into the mouse's 64-byte key matrices, including the three
// gun matrices built from the stored template.
#pragma once

#include "SettingBytes.h"

#include <QStringList>
#include <QVariantList>
#include <array>

class KeyMatrixEncoder
{
public:
    static constexpr int positions = 16;
    static constexpr quint8 gunKind = 8;
    static constexpr int macroKind = 4;
    // The mouse has twelve macros: slots 0 … 11 go out as macro ids 1 … 12.
    static constexpr int macroSlots = 12;

    // One position: page codes (already cut to 8 bits) to the four device bytes.
    static std::array<quint8, 4> deviceEntry(quint8 code0, quint8 code1, quint8 code2, quint8 code3,
                                             const KeyMatrixDialect &dialect);

    // The main matrix from sixteen definitions one after the other; short lists read as 0. A position
    // whose numbers are not all bytes (0 … 255), or whose macro slot is none of the mouse's, goes out
    // as (0, 0, 0, 0), no function at all, and is named in `held`.
    static KeyMatrix mainMatrix(const QVariantList &src64, const KeyMatrixDialect &dialect,
                                QStringList *held = nullptr);

    // The gun template: entry n of the list is the stored four numbers of position n; an entry that is
    // not four bytes is (0, 0, 0, 0) and named in `held`.
    static KeyMatrix templateMatrix(const std::array<QVariantList, positions> &entries,
                                    QStringList *held = nullptr);

    // Main matrix plus, when a gun key is present, the three gun matrices with their headers.
    // otherParam holds the fire periods of the three chosen gun presets.
    static KeyMatrixSet encode(const QVariantList &src64, const QVariantList &otherParam,
                               const std::array<QVariantList, positions> &templateEntries,
                               const KeyMatrixDialect &dialect);
};
