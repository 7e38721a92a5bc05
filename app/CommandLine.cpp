// The command line beside the window.
#include "CommandLine.h"

#include "AppProfileCommands.h"
#include "AppProfileLinks.h"
#include "DeviceDiscovery.h"
#include "Hid_Thread.h"
#include "MouseCommands.h"
#include "SceneBackend.h"
#include "SceneRules.h"
#include "SettingsNotice.h"
#include "SettingsStore.h"
#include "Ui_Controler.h"
#include "myQQuickView.h"
#include "platform/SingleInstance.h"
#include "platform/UserInstallation.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QQuickItem>
#include <QWidget>
#include <cstdio>
#include <memory>

#ifndef KC_VERSION
#define KC_VERSION "unknown"
#endif

namespace {

// How long a running copy has to take a command, and to finish it (a whole profile takes seconds).
constexpr int HandOverAnswerMs = 3000;
constexpr int HandOverFinishMs = 120000;

const char *const kProgram = "kestral-config: ";

void print(FILE *stream, const QString &text)
{
    if (text.isEmpty())
        return;
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

int finish(const CommandLine::Result &result)
{
    print(stdout, result.out);
    print(stderr, result.err);
    return result.exitCode;
}

// The device exchanges and the scene log what they do; a command's output is its answer alone.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    print(stderr, QString::fromLatin1(kProgram) + message + QLatin1Char('\n'));
}

// The active profile as the window starts with it.
void selectStoredProfile(SettingsStore &store)
{
    store.setCurrentProfile(store.getGlobalData(QStringLiteral("mouse/profileNo")).toInt());
}

// The window, as its own process with the environment this one was started with.
void startWindow(bool platformChosen, const QByteArray &platform)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (platformChosen)
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLocal8Bit(platform));
    else
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess window;
    window.setProgram(QCoreApplication::applicationFilePath());
    window.setProcessEnvironment(environment);
    // Nothing of the caller's: a caller reading this command's output must not wait for the window.
    window.setStandardInputFile(QProcess::nullDevice());
    window.setStandardOutputFile(QProcess::nullDevice());
    window.setStandardErrorFile(QProcess::nullDevice());
    window.startDetached();
}

// Whether the command fits the hand-over's frame. A profile named longer than an argument may be is
// handed over by its number; false when no profile has that name.
bool handOverable(const CommandLine::Request &request, QStringList &arguments)
{
    bool fits = true;
    for (const QString &argument : arguments)
        fits = fits && argument.toUtf8().size() <= CopyDataFrame::MaxCommandArgumentBytes;
    if (fits)
        return true;
    if (request.command != CommandLine::Command::ApplyProfile)
        return false;
    SettingsStore store;
    SceneRules rules;
    const int number = MouseCommands::resolveProfile(request.value, rules, store);
    if (number < 0)
        return false;
    arguments = {arguments.first(), QString::number(number)};
    return true;
}

CommandLine::Result runHere(const CommandLine::Request &request)
{
    if (request.command == CommandLine::Command::List) {
        SettingsStore store;
        return MouseCommands::list(store.icType());
    }
    if (request.command == CommandLine::Command::AppProfile) {
        SettingsStore store;
        SceneRules rules;
        return AppProfileCommands::carryOut(request, store, rules);
    }

    Hid_Thread worker;
    MouseCommands::Session session;
    session.worker = &worker;
    session.outcome = DeviceDiscovery::probe(worker, &session.path);
    SceneRules rules;

    if (request.command != CommandLine::Command::ApplyProfile) {
        SettingsStore store;
        selectStoredProfile(store);
        session.store = &store;
        return MouseCommands::carryOut(request, session, rules);
    }

    if (session.outcome != DeviceDiscovery::Outcome::Accepted)
        return MouseCommands::unusable(session.outcome, session.path);
    // The window's own scene, never shown: it sends a profile as the window does.
    QWidget host;
    Ui_Controler controller(&host, &worker);
    myQQuickView *view = controller.view();
    if (!view || !view->rootObject())
        return {CommandLine::Failed, QString(),
                QString::fromLatin1(kProgram) + QStringLiteral("the scene could not be loaded\n")};
    view->setWorker(&worker);
    view->setMouseConnected(true);
    view->clearHidBusy();
    DeviceDiscovery::loadProfileImage(worker);
    QMetaObject::invokeMethod(view->rootObject(), "initUI", Qt::DirectConnection);
    session.store = &view->settingsStore();
    session.view = view;
    CommandLine::Result result = MouseCommands::carryOut(request, session, rules);
    view->setWorker(nullptr);
    return result;
}

} // namespace

