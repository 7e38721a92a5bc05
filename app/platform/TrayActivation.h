// Which clicks on the tray icon bring the window back. A tray that embeds the icon as a window reports
// double clicks; a tray host that shows it over D-Bus (the StatusNotifierItem hosts of Wayland
// desktops, and many X11 ones) only ever reports a plain activation, so there that one restores.
#pragma once

#include <QSystemTrayIcon>

class TrayActivation
{
public:
    // Whether a click of this kind restores the window; clickOnly: the host reports no double clicks.
    static bool restores(QSystemTrayIcon::ActivationReason reason, bool clickOnly);

    // Whether the session bus has a StatusNotifier host, which then shows the program's icon.
    static bool statusNotifierHost();
};
