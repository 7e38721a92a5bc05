// The running window's side of the command line: carries out a command handed over on the instance
// socket with the window's own worker, settings and scene, and answers on the same connection.
#pragma once

#include "CommandLine.h"

#include <QObject>
#include <QPointer>
#include <memory>

class InstanceChannel;
class SceneRules;
class Widget;

class RunningCopyCommands : public QObject
{
    Q_OBJECT
public:
    // How often, and how far apart, a command waits for a device exchange of the window to end.
    static constexpr int WaitTries = 100;
    static constexpr int WaitStepMs = 50;

    RunningCopyCommands(InstanceChannel &channel, Widget &window);
    ~RunningCopyCommands() override;

private:
    void received(quint64 id, const QStringList &arguments);
    void carryOut(quint64 id, const CommandLine::Request &request, int tries);
    void answer(quint64 id, const CommandLine::Result &result);
    // The answer to the command being carried out.
    void finish(quint64 id, const CommandLine::Result &result);

    InstanceChannel &m_channel;
    QPointer<Widget> m_window;
    std::unique_ptr<SceneRules> m_rules;
    bool m_busy = false; // one command at a time
};
