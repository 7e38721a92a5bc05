// Program → profile links in the global settings.
#include "AppProfileLinks.h"

#include "SettingsStore.h"

#include <QVariant>

namespace {

// One stored link: "<profile number>:<program>". The number comes first, so a program name may hold
// any character, a colon included.
QString entryText(const AppProfileLinks::Link &link)
{
    return QString::number(link.profile) + QLatin1Char(':') + link.program;
}

// A stored number: one or two ASCII digits (so "+1", " 1", "1e0" and "0x1" are no number).
int profileNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 2)
        return -1;
    int n = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        n = n * 10 + (c.unicode() - '0');
    }
    return SettingsStore::isProfileNumber(n) ? n : -1;
}

} // namespace

QString AppProfileLinks::normalized(const QString &program)
{
    QString out;
    out.reserve(program.size());
    for (QChar c : program) {
        if (c.category() != QChar::Other_Control && c.category() != QChar::Other_Format &&
            c != QChar::LineSeparator && c != QChar::ParagraphSeparator)
            out += c;
    }
    out = out.trimmed();
    return out.size() > MaxProgramLength ? QString() : out;
}

bool AppProfileLinks::sameProgram(const QString &a, const QString &b)
{
    return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
}

AppProfileLinks::AppProfileLinks(SettingsStore &store, const QList<int> &profiles)
    : m_store(store), m_profiles(profiles)
{
}

QList<AppProfileLinks::Link> AppProfileLinks::links() const
{
    QList<Link> out;
    // A list of one is stored as a plain text and read back as one; anything else that is no list
    // gives nothing.
    const QVariant stored = m_store.getGlobalData(linksKey());
    QStringList entries;
    if (stored.metaType().id() == QMetaType::QStringList)
        entries = stored.toStringList();
    else if (stored.metaType().id() == QMetaType::QString)
        entries << stored.toString();
    for (const QString &entry : entries) {
        if (out.size() >= MaxLinks)
            break;
        const qsizetype colon = entry.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        const int profile = profileNumber(entry.left(colon));
        const QString program = normalized(entry.mid(colon + 1));
        if (profile < 0 || !m_profiles.contains(profile) || program.isEmpty())
            continue;
        bool known = false;
        for (const Link &l : out)
            known = known || sameProgram(l.program, program);
        if (!known)
            out.append({program, profile});
    }
    return out;
}

int AppProfileLinks::linkedProfile(const QStringList &names) const
{
    const QList<Link> all = links();
    for (const QString &name : names) {
        for (const Link &l : all) {
            if (sameProgram(l.program, normalized(name)))
                return l.profile;
        }
    }
    return -1;
}

int AppProfileLinks::defaultProfile() const
{
    const int stored = profileNumber(m_store.getGlobalData(defaultKey()).toString().trimmed());
    if (stored >= 0 && m_profiles.contains(stored))
        return stored;
    return m_profiles.isEmpty() ? 0 : m_profiles.first();
}

bool AppProfileLinks::balloons() const
{
    const QVariant v = m_store.getGlobalData(balloonKey());
    // On unless it was turned off.
    return !v.isValid() || v.toString().trimmed().toLower() != QLatin1String("false");
}

bool AppProfileLinks::set(const QString &program, int profile)
{
    const QString name = normalized(program);
    if (name.isEmpty() || !m_profiles.contains(profile))
        return false;
    QList<Link> all = links();
    for (Link &l : all) {
        if (sameProgram(l.program, name)) {
            l = {name, profile};
            store(all);
            return true;
        }
    }
    if (all.size() >= MaxLinks)
        return false;
    all.append({name, profile});
    store(all);
    return true;
}

bool AppProfileLinks::clear(const QString &program)
{
    const QString name = normalized(program);
    QList<Link> all = links();
    const qsizetype before = all.size();
    all.removeIf([&name](const Link &l) { return sameProgram(l.program, name); });
    if (all.size() == before)
        return false;
    store(all);
    return true;
}

void AppProfileLinks::dropProfile(int profile)
{
    QList<Link> all = links();
    all.removeIf([profile](const Link &l) { return l.profile == profile; });
    m_profiles.removeAll(profile);
    store(all);
    if (profileNumber(m_store.getGlobalData(defaultKey()).toString().trimmed()) == profile)
        m_store.setGlobalData(defaultKey(), m_profiles.isEmpty() ? 0 : m_profiles.first());
}

bool AppProfileLinks::setDefaultProfile(int profile)
{
    if (!m_profiles.contains(profile))
        return false;
    m_store.setGlobalData(defaultKey(), profile);
    return true;
}

void AppProfileLinks::setBalloons(bool on)
{
    m_store.setGlobalData(balloonKey(), on);
}

void AppProfileLinks::store(const QList<Link> &links)
{
    QStringList entries;
    for (const Link &l : links)
        entries << entryText(l);
    m_store.setGlobalData(linksKey(), entries);
}
