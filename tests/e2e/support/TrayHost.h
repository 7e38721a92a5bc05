// A tray host as Wayland desktops have one: a private session bus with a StatusNotifier watcher that
// takes the program's icon, and clicks on that icon as the host sends them. The watcher answers from
// its own thread, so the program's calls are served while a journey waits for the program.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>

class TrayHostWatcher;

class TrayHost
{
public:
    TrayHost();
    ~TrayHost();
    TrayHost(const TrayHost &) = delete;
    TrayHost &operator=(const TrayHost &) = delete;

    static bool available();

    // Starts the bus and the watcher; false with error().
    bool start();
    QString error() const { return lastError; }
    // For the program's DBUS_SESSION_BUS_ADDRESS.
    QString address() const { return busAddress; }

    // The icons registered so far ("service" or "service/path").
    QStringList items() const;
    // A plain click on the first registered icon, as the host reports it (no double clicks here).
    bool activate();

private:
    QProcess daemon;
    QString busAddress;
    QString lastError;
    QThread thread;
    TrayHostWatcher *watcher = nullptr;
};
