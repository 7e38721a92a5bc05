// Tray clicks and the kind of tray host.
#include "TrayActivation.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>

bool TrayActivation::restores(QSystemTrayIcon::ActivationReason reason, bool clickOnly)
{
    return reason == QSystemTrayIcon::DoubleClick || (clickOnly && reason == QSystemTrayIcon::Trigger);
}

bool TrayActivation::statusNotifierHost()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(watcher))
        return false;
    QDBusInterface properties(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
    return properties.property("IsStatusNotifierHostRegistered").toBool();
}
