// Records the Qt debug output of the code under test (from any thread) instead of printing it.
#pragma once

#include <QStringList>

class MessageLog
{
public:
    MessageLog();  // installs the handler
    ~MessageLog(); // restores the previous one

    QStringList messages() const;
    int count(const QString &message) const;
    void clear();

private:
    void *previous;
};
