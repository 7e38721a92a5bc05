// Balloon notifications through the tray icon; with no tray host they go nowhere.
#pragma once

#include "TrayNotifier.h"

#include <QPointer>

class SystemTrayNotifier : public TrayNotifier
{
public:
    explicit SystemTrayNotifier(QSystemTrayIcon *icon);
    void showMessage(const QString &title, const QString &text, QSystemTrayIcon::MessageIcon icon,
                     int millisecondsTimeoutHint) override;

private:
    QPointer<QSystemTrayIcon> m_icon;
};
