// The scene's view of the links between programs and profiles.
#include "AppProfiles.h"

#include "AppProfileLinks.h"
#include "SceneRules.h"
#include "platform/ActiveWindowWatcher.h"

#include <QVariantMap>

AppProfiles::AppProfiles(SettingsStore &store, QObject *parent) : QObject(parent), m_store(store) {}

AppProfiles::~AppProfiles() = default;

QList<int> AppProfiles::profileNumbers()
{
    if (!m_rules)
        m_rules = std::make_unique<SceneRules>();
    QList<int> out;
    for (const SceneRules::Profile &p : m_rules->profiles(m_store))
        out << p.number;
    return out;
}

QString AppProfiles::profileName(int profile)
{
    if (!m_rules)
        m_rules = std::make_unique<SceneRules>();
    for (const SceneRules::Profile &p : m_rules->profiles(m_store)) {
        if (p.number == profile)
            return p.name;
    }
    return QString::number(profile);
}

int AppProfiles::defaultProfile()
{
    return AppProfileLinks(m_store, profileNumbers()).defaultProfile();
}

void AppProfiles::setDefaultProfile(int profile)
{
    if (AppProfileLinks(m_store, profileNumbers()).setDefaultProfile(profile))
        reload();
}

bool AppProfiles::balloons()
{
    return AppProfileLinks(m_store, {}).balloons();
}

void AppProfiles::setBalloons(bool on)
{
    AppProfileLinks(m_store, {}).setBalloons(on);
    reload();
}

QString AppProfiles::coverage() const
{
    switch (m_watcher ? m_watcher->coverage() : ActiveWindowWatcher::Coverage::None) {
    case ActiveWindowWatcher::Coverage::All:
        return QStringLiteral("all");
    case ActiveWindowWatcher::Coverage::X11Only:
        return QStringLiteral("x11");
    case ActiveWindowWatcher::Coverage::None:
        break;
    }
    return QStringLiteral("none");
}

QVariantList AppProfiles::links()
{
    QVariantList out;
    for (const AppProfileLinks::Link &l : AppProfileLinks(m_store, profileNumbers()).links())
        out << QVariantMap{{QStringLiteral("program"), l.program}, {QStringLiteral("profile"), l.profile}};
    return out;
}

bool AppProfiles::link(const QString &program, int profile)
{
    const bool done = AppProfileLinks(m_store, profileNumbers()).set(program, profile);
    if (done)
        reload();
    return done;
}

bool AppProfiles::unlink(const QString &program)
{
    const bool done = AppProfileLinks(m_store, profileNumbers()).clear(program);
    if (done)
        reload();
    return done;
}

void AppProfiles::dropProfile(int profile)
{
    AppProfileLinks(m_store, profileNumbers()).dropProfile(profile);
    reload();
}

QVariantList AppProfiles::openWindows()
{
    QVariantList out;
    if (!m_watcher)
        return out;
    for (const FocusedProgram &p : m_watcher->openWindows())
        out << QVariantMap{{QStringLiteral("title"), p.title}, {QStringLiteral("program"), p.programName()}};
    return out;
}

bool AppProfiles::hasLinks()
{
    return !AppProfileLinks(m_store, profileNumbers()).links().isEmpty();
}

int AppProfiles::profileFor(const FocusedProgram &program)
{
    const AppProfileLinks links(m_store, profileNumbers());
    const int linked = links.linkedProfile(program.names());
    return linked >= 0 ? linked : links.defaultProfile();
}

void AppProfiles::setWatcher(ActiveWindowWatcher *watcher)
{
    m_watcher = watcher;
    emit coverageChanged();
}

void AppProfiles::reload()
{
    ++m_revision;
    emit changed();
}
