// Which window-system platform the program asks Qt for, decided before the application object exists.
// On a Wayland session that also offers X11 (XWayland) the program runs as an X11 client unless the
// person chose a platform: the X11 path gives it key capture across its windows, the tray over
// XEmbed or D-Bus and the translucency probe, all proven there, while a native Wayland client could
// only ever hear its own window's keys.
#pragma once

#include <QByteArray>
#include <QList>

class PlatformChoice
{
public:
    // What the choice depends on: the session's variables (empty when unset).
    struct Session
    {
        QByteArray waylandDisplay; // WAYLAND_DISPLAY
        QByteArray sessionType;    // XDG_SESSION_TYPE
        QByteArray display;        // DISPLAY
        QByteArray qpaPlatform;    // QT_QPA_PLATFORM
    };

    // The session as the process's environment describes it.
    static Session current();

    // The platform to ask for ("xcb"), or empty to leave the choice to Qt. arguments are the
    // command line after the program's name.
    static QByteArray choose(const Session &session, const QList<QByteArray> &arguments);

    // Whether the command line names a platform itself ("-platform NAME", also with "--").
    static bool namesPlatform(const QList<QByteArray> &arguments);

    // Applies the choice to the command line handed to the application object: argc and argv are
    // replaced by a copy with "-platform xcb" added when that is the choice. The copy lives until
    // the process ends, as Qt requires of argv.
    static QByteArray apply(int &argc, char **&argv);
};
