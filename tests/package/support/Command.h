// Runs a command of the package tests to its end and keeps what it printed.
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct CommandResult
{
    int code = -1;  // -1: did not start, crashed or timed out
    QString output; // standard output and standard error together
};

CommandResult runCommand(const QString &program, const QStringList &arguments,
                         const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                         int timeoutMs = 60000);
// Whether the program is on PATH.
bool hasCommand(const QString &program);
