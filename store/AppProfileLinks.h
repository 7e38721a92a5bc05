// Which profile follows which program: the links (program name → profile number), the profile for
// every program not linked, and whether a switch is shown in a tray balloon. Kept in the global
// settings; a list edited by hand, or by someone else, is read as far as it makes sense and no further.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class SettingsStore;

class AppProfileLinks
{
public:
    struct Link
    {
        QString program;
        int profile = 0;
    };

    // Enough for anyone's programs; a longer stored list is read this far.
    static constexpr int MaxLinks = 64;
    static constexpr int MaxProgramLength = 255;

    static QString linksKey() { return QStringLiteral("appProfile/links"); }
    static QString defaultKey() { return QStringLiteral("appProfile/default"); }
    static QString balloonKey() { return QStringLiteral("appProfile/balloon"); }

    // A program name as it is kept: trimmed, without control characters; empty when nothing is left
    // or it is longer than MaxProgramLength.
    static QString normalized(const QString &program);
    // Program names are compared without regard to case: window classes are often capitalised
    // ("XTerm") where the executable is not.
    static bool sameProgram(const QString &a, const QString &b);

    // `profiles`: the numbers of the profiles in the list; links to any other number are not links.
    AppProfileLinks(SettingsStore &store, const QList<int> &profiles);

    // The usable links in stored order, one per program (the first one stored wins).
    QList<Link> links() const;
    // The profile linked to the first of `names` (a window's program names) that has a link; -1 when
    // none has.
    int linkedProfile(const QStringList &names) const;
    // The profile for every program not linked: the stored one while it is listed, else the first.
    int defaultProfile() const;
    bool balloons() const;

    // Links `program` to `profile`, replacing its earlier link. False when the name is unusable, the
    // profile is not listed, or the list is full.
    bool set(const QString &program, int profile);
    // False when the program had no link.
    bool clear(const QString &program);
    // A profile left the list: its links go, and it is no longer the default.
    void dropProfile(int profile);
    bool setDefaultProfile(int profile);
    void setBalloons(bool on);

private:
    void store(const QList<Link> &links);

    SettingsStore &m_store;
    QList<int> m_profiles;
};
