// The window in front on KDE Plasma's Wayland session, native programs included: a small KWin script,
// loaded over D-Bus, reports each window activation (its class, caption and process) and the windows
// open to this object on the session bus. Only KWin's own connection is listened to.
#pragma once

#include "ActiveWindowWatcher.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QTemporaryDir>

class KWinActiveWindowWatcher : public ActiveWindowWatcher, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kestralconfig.ActiveWindow")
public:
    static constexpr const char *ObjectPath = "/ActiveWindow";
    static constexpr const char *PluginName = "kestral-config-active-window";

    explicit KWinActiveWindowWatcher(const QDBusConnection &bus, QObject *parent = nullptr);
    ~KWinActiveWindowWatcher() override;

    // Whether KWin took and runs the script.
    bool isRunning() const { return m_running; }
    Coverage coverage() const override { return m_running ? Coverage::All : Coverage::None; }
    QList<FocusedProgram> openWindows() override { return m_open; }
    // The script as it is given to KWin, reporting to `service`.
    static QByteArray script(const QString &service);

public slots:
    // From the script: the window activated (an empty class and caption: none), and the windows open,
    // one "class<TAB>caption" a line.
    Q_SCRIPTABLE void activated(const QString &resourceClass, const QString &resourceName,
                                const QString &caption, int pid, const QString &windows);

private:
    bool load();

    QDBusConnection m_bus;
    QTemporaryDir m_folder;
    bool m_running = false;
    QList<FocusedProgram> m_open;
};