CommandLine::Request CommandLine::parse(const QStringList &arguments)
{
    Request r;
    if (arguments.isEmpty())
        return r;
    const QString first = arguments.first();
    const QStringList rest = arguments.mid(1);
    r.arguments = arguments;
    auto invalid = [&r](const QString &error) {
        r.command = Command::Invalid;
        r.error = error;
        return r;
    };
    if (first == QLatin1String("--help") || first == QLatin1String("-h") || first == QLatin1String("help")) {
        r.command = Command::Help;
        return r;
    }
    if (first == QLatin1String("--version")) {
        r.command = Command::Version;
        return r;
    }
    // Qt's own options and anything else that starts with a dash are the window's.
    if (first.startsWith(QLatin1Char('-')))
        return Request();

    if (first == QLatin1String("list") || first == QLatin1String("state")) {
        if (!rest.isEmpty())
            return invalid(QStringLiteral("%1 takes no arguments").arg(first));
        r.command = first == QLatin1String("list") ? Command::List : Command::State;
        return r;
    }
    if (first == QLatin1String("apply-profile")) {
        if (rest.size() != 1 || rest.first().isEmpty())
            return invalid(QStringLiteral("apply-profile takes one profile, by number or name"));
        r.command = Command::ApplyProfile;
        r.value = rest.first();
        return r;
    }
    if (first == QLatin1String("set-dpi-stage")) {
        if (rest.size() != 1)
            return invalid(QStringLiteral("set-dpi-stage takes one stage number"));
        bool ok = false;
        const QString text = rest.first();
        const int stage = text.toInt(&ok);
        if (!ok || stage < 1 || stage > 8 || text.trimmed() != text || text.startsWith(QLatin1Char('+')))
            return invalid(QStringLiteral("set-dpi-stage: \"%1\" is no stage number (1 to 8)").arg(text));
        r.command = Command::SetDpiStage;
        r.value = text;
        r.stage = stage;
        return r;
    }
    if (first == QLatin1String("app-profile")) {
        const QString sub = rest.value(0);
        const qsizetype wanted = sub == QLatin1String("list")    ? 1
                                 : sub == QLatin1String("set")   ? 3
                                 : sub == QLatin1String("clear") ? 2
                                                                 : -1;
        if (wanted < 0 || rest.size() != wanted)
            return invalid(QStringLiteral("app-profile takes list, set PROGRAM PROFILE or clear PROGRAM"));
        // Longer names could not be handed to a running window.
        if (wanted > 1 && (AppProfileLinks::normalized(rest.at(1)).isEmpty() ||
                           rest.at(1).toUtf8().size() > CopyDataFrame::MaxCommandArgumentBytes))
            return invalid(QStringLiteral("app-profile: \"%1\" is no program name (1 to %2 characters)")
                               .arg(rest.at(1))
                               .arg(AppProfileLinks::MaxProgramLength));
        if (wanted == 3 && rest.at(2).isEmpty())
            return invalid(QStringLiteral("app-profile set takes a profile, by number or name"));
        r.command = Command::AppProfile;
        r.value = sub;
        return r;
    }
    return invalid(QStringLiteral("unknown command \"%1\"").arg(first));
}

bool CommandLine::isDeviceCommand(Command command)
{
    return command == Command::List || command == Command::State || command == Command::ApplyProfile ||
           command == Command::SetDpiStage || command == Command::AppProfile;
}

QString CommandLine::usageText()
{
    return QStringLiteral(
        "usage: kestral-config [--help | --version | list | state | apply-profile PROFILE | "
        "set-dpi-stage STAGE | app-profile list | app-profile set PROGRAM PROFILE | app-profile clear "
        "PROGRAM]\n");
}

QString CommandLine::versionText()
{
    return QStringLiteral("kestral-config %1\n").arg(QStringLiteral(KC_VERSION));
}

QString CommandLine::helpText()
{
    return usageText() + QStringLiteral(R"(
Without a command the window starts (a second start brings the running one forward).

Commands:
  list                  the mice found: vendor:product, command family (553 or 560), whether
                        reports are scrambled, and the command and event interfaces
  state                 the current state as JSON:
                          profileNumber, profileName  the active profile (stored setting)
                          dpiStages                   DPI of each enabled stage (stored profile)
                          activeDpiStage              the stage in use, 1-based (asked of the mouse)
                          reportRateHz                report rate (stored profile)
  apply-profile PROFILE make a stored profile the active one and send all of it to the mouse, as
                        choosing it in the window's title bar does; PROFILE is its number as
                        state shows it, or its name
  set-dpi-stage STAGE   make stage STAGE (1 = the first) the active DPI stage; it must be one of
                        the active profile's enabled stages
  app-profile list      which programs have their own profile, and the default profile for every
                        other program: one a line, the program, a tab and the profile
  app-profile set PROGRAM PROFILE
                        while PROGRAM's window is in front, profile PROFILE (number or name) is
                        on the mouse; PROGRAM is its executable or window class name
  app-profile clear PROGRAM
                        PROGRAM follows the default profile again
  --help, --version

While the window runs, a command is carried out by it (the window shows the change); otherwise
this command talks to the mouse itself.

Exit codes:
  0  done
  1  the mouse did not answer or did not take a command, or a profile applied could not be
     saved as the active one, or a link could not be saved
  2  bad arguments (unknown command, no such profile, stage out of range, no link to clear)
  3  no mouse found
  4  no permission to open the mouse: the udev rule 70-kestral-config.rules grants it; the
     package installs it as /usr/lib/udev/rules.d/70-kestral-config.rules, the source tree
     has it as udev/70-kestral-config.rules
  5  busy: another program holds the mouse, or a running kestral-config does not answer
)");
}

