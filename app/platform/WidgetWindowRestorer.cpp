// Restores a window from the event loop.
#include "WidgetWindowRestorer.h"

#include <QPointer>
#include <QWidget>

void WidgetWindowRestorer::requestRestore(QWidget *window)
{
    if (!window)
        return;
    QPointer<QWidget> target(window);
    QMetaObject::invokeMethod(
        window,
        [target] {
            if (target)
                restoreNow(target);
        },
        Qt::QueuedConnection);
}

void WidgetWindowRestorer::restoreNow(QWidget *window)
{
    window->setVisible(true);
    window->showNormal();
    window->raise();
    window->activateWindow();
}
