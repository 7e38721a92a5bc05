// The command line's app-profile commands.
#include "AppProfileCommands.h"

#include "AppProfileLinks.h"
#include "MouseCommands.h"
#include "SceneRules.h"
#include "SettingsStore.h"

namespace {

QString described(int number, const QList<SceneRules::Profile> &profiles)
{
    for (const SceneRules::Profile &p : profiles) {
        if (p.number == number)
            return QStringLiteral("%1 \"%2\"").arg(number).arg(p.name);
    }
    return QString::number(number);
}

QList<int> numbers(const QList<SceneRules::Profile> &profiles)
{
    QList<int> out;
    for (const SceneRules::Profile &p : profiles)
        out << p.number;
    return out;
}

} // namespace

CommandLine::Result AppProfileCommands::carryOut(const CommandLine::Request &request, SettingsStore &store,
                                                 SceneRules &rules)
{
    if (!rules.isValid())
        return {CommandLine::Failed, QString(),
                QStringLiteral("kestral-config: the scene's rules could not be loaded: ") + rules.error() +
                    QLatin1Char('\n')};
    const QList<SceneRules::Profile> profiles = rules.profiles(store);
    AppProfileLinks links(store, numbers(profiles));
    const QStringList args = request.arguments.mid(2);

    if (request.value == QLatin1String("list")) {
        // The default first, then one program a line: PROGRAM, a tab, the profile.
        QString out = QStringLiteral("(default)\t%1\n").arg(described(links.defaultProfile(), profiles));
        for (const AppProfileLinks::Link &l : links.links())
            out += QStringLiteral("%1\t%2\n").arg(l.program, described(l.profile, profiles));
        return {CommandLine::Success, out, QString()};
    }

    const QString program = AppProfileLinks::normalized(args.value(0));
    if (program.isEmpty())
        return CommandLine::badArguments(
            QStringLiteral("app-profile: \"%1\" is no program name (1 to %2 characters)")
                .arg(args.value(0))
                .arg(AppProfileLinks::MaxProgramLength));

    if (request.value == QLatin1String("clear")) {
        if (!links.clear(program)) {
            QStringList linked;
            for (const AppProfileLinks::Link &l : links.links())
                linked << l.program;
            return CommandLine::badArguments(
                QStringLiteral("app-profile: \"%1\" is linked to no profile; linked are: %2")
                    .arg(program,
                         linked.isEmpty() ? QStringLiteral("none") : linked.join(QStringLiteral(", "))));
        }
        return {CommandLine::Success, QStringLiteral("%1 follows the default profile again\n").arg(program),
                QString()};
    }

    const int number = MouseCommands::resolveProfile(args.value(1), rules, store);
    if (number < 0)
        return MouseCommands::noSuchProfile(args.value(1), rules, store);
    if (!links.set(program, number))
        return CommandLine::badArguments(QStringLiteral("app-profile: no more than %1 programs can be linked")
                                             .arg(AppProfileLinks::MaxLinks));
    return {CommandLine::Success,
            QStringLiteral("%1 is linked to profile %2\n").arg(program, described(number, profiles)),
            QString()};
}
