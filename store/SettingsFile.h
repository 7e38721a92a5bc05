// Helpers shared by every store for opening, protecting, writing and replacing INI settings files.
#pragma once

#include <QFileDevice>
#include <QString>
#include <QVariant>

class QSettings;

class SettingsFile
{
public:
    // What the check of a file before it is opened found.
    struct Damage
    {
        bool unreadable = false; // the settings library cannot parse it, or it is not valid UTF-8
        QString keptAs;          // where a copy of it is kept now; empty when none could be made
    };

    // A settings object in INI format on `path` (caller owns it). When the file cannot be read
    // cleanly, a copy is kept aside first, because the next write would drop what was not understood.
    // Writes the settings library defers are checked when they happen: a failure is announced
    // (SettingsNotice).
    static QSettings *open(const QString &path, Damage *damage = nullptr);

    // Writes what is pending now; false, and announced, when that failed.
    static bool commit(QSettings *settings);

    // Keeps a copy of the file beside it ("<file>.bad", then "<file>.bad1" …) when the settings
    // library cannot parse it or it is not valid UTF-8.
    static Damage keepUnreadable(const QString &path);
    // Whether such a copy exists now.
    static bool keepUnreadableCopy(const QString &path) { return !keepUnreadable(path).keptAs.isEmpty(); }

    // Replaces `target` by a copy of `source`, written beside it and renamed over it, so that a
    // failure (a full disk, a read-only folder) leaves `target` as it was. Returns whether it worked.
    static bool replace(const QString &target, const QString &source);
    // The same with the new content itself. The file gets the folder's usual mode (usualMode()), or
    // less when the file it replaces had less.
    static bool replaceWith(const QString &target, const QByteArray &content);
    // Read and write for whom the process's file creation mask allows, never execute.
    static QFileDevice::Permissions usualMode();

    // Whether `content` is valid UTF-8 that the settings library parses without a format error;
    // `values` then receives every key with its value.
    static bool isCleanText(const QByteArray &content, QVariantMap *values = nullptr);

    // Whether the file exists and can be read.
    static bool isReadableFile(const QString &path);
    // Whether two paths name the same existing file.
    static bool isSameFile(const QString &a, const QString &b);

    // A stored list as a list; any other value (also a single string) gives an empty list.
    static QVariantList asList(const QVariant &value);
};
