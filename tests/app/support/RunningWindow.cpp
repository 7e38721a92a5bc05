// The main window of an in-process start-up, found among the top-level widgets.
#include "RunningWindow.h"

#include "Widget.h"

#include <QApplication>
#include <QTimer>

Widget *mainWidget()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *widget = qobject_cast<Widget *>(w))
            return widget;
    }
    return nullptr;
}

void whenRunning(std::function<void()> fn)
{
    auto *poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, fn] {
        Widget *w = mainWidget();
        if (!w || !w->hid().isListening())
            return;
        poll->stop();
        poll->deleteLater();
        fn();
    });
    poll->start();
}
