// The program's start-up and teardown around the event loop: single instance, working directory,
// main window, input capture and native message filter, first discovery, and the ordered teardown.
#pragma once

#include "Widget.h"

#include <QIcon>
#include <QString>

class InstanceChannel;
class QApplication;

class StartUp
{
public:
    static constexpr int SecondStartTimeoutMs = 5000;

    // Runs the program on an application object that exists already; returns the exit code
    // (1 for a second start). workingDirectory empty: the executable's folder.
    static int run(QApplication &app, InstanceChannel &instance, const Widget::Platform &platform = {},
                   const QString &workingDirectory = QString());

    // What start-up registers with InputHooks; the context is the Widget.
    static void keyboardCallback(quint8 usageCode, bool isDown, void *context);
    static void mouseCallback(quint8 buttonCode, bool isDown, int x, int y, void *context);
    static void copyDataHandler(const void *lParam, void *context);

    // The program's version, desktop entry and icon on the application, so that the ask menu, the
    // window (_NET_WM_ICON) and the tray carry them: the installed theme icon, else the logo in the
    // working installation.
    static void applyIdentity();
    static QIcon programIcon();

    // The executable's folder: the application's file path up to its last "/".
    static QString executableDirectory();
};
