// Test double of the balloon notifications: records every message in order.
#pragma once

#include "TrayNotifier.h"

#include <QList>

class RecordingTrayNotifier : public TrayNotifier
{
public:
    struct Message
    {
        QString title;
        QString text;
        QSystemTrayIcon::MessageIcon icon;
        int milliseconds;
    };

    void showMessage(const QString &title, const QString &text, QSystemTrayIcon::MessageIcon icon,
                     int millisecondsTimeoutHint) override
    {
        messages.append({title, text, icon, millisecondsTimeoutHint});
    }

    QList<Message> messages;
};
