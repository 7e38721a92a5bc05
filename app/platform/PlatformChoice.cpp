// The platform choice for Wayland sessions.
#include "PlatformChoice.h"

#include <QtGlobal>

#include <vector>

PlatformChoice::Session PlatformChoice::current()
{
    Session s;
    s.waylandDisplay = qgetenv("WAYLAND_DISPLAY");
    s.sessionType = qgetenv("XDG_SESSION_TYPE");
    s.display = qgetenv("DISPLAY");
    s.qpaPlatform = qgetenv("QT_QPA_PLATFORM");
    return s;
}

bool PlatformChoice::namesPlatform(const QList<QByteArray> &arguments)
{
    for (const QByteArray &argument : arguments) {
        if (argument == "-platform" || argument == "--platform")
            return true;
    }
    return false;
}

QByteArray PlatformChoice::choose(const Session &session, const QList<QByteArray> &arguments)
{
    if (!session.qpaPlatform.isEmpty() || namesPlatform(arguments))
        return {};
    const bool wayland = !session.waylandDisplay.isEmpty() || session.sessionType == "wayland";
    // Without an X server to reach (no XWayland) the native platform is all there is.
    if (!wayland || session.display.isEmpty())
        return {};
    return QByteArrayLiteral("xcb");
}

QByteArray PlatformChoice::apply(int &argc, char **&argv)
{
    if (argc < 1 || !argv || !argv[0])
        return {};
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    const QByteArray platform = choose(current(), arguments);
    if (platform.isEmpty())
        return platform;

    // The program's name, the platform option, then the person's own arguments unchanged.
    static QByteArray option("-platform");
    static QByteArray name;
    static std::vector<char *> copy;
    name = platform;
    copy.clear();
    copy.push_back(argv[0]);
    copy.push_back(option.data());
    copy.push_back(name.data());
    for (int i = 1; i < argc; ++i)
        copy.push_back(argv[i]);
    copy.push_back(nullptr);
    argc = int(copy.size()) - 1;
    argv = copy.data();
    return platform;
}
