// Turns the main window into a frameless, translucent window that shows only the scene, creates
// the scene's view inside it, publishes the backend objects to the scene, gives the scene the
// window operations a frameless window needs, and has system-wide keys captured only while an input
// of the scene waits for them and the window is shown. A drag is handed to the window system where
// it can move windows itself (a compositor places Wayland and XWayland windows; a client's own move
// is ignored there), and the window moves itself where it cannot.
#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>

class AppProfiles;
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
    // The scene's "appProfiles": the links between programs and profiles.
    AppProfiles *appProfiles() const { return m_appProfiles; }
    // Whether the window was made translucent (false without a compositing manager).
    bool isTranslucent() const { return m_translucent; }

    // The scene says whether one of its inputs waits for captured keys.
    Q_INVOKABLE void setCaptureActive(bool active);
    bool captureActive() const { return m_captureWanted; }

public slots:
    void onMinimize();
    // Hides the window to the tray; minimises it instead where no tray would show its icon.
    void onClose();
    // The scene's drag deltas while a button is held on its background.
    void onXChanged(int x);
    void onYChanged(int y);
    void setBusy(int busyTime = 0);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateCapture();
    // Whether this drag is the window system's: asked once per press.
    bool movedBySystem();

    enum class Drag { Idle, System, Own };

    QPointer<QWidget> m_window;
    QPointer<myQQuickView> m_view;
    AppProfiles *m_appProfiles = nullptr;
    // The view as the event filter sees it: its events still arrive while it is being destroyed,
    // when it is no longer a myQQuickView.
    const QObject *m_viewObject = nullptr;
    bool m_translucent = false;
    bool m_captureWanted = false;
    bool m_shown = false;
    bool m_capturing = false;
    Drag m_drag = Drag::Idle;
    QPointF m_pointerAt; // the last pointer position the scene saw
};
