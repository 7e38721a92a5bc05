// Restores a window from the event loop.
#include "WidgetWindowRestorer.h"

#include <QPointer>
#include <QWidget>
#include <QWindow>

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
    // A minimised window (or one the window manager iconified behind Qt's back, whose state Qt may not
    // know) is mapped afresh: a new map is shown normal and on the current desktop.
    if (window->isVisible() && (window->windowState() & Qt::WindowMinimized || !window->isActiveWindow()))
        window->hide();
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->setVisible(true);
    window->showNormal();
    window->raise();
    window->activateWindow();
    if (QWindow *handle = window->windowHandle())
        handle->requestActivate();
}
