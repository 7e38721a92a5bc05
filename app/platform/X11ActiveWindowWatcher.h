// The window in front on an X server (an X11 session, or XWayland's X11 programs on a Wayland one),
// on a connection of its own: the window manager's _NET_ACTIVE_WINDOW, watched through property
// change events on the root window; without a window manager that keeps it, the input focus, watched
// through focus events on the top-level windows. What a window is taken from: its class (WM_CLASS),
// its title, and its process's executable (_NET_WM_PID), read only for a local process of this user.
#pragma once

#include "ActiveWindowWatcher.h"

#include <QByteArray>
#include <cstdint>

struct xcb_connection_t;
class QSocketNotifier;

class X11ActiveWindowWatcher : public ActiveWindowWatcher
{
    Q_OBJECT
public:
    // `display`: an X display name, or empty for $DISPLAY.
    explicit X11ActiveWindowWatcher(Coverage coverage, const QByteArray &display = QByteArray(),
                                    QObject *parent = nullptr);
    ~X11ActiveWindowWatcher() override;

    bool isConnected() const;
    Coverage coverage() const override { return m_coverage; }
    QList<FocusedProgram> openWindows() override;
    // The window in front now.
    FocusedProgram current();
    // Whether the window manager keeps _NET_ACTIVE_WINDOW (else the input focus is followed).
    bool followsWindowManager() const { return m_managed; }

private:
    void readEvents();
    bool readQueuedEvents(); // true when the window in front may have changed
    // Reads the window in front and reports it when it changed.
    void check();
    void updateMode();
    void watchFocusOf(uint32_t window);
    uint32_t activeWindow();
    // The application window that holds `window` (a frame, or a child that has the focus).
    uint32_t clientOf(uint32_t window);
    bool hasClass(uint32_t window);
    FocusedProgram describe(uint32_t window);
    QByteArray property(uint32_t window, uint32_t atom, uint32_t type, uint32_t maxBytes,
                        uint32_t *gotType = nullptr);
    QList<uint32_t> windowList(uint32_t window, uint32_t atom, uint32_t maxCount);
    QString executableOf(uint32_t window);
    uint32_t atom(const char *name);

    Coverage m_coverage;
    xcb_connection_t *m_connection = nullptr;
    uint32_t m_root = 0;
    QSocketNotifier *m_notifier = nullptr;
    bool m_managed = false;
    bool m_reported = false;
    uint32_t m_last = 0;
    QByteArray m_host;
    struct
    {
        uint32_t activeWindow = 0, supported = 0, clientList = 0, wmPid = 0, wmName = 0, utf8 = 0,
                 clientMachine = 0, wmState = 0, window = 0, cardinal = 0, string = 0, wmClass = 0,
                 legacyName = 0, anyType = 0;
    } m_atoms;
};
