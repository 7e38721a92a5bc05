// Which program's window is in front, and the watcher that can tell on this desktop.
#include "ActiveWindowWatcher.h"

#include "KWinActiveWindowWatcher.h"
#include "X11ActiveWindowWatcher.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <QGuiApplication>

namespace {

// A desktop where nothing can tell which window is in front.
class NoActiveWindowWatcher : public ActiveWindowWatcher
{
public:
    using ActiveWindowWatcher::ActiveWindowWatcher;
    Coverage coverage() const override { return Coverage::None; }
    QList<FocusedProgram> openWindows() override { return {}; }
};

bool waylandSession()
{
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) &&
            QGuiApplication::platformName().startsWith(QLatin1String("wayland")));
}

} // namespace

QStringList FocusedProgram::names() const
{
    QStringList out;
    for (const QString &name : {className, instanceName, executable}) {
        if (!name.isEmpty() && !out.contains(name))
            out << name;
    }
    return out;
}

QString FocusedProgram::cleaned(const QString &text, int length)
{
    QString out;
    for (QChar c : text) {
        if (!c.isNull() && c.category() != QChar::Other_Control && c.category() != QChar::Other_Format)
            out += c;
        if (out.size() >= length)
            break;
    }
    return out.trimmed();
}

QString FocusedProgram::programName() const
{
    // The class is what desktops group a program's windows by; an executable where there is none.
    if (!className.isEmpty())
        return className;
    if (!instanceName.isEmpty())
        return instanceName;
    return executable;
}

std::unique_ptr<ActiveWindowWatcher> ActiveWindowWatcher::forThisDesktop(QObject *parent)
{
    const bool wayland = waylandSession();
    // Plasma tells a script of its window manager which window is active, native ones included.
    if (wayland &&
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(QLatin1String("KDE"), Qt::CaseInsensitive)) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (bus.isConnected() && bus.interface() &&
            bus.interface()->isServiceRegistered(QStringLiteral("org.kde.KWin")).value()) {
            auto kwin = std::make_unique<KWinActiveWindowWatcher>(bus, parent);
            if (kwin->isRunning())
                return kwin;
        }
    }
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
        auto x11 = std::make_unique<X11ActiveWindowWatcher>(wayland ? Coverage::X11Only : Coverage::All,
                                                            QByteArray(), parent);
        if (x11->isConnected())
            return x11;
    }
    return std::make_unique<NoActiveWindowWatcher>(parent);
}
