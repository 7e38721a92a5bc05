// A private Wayland desktop for journeys: a compositor drawing into a window on its own Xvfb, with
// or without XWayland. Input typed on that Xvfb reaches the compositor's seat like a real pointer and
// keyboard, and from there the Wayland and XWayland clients. (A compositor without an output window
// has no seat, and XWayland stops at the first synthetic event it is sent then.)
#pragma once

#include "PrivateXServer.h"

#include <QPoint>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class WestonDesktop
{
public:
    enum class Mode { WithXWayland, WaylandOnly };

    // The compositor's output and the Xvfb screen around it (a margin for the pointer to leave by).
    static constexpr int Width = 1280;
    static constexpr int Height = 800;
    static constexpr int Margin = 20;

    explicit WestonDesktop(Mode mode);
    ~WestonDesktop();
    WestonDesktop(const WestonDesktop &) = delete;
    WestonDesktop &operator=(const WestonDesktop &) = delete;

    // Whether the compositor, its X11 output and XWayland are installed; empty, or what is missing.
    static QString missing(Mode mode);

    // Starts Xvfb and the compositor and waits until clients can connect; false with error().
    bool start();
    QString error() const { return lastError; }

    // The Xvfb display the compositor's window is on, where input is typed (":N").
    QString inputDisplay() const { return xvfb ? xvfb->display() : QString(); }
    // What clients of the desktop are given: the socket's full path, and XWayland's display (empty
    // without XWayland).
    QString waylandDisplay() const;
    QString xDisplay() const { return xwayland; }
    // A point of the Xvfb screen beside the compositor's window, where the pointer leaves the desktop.
    static QPoint outside() { return {Width + Margin / 2, Height + Margin / 2}; }
    // The compositor's log, for failure messages.
    QString log() const;

private:
    Mode mode;
    QString xwayland;
    QTemporaryDir dir;
    std::unique_ptr<PrivateXServer> xvfb;
    QProcess weston;
    QString lastError;
};
