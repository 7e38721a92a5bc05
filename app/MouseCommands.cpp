// The command line's device commands.
#include "MouseCommands.h"

#include "Hid_Thread.h"
#include "MouseDriver.h"
#include "SceneRules.h"
#include "SettingsStore.h"
#include "myQQuickView.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQuickItem>

namespace {

const char *const kProgram = "kestral-config: ";

CommandLine::Result failure(int code, const QString &text)
{
    return {code, QString(), QString::fromLatin1(kProgram) + text + QLatin1Char('\n')};
}

// The report-rate list of the window, by the index the profile stores (held to the list).
int reportRateHz(const QVariant &stored)
{
    static const int rates[] = {125, 250, 500, 1000};
    bool ok = false;
    const int index = int(stored.toString().trimmed().toDouble(&ok));
    return rates[ok ? qBound(0, index, 3) : 0];
}

QString profileList(const QList<SceneRules::Profile> &profiles)
{
    QStringList entries;
    for (const SceneRules::Profile &p : profiles)
        entries << QStringLiteral("%1 \"%2\"").arg(p.number).arg(p.name);
    return entries.join(QStringLiteral(", "));
}

// Runs one piece of device work; false when any of its transactions failed.
template <typename Work> bool reached(Hid_Thread &worker, Work work)
{
    const int before = worker.failedTransactions();
    work();
    return worker.failedTransactions() == before;
}

CommandLine::Result state(MouseCommands::Session &s, SceneRules &rules)
{
    const int number = s.store->currentProfile();
    QString name;
    for (const SceneRules::Profile &p : rules.profiles(*s.store)) {
        if (p.number == number)
            name = p.name;
    }
    const SceneRules::DpiStages stages = rules.dpiStages(*s.store);
    int active = 0;
    if (!reached(*s.worker, [&] { active = s.worker->driver()->activeDpiStage(); }) || active == 0)
        return failure(CommandLine::Failed, QStringLiteral("the mouse did not tell its active DPI stage"));

    QJsonArray values;
    for (int v : stages.values)
        values.append(v);
    QJsonObject o;
    o.insert(QStringLiteral("profileNumber"), number);
    o.insert(QStringLiteral("profileName"), name);
    o.insert(QStringLiteral("dpiStages"), values);
    o.insert(QStringLiteral("activeDpiStage"), active);
    o.insert(QStringLiteral("reportRateHz"),
             reportRateHz(s.store->getData(QStringLiteral("mouse/reportRate"), false)));
    return {CommandLine::Success, QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented)),
            QString()};
}

CommandLine::Result applyProfile(const CommandLine::Request &request, MouseCommands::Session &s,
                                 SceneRules &rules)
{
    const int number = MouseCommands::resolveProfile(request.value, rules, *s.store);
    if (number < 0)
        return MouseCommands::noSuchProfile(request.value, rules, *s.store);
    QQuickItem *root = s.view ? s.view->rootObject() : nullptr;
    if (!root)
        return failure(CommandLine::Failed, QStringLiteral("the window's scene could not be loaded"));
    // Where the mouse keeps its settings in profile memory, they go out as whole blocks built on what
    // was read of them.
    if (!s.worker->driver()->profileMemoryRead() && !DeviceDiscovery::loadProfileImage(*s.worker))
        return failure(
            CommandLine::Failed,
            QStringLiteral("the mouse did not answer the reading of its profile memory; profile %1 "
                           "was not sent")
                .arg(number));
    // The scene sends the profile as a choice in the title bar does.
    const bool ok = reached(*s.worker, [&] {
        QMetaObject::invokeMethod(root, "applyProfile", Qt::DirectConnection,
                                  Q_ARG(QVariant, QVariant(number)));
    });
    if (!ok)
        return failure(CommandLine::Failed,
                       QStringLiteral("the mouse did not take every setting of profile %1").arg(number));
    QString name;
    for (const SceneRules::Profile &p : rules.profiles(*s.store)) {
        if (p.number == number)
            name = p.name;
    }
    return {CommandLine::Success, QStringLiteral("profile %1 \"%2\" applied\n").arg(number).arg(name),
            QString()};
}

