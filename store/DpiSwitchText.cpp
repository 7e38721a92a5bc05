// The process-wide texts of the tray notification shown when the mouse switches its DPI stage.
#include "DpiSwitchText.h"

#include <QMutex>
#include <QMutexLocker>

#include <array>

namespace {

struct Table
{
    QMutex mutex;
    std::array<QString, DpiSwitchText::Count> texts;
    Table() { texts.fill(DpiSwitchText::defaultText()); }
};

// Built on first use, so the texts exist before anything can read them, whatever the start-up order.
Table &table()
{
    static Table instance;
    return instance;
}

} // namespace

QString DpiSwitchText::defaultText()
{
    return QStringLiteral("DPI Switch to");
}

QString DpiSwitchText::at(int index)
{
    if (index < 0 || index >= Count)
        return QString();
    Table &t = table();
    QMutexLocker lock(&t.mutex);
    return t.texts[index];
}

QString DpiSwitchText::forStage(int stage)
{
    return at(stage >= 1 && stage <= 7 ? stage - 1 : 7);
}

QStringList DpiSwitchText::all()
{
    Table &t = table();
    QMutexLocker lock(&t.mutex);
    return QStringList(t.texts.begin(), t.texts.end());
}

void DpiSwitchText::set(int index, const QString &text)
{
    if (index < 0 || index >= Count)
        return;
    Table &t = table();
    QMutexLocker lock(&t.mutex);
    t.texts[index] = text;
}

void DpiSwitchText::assign(const QStringList &texts)
{
    Table &t = table();
    QMutexLocker lock(&t.mutex);
    for (int i = 0; i < Count && i < texts.size(); ++i)
        t.texts[i] = texts.at(i);
}

void DpiSwitchText::reset()
{
    Table &t = table();
    QMutexLocker lock(&t.mutex);
    t.texts.fill(defaultText());
}