CommandLine::Result CommandLine::badArguments(const QString &error)
{
    return {BadArguments, QString(), QString::fromLatin1(kProgram) + error + QLatin1Char('\n') + usageText()};
}

void CommandLine::addSettingsNotices(Result &result, Command command, const QStringList &notices)
{
    const QString cannotSave = SettingsNotice::cannotSaveText(QString()).section(QLatin1Char(':'), 0, 0);
    for (const QString &text : notices) {
        result.err += QString::fromLatin1(kProgram) + text + QLatin1Char('\n');
        if (command == Command::ApplyProfile && result.exitCode == Success && text.startsWith(cannotSave)) {
            result.exitCode = Failed;
            result.err += QString::fromLatin1(kProgram) +
                          QStringLiteral(
                              "the profile was sent to the mouse, but could not be kept as the active one\n");
        }
        if (command == Command::AppProfile && result.exitCode == Success && text.startsWith(cannotSave)) {
            result.exitCode = Failed;
            result.err += QString::fromLatin1(kProgram) + QStringLiteral("the change could not be kept\n");
        }
    }
}

bool CommandLine::wantsCommandLine(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return parse(arguments).command != Command::Window;
}

int CommandLine::run(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const Request request = parse(arguments);
    switch (request.command) {
    case Command::Help:
        return finish({Success, helpText(), QString()});
    case Command::Version:
        return finish({Success, versionText(), QString()});
    case Command::Invalid:
        return finish(badArguments(request.error));
    case Command::Window:
        return finish(badArguments(QStringLiteral("no command")));
    default:
        break;
    }

    qInstallMessageHandler(quietMessages);
    int count = argc;
    const bool platformChosen = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    std::unique_ptr<QCoreApplication> app;
    if (request.command == Command::ApplyProfile) {
        // The scene, with no display: nothing is shown.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        SceneBackend::applyDefault();
        app = std::make_unique<QApplication>(count, argv);
    } else {
        app = std::make_unique<QCoreApplication>(count, argv);
    }

    QString error;
    const QString folder = UserInstallation::prepare(&error);
    if (folder.isEmpty())
        return finish({Failed, QString(), QString::fromLatin1(kProgram) + error + QLatin1Char('\n')});
    QDir::setCurrent(folder);

    // Keyed as the window's: one instance per working installation.
    auto owned = std::make_unique<SingleInstance>(folder);
    SingleInstance &instance = *owned;
    if (instance.isRunning()) {
        QStringList arguments = request.arguments;
        if (!handOverable(request, arguments)) {
            SettingsStore store;
            SceneRules rules;
            return finish(MouseCommands::noSuchProfile(request.value, rules, store));
        }
        CopyDataFrame::Frame reply;
        switch (instance.sendCommand(arguments, HandOverAnswerMs, HandOverFinishMs, &reply)) {
        case SingleInstance::Delivery::Replied:
            // Only the documented codes are passed on: a caller acts on them.
            if (reply.exitCode < Success || reply.exitCode > Busy)
                return finish({Failed, reply.out,
                               reply.err + QString::fromLatin1(kProgram) +
                                   QStringLiteral("the running kestral-config answered with exit code %1, "
                                                  "which means nothing; the command may not have been done\n")
                                       .arg(reply.exitCode)});
            return finish({reply.exitCode, reply.out, reply.err});
        case SingleInstance::Delivery::NotAnswering:
            return finish({Busy, QString(),
                           QString::fromLatin1(kProgram) +
                               QStringLiteral("a running kestral-config holds the mouse but does not answer "
                                              "(lock %1); try again, or end that copy\n")
                                   .arg(instance.lockPath())});
        case SingleInstance::Delivery::Lost:
            return finish(
                {Failed, QString(),
                 QString::fromLatin1(kProgram) +
                     QStringLiteral("the running kestral-config took the command but gave no answer\n")});
        }
    }
    // This copy holds the instance while it talks to the mouse; other commands are told so.
    QObject::connect(&instance, &InstanceChannel::commandReceived, &instance,
                     [&instance](quint64 id, const QStringList &) {
                         instance.answerCommand(
                             id, Busy, QString(),
                             QString::fromLatin1(kProgram) +
                                 QStringLiteral("another kestral-config command is using the mouse\n"));
                     });
    // A window started meanwhile handed its start to this copy, which has none: it gets its window
    // once the mouse is free again.
    bool windowWanted = false;
    QObject::connect(&instance, &InstanceChannel::messageReceived, &instance,
                     [&windowWanted] { windowWanted = true; });
    Result result = runHere(request);
    addSettingsNotices(result, request.command, SettingsNotice::instance().takePending());
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents(); // a hand-over that came at the very end
    const int code = finish(result);
    if (windowWanted) {
        owned.reset();
        startWindow(platformChosen, platform);
    }
    return code;
}