CommandLine::Result setDpiStage(const CommandLine::Request &request, MouseCommands::Session &s,
                                SceneRules &rules)
{
    const SceneRules::DpiStages stages = rules.dpiStages(*s.store);
    if (request.stage < 1 || request.stage > stages.count) {
        return CommandLine::badArguments(QStringLiteral("stage %1: the active profile has stages 1 to %2")
                                             .arg(request.value)
                                             .arg(stages.count));
    }
    const auto stage = uchar(request.stage);
    if (!reached(*s.worker, [&] { s.worker->driver()->setActiveDpiStage(stage); }))
        return failure(CommandLine::Failed, QStringLiteral("the mouse did not take DPI stage %1").arg(stage));
    // A window shows the stage as when the mouse's own button changes it.
    if (s.view)
        s.view->setCurrentDPI(stage);
    return {CommandLine::Success,
            QStringLiteral("DPI stage %1 (%2 DPI) active\n").arg(stage).arg(stages.values.value(stage - 1)),
            QString()};
}

} // namespace

CommandLine::Result MouseCommands::list(const QString &icType)
{
    DeviceList entries = DeviceDiscovery::readDeviceTable(DeviceDiscovery::tablePath());
    DeviceDiscovery::findInterfaces(entries);
    const QString family = MouseDriver::familyName(icType);
    QString out;
    for (const DeviceEntry &e : entries) {
        if (e.path.isEmpty())
            continue;
        out += QStringLiteral("%1:%2\tfamily %3\tscrambled %4\tcommand %5\tevents %6\n")
                   .arg(e.vid, 4, 16, QLatin1Char('0'))
                   .arg(e.pid, 4, 16, QLatin1Char('0'))
                   .arg(family, e.isEncode ? QStringLiteral("yes") : QStringLiteral("no"), e.path,
                        e.path2.isEmpty() ? QStringLiteral("-") : e.path2);
    }
    if (out.isEmpty())
        return unusable(DeviceDiscovery::Outcome::NoMouse, QString());
    return {CommandLine::Success, out, QString()};
}

CommandLine::Result MouseCommands::unusable(DeviceDiscovery::Outcome outcome, const QString &path)
{
    switch (outcome) {
    case DeviceDiscovery::Outcome::NoPermission:
        return failure(
            CommandLine::NoPermission,
            QStringLiteral(
                "no permission to open the mouse (%1).\n"
                "The udev rule 70-kestral-config.rules gives the person at the computer access to it. The "
                "package installs it as /usr/lib/udev/rules.d/70-kestral-config.rules; from the source tree, "
                "copy "
                "udev/70-kestral-config.rules to /etc/udev/rules.d/, run\n"
                "  sudo udevadm control --reload && sudo udevadm trigger\n"
                "and plug the mouse in again.")
                .arg(path));
    case DeviceDiscovery::Outcome::Busy:
        return failure(
            CommandLine::Busy,
            QStringLiteral("the mouse (%1) is held by another program; try again once it lets go").arg(path));
    case DeviceDiscovery::Outcome::NoAnswer:
        return failure(CommandLine::Failed, QStringLiteral("the mouse (%1) does not answer").arg(path));
    case DeviceDiscovery::Outcome::NoMouse:
    case DeviceDiscovery::Outcome::Accepted:
        break;
    }
    return failure(
        CommandLine::NoMouse,
        QStringLiteral("no mouse found: none of the devices of modules/setting/apConfig.bin is plugged in"));
}

CommandLine::Result MouseCommands::carryOut(const CommandLine::Request &request, Session &session,
                                            SceneRules &rules)
{
    if (!rules.isValid())
        return failure(CommandLine::Failed,
                       QStringLiteral("the scene's rules could not be loaded: ") + rules.error());
    if (session.outcome != DeviceDiscovery::Outcome::Accepted || !session.worker || !session.store ||
        !session.worker->driver())
        return unusable(session.outcome, session.path);
    switch (request.command) {
    case CommandLine::Command::State:
        return state(session, rules);
    case CommandLine::Command::ApplyProfile:
        return applyProfile(request, session, rules);
    case CommandLine::Command::SetDpiStage:
        return setDpiStage(request, session, rules);
    default:
        return CommandLine::badArguments(QStringLiteral("not a device command"));
    }
}

CommandLine::Result MouseCommands::noSuchProfile(const QString &which, SceneRules &rules,
                                                 const SettingsStore &store)
{
    return CommandLine::badArguments(QStringLiteral("no profile \"%1\"; the profiles are %2")
                                         .arg(which, profileList(rules.profiles(store))));
}

int MouseCommands::resolveProfile(const QString &which, SceneRules &rules, const SettingsStore &store)
{
    const QList<SceneRules::Profile> profiles = rules.profiles(store);
    bool isNumber = false;
    const int number = which.toInt(&isNumber);
    // A listed number first, so that a profile named "3" cannot hide profile 3.
    if (isNumber) {
        for (const SceneRules::Profile &p : profiles) {
            if (p.number == number)
                return number;
        }
    }
    for (const SceneRules::Profile &p : profiles) {
        if (p.name == which)
            return p.number;
    }
    return -1;
}
