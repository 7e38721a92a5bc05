// Turns the main window into a frameless, translucent window that shows only the scene, creates
// the scene's view inside it, publishes the backend objects to the scene, and gives the scene the
// window operations a frameless window needs.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
#include "myQQuickView.h"

class Ui_Controler : public QObject
{
    Q_OBJECT
public:
    // hid: the device worker published to the scene as "hid".
    explicit Ui_Controler(QWidget *window, QObject *hid = nullptr);
    ~Ui_Controler() override;

    QWidget *window() const { return m_window; }
    myQQuickView *view() const { return m_view; }
    // Whether the window was made translucent (false without a compositing manager).
    bool isTranslucent() const { return m_translucent; }

public slots:
    void onMinimize();
    void onClose();
    void onXChanged(int x);
    void onYChanged(int y);
    void setBusy(int busyTime = 0);

private:
    QPointer<QWidget> m_window;
    QPointer<myQQuickView> m_view;
    bool m_translucent = false;
};
