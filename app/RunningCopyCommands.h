// The running window's side of the command line: carries out a command handed over on the instance
// socket with the window's own worker, settings and scene, and answers on the same connection.
#pragma once

#include "CommandLine.h"

#include <QObject>
#include <QPointer>
#include <memory>

class InstanceChannel;
class QTimer;
class SceneRules;
class Widget;
class myQQuickView;

class RunningCopyCommands : public QObject
{
    Q_OBJECT
public:
    // How often, and how far apart, a command waits for a device exchange of the window to end.
    static constexpr int WaitTries = 100;
    static constexpr int WaitStepMs = 50;
    // How long a profile waits for the person's answer about the window's unsaved edits (the command
    // line waits two minutes for its answer).
    static constexpr int UnsavedAnswerMs = 100000;

    RunningCopyCommands(InstanceChannel &channel, Widget &window);
    ~RunningCopyCommands() override;

private:
    void received(quint64 id, const QStringList &arguments);
    void carryOut(quint64 id, const CommandLine::Request &request, int tries);
    void carryOutAppProfile(quint64 id, const CommandLine::Request &request, myQQuickView &view);
    void answer(quint64 id, const CommandLine::Result &result);
    // The answer to the command being carried out.
    void finish(quint64 id, const CommandLine::Result &result);
    // A profile would replace unsaved edits: the window asks first. False when nothing is unsaved.
    bool askFirst(quint64 id, const CommandLine::Request &request);

private slots:
    void unsavedAnswered(int answer);

private:
    InstanceChannel &m_channel;
    QPointer<Widget> m_window;
    std::unique_ptr<SceneRules> m_rules;
    bool m_busy = false; // one command at a time
    // The command waiting for the answer about unsaved edits.
    bool m_asking = false;
    bool m_answerConnected = false;
    quint64 m_askingId = 0;
    CommandLine::Request m_askingRequest;
    QTimer *m_answerTimer = nullptr;
};
