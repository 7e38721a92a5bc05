// Pointer settings on a Linux desktop: the desktop's per-user GSettings for speed and double-click
// time, the KDE configuration for wheel lines, and this program's own style hints. On X11 desktops
// that are neither GNOME nor KDE the pointer speed also goes to the X server's pointer devices.
#pragma once

#include "PointerSettings.h"

#include <QString>
#include <QStringList>

class LinuxPointerSettings : public PointerSettings
{
public:
    static constexpr const char *defaultSchema = "org.gnome.desktop.peripherals.mouse";

    explicit LinuxPointerSettings(QString schemaId = QString::fromLatin1(defaultSchema),
                                  QStringList kdeWriteTools = {QStringLiteral("kwriteconfig6"),
                                                               QStringLiteral("kwriteconfig5")});

    bool setPointerSpeed(int speed) override;
    bool setDoubleClickTime(int ms) override;
    bool setWheelScrollLines(int lines) override;
    QStringList lastTargets() const override { return targets; }

    // Whether the desktop named by XDG_CURRENT_DESKTOP (a colon-separated list) applies the pointer
    // speed from its own settings: GNOME and KDE do.
    static bool desktopAppliesSpeed(const QByteArray &currentDesktop);

    // The desktop's speed (−1 … 1) for speed 1 … 20: 1 → −1, 10 → 0, 20 → 1, linear on each side,
    // so the middle of the page's range is the desktop's default.
    static double desktopSpeed(int speed);

private:
    bool writeKdeGlobal(const QString &key, const QString &value) const;

    QString schema;
    QStringList kdeTools;
    QStringList targets;
};
