// The four ordered name lists of the pages (macros, gun presets, profiles, selected guns), kept
// whole in one settings file.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class NameListStore
{
public:
    static QString path() { return QStringLiteral("./modules/setting/name.bin"); }
    // Appended to a one-name list: a one-element list would be stored as a plain string and read
    // back as one, so no list is ever stored with exactly one element.
    static QString oneElementFiller() { return QStringLiteral("loaderveltis"); }
    // The key of list type 0 … 3, or an empty string for any other value.
    static QString keyFor(const QVariant &type);

    // Replaces the list of the given type; an empty list removes its key. Always answers true.
    QVariant updataNameList(const QVariant &type, const QStringList &nameList);
    // The stored list, each element a string; empty when absent or for an unknown type.
    QVariantList getNameList(const QVariant &type);
};
