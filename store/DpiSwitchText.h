// The process-wide texts of the tray notification shown when the mouse switches its DPI stage.
#pragma once

#include <QString>
#include <QStringList>

// Read from the event listener's thread while the GUI thread may replace the texts, so every
// access goes through one lock.
class DpiSwitchText
{
public:
    static constexpr int Count = 8;

    // The text of entry 0 … 7; an empty string for any other index.
    static QString at(int index);
    // The entry for a reported stage: stages 1 … 7 have their own, every other value shares entry 7.
    static QString forStage(int stage);
    static QStringList all();

    static void set(int index, const QString &text);
    // Copies the first texts of the list, up to eight, into entries 0, 1, …; the rest keep theirs.
    static void assign(const QStringList &texts);
    // Every entry back to the built-in text.
    static void reset();

    static QString defaultText();
};
