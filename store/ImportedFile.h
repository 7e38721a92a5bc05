// A file the person chose to import as a profile or a macro: read only when it is a regular file no
// larger than such a file can sensibly be, without ever waiting on a pipe or a device, and taken only
// when it is whole settings text of its kind.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

class ImportedFile
{
public:
    // A profile or macro file holds a few kilobytes; anything near this is no such file.
    static constexpr qint64 MaxBytes = 1024 * 1024;
    enum class Kind { Profile, Macro };

    static ImportedFile read(const QString &path, Kind kind);

    bool isUsable() const { return m_refusal.isEmpty(); }
    const QByteArray &content() const { return m_content; }
    // Why the file cannot be imported, as the end of a sentence ("it is not a regular file").
    const QString &refusal() const { return m_refusal; }

private:
    void refuse(const QString &why);
    void checkMacro(const QVariantMap &values);

    QByteArray m_content;
    QString m_refusal;
};
