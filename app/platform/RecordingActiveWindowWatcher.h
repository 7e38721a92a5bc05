// Test double of the active-window watcher: the test brings windows to the front and says which are open.
#pragma once

#include "ActiveWindowWatcher.h"

class RecordingActiveWindowWatcher : public ActiveWindowWatcher
{
public:
    using ActiveWindowWatcher::ActiveWindowWatcher;
    Coverage coverage() const override { return coverageHere; }
    QList<FocusedProgram> openWindows() override { return open; }
    void bringToFront(const FocusedProgram &program) { emit focusChanged(program); }

    Coverage coverageHere = Coverage::All;
    QList<FocusedProgram> open;
};
