// The running window's side of the command line.
#include "RunningCopyCommands.h"

#include "AppProfileCommands.h"
#include "AppProfiles.h"
#include "MouseCommands.h"
#include "SceneRules.h"
#include "SettingsNotice.h"
#include "Widget.h"
#include "myQQuickView.h"
#include "platform/InstanceChannel.h"

#include <QQuickItem>
#include <QTimer>

RunningCopyCommands::RunningCopyCommands(InstanceChannel &channel, Widget &window)
    : m_channel(channel), m_window(&window)
{
    connect(&channel, &InstanceChannel::commandReceived, this, &RunningCopyCommands::received);
}

RunningCopyCommands::~RunningCopyCommands() = default;

void RunningCopyCommands::received(quint64 id, const QStringList &arguments)
{
    // The same checks as the command line's own: a peer can ask for nothing it could not type.
    const CommandLine::Request request = CommandLine::parse(arguments);
    if (!CommandLine::isDeviceCommand(request.command)) {
        answer(id,
               CommandLine::badArguments(request.command == CommandLine::Command::Invalid
                                             ? request.error
                                             : QStringLiteral("not a command the running copy carries out")));
        return;
    }
    if (m_busy) {
        answer(id, {CommandLine::Busy, QString(),
                    QStringLiteral("kestral-config: the running copy is carrying out another command\n")});
        return;
    }
    m_busy = true;
    carryOut(id, request, 0);
}

void RunningCopyCommands::carryOut(quint64 id, const CommandLine::Request &request, int tries)
{
    myQQuickView *view = m_window ? m_window->view() : nullptr;
    if (!view) {
        finish(id, MouseCommands::unusable(DeviceDiscovery::Outcome::NoMouse, QString()));
        return;
    }
    if (request.command == CommandLine::Command::List) {
        finish(id, MouseCommands::list(view->icType));
        return;
    }
    if (request.command == CommandLine::Command::AppProfile) {
        carryOutAppProfile(id, request, *view);
        return;
    }
    // Requests arrive from the event loop, which a device exchange of the window also runs while it
    // waits: the command starts once that exchange is over, and not before the scene has loaded the
    // settings (right after start-up it may not have yet).
    QQuickItem *root = view->rootObject();
    if (!m_window->hid().hidFree() || !root || !root->property("isPownOn").toBool()) {
        if (tries >= WaitTries) {
            finish(id, {CommandLine::Busy, QString(),
                        QStringLiteral("kestral-config: the running copy is busy talking to the mouse\n")});
            return;
        }
        QTimer::singleShot(WaitStepMs, this,
                           [this, id, request, tries] { carryOut(id, request, tries + 1); });
        return;
    }
    if (request.command == CommandLine::Command::ApplyProfile && askFirst(id, request))
        return;
    if (!m_rules)
        m_rules = std::make_unique<SceneRules>();
    MouseCommands::Session session;
    session.worker = &m_window->hid();
    session.store = &view->settingsStore();
    session.view = view;
    // Without a mouse the answer is the one the command line gives alone: why none can be used. One
    // plugged in since the window last looked is looked for now rather than in two seconds.
    session.outcome = DeviceDiscovery::Outcome::Accepted;
    if (!isDeviceConnected) {
        session.outcome = DeviceDiscovery::whyUnusable(&session.path);
        if (session.outcome == DeviceDiscovery::Outcome::NoAnswer) {
            m_window->checkDevice();
            if (isDeviceConnected)
                session.outcome = DeviceDiscovery::Outcome::Accepted;
        }
    }
    // What the settings files announce meanwhile belongs to the answer as well as to the window.
    QStringList notices;
    const QMetaObject::Connection collecting =
        connect(&SettingsNotice::instance(), &SettingsNotice::announced, this,
                [&notices](const QString &text) { notices << text; });
    CommandLine::Result result = MouseCommands::carryOut(request, session, *m_rules);
    disconnect(collecting);
    // Unplugged while the command ran, before the listener told the window: the command line's answer.
    if (result.exitCode == CommandLine::Failed && session.outcome == DeviceDiscovery::Outcome::Accepted) {
        QString path;
        const DeviceDiscovery::Outcome now = DeviceDiscovery::whyUnusable(&path);
        if (now != DeviceDiscovery::Outcome::NoAnswer)
            result = MouseCommands::unusable(now, path);
    }
    CommandLine::addSettingsNotices(result, request.command, notices);
    finish(id, result);
}

// Needs no mouse: the links are the window's settings, and the profile dialog shows the change.
void RunningCopyCommands::carryOutAppProfile(quint64 id, const CommandLine::Request &request,
                                             myQQuickView &view)
{
    if (!m_rules)
        m_rules = std::make_unique<SceneRules>();
    QStringList notices;
    const QMetaObject::Connection collecting =
        connect(&SettingsNotice::instance(), &SettingsNotice::announced, this,
                [&notices](const QString &text) { notices << text; });
    CommandLine::Result result = AppProfileCommands::carryOut(request, view.settingsStore(), *m_rules);
    disconnect(collecting);
    CommandLine::addSettingsNotices(result, request.command, notices);
    if (AppProfiles *profiles = m_window ? m_window->appProfiles() : nullptr)
        profiles->reload();
    finish(id, result);
}

bool RunningCopyCommands::askFirst(quint64 id, const CommandLine::Request &request)
{
    myQQuickView *view = m_window ? m_window->view() : nullptr;
    QQuickItem *root = view ? view->rootObject() : nullptr;
    QVariant asked;
    if (!root || !QMetaObject::invokeMethod(root, "askUnsaved", Q_RETURN_ARG(QVariant, asked)) ||
        !asked.toBool())
        return false;
    if (!m_answerConnected)
        m_answerConnected = connect(root, SIGNAL(unsavedAnswered(int)), this, SLOT(unsavedAnswered(int)));
    if (!m_answerTimer) {
        m_answerTimer = new QTimer(this);
        m_answerTimer->setSingleShot(true);
        m_answerTimer->setInterval(UnsavedAnswerMs);
        connect(m_answerTimer, &QTimer::timeout, this, [this] {
            if (!m_asking)
                return;
            m_asking = false;
            finish(m_askingId, {CommandLine::Failed, QString(),
                                QStringLiteral("kestral-config: the window asks what to do with its unsaved "
                                               "changes and had no answer: the profile was not applied\n")});
        });
    }
    m_asking = true;
    m_askingId = id;
    m_askingRequest = request;
    m_answerTimer->start();
    // The question is in the window, which may be hidden in the tray.
    m_window->receiveMessage(QString());
    return true;
}

void RunningCopyCommands::unsavedAnswered(int answer)
{
    if (!m_asking)
        return;
    m_asking = false;
    m_answerTimer->stop();
    if (answer == 2) {
        finish(m_askingId,
               {CommandLine::Failed, QString(),
                QStringLiteral("kestral-config: the window's unsaved changes were kept: the profile "
                               "was not applied\n")});
        return;
    }
    // Saved or discarded: nothing is left to ask about. Carried out from the event loop, not inside
    // the scene's answer.
    const quint64 id = m_askingId;
    const CommandLine::Request request = m_askingRequest;
    QTimer::singleShot(0, this, [this, id, request] { carryOut(id, request, 0); });
}

void RunningCopyCommands::answer(quint64 id, const CommandLine::Result &result)
{
    m_channel.answerCommand(id, result.exitCode, result.out, result.err);
}

void RunningCopyCommands::finish(quint64 id, const CommandLine::Result &result)
{
    m_busy = false;
    answer(id, result);
}
