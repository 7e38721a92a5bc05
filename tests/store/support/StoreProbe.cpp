// Runs the store probe in a child process, so values are read as after a restart of the program.
#include "StoreProbe.h"

#include <QJsonDocument>
#include <QProcess>

QJsonObject StoreProbe::run(const QString &dir, const QStringList &args)
{
    QProcess probe;
    probe.start(QStringLiteral(KC_STORE_PROBE), QStringList{dir} + args);
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        return QJsonObject();
    return QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
}
