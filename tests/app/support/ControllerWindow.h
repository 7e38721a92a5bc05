// The window as the program's controller makes it, for in-process tests of the controller and the
// scene: a plain widget, the controller with its scene on it, and a stand-in for the device worker the
// scene reaches as "hid". A test class takes it as a second base, after QObject.
#pragma once

#include "Ui_Controler.h"
#include "myQQuickView.h"

#include <QQuickItem>
#include <QWidget>
#include <QtTest>

#include <memory>

class ControllerWindow
{
protected:
    QObject hid;
    std::unique_ptr<QWidget> window;
    std::unique_ptr<Ui_Controler> controller;

    QQuickItem *root() { return controller->view()->rootObject(); }
    QQuickItem *item(const char *name) { return root()->findChild<QQuickItem *>(QLatin1String(name)); }

    // A new window, named `name` when given, and its controller.
    void build(const QString &name = QString())
    {
        window = std::make_unique<QWidget>();
        window->setObjectName(name);
        controller = std::make_unique<Ui_Controler>(window.get(), &hid);
    }

    // Shows the window and starts the scene as discovery does; waits until its regions are shown.
    void reveal()
    {
        window->showNormal();
        controller->view()->initUI();
        QTRY_VERIFY(item("envItem")->isVisible());
    }

    // The controller first: its scene lives on the window.
    void close()
    {
        controller.reset();
        window.reset();
    }
};
