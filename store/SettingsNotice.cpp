// What the person has to be told about the settings files and refused imports.
#include "SettingsNotice.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMetaMethod>

namespace {

QString absolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

SettingsNotice &SettingsNotice::instance()
{
    static SettingsNotice notice;
    return notice;
}

QString SettingsNotice::cannotSaveText(const QString &path)
{
    return QStringLiteral("Your settings cannot be saved: writing to the folder %1 failed (it is read-only "
                          "or its disk is full). Changes you make now will not be kept.")
        .arg(QDir::cleanPath(QFileInfo(path).absolutePath()));
}

QString SettingsNotice::damagedGlobalFileText(const QString &path, const QString &keptCopy)
{
    const QString text = QStringLiteral("The settings file %1 is damaged, so part of it could not be read "
                                        "and the mouse may not be found.")
                             .arg(absolute(path));
    if (keptCopy.isEmpty())
        return text + QStringLiteral(" A copy of the damaged file could not be kept.");
    return text + QStringLiteral(" The damaged file was kept as %1.").arg(absolute(keptCopy));
}

QString SettingsNotice::importRefusedText(const QString &what, const QString &file, const QString &why)
{
    return QStringLiteral("The %1 file %2 was not imported: %3.").arg(what, absolute(file), why);
}

void SettingsNotice::cannotSave(const QString &path)
{
    announce(Cause::CannotSave, cannotSaveText(path));
}

void SettingsNotice::damagedGlobalFile(const QString &path, const QString &keptCopy)
{
    announce(Cause::DamagedGlobalFile, damagedGlobalFileText(path, keptCopy));
}

void SettingsNotice::importRefused(const QString &what, const QString &file, const QString &why)
{
    announce(Cause::ImportRefused, importRefusedText(what, file, why), false);
}

QStringList SettingsNotice::takePending()
{
    return std::exchange(m_pending, QStringList());
}

void SettingsNotice::clear()
{
    m_announced.clear();
    m_pending.clear();
}

void SettingsNotice::announce(Cause cause, const QString &text, bool once)
{
    if (once && m_announced.contains(int(cause)))
        return;
    m_announced.insert(int(cause));
    qDebug().noquote() << text;
    if (isSignalConnected(QMetaMethod::fromSignal(&SettingsNotice::announced)))
        emit announced(text);
    else
        m_pending.append(text);
}
