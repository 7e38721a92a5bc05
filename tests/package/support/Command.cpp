// Runs a command of the package tests to its end and keeps what it printed.
#include "Command.h"

#include <QProcess>
#include <QStandardPaths>

CommandResult runCommand(const QString &program, const QStringList &arguments,
                         const QProcessEnvironment &environment, int timeoutMs)
{
    CommandResult result;
    QProcess p;
    p.setProcessEnvironment(environment);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        result.output = QString::fromLocal8Bit(p.readAll()) + p.errorString();
        return result;
    }
    result.output = QString::fromLocal8Bit(p.readAll());
    if (p.exitStatus() == QProcess::NormalExit)
        result.code = p.exitCode();
    return result;
}

bool hasCommand(const QString &program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}
