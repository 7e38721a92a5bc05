// Puts the linked profile on the mouse when a linked program's window comes to the front, and the
// default one when an unlinked program's does. A window must stay in front for the debounce time
// before anything is switched (passing through windows switches nothing); nothing is switched while
// the window has unsaved edits or one of its dialogs is open, nor for the program's own windows.
#pragma once

#include "platform/ActiveWindowWatcher.h"

#include <QObject>
#include <QTimer>
#include <functional>

class AppProfiles;

class AppProfileFollower : public QObject
{
    Q_OBJECT
public:
    static constexpr int DebounceMs = 300;

    // What the window is doing when a switch is due.
    struct Scene
    {
        bool ready = false;      // the scene has loaded the settings
        bool busy = false;       // a device exchange is under way: the switch waits for its end
        bool unsaved = false;    // a page has edits not saved
        bool dialogOpen = false; // a dialog or question of the window is open
        int activeProfile = -1;
    };

    explicit AppProfileFollower(AppProfiles &profiles, QObject *parent = nullptr);
    void setDebounce(int ms) { m_timer.setInterval(ms); }

    // The scene's state, read when a switch is due, and how a profile is applied (as the title bar
    // applies it).
    std::function<Scene()> sceneState;
    std::function<void(int profile)> applyProfile;

    // The profile to switch to for `program` now, or -1 for none.
    int decide(const FocusedProgram &program, const Scene &scene);

public slots:
    void focusChanged(const FocusedProgram &program);

signals:
    // A profile was applied because `program` came to the front (empty: no program's window).
    void switched(int profile, const QString &program);

private:
    void settle();

    AppProfiles &m_profiles;
    QTimer m_timer;
    FocusedProgram m_pending;
};
