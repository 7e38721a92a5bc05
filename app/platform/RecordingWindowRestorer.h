// Test double of the restore requests: counts them, and restores at once when asked to.
#pragma once

#include "WidgetWindowRestorer.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class RecordingWindowRestorer : public WindowRestorer
{
public:
    void requestRestore(QWidget *window) override
    {
        requests.append(window);
        if (restore && window)
            WidgetWindowRestorer::restoreNow(window);
    }

    bool restore = false;
    QList<QPointer<QWidget>> requests;
};
