// Helpers shared by every store for opening, protecting and replacing INI settings files.
#pragma once

#include <QString>
#include <QVariant>

class QSettings;

class SettingsFile
{
public:
    // A settings object in INI format on `path` (caller owns it). When the file cannot be read
    // cleanly, a copy is kept aside first, because the next write would drop what was not understood.
    static QSettings *open(const QString &path);

    // Keeps a copy of the file beside it ("<file>.bad", then "<file>.bad1" …) when the settings
    // library cannot parse it or it is not valid UTF-8. Returns true when such a copy exists now.
    static bool keepUnreadableCopy(const QString &path);

    // Replaces `target` by a copy of `source`: the old file is removed, then the copy made.
    // Returns whether the copy succeeded.
    static bool replace(const QString &target, const QString &source);

    // Whether the file exists and can be read.
    static bool isReadableFile(const QString &path);
    // Whether two paths name the same existing file.
    static bool isSameFile(const QString &a, const QString &b);

    // A stored list as a list; any other value (also a single string) gives an empty list.
    static QVariantList asList(const QVariant &value);
};
