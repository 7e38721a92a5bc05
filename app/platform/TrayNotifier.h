// Shows the program's balloon notifications.
#pragma once

#include <QString>
#include <QSystemTrayIcon>

class TrayNotifier
{
public:
    virtual ~TrayNotifier() = default;
    virtual void showMessage(const QString &title, const QString &text, QSystemTrayIcon::MessageIcon icon,
                             int millisecondsTimeoutHint) = 0;
};
