// The private session bus, the StatusNotifier watcher and the clicks.
#include "TrayHost.h"

#include "ChildProcess.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QMutex>
#include <QStandardPaths>

namespace {
const char *const kBusName = "kc-tray-host";
} // namespace

class TrayHostWatcher : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const
    {
        QMutexLocker lock(&mutex);
        return registered;
    }

public slots:
    // An item names its service, or only its path on the caller's connection.
    void RegisterStatusNotifierItem(const QString &item, const QDBusMessage &message)
    {
        QMutexLocker lock(&mutex);
        registered << (item.startsWith(QLatin1Char('/')) ? message.service() + item : item);
    }
    void RegisterStatusNotifierHost(const QString &) {}

private:
    mutable QMutex mutex;
    QStringList registered;
};

TrayHost::TrayHost() = default;

TrayHost::~TrayHost()
{
    if (watcher) {
        QMetaObject::invokeMethod(
            watcher, [w = watcher] { delete w; }, Qt::BlockingQueuedConnection);
        watcher = nullptr;
    }
    thread.quit();
    thread.wait();
    QDBusConnection::disconnectFromBus(QString::fromLatin1(kBusName));
    endChildProcess(daemon);
}

bool TrayHost::available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty();
}

bool TrayHost::start()
{
    daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
    QElapsedTimer t;
    t.start();
    while (daemon.state() != QProcess::NotRunning && !daemon.canReadLine() && t.elapsed() < 20000)
        daemon.waitForReadyRead(200);
    busAddress = QString::fromLocal8Bit(daemon.readLine()).trimmed();
    if (busAddress.isEmpty()) {
        lastError = QStringLiteral("no private session bus");
        return false;
    }
    QDBusConnection bus = QDBusConnection::connectToBus(busAddress, QString::fromLatin1(kBusName));
    if (!bus.isConnected()) {
        lastError = QStringLiteral("cannot connect to the private session bus");
        return false;
    }
    thread.start();
    watcher = new TrayHostWatcher;
    watcher->moveToThread(&thread);
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), watcher,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties) ||
        !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        lastError = QStringLiteral("the watcher could not be registered");
        return false;
    }
    return true;
}

QStringList TrayHost::items() const
{
    return watcher ? watcher->items() : QStringList();
}

bool TrayHost::activate()
{
    const QStringList all = items();
    if (all.isEmpty())
        return false;
    QString service = all.first();
    QString path = QStringLiteral("/StatusNotifierItem");
    const int slash = service.indexOf(QLatin1Char('/'));
    if (slash > 0) {
        path = service.mid(slash);
        service.truncate(slash);
    }
    QDBusInterface item(service, path, QStringLiteral("org.kde.StatusNotifierItem"),
                        QDBusConnection(QString::fromLatin1(kBusName)));
    const QDBusMessage reply = item.call(QStringLiteral("Activate"), 0, 0);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        lastError = reply.errorMessage();
        return false;
    }
    return true;
}

#include "TrayHost.moc"
