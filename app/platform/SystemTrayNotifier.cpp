// Balloon notifications through the tray icon.
#include "SystemTrayNotifier.h"

SystemTrayNotifier::SystemTrayNotifier(QSystemTrayIcon *icon) : m_icon(icon) {}

void SystemTrayNotifier::showMessage(const QString &title, const QString &text,
                                     QSystemTrayIcon::MessageIcon icon, int millisecondsTimeoutHint)
{
    // Qt looks for a tray host once per process; without one a balloon has nowhere to go.
    if (!m_icon || !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_icon->showMessage(title, text, icon, millisecondsTimeoutHint);
}
