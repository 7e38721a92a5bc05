// Ending the programs a test starts, so that none outlives it.
#pragma once

#include <QProcess>

// Asks a running process to end (SIGTERM) and kills it when it has not ended within graceMs; returns
// once it has gone. Nothing happens to a process that is not running.
void endChildProcess(QProcess &process, int graceMs = 5000);
