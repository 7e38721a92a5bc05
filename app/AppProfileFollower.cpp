// The profile follows the program in front.
#include "AppProfileFollower.h"

#include "AppProfiles.h"

AppProfileFollower::AppProfileFollower(AppProfiles &profiles, QObject *parent)
    : QObject(parent), m_profiles(profiles)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(DebounceMs);
    connect(&m_timer, &QTimer::timeout, this, &AppProfileFollower::settle);
}

int AppProfileFollower::decide(const FocusedProgram &program, const Scene &scene)
{
    // Nothing linked: the person switches by hand, and nothing here overrides that.
    if (program.own || !scene.ready || scene.unsaved || scene.dialogOpen || !m_profiles.hasLinks())
        return -1;
    const int target = m_profiles.profileFor(program);
    return target == scene.activeProfile ? -1 : target;
}

void AppProfileFollower::focusChanged(const FocusedProgram &program)
{
    m_pending = program;
    // Coming to this program's own window ends the wait of the one before: it was passed through.
    if (program.own) {
        m_timer.stop();
        return;
    }
    m_timer.start();
}

void AppProfileFollower::settle()
{
    if (!sceneState || !applyProfile)
        return;
    const Scene scene = sceneState();
    if (scene.busy) {
        m_timer.start();
        return;
    }
    const int target = decide(m_pending, scene);
    if (target < 0)
        return;
    applyProfile(target);
    emit switched(target, m_pending.programName());
}
