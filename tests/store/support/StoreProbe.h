// Runs the store probe in a child process, so values are read as after a restart of the program.
#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

class StoreProbe
{
public:
    // Runs "kc_store_probe <dir> <args…>" and returns its answer: {"type": …, "value": …} and, for a
    // list, "elementTypes". An empty object when the probe failed.
    static QJsonObject run(const QString &dir, const QStringList &args);
};
